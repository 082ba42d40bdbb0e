#pragma once

#include <QStringView>

#include <optional>
#include <string>
#include <string_view>

namespace logwriter {

// The log's texts are Windows-1252 bytes. Nothing when the text holds a
// character that Windows-1252 cannot write.
std::optional<std::string> toWindows1252(QStringView text);
std::optional<std::string> utf8ToWindows1252(std::string_view utf8);

}  // namespace logwriter

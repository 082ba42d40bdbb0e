#pragma once

#include <cstdint>

namespace os {

// The fixed file information that an executable carries in its section
// ".tracora_version", so that a program can read its own version from its file.
struct FixedFileInfo {
    std::uint32_t signature;  // kFixedFileInfoSignature
    std::uint32_t structVersion;
    std::uint32_t fileVersionMS;
    std::uint32_t fileVersionLS;
    std::uint32_t productVersionMS;
    std::uint32_t productVersionLS;
};

inline constexpr std::uint32_t kFixedFileInfoSignature = 0xFEEF04BD;
inline constexpr const char* kVersionSectionName = ".tracora_version";

}  // namespace os

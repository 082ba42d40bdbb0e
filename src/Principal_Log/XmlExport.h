#pragma once

#include <optional>
#include <string>

namespace dataset {
class ResultSet;
}

// Writes the set's XML packet to `path`, streamed into a temporary file beside
// it that replaces the old file only when complete: the packet is never held
// whole in memory, and a failure keeps the previous export. Returns the
// operating system's text for a failure.
std::optional<std::string> exportXmlPacket(const dataset::ResultSet& set, const std::string& path);

#pragma once

#include <string>

namespace dataset {

class ResultSet;

// The whole open set as one XML data packet: a single line, no encoding
// declared, texts as their 8-bit bytes with only markup characters escaped.
// Throws std::logic_error for a closed set.
std::string toXmlPacket(const ResultSet& set);

}  // namespace dataset

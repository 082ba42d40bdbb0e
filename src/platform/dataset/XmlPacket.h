#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace dataset {

class ResultSet;

// Takes the packet piece by piece, in order.
using PacketSink = std::function<void(std::string_view)>;

// The whole open set as one XML data packet: a single line, no encoding
// declared, texts as their 8-bit bytes with only markup characters escaped.
// Throws std::logic_error for a closed set.
void writeXmlPacket(const ResultSet& set, const PacketSink& sink);
// The same packet in memory.
std::string toXmlPacket(const ResultSet& set);

}  // namespace dataset

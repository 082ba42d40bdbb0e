#include "XmlExport.h"

#include "dataset/XmlPacket.h"
#include "os/Os.h"

std::optional<std::string> exportXmlPacket(const dataset::ResultSet& set, const std::string& path) {
    os::ReplacementFile file(path);
    dataset::writeXmlPacket(set, [&](std::string_view piece) { file.write(piece); });
    return file.commit();
}

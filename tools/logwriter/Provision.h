#pragma once

#include <QString>

#include <vector>

namespace logwriter {

struct ProvisionResult {
    bool connected = false;
    // The message boxes the viewer would have shown, in order.
    std::vector<QString> messages;
};

// Runs the viewer's own start of the data module, headless: it connects to the
// log of system.ini and provisions it when it cannot. Needs the application
// object; message boxes are collected instead of shown.
ProvisionResult provisionLog();

}  // namespace logwriter

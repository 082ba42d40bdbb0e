#include "Provision.h"

#include "Dados_Log/Dados_Log.h"
#include "os/Os.h"
#include "widgets/MessageBox.h"

#include <memory>

namespace logwriter {

ProvisionResult provisionLog() {
    ProvisionResult result;
    auto previous = widgets::setMessageInterceptor(
        [&result](const widgets::MessageRequest& m) { result.messages.push_back(m.text); });
    // No one hears a headless alert.
    os::setAlertSoundHandler([] {});
    {
        const std::unique_ptr<TdmLog> module(TdmLog::Create());
        result.connected = module->BDLog.connected();
    }
    os::setAlertSoundHandler({});
    widgets::setMessageInterceptor(std::move(previous));
    return result;
}

}  // namespace logwriter

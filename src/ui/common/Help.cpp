#include "ui/common/Help.h"

#include <QDesktopServices>
#include <QUrl>

#include "platform/HelpFile.h"

namespace zavota::ui {

namespace {
constexpr int kMsgHelpUnavailable = 294;
}

bool OpenHelp(AppState& state, int context) {
    const std::string url = platform::HelpUrl(state.helpManual, context);
    if (!url.empty() && QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode)))
        return true;
    state.messages.ShowMessage(kMsgHelpUnavailable);
    return false;
}

}  // namespace zavota::ui

#include "Help.h"

#include <QDesktopServices>
#include <QUrl>

#include "platform/HelpFile.h"

namespace zavota::ui {

bool OpenHelp(const AppState& state, int context) {
    const std::string url = platform::HelpUrl(state.helpManual, context);
    if (url.empty()) return false;
    return QDesktopServices::openUrl(QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode));
}

}  // namespace zavota::ui

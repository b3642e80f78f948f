#include "ui/common/Help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "platform/HelpFile.h"

namespace zavota::ui {

namespace {

constexpr int kMsgHelpUnavailable = 294;

// With the path the user can still open the manual by hand.
void SayHelpUnavailable(AppState& state) {
    if (state.helpManual.empty()) state.messages.ShowMessage(kMsgHelpUnavailable);
    else state.messages.ShowMessage(kMsgHelpUnavailable, "マニュアル：" + state.helpManual);
}

}  // namespace

bool OpenHelp(AppState& state, int context, QObject* owner) {
    const std::string url = platform::HelpUrl(state.helpManual, context);
    if (url.empty()) {
        SayHelpUnavailable(state);
        return false;
    }
    const QUrl address = QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode);
    const QString opener = QStandardPaths::findExecutable(QString::fromStdString(state.helpOpener));
    if (opener.isEmpty()) {
        // Qt then tries the browsers it knows; it fails only when it can start none of them.
        if (QDesktopServices::openUrl(address)) return true;
        SayHelpUnavailable(state);
        return false;
    }
    // Qt starts the opener detached and takes its start for success, but xdg-open without a
    // browser starts, finds nothing and exits non-zero: only its exit status tells.
    QObject* parent = owner != nullptr ? owner : QCoreApplication::instance();
    auto* process = new QProcess(parent);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    // An opener still running when its window closes (xdg-open waits for some browsers) is
    // ended with it; that is no failure to report.
    QObject::connect(parent, &QObject::destroyed, process, [process] { QObject::disconnect(process, nullptr, nullptr, nullptr); });
    QObject::connect(process, &QProcess::finished, process, [&state, process](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0) SayHelpUnavailable(state);
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [&state, process](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        SayHelpUnavailable(state);
        process->deleteLater();
    });
    process->start(opener, {address.toString(QUrl::FullyEncoded)});
    return true;
}

}  // namespace zavota::ui

#include "ui/common/DialogChoosers.h"

#include <QColorDialog>
#include <QFileDialog>

namespace zavota::ui {

namespace {

const QStringList& TableFilters() {
    static const QStringList filters = {QStringLiteral("手数料テーブル(*.ini)"), QStringLiteral("すべてのファイル(*)")};
    return filters;
}

// Qt's own dialog rather than the desktop's, so that it speaks Japanese with the program's
// translations on every desktop.
QString RunFileDialog(QFileDialog& dialog, const QString& folder) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDirectory(folder);
    dialog.setNameFilters(TableFilters());
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

DialogChoosers::DialogChoosers() {
    saveTableFile = [](QWidget* parent, const QString& folder, const QString& name) {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        // A table name may hold a "/", which would name a folder.
        QString file = name;
        file.replace(QLatin1Char('/'), QChar(0xFF0F));
        dialog.selectFile(file);
        return RunFileDialog(dialog, folder);
    };
    openTableFile = [](QWidget* parent, const QString& folder) {
        QFileDialog dialog(parent);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
        return RunFileDialog(dialog, folder);
    };
    chooseColour = [](QWidget* parent, QColor initial) {
        return QColorDialog::getColor(initial, parent, QString(), QColorDialog::DontUseNativeDialog);
    };
}

}  // namespace zavota::ui

#include "ui/common/DialogChoosers.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

#include <algorithm>

namespace zavota::ui {

namespace {

const QStringList& TableFilters() {
    static const QStringList filters = {QStringLiteral("手数料テーブル(*.ini)"), QStringLiteral("すべてのファイル(*)")};
    return filters;
}

// Qt's own dialog rather than the desktop's, so that it speaks Japanese with the program's
// translations on every desktop.
// Its detail columns are wide enough for a Japanese file name and a whole date, which Qt's
// default widths cut ("5…ト", "2026/1…").
void WidenColumns(QFileDialog& dialog) {
    dialog.setViewMode(QFileDialog::Detail);
    auto* tree = dialog.findChild<QTreeView*>();
    if (tree == nullptr) return;
    const QFontMetrics m(tree->font());
    const int widths[] = {m.horizontalAdvance(QString(16, QChar(0x624B))) + 40,  // sixteen wide characters
                          m.horizontalAdvance(QStringLiteral("000.00 KiB")) + 24,
                          m.horizontalAdvance(QStringLiteral("ini ファイル")) + 24,
                          m.horizontalAdvance(QStringLiteral("2026/12/31 23:59")) + 24};
    int total = 0;
    for (int c = 0; c < 4 && c < tree->header()->count(); ++c) {
        tree->header()->resizeSection(c, widths[c]);
        total += widths[c];
    }
    // The side bar of places and the frame besides the columns.
    dialog.resize(std::max(dialog.width(), total + 220), std::max(dialog.height(), 420));
}

QString RunFileDialog(QFileDialog& dialog, const QString& folder) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDirectory(folder);
    dialog.setNameFilters(TableFilters());
    dialog.setDefaultSuffix(QStringLiteral("ini"));
    WidenColumns(dialog);
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

#include "ui/common/DialogChoosers.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QDateTime>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLocale>
#include <QTreeView>

#include <algorithm>
#include <array>

namespace zavota::ui {

namespace {

const QStringList& TableFilters() {
    static const QStringList filters = {QStringLiteral("手数料テーブル(*.ini)"), QStringLiteral("すべてのファイル(*)")};
    return filters;
}

// Qt's own dialog rather than the desktop's, so that it speaks Japanese with the program's
// translations on every desktop.
// Its detail columns are wide enough for a Japanese file name and a whole date, which Qt's
// default widths cut ("5…ト", "2026/1…"): fitted to what the folder shows once it is read,
// and never narrower than a sixteen-character name and a date of the locale's form.
void WidenColumns(QFileDialog& dialog) {
    dialog.setViewMode(QFileDialog::Detail);
    auto* tree = dialog.findChild<QTreeView*>();
    if (tree == nullptr) return;
    const QFontMetrics m(tree->font());
    const QString date = QLocale().toString(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59)), QLocale::ShortFormat);
    const std::array<int, 4> least = {m.horizontalAdvance(QString(16, QChar(0x624B))) + 40,
                                      m.horizontalAdvance(QStringLiteral("000.00 KiB")) + 24,
                                      m.horizontalAdvance(QStringLiteral("ini ファイル")) + 24,
                                      m.horizontalAdvance(date) + 24};
    const auto fit = [tree, least, &dialog] {
        int total = 0;
        for (int c = 0; c < 4 && c < tree->header()->count(); ++c) {
            tree->resizeColumnToContents(c);
            tree->setColumnWidth(c, std::max(tree->columnWidth(c), least[static_cast<std::size_t>(c)]));
            total += tree->columnWidth(c);
        }
        // The side bar of places and the frame besides the columns.
        dialog.resize(std::max(dialog.width(), total + 220), std::max(dialog.height(), 420));
    };
    fit();
    if (auto* model = dialog.findChild<QFileSystemModel*>())
        QObject::connect(model, &QFileSystemModel::directoryLoaded, tree, fit);
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

#include "ui/calculator/TradeControls.h"

#include <QSignalBlocker>

namespace zavota::ui {

namespace {
void PaintUnit(QLineEdit* unit, bool enabled) {
    QPalette p = unit->palette();
    p.setColor(QPalette::Base, enabled ? QColor(Qt::white) : QColor(192, 192, 192));
    unit->setPalette(p);
}
}  // namespace

void ShowMiniChecked(const MiniStockControls& c, bool checked) {
    if (c.priceLabel != nullptr) c.priceLabel->setText(checked ? QStringLiteral("円で　ミニ株を") : QStringLiteral("円で"));
    c.unit->setEnabled(checked);
    PaintUnit(c.unit, checked);
    if (c.unitBefore != nullptr) c.unitBefore->setEnabled(checked);
    if (c.unitAfter != nullptr) c.unitAfter->setEnabled(checked);
}

bool ApplyMarginRule(const MiniStockControls& c, int taxType) {
    if (taxType == 2 || taxType == 3) {
        {
            const QSignalBlocker block(c.check);
            c.check->setChecked(false);
        }
        c.check->setEnabled(false);
        ShowMiniChecked(c, false);
        return false;
    }
    c.check->setEnabled(true);
    return true;
}

bool MiniInUse(const MiniStockControls& c) {
    return !c.check->isHidden() && c.check->isEnabled() && c.check->isChecked();
}

void FillTradeKinds(QComboBox* combo) {
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItem(QString::fromUtf8(kCashCaption));
    combo->addItem(QString::fromUtf8(kMarginCaption));
}

void SelectTradeKind(QComboBox* combo, int taxType) {
    const QSignalBlocker block(combo);
    combo->setCurrentIndex(taxType > 1 ? 1 : 0);
}

int SelectedTradeKind(QComboBox* combo) {
    if (combo->currentIndex() < 0) {
        const QSignalBlocker block(combo);
        combo->setCurrentIndex(0);
    }
    return combo->currentText() == QString::fromUtf8(kCashCaption) ? 1 : 3;
}

void FillTableNames(QComboBox* combo, const MarginTableSet& tables, int selected) {
    const QSignalBlocker block(combo);
    combo->clear();
    for (const std::string& name : tables.UsedNames()) combo->addItem(QString::fromStdString(name));
    combo->setCurrentIndex(selected >= 0 && selected < combo->count() ? selected : 0);
}

}  // namespace zavota::ui

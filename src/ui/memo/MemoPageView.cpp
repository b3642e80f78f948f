#include "ui/memo/MemoPageView.h"

#include <QComboBox>
#include <QLabel>
#include <QWidget>

#include "ui/common/ReaderNames.h"
#include "ui/common/StoredColour.h"

namespace zavota::ui {

void MakePageTitle(QWidget* parent, const char* tab, QComboBox*& list, QLabel*& position) {
    list = new QComboBox(parent);
    list->setObjectName(QStringLiteral("cmbTitle_") + QString::fromUtf8(tab));
    list->setMinimumWidth(260);
    NameCombo(list, Q("ページ"));
    position = new QLabel(parent);
    position->setObjectName(QStringLiteral("lblPage_") + QString::fromUtf8(tab));
    position->setMinimumWidth(60);
}

void PaintMemoPanel(QWidget* panel, const DisplaySettings& colours) {
    QPalette p = panel->palette();
    p.setColor(QPalette::Window, FromStoredColour(colours[Colour::MemoPanel]));
    panel->setPalette(p);
    panel->setAutoFillBackground(true);
}

void PaintResultText(QWidget* widget, const DisplaySettings& colours) {
    QPalette p = widget->palette();
    const QColor text = FromStoredColour(colours[Colour::ResultChar]);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Text, text);
    widget->setPalette(p);
}

}  // namespace zavota::ui

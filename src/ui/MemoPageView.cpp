#include "MemoPageView.h"

#include <QWidget>

#include "ui/StoredColour.h"

namespace zavota::ui {

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

#include "ui/common/QtMessagePresenter.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

namespace zavota::ui {

namespace {

// The title bar's icon and its minimise, maximise and close buttons, with some air.
constexpr int kTitleBarButtonsWidth = 160;

QMessageBox::Icon IconOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Warning: return QMessageBox::Warning;
        case MessageIcon::Error: return QMessageBox::Critical;
        case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(MessageButtons buttons, QList<QMessageBox::StandardButton>& order) {
    switch (buttons) {
        case MessageButtons::Ok: order = {QMessageBox::Ok}; break;
        case MessageButtons::OkCancel: order = {QMessageBox::Ok, QMessageBox::Cancel}; break;
        case MessageButtons::YesNoCancel: order = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}; break;
        case MessageButtons::YesNo: order = {QMessageBox::Yes, QMessageBox::No}; break;
    }
    QMessageBox::StandardButtons all;
    for (QMessageBox::StandardButton b : order) all |= b;
    return all;
}

MessageAnswer AnswerOf(int button) {
    switch (button) {
        case QMessageBox::Ok: return MessageAnswer::Ok;
        case QMessageBox::Yes: return MessageAnswer::Yes;
        case QMessageBox::No: return MessageAnswer::No;
        default: return MessageAnswer::Cancel;  // also the title-bar close box
    }
}

// A box is as wide as its text, and the window manager cuts the title of a narrow box
// ("Zavot... ッセージ"). Room for the whole title in a bold face, beside the title bar's icon
// and buttons.
void MakeRoomForTitle(QMessageBox& box) {
    QFont bold = box.font();
    bold.setBold(true);
    const int width = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + kTitleBarButtonsWidth;
    // QMessageBox fixes its own size from its layout, so the room goes into the layout.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
}

int Run(const MessageBoxContent& content) {
    QList<QMessageBox::StandardButton> order;
    QMessageBox box(IconOf(content.icon), QString::fromStdString(content.title), QString::fromStdString(content.text),
                    ButtonsOf(content.buttons, order), QApplication::activeWindow());
    MakeRoomForTitle(box);
    if (content.defaultButton >= 0 && content.defaultButton < order.size())
        box.setDefaultButton(order[content.defaultButton]);
    // Without a Cancel button, Escape and the close box answer No.
    box.setEscapeButton(order.size() == 1                    ? order.front()
                        : order.contains(QMessageBox::Cancel) ? QMessageBox::Cancel
                                                              : QMessageBox::No);
    return box.exec();
}

}  // namespace

void QtMessagePresenter::Show(const MessageBoxContent& box) { Run(box); }

MessageAnswer QtMessagePresenter::Ask(const MessageBoxContent& box) { return AnswerOf(Run(box)); }

}  // namespace zavota::ui

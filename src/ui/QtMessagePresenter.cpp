#include "QtMessagePresenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace zavota::ui {

namespace {

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

int Run(const MessageBoxContent& content) {
    QList<QMessageBox::StandardButton> order;
    QMessageBox box(IconOf(content.icon), QString::fromStdString(content.title), QString::fromStdString(content.text),
                    ButtonsOf(content.buttons, order), QApplication::activeWindow());
    if (content.defaultButton >= 0 && content.defaultButton < order.size())
        box.setDefaultButton(order[content.defaultButton]);
    box.setEscapeButton(order.size() == 1 ? order.front() : QMessageBox::Cancel);
    return box.exec();
}

}  // namespace

void QtMessagePresenter::Show(const MessageBoxContent& box) { Run(box); }

MessageAnswer QtMessagePresenter::Ask(const MessageBoxContent& box) { return AnswerOf(Run(box)); }

}  // namespace zavota::ui

// The program's private window messages, posted as events with the program's own type numbers.
#pragma once

#include <QCoreApplication>
#include <QEvent>

namespace zavota::ui {

enum PrivateMessage : int {
    ShowMainCalculator = 0x8190,
    ShowSlimCalculator = 0x8191,
    HideStateWindow = 0x8192,
    ShowMemoPad = 0x8193,
    MemoCalcBuy = 0x819A,
    MemoCalcSell = 0x819B,
};

// The memo pad's price and share count, sent to the visible calculator window.
class MemoCalcEvent : public QEvent {
public:
    MemoCalcEvent(PrivateMessage type, QString price, QString shares)
        : QEvent(static_cast<QEvent::Type>(type)), price(std::move(price)), shares(std::move(shares)) {}
    QString price;
    QString shares;
};

inline void PostPrivateMessage(QObject* receiver, PrivateMessage message) {
    if (receiver != nullptr) QCoreApplication::postEvent(receiver, new QEvent(static_cast<QEvent::Type>(message)));
}

}  // namespace zavota::ui

#include "ui/common/WheelGuard.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QTabBar>

namespace zavota::ui {

namespace {

bool TakesWheelValues(const QWidget* w) {
    return qobject_cast<const QComboBox*>(w) != nullptr || qobject_cast<const QAbstractSpinBox*>(w) != nullptr ||
           qobject_cast<const QTabBar*>(w) != nullptr;
}

class WheelGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr) return false;
        if (event->type() == QEvent::Polish && TakesWheelValues(widget) && widget->focusPolicy() == Qt::WheelFocus) {
            // A roll must not hand the focus over either, or the next notch would change it.
            widget->setFocusPolicy(Qt::StrongFocus);
            return false;
        }
        if (event->type() != QEvent::Wheel) return false;
        QWidget* control = WheelValueControl(widget);
        if (control == nullptr || control->hasFocus()) return false;
        // Ignored and not delivered: the application passes it on to the parents, so a
        // scrollable area beneath still scrolls.
        event->ignore();
        return true;
    }
};

}  // namespace

QWidget* WheelValueControl(QWidget* widget) {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (TakesWheelValues(w)) return w;
        if (w->isWindow()) break;  // a combo box's open list is a window of its own
    }
    return nullptr;
}

void InstallWheelGuard() {
    static const QString kName = QStringLiteral("zavotaWheelGuard");
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || app->findChild<QObject*>(kName, Qt::FindDirectChildrenOnly) != nullptr) return;
    auto* guard = new WheelGuard(app);
    guard->setObjectName(kName);
    app->installEventFilter(guard);
}

}  // namespace zavota::ui

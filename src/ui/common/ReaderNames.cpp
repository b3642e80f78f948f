#include "ui/common/ReaderNames.h"

#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>

namespace zavota::ui {

namespace {

class NamedComboReader : public QAccessibleWidget {
public:
    explicit NamedComboReader(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        const auto* combo = static_cast<const QComboBox*>(widget());
        if (t == QAccessible::Name) return combo->accessibleName();
        if (t == QAccessible::Value) return combo->currentText();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << QAccessibleActionInterface::showMenuAction();
    }
    void doAction(const QString& action) override {
        if (action == QAccessibleActionInterface::showMenuAction() ||
            action == QAccessibleActionInterface::pressAction())
            static_cast<QComboBox*>(widget())->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* NamedComboFactory(const QString& className, QObject* object) {
    auto* combo = qobject_cast<QComboBox*>(object);
    if (className != QLatin1String("QComboBox") || combo == nullptr || combo->accessibleName().isEmpty())
        return nullptr;
    return new NamedComboReader(combo);
}

QString ReaderText(const QString& caption) {
    QString text = caption;
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    return text.trimmed();
}

}  // namespace

void NameByLabel(QLabel* label, QWidget* box) {
    label->setBuddy(box);
    if (auto* combo = qobject_cast<QComboBox*>(box)) NameCombo(combo, ReaderText(label->text()));
    else box->setAccessibleName(ReaderText(label->text()));
}

void NameCombo(QComboBox* combo, const QString& name) {
    static const bool installed = [] {
        QAccessible::installFactory(NamedComboFactory);
        return true;
    }();
    (void)installed;
    combo->setAccessibleName(name);
    // An interface made before the name (Qt makes one as items are added while a reader is
    // active) is Qt's own: it is dropped, and the next query makes the named one.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(combo);
    if (made != nullptr && dynamic_cast<NamedComboReader*>(made) == nullptr)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

}  // namespace zavota::ui

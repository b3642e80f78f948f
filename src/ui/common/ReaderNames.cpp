#include "ui/common/ReaderNames.h"

#include <QAccessible>
#include <QComboBox>
#include <QHash>
#include <QLabel>
#include <QRegularExpression>
#include <QTabBar>

namespace zavota::ui {

namespace {

// Set while Qt's own interface is made for a control this file names, so that the factory
// below lets Qt's factory make it.
bool makingQtsOwn = false;

// Qt's own interface of a control, asked for everything a subclass does not say otherwise.
class QtsOwn : public QAccessibleInterface {
public:
    explicit QtsOwn(QAccessibleInterface* qt) : qt_(qt) {}

    bool isValid() const override { return qt_->isValid(); }
    QObject* object() const override { return qt_->object(); }
    QWindow* window() const override { return qt_->window(); }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override {
        return qt_->relations(match);
    }
    QAccessibleInterface* focusChild() const override { return qt_->focusChild(); }
    QAccessibleInterface* childAt(int x, int y) const override { return qt_->childAt(x, y); }
    QAccessibleInterface* parent() const override { return qt_->parent(); }
    QAccessibleInterface* child(int index) const override { return qt_->child(index); }
    int childCount() const override { return qt_->childCount(); }
    int indexOfChild(const QAccessibleInterface* c) const override { return qt_->indexOfChild(c); }
    QString text(QAccessible::Text t) const override { return qt_->text(t); }
    void setText(QAccessible::Text t, const QString& text) override { qt_->setText(t, text); }
    QRect rect() const override { return qt_->rect(); }
    QAccessible::Role role() const override { return qt_->role(); }
    QAccessible::State state() const override { return qt_->state(); }
    QColor foregroundColor() const override { return qt_->foregroundColor(); }
    QColor backgroundColor() const override { return qt_->backgroundColor(); }
    void* interface_cast(QAccessible::InterfaceType t) override { return qt_->interface_cast(t); }
    void virtual_hook(int id, void* data) override { qt_->virtual_hook(id, data); }

protected:
    QAccessibleInterface* qt_;
};

// A control with its accessible name as its name. Qt's interface stays in Qt's cache too (which
// answers for the control with the interface made last, this one) and goes with this one.
class NamedReader : public QtsOwn {
public:
    explicit NamedReader(QAccessibleInterface* qt) : QtsOwn(qt), qtId_(QAccessible::uniqueId(qt)) {}
    ~NamedReader() override { QAccessible::deleteAccessibleInterface(qtId_); }

    QString text(QAccessible::Text t) const override {
        const auto* w = static_cast<const QWidget*>(object());
        if (t == QAccessible::Name && w != nullptr && !w->accessibleName().isEmpty()) return w->accessibleName();
        return qt_->text(t);
    }

private:
    QAccessible::Id qtId_;
};

// A tab of a named strip, selected while it is the current tab (Qt's own tabs never say so).
class TabReader : public QtsOwn {
public:
    TabReader(QAccessibleInterface* qt, const QTabBar* strip, int index) : QtsOwn(qt), strip_(strip), index_(index) {}
    QAccessible::State state() const override {
        QAccessible::State s = qt_->state();
        s.selectable = true;
        s.selected = strip_->currentIndex() == index_;
        return s;
    }

private:
    const QTabBar* strip_;
    int index_;
};

class StripReader : public NamedReader {
public:
    using NamedReader::NamedReader;
    ~StripReader() override {
        for (QAccessible::Id id : tabs_) QAccessible::deleteAccessibleInterface(id);
    }

    QAccessibleInterface* child(int index) const override {
        const auto* strip = static_cast<const QTabBar*>(object());
        if (index < 0 || strip == nullptr || index >= strip->count()) return qt_->child(index);
        if (QAccessibleInterface* made = QAccessible::accessibleInterface(tabs_.value(index))) return made;
        QAccessibleInterface* qt = qt_->child(index);
        if (qt == nullptr) return nullptr;
        auto* tab = new TabReader(qt, strip, index);
        tabs_.insert(index, QAccessible::registerAccessibleInterface(tab));
        return tab;
    }
    int indexOfChild(const QAccessibleInterface* c) const override {
        for (int i = 0; i < childCount(); ++i)
            if (child(i) == c) return i;
        return -1;
    }

private:
    mutable QHash<int, QAccessible::Id> tabs_;
};

// A combo box also gives its current choice as its text, which is where a reader looks for
// the value of a combo box whose name is not its value.
class ComboReader : public NamedReader, public QAccessibleTextInterface {
public:
    using NamedReader::NamedReader;

    QString text(QAccessible::Text t) const override { return NamedReader::text(t); }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return NamedReader::interface_cast(t);
    }

    QString text(int start, int end) const override {
        const QString shown = Shown();
        if (end < 0 || end > shown.size()) end = static_cast<int>(shown.size());
        return start < 0 || start >= end ? QString() : shown.mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(Shown().size()); }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

private:
    QString Shown() const {
        const auto* combo = qobject_cast<const QComboBox*>(object());
        return combo != nullptr ? combo->currentText() : QString();
    }
};

QAccessibleInterface* NamedFactory(const QString& className, QObject* object) {
    const bool combo = className == QLatin1String("QComboBox");
    if (makingQtsOwn || (!combo && className != QLatin1String("QTabBar")) || !object->isWidgetType() ||
        static_cast<QWidget*>(object)->accessibleName().isEmpty())
        return nullptr;
    makingQtsOwn = true;
    QAccessibleInterface* qt = QAccessible::queryAccessibleInterface(object);
    makingQtsOwn = false;
    if (qt == nullptr) return nullptr;
    if (combo) return new ComboReader(qt);
    return new StripReader(qt);
}

// `widget` named, read through the factory above from now on.
void NameForReader(QWidget* widget, const QString& name) {
    static const bool installed = [] {
        QAccessible::installFactory(NamedFactory);
        return true;
    }();
    (void)installed;
    widget->setAccessibleName(name);
    // An interface made before the name (Qt makes one as items are added while a reader is
    // active) is Qt's own: it is dropped, and the next query makes the named one.
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(widget);
    if (made != nullptr && dynamic_cast<NamedReader*>(made) == nullptr)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
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
    NameForReader(combo, name);
    static const char* const kAnnounced = "zavotaReaderAnnouncesChoice";
    if (combo->property(kAnnounced).toBool()) return;
    combo->setProperty(kAnnounced, true);
    // The text a reader holds for the box is replaced as the choice changes.
    QObject::connect(combo, &QComboBox::currentTextChanged, combo,
                     [combo, shown = combo->currentText()](const QString& now) mutable {
                         QAccessibleTextUpdateEvent event(combo, 0, shown, now);
                         QAccessible::updateAccessibility(&event);
                         shown = now;
                     });
}

void NameStrip(QTabBar* strip, const QString& name) { NameForReader(strip, name); }

}  // namespace zavota::ui

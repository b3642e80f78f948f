// An edit box for numbers: the key filter of its kind on key press, and the check made on
// every change (separators removed, a text too long refused whole, anything that is not a
// number refused with message 200).
#pragma once

#include <QLineEdit>

#include "core/MessageCatalogue.h"
#include "core/NumberText.h"

namespace zavota::ui {

class NumericEdit : public QLineEdit {
    Q_OBJECT
public:
    // Without a catalogue the text is neither checked nor limited (the manual commission
    // figures, normalised when they are used). `limit` counts characters after the separators are removed (0: none). It is not the
    // line edit's maxLength, which would cut a pasted "123,456,789" to "123,456,78" before the
    // separators are removed.
    NumericEdit(FieldKind kind, MessageCatalogue* catalogue, QWidget* parent = nullptr, int limit = 10);

    FieldKind Kind() const { return kind_; }
    int Limit() const { return limit_; }
    std::string Text() const { return text().toStdString(); }
    void SetText(const std::string& text) { setText(QString::fromStdString(text)); }
    // A stored value is shown whole even beyond the limit, which is for typing and pasting:
    // a value the field refused would be stored back as empty. The commit checks it.
    void ShowStored(const std::string& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CheckChange();

    FieldKind kind_;
    MessageCatalogue* catalogue_;
    int limit_;
    QString accepted_;  // the text before the change being checked
    bool checking_ = false;
    bool stored_ = false;  // the text being set is a stored value
};

}  // namespace zavota::ui

// An edit box for numbers: the key filter of its kind on key press, and the check made on
// every change (separators removed, anything that is not a number refused with message 200).
#pragma once

#include <QLineEdit>

#include "core/MessageCatalogue.h"
#include "core/NumberText.h"

namespace zavota::ui {

class NumericEdit : public QLineEdit {
    Q_OBJECT
public:
    // Without a catalogue the text is not checked on change (the manual commission figures).
    NumericEdit(FieldKind kind, MessageCatalogue* catalogue, QWidget* parent = nullptr, int maxLength = 10);

    FieldKind Kind() const { return kind_; }
    std::string Text() const { return text().toStdString(); }
    void SetText(const std::string& text) { setText(QString::fromStdString(text)); }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CheckChange();

    FieldKind kind_;
    MessageCatalogue* catalogue_;
    bool checking_ = false;
};

}  // namespace zavota::ui

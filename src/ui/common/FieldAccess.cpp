#include "ui/common/FieldAccess.h"

#include <QLineEdit>

namespace zavota::ui {

namespace {
QLineEdit* Field(QWidget* window, const std::string& name) {
    return window->findChild<QLineEdit*>(QString::fromStdString(name));
}
}  // namespace

void WriteFields(QWidget* window, const std::vector<FieldWrite>& writes) {
    for (const FieldWrite& write : writes)
        if (QLineEdit* field = Field(window, write.field)) field->setText(QString::fromStdString(write.text));
}

void FocusField(QWidget* window, const std::string& name) {
    if (name.empty()) return;
    if (QLineEdit* field = Field(window, name)) {
        field->setFocus();
        field->deselect();
    }
}

}  // namespace zavota::ui

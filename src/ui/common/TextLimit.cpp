#include "ui/common/TextLimit.h"

#include <QLineEdit>
#include <QValidator>

#include "core/MessageCatalogue.h"
#include "settings/Cp932Field.h"

namespace zavota::ui {

namespace {

constexpr int kMsgBadInput = 200;

Cp932Fit Fit(const QString& text, std::size_t bytes) { return FitCp932Field(text.toStdString(), bytes); }

// `after` is `before` with one run of characters taken out.
bool OnlyRemoves(const QString& before, const QString& after) {
    if (after.size() >= before.size()) return false;
    qsizetype same = 0;
    while (same < after.size() && after.at(same) == before.at(same)) ++same;
    return before.endsWith(after.mid(same));
}

// The field undoes an edit its validator finds invalid, a paste included, and reports it
// with inputRejected; the validator remembers why.
class Cp932Validator : public QValidator {
public:
    Cp932Validator(const QLineEdit* edit, std::size_t bytes, QObject* parent)
        : QValidator(parent), edit_(edit), bytes_(bytes) {}
    // Called before the field's text changes: edit_->text() is the text before the edit.
    State validate(QString& input, int&) const override {
        const Cp932Fit fit = Fit(input, bytes_);
        if (fit == Cp932Fit::Fits || OnlyRemoves(edit_->text(), input)) return Acceptable;
        lastRefusal = fit;
        return Invalid;
    }
    mutable Cp932Fit lastRefusal = Cp932Fit::Fits;

private:
    const QLineEdit* edit_;
    std::size_t bytes_;
};

}  // namespace

Cp932Keeper::Cp932Keeper(QLineEdit* edit, std::size_t bytes, MessageCatalogue& messages)
    : QObject(edit), edit_(edit), bytes_(bytes), messages_(messages) {
    auto* validator = new Cp932Validator(edit, bytes, this);
    edit->setValidator(validator);
    connect(edit, &QLineEdit::inputRejected, this, [this, validator] {
        if (validator->lastRefusal == Cp932Fit::BadCharacter) messages_.ShowMessage(kMsgBadInput);
        validator->lastRefusal = Cp932Fit::Fits;
    });
}

bool Cp932Keeper::Fits() const { return Fit(edit_->text(), bytes_) == Cp932Fit::Fits; }

}  // namespace zavota::ui

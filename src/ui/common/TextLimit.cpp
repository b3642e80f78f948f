#include "ui/common/TextLimit.h"

#include <QLineEdit>
#include <QValidator>

#include "core/MessageCatalogue.h"
#include "settings/Cp932Field.h"

namespace zavota::ui {

namespace {

constexpr int kMsgBadInput = 200;

Cp932Fit Fit(const QString& text, std::size_t bytes) { return FitCp932Field(text.toStdString(), bytes); }

// The field undoes an edit its validator finds invalid, a paste included, and reports it
// with inputRejected; the validator remembers why.
class Cp932Validator : public QValidator {
public:
    Cp932Validator(std::size_t bytes, QObject* parent) : QValidator(parent), bytes_(bytes) {}
    State validate(QString& input, int&) const override {
        const Cp932Fit fit = Fit(input, bytes_);
        if (fit == Cp932Fit::Fits) return Acceptable;
        lastRefusal = fit;
        return Invalid;
    }
    mutable Cp932Fit lastRefusal = Cp932Fit::Fits;

private:
    std::size_t bytes_;
};

}  // namespace

Cp932Keeper::Cp932Keeper(QLineEdit* edit, std::size_t bytes, MessageCatalogue& messages)
    : QObject(edit), edit_(edit), bytes_(bytes), messages_(messages) {
    auto* validator = new Cp932Validator(bytes, this);
    edit->setValidator(validator);
    connect(edit, &QLineEdit::inputRejected, this, [this, validator] {
        if (validator->lastRefusal == Cp932Fit::BadCharacter) messages_.ShowMessage(kMsgBadInput);
        validator->lastRefusal = Cp932Fit::Fits;
    });
}

void Cp932Keeper::SetText(const QString& text) {
    QString kept;
    for (int i = 0; i < text.size();) {
        const int n = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString c = text.mid(i, n);
        i += n;
        const Cp932Fit fit = Fit(kept + c, bytes_);
        if (fit == Cp932Fit::TooLong) break;
        if (fit == Cp932Fit::Fits) kept += c;
    }
    edit_->setText(kept);
}

}  // namespace zavota::ui

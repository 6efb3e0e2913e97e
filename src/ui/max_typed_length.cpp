#include "ui/max_typed_length.h"

namespace orrimar::ui {

MaxTypedLength::MaxTypedLength(int maxLength, QLineEdit* field)
    : QValidator(field), maxLength_(maxLength), currentLength_(field->text().size()) {
    connect(field, &QLineEdit::textChanged, this, [this](const QString& text) { currentLength_ = text.size(); });
}

QValidator::State MaxTypedLength::validate(QString& input, int& /*pos*/) const {
    // Shortening a text that is already too long stays possible.
    if (input.size() <= maxLength_ || input.size() <= currentLength_) return Acceptable;
    return Invalid;
}

QLineEdit* limitTyping(QLineEdit* field, int maxLength) {
    field->setValidator(new MaxTypedLength(maxLength, field));
    return field;
}

}  // namespace orrimar::ui

#include "ui/max_typed_length.h"

namespace orrimar::ui {

MaxTypedLength::MaxTypedLength(int maxLength, QLineEdit* field) : QValidator(field), maxLength_(maxLength), field_(field) {}

QValidator::State MaxTypedLength::validate(QString& input, int& /*pos*/) const {
    // Shortening a text that is already too long stays possible.
    if (input.size() <= maxLength_ || input.size() <= field_->text().size()) return Acceptable;
    return Invalid;
}

QLineEdit* limitTyping(QLineEdit* field, int maxLength) {
    field->setValidator(new MaxTypedLength(maxLength, field));
    return field;
}

}  // namespace orrimar::ui

// Limits what the user types into a field without cutting a longer text that
// the program itself put there (a path chosen in a file dialog).
#pragma once

#include <QLineEdit>
#include <QValidator>

namespace orrimar::ui {

class MaxTypedLength : public QValidator {
public:
    MaxTypedLength(int maxLength, QLineEdit* field);
    State validate(QString& input, int& pos) const override;

private:
    int maxLength_;
    // The length of the text before the edit being validated.
    qsizetype currentLength_;
};

// Gives the field the limit; returns the field for chaining.
QLineEdit* limitTyping(QLineEdit* field, int maxLength);

}  // namespace orrimar::ui

// Every message box of the program goes through showMessage(), so that the
// dialogs can be driven without a person: a capture records the messages
// instead of showing them.
#pragma once

#include <QString>
#include <QWidget>

#include <vector>

namespace orrimar::ui {

// The application title, also the caption of the runtime error box and of
// the program's own plain messages.
inline const QString kApplicationTitle = QStringLiteral("Orrimar");

struct ShownMessage {
    QString title;
    QString text;
};

// A modal message box with one OK button.
void showMessage(QWidget* parent, const QString& title, const QString& text);

// A modal question with Yes and No buttons; true for Yes.
bool askQuestion(QWidget* parent, const QString& title, const QString& text);

// While one exists, messages and questions are recorded here and no box is
// shown; questions get the answer set by answerQuestions (No by default).
class MessageCapture {
public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    const std::vector<ShownMessage>& messages() const { return messages_; }
    void clear() { messages_.clear(); }
    void answerQuestions(bool yes) { answer_ = yes; }

private:
    friend void showMessage(QWidget*, const QString&, const QString&);
    friend bool askQuestion(QWidget*, const QString&, const QString&);
    std::vector<ShownMessage> messages_;
    bool answer_ = false;
    MessageCapture* previous_;
};

}  // namespace orrimar::ui

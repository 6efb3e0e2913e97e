#include "ui/message_seam.h"

#include <QApplication>
#include <QMessageBox>

namespace orrimar::ui {

namespace {
MessageCapture* activeCapture = nullptr;
}

MessageCapture::MessageCapture() : previous_(activeCapture) { activeCapture = this; }

MessageCapture::~MessageCapture() { activeCapture = previous_; }

void showMessage(QWidget* parent, const QString& title, const QString& text) {
    if (activeCapture != nullptr) {
        activeCapture->messages_.push_back(ShownMessage{title, text});
        return;
    }
    if (parent == nullptr) parent = QApplication::activeWindow();
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    if (title == QStringLiteral("Error")) box.setIcon(QMessageBox::Warning);
    box.exec();
}

bool askQuestion(QWidget* parent, const QString& title, const QString& text) {
    if (activeCapture != nullptr) {
        activeCapture->messages_.push_back(ShownMessage{title, text});
        return activeCapture->answer_;
    }
    if (parent == nullptr) parent = QApplication::activeWindow();
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace orrimar::ui

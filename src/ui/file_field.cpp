#include "ui/file_field.h"

#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>

#include "common/errors.h"
#include "ui/error_report.h"
#include "ui/max_typed_length.h"

namespace orrimar::ui {

QString pathLessExtension(const QString& path) { return path.left(std::max<qsizetype>(0, path.size() - 4)); }

FileField::FileField(const QString& initialText, int maxTypedLength, FileDialogRequest request, QWidget* parent)
    : QLineEdit(initialText, parent), request_(std::move(request)) {
    limitTyping(this, maxTypedLength);
    setToolTip(tr("Click to choose the file"));
    connect(this, &QLineEdit::textEdited, this, [this] { pointed_ = true; });
}

void FileField::offer(const QString& text) {
    if (!pointed_) setText(text);
}

bool FileField::showsChoice() const {
    return !choice_.fileName.isEmpty() && pathLessExtension(choice_.fileName) == text();
}

QString FileField::filePath() const {
    if (showsChoice()) return choice_.fileName;
    if (text().isEmpty()) return {};
    return request_.defaultExtension.isEmpty() ? text() : text() + QLatin1Char('.') + request_.defaultExtension;
}

int FileField::filterIndex() const { return showsChoice() ? choice_.filterIndex : 1; }

bool FileField::choose() {
    const std::optional<FileDialogAnswer> answer = runFileDialog(window(), request_, choice_);
    if (!answer) return false;
    if (answer->fileName.size() > kMaxPathLength) throw RangeError();
    choice_ = *answer;
    pointed_ = true;
    // The working folder stays where the program started; the next dialog
    // of this kind opens where this file was chosen.
    rememberFileDialogChoice(request_, answer->fileName);
    const QString base = pathLessExtension(answer->fileName);
    setText(base);
    emit baseNameChosen(base);
    return true;
}

void FileField::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) guarded(window(), [this] { choose(); });
}

}  // namespace orrimar::ui

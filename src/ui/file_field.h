// A text field bound to an open or save file dialog. A click runs the dialog;
// when the user confirms, the chosen path less its last four characters (the
// dot and a three-letter extension) becomes the text. The dialog's choice
// (full name and filter index) is kept for the commands that read it.
#pragma once

#include <QLineEdit>

#include "ui/file_dialog_seam.h"

namespace orrimar::ui {

class FileField : public QLineEdit {
    Q_OBJECT
public:
    FileField(const QString& initialText, int maxTypedLength, FileDialogRequest request, QWidget* parent = nullptr);

    // The last choice of the dialog; an empty name before the first.
    const FileDialogAnswer& choice() const { return choice_; }
    const FileDialogRequest& request() const { return request_; }

    // Runs the dialog. A chosen path longer than 255 characters is refused
    // with RangeError and changes nothing. Returns whether a file was taken.
    bool choose();

    // A text the field shows while the user has neither chosen a file nor
    // typed (the program's current sector, a log named after it); ignored
    // once the user has pointed the field elsewhere.
    void offer(const QString& text);
    bool pointedElsewhere() const { return pointed_; }

    // The file the shown text names: the dialog's choice while the field
    // still shows it, otherwise the text with the dialog's extension.
    QString filePath() const;
    // The filter (from 1) of that file: the dialog's while its choice is
    // shown, otherwise the first.
    int filterIndex() const;

    // The longest path a field takes from its dialog: its length is kept in a byte.
    static constexpr int kMaxPathLength = 255;

signals:
    // The dialog's path less its extension, just put into the field.
    void baseNameChosen(const QString& baseName);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool showsChoice() const;

    FileDialogRequest request_;
    FileDialogAnswer choice_;
    bool pointed_ = false;
};

// The chosen path less its last four characters, as the file fields show it
// (".html" so leaves a trailing dot).
QString pathLessExtension(const QString& path);

}  // namespace orrimar::ui

// Small builders shared by the dialogs: labelled rows and forms, the OK
// and Cancel pair, and the file dialogs every command uses.
#pragma once

#include <initializer_list>

#include <QApplication>
#include <QString>

#include "ui/file_dialog_seam.h"

class QDialog;
class QGridLayout;
class QLabel;
class QPushButton;
class QWidget;
class QBoxLayout;
class QLayout;

namespace orrimar::ui {

// For the length of a run: the dialog's running flag set (so that OK is
// ignored and Cancel stops the run instead of closing) and the wait cursor
// shown, both undone however the run ends.
class RunningGuard {
public:
    explicit RunningGuard(bool& running) : running_(running) {
        running_ = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~RunningGuard() {
        QApplication::restoreOverrideCursor();
        running_ = false;
    }
    RunningGuard(const RunningGuard&) = delete;
    RunningGuard& operator=(const RunningGuard&) = delete;

private:
    bool& running_;
};

QPushButton* makeButton(const QString& caption, const QString& objectName, QWidget* parent);
QLabel* makeLabel(const QString& caption, QWidget* buddy, QWidget* parent);

// The dialog's OK (default button, Enter) and Cancel (Esc) buttons.
struct OkCancel {
    QPushButton* ok;
    QPushButton* cancel;
};
OkCancel makeOkCancel(QDialog* dialog, const QString& okName = QStringLiteral("OKBtn"),
                      const QString& cancelName = QStringLiteral("CancelBtn"));

// A column of the two buttons at the top right, as the fixed-border dialogs
// with buttons on the right have them.
QBoxLayout* rightButtonColumn(const OkCancel& buttons);
// The two buttons in a row at the bottom right.
QBoxLayout* bottomButtonRow(const OkCancel& buttons);

// One row of a form: its caption (the label's buddy is the field) and the
// field; an empty caption leaves the field alone in the field column, as a
// check box under the fields stands.
struct FormRow {
    QString caption;
    QWidget* field;
};
// The rows in a grid, captions left and fields right.
QGridLayout* formGrid(QWidget* parent, std::initializer_list<FormRow> rows);
// The dialog laid out as a form: the fields over a stretch, OK and Cancel
// in a row at the bottom right.
void layOutForm(QDialog* dialog, QLayout* fields, const OkCancel& buttons);

// The file dialogs of the commands.
FileDialogRequest openSectorDialog();  // "sun", "Star files (*.sun)", "../data"
FileDialogRequest openDialog(const QString& extension, const QString& filter, const QString& initialDir);
FileDialogRequest saveDialog(const QString& extension, const QStringList& filters, const QString& initialDir);

// What a command's dialog made in its last opening, one line for the launch
// pad's status line ("Wrote ... to ..."); empty when it wrote nothing. The
// launch pad empties it before each opening.
class CommandReport {
public:
    QString lastResult;

protected:
    ~CommandReport() = default;
};

// Folders the file dialogs open at, relative to the current directory.
inline const QString kDataFolder = QStringLiteral("../data");
inline const QString kLogFolder = QStringLiteral("../log");

}  // namespace orrimar::ui

// How a file field asks the user for a file. The real open and save dialogs
// are shown unless an answer has been queued with setNextFileName(), which is
// how the dialogs are driven without a person at the screen.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace orrimar::ui {

struct FileDialogRequest {
    enum class Mode { Open, Save };
    Mode mode = Mode::Open;
    QString defaultExtension;  // "sun": added when the user types a name without one
    QStringList filters;       // "Star files (*.sun)", first filter = index 1
    QString initialDir;  // kind of file: "../data" (sectors) or "../log" (logs, reports); empty: the current directory
    QString initialFileName;  // offered before anything was chosen
};

struct FileDialogAnswer {
    QString fileName;     // full path as the dialog returns it, extension included
    int filterIndex = 1;  // 1 for the first filter
};

// The dialog a file field runs. `lastAnswer` is the choice of its previous
// run (empty name when none), shown again as the starting point. Returns
// nothing when the user cancels.
std::optional<FileDialogAnswer> runFileDialog(QWidget* parent, const FileDialogRequest& request,
                                              const FileDialogAnswer& lastAnswer);

// Queues the answer of the next file dialog: the dialog is not shown.
void setNextFileName(const QString& fileName, int filterIndex = 1);
// Queues a cancelled file dialog.
void setNextFileDialogCancelled();
// Drops queued answers; with `refuseReal` set, a dialog with no queued answer
// is treated as cancelled instead of being shown (tests never block).
void resetFileDialogSeam(bool refuseReal = false);
// The request of the most recent file dialog, queued or shown.
const FileDialogRequest& lastFileDialogRequest();

// Where the dialogs of each kind of file open. The program never changes its
// working folder, so "starlog" names the same files before and after any
// dialog; instead each kind opens where a file of that kind was last chosen,
// remembered in the settings file (section "Settings", keys "DataFolder" and
// "LogFolder"), and at first in the "data" and "log" folders start-up made.
// `settingsPath` empty: nothing is remembered across runs.
void setFileDialogFolders(const QString& dataFolder, const QString& logFolder, const QString& settingsPath);
// The folder a dialog for `request` opens at now.
QString fileDialogStartFolder(const FileDialogRequest& request);
// Notes the folder of a chosen file for its kind (and in the settings file).
void rememberFileDialogChoice(const FileDialogRequest& request, const QString& fileName);
// The extension a name typed without one gets: the chosen filter's own
// ("Html file (*.html)" -> "html"), else the request's default.
QString defaultSuffixFor(const FileDialogRequest& request, int filterIndex);

}  // namespace orrimar::ui

#include "ui/file_dialog_seam.h"

#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>

#include "common/errors.h"
#include "settings/ini_file.h"

#include <deque>

namespace orrimar::ui {

namespace {

struct QueuedAnswer {
    bool cancelled = false;
    FileDialogAnswer answer;
};

struct SeamState {
    std::deque<QueuedAnswer> queued;
    bool refuseReal = false;
    FileDialogRequest lastRequest;
    QString dataFolder;  // absolute; empty before start-up names it
    QString logFolder;
    QString settingsPath;
};

const char* const kSettingsSection = "Settings";

bool isLogKind(const FileDialogRequest& request) {
    return QFileInfo(request.initialDir).fileName() == QStringLiteral("log");
}

SeamState& seam() {
    static SeamState state;
    return state;
}

std::optional<FileDialogAnswer> showRealDialog(QWidget* parent, const FileDialogRequest& request,
                                               const FileDialogAnswer& lastAnswer) {
    const bool saving = request.mode == FileDialogRequest::Mode::Save;
    QFileDialog dialog(parent);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Logs and reports are rewritten freely, as the user expects of them.
    if (saving) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(request.filters);
    const int filter = lastAnswer.fileName.isEmpty() ? 1 : lastAnswer.filterIndex;
    if (filter >= 1 && filter <= request.filters.size()) dialog.selectNameFilter(request.filters.at(filter - 1));
    dialog.setDefaultSuffix(defaultSuffixFor(request, filter));
    // "sys5" typed with the HTML filter chosen becomes "sys5.html", not a
    // ".log" file holding HTML.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, &request](const QString& chosen) {
        dialog.setDefaultSuffix(defaultSuffixFor(request, static_cast<int>(request.filters.indexOf(chosen)) + 1));
    });
    dialog.setDirectory(fileDialogStartFolder(request));
    const QString offered =
        lastAnswer.fileName.isEmpty() ? request.initialFileName : QFileInfo(lastAnswer.fileName).fileName();
    if (!offered.isEmpty()) dialog.selectFile(offered);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    FileDialogAnswer answer;
    answer.fileName = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    answer.filterIndex = static_cast<int>(request.filters.indexOf(dialog.selectedNameFilter())) + 1;
    if (answer.filterIndex < 1) answer.filterIndex = 1;
    return answer;
}

}  // namespace

std::optional<FileDialogAnswer> runFileDialog(QWidget* parent, const FileDialogRequest& request,
                                              const FileDialogAnswer& lastAnswer) {
    SeamState& state = seam();
    state.lastRequest = request;
    if (!state.queued.empty()) {
        const QueuedAnswer next = state.queued.front();
        state.queued.pop_front();
        if (next.cancelled) return std::nullopt;
        return next.answer;
    }
    if (state.refuseReal) return std::nullopt;
    return showRealDialog(parent, request, lastAnswer);
}

void setNextFileName(const QString& fileName, int filterIndex) {
    seam().queued.push_back(QueuedAnswer{false, FileDialogAnswer{fileName, filterIndex}});
}

void setNextFileDialogCancelled() { seam().queued.push_back(QueuedAnswer{true, {}}); }

void resetFileDialogSeam(bool refuseReal) {
    seam().queued.clear();
    seam().refuseReal = refuseReal;
}

const FileDialogRequest& lastFileDialogRequest() { return seam().lastRequest; }

void setFileDialogFolders(const QString& dataFolder, const QString& logFolder, const QString& settingsPath) {
    SeamState& state = seam();
    state.dataFolder = QDir(dataFolder).absolutePath();
    state.logFolder = QDir(logFolder).absolutePath();
    state.settingsPath = settingsPath;
    if (settingsPath.isEmpty()) return;
    try {
        const IniFile settings(settingsPath.toStdString());
        // A remembered folder that has gone since is forgotten.
        const auto remembered = [&](const char* key, QString& folder) {
            if (const auto value = settings.readString(kSettingsSection, key)) {
                const QString path = QString::fromStdString(*value);
                if (!path.isEmpty() && QFileInfo(path).isDir()) folder = path;
            }
        };
        remembered("DataFolder", state.dataFolder);
        remembered("LogFolder", state.logFolder);
    } catch (const OrrError&) {
        // An unreadable settings file remembers nothing.
    }
}

QString fileDialogStartFolder(const FileDialogRequest& request) {
    const SeamState& state = seam();
    if (request.initialDir.isEmpty()) return QDir::currentPath();
    const QString& folder = isLogKind(request) ? state.logFolder : state.dataFolder;
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    const QString below = QDir::current().absoluteFilePath(QFileInfo(request.initialDir).fileName());
    return QFileInfo(below).isDir() ? below : QDir::currentPath();
}

void rememberFileDialogChoice(const FileDialogRequest& request, const QString& fileName) {
    if (request.initialDir.isEmpty()) return;
    SeamState& state = seam();
    const QString folder = QFileInfo(fileName).absolutePath();
    const bool log = isLogKind(request);
    (log ? state.logFolder : state.dataFolder) = folder;
    if (state.settingsPath.isEmpty()) return;
    try {
        IniFile settings(state.settingsPath.toStdString());
        settings.writeString(kSettingsSection, log ? "LogFolder" : "DataFolder", folder.toStdString());
        settings.save();
    } catch (const OrrError&) {
        // A settings file that cannot be written remembers nothing; the
        // choice still holds for this run.
    }
}

QString defaultSuffixFor(const FileDialogRequest& request, int filterIndex) {
    if (filterIndex >= 1 && filterIndex <= request.filters.size()) {
        static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)\\)"));
        const QRegularExpressionMatch match = pattern.match(request.filters.at(filterIndex - 1));
        if (match.hasMatch()) return match.captured(1);
    }
    return request.defaultExtension;
}

}  // namespace orrimar::ui

#include "ui/file_dialog_seam.h"

#include <QDir>
#include <QFileDialog>

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
};

SeamState& seam() {
    static SeamState state;
    return state;
}

// "../data" names the working folder once a file inside "data" or "log" has
// been chosen (the current directory is then that folder). Before that, the
// folder start-up made below the current directory is the one meant.
QString startFolder(const QString& initialDir) {
    if (initialDir.isEmpty()) return QDir::currentPath();
    if (QDir(initialDir).exists()) return QDir(initialDir).absolutePath();
    const QString below = QDir::cleanPath(QDir::current().filePath(QFileInfo(initialDir).fileName()));
    if (QDir(below).exists()) return below;
    return QDir::currentPath();
}

std::optional<FileDialogAnswer> showRealDialog(QWidget* parent, const FileDialogRequest& request,
                                               const FileDialogAnswer& lastAnswer) {
    const bool saving = request.mode == FileDialogRequest::Mode::Save;
    QFileDialog dialog(parent);
    dialog.setAcceptMode(saving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(saving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Logs and reports are rewritten freely, as the user expects of them.
    if (saving) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(request.defaultExtension);
    dialog.setNameFilters(request.filters);
    const int filter = lastAnswer.fileName.isEmpty() ? 1 : lastAnswer.filterIndex;
    if (filter >= 1 && filter <= request.filters.size()) dialog.selectNameFilter(request.filters.at(filter - 1));
    dialog.setDirectory(startFolder(request.initialDir));
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

}  // namespace orrimar::ui

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QStatusBar>
#include <QSvgGenerator>

#include <algorithm>
#include <climits>

#include "exports/sector_export.h"
#include "ui/atlas_painter.h"
#include "ui/atlas_session.h"
#include "ui/atlas_widget.h"
#include "ui/atlas_window.h"
#include "ui/dialog_parts.h"
#include "ui/error_report.h"
#include "ui/file_dialog_seam.h"
#include "ui/message_seam.h"

// What the atlas window sends out of itself: the sector exported, the view
// saved as a picture or printed.

namespace orrimar::ui {

namespace {

// The export's gauge: a progress dialog whose Cancel ends the export with
// nothing written.
class ExportGauge : public exports::ExportProgress {
public:
    explicit ExportGauge(QWidget* parent) : dialog_(QStringLiteral("Exporting..."), QStringLiteral("Cancel"), 0, 1, parent) {
        dialog_.setWindowModality(Qt::WindowModal);
        dialog_.setMinimumDuration(500);
    }
    void setMaximum(std::int64_t steps) override { dialog_.setMaximum(static_cast<int>(std::min<std::int64_t>(steps, INT_MAX))); }
    void setProgress(std::int64_t done) override {
        // Repainting for every one of a million systems would cost more
        // than the export.
        if (done % 256 == 0 || done == dialog_.maximum()) dialog_.setValue(static_cast<int>(done));
    }
    bool cancelRequested() override { return dialog_.wasCanceled(); }

private:
    QProgressDialog dialog_;
};

}  // namespace

void AtlasWindow::exportClick() {
    if (!session_->isOpen()) return;
    const auto answer = runFileDialog(
        this,
        saveDialog(QStringLiteral("json"),
                   {QStringLiteral("JSON document (*.json)"), QStringLiteral("CSV tables, a folder (*)"),
                    QStringLiteral("HTML atlas, a folder (*)")},
                   kLogFolder),
        FileDialogAnswer{});
    if (!answer) return;
    const exports::ExportFormat format = answer->filterIndex == 2   ? exports::ExportFormat::Csv
                                        : answer->filterIndex == 3 ? exports::ExportFormat::Atlas
                                                                   : exports::ExportFormat::Json;
    QString destination = answer->fileName;
    // Tables and the atlas are folders: a default ".json" added by the
    // dialog names nothing.
    if (format != exports::ExportFormat::Json && destination.endsWith(QStringLiteral(".json")))
        destination.chop(5);
    exports::ExportResult result;
    const bool done = guarded(this, [&] {
        ExportGauge gauge(this);
        result = exports::ExportSector(sectorBase_.toStdString(), format, QFile::encodeName(destination).toStdString(),
                                      &gauge);
    });
    if (!done) return;
    statusBar()->showMessage(result.cancelled ? QStringLiteral("Export cancelled: nothing written")
                                              : QStringLiteral("Wrote %1 systems to %2").arg(result.systems).arg(destination));
}

// ------------------------------------------------------ save and print

void AtlasWindow::renderTo(QPaintDevice& device) {
    const QSize size(device.width(), device.height());
    const AtlasScene scene = session_->scene(size);
    QPainter painter(&device);
    AtlasPainter().paint(painter, QRect(QPoint(0, 0), size), scene);
}

void AtlasWindow::saveViewClick() {
    const auto answer = runFileDialog(
        this,
        saveDialog(QStringLiteral("png"), {QStringLiteral("PNG image (*.png)"), QStringLiteral("SVG drawing (*.svg)")},
                   kLogFolder),
        FileDialogAnswer{});
    if (!answer) return;
    QString path = answer->fileName;
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QStringLiteral("png") && suffix != QStringLiteral("svg"))
        path += answer->filterIndex == 2 ? QStringLiteral(".svg") : QStringLiteral(".png");
    saveViewAs(path);
}

bool AtlasWindow::saveViewAs(const QString& path) {
    const QSize size = Map->size();
    bool ok = false;
    if (QFileInfo(path).suffix().toLower() == QStringLiteral("svg")) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(windowTitle());
        renderTo(svg);
        ok = QFileInfo(path).size() > 0;
    } else {
        QImage image(size, QImage::Format_RGB32);
        renderTo(image);
        ok = image.save(path, "PNG");
    }
    if (!ok) {
        showMessage(this, QStringLiteral("Error"), QStringLiteral("The view could not be saved to %1").arg(path));
        return false;
    }
    statusBar()->showMessage(QStringLiteral("Wrote the view to %1").arg(path));
    return true;
}

void AtlasWindow::printClick() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    renderTo(printer);
}

}  // namespace orrimar::ui

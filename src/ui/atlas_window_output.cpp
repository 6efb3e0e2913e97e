#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QLineEdit>
#include <QStatusBar>
#include <QSvgGenerator>

#include <algorithm>

#include "atlas/players_sight.h"
#include "common/errors.h"
#include "print/poster.h"
#include "print/sheet_pages.h"
#include "ui/atlas_session.h"
#include "ui/atlas_widget.h"
#include "ui/atlas_window.h"
#include "ui/dialog_parts.h"
#include "ui/error_report.h"
#include "ui/export_dialog.h"
#include "ui/file_field.h"
#include "ui/file_dialog_seam.h"
#include "ui/message_seam.h"
#include "ui/print_dialogs.h"

// What the atlas window sends out of itself: the sector exported, the view
// saved as a picture or printed, posters and system sheets printed or
// written as PDF files. Every drawing is the painting library's, the same
// the command line prints with.

namespace orrimar::ui {

namespace {

FileDialogRequest pdfDialog() {
    return saveDialog(QStringLiteral("pdf"), {QStringLiteral("PDF document (*.pdf)")}, kLogFolder);
}

// A printer set for whole pages of `paper`: the painting library lays out
// its own margins.
void setPaper(QPrinter& printer, print::Paper paper, QPageLayout::Orientation orientation) {
    printer.setPageSize(QPageSize(print::paperInfo(paper).id));
    printer.setPageOrientation(orientation);
    printer.setFullPage(true);
}

}  // namespace

void AtlasWindow::exportClick() {
    if (!session_->isOpen()) return;
    if (ExportDlg == nullptr) ExportDlg = new ExportDialog(this);
    ExportDlg->SectorEdit->setText(sectorBase_);
    ExportDlg->open();
}

// ------------------------------------------------------ save and print

void AtlasWindow::renderTo(QPaintDevice& device, const print::PaintStyle& style) {
    const QSize size(device.width(), device.height());
    const print::AtlasScene scene = session_->scene(size);
    QPainter painter(&device);
    print::AtlasPainter().paint(painter, QRectF(QPoint(0, 0), size), scene, style);
}

void AtlasWindow::saveViewClick() {
    if (ViewImageDlg == nullptr) {
        ViewImageDlg = new ViewImageDialog(this);
        connect(ViewImageDlg, &QDialog::accepted, this, [this] {
            const auto answer = runFileDialog(
                this,
                saveDialog(QStringLiteral("png"),
                           {QStringLiteral("PNG image (*.png)"), QStringLiteral("SVG drawing (*.svg)")}, kLogFolder),
                FileDialogAnswer{});
            if (!answer) return;
            QString path = answer->fileName;
            const QString suffix = QFileInfo(path).suffix().toLower();
            if (suffix != QStringLiteral("png") && suffix != QStringLiteral("svg"))
                path += answer->filterIndex == 2 ? QStringLiteral(".svg") : QStringLiteral(".png");
            saveViewAs(path, ViewImageDlg->size(), ViewImageDlg->PaperBox->isChecked());
        });
    }
    ViewImageDlg->WidthSpin->setValue(Map->width());
    ViewImageDlg->HeightSpin->setValue(Map->height());
    ViewImageDlg->open();
}

bool AtlasWindow::saveViewAs(const QString& path) { return saveViewAs(path, Map->size(), false); }

bool AtlasWindow::saveViewAs(const QString& path, QSize size, bool paperColours) {
    print::PaintStyle style;
    if (paperColours) style.palette = &print::AtlasPalette::paper();
    bool ok = false;
    if (QFileInfo(path).suffix().toLower() == QStringLiteral("svg")) {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(windowTitle());
        renderTo(svg, style);
        ok = QFileInfo(path).size() > 0;
    } else {
        QImage image(size, QImage::Format_RGB32);
        renderTo(image, style);
        ok = image.save(path, "PNG");
    }
    if (!ok) {
        showMessage(this, QStringLiteral("Error"), QStringLiteral("The view could not be saved to %1").arg(path));
        return false;
    }
    statusBar()->showMessage(QStringLiteral("Wrote the view to %1").arg(path));
    return true;
}

print::PosterOptions AtlasWindow::currentViewPoster() const {
    print::PosterOptions options;
    options.view = session_->cameraView();
    const AtlasSession::SlabRange slab = session_->slab();
    options.slab = slab.from != slab.lowest || slab.to != slab.highest;
    options.slabFrom = slab.from;
    options.slabTo = slab.to;
    options.players = session_->playersView();
    return options;
}

void AtlasWindow::printClick() {
    if (!session_->isOpen()) return;
    QPrinter printer(QPrinter::HighResolution);
    setPaper(printer, print::Paper::A4, QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    printView(printer);
}

void AtlasWindow::printView(QPrinter& printer) {
    print::PosterOptions options = currentViewPoster();
    // The paper the printer's dialog settled on, when it is one we lay out.
    for (const print::PaperInfo& info : print::kPapers)
        if (printer.pageLayout().pageSize().id() == info.id) options.paper = info.paper;
    printPoster(printer, options);
}

void AtlasWindow::printPoster(QPrinter& printer, const print::PosterOptions& options) {
    const atlas::AtlasModel* model = session_->model();
    if (model == nullptr) return;
    guarded(this, [&] {
        setPaper(printer, options.paper, QPageLayout::Landscape);
        // A poster for the players shows what they know now.
        const auto sight = options.players ? session_->playersSight() : nullptr;
        const print::Poster poster(sight ? sight->model() : *model, options);
        QPainter painter(&printer);
        for (int page = 0; page < poster.pageCount(); ++page) {
            if (page > 0) printer.newPage();
            poster.paintPage(painter, page);
        }
    });
}

bool AtlasWindow::exportPosterAs(const QString& path, const print::PosterOptions& options) {
    const atlas::AtlasModel* model = session_->model();
    if (model == nullptr) return false;
    const bool done = guarded(this, [&] {
        const auto sight = options.players ? session_->playersSight() : nullptr;
        const print::Poster poster(sight ? sight->model() : *model, options);
        print::writePosterPdf(poster, QFile::encodeName(path).toStdString());
    });
    if (done) statusBar()->showMessage(QStringLiteral("Wrote the poster to %1").arg(path));
    return done;
}

void AtlasWindow::posterClick(bool toPdf) {
    if (!session_->isOpen()) return;
    if (PosterDlg == nullptr) {
        PosterDlg = new PosterDialog(this);
        connect(PosterDlg, &QDialog::accepted, this, [this] {
            const print::PosterOptions options = PosterDlg->options();
            if (posterToPdf_) {
                const auto answer = runFileDialog(this, pdfDialog(), FileDialogAnswer{});
                if (answer) exportPosterAs(answer->fileName, options);
                return;
            }
            QPrinter printer(QPrinter::HighResolution);
            setPaper(printer, options.paper, QPageLayout::Landscape);
            QPrintDialog dialog(&printer, this);
            if (dialog.exec() == QDialog::Accepted) printPoster(printer, options);
        });
    }
    posterToPdf_ = toPdf;
    const print::PosterOptions current = currentViewPoster();
    const AtlasSession::SlabRange slab = session_->slab();
    PosterDlg->preset(current.view, current.slab, current.slabFrom, current.slabTo,
                      QStringLiteral("slab %1 %2..%3").arg(QLatin1Char(slab.axis)).arg(slab.from).arg(slab.to));
    PosterDlg->open();
}

std::optional<std::vector<sheets::SystemSheet>> AtlasWindow::sheetsOf(const QStringList& systems, bool players) {
    std::optional<std::vector<sheets::SystemSheet>> result;
    guarded(this, [&] {
        std::vector<std::int64_t> ids;
        for (const QString& text : systems) ids.push_back(session_->findSystem(text.toStdString(), "Systems"));
        if (ids.empty()) throw InputError("No systems chosen: give ids or names, separated by commas");
        sheets::SheetOptions options;
        options.audience = players ? sheets::Audience::Players : sheets::Audience::GameMaster;
        result = sheets::gatherSheets(sectorBase_.toStdString(), ids, options);
    });
    return result;
}

bool AtlasWindow::printSheets(QPrinter& printer, const QStringList& systems, print::Paper paper, bool players) {
    const auto content = sheetsOf(systems, players);
    if (!content) return false;
    return guarded(this, [&] {
        setPaper(printer, paper, QPageLayout::Portrait);
        QPainter painter(&printer);
        print::paintSheets(painter, paper, *content, [&printer] { printer.newPage(); });
    });
}

bool AtlasWindow::exportSheetsAs(const QString& path, const QStringList& systems, print::Paper paper, bool players) {
    const auto content = sheetsOf(systems, players);
    if (!content) return false;
    const bool done =
        guarded(this, [&] { print::writeSheetsPdf(*content, paper, QFile::encodeName(path).toStdString()); });
    if (done) {
        statusBar()->showMessage(QStringLiteral("Wrote %1 system sheet%2 to %3")
                                     .arg(content->size())
                                     .arg(content->size() == 1 ? "" : "s", path));
    }
    return done;
}

void AtlasWindow::sheetsClick(bool toPdf) {
    if (!session_->isOpen()) return;
    if (SheetsDlg == nullptr) {
        SheetsDlg = new SheetsDialog(this);
        connect(SheetsDlg, &QDialog::accepted, this, [this] {
            const QStringList systems = SheetsDlg->systems();
            const bool players = SheetsDlg->PlayersBox->isChecked();
            if (sheetsToPdf_) {
                const auto answer = runFileDialog(this, pdfDialog(), FileDialogAnswer{});
                if (answer) exportSheetsAs(answer->fileName, systems, SheetsDlg->paper(), players);
                return;
            }
            QPrinter printer(QPrinter::HighResolution);
            setPaper(printer, SheetsDlg->paper(), QPageLayout::Portrait);
            QPrintDialog dialog(&printer, this);
            if (dialog.exec() == QDialog::Accepted) printSheets(printer, systems, SheetsDlg->paper(), players);
        });
    }
    sheetsToPdf_ = toPdf;
    const auto selected = session_->selected();
    SheetsDlg->SystemsEdit->setText(selected ? QString::number(*selected) : QString());
    SheetsDlg->open();
}

}  // namespace orrimar::ui

// "Export": a sector as JSON, as CSV tables or as a browsable HTML atlas,
// with a gauge and Cancel on long exports as Create Sector has them.
#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include <optional>

#include "exports/sector_export.h"
#include "ui/dialog_parts.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace orrimar::ui {

class FileField;

class ExportDialog : public QDialog, public CommandReport, private exports::ExportProgress {
    Q_OBJECT
public:
    explicit ExportDialog(QWidget* parent = nullptr);

    FileField* SectorEdit;       // "Sector : "
    QComboBox* FormatBox;        // "Format : " JSON, CSV, HTML atlas
    QLineEdit* DestinationEdit;  // "Destination : " a file for JSON, a folder otherwise
    QCheckBox* PlayersBox;       // "For the players": the atlas of what they know (atlas only)
    QProgressBar* Gauge;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    void OKBtnClick();
    bool running() const { return running_; }
    // What the last export did; empty before the first or after a failure.
    const std::optional<exports::ExportResult>& lastRun() const { return lastRun_; }
    exports::ExportFormat format() const;
    // The players' atlas: the box ticked while the format is the atlas.
    bool players() const;

    // How often a run lets the interface process its events (0: every step).
    void setEventInterval(int milliseconds) { eventIntervalMs_ = milliseconds; }

public slots:
    void reject() override;

private:
    // The destination the dialog proposes for a sector and format, while the
    // user has not typed one of their own.
    void proposeDestination();

    // ExportProgress
    void setMaximum(std::int64_t steps) override;
    void setProgress(std::int64_t stepsDone) override;
    bool cancelRequested() override { return cancelFlag_; }

    bool cancelFlag_ = false;
    bool running_ = false;
    std::int64_t maximum_ = 0;
    int eventIntervalMs_ = 40;
    QElapsedTimer sinceEvents_;
    QString proposed_;
    std::optional<exports::ExportResult> lastRun_;
};

// The destination proposed for a sector base name: "base.json",
// "base-csv", "base-atlas", and "base-players-atlas" for the players.
QString proposedDestination(const QString& baseName, exports::ExportFormat format, bool players = false);

}  // namespace orrimar::ui

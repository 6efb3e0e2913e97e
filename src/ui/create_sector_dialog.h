// "Create Sector": the parameters of a block of space, and the sector run
// with its gauge, wait cursor and Cancel.
#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include <optional>

#include "generation/create_sector.h"
#include "ui/dialog_parts.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace orrimar::ui {

struct AppState;
class FileField;

class TBtnRightDlg : public QDialog, public CommandReport, private SectorProgress {
    Q_OBJECT
public:
    TBtnRightDlg(const AppState& state, QWidget* parent = nullptr);

    QLineEdit* Edit8;      // "Name : "
    FileField* Edit1;      // "File : "
    QLineEdit* Edit3;      // "X :"
    QLineEdit* Edit4;      // "Y :"
    QLineEdit* Edit5;      // "Z : "
    QLineEdit* Edit6;      // "Density : "
    QLineEdit* Edit7;      // "Size :"
    QLineEdit* Edit9;      // "Max Spatial Age"
    QLineEdit* SeedEdit;   // "Seed : ", empty for a seed from the clock
    QLabel* SeedLabel;     // the seed of the last run, to make the sector again
    QCheckBox* CheckBox1;  // "Gaia"
    QCheckBox* CheckBox3;  // "New file"
    QCheckBox* CheckBox2;  // "Tot. al disable"
    QCheckBox* CheckBox4;  // "2D Sector"
    QCheckBox* NamesBox;   // "Names"
    QProgressBar* Gauge1;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    void OKBtnClick();
    void CancelBtnClick();

    bool running() const { return running_; }
    // What the last run did; empty before the first.
    const std::optional<CreateSectorResult>& lastRun() const { return lastRun_; }
    // Before an opening: a run is then reported only if this opening made it.
    void forgetLastRun() { lastRun_.reset(); }

    // How often a run lets the interface process its events: often enough
    // for the gauge to move and Cancel to answer at once, seldom enough that
    // millions of cells do not wait on the interface.
    void setEventInterval(int milliseconds) { eventIntervalMs_ = milliseconds; }

public slots:
    void reject() override;

private:
    void runSector(const CreateSectorParams& params);

    // SectorProgress
    void setMaximum(std::int64_t cells) override;
    void setProgress(std::int64_t cellsVisited) override;
    bool cancelRequested() override { return cancelFlag_; }
    void clearCancel() override { cancelFlag_ = false; }

    const AppState& state_;
    bool cancelFlag_ = false;
    bool running_ = false;
    std::int64_t maximum_ = 0;
    int eventIntervalMs_ = 40;
    QElapsedTimer sinceEvents_;
    int cellsSinceClock_ = 0;
    static constexpr int kCellsPerClockReading = 64;
    std::optional<CreateSectorResult> lastRun_;
};

// The status line of a run: what it wrote (systems, planets, moons, races),
// the sector's full path and the seed that makes it again.
QString createSectorReport(const CreateSectorResult& run, const CreateSectorParams& params);

}  // namespace orrimar::ui

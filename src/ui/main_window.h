// The launch pad: one button per command, the companion programs, About and
// Quit. Its creation sets up the program's run (settings file, working
// folders, first-run tables) and then creates every dialog once.
#pragma once

#include <QList>
#include <QRect>
#include <QWidget>

#include "ui/app_state.h"
#include "ui/companion_launcher.h"

class QDialog;
class QGroupBox;
class QLabel;
class QPushButton;

namespace orrimar::ui {

class AtlasWindow;
class TAboutBox;
class TBtnRightDlg;
class TBtnRightDlg1;
class TBtnRightDlg2;
class TForm5;
class TForm6;
class TForm8;
class SettleDialog;
class TFormMerger;
class ExportDialog;
class StarField;

struct StartupOptions {
    QString programDir;     // with a trailing separator
    QString userConfigDir;  // where the settings go when programDir cannot be written
    DetachedStarter starter;
    QList<QRect> screens;  // empty: the screens attached now
};

// The main window's settings keys and their defaults (pixels).
inline constexpr int kDefaultHeight = 324;
inline constexpr int kDefaultWidth = 513;
inline constexpr int kDefaultLeft = 349;
inline constexpr int kDefaultTop = 201;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(StartupOptions options, QWidget* parent = nullptr);
    ~TForm1() override;

    AppState& state() { return state_; }

    // Launch pad buttons, left column top to bottom.
    QPushButton* CreateSectorBtn;
    QPushButton* SystemLogBtn;
    QPushButton* AlienLogBtn;
    QPushButton* SectorReportBtn;
    QPushButton* AlienGenBtn;
    QPushButton* ColoniesRptBtn;
    QPushButton* SettleBtn;
    QPushButton* MergerBtn;
    QPushButton* ExportBtn;
    QPushButton* AtlasBtn;
    QPushButton* AboutBtn;
    QPushButton* QuitBtn;
    // Companions, inside the "Launch Pad" group box.
    QPushButton* CressetBtn;
    QPushButton* DunmereBtn;
    QPushButton* ElvaranBtn;
    QPushButton* ExportChVBtn;
    QPushButton* TarnokBtn;
    QPushButton* BoldrinBtn;
    QGroupBox* LaunchPad;
    QLabel* TitleLabel;
    StarField* Picture;
    // What the last command made and where, until the next command.
    QLabel* StatusLine;

    // The dialogs, created once in this order and kept for the whole run.
    TBtnRightDlg* BtnRightDlg = nullptr;    // Create Sector
    TBtnRightDlg1* BtnRightDlg1 = nullptr;  // System Logfile
    TBtnRightDlg2* BtnRightDlg2 = nullptr;  // Alien Logfile
    TForm5* Form5 = nullptr;                // Sector Report
    TForm6* Form6 = nullptr;                // Alien Generator
    TAboutBox* AboutBox = nullptr;
    TForm8* Form8 = nullptr;            // Colonies Report Log
    SettleDialog* SettleDlg = nullptr;  // Settle Sector
    TFormMerger* FormMerger = nullptr;  // Sector Merger
    ExportDialog* ExportDlg = nullptr;  // Export
    AtlasWindow* Atlas = nullptr;       // made on the first click of "Atlas"

    // Writes the window's geometry to the settings file and closes.
    void QuitClick();
    // Prepares the Alien Generator's lists and shows it.
    void AlienGenClick();
    void AlienLogClick();
    void BoldrinClick();
    // Shows the atlas window (one for the run), raised if already open.
    void AtlasClick();
    void startCompanion(const QString& fileName);
    // Runs one command's dialog, then shows what it made in the status line.
    void runCommand(QDialog* dialog);
    void showStatus(const QString& text);

private:
    void FormCreate();
    void createDialogs();
    // Every sector field the user has not pointed elsewhere shows the
    // program's current sector; a sector chosen in one becomes it.
    void followCurrentSector();
    void buildLayout();
    void applyStoredGeometry(int height, int width, int left, int top);
    void greyMissingCompanion(QPushButton* button, const QString& fileName, const QString& folder);

    StartupOptions options_;
    AppState state_;
};

}  // namespace orrimar::ui

// The Atlas: the window a game master works in once a sector exists. The
// map (AtlasWidget, drawn by AtlasPainter, driven by AtlasInputHandler), the
// view and slab controls, and three panels: the selected system's summary,
// search and filter, and routes. Everything it knows about the sector comes
// from the atlas core; the window reads its widgets, asks the core and
// shows the answer.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "print/atlas_painter.h"
#include "print/paper.h"
#include "print/poster.h"
#include "sheets/system_sheet.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPaintDevice;
class QPrinter;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTabWidget;
class QTextBrowser;
class QTimer;
class QVBoxLayout;
class QWidget;

namespace orrimar::ui {

class AtlasEmpiresPanel;
class AtlasInputHandler;
class AtlasNotesBox;
class AtlasRoutePanel;
class AtlasSearchPanel;
class AtlasWidget;
struct AtlasSession;
class CurrentSector;
class ExportDialog;
class PosterDialog;
class SheetsDialog;
class ViewImageDialog;
class SectorWatcher;

class AtlasWindow : public QMainWindow {
    Q_OBJECT
public:
    // `settingsPath`: orrwin.ini, where the recent sectors are kept.
    explicit AtlasWindow(QString settingsPath, QWidget* parent = nullptr);
    // Shares the program's current sector: what it opens becomes the
    // sector of every dialog, its recent list is everyone's.
    explicit AtlasWindow(CurrentSector* sector, QWidget* parent = nullptr);
    ~AtlasWindow() override;

    // Asks for a sector with the usual open dialog and opens it.
    void openSectorClick();
    // Opens the sector `baseName` (no extension). A sector that cannot be
    // read is reported and the one shown before stays.
    bool openSector(const QString& baseName);
    const QString& sectorBase() const { return sectorBase_; }
    // Reads the open sector again after another program changed it (the
    // watcher calls it), keeping the view and the selected system; a
    // sector still being written is tried again shortly.
    void reloadSector();
    // Reads the campaign again after another program changed it (the
    // watcher calls it): the players' view, when on, and the notes boxes,
    // keeping the selection and any text being typed.
    void rereadCampaign();
    SectorWatcher* watcher() const { return watcher_; }
    QStringList recentSectors() const;

    // Selection: by id (search, route, tests) or by a click at a map pixel.
    void selectSystem(std::int32_t id);
    void pickAt(QPointF mapPixel);
    std::optional<std::int32_t> selectedSystem() const;

    // 0 cube, 1 top, 2 front, 3 side.
    void setView(int view);
    int view() const;

    void runSearch();
    void clearSearch();
    void runRoute();

    void openSystemLog();
    void openAlienLog(std::int32_t raceId);
    void renameClick();
    // Names the selected system (what Rename does once its box is answered).
    bool renameSelected(const QString& name);
    // Opens the Export dialog for the open sector.
    void exportClick();
    // Save the view: its size and colours (ViewImageDlg), then a save
    // dialog; or straight to `path` at the map's size in screen colours
    // (tests, the screenshot program).
    void saveViewClick();
    bool saveViewAs(const QString& path);
    bool saveViewAs(const QString& path, QSize size, bool paperColours);
    // Print view: the current view and slab as a one-page poster.
    void printClick();
    void printView(QPrinter& printer);
    // Posters and sheets: their dialog first, then the printer's dialog or
    // a save dialog for the PDF.
    void posterClick(bool toPdf);
    void sheetsClick(bool toPdf);
    void printPoster(QPrinter& printer, const print::PosterOptions& options);
    bool exportPosterAs(const QString& path, const print::PosterOptions& options);
    // The sheets of the systems typed (ids or names); false with a message
    // shown when one names no system.
    bool printSheets(QPrinter& printer, const QStringList& systems, print::Paper paper, bool players);
    bool exportSheetsAs(const QString& path, const QStringList& systems, print::Paper paper, bool players);
    // Draws the current view onto any device (file, image) at its size.
    void renderTo(QPaintDevice& device, const print::PaintStyle& style = {});

    // View > As the players see it: the map, lists, panels, search and
    // routes show only what the players know; notes the players may not
    // read are hidden, theirs shown read-only. Notes typed before are saved
    // first. False (the view unchanged, the message shown) when what the
    // players know cannot be read.
    bool setPlayersView(bool on);
    bool playersView() const;

    // The colony editors (add a colony to the selected system, edit its
    // colonies), called with the selected system; empty until they are
    // plugged in, and their buttons hidden. After an editor wrote to the
    // sector, the watcher reads it again.
    // System > Settle the sector: the Settle Sector dialog on the open
    // sector, which is read again once settled.
    void settleClick();
    void setColonyEditors(std::function<void(std::int32_t system)> add, std::function<void(std::int32_t system)> edit);
    // Fills the lists that name the open sector's races (the search's
    // owners, the route's empires) and the Empires panel.
    void refreshSettledLists();

    // Widgets, public for the tests and the screenshot program.
    AtlasWidget* Map;
    QComboBox* ViewList;
    QLabel* SlabLabel;
    QSpinBox* SlabFrom;
    QSpinBox* SlabTo;
    QTabWidget* Panels;
    QAction* SettleAction;
    QTextBrowser* Summary;
    QPushButton* SystemLogBtn;
    QWidget* RaceButtons;
    QPushButton* RenameBtn;
    QPushButton* ExportBtn;
    QPushButton* AddColonyBtn;
    QPushButton* EditColoniesBtn;
    // The notes on the selected system, its worlds, races and colonies.
    AtlasNotesBox* SystemNotes;
    // The panels of their own, and (for the tests and the screenshot
    // program) their widgets by the names they always had.
    AtlasSearchPanel* Search;
    AtlasRoutePanel* Route;
    AtlasEmpiresPanel* EmpiresPanel;
    // Search and filter.
    QLineEdit* SearchText;
    QComboBox* StarKindList;
    QComboBox* WorldTypeList;
    QCheckBox* BreathableBox;
    QComboBox* TemperatureList;
    QComboBox* WaterList;
    QComboBox* GravityList;
    QComboBox* LifeList;
    QCheckBox* NativeRaceBox;
    QCheckBox* ColoniesBox;
    QDoubleSpinBox* WithinSpin;  // 0: anywhere
    QPushButton* SearchBtn;
    QPushButton* ClearBtn;
    QTableWidget* Matches;
    QLabel* MatchCount;
    // Route.
    QLineEdit* RouteFrom;
    QLineEdit* RouteTo;
    QDoubleSpinBox* JumpSpin;
    QComboBox* ViaList;
    QLineEdit* JumpTimeText;  // kept in the settings file
    QPushButton* RouteBtn;
    QTableWidget* Legs;
    QLabel* RouteStatus;
    // File menu.
    QMenu* RecentMenu;
    QAction* SaveViewAction;
    QAction* PrintAction;
    QAction* PrintPosterAction;
    QAction* ExportPosterAction;
    QAction* PrintSheetsAction;
    QAction* ExportSheetsAction;
    // The print choices (made on first use) and the Export dialog.
    PosterDialog* PosterDlg = nullptr;
    SheetsDialog* SheetsDlg = nullptr;
    ViewImageDialog* ViewImageDlg = nullptr;
    ExportDialog* ExportDlg = nullptr;
    QAction* RenameAction;
    QAction* ExportAction;
    QAction* PlayersViewAction;

protected:
    // Notes not yet saved are saved first; a window whose notes cannot be
    // written stays open, the text in its box.
    void closeEvent(QCloseEvent* event) override;

private:
    AtlasWindow(CurrentSector* sector, const QString& settingsPath, QWidget* parent);
    void buildMenus();
    void buildControls();
    QWidget* buildSystemPanel();
    void buildPanels();
    void connectInput();
    void refreshRecentMenu();
    void resetControls();
    void syncSlabControls();
    void slabChanged();
    void rebuildScene();
    // A frame without labels while the view moves; labels after a rest.
    void moved();
    void showSummary();
    // The notes box's things for the selected system (atlas_window_campaign.cpp).
    void showNotes();
    void showTitle();
    void fillRaceButtons();
    QString namesAt(QPointF mapPixel) const;
    // The system a route field names; empty with `problem` said when none.
    std::optional<std::int32_t> systemFromText(const QString& text, const QString& field, QString& problem) const;
    // Keeps the "Jump takes" field in the settings file when it holds a
    // time (or nothing); says what is wrong with it otherwise.
    void keepJumpTime();
    void showHtmlWindow(const QString& title, const QString& html);
    print::PosterOptions currentViewPoster() const;
    std::optional<std::vector<sheets::SystemSheet>> sheetsOf(const QStringList& systems, bool players);

    CurrentSector* sector_ = nullptr;
    QString sectorBase_;
    std::unique_ptr<AtlasSession> session_;
    AtlasInputHandler* input_;
    QTimer* settle_ = nullptr;
    SectorWatcher* watcher_ = nullptr;
    bool updatingControls_ = false;
    bool posterToPdf_ = false;
    bool sheetsToPdf_ = false;
    std::function<void(std::int32_t)> addColony_;
    std::function<void(std::int32_t)> editColonies_;
};

}  // namespace orrimar::ui

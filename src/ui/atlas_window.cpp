#include "ui/atlas_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <climits>

#include "exports/sector_export.h"
#include "common/errors.h"
#include "ui/atlas_empires_panel.h"
#include "ui/atlas_input_handler.h"
#include "ui/atlas_notes_box.h"
#include "ui/atlas_route_panel.h"
#include "ui/atlas_search_panel.h"
#include "ui/atlas_session.h"
#include "ui/atlas_tables.h"
#include "ui/current_sector.h"
#include "ui/atlas_widget.h"
#include "ui/dialog_parts.h"
#include "ui/error_report.h"
#include "ui/file_dialog_seam.h"
#include "ui/message_seam.h"
#include "ui/sector_watcher.h"
#include "ui/star_field.h"
#include "ui/start_arguments.h"

namespace orrimar::ui {

namespace {

// Milliseconds of rest after a turn, pan or zoom before labels return.
constexpr int kSettleMs = 150;

const QStringList kViewNames = {QStringLiteral("Cube"), QStringLiteral("Top"), QStringLiteral("Front"),
                                QStringLiteral("Side")};

// The engine's pages carry a style sheet for browsers ("margin: auto",
// "max-width") that Qt's rich text reads as a column a few letters wide;
// in the window they get a compact sheet of their own instead. Text cells
// may wrap, so that a summary's ten columns fit the side panel without a
// scroll bar; figures with their units stay on one line.
const QString kLogStyle = QStringLiteral(
    "h1{font-size:x-large;color:#1f3864} h2{font-size:large;color:#2d4a7a} h3{color:#34476b}"
    "th{background:#e8ecf6;padding:2px 3px;text-align:left;white-space:nowrap;font-size:small}"
    "td{padding:1px 3px;font-size:small} td.r{white-space:nowrap}");

QString withoutPageStyle(const QString& html) {
    static const QRegularExpression style(
        QStringLiteral("<style>.*</style>"),
        QRegularExpression::DotMatchesEverythingOption | QRegularExpression::InvertedGreedinessOption);
    return QString(html).remove(style);
}

// "race 64" starts a button's caption as "Race 64".
QString capitalised(QString text) {
    if (!text.isEmpty()) text[0] = text[0].toUpper();
    return text;
}

void setLogHtml(QTextBrowser* browser, const QString& html) {
    browser->document()->setDefaultStyleSheet(kLogStyle);
    browser->setHtml(withoutPageStyle(html));
}

}  // namespace

AtlasWindow::AtlasWindow(QString settingsPath, QWidget* parent)
    : AtlasWindow(nullptr, std::move(settingsPath), parent) {}

AtlasWindow::AtlasWindow(CurrentSector* sector, QWidget* parent) : AtlasWindow(sector, QString(), parent) {}

AtlasWindow::AtlasWindow(CurrentSector* sector, const QString& settingsPath, QWidget* parent)
    : QMainWindow(parent), session_(std::make_unique<AtlasSession>()) {
    // A window of its own keeps its own current sector (and the recent
    // list in `settingsPath`); the launch pad's Atlas shares the program's.
    sector_ = sector != nullptr ? sector : new CurrentSector(settingsPath, this);
    setObjectName(QStringLiteral("AtlasWindow"));
    setWindowTitle(QStringLiteral("Atlas"));
    setWindowIcon(programIcon());
    Map = new AtlasWidget(this);
    Map->setNamesAt([this](QPointF at) { return namesAt(at); });
    input_ = new AtlasInputHandler(Map);
    buildControls();
    buildMenus();
    connectInput();
    watcher_ = new SectorWatcher(this);
    connect(watcher_, &SectorWatcher::changed, this, &AtlasWindow::reloadSector);
    connect(watcher_, &SectorWatcher::campaignChanged, this, &AtlasWindow::rereadCampaign);
    connect(sector_, &CurrentSector::changed, this, &AtlasWindow::refreshRecentMenu);
    refreshRecentMenu();
    resize(1280, 780);
    resetControls();
    rebuildScene();
    showSummary();
}

AtlasWindow::~AtlasWindow() = default;

void AtlasWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* open = file->addAction(QStringLiteral("&Open sector..."), this, &AtlasWindow::openSectorClick);
    open->setShortcut(QKeySequence::Open);
    RecentMenu = file->addMenu(QStringLiteral("&Recent sectors"));
    RecentMenu->setObjectName(QStringLiteral("RecentMenu"));
    file->addSeparator();
    SaveViewAction = file->addAction(QStringLiteral("&Save view as PNG or SVG..."), this, &AtlasWindow::saveViewClick);
    SaveViewAction->setShortcut(QKeySequence::Save);
    PrintAction = file->addAction(QStringLiteral("&Print view..."), this, &AtlasWindow::printClick);
    PrintAction->setShortcut(QKeySequence::Print);
    PrintPosterAction = file->addAction(QStringLiteral("Print p&oster..."), this, [this] { posterClick(false); });
    ExportPosterAction =
        file->addAction(QStringLiteral("Export poster as P&DF..."), this, [this] { posterClick(true); });
    PrintSheetsAction =
        file->addAction(QStringLiteral("Print system s&heets..."), this, [this] { sheetsClick(false); });
    ExportSheetsAction =
        file->addAction(QStringLiteral("Export system sheets as PD&F..."), this, [this] { sheetsClick(true); });
    file->addSeparator();
    file->addAction(QStringLiteral("&Close"), this, &QWidget::close)->setShortcut(QKeySequence::Close);

    QMenu* system = menuBar()->addMenu(QStringLiteral("&System"));
    RenameAction = system->addAction(QStringLiteral("&Rename..."), this, &AtlasWindow::renameClick);
    ExportAction = system->addAction(QStringLiteral("&Export..."), this, &AtlasWindow::exportClick);
    SettleAction = system->addAction(QStringLiteral("Se&ttle the sector..."), this, &AtlasWindow::settleClick);

    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    PlayersViewAction = view->addAction(QStringLiteral("As the &players see it"));
    PlayersViewAction->setCheckable(true);
    PlayersViewAction->setToolTip(QStringLiteral("Show only what the players know"));
    connect(PlayersViewAction, &QAction::triggered, this, [this](bool on) { setPlayersView(on); });
}

void AtlasWindow::buildControls() {
    QToolBar* bar = addToolBar(QStringLiteral("View"));
    bar->setObjectName(QStringLiteral("ViewBar"));
    bar->setMovable(false);
    bar->addWidget(new QLabel(QStringLiteral(" View: "), bar));
    ViewList = makeList(kViewNames, QStringLiteral("ViewList"), bar);
    ViewList->setToolTip(QStringLiteral("Keys 1 to 4 on the map"));
    bar->addWidget(ViewList);
    SlabLabel = new QLabel(QStringLiteral("   Slab z from "), bar);
    bar->addWidget(SlabLabel);
    SlabFrom = new QSpinBox(bar);
    SlabFrom->setObjectName(QStringLiteral("SlabFrom"));
    // A value half typed ("1" on the way to "10") is no slab yet: the boxes
    // answer when the editing is finished (Enter, leaving the box, arrows).
    SlabFrom->setKeyboardTracking(false);
    bar->addWidget(SlabFrom);
    bar->addWidget(new QLabel(QStringLiteral(" to "), bar));
    SlabTo = new QSpinBox(bar);
    SlabTo->setObjectName(QStringLiteral("SlabTo"));
    SlabTo->setKeyboardTracking(false);
    SlabTo->setToolTip(QStringLiteral("PgUp and PgDn on the map move the slab"));
    bar->addWidget(SlabTo);
    bar->addSeparator();
    bar->addAction(QStringLiteral("Whole sector"), this, [this] {
        session_->resetCamera();
        resetControls();
        rebuildScene();
    });

    Panels = new QTabWidget(this);
    Panels->setObjectName(QStringLiteral("Panels"));
    Panels->addTab(buildSystemPanel(), QStringLiteral("System"));
    buildPanels();
    Panels->setMinimumWidth(360);

    auto* split = new QSplitter(this);
    split->addWidget(Map);
    split->addWidget(Panels);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    // The summary's orbit table is ten columns wide: half the window, so that
    // it fits with its longer texts (atmospheres, moons) on two lines.
    split->setSizes({640, 640});
    setCentralWidget(split);
    statusBar()->showMessage(QStringLiteral("Open a sector to begin (File > Open sector)."));

    connect(ViewList, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!updatingControls_) setView(index);
    });
    connect(SlabFrom, &QSpinBox::valueChanged, this, [this] { slabChanged(); });
    connect(SlabTo, &QSpinBox::valueChanged, this, [this] { slabChanged(); });
    connect(Map, &AtlasWidget::resized, this, [this] { rebuildScene(); });
}

QWidget* AtlasWindow::buildSystemPanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    Summary = new QTextBrowser(panel);
    Summary->setObjectName(QStringLiteral("Summary"));
    Summary->setOpenLinks(false);
    layout->addWidget(Summary, 3);
    SystemNotes = new AtlasNotesBox(QStringLiteral("SystemNotes"), panel);
    layout->addWidget(SystemNotes, 1);
    auto* row = new QHBoxLayout;
    SystemLogBtn = makeButton(QStringLiteral("System log"), QStringLiteral("SystemLogBtn"), panel);
    SystemLogBtn->setToolTip(QStringLiteral("The full log of the selected system"));
    RenameBtn = makeButton(QStringLiteral("Rename..."), QStringLiteral("RenameBtn"), panel);
    RenameBtn->setToolTip(QStringLiteral("Give the selected system a name (empty: no name)"));
    ExportBtn = makeButton(QStringLiteral("Export..."), QStringLiteral("ExportBtn"), panel);
    ExportBtn->setToolTip(QStringLiteral("Export the sector as JSON, CSV tables or an HTML atlas"));
    AddColonyBtn = makeButton(QStringLiteral("Add colony..."), QStringLiteral("AddColonyBtn"), panel);
    AddColonyBtn->setToolTip(QStringLiteral("Settle a world of the selected system"));
    EditColoniesBtn = makeButton(QStringLiteral("Edit colonies..."), QStringLiteral("EditColoniesBtn"), panel);
    EditColoniesBtn->setToolTip(QStringLiteral("Change or remove the colonies of the selected system"));
    // Hidden until the colony editors are plugged in (setColonyEditors).
    AddColonyBtn->setVisible(false);
    EditColoniesBtn->setVisible(false);
    row->addWidget(SystemLogBtn);
    row->addWidget(RenameBtn);
    row->addWidget(ExportBtn);
    row->addWidget(AddColonyBtn);
    row->addWidget(EditColoniesBtn);
    layout->addLayout(row);
    RaceButtons = new QWidget(panel);
    RaceButtons->setObjectName(QStringLiteral("RaceButtons"));
    new QHBoxLayout(RaceButtons);
    RaceButtons->layout()->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(RaceButtons);
    connect(SystemLogBtn, &QPushButton::clicked, this, &AtlasWindow::openSystemLog);
    connect(RenameBtn, &QPushButton::clicked, this, &AtlasWindow::renameClick);
    connect(ExportBtn, &QPushButton::clicked, this, &AtlasWindow::exportClick);
    connect(AddColonyBtn, &QPushButton::clicked, this, [this] {
        if (addColony_ && session_->selected()) addColony_(*session_->selected());
    });
    connect(EditColoniesBtn, &QPushButton::clicked, this, [this] {
        if (editColonies_ && session_->selected()) editColonies_(*session_->selected());
    });
    return panel;
}

void AtlasWindow::connectInput() {
    // While the view moves the frames leave out the labels; they come back
    // once the mouse or wheel has rested a moment.
    settle_ = new QTimer(this);
    settle_->setSingleShot(true);
    settle_->setInterval(kSettleMs);
    connect(settle_, &QTimer::timeout, this, &AtlasWindow::rebuildScene);
    connect(input_, &AtlasInputHandler::turnRequested, this, [this](QPointF pixels) {
        session_->turn(pixels);
        moved();
    });
    connect(input_, &AtlasInputHandler::panRequested, this, [this](QPointF pixels) {
        session_->pan(pixels);
        moved();
    });
    connect(input_, &AtlasInputHandler::zoomRequested, this, [this](double factor, QPointF about) {
        session_->zoom(factor, about);
        moved();
    });
    connect(input_, &AtlasInputHandler::pickRequested, this, &AtlasWindow::pickAt);
    connect(input_, &AtlasInputHandler::viewRequested, this, &AtlasWindow::setView);
    connect(input_, &AtlasInputHandler::slabStepRequested, this, [this](int step) {
        session_->stepSlab(step);
        syncSlabControls();
        rebuildScene();
    });
    connect(input_, &AtlasInputHandler::resetRequested, this, [this] {
        session_->resetCamera();
        resetControls();
        rebuildScene();
    });
}

void AtlasWindow::moved() {
    Map->setScene(session_->scene(Map->size(), false));
    settle_->start();
}

// ------------------------------------------------------------ sectors

void AtlasWindow::openSectorClick() {
    const auto answer = runFileDialog(this, openSectorDialog(), FileDialogAnswer{});
    if (!answer) return;
    openSector(sectorBaseName(answer->fileName));
}

bool AtlasWindow::openSector(const QString& baseName) {
    const bool opened = guarded(this, [&] { session_->open(baseName.toStdString()); });
    if (!opened) return false;
    sectorBase_ = baseName;
    watcher_->watch(baseName);
    showTitle();
    sector_->set(baseName);
    clearSearch();
    Route->clear();
    refreshSettledLists();
    resetControls();
    rebuildScene();
    showSummary();
    statusBar()->showMessage(QStringLiteral("%1: %2 systems").arg(baseName).arg(session_->systemCount()));
    return true;
}

QStringList AtlasWindow::recentSectors() const { return sector_->recent(); }

void AtlasWindow::refreshRecentMenu() {
    RecentMenu->clear();
    const QStringList recent = sector_->recent();
    for (const QString& base : recent) {
        RecentMenu->addAction(base, this, [this, base] { openSector(base); });
    }
    RecentMenu->setEnabled(!recent.isEmpty());
}

// --------------------------------------------------------------- view

void AtlasWindow::setView(int view) {
    if (view < 0 || view >= static_cast<int>(kViewNames.size())) return;
    session_->setView(view);
    resetControls();
    rebuildScene();
}

int AtlasWindow::view() const { return session_->view(); }

void AtlasWindow::resetControls() {
    updatingControls_ = true;
    ViewList->setCurrentIndex(session_->view());
    input_->setDragTurns(session_->view() == 0);
    updatingControls_ = false;
    syncSlabControls();
}

void AtlasWindow::syncSlabControls() {
    updatingControls_ = true;
    const AtlasSession::SlabRange slab = session_->slab();
    SlabLabel->setText(QStringLiteral("   Slab %1 from ").arg(QLatin1Char(slab.axis)));
    SlabFrom->setRange(slab.lowest, slab.highest);
    SlabTo->setRange(slab.lowest, slab.highest);
    SlabFrom->setValue(slab.from);
    SlabTo->setValue(slab.to);
    const bool loaded = session_->isOpen();
    SlabFrom->setEnabled(loaded);
    SlabTo->setEnabled(loaded);
    updatingControls_ = false;
}

void AtlasWindow::slabChanged() {
    if (updatingControls_) return;
    session_->setSlab(SlabFrom->value(), SlabTo->value());
    syncSlabControls();
    rebuildScene();
}

void AtlasWindow::rebuildScene() {
    if (settle_ != nullptr) settle_->stop();
    Map->setScene(session_->scene(Map->size()));
}

QString AtlasWindow::namesAt(QPointF mapPixel) const {
    return QString::fromStdString(session_->namesNear(mapPixel, Map->size()));
}

// ---------------------------------------------------------- selection

void AtlasWindow::pickAt(QPointF mapPixel) {
    const auto picked = session_->pick(mapPixel, Map->size());
    if (!picked) return;
    selectSystem(*picked);
}

void AtlasWindow::selectSystem(std::int32_t id) {
    if (!session_->isOpen() || id < 0 || id >= session_->systemCount()) return;
    session_->select(id);
    // A system chosen from a list may lie outside the slab: the slab moves
    // to show it rather than mark an empty spot.
    session_->revealInSlab(id);
    syncSlabControls();
    rebuildScene();
    showSummary();
    Panels->setCurrentIndex(0);
}

std::optional<std::int32_t> AtlasWindow::selectedSystem() const { return session_->selected(); }

void AtlasWindow::showSummary() {
    const auto id = session_->selected();
    // The players' view shows; it changes nothing and opens no full log.
    const bool master = !session_->playersView();
    SystemLogBtn->setEnabled(id.has_value() && master);
    RenameBtn->setEnabled(id.has_value() && master);
    RenameAction->setEnabled(id.has_value() && master);
    AddColonyBtn->setEnabled(id.has_value() && master);
    EditColoniesBtn->setEnabled(id.has_value() && master);
    ExportBtn->setEnabled(session_->isOpen());
    ExportAction->setEnabled(session_->isOpen());
    for (QAction* action : {PrintPosterAction, ExportPosterAction, PrintSheetsAction, ExportSheetsAction})
        action->setEnabled(session_->isOpen());
    showNotes();
    if (!id) {
        Summary->setHtml(session_->isOpen() ? QStringLiteral("<p>Click a system on the map, or find one under "
                                                             "Search.</p>")
                                            : QStringLiteral("<p>No sector open.</p>"));
        fillRaceButtons();
        return;
    }
    QString html;
    const bool shown = guarded(this, [&] { html = QString::fromStdString(session_->summaryHtml(*id)); });
    if (!shown) {
        html = QStringLiteral("<p>The summary of %1 could not be read.</p>")
                   .arg(QString::fromStdString(session_->systemName(*id)).toHtmlEscaped());
    }
    setLogHtml(Summary, html);
    fillRaceButtons();
}

void AtlasWindow::fillRaceButtons() {
    QLayout* layout = RaceButtons->layout();
    while (QLayoutItem* item = layout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    const auto id = session_->selected();
    // An alien log is the game master's: every trait, code and secret note
    // of the race. The players' view offers none, as it offers no system log.
    if (!id || session_->playersView()) return;
    std::vector<std::int32_t> races;
    guarded(this, [&] { races = session_->racesOf(*id); });
    for (const std::int32_t race : races) {
        const QString name = QString::fromStdString(session_->raceName(race));
        auto* button = makeButton(QStringLiteral("%1 log").arg(capitalised(name)),
                                  QStringLiteral("RaceLogBtn%1").arg(race), RaceButtons);
        button->setToolTip(QStringLiteral("The alien log of %1").arg(name));
        connect(button, &QPushButton::clicked, this, [this, race] { openAlienLog(race); });
        layout->addWidget(button);
    }
    static_cast<QHBoxLayout*>(layout)->addStretch();
}

std::optional<std::int32_t> AtlasWindow::systemFromText(const QString& text, const QString& field,
                                                        QString& problem) const {
    if (text.trimmed().isEmpty()) return session_->selected();
    try {
        return session_->findSystem(text.trimmed().toStdString(), field.toStdString());
    } catch (const InputError& e) {
        problem = QString::fromUtf8(e.what());
        return std::nullopt;
    }
}

// ------------------------------------------------------------- search

void AtlasWindow::runSearch() {
    if (!session_->isOpen()) return;
    const AtlasSession::Query query = Search->query();
    std::vector<AtlasSession::Match> found;
    const bool ran = guarded(this, [&] { found = session_->search(query); });
    if (!ran) return;
    Search->showMatches(found);
    rebuildScene();
    // A search by name or id that finds one system selects it.
    if (found.size() == 1 && !query.text.empty()) selectSystem(found.front().id);
}

void AtlasWindow::clearSearch() {
    session_->clearFilter();
    Search->clearMatches();
    rebuildScene();
}

// -------------------------------------------------------------- logs

void AtlasWindow::openSystemLog() {
    const auto id = session_->selected();
    if (!id) return;
    QString html;
    if (!guarded(this, [&] { html = QString::fromStdString(session_->systemLogHtml(*id)); })) return;
    showHtmlWindow(QStringLiteral("System log: %1").arg(QString::fromStdString(session_->systemName(*id))), html);
}

void AtlasWindow::openAlienLog(std::int32_t raceId) {
    QString html;
    if (!guarded(this, [&] { html = QString::fromStdString(session_->alienLogHtml(raceId)); })) return;
    showHtmlWindow(QStringLiteral("Alien log: %1").arg(QString::fromStdString(session_->raceName(raceId))), html);
}

void AtlasWindow::showHtmlWindow(const QString& title, const QString& html) {
    auto* window = new QDialog(this);
    window->setObjectName(QStringLiteral("LogWindow"));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(title);
    auto* layout = new QVBoxLayout(window);
    auto* text = new QTextBrowser(window);
    text->setObjectName(QStringLiteral("LogText"));
    setLogHtml(text, html);
    layout->addWidget(text);
    window->resize(760, 640);
    window->show();
}

void AtlasWindow::renameClick() {
    const auto id = session_->selected();
    if (!id) return;
    bool accepted = false;
    const QString current = QString::fromStdString(session_->nameOf(*id));
    const QString name =
        QInputDialog::getText(this, QStringLiteral("Rename system"), QStringLiteral("Name of system %1:").arg(*id),
                              QLineEdit::Normal, current, &accepted);
    if (!accepted) return;
    renameSelected(name);
}

bool AtlasWindow::renameSelected(const QString& name) {
    const auto id = session_->selected();
    if (!id) return false;
    if (!guarded(this, [&] { session_->rename(*id, name.toStdString()); })) return false;
    watcher_->acknowledge();  // the window's own write: nothing to read again
    rebuildScene();
    showSummary();
    statusBar()->showMessage(name.trimmed().isEmpty()
                                 ? QStringLiteral("System %1 has no name now").arg(*id)
                                 : QStringLiteral("System %1 is now %2").arg(*id).arg(name.trimmed()));
    return true;
}

}  // namespace orrimar::ui

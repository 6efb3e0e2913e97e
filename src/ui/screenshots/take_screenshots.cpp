// Takes the README's pictures of the launch pad, of the Create Sector
// dialog and of the atlas (a route drawn, then a system's summary) from the
// X screen the program runs on (a virtual one, under Xvfb,
// when started by scripts/screenshots). Not installed.
//
//   orrimar-screenshots OUTPUT_DIR
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QScreen>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "atlas/atlas_model.h"
#include "campaign/notes.h"
#include "campaign/players_view.h"
#include "generation/create_sector.h"
#include "settling/settle_sector.h"
#include "ui/atlas_empires_panel.h"
#include "ui/atlas_window.h"
#include "ui/create_sector_dialog.h"
#include "ui/main_window.h"
#include "ui/orrimar_application.h"

namespace {

void settle(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

bool shoot(QWidget* window, const QString& path) {
    settle(600);
    QScreen* screen = window->screen();
    const QRect frame = window->frameGeometry();
    const QPixmap shot = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    if (shot.isNull() || !shot.save(path)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s (%dx%d)\n", qPrintable(path), shot.width(), shot.height());
    return true;
}

// A seeded 20-parsec cube, so the pictures are the same on every run.
bool shootAtlas(const QString& work, const QString& out) {
    orrimar::CreateSectorParams params;
    params.baseName = QDir(work).filePath(QStringLiteral("orion")).toStdString();
    params.sectorName = "Orion Reach";
    params.lastIndex = 19;
    params.density = 12;
    params.seed = 1606;
    params.settingsPath = QDir(work).filePath(QStringLiteral("orrwin.ini")).toStdString();
    orrimar::CreateSector(params);

    orrimar::ui::AtlasWindow atlas(QDir(work).filePath(QStringLiteral("orrwin.ini")));
    atlas.resize(1260, 760);
    atlas.move(10, 5);
    atlas.show();
    if (!atlas.openSector(QString::fromStdString(params.baseName))) return false;
    // A route of several jumps from system 0: the first far system a
    // jump-3 drive reaches in four jumps or more.
    atlas.Panels->setCurrentIndex(2);
    atlas.RouteFrom->setText(QStringLiteral("0"));
    for (int to = 1; to < 1000; ++to) {
        atlas.RouteTo->setText(QString::number(to));
        atlas.runRoute();
        if (atlas.Legs->rowCount() >= 5) break;
    }
    bool ok = shoot(&atlas, QDir(out).filePath(QStringLiteral("atlas-route.png")));
    // The summary of a system that is home to a native race, so that its
    // race log button shows: the first on the route's way, else the first
    // the search for native races finds (the search then cleared, so the
    // map is not dimmed).
    int home = -1;
    for (int row = 0; row < atlas.Legs->rowCount() && home < 0; ++row) {
        atlas.selectSystem(atlas.Legs->item(row, 2)->data(Qt::UserRole).toInt());
        if (atlas.RaceButtons->findChild<QPushButton*>() != nullptr) home = *atlas.selectedSystem();
    }
    if (home < 0) {
        atlas.NativeRaceBox->setChecked(true);
        atlas.runSearch();
        if (atlas.Matches->rowCount() > 0) home = atlas.Matches->item(0, 0)->data(Qt::UserRole).toInt();
        atlas.NativeRaceBox->setChecked(false);
        atlas.clearSearch();
    }
    atlas.selectSystem(home >= 0 ? home : 0);
    ok = shoot(&atlas, QDir(out).filePath(QStringLiteral("atlas-summary.png"))) && ok;
    return ok;
}

// The settled cube as the players see it: the largest empire and its
// capital's colonies revealed, with a note they may read on the capital,
// and every seventh system hidden (grey points without names).
bool shootPlayersView(orrimar::ui::AtlasWindow& atlas, const std::string& base, const QString& out) {
    // The largest that has an empire record (only those can be revealed).
    const QTableWidgetItem* largest = nullptr;
    for (int row = 0; row < atlas.EmpiresPanel->Empires->rowCount() && largest == nullptr; ++row) {
        const QTableWidgetItem* item = atlas.EmpiresPanel->Empires->item(row, 0);
        if (item != nullptr && item->data(Qt::UserRole + 2).toInt() >= 0) largest = item;
    }
    if (largest == nullptr) return false;
    const std::int64_t record = largest->data(Qt::UserRole + 2).toInt();
    const std::int32_t capital = largest->data(Qt::UserRole + 1).toInt();
    const orrimar::atlas::AtlasModel model = orrimar::atlas::AtlasModel::open(base);
    std::vector<orrimar::Thing> hidden;
    for (std::int32_t id = 3; id < model.size(); id += 7) {
        if (id != capital) hidden.push_back({orrimar::ThingKind::System, id});
    }
    orrimar::markForPlayers(base, hidden, orrimar::PlayersMark::Unknown);
    std::vector<orrimar::Thing> revealed;
    if (record >= 0) revealed.push_back({orrimar::ThingKind::Empire, record});
    if (capital >= 0) {
        for (const orrimar::atlas::ColonyEntry& colony : model.settled().coloniesOf(capital))
            revealed.push_back({orrimar::ThingKind::Colony, colony.record});
    }
    orrimar::markForPlayers(base, revealed, orrimar::PlayersMark::Known);
    if (capital >= 0) {
        orrimar::setNote(base, {orrimar::ThingKind::System, capital},
                         "The throne world. Its spaceport is open to traders with a licence from the harbour master.",
                         orrimar::NoteAudience::Players);
    }
    if (!atlas.setPlayersView(true)) return false;
    if (capital >= 0) atlas.selectSystem(capital);
    atlas.Panels->setCurrentIndex(0);
    return shoot(&atlas, QDir(out).filePath(QStringLiteral("atlas-players-view.png")));
}

// The same kind of cube, fuller and settled: territories in the cube and
// from above, with the Empires panel open.
bool shootSettled(const QString& work, const QString& out) {
    orrimar::CreateSectorParams params;
    params.baseName = QDir(work).filePath(QStringLiteral("settled")).toStdString();
    params.sectorName = "Settled Reach";
    params.lastIndex = 19;
    params.density = 40;
    params.seed = 1606;
    params.maxSpatialAge = 120;
    params.settingsPath = QDir(work).filePath(QStringLiteral("orrwin.ini")).toStdString();
    orrimar::CreateSector(params);
    orrimar::SettleParams settle;
    settle.seed = 5;
    orrimar::SettleSector(params.baseName, settle);

    orrimar::ui::AtlasWindow atlas(QDir(work).filePath(QStringLiteral("orrwin.ini")));
    atlas.resize(1260, 760);
    atlas.move(10, 5);
    atlas.show();
    if (!atlas.openSector(QString::fromStdString(params.baseName))) return false;
    atlas.Panels->setCurrentIndex(3);
    atlas.setView(0);
    bool ok = shoot(&atlas, QDir(out).filePath(QStringLiteral("atlas-territories.png")));
    atlas.setView(1);
    ok = shoot(&atlas, QDir(out).filePath(QStringLiteral("atlas-territories-top.png"))) && ok;
    ok = shootPlayersView(atlas, params.baseName, out) && ok;
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    orrimar::ui::OrrimarApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: orrimar-screenshots OUTPUT_DIR\n");
        return 2;
    }
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(out);
    // A first run in a folder of its own: nothing of the user's is touched.
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    orrimar::ui::StartupOptions options;
    options.programDir = work.path() + QLatin1Char('/');
    options.userConfigDir = work.path();
    options.starter = [](const QString&, const QString&) { return false; };
    orrimar::ui::TForm1 form(options);
    form.move(40, 40);
    form.show();
    bool ok = shoot(&form, QDir(out).filePath(QStringLiteral("launch-pad.png")));
    form.BtnRightDlg->move(form.x() + 60, form.y() + 60);
    form.BtnRightDlg->show();
    ok = shoot(form.BtnRightDlg, QDir(out).filePath(QStringLiteral("create-sector.png"))) && ok;
    form.BtnRightDlg->hide();
    ok = shootAtlas(work.path(), out) && ok;
    ok = shootSettled(work.path(), out) && ok;
    return ok ? 0 : 1;
}

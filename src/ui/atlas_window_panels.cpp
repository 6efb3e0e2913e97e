#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>

#include "settings/atlas_settings.h"
#include "ui/atlas_empires_panel.h"
#include "ui/atlas_jumps_option.h"
#include "ui/atlas_route_panel.h"
#include "ui/atlas_search_panel.h"
#include "ui/atlas_session.h"
#include "ui/atlas_window.h"
#include "ui/current_sector.h"
#include "ui/file_field.h"
#include "ui/route_stop_list.h"
#include "ui/settle_dialog.h"

// The atlas window's Search, Route and Empires panels: made, wired to the
// window, and filled with the open sector's races.

namespace orrimar::ui {

void AtlasWindow::buildPanels() {
    Search = new AtlasSearchPanel(this);
    Panels->addTab(Search, QStringLiteral("Search"));
    Route = new AtlasRoutePanel(this);
    Panels->addTab(Route, QStringLiteral("Route"));
    EmpiresPanel = new AtlasEmpiresPanel(this);
    Panels->addTab(EmpiresPanel, QStringLiteral("Empires"));

    SearchText = Search->SearchText;
    StarKindList = Search->StarKindList;
    WorldTypeList = Search->WorldTypeList;
    BreathableBox = Search->BreathableBox;
    TemperatureList = Search->TemperatureList;
    WaterList = Search->WaterList;
    GravityList = Search->GravityList;
    LifeList = Search->LifeList;
    NativeRaceBox = Search->NativeRaceBox;
    ColoniesBox = Search->ColoniesBox;
    WithinSpin = Search->WithinSpin;
    SearchBtn = Search->SearchBtn;
    ClearBtn = Search->ClearBtn;
    Matches = Search->Matches;
    MatchCount = Search->MatchCount;
    RouteFrom = Route->RouteFrom;
    RouteTo = Route->RouteTo;
    JumpSpin = Route->JumpSpin;
    ViaList = Route->ViaList;
    JumpTimeText = Route->JumpTimeText;
    JumpTimeText->setText(QString::fromStdString(readAtlasSettings(sector_->settingsPath().toStdString()).jumpTime));
    RouteBtn = Route->RouteBtn;
    Legs = Route->Legs;
    RouteStatus = Route->RouteStatus;

    connect(Search, &AtlasSearchPanel::searchRequested, this, &AtlasWindow::runSearch);
    connect(Search, &AtlasSearchPanel::clearRequested, this, &AtlasWindow::clearSearch);
    connect(Search, &AtlasSearchPanel::systemChosen, this, &AtlasWindow::selectSystem);
    connect(Route, &AtlasRoutePanel::routeRequested, this, &AtlasWindow::runRoute);
    connect(Route, &AtlasRoutePanel::systemChosen, this, &AtlasWindow::selectSystem);
    connect(JumpTimeText, &QLineEdit::editingFinished, this, &AtlasWindow::keepJumpTime);
    // The capital is selected on the map; the panel stays, with the
    // empire's notes under its table.
    connect(EmpiresPanel, &AtlasEmpiresPanel::capitalChosen, this, [this](std::int32_t capital) {
        const int tab = Panels->currentIndex();
        selectSystem(capital);
        Panels->setCurrentIndex(tab);
    });
    refreshSettledLists();
}

void AtlasWindow::refreshSettledLists() {
    Search->setOwners(session_->ownerChoices());
    const auto stops = session_->viaChoices();
    Route->setViaChoices(stops);
    Search->JumpsOption->JumpViaList->setChoices(stops);
    EmpiresPanel->showEmpires(session_->empires());
}

void AtlasWindow::settleClick() {
    if (sectorBase_.isEmpty()) return;
    SettleDialog dialog(this);
    dialog.SectorField->setText(sectorBase_);
    if (dialog.exec() != QDialog::Accepted) return;
    reloadSector();
    statusBar()->showMessage(dialog.lastResult);
}

void AtlasWindow::setColonyEditors(std::function<void(std::int32_t system)> add,
                                   std::function<void(std::int32_t system)> edit) {
    addColony_ = std::move(add);
    editColonies_ = std::move(edit);
    AddColonyBtn->setVisible(static_cast<bool>(addColony_));
    EditColoniesBtn->setVisible(static_cast<bool>(editColonies_));
}

}  // namespace orrimar::ui

#include "ui/atlas_route_panel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/atlas_tables.h"
#include "ui/dialog_parts.h"

namespace orrimar::ui {

namespace {

// The race of an Empire entry rides in a role of its own beside the stop.
constexpr int kRaceRole = Qt::UserRole + 1;

}  // namespace

AtlasRoutePanel::AtlasRoutePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("RoutePanel"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    RouteFrom = new QLineEdit(this);
    RouteFrom->setObjectName(QStringLiteral("RouteFrom"));
    RouteFrom->setPlaceholderText(QStringLiteral("name or id; empty: the selected system"));
    form->addRow(QStringLiteral("From:"), RouteFrom);
    RouteTo = new QLineEdit(this);
    RouteTo->setObjectName(QStringLiteral("RouteTo"));
    RouteTo->setPlaceholderText(QStringLiteral("name or id"));
    form->addRow(QStringLiteral("To:"), RouteTo);
    JumpSpin = new QDoubleSpinBox(this);
    JumpSpin->setObjectName(QStringLiteral("JumpSpin"));
    JumpSpin->setRange(0.0, 1000.0);
    JumpSpin->setDecimals(1);
    JumpSpin->setValue(3.0);
    JumpSpin->setSuffix(QStringLiteral(" pc"));
    form->addRow(QStringLiteral("Jump:"), JumpSpin);
    ViaList = new QComboBox(this);
    ViaList->setObjectName(QStringLiteral("ViaList"));
    ViaList->setToolTip(
        QStringLiteral("Stop only at systems that have this (a gas giant to refuel, say), or only "
                       "in one empire's space"));
    form->addRow(QStringLiteral("Only through:"), ViaList);
    layout->addLayout(form);
    RouteBtn = makeButton(QStringLiteral("Find route"), QStringLiteral("RouteBtn"), this);
    layout->addWidget(RouteBtn);
    RouteStatus = new QLabel(this);
    RouteStatus->setObjectName(QStringLiteral("RouteStatus"));
    RouteStatus->setWordWrap(true);
    layout->addWidget(RouteStatus);
    Legs = makeTable({QStringLiteral("Leg"), QStringLiteral("From"), QStringLiteral("To"), QStringLiteral("Parsecs"),
                      QStringLiteral("Total")},
                     this);
    Legs->setObjectName(QStringLiteral("Legs"));
    layout->addWidget(Legs, 1);
    connect(RouteBtn, &QPushButton::clicked, this, &AtlasRoutePanel::routeRequested);
    connect(Legs, &QTableWidget::cellClicked, this, [this](int clicked, int) {
        if (QTableWidgetItem* to = Legs->item(clicked, 2)) emit systemChosen(to->data(Qt::UserRole).toInt());
    });
}

void AtlasRoutePanel::setViaChoices(const std::vector<std::pair<std::string, atlas::RouteStopChoice>>& choices) {
    const atlas::RouteStopChoice chosen = via();
    ViaList->clear();
    for (const auto& [label, choice] : choices) {
        ViaList->addItem(QString::fromStdString(label), static_cast<int>(choice.stop));
        ViaList->setItemData(ViaList->count() - 1, static_cast<int>(choice.race), kRaceRole);
    }
    if (!chooseVia(chosen)) ViaList->setCurrentIndex(0);
}

atlas::RouteStopChoice AtlasRoutePanel::via() const {
    if (ViaList->currentIndex() < 0) return {};
    return atlas::RouteStopChoice{static_cast<atlas::RouteStop>(ViaList->currentData().toInt()),
                                  static_cast<std::uint16_t>(ViaList->currentData(kRaceRole).toInt())};
}

bool AtlasRoutePanel::chooseVia(const atlas::RouteStopChoice& choice) {
    for (int i = 0; i < ViaList->count(); ++i) {
        const auto stop = static_cast<atlas::RouteStop>(ViaList->itemData(i).toInt());
        const auto race = static_cast<std::uint16_t>(ViaList->itemData(i, kRaceRole).toInt());
        if (stop == choice.stop && (stop != atlas::RouteStop::Empire || race == choice.race)) {
            ViaList->setCurrentIndex(i);
            return true;
        }
    }
    return false;
}

void AtlasRoutePanel::showLegs(const std::vector<AtlasSession::Leg>& legs) {
    double total = 0.0;
    Legs->setRowCount(static_cast<int>(legs.size()));
    for (int row = 0; row < static_cast<int>(legs.size()); ++row) {
        const AtlasSession::Leg& leg = legs[static_cast<std::size_t>(row)];
        total += leg.parsecs;
        Legs->setItem(row, 0, cell(row + 1));
        Legs->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(leg.fromName)));
        auto* toItem = new QTableWidgetItem(QString::fromStdString(leg.toName));
        toItem->setData(Qt::UserRole, leg.to);
        Legs->setItem(row, 2, toItem);
        Legs->setItem(row, 3, cell(leg.parsecs, 2));
        Legs->setItem(row, 4, cell(total, 2));
    }
    Legs->resizeColumnsToContents();
    RouteStatus->setText(legs.empty() ? QStringLiteral("Already there: no jump needed.")
                                      : QStringLiteral("%1 %2, %3 parsecs.")
                                            .arg(legs.size())
                                            .arg(legs.size() == 1 ? QStringLiteral("jump") : QStringLiteral("jumps"))
                                            .arg(total, 0, 'f', 2));
}

void AtlasRoutePanel::showProblem(const QString& text) {
    // The legs of an earlier route would read as a route to what was asked.
    Legs->setRowCount(0);
    RouteStatus->setText(text);
}

void AtlasRoutePanel::clear() {
    Legs->setRowCount(0);
    RouteStatus->clear();
}

}  // namespace orrimar::ui

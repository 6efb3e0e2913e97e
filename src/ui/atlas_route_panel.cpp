#include "ui/atlas_route_panel.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/atlas_tables.h"
#include "ui/dialog_parts.h"
#include "ui/route_stop_list.h"

namespace orrimar::ui {

namespace {

constexpr int kTimeColumn = 5;

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
    ViaList = new RouteStopList(this);
    ViaList->setObjectName(QStringLiteral("ViaList"));
    ViaList->setToolTip(
        QStringLiteral("Stop only at systems that have this (a gas giant to refuel, say), or only "
                       "in one empire's space"));
    form->addRow(QStringLiteral("Only through:"), ViaList);
    JumpTimeText = new QLineEdit(this);
    JumpTimeText->setObjectName(QStringLiteral("JumpTimeText"));
    JumpTimeText->setPlaceholderText(QStringLiteral("1w, 7d, 168h, 2w3d; empty: not timed"));
    JumpTimeText->setToolTip(QStringLiteral("How long one jump takes: weeks (w), days (d) and hours (h)"));
    form->addRow(QStringLiteral("Jump takes:"), JumpTimeText);
    layout->addLayout(form);
    RouteBtn = makeButton(QStringLiteral("Find route"), QStringLiteral("RouteBtn"), this);
    layout->addWidget(RouteBtn);
    RouteStatus = new QLabel(this);
    RouteStatus->setObjectName(QStringLiteral("RouteStatus"));
    RouteStatus->setWordWrap(true);
    layout->addWidget(RouteStatus);
    Legs = makeTable({QStringLiteral("Leg"), QStringLiteral("From"), QStringLiteral("To"), QStringLiteral("Parsecs"),
                      QStringLiteral("Total"), QStringLiteral("Time"), QStringLiteral("Total time")},
                     this);
    Legs->setObjectName(QStringLiteral("Legs"));
    // The time columns show only while jumps are timed.
    Legs->setColumnHidden(kTimeColumn, true);
    Legs->setColumnHidden(kTimeColumn + 1, true);
    layout->addWidget(Legs, 1);
    connect(RouteBtn, &QPushButton::clicked, this, &AtlasRoutePanel::routeRequested);
    connect(Legs, &QTableWidget::cellClicked, this, [this](int clicked, int) {
        if (QTableWidgetItem* to = Legs->item(clicked, 2)) emit systemChosen(to->data(Qt::UserRole).toInt());
    });
}

void AtlasRoutePanel::setViaChoices(const std::vector<std::pair<std::string, atlas::RouteStopChoice>>& choices) {
    ViaList->setChoices(choices);
}

atlas::RouteStopChoice AtlasRoutePanel::via() const { return ViaList->choice(); }

bool AtlasRoutePanel::chooseVia(const atlas::RouteStopChoice& choice) { return ViaList->choose(choice); }

std::optional<atlas::Duration> AtlasRoutePanel::jumpTime() const {
    const std::string text = JumpTimeText->text().trimmed().toStdString();
    if (text.empty()) return std::nullopt;
    return atlas::jumpTimeFromText(text, "Jump takes");
}

void AtlasRoutePanel::showLegs(const std::vector<AtlasSession::Leg>& legs, std::optional<atlas::Duration> each) {
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
        if (each) {
            Legs->setItem(row, kTimeColumn, new QTableWidgetItem(QString::fromStdString(atlas::durationText(*each))));
            const atlas::Duration sofar = atlas::timeOfJumps(row + 1, *each);
            Legs->setItem(row, kTimeColumn + 1,
                          new QTableWidgetItem(QString::fromStdString(atlas::durationText(sofar))));
        }
    }
    Legs->setColumnHidden(kTimeColumn, !each);
    Legs->setColumnHidden(kTimeColumn + 1, !each);
    Legs->resizeColumnsToContents();
    if (legs.empty()) {
        RouteStatus->setText(QStringLiteral("Already there: no jump needed."));
        return;
    }
    QString status = QStringLiteral("%1 %2, %3 parsecs")
                         .arg(legs.size())
                         .arg(legs.size() == 1 ? QStringLiteral("jump") : QStringLiteral("jumps"))
                         .arg(total, 0, 'f', 2);
    if (each) {
        const atlas::Duration all = atlas::timeOfJumps(static_cast<std::int64_t>(legs.size()), *each);
        status += QStringLiteral(", %1").arg(QString::fromStdString(atlas::durationText(all)));
    }
    RouteStatus->setText(status + QStringLiteral("."));
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

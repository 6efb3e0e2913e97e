#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/atlas_session.h"
#include "ui/atlas_tables.h"
#include "ui/atlas_window.h"
#include "ui/dialog_parts.h"
#include "ui/error_report.h"

// The atlas window's Route panel: two ends, the jump, the kind of system to
// stop at, and the legs found.

namespace orrimar::ui {

QWidget* AtlasWindow::buildRoutePanel() {
    auto* panel = new QWidget(this);
    auto* layout = new QVBoxLayout(panel);
    auto* form = new QFormLayout;
    RouteFrom = new QLineEdit(panel);
    RouteFrom->setObjectName(QStringLiteral("RouteFrom"));
    RouteFrom->setPlaceholderText(QStringLiteral("name or id; empty: the selected system"));
    form->addRow(QStringLiteral("From:"), RouteFrom);
    RouteTo = new QLineEdit(panel);
    RouteTo->setObjectName(QStringLiteral("RouteTo"));
    RouteTo->setPlaceholderText(QStringLiteral("name or id"));
    form->addRow(QStringLiteral("To:"), RouteTo);
    JumpSpin = new QDoubleSpinBox(panel);
    JumpSpin->setObjectName(QStringLiteral("JumpSpin"));
    JumpSpin->setRange(0.0, 1000.0);
    JumpSpin->setDecimals(1);
    JumpSpin->setValue(3.0);
    JumpSpin->setSuffix(QStringLiteral(" pc"));
    form->addRow(QStringLiteral("Jump:"), JumpSpin);
    // Each entry carries its rule, not a position.
    ViaList = new QComboBox(panel);
    ViaList->setObjectName(QStringLiteral("ViaList"));
    for (const atlas::RouteStop stop : atlas::kRouteStops) {
        const std::string_view label = atlas::routeStopLabel(stop);
        ViaList->addItem(QString::fromUtf8(label.data(), static_cast<qsizetype>(label.size())), static_cast<int>(stop));
    }
    ViaList->setToolTip(QStringLiteral("Stop only at systems that have this (a gas giant to refuel, say)"));
    form->addRow(QStringLiteral("Only through:"), ViaList);
    layout->addLayout(form);
    RouteBtn = makeButton(QStringLiteral("Find route"), QStringLiteral("RouteBtn"), panel);
    layout->addWidget(RouteBtn);
    RouteStatus = new QLabel(panel);
    RouteStatus->setObjectName(QStringLiteral("RouteStatus"));
    RouteStatus->setWordWrap(true);
    layout->addWidget(RouteStatus);
    Legs = makeTable({QStringLiteral("Leg"), QStringLiteral("From"), QStringLiteral("To"), QStringLiteral("Parsecs"),
                      QStringLiteral("Total")},
                     panel);
    Legs->setObjectName(QStringLiteral("Legs"));
    layout->addWidget(Legs, 1);
    connect(RouteBtn, &QPushButton::clicked, this, &AtlasWindow::runRoute);
    connect(Legs, &QTableWidget::cellClicked, this, [this](int clicked, int) {
        if (QTableWidgetItem* to = Legs->item(clicked, 2)) selectSystem(to->data(Qt::UserRole).toInt());
    });
    return panel;
}

void AtlasWindow::runRoute() {
    if (!session_->isOpen()) return;
    QString problem;
    const auto from = systemFromText(RouteFrom->text(), QStringLiteral("From"), problem);
    const auto to = from ? systemFromText(RouteTo->text(), QStringLiteral("To"), problem) : std::nullopt;
    if (!from || !to) {
        // The legs of an earlier route would read as a route to what was typed.
        Legs->setRowCount(0);
        RouteStatus->setText(problem.isEmpty() ? QStringLiteral("Choose the systems to go from and to.") : problem);
        return;
    }
    std::optional<std::vector<AtlasSession::Leg>> legs;
    const bool ran = guarded(this, [&] { legs = session_->route(*from, *to, JumpSpin->value(),
                                                                static_cast<atlas::RouteStop>(ViaList->currentData().toInt())); });
    if (!ran) return;
    Legs->setRowCount(0);
    if (!legs) {
        RouteStatus->setText(QStringLiteral("No route from system %1 to system %2 with jumps of %3 parsecs.")
                                 .arg(*from)
                                 .arg(*to)
                                 .arg(JumpSpin->value(), 0, 'f', 1));
        rebuildScene();
        return;
    }
    double total = 0.0;
    Legs->setRowCount(static_cast<int>(legs->size()));
    for (int row = 0; row < static_cast<int>(legs->size()); ++row) {
        const AtlasSession::Leg& leg = (*legs)[static_cast<std::size_t>(row)];
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
    RouteStatus->setText(legs->empty() ? QStringLiteral("Already there: no jump needed.")
                                       : QStringLiteral("%1 %2, %3 parsecs.")
                                             .arg(legs->size())
                                             .arg(legs->size() == 1 ? QStringLiteral("jump") : QStringLiteral("jumps"))
                                             .arg(total, 0, 'f', 2));
    rebuildScene();
}

}  // namespace orrimar::ui

#include "ui/atlas_empires_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/atlas_notes_box.h"
#include "ui/atlas_tables.h"
#include "ui/dialog_parts.h"

namespace orrimar::ui {

namespace {

constexpr int kCapitalRole = Qt::UserRole + 1;
constexpr int kRecordRole = Qt::UserRole + 2;

QIcon swatch(QRgb colour) {
    QPixmap square(14, 14);
    square.fill(QColor::fromRgb(colour));
    return QIcon(square);
}

}  // namespace

AtlasEmpiresPanel::AtlasEmpiresPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("EmpiresPanel"));
    auto* layout = new QVBoxLayout(this);
    EmpireCount = new QLabel(this);
    EmpireCount->setObjectName(QStringLiteral("EmpireCount"));
    layout->addWidget(EmpireCount);
    Empires = makeTable({QStringLiteral("Empire"), QStringLiteral("Race"), QStringLiteral("Capital"),
                         QStringLiteral("Systems"), QStringLiteral("People")},
                        this);
    Empires->setObjectName(QStringLiteral("Empires"));
    Empires->setToolTip(QStringLiteral("Click an empire to select its capital"));
    layout->addWidget(Empires, 2);
    Notes = new AtlasNotesBox(QStringLiteral("EmpireNotes"), this);
    layout->addWidget(Notes, 1);
    auto* row = new QHBoxLayout;
    EditEmpireBtn = makeButton(QStringLiteral("Rename or recolour..."), QStringLiteral("EditEmpireBtn"), this);
    EditEmpireBtn->setVisible(false);
    row->addWidget(EditEmpireBtn);
    row->addStretch();
    layout->addLayout(row);
    connect(Empires, &QTableWidget::cellClicked, this, [this](int clicked, int) {
        const QTableWidgetItem* item = Empires->item(clicked, 0);
        if (item == nullptr) return;
        const int capital = item->data(kCapitalRole).toInt();
        if (capital >= 0) emit capitalChosen(capital);
    });
    connect(Empires, &QTableWidget::currentCellChanged, this, [this](int current) { chooseRow(current); });
    connect(EditEmpireBtn, &QPushButton::clicked, this, [this] {
        if (editor_ && chosenRace() >= 0) editor_(chosenRace());
    });
}

void AtlasEmpiresPanel::showEmpires(const std::vector<AtlasSession::EmpireRow>& empires) {
    Notes->setSubjects(base_, {});
    const QSignalBlocker quiet(Empires);
    Empires->setSortingEnabled(false);
    Empires->setRowCount(static_cast<int>(empires.size()));
    for (int row = 0; row < static_cast<int>(empires.size()); ++row) {
        const AtlasSession::EmpireRow& empire = empires[static_cast<std::size_t>(row)];
        auto* name = new QTableWidgetItem(swatch(empire.colour), QString::fromStdString(empire.name));
        name->setData(Qt::UserRole, empire.race);
        name->setData(kCapitalRole, empire.capital);
        name->setData(kRecordRole, empire.record);
        Empires->setItem(row, 0, name);
        Empires->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(empire.raceName)));
        Empires->setItem(row, 2,
                         new QTableWidgetItem(empire.capital >= 0 ? QString::fromStdString(empire.capitalName)
                                                                  : QStringLiteral("none")));
        Empires->setItem(row, 3, cell(empire.systems));
        Empires->setItem(row, 4, new QTableWidgetItem(QString::fromStdString(empire.people)));
    }
    Empires->setSortingEnabled(true);
    // No row is chosen until the game master chooses one.
    Empires->setCurrentItem(nullptr);
    Empires->resizeColumnsToContents();
    EmpireCount->setText(empires.empty()
                             ? QStringLiteral("No race controls a system of this sector.")
                             : QStringLiteral("%1 %2 controlling systems")
                                   .arg(empires.size())
                                   .arg(empires.size() == 1 ? QStringLiteral("race") : QStringLiteral("races")));
}

void AtlasEmpiresPanel::setSector(const QString& baseName) {
    if (baseName == base_) return;
    base_ = baseName;
    Notes->setSubjects(base_, {});
}

void AtlasEmpiresPanel::chooseRow(int row) {
    const QTableWidgetItem* item = row >= 0 ? Empires->item(row, 0) : nullptr;
    if (item == nullptr) {
        Notes->setSubjects(base_, {});
        return;
    }
    const int record = item->data(kRecordRole).toInt();
    const int race = item->data(Qt::UserRole).toInt();
    if (record >= 0) {
        Notes->setSubjects(base_, {{QStringLiteral("Empire: %1").arg(item->text()), {ThingKind::Empire, record}}});
    } else {
        const QTableWidgetItem* raceItem = Empires->item(row, 1);
        Notes->setSubjects(base_,
                           {{QStringLiteral("Race: %1").arg(raceItem != nullptr ? raceItem->text() : item->text()),
                             {ThingKind::Race, race}}});
    }
}

int AtlasEmpiresPanel::chosenRace() const {
    const int row = Empires->currentRow();
    const QTableWidgetItem* item = row >= 0 ? Empires->item(row, 0) : nullptr;
    return item != nullptr ? item->data(Qt::UserRole).toInt() : -1;
}

void AtlasEmpiresPanel::setEmpireEditor(std::function<void(int race)> editor) {
    editor_ = std::move(editor);
    EditEmpireBtn->setVisible(static_cast<bool>(editor_));
}

}  // namespace orrimar::ui

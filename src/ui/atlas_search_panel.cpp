#include "ui/atlas_search_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/atlas_jumps_option.h"
#include "ui/atlas_tables.h"
#include "ui/dialog_parts.h"

namespace orrimar::ui {

namespace {

// A list whose entries carry their own codes: entry i of `entries` has
// value i (0 = any), the codes the session's choices are numbered by.
QComboBox* codedList(const QStringList& entries, const QString& name, QWidget* parent) {
    QComboBox* list = makeList(entries, name, parent);
    for (int i = 0; i < list->count(); ++i) list->setItemData(i, i);
    return list;
}

// The column saying a match was found by a note ("note: ...").
constexpr int kFoundByColumn = 8;

int valueOf(const QComboBox* list) { return list->currentData().isValid() ? list->currentData().toInt() : 0; }

}  // namespace

AtlasSearchPanel::AtlasSearchPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SearchPanel"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    SearchText = new QLineEdit(this);
    SearchText->setObjectName(QStringLiteral("SearchText"));
    SearchText->setPlaceholderText(QStringLiteral("name, id or words of a note"));
    SearchText->setToolTip(
        QStringLiteral("Also finds the systems whose notes (or their worlds', races', colonies' "
                       "or empires') hold every word, or words beginning so"));
    form->addRow(QStringLiteral("Name, id or note:"), SearchText);
    StarKindList = codedList(AtlasSession::starKindChoices(), QStringLiteral("StarKindList"), this);
    form->addRow(QStringLiteral("Star kind:"), StarKindList);
    WorldTypeList = codedList(AtlasSession::worldTypeChoices(), QStringLiteral("WorldTypeList"), this);
    form->addRow(QStringLiteral("World type:"), WorldTypeList);
    BreathableBox = new QCheckBox(QStringLiteral("Breathable (standard or thin oxygen mix)"), this);
    BreathableBox->setObjectName(QStringLiteral("BreathableBox"));
    form->addRow(QString(), BreathableBox);
    TemperatureList = codedList(AtlasSession::temperatureChoices(), QStringLiteral("TemperatureList"), this);
    form->addRow(QStringLiteral("Temperature:"), TemperatureList);
    WaterList = codedList(AtlasSession::waterChoices(), QStringLiteral("WaterList"), this);
    form->addRow(QStringLiteral("Water:"), WaterList);
    GravityList = codedList(AtlasSession::gravityChoices(), QStringLiteral("GravityList"), this);
    form->addRow(QStringLiteral("Gravity:"), GravityList);
    LifeList = codedList(AtlasSession::lifeChoices(), QStringLiteral("LifeList"), this);
    form->addRow(QStringLiteral("Life:"), LifeList);
    NativeRaceBox = new QCheckBox(QStringLiteral("Native race"), this);
    NativeRaceBox->setObjectName(QStringLiteral("NativeRaceBox"));
    ColoniesBox = new QCheckBox(QStringLiteral("Colonies"), this);
    ColoniesBox->setObjectName(QStringLiteral("ColoniesBox"));
    auto* boxes = new QHBoxLayout;
    boxes->addWidget(NativeRaceBox);
    boxes->addWidget(ColoniesBox);
    form->addRow(QString(), boxes);
    OwnerList = new QComboBox(this);
    OwnerList->setObjectName(QStringLiteral("OwnerList"));
    OwnerList->setToolTip(QStringLiteral("The race controlling the system; independent: colonies no race controls"));
    setOwners({{"any", AtlasSession::kAnyOwner}, {"independent", AtlasSession::kIndependent}});
    form->addRow(QStringLiteral("Controlled by:"), OwnerList);
    PopulationList = codedList(AtlasSession::populationChoices(), QStringLiteral("PopulationList"), this);
    PopulationList->setToolTip(QStringLiteral("All the system's colonies together"));
    form->addRow(QStringLiteral("People:"), PopulationList);
    StarportList = codedList(AtlasSession::starportChoices(), QStringLiteral("StarportList"), this);
    form->addRow(QStringLiteral("Starport:"), StarportList);
    ColonyTypeList = codedList(AtlasSession::colonyTypeChoices(), QStringLiteral("ColonyTypeList"), this);
    form->addRow(QStringLiteral("Colony type:"), ColonyTypeList);
    WithinSpin = new QDoubleSpinBox(this);
    WithinSpin->setObjectName(QStringLiteral("WithinSpin"));
    WithinSpin->setRange(0.0, 10000.0);
    WithinSpin->setDecimals(1);
    WithinSpin->setSuffix(QStringLiteral(" pc"));
    WithinSpin->setSpecialValueText(QStringLiteral("anywhere"));
    WithinSpin->setToolTip(QStringLiteral("Only systems within this distance of the selected one"));
    form->addRow(QStringLiteral("Within:"), WithinSpin);
    layout->addLayout(form);
    JumpsOption = new AtlasJumpsOption(this);
    layout->addWidget(JumpsOption);
    auto* row = new QHBoxLayout;
    SearchBtn = makeButton(QStringLiteral("Search"), QStringLiteral("SearchBtn"), this);
    SearchBtn->setDefault(true);
    ClearBtn = makeButton(QStringLiteral("Clear"), QStringLiteral("ClearBtn"), this);
    MatchCount = new QLabel(this);
    MatchCount->setObjectName(QStringLiteral("MatchCount"));
    row->addWidget(SearchBtn);
    row->addWidget(ClearBtn);
    row->addWidget(MatchCount, 1);
    layout->addLayout(row);
    Matches = makeTable(
        {QStringLiteral("Id"), QStringLiteral("Name"), QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z"),
         QStringLiteral("Primary"), QStringLiteral("Distance"), QStringLiteral("Jumps"), QStringLiteral("Found by")},
        this);
    Matches->setObjectName(QStringLiteral("Matches"));
    Matches->setSortingEnabled(true);
    layout->addWidget(Matches, 1);
    connect(SearchBtn, &QPushButton::clicked, this, &AtlasSearchPanel::searchRequested);
    connect(SearchText, &QLineEdit::returnPressed, this, &AtlasSearchPanel::searchRequested);
    connect(ClearBtn, &QPushButton::clicked, this, &AtlasSearchPanel::clearRequested);
    connect(Matches, &QTableWidget::cellClicked, this, [this](int clicked, int) {
        if (QTableWidgetItem* id = Matches->item(clicked, 0)) emit systemChosen(id->data(Qt::UserRole).toInt());
    });
}

AtlasSession::Query AtlasSearchPanel::query() const {
    AtlasSession::Query query;
    query.text = SearchText->text().trimmed().toStdString();
    query.starKind = valueOf(StarKindList);
    query.worldType = valueOf(WorldTypeList);
    query.breathable = BreathableBox->isChecked();
    query.temperature = valueOf(TemperatureList);
    query.water = valueOf(WaterList);
    query.gravity = valueOf(GravityList);
    query.life = valueOf(LifeList);
    query.nativeRace = NativeRaceBox->isChecked();
    query.colonies = ColoniesBox->isChecked();
    query.within = WithinSpin->value();
    query.owner = OwnerList->currentData().isValid() ? OwnerList->currentData().toInt() : AtlasSession::kAnyOwner;
    query.population = valueOf(PopulationList);
    query.starport = valueOf(StarportList);
    query.colonyType = valueOf(ColonyTypeList);
    JumpsOption->fill(query);
    return query;
}

void AtlasSearchPanel::setOwners(const std::vector<std::pair<std::string, int>>& owners) {
    const QVariant chosen = OwnerList->currentData();
    OwnerList->clear();
    for (const auto& [label, value] : owners) OwnerList->addItem(QString::fromStdString(label), value);
    const int again = chosen.isValid() ? OwnerList->findData(chosen) : -1;
    OwnerList->setCurrentIndex(std::max(again, 0));
}

void AtlasSearchPanel::showMatches(const std::vector<AtlasSession::Match>& found) {
    Matches->setSortingEnabled(false);
    Matches->setRowCount(static_cast<int>(found.size()));
    for (int row = 0; row < static_cast<int>(found.size()); ++row) {
        const AtlasSession::Match& match = found[static_cast<std::size_t>(row)];
        Matches->setItem(row, 0, cell(match.id));
        Matches->setItem(row, 1, new QTableWidgetItem(QString::fromStdString(match.name)));
        Matches->setItem(row, 2, cell(match.x));
        Matches->setItem(row, 3, cell(match.y));
        Matches->setItem(row, 4, cell(match.z));
        Matches->setItem(row, 5, new QTableWidgetItem(QString::fromStdString(match.primary)));
        Matches->setItem(row, 6, match.distance < 0 ? new QTableWidgetItem : cell(match.distance, 2));
        Matches->setItem(row, 7, match.jumps < 0 ? new QTableWidgetItem : cell(match.jumps));
        Matches->setItem(row, kFoundByColumn, new QTableWidgetItem(QString::fromStdString(match.note)));
    }
    Matches->setSortingEnabled(true);
    Matches->resizeColumnsToContents();
    MatchCount->setText(QStringLiteral("%1 matching").arg(found.size()));
}

void AtlasSearchPanel::clearMatches() {
    Matches->setRowCount(0);
    MatchCount->clear();
}

}  // namespace orrimar::ui

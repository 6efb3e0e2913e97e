#include "ui/colony_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <fmt/format.h>

#include "common/ansi_text.h"
#include "names/named_things.h"
#include "names/sector_names.h"
#include "records/record_file.h"
#include "records/sector_files.h"
#include "records/sector_lock.h"
#include "settling/field_error.h"
#include "settling/settled_layer.h"
#include "ui/error_report.h"
#include "ui/message_seam.h"

namespace orrimar::ui {

namespace {

constexpr int kLargestAmount = 65535;

QSpinBox* spinBox(int high, const QString& name, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(0, high);
    box->setObjectName(name);
    return box;
}

template <typename Code, std::size_t N>
QComboBox* codeBox(const std::array<std::string_view, N>& names, const QString& name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (std::size_t i = 0; i < N; ++i) {
        box->addItem(QString::fromUtf8(names[i].data(), static_cast<int>(names[i].size())),
                     static_cast<int>(i + 1));  // codes count from 1
    }
    return box;
}

void selectData(QComboBox* box, int data) {
    const int at = box->findData(data);
    if (at >= 0) box->setCurrentIndex(at);
}

QString worldText(const TColonyRec& colony) {
    return QStringLiteral("%1:%2")
        .arg(isMoonBase(colony) ? QStringLiteral("moon") : QStringLiteral("planet"))
        .arg(colony.worldId);
}

}  // namespace

void fillRaceBox(QComboBox* box, const std::string& sectorBase) {
    const std::int64_t races = recordCountOnDisk(sectorPath(sectorBase, ".aln"), sizeof(TAlienRec));
    const SectorNames names =
        SectorNames::load(sectorBase, [](NameKind kind, std::int32_t) { return kind == NameKind::Race; });
    for (std::int64_t id = 0; id < races; ++id) {
        const auto name = names.race(id);
        const QString text = name
                                 ? QStringLiteral("%1 (race %2)").arg(QString::fromStdString(ansiToUtf8(*name))).arg(id)
                                 : QStringLiteral("race %1").arg(id);
        box->addItem(text, static_cast<int>(id));
    }
}

ColonyDialog::ColonyDialog(std::string sectorBase, std::optional<std::int64_t> colonyId, std::optional<WorldRef> world,
                           QWidget* parent)
    : QDialog(parent), base_(std::move(sectorBase)), colonyId_(colonyId) {
    setObjectName(QStringLiteral("ColonyDialog"));
    setWindowTitle(colonyId ? QStringLiteral("Colony %1").arg(*colonyId) : QStringLiteral("Add colony"));

    WorldField = new QLineEdit(this);
    WorldField->setObjectName(QStringLiteral("WorldField"));
    WorldField->setPlaceholderText(QStringLiteral("planet:ID, moon:ID or the world's name"));
    RaceBox = new QComboBox(this);
    RaceBox->setObjectName(QStringLiteral("RaceBox"));
    fillRaceBox(RaceBox, base_);
    OwnerBox = new QComboBox(this);
    OwnerBox->setObjectName(QStringLiteral("OwnerBox"));
    OwnerBox->addItem(QStringLiteral("Independent"), static_cast<int>(kNoRace));
    fillRaceBox(OwnerBox, base_);
    PopulationBox = spinBox(kPopulationCodeCount - 1, QStringLiteral("PopulationBox"), this);
    PopulationWords = new QLabel(this);
    TypeBox = codeBox<ColonyType>(kColonyTypeNames, QStringLiteral("TypeBox"), this);
    StarportBox = codeBox<Starport>(kStarportNames, QStringLiteral("StarportBox"), this);
    LawBox = spinBox(kLastLevel, QStringLiteral("LawBox"), this);
    StabilityBox = spinBox(kLastLevel, QStringLiteral("StabilityBox"), this);
    CrimeBox = spinBox(kLastLevel, QStringLiteral("CrimeBox"), this);
    GnpBox = spinBox(kLargestAmount, QStringLiteral("GnpBox"), this);
    PowerBox = spinBox(kLargestAmount, QStringLiteral("PowerBox"), this);

    auto* facilities = new QGroupBox(QStringLiteral("Facilities"), this);
    auto* facilityGrid = new QGridLayout(facilities);
    for (std::size_t i = 0; i < FacilityBoxes.size(); ++i) {
        auto* box = new QCheckBox(
            QString::fromUtf8(kFacilityNames[i].data(), static_cast<int>(kFacilityNames[i].size())), facilities);
        box->setProperty("facility", static_cast<int>(i + 1));
        box->setObjectName(QStringLiteral("Facility%1").arg(i + 1));
        facilityGrid->addWidget(box, static_cast<int>(i / 2), static_cast<int>(i % 2));
        FacilityBoxes[i] = box;
    }

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("World"), WorldField);
    form->addRow(QStringLiteral("People"), RaceBox);
    form->addRow(QStringLiteral("Owner"), OwnerBox);
    auto* population = new QHBoxLayout;
    population->addWidget(PopulationBox);
    population->addWidget(PopulationWords, 1);
    form->addRow(QStringLiteral("Population code"), population);
    form->addRow(QStringLiteral("Type"), TypeBox);
    form->addRow(QStringLiteral("Starport"), StarportBox);
    form->addRow(QStringLiteral("Law (0-9)"), LawBox);
    form->addRow(QStringLiteral("Stability (0-9)"), StabilityBox);
    form->addRow(QStringLiteral("Crime (0-9)"), CrimeBox);
    form->addRow(QStringLiteral("GNP (MCr a year)"), GnpBox);
    form->addRow(QStringLiteral("Power"), PowerBox);

    const OkCancel buttons = makeOkCancel(this);
    OKBtn = buttons.ok;
    CancelBtn = buttons.cancel;
    RemoveBtn = makeButton(QStringLiteral("Remove"), QStringLiteral("RemoveBtn"), this);
    RemoveBtn->setVisible(colonyId.has_value());
    auto* row = bottomButtonRow(buttons);
    row->insertWidget(0, RemoveBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(facilities);
    layout->addLayout(row);

    connect(PopulationBox, qOverload<int>(&QSpinBox::valueChanged), this,
            [this](int code) { PopulationWords->setText(QString::fromStdString(populationWords(code) + " people")); });
    connect(OKBtn, &QPushButton::clicked, this, &ColonyDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(RemoveBtn, &QPushButton::clicked, this, &ColonyDialog::RemoveBtnClick);

    TColonyRec shown;
    shown.colonyType = static_cast<std::uint8_t>(kNewColonyType);
    shown.starport = static_cast<std::uint8_t>(kNewColonyStarport);
    shown.lawLevel = shown.stability = shown.crimeLevel = static_cast<std::uint8_t>(kNewColonyLevel);
    if (colonyId) {
        SettledLayer layer;
        {
            const SectorLock lock = SectorLock::forReading(base_);
            layer = ReadSettledLayer(base_);
        }
        if (*colonyId < 0 || *colonyId >= static_cast<std::int64_t>(layer.colonies.size()) ||
            isVacant(layer.colonies[static_cast<std::size_t>(*colonyId)])) {
            throw InputError(fmt::format("There is no colony {} in {}", *colonyId, base_));
        }
        shown = layer.colonies[static_cast<std::size_t>(*colonyId)];
        WorldField->setText(worldText(shown));
    } else if (world) {
        WorldField->setText(QStringLiteral("%1:%2").arg(QString::fromUtf8(worldWord(*world).data())).arg(world->id));
    }
    showColony(shown);
    if (!colonyId) {
        // A new colony is its people's: the owner follows the race chosen
        // until another owner is picked.
        connect(RaceBox, qOverload<int>(&QComboBox::currentIndexChanged), this,
                [this, previous = RaceBox->currentData().toInt()]() mutable {
                    const int race = RaceBox->currentData().toInt();
                    if (OwnerBox->currentData().toInt() == previous) selectData(OwnerBox, race);
                    previous = race;
                });
    }
    PopulationWords->setText(QString::fromStdString(populationWords(PopulationBox->value()) + " people"));
}

void ColonyDialog::showColony(const TColonyRec& colony) {
    selectData(RaceBox, colony.race);
    // A new colony is its people's until the owner is chosen.
    selectData(OwnerBox, colonyId_ ? colony.allegiance : colony.race);
    PopulationBox->setValue(colony.populationCode);
    selectData(TypeBox, colony.colonyType);
    selectData(StarportBox, colony.starport);
    LawBox->setValue(colony.lawLevel);
    StabilityBox->setValue(colony.stability);
    CrimeBox->setValue(colony.crimeLevel);
    GnpBox->setValue(colony.gnp);
    PowerBox->setValue(colony.power);
    for (QCheckBox* box : FacilityBoxes) {
        box->setChecked(hasFacility(colony, static_cast<Facility>(box->property("facility").toInt())));
    }
}

ColonyFields ColonyDialog::fieldsFromWidgets() const {
    ColonyFields f;
    f.world = findWorldByText(base_, WorldField->text().trimmed().toStdString(), "World");
    if (RaceBox->currentIndex() >= 0) f.race = RaceBox->currentData().toInt();
    if (OwnerBox->currentIndex() >= 0) {
        const int owner = OwnerBox->currentData().toInt();
        if (owner == kNoRace) {
            f.independent = true;
        } else {
            f.owner = owner;
        }
    }
    f.populationCode = PopulationBox->value();
    f.type = TypeBox->currentData().toInt();
    f.starport = StarportBox->currentData().toInt();
    f.law = LawBox->value();
    f.stability = StabilityBox->value();
    f.crime = CrimeBox->value();
    f.gnp = GnpBox->value();
    f.power = PowerBox->value();
    std::vector<Facility> present;
    for (const QCheckBox* box : FacilityBoxes) {
        if (box->isChecked()) present.push_back(static_cast<Facility>(box->property("facility").toInt()));
    }
    f.facilities = present;
    return f;
}

QWidget* ColonyDialog::widgetOf(const std::string& field) const {
    if (field == "race") return RaceBox;
    if (field == "owner") return OwnerBox;
    if (field == "population" || field == "people") return PopulationBox;
    if (field == "type") return TypeBox;
    if (field == "starport") return StarportBox;
    if (field == "law") return LawBox;
    if (field == "stability") return StabilityBox;
    if (field == "crime") return CrimeBox;
    if (field == "gnp") return GnpBox;
    if (field == "power") return PowerBox;
    if (field == "facilities") return FacilityBoxes[0];
    return WorldField;
}

void ColonyDialog::refuse(const std::string& field, const std::string& problem) {
    QString label = QString::fromStdString(field);
    if (!label.isEmpty()) label[0] = label[0].toUpper();
    showMessage(this, QStringLiteral("Error"), QStringLiteral("%1: %2").arg(label, QString::fromStdString(problem)));
    widgetOf(field)->setFocus();
}

void ColonyDialog::OKBtnClick() {
    lastResult.clear();
    ColonyEditResult done;
    try {
        const ColonyFields fields = fieldsFromWidgets();
        done = colonyId_ ? SetColony(base_, *colonyId_, fields) : AddColony(base_, fields);
    } catch (const FieldError& e) {
        refuse(e.field(), e.problem());
        return;
    } catch (const InputError& e) {
        // The world's text, which the dialog looks up itself.
        showMessage(this, QStringLiteral("Error"), QString::fromStdString(e.what()));
        WorldField->setFocus();
        return;
    } catch (const std::exception& e) {
        reportRuntimeError(this, e);
        return;
    }
    const bool added = !colonyId_.has_value();
    colonyId_ = done.colonyId;
    lastResult = QStringLiteral("Colony %1 %2 on %3")
                     .arg(done.colonyId)
                     .arg(added ? QStringLiteral("added") : QStringLiteral("changed"))
                     .arg(QString::fromStdString(worldLabel(base_, colonyWorld(done.colony))));
    accept();
}

void ColonyDialog::RemoveBtnClick() {
    if (!colonyId_) return;
    if (!askQuestion(this, kApplicationTitle,
                     QStringLiteral("Remove colony %1? Its number stays, as an empty record.").arg(*colonyId_))) {
        return;
    }
    const bool removed = guarded(this, [&] {
        const ColonyEditResult done = RemoveColony(base_, *colonyId_);
        lastResult = QStringLiteral("Colony %1 removed from %2")
                         .arg(done.colonyId)
                         .arg(QString::fromStdString(worldLabel(base_, colonyWorld(done.colony))));
    });
    if (removed) accept();
}

bool addColony(QWidget* parent, const std::string& sectorBase, std::optional<WorldRef> world, QString* status) {
    bool changed = false;
    guarded(parent, [&] {
        ColonyDialog dialog(sectorBase, std::nullopt, world, parent);
        changed = dialog.exec() == QDialog::Accepted;
        if (status != nullptr) *status = dialog.lastResult;
    });
    return changed;
}

bool editColony(QWidget* parent, const std::string& sectorBase, std::int64_t colonyId, QString* status) {
    bool changed = false;
    guarded(parent, [&] {
        ColonyDialog dialog(sectorBase, colonyId, std::nullopt, parent);
        changed = dialog.exec() == QDialog::Accepted;
        if (status != nullptr) *status = dialog.lastResult;
    });
    return changed;
}

}  // namespace orrimar::ui

#include "ui/empire_dialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <fmt/format.h>

#include "common/ansi_text.h"
#include "names/find_by_text.h"
#include "names/sector_names.h"
#include "records/colony_codes.h"
#include "records/record_file.h"
#include "records/sector_files.h"
#include "records/sector_lock.h"
#include "settling/field_error.h"
#include "settling/settled_layer.h"
#include "ui/colony_dialog.h"
#include "ui/colour_dialog_seam.h"
#include "ui/error_report.h"
#include "ui/message_seam.h"

namespace orrimar::ui {

namespace {

QColor qColour(const EmpireColour& c) { return QColor(c[0], c[1], c[2]); }
EmpireColour empireColour(const QColor& c) {
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
}

}  // namespace

EmpireDialog::EmpireDialog(std::string sectorBase, std::optional<std::int64_t> empireId,
                           std::optional<std::int64_t> race, QWidget* parent)
    : QDialog(parent), base_(std::move(sectorBase)), empireId_(empireId) {
    setObjectName(QStringLiteral("EmpireDialog"));
    setWindowTitle(empireId ? QStringLiteral("Empire %1").arg(*empireId) : QStringLiteral("Add empire"));
    RaceBox = new QComboBox(this);
    RaceBox->setObjectName(QStringLiteral("RaceBox"));
    fillRaceBox(RaceBox, base_);
    NameField = new QLineEdit(this);
    NameField->setObjectName(QStringLiteral("NameField"));
    NameField->setMaxLength(static_cast<int>(kMaxEmpireNameLength));
    CapitalField = new QLineEdit(this);
    CapitalField->setObjectName(QStringLiteral("CapitalField"));
    CapitalField->setPlaceholderText(QStringLiteral("system id or name; blank: the race's home system"));
    ColourBtn = makeButton(QStringLiteral("Colour..."), QStringLiteral("ColourBtn"), this);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Race"), RaceBox);
    form->addRow(QStringLiteral("Name"), NameField);
    form->addRow(QStringLiteral("Capital"), CapitalField);
    form->addRow(QStringLiteral("Colour"), ColourBtn);
    const OkCancel buttons = makeOkCancel(this);
    OKBtn = buttons.ok;
    CancelBtn = buttons.cancel;
    RemoveBtn = makeButton(QStringLiteral("Remove"), QStringLiteral("RemoveBtn"), this);
    RemoveBtn->setVisible(empireId.has_value());
    auto* row = bottomButtonRow(buttons);
    row->insertWidget(0, RemoveBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(row);

    connect(ColourBtn, &QPushButton::clicked, this, &EmpireDialog::ColourBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, &EmpireDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(RemoveBtn, &QPushButton::clicked, this, &EmpireDialog::RemoveBtnClick);

    if (empireId) {
        SettledLayer layer;
        {
            const SectorLock lock = SectorLock::forReading(base_);
            layer = ReadSettledLayer(base_);
        }
        if (*empireId < 0 || *empireId >= static_cast<std::int64_t>(layer.empires.size()) ||
            isVacant(layer.empires[static_cast<std::size_t>(*empireId)])) {
            throw InputError(fmt::format("There is no empire {} in {}", *empireId, base_));
        }
        const TEmpireRec& empire = layer.empires[static_cast<std::size_t>(*empireId)];
        RaceBox->setCurrentIndex(RaceBox->findData(static_cast<int>(empire.race)));
        NameField->setText(QString::fromStdString(ansiToUtf8(empire.name.str())));
        if (empire.capitalSystemId >= 0) CapitalField->setText(QString::number(empire.capitalSystemId));
        colour_ = qColour(empire.colour);
    } else {
        if (race) RaceBox->setCurrentIndex(RaceBox->findData(static_cast<int>(*race)));
        colour_ = qColour(defaultEmpireColour(RaceBox->currentData().toInt()));
        connect(RaceBox, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
            if (colourChosen_) return;
            colour_ = qColour(defaultEmpireColour(RaceBox->currentData().toInt()));
            showColour();
        });
    }
    showColour();
}

void EmpireDialog::showColour() {
    ColourBtn->setText(QString::fromStdString(colourText(empireColour(colour_))));
    ColourBtn->setStyleSheet(QStringLiteral("background-color: %1").arg(colour_.name()));
}

void EmpireDialog::ColourBtnClick() {
    const auto chosen = pickColour(this, colour_, QStringLiteral("Empire colour"));
    if (!chosen) return;
    colour_ = *chosen;
    colourChosen_ = true;
    showColour();
}

EmpireFields EmpireDialog::fieldsFromWidgets() const {
    EmpireFields f;
    if (RaceBox->currentIndex() >= 0) f.race = RaceBox->currentData().toInt();
    f.name = NameField->text().toStdString();
    const std::string capital = CapitalField->text().trimmed().toStdString();
    if (!capital.empty()) {
        const SectorNames names =
            SectorNames::load(base_, [](NameKind kind, std::int32_t) { return kind == NameKind::System; });
        const std::int64_t systems = recordCountOnDisk(sectorPath(base_, ".sun"), sizeof(TSystemRec));
        f.capital = findByText(capital, nameSourceOf(names, NameKind::System), systems, "Capital", "system");
    }
    // An empire keeps its colour, and a new one takes its race's, unless one is chosen.
    if (colourChosen_) f.colour = empireColour(colour_);
    return f;
}

void EmpireDialog::OKBtnClick() {
    lastResult.clear();
    EmpireEditResult done;
    try {
        const EmpireFields fields = fieldsFromWidgets();
        done = empireId_ ? SetEmpire(base_, *empireId_, fields) : AddEmpire(base_, fields);
    } catch (const FieldError& e) {
        QString label = QString::fromStdString(e.field());
        if (!label.isEmpty()) label[0] = label[0].toUpper();
        showMessage(this, QStringLiteral("Error"),
                    QStringLiteral("%1: %2").arg(label, QString::fromStdString(e.problem())));
        QWidget* widget = e.field() == "race"      ? static_cast<QWidget*>(RaceBox)
                          : e.field() == "capital" ? static_cast<QWidget*>(CapitalField)
                          : e.field() == "colour"  ? static_cast<QWidget*>(ColourBtn)
                                                   : static_cast<QWidget*>(NameField);
        widget->setFocus();
        return;
    } catch (const InputError& e) {
        // The capital's text, which the dialog looks up itself.
        showMessage(this, QStringLiteral("Error"), QString::fromStdString(e.what()));
        CapitalField->setFocus();
        return;
    } catch (const std::exception& e) {
        reportRuntimeError(this, e);
        return;
    }
    const bool added = !empireId_.has_value();
    empireId_ = done.empireId;
    lastResult = QStringLiteral("Empire %1 (%2) %3")
                     .arg(done.empireId)
                     .arg(QString::fromStdString(ansiToUtf8(done.empire.name.str())))
                     .arg(added ? QStringLiteral("added") : QStringLiteral("changed"));
    accept();
}

void EmpireDialog::RemoveBtnClick() {
    if (!empireId_) return;
    if (!askQuestion(this, kApplicationTitle,
                     QStringLiteral("Remove empire %1? Its number stays, as an empty record.").arg(*empireId_))) {
        return;
    }
    const bool removed = guarded(this, [&] {
        RemoveEmpire(base_, *empireId_);
        lastResult = QStringLiteral("Empire %1 removed").arg(*empireId_);
    });
    if (removed) accept();
}

bool addEmpire(QWidget* parent, const std::string& sectorBase, std::optional<std::int64_t> race, QString* status) {
    bool changed = false;
    guarded(parent, [&] {
        EmpireDialog dialog(sectorBase, std::nullopt, race, parent);
        changed = dialog.exec() == QDialog::Accepted;
        if (status != nullptr) *status = dialog.lastResult;
    });
    return changed;
}

bool editEmpire(QWidget* parent, const std::string& sectorBase, std::int64_t empireId, QString* status) {
    bool changed = false;
    guarded(parent, [&] {
        EmpireDialog dialog(sectorBase, empireId, std::nullopt, parent);
        changed = dialog.exec() == QDialog::Accepted;
        if (status != nullptr) *status = dialog.lastResult;
    });
    return changed;
}

}  // namespace orrimar::ui

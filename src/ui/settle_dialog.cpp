#include "ui/settle_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include <fmt/format.h>

#include "common/random.h"
#include "records/colony_codes.h"
#include "records/sector_base.h"
#include "settling/settle_sector.h"
#include "ui/error_report.h"
#include "ui/file_field.h"

namespace orrimar::ui {

SettleDialog::SettleDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("SettleDialog"));
    setWindowTitle(QStringLiteral("Settle Sector"));
    const FileDialogRequest open = openDialog(QStringLiteral("sun"), QStringLiteral("Star Files (*.sun)"), kDataFolder);
    SectorField = new FileField(QStringLiteral("starlog"), 32767, open, this);
    SeedEdit = new QLineEdit(this);
    SeedEdit->setObjectName(QStringLiteral("SeedEdit"));
    SeedEdit->setPlaceholderText(QStringLiteral("from the clock"));
    SeedEdit->setToolTip(QStringLiteral("The same seed settles the same sector the same way"));
    ReplaceBox = new QCheckBox(QStringLiteral("Settle afresh if already settled"), this);
    ReplaceBox->setObjectName(QStringLiteral("ReplaceBox"));
    ReplaceBox->setToolTip(QStringLiteral("Replaces the sector's colonies, control and empires; nothing else"));
    const OkCancel buttons = makeOkCancel(this);
    OKBtn = buttons.ok;
    CancelBtn = buttons.cancel;
    layOutForm(this,
               formGrid(this, {{QStringLiteral("Sector: "), SectorField},
                               {QStringLiteral("Seed :"), SeedEdit},
                               {QString(), ReplaceBox}}),
               buttons);
    resize(sizeHint().expandedTo(QSize(320, 0)));
    connect(OKBtn, &QPushButton::clicked, this, &SettleDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void SettleDialog::OKBtnClick() {
    lastResult.clear();
    const std::string base = sectorBaseName(SectorField->text().toStdString());
    const bool done = guarded(this, [&] {
        SettleParams params;
        const std::string seed = SeedEdit->text().trimmed().toStdString();
        const std::optional<std::uint64_t> given = parseSeed(seed);
        if (!seed.empty() && !given) {
            throw InputError("Seed should be a whole number from 0 to 18446744073709551615, or empty");
        }
        params.seed = given ? *given : clockSeed();
        params.replace = ReplaceBox->isChecked();
        const SettleResult r = SettleSector(base, params);
        lastResult = QString::fromStdString(
            fmt::format("Settled {} (seed {}): {} colonies, {} people, {} systems controlled, {} empires", base,
                        params.seed, groupedCount(r.colonies), peopleWords(r.people), groupedCount(r.controlledSystems),
                        groupedCount(r.empires)));
    });
    if (done) accept();
}

}  // namespace orrimar::ui

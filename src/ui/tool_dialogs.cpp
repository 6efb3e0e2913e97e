#include "ui/tool_dialogs.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include "common/errors.h"
#include "common/number_text.h"
#include "names/named_things.h"
#include "tools/colonies_report.h"
#include "tools/merger.h"
#include "ui/current_sector.h"
#include "ui/dialog_parts.h"
#include "ui/error_report.h"
#include "ui/file_field.h"
#include "ui/max_typed_length.h"
#include "ui/message_seam.h"
#include "ui/sector_questions.h"

namespace orrimar::ui {

// Colonies Report Log

TForm8::TForm8(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Colonies Report Log"));
    FileDialogRequest open = openDialog(QStringLiteral("sun"), QStringLiteral("Star Files (*.sun)"), kDataFolder);
    open.initialFileName = QStringLiteral("ColonyLog");
    FileDialogRequest save = saveDialog(QStringLiteral("log"), {QStringLiteral("Logfiles (*.log)")}, kLogFolder);
    save.initialFileName = QStringLiteral("ColonyLog");
    SectorField = new FileField(QStringLiteral("starlog"), 8, open, this);
    SaveToField = new FileField(QStringLiteral("starlog"), 8, save, this);
    RaceField = limitTyping(new QLineEdit(QStringLiteral("0"), this), 6);
    const OkCancel buttons = makeOkCancel(this);
    OKBtn = buttons.ok;
    CancelBtn = buttons.cancel;
    layOutForm(this,
               formGrid(this, {{QStringLiteral("Sector: "), SectorField},
                               {QStringLiteral("Save to :"), SaveToField},
                               {QStringLiteral("Race :"), RaceField}}),
               buttons);
    resize(sizeHint().expandedTo(QSize(300, 0)));
    connect(OKBtn, &QPushButton::clicked, this, &TForm8::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

QString TForm8::sectorBaseName() const { return SectorField->text(); }
QString TForm8::logBaseName() const { return SaveToField->text(); }

void TForm8::OKBtnClick() {
    lastResult.clear();
    const QString sectorBase = sectorBaseName();
    const QString logBase = logBaseName();
    guarded(this, [&] {
        const ConvertedInteger race = convertInteger(RaceField->text().toLatin1().toStdString());
        if (!race.complete) {
            throw InputError("'" + RaceField->text().toStdString() + "' is not a valid race number");
        }
        WriteColoniesReport(sectorBase.toStdString(), static_cast<long>(race.value), logBase.toStdString());
        lastResult =
            QStringLiteral("Wrote colonies report of %1 to %2.log")
                .arg(QString::fromStdString(namedThing(sectorBase.toStdString(), NameKind::Race, race.value)), logBase);
    });
    accept();
}

// Sector Merger

TFormMerger::TFormMerger(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormMerger"));
    setWindowTitle(QStringLiteral("Sector Merger "));
    // The merger's open dialogs start in the current directory.
    const FileDialogRequest open = openDialog(QStringLiteral("sun"), QStringLiteral("Star files (*.sun)"), QString());
    Edit1 = new FileField(QStringLiteral("starlog1"), 32767, open, this);
    Edit2 = new FileField(QStringLiteral("starlog2"), 32767, open, this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2->setObjectName(QStringLiteral("Edit2"));
    const OkCancel buttons = makeOkCancel(this, QStringLiteral("Button1"), QStringLiteral("Button2"));
    Button1 = buttons.ok;
    Button2 = buttons.cancel;
    layOutForm(this,
               formGrid(this, {{QStringLiteral("Main Sector  "), Edit1}, {QStringLiteral("Sector to add"), Edit2}}),
               buttons);
    resize(sizeHint().expandedTo(QSize(320, 0)));
    connect(Button1, &QPushButton::clicked, this, &TFormMerger::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormMerger::Button2Click);
}

QString TFormMerger::mainBaseName() const { return Edit1->text(); }
QString TFormMerger::addedBaseName() const { return Edit2->text(); }

void TFormMerger::Button1Click() {
    const QString mainBase = mainBaseName();
    const QString addedBase = addedBaseName();
    const QString missing =
        !namesASector(mainBase)
            ? QStringLiteral("Choose the main sector: click the \"Main Sector\" field and pick its .sun file")
        : !namesASector(addedBase)
            ? QStringLiteral("Choose the sector to add to %1: click the \"Sector to add\" field and pick its .sun file")
                  .arg(mainBase)
            : QString();
    if (!missing.isEmpty()) {
        // A field still showing its default, or a name typed with no sector
        // behind it: the dialog stays for the choice.
        showMessage(this, kApplicationTitle, missing);
        return;
    }
    bool declined = false;
    const bool merged = guardedOfferingRepair(this, [&] {
        declined = !confirmMerge(this, mainBase.toStdString(), addedBase.toStdString());
        if (!declined) MergeSectors(mainBase.toStdString(), addedBase.toStdString());
    });
    if (!merged || declined) return;
    // Several merges in one opening each leave their line.
    const QString line = QStringLiteral("Wrote the systems of %1 into %2").arg(addedBase, mainBase);
    lastResult = lastResult.isEmpty() ? line : lastResult + QStringLiteral("; ") + line;
    showMessage(this, kApplicationTitle, QStringLiteral("The 2 sectors have been merged"));
}

void TFormMerger::Button2Click() { reject(); }

}  // namespace orrimar::ui

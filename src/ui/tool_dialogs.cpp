#include "ui/tool_dialogs.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/errors.h"
#include "generation/sector_fields.h"
#include "names/named_things.h"
#include "tools/colonies_report.h"
#include "tools/merger.h"
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
    auto* grid = new QGridLayout;
    grid->addWidget(makeLabel(QStringLiteral("Sector: "), SectorField, this), 0, 0);
    grid->addWidget(SectorField, 0, 1);
    grid->addWidget(makeLabel(QStringLiteral("Save to :"), SaveToField, this), 1, 0);
    grid->addWidget(SaveToField, 1, 1);
    grid->addWidget(makeLabel(QStringLiteral("Race :"), RaceField, this), 2, 0);
    grid->addWidget(RaceField, 2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(bottomButtonRow(buttons));
    resize(sizeHint().expandedTo(QSize(300, 0)));
    connect(SectorField, &FileField::baseNameChosen, this, [this](const QString& base) { sectorBase_ = base; });
    connect(SaveToField, &FileField::baseNameChosen, this, [this](const QString& base) { logBase_ = base; });
    connect(OKBtn, &QPushButton::clicked, this, &TForm8::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm8::OKBtnClick() {
    lastResult.clear();
    guarded(this, [this] {
        const ConvertedInteger race = convertInteger(RaceField->text().toLatin1().toStdString());
        if (!race.complete) {
            throw InputError("'" + RaceField->text().toStdString() + "' is not a valid race number");
        }
        WriteColoniesReport(sectorBase_.toStdString(), static_cast<long>(race.value), logBase_.toStdString());
        lastResult = QStringLiteral("Wrote colonies report of %1 to %2.log")
                         .arg(QString::fromStdString(namedThing(sectorBase_.toStdString(), NameKind::Race, race.value)),
                              logBase_);
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
    auto* grid = new QGridLayout;
    grid->addWidget(makeLabel(QStringLiteral("Main Sector  "), Edit1, this), 0, 0);
    grid->addWidget(Edit1, 0, 1);
    grid->addWidget(makeLabel(QStringLiteral("Sector to add"), Edit2, this), 1, 0);
    grid->addWidget(Edit2, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(bottomButtonRow(buttons));
    resize(sizeHint().expandedTo(QSize(320, 0)));
    connect(Edit1, &FileField::baseNameChosen, this, [this](const QString& base) { mainBase_ = base; });
    connect(Edit2, &FileField::baseNameChosen, this, [this](const QString& base) { addedBase_ = base; });
    connect(Button1, &QPushButton::clicked, this, &TFormMerger::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormMerger::Button2Click);
}

void TFormMerger::Button1Click() {
    bool declined = false;
    const bool merged = guardedOfferingRepair(this, [this, &declined] {
        declined = !confirmMerge(this, mainBase_.toStdString(), addedBase_.toStdString());
        if (!declined) MergeSectors(mainBase_.toStdString(), addedBase_.toStdString());
    });
    if (!merged || declined) return;
    // Several merges in one opening each leave their line.
    const QString line = QStringLiteral("Wrote the systems of %1 into %2").arg(addedBase_, mainBase_);
    lastResult = lastResult.isEmpty() ? line : lastResult + QStringLiteral("; ") + line;
    showMessage(this, kApplicationTitle, QStringLiteral("The 2 sectors have been merged"));
}

void TFormMerger::Button2Click() { reject(); }

}  // namespace orrimar::ui

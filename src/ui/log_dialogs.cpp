#include "ui/log_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cerrno>
#include <fstream>

#include "common/errors.h"
#include "common/file_io.h"
#include "common/output_destination.h"
#include "engine/alien_generator.h"
#include "engine/engine.h"
#include "common/number_text.h"
#include "names/named_things.h"
#include "ui/default_log_names.h"
#include "ui/dialog_parts.h"
#include "ui/error_report.h"
#include "ui/file_field.h"
#include "ui/max_typed_length.h"
#include "ui/message_seam.h"

namespace orrimar::ui {

namespace {

const QString kStarLogFilter = QStringLiteral("Star log file (*.log)");

std::int32_t readId(const QLineEdit* field) {
    // A malformed id raises no message: what converted is passed on.
    return static_cast<std::int32_t>(convertInteger(field->text().toLatin1().toStdString()).value);
}

// Fields in a grid beside a column of OK and Cancel.
void layOut(QDialog* dialog, QGridLayout* fields, const OkCancel& buttons) {
    auto* layout = new QHBoxLayout(dialog);
    layout->addLayout(fields, 1);
    layout->addSpacing(10);
    layout->addLayout(rightButtonColumn(buttons));
}

// What keeps OK from running: an empty sector or log field, said as what
// to choose; empty when both name a file.
QString missingChoice(const FileField* sector, const FileField* log) {
    if (sector->text().trimmed().isEmpty()) return QStringLiteral("Choose the sector first: click its field");
    if (log->filePath().trimmed().isEmpty())
        return QStringLiteral("Choose the file to save the log to: click the \"Save to\" field");
    return {};
}

}  // namespace

int chosenIndex(const QComboBox* list) {
    const int index = list->currentIndex();
    if (index < 0 || list->currentText() != list->itemText(index)) return -1;
    return index;
}

// System Logfile

TBtnRightDlg1::TBtnRightDlg1(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("BtnRightDlg1"));
    setWindowTitle(QStringLiteral("System Logfile"));
    SectorField = new FileField(QStringLiteral("starlog"), 8, openSectorDialog(), this);
    SaveToField = new FileField(
        QStringLiteral("starlog"), 8,
        saveDialog(QStringLiteral("log"), {kStarLogFilter, QStringLiteral("Html file (*.html)")}, kLogFolder), this);
    SystemIdField = limitTyping(new QLineEdit(QStringLiteral("0"), this), 6);
    const OkCancel buttons = makeOkCancel(this);
    OKBtn = buttons.ok;
    CancelBtn = buttons.cancel;
    auto* grid = formGrid(this, {{QStringLiteral("Sector: "), SectorField},
                                 {QStringLiteral("Save to :"), SaveToField},
                                 {QStringLiteral("System Id :"), SystemIdField}});
    grid->setRowStretch(grid->rowCount(), 1);
    layOut(this, grid, buttons);
    setFixedSize(sizeHint().expandedTo(QSize(330, 0)));
    // The log named after the sector and system, until the user names one.
    const auto proposeLog = [this] {
        SaveToField->offer(systemLogBaseName(SectorField->text(), readId(SystemIdField)));
    };
    connect(SectorField, &QLineEdit::textChanged, this, proposeLog);
    connect(SystemIdField, &QLineEdit::textChanged, this, proposeLog);
    proposeLog();
    connect(OKBtn, &QPushButton::clicked, this, &TBtnRightDlg1::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TBtnRightDlg1::OKBtnClick() {
    lastResult.clear();
    const QString missing = missingChoice(SectorField, SaveToField);
    if (!missing.isEmpty()) {
        // Nothing to write yet: the dialog stays for the choice.
        showMessage(this, QStringLiteral("Error"), missing);
        return;
    }
    guarded(this, [this] {
        const QString logPath = SaveToField->filePath();
        const std::int32_t id = readId(SystemIdField);
        engine::main_starlog(SectorField->text().toStdString(), QFile::encodeName(logPath).toStdString(), id, 1,
                             engine::logFormatOfFilter(SaveToField->filterIndex()));
        lastResult =
            QStringLiteral("Wrote system log of %1 to %2")
                .arg(QString::fromStdString(namedThing(SectorField->text().toStdString(), NameKind::System, id)),
                     logPath);
    });
    accept();
}

// Alien Logfile

TBtnRightDlg2::TBtnRightDlg2(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("BtnRightDlg2"));
    setWindowTitle(QStringLiteral("Alien Logfile"));
    FileNameField =
        new FileField(QStringLiteral("starlog"), 8,
                      openDialog(QStringLiteral("aln"), QStringLiteral("Alien files (*.aln)"), kDataFolder), this);
    SaveToField = new FileField(
        QStringLiteral("starlog"), 8,
        saveDialog(QStringLiteral("log"), {kStarLogFilter, QStringLiteral("Html log file (*.html)")}, kLogFolder),
        this);
    AlienIdField = limitTyping(new QLineEdit(QStringLiteral("0"), this), 6);
    OutputList = new QComboBox(this);
    OutputList->setEditable(true);
    OutputList->setInsertPolicy(QComboBox::NoInsert);
    fillOutputList();
    const OkCancel buttons = makeOkCancel(this);
    OKBtn = buttons.ok;
    CancelBtn = buttons.cancel;
    auto* grid = formGrid(this, {{QStringLiteral("File :"), FileNameField},
                                 {QStringLiteral("Save to :"), SaveToField},
                                 {QStringLiteral("Alien Id : "), AlienIdField},
                                 {QStringLiteral("Output :"), OutputList}});
    grid->setRowStretch(grid->rowCount(), 1);
    layOut(this, grid, buttons);
    setFixedSize(sizeHint().expandedTo(QSize(330, 0)));
    const auto proposeLog = [this] {
        SaveToField->offer(raceLogBaseName(FileNameField->text(), readId(AlienIdField)));
    };
    connect(FileNameField, &QLineEdit::textChanged, this, proposeLog);
    connect(AlienIdField, &QLineEdit::textChanged, this, proposeLog);
    proposeLog();
    connect(OKBtn, &QPushButton::clicked, this, &TBtnRightDlg2::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TBtnRightDlg2::fillOutputList() {
    OutputList->clear();
    for (const char* name : engine::kOutputSystems) OutputList->addItem(QString::fromLatin1(name));
    OutputList->setCurrentIndex(0);
}

void TBtnRightDlg2::OKBtnClick() {
    const int output = chosenIndex(OutputList);
    if (output < 0) {
        showMessage(this, QStringLiteral("Error"),
                    QString::fromLatin1(engine::kNoOutputMessage.data(),
                                        static_cast<qsizetype>(engine::kNoOutputMessage.size())));
        accept();
        return;
    }
    lastResult.clear();
    const QString missing = missingChoice(FileNameField, SaveToField);
    if (!missing.isEmpty()) {
        showMessage(this, QStringLiteral("Error"), missing);
        return;
    }
    guarded(this, [this, output] {
        const QString logPath = SaveToField->filePath();
        const std::string path = QFile::encodeName(logPath).toStdString();
        // Guarded as every output is: never over a folder, a device or a
        // file another program is writing.
        GuardedOutputFile log(path);
        const std::int32_t id = readId(AlienIdField);
        engine::main_alienlog(FileNameField->text().toStdString(), id, static_cast<std::uint8_t>(output),
                              engine::logFormatOfFilter(SaveToField->filterIndex()), log.stream());
        log.commit();
        lastResult =
            QStringLiteral("Wrote alien log of %1 to %2")
                .arg(QString::fromStdString(namedThing(FileNameField->text().toStdString(), NameKind::Race, id)),
                     logPath);
    });
    accept();
}

// Sector Report

TForm5::TForm5(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Sector Report"));
    FileNameField = new FileField(QStringLiteral("starlog"), 8, openSectorDialog(), this);
    SaveToField =
        new FileField(QStringLiteral("starlog"), 8,
                      saveDialog(QStringLiteral("map"), {QStringLiteral("Star map files (*.map)")}, kLogFolder), this);
    SystemsBox = new QCheckBox(QStringLiteral("Systems"), this);
    AlienRacesBox = new QCheckBox(QStringLiteral("Alien races"), this);
    SummaryBox = new QCheckBox(QStringLiteral("Summary"), this);
    EmpiresBox = new QCheckBox(QStringLiteral("Empires"), this);
    for (QCheckBox* box : {SystemsBox, AlienRacesBox, SummaryBox, EmpiresBox}) box->setChecked(true);
    const OkCancel buttons = makeOkCancel(this);
    OKBtn = buttons.ok;
    CancelBtn = buttons.cancel;
    auto* grid =
        formGrid(this, {{QStringLiteral("File :"), FileNameField}, {QStringLiteral("Save to :"), SaveToField}});
    auto* boxes = new QGridLayout;
    boxes->addWidget(SystemsBox, 0, 0);
    boxes->addWidget(AlienRacesBox, 0, 1);
    boxes->addWidget(SummaryBox, 1, 0);
    boxes->addWidget(EmpiresBox, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(boxes);
    layout->addStretch();
    layout->addLayout(bottomButtonRow(buttons));
    // An ordinary window: it may be resized.
    resize(sizeHint().expandedTo(QSize(330, 0)));
    connect(OKBtn, &QPushButton::clicked, this, &TForm5::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm5::OKBtnClick() {
    lastResult.clear();
    guarded(this, [this] {
        engine::main_map(FileNameField->text().toStdString(), SaveToField->text().toStdString(),
                         SystemsBox->isChecked(), AlienRacesBox->isChecked(), SummaryBox->isChecked(),
                         EmpiresBox->isChecked());
        lastResult = QStringLiteral("Wrote sector report to %1.map and %1.html").arg(SaveToField->text());
    });
    accept();
}

}  // namespace orrimar::ui

#include "ui/create_sector_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/errors.h"
#include "generation/sector_fields.h"
#include "records/sector_base.h"
#include "ui/app_state.h"
#include "ui/current_sector.h"
#include "ui/dialog_parts.h"
#include "ui/error_report.h"
#include "ui/file_field.h"
#include "ui/max_typed_length.h"
#include "ui/message_seam.h"
#include "ui/sector_questions.h"

namespace orrimar::ui {

namespace {

QLineEdit* numberField(const QString& text, int maxLength, QWidget* parent) {
    auto* field = limitTyping(new QLineEdit(text, parent), maxLength);
    field->setMaximumWidth(70);
    return field;
}

}  // namespace

TBtnRightDlg::TBtnRightDlg(const AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("BtnRightDlg"));
    setWindowTitle(QStringLiteral("Create Sector"));
    Edit8 = limitTyping(new QLineEdit(QStringLiteral("starlog"), this), 50);
    Edit1 = new FileField(QStringLiteral("starlog"), 8,
                          saveDialog(QStringLiteral("sun"), {QStringLiteral("Star files (*.sun)")}, kDataFolder), this);
    Edit3 = numberField(QStringLiteral("0"), 6, this);
    Edit4 = numberField(QStringLiteral("0"), 6, this);
    Edit5 = numberField(QStringLiteral("0"), 6, this);
    Edit6 = numberField(QStringLiteral("8"), 3, this);
    Edit7 = numberField(QStringLiteral("25"), 3, this);
    Edit9 = numberField(QStringLiteral("50"), 2, this);
    Edit9->setToolTip(
        QStringLiteral("Highest spatial age a native race may reach: how far into space it has "
                       "gone (0..255)"));
    SeedEdit = limitTyping(new QLineEdit(this), 20);
    SeedEdit->setPlaceholderText(QStringLiteral("from the clock"));
    SeedLabel = new QLabel(this);
    CheckBox1 = new QCheckBox(QStringLiteral("Gaia"), this);
    CheckBox3 = new QCheckBox(QStringLiteral("New file"), this);
    CheckBox3->setChecked(true);
    CheckBox2 = new QCheckBox(QStringLiteral("Tot. al disable"), this);
    CheckBox4 = new QCheckBox(QStringLiteral("2D Sector"), this);
    NamesBox = new QCheckBox(QStringLiteral("Names"), this);
    NamesBox->setChecked(true);
    // What each box does, as the command line's create options say it.
    CheckBox1->setToolTip(QStringLiteral("Kept for compatibility: it changes nothing in the sector made"));
    CheckBox3->setToolTip(
        QStringLiteral("Checked: make a new sector at File. Unchecked: add the new systems "
                       "to the sector already there"));
    CheckBox2->setToolTip(QStringLiteral("Keep native races from the most utterly alien body forms and traits"));
    CheckBox4->setToolTip(QStringLiteral("A flat sector: one layer of cells (a square) instead of a cube"));
    NamesBox->setToolTip(QStringLiteral("Give systems and races names; unchecked, they stay unnamed"));
    Gauge1 = new QProgressBar(this);
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    const OkCancel buttons = makeOkCancel(this);
    OKBtn = buttons.ok;
    CancelBtn = buttons.cancel;

    const QList<std::pair<QWidget*, const char*>> names{
        {Edit8, "Edit8"},         {Edit1, "Edit1"},         {Edit3, "Edit3"},         {Edit4, "Edit4"},
        {Edit5, "Edit5"},         {Edit6, "Edit6"},         {Edit7, "Edit7"},         {Edit9, "Edit9"},
        {CheckBox1, "CheckBox1"}, {CheckBox2, "CheckBox2"}, {CheckBox3, "CheckBox3"}, {CheckBox4, "CheckBox4"},
        {NamesBox, "NamesBox"},   {Gauge1, "Gauge1"},       {SeedEdit, "SeedEdit"},   {SeedLabel, "SeedLabel"}};
    for (const auto& [widget, name] : names) widget->setObjectName(QString::fromLatin1(name));

    auto* grid = new QGridLayout;
    grid->addWidget(makeLabel(QStringLiteral("Name : "), Edit8, this), 0, 0);
    grid->addWidget(Edit8, 0, 1, 1, 5);
    grid->addWidget(makeLabel(QStringLiteral("File : "), Edit1, this), 1, 0);
    grid->addWidget(Edit1, 1, 1, 1, 5);
    grid->addWidget(makeLabel(QStringLiteral("X :"), Edit3, this), 2, 0);
    grid->addWidget(Edit3, 2, 1);
    grid->addWidget(makeLabel(QStringLiteral("Y :"), Edit4, this), 2, 2);
    grid->addWidget(Edit4, 2, 3);
    grid->addWidget(makeLabel(QStringLiteral("Z : "), Edit5, this), 2, 4);
    grid->addWidget(Edit5, 2, 5);
    grid->addWidget(makeLabel(QStringLiteral("Density : "), Edit6, this), 3, 0);
    grid->addWidget(Edit6, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("%"), this), 3, 2);
    grid->addWidget(makeLabel(QStringLiteral("Size :"), Edit7, this), 3, 3);
    grid->addWidget(Edit7, 3, 4);
    grid->addWidget(new QLabel(QStringLiteral("Pc"), this), 3, 5);
    QLabel* ageLabel = makeLabel(QStringLiteral("Max Spatial Age"), Edit9, this);
    ageLabel->setToolTip(Edit9->toolTip());
    grid->addWidget(ageLabel, 4, 0, 1, 2);
    grid->addWidget(Edit9, 4, 2);
    grid->addWidget(makeLabel(QStringLiteral("Seed : "), SeedEdit, this), 5, 0);
    grid->addWidget(SeedEdit, 5, 1, 1, 5);
    auto* boxes = new QGridLayout;
    boxes->addWidget(CheckBox1, 0, 0);
    boxes->addWidget(CheckBox3, 0, 1);
    boxes->addWidget(CheckBox2, 1, 0);
    boxes->addWidget(CheckBox4, 1, 1);
    boxes->addWidget(NamesBox, 2, 0);
    auto* left = new QVBoxLayout;
    left->addLayout(grid);
    left->addLayout(boxes);
    left->addWidget(Gauge1);
    left->addWidget(SeedLabel);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addSpacing(10);
    layout->addLayout(rightButtonColumn(buttons));
    setFixedSize(sizeHint());

    connect(OKBtn, &QPushButton::clicked, this, &TBtnRightDlg::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TBtnRightDlg::reject);
}

void TBtnRightDlg::CancelBtnClick() { cancelFlag_ = true; }

void TBtnRightDlg::reject() {
    // Esc and the close box answer like Cancel. During a run the dialog
    // stays until the run has stopped after its current cell, so nothing
    // else can be started on a sector still being written.
    CancelBtnClick();
    if (!running_) QDialog::reject();
}

QString createSectorReport(const CreateSectorResult& run, const CreateSectorParams& params) {
    const QString base = QDir::current().absoluteFilePath(QFile::decodeName(sectorBaseName(params.baseName).c_str()));
    const auto count = [](std::int64_t n) { return QString::fromStdString(groupedCount(n)); };
    if (run.systems == 0) {
        return QStringLiteral("%1: no system in %2 cells (seed %3); %4 left as it was")
            .arg(run.cancelled ? QStringLiteral("Cancelled, wrote nothing") : QStringLiteral("Wrote nothing"),
                 count(run.cellsVisited), QString::number(run.seed), base);
    }
    const QString what = run.cancelled
                             ? (params.newFile ? QStringLiteral("Cancelled; wrote so far to sector")
                                               : QStringLiteral("Cancelled; appended so far to sector"))
                             : (params.newFile ? QStringLiteral("Wrote sector") : QStringLiteral("Appended to sector"));
    return QStringLiteral("%1 %2: %3 systems, %4 planets, %5 moons, %6 races (seed %7)")
        .arg(what, base, count(run.systems), count(run.planets), count(run.moons), count(run.races),
             QString::number(run.seed));
}

void TBtnRightDlg::OKBtnClick() {
    // A second OK while a run goes on is ignored: the first run owns the gauge.
    if (running_) return;
    lastResult.clear();
    CreateSectorFields fields;
    fields.file = QFile::encodeName(Edit1->text()).toStdString();
    // The name record stores the Windows ANSI code page: converted here, so
    // that its 50 characters are counted there and a character it lacks is
    // named rather than stored as "?". An empty file field means "starlog".
    std::string refusal;
    try {
        fields.name = sectorNameInAnsi(Edit8->text().toStdString());
    } catch (const InputError& e) {
        refusal = e.what();
    }
    if (refusal.empty() && !fields.file.empty()) refusal = newBaseNameProblem(sectorBaseName(fields.file));
    if (!refusal.empty()) {
        showMessage(this, QStringLiteral("Error"), QString::fromStdString(refusal));
        accept();
        return;
    }
    fields.x = Edit3->text().toLatin1().toStdString();
    fields.y = Edit4->text().toLatin1().toStdString();
    fields.z = Edit5->text().toLatin1().toStdString();
    fields.density = Edit6->text().toLatin1().toStdString();
    fields.size = Edit7->text().toLatin1().toStdString();
    fields.maxSpatialAge = Edit9->text().toLatin1().toStdString();
    fields.seed = SeedEdit->text().trimmed().toLatin1().toStdString();
    fields.gaia = CheckBox1->isChecked();
    fields.newFile = CheckBox3->isChecked();
    fields.totalAlienDisable = CheckBox2->isChecked();
    fields.flat = CheckBox4->isChecked();
    fields.names = NamesBox->isChecked();
    const CreateSectorAction action = convertCreateSectorFields(fields);
    if (action.sizeText) Edit7->setText(QString::fromStdString(*action.sizeText));
    if (action.maxSpatialAgeText) Edit9->setText(QString::fromStdString(*action.maxSpatialAgeText));
    if (action.message) {
        showMessage(this, QString::fromStdString(action.messageTitle.value_or("Error")),
                    QString::fromStdString(*action.message));
    }
    if (action.run) {
        CreateSectorParams params = *action.run;
        params.settingsPath = state_.settingsFile();
        // A No keeps the dialog open with its fields, to choose another
        // file or block; nothing has been touched.
        bool declined = false;
        guardedOfferingRepair(this, [this, &params, &declined] {
            if (!confirmCreateSector(this, params)) {
                declined = true;
                return;
            }
            try {
                runSector(params);
            } catch (const SectorExistsError& e) {
                // A sector made at the same place since the question (or
                // before it, by a rule the question does not know).
                declined = !askQuestion(this, windowTitle(), replaceSectorQuestion(e.baseName(), e.systems()));
                if (declined) return;
                params.replace = true;
                runSector(params);
            }
        });
        if (declined) return;
    }
    Gauge1->setValue(0);
    if (cancelFlag_ && lastRun_ && lastRun_->cancelled)
        QDialog::reject();
    else
        accept();
}

void TBtnRightDlg::runSector(const CreateSectorParams& params) {
    const RunningGuard running(running_);
    sinceEvents_.start();
    cellsSinceClock_ = 0;
    lastRun_.reset();
    lastRun_ = CreateSector(params, this);
    // Shown when the dialog next opens too, so the seed of a sector one
    // likes can be typed in again.
    SeedLabel->setText(QStringLiteral("Seed of the last run: %1").arg(static_cast<qulonglong>(lastRun_->seed)));
    lastResult = createSectorReport(*lastRun_, params);
    // A sector with systems in it is the one the other commands work on next.
    if (lastRun_->systems > 0 && state_.sector != nullptr)
        state_.sector->set(QFile::decodeName(sectorBaseName(params.baseName).c_str()));
}

void TBtnRightDlg::setMaximum(std::int64_t cells) {
    maximum_ = cells;
    Gauge1->setRange(0, static_cast<int>(cells));
    Gauge1->setValue(0);
}

void TBtnRightDlg::setProgress(std::int64_t cellsVisited) {
    // Every cell is visited on the interface's thread; the gauge and pending
    // events are served only every few hundredths of a second, and at the
    // last cell so the gauge ends full.
    if (cellsVisited < maximum_) {
        // The clock itself costs as much as an empty cell: read it only
        // every few cells (a few milliseconds at most, even when every
        // cell holds a system).
        if (++cellsSinceClock_ < kCellsPerClockReading && eventIntervalMs_ > 0) return;
        cellsSinceClock_ = 0;
        if (sinceEvents_.elapsed() < eventIntervalMs_) return;
    }
    Gauge1->setValue(static_cast<int>(cellsVisited));
    QApplication::processEvents();
    sinceEvents_.restart();
}

}  // namespace orrimar::ui

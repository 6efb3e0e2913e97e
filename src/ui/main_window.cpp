#include "ui/main_window.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QComboBox>

#include "common/errors.h"
#include "engine/engine.h"
#include "records/sector_base.h"
#include "settings/ini_file.h"
#include "ui/about_box.h"
#include "ui/alien_generator_dialog.h"
#include "ui/atlas_window.h"
#include "ui/create_sector_dialog.h"
#include "ui/current_sector.h"
#include "ui/dialog_parts.h"
#include "ui/error_report.h"
#include "ui/file_dialog_seam.h"
#include "ui/file_field.h"
#include "ui/export_dialog.h"
#include "ui/first_run_settings.h"
#include "ui/log_dialogs.h"
#include "ui/message_seam.h"
#include "ui/settings_location.h"
#include "ui/star_field.h"
#include "ui/atlas_settled_editors.h"
#include "ui/settle_dialog.h"
#include "ui/tool_dialogs.h"
#include "ui/window_placement.h"

namespace orrimar::ui {

namespace {

const char* const kSettingsSection = "Settings";

QPushButton* launchButton(const QString& caption, const QString& hint, const QString& name, QWidget* parent) {
    QPushButton* button = makeButton(caption, name, parent);
    if (!hint.isEmpty()) button->setToolTip(hint);
    return button;
}

// Makes `name` below the current directory unless it is there; reports
// whether it was there already.
bool folderExisted(const QString& name) {
    if (QFileInfo(name).isDir()) return true;
    QDir().mkdir(name);
    return false;
}

}  // namespace

TForm1::TForm1(StartupOptions options, QWidget* parent) : QWidget(parent), options_(std::move(options)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Orrimar for Windows"));
    setWindowIcon(programIcon());
    buildLayout();
    FormCreate();
    createDialogs();
}

TForm1::~TForm1() = default;

void TForm1::buildLayout() {
    CreateSectorBtn = launchButton(QStringLiteral("Create sector"), QStringLiteral("Create a new sector"),
                                   QStringLiteral("CreateSectorBtn"), this);
    SystemLogBtn = launchButton(QStringLiteral("System Log"), QStringLiteral("Create a logfile of star system"),
                                QStringLiteral("SystemLogBtn"), this);
    AlienLogBtn = launchButton(QStringLiteral("Alien Log"), QStringLiteral("Create a logfile of an alien race"),
                               QStringLiteral("AlienLogBtn"), this);
    SectorReportBtn =
        launchButton(QStringLiteral("Sector Report"), QStringLiteral("Create a summary logfile of a sector "),
                     QStringLiteral("SectorReportBtn"), this);
    AlienGenBtn = launchButton(QStringLiteral("Alien Gen"), QStringLiteral("Generate an alien race in a logfile"),
                               QStringLiteral("AlienGenBtn"), this);
    ColoniesRptBtn =
        launchButton(QStringLiteral("Colonies Rpt"), QStringLiteral("Create a report of all colonies owned by a race"),
                     QStringLiteral("ColoniesRptBtn"), this);
    SettleBtn = launchButton(QStringLiteral("Settle"),
                             QStringLiteral("Settle a sector: colonies, control and empires from its own races"),
                             QStringLiteral("SettleBtn"), this);
    MergerBtn = launchButton(QStringLiteral("Merger"), QStringLiteral("To merge two sectors"),
                             QStringLiteral("MergerBtn"), this);
    ExportBtn = launchButton(QStringLiteral("Export"), QStringLiteral("Export a sector as JSON, CSV or an HTML atlas"),
                             QStringLiteral("ExportBtn"), this);
    AtlasBtn = launchButton(QStringLiteral("Atlas"), QStringLiteral("See, search and travel a sector"),
                            QStringLiteral("AtlasBtn"), this);
    AboutBtn = launchButton(QStringLiteral("About"), QString(), QStringLiteral("AboutBtn"), this);
    QuitBtn = launchButton(QStringLiteral("Quit"), QStringLiteral("Exit Orrimar"), QStringLiteral("QuitBtn"), this);

    LaunchPad = new QGroupBox(QStringLiteral("Launch Pad"), this);
    LaunchPad->setObjectName(QStringLiteral("LaunchPad"));
    CressetBtn = launchButton(QStringLiteral("Cresset"), QStringLiteral("Launch Cresset"), QStringLiteral("CressetBtn"),
                              LaunchPad);
    DunmereBtn = launchButton(QStringLiteral("Dunmere"), QStringLiteral("Launch Dunmere"), QStringLiteral("DunmereBtn"),
                              LaunchPad);
    ElvaranBtn = launchButton(QStringLiteral("Elvaran"), QStringLiteral("Launch Elvaran"), QStringLiteral("ElvaranBtn"),
                              LaunchPad);
    ExportChVBtn = launchButton(QStringLiteral("Export ChV"), QStringLiteral("Export a sector to a ChView format"),
                                QStringLiteral("ExportChVBtn"), LaunchPad);
    TarnokBtn = launchButton(QStringLiteral("Tarnok"), QStringLiteral("Create system from scratch"),
                             QStringLiteral("TarnokBtn"), LaunchPad);
    BoldrinBtn = launchButton(QStringLiteral("Boldrin"), QStringLiteral("Launch Boldrin"), QStringLiteral("BoldrinBtn"),
                              LaunchPad);

    TitleLabel = new QLabel(QStringLiteral("Orrimar v1.6"), this);
    TitleLabel->setObjectName(QStringLiteral("TitleLabel"));
    QFont titleFont(QStringLiteral("Times New Roman"), 20);
    titleFont.setBold(true);
    titleFont.setStyleHint(QFont::Serif);
    TitleLabel->setFont(titleFont);
    TitleLabel->setAlignment(Qt::AlignCenter);
    Picture = new StarField(this);
    Picture->setObjectName(QStringLiteral("Picture"));
    StatusLine = new QLabel(this);
    StatusLine->setObjectName(QStringLiteral("StatusLine"));
    StatusLine->setWordWrap(true);
    StatusLine->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* commands = new QVBoxLayout;
    for (QPushButton* button : {CreateSectorBtn, SystemLogBtn, AlienLogBtn, SectorReportBtn, AlienGenBtn, SettleBtn,
                                ColoniesRptBtn, MergerBtn, ExportBtn, AtlasBtn}) {
        commands->addWidget(button);
    }
    commands->addStretch();

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(AboutBtn);
    bottom->addWidget(QuitBtn);
    bottom->addStretch();
    auto* middle = new QVBoxLayout;
    middle->addWidget(TitleLabel);
    middle->addWidget(Picture, 1);
    middle->addLayout(bottom);

    auto* companions = new QVBoxLayout(LaunchPad);
    for (QPushButton* button : {CressetBtn, DunmereBtn, ElvaranBtn, ExportChVBtn}) companions->addWidget(button);
    companions->addStretch();
    companions->addWidget(TarnokBtn);
    companions->addWidget(BoldrinBtn);

    auto* columns = new QHBoxLayout;
    columns->addLayout(commands);
    columns->addLayout(middle, 1);
    columns->addWidget(LaunchPad);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(StatusLine);

    connect(CreateSectorBtn, &QPushButton::clicked, this, [this] { runCommand(BtnRightDlg); });
    connect(SystemLogBtn, &QPushButton::clicked, this, [this] { runCommand(BtnRightDlg1); });
    connect(AlienLogBtn, &QPushButton::clicked, this, &TForm1::AlienLogClick);
    connect(SectorReportBtn, &QPushButton::clicked, this, [this] { runCommand(Form5); });
    connect(AlienGenBtn, &QPushButton::clicked, this, &TForm1::AlienGenClick);
    connect(ColoniesRptBtn, &QPushButton::clicked, this, [this] { runCommand(Form8); });
    connect(SettleBtn, &QPushButton::clicked, this, [this] { runCommand(SettleDlg); });
    connect(MergerBtn, &QPushButton::clicked, this, [this] { runCommand(FormMerger); });
    connect(ExportBtn, &QPushButton::clicked, this, [this] { runCommand(ExportDlg); });
    connect(AtlasBtn, &QPushButton::clicked, this, &TForm1::AtlasClick);
    connect(AboutBtn, &QPushButton::clicked, this, [this] { AboutBox->exec(); });
    connect(QuitBtn, &QPushButton::clicked, this, &TForm1::QuitClick);
    connect(CressetBtn, &QPushButton::clicked, this, [this] { startCompanion(QStringLiteral("cresset.exe")); });
    connect(DunmereBtn, &QPushButton::clicked, this, [this] { startCompanion(QStringLiteral("dunmere.exe")); });
    connect(ElvaranBtn, &QPushButton::clicked, this, [this] { startCompanion(QStringLiteral("elvaran.exe")); });
    connect(ExportChVBtn, &QPushButton::clicked, this, [this] { startCompanion(QStringLiteral("GLASWEN.exe")); });
    connect(TarnokBtn, &QPushButton::clicked, this, [this] { startCompanion(QStringLiteral("Tarnok.exe")); });
    connect(BoldrinBtn, &QPushButton::clicked, this, &TForm1::BoldrinClick);
}

void TForm1::FormCreate() {
    state_.programDir = options_.programDir;
    state_.settingsPath = resolveSettingsPath(options_.programDir, options_.userConfigDir);
    state_.sector = new CurrentSector(state_.settingsPath, this);
    int height = kDefaultHeight;
    int width = kDefaultWidth;
    int left = kDefaultLeft;
    int top = kDefaultTop;
    try {
        const IniFile settings(state_.settingsFile());
        height = settings.readInteger(kSettingsSection, "Height", kDefaultHeight);
        width = settings.readInteger(kSettingsSection, "Width", kDefaultWidth);
        left = settings.readInteger(kSettingsSection, "Left", kDefaultLeft);
        top = settings.readInteger(kSettingsSection, "Top", kDefaultTop);
    } catch (const OrrError&) {
        // An unreadable settings file is a missing one: the defaults apply.
    }
    applyStoredGeometry(height, width, left, top);
    folderExisted(QStringLiteral("data"));
    if (!QFileInfo(QStringLiteral("log")).isDir()) {
        // No "log" folder: a first run. The tables are written before the
        // folder, so a run that fails to write them tries again next time.
        try {
            writeFirstRunSettings(state_.settingsFile());
        } catch (const OrrError&) {
            // As the settings functions of the system it mirrors, a settings
            // file that cannot be written is not reported: defaults apply.
        }
        folderExisted(QStringLiteral("log"));
    }
    setFileDialogFolders(QDir::current().absoluteFilePath(QStringLiteral("data")),
                         QDir::current().absoluteFilePath(QStringLiteral("log")), state_.settingsPath);
    TarnokBtn->setEnabled(!findCompanion(QDir::currentPath(), QStringLiteral("tarnok.exe")).isEmpty());
    greyMissingCompanion(TarnokBtn, QStringLiteral("tarnok.exe"), QDir::currentPath());
    // A companion that is not beside the program could not start: its
    // button is greyed rather than silent when pressed.
    greyMissingCompanion(CressetBtn, QStringLiteral("cresset.exe"), options_.programDir);
    greyMissingCompanion(DunmereBtn, QStringLiteral("dunmere.exe"), options_.programDir);
    greyMissingCompanion(ElvaranBtn, QStringLiteral("elvaran.exe"), options_.programDir);
    greyMissingCompanion(ExportChVBtn, QStringLiteral("GLASWEN.exe"), options_.programDir);
    state_.rememberedOutputSystem = 0;
}

void TForm1::greyMissingCompanion(QPushButton* button, const QString& fileName, const QString& folder) {
    if (!findCompanion(folder, fileName).isEmpty()) return;
    button->setEnabled(false);
    button->setToolTip(
        QStringLiteral("%1 (not found: %2)")
            .arg(button->toolTip(), QDir(folder.isEmpty() ? QDir::currentPath() : folder).absoluteFilePath(fileName)));
}

void TForm1::showStatus(const QString& text) { StatusLine->setText(text); }

void TForm1::runCommand(QDialog* dialog) {
    showStatus(QString());
    auto* report = dynamic_cast<CommandReport*>(dialog);
    if (report != nullptr) report->lastResult.clear();
    dialog->exec();
    if (report != nullptr) showStatus(report->lastResult);
}

void TForm1::applyStoredGeometry(int height, int width, int left, int top) {
    const QList<QRect> screens = options_.screens.isEmpty() ? availableScreenAreas() : options_.screens;
    const QRect placed = keepOnScreen(QRect(left, top, width, height), screens);
    resize(placed.size());
    move(placed.topLeft());
}

void TForm1::createDialogs() {
    BtnRightDlg = new TBtnRightDlg(state_, this);
    BtnRightDlg1 = new TBtnRightDlg1(this);
    BtnRightDlg2 = new TBtnRightDlg2(this);
    Form5 = new TForm5(this);
    Form6 = new TForm6(state_, this);
    AboutBox = new TAboutBox(this);
    Form8 = new TForm8(this);
    FormMerger = new TFormMerger(this);
    SettleDlg = new SettleDialog(this);
    ExportDlg = new ExportDialog(this);
    followCurrentSector();
}

void TForm1::followCurrentSector() {
    // The fields that name the sector a command reads. The merger's
    // "Sector to add" is not one: it names a second sector.
    const QList<FileField*> sectorFields{BtnRightDlg1->SectorField, BtnRightDlg2->FileNameField, Form5->FileNameField,
                                         Form8->SectorField,        FormMerger->Edit1,           ExportDlg->SectorEdit,
                                         SettleDlg->SectorField};
    for (FileField* field : sectorFields) {
        connect(field, &FileField::baseNameChosen, state_.sector, [this](const QString& base) {
            // The Alien Log's field also takes a race file of the Alien
            // Generator, which is no sector: only a sector is followed.
            if (namesASector(base)) state_.sector->set(base);
        });
        connect(state_.sector, &CurrentSector::changed, field, &FileField::offer);
    }
}

void TForm1::QuitClick() {
    guarded(this, [this] {
        IniFile settings(state_.settingsFile());
        settings.writeInteger(kSettingsSection, "Height", height());
        settings.writeInteger(kSettingsSection, "Width", width());
        settings.writeInteger(kSettingsSection, "Left", x());
        settings.writeInteger(kSettingsSection, "Top", y());
        settings.save();
    });
    close();
}

void TForm1::AlienLogClick() {
    BtnRightDlg2->fillOutputList();
    runCommand(BtnRightDlg2);
}

void TForm1::AlienGenClick() {
    Form6->FormCreate();
    for (const char* name : engine::kOutputSystems) Form6->ComboBox3->addItem(QString::fromLatin1(name));
    Form6->ComboBox3->setCurrentIndex(state_.rememberedOutputSystem);
    runCommand(Form6);
}

void TForm1::BoldrinClick() {
    // Boldrin is looked for where the user works, not only where the program is.
    if (findCompanion(QDir::currentPath(), QStringLiteral("boldrin.exe")).isEmpty()) {
        showMessage(this, kApplicationTitle,
                    QStringLiteral("Please download and decompress Boldrin in the same directory than Orrimar"));
        return;
    }
    startCompanion(QStringLiteral("boldrin.exe"));
}

void TForm1::AtlasClick() {
    // A window of its own, not a modal dialog: the game master keeps it open
    // beside the launch pad for the whole session.
    if (Atlas == nullptr) {
        Atlas = new AtlasWindow(state_.sector, this);
        plugSettledEditors(*Atlas);
    }
    const QString current = state_.sector->baseName();
    if (!current.isEmpty() && Atlas->sectorBase() != current) Atlas->openSector(current);
    Atlas->show();
    Atlas->raise();
    Atlas->activateWindow();
}

void TForm1::startCompanion(const QString& fileName) {
    start_companion(fileName, QString(), state_.programDir, kShowNormal, options_.starter);
}

}  // namespace orrimar::ui

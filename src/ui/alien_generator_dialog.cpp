#include "ui/alien_generator_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include "engine/alien_generator.h"
#include "ui/app_state.h"
#include "ui/dialog_parts.h"
#include "ui/error_report.h"
#include "ui/file_field.h"
#include "ui/log_dialogs.h"
#include "ui/max_typed_length.h"
#include "ui/message_seam.h"

namespace orrimar::ui {

namespace {

QString listText(const engine::ListEntry& entry) {
    return QString::fromLatin1(entry.text.data(), static_cast<qsizetype>(entry.text.size()));
}

QComboBox* editableList(const QString& name, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    return list;
}

}  // namespace

TForm6::TForm6(AppState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Alien Generator"));
    Edit2 = new FileField(
        QStringLiteral("starlog"), 8,
        saveDialog(QStringLiteral("log"),
                   {QStringLiteral("Star log file (*.log)"), QStringLiteral("Html log file (*.html)")}, kLogFolder),
        this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit1 = limitTyping(new QLineEdit(QStringLiteral("15"), this), 8);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit3 = limitTyping(new QLineEdit(QStringLiteral("1.00"), this), 8);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    ComboBox1 = editableList(QStringLiteral("ComboBox1"), this);
    ComboBox2 = editableList(QStringLiteral("ComboBox2"), this);
    ComboBox3 = editableList(QStringLiteral("ComboBox3"), this);
    CheckBox1 = new QCheckBox(QStringLiteral("Tot. al. disable"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    const OkCancel buttons = makeOkCancel(this);
    OKBtn = buttons.ok;
    CancelBtn = buttons.cancel;

    layOutForm(this,
               formGrid(this, {{QStringLiteral("Save to :"), Edit2},
                               {QStringLiteral("Temperature"), Edit1},
                               {QStringLiteral("Gravity"), Edit3},
                               {QStringLiteral("World"), ComboBox1},
                               {QStringLiteral("Atmosphere"), ComboBox2},
                               {QStringLiteral("Output :"), ComboBox3},
                               {QString(), CheckBox1}}),
               buttons);
    FormCreate();
    setFixedSize(sizeHint().expandedTo(QSize(300, 0)));

    connect(OKBtn, &QPushButton::clicked, this, &TForm6::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm6::FormCreate() {
    ComboBox1->clear();
    ComboBox2->clear();
    ComboBox3->clear();
    for (const engine::ListEntry& world : engine::kWorldList) ComboBox1->addItem(listText(world));
    for (const engine::ListEntry& atmosphere : engine::kAtmosphereList) ComboBox2->addItem(listText(atmosphere));
    ComboBox1->setCurrentIndex(0);
    ComboBox2->setCurrentIndex(0);
}

void TForm6::OKBtnClick() {
    engine::AlienGeneratorParams params;
    params.temperature = Edit1->text().toLatin1().toStdString();
    params.gravity = Edit3->text().toLatin1().toStdString();
    params.worldIndex = chosenIndex(ComboBox1);
    params.atmosphereIndex = chosenIndex(ComboBox2);
    params.outputIndex = chosenIndex(ComboBox3);
    params.totalAlienDisable = CheckBox1->isChecked();
    // The log goes where the save dialog pointed, whatever the field shows.
    params.logPath = QFile::encodeName(Edit2->choice().fileName).toStdString();
    params.filterIndex = Edit2->choice().filterIndex;
    params.settingsPath = state_.settingsFile();
    lastResult.clear();
    guarded(this, [this, &params] {
        const engine::AlienGeneratorResult result = engine::runAlienGenerator(params);
        lastResult = QStringLiteral("Wrote alien log of a race made to order to %1").arg(Edit2->choice().fileName);
        showMessage(this, QString::fromStdString(result.title), QString::fromStdString(result.message));
        state_.rememberedOutputSystem = static_cast<std::uint8_t>(result.outputSystem);
    });
    accept();
}

}  // namespace orrimar::ui

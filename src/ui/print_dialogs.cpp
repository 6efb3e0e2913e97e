#include "ui/print_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "print/scene_parts.h"

namespace orrimar::ui {

namespace {

constexpr int kMostTiles = 8;

QComboBox* paperList(QWidget* parent, print::Paper chosen) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QStringLiteral("PaperList"));
    for (const print::PaperInfo& info : print::kPapers) {
        list->addItem(QString::fromLatin1(info.name.data(), static_cast<qsizetype>(info.name.size())),
                      static_cast<int>(info.paper));
        if (info.paper == chosen) list->setCurrentIndex(list->count() - 1);
    }
    return list;
}

print::Paper paperOf(const QComboBox* list) { return static_cast<print::Paper>(list->currentData().toInt()); }

QPushButton* buttons(QDialog* dialog, QFormLayout* form, const QString& ok) {
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QPushButton* button = box->button(QDialogButtonBox::Ok);
    button->setText(ok);
    button->setObjectName(QStringLiteral("OKBtn"));
    button->setDefault(true);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    form->addRow(box);
    return button;
}

}  // namespace

PosterDialog::PosterDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Poster"));
    auto* form = new QFormLayout(this);
    ViewList = new QComboBox(this);
    ViewList->setObjectName(QStringLiteral("ViewList"));
    for (const atlas::View view : {atlas::View::Top, atlas::View::Front, atlas::View::Side, atlas::View::Cube})
        ViewList->addItem(print::viewTitle(view), static_cast<int>(view));
    form->addRow(QStringLiteral("View :"), ViewList);
    PaperList = paperList(this, print::Paper::A3);
    form->addRow(QStringLiteral("Paper :"), PaperList);
    ColumnsSpin = new QSpinBox(this);
    RowsSpin = new QSpinBox(this);
    for (QSpinBox* spin : {ColumnsSpin, RowsSpin}) spin->setRange(1, kMostTiles);
    auto* tiles = new QHBoxLayout;
    tiles->addWidget(ColumnsSpin);
    tiles->addWidget(RowsSpin);
    form->addRow(QStringLiteral("Pages across, down :"), tiles);
    SlabBox = new QCheckBox(this);
    form->addRow(SlabBox);
    PlayersBox = new QCheckBox(QStringLiteral("For the players: no record ids"), this);
    form->addRow(PlayersBox);
    OKBtn = buttons(this, form, QStringLiteral("OK"));
}

void PosterDialog::preset(atlas::View view, bool slab, int slabFrom, int slabTo, const QString& slabText) {
    ViewList->setCurrentIndex(ViewList->findData(static_cast<int>(view)));
    slabFrom_ = slabFrom;
    slabTo_ = slabTo;
    SlabBox->setText(slab ? QStringLiteral("Only the %1").arg(slabText) : QStringLiteral("Only a slab"));
    SlabBox->setChecked(slab);
    SlabBox->setEnabled(slab);
}

print::PosterOptions PosterDialog::options() const {
    print::PosterOptions options;
    options.view = static_cast<atlas::View>(ViewList->currentData().toInt());
    options.paper = paperOf(PaperList);
    options.columns = ColumnsSpin->value();
    options.rows = RowsSpin->value();
    options.slab = SlabBox->isChecked();
    options.slabFrom = slabFrom_;
    options.slabTo = slabTo_;
    options.players = PlayersBox->isChecked();
    return options;
}

SheetsDialog::SheetsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("System sheets"));
    auto* form = new QFormLayout(this);
    SystemsEdit = new QLineEdit(this);
    SystemsEdit->setObjectName(QStringLiteral("SystemsEdit"));
    SystemsEdit->setToolTip(QStringLiteral("Ids or names, separated by commas"));
    form->addRow(QStringLiteral("Systems :"), SystemsEdit);
    PaperList = paperList(this, print::Paper::A4);
    form->addRow(QStringLiteral("Paper :"), PaperList);
    PlayersBox = new QCheckBox(QStringLiteral("For the players: no record ids, no race details"), this);
    form->addRow(PlayersBox);
    OKBtn = buttons(this, form, QStringLiteral("OK"));
}

QStringList SheetsDialog::systems() const {
    QStringList list;
    for (const QString& part : SystemsEdit->text().split(QLatin1Char(','))) {
        const QString entry = part.trimmed();
        if (!entry.isEmpty()) list << entry;
    }
    return list;
}

print::Paper SheetsDialog::paper() const { return paperOf(PaperList); }

ViewImageDialog::ViewImageDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Save view"));
    auto* form = new QFormLayout(this);
    WidthSpin = new QSpinBox(this);
    HeightSpin = new QSpinBox(this);
    for (QSpinBox* spin : {WidthSpin, HeightSpin}) {
        spin->setRange(64, 16384);
        spin->setSuffix(QStringLiteral(" px"));
    }
    form->addRow(QStringLiteral("Width :"), WidthSpin);
    form->addRow(QStringLiteral("Height :"), HeightSpin);
    PaperBox = new QCheckBox(QStringLiteral("Print colours (white paper, dark ink)"), this);
    form->addRow(PaperBox);
    OKBtn = buttons(this, form, QStringLiteral("Save..."));
}

QSize ViewImageDialog::size() const { return QSize(WidthSpin->value(), HeightSpin->value()); }

}  // namespace orrimar::ui

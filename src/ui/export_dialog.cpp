#include "ui/export_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "records/sector_base.h"
#include "ui/dialog_parts.h"
#include "ui/error_report.h"
#include "ui/file_field.h"
#include "ui/message_seam.h"

namespace orrimar::ui {

namespace {

// The formats in list order.
constexpr exports::ExportFormat kFormats[] = {exports::ExportFormat::Json, exports::ExportFormat::Csv,
                                              exports::ExportFormat::Atlas};

}  // namespace

QString proposedDestination(const QString& baseName, exports::ExportFormat format, bool players) {
    if (baseName.isEmpty()) return {};
    if (players && format == exports::ExportFormat::Atlas) return baseName + QStringLiteral("-players-atlas");
    switch (format) {
        case exports::ExportFormat::Json: return baseName + QStringLiteral(".json");
        case exports::ExportFormat::Csv: return baseName + QStringLiteral("-csv");
        case exports::ExportFormat::Atlas: return baseName + QStringLiteral("-atlas");
    }
    return {};
}

ExportDialog::ExportDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ExportDlg"));
    setWindowTitle(QStringLiteral("Export"));
    SectorEdit = new FileField(QStringLiteral("starlog"), 255, openSectorDialog(), this);
    FormatBox = new QComboBox(this);
    for (const exports::ExportFormat format : kFormats) {
        FormatBox->addItem(QString::fromUtf8(exports::exportFormatName(format).data(),
                                             static_cast<int>(exports::exportFormatName(format).size())));
    }
    DestinationEdit = new QLineEdit(this);
    DestinationEdit->setMinimumWidth(260);
    PlayersBox = new QCheckBox(QStringLiteral("For the players"), this);
    PlayersBox->setToolTip(
        QStringLiteral("Only the systems, races, colonies and empires the players know, in words, with the "
                       "public notes"));
    Gauge = new QProgressBar(this);
    Gauge->setRange(0, 100);
    Gauge->setValue(0);
    const OkCancel buttons = makeOkCancel(this);
    OKBtn = buttons.ok;
    CancelBtn = buttons.cancel;
    SectorEdit->setObjectName(QStringLiteral("SectorEdit"));
    FormatBox->setObjectName(QStringLiteral("FormatBox"));
    DestinationEdit->setObjectName(QStringLiteral("DestinationEdit"));
    PlayersBox->setObjectName(QStringLiteral("PlayersBox"));
    Gauge->setObjectName(QStringLiteral("Gauge"));

    auto* grid = new QGridLayout;
    grid->addWidget(makeLabel(QStringLiteral("Sector : "), SectorEdit, this), 0, 0);
    grid->addWidget(SectorEdit, 0, 1);
    grid->addWidget(makeLabel(QStringLiteral("Format : "), FormatBox, this), 1, 0);
    grid->addWidget(FormatBox, 1, 1);
    grid->addWidget(makeLabel(QStringLiteral("Destination : "), DestinationEdit, this), 2, 0);
    grid->addWidget(DestinationEdit, 2, 1);
    grid->addWidget(PlayersBox, 3, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(grid);
    left->addWidget(Gauge);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addSpacing(10);
    layout->addLayout(rightButtonColumn(buttons));
    proposeDestination();

    connect(SectorEdit, &QLineEdit::textChanged, this, [this] { proposeDestination(); });
    connect(FormatBox, &QComboBox::currentIndexChanged, this, [this] { proposeDestination(); });
    connect(PlayersBox, &QCheckBox::toggled, this, [this] { proposeDestination(); });
    connect(OKBtn, &QPushButton::clicked, this, &ExportDialog::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &ExportDialog::reject);
}

bool ExportDialog::players() const { return PlayersBox->isEnabled() && PlayersBox->isChecked(); }

exports::ExportFormat ExportDialog::format() const {
    const int index = FormatBox->currentIndex();
    return index >= 0 && index < 3 ? kFormats[index] : exports::ExportFormat::Json;
}

void ExportDialog::proposeDestination() {
    // A destination the user typed stays; one the dialog proposed follows
    // the sector and the format.
    // Only the atlas has a players' edition.
    PlayersBox->setEnabled(format() == exports::ExportFormat::Atlas);
    if (!DestinationEdit->text().isEmpty() && DestinationEdit->text() != proposed_) return;
    proposed_ = proposedDestination(SectorEdit->text(), format(), players());
    DestinationEdit->setText(proposed_);
}

void ExportDialog::reject() {
    // During an export the dialog stays until the export has stopped (and
    // removed what it had written) after its current step.
    cancelFlag_ = true;
    if (!running_) QDialog::reject();
}

void ExportDialog::OKBtnClick() {
    if (running_) return;
    const std::string sector = QFile::encodeName(SectorEdit->text()).toStdString();
    const std::string destination = QFile::encodeName(DestinationEdit->text()).toStdString();
    const exports::ExportFormat chosen = format();
    const Audience audience = players() ? Audience::Players : Audience::GameMaster;
    lastRun_.reset();
    cancelFlag_ = false;
    const bool done = guarded(this, [&] {
        const RunningGuard running(running_);
        sinceEvents_.start();
        lastRun_ = exports::ExportSector(sector, chosen, destination, this, audience);
    });
    Gauge->setValue(0);
    lastResult.clear();
    const QString what = chosen != exports::ExportFormat::Atlas ? FormatBox->currentText() + QStringLiteral(" export")
                         : audience == Audience::Players        ? QStringLiteral("players' atlas")
                                                                : QStringLiteral("atlas");
    if (done && lastRun_ && !lastRun_->cancelled) {
        showMessage(this, kApplicationTitle,
                    QStringLiteral("Wrote the %1 of %2 to %3").arg(what, SectorEdit->text(), DestinationEdit->text()));
        // The status line says as much as the command line's success line.
        const auto count = [](std::int64_t n, const QString& one, const QString& many) {
            return QString::fromStdString(groupedCount(n)) + QLatin1Char(' ') + (n == 1 ? one : many);
        };
        lastResult =
            QStringLiteral("Wrote the %1 of %2 (%3, %4) to %5")
                .arg(what, SectorEdit->text(),
                     count(lastRun_->systems, QStringLiteral("system"), QStringLiteral("systems")),
                     count(lastRun_->races, QStringLiteral("race"), QStringLiteral("races")), DestinationEdit->text());
    }
    if (lastRun_ && lastRun_->cancelled) {
        lastResult = QStringLiteral("Cancelled the %1 of %2; %3 left as it was")
                         .arg(what, SectorEdit->text(), DestinationEdit->text());
    }
    if (lastRun_ && lastRun_->cancelled) {
        QDialog::reject();
    } else {
        accept();
    }
}

void ExportDialog::setMaximum(std::int64_t steps) {
    maximum_ = steps;
    // The gauge counts in thousandths so that a million steps fit an int.
    Gauge->setRange(0, 1000);
    Gauge->setValue(0);
}

void ExportDialog::setProgress(std::int64_t stepsDone) {
    if (stepsDone < maximum_ && eventIntervalMs_ > 0 && sinceEvents_.elapsed() < eventIntervalMs_) return;
    Gauge->setValue(maximum_ > 0 ? static_cast<int>(stepsDone * 1000 / maximum_) : 1000);
    QApplication::processEvents();
    sinceEvents_.restart();
}

}  // namespace orrimar::ui

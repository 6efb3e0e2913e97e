#include "ui/error_report.h"

#include "common/errors.h"
#include <algorithm>

#include "tools/sector_repair.h"
#include "ui/message_seam.h"

namespace orrimar::ui {

namespace {

// Problems named in the question; the rest are for the sector check.
constexpr std::size_t kListedProblems = 5;

}  // namespace

QString errorTitle(const std::exception& error) {
    if (dynamic_cast<const InputError*>(&error) != nullptr) return QStringLiteral("Error");
    return kApplicationTitle;
}

void reportRuntimeError(QWidget* parent, const std::exception& error) {
    showMessage(parent, errorTitle(error), QString::fromUtf8(error.what()));
}

void offerRepair(QWidget* parent, const DamagedSectorError& error) {
    if (!error.repairable()) {
        reportRuntimeError(parent, error);
        return;
    }
    const QString base = QString::fromStdString(error.baseName());
    QString question = QStringLiteral("The sector %1 is not whole:").arg(base);
    const std::size_t listed = std::min(error.problems().size(), kListedProblems);
    for (std::size_t i = 0; i < listed; ++i)
        question += QStringLiteral("\n  ") + QString::fromStdString(error.problems()[i]);
    question += QStringLiteral("\n\nRepair it now, cutting it back to its last whole system?");
    if (!askQuestion(parent, kApplicationTitle, question)) return;
    guarded(parent, [&] {
        const SectorRepair repair = RepairSector(error.baseName());
        QString done = QStringLiteral("Repaired %1:").arg(base);
        for (const std::string& action : repair.actions)
            done += QStringLiteral("\n  ") + QString::fromStdString(action);
        done += QStringLiteral("\n\nRun the command again.");
        showMessage(parent, kApplicationTitle, done);
    });
}

}  // namespace orrimar::ui

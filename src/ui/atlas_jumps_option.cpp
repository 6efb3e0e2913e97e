#include "ui/atlas_jumps_option.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>

#include "ui/route_stop_list.h"

namespace orrimar::ui {

AtlasJumpsOption::AtlasJumpsOption(QWidget* parent) : QGroupBox(QStringLiteral("Within jumps"), parent) {
    setObjectName(QStringLiteral("JumpsOption"));
    setCheckable(true);
    setChecked(false);
    setToolTip(QStringLiteral("Only the systems a ship reaches in at most this many jumps"));
    auto* form = new QFormLayout(this);
    auto* count = new QHBoxLayout;
    JumpCountSpin = new QSpinBox(this);
    JumpCountSpin->setObjectName(QStringLiteral("JumpCountSpin"));
    JumpCountSpin->setRange(0, 100000);
    JumpCountSpin->setValue(2);
    count->addWidget(JumpCountSpin);
    count->addWidget(new QLabel(QStringLiteral("jumps of"), this));
    JumpsOfText = new QLineEdit(this);
    JumpsOfText->setObjectName(QStringLiteral("JumpsOfText"));
    JumpsOfText->setPlaceholderText(QStringLiteral("name or id; empty: the selected system"));
    count->addWidget(JumpsOfText, 1);
    form->addRow(QStringLiteral("Within:"), count);
    JumpLengthSpin = new QDoubleSpinBox(this);
    JumpLengthSpin->setObjectName(QStringLiteral("JumpLengthSpin"));
    JumpLengthSpin->setRange(0.1, 1000.0);
    JumpLengthSpin->setDecimals(1);
    JumpLengthSpin->setValue(3.0);
    JumpLengthSpin->setSuffix(QStringLiteral(" pc"));
    form->addRow(QStringLiteral("At jump:"), JumpLengthSpin);
    JumpViaList = new RouteStopList(this);
    JumpViaList->setObjectName(QStringLiteral("JumpViaList"));
    JumpViaList->setToolTip(QStringLiteral("Stop on the way only at systems that have this"));
    form->addRow(QStringLiteral("Only through:"), JumpViaList);
}

void AtlasJumpsOption::fill(AtlasSession::Query& query) const {
    if (!isChecked()) return;
    query.jumps = JumpCountSpin->value();
    query.jumpsOf = JumpsOfText->text().trimmed().toStdString();
    query.jumpParsecs = JumpLengthSpin->value();
    query.jumpVia = JumpViaList->choice();
}

}  // namespace orrimar::ui

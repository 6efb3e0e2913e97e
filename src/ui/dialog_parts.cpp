#include "ui/dialog_parts.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orrimar::ui {

QPushButton* makeButton(const QString& caption, const QString& objectName, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    return button;
}

QLabel* makeLabel(const QString& caption, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

OkCancel makeOkCancel(QDialog* dialog, const QString& okName, const QString& cancelName) {
    OkCancel buttons{makeButton(QStringLiteral("OK"), okName, dialog),
                     makeButton(QStringLiteral("Cancel"), cancelName, dialog)};
    buttons.ok->setDefault(true);
    buttons.ok->setAutoDefault(true);
    buttons.cancel->setAutoDefault(false);
    return buttons;
}

QBoxLayout* rightButtonColumn(const OkCancel& buttons) {
    auto* column = new QVBoxLayout;
    column->addWidget(buttons.ok);
    column->addWidget(buttons.cancel);
    column->addStretch();
    return column;
}

QBoxLayout* bottomButtonRow(const OkCancel& buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(buttons.ok);
    row->addWidget(buttons.cancel);
    return row;
}

QGridLayout* formGrid(QWidget* parent, std::initializer_list<FormRow> rows) {
    auto* grid = new QGridLayout;
    int row = 0;
    for (const FormRow& r : rows) {
        if (!r.caption.isEmpty()) grid->addWidget(makeLabel(r.caption, r.field, parent), row, 0);
        grid->addWidget(r.field, row, 1);
        ++row;
    }
    return grid;
}

void layOutForm(QDialog* dialog, QLayout* fields, const OkCancel& buttons) {
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(bottomButtonRow(buttons));
}

FileDialogRequest openDialog(const QString& extension, const QString& filter, const QString& initialDir) {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.defaultExtension = extension;
    request.filters = QStringList{filter};
    request.initialDir = initialDir;
    return request;
}

FileDialogRequest openSectorDialog() {
    return openDialog(QStringLiteral("sun"), QStringLiteral("Star files (*.sun)"), kDataFolder);
}

FileDialogRequest saveDialog(const QString& extension, const QStringList& filters, const QString& initialDir) {
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Save;
    request.defaultExtension = extension;
    request.filters = filters;
    request.initialDir = initialDir;
    return request;
}

}  // namespace orrimar::ui

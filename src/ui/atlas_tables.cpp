#include "ui/atlas_tables.h"

#include <QHeaderView>

namespace orrimar::ui {

QTableWidget* makeTable(const QStringList& headers, QWidget* parent) {
    auto* table = new QTableWidget(0, static_cast<int>(headers.size()), parent);
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QComboBox* makeList(const QStringList& entries, const QString& name, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->addItems(entries);
    return list;
}

namespace {

// A table cell that shows its number as formatted and sorts by its value.
class NumberItem : public QTableWidgetItem {
public:
    NumberItem(double value, int decimals) : QTableWidgetItem(QString::number(value, 'f', decimals)) {
        setData(Qt::UserRole, value);
        setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        return data(Qt::UserRole).toDouble() < other.data(Qt::UserRole).toDouble();
    }
};

}  // namespace

QTableWidgetItem* cell(double value, int decimals) { return new NumberItem(value, decimals); }

}  // namespace orrimar::ui

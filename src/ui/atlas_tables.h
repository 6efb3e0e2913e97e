// The tables and lists of the atlas window's panels, built alike.
#pragma once

#include <QComboBox>
#include <QStringList>
#include <QTableWidget>

namespace orrimar::ui {

// Read-only, whole rows selected one at a time, no row numbers.
QTableWidget* makeTable(const QStringList& headers, QWidget* parent);
QComboBox* makeList(const QStringList& entries, const QString& name, QWidget* parent);
// A table cell that shows its number as formatted and sorts by its value.
QTableWidgetItem* cell(double value, int decimals = 0);

}  // namespace orrimar::ui

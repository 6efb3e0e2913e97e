// The Atlas's print choices, each a thin dialog that only reads its
// widgets: a poster's view, paper, tiles and audience; which systems go on
// sheets; the size and colours of a saved picture of the view. The window
// opens them without blocking (open()) and acts when they are accepted.
#pragma once

#include <QDialog>

#include "atlas/camera.h"
#include "print/paper.h"
#include "print/poster.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace orrimar::ui {

class PosterDialog : public QDialog {
    Q_OBJECT
public:
    explicit PosterDialog(QWidget* parent = nullptr);

    QComboBox* ViewList;    // entries carry the atlas::View
    QComboBox* PaperList;   // entries carry the print::Paper
    QSpinBox* ColumnsSpin;  // pages across
    QSpinBox* RowsSpin;     // pages down
    QCheckBox* SlabBox;     // only the slab the Atlas shows
    QCheckBox* PlayersBox;  // no record ids
    QPushButton* OKBtn;

    // Shows the Atlas's current view and slab ("slab z 0..4"; none: the
    // whole sector).
    void preset(atlas::View view, bool slab, int slabFrom, int slabTo, const QString& slabText);
    print::PosterOptions options() const;

private:
    int slabFrom_ = 0;
    int slabTo_ = 0;
};

class SheetsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SheetsDialog(QWidget* parent = nullptr);

    QLineEdit* SystemsEdit;  // ids or names, separated by commas
    QComboBox* PaperList;
    QCheckBox* PlayersBox;
    QPushButton* OKBtn;

    // The entries typed, trimmed; empty entries left out.
    QStringList systems() const;
    print::Paper paper() const;
};

class ViewImageDialog : public QDialog {
    Q_OBJECT
public:
    explicit ViewImageDialog(QWidget* parent = nullptr);

    QSpinBox* WidthSpin;   // pixels
    QSpinBox* HeightSpin;  // pixels
    QCheckBox* PaperBox;   // the print palette: white paper, dark ink
    QPushButton* OKBtn;

    QSize size() const;
};

}  // namespace orrimar::ui

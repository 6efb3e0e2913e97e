// The three dialogs that have the engine write a log or a report: System
// Logfile, Alien Logfile and Sector Report. Each is created once and keeps
// its fields and file choices from one opening to the next.
#pragma once

#include <QDialog>

#include "ui/dialog_parts.h"

#include <cstdint>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace orrimar::ui {

class FileField;

// "System Logfile": the log of one star system.
class TBtnRightDlg1 : public QDialog, public CommandReport {
    Q_OBJECT
public:
    explicit TBtnRightDlg1(QWidget* parent = nullptr);

    FileField* SectorField;  // "Sector: "
    FileField* SaveToField;  // "Save to :"
    QLineEdit* SystemIdField;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    void OKBtnClick();
};

// "Alien Logfile": the log of one alien race in one output system.
class TBtnRightDlg2 : public QDialog, public CommandReport {
    Q_OBJECT
public:
    explicit TBtnRightDlg2(QWidget* parent = nullptr);

    FileField* FileNameField;  // "File :"
    FileField* SaveToField;    // "Save to :"
    QLineEdit* AlienIdField;
    QComboBox* OutputList;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    // Refilled by the launch pad before every opening, "Standard" selected.
    void fillOutputList();
    void OKBtnClick();
};

// "Sector Report": the summary report of a whole sector.
class TForm5 : public QDialog, public CommandReport {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);

    FileField* FileNameField;  // "File :"
    FileField* SaveToField;    // "Save to :"
    QCheckBox* SystemsBox;
    QCheckBox* AlienRacesBox;
    QCheckBox* SummaryBox;
    QCheckBox* EmpiresBox;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
    void OKBtnClick();
};

// The index of the entry chosen in an editable list: -1 when its text was
// typed over rather than chosen.
int chosenIndex(const QComboBox* list);

}  // namespace orrimar::ui

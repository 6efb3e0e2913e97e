// A notes box of the Atlas: the game master's note on one thing of the open
// sector (chosen in its "Notes on" list), whether the players may read the
// note, and whether they know the thing at all.
//
// Nothing typed is lost: the note is saved after a short pause in typing,
// when the box loses the focus, when another thing is chosen or given, and
// when the window closes (saveNow). An emptied box takes the note away. A
// write that fails shows the campaign's message and keeps the text, and the
// box stays on its thing until a save succeeds. The writes are the
// campaign's (notes.h, players_view.h); the box only reads its widgets.
#pragma once

#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

#include "campaign/players_view.h"
#include "campaign/things.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;

namespace orrimar::ui {

class AtlasNotesBox : public QWidget {
    Q_OBJECT
public:
    explicit AtlasNotesBox(const QString& name, QWidget* parent = nullptr);

    struct Subject {
        QString label;
        Thing thing;
    };
    // The sector and the things the box may be about, the first chosen;
    // what was typed is saved first. False, with the box left on its thing
    // and its text, when that save failed.
    bool setSubjects(const QString& baseName, const std::vector<Subject>& subjects);
    // Saves what was typed since the last save; false (the message shown,
    // the text kept) when it could not be written.
    bool saveNow();
    bool hasUnsaved() const { return unsaved_; }
    // The thing the text is about; nothing when the box has none.
    std::optional<Thing> subject() const { return thing_; }
    // Chooses the entry of `thing`; false when the list has none.
    bool choose(const Thing& thing);

    // The players' view: only a note the players may read is shown, and
    // read-only; their knowing is not asked.
    void setPlayersView(bool on);
    // Another program changed the campaign: the note and the mark of the
    // same thing are read again, unless text is being typed (it is saved
    // over the file's on its pause, as the game master's latest word).
    void reread();

    static constexpr int kPauseMs = 700;

    QComboBox* SubjectList;  // data: the thing's kind (Qt::UserRole) and id (Qt::UserRole + 1)
    QPlainTextEdit* Text;
    QCheckBox* PublicBox;  // the players may read the note
    QCheckBox* KnownBox;   // the players know the thing (systems, races, colonies, empires)
    QPushButton* DefaultBtn;
    QLabel* Status;
    QTimer* Pause;

signals:
    // A "known to players" mark was written.
    void marked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void chosen();
    void load();
    void mark(PlayersMark mark);

    QString base_;
    std::optional<Thing> thing_;
    bool unsaved_ = false;
    bool loading_ = false;
    bool saving_ = false;
    bool players_ = false;
};

}  // namespace orrimar::ui

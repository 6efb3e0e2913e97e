#include "ui/atlas_notes_box.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

#include "campaign/notes.h"
#include "ui/dialog_parts.h"
#include "ui/error_report.h"

namespace orrimar::ui {

namespace {

constexpr int kKindRole = Qt::UserRole;
constexpr int kIdRole = Qt::UserRole + 1;

// The players are told about systems, races, colonies and empires; planets
// and moons they know with their system.
bool markable(ThingKind kind) {
    return kind == ThingKind::System || kind == ThingKind::Race || kind == ThingKind::Colony ||
           kind == ThingKind::Empire;
}

}  // namespace

AtlasNotesBox::AtlasNotesBox(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(QStringLiteral("Notes on:"), this));
    SubjectList = new QComboBox(this);
    SubjectList->setObjectName(QStringLiteral("SubjectList"));
    head->addWidget(SubjectList, 1);
    layout->addLayout(head);
    Text = new QPlainTextEdit(this);
    Text->setObjectName(QStringLiteral("NoteText"));
    Text->setPlaceholderText(QStringLiteral("Your notes; saved as you type"));
    Text->installEventFilter(this);
    layout->addWidget(Text, 1);
    auto* row = new QHBoxLayout;
    PublicBox = new QCheckBox(QStringLiteral("Players may read it"), this);
    PublicBox->setObjectName(QStringLiteral("PublicBox"));
    PublicBox->setToolTip(QStringLiteral("Unchecked, the note is yours alone"));
    KnownBox = new QCheckBox(QStringLiteral("Known to players"), this);
    KnownBox->setObjectName(QStringLiteral("KnownBox"));
    KnownBox->setToolTip(QStringLiteral("Whether the players know of it at all"));
    DefaultBtn = makeButton(QStringLiteral("As default"), QStringLiteral("KnownDefaultBtn"), this);
    DefaultBtn->setToolTip(QStringLiteral("Forget the mark: the players know it as the sector's rule says"));
    Status = new QLabel(this);
    Status->setObjectName(QStringLiteral("NoteStatus"));
    row->addWidget(PublicBox);
    row->addWidget(KnownBox);
    row->addWidget(DefaultBtn);
    row->addWidget(Status, 1);
    layout->addLayout(row);
    Pause = new QTimer(this);
    Pause->setSingleShot(true);
    Pause->setInterval(kPauseMs);

    connect(SubjectList, &QComboBox::currentIndexChanged, this, [this] { chosen(); });
    connect(Text, &QPlainTextEdit::textChanged, this, [this] {
        if (loading_ || players_) return;
        unsaved_ = true;
        Status->clear();
        Pause->start();
    });
    connect(Pause, &QTimer::timeout, this, [this] { saveNow(); });
    connect(PublicBox, &QCheckBox::toggled, this, [this] {
        if (loading_ || players_) return;
        unsaved_ = true;
        saveNow();
    });
    connect(KnownBox, &QCheckBox::clicked, this,
            [this](bool checked) { mark(checked ? PlayersMark::Known : PlayersMark::Unknown); });
    connect(DefaultBtn, &QPushButton::clicked, this, [this] { mark(PlayersMark::Default); });
    setSubjects(QString(), {});
}

bool AtlasNotesBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text && event->type() == QEvent::FocusOut) saveNow();
    return QWidget::eventFilter(watched, event);
}

bool AtlasNotesBox::setSubjects(const QString& baseName, const std::vector<Subject>& subjects) {
    if (!saveNow()) return false;
    loading_ = true;
    SubjectList->clear();
    for (const Subject& subject : subjects) {
        SubjectList->addItem(subject.label);
        const int at = SubjectList->count() - 1;
        SubjectList->setItemData(at, static_cast<int>(subject.thing.kind), kKindRole);
        SubjectList->setItemData(at, QVariant::fromValue<qlonglong>(subject.thing.id), kIdRole);
    }
    loading_ = false;
    base_ = baseName;
    thing_.reset();
    if (!subjects.empty()) thing_ = subjects.front().thing;
    load();
    return true;
}

bool AtlasNotesBox::choose(const Thing& thing) {
    for (int i = 0; i < SubjectList->count(); ++i) {
        if (SubjectList->itemData(i, kKindRole).toInt() == static_cast<int>(thing.kind) &&
            SubjectList->itemData(i, kIdRole).toLongLong() == thing.id) {
            SubjectList->setCurrentIndex(i);
            return thing_ == thing;
        }
    }
    return false;
}

void AtlasNotesBox::chosen() {
    if (loading_) return;
    const int at = SubjectList->currentIndex();
    if (at < 0) return;
    ThingKind kind = ThingKind::Sector;
    thingKindFromNumber(SubjectList->itemData(at, kKindRole).toInt(), kind);
    const Thing wanted{kind, SubjectList->itemData(at, kIdRole).toLongLong()};
    if (thing_ == wanted) return;
    if (!saveNow()) {
        // The text belongs to the thing before: the list goes back to it.
        loading_ = true;
        if (thing_) choose(*thing_);
        loading_ = false;
        return;
    }
    thing_ = wanted;
    load();
}

bool AtlasNotesBox::saveNow() {
    Pause->stop();
    if (!unsaved_ || !thing_ || players_) return true;
    // A message box shown for a failure takes the focus, which would save again.
    if (saving_) return false;
    saving_ = true;
    const Thing thing = *thing_;
    const QString text = Text->toPlainText();
    const bool saved = guarded(this, [&] {
        if (text.trimmed().isEmpty()) {
            removeNote(base_.toStdString(), thing);
        } else {
            setNote(base_.toStdString(), thing, text.toStdString(),
                    PublicBox->isChecked() ? NoteAudience::Players : NoteAudience::Secret);
        }
    });
    saving_ = false;
    if (!saved) {
        Status->setText(QStringLiteral("Not saved"));
        return false;
    }
    unsaved_ = false;
    Status->setText(text.trimmed().isEmpty() ? QStringLiteral("No note") : QStringLiteral("Saved"));
    return true;
}

void AtlasNotesBox::setPlayersView(bool on) {
    if (on) saveNow();
    players_ = on;
    load();
}

void AtlasNotesBox::reread() {
    if (!thing_ || unsaved_ || Text->hasFocus()) return;
    // The box's own save comes back through the watch too: what already
    // shows is left alone, with its "saved" word and the cursor where it was.
    std::optional<Note> note;
    bool known = false;
    try {
        note = getNote(base_.toStdString(), *thing_);
        if (!players_ && markable(thing_->kind)) known = isKnown(base_.toStdString(), *thing_);
    } catch (const std::exception&) {
        return;  // nobody asked for this reading: the box keeps what it shows
    }
    if (players_ && note && note->audience != NoteAudience::Players) note.reset();
    const bool same = Text->toPlainText() == (note ? QString::fromStdString(note->text) : QString()) &&
                      PublicBox->isChecked() == (note && note->audience == NoteAudience::Players) &&
                      KnownBox->isChecked() == known;
    if (!same) load();
}

void AtlasNotesBox::load() {
    loading_ = true;
    unsaved_ = false;
    Status->clear();
    std::optional<Note> note;
    bool known = false;
    const bool markHere = thing_ && !players_ && markable(thing_->kind);
    const bool read = thing_ && guarded(this, [&] {
                          note = getNote(base_.toStdString(), *thing_);
                          if (markHere) known = isKnown(base_.toStdString(), *thing_);
                      });
    // The players read only what the game master let them.
    if (players_ && note && note->audience != NoteAudience::Players) note.reset();
    Text->setPlainText(note ? QString::fromStdString(note->text) : QString());
    Text->setReadOnly(players_ || !read);
    Text->setPlaceholderText(players_ ? QStringLiteral("Nothing the players may read")
                                      : QStringLiteral("Your notes; saved as you type"));
    PublicBox->setChecked(note && note->audience == NoteAudience::Players);
    PublicBox->setEnabled(read && !players_);
    KnownBox->setVisible(markHere);
    DefaultBtn->setVisible(markHere);
    KnownBox->setChecked(known);
    setEnabled(thing_.has_value());
    loading_ = false;
}

void AtlasNotesBox::mark(PlayersMark how) {
    if (!thing_ || players_) return;
    const Thing things[] = {*thing_};
    bool known = false;
    const bool done = guarded(this, [&] {
        markForPlayers(base_.toStdString(), things, how);
        known = isKnown(base_.toStdString(), *thing_);
    });
    // The box shows what the file says, written or not.
    loading_ = true;
    KnownBox->setChecked(done ? known : !KnownBox->isChecked());
    loading_ = false;
    if (done) emit marked();
}

}  // namespace orrimar::ui

// Notices that the sector a window shows was changed on disk by another
// program (a run appending to it, a rename from the command line, a merge,
// a replacement) and says so once the writing has settled.
//
// The member files and their folder are watched: a member written in place
// shows on the file, a member replaced by a new file only on the folder.
// What the watch reports is only a hint (lock files come and go beside the
// sector, and a write comes as a burst of events): after a short rest the
// members' sizes and times are compared with those last seen, and only a
// real difference is reported.
//
// The sector's campaign file (marks and notes) is watched the same way but
// reported on its own: another program revealing a system or writing a
// note changes what the window shows of the campaign, not the sector. It
// may not exist yet; the folder's watch sees it appear.
#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <vector>

class QFileSystemWatcher;
class QTimer;

namespace orrimar::ui {

class SectorWatcher : public QObject {
    Q_OBJECT
public:
    explicit SectorWatcher(QObject* parent = nullptr);

    // Watches the sector `baseName` (no extension) from now on; its files
    // as they are count as seen. An empty name watches nothing.
    void watch(const QString& baseName);
    const QString& baseName() const { return baseName_; }

    // The files as they are now count as seen: after the window's own
    // writes, which need no reading again.
    void acknowledge();

    // The reading that followed changed() failed (the sector was locked or
    // half written): changed() comes again after the retry delay. False,
    // and no retry, once the attempts are spent; a later change starts
    // them afresh.
    bool retryLater();

    // Milliseconds of rest after the last event before the files are
    // compared, and between attempts to read again.
    void setDelays(int settleMs, int retryMs);
    static constexpr int kDefaultSettleMs = 300;
    static constexpr int kDefaultRetryMs = 500;
    static constexpr int kRetries = 20;

signals:
    // The members differ from what was last seen: read the sector again.
    void changed();
    // Only the campaign file differs: read the marks and notes again.
    void campaignChanged();

private:
    struct Stamp {
        bool exists = false;
        std::int64_t size = 0;
        std::int64_t modified = 0;  // nanoseconds of the file clock
        bool operator==(const Stamp&) const = default;
    };
    std::vector<Stamp> stamps() const;
    static Stamp stampOf(const QString& path);
    QString campaignFile() const;
    void rewatch();
    void settle();

    QString baseName_;
    QFileSystemWatcher* watcher_;
    QTimer* settle_;
    QTimer* retry_;
    std::vector<Stamp> seen_;
    Stamp campaignSeen_;
    int attempts_ = 0;
};

}  // namespace orrimar::ui

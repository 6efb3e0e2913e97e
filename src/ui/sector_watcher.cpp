#include "ui/sector_watcher.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <string_view>

#include "records/sector_base.h"

namespace orrimar::ui {

namespace {

QString memberPath(const QString& baseName, std::string_view extension) {
    return baseName + QString::fromLatin1(extension.data(), static_cast<qsizetype>(extension.size()));
}

}  // namespace

SectorWatcher::SectorWatcher(QObject* parent)
    : QObject(parent), watcher_(new QFileSystemWatcher(this)), settle_(new QTimer(this)), retry_(new QTimer(this)) {
    settle_->setSingleShot(true);
    settle_->setInterval(kDefaultSettleMs);
    retry_->setSingleShot(true);
    retry_->setInterval(kDefaultRetryMs);
    // Every event restarts the rest: a run appending thousands of systems
    // is read again once, when it pauses or ends.
    const auto poke = [this] { settle_->start(); };
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, poke);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, poke);
    connect(settle_, &QTimer::timeout, this, &SectorWatcher::settle);
    connect(retry_, &QTimer::timeout, this, &SectorWatcher::changed);
}

void SectorWatcher::setDelays(int settleMs, int retryMs) {
    settle_->setInterval(settleMs);
    retry_->setInterval(retryMs);
}

void SectorWatcher::watch(const QString& baseName) {
    settle_->stop();
    retry_->stop();
    attempts_ = 0;
    baseName_ = baseName;
    rewatch();
    seen_ = stamps();
}

void SectorWatcher::acknowledge() { seen_ = stamps(); }

bool SectorWatcher::retryLater() {
    if (baseName_.isEmpty() || ++attempts_ > kRetries) return false;
    retry_->start();
    return true;
}

std::vector<SectorWatcher::Stamp> SectorWatcher::stamps() const {
    std::vector<Stamp> result;
    if (baseName_.isEmpty()) return result;
    for (const std::string_view extension : kSectorMemberExtensions) {
        const std::filesystem::path path(QFile::encodeName(memberPath(baseName_, extension)).toStdString());
        Stamp stamp;
        std::error_code ec;
        const auto size = std::filesystem::file_size(path, ec);
        if (!ec) {
            const auto modified = std::filesystem::last_write_time(path, ec);
            stamp.exists = !ec;
            stamp.size = static_cast<std::int64_t>(size);
            if (!ec) {
                stamp.modified =
                    std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count();
            }
        }
        result.push_back(stamp);
    }
    return result;
}

void SectorWatcher::rewatch() {
    if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
    if (!watcher_->directories().isEmpty()) watcher_->removePaths(watcher_->directories());
    if (baseName_.isEmpty()) return;
    QStringList paths;
    for (const std::string_view extension : kSectorMemberExtensions) {
        const QString path = memberPath(baseName_, extension);
        if (QFileInfo::exists(path)) paths << path;
    }
    paths << QFileInfo(baseName_).absolutePath();
    watcher_->addPaths(paths);
}

void SectorWatcher::settle() {
    // A member replaced by a new file left the watch with the old one.
    rewatch();
    const std::vector<Stamp> now = stamps();
    if (now == seen_) return;
    // Seen before the reading: a write during it shows as a change again.
    seen_ = now;
    attempts_ = 0;
    retry_->stop();
    emit changed();
}

}  // namespace orrimar::ui

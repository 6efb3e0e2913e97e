#include "ui/sector_watcher.h"

#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <string_view>

#include "campaign/campaign_file.h"
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
    campaignSeen_ = stampOf(campaignFile());
}

// The window's own campaign writes are acknowledged too: its boxes already
// show them.
void SectorWatcher::acknowledge() {
    seen_ = stamps();
    campaignSeen_ = stampOf(campaignFile());
}

QString SectorWatcher::campaignFile() const {
    if (baseName_.isEmpty()) return {};
    return QFile::decodeName(campaignPath(QFile::encodeName(baseName_).toStdString()).c_str());
}

bool SectorWatcher::retryLater() {
    if (baseName_.isEmpty() || ++attempts_ > kRetries) return false;
    retry_->start();
    return true;
}

SectorWatcher::Stamp SectorWatcher::stampOf(const QString& file) {
    Stamp stamp;
    if (file.isEmpty()) return stamp;
    const std::filesystem::path path(QFile::encodeName(file).toStdString());
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (ec) return stamp;
    const auto modified = std::filesystem::last_write_time(path, ec);
    stamp.exists = !ec;
    stamp.size = static_cast<std::int64_t>(size);
    if (!ec) {
        stamp.modified = std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count();
    }
    return stamp;
}

std::vector<SectorWatcher::Stamp> SectorWatcher::stamps() const {
    std::vector<Stamp> result;
    if (baseName_.isEmpty()) return result;
    for (const std::string_view extension : kSectorMemberExtensions) {
        result.push_back(stampOf(memberPath(baseName_, extension)));
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
    // SQLite writes the file in place: a change shows on it, not the folder.
    if (QFileInfo::exists(campaignFile())) paths << campaignFile();
    paths << QFileInfo(baseName_).absolutePath();
    watcher_->addPaths(paths);
}

void SectorWatcher::settle() {
    // A member replaced by a new file left the watch with the old one.
    rewatch();
    const std::vector<Stamp> now = stamps();
    const Stamp campaign = stampOf(campaignFile());
    if (now == seen_) {
        if (campaign == campaignSeen_) return;
        campaignSeen_ = campaign;
        emit campaignChanged();
        return;
    }
    // Reading the sector again reads its campaign too.
    campaignSeen_ = campaign;
    // Seen before the reading: a write during it shows as a change again.
    seen_ = now;
    attempts_ = 0;
    retry_->stop();
    emit changed();
}

}  // namespace orrimar::ui

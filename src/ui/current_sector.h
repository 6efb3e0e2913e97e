// The sector the program works on: the one last created or opened, by any
// dialog or the Atlas, and the sectors opened before it. Every dialog whose
// sector field the user has not pointed elsewhere follows it, the launch
// pad's Atlas button opens it, and File > Recent sectors lists the sectors
// it has seen (kept in orrwin.ini, see recent_sectors.h).
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace orrimar::ui {

// Whether `baseName` names a sector on disk (its star file is there): what
// a dialog needs before it takes a chosen file for a sector.
bool namesASector(const QString& baseName);

class CurrentSector : public QObject {
    Q_OBJECT
public:
    // `settingsPath`: orrwin.ini, read for the recent sectors now and
    // written at each change.
    explicit CurrentSector(QString settingsPath, QObject* parent = nullptr);

    // Absolute base name (no extension); empty before the first sector.
    const QString& baseName() const { return baseName_; }
    // The settings file given at construction (orrwin.ini); empty for none.
    const QString& settingsPath() const { return settingsPath_; }
    // Newest first, the current one included.
    const QStringList& recent() const { return recent_; }

    // `baseName` (a sector just created or opened) becomes the current one
    // and the newest recent sector.
    void set(const QString& baseName);

signals:
    void changed(const QString& baseName);

private:
    QString settingsPath_;
    QString baseName_;
    QStringList recent_;
};

}  // namespace orrimar::ui

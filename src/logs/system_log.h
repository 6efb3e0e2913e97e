// The body of a system log, for the log command and the atlas's system
// pages alike: the system's head lines, then each star with its orbit table
// and, when `full`, every body with its moons.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "campaign/notes.h"

#include "documents/document.h"
#include "reading/sector_reader.h"
#include "reading/settled_view.h"

namespace orrimar::logs {

// What a system log holds.
enum class LogDetail { OrbitTables, EveryBody };

// `settled`: the sector's settled layer when the caller holds it (the atlas
// writes many logs from one); null reads it here. `notes` likewise: the
// sector's notes (listNotes) the log's Notes section shows, each labelled
// secret or public; null reads them here.
void writeSystemLog(documents::Document& doc, reading::SectorReader& sector, std::int64_t systemId, bool full,
                    const reading::SettledView* settled = nullptr, const std::vector<Note>* notes = nullptr);

// The whole log of system `systemId` as one page. Throws InputError for an
// id outside the sector, IoError / RangeError for unreadable or damaged files.
void writeSystemLogPage(reading::SectorReader& sector, std::int32_t systemId, LogDetail detail,
                        documents::DocFormat format, std::ostream& out);

}  // namespace orrimar::logs

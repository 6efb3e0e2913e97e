// The alien log: one race of a sector described for one of the six output
// systems, written into a log the caller has opened or into a file.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "campaign/notes.h"

#include "documents/document.h"

namespace orrimar::logs {

// Race `raceId` of the sector `alienBase` (a member's extension is allowed).
// The race's note, if it has one, closes the log labelled secret or public;
// `notes` are the sector's notes (listNotes) when the caller holds them,
// null reads them here. InputError for an unknown output system or a race
// outside the file, IoError / RangeError for unreadable or damaged files or
// a failed write.
void writeRaceLog(const std::string& alienBase, std::int32_t raceId, std::uint8_t outputSystem,
                  documents::DocFormat format, std::ostream& log, const std::vector<Note>* notes = nullptr);

// The same log into the file `logPath`: written beside it and moved into
// place only when whole, so a failure leaves no half-written log.
void writeRaceLogFile(const std::string& alienBase, std::int32_t raceId, std::uint8_t outputSystem,
                      documents::DocFormat format, const std::string& logPath);

}  // namespace orrimar::logs

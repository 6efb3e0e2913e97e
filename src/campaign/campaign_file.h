// The campaign file of a sector: base name + ".campaign", one SQLite
// database beside the record files holding what the game master adds to
// the generated sector (notes, what the players know). It is made by the
// first write and never by a read: a sector nobody took notes on has none.
//
// It keeps SQLite's rollback journal rather than a write-ahead log: at rest
// it is one file that travels with the sector's other files (copied, sent,
// kept on a network share, where a write-ahead log's shared memory does not
// work), and notes are written one at a time by a person, so a log's
// readers-beside-the-writer gains nothing.
//
// The functions here take no lock: the callers (notes.h, players_view.h,
// the merger, sector creation) hold the sector's lock around them.
#pragma once

#include <memory>
#include <string>

#include "campaign/campaign_db.h"

namespace orrimar {

std::string campaignPath(const std::string& baseName);

// The campaign file opened for reading; null when the sector has none.
// A merge's carried rows still waiting beside the sector are applied first.
std::unique_ptr<CampaignDb> openCampaignForReading(const std::string& baseName);
// Opened for writing, made with its tables when missing.
std::unique_ptr<CampaignDb> openCampaignForWriting(const std::string& baseName);

// Removes the campaign file, what SQLite keeps beside it, and any merge's
// rows waiting to be carried, syncing the folder: a sector made afresh has
// none of the systems the old notes spoke of. IoError naming what could not
// be removed.
void removeCampaignFiles(const std::string& baseName);

}  // namespace orrimar

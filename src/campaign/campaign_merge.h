// A merge carries the added sector's campaign rows (notes, what the players
// know) into the main sector's campaign file, every id shifted as its
// records are, all or nothing together with the record files.
//
// The rows cannot join the main campaign file inside the sector journal:
// SQLite commits on its own, and an undo of the record files could not take
// a committed note back. So the merge writes the shifted rows beside the
// main sector as a file of their own ("alpha.cmp"), named in the sector
// journal as a file the merge made, before the journal's commit:
//
// - stopped before the commit: the undo cuts the record files back and
//   removes the carried rows with them; the campaign file never saw them;
// - after it: the rows are applied in one SQLite transaction that also
//   records the merge's token, then their file is removed. Stopped between
//   the two, the next program to read the campaign applies them; stopped
//   after the transaction but before the removal, the token says they are
//   in and the file is only removed.
#pragma once

#include <cstdint>
#include <string>

namespace orrimar {

// The carried rows' file, and the part file it is written as first, each
// as what follows the sector's base name (the journal names them so).
inline constexpr const char* kCarriedRowsSuffix = ".cmp";
inline constexpr const char* kCarriedRowsPartSuffix = ".cmq";
std::string carriedRowsPath(const std::string& baseName);
std::string carriedRowsPartPath(const std::string& baseName);

// What each kind's ids of the added sector grow by: the main sector's
// record counts before the merge.
struct CampaignOffsets {
    std::int64_t systems = 0;
    std::int64_t planets = 0;
    std::int64_t moons = 0;
    std::int64_t races = 0;
    std::int64_t colonies = 0;
    std::int64_t empires = 0;
};

// The added sector's campaign rows, shifted; empty when it has no campaign
// file or nothing in it. A note on the added sector itself joins the main
// sector's note beneath it, read by the players only when both were.
class CarriedCampaignRows {
public:
    bool empty() const { return text_.empty(); }
    const std::string& text() const { return text_; }

private:
    friend CarriedCampaignRows readCarriedCampaignRows(const std::string&, const CampaignOffsets&);
    std::string text_;
};

// Reads them (the caller holds the added sector's lock).
CarriedCampaignRows readCarriedCampaignRows(const std::string& addedBase, const CampaignOffsets& offsets);
// Writes them beside the main sector, synced, through the file seam (the
// caller holds its lock and journal, which names kCarriedRowsSuffix and
// kCarriedRowsPartSuffix as made). Nothing for empty rows.
void writeCarriedCampaignRows(const std::string& mainBase, const CarriedCampaignRows& rows);
// Applies carried rows waiting beside the sector, if any, and removes their
// file; does nothing while the sector's journal is there (the merge that
// wrote them is still running or is to be undone). The caller holds the
// sector's lock.
void finishCarriedCampaignRows(const std::string& baseName);

}  // namespace orrimar

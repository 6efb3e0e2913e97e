// The merger's name family: the added sector's name records of kinds 1 to 4
// (systems, planet and moon overrides, races) are appended to the main
// sector's name file with their values shifted like the ids they name. The
// main sector keeps its header, and so its own name; the added header and
// records of kinds this program does not know stay behind. Two systems of
// the same name may so meet in one sector; nothing renames them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "records/record_file.h"
#include "records/record_reader.h"
#include "records/records.h"
#include "tools/merge_renumbering.h"

namespace orrimar {

// A name record with its value shifted by the offset of the file its kind
// points into (kind 1 systems, 2 planets, 3 races, 4 moons). A negative
// value names nothing and is kept. RangeError when the sum leaves 32 bits.
TNameRec renumberName(TNameRec record, const MergeOffsets& offsets);

// True for the kinds the merger carries over.
bool isCarriedNameKind(std::uint8_t kind);

class MergeNames {
public:
    // Opens both name files. An added sector without a name file brings no
    // names; a main sector without one cannot take them (IoError, before
    // anything is touched). Both files must hold whole records.
    MergeNames(const std::string& mainBase, const std::string& addedBase);
    ~MergeNames();

    // Every shifted value fits (RangeError names the record otherwise).
    void check(const MergeOffsets& offsets);
    // Appends and flushes; the names go after the records they name.
    void copy(const MergeOffsets& offsets);
    void close();
    // Back to the main file's size before the merge; never throws.
    void rollBack() noexcept;

private:
    RecordReader<TNameRec> added_;
    std::string mainPath_;
    std::unique_ptr<RecordFile<TNameRec>> main_;  // only when there is something to carry
    std::int64_t mainCount_ = 0;
    std::int64_t carried_ = 0;
};

}  // namespace orrimar

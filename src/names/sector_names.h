// The names of a sector: what its name file says about its systems, worlds
// and races, and the conventional names of the worlds that carry none.
//
// The name file (base name + ".nam") is a sequence of TNameRec. Record 0 is
// the header (kind 0, value 8, the sector name). After it:
//   kind 1  value a system id  the system's name
//   kind 2  value a planet id  a name that overrides the planet's (or belt's)
//                              conventional name
//   kind 3  value a race id    the race's name
//   kind 4  value a moon id    a name that overrides the moon's conventional name
// Any other kind belongs to another program: the file keeps it, this code
// ignores it. Where several records name the same thing the last one wins,
// and a record with an empty name takes the name away (renaming appends,
// nothing is ever rewritten). Names are stored as they are in the file, in
// the Windows ANSI code page; ansiToUtf8 (common/ansi_text.h) converts.
//
// Worlds take the name of their system by convention and are not stored:
//   planets  the system name, the star letter for a second or third star,
//            then the planet's number in Roman numerals:
//            "Vessane III", "Vessane B II"
//   belts    "Vessane belt 2", "Vessane C belt 1"
//   moons    the planet's name (its override if it has one) and a lower-case
//            letter for the moon's place among the planet's moons:
//            "Vessane III b"; past the 26th, "aa", "ab" ...
// Numbering: each star counts its own orbits outward from its first. Planets
// and belts are counted separately: the star's planets are I, II, III ... in
// orbit order, skipping belts; its belts are 1, 2, 3 ... in orbit order,
// skipping planets. A belt is an orbit whose entry in the system's orbit
// table is negative. The primary's worlds carry no letter, even when the
// system has companions.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records/records.h"

namespace orrimar {

enum class NameKind : std::uint8_t {
    Header = 0,
    System = 1,
    Planet = 2,
    Race = 3,
    Moon = 4,
};

// The header's value, fixed by the sector file set.
inline constexpr std::int32_t kNameHeaderValue = 8;
// A stored name holds 1 to 50 characters.
inline constexpr std::size_t kMaxStoredNameLength = 50;

// A name record of one of our kinds.
TNameRec makeNameRecord(NameKind kind, std::int32_t value, std::string_view ansiName);

class SectorNames {
public:
    // Empty: no sector name, no names.
    SectorNames() = default;

    // Reads base name + ".nam". A missing file is a sector without names;
    // a torn last record is ignored. A file that cannot be read raises IoError.
    static SectorNames load(const std::string& baseName);
    // The same, keeping only the names `wanted` asks for: a log or a message
    // that names a few things reads the file once and keeps a few names,
    // however large the sector.
    using Wanted = std::function<bool(NameKind kind, std::int32_t value)>;
    static SectorNames load(const std::string& baseName, const Wanted& wanted);
    // The same from records already in memory, in file order.
    static SectorNames fromRecords(const std::vector<TNameRec>& records);

    // The header's sector name; nullopt when the file has no header.
    const std::optional<std::string>& sectorName() const { return sectorName_; }

    // The stored name of a system, race, or the override of a planet or moon;
    // nullopt when none is stored (or the last record took it away).
    std::optional<std::string> system(std::int64_t id) const { return find(NameKind::System, id); }
    std::optional<std::string> race(std::int64_t id) const { return find(NameKind::Race, id); }
    std::optional<std::string> planetOverride(std::int64_t id) const { return find(NameKind::Planet, id); }
    std::optional<std::string> moonOverride(std::int64_t id) const { return find(NameKind::Moon, id); }
    std::optional<std::string> find(NameKind kind, std::int64_t id) const;

    // True when no system, world or race carries a name (the header aside).
    bool empty() const;
    // Names in force of one kind.
    std::size_t count(NameKind kind) const;
    // Characters of the longest name in force of one kind (0 for none): the
    // code page holds one character a byte, so this is its width in a table.
    std::size_t longest(NameKind kind) const;
    // Visits (id, name) of one kind in ascending id order.
    template <typename Visit>
    void forEach(NameKind kind, Visit visit) const {
        const Table* t = table(kind);
        if (t == nullptr) return;
        for (const Entry& e : t->entries) visit(static_cast<std::int64_t>(e.id), nameOf(e));
    }
    // Records of kinds this program does not know, read and ignored.
    std::int64_t foreignRecords() const { return foreignRecords_; }

private:
    // One name in force: its id and where its characters sit in the pool.
    // Twelve bytes and the characters themselves: memory follows the names
    // actually stored, not the size of the sector.
    struct Entry {
        std::int32_t id;
        std::uint32_t offset;
        std::uint32_t length;
    };
    struct Table {
        std::vector<Entry> entries;  // sorted by id once loading ends
    };

    void add(const TNameRec& record);
    void finish();
    const Table* table(NameKind kind) const;
    std::string nameOf(const Entry& e) const { return pool_.substr(e.offset, e.length); }

    std::optional<std::string> sectorName_;
    Table tables_[4];  // kinds 1..4
    std::string pool_;
    std::int64_t foreignRecords_ = 0;
};

// ------------------------------------------------------ conventional names

// "I", "II", ... for 1..3999; an empty text outside.
std::string romanNumeral(int number);
// "a".."z", "aa", "ab" ... for the 0-based position of a moon.
std::string moonLetters(int position);

// Where one planet record sits in its system, from the system record.
struct WorldPlace {
    int star = 0;       // 1..3
    int orbit = 0;      // 1-based orbit of that star
    bool belt = false;  // the orbit table marks the orbit as a belt
    int number = 0;     // the planet's number among the star's planets, or the belt's among its belts
};
// nullopt when the planet id lies in none of the system's stars' ranges.
std::optional<WorldPlace> worldPlace(const TSystemRec& system, std::int64_t planetId);

// The conventional name of a world at `place` of a system called `systemName`.
std::string conventionalWorldName(std::string_view systemName, const WorldPlace& place);
// The conventional name of the moon at `position` (0-based) of a planet called `planetName`.
std::string conventionalMoonName(std::string_view planetName, int position);

// Names every body of one system: the single piece of code that logs,
// reports, exports and the atlas use, so that they all agree. Overrides win
// over conventions; a system without a name gives its unnamed worlds no
// conventional name either (nullopt), although an override still shows.
class SystemNamer {
public:
    SystemNamer(const SectorNames& names, std::int64_t systemId, const TSystemRec& system);

    const std::optional<std::string>& system() const { return systemName_; }
    // A planet or belt of this system, by planet id.
    std::optional<std::string> planet(std::int64_t planetId) const;
    // A moon of this system: its planet's id, the planet's first moon id and
    // the moon's id (moons of a planet are consecutive from the first).
    std::optional<std::string> moon(std::int64_t planetId, std::int64_t firstMoonId, std::int64_t moonId) const;

private:
    const SectorNames& names_;
    const TSystemRec& record_;
    std::optional<std::string> systemName_;
};

// "Vessane (12)" when the thing has a name, "12" when it has none: how a
// name stands beside an id in messages and logs.
std::string withId(const std::optional<std::string>& name, std::int64_t id);

}  // namespace orrimar

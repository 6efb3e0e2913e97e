// A hand-made sector for the editors' tests, with the worlds the tests
// settle picked out of it: two planets of one system, a moon of a third
// planet, and its races.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "names/sector_names.h"
#include "records/colony_codes.h"
#include "settling/field_error.h"
#include "settling/settled_layer.h"
#include "support/hand_made_sector.h"

namespace orrimar::testing {

// The files that differ between two snapshots, by name; empty when none
// does (whole snapshots are too long to print).
inline std::string changedFiles(const std::map<std::string, std::string>& a,
                                const std::map<std::string, std::string>& b) {
    std::string out;
    for (const auto& [file, bytes] : a) {
        const auto other = b.find(file);
        if (other == b.end())
            out += " " + fs::path(file).filename().string() + " (gone)";
        else if (other->second != bytes)
            out += " " + fs::path(file).filename().string();
    }
    for (const auto& [file, bytes] : b) {
        if (!a.contains(file)) out += " " + fs::path(file).filename().string() + " (new)";
    }
    return out;
}

// Runs `edit`, which must be refused with a FieldError naming `field` (and
// holding `words`, when given), and checks that no file of `dir` changed.
template <typename Edit>
void expectFieldRefused(const fs::path& dir, Edit edit, const std::string& field, const std::string& words = {}) {
    const auto before = snapshot(dir);
    try {
        edit();
        ADD_FAILURE() << "not refused; expected a problem with " << field;
    } catch (const FieldError& e) {
        EXPECT_EQ(e.field(), field) << e.what();
        if (!words.empty()) {
            EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
        }
    }
    EXPECT_EQ(changedFiles(before, snapshot(dir)), "") << field;
}

struct EditSector {
    fs::path dir;
    std::string base;
    SectorContent content;
    std::int64_t systemA = -1;  // a system with two planets
    std::int64_t planetA1 = -1;
    std::int64_t planetA2 = -1;
    std::int64_t moonB = -1;  // a moon of a planet outside system A
    std::int64_t systemOfMoonB = -1;

    explicit EditSector(const std::string& folder) {
        dir = freshTestDir(folder);
        base = (dir / "alpha").string();
        content = soundSector(8, 0);
        giveValidCodes(content);
        // The fixture's planets are not colonised until a colony says so.
        for (TPlanetRec& p : content.planets) setColonisingRace(p, kNoRace);
        std::map<std::int64_t, std::vector<std::int64_t>> planetsOf;
        for (std::size_t i = 0; i < content.planets.size(); ++i) {
            const TPlanetRec& p = content.planets[i];
            if (p.orbitRadius > 0 && p.worldType != 15) planetsOf[p.systemId].push_back(static_cast<std::int64_t>(i));
        }
        for (const auto& [system, planets] : planetsOf) {
            if (planets.size() >= 2 && systemA < 0) {
                systemA = system;
                planetA1 = planets[0];
                planetA2 = planets[1];
            }
        }
        for (std::size_t m = 0; m < content.moons.size(); ++m) {
            const std::int64_t system = content.planets[static_cast<std::size_t>(content.moons[m].planetId)].systemId;
            if (system != systemA) {
                moonB = static_cast<std::int64_t>(m);
                systemOfMoonB = system;
                break;
            }
        }
        writeSector(base, content);
    }

    std::vector<TPlanetRec> planets() const { return readRecords<TPlanetRec>(base + ".pln"); }
    SettledLayer layer() const { return ReadSettledLayer(base); }
    std::int64_t races() const { return static_cast<std::int64_t>(content.aliens.size()); }
    // Appends name records (kind, id, name) to the name file.
    void name(NameKind kind, std::int32_t id, const std::string& text) const {
        auto records = readRecords<TNameRec>(base + ".nam");
        records.push_back(makeNameRecord(kind, id, text));
        writeRecords(base + ".nam", records);
    }
};

}  // namespace orrimar::testing

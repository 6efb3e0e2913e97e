// Hand-made sectors for the tests of the tools, the command line, settling
// and campaigns: record files written from records
// built in the test, snapshots of whole folders to prove that a refused
// operation changed nothing.
#pragma once

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "records/record_codec.h"
#include "records/record_file.h"
#include "records/records.h"
#include "support/file_text.h"
#include "support/record_bytes.h"
#include "support/test_dir.h"

namespace orrimar::testing {

namespace fs = std::filesystem;

// A fresh, empty folder for one test.
inline fs::path freshDir(const std::string& name) { return freshTestDir("tools/" + name); }

template <typename T>
void writeRecords(const std::string& path, const std::vector<T>& records) {
    RecordFile<T> file(path, RawRecordFile::Mode::Create);
    for (const T& r : records) file.append(r);
    file.close();
}

template <typename T>
std::vector<T> readRecords(const std::string& path) {
    RecordFile<T> file(path, RawRecordFile::Mode::ReadOnly);
    std::vector<T> records;
    for (std::int64_t i = 0; i < file.count(); ++i) records.push_back(file.read(i));
    return records;
}

struct SectorContent {
    std::vector<TSystemRec> systems;
    std::vector<TPlanetRec> planets;
    std::vector<TMoonRec> moons;
    std::vector<TAlienRec> aliens;
    std::vector<TColonyRec> colonies;
    std::string comments;
};

// Writes the nine files of a sector: the name file with its header record,
// empty control and empire files.
inline void writeSector(const std::string& base, const SectorContent& content) {
    writeRecords(base + ".sun", content.systems);
    writeRecords(base + ".pln", content.planets);
    writeRecords(base + ".mon", content.moons);
    writeRecords(base + ".aln", content.aliens);
    writeRecords(base + ".col", content.colonies);
    writeRecords<TConRec>(base + ".con", {});
    writeRecords<TEmpireRec>(base + ".emp", {});
    TNameRec header;
    header.value = 8;
    header.name.assign("hand made");
    writeRecords(base + ".nam", std::vector<TNameRec>{header});
    writeFileBytes(base + ".cmt", content.comments);
}

constexpr std::uint8_t kColonised = 8;  // world flags bit 4

// Codes from the tables where a hand-made record left them 0, so that the
// validating readers (and the merger) take it: a Terran world with
// breathable-class air and star kind 5 for every present star.
inline void giveValidCodes(TPlanetRec& p) {
    if (p.worldType == 0) p.worldType = 10;
    if (p.atmosphereClass == 0) p.atmosphereClass = 3;
    if (p.composition == 0) p.composition = 1;
}
inline void giveValidCodes(TMoonRec& m) {
    if (m.worldType == 0) m.worldType = 10;
    if (m.atmosphereClass == 0) m.atmosphereClass = 6;
    if (m.composition == 0) m.composition = 1;
}
inline void giveValidCodes(TSystemRec& s) {
    for (std::size_t star = 0; star < s.starCount && star < 3; ++star) {
        if (s.starKind[star] == 0) s.starKind[star] = 5;
    }
}
inline void giveValidCodes(SectorContent& s) {
    for (auto& r : s.systems) giveValidCodes(r);
    for (auto& r : s.planets) giveValidCodes(r);
    for (auto& r : s.moons) giveValidCodes(r);
}

// A sound sector built by hand, linked as generation links it: one to
// three stars per system with consecutive planet ranges, a belt on a
// negative orbit entry, moons in planet order, native races named both
// ways, colonising and system race ids that point at existing races.
inline SectorContent soundSector(int systemCount, std::int16_t x0) {
    SectorContent s;
    for (int sysId = 0; sysId < systemCount; ++sysId) {
        TSystemRec sys;
        sys.starCount = static_cast<std::uint8_t>(1 + sysId % 3);
        sys.x = static_cast<std::int16_t>(x0 + sysId);
        for (std::size_t star = 0; star < 3; ++star) {
            sys.firstPlanetId[star] = static_cast<std::int32_t>(s.planets.size());
            if (star >= sys.starCount) continue;
            sys.starKind[star] = static_cast<std::uint8_t>(1 + star);
            const int count = static_cast<int>((sysId + star) % 4);
            sys.planetCount[star] = static_cast<std::uint8_t>(count);
            for (int j = 0; j < count; ++j) {
                const auto radius = static_cast<std::int16_t>(5 * (j + 1));
                const bool belt = j == 2;
                sys.orbit[static_cast<std::size_t>(j)][star] = belt ? static_cast<std::int16_t>(-radius) : radius;
                TPlanetRec p;
                p.systemId = sysId;
                p.orbitRadius = radius;
                p.worldType = belt ? 15 : 10;
                p.atmosphereClass = belt ? 6 : 3;
                p.composition = 1;  // no air: the readers refuse code 0
                const auto planetId = static_cast<std::int32_t>(s.planets.size());
                if (!belt) {
                    p.moonCount = static_cast<std::uint8_t>(j % 3);
                    p.firstMoonId = static_cast<std::int32_t>(s.moons.size());
                    for (int m = 0; m < p.moonCount; ++m) {
                        TMoonRec moon;
                        moon.planetId = planetId;
                        moon.worldType = 10;
                        moon.atmosphereClass = 6;
                        moon.composition = 1;
                        s.moons.push_back(moon);
                    }
                }
                if (!belt && j == 1) {
                    markNativeRace(p);
                    p.nativeRaceId = static_cast<std::int32_t>(s.aliens.size());
                    TAlienRec race;
                    race.worldId = planetId;
                    s.aliens.push_back(race);
                }
                if (j == 0 && !s.aliens.empty()) {
                    p.worldFlags = kColonised;
                    p.colonisingRaceId = static_cast<std::int16_t>(s.aliens.size() - 1);
                    sys.systemRaceId = static_cast<std::uint16_t>(s.aliens.size() - 1);
                }
                s.planets.push_back(p);
            }
        }
        s.systems.push_back(sys);
    }
    return s;
}

// Every regular file below `dir` with its bytes (devices and dangling links
// are left out).
inline std::map<std::string, std::string> snapshot(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (fs::is_regular_file(entry.path())) files[entry.path().string()] = fileBytes(entry.path());
    }
    return files;
}

}  // namespace orrimar::testing

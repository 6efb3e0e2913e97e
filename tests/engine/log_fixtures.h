// A small hand-made sector for the log and report tests, and a strict check
// that an HTML page is well-formed.
#pragma once

#include <filesystem>
#include "test_tmp.h"
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/bit_flags.h"
#include "records/record_file.h"
#include "records/records.h"
#include "records/sector_files.h"

namespace orrimar::logtest {

inline std::string testDir(const std::string& name) { return testing::freshTestDir(name).string(); }

inline std::string readFile(const std::string& path) { return testing::fileBytes(path); }

// System 0: one G2 V star (mass 1, luminosity 1) at (3, -4, 7), age 46, with
//   planet 0, a Terran world at 1.0 AU with one moon (its twin, moon 0) and
//   a native race (race 0); planet 1, a Stony belt at 2.5 AU; planet 2, a
//   Gas Giant at 5.2 AU with an ordinary moon (moon 1) and a ring (moon 2).
// System 1: a K0 V + M4 V pair 4.0 AU apart, luminosity 1 each; star B has
//   planet 3, a Rock.
// Colonies: race 0 owns planet 0; an independent base on moon 1. Two
// control records, no empire record.
struct FixtureSector {
    std::string base;
    TSystemRec single;
    TSystemRec binary;
    TPlanetRec terran;
    TPlanetRec belt;
    TPlanetRec giant;
    TPlanetRec rock;
    TMoonRec twin;
    TMoonRec moon;
    TMoonRec ring;
    TAlienRec race;
};

inline FixtureSector makeFixtureSector(const std::string& dir, const std::string& sectorName = "Fixture Reach") {
    FixtureSector f;
    f.base = dir + "/fix";
    auto files = SectorFiles::create(f.base, sectorName);

    f.terran.systemId = 0;
    f.terran.nativeRaceId = 0;
    f.terran.firstMoonId = 0;
    f.terran.atmosphereClass = 3;
    f.terran.worldType = 10;
    f.terran.surfaceClass = 5;
    f.terran.composition = 2;
    f.terran.retainedWeight = 14;
    f.terran.featureRating = 3;
    f.terran.axialTilt = 23;
    f.terran.temperature = 15;
    f.terran.moonCount = 1;
    f.terran.waterCover = 70;
    f.terran.iceCover = 5;
    f.terran.cloudCover = 40;
    f.terran.albedo = 30;
    f.terran.rotation = 24;
    f.terran.diameter = 12756;
    f.terran.density = 10;
    f.terran.pressure = 1.0F;
    f.terran.eccentricity = 17;
    f.terran.orbitRadius = 10;
    f.terran.resources = {45, 12, 3, 20, 5};
    setBit(f.terran.worldFlags, 2);
    setBit(f.terran.features[2], 3);  // native race
    setBit(f.terran.features[1], 7);  // feature rating under 5
    setBit(f.terran.features[3], 1);  // twin

    f.twin.planetId = 0;
    f.twin.atmosphereClass = 3;
    f.twin.worldType = 10;
    f.twin.surfaceClass = 5;
    f.twin.composition = 2;
    f.twin.temperature = 15;
    f.twin.waterCover = 70;
    f.twin.iceCover = 5;
    f.twin.cloudCover = 40;
    f.twin.albedo = 30;
    f.twin.diameter = 12756;
    f.twin.density = 10;
    f.twin.pressure = 1.0F;
    f.twin.distance = 384;
    f.twin.resources = {44, 11, 2, 19, 4};

    f.belt.systemId = 0;
    f.belt.atmosphereClass = 6;
    f.belt.worldType = 16;
    f.belt.surfaceClass = 1;
    f.belt.composition = 1;
    f.belt.axialTilt = 4;
    f.belt.temperature = -80;
    f.belt.albedo = 10;
    f.belt.diameter = 5;
    f.belt.density = 6;
    f.belt.orbitRadius = 25;
    f.belt.resources = {30, 8, 1, 9, 2};

    f.giant.systemId = 0;
    f.giant.firstMoonId = 1;
    f.giant.atmosphereClass = 1;
    f.giant.worldType = 3;
    f.giant.surfaceClass = 4;
    f.giant.composition = 6;
    f.giant.retainedWeight = 1;
    f.giant.temperature = -150;
    f.giant.moonCount = 2;
    f.giant.cloudCover = 100;
    f.giant.albedo = 52;
    f.giant.rotation = 10;
    f.giant.diameter = 142984;
    f.giant.density = 2;
    f.giant.pressure = 900.0F;
    f.giant.orbitRadius = 52;
    setBit(f.giant.worldFlags, 1);

    f.moon.planetId = 2;
    f.moon.atmosphereClass = 6;
    f.moon.worldType = 1;
    f.moon.surfaceClass = 3;
    f.moon.composition = 1;
    f.moon.temperature = -170;
    f.moon.iceCover = 90;
    f.moon.albedo = 60;
    f.moon.diameter = 3122;
    f.moon.density = 3;
    f.moon.distance = 671;
    f.moon.resources = {10, 2, 1, 4, 1};
    setBit(f.moon.moonFlags, 1);

    f.ring.planetId = 2;
    f.ring.atmosphereClass = 6;
    f.ring.worldType = 19;
    f.ring.surfaceClass = 3;
    f.ring.composition = 1;
    f.ring.temperature = -160;
    f.ring.iceCover = 30;
    f.ring.albedo = 50;
    f.ring.density = 4;
    f.ring.distance = 286;

    f.rock.systemId = 1;
    f.rock.atmosphereClass = 6;
    f.rock.worldType = 2;
    f.rock.surfaceClass = 2;
    f.rock.composition = 1;
    f.rock.retainedWeight = 121;
    f.rock.temperature = 120;
    f.rock.rotation = 300;
    f.rock.diameter = 4000;
    f.rock.density = 9;
    f.rock.orbitRadius = 3;
    f.rock.resources = {50, 20, 5, 10, 3};

    f.race.worldId = 0;
    f.race.habitat = 1;
    f.race.bodyForm = 1;
    f.race.subtype = 1;
    f.race.techLevel = 7;
    f.race.spatialAge = 40;
    f.race.mass = 80;
    f.race.height = 170;

    f.single.starKind = {5, 0, 0};
    f.single.spectralDigit = {2, 0, 0};
    f.single.luminosity = {1.0F, 0.0F, 0.0F};
    f.single.mass = {1.0F, 0.0F, 0.0F};
    f.single.systemAge = 46;
    f.single.starCount = 1;
    f.single.planetCount = {3, 0, 0};
    f.single.firstPlanetId = {0, 3, 3};
    f.single.orbit[0][0] = 10;
    f.single.orbit[1][0] = -25;
    f.single.orbit[2][0] = 52;
    f.single.x = 3;
    f.single.y = -4;
    f.single.z = 7;

    f.binary.starKind = {6, 7, 0};
    f.binary.spectralDigit = {0, 4, 0};
    f.binary.luminosity = {1.0F, 1.0F, 0.0F};
    f.binary.mass = {0.82F, 0.372F, 0.0F};
    f.binary.systemAge = 30;
    f.binary.separation = {40, 0};
    f.binary.starCount = 2;
    f.binary.planetCount = {0, 1, 0};
    f.binary.firstPlanetId = {3, 3, 4};
    f.binary.orbit[0][1] = 3;
    f.binary.x = -2;
    f.binary.y = 5;
    f.binary.z = 0;

    files->beginSystem();
    files->aliens().append(f.race);
    files->moons().append(f.twin);
    files->moons().append(f.moon);
    files->moons().append(f.ring);
    files->planets().append(f.terran);
    files->planets().append(f.belt);
    files->planets().append(f.giant);
    files->planets().append(f.rock);
    files->systems().append(f.single);
    files->systems().append(f.binary);
    files->commitSystem();
    files->close();

    RecordFile<TColonyRec> colonies(sectorPath(f.base, ".col"), RawRecordFile::Mode::Create);
    TColonyRec owned;
    owned.worldId = 0;
    owned.race = 0;
    owned.allegiance = 0;
    owned.kind = 1;
    owned.populationCode = 35;  // 60 million
    owned.colonyType = 8;
    owned.starport = 2;
    colonies.append(owned);
    TColonyRec base;
    base.worldId = 1;
    base.race = 0;
    base.allegiance = 65535;
    base.kind = 2;
    base.populationCode = 0;  // 10 thousand
    base.colonyType = 4;
    base.starport = 4;
    colonies.append(base);
    colonies.close();
    RecordFile<TConRec> control(sectorPath(f.base, ".con"), RawRecordFile::Mode::Create);
    control.append(TConRec{});
    control.append(TConRec{});
    control.close();
    return f;
}

// An empty sector: every file present, no record but the name header.
inline std::string makeEmptySector(const std::string& dir) {
    const std::string base = dir + "/empty";
    auto files = SectorFiles::create(base, "Empty Deep");
    files->close();
    return base;
}

// A strict well-formedness check of an HTML page written as XHTML: a
// doctype, then elements that nest and close properly (void elements
// self-closed), attribute values quoted, and text and attribute values with
// no raw '<' and no '&' outside an entity or a CDATA section. Returns "" or the first fault.
inline std::string checkWellFormed(const std::string& page) {
    std::vector<std::string> open;
    std::size_t i = 0;
    const auto entityOk = [&](std::size_t at) {
        const std::size_t end = page.find(';', at);
        if (end == std::string::npos || end - at > 8) return false;
        const std::string entity = page.substr(at + 1, end - at - 1);
        if (entity == "amp" || entity == "lt" || entity == "gt" || entity == "quot" || entity == "apos") return true;
        if (entity.size() > 1 && entity[0] == '#') {
            for (std::size_t k = 1; k < entity.size(); ++k) {
                if (entity[k] < '0' || entity[k] > '9') return false;
            }
            return true;
        }
        return false;
    };
    const std::string doctype = "<!DOCTYPE html>";
    if (page.compare(0, doctype.size(), doctype) != 0) return "no doctype";
    i = doctype.size();
    bool seenRoot = false;
    while (i < page.size()) {
        const char c = page[i];
        if (c == '&') {
            if (!entityOk(i)) return "bad entity at " + std::to_string(i);
            ++i;
            continue;
        }
        if (c == '>') return "stray '>' at " + std::to_string(i);
        if (c != '<') {
            if (open.empty() && c != '\r' && c != '\n' && c != ' ')
                return "text outside the root at " + std::to_string(i);
            ++i;
            continue;
        }
        // A CDATA section (a script's body) is text, whatever it holds,
        // up to the first "]]>".
        const std::string cdata = "<![CDATA[";
        if (page.compare(i, cdata.size(), cdata) == 0) {
            if (open.empty()) return "CDATA outside the root at " + std::to_string(i);
            const std::size_t end = page.find("]]>", i + cdata.size());
            if (end == std::string::npos) return "unclosed CDATA section at " + std::to_string(i);
            i = end + 3;
            continue;
        }
        const std::size_t end = page.find('>', i);
        if (end == std::string::npos) return "unclosed tag at " + std::to_string(i);
        std::string tag = page.substr(i + 1, end - i - 1);
        i = end + 1;
        if (tag.empty()) return "empty tag";
        if (tag[0] == '/') {
            const std::string name = tag.substr(1);
            if (open.empty() || open.back() != name) {
                return "</" + name + "> closes <" + (open.empty() ? std::string("nothing") : open.back()) + ">";
            }
            open.pop_back();
            continue;
        }
        const bool selfClosed = tag.back() == '/';
        if (selfClosed) tag.pop_back();
        const std::size_t nameEnd = tag.find_first_of(" \r\n\t");
        const std::string name = tag.substr(0, nameEnd);
        if (name.empty()) return "nameless tag";
        // Attributes: name="value" pairs with no '<' and only entity '&'.
        std::size_t a = nameEnd == std::string::npos ? tag.size() : nameEnd;
        while (a < tag.size()) {
            while (a < tag.size() && (tag[a] == ' ' || tag[a] == '\r' || tag[a] == '\n')) ++a;
            if (a >= tag.size()) break;
            const std::size_t eq = tag.find('=', a);
            if (eq == std::string::npos || eq + 1 >= tag.size() || tag[eq + 1] != '"')
                return "unquoted attribute in <" + name + ">";
            const std::size_t close = tag.find('"', eq + 2);
            if (close == std::string::npos) return "unterminated attribute in <" + name + ">";
            const std::string value = tag.substr(eq + 2, close - eq - 2);
            if (value.find('<') != std::string::npos) return "'<' in an attribute of <" + name + ">";
            a = close + 1;
        }
        if (open.empty() && seenRoot) return "second root element <" + name + ">";
        seenRoot = true;
        if (!selfClosed) open.push_back(name);
    }
    if (!open.empty()) return "<" + open.back() + "> never closed";
    return "";
}

}  // namespace orrimar::logtest

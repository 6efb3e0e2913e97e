// Writes the seed corpora of the fuzz targets from small seeded sectors:
//   make_corpus OUTDIR
// makes OUTDIR/<target>/ for every target (check, starlog, alienlog, report,
// colonies, export, merge, settings, cli), each file one input. The sectors are
// generated afresh, so the corpora follow the record layouts as they change
// and nothing binary is kept in the repository.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/errors.h"
#include "fuzz_support.h"
#include "generation/create_sector.h"
#include "records/record_codec.h"
#include "records/records.h"

using namespace orrimar;
namespace fs = std::filesystem;

namespace {

struct Made {
    std::string base;
    CreateSectorResult result;
};

std::string params(std::uint8_t p0, std::uint8_t p1 = 0, std::uint8_t p2 = 0, std::uint8_t p3 = 0) {
    return std::string{static_cast<char>(p0), static_cast<char>(p1), static_cast<char>(p2), static_cast<char>(p3)};
}

template <typename T>
std::string recordBytes(const T& record) {
    unsigned char bytes[sizeof(T)];
    encodeRecord(record, bytes);
    return std::string(reinterpret_cast<const char*>(bytes), sizeof(T));
}

// A few colonies, control entries and an empire over the sector's own
// worlds, so the colonies report has something to follow (generation leaves
// those members empty).
void addColonies(const Made& made) {
    std::string colonies;
    for (std::int64_t i = 0; i < 4 && i < made.result.planets; ++i) {
        TColonyRec colony;
        colony.worldId = static_cast<std::int32_t>(i);
        colony.race = static_cast<std::uint16_t>(i % 2);
        colony.allegiance = i == 3 ? 65535 : static_cast<std::uint16_t>(i % 2);
        colony.kind = 1;
        colony.populationCode = static_cast<std::uint8_t>(10 + 15 * i);
        colony.colonyType = static_cast<std::uint8_t>(1 + 3 * i);
        colony.starport = static_cast<std::uint8_t>(1 + i);
        colony.gnp = 1200;
        colony.facilities = {0x5a, 0x01};
        colonies += recordBytes(colony);
    }
    if (made.result.moons > 0) {
        TColonyRec base;
        base.worldId = 0;
        base.kind = 0;
        base.populationCode = 3;
        base.colonyType = 2;
        base.starport = 1;
        colonies += recordBytes(base);
    }
    fuzz::writeFile(made.base + ".col", colonies);
    // Race 0 controls system 0 and rules from it.
    const TConRec control{0, 0};
    fuzz::writeFile(made.base + ".con", recordBytes(control));
    TEmpireRec empire;
    empire.race = 0;
    empire.colour = {200, 40, 40};
    empire.capitalSystemId = 0;
    empire.name.assign("Corpus Empire");
    fuzz::writeFile(made.base + ".emp", recordBytes(empire));
}

void put(const fs::path& dir, int& number, const std::string& bytes) {
    fs::create_directories(dir);
    char name[32];
    std::snprintf(name, sizeof name, "seed-%03d", number++);
    fuzz::writeFile((dir / name).string(), bytes);
}

std::string joined(const std::vector<std::string>& args) {
    std::string out;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i > 0) out += '\0';
        out += args[i];
    }
    return out;
}

const char* const kSettings[] = {
    "[Stellar Probabilities]\r\nPheno=1\r\nMisc=5\r\nA_II=9\r\nM_III=20\r\nF_IV=30\r\nF_V=115\r\nG_V=250\r\nK_V=260\r\n"
    "M_V=260\r\nF_VII=50\r\n\r\n[Alien Probabilities]\r\nHuman=20\r\nAnimal=30\r\nReptile=15\r\nInsect=15\r\n"
    "Misc=15\r\nExotic=5\r\n",
    ("\xEF\xBB\xBF[alien probabilities]\nhuman = $14\nANIMAL=0x1e\n; "
     "comment\nReptile=-15\n[Settings]\nDataFolder=data\n"),
    "[Stellar Probabilities]\nPheno=65535\nMisc=1\n[Stellar Probabilities]\nPheno=2\n",
    "[Alien Probabilities]\nHuman=300\nAnimal=\nReptile=abc\n[Orrimar Fuzz]\nWritten=1\n",
    "no section=1\n[]\n=value\n[Broken\nkey==x\n",
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_corpus OUTDIR\n");
        return 2;
    }
    const fs::path out = argv[1];
    const fs::path work = out / ".sectors";
    fs::remove_all(work);
    fs::create_directories(work);

    std::vector<Made> sectors;
    try {
        for (std::uint64_t seed = 1; seed <= 16; ++seed) {
            CreateSectorParams p;
            p.baseName = (work / ("s" + std::to_string(seed))).string();
            p.sectorName = "Seed " + std::to_string(seed);
            // Edges of 2 and 3 parsecs: a few systems each, so an input
            // stays small and the readers' every path is a few records away
            // (the fuzzer's speed falls with the size of its inputs).
            p.lastIndex = static_cast<std::int32_t>(1 + seed % 2);
            p.flat = seed % 4 == 0;
            p.density = static_cast<std::uint8_t>(p.flat ? 75 : 15 + 5 * (seed % 4));
            p.names = seed % 3 != 0;
            p.seed = seed;
            p.settingsPath = (work / "no-settings.ini").string();
            Made made{p.baseName, CreateSector(p)};
            if (seed % 2 == 0) addColonies(made);
            sectors.push_back(made);
        }
    } catch (const OrrError& e) {
        std::fprintf(stderr, "make_corpus: %s\n", e.what());
        return 1;
    }

    int n = 0;
    for (const Made& m : sectors) {
        const std::string framed = fuzz::encodeSector(m.base);
        const auto last = static_cast<std::uint8_t>(m.result.systems > 0 ? m.result.systems - 1 : 0);
        put(out / "check", n, params(0) + framed);
        put(out / "check", n, params(1) + framed);
        put(out / "starlog", n, params(0, 0) + framed);
        put(out / "starlog", n, params(1, last) + framed);
        for (std::uint8_t race = 0; race < 3 && race < m.result.races; ++race) {
            put(out / "alienlog", n, params(race, race, 0, race) + framed);
        }
        put(out / "report", n, params(0) + framed);
        put(out / "report", n, params(5) + framed);
        put(out / "colonies", n, params(0) + framed);
        put(out / "colonies", n, params(1) + framed);
        for (std::uint8_t format = 0; format < 3; ++format) put(out / "export", n, params(format) + framed);
    }
    for (std::size_t i = 0; i + 1 < sectors.size(); ++i) {
        const std::string pair = fuzz::encodeSector(sectors[i].base) + fuzz::encodeSector(sectors[i + 1].base, true);
        put(out / "merge", n, params(static_cast<std::uint8_t>(i)) + pair);
    }
    for (const char* text : kSettings) put(out / "settings", n, text);

    const std::vector<std::vector<std::string>> commandLines = {
        {"create", "--file", "new", "--size", "3", "--density", "40", "--seed", "7"},
        {"create", "--file", "s", "--append", "--size", "2", "--seed", "9", "--flat", "-x", "10"},
        {"create", "--file", "", "--size", "2", "--seed", ""},
        {"create", "--name", "Outer Reach", "--size=2", "--max-spatial-age", "300", "--no-names"},
        {"check", "s"},
        {"check", "s.sun"},
        {"info", "t"},
        {"repair", "s"},
        {"merge", "s", "t"},
        {"merge", "s", "s"},
        {"starlog", "s", "--system", "0", "--out", "log.log"},
        {"starlog", "t", "--system", "1", "--out", "log.html", "--html"},
        {"report", "s", "--out", "rep", "--no-empires"},
        {"colonies", "s", "--race", "0", "--out", "col"},
        {"alienlog", "s", "--race", "0", "--out", "alien.log", "--output", "Gurps"},
        {"alien", "--temperature", "40", "--gravity", "1.5", "--world", "Arid", "--out", "a.log", "--seed", "3"},
        {"name", "s", "--system", "0", "Vega Prime"},
        {"name", "s", "--race", "0", ""},
        {"export", "s", "--format", "json", "--out", "s.json"},
        {"export", "t", "--format", "csv", "--out", "tables", "--quiet"},
        {"atlas", "s", "--out", "atlas"},
        {"find", "s", "--star", "G,K", "--breathable", "--json"},
        {"find", "t", "--within", "5", "--of", "0", "--temp", "-10..40", "--world", "terran,2"},
        {"route", "s", "0", "1", "--jump", "3", "--via", "water", "--json"},
        {"--help"},
        {"create", "--help"},
        {"-q", "check", "t"},
    };
    for (const auto& args : commandLines) put(out / "cli", n, joined(args));

    fs::remove_all(work);
    std::printf("Wrote %d seed inputs to %s\n", n, out.string().c_str());
    return 0;
}

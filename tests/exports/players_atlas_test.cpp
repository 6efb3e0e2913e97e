// The players' atlas: a secret planted in every place the players may not
// read (secret notes on every kind of thing, the names of a hidden system,
// an unknown race and an unknown empire) reaches the game master's atlas
// and no file of the players'; a public note does reach it; no page shows a
// record code; every link resolves. And the notes in the other exports:
// the JSON and CSV tables, exact bytes and quoting, the schema, and a sector
// without notes exporting byte for byte as before.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>

#include "campaign/campaign_file.h"
#include "campaign/notes.h"
#include "campaign/players_view.h"
#include "support/file_text.h"
#include "support/fixture_sector.h"
#include "support/test_dir.h"
#include "support/well_formed.h"
#include "support/settled_fixture.h"
#include "exports/sector_export.h"
#include "generation/create_sector.h"
#include "names/rename.h"
#include "reading/sector_reader.h"
#include "reading/settled_view.h"
#include "settling/empire_edit.h"
#include "settling/settle_sector.h"

namespace orrimar::exports {
namespace {

namespace fs = std::filesystem;
using testing::testDir;

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// Every file under `root`, by its path relative to it.
std::map<std::string, std::string> filesOf(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).string()] = testing::fileBytes(entry.path().string());
    }
    return files;
}

// The words a reader sees: tags and scripts left out.
// Scanned by hand: a regular expression over the map's long script
// recurses once per character and overflows the stack of a sanitized build.
std::string visibleText(const std::string& page) {
    std::string text;
    std::size_t at = 0;
    while (at < page.size()) {
        const std::size_t open = page.find('<', at);
        text.append(page, at, open == std::string::npos ? std::string::npos : open - at);
        if (open == std::string::npos) break;
        const bool script = page.compare(open, 8, "<script>") == 0;
        const std::size_t close = script ? page.find("</script>", open) : page.find('>', open);
        if (close == std::string::npos) break;
        text += ' ';
        at = close + (script ? 9 : 1);
    }
    return text;
}

// A settled sector made by the program's own rules, with secrets planted
// in every place the players may not read. Each secret is a word of its
// own, all sharing the stem the players' atlas must never hold.
class PlantedSecrets : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = new std::string(testDir("players_atlas"));
        base_ = new std::string(*dir_ + "/s");
        CreateSectorParams params;
        params.baseName = *base_;
        params.settingsPath = *dir_ + "/absent.ini";
        params.density = 60;
        params.lastIndex = 13;
        params.seed = 11;
        params.maxSpatialAge = 120;
        CreateSector(params);
        SettleParams settle;
        settle.seed = 7;
        SettleSector(*base_, settle);
        plant();
        ExportSector(*base_, ExportFormat::Atlas, *dir_ + "/gm");
        ExportSector(*base_, ExportFormat::Atlas, *dir_ + "/players", nullptr, Audience::Players);
    }
    static void TearDownTestSuite() {
        delete dir_;
        delete base_;
        delete planted_;
    }

    // The things the secrets go on, chosen while the sector is open for
    // reading (the writes below each take the sector in turn).
    struct Picks {
        std::int64_t knownEmpire = -1, knownRace = -1, unknownEmpire = -1, unknownRace = -1;
        std::int64_t colony = -1, colonyPlanet = -1, knownSystem = -1, hiddenSystem = -1;
        std::int64_t moon = -1, otherPlanet = -1;
    };
    static void pick(Picks& p) {
        reading::SectorReader sector(*base_);
        const reading::SettledView settled(sector);
        ASSERT_GE(settled.empires().size(), 2U) << "the planted sector needs two empires";
        // The known empire and one colony of it, in a system the players know.
        const reading::EmpireEntry& known = settled.empires()[0];
        p.knownEmpire = known.id;
        p.knownRace = known.record.race;
        p.unknownEmpire = settled.empires()[1].id;
        for (const reading::PlacedColony& c : settled.colonies()) {
            if (c.record.allegiance == known.record.race && c.systemId >= 0) {
                p.colony = c.id, p.colonyPlanet = c.planetId, p.knownSystem = c.systemId;
            }
        }
        ASSERT_GE(p.colony, 0);
        // A moon, and a world other than the colony's for the public note.
        const TSystemRec system = sector.systems().read(p.knownSystem);
        for (int s = 0; s < starCountOf(system); ++s) {
            const auto i = static_cast<std::size_t>(s);
            for (std::int64_t b = system.firstPlanetId[i]; b < system.firstPlanetId[i] + system.planetCount[i]; ++b) {
                const TPlanetRec body = sector.planets().read(b);
                if (body.moonCount > 0 && p.moon < 0) p.moon = body.firstMoonId;
                if (b != p.colonyPlanet && p.otherPlanet < 0) p.otherPlanet = b;
            }
        }
        ASSERT_GE(p.moon, 0) << "the known system needs a moon";
        ASSERT_GE(p.otherPlanet, 0) << "the known system needs a second world";
        // A hidden system other than the known one, and a race the players
        // have not met (hidden even where it would be known by default).
        p.hiddenSystem = p.knownSystem == 0 ? 1 : 0;
        for (std::int64_t r = 0; r < sector.aliens().count() && p.unknownRace < 0; ++r) {
            if (r != p.knownRace) p.unknownRace = r;
        }
        ASSERT_GE(p.unknownRace, 0);
    }

    // The secrets, each where its word says; the public word on a known
    // world.
    static void plant() {
        planted_ = new std::map<std::string, std::string>;
        const std::string& base = *base_;
        Picks p;
        pick(p);
        ASSERT_GE(p.unknownRace, 0);
        const std::vector<Thing> shown = {{ThingKind::System, p.knownSystem},
                                          {ThingKind::Race, p.knownRace},
                                          {ThingKind::Colony, p.colony},
                                          {ThingKind::Empire, p.knownEmpire}};
        markForPlayers(base, shown, PlayersMark::Known);
        const std::vector<Thing> hidden = {{ThingKind::System, p.hiddenSystem},
                                           {ThingKind::Race, p.unknownRace},
                                           {ThingKind::Empire, p.unknownEmpire}};
        markForPlayers(base, hidden, PlayersMark::Unknown);

        const auto secret = [&](const Thing& thing, const std::string& word) {
            setNote(base, thing, "Only the game master knows " + word + ", and the players never will.");
            (*planted_)[word] = describeThing(thing);
        };
        secret(kWholeSector, "XylophraxSector");
        secret({ThingKind::System, p.knownSystem}, "XylophraxSystem");
        secret({ThingKind::Planet, p.colonyPlanet}, "XylophraxPlanet");
        secret({ThingKind::Moon, p.moon}, "XylophraxMoon");
        secret({ThingKind::Race, p.knownRace}, "XylophraxRace");
        secret({ThingKind::Colony, p.colony}, "XylophraxColony");
        secret({ThingKind::Empire, p.knownEmpire}, "XylophraxEmpire");
        renameInSector(base, NameKind::System, p.hiddenSystem, "XylophraxHidden");
        renameInSector(base, NameKind::Race, p.unknownRace, "XylophraxUnmet");
        EmpireFields name;
        name.name = "XylophraxUnknownEmpire";
        SetEmpire(base, p.unknownEmpire, name);
        (*planted_)["XylophraxHidden"] = "hidden system";
        (*planted_)["XylophraxUnmet"] = "unknown race";
        (*planted_)["XylophraxUnknownEmpire"] = "unknown empire";
        setNote(base, {ThingKind::Planet, p.otherPlanet}, "The players heard of Quendalor here.",
                NoteAudience::Players);
        // A public note on the hidden system stays out with its system.
        setNote(base, {ThingKind::System, p.hiddenSystem}, "Quendalor XylophraxPublicHidden", NoteAudience::Players);
        (*planted_)["XylophraxPublicHidden"] = "public note on the hidden system";
        knownSystem_ = p.knownSystem;
    }

    static std::string* dir_;
    static std::string* base_;
    static std::map<std::string, std::string>* planted_;
    static std::int64_t knownSystem_;
};
std::string* PlantedSecrets::dir_ = nullptr;
std::string* PlantedSecrets::base_ = nullptr;
std::map<std::string, std::string>* PlantedSecrets::planted_ = nullptr;
std::int64_t PlantedSecrets::knownSystem_ = -1;

TEST_F(PlantedSecrets, NoSecretReachesAnyFileOfThePlayersAtlas) {
    const auto players = filesOf(*dir_ + "/players");
    ASSERT_GT(players.size(), 2U);
    for (const auto& [path, bytes] : players) {
        EXPECT_EQ(lower(bytes).find("xylophrax"), std::string::npos) << path << " holds a secret";
    }
    std::string all;
    for (const auto& [path, bytes] : players) all += bytes;
    EXPECT_NE(all.find("The players heard of Quendalor here."), std::string::npos) << "the public note is missing";
}

TEST_F(PlantedSecrets, TheGameMastersAtlasHoldsEverySecret) {
    std::string all;
    for (const auto& [path, bytes] : filesOf(*dir_ + "/gm")) all += bytes;
    for (const auto& [word, where] : *planted_) {
        EXPECT_NE(all.find(word), std::string::npos) << "the secret on " << where << " is missing";
    }
    // Labelled, so that the game master reads nothing secret out by mistake.
    EXPECT_NE(all.find("The system (secret)"), std::string::npos);
    EXPECT_NE(all.find(" (public)</h4>"), std::string::npos);
}

TEST_F(PlantedSecrets, NoRecordCodeOnAnyPlayersPage) {
    const std::regex code("\\b(type|code|rating|class|race|system|planet|moon|colony|base|empire|id|flags?)\\s+\\d",
                          std::regex::icase);
    for (const auto& [path, bytes] : filesOf(*dir_ + "/players")) {
        const std::string text = visibleText(bytes);
        std::smatch found;
        EXPECT_FALSE(std::regex_search(text, found, code)) << path << ": \"" << found.str() << "\"";
        EXPECT_EQ(text.find("(secret)"), std::string::npos) << path;
        EXPECT_EQ(bytes.find("<title>System "), std::string::npos) << path << ": a map tooltip shows an id";
    }
}

TEST_F(PlantedSecrets, OnlyKnownThingsHavePagesAndEveryLinkResolves) {
    const PlayersView view = playersView(*base_);
    const fs::path root = *dir_ + "/players";
    std::size_t systems = 0;
    std::size_t races = 0;
    for (const auto& [path, bytes] : filesOf(root)) {
        if (!path.ends_with(".html")) continue;
        EXPECT_EQ(logtest::checkWellFormed(bytes), "") << path;
        static const std::regex href("href=\"([^\"]*)\"");
        for (auto it = std::sregex_iterator(bytes.begin(), bytes.end(), href); it != std::sregex_iterator(); ++it) {
            EXPECT_TRUE(fs::is_regular_file((root / path).parent_path() / (*it)[1].str()))
                << path << " -> " << (*it)[1];
        }
        std::smatch id;
        static const std::regex page("(system|race|empire)-(\\d+)\\.html$");
        if (!std::regex_search(path, id, page)) continue;
        const ThingKind kind = id[1] == "system" ? ThingKind::System
                               : id[1] == "race" ? ThingKind::Race
                                                 : ThingKind::Empire;
        EXPECT_TRUE(view.knows({kind, std::stoll(id[2])})) << path << " is a page of an unknown thing";
        systems += kind == ThingKind::System ? 1 : 0;
        races += kind == ThingKind::Race ? 1 : 0;
    }
    const auto known = [](const std::vector<bool>& bits) {
        return static_cast<std::size_t>(std::count(bits.begin(), bits.end(), true));
    };
    EXPECT_EQ(systems, known(view.systems()));
    EXPECT_EQ(races, known(view.races()));
    EXPECT_LT(systems, view.systems().size()) << "the hidden system has no page";
}

// The known system's page: the public note under the system's own words,
// no secret, and the sheet's figures in units a player reads.
TEST_F(PlantedSecrets, KnownSystemPageReadsInWords) {
    std::string page;
    for (const auto& [path, bytes] : filesOf(*dir_ + "/players")) {
        if (path.ends_with("/system-" + std::to_string(knownSystem_) + ".html")) page = bytes;
    }
    ASSERT_FALSE(page.empty());
    EXPECT_NE(page.find("<h2>Notes</h2>"), std::string::npos);
    EXPECT_NE(page.find("The players heard of Quendalor here."), std::string::npos);
    EXPECT_EQ(page.find("(public)"), std::string::npos) << "labels are for the game master";
    EXPECT_NE(page.find(" °C"), std::string::npos);
    EXPECT_NE(page.find(" AU"), std::string::npos);
    EXPECT_NE(page.find("<h2>Colonies</h2>"), std::string::npos);
    // A colony's government in words, without the levels' numbers.
    EXPECT_NE(page.find("<td>law: "), std::string::npos);
    EXPECT_NE(page.find("; stability: "), std::string::npos);
}

TEST(PlayersExport, OnlyTheAtlasHasAPlayersEdition) {
    const std::string dir = testDir("players_refused");
    const logtest::FixtureSector f = logtest::makeFixtureSector(dir);
    for (const ExportFormat format : {ExportFormat::Json, ExportFormat::Csv}) {
        try {
            ExportSector(f.base, format, dir + "/out", nullptr, Audience::Players);
            ADD_FAILURE() << "a players' " << exportFormatName(format) << " export was written";
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find("only the atlas"), std::string::npos) << e.what();
        }
        EXPECT_FALSE(fs::exists(dir + "/out"));
    }
}

// ---------------------------------------------------------------- notes in JSON and CSV

class NotedExport : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        base_ = logtest::makeSettledFixture(dir_).base;
    }
    std::string dir_;
    std::string base_;
};

// A sector without a campaign file, and one whose only note was taken away
// again, export byte for byte alike in every format; exporting makes no
// campaign file.
TEST_F(NotedExport, WithoutNotesEveryFormatIsByteIdentical) {
    for (const ExportFormat format : {ExportFormat::Json, ExportFormat::Csv, ExportFormat::Atlas}) {
        const std::string name(exportFormatName(format).substr(0, 4));
        ExportSector(base_, format, dir_ + "/before-" + name);
    }
    EXPECT_FALSE(fs::exists(campaignPath(base_))) << "an export made a campaign file";
    setNote(base_, {ThingKind::System, 0}, "gone soon");
    ASSERT_TRUE(removeNote(base_, {ThingKind::System, 0}));
    for (const ExportFormat format : {ExportFormat::Json, ExportFormat::Csv, ExportFormat::Atlas}) {
        const std::string name(exportFormatName(format).substr(0, 4));
        ExportSector(base_, format, dir_ + "/after-" + name);
        const fs::path before = dir_ + "/before-" + name;
        const fs::path after = dir_ + "/after-" + name;
        if (fs::is_regular_file(before)) {
            EXPECT_EQ(testing::fileBytes(before.string()), testing::fileBytes(after.string())) << name;
            continue;
        }
        const auto a = filesOf(before);
        const auto b = filesOf(after);
        EXPECT_EQ(a, b) << name;
    }
}

// The notes table: one row per note, joined by kind and id; the text
// quoted in CSV as spreadsheets read it (comma, quote, line break), and in
// JSON escaped. A secret and a public note side by side.
TEST_F(NotedExport, NotesTableExactBytes) {
    setNote(base_, kWholeSector, "The sector, said \"plainly\"", NoteAudience::Players);
    setNote(base_, {ThingKind::Colony, 2}, "Smugglers, mostly;\nsome pirates");
    setNote(base_, {ThingKind::Moon, 1}, "plain");
    const ExportResult csv = ExportSector(base_, ExportFormat::Csv, dir_ + "/csv");
    EXPECT_EQ(csv.files, 9);
    EXPECT_EQ(testing::fileBytes(dir_ + "/csv/notes.csv"),
              "kind,id,audience,text\r\n"
              "sector,0,public,\"The sector, said \"\"plainly\"\"\"\r\n"
              "moon,1,secret,plain\r\n"
              "colony,2,secret,\"Smugglers, mostly;\nsome pirates\"\r\n");

    ExportSector(base_, ExportFormat::Json, dir_ + "/s.json");
    const std::string json = testing::fileBytes(dir_ + "/s.json");
    EXPECT_NE(json.find(",\"notes\":[\n"
                        "{\"kind\":\"sector\",\"id\":0,\"audience\":\"public\",\"text\":\"The sector, said "
                        "\\\"plainly\\\"\"},\n"
                        "{\"kind\":\"moon\",\"id\":1,\"audience\":\"secret\",\"text\":\"plain\"},\n"
                        "{\"kind\":\"colony\",\"id\":2,\"audience\":\"secret\",\"text\":\"Smugglers, mostly;\\nsome "
                        "pirates\"}\n]}\n"),
              std::string::npos)
        << json.substr(json.size() - std::min<std::size_t>(json.size(), 400));
    // The colony the note joins is in the colonies table by the same id.
    const auto doc = nlohmann::json::parse(json);
    bool joined = false;
    for (const auto& colony : doc["colonies"]) joined = joined || colony["id"] == 2;
    EXPECT_TRUE(joined);

    const std::string validator = std::string(ORRIMAR_SOURCE_DIR) + "/scripts/validate-json";
    const std::string schema = std::string(ORRIMAR_SOURCE_DIR) + "/docs/sector.schema.json";
    EXPECT_EQ(std::system(("python3 " + validator + " " + schema + " " + dir_ + "/s.json").c_str()), 0);
    // A note of a kind the schema does not know is refused.
    std::string bad = json;
    bad.replace(bad.find("\"kind\":\"moon\""), 13, "\"kind\":\"star\"");
    {
        std::ofstream out(dir_ + "/bad.json", std::ios::binary);
        out << bad;
    }
    EXPECT_NE(std::system(("python3 " + validator + " " + schema + " " + dir_ + "/bad.json > /dev/null").c_str()), 0);
}

}  // namespace
}  // namespace orrimar::exports

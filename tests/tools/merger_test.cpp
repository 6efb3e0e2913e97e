#include "tools/merger.h"

#include <fstream>
#include <gtest/gtest.h>

#include <limits>

#include "common/errors.h"
#include "common/file_io.h"
#include "generation/create_sector.h"
#include "support/hand_made_sector.h"
#include "tools/sector_check.h"
#include "records/sector_tail.h"
#include "support/sector_maker.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

// A main sector of 10 systems, 57 planets, 12 moons and 3 races, each
// record marked so that it can be told apart.
SectorContent mainSector() {
    SectorContent s;
    for (int i = 0; i < 10; ++i) {
        TSystemRec r;
        r.x = static_cast<std::int16_t>(i);
        r.starCount = 1;
        r.planetCount = {static_cast<std::uint8_t>(i < 9 ? 6 : 3), 0, 0};
        r.firstPlanetId = {6 * i, 6 * i + r.planetCount[0], 6 * i + r.planetCount[0]};
        s.systems.push_back(r);
    }
    for (int i = 0; i < 57; ++i) {
        TPlanetRec p;
        p.systemId = i / 6;
        p.diameter = 1000 + i;
        // The first twelve planets own a moon each, the first three a race:
        // the main sector must be whole at its end to be merged into.
        if (i < 12) {
            p.moonCount = 1;
            p.firstMoonId = i;
        }
        if (i < 3) {
            markNativeRace(p);
            p.nativeRaceId = i;
        }
        s.planets.push_back(p);
    }
    for (int i = 0; i < 12; ++i) {
        TMoonRec m;
        m.planetId = i;
        s.moons.push_back(m);
    }
    for (int i = 0; i < 3; ++i) {
        TAlienRec a;
        a.worldId = i;
        a.mass = 100;
        s.aliens.push_back(a);
    }
    s.comments = "main comment\r\n";
    return s;
}

// The added sector: every rule of the renumbering and every condition that
// leaves an id alone, in records that also carry distinctive other fields.
SectorContent addedSector() {
    SectorContent s;
    TSystemRec sys0;
    sys0.starCount = 1;
    sys0.planetCount = {4, 0, 0};
    sys0.firstPlanetId = {0, 4, 4};  // stars 2 and 3 absent
    sys0.systemRaceId = 65535;
    sys0.x = -5;
    sys0.y = 7;
    sys0.z = 10188;
    sys0.luminosity = {1.5F, 0.0F, 0.0F};
    sys0.reserved174[21] = 0xAB;
    TSystemRec sys1;
    sys1.starCount = 2;
    sys1.planetCount = {1, 1, 0};
    sys1.firstPlanetId = {4, 5, 6};
    sys1.systemRaceId = 1;
    s.systems = {sys0, sys1};

    TPlanetRec moonless;  // moon count 0: first moon id left alone
    moonless.systemId = 0;
    moonless.firstMoonId = 9;
    moonless.nativeRaceId = 2;      // native race bit clear: left alone
    moonless.colonisingRaceId = 2;  // colonised flag clear: left alone
    moonless.temperature = -40;
    TPlanetRec withMoons;
    withMoons.systemId = 0;
    withMoons.moonCount = 2;
    withMoons.firstMoonId = 5;
    markNativeRace(withMoons);
    withMoons.nativeRaceId = 2;  // the last race: its world names it
    withMoons.worldFlags = kColonised;
    withMoons.colonisingRaceId = 2;
    withMoons.pressure = 0.75F;
    TPlanetRec uncolonised;  // -1 stays -1 even with the flag set
    uncolonised.systemId = 0;
    uncolonised.worldFlags = kColonised;
    uncolonised.colonisingRaceId = -1;
    TPlanetRec highRace;  // the colonising id is unsigned: 40000 + 3
    highRace.systemId = 0;
    highRace.worldFlags = kColonised;
    highRace.colonisingRaceId = static_cast<std::int16_t>(40000 - 65536);
    highRace.moonCount = 5;  // moons need not follow their planets' order
    highRace.firstMoonId = 0;
    TPlanetRec ofSystem1;
    ofSystem1.systemId = 1;
    ofSystem1.reserved64[0] = 0x5A;
    s.planets = {moonless, withMoons, uncolonised, highRace, ofSystem1, ofSystem1};

    for (int i = 0; i < 7; ++i) {
        TMoonRec m;
        m.planetId = i < 5 ? 3 : 1;
        m.distance = static_cast<std::uint16_t>(100 + i);
        s.moons.push_back(m);
    }
    for (const int world : {-5, 5, 1}) {
        TAlienRec a;
        a.worldId = world;
        a.traits[11] = 0x80;
        s.aliens.push_back(a);
    }
    s.comments = "first\r\nsecond\nthird";
    giveValidCodes(s);
    return s;
}

struct MergerTest : ::testing::Test {
    fs::path dir;
    std::string mainBase;
    std::string addedBase;

    void SetUp() override {
        dir = freshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        mainBase = (dir / "main").string();
        addedBase = (dir / "added").string();
    }
};

TEST_F(MergerTest, RenumbersEveryReferenceByTheMainSectorsCounts) {
    const SectorContent main = mainSector();
    const SectorContent added = addedSector();
    writeSector(mainBase, main);
    writeSector(addedBase, added);

    MergeSectors(mainBase, addedBase);

    const auto systems = readRecords<TSystemRec>(mainBase + ".sun");
    ASSERT_EQ(systems.size(), 12U);
    for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(bytesOf(systems[i]), bytesOf(main.systems[i]));
    TSystemRec sys10 = added.systems[0];
    sys10.firstPlanetId = {57, 61, 61};
    EXPECT_EQ(bytesOf(systems[10]), bytesOf(sys10));  // race id 65535 and x, y, z kept
    TSystemRec sys11 = added.systems[1];
    sys11.firstPlanetId = {61, 62, 63};
    sys11.systemRaceId = 4;
    EXPECT_EQ(bytesOf(systems[11]), bytesOf(sys11));

    const auto planets = readRecords<TPlanetRec>(mainBase + ".pln");
    ASSERT_EQ(planets.size(), 63U);
    for (std::size_t i = 0; i < 57; ++i) EXPECT_EQ(bytesOf(planets[i]), bytesOf(main.planets[i]));
    std::vector<TPlanetRec> expected = added.planets;
    for (auto& p : expected) p.systemId += 10;
    expected[1].firstMoonId = 17;
    expected[1].nativeRaceId = 5;
    expected[3].firstMoonId = 12;
    expected[1].colonisingRaceId = 5;
    expected[3].colonisingRaceId = static_cast<std::int16_t>(40003 - 65536);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(bytesOf(planets[57 + i]), bytesOf(expected[i])) << "added planet " << i;
    }
    EXPECT_EQ(planets[57].firstMoonId, 9);
    EXPECT_EQ(planets[59].colonisingRaceId, -1);

    const auto moons = readRecords<TMoonRec>(mainBase + ".mon");
    ASSERT_EQ(moons.size(), 19U);
    for (std::size_t i = 0; i < 7; ++i) {
        TMoonRec m = added.moons[i];
        m.planetId += 57;
        EXPECT_EQ(bytesOf(moons[12 + i]), bytesOf(m));
    }

    const auto aliens = readRecords<TAlienRec>(mainBase + ".aln");
    ASSERT_EQ(aliens.size(), 6U);
    EXPECT_EQ(aliens[3].worldId, -62);  // the sign is kept, the magnitude grows
    EXPECT_EQ(aliens[4].worldId, 62);
    EXPECT_EQ(aliens[5].worldId, 58);
    EXPECT_EQ(aliens[3].traits[11], 0x80);

    EXPECT_EQ(fileBytes(mainBase + ".cmt"), "main comment\r\nfirst\r\nsecond\r\nthird\r\n");
}

TEST_F(MergerTest, LeavesTheAddedSectorAndTheOtherMainFilesAsTheyWere) {
    SectorContent main = mainSector();
    main.colonies.resize(2);
    writeSector(mainBase, main);
    writeSector(addedBase, addedSector());
    const auto before = snapshot(dir);

    MergeSectors(mainBase, addedBase);

    const auto after = snapshot(dir);
    for (const auto& [path, bytes] : before) {
        const std::string ext = fs::path(path).extension().string();
        const bool grows = fs::path(path).stem() == "main" &&
                           (ext == ".sun" || ext == ".pln" || ext == ".mon" || ext == ".aln" || ext == ".cmt");
        if (!grows) {
            EXPECT_EQ(after.at(path), bytes) << path;
        }
    }
}

TEST_F(MergerTest, MergingTwiceRenumbersAgainstTheGrownMainSector) {
    writeSector(mainBase, mainSector());
    writeSector(addedBase, addedSector());
    MergeSectors(mainBase, addedBase);
    MergeSectors(mainBase, addedBase);

    const auto systems = readRecords<TSystemRec>(mainBase + ".sun");
    ASSERT_EQ(systems.size(), 14U);
    EXPECT_EQ(systems[12].firstPlanetId, (std::array<std::int32_t, 3>{63, 67, 67}));
    EXPECT_EQ(systems[13].systemRaceId, 7);
    const auto planets = readRecords<TPlanetRec>(mainBase + ".pln");
    EXPECT_EQ(planets[64].systemId, 12);
    EXPECT_EQ(planets[64].firstMoonId, 24);
    EXPECT_EQ(readRecords<TAlienRec>(mainBase + ".aln")[6].worldId, -68);
}

TEST_F(MergerTest, EmptyAddedSectorAppendsNothing) {
    writeSector(mainBase, mainSector());
    writeSector(addedBase, SectorContent{});
    const auto before = snapshot(dir);

    MergeSectors(mainBase, addedBase);

    EXPECT_EQ(snapshot(dir), before);
}

TEST_F(MergerTest, CommentFilesAreJoinedLineByLine) {
    struct Case {
        const char* main;
        const char* added;
        const char* joined;
    };
    const Case cases[] = {
        {"main\r\n", "", "main\r\n"},              // empty added file adds nothing
        {"", "a\r\n\r\nb\r\n", "a\r\n\r\nb\r\n"},  // empty lines are lines
        {"main\r\n", "\r\n", "main\r\n\r\n"},
        {"main", "x", "main\r\nx\r\n"},  // an open last line is ended first
        {"main", "", "main"},
        {"m\r\n", "lf\nonly\n", "m\r\nlf\r\nonly\r\n"},
        {"m\r\n", "cr\ronly", "m\r\ncr\r\nonly\r\n"},
    };
    for (const Case& c : cases) {
        SectorContent main = mainSector();
        main.comments = c.main;
        SectorContent added;
        added.comments = c.added;
        writeSector(mainBase, main);
        writeSector(addedBase, added);
        MergeSectors(mainBase, addedBase);
        EXPECT_EQ(fileBytes(mainBase + ".cmt"), c.joined) << "main '" << c.main << "' added '" << c.added << "'";
    }
}

// Two generated sectors, each sound, stay sound once merged: every
// reference of the added one lands on the record it named.
TEST_F(MergerTest, MergedGeneratedSectorsPassTheSectorCheck) {
    const CreateSectorResult main = makeSector(mainBase, {.seed = 11, .lastIndex = 5, .density = 40});
    const CreateSectorResult added = makeSector(addedBase, {.seed = 12, .lastIndex = 5, .density = 40, .x = 100});
    ASSERT_GT(main.systems, 0);
    ASSERT_GT(added.systems, 0);
    for (const std::string& base : {mainBase, addedBase}) {
        const SectorCheckReport before = CheckSector(base);
        ASSERT_TRUE(before.sound()) << base << ": " << (before.problems.empty() ? "" : before.problems[0]);
    }

    MergeSectors(mainBase, addedBase);

    const SectorCheckReport merged = CheckSector(mainBase);
    EXPECT_TRUE(merged.sound()) << (merged.problems.empty() ? "" : merged.problems[0]);
    EXPECT_EQ(merged.systems, main.systems + added.systems);
    EXPECT_EQ(merged.planets, main.planets + added.planets);
    EXPECT_EQ(merged.moons, main.moons + added.moons);
    EXPECT_EQ(merged.races, main.races + added.races);
}

TEST_F(MergerTest, MergedHandBuiltSectorsPassTheSectorCheck) {
    const SectorContent main = soundSector(7, 0);
    const SectorContent added = soundSector(9, 50);
    ASSERT_GT(added.aliens.size(), 1U);
    ASSERT_GT(added.moons.size(), 1U);
    writeSector(mainBase, main);
    writeSector(addedBase, added);
    for (const std::string& base : {mainBase, addedBase}) {
        const SectorCheckReport before = CheckSector(base);
        ASSERT_TRUE(before.sound()) << base << ": " << (before.problems.empty() ? "" : before.problems[0]);
    }

    MergeSectors(mainBase, addedBase);

    const SectorCheckReport merged = CheckSector(mainBase);
    EXPECT_TRUE(merged.sound()) << (merged.problems.empty() ? "" : merged.problems[0]);
    EXPECT_EQ(merged.systems, 16);
    EXPECT_EQ(merged.planets, static_cast<std::int64_t>(main.planets.size() + added.planets.size()));
    EXPECT_EQ(merged.races, static_cast<std::int64_t>(main.aliens.size() + added.aliens.size()));
}

// ---------------------------------------------------------------- refusals
// Every refused or failed merge leaves both sectors byte for byte as they
// were.

struct MergeRefusal : MergerTest {
    std::map<std::string, std::string> before;

    void writeBoth(const SectorContent& main, const SectorContent& added) {
        writeSector(mainBase, main);
        writeSector(addedBase, added);
    }
    void takeSnapshot() { before = snapshot(dir); }
    void expectUnchanged() { EXPECT_EQ(snapshot(dir), before); }
};

TEST_F(MergeRefusal, MissingMemberStopsBeforeAnythingIsAppended) {
    for (const char* missing : {"added.cmt", "main.cmt", "added.mon", "main.mon", "added.aln", "main.sun"}) {
        SCOPED_TRACE(missing);
        writeBoth(mainSector(), addedSector());
        fs::remove(dir / missing);
        takeSnapshot();
        try {
            MergeSectors(mainBase, addedBase);
            ADD_FAILURE() << "merge did not fail";
        } catch (const IoError& e) {
            const std::string what = e.what();
            if (std::string(missing) == "main.sun")
                EXPECT_EQ(what.rfind("No sector at ", 0), 0U) << what;
            else
                EXPECT_NE(what.find("File not found"), std::string::npos) << what;
            EXPECT_NE(what.find(missing), std::string::npos) << what;
        }
        expectUnchanged();
        EXPECT_FALSE(fs::exists(dir / missing));  // nothing was created either
    }
}

TEST_F(MergeRefusal, PartialRecordIsRefused) {
    for (const char* damaged : {"added.pln", "main.sun", "added.aln"}) {
        SCOPED_TRACE(damaged);
        writeBoth(mainSector(), addedSector());
        std::ofstream(dir / damaged, std::ios::binary | std::ios::app) << "abc";
        takeSnapshot();
        EXPECT_THROW(MergeSectors(mainBase, addedBase), DamagedSectorError);
        expectUnchanged();
    }
}

TEST_F(MergeRefusal, RaceIdBeyondSixteenBitsIsRefusedBeforeTheFirstAppend) {
    // The offending record comes last, so that every other record would
    // already have been appended by a merge that checks as it goes.
    SectorContent colonised = addedSector();
    TPlanetRec high;
    high.worldFlags = kColonised;
    high.colonisingRaceId = static_cast<std::int16_t>(65533 - 65536);  // 65533 + 3 = 65536
    high.systemId = 1;
    giveValidCodes(high);
    colonised.systems[1].planetCount[1] = 2;
    colonised.planets.push_back(high);

    SectorContent system = addedSector();
    TSystemRec sys;
    sys.systemRaceId = 65534;  // 65534 + 3
    sys.starCount = 1;
    sys.firstPlanetId = {6, 6, 6};
    system.systems.push_back(sys);

    writeBoth(mainSector(), colonised);
    takeSnapshot();
    try {
        MergeSectors(mainBase, addedBase);
        ADD_FAILURE() << "merge did not fail";
    } catch (const RangeError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Range check error", 0), 0U) << e.what();
    }
    expectUnchanged();

    // A system race id that high lies beyond any race file: the added
    // sector is damaged, refused before the renumbering is even tried.
    writeBoth(mainSector(), system);
    takeSnapshot();
    try {
        MergeSectors(mainBase, addedBase);
        ADD_FAILURE() << "merge did not fail";
    } catch (const DamagedSectorError& e) {
        EXPECT_NE(std::string(e.what()).find("names race 65534"), std::string::npos) << e.what();
    }
    expectUnchanged();
}

TEST_F(MergeRefusal, AnAddedRecordOutsideItsTablesIsRefusedByFileRecordAndField) {
    // Cross-references intact, but a code or a figure no reader can trust:
    // refused before the first byte, naming the file, the record, the field.
    const std::pair<std::string, void (*)(SectorContent&)> cases[] = {
        {".pln record 3: world type 24 outside 1..23", [](SectorContent& s) { s.planets[3].worldType = 24; }},
        {".mon record 6: atmosphere class 7 outside 1..6", [](SectorContent& s) { s.moons[6].atmosphereClass = 7; }},
        {".sun record 1: star 2 luminosity is not a number",
         [](SectorContent& s) { s.systems[1].luminosity[1] = std::numeric_limits<float>::quiet_NaN(); }},
        {".aln record 2: habitat 6 outside 0..5", [](SectorContent& s) { s.aliens[2].habitat = 6; }},
    };
    for (const auto& [message, spoil] : cases) {
        SCOPED_TRACE(message);
        SectorContent added = addedSector();
        spoil(added);
        writeBoth(mainSector(), added);
        takeSnapshot();
        try {
            MergeSectors(mainBase, addedBase);
            ADD_FAILURE() << "merge did not fail";
        } catch (const RangeError& e) {
            EXPECT_EQ(std::string(e.what()), addedBase + message);
        }
        expectUnchanged();
    }
}

TEST_F(MergeRefusal, HighestSixteenBitRaceIdStillFits) {
    SectorContent added = addedSector();
    TPlanetRec high;
    high.worldFlags = kColonised;
    high.colonisingRaceId = static_cast<std::int16_t>(65532 - 65536);
    high.systemId = 1;
    giveValidCodes(high);
    added.systems[1].planetCount[1] = 2;
    added.planets.push_back(high);
    writeBoth(mainSector(), added);
    MergeSectors(mainBase, addedBase);
    EXPECT_EQ(static_cast<std::uint16_t>(readRecords<TPlanetRec>(mainBase + ".pln").back().colonisingRaceId), 65535);
}

TEST_F(MergeRefusal, SectorIsNotMergedIntoItself) {
    writeBoth(mainSector(), addedSector());
    fs::create_directory_symlink(dir, dir / "alias");
    takeSnapshot();
    const std::string aliasBase = (dir / "alias" / "main").string();
    const std::string dotted = (dir / "." / "main").string();
    for (const auto& [a, b] :
         {std::pair{mainBase, mainBase}, std::pair{mainBase, aliasBase}, std::pair{dotted, mainBase},
          std::pair{std::string("nowhere/x"), std::string("nowhere/x")}}) {
        SCOPED_TRACE(a + " / " + b);
        try {
            MergeSectors(a, b);
            ADD_FAILURE() << "merge did not fail";
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find("cannot be merged into itself"), std::string::npos) << e.what();
        }
        expectUnchanged();
    }
}

// Every write and rename of a merge in turn fails (a full disk, a failing
// disk): the merge reports it and cuts the main sector's files back to their
// sizes before the merge, leaving both sectors as they were.
TEST_F(MergeRefusal, EveryFailedWriteRollsTheMainSectorBack) {
    writeBoth(mainSector(), addedSector());
    clearFaultPlan();
    MergeSectors(mainBase, addedBase);
    const std::int64_t operations = fileOperationCount();
    ASSERT_GE(operations, 5);  // four families and the comments
    for (std::int64_t n = 1; n <= operations; ++n) {
        for (const FaultKind kind : {FaultKind::NoSpace, FaultKind::IoError}) {
            SCOPED_TRACE(::testing::Message()
                         << "operation " << n << (kind == FaultKind::NoSpace ? " ENOSPC" : " EIO"));
            writeBoth(mainSector(), addedSector());
            takeSnapshot();
            setFaultPlan({kind, n, false});
            try {
                MergeSectors(mainBase, addedBase);
                ADD_FAILURE() << "merge did not fail";
            } catch (const IoError& e) {
                const char* reason = kind == FaultKind::NoSpace ? "Disk full" : "I/O error 5";
                EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
            }
            clearFaultPlan();
            expectUnchanged();
        }
    }
}

}  // namespace
}  // namespace orrimar

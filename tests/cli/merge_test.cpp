#include <sstream>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "support/hand_made_sector.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

struct MergeCommand : ::testing::Test {
    std::ostringstream out;
    std::ostringstream err;
    cli::Context ctx{out, err, ".", false, cli::kExitOk};
    fs::path dir;
    std::string mainBase;
    std::string addedBase;

    void SetUp() override {
        dir = freshDir(std::string("cli_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        mainBase = (dir / "main").string();
        addedBase = (dir / "added").string();
        SectorContent main;
        // Both end whole: the first system owns the planets.
        main.systems.resize(2);
        main.systems[0].starCount = 1;
        main.systems[0].planetCount = {3, 0, 0};
        main.systems[0].firstPlanetId = {0, 3, 3};
        main.systems[1].starCount = 1;
        main.systems[1].firstPlanetId = {3, 3, 3};
        main.planets.resize(3);
        SectorContent added;
        added.systems.resize(1);
        added.systems[0].starCount = 1;
        added.systems[0].planetCount = {1, 0, 0};
        added.systems[0].firstPlanetId = {0, 1, 1};
        added.planets.resize(1);
        added.comments = "added\r\n";
        giveValidCodes(added);
        writeSector(mainBase, main);
        writeSector(addedBase, added);
    }
    int run(const std::vector<std::string>& args) { return cli::runCli(args, ctx); }
};

TEST_F(MergeCommand, MergesAndSaysSo) {
    EXPECT_EQ(run({"merge", mainBase, addedBase}), cli::kExitOk) << err.str();
    // Every system of both lies in cell 0,0,0: the merge says it doubled it.
    EXPECT_EQ(out.str(), "Wrote the systems of " + addedBase + " into " + mainBase +
                             "; 1 of them went into a cell that already held a system (\"orrimar-cli check " +
                             mainBase + "\" lists them)\n");
    const auto systems = readRecords<TSystemRec>(mainBase + ".sun");
    ASSERT_EQ(systems.size(), 3U);
    EXPECT_EQ(systems[2].firstPlanetId, (std::array<std::int32_t, 3>{3, 4, 4}));
    EXPECT_EQ(readRecords<TPlanetRec>(mainBase + ".pln").back().systemId, 2);
    EXPECT_EQ(fileBytes(mainBase + ".cmt"), "added\r\n");
    // check lists the cell as a warning (this hand-made sector has codes
    // check calls damaged; the warning stands beside them).
    out.str("");
    run({"check", mainBase});
    EXPECT_NE(out.str().find("warning: cell 0,0,0 holds 3 systems: 0, 1, 2\n"), std::string::npos) << out.str();
}

TEST_F(MergeCommand, FailuresExitWithTheReasonAndChangeNothing) {
    fs::remove(addedBase + ".cmt");
    const auto before = snapshot(dir);
    EXPECT_EQ(run({"merge", mainBase, addedBase}), cli::kExitRuntime);
    EXPECT_NE(err.str().find("File not found"), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "");

    err.str("");
    EXPECT_EQ(run({"merge", mainBase, mainBase}), cli::kExitUsage);
    EXPECT_NE(err.str().find("cannot be merged into itself"), std::string::npos) << err.str();

    EXPECT_EQ(run({"merge", mainBase}), cli::kExitUsage);  // the added sector is required
    EXPECT_EQ(snapshot(dir), before);
}

TEST_F(MergeCommand, ADamagedAddedRecordExitsOneNamingFileRecordAndField) {
    SectorContent added = soundSector(3, 20);
    ASSERT_FALSE(added.moons.empty());
    added.moons[0].worldType = 255;
    writeSector(addedBase, added);
    const auto before = snapshot(dir);
    EXPECT_EQ(run({"merge", mainBase, addedBase}), cli::kExitRuntime);
    EXPECT_EQ(err.str(), "orrimar-cli: " + addedBase + ".mon record 0: world type 255 outside 1..23\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(snapshot(dir), before);
}

TEST_F(MergeCommand, CheckFindsTheMergedSectorSound) {
    writeSector(mainBase, soundSector(5, 0));
    writeSector(addedBase, soundSector(6, 20));
    ASSERT_EQ(run({"merge", mainBase, addedBase}), cli::kExitOk) << err.str();
    out.str("");
    EXPECT_EQ(run({"check", mainBase}), cli::kExitOk) << out.str();
    EXPECT_NE(out.str().find(": sound (11 systems"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace orrimar

#include <sstream>

#include <gtest/gtest.h>

#include "cli/cli.h"
#include "support/hand_made_sector.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

struct CheckCommand : ::testing::Test {
    std::ostringstream out;
    std::ostringstream err;
    cli::Context ctx{out, err, ".", false, cli::kExitOk};
    fs::path dir;
    std::string base;

    void SetUp() override {
        dir = freshDir(std::string("cli_check_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        base = (dir / "s").string();
    }
    int run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        ctx.exitCode = cli::kExitOk;
        return cli::runCli(args, ctx);
    }
};

TEST_F(CheckCommand, SoundSectorExitsZeroWithASummary) {
    const SectorContent s = soundSector(5, 0);
    writeSector(base, s);
    EXPECT_EQ(run({"check", base}), cli::kExitOk) << err.str();
    EXPECT_EQ(out.str(), base + ": sound (5 systems, " + std::to_string(s.planets.size()) + " planets, " +
                             std::to_string(s.moons.size()) + " moons, " + std::to_string(s.aliens.size()) +
                             " races)\n");
}

TEST_F(CheckCommand, DamagedSectorListsEachProblemAndExitsOne) {
    SectorContent s = soundSector(5, 0);
    const int owner = s.planets[1].systemId;
    const int moonOwner = s.moons[0].planetId;
    s.planets[1].systemId = owner + 2;
    s.moons[0].planetId = moonOwner + 1;
    writeSector(base, s);
    EXPECT_EQ(run({"check", base}), cli::kExitRuntime);
    const std::string text = out.str();
    EXPECT_NE(
        text.find("planet 1: system id " + std::to_string(owner + 2) + ", expected " + std::to_string(owner) + "\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("moon 0: planet id " + std::to_string(moonOwner + 1) + ", expected " +
                        std::to_string(moonOwner) + "\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find(base + ": damaged, 2 problems ("), std::string::npos) << text;
}

TEST_F(CheckCommand, MissingSectorOrArgument) {
    // A missing sector is a runtime error, as in every command that reads one.
    EXPECT_EQ(run({"check", (dir / "nothing").string()}), cli::kExitRuntime);
    EXPECT_NE(err.str().find("No sector at"), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(run({"check"}), cli::kExitUsage);
}

TEST_F(CheckCommand, CreatedAndAppendedSectorsAreSound) {
    ASSERT_EQ(run({"create", "--file", base, "--seed", "3", "--size", "6", "--density", "50"}), cli::kExitOk)
        << err.str();
    EXPECT_EQ(run({"check", base}), cli::kExitOk) << out.str();
    const auto firstPlanets = readRecords<TPlanetRec>(base + ".pln").size();
    ASSERT_EQ(run({"create", "--file", base, "--seed", "4", "--size", "6", "--density", "50", "--append", "-x", "10"}),
              cli::kExitOk)
        << err.str();
    EXPECT_EQ(run({"check", base}), cli::kExitOk) << out.str();
    EXPECT_GT(readRecords<TPlanetRec>(base + ".pln").size(), firstPlanets);

    // Cut the moon file mid-record: damaged.
    fs::resize_file(base + ".mon", fs::file_size(base + ".mon") - 1);
    EXPECT_EQ(run({"check", base}), cli::kExitRuntime);
    EXPECT_NE(out.str().find("s.mon: not a whole number of 60-byte records (59 bytes over)"), std::string::npos)
        << out.str();
}

}  // namespace
}  // namespace orrimar

namespace orrimar {
namespace {

using namespace orrimar::testing;

// Nothing the readers refuse is called sound, and a sector without any
// native race reads as it checks.
struct StrictCheck : CheckCommand {
    void makeSector(const char* seed, const char* density) {
        ASSERT_EQ(run({"create", "--file", base, "--size", "6", "--density", density, "--seed", seed, "--settings",
                       (dir / "empty.ini").string(), "--replace"}),
                  cli::kExitOk)
            << err.str();
    }
    void SetUp() override {
        CheckCommand::SetUp();
        writeFileBytes(dir / "empty.ini", "");
    }
};

TEST_F(StrictCheck, ARecordTheReadersRefuseIsDamageToCheck) {
    makeSector("3", "30");
    std::string systems = fileBytes(base + ".sun");
    TSystemRec first = decodeRecord<TSystemRec>(reinterpret_cast<const unsigned char*>(systems.data()));
    first.spectralDigit[0] = 37;
    systems.replace(0, sizeof(TSystemRec), bytesOf(first));
    writeFileBytes(base + ".sun", systems);
    EXPECT_EQ(run({"report", base, "--out", (dir / "r").string()}), cli::kExitRuntime);
    EXPECT_EQ(run({"check", base}), cli::kExitRuntime);
    EXPECT_NE(out.str().find("system 0: star 1 spectral digit 37 outside 0..9"), std::string::npos) << out.str();
    // Within the whole systems: repair refuses rather than pass it on.
    EXPECT_EQ(run({"repair", base}), cli::kExitUsage);
}

TEST_F(StrictCheck, ASectorWithoutRacesIsReadByEveryReader) {
    makeSector("1", "30");
    ASSERT_EQ(recordCountOnDisk(base + ".aln", sizeof(TAlienRec)), 0) << "the seed should give no race";
    EXPECT_EQ(run({"check", base}), cli::kExitOk) << out.str();
    EXPECT_EQ(run({"report", base, "--out", (dir / "r").string()}), cli::kExitOk) << err.str();
    EXPECT_EQ(run({"export", base, "--format", "json", "--out", (dir / "s.json").string()}), cli::kExitOk) << err.str();
}

// What a power cut leaves when a file's new size reached the disk before
// its data: zeros at the end. Every reader refuses it; repair cuts it.
TEST_F(StrictCheck, AZeroedTailIsRefusedByReadersAndCutByRepair) {
    makeSector("3", "30");
    const std::string whole = fileBytes(base + ".sun");
    for (const char* ext : {".sun", ".pln", ".mon", ".nam"}) {
        SCOPED_TRACE(ext);
        const std::string bytes = fileBytes(base + ext);
        const std::size_t width = std::string(ext) == ".sun"   ? sizeof(TSystemRec)
                                  : std::string(ext) == ".pln" ? sizeof(TPlanetRec)
                                  : std::string(ext) == ".mon" ? sizeof(TMoonRec)
                                                               : sizeof(TNameRec);
        writeFileBytes(base + ext, bytes + std::string(2 * width, '\0'));
        if (std::string(ext) != ".nam") {
            EXPECT_NE(run({"report", base, "--out", (dir / "r").string()}), cli::kExitOk);
            EXPECT_NE(run({"starlog", base, "--system", "0", "--out", (dir / "l.log").string()}), cli::kExitOk);
        }
        EXPECT_EQ(run({"check", base}), cli::kExitRuntime) << out.str();
        EXPECT_EQ(run({"repair", base}), cli::kExitOk) << err.str();
        EXPECT_EQ(fileBytes(base + ext), bytes);
        EXPECT_EQ(run({"check", base}), cli::kExitOk) << out.str();
    }
    EXPECT_EQ(fileBytes(base + ".sun"), whole);
}

}  // namespace
}  // namespace orrimar

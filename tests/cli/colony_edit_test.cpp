// orrimar-cli colony and empire: the line each edit prints, every refusal
// (exit 2 naming the option, every file as it was), a missing sector (exit
// 1), and real processes stopped at each write of an edit: the next
// program to take the sector finds the old layer or the new one.
#include <string>
#include <vector>

#include <sys/wait.h>

#include <gtest/gtest.h>

#include "cli/child_process.h"
#include "cli/cli_runner.h"
#include "common/file_io.h"
#include "names/world_names.h"
#include "records/sector_lock.h"
#include "settling/edit_fixture.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

struct ColonyCommands : ::testing::Test {
    EditSector s{"colony_commands"};
    CliRunner cli;

    std::string planet(std::int64_t id) const { return "planet:" + std::to_string(id); }
    int run(std::vector<std::string> args) {
        args.insert(args.begin() + 1, s.base);
        return cli.run(args);
    }
    // Refused with exit 2, the message naming `option`, and nothing written.
    void expectRefused(const std::vector<std::string>& args, const std::string& option) {
        const auto before = snapshot(s.dir);
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        EXPECT_EQ(run(args), cli::kExitUsage) << joined << cli.out.str();
        EXPECT_NE(cli.err.str().find(option), std::string::npos) << joined << "\n" << cli.err.str();
        EXPECT_EQ(changedFiles(before, snapshot(s.dir)), "") << joined;
    }
};

TEST_F(ColonyCommands, EachEditSaysWhatItDidInOneLine) {
    s.name(NameKind::System, static_cast<std::int32_t>(s.systemA), "Vessane");
    s.name(NameKind::Race, 1, "Kethri");
    const std::string world = *worldName(s.base, {false, s.planetA1});
    const std::string where = world + " (planet " + std::to_string(s.planetA1) + ")";

    ASSERT_EQ(run({"colony", "add", "--world", world, "--race", "0", "--owner", "Kethri", "--population", "35",
                   "--type", "mining", "--starport", "Good", "--facilities", "Naval Base,University"}),
              cli::kExitOk)
        << cli.err.str();
    EXPECT_EQ(cli.out.str(), "colony 0 added on " + where + ", owned by race 1 (Kethri)\n");
    const TColonyRec c = s.layer().colonies.at(0);
    EXPECT_EQ(c.colonyType, static_cast<int>(ColonyType::Mining));
    EXPECT_EQ(c.facilities[0], 0b00010010);

    ASSERT_EQ(run({"colony", "set", "0", "--independent", "--people", "60000000"}), cli::kExitOk) << cli.err.str();
    EXPECT_EQ(cli.out.str(), "colony 0 on " + where + " changed, independent, of race 0\n");
    EXPECT_EQ(s.layer().colonies.at(0).populationCode, 35);
    EXPECT_TRUE(s.layer().control.empty());

    ASSERT_EQ(run({"colony", "remove", "0"}), cli::kExitOk) << cli.err.str();
    EXPECT_EQ(cli.out.str(), "colony 0 removed from " + where + "; its number stays, as a vacant record\n");
    EXPECT_EQ(bytesOf(s.layer().colonies.at(0)), bytesOf(vacantColony()));

    ASSERT_EQ(run({"empire", "add", "--race", "Kethri", "--name", "Kethri Reach", "--capital", "Vessane", "--colour",
                   "#1E90FF"}),
              cli::kExitOk)
        << cli.err.str();
    EXPECT_EQ(cli.out.str(), "empire 0 \"Kethri Reach\" of race 1 (Kethri), capital system " +
                                 std::to_string(s.systemA) + " (Vessane), #1E90FF added\n");
    ASSERT_EQ(run({"empire", "set", "0", "--name", "Reach"}), cli::kExitOk) << cli.err.str();
    EXPECT_EQ(s.layer().empires.at(0).name.str(), "Reach");
    ASSERT_EQ(run({"empire", "remove", "0", "-q"}), cli::kExitOk) << cli.err.str();
    EXPECT_EQ(cli.out.str(), "");
    EXPECT_EQ(bytesOf(s.layer().empires.at(0)), bytesOf(vacantEmpire()));
}

TEST_F(ColonyCommands, EveryRefusalExitsTwoNamingItsOptionAndWritesNothing) {
    ASSERT_EQ(run({"colony", "add", "--world", planet(s.planetA1), "--race", "0"}), cli::kExitOk) << cli.err.str();
    ASSERT_EQ(run({"colony", "add", "--world", planet(s.planetA2), "--race", "1"}), cli::kExitOk) << cli.err.str();
    ASSERT_EQ(run({"colony", "remove", "1"}), cli::kExitOk) << cli.err.str();
    ASSERT_EQ(run({"empire", "add", "--race", "0", "--name", "First"}), cli::kExitOk) << cli.err.str();
    const std::string free = planet(s.planetA2);
    const auto planets = std::to_string(s.content.planets.size());
    const auto moons = std::to_string(s.content.moons.size());
    const auto races = std::to_string(s.races());

    expectRefused({"colony", "add", "--world", "planet:" + planets, "--race", "0"}, "--world: there is no planet");
    expectRefused({"colony", "add", "--world", "moon:" + moons, "--race", "0"}, "--world: there is no moon");
    expectRefused({"colony", "add", "--world", planet(s.planetA1), "--race", "1"}, "already holds colony 0");
    expectRefused({"colony", "add", "--world", "Nowhere", "--race", "0"}, "--world: no world is called");
    expectRefused({"colony", "add", "--world", "planet:two", "--race", "0"}, "--world");
    expectRefused({"colony", "add", "--race", "0"}, "--world");
    expectRefused({"colony", "add", "--world", free}, "--race");
    expectRefused({"colony", "add", "--world", free, "--race", races}, "--race: there is no race");
    expectRefused({"colony", "add", "--world", free, "--race", "65535"}, "--race");
    expectRefused({"colony", "add", "--world", free, "--race", "Nobody"}, "--race");
    expectRefused({"colony", "add", "--world", free, "--race", "0", "--owner", "65535"}, "--owner");
    expectRefused({"colony", "add", "--world", free, "--race", "0", "--owner", "1", "--independent"}, "--");
    for (const auto& [option, value] :
         std::vector<std::pair<std::string, std::string>>{{"--population", "70"},
                                                          {"--population", "x"},
                                                          {"--people", "9999"},
                                                          {"--people", "-4"},
                                                          {"--type", "Farm"},
                                                          {"--starport", "Huge"},
                                                          {"--law", "10"},
                                                          {"--stability", "-1"},
                                                          {"--crime", "12"},
                                                          {"--gnp", "65536"},
                                                          {"--power", "lots"},
                                                          {"--facilities", "Spa"},
                                                          {"--facilities", "University,"}}) {
        expectRefused({"colony", "set", "0", option, value}, option);
    }
    expectRefused({"colony", "set", "0", "--population", "3", "--people", "20000"}, "--p");
    expectRefused({"colony", "set", "1", "--law", "1"}, "ID: colony 1 was removed");
    expectRefused({"colony", "set", "2", "--law", "1"}, "ID: there is no colony 2");
    expectRefused({"colony", "remove", "1"}, "ID");
    expectRefused({"colony", "remove", "x"}, "ID");

    expectRefused({"empire", "add", "--race", "0", "--name", "Again"}, "--race: race 0 already has empire 0");
    expectRefused({"empire", "add", "--race", "1"}, "--name");
    expectRefused({"empire", "add", "--race", "1", "--name", ""}, "--name");
    expectRefused({"empire", "add", "--race", "1", "--name", std::string(40, 'n')}, "--name");
    expectRefused({"empire", "add", "--race", "1", "--name", "Ok", "--colour", "red"}, "--colour");
    expectRefused({"empire", "add", "--race", "1", "--name", "Ok", "--capital", "999999"}, "--capital");
    expectRefused({"empire", "add", "--race", "1", "--name", "Ok", "--capital", "Nowhere"}, "--capital");
    expectRefused({"empire", "set", "3", "--name", "Ok"}, "ID: there is no empire 3");
    expectRefused({"empire", "remove", "3"}, "ID");
}

// The editors' help names the record as its own command does: a colony, an
// empire, never the other's words.
TEST_F(ColonyCommands, HelpNamesEachRecordInItsOwnWords) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--help"}, "Add, change or remove a colony of a sector"},
        {{"--help"}, "Add, change or remove an empire of a sector"},
        {{"colony", "x", "set", "--help"}, "The colony's number"},
        {{"empire", "x", "set", "--help"}, "The empire's number"},
        {{"colony", "--help"}, "Change the values given of a colony"},
        {{"empire", "--help"}, "Remove an empire; its number stays, as a vacant record"},
        {{"empire", "--help"}, "Add an empire for a race that has none"},
    };
    for (const auto& [args, words] : cases) {
        cli.run(args);
        EXPECT_NE((cli.out.str() + cli.err.str()).find(words), std::string::npos) << words;
    }
    cli.run({"empire", "--help"});
    EXPECT_EQ(cli.out.str().find("colony"), std::string::npos) << cli.out.str();
}

TEST_F(ColonyCommands, AMissingSectorExitsOne) {
    const std::string none = (s.dir / "nosuch").string();
    EXPECT_EQ(cli.run({"colony", none, "add", "--world", "planet:0", "--race", "0"}), cli::kExitRuntime);
    EXPECT_NE(cli.err.str().find("No sector at"), std::string::npos) << cli.err.str();
    EXPECT_EQ(cli.run({"empire", none, "remove", "0"}), cli::kExitRuntime);
    EXPECT_FALSE(fs::exists(none + ".lck"));
}

// A real process stopped at each write of an edit in turn.
TEST_F(ColonyCommands, AProcessKilledAtAnyWriteLeavesTheOldOrTheNewLayer) {
    ASSERT_EQ(run({"colony", "add", "--world", planet(s.planetA1), "--race", "0"}), cli::kExitOk);
    ASSERT_EQ(run({"colony", "add", "--world", planet(s.planetA2), "--race", "1", "--population", "20"}), cli::kExitOk);
    const std::vector<std::string> edit = {"colony", s.base, "set", "0", "--owner", "2", "--population", "30"};
    const auto before = snapshot(s.dir);
    clearFaultPlan();
    ASSERT_EQ(cli.run(edit), cli::kExitOk) << cli.err.str();
    const std::int64_t writes = fileOperationCount();
    const auto after = snapshot(s.dir);
    ASSERT_NE(changedFiles(before, after), "");

    for (std::int64_t n = 1; n <= writes; ++n) {
        for (const auto& [file, bytes] : before) writeFileBytes(file, bytes);
        for (const auto& [file, bytes] : after) {
            if (!before.contains(file)) fs::remove(file);
        }
        const int status = runProcess(edit, "exit:" + std::to_string(n), std::chrono::microseconds(0));
        ASSERT_TRUE(WIFEXITED(status)) << n;
        EXPECT_EQ(WEXITSTATUS(status), kFaultExitStatus) << "write " << n;
        { const SectorLock lock = SectorLock::forChange(s.base); }
        const auto now = snapshot(s.dir);
        EXPECT_TRUE(now == before || now == after)
            << "stopped at write " << n << ": from before" << changedFiles(before, now) << "; from after"
            << changedFiles(after, now);
    }
}

}  // namespace
}  // namespace orrimar

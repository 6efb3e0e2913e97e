// The campaign commands end to end: note, notes, reveal and hide as a user
// types them, real processes writing notes at once, and merges stopped at
// every write with campaign notes to carry.
#include <chrono>
#include <cmath>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <fmt/format.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "campaign/campaign_file.h"
#include "campaign/campaign_merge.h"
#include "campaign/notes.h"
#include "campaign/players_view.h"
#include "records/sector_journal.h"
#include "cli/child_process.h"
#include "cli/cli_runner.h"
#include "common/file_io.h"
#include "names/sector_names.h"
#include "support/hand_made_sector.h"

namespace orrimar {
namespace {

using namespace orrimar::testing;

struct CampaignCommands : ::testing::Test {
    CliRunner cli;
    fs::path dir;
    std::string base;

    void SetUp() override {
        dir = freshDir(std::string("campaign_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        cli.ctx.programDir = dir.string();
        writeFileBytes(settings(), "");
        base = path("sec");
        ASSERT_EQ(run(create(base, "7", "0")), cli::kExitOk) << cli.err.str();
    }
    ~CampaignCommands() override { clearFaultPlan(); }
    std::string settings() const { return (dir.parent_path() / "default.ini").string(); }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    int run(const std::vector<std::string>& args) { return cli.run(args); }
    std::vector<std::string> create(const std::string& at, const char* seed, const char* x) const {
        return {"create", "--file", at,   "--size", "6",          "--density", "40",
                "--seed", seed,     "-x", x,        "--settings", settings(),  "--replace"};
    }
    std::vector<TSystemRec> systems() const { return readRecords<TSystemRec>(base + ".sun"); }
    std::string systemName(std::int64_t id) const { return SectorNames::load(base).system(id).value_or(""); }
};

TEST_F(CampaignCommands, NotesAreWrittenListedSearchedAndRemoved) {
    const std::string name = systemName(1);
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(run({"note", base, "--system", name, "Pirates hide here"}), cli::kExitOk) << cli.err.str();
    EXPECT_EQ(cli.out.str(), "Wrote the secret note on system 1 to " + campaignPath(base) + "\n");
    EXPECT_EQ(run({"note", base, "--sector", "--public", "Zoë's frontier\nsecond line"}), cli::kExitOk);
    EXPECT_EQ(run({"note", base, "--planet", "0", "--public", "A garden world"}), cli::kExitOk);
    EXPECT_EQ(run({"note", base, "--race", "0", "Traders"}), cli::kExitOk) << cli.err.str();

    EXPECT_EQ(run({"notes", base}), cli::kExitOk);
    EXPECT_EQ(cli.out.str(),
              "the sector (public):\n    Zoë's frontier\n    second line\n"
              "system 1 (secret):\n    Pirates hide here\n"
              "planet 0 (public):\n    A garden world\n"
              "race 0 (secret):\n    Traders\n");
    EXPECT_EQ(run({"notes", base, "--json", "--search", "pirate"}), cli::kExitOk);
    const auto found = nlohmann::json::parse(cli.out.str());
    ASSERT_EQ(found.size(), 1U);
    EXPECT_EQ(found[0]["kind"], "system");
    EXPECT_EQ(found[0]["id"], 1);
    EXPECT_EQ(found[0]["public"], false);
    EXPECT_EQ(found[0]["text"], "Pirates hide here");

    EXPECT_EQ(run({"note", base, "--system", "1", "--remove"}), cli::kExitOk);
    EXPECT_EQ(cli.out.str(), "Removed the note on system 1 from " + campaignPath(base) + "\n");
    EXPECT_EQ(run({"notes", base, "--search", "pirates"}), cli::kExitOk);
    EXPECT_EQ(cli.out.str(), "No note matches\n");
}

TEST_F(CampaignCommands, MalformedInputIsRefusedNamingTheOptionAndChangesNothing) {
    const auto refused = [&](const std::vector<std::string>& args, const std::string& says) {
        EXPECT_EQ(run(args), cli::kExitUsage) << args[0] << " " << args.back();
        EXPECT_NE(cli.err.str().find(says), std::string::npos) << cli.err.str();
    };
    const std::int64_t count = static_cast<std::int64_t>(systems().size());
    refused({"note", base, "--system", std::to_string(count), "x"}, fmt::format("is not in {}.sun", base));
    refused({"note", base, "--colony", "0", "x"}, "Colony 0 is not in " + base + ".col (0 colonies)");
    refused({"note", base, "--system", "no such name at all", "x"}, "--system");
    refused({"note", base, "text without a thing"}, "--system");
    refused({"note", base, "--system", "0"}, "TEXT");
    refused({"note", base, "--system", "0", "--planet", "0", "x"}, "--planet");
    refused({"note", base, "--system", "0", "--remove", "x"}, "--remove");
    refused({"note", base, "--system", "0", "   "}, "empty");
    refused({"reveal", base}, "--system");
    refused({"hide", base, "--within", "3"}, "--within and --of go together");
    refused({"hide", base, "--within", "-1", "--of", "0"}, "--within");
    refused({"reveal", base, "--colony", "0"}, "Colony 0 is not in");
    refused({"reveal", base, "--all", "--system", "0"}, "--all");
    refused({"notes", base, "--search", ""}, "--search");
    EXPECT_FALSE(fs::exists(campaignPath(base)));
    // A missing sector is a runtime failure.
    EXPECT_EQ(run({"note", path("nosuch"), "--system", "0", "x"}), cli::kExitRuntime);
    EXPECT_EQ(run({"notes", path("nosuch")}), cli::kExitRuntime);
    EXPECT_NE(cli.err.str().find("No sector at"), std::string::npos) << cli.err.str();
}

TEST_F(CampaignCommands, RevealAndHideTakeRangesNamesAndEverything) {
    const std::vector<TSystemRec> all = systems();
    ASSERT_GT(all.size(), 5U);
    EXPECT_EQ(run({"hide", base, "--within", "2.5", "--of", "3"}), cli::kExitOk) << cli.err.str();
    PlayersView view = playersView(base);
    std::int64_t hidden = 0;
    for (std::size_t id = 0; id < all.size(); ++id) {
        const double dx = all[id].x - all[3].x, dy = all[id].y - all[3].y, dz = all[id].z - all[3].z;
        const bool near = std::sqrt(dx * dx + dy * dy + dz * dz) <= 2.5;
        hidden += near ? 1 : 0;
        EXPECT_EQ(view.knows({ThingKind::System, static_cast<std::int64_t>(id)}), !near) << id;
    }
    EXPECT_EQ(cli.out.str(), fmt::format("Wrote {} {} hidden from the players to {}\n", hidden,
                                         hidden == 1 ? "thing" : "things", campaignPath(base)));
    EXPECT_EQ(run({"reveal", base, "--system", "3", "--system", systemName(1)}), cli::kExitOk) << cli.err.str();
    view = playersView(base);
    EXPECT_TRUE(view.knows({ThingKind::System, 3}));
    EXPECT_TRUE(view.knows({ThingKind::System, 1}));
    EXPECT_EQ(run({"hide", base, "--all"}), cli::kExitOk) << cli.err.str();
    view = playersView(base);
    for (std::size_t id = 0; id < all.size(); ++id)
        EXPECT_FALSE(view.knows({ThingKind::System, static_cast<std::int64_t>(id)}));
    for (bool race : view.races()) EXPECT_FALSE(race);
}

// Several programs noting the same sector at once: every one succeeds,
// taking its turn on the campaign file, and every note is there.
TEST_F(CampaignCommands, ProgramsWritingNotesAtOnceAllSucceed) {
    const std::int64_t count = std::min<std::int64_t>(static_cast<std::int64_t>(systems().size()), 6);
    std::vector<pid_t> writers;
    for (std::int64_t id = 0; id < count; ++id) {
        for (int round = 0; round < 2; ++round) {
            writers.push_back(startCli({"note", base, round == 0 ? "--system" : "--planet", std::to_string(id),
                                        fmt::format("note {} of round {}", id, round)}));
        }
    }
    for (const pid_t writer : writers) {
        const int status = waitFor(writer);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    const std::vector<Note> notes = listNotes(base);
    ASSERT_EQ(notes.size(), static_cast<std::size_t>(2 * count));
    for (std::int64_t id = 0; id < count; ++id) {
        EXPECT_EQ(getNote(base, {ThingKind::System, id})->text, fmt::format("note {} of round 0", id));
        EXPECT_EQ(getNote(base, {ThingKind::Planet, id})->text, fmt::format("note {} of round 1", id));
    }
}

// A merge carrying campaign notes, stopped at every write in turn and killed
// at random moments: the next program to read the main sector finds it and
// its notes either as before the merge or wholly merged, never between.
TEST_F(CampaignCommands, AStoppedMergeLeavesTheNotesWithTheRecords) {
    const std::string added = path("added");
    ASSERT_EQ(run(create(added, "8", "100")), cli::kExitOk) << cli.err.str();
    ASSERT_EQ(run({"note", base, "--sector", "main notes"}), cli::kExitOk);
    ASSERT_EQ(run({"note", added, "--sector", "added notes"}), cli::kExitOk);
    ASSERT_EQ(run({"note", added, "--system", "0", "added system"}), cli::kExitOk);
    ASSERT_EQ(run({"hide", added, "--system", "1"}), cli::kExitOk);
    const auto folder = [&] {
        auto files = snapshot(dir);
        std::erase_if(files, [](const auto& e) { return e.first.ends_with(".lck"); });
        return files;
    };
    const auto original = folder();
    const auto restore = [&] {
        for (const auto& entry : folder()) {
            if (!original.contains(entry.first)) fs::remove(entry.first);
        }
        for (const auto& [file, bytes] : original) writeFileBytes(file, bytes);
    };
    const std::int64_t systemsBefore = static_cast<std::int64_t>(systems().size());
    clearFaultPlan();
    ASSERT_EQ(run({"merge", base, added}), cli::kExitOk) << cli.err.str();
    const std::int64_t operations = fileOperationCount();
    const std::vector<Note> mergedNotes = listNotes(base);
    ASSERT_EQ(mergedNotes.size(), 2U);
    const auto expectWholeOrNothing = [&](const std::string& context) {
        const std::vector<Note> notes = listNotes(base);  // takes the sector: finishes what was stopped
        EXPECT_FALSE(fs::exists(sectorJournalPath(base))) << context;
        EXPECT_FALSE(fs::exists(carriedRowsPath(base))) << context;
        const bool merged = static_cast<std::int64_t>(systems().size()) > systemsBefore;
        if (merged) {
            ASSERT_EQ(notes.size(), 2U) << context;
            EXPECT_EQ(notes[0].text, "main notes\n\nadded notes") << context;
            EXPECT_EQ(notes[1].thing, (Thing{ThingKind::System, systemsBefore})) << context;
            EXPECT_FALSE(playersView(base).knows({ThingKind::System, systemsBefore + 1})) << context;
        } else {
            ASSERT_EQ(notes.size(), 1U) << context;
            EXPECT_EQ(notes[0].text, "main notes") << context;
        }
    };
    for (std::int64_t n = 1; n <= operations; ++n) {
        restore();
        const int status = runProcess({"merge", base, added}, fmt::format("exit:{}", n), {});
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kFaultExitStatus) << n;
        expectWholeOrNothing(fmt::format("stopped at write {}", n));
        EXPECT_EQ(static_cast<std::int64_t>(systems().size()), systemsBefore) << n;
    }
    std::mt19937 random(20261209);
    for (int i = 0; i < 10; ++i) {
        restore();
        const auto delay = std::chrono::microseconds(std::uniform_int_distribution<int>(1, 60000)(random));
        runProcess({"merge", base, added}, "", delay);
        expectWholeOrNothing(fmt::format("killed after {} us", delay.count()));
    }
}

}  // namespace
}  // namespace orrimar

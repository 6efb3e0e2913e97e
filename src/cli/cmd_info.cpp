// orrimar-cli info BASE: the sector's record counts and the runs that made
// it (the lines each run left in the comment file), so that a GM can make a
// sector again with the same seed. Exit 1 when there is no sector at BASE,
// as for every command that reads one.
#include <CLI/CLI.hpp>
#include <fmt/format.h>

#include <fstream>
#include <memory>
#include <string>

#include "cli/cli.h"
#include "common/errors.h"
#include "records/record_file.h"
#include "records/records.h"
#include "records/sector_base.h"
#include "records/sector_files.h"
#include "records/sector_lock.h"

namespace orrimar::cli {

namespace {

// The record count of a member, or 0 when it is missing.
std::int64_t countOf(const std::string& base, const char* extension, std::size_t recordSize) {
    const std::int64_t n = recordCountOnDisk(sectorPath(base, extension), recordSize);
    return n < 0 ? 0 : n;
}

}  // namespace

void registerInfo(CLI::App& app, Context& ctx) {
    auto* cmd = app.add_subcommand("info", "Show a sector's record counts and the runs that made it");
    auto base = std::make_shared<std::string>();
    refuseBlank(cmd->add_option("BASE", *base, "Sector base name (path without extension)"))->required();
    cmd->callback([&ctx, base] {
        requireSector(sectorBaseName(*base));
        // Counted whole: not in the middle of another program's append,
        // and after an interrupted change is finished.
        const SectorLock lock = SectorLock::forReading(sectorBaseName(*base));
        ctx.out << fmt::format(
            "{}: {}\n", *base,
            recordCounts(countOf(*base, ".sun", sizeof(TSystemRec)), countOf(*base, ".pln", sizeof(TPlanetRec)),
                         countOf(*base, ".mon", sizeof(TMoonRec)), countOf(*base, ".aln", sizeof(TAlienRec))));
        std::ifstream comments(sectorPath(*base, ".cmt"), std::ios::binary);
        std::string line;
        int runs = 0;
        while (std::getline(comments, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.find(" run: seed ") == std::string::npos) continue;
            ctx.out << line << '\n';
            ++runs;
        }
        if (runs == 0) ctx.out << "no run recorded in the comment file\n";
        ctx.exitCode = kExitOk;
    });
}

}  // namespace orrimar::cli

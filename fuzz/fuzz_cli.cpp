// orrimar-cli's command line, parsed and run in-process: the input is the
// argument list, split at NUL bytes. Every command runs inside the
// process's scratch folder, which holds two small sound sectors, "s" and
// "t", for the commands that read or grow one.
//
// What the harness refuses to run, so that a fuzz run stays fast and never
// writes outside its folder: an absolute path or one that climbs out (".."),
// and a create without a small --size (the default sector takes seconds).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/cli.h"
#include "fuzz_support.h"
#include "generation/create_sector.h"

using namespace orrimar;

namespace {

struct SectorFile {
    std::string name;
    std::string bytes;
};

// The two sectors every command line finds in its folder, made once.
std::vector<SectorFile> makeSectors(const fuzz::Scratch& scratch) {
    const std::string folder = scratch.path("made");
    std::filesystem::create_directories(folder);
    std::vector<SectorFile> files;
    for (const auto& [name, seed] : {std::pair<const char*, std::uint64_t>{"s", 1}, {"t", 2}}) {
        CreateSectorParams params;
        params.baseName = folder + "/" + name;
        params.sectorName = name;
        params.lastIndex = 3;
        params.density = 30;
        params.seed = seed;
        params.settingsPath = scratch.path("no-such-settings.ini");
        (void)CreateSector(params);
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            const std::string file = entry.path().filename().string();
            if (file.rfind(std::string(name) + ".", 0) == 0) files.push_back({file, fuzz::readFile(entry.path())});
        }
    }
    std::filesystem::remove_all(folder);
    return files;
}

bool safePath(std::string_view arg) {
    if (!arg.empty() && arg.front() == '/') return false;
    if (arg.find("..") != std::string_view::npos) return false;
    if (arg.find("=/") != std::string_view::npos) return false;
    return true;
}

bool smallSize(std::string_view value) { return value.size() == 1 && value[0] >= '1' && value[0] <= '6'; }

// Splits the input into arguments and says whether the harness runs them.
bool argumentsFrom(const std::uint8_t* data, std::size_t size, std::vector<std::string>& args) {
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty()) {
        const std::size_t end = rest.find('\0');
        args.emplace_back(rest.substr(0, end));
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    if (args.size() > 64) return false;
    bool create = false;
    bool sized = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!safePath(arg)) return false;
        if (arg == "create") create = true;
        if (arg.rfind("--size", 0) == 0) {
            const bool joined = arg.size() > 6 && arg[6] == '=';
            if (arg.size() > 6 && !joined) continue;  // another option
            const std::string_view value =
                joined ? std::string_view(arg).substr(7) : (i + 1 < args.size() ? std::string_view(args[i + 1]) : "");
            if (!smallSize(value)) return false;
            sized = true;
        }
    }
    return !create || sized;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::Scratch& scratch = fuzz::scratch();
    static const std::vector<SectorFile> sectors = makeSectors(scratch);
    static const bool inFolder = ::chdir(scratch.dir().c_str()) == 0;
    if (!inFolder) std::abort();

    std::vector<std::string> args;
    if (!argumentsFrom(data, size, args)) return 0;
    scratch.clear();
    for (const SectorFile& file : sectors) fuzz::writeFile(file.name, file.bytes);

    std::ostringstream out;
    std::ostringstream err;
    cli::Context ctx{out, err, scratch.dir(), false, cli::kExitOk, false};
    const int status = cli::runCli(args, ctx);
    if (status != cli::kExitOk && status != cli::kExitRuntime && status != cli::kExitUsage) std::abort();
    return 0;
}

#include "settling/settled_layer.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <iterator>
#include <map>
#include <string_view>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include <fmt/format.h>

#include "common/errors.h"
#include "common/file_io.h"
#include "records/colony_codes.h"
#include "records/record_codec.h"
#include "records/record_file.h"
#include "records/record_reader.h"
#include "records/sector_base.h"
#include "records/sector_files.h"
#include "records/sector_journal.h"

namespace orrimar {

namespace {

namespace fs = std::filesystem;

std::size_t memberIndex(std::string_view extension) {
    const auto* at = std::find(std::begin(kSectorMemberExtensions), std::end(kSectorMemberExtensions), extension);
    return static_cast<std::size_t>(at - std::begin(kSectorMemberExtensions));
}

template <typename T>
std::vector<T> readAll(const std::string& path) {
    RecordReader<T> file(path, IfMissing::Empty);
    std::vector<T> records;
    records.reserve(static_cast<std::size_t>(file.count()));
    file.forEach([&](std::int64_t, const T& record) { records.push_back(record); });
    return records;
}

template <typename T>
std::string encodeAll(const std::vector<T>& records) {
    std::string bytes(records.size() * sizeof(T), '\0');
    for (std::size_t i = 0; i < records.size(); ++i) {
        encodeRecord(records[i], reinterpret_cast<unsigned char*>(bytes.data() + i * sizeof(T)));
    }
    return bytes;
}

std::string readBytes(const std::string& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec) return {};
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw ioErrorFromErrno(errno, path);
    const ssize_t got = ::pread(fd, bytes.data(), bytes.size(), 0);
    const int err = errno;
    ::close(fd);
    if (got != static_cast<ssize_t>(bytes.size())) throw ioErrorFromErrno(got < 0 ? err : EIO, path);
    return bytes;
}

// A member rewritten whole: created or cut to nothing, then written.
void replaceMember(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw ioErrorFromErrno(errno, path);
    const bool written = writeAll(fd, bytes.data(), bytes.size()) == bytes.size();
    const int err = errno;
    ::close(fd);
    if (!written) throw ioErrorFromErrno(err, path);
}

struct PlanetPatch {
    std::int64_t offset = 0;
    std::string before;
    std::string after;
};

}  // namespace

SettledLayer ReadSettledLayer(const std::string& baseName) {
    SettledLayer layer;
    layer.colonies = readAll<TColonyRec>(sectorPath(baseName, ".col"));
    layer.control = readAll<TConRec>(sectorPath(baseName, ".con"));
    layer.empires = readAll<TEmpireRec>(sectorPath(baseName, ".emp"));
    return layer;
}

std::vector<TConRec> deriveControl(const std::vector<TColonyRec>& colonies,
                                   const std::function<std::int64_t(const TColonyRec&)>& systemOf) {
    struct Holder {
        int population = -1;
        std::uint16_t race = kNoRace;
    };
    std::map<std::int64_t, Holder> bySystem;
    for (const TColonyRec& colony : colonies) {
        if (isVacant(colony) || colony.allegiance == kNoRace) continue;
        const std::int64_t system = systemOf(colony);
        if (system < 0) continue;
        Holder& holder = bySystem[system];
        const int people = colony.populationCode;
        if (people > holder.population || (people == holder.population && colony.allegiance < holder.race)) {
            holder = {people, colony.allegiance};
        }
    }
    std::vector<TConRec> control;
    control.reserve(bySystem.size());
    for (const auto& [system, holder] : bySystem) {
        control.push_back(TConRec{static_cast<std::int32_t>(system), holder.race});
    }
    return control;
}

std::vector<PlanetOwner> planetOwnersFor(const std::vector<TColonyRec>& colonies,
                                         const std::vector<std::int64_t>& colonisedNow) {
    std::map<std::int64_t, std::uint16_t> owners;
    for (const std::int64_t planet : colonisedNow) owners[planet] = kNoRace;
    for (const TColonyRec& colony : colonies) {
        if (isVacant(colony) || isMoonBase(colony) || colony.allegiance == kNoRace) continue;
        owners[colony.worldId] = colony.allegiance;
    }
    std::vector<PlanetOwner> result;
    result.reserve(owners.size());
    for (const auto& [planet, race] : owners) result.push_back({planet, race});
    return result;
}

void WriteSettledLayer(const std::string& baseName, const SettledLayer& layer,
                       const std::vector<PlanetOwner>& planetOwners) {
    const std::string planetsPath = sectorPath(baseName, ".pln");
    std::vector<PlanetPatch> patches;
    {
        RecordFile<TPlanetRec> planets(planetsPath, RawRecordFile::Mode::ReadOnly);
        for (const PlanetOwner& owner : planetOwners) {
            if (owner.planetId < 0 || owner.planetId >= planets.count()) {
                throw RangeError(fmt::format("{}: planet {} beyond the file's {} records", planetsPath, owner.planetId,
                                             planets.count()));
            }
            const TPlanetRec before = planets.read(owner.planetId);
            TPlanetRec after = before;
            setColonisingRace(after, owner.race);
            PlanetPatch patch;
            patch.offset = owner.planetId * static_cast<std::int64_t>(sizeof(TPlanetRec));
            patch.before = encodeAll(std::vector<TPlanetRec>{before});
            patch.after = encodeAll(std::vector<TPlanetRec>{after});
            if (patch.before != patch.after) patches.push_back(std::move(patch));
        }
    }

    struct Member {
        std::string path;
        std::string bytes;
    };
    const std::array<Member, 3> members = {{
        {sectorPath(baseName, ".col"), encodeAll(layer.colonies)},
        {sectorPath(baseName, ".con"), encodeAll(layer.control)},
        {sectorPath(baseName, ".emp"), encodeAll(layer.empires)},
    }};

    // Everything overwritten is saved before the first write: the old
    // members whole, and the planets about to change.
    std::vector<SavedBytes> saved;
    for (const char* extension : {".col", ".con", ".emp"}) {
        std::string old = readBytes(sectorPath(baseName, extension));
        if (!old.empty()) saved.push_back({memberIndex(extension), 0, std::move(old)});
    }
    const std::size_t planetMember = memberIndex(".pln");
    for (const PlanetPatch& patch : patches) saved.push_back({planetMember, patch.offset, patch.before});

    JournalScope journal(baseName, saved);
    // The colonies before the planets that name their owners, the control
    // and empire records (which follow from the colonies) after them.
    replaceMember(members[0].path, members[0].bytes);
    if (!patches.empty()) {
        const int fd = ::open(planetsPath.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0) throw ioErrorFromErrno(errno, planetsPath);
        for (const PlanetPatch& patch : patches) {
            if (writeAllAt(fd, patch.after.data(), patch.after.size(), patch.offset) != patch.after.size()) {
                const int err = errno;
                ::close(fd);
                throw ioErrorFromErrno(err, planetsPath);
            }
        }
        ::close(fd);
    }
    replaceMember(members[1].path, members[1].bytes);
    replaceMember(members[2].path, members[2].bytes);
    journal.commit();
}

}  // namespace orrimar

#include "names/named_things.h"

#include <fmt/format.h>

#include "common/ansi_text.h"
#include "common/errors.h"
#include "names/rename.h"
#include "records/sector_base.h"

namespace orrimar {

std::optional<std::string> storedName(const std::string& sector, NameKind kind, std::int64_t id) {
    std::optional<std::string> name;
    try {
        // One pass over the name file keeping the one name asked for.
        const SectorNames names = SectorNames::load(
            sectorBaseName(sector), [&](NameKind k, std::int32_t value) { return k == kind && value == id; });
        name = names.find(kind, id);
    } catch (const OrrError&) {
        // The command has done its work; a name file it cannot read only
        // leaves the name out of the line.
    }
    if (name) name = ansiToUtf8(*name);
    return name;
}

std::string namedThing(const std::string& sector, NameKind kind, std::int64_t id) {
    const auto name = storedName(sector, kind, id);
    if (!name) return fmt::format("{} {}", nameKindWord(kind), id);
    return fmt::format("{} {} ({})", nameKindWord(kind), id, *name);
}

}  // namespace orrimar

#include "cli/id_args.h"

#include <limits>

#include <fmt/format.h>

#include "common/errors.h"

#include "names/find_by_text.h"
#include "records/record_file.h"
#include "records/records.h"
#include "records/sector_base.h"
#include "records/sector_files.h"

namespace orrimar::cli {

std::int64_t idFromText(const std::string& sector, NameKind kind, const std::string& text, const char* option) {
    const std::string base = sectorBaseName(sector);
    // Read only when the text is a name: findByText asks for the names then.
    const NameSource names = [&](const std::function<void(std::int64_t, std::string_view)>& visit) {
        if (kind == NameKind::Race) {
            const std::string races = sectorPath(base, ".aln");
            if (recordCountOnDisk(races, sizeof(TAlienRec)) < 0) {
                throw MissingError(fmt::format("No races at {} ({} not found)", base, races));
            }
        } else {
            requireSector(base);
        }
        const SectorNames stored = SectorNames::load(base);
        nameSourceOf(stored, kind)(visit);
    };
    const char* noun = kind == NameKind::Race ? "race" : "system";
    const std::int64_t id = findByText(text, names, -1, option, noun);
    // Record ids are 32 bits wide in every file that holds one.
    if (id > std::numeric_limits<std::int32_t>::max()) {
        throw InputError(fmt::format("{}: there is no {} {}", option, noun, id));
    }
    return id;
}

atlas::SystemId systemIdFromText(const atlas::AtlasModel& model, const std::string& text, const char* option) {
    const NameSource names = [&](const std::function<void(std::int64_t, std::string_view)>& visit) {
        for (atlas::SystemId id = 0; id < model.size(); ++id) {
            if (!model.name(id).empty()) visit(id, model.name(id));
        }
    };
    return static_cast<atlas::SystemId>(findByText(text, names, model.size(), option, "system"));
}

}  // namespace orrimar::cli

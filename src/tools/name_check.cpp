#include "tools/name_check.h"

#include <fmt/format.h>

#include "common/ansi_text.h"
#include "names/rename.h"
#include "names/sector_names.h"

namespace orrimar {

namespace {

std::int64_t countFor(NameKind kind, const NamedCounts& c) {
    switch (kind) {
        case NameKind::System: return c.systems;
        case NameKind::Planet: return c.planets;
        case NameKind::Race: return c.races;
        case NameKind::Moon: return c.moons;
        case NameKind::Header: break;
    }
    return 0;
}

bool hasControl(const PascalString<50>& name) {
    for (std::size_t i = 0; i < name.length && i < name.chars.size(); ++i) {
        const char32_t cp = ansiToCodePoint(static_cast<unsigned char>(name.chars[i]));
        if (cp < 0x20 || (cp >= 0x7F && cp <= 0x9F)) return true;
    }
    return false;
}

}  // namespace

void checkNameRecords(RecordReader<TNameRec>& names, const NamedCounts& counts,
                      const std::function<void(const std::string&)>& problem) {
    names.forEach([&](std::int64_t k, const TNameRec& r) {
        if (k == 0) return;  // the header has a check of its own
        if (r.kind == static_cast<std::uint8_t>(NameKind::Header)) {
            problem(fmt::format("{}: record {} is a second header (kind 0)", names.path(), k));
            return;
        }
        if (r.kind > 4) return;
        const auto kind = static_cast<NameKind>(r.kind);
        if (r.name.length > r.name.chars.size()) {
            problem(fmt::format("{}: record {} has a name length of {}, more than {}", names.path(), k, r.name.length,
                                r.name.chars.size()));
        } else if (hasControl(r.name)) {
            problem(fmt::format("{}: record {} ({} {}) holds a control character", names.path(), k, nameKindWord(kind),
                                r.value));
        }
        const std::int64_t count = countFor(kind, counts);
        if (r.value < 0 || r.value >= count) {
            problem(fmt::format("{}: record {} names {} {}, but the sector has {} {} record{}", names.path(), k,
                                nameKindWord(kind), r.value, count, nameKindWord(kind), count == 1 ? "" : "s"));
        }
    });
}

}  // namespace orrimar

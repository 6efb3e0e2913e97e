#include "names/sector_names.h"

#include <algorithm>
#include <array>

#include <fmt/format.h>

#include "records/record_reader.h"
#include "records/sector_files.h"

namespace orrimar {

TNameRec makeNameRecord(NameKind kind, std::int32_t value, std::string_view ansiName) {
    TNameRec r;
    r.kind = static_cast<std::uint8_t>(kind);
    r.value = value;
    r.name.assign(ansiName);
    return r;
}

SectorNames SectorNames::load(const std::string& baseName) { return load(baseName, Wanted()); }

SectorNames SectorNames::load(const std::string& baseName, const Wanted& wanted) {
    SectorNames names;
    RecordReader<TNameRec> file(sectorPath(baseName, ".nam"), IfMissing::Empty);
    file.forEach([&](std::int64_t id, const TNameRec& r) {
        if (id == 0 && r.kind == static_cast<std::uint8_t>(NameKind::Header)) {
            names.sectorName_ = r.name.str();
        } else if (!wanted || r.kind < 1 || r.kind > 4 || wanted(static_cast<NameKind>(r.kind), r.value)) {
            names.add(r);
        }
    });
    names.finish();
    return names;
}

SectorNames SectorNames::fromRecords(const std::vector<TNameRec>& records) {
    SectorNames names;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i == 0 && records[i].kind == static_cast<std::uint8_t>(NameKind::Header)) {
            names.sectorName_ = records[i].name.str();
        } else {
            names.add(records[i]);
        }
    }
    names.finish();
    return names;
}

void SectorNames::add(const TNameRec& record) {
    if (record.kind < 1 || record.kind > 4) {
        // A header past the first record is as foreign as another program's kind.
        ++foreignRecords_;
        return;
    }
    const std::size_t length = std::min<std::size_t>(record.name.length, kMaxStoredNameLength);
    // An empty name is kept as an entry of length 0 until finish(): it must
    // still beat the earlier records of its id.
    tables_[record.kind - 1].entries.push_back(
        {record.value, static_cast<std::uint32_t>(pool_.size()), static_cast<std::uint32_t>(length)});
    pool_.append(record.name.chars.data(), length);
}

void SectorNames::finish() {
    for (Table& t : tables_) {
        auto& e = t.entries;
        // Generation writes names in id order; sorting is for renamed and
        // merged files. Stable, so that of equal ids the last record stays last.
        const auto byId = [](const Entry& a, const Entry& b) { return a.id < b.id; };
        if (!std::is_sorted(e.begin(), e.end(), byId)) std::stable_sort(e.begin(), e.end(), byId);
        std::size_t out = 0;
        for (std::size_t i = 0; i < e.size(); ++i) {
            if (i + 1 < e.size() && e[i + 1].id == e[i].id) continue;  // a later record wins
            if (e[i].length == 0) continue;                            // the name was taken away
            e[out++] = e[i];
        }
        e.resize(out);
        e.shrink_to_fit();
    }
}

const SectorNames::Table* SectorNames::table(NameKind kind) const {
    const auto k = static_cast<std::uint8_t>(kind);
    if (k < 1 || k > 4) return nullptr;
    return &tables_[k - 1];
}

std::optional<std::string> SectorNames::find(NameKind kind, std::int64_t id) const {
    const Table* t = table(kind);
    if (t == nullptr || id < INT32_MIN || id > INT32_MAX) return std::nullopt;
    const auto key = static_cast<std::int32_t>(id);
    const auto it = std::lower_bound(t->entries.begin(), t->entries.end(), key,
                                     [](const Entry& e, std::int32_t k) { return e.id < k; });
    if (it == t->entries.end() || it->id != key) return std::nullopt;
    return nameOf(*it);
}

bool SectorNames::empty() const {
    return std::all_of(std::begin(tables_), std::end(tables_), [](const Table& t) { return t.entries.empty(); });
}

std::size_t SectorNames::count(NameKind kind) const {
    const Table* t = table(kind);
    return t == nullptr ? 0 : t->entries.size();
}

std::size_t SectorNames::longest(NameKind kind) const {
    const Table* t = table(kind);
    if (t == nullptr) return 0;
    std::size_t widest = 0;
    for (const Entry& e : t->entries) widest = std::max<std::size_t>(widest, e.length);
    return widest;
}

// ------------------------------------------------------ conventional names

std::string romanNumeral(int number) {
    if (number < 1 || number > 3999) return {};
    struct Step {
        int value;
        const char* text;
    };
    static constexpr std::array<Step, 13> kSteps = {{{1000, "M"},
                                                     {900, "CM"},
                                                     {500, "D"},
                                                     {400, "CD"},
                                                     {100, "C"},
                                                     {90, "XC"},
                                                     {50, "L"},
                                                     {40, "XL"},
                                                     {10, "X"},
                                                     {9, "IX"},
                                                     {5, "V"},
                                                     {4, "IV"},
                                                     {1, "I"}}};
    std::string out;
    for (const Step& s : kSteps) {
        while (number >= s.value) {
            out += s.text;
            number -= s.value;
        }
    }
    return out;
}

std::string moonLetters(int position) {
    if (position < 0) return {};
    // Bijective base 26: a..z, aa..az, ba ...
    std::string out;
    int n = position + 1;
    while (n > 0) {
        --n;
        out.insert(out.begin(), static_cast<char>('a' + n % 26));
        n /= 26;
    }
    return out;
}

std::optional<WorldPlace> worldPlace(const TSystemRec& system, std::int64_t planetId) {
    const int stars = starCountOf(system);
    for (int s = 0; s < stars; ++s) {
        const std::int64_t first = system.firstPlanetId[static_cast<std::size_t>(s)];
        const int count = std::min<int>(system.planetCount[static_cast<std::size_t>(s)], 18);
        if (planetId < first || planetId >= first + count) continue;
        WorldPlace place;
        place.star = s + 1;
        place.orbit = static_cast<int>(planetId - first) + 1;
        int planets = 0;
        int belts = 0;
        for (int j = 0; j < place.orbit; ++j) {
            const bool belt = system.orbit[static_cast<std::size_t>(j)][static_cast<std::size_t>(s)] < 0;
            (belt ? belts : planets) += 1;
            place.belt = belt;
        }
        place.number = place.belt ? belts : planets;
        return place;
    }
    return std::nullopt;
}

std::string conventionalWorldName(std::string_view systemName, const WorldPlace& place) {
    std::string out(systemName);
    if (place.star > 1) {
        out += ' ';
        out += static_cast<char>('A' + place.star - 1);
    }
    if (place.belt) return fmt::format("{} belt {}", out, place.number);
    return fmt::format("{} {}", out, romanNumeral(place.number));
}

std::string conventionalMoonName(std::string_view planetName, int position) {
    return fmt::format("{} {}", planetName, moonLetters(position));
}

SystemNamer::SystemNamer(const SectorNames& names, std::int64_t systemId, const TSystemRec& system)
    : names_(names), record_(system), systemName_(names.system(systemId)) {}

std::optional<std::string> SystemNamer::planet(std::int64_t planetId) const {
    if (auto own = names_.planetOverride(planetId)) return own;
    if (!systemName_) return std::nullopt;
    const auto place = worldPlace(record_, planetId);
    if (!place) return std::nullopt;
    return conventionalWorldName(*systemName_, *place);
}

std::optional<std::string> SystemNamer::moon(std::int64_t planetId, std::int64_t firstMoonId,
                                             std::int64_t moonId) const {
    if (auto own = names_.moonOverride(moonId)) return own;
    if (moonId < firstMoonId) return std::nullopt;
    const auto planetName = planet(planetId);
    if (!planetName) return std::nullopt;
    return conventionalMoonName(*planetName, static_cast<int>(moonId - firstMoonId));
}

std::string withId(const std::optional<std::string>& name, std::int64_t id) {
    if (!name) return std::to_string(id);
    return fmt::format("{} ({})", *name, id);
}

}  // namespace orrimar

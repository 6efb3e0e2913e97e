#include "exports/players_pages.h"

#include <fmt/format.h>

#include <algorithm>
#include <vector>

#include "common/ansi_text.h"
#include "common/bit_flags.h"
#include "names/sector_names.h"
#include "vocabulary/alien_names.h"

namespace orrimar::exports {

using namespace orrimar::documents;
using namespace orrimar::vocabulary;

namespace {

std::string lowerFirst(std::string text) {
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

std::string joined(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& item : items) out += (out.empty() ? "" : ", ") + item;
    return out.empty() ? std::string("none") : out;
}

}  // namespace

void writeSheet(Document& doc, const sheets::SystemSheet& sheet) {
    doc.keyValues({{"Sector", sheet.sector}, {"Position", sheet.place}, {"Age", sheet.age}});
    doc.heading("Stars", 1);
    std::vector<std::vector<std::string>> stars;
    for (const sheets::SheetStar& star : sheet.stars) {
        stars.push_back({star.letter, star.designation, star.plainName, star.detail});
    }
    doc.table({{"Star"}, {"Class"}, {"Kind"}, {"Mass and light"}}, stars);
    doc.heading("Worlds", 1);
    if (sheet.worlds.empty()) {
        doc.paragraph("Nothing orbits the stars of this system.");
        return;
    }
    std::vector<std::vector<std::string>> worlds;
    std::vector<std::vector<std::string>> moons;
    for (const sheets::SheetWorld& w : sheet.worlds) {
        worlds.push_back({w.place, w.name, w.orbit, w.kind, w.size, w.air, w.temperature, w.gravity, w.life});
        for (const sheets::SheetMoon& m : w.moons) {
            moons.push_back({w.name.empty() ? w.place : w.name, m.name, m.kind, m.size});
        }
    }
    doc.table({{"Place"},
               {"Name"},
               {"Orbit", Align::Right},
               {"Kind"},
               {"Size", Align::Right},
               {"Air"},
               {"Temperature", Align::Right},
               {"Gravity", Align::Right},
               {"Life"}},
              worlds);
    if (moons.empty()) return;
    doc.heading("Moons", 2);
    doc.table({{"World"}, {"Moon"}, {"Kind"}, {"Size", Align::Right}}, moons);
}

std::string playersRaceName(const SectorNames& names, const TAlienRec& race, std::int64_t raceId) {
    if (const auto name = names.race(raceId)) return ansiToUtf8(*name);
    return fmt::format("Unnamed {} race", lowerFirst(subtypeName(race.subtype)));
}

void writePlayersRace(Document& doc, const TAlienRec& race) {
    std::vector<std::string> appendages;
    const std::size_t count = std::min<std::size_t>(race.appendageCount, race.appendageTypes.size());
    for (std::size_t i = 0; i < count; ++i) appendages.push_back(appendageName(race.appendageTypes[i]));
    doc.heading("Appearance", 1);
    doc.keyValues({
        {"Kind", subtypeName(race.subtype)},
        {"Body plan", formCodeName(race.formCode)},
        {"Body chemistry", bodyFormName(race.bodyForm)},
        {"Habitat", habitatName(race.habitat)},
        {"Appendages", joined(appendages)},
        {"Height", fmt::format("{:.2f} m", race.height / 100.0)},
        {"Mass", fmt::format("{} kg", race.mass)},
        {std::string(aspectTitle(Aspect::D)), aspectName(Aspect::D, race.aspectD)},
    });
    doc.heading("Life and society", 1);
    doc.keyValues({
        {std::string(aspectTitle(Aspect::A)), aspectName(Aspect::A, race.aspectA)},
        {std::string(aspectTitle(Aspect::B)), aspectName(Aspect::B, race.aspectB)},
        {std::string(aspectTitle(Aspect::C)), aspectName(Aspect::C, race.aspectC)},
        {std::string(ratingTitle('C')), fmt::format("{} years", race.ratingC)},
        {"Society", orderName(race.orderCode)},
        {std::string(aspectTitle(Aspect::E)), aspectName(Aspect::E, race.aspectE)},
        {std::string(aspectTitle(Aspect::F)), aspectName(Aspect::F, race.aspectF)},
        // Development runs 1 to 10 in the program's own scale.
        {"Technology", fmt::format("level {} of 10", race.techLevel)},
        {"In space",
         race.spatialAge == 0 ? std::string("not spacefaring") : fmt::format("for {} years", race.spatialAge)},
    });
    std::vector<std::string> traits;
    for (int t = 1; t <= kTraitCount; ++t) {
        if (testBit(race.traits[static_cast<std::size_t>((t - 1) / 8)], static_cast<std::uint8_t>((t - 1) % 8 + 1))) {
            traits.push_back(traitName(t));
        }
    }
    if (!traits.empty()) {
        doc.heading("Traits", 1);
        doc.paragraph(joined(traits));
    }
}

}  // namespace orrimar::exports

#include "settling/empire_edit.h"

#include <charconv>

#include <fmt/format.h>

#include "common/ansi_text.h"
#include "names/rename.h"
#include "records/colony_codes.h"
#include "settling/field_error.h"
#include "settling/settled_edit.h"

namespace orrimar {

namespace {

// Colours far enough apart to tell neighbouring empires apart on a map.
constexpr std::array<EmpireColour, 10> kEmpirePalette = {{
    {0xE6, 0x19, 0x4B},
    {0x3C, 0xB4, 0x4B},
    {0xFF, 0xE1, 0x19},
    {0x43, 0x63, 0xD8},
    {0xF5, 0x82, 0x31},
    {0x91, 0x1E, 0xB4},
    {0x42, 0xD4, 0xF4},
    {0xF0, 0x32, 0xE6},
    {0xBF, 0xEF, 0x45},
    {0xFA, 0xBE, 0xD4},
}};

// The name in the name file's code page, as the record stores it.
std::string checkedEmpireName(const std::string& utf8) {
    std::string ansi;
    try {
        ansi = checkedName(utf8);
    } catch (const InputError& e) {
        throw FieldError("name", e.what());
    }
    if (ansi.empty()) throw FieldError("name", "an empire needs a name");
    if (ansi.size() > kMaxEmpireNameLength) {
        throw FieldError("name", fmt::format("'{}' is {} characters long; an empire's name holds at most {}", utf8,
                                             ansi.size(), kMaxEmpireNameLength));
    }
    return ansi;
}

// The live empire of `race` other than `except`; -1 for none.
std::int64_t empireOf(const SettledLayer& layer, std::int64_t race, std::int64_t except) {
    for (std::size_t i = 0; i < layer.empires.size(); ++i) {
        if (static_cast<std::int64_t>(i) == except || isVacant(layer.empires[i])) continue;
        if (layer.empires[i].race == race) return static_cast<std::int64_t>(i);
    }
    return -1;
}

void apply(SettledEdit& edit, const EmpireFields& f, std::int64_t empireId, TEmpireRec& empire) {
    if (f.race) {
        edit.requireRace(*f.race, "race");
        const std::int64_t other = empireOf(edit.before(), *f.race, empireId);
        if (other >= 0) {
            throw FieldError("race",
                             fmt::format("race {} already has empire {}; change or remove that one", *f.race, other));
        }
        empire.race = static_cast<std::uint16_t>(*f.race);
    }
    if (f.name) empire.name.assign(checkedEmpireName(*f.name));
    if (f.capital) {
        edit.requireSystem(*f.capital, "capital");
        empire.capitalSystemId = static_cast<std::int32_t>(*f.capital);
    }
    if (f.colour) empire.colour = *f.colour;
}

}  // namespace

EmpireEditResult AddEmpire(const std::string& baseName, const EmpireFields& fields) {
    if (!fields.race) throw FieldError("race", "a new empire needs its race");
    if (!fields.name) throw FieldError("name", "a new empire needs a name");
    SettledEdit edit(baseName);
    TEmpireRec empire;
    apply(edit, fields, -1, empire);
    if (!fields.capital) empire.capitalSystemId = static_cast<std::int32_t>(edit.homeSystemOf(empire.race));
    if (!fields.colour) empire.colour = defaultEmpireColour(empire.race);
    return {appendRecord(edit, kEmpireList, empire), empire};
}

EmpireEditResult SetEmpire(const std::string& baseName, std::int64_t empireId, const EmpireFields& fields) {
    SettledEdit edit(baseName);
    return {empireId, changeRecord(edit, kEmpireList, empireId,
                                   [&](TEmpireRec& empire) { apply(edit, fields, empireId, empire); })};
}

EmpireEditResult RemoveEmpire(const std::string& baseName, std::int64_t empireId) {
    SettledEdit edit(baseName);
    return {empireId, removeRecord(edit, kEmpireList, empireId)};
}

EmpireColour colourFromText(std::string_view text, const char* field) {
    const auto refuse = [&] {
        return FieldError(field, fmt::format("'{}' is not a colour: give #RRGGBB, six hex digits", text));
    };
    if (text.size() != 7 || text[0] != '#') throw refuse();
    EmpireColour colour{};
    for (std::size_t i = 0; i < colour.size(); ++i) {
        const char* first = text.data() + 1 + 2 * i;
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(first, first + 2, value, 16);
        if (ec != std::errc() || end != first + 2) throw refuse();
        colour[i] = static_cast<std::uint8_t>(value);
    }
    return colour;
}

std::string colourText(const EmpireColour& colour) {
    return fmt::format("#{:02X}{:02X}{:02X}", colour[0], colour[1], colour[2]);
}

EmpireColour defaultEmpireColour(std::int64_t race) {
    return kEmpirePalette[static_cast<std::size_t>(race < 0 ? 0 : race) % kEmpirePalette.size()];
}

}  // namespace orrimar

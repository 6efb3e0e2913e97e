// The alien log: the description of one race in one of the six output
// systems, written into a log the caller has opened or into a file.
#include <algorithm>
#include <filesystem>
#include <system_error>
#include <ostream>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "common/ansi_text.h"
#include "common/bit_flags.h"
#include "common/errors.h"
#include "vocabulary/alien_names.h"
#include "vocabulary/body_names.h"
#include "vocabulary/output_systems.h"
#include "documents/document.h"
#include "reading/sector_reader.h"
#include "reading/settled_view.h"
#include "records/colony_codes.h"
#include "vocabulary/colony_words.h"
#include "logs/alien_log.h"
#include "logs/notes_section.h"
#include "logs/rule_systems.h"
#include "generation/physics.h"
#include "names/sector_names.h"
#include "records/record_file.h"
#include "records/record_validation.h"
#include "records/records.h"
#include "records/sector_base.h"
#include "records/sector_files.h"

namespace orrimar::logs {

using namespace orrimar::vocabulary;
using namespace orrimar::documents;
using namespace orrimar::reading;

namespace {

// A planet whose system id is this was written by the Alien Generator: a
// world described only by temperature, atmosphere and gravity, the gravity
// held in the pressure field.
constexpr std::int32_t kMadeToOrderSystem = -1;

std::string plural(long long n, std::string_view one, std::string_view many) {
    return fmt::format("{} {}", n, n == 1 ? one : many);
}

// Names of the flags set in a two-byte flag set.
std::vector<std::string> setFlags(const std::array<std::uint8_t, 2>& bytes, int set) {
    std::vector<std::string> names;
    for (int f = 1; f <= kFlagsPerSet; ++f) {
        if (testBit(bytes[static_cast<std::size_t>((f - 1) / 8)], static_cast<std::uint8_t>((f - 1) % 8 + 1)))
            names.push_back(flagName(set, f));
    }
    return names;
}

std::string joined(const std::vector<std::string>& items, std::string_view none = "none") {
    if (items.empty()) return std::string(none);
    std::string out;
    for (const auto& item : items) {
        if (!out.empty()) out += ", ";
        out += item;
    }
    return out;
}

std::string compositionText(int composition) { return std::string(compositionName(composition)); }

std::string lastComponent(const std::string& baseName) {
    const std::string name = std::filesystem::path(baseName).filename().string();
    return name.empty() ? baseName : name;
}

// The sector's name from its name file's header, else the base name's last
// component.
std::string sectorNameOf(const std::string& baseName) {
    const std::string path = sectorPath(baseName, ".nam");
    if (recordCountOnDisk(path, sizeof(TNameRec)) > 0) {
        RecordFile<TNameRec> names(path, RawRecordFile::Mode::ReadOnly);
        const std::string name = ansiToUtf8(names.read(0).name.str());
        if (!name.empty()) return name;
    }
    return lastComponent(baseName);
}

TAlienRec readRace(const std::string& alienBase, std::int32_t raceId) {
    const std::string path = sectorPath(alienBase, ".aln");
    if (std::error_code ec; !std::filesystem::exists(path, ec)) {
        requireFolderFor(alienBase);
        throw MissingError(fmt::format("No races at {} ({} not found)", alienBase, path));
    }
    RecordFile<TAlienRec> races(path, RawRecordFile::Mode::ReadOnly);
    requireRecordId(raceId, races.count(), alienBase, "Race", "races");
    const TAlienRec race = races.read(raceId);
    // The race's own codes only: its home world may lie outside this file
    // set (a made-to-order race, a negated id), which homeWorld() says.
    if (auto problem = raceCodeProblem(race)) throw recordError(path, raceId, *problem);
    return race;
}

// The few names the log shows, read in one pass over the name file: the
// race's, its home world's override and its home system's. A sector without
// names gives none, and its log reads as it always did.
SectorNames namesForLog(const std::string& alienBase, std::int32_t raceId, const TAlienRec& race) {
    std::int32_t homeSystem = -1;
    const std::string planetPath = sectorPath(alienBase, ".pln");
    if (race.worldId >= 0 && race.worldId < recordCountOnDisk(planetPath, sizeof(TPlanetRec))) {
        homeSystem = RecordFile<TPlanetRec>(planetPath, RawRecordFile::Mode::ReadOnly).read(race.worldId).systemId;
    }
    return SectorNames::load(alienBase, [&](NameKind kind, std::int32_t value) {
        return (kind == NameKind::Race && value == raceId) || (kind == NameKind::Planet && value == race.worldId) ||
               (kind == NameKind::System && value == homeSystem && value >= 0);
    });
}

std::string lowerFirst(std::string text) {
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

std::string withArticle(const std::string& phrase) {
    const bool vowel = !phrase.empty() && std::string_view("aeiouAEIOU").find(phrase[0]) != std::string_view::npos;
    return (vowel ? "An " : "A ") + phrase;
}

// What the log can say of the home world: the planet record when the
// sector has it, and its system when that is there too. `worldName` is the
// home world's name (UTF-8) when the sector names it.
KeyValues homeWorld(const std::string& alienBase, const TAlienRec& race, const SectorNames& names, std::string& summary,
                    std::string& worldName, bool& madeToOrder) {
    madeToOrder = false;
    KeyValues items;
    const std::string planetPath = sectorPath(alienBase, ".pln");
    const std::int64_t planets = recordCountOnDisk(planetPath, sizeof(TPlanetRec));
    if (race.worldId < 0 || race.worldId >= planets) {
        items.emplace_back("World", fmt::format("planet {} (not in this sector's planet file)", race.worldId));
        summary = "";
        return items;
    }
    RecordFile<TPlanetRec> planetFile(planetPath, RawRecordFile::Mode::ReadOnly);
    const TPlanetRec planet = planetFile.read(race.worldId);
    if (planet.systemId == kMadeToOrderSystem) {
        madeToOrder = true;
        items.emplace_back("World", "made to order");
        items.emplace_back("Temperature", fmt::format("{} °C", planet.temperature));
        items.emplace_back("Gravity", fmt::format("{} g", fixed(planet.pressure, 2)));
        items.emplace_back("Atmosphere", compositionText(planet.composition));
        summary = fmt::format("a world of {} °C and {} g", planet.temperature, fixed(planet.pressure, 2));
        return items;
    }
    const std::string systemPath = sectorPath(alienBase, ".sun");
    // A sector's planet is read through the validating layer, against the
    // counts of its sector's files.
    const auto wholeRecords = [&](const char* extension, std::size_t size) {
        return std::max<std::int64_t>(0, recordCountOnDisk(sectorPath(alienBase, extension), size));
    };
    const SectorCounts counts{wholeRecords(".sun", sizeof(TSystemRec)), planets, wholeRecords(".mon", sizeof(TMoonRec)),
                              wholeRecords(".aln", sizeof(TAlienRec))};
    requireSound(planet, counts, planetPath, race.worldId);
    std::string systemLine = fmt::format("{}", planet.systemId);
    std::optional<std::string> world = names.planetOverride(race.worldId);
    if (planet.systemId >= 0 && planet.systemId < recordCountOnDisk(systemPath, sizeof(TSystemRec))) {
        RecordFile<TSystemRec> systems(systemPath, RawRecordFile::Mode::ReadOnly);
        const TSystemRec system = systems.read(planet.systemId);
        const SystemNamer namer(names, planet.systemId, system);
        world = namer.planet(race.worldId);
        systemLine = fmt::format("{} at x {}, y {}, z {} pc", labelled(namer.system(), planet.systemId), system.x,
                                 system.y, system.z);
    }
    worldName = nameText(world);
    items.emplace_back("World", fmt::format("planet {}", labelled(world, race.worldId)));
    items.emplace_back("System", systemLine);
    const Bulk bulk = bulkProperties(planet.density, planet.diameter);
    const std::string type = worldTypeText(planet.worldType);
    items.emplace_back("World type", type);
    items.emplace_back("Diameter", fmt::format("{} km", grouped(planet.diameter)));
    items.emplace_back("Gravity", fmt::format("{} g", fixed(bulk.gravity, 2)));
    items.emplace_back("Temperature", fmt::format("{} °C", planet.temperature));
    items.emplace_back("Atmosphere",
                       fmt::format("{}, {} atm", compositionText(planet.composition), magnitude(planet.pressure)));
    items.emplace_back("Water cover", fmt::format("{} %", planet.waterCover));
    summary = lowerFirst(
        withArticle(fmt::format("{} world of {} °C and {} g", type, planet.temperature, fixed(bulk.gravity, 2))));
    if (!worldName.empty()) summary = fmt::format("{}, {}", worldName, summary);
    return items;
}

std::string appendageList(const TAlienRec& race) {
    std::vector<std::string> names;
    const int count = race.appendageCount <= race.appendageTypes.size() ? race.appendageCount
                                                                        : static_cast<int>(race.appendageTypes.size());
    for (int i = 0; i < count; ++i) names.push_back(appendageName(race.appendageTypes[static_cast<std::size_t>(i)]));
    if (names.empty()) return "none";
    return fmt::format("{}: {}", race.appendageCount, joined(names));
}

std::string heightText(int centimetres) {
    return fmt::format("{} m ({} cm)", fixed(centimetres / 100.0, 2), centimetres);
}

std::string developmentText(int system, int techLevel) {
    const std::string own = techLevelText(system, techLevel);
    return own.empty() ? fmt::format("{}", techLevel) : fmt::format("{} ({})", techLevel, own);
}

std::string spatialAgeText(const TAlienRec& race) {
    if (race.spatialAge == 0) return "none: not spacefaring";
    return plural(race.spatialAge, "year in space", "years in space");
}

// One sentence a game master can read aloud; a named race is named first
// ("Krai: a carbon-based ...").
std::string portrait(const TAlienRec& race, const std::string& raceName, const std::string& world) {
    // The body plan is named only where it tells more than the kind.
    const std::string kind = lowerFirst(std::string(subtypeName(race.subtype)));
    const std::string form = lowerFirst(std::string(formCodeName(race.formCode)));
    const std::string plan = form == kind ? std::string() : " (" + form + ")";
    std::string text = withArticle(fmt::format("{} {} race{}, at home {}, {} tall and {} kg",
                                               lowerFirst(std::string(bodyFormName(race.bodyForm))), kind, plan,
                                               habitatPhrase(race.habitat), heightText(race.height), race.mass));
    if (!world.empty()) text += ", from " + world;
    text +=
        fmt::format(". Development level {}; {}.", race.techLevel,
                    race.spatialAge == 0 ? std::string("not spacefaring")
                                         : fmt::format("in space for {}", plural(race.spatialAge, "year", "years")));
    if (!raceName.empty()) text = fmt::format("{}: {}", raceName, lowerFirst(text));
    return text;
}

void writeAttributes(Document& doc, int system, const TAlienRec& race) {
    const auto converted = convertAttributes(system, race);
    std::vector<std::vector<std::string>> rows;
    for (const auto& a : converted) {
        std::vector<std::string> row{std::string(a.name), std::string(a.abbreviation), a.text};
        if (system != 0) row.push_back(a.from);
        rows.push_back(std::move(row));
    }
    std::vector<Column> columns{{"Attribute"}, {"Abbr."}, {"Value", Align::Right}};
    if (system != 0) columns.push_back({"From"});
    doc.heading(fmt::format("Attributes ({})", kOutputSystems[system]));
    doc.table(std::move(columns), rows);

    if (system != 0) {
        std::string own = "Standard values: ";
        for (int a = 1; a <= kAttributeCount; ++a) {
            if (a > 1) own += ", ";
            own += fmt::format("{} {}", attributeName(a), race.attributes[static_cast<std::size_t>(a - 1)]);
        }
        doc.note(fmt::format("Scale {} (Standard 2 to 20). {}.", attributeScale(system), own));
    } else {
        doc.note("Scale 2 to 20.");
    }
}

void writeTraits(Document& doc, const TAlienRec& race) {
    std::vector<std::vector<std::string>> rows;
    for (int t = 1; t <= kTraitCount; ++t) {
        if (testBit(race.traits[static_cast<std::size_t>((t - 1) / 8)], static_cast<std::uint8_t>((t - 1) % 8 + 1)))
            rows.push_back({fmt::format("{}", t), traitName(t)});
    }
    doc.heading("Traits");
    if (rows.empty()) {
        doc.paragraph("No traits of note.");
        return;
    }
    doc.table({{"No.", Align::Right}, {"Trait"}}, rows);
}

std::string aspectCodes(const TAlienRec& race) {
    return fmt::format("A {}, B {}, C {}, D {}, E {}, F {}", race.aspectA, race.aspectB, race.aspectC, race.aspectD,
                       race.aspectE, race.aspectF);
}

// What the race holds in settled space: its empire, colonies, people and
// controlled systems. A race that holds nothing and has no independent
// colonies of its people gets no section, so its log reads as before.
void writeHoldings(Document& doc, const std::string& alienBase, std::int32_t raceId) {
    if (raceId < 0 || raceId >= kNoRace) return;
    const auto race = static_cast<std::uint16_t>(raceId);
    const SettledView settled = SettledView::fromFiles(alienBase);
    const RaceHoldings holdings = settled.holdingsOf(race);
    std::int64_t independents = 0;
    for (const PlacedColony& colony : settled.colonies()) {
        if (colony.record.race == race && colony.record.allegiance == kNoRace) ++independents;
    }
    const std::int64_t owned = holdings.planetColonies + holdings.moonBases;
    if (owned == 0 && independents == 0 && holdings.systems.empty() && holdings.empire == nullptr) return;

    doc.heading("Colonies and empire");
    KeyValues kv;
    if (const EmpireEntry* empire = holdings.empire) {
        kv.emplace_back("Empire", fmt::format("{} (empire {})", ansiToUtf8(empire->record.name.str()), empire->id));
        kv.emplace_back("Colour", colourHex(empire->record.colour));
        kv.emplace_back("Capital", fmt::format("system {}", empire->record.capitalSystemId));
    } else {
        kv.emplace_back("Empire", "none");
    }
    kv.emplace_back("Colonies owned",
                    fmt::format("{} on planets, {} moon bases", holdings.planetColonies, holdings.moonBases));
    kv.emplace_back("People", owned == 0 ? std::string("none") : peopleWords(holdings.people));
    std::string systems = std::to_string(holdings.systems.size());
    for (std::size_t i = 0; i < holdings.systems.size(); ++i) {
        systems += fmt::format("{}{}", i == 0 ? ": " : ", ", holdings.systems[i]);
    }
    kv.emplace_back("Systems controlled", systems);
    if (independents > 0) kv.emplace_back("Independent colonies of its people", std::to_string(independents));
    doc.keyValues(kv);
}

void writeAlienLog(std::ostream& log, DocFormat format, int system, const std::string& alienBase, std::int32_t raceId,
                   const TAlienRec& race, const std::vector<Note>* notes) {
    const std::string sector = sectorNameOf(alienBase);
    const SectorNames names = namesForLog(alienBase, raceId, race);
    std::string world;
    std::string worldName;
    bool madeToOrder = false;
    const KeyValues home = homeWorld(alienBase, race, names, world, worldName, madeToOrder);
    const std::string raceName = madeToOrder ? std::string() : nameText(names.race(raceId));

    // A race made to order has no sector of its own: its scratch files are
    // gone once the log is written.
    Document doc(log, format,
                 madeToOrder ? std::string("Alien race made to order")
                             : fmt::format("Alien race {} of {}", labelled(names.race(raceId), raceId), sector));
    doc.paragraph(portrait(race, raceName, world));
    doc.note(fmt::format("Output system: {}.", kOutputSystems[system]));

    doc.heading("Home world");
    doc.keyValues(home);

    doc.heading("Body");
    doc.keyValues({
        {"Type", subtypeName(race.subtype)},
        {"Form", formCodeName(race.formCode)},
        {"Body chemistry", bodyFormName(race.bodyForm)},
        {"Habitat", habitatName(race.habitat)},
        {"Appendages", appendageList(race)},
        {"Height", heightText(race.height)},
        {"Mass", fmt::format("{} kg", race.mass)},
        {std::string(sizeClassTitle()), fmt::format("{}", race.massClass)},
        {std::string(aspectTitle(Aspect::D)), aspectName(Aspect::D, race.aspectD)},
        {std::string(flagSetTitle(1)), joined(setFlags(race.flagSet1, 1))},
        {std::string(flagSetTitle(2)), joined(setFlags(race.flagSet2, 2))},
        {std::string(flagSetTitle(4)), joined(setFlags(race.flagSet4, 4))},
        {std::string(flagSetTitle(3)), joined(setFlags(race.flagSet3, 3))},
        {std::string(flagSetTitle(5)), joined(setFlags(race.flagSet5, 5))},
    });

    doc.heading("Life");
    doc.keyValues({
        {std::string(aspectTitle(Aspect::A)), aspectName(Aspect::A, race.aspectA)},
        {std::string(aspectTitle(Aspect::B)), aspectName(Aspect::B, race.aspectB)},
        {std::string(aspectTitle(Aspect::C)), aspectName(Aspect::C, race.aspectC)},
        {std::string(ratingTitle('C')), plural(race.ratingC, "year", "years")},
        {std::string(ratingTitle('B')),
         race.ratingB == 0 ? std::string("0 (cannot move about)") : fmt::format("{}", race.ratingB)},
        {std::string(ratingTitle('D')), fmt::format("{} of 20", race.ratingD)},
        {std::string(ratingTitle('E')), fmt::format("{} of 20", race.ratingE)},
    });

    writeAttributes(doc, system, race);

    doc.heading("Civilisation");
    doc.keyValues({
        {"Development level", developmentText(system, race.techLevel)},
        {"Spatial age", spatialAgeText(race)},
        {"Society", orderName(race.orderCode)},
        {std::string(ratingTitle('A')), fmt::format("{}", race.ratingA)},
        {std::string(aspectTitle(Aspect::E)), aspectName(Aspect::E, race.aspectE)},
        {std::string(aspectTitle(Aspect::F)), aspectName(Aspect::F, race.aspectF)},
    });

    writeTraits(doc, race);
    if (!madeToOrder) writeHoldings(doc, alienBase, raceId);

    doc.heading("Record codes");
    doc.keyValues({
        {"Home world id", fmt::format("{}", race.worldId)},
        {"Habitat", fmt::format("{}", race.habitat)},
        {"Body form", fmt::format("{}", race.bodyForm)},
        {"Subtype", fmt::format("{}", race.subtype)},
        {"Form code", fmt::format("{}", race.formCode)},
        {"Order code", fmt::format("{}", race.orderCode)},
        {"Aspects", aspectCodes(race)},
    });
    // A race made to order, or a race file without the rest of a sector,
    // belongs to no sector's campaign, and so carries no note.
    if (!madeToOrder && (notes != nullptr || missingSectorMessage(alienBase).empty())) {
        std::vector<Note> ownNotes;
        if (notes == nullptr) notes = &(ownNotes = listNotes(alienBase));
        writeNotesSection(doc, *notes, {{{ThingKind::Race, raceId}, "The race"}}, Audience::GameMaster);
    }
    doc.finish();
}

}  // namespace

void writeRaceLog(const std::string& alienBase, std::int32_t raceId, std::uint8_t outputSystem, DocFormat format,
                  std::ostream& log, const std::vector<Note>* notes) {
    if (outputSystem >= kRuleSystemCount)
        throw InputError(fmt::format("Unknown output system {} (0 to {})", outputSystem, kRuleSystemCount - 1));
    // "data/alpha.aln" names the same races as "data/alpha".
    const std::string base = sectorBaseName(alienBase);
    const TAlienRec race = readRace(base, raceId);
    writeAlienLog(log, format, outputSystem, base, raceId, race, notes);
    if (!log) throw IoError("The log could not be written");
}

void writeRaceLogFile(const std::string& alienBase, std::int32_t raceId, std::uint8_t outputSystem, DocFormat format,
                      const std::string& logPath) {
    reading::OutputFile log(logPath);
    writeRaceLog(alienBase, raceId, outputSystem, format, log.stream());
    log.commit();
}

}  // namespace orrimar::logs

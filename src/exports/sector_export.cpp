#include "exports/sector_export.h"

#include <fmt/format.h>

#include <filesystem>
#include <iterator>
#include <nlohmann/json.hpp>

#include "documents/document.h"
#include "campaign/notes.h"
#include "exports/atlas_writer.h"
#include "exports/export_output.h"
#include "exports/export_walk.h"
#include "exports/settled_fields.h"
#include "reading/settled_view.h"
#include "common/ansi_text.h"
#include "common/errors.h"
#include "common/output_destination.h"
#include "records/sector_files.h"
#include "tools/sector_check.h"

namespace orrimar::exports {

using namespace orrimar::reading;
using namespace orrimar::documents;

namespace fs = std::filesystem;

namespace {

using Json = nlohmann::ordered_json;

constexpr int kFormatVersion = 1;

// Each object is built once, in field order: appending to the underlying
// vector skips the ordered map's search for a duplicate key, which builders
// never produce, and saves a quadratic scan per object.
void appendMember(Json& object, std::string_view name, Json value) {
    auto& members = static_cast<Json::object_t::Container&>(object.get_ref<Json::object_t&>());
    members.emplace_back(std::string(name), std::move(value));
}

Json toJson(const FieldValue& value) {
    return std::visit(
        [](const auto& v) -> Json {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, FieldNull>) {
                return nullptr;
            } else {
                return v;
            }
        },
        value);
}

Json toJson(const Fields& fields) {
    Json object = Json::object();
    object.get_ref<Json::object_t&>().reserve(fields.size() + 1);
    for (const Field& field : fields) appendMember(object, field.name, toJson(field.value));
    return object;
}

std::string dumped(const Json& json) { return json.dump(-1, ' ', false, Json::error_handler_t::replace); }

void refuseSectorFile(const std::string& baseName, const fs::path& destination) {
    for (const char* extension : {".sun", ".pln", ".mon", ".aln", ".nam", ".col", ".con", ".emp", ".cmt"}) {
        std::error_code ec;
        const fs::path member = sectorPath(baseName, extension);
        if (fs::weakly_canonical(member, ec) == fs::weakly_canonical(destination, ec)) {
            throw InputError(fmt::format("{} is a file of sector {}: choose another destination for the export",
                                         destination.string(), baseName));
        }
    }
}

// The kind an export folder is marked with; empty for the one-file JSON.
std::string folderKind(ExportFormat format) {
    switch (format) {
        case ExportFormat::Json: return {};
        case ExportFormat::Csv: return "csv";
        case ExportFormat::Atlas: return "atlas";
    }
    return {};
}

void requireSound(const std::string& baseName) {
    const SectorCheckReport report = CheckSector(baseName);
    if (report.sound()) return;
    throw OrrError(
        fmt::format("Sector {} is damaged and was not exported: {} ({} problem{}; "
                    "'orrimar-cli check {}' lists them)",
                    baseName, report.problems.empty() ? std::string("?") : report.problems.front(), report.problemCount,
                    report.problemCount == 1 ? "" : "s", baseName));
}

// ---------------------------------------------------------------- JSON

// A note as the exports give it: what it is on (kind and id, joined to
// the table of that kind), who may read it, and its text.
Fields noteFields(const Note& note) {
    return {{"kind", std::string(thingWord(note.thing.kind))},
            {"id", note.thing.id},
            {"audience", std::string(noteAudienceWord(note.audience))},
            {"text", note.text}};
}

void exportJson(SectorReader& sector, const std::string& baseName, const ExportNames& names,
                const std::vector<Note>& notes, const fs::path& file, ExportSteps& steps, ExportResult& result) {
    StagedFile staged(file);
    BufferedFile& out = staged.out();

    Json head = Json::object();
    appendMember(head, "format", "orrimar-sector");
    appendMember(head, "format_version", kFormatVersion);
    Json about = Json::object();
    appendMember(about, "name", ansiToUtf8(sector.sectorName()));
    appendMember(about, "base_name", fs::path(baseName).filename().string());
    appendMember(head, "sector", std::move(about));
    Json counts = Json::object();
    appendMember(counts, "systems", sector.systems().count());
    appendMember(counts, "planets", sector.planets().count());
    appendMember(counts, "moons", sector.moons().count());
    appendMember(counts, "races", sector.aliens().count());
    appendMember(head, "counts", std::move(counts));
    std::string opening = dumped(head);
    opening.pop_back();  // the closing brace: the arrays follow
    out << opening << ",\"systems\":[";

    // One system per line: the document stays one JSON value, and a line
    // tool can still take it apart.
    for (std::int64_t id = 0; id < sector.systems().count(); ++id) {
        const TSystemRec system = sector.systems().read(id);
        const SystemNamer namer(names.names(), id, system);
        Json object = toJson(systemFields(system, id, ExportNames::utf8(namer.system())));
        Json stars = Json::array();
        for (int s = 1; s <= starCountOf(system); ++s) {
            Json star = toJson(starFields(system, id, s));
            appendMember(star, "orbits", Json::array());
            stars.push_back(std::move(star));
        }
        forEachBodyOf(sector, system, [&](int s, int orbit, std::int64_t bodyId, const TPlanetRec& body) {
            const BodyPlace place{bodyId, s, orbit, system.mass[static_cast<std::size_t>(s - 1)]};
            Json entry = toJson(bodyFields(body, place, ExportNames::utf8(namer.planet(bodyId))));
            Json moons = Json::array();
            forEachMoonOf(sector, body, [&](int number, std::int64_t moonId, const TMoonRec& moon) {
                moons.push_back(toJson(moonFields(moon, moonId, number, hasTwinMoon(body),
                                                  ExportNames::utf8(namer.moon(bodyId, body.firstMoonId, moonId)))));
                ++result.moons;
            });
            appendMember(entry, "moons", std::move(moons));
            stars[static_cast<std::size_t>(s - 1)]["orbits"].push_back(std::move(entry));
            ++result.planets;
        });
        appendMember(object, "stars", std::move(stars));
        out << (id == 0 ? "\n" : ",\n") << dumped(object);
        ++result.systems;
        steps.step();
    }
    out << "\n],\"races\":[";
    for (std::int64_t id = 0; id < sector.aliens().count(); ++id) {
        const TAlienRec race = sector.aliens().read(id);
        out << (id == 0 ? "\n" : ",\n")
            << dumped(toJson(raceFields(race, id, homeSystemOf(sector, race), names.race(id))));
        ++result.races;
        steps.step();
    }
    out << "\n]";
    // The settled layer, one record per line like the rest.
    const SettledView settled(sector);
    const auto array = [&](std::string_view name, const auto& records, const auto& fieldsOf) {
        out << ",\"" << name << "\":[";
        bool first = true;
        for (const auto& record : records) {
            out << (first ? "\n" : ",\n") << dumped(toJson(fieldsOf(record)));
            first = false;
        }
        out << "\n]";
    };
    array("colonies", settled.colonies(), colonyFields);
    array("control", settled.control(), controlFields);
    array("empires", settled.empires(),
          [](const EmpireEntry& empire) { return empireFields(empire, ansiToUtf8(empire.record.name.str())); });
    // Only a sector with notes has the table: one without a campaign file
    // exports as it always did.
    if (!notes.empty()) array("notes", notes, noteFields);
    out << "}\n";
    result.bytes = out.bytesWritten();
    result.files = 1;
    staged.commit();
}

// ---------------------------------------------------------------- CSV

class CsvTable {
public:
    CsvTable(const fs::path& file, const Fields& prototype) : file_(file.string()) {
        std::string header;
        for (std::size_t i = 0; i < prototype.size(); ++i) {
            if (i > 0) header += ',';
            header += prototype[i].name;
        }
        file_ << header << kLineEnd;
    }
    void row(const Fields& fields) {
        row_.clear();
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) row_ += ',';
            appendCsvCell(row_, fields[i].value);
        }
        row_ += kLineEnd;
        file_ << row_;
    }
    std::uint64_t bytes() const { return file_.bytesWritten(); }
    void close() { file_.close(); }

private:
    // Inside the staged folder: the folder as a whole is moved into place.
    BufferedFile file_;
    std::string row_;
};

void exportCsv(SectorReader& sector, const ExportNames& names, const std::vector<Note>& notes, const fs::path& folder,
               ExportSteps& steps, ExportResult& result) {
    StagedFolder staged(folder, folderKind(ExportFormat::Csv));
    const fs::path& dir = staged.path();
    {
        CsvTable systems(dir / "systems.csv", systemFields(TSystemRec{}, 0, std::nullopt));
        CsvTable stars(dir / "stars.csv", starFields(TSystemRec{}, 0, 1));
        CsvTable bodies(dir / "bodies.csv", bodyFields(TPlanetRec{}, BodyPlace{}, std::nullopt));
        CsvTable moons(dir / "moons.csv", moonFields(TMoonRec{}, 0, 1, false, std::nullopt));
        CsvTable races(dir / "races.csv", raceFields(TAlienRec{}, 0, std::nullopt, std::nullopt));
        for (std::int64_t id = 0; id < sector.systems().count(); ++id) {
            const TSystemRec system = sector.systems().read(id);
            const SystemNamer namer(names.names(), id, system);
            systems.row(systemFields(system, id, ExportNames::utf8(namer.system())));
            for (int s = 1; s <= starCountOf(system); ++s) stars.row(starFields(system, id, s));
            forEachBodyOf(sector, system, [&](int s, int orbit, std::int64_t bodyId, const TPlanetRec& body) {
                const BodyPlace place{bodyId, s, orbit, system.mass[static_cast<std::size_t>(s - 1)]};
                bodies.row(bodyFields(body, place, ExportNames::utf8(namer.planet(bodyId))));
                ++result.planets;
                forEachMoonOf(sector, body, [&](int number, std::int64_t moonId, const TMoonRec& moon) {
                    moons.row(moonFields(moon, moonId, number, hasTwinMoon(body),
                                         ExportNames::utf8(namer.moon(bodyId, body.firstMoonId, moonId))));
                    ++result.moons;
                });
            });
            ++result.systems;
            steps.step();
        }
        for (std::int64_t id = 0; id < sector.aliens().count(); ++id) {
            const TAlienRec race = sector.aliens().read(id);
            races.row(raceFields(race, id, homeSystemOf(sector, race), names.race(id)));
            ++result.races;
            steps.step();
        }
        const SettledView settled(sector);
        CsvTable colonies(dir / "colonies.csv", colonyFields(colonyPrototype()));
        CsvTable control(dir / "control.csv", controlFields(TConRec{}));
        CsvTable empires(dir / "empires.csv", empireFields(EmpireEntry{}, std::string()));
        for (const PlacedColony& colony : settled.colonies()) colonies.row(colonyFields(colony));
        for (const TConRec& record : settled.control()) control.row(controlFields(record));
        for (const EmpireEntry& empire : settled.empires()) {
            empires.row(empireFields(empire, ansiToUtf8(empire.record.name.str())));
        }
        for (CsvTable* table : {&systems, &stars, &bodies, &moons, &races, &colonies, &control, &empires}) {
            result.bytes += table->bytes();
            table->close();
        }
    }
    result.files = 8;
    if (!notes.empty()) {
        CsvTable table(dir / "notes.csv", noteFields(Note{}));
        for (const Note& note : notes) table.row(noteFields(note));
        result.bytes += table.bytes();
        table.close();
        ++result.files;
    }
    staged.commit();
}

}  // namespace

namespace {

bool needsQuotes(std::string_view text) {
    // A plain loop: find_first_of with a set of four searches the text once
    // per character of the set, which showed as the CSV export's top cost.
    for (const char c : text) {
        if (c == ',' || c == '"' || c == '\r' || c == '\n') return true;
    }
    return false;
}

void appendText(std::string& row, std::string_view text) {
    if (!needsQuotes(text)) {
        row += text;
        return;
    }
    row += '"';
    for (const char c : text) {
        if (c == '"') row += '"';
        row += c;
    }
    row += '"';
}

}  // namespace

// One cell, quoted as RFC 4180 asks when it holds a comma, a quote or a
// line break; a list is one cell, its names joined by "; ". Numbers are
// written straight into the row: they never need quotes.
void appendCsvCell(std::string& row, const FieldValue& value) {
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, FieldNull>) {
            } else if constexpr (std::is_same_v<T, bool>) {
                row += v ? "true" : "false";
            } else if constexpr (std::is_same_v<T, std::int64_t>) {
                fmt::format_to(std::back_inserter(row), "{}", v);
            } else if constexpr (std::is_same_v<T, double>) {
                fmt::format_to(std::back_inserter(row), "{}", v);
            } else if constexpr (std::is_same_v<T, std::string>) {
                appendText(row, v);
            } else {
                std::string joined;
                for (std::size_t i = 0; i < v.size(); ++i) {
                    if (i > 0) joined += "; ";
                    joined += v[i];
                }
                appendText(row, joined);
            }
        },
        value);
}

ExportFormat exportFormatFromName(std::string_view name) {
    if (name == "json") return ExportFormat::Json;
    if (name == "csv") return ExportFormat::Csv;
    if (name == "atlas" || name == "html") return ExportFormat::Atlas;
    throw InputError(fmt::format("Unknown export format '{}': use json, csv or atlas", name));
}

std::string_view exportFormatName(ExportFormat format) {
    switch (format) {
        case ExportFormat::Json: return "JSON";
        case ExportFormat::Csv: return "CSV";
        case ExportFormat::Atlas: return "HTML atlas";
    }
    return "?";
}

ExportResult ExportSector(const std::string& baseName, ExportFormat format, const std::string& destination,
                          ExportProgress* progress, Audience audience) {
    if (baseName.empty()) throw InputError("No sector chosen: choose the sector to export");
    if (audience == Audience::Players && format != ExportFormat::Atlas) {
        throw InputError(fmt::format("The {} export is the game master's: only the atlas has a players' edition",
                                     exportFormatName(format)));
    }
    if (destination.empty()) throw InputError("No destination chosen: choose where to write the export");
    const fs::path target(destination);
    refuseSectorFile(baseName, target);
    // A destination the export may not replace is refused before the
    // sector is read; it is looked at again under its lock.
    checkOutputDestination(target, folderKind(format));
    requireSound(baseName);

    SectorReader sector(baseName);
    const ExportNames names(baseName);
    AtlasReaders readers;
    readers.audience = audience;
    readers.notes = notesFor(listNotes(baseName), audience);
    if (audience == Audience::Players) readers.view = playersView(baseName);
    ExportSteps steps(progress, sector.systems().count() + sector.aliens().count());
    ExportResult result;
    try {
        switch (format) {
            case ExportFormat::Json: exportJson(sector, baseName, names, readers.notes, target, steps, result); break;
            case ExportFormat::Csv: exportCsv(sector, names, readers.notes, target, steps, result); break;
            case ExportFormat::Atlas: {
                StagedFolder staged(target, folderKind(format));
                writeAtlas(sector, baseName, names, staged.path().string(), readers, steps, result);
                staged.commit();
                break;
            }
        }
    } catch (const ExportCancelled&) {
        return ExportResult{.cancelled = true};
    }
    return result;
}

}  // namespace orrimar::exports

// The atlas window's hold on one open sector: the atlas core's model,
// camera, slab, filter, selection and route, and the engine's logs. It only
// translates: widget values into core queries, core answers into what the
// window shows (a scene of pixels, table rows, HTML). The sector rules are
// the core's, with one exception: racesOf walks the system's planets itself
// for the races whose home world lies there.
#pragma once

#include <QPointF>
#include <QSize>
#include <QColor>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "atlas/camera.h"
#include "atlas/route_stops.h"
#include "campaign/things.h"
#include "print/atlas_scene.h"

namespace orrimar::atlas {
class AtlasModel;
class PlayersSight;
struct Filter;
}  // namespace orrimar::atlas

namespace orrimar::ui {

struct AtlasSession {
    AtlasSession();
    ~AtlasSession();
    AtlasSession(const AtlasSession&) = delete;
    AtlasSession& operator=(const AtlasSession&) = delete;

    // Entries of the search and route lists; entry 0 is always "any".
    static QStringList starKindChoices();
    static QStringList worldTypeChoices();
    static QStringList temperatureChoices();
    static QStringList waterChoices();
    static QStringList gravityChoices();
    static QStringList lifeChoices();

    // Loads the sector; the error names the file that failed. The session
    // is unchanged when loading fails.
    void open(const std::string& baseName);
    // Reads the open sector again after another program changed it on
    // disk, keeping the view, the camera and the selected system while its
    // id is still in the sector. The filter and the route are dropped: they
    // were worked out on the old systems. Errors as open(); the session is
    // unchanged when reading fails.
    void reload();
    // Shows a model built elsewhere (an in-memory one: the benchmark).
    void adopt(atlas::AtlasModel model);
    bool isOpen() const;
    // The open sector's model (for posters); null when none is open.
    const atlas::AtlasModel* model() const;
    std::string sectorName() const;
    std::int32_t systemCount() const;

    // 0 cube, 1 top, 2 front, 3 side.
    int view() const;
    // The same as the atlas core names it.
    atlas::View cameraView() const;
    void setView(int view);
    struct SlabRange {
        char axis = 'z';  // the axis across the screen's depth
        int lowest = 0;
        int highest = 0;
        int from = 0;
        int to = 0;
    };
    SlabRange slab() const;
    void setSlab(int from, int to);
    void stepSlab(int step);
    // Moves a slab that leaves system `id` out until it shows it, keeping
    // its depth; the whole sector and a slab that shows it stay.
    void revealInSlab(std::int32_t id);
    void turn(QPointF dragPixels);
    void pan(QPointF pixels);
    void zoom(double factor, QPointF about);
    void resetCamera();

    // One frame of the map for a view of `size` pixels; without labels
    // while the view is moving.
    print::AtlasScene scene(QSize size, bool withLabels = true) const;
    std::optional<std::int32_t> pick(QPointF at, QSize size) const;
    // Every name under the pointer, one a line; empty when none.
    std::string namesNear(QPointF at, QSize size) const;

    void select(std::int32_t id);
    std::optional<std::int32_t> selected() const;
    // "Vessane (12)" or "System 12", for lists and titles.
    std::string systemName(std::int32_t id) const;
    // The stored name alone; empty when the system has none.
    std::string nameOf(std::int32_t id) const;
    // A system by id or name, by the one rule every front end shares (an
    // id, an exact name, then the one name it begins). InputError, naming
    // `field` and listing the candidates, when the text picks none or
    // several.
    std::int32_t findSystem(const std::string& text, std::string_view field) const;

    // The system's summary: its stars and orbits, then who controls it and
    // its colonies (colonySummaryHtml).
    std::string summaryHtml(std::int32_t id) const;
    // Who controls the system and a row per colony (people, race, owner,
    // starport, type, government in words); empty for an unsettled system.
    std::string colonySummaryHtml(std::int32_t id) const;
    std::string systemLogHtml(std::int32_t id) const;
    std::string alienLogHtml(std::int32_t raceId) const;
    std::vector<std::int32_t> racesOf(std::int32_t id) const;
    // "Vessari (race 64)" when the sector names the race, "race 64" when it
    // does not; for buttons and titles.
    std::string raceName(std::int32_t raceId) const;

    struct Query {
        std::string text;  // name or id; empty: any
        int starKind = 0;  // list entries, 0 = any
        int worldType = 0;
        bool breathable = false;
        int temperature = 0;
        int water = 0;
        int gravity = 0;
        int life = 0;
        bool nativeRace = false;
        bool colonies = false;
        double within = 0.0;    // parsecs of the selected system; 0 = anywhere
        int owner = kAnyOwner;  // a race id, kIndependent, or kAnyOwner (ownerChoices)
        int population = 0;     // populationChoices entry, 0 = any
        int starport = 0;       // Starport code at least as good, 0 = any
        int colonyType = 0;     // ColonyType code, 0 = any
        // Within `jumps` jumps (-1: jumps not counted) of jumpsOf (name or
        // id; empty: the selected system), at most jumpParsecs a jump,
        // stopping on the way only where jumpVia allows.
        int jumps = -1;
        std::string jumpsOf;
        double jumpParsecs = 3.0;
        atlas::RouteStopChoice jumpVia;
    };
    static constexpr int kAnyOwner = -1;
    static constexpr int kIndependent = 65535;
    // Owners of the open sector for the search's list: (label, value),
    // "any" and "independent" first, then the ruling races by name.
    std::vector<std::pair<std::string, int>> ownerChoices() const;
    static QStringList populationChoices();
    static QStringList starportChoices();
    static QStringList colonyTypeChoices();
    // The settled-space entries of a query into the core's filter.
    static void applySettledQuery(const Query& query, atlas::Filter& filter);
    struct Match {
        std::int32_t id = 0;
        std::string name;
        int x = 0, y = 0, z = 0;
        std::string primary;     // "G2 V"
        double distance = -1.0;  // from the selected system; -1 = none selected
        int jumps = -1;          // from the query's jumpsOf; -1 = jumps not counted
        std::string note;        // "note: the first words…" when a note found it, not its name
    };
    // Runs the query, lights its matches on the map, lists them.
    std::vector<Match> search(const Query& query);
    void clearFilter();

    struct Leg {
        std::int32_t from = 0, to = 0;
        std::string fromName, toName;
        double parsecs = 0.0;
    };
    // Nothing when no route exists; an empty list when from == to. The route
    // is kept and drawn on the map.
    std::optional<std::vector<Leg>> route(std::int32_t from, std::int32_t to, double jump, atlas::RouteStopChoice via);
    // The "Only through" list: every stop rule, then one entry per ruling
    // race ("systems of the Vessari Hegemony").
    std::vector<std::pair<std::string, atlas::RouteStopChoice>> viaChoices() const;

    // The empires of the open sector (and races controlling systems without
    // an empire record), for the Empires panel.
    struct EmpireRow {
        int race = 0;
        std::int32_t record = -1;  // empire-file id; -1 for a race controlling systems without one
        std::string name;          // the empire's; the race's when it has no record
        std::string raceName;      // "Vessari (race 64)"
        QRgb colour = 0;
        std::int32_t capital = -1;  // -1 = none
        std::string capitalName;
        std::int32_t systems = 0;
        std::string people;  // "1.2 billion"
    };
    std::vector<EmpireRow> empires() const;

    // Names the system in the sector's name records (UTF-8 in; an empty
    // name takes the name away). InputError for a name the files cannot
    // hold, IoError when the name file cannot be written.
    void rename(std::int32_t id, const std::string& name);

    // ------------------------------------------- the campaign (atlas_session_campaign.cpp)
    std::string baseName() const;
    // The players' view: while it is on, every frame, list, summary, search
    // and route shows only what the players know (atlas/players_sight.h),
    // as the campaign file said when it was turned on (or the sector or
    // the campaign was read again). Errors are the campaign's; the view stays as it was.
    void setPlayersView(bool on);
    // The campaign file changed under the window: the players' view, when
    // on, is worked out again from it; the selection stays. Errors are the
    // campaign's; the view stays as it was.
    void rereadCampaign();
    bool playersView() const;
    // What the players know of the open sector now, for a poster or a
    // picture made for them; null when no sector is open.
    std::unique_ptr<atlas::PlayersSight> playersSight() const;
    // What a notes box in the System panel may be about: the system, its
    // worlds and moons, the native races at home there and its colonies,
    // each with its label; in the players' view only what they know.
    struct NoteSubject {
        std::string label;
        Thing thing;
    };
    std::vector<NoteSubject> noteSubjects(std::int32_t system) const;

private:
    // Lights the systems whose notes hold every word of `words` and that
    // meet the rest of `filter`; the opening of the note that found each.
    std::vector<std::pair<std::int32_t, std::string>> lightByNotes(const std::string& words, atlas::Filter filter);
    // The territories' borders into the frame (atlas_session_settled.cpp).
    void addTerritories(print::AtlasScene& scene) const;
    // The territory colour of a system's controller; 0 when none.
    QRgb territoryTint(std::int32_t id) const;
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace orrimar::ui

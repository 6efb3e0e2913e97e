#include "exports/atlas_map.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>

#include "documents/document.h"
#include "exports/atlas_map_script.h"
#include "reading/sector_reader.h"
#include "vocabulary/body_names.h"
#include "vocabulary/colony_words.h"

namespace orrimar::exports {

using orrimar::documents::escapeHtml;
using orrimar::reading::grouped;
using namespace orrimar::vocabulary;

namespace {

// Palette entries 0..23 are the star kinds (any other code reads as 0, an
// unclassified object); the last is the unknown system's.
constexpr std::size_t kKindEntries = 24;
constexpr std::size_t kUnknownEntry = kKindEntries;
constexpr std::string_view kUnknownColour = "#8a8a8a";

// Light past these bounds changes no label's rank.
constexpr int kLightFloor = -60;
constexpr int kLightCeiling = 80;

// Owners the legend lists at most; the rest are counted.
constexpr std::size_t kLegendOwners = 12;

// A JSON string for text that goes inside a script element of a page that
// must stay XML: bytes that are not UTF-8 become U+FFFD, and '<', '>' and
// '&' (which could close the script or start markup) become \u escapes,
// which JSON reads back as the same characters.
std::string jsonText(std::string_view text) {
    const std::string dumped =
        nlohmann::json(std::string(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    std::string out;
    out.reserve(dumped.size());
    for (const char c : dumped) {
        switch (c) {
            case '<': out += "\\u003c"; break;
            case '>': out += "\\u003e"; break;
            case '&': out += "\\u0026"; break;
            default: out += c;
        }
    }
    return out;
}

int lightOf(float luminosity) {
    if (!(luminosity > 0.0F)) return kLightFloor;
    const double light = std::round(10.0 * std::log10(static_cast<double>(luminosity)));
    return static_cast<int>(std::clamp(light, static_cast<double>(kLightFloor), static_cast<double>(kLightCeiling)));
}

// What the legend and the tooltip call a palette entry: "yellow dwarf (G V)".
std::string kindLabel(std::size_t entry) {
    if (entry == kUnknownEntry) return "unknown system";
    const StarKindInfo& info = starKindInfo(static_cast<int>(entry));
    if (info.spectralClass.empty()) return std::string(info.plainName);
    return fmt::format("{} ({} {})", info.plainName, info.spectralClass, info.luminosityClass);
}
std::string_view kindColour(std::size_t entry) {
    return entry == kUnknownEntry ? kUnknownColour : starKindInfo(static_cast<int>(entry)).colour;
}

}  // namespace

std::size_t AtlasMap::paletteIndex(const AtlasMapSystem& system) {
    if (system.unknown) return kUnknownEntry;
    return system.primaryKind < kKindEntries ? system.primaryKind : 0;
}

void AtlasMap::add(const AtlasMapSystem& system) {
    ++count_;
    if (tooLarge()) return;
    if (count_ == 1) {
        minZ_ = maxZ_ = system.z;
        kindsSeen_.assign(kKindEntries + 1, false);
    }
    minZ_ = std::min<int>(minZ_, system.z);
    maxZ_ = std::max<int>(maxZ_, system.z);
    const std::size_t kind = paletteIndex(system);
    kindsSeen_[kind] = true;

    int owner = -1;
    if (!system.unknown && system.ownerColour) {
        const auto entry = std::make_pair(system.owner, *system.ownerColour);
        const auto found = ownerIndex_.find(entry);
        if (found != ownerIndex_.end()) {
            owner = found->second;
        } else {
            owner = static_cast<int>(owners_.size());
            owners_.push_back(entry);
            ownerIndex_.emplace(entry, owner);
        }
    }
    const int light = system.unknown ? 0 : lightOf(system.luminosity);
    if (!rows_.empty()) rows_ += ',';
    rows_ += fmt::format("[{},{},{},{},{},{},{}", system.id, system.x, system.y, system.z, kind, owner, light);
    const std::string_view name = system.unknown ? std::string_view() : std::string_view(system.name);
    if (!name.empty() || !system.href.empty()) {
        rows_ += ',';
        rows_ += jsonText(name);
    }
    if (!system.href.empty()) {
        rows_ += ',';
        rows_ += jsonText(system.href);
    }
    rows_ += ']';
}

std::string AtlasMap::data() const {
    std::string out = "{\"stars\":[";
    for (std::size_t entry = 0; entry <= kKindEntries; ++entry) {
        if (entry > 0) out += ',';
        out += fmt::format("[{},{}]", jsonText(kindColour(entry)), jsonText(kindLabel(entry)));
    }
    out += "],\"owners\":[";
    for (std::size_t k = 0; k < owners_.size(); ++k) {
        if (k > 0) out += ',';
        out += fmt::format("[{},{}]", jsonText(colourHex(owners_[k].second)), jsonText(owners_[k].first));
    }
    out += "],\"systems\":[";
    out += rows_;
    out += "]}";
    return out;
}

std::string AtlasMap::legend() const {
    std::string out = "<ul class=\"map-legend\">";
    const auto entry = [&](std::string_view colour, const std::string& text, bool box) {
        out += fmt::format("<li><span class=\"{}\" style=\"background:{}\"></span> {}</li>", box ? "box" : "dot",
                           colour, escapeHtml(text));
    };
    for (std::size_t kind = 0; kind < kindsSeen_.size(); ++kind) {
        if (kindsSeen_[kind]) entry(kindColour(kind), kindLabel(kind), false);
    }
    for (std::size_t k = 0; k < owners_.size() && k < kLegendOwners; ++k) {
        entry(colourHex(owners_[k].second), owners_[k].first, true);
    }
    if (owners_.size() > kLegendOwners) {
        out += fmt::format("<li>and {} more owners</li>", owners_.size() - kLegendOwners);
    }
    out += "</ul>";
    return out;
}

std::string AtlasMap::slabControls() const {
    if (minZ_ == maxZ_) {
        return fmt::format("<span class=\"note\">A flat sector: every system lies at z = {}.</span>", minZ_);
    }
    const auto input = [&](std::string_view id, int value, std::string_view label) {
        return fmt::format(
            "<label>{} <input id=\"{}\" type=\"number\" min=\"{}\" max=\"{}\" step=\"1\" value=\"{}\" /></label>",
            label, id, minZ_, maxZ_, value);
    };
    return input("atlas-map-from", minZ_, "Slab: z from") + " " + input("atlas-map-to", maxZ_, "to");
}

std::string AtlasMap::html() const {
    // With nothing to turn, the flat figure says the map is empty.
    if (count_ == 0) return {};
    if (tooLarge()) {
        return fmt::format(
            "<p>The sector holds {} systems, more than the turning map carries (at most {}): the map below shows "
            "it from above.</p>",
            grouped(count_), grouped(kAtlasMapLimit));
    }
    std::string out;
    out += "<style>";
    out += atlasMapStyle();
    out += "</style>\n";
    out += "<div id=\"atlas-map\" class=\"live-only\">";
    out += "<div class=\"map-controls\">";
    out += slabControls();
    out +=
        " <button type=\"button\" id=\"atlas-map-top\">From above</button>"
        " <button type=\"button\" id=\"atlas-map-tilt\">Tilted</button>"
        " <span id=\"atlas-map-count\" class=\"note\"></span></div>";
    out +=
        "<div class=\"map-frame\"><canvas id=\"atlas-map-canvas\" width=\"960\" height=\"640\" tabindex=\"0\" "
        "aria-label=\"Turning map of the sector\">";
    out += "The turning map needs a browser that draws on a canvas; the map from above follows.</canvas>";
    out += "<div id=\"atlas-map-tip\" class=\"map-tip\" hidden=\"hidden\"></div></div>";
    out +=
        "<p class=\"note\">Drag to turn the sector, shift-drag to move it, the wheel zooms. Names stand where they "
        "fit, brightest and nearest first; hover a star for its name, click it to open its page.</p>";
    out += legend();
    out += "</div>\n";
    out += "<script id=\"atlas-map-data\" type=\"application/json\">";
    out += data();
    out += "</script>\n<script>//<![CDATA[\n";
    out += atlasMapScript();
    out += "//]]></script>\n";
    return out;
}

std::string_view AtlasMap::printedMapBegin() { return "<div class=\"flat-only\">"; }
std::string_view AtlasMap::printedMapEnd() { return "</div>"; }

}  // namespace orrimar::exports

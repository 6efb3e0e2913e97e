#include "print/scene_parts.h"

#include <QLineF>

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "vocabulary/body_names.h"

namespace orrimar::print {

QRgb starColour(int kind) {
    // Parsed once: parsing per dot was a tenth of a 100,000-system frame.
    static const std::array<QRgb, 256> colours = [] {
        std::array<QRgb, 256> table{};
        for (int k = 0; k < 256; ++k) {
            const std::string_view colour = vocabulary::starKindInfo(k).colour;
            table[static_cast<std::size_t>(k)] =
                QColor::fromString(QLatin1StringView(colour.data(), static_cast<qsizetype>(colour.size()))).rgb();
        }
        return table;
    }();
    return colours[static_cast<std::size_t>(kind & 0xff)];
}

float dotRadius(std::uint8_t brightness, float scale) {
    const float radius = 1.0F + 0.42F * static_cast<float>(brightness);
    return radius * std::clamp(scale, 0.5F, 2.0F);
}

std::uint8_t shadeOf(double nearness) {
    const double level = std::round((1.0 - std::clamp(nearness, 0.0, 1.0)) * (kShadeLevels - 1));
    return static_cast<std::uint8_t>(level);
}

std::uint8_t marksOf(const atlas::SystemEntry& entry) {
    return static_cast<std::uint8_t>(((entry.marks & atlas::kMarkNativeLife) ? kMarkLife : 0) |
                                     ((entry.marks & atlas::kMarkNativeRace) ? kMarkRace : 0) |
                                     ((entry.marks & atlas::kMarkOwnedColony) ? kMarkColony : 0));
}

void addFrame(const atlas::Camera& camera, const atlas::Bounds& bounds, AtlasScene& scene) {
    std::array<double, 3> lo{};
    std::array<double, 3> hi{};
    for (std::size_t a = 0; a < 3; ++a) {
        lo[a] = bounds.min[a] - 0.5;
        hi[a] = bounds.max[a] + 0.5;
    }
    if (camera.slab.enabled) {
        const auto a = static_cast<std::size_t>(camera.slab.axis);
        lo[a] = camera.slab.from - 0.5;
        hi[a] = camera.slab.to + 0.5;
    }
    std::array<atlas::ScreenPoint, 8> corner;
    for (int c = 0; c < 8; ++c) {
        const atlas::Vec3 world{(c & 1) ? hi[0] : lo[0], (c & 2) ? hi[1] : lo[1], (c & 4) ? hi[2] : lo[2]};
        corner[static_cast<std::size_t>(c)] = atlas::project(camera, world);
    }
    // The corner farthest from the eye: its three edges are behind the dots.
    int far = 0;
    for (int c = 1; c < 8; ++c)
        if (corner[static_cast<std::size_t>(c)].depth < corner[static_cast<std::size_t>(far)].depth) far = c;
    for (int c = 0; c < 8; ++c) {
        for (const int bit : {1, 2, 4}) {
            if (c & bit) continue;
            const int d = c | bit;
            const atlas::ScreenPoint& p = corner[static_cast<std::size_t>(c)];
            const atlas::ScreenPoint& q = corner[static_cast<std::size_t>(d)];
            const QLineF line(p.x, p.y, q.x, q.y);
            if (line.length() < 0.5) continue;  // an edge seen end on (flat views)
            const bool back = camera.view == atlas::View::Cube && (c == far || d == far);
            (back ? scene.frameBack : scene.frame).push_back(line);
        }
    }
}

QString viewTitle(atlas::View view) {
    switch (view) {
        case atlas::View::Top: return QStringLiteral("Top view");
        case atlas::View::Front: return QStringLiteral("Front view");
        case atlas::View::Side: return QStringLiteral("Side view");
        case atlas::View::Cube: return QStringLiteral("Cube");
    }
    return {};
}

}  // namespace orrimar::print

// The pieces every frame of the atlas map is made of, shared by the Atlas
// window's frames and the poster's page so that a star looks the same on
// the screen and on paper: its colour, the size of its dot, its shade with
// depth, its marks, and the sector's frame.
#pragma once

#include <QColor>
#include <QString>

#include <cstdint>

#include "atlas/atlas_model.h"
#include "atlas/camera.h"
#include "print/atlas_scene.h"

namespace orrimar::print {

// The map colour of a primary star kind (the engine's, parsed once).
QRgb starColour(int kind);

// Radius of a system's dot: brightness classes 0..7 span a dim red dwarf
// to a hypergiant, one to four units, then the perspective's `scale`.
float dotRadius(std::uint8_t brightness, float scale);

// Depth shade 0 (nearest) .. kShadeLevels-1 (farthest) of a nearness 0..1.
std::uint8_t shadeOf(double nearness);

// The AtlasMark bits of a system's entry.
std::uint8_t marksOf(const atlas::SystemEntry& entry);

// The edges of the sector's box (or the slab's) as the camera sees them;
// in the cube view the three edges at the far corner go to frameBack.
void addFrame(const atlas::Camera& camera, const atlas::Bounds& bounds, AtlasScene& scene);

// "Top view", "Front view", "Side view", "Cube".
QString viewTitle(atlas::View view);

}  // namespace orrimar::print

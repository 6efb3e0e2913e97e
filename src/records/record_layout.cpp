// Compile-time proof that every record matches its on-disk layout.
#include <cstddef>
#include <type_traits>

#include "records/records.h"

namespace orrimar {
namespace {

template <typename T>
constexpr bool isPlainRecord = std::is_trivially_copyable_v<T>&& std::is_standard_layout_v<T>;

static_assert(isPlainRecord<TSystemRec> && isPlainRecord<TNameRec> && isPlainRecord<TPlanetRec> &&
              isPlainRecord<TMoonRec> && isPlainRecord<TAlienRec> && isPlainRecord<TColonyRec> &&
              isPlainRecord<TConRec> && isPlainRecord<TEmpireRec>);

static_assert(sizeof(TSystemRec) == 196);
static_assert(offsetof(TSystemRec, starKind) == 0);
static_assert(offsetof(TSystemRec, spectralDigit) == 3);
static_assert(offsetof(TSystemRec, planetCount) == 6);
static_assert(offsetof(TSystemRec, luminosity) == 12);
static_assert(offsetof(TSystemRec, mass) == 24);
static_assert(offsetof(TSystemRec, systemAge) == 36);
static_assert(offsetof(TSystemRec, separation) == 38);
static_assert(offsetof(TSystemRec, orbit) == 42);
static_assert(offsetof(TSystemRec, starCount) == 150);
static_assert(offsetof(TSystemRec, firstPlanetId) == 152);
static_assert(offsetof(TSystemRec, x) == 164);
static_assert(offsetof(TSystemRec, y) == 166);
static_assert(offsetof(TSystemRec, z) == 168);
static_assert(offsetof(TSystemRec, systemRaceId) == 170);
static_assert(offsetof(TSystemRec, reserved172) == 172);
static_assert(offsetof(TSystemRec, reserved173) == 173);
static_assert(offsetof(TSystemRec, reserved174) == 174);

static_assert(sizeof(TNameRec) == 60);
static_assert(offsetof(TNameRec, kind) == 0);
static_assert(offsetof(TNameRec, value) == 4);
static_assert(offsetof(TNameRec, name) == 8);
static_assert(offsetof(TNameRec, pad59) == 59);

static_assert(sizeof(TPlanetRec) == 84);
static_assert(offsetof(TPlanetRec, systemId) == 0);
static_assert(offsetof(TPlanetRec, nativeRaceId) == 4);
static_assert(offsetof(TPlanetRec, firstMoonId) == 8);
static_assert(offsetof(TPlanetRec, colonisingRaceId) == 12);
static_assert(offsetof(TPlanetRec, atmosphereClass) == 14);
static_assert(offsetof(TPlanetRec, worldType) == 15);
static_assert(offsetof(TPlanetRec, surfaceClass) == 16);
static_assert(offsetof(TPlanetRec, composition) == 17);
static_assert(offsetof(TPlanetRec, retainedWeight) == 18);
static_assert(offsetof(TPlanetRec, featureRating) == 19);
static_assert(offsetof(TPlanetRec, axialTilt) == 20);
static_assert(offsetof(TPlanetRec, temperature) == 22);
static_assert(offsetof(TPlanetRec, moonCount) == 24);
static_assert(offsetof(TPlanetRec, waterCover) == 25);
static_assert(offsetof(TPlanetRec, iceCover) == 26);
static_assert(offsetof(TPlanetRec, cloudCover) == 27);
static_assert(offsetof(TPlanetRec, albedo) == 28);
static_assert(offsetof(TPlanetRec, rotation) == 32);
static_assert(offsetof(TPlanetRec, diameter) == 36);
static_assert(offsetof(TPlanetRec, density) == 40);
static_assert(offsetof(TPlanetRec, pressure) == 44);
static_assert(offsetof(TPlanetRec, eccentricity) == 48);
static_assert(offsetof(TPlanetRec, orbitRadius) == 50);
static_assert(offsetof(TPlanetRec, resources) == 52);
static_assert(offsetof(TPlanetRec, worldFlags) == 57);
static_assert(offsetof(TPlanetRec, features) == 58);
static_assert(offsetof(TPlanetRec, reserved63) == 63);
static_assert(offsetof(TPlanetRec, reserved64) == 64);

static_assert(sizeof(TMoonRec) == 60);
static_assert(offsetof(TMoonRec, planetId) == 0);
static_assert(offsetof(TMoonRec, atmosphereClass) == 4);
static_assert(offsetof(TMoonRec, worldType) == 5);
static_assert(offsetof(TMoonRec, surfaceClass) == 6);
static_assert(offsetof(TMoonRec, composition) == 7);
static_assert(offsetof(TMoonRec, temperature) == 8);
static_assert(offsetof(TMoonRec, waterCover) == 10);
static_assert(offsetof(TMoonRec, iceCover) == 11);
static_assert(offsetof(TMoonRec, cloudCover) == 12);
static_assert(offsetof(TMoonRec, albedo) == 13);
static_assert(offsetof(TMoonRec, reserved14) == 14);
static_assert(offsetof(TMoonRec, diameter) == 16);
static_assert(offsetof(TMoonRec, density) == 20);
static_assert(offsetof(TMoonRec, pressure) == 24);
static_assert(offsetof(TMoonRec, distance) == 28);
static_assert(offsetof(TMoonRec, resources) == 30);
static_assert(offsetof(TMoonRec, moonFlags) == 35);
static_assert(offsetof(TMoonRec, reserved36) == 36);
static_assert(offsetof(TMoonRec, reserved37) == 37);

static_assert(sizeof(TAlienRec) == 92);
static_assert(offsetof(TAlienRec, worldId) == 0);
static_assert(offsetof(TAlienRec, habitat) == 4);
static_assert(offsetof(TAlienRec, bodyForm) == 5);
static_assert(offsetof(TAlienRec, appendageCount) == 6);
static_assert(offsetof(TAlienRec, aspectA) == 7);
static_assert(offsetof(TAlienRec, aspectB) == 8);
static_assert(offsetof(TAlienRec, aspectC) == 9);
static_assert(offsetof(TAlienRec, orderCode) == 10);
static_assert(offsetof(TAlienRec, subtype) == 11);
static_assert(offsetof(TAlienRec, formCode) == 12);
static_assert(offsetof(TAlienRec, mass) == 14);
static_assert(offsetof(TAlienRec, height) == 16);
static_assert(offsetof(TAlienRec, appendageTypes) == 18);
static_assert(offsetof(TAlienRec, attributes) == 30);
static_assert(offsetof(TAlienRec, techLevel) == 37);
static_assert(offsetof(TAlienRec, massClass) == 38);
static_assert(offsetof(TAlienRec, ratingA) == 39);
static_assert(offsetof(TAlienRec, ratingB) == 40);
static_assert(offsetof(TAlienRec, ratingC) == 41);
static_assert(offsetof(TAlienRec, ratingD) == 42);
static_assert(offsetof(TAlienRec, ratingE) == 43);
static_assert(offsetof(TAlienRec, spatialAge) == 44);
static_assert(offsetof(TAlienRec, traits) == 45);
static_assert(offsetof(TAlienRec, flagSet1) == 57);
static_assert(offsetof(TAlienRec, flagSet2) == 59);
static_assert(offsetof(TAlienRec, flagSet3) == 61);
static_assert(offsetof(TAlienRec, flagSet4) == 63);
static_assert(offsetof(TAlienRec, flagSet5) == 65);
static_assert(offsetof(TAlienRec, aspectD) == 67);
static_assert(offsetof(TAlienRec, aspectE) == 68);
static_assert(offsetof(TAlienRec, aspectF) == 69);
static_assert(offsetof(TAlienRec, reserved70) == 70);
static_assert(offsetof(TAlienRec, reserved71) == 71);

static_assert(sizeof(TColonyRec) == 28);
static_assert(offsetof(TColonyRec, worldId) == 0);
static_assert(offsetof(TColonyRec, race) == 4);
static_assert(offsetof(TColonyRec, allegiance) == 6);
static_assert(offsetof(TColonyRec, kind) == 8);
static_assert(offsetof(TColonyRec, populationCode) == 9);
static_assert(offsetof(TColonyRec, colonyType) == 10);
static_assert(offsetof(TColonyRec, crimeLevel) == 11);
static_assert(offsetof(TColonyRec, lawLevel) == 12);
static_assert(offsetof(TColonyRec, stability) == 13);
static_assert(offsetof(TColonyRec, starport) == 15);
static_assert(offsetof(TColonyRec, gnp) == 18);
static_assert(offsetof(TColonyRec, power) == 20);
static_assert(offsetof(TColonyRec, facilities) == 23);

static_assert(sizeof(TConRec) == 6);
static_assert(offsetof(TConRec, systemId) == 0);
static_assert(offsetof(TConRec, race) == 4);

static_assert(sizeof(TEmpireRec) == 52);
static_assert(offsetof(TEmpireRec, race) == 0);
static_assert(offsetof(TEmpireRec, colour) == 2);
static_assert(offsetof(TEmpireRec, capitalSystemId) == 8);
static_assert(offsetof(TEmpireRec, name) == 12);

}  // namespace
}  // namespace orrimar

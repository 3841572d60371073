#pragma once
// The procedural range scene: terrain, 500 m grid, compass landmarks, far ground to the horizon.
// Deterministic from the seed. Frame coordinates: metres, x, y level, z up.

#include <osg/Node>
#include <osg/StateSet>
#include <osg/ref_ptr>

#include <string>

namespace scenegen {

constexpr double kTerrainHalfExtent = 10000.0;  // metres: the terrain covers 20 km x 20 km
constexpr double kGridSpacing = 500.0;          // metres between grid lines
constexpr double kLandmarkDistance = 3000.0;    // metres from the origin to each compass landmark
constexpr double kTerrainBase = -150.0;         // metres: lowest ground
constexpr double kTerrainTop = -50.0;           // metres: no ground above this (uutsim flies at 0)
// (both below the frame's origin; Scene moves them further down for a frame above the ellipsoid)

// Ground height at (x, y) in the frame, within [kTerrainBase, kTerrainTop].
double terrainHeight(unsigned seed, double x, double y);

// Sky colour (the clear colour) and the haze that distance fades the ground into, 0..1 RGB.
struct Colour {
    float r, g, b;
};
constexpr Colour kSky{0.36f, 0.56f, 0.85f};
constexpr Colour kHaze{0.78f, 0.84f, 0.90f};
// Landmark colours, unlit, so that they read the same from every side.
constexpr Colour kNorthColour{0.86f, 0.08f, 0.08f};  // red spire
constexpr Colour kEastColour{0.82f, 0.12f, 0.82f};   // magenta tower
constexpr Colour kSouthColour{0.92f, 0.84f, 0.12f};  // yellow dome
constexpr Colour kWestColour{0.98f, 0.50f, 0.04f};   // orange twin towers

// The whole static scene. `azimuthDegrees` is the frame's: its y axis clockwise from north, so
// the landmarks stand at true north, east, south and west whatever the frame.
osg::ref_ptr<osg::Node> buildTerrain(unsigned seed, double azimuthDegrees);

// Lighting from vertex colours and distance haze, for the root of everything drawn.
void shadeScene(osg::StateSet& stateSet);

// One line naming the terrain, for the SceneGenerator object.
std::string terrainDescription(unsigned seed, double latitude, double longitude, double heightOffset,
                               double azimuthDegrees);

}  // namespace scenegen

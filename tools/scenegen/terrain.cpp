#include "tools/scenegen/terrain.h"

#include <osg/Fog>
#include <osg/Geode>
#include <osg/Geometry>
#include <osg/Group>
#include <osg/LineWidth>
#include <osg/Material>
#include <osg/MatrixTransform>
#include <osg/PolygonOffset>
#include <osg/ShapeDrawable>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iomanip>
#include <sstream>

namespace scenegen {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kCells = 128;  // terrain cells per side: 2 x 128 x 128 = 32 768 triangles

std::uint32_t hash(unsigned seed, std::int64_t ix, std::int64_t iy)
{
    std::uint64_t h = seed * 0x9e3779b97f4a7c15ull ^ static_cast<std::uint64_t>(ix) * 0xc2b2ae3d27d4eb4full ^
                      static_cast<std::uint64_t>(iy) * 0x165667b19e3779f9ull;
    h ^= h >> 31;
    h *= 0xd6e8feb86659fd93ull;
    h ^= h >> 32;
    return static_cast<std::uint32_t>(h);
}

// Smoothly interpolated lattice noise in [0, 1].
double valueNoise(unsigned seed, double x, double y)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const auto ix = static_cast<std::int64_t>(fx), iy = static_cast<std::int64_t>(fy);
    auto smooth = [](double t) { return t * t * (3 - 2 * t); };
    const double tx = smooth(x - fx), ty = smooth(y - fy);
    auto at = [&](std::int64_t dx, std::int64_t dy) { return hash(seed, ix + dx, iy + dy) / 4294967295.0; };
    const double a = at(0, 0) + (at(1, 0) - at(0, 0)) * tx;
    const double b = at(0, 1) + (at(1, 1) - at(0, 1)) * tx;
    return a + (b - a) * ty;
}

osg::Vec4 rgba(Colour c, float a = 1.0f) { return osg::Vec4(c.r, c.g, c.b, a); }

osg::Vec3 normalAt(unsigned seed, double x, double y)
{
    const double d = 20.0;
    const double dzdx = (terrainHeight(seed, x + d, y) - terrainHeight(seed, x - d, y)) / (2 * d);
    const double dzdy = (terrainHeight(seed, x, y + d) - terrainHeight(seed, x, y - d)) / (2 * d);
    osg::Vec3 n(static_cast<float>(-dzdx), static_cast<float>(-dzdy), 1.0f);
    n.normalize();
    return n;
}

// Meadow green in the hollows to brown on the ridges.
osg::Vec4 groundColour(double z)
{
    const float t = static_cast<float>((z - kTerrainBase) / (kTerrainTop - kTerrainBase));
    const osg::Vec4 low(0.24f, 0.47f, 0.20f, 1.0f), high(0.55f, 0.45f, 0.30f, 1.0f);
    return low * (1.0f - t) + high * t;
}

osg::ref_ptr<osg::Geometry> terrainMesh(unsigned seed)
{
    const int n = kCells + 1;
    const double step = 2 * kTerrainHalfExtent / kCells;
    osg::ref_ptr<osg::Vec3Array> vertices = new osg::Vec3Array;
    osg::ref_ptr<osg::Vec3Array> normals = new osg::Vec3Array;
    osg::ref_ptr<osg::Vec4Array> colours = new osg::Vec4Array;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const double x = -kTerrainHalfExtent + i * step, y = -kTerrainHalfExtent + j * step;
            const double z = terrainHeight(seed, x, y);
            vertices->push_back(osg::Vec3(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)));
            normals->push_back(normalAt(seed, x, y));
            colours->push_back(groundColour(z));
        }
    osg::ref_ptr<osg::DrawElementsUInt> triangles = new osg::DrawElementsUInt(GL_TRIANGLES);
    for (int j = 0; j < kCells; ++j)
        for (int i = 0; i < kCells; ++i) {
            const unsigned a = static_cast<unsigned>(j * n + i), b = a + 1, c = a + static_cast<unsigned>(n), d = c + 1;
            for (unsigned v : {a, b, d, a, d, c})
                triangles->push_back(v);
        }
    osg::ref_ptr<osg::Geometry> g = new osg::Geometry;
    g->setVertexArray(vertices);
    g->setNormalArray(normals, osg::Array::BIND_PER_VERTEX);
    g->setColorArray(colours, osg::Array::BIND_PER_VERTEX);
    g->addPrimitiveSet(triangles);
    // Pushed back a little so the grid lines lying on it always win the depth test.
    g->getOrCreateStateSet()->setAttributeAndModes(new osg::PolygonOffset(1.0f, 2.0f));
    return g;
}

// Lines every kGridSpacing, following the ground 1 m above it.
osg::ref_ptr<osg::Geometry> gridLines(unsigned seed)
{
    osg::ref_ptr<osg::Vec3Array> vertices = new osg::Vec3Array;
    const int lines = static_cast<int>(2 * kTerrainHalfExtent / kGridSpacing);
    const double step = 2 * kTerrainHalfExtent / kCells;
    for (int k = 0; k <= lines; ++k) {
        const double c = -kTerrainHalfExtent + k * kGridSpacing;
        for (int s = 0; s < kCells; ++s) {
            const double u0 = -kTerrainHalfExtent + s * step, u1 = u0 + step;
            auto v = [&](double x, double y) {
                return osg::Vec3(static_cast<float>(x), static_cast<float>(y),
                                 static_cast<float>(terrainHeight(seed, x, y) + 1.0));
            };
            vertices->push_back(v(c, u0));
            vertices->push_back(v(c, u1));
            vertices->push_back(v(u0, c));
            vertices->push_back(v(u1, c));
        }
    }
    osg::ref_ptr<osg::Vec4Array> colour = new osg::Vec4Array;
    colour->push_back(osg::Vec4(0.12f, 0.12f, 0.10f, 1.0f));
    osg::ref_ptr<osg::Geometry> g = new osg::Geometry;
    g->setVertexArray(vertices);
    g->setColorArray(colour, osg::Array::BIND_OVERALL);
    g->addPrimitiveSet(new osg::DrawArrays(GL_LINES, 0, static_cast<GLsizei>(vertices->size())));
    osg::StateSet* s = g->getOrCreateStateSet();
    s->setMode(GL_LIGHTING, osg::StateAttribute::OFF);
    s->setAttributeAndModes(new osg::LineWidth(1.5f));
    return g;
}

// Ground beyond the terrain out past the horizon, so the sky meets hazy ground all round.
osg::ref_ptr<osg::Geometry> farGround()
{
    const float r = 70000.0f, z = static_cast<float>(kTerrainBase) - 1.0f;
    osg::ref_ptr<osg::Vec3Array> vertices = new osg::Vec3Array;
    vertices->push_back(osg::Vec3(-r, -r, z));
    vertices->push_back(osg::Vec3(r, -r, z));
    vertices->push_back(osg::Vec3(r, r, z));
    vertices->push_back(osg::Vec3(-r, r, z));
    osg::ref_ptr<osg::Vec4Array> colour = new osg::Vec4Array;
    colour->push_back(groundColour(kTerrainBase));
    osg::ref_ptr<osg::Vec3Array> normal = new osg::Vec3Array;
    normal->push_back(osg::Vec3(0, 0, 1));
    osg::ref_ptr<osg::Geometry> g = new osg::Geometry;
    g->setVertexArray(vertices);
    g->setColorArray(colour, osg::Array::BIND_OVERALL);
    g->setNormalArray(normal, osg::Array::BIND_OVERALL);
    g->addPrimitiveSet(new osg::DrawArrays(GL_QUADS, 0, 4));
    return g;
}

osg::ref_ptr<osg::ShapeDrawable> shape(osg::Shape* s, Colour c)
{
    osg::ref_ptr<osg::TessellationHints> hints = new osg::TessellationHints;
    hints->setDetailRatio(0.5f);
    osg::ref_ptr<osg::ShapeDrawable> d = new osg::ShapeDrawable(s, hints);
    d->setColor(rgba(c));
    return d;
}

// A landmark at `distance` towards the compass bearing `bearingDegrees` (clockwise from north),
// standing on the ground.
osg::ref_ptr<osg::Geode> landmark(unsigned seed, double bearingDegrees, double azimuthDegrees)
{
    // Frame axes: x = e cos a - n sin a, y = e sin a + n cos a.
    const double b = bearingDegrees * kPi / 180.0, a = azimuthDegrees * kPi / 180.0;
    const double e = std::sin(b) * kLandmarkDistance, n = std::cos(b) * kLandmarkDistance;
    const float x = static_cast<float>(e * std::cos(a) - n * std::sin(a));
    const float y = static_cast<float>(e * std::sin(a) + n * std::cos(a));
    const float z = static_cast<float>(terrainHeight(seed, x, y)) - 10.0f;
    osg::ref_ptr<osg::Geode> geode = new osg::Geode;
    const int which = static_cast<int>(std::lround(bearingDegrees / 90.0)) % 4;
    switch (which) {
    case 0:  // north: a red spire
        geode->addDrawable(shape(new osg::Cone(osg::Vec3(x, y, z + 250.0f), 280.0f, 1000.0f), kNorthColour));
        break;
    case 1:  // east: a magenta tower with a wider foot
        geode->addDrawable(shape(new osg::Box(osg::Vec3(x, y, z + 400.0f), 300.0f, 300.0f, 800.0f), kEastColour));
        geode->addDrawable(shape(new osg::Box(osg::Vec3(x, y, z + 75.0f), 600.0f, 600.0f, 150.0f), kEastColour));
        break;
    case 2:  // south: a yellow dome on a drum
        geode->addDrawable(shape(new osg::Cylinder(osg::Vec3(x, y, z + 100.0f), 420.0f, 200.0f), kSouthColour));
        geode->addDrawable(shape(new osg::Sphere(osg::Vec3(x, y, z + 200.0f), 420.0f), kSouthColour));
        break;
    default:  // west: orange twin towers
        for (float side : {-250.0f, 250.0f}) {
            const osg::Vec3 across(static_cast<float>(std::cos(b + a)) * side, static_cast<float>(-std::sin(b + a)) * side, 0);
            geode->addDrawable(
                shape(new osg::Cylinder(osg::Vec3(x, y, z + 375.0f) + across, 130.0f, 750.0f), kWestColour));
        }
        break;
    }
    geode->getOrCreateStateSet()->setMode(GL_LIGHTING, osg::StateAttribute::OFF);
    return geode;
}

}  // namespace

double terrainHeight(unsigned seed, double x, double y)
{
    // Three octaves: ridges 2 km apart, hills of 700 m, bumps of 250 m; weights sum to 1.
    const double h = 0.62 * valueNoise(seed, x / 2000.0, y / 2000.0) +
                     0.28 * valueNoise(seed + 1, x / 700.0, y / 700.0) +
                     0.10 * valueNoise(seed + 2, x / 250.0, y / 250.0);
    return kTerrainBase + h * (kTerrainTop - kTerrainBase);
}

osg::ref_ptr<osg::Node> buildTerrain(unsigned seed, double azimuthDegrees)
{
    osg::ref_ptr<osg::Group> root = new osg::Group;
    osg::ref_ptr<osg::Geode> ground = new osg::Geode;
    ground->addDrawable(terrainMesh(seed));
    ground->addDrawable(gridLines(seed));
    ground->addDrawable(farGround());
    root->addChild(ground);
    for (double bearing : {0.0, 90.0, 180.0, 270.0})
        root->addChild(landmark(seed, bearing, azimuthDegrees));
    return root;
}

void shadeScene(osg::StateSet& s)
{
    // Vertex colours feed the lit material, so the sun shades slopes by their direction.
    osg::ref_ptr<osg::Material> material = new osg::Material;
    material->setColorMode(osg::Material::AMBIENT_AND_DIFFUSE);
    s.setAttributeAndModes(material);
    // Distance reads as haze: clear up to 2 km, fully hazy at 20 km.
    osg::ref_ptr<osg::Fog> fog = new osg::Fog;
    fog->setMode(osg::Fog::LINEAR);
    fog->setStart(2000.0f);
    fog->setEnd(20000.0f);
    fog->setColor(rgba(kHaze));
    s.setAttributeAndModes(fog);
}

std::string terrainDescription(unsigned seed, double latitude, double longitude, double heightOffset,
                               double azimuthDegrees)
{
    const double shift = -std::max(0.0, heightOffset);  // as Scene places the ground
    std::ostringstream out;
    out << "procedural terrain seed " << seed << ", " << 2 * kTerrainHalfExtent / 1000.0 << " km x "
        << 2 * kTerrainHalfExtent / 1000.0 << " km, grid " << kGridSpacing << " m, ground "
        << kTerrainBase + shift << " to " << kTerrainTop + shift << " m in the frame, landmarks N/E/S/W at "
        << kLandmarkDistance / 1000.0 << " km, frame origin lat " << std::setprecision(9) << latitude << " lon " << longitude << " h "
        << heightOffset << " m az " << azimuthDegrees << " deg";
    return out.str();
}

}  // namespace scenegen

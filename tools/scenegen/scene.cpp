#include "tools/scenegen/scene.h"

#include "tools/scenegen/terrain.h"

#include <osg/Geode>
#include <osg/ShapeDrawable>

#include <algorithm>
#include <cmath>

namespace scenegen {

namespace {

// A light aircraft of 20 m span: fuselage, wings, tailplane and fin, dark grey with white wings
// so it stands out against sky and ground alike; chunky enough to show when seen edge-on from
// the same height, as range units usually are.
osg::ref_ptr<osg::Node> aircraftModel()
{
    osg::ref_ptr<osg::Geode> g = new osg::Geode;
    auto part = [&](osg::Shape* s, const osg::Vec4& colour) {
        osg::ref_ptr<osg::ShapeDrawable> d = new osg::ShapeDrawable(s);
        d->setColor(colour);
        g->addDrawable(d);
    };
    const osg::Vec4 body(0.18f, 0.18f, 0.22f, 1.0f), wing(0.95f, 0.95f, 0.95f, 1.0f);
    osg::ref_ptr<osg::Cylinder> fuselage = new osg::Cylinder(osg::Vec3(0, 0, 0), 1.4f, 16.0f);
    fuselage->setRotation(osg::Quat(osg::PI_2, osg::Y_AXIS));  // along x
    part(fuselage.get(), body);
    osg::ref_ptr<osg::Cone> nose = new osg::Cone(osg::Vec3(8.0f, 0, 0), 1.4f, 3.5f);
    nose->setRotation(osg::Quat(osg::PI_2, osg::Y_AXIS));
    part(nose.get(), body);
    part(new osg::Box(osg::Vec3(1.0f, 0, 0.4f), 3.0f, 20.0f, 0.6f), wing);
    part(new osg::Box(osg::Vec3(-7.0f, 0, 0.3f), 2.0f, 7.0f, 0.4f), wing);
    part(new osg::Box(osg::Vec3(-7.0f, 0, 2.4f), 2.4f, 0.4f, 4.2f), body);
    return g;
}

}  // namespace

osg::Matrixd platformMatrix(const PlatformPose& pose)
{
    // Row vectors in the scene graph: the rightmost factor applies last.
    return osg::Matrixd::rotate(pose.orientation[2], osg::X_AXIS) *
           osg::Matrixd::rotate(pose.orientation[1], osg::Y_AXIS) *
           osg::Matrixd::rotate(pose.orientation[0], osg::Z_AXIS) *
           osg::Matrixd::translate(pose.position[0], pose.position[1], pose.position[2]);
}

Scene::Scene(unsigned seed, double azimuthDegrees, double heightOffset)
    : root_(new osg::Group), platforms_(new osg::Group), aircraft_(aircraftModel())
{
    osg::ref_ptr<osg::MatrixTransform> ground =
        new osg::MatrixTransform(osg::Matrixd::translate(0.0, 0.0, -std::max(0.0, heightOffset)));
    ground->addChild(buildTerrain(seed, azimuthDegrees));
    root_->addChild(ground);
    root_->addChild(platforms_);
    shadeScene(*root_->getOrCreateStateSet());
}

void Scene::setPlatforms(const std::vector<PlatformPose>& platforms, const Vec3& eye)
{
    std::size_t shown = 0;
    for (const PlatformPose& p : platforms) {
        const double dx = p.position[0] - eye[0], dy = p.position[1] - eye[1], dz = p.position[2] - eye[2];
        if (std::sqrt(dx * dx + dy * dy + dz * dz) <= kOwnPlatformDistance)
            continue;
        bool finite = true;
        for (double v : {p.position[0], p.position[1], p.position[2], p.orientation[0], p.orientation[1],
                         p.orientation[2]})
            finite = finite && std::isfinite(v);
        if (!finite)
            continue;
        if (shown == transforms_.size()) {
            transforms_.push_back(new osg::MatrixTransform);
            transforms_.back()->addChild(aircraft_);
        }
        transforms_[shown]->setMatrix(platformMatrix(p));
        ++shown;
    }
    platforms_->removeChildren(0, platforms_->getNumChildren());
    for (std::size_t i = 0; i < shown; ++i)
        platforms_->addChild(transforms_[i]);
}

}  // namespace scenegen

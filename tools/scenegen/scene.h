#pragma once
// The scene scenegen draws: the static terrain and one aircraft-like model per Platform.

#include "tools/scenegen/view.h"

#include <osg/Group>
#include <osg/MatrixTransform>
#include <osg/ref_ptr>

#include <vector>

namespace scenegen {

struct PlatformPose {
    Vec3 position;     // metres in the frame
    Vec3 orientation;  // psi, theta, phi: radians, z-y-x relative to the frame's axes
};

// The sight rides on the Platform at its eye; that one is not drawn.
constexpr double kOwnPlatformDistance = 1.0;  // metres

class Scene {
public:
    // `heightOffset`: the frame origin's height above the ellipsoid (metres). A frame set above
    // the ellipsoid moves the ground down by that much, so the ground stays below both the
    // origin and the ellipsoid, where uutsim flies by default.
    Scene(unsigned seed, double azimuthDegrees, double heightOffset = 0.0);
    osg::Node* root() const { return root_.get(); }
    // Shows every Platform but the one within kOwnPlatformDistance of `eye`.
    void setPlatforms(const std::vector<PlatformPose>& platforms, const Vec3& eye);

private:
    osg::ref_ptr<osg::Group> root_;
    osg::ref_ptr<osg::Group> platforms_;
    osg::ref_ptr<osg::Node> aircraft_;
    std::vector<osg::ref_ptr<osg::MatrixTransform>> transforms_;  // reused from picture to picture
};

// Body axes (x forward, y left, z up) to frame: Rz(psi) Ry(theta) Rx(phi), then the position.
osg::Matrixd platformMatrix(const PlatformPose& pose);

}  // namespace scenegen

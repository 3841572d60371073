#include "tools/scenegen/view.h"

#include <cmath>

namespace scenegen {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kFarthestEye = 1.0e7;  // metres; beyond this no terrain of ours is in sight
}  // namespace

View initialView()
{
    View v;
    v.heading = kPi / 2;
    return v;
}

ViewResult viewFrom(const VKRsimView& v)
{
    ViewResult r;
    const double values[] = {v.viewFromX, v.viewFromY, v.viewFromZ, v.viewPsi, v.viewTheta,
                             v.viewPhi,   v.fieldOfView, v.zoomFactor};
    for (double x : values) {
        if (!std::isfinite(x)) {
            r.fault = "a view value is not a finite number";
            return r;
        }
    }
    if (std::abs(v.viewFromX) > kFarthestEye || std::abs(v.viewFromY) > kFarthestEye ||
        std::abs(v.viewFromZ) > kFarthestEye) {
        r.fault = "viewFrom is more than 10000 km from the frame's origin";
        return r;
    }
    const double fov = v.fieldOfView / v.zoomFactor;
    if (!std::isfinite(fov) || !(fov > 0.0 && fov < 180.0)) {
        r.fault = "field of view " + std::to_string(v.fieldOfView) + " / zoom " + std::to_string(v.zoomFactor) +
                  " is outside (0, 180) degrees";
        return r;
    }
    View view;
    view.eye = {v.viewFromX, v.viewFromY, v.viewFromZ};
    view.heading = v.viewPsi;
    view.elevation = -v.viewPhi;
    view.bank = v.viewTheta;
    view.horizontalFovDegrees = fov;
    r.view = view;
    return r;
}

Camera cameraFor(const View& view, double aspect)
{
    const double ch = std::cos(view.heading), sh = std::sin(view.heading);
    const double ce = std::cos(view.elevation), se = std::sin(view.elevation);
    const Vec3 forward{ce * ch, ce * sh, se};
    // Right of the heading, level whatever the elevation, so looking straight up or down keeps
    // a defined picture orientation.
    const Vec3 right{sh, -ch, 0.0};
    // up0 = right x forward
    const Vec3 up0{right[1] * forward[2] - right[2] * forward[1], right[2] * forward[0] - right[0] * forward[2],
                   right[0] * forward[1] - right[1] * forward[0]};
    const double cb = std::cos(view.bank), sb = std::sin(view.bank);
    Camera c;
    c.eye = view.eye;
    c.centre = {view.eye[0] + forward[0], view.eye[1] + forward[1], view.eye[2] + forward[2]};
    c.up = {up0[0] * cb + right[0] * sb, up0[1] * cb + right[1] * sb, up0[2] * cb + right[2] * sb};
    const double halfH = view.horizontalFovDegrees * kPi / 360.0;
    c.verticalFovDegrees = 2.0 * std::atan(std::tan(halfH) / aspect) * 180.0 / kPi;
    return c;
}

}  // namespace scenegen

#pragma once
// The view scenegen renders, taken from a VKRsim object, and its camera in the local tangent
// plane frame. Pure functions: no scene graph, no middleware.
//
// Convention (frame axes x, y, z; with azimuth 0 these are east, north, up):
//   eye        viewFrom (metres)
//   heading    viewPsi, radians, measured like the TSPI psi: from the frame's x axis towards its y
//              axis, so a pan to the right (which the sight subtracts from psi) turns the picture right
//   elevation  -viewPhi, radians: the sight adds the tilt slider's value to phi, and its thumb at
//              the top is -60, so moving the thumb up raises the line of sight
//   bank       viewTheta, radians: positive rolls the picture right (its right side goes down, the
//              horizon turns anticlockwise on the screen)
//   field      fieldOfView / zoomFactor degrees across the picture

#include <array>
#include <optional>
#include <string>

namespace scenegen {

using Vec3 = std::array<double, 3>;

struct View {
    Vec3 eye{0.0, 0.0, 0.0};    // metres in the frame
    double heading = 0.0;        // radians from x towards y
    double elevation = 0.0;      // radians, up positive
    double bank = 0.0;           // radians, right side down positive
    double horizontalFovDegrees = 90.0;
};

// What a VKRsim object carries (the attributes scenegen reads).
struct VKRsimView {
    double viewFromX, viewFromY, viewFromZ;
    double viewPsi, viewTheta, viewPhi;
    double fieldOfView, zoomFactor;
};

// Before any VKRsim object: from the frame's origin, level, along the frame's y axis.
View initialView();

struct ViewResult {
    std::optional<View> view;
    std::string fault;  // why the values make no view, when view is empty
};

// The view of a VKRsim object, or the reason it has none (a value not finite, an eye farther
// than 10 000 km from the origin, a field of view outside (0, 180) degrees).
ViewResult viewFrom(const VKRsimView& v);

struct Camera {
    Vec3 eye, centre, up;      // for a look-at view matrix; centre is one metre along the line of sight
    double verticalFovDegrees;  // for a width / height picture
};

Camera cameraFor(const View& view, double aspect);

}  // namespace scenegen

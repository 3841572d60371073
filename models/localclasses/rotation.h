#pragma once
// 3x3 rotation arithmetic and z-y-x Euler angles, for the frames. Private to the local classes.

#include "models/localclasses/spatialreferenceframe.h"

#include <array>

namespace ORVA::LocalClasses {

using SpatialReferenceFrame::Vector3;
using Matrix3 = std::array<std::array<double, 3>, 3>;

Matrix3 multiply(const Matrix3& a, const Matrix3& b) noexcept;
Matrix3 transpose(const Matrix3& m) noexcept;
Vector3 apply(const Matrix3& m, const Vector3& v) noexcept;
// Rotation from body axes to reference axes: Rz(psi) Ry(theta) Rx(phi). Radians.
Matrix3 fromEuler(const Vector3& psiThetaPhi) noexcept;
// psi, theta, phi of a rotation; at theta = +-90 degrees phi is taken as 0.
Vector3 toEuler(const Matrix3& m) noexcept;

}  // namespace ORVA::LocalClasses

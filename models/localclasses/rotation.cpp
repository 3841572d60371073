#include "models/localclasses/rotation.h"

#include <algorithm>
#include <cmath>

namespace ORVA::LocalClasses {

Matrix3 multiply(const Matrix3& a, const Matrix3& b) noexcept
{
    Matrix3 r{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return r;
}

Matrix3 transpose(const Matrix3& m) noexcept
{
    Matrix3 r{};
    for (std::size_t i = 0; i < 3; ++i)
        for (std::size_t j = 0; j < 3; ++j)
            r[i][j] = m[j][i];
    return r;
}

Vector3 apply(const Matrix3& m, const Vector3& v) noexcept
{
    return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2], m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
            m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

Matrix3 fromEuler(const Vector3& e) noexcept
{
    const double cps = std::cos(e[0]), sps = std::sin(e[0]);
    const double cth = std::cos(e[1]), sth = std::sin(e[1]);
    const double cph = std::cos(e[2]), sph = std::sin(e[2]);
    return Matrix3{{{cps * cth, cps * sth * sph - sps * cph, cps * sth * cph + sps * sph},
                    {sps * cth, sps * sth * sph + cps * cph, sps * sth * cph - cps * sph},
                    {-sth, cth * sph, cth * cph}}};
}

Vector3 toEuler(const Matrix3& m) noexcept
{
    const double s = std::clamp(-m[2][0], -1.0, 1.0);
    const double theta = std::asin(s);
    if (std::abs(s) > 1.0 - 1e-12) {
        // Gimbal lock: only psi -+ phi is defined; put it all in psi.
        return {std::atan2(-m[0][1], m[1][1]), theta, 0.0};
    }
    return {std::atan2(m[1][0], m[0][0]), theta, std::atan2(m[2][1], m[2][2])};
}

}  // namespace ORVA::LocalClasses

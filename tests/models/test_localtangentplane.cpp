// Local tangent plane frame against GeographicLib's LocalCartesian and points checked by hand.

#include "middleware/exceptions.h"
#include "models/localclasses/localtangentplane.h"
#include "models/localclasses/tspi.h"

#include <GeographicLib/Geocentric.hpp>
#include <GeographicLib/LocalCartesian.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using namespace ORVA;
using Frame = LocalTangentPlaneENUspatialReferenceFrame::Interface;
using Middleware::SmartPtr;
using SpatialReferenceFrame::Vector3;

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
constexpr double kMm = 1e-3;
constexpr double kAngle = 1e-6;

SmartPtr<Frame> frame(double lat, double lon, double height, double azimuth = 0, double x0 = 0, double y0 = 0)
{
    auto f = Frame::create();
    f->set_ellipsoid(0);
    f->set_latitude(lat);
    f->set_longitude(lon);
    f->set_azimuth(azimuth);
    f->set_XFalseOrigin(x0);
    f->set_YFalseOrigin(y0);
    f->set_heightOffset(height);
    return f;
}

Vector3 geocentric(double lat, double lon, double h)
{
    Vector3 p;
    GeographicLib::Geocentric::WGS84().Forward(lat, lon, h, p[0], p[1], p[2]);
    return p;
}

SmartPtr<TSPI::Interface> at(const Vector3& position, const Vector3& orientation = {}, const Vector3& velocity = {})
{
    return TSPI::Interface::create(position, orientation, velocity);
}

double wrap(double angle)
{
    return std::remainder(angle, 2 * kPi);
}

}  // namespace

TEST(LocalTangentPlane, PositionsMatchLocalCartesianWithinAMillimetre)
{
    const struct {
        double lat0, lon0, h0;
    } origins[] = {{0, 0, 0}, {45, 10, 120}, {-33.9, 18.4, -25}, {89.9, -45, 3000}, {12.5, 180, 0}, {-70, -179.5, 10}};
    const struct {
        double dLat, dLon, h;
    } offsets[] = {{0, 0, 0}, {0.001, 0.002, 5}, {-0.3, 0.25, 8000}, {0.5, -0.7, -100}, {0.0, 0.9, 35000}};
    for (const auto& o : origins) {
        const GeographicLib::LocalCartesian reference(o.lat0, o.lon0, o.h0);
        const auto f = frame(o.lat0, o.lon0, o.h0);
        for (const auto& d : offsets) {
            const double lat = std::min(90.0, o.lat0 + d.dLat), lon = o.lon0 + d.dLon;
            std::ostringstream trace;
            trace << "origin " << o.lat0 << "," << o.lon0 << " point " << lat << "," << lon << "," << d.h;
            SCOPED_TRACE(trace.str());
            double e, n, u;
            reference.Forward(lat, lon, d.h, e, n, u);
            const auto p = at(geocentric(lat, lon, d.h))->getPositionIn(f);
            EXPECT_NEAR(e, p->get_x(), kMm);
            EXPECT_NEAR(n, p->get_y(), kMm);
            EXPECT_NEAR(u, p->get_z(), kMm);
        }
    }
}

TEST(LocalTangentPlane, HandCheckedPointsAtEquatorAndPole)
{
    const double a = 6378137.0, b = 6356752.314245;
    const struct {
        const char* what;
        double lat0, lon0;
        Vector3 point, expected;
    } rows[] = {
        {"above the origin", 0, 0, {a + 100, 0, 0}, {0, 0, 100}},
        {"east of the origin", 0, 0, {a, 50, 0}, {50, 0, 0}},
        {"north of the origin", 0, 0, {a, 0, 30}, {0, 30, 0}},
        {"east at longitude 90", 0, 90, {-40, a, 0}, {40, 0, 0}},
        {"pole: east is +y at longitude 0", 90, 0, {0, 10, b}, {10, 0, 0}},
        {"pole: north is -x at longitude 0", 90, 0, {-20, 0, b}, {0, 20, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const auto p = at(row.point)->getPositionIn(frame(row.lat0, row.lon0, 0));
        EXPECT_NEAR(row.expected[0], p->get_x(), kMm);
        EXPECT_NEAR(row.expected[1], p->get_y(), kMm);
        EXPECT_NEAR(row.expected[2], p->get_z(), 2 * kMm);  // b is given to the micrometre
    }
}

TEST(LocalTangentPlane, AzimuthTurnsAndFalseOriginsShiftPositions)
{
    const double lat0 = 52.1, lon0 = 4.3, h0 = 15;
    const GeographicLib::LocalCartesian reference(lat0, lon0, h0);
    const struct {
        double azimuth, x0, y0;
    } frames[] = {{0, 0, 0}, {90, 1000, -500}, {30, 0, 0}, {-45, 250000, 4000000}, {180, -1, 1}, {359.5, 0, 0}};
    for (const auto& fr : frames) {
        std::ostringstream trace;
        trace << "azimuth " << fr.azimuth << " false origins " << fr.x0 << "," << fr.y0;
        SCOPED_TRACE(trace.str());
        const auto f = frame(lat0, lon0, h0, fr.azimuth, fr.x0, fr.y0);
        const double lat = lat0 + 0.01, lon = lon0 - 0.02, h = 40;
        double e, n, u;
        reference.Forward(lat, lon, h, e, n, u);
        const double c = std::cos(fr.azimuth * kDeg), s = std::sin(fr.azimuth * kDeg);
        const auto p = at(geocentric(lat, lon, h))->getPositionIn(f);
        EXPECT_NEAR(e * c - n * s + fr.x0, p->get_x(), kMm);
        EXPECT_NEAR(e * s + n * c + fr.y0, p->get_y(), kMm);
        EXPECT_NEAR(u, p->get_z(), kMm);
    }
    // Worked by hand: azimuth 90 puts east on y and north on -x.
    const auto f = frame(0, 0, 0, 90, 1000, -500);
    const auto p = at({6378137.0 + 3, 10, 20})->getPositionIn(f);
    EXPECT_NEAR(1000 - 20, p->get_x(), kMm);
    EXPECT_NEAR(-500 + 10, p->get_y(), kMm);
    EXPECT_NEAR(3, p->get_z(), kMm);
}

TEST(LocalTangentPlane, OrientationOfABodyAlignedWithEastNorthUp)
{
    // At latitude 0, longitude 0 east is geocentric +y, north +z, up +x: the body-to-geocentric
    // rotation has columns (0,1,0), (0,0,1), (1,0,0), whose z-y-x angles are (90, 0, 90) degrees.
    const auto o = at({6378137.0, 0, 0}, {kPi / 2, 0, kPi / 2})->getOrientationIn(frame(0, 0, 0));
    EXPECT_NEAR(0, o->get_psi(), kAngle);
    EXPECT_NEAR(0, o->get_theta(), kAngle);
    EXPECT_NEAR(0, o->get_phi(), kAngle);

    // Same body in a frame turned by 90 degrees: its x axis (east) lies on the frame's y axis.
    const auto turned = at({6378137.0, 0, 0}, {kPi / 2, 0, kPi / 2})->getOrientationIn(frame(0, 0, 0, 90));
    EXPECT_NEAR(kPi / 2, turned->get_psi(), kAngle);
    EXPECT_NEAR(0, turned->get_theta(), kAngle);
    EXPECT_NEAR(0, turned->get_phi(), kAngle);
}

TEST(LocalTangentPlane, AzimuthAddsToHeadingAndAttitudeRoundTrips)
{
    const auto enu = frame(-12.25, 130.8, 45);
    const struct {
        double psi, theta, phi, azimuth;
    } rows[] = {{0.3, 0.2, -0.1, 0}, {2.9, -0.7, 1.2, 30}, {-3.0, 1.3, -2.5, -60}, {1.0, 0.0, 0.0, 180},
                {0.5, -1.5, 0.4, 12.5}};
    for (const auto& r : rows) {
        std::ostringstream trace;
        trace << r.psi << "," << r.theta << "," << r.phi << " azimuth " << r.azimuth;
        SCOPED_TRACE(trace.str());
        const auto tspi = TSPI::Interface::createIn(enu, {0, 0, 0}, {r.psi, r.theta, r.phi}, {0, 0, 0});
        const auto back = tspi->getOrientationIn(enu);
        EXPECT_NEAR(0, wrap(r.psi - back->get_psi()), kAngle);
        EXPECT_NEAR(r.theta, back->get_theta(), kAngle);
        EXPECT_NEAR(0, wrap(r.phi - back->get_phi()), kAngle);
        const auto turned = tspi->getOrientationIn(frame(-12.25, 130.8, 45, r.azimuth));
        EXPECT_NEAR(0, wrap(r.psi + r.azimuth * kDeg - turned->get_psi()), kAngle);
        EXPECT_NEAR(r.theta, turned->get_theta(), kAngle);
        EXPECT_NEAR(0, wrap(r.phi - turned->get_phi()), kAngle);
    }
}

TEST(LocalTangentPlane, VelocityIsRotatedButNotShifted)
{
    const double lat0 = 45, lon0 = 10;
    // A geocentric velocity of 10 m/s east at the origin, from GeographicLib's east unit vector.
    std::vector<double> m(9);
    Vector3 origin;
    GeographicLib::Geocentric::WGS84().Forward(lat0, lon0, 0, origin[0], origin[1], origin[2], m);
    const Vector3 east{10 * m[0], 10 * m[3], 10 * m[6]}, up{-4 * m[2], -4 * m[5], -4 * m[8]};
    const struct {
        double azimuth;
        Vector3 velocity, expected;
    } rows[] = {{0, east, {10, 0, 0}}, {90, east, {0, 10, 0}}, {30, east, {10 * std::cos(30 * kDeg), 5, 0}},
                {90, up, {0, 0, -4}}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.azimuth);
        const auto v = at(origin, {}, r.velocity)->getVelocityIn(frame(lat0, lon0, 0, r.azimuth, 5000, 7000));
        EXPECT_NEAR(r.expected[0], v->get_x(), 1e-5);
        EXPECT_NEAR(r.expected[1], v->get_y(), 1e-5);
        EXPECT_NEAR(r.expected[2], v->get_z(), 1e-5);
    }
}

TEST(LocalTangentPlane, CreateInRoundTripsPositions)
{
    const auto f = frame(35.5, -117.7, 700, 17, 1234.5, -987.25);
    for (const Vector3& local : {Vector3{0, 0, 0}, Vector3{-25000, 40000, 3000}, Vector3{1e5, -1e5, -500}}) {
        const auto p = TSPI::Interface::createIn(f, local, {}, {})->getPositionIn(f);
        EXPECT_NEAR(local[0], p->get_x(), kMm);
        EXPECT_NEAR(local[1], p->get_y(), kMm);
        EXPECT_NEAR(local[2], p->get_z(), kMm);
    }
}

TEST(LocalTangentPlane, RejectsWhatItCannotConvert)
{
    auto f = Frame::create();
    EXPECT_THROW(f->set_latitude(90.5), Middleware::Exception);
    EXPECT_THROW(f->set_latitude(std::nan("")), Middleware::Exception);
    EXPECT_THROW(f->set_azimuth(INFINITY), Middleware::Exception);
    EXPECT_THROW(f->set_ellipsoid(1), Middleware::Exception);
    EXPECT_EQ(0.0, f->get_latitude());
    SmartPtr<SpatialReferenceFrame::Interface> none;
    EXPECT_THROW(at({1, 2, 3})->getPositionIn(none), Middleware::InvalidAccess);
}

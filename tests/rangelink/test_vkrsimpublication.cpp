#include "rangelink/vkrsimpublication.h"

#include <gtest/gtest.h>

using namespace rangelink;

namespace {

TEST(ViewAngles, PanTurnsPsiBackTiltTurnsPhiThetaPassesThrough)
{
    struct Row {
        const char* name;
        double psi, theta, phi;
        int pan, tilt;
        double wantPsi, wantTheta, wantPhi;
    } rows[] = {
        {"pan 10 from psi 1", 1.0, 0.0, 0.0, 10, 0, 0.825467075, 0.0, 0.0},
        {"tilt -5", 0.0, 0.0, 0.25, 0, -5, 0.0, 0.0, 0.25 - 0.0872664625},
        {"nothing turned", 0.3, -0.2, 0.1, 0, 0, 0.3, -0.2, 0.1},
        {"full circle of pan and both limits of tilt", 0.0, 0.5, 0.0, 359, 60, -359 * 0.0174532925, 0.5, 60 * 0.0174532925},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const ViewAngles v = viewAngles(r.psi, r.theta, r.phi, r.pan, r.tilt);
        EXPECT_NEAR(v.psi, r.wantPsi, 1e-12);
        EXPECT_EQ(v.theta, r.wantTheta);
        EXPECT_NEAR(v.phi, r.wantPhi, 1e-12);
    }
}

}  // namespace

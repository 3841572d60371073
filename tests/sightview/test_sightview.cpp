#include "sightview/sightview.h"

#include <gtest/gtest.h>

using namespace sightview;

namespace {

TEST(SightViewFrustum, WidensAcrossToTheViewportAspect)
{
    struct Row {
        const char* what;
        Frustum in;
        double aspect;
        double left, right;
    };
    const Row rows[] = {
        {"square viewport of a wide frustum", {-0.4, 0.4, -0.25, 0.25, 1, 100}, 1.0, -0.25, 0.25},
        {"wide viewport of a square frustum", {-0.26, 0.26, -0.26, 0.26, 1, 10000}, 2.0, -0.52, 0.52},
        {"off-centre frustum keeps its proportions", {-0.1, 0.3, -0.2, 0.2, 2, 50}, 1.5, -0.15, 0.45},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Frustum out = frustumForAspect(row.in, row.aspect);
        EXPECT_NEAR(out.left, row.left, 1e-12);
        EXPECT_NEAR(out.right, row.right, 1e-12);
        EXPECT_NEAR((out.right - out.left) / (out.top - out.bottom), row.aspect, 1e-12);
        EXPECT_EQ(out.bottom, row.in.bottom);
        EXPECT_EQ(out.top, row.in.top);
        EXPECT_EQ(out.zNear, row.in.zNear);
        EXPECT_EQ(out.zFar, row.in.zFar);
    }
}

}  // namespace

// The 2006 release's corner helpers of the hull enlargement, and the
// enlargement that uses them: line crossings, corner vectors of offset
// vectors, and a cube pushed out by a clearance.
#include "r2006_offset_corner.h"
#include "host_fixture.h"
#include "point_cloud_envelope.h"
#include "test_helpers.h"

#include "quillon.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

using carvell::r2006::combine_offset_directions;
using carvell::r2006::envelope_line_intersect;
using support::expect_point;

class OffsetCornerTest : public HostTest {};

TEST_F(OffsetCornerTest, LinesCrossInThePlaneOfTheirLargestCrossProductComponent) {
    struct Case {
        const char* name;
        double a[3], b[3], q[3], e[3];
        std::array<double, 3> crossing;
    };
    const Case cases[] = {
        // d x -e = (0, 0, -1): z, negative.
        {"xy plane", {1, 0, 0}, {1, -1, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}},
        // d x -e = (-1, 0, 0): x is larger in magnitude than z = 0 although smaller in sign.
        {"yz plane", {0, 0, 0}, {0, 1, 0}, {0, 2, 3}, {0, 0, 1}, {0, 2, 0}},
        // d x -e = (0, 1, 0): y.
        {"xz plane", {0, 0, 0}, {1, 0, 0}, {2, 0, 5}, {0, 0, 1}, {2, 0, 0}},
        // Skew lines: the point of line 1 whose projection meets line 2 in the xy plane.
        {"skew", {0, 0, 0}, {1, 1, 0}, {3, 0, 7}, {0, 1, 0}, {3, 3, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double out[3];
        ASSERT_EQ(envelope_line_intersect(c.a, c.b, c.q, c.e, out), 0);
        expect_point(out, c.crossing, 1e-12);
    }
}

TEST_F(OffsetCornerTest, ParallelLinesDoNotCross) {
    const double a[3] = {0, 0, 0}, b[3] = {2, 1, 0}, q[3] = {0, 5, 1}, e[3] = {-4, -2, 0};
    double out[3] = {7, 7, 7};
    EXPECT_EQ(envelope_line_intersect(a, b, q, e, out), -1);
    expect_point(out, {7, 7, 7}, 0.0);
}

TEST_F(OffsetCornerTest, CornerVectorsOfOffsetVectors) {
    struct Case {
        const char* name;
        double u[3], v[3];
        std::array<double, 3> corner;
    };
    const Case cases[] = {
        {"two face normals", {1, 0, 0}, {0, 1, 0}, {1, 1, 0}},
        {"an edge and the third normal of a cube corner", {1, 1, 0}, {0, 0, 1}, {1, 1, 1}},
        // A second triangle of a face already met: the corner stays.
        {"a face met again", {1, 1, 0}, {1, 0, 0}, {1, 1, 0}},
        {"unequal offsets", {2, 0, 0}, {0, 0, 0.5}, {2, 0, 0.5}},
        {"u zero", {0, 0, 0.00005}, {0, 3, 0}, {0, 3, 0}},
        {"v zero", {0, 3, 0}, {0, 0, 0}, {0, 3, 0}},
        {"parallel", {2, 0, 0}, {-1, 0, 0}, {2, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        double out[3];
        combine_offset_directions(c.u, c.v, out);
        expect_point(out, c.corner, 1e-12);
    }
}

TEST_F(OffsetCornerTest, ACubeIsEnlargedByItsClearanceWithoutTraceLines) {
    host_testing::set_checking_level(1);
    host_testing::set_debug_key("envelope_offset_points", true);
    auto* points = static_cast<double*>(SM_alloc(24 * sizeof(double)));
    for (int i = 0; i < 8; ++i) {
        points[3 * i] = i & 1;
        points[3 * i + 1] = (i >> 1) & 1;
        points[3 * i + 2] = (i >> 2) & 1;
    }
    int count = 8;
    const int positions[1] = {1};
    const double offsets[1] = {0.1};
    ASSERT_EQ(envelope_offset_points_enlarge(&points, &count, 8, positions, offsets, 1, 1.0), 0);
    ASSERT_EQ(count, 8);
    std::vector<std::array<double, 3>> corners;
    for (int i = 0; i < count; ++i) corners.push_back({points[3 * i], points[3 * i + 1], points[3 * i + 2]});
    std::sort(corners.begin(), corners.end());
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        // Sorted, the corners run through z fastest, then y, then x.
        expect_point(corners[i].data(), {i & 4 ? 1.1 : -0.1, i & 2 ? 1.1 : -0.1, i & 1 ? 1.1 : -0.1}, 1e-9);
    }
    EXPECT_TRUE(host_testing::error_lines().empty());
    EXPECT_TRUE(host_testing::trace_output().empty());
    SM_free(points);
}

}  // namespace

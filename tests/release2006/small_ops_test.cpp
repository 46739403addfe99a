// Small operations of the 2006 release: the slope sign of two segments,
// reversals of point rows, clearing a vector, the object manager's log, and
// the A-pillar analysis's working record as that release prepares it.
#include "r2006_apo_work.h"
#include "r2006_small_ops.h"
#include "host_fixture.h"
#include "test_helpers.h"

#include "quillon.h"

#include <array>
#include <vector>

namespace {

using namespace carvell::r2006;

class SmallOpsTest : public HostTest {};

TEST_F(SmallOpsTest, SlopeSignOfTwoSegments) {
    // Segment A rises 1 over 1 in x-z (product 1); B's product is 1 + d.
    struct Case {
        double d;
        int sign;
    };
    const Case cases[] = {{5e-6, 0}, {-5e-6, 0}, {2e-5, 1}, {-2e-5, -1}, {0.0, 0}, {3.0, 1}, {-3.0, -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.d);
        const double a[6] = {0, 5, 0, 1, 5, 1};
        const double b[6] = {2, 0, 1, 3, 0, 1 + 1 + c.d};   // dx = 1, dz = 1 + d
        int sign = 9;
        EXPECT_EQ(segment_slope_sign(a, &sign, b), c.sign);
        EXPECT_EQ(sign, c.sign);
    }
}

TEST_F(SmallOpsTest, ReversalsOfOddAndEvenRowsKeepTheMiddlePoint) {
    for (const int n : {0, 1, 4, 5}) {
        SCOPED_TRACE(n);
        std::vector<std::array<double, 3>> points, xyz;
        for (int i = 0; i < n; ++i) points.push_back({double(i), 10.0 + i, 20.0 + i});
        xyz = points;
        std::vector<double*> row;
        for (auto& p : points) row.push_back(p.data());
        const std::vector<double*> pointers = row;
        reverse_point_array(n, row.data());
        reverse_xyz_array(n, reinterpret_cast<double(*)[3]>(xyz.data()));
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(row[i], pointers[i]);  // the pointers stay, the coordinates move
            EXPECT_EQ(row[i][0], n - 1 - i);
            EXPECT_EQ(xyz[i][1], 10.0 + (n - 1 - i));
        }
    }
    reverse_point_array(3, nullptr);
    reverse_xyz_array(3, nullptr);
    double v[3] = {1, 2, 3};
    vec3_zero(v);
    EXPECT_EQ(v[0] + v[1] + v[2], 0.0);
}

TEST_F(SmallOpsTest, AnObjectIsLoggedWithTheObjectManager) {
    const tag_t point = host_testing::make_point({1, 2, 3});
    void* record = TAG_ask_pointer_of_tag(point);
    ASSERT_NE(record, nullptr);
    om_log_unless_flagged(record);
    om_log_unless_flagged(nullptr);
    EXPECT_EQ(host_testing::om_logged_objects(), std::vector<const void*>{record});
}

TEST_F(SmallOpsTest, ContextClearingLeavesTheReferencePointAndTolerances) {
    carvell::vision::ApoWork w;
    w.mode = 3;
    w.side = 1;
    for (double& v : w.P) v = 5.0;
    for (double& v : w.R) v = 6.0;
    for (double& v : w.rot) v = 7.0;
    w.tol = 0.01;
    w.half_tol = 0.005;
    apo_clear_context(&w);
    EXPECT_EQ(w.mode, 0);
    EXPECT_EQ(w.side, 0);
    for (double v : w.P) EXPECT_EQ(v, 0.0);
    for (double v : w.rot) EXPECT_EQ(v, 0.0);
    for (double v : w.R) EXPECT_EQ(v, 6.0);
    EXPECT_EQ(w.tol, 0.01);
    EXPECT_EQ(w.half_tol, 0.005);
    // The analysis zeroes its record before clearing it: R is never left unset.
    carvell::vision::apo_prepare_work(w);
    for (double v : w.R) EXPECT_EQ(v, 0.0);
    EXPECT_EQ(w.tol, 0.0);
}

}  // namespace

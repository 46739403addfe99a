// Projection of a point along a direction onto faces, bodies and planes.
#include "farquil.h"
#include "host_fixture.h"
#include "test_helpers.h"
#include "hm_vd_curve.h"
#include "omvra.h"

#include <vector>

namespace {

using support::faces_of;

using host_testing::Point3;

constexpr double kTight = 1e-7;

class ProjectPointTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
        box_ = host_testing::make_box(corner, size);
        const double c2[3] = {100, 0, 0}, u[3] = {10, 0, 0}, v[3] = {0, 10, 0};
        sheet_ = host_testing::make_planar_sheet(c2, u, v);
        plane_ = host_testing::make_plane({0, 0, -5}, {0, 0, 1});
        // A biquadratic patch over [200, 210] x [0, 10] whose middle pole is
        // raised to 4: its middle point lies at height 4 / 4 = 1.
        double poles[27];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                double* p = poles + 3 * (3 * i + j);
                p[0] = 200 + 5 * i;
                p[1] = 5 * j;
                p[2] = (i == 1 && j == 1) ? 4 : 0;
            }
        curved_ = host_testing::make_bspline_sheet(3, 3, poles, 2, 2);
        faces_of(box_);   // the faces are tagged before the part is counted
        faces_of(sheet_);
        faces_of(curved_);
    }
    tag_t box_ = 0, sheet_ = 0, plane_ = 0, curved_ = 0;
};

TEST_F(ProjectPointTest, HitsOnPlanesFacesAndBodies) {
    struct Case {
        const char* what;
        tag_t target;
        Point3 start, direction, hit;
    } cases[] = {
        {"plane, direction not unit", plane_, {1, 2, 10}, {0, 0, -3}, {1, 2, -5}},
        {"plane, slanted", plane_, {0, 0, 5}, {1, 0, -1}, {10, 0, -5}},
        {"sheet face", faces_of(sheet_)[0], {103, 4, 7}, {0, 0, -1}, {103, 4, 0}},
        {"sheet body", sheet_, {103, 4, -7}, {0, 0, 1}, {103, 4, 0}},
        {"B-spline sheet body", curved_, {205, 5, 10}, {0, 0, -1}, {205, 5, 1}},
        // The line through the box meets two faces: the nearer one counts,
        // whichever comes first in the kernel's face order.
        {"box from +x", box_, {20, 5, 5}, {-1, 0, 0}, {10, 5, 5}},
        {"box from -x", box_, {-20, 5, 5}, {1, 0, 0}, {0, 5, 5}},
        {"box from above", box_, {3, 4, 30}, {0, 0, -1}, {3, 4, 10}},
        {"box from inside", box_, {5, 5, 5}, {0, 0, 1}, {5, 5, 10}},
    };
    const int points_before = host_testing::count_objects(0, HM_point_type);
    for (const Case& c : cases) {
        double out[3] = {0, 0, 0};
        ASSERT_EQ(HM_VD_CURVE_project_point_along_vector(c.start.data(), c.direction.data(), c.target, out), 0)
            << c.what;
        for (int i = 0; i < 3; ++i) EXPECT_NEAR(out[i], c.hit[i], kTight) << c.what;
    }
    EXPECT_EQ(host_testing::count_objects(0, HM_point_type), points_before) << "the hits' points are deleted";
    EXPECT_EQ(host_testing::undo_mark_count(), 0);
    ExpectNoLeaks();
}

TEST_F(ProjectPointTest, MissesAnswerMinusOneAndLeaveTheOutputAndPart) {
    struct Case {
        const char* what;
        tag_t target;
        Point3 start, direction;
    } cases[] = {
        {"plane, parallel", plane_, {0, 0, 5}, {1, 0, 0}},
        {"face, outside its boundary", faces_of(sheet_)[0], {120, 4, 7}, {0, 0, -1}},
        {"face, looking away", faces_of(sheet_)[0], {103, 4, 7}, {0, 0, 1}},
        {"box, passing by", box_, {20, 20, 5}, {-1, 0, 0}},
        {"box, looking away", box_, {20, 5, 5}, {1, 0, 0}},
    };
    for (const Case& c : cases) {
        const int before = host_testing::count_objects();
        double out[3] = {7, 7, 7};
        EXPECT_EQ(HM_VD_CURVE_project_point_along_vector(c.start.data(), c.direction.data(), c.target, out), -1)
            << c.what;
        EXPECT_EQ(out[0], 7) << c.what;
        EXPECT_EQ(host_testing::count_objects(), before) << c.what;
    }
    EXPECT_EQ(host_testing::undo_mark_count(), 0);
    ExpectNoLeaks();
}

TEST_F(ProjectPointTest, WrongTargetsAnswer875033WithThePartUnchanged) {
    // A wire body: the section of the box with the sheet's plane raised into it.
    const double c[3] = {-5, -5, 5}, u[3] = {20, 0, 0}, v[3] = {0, 20, 0};
    tag_t cutter = host_testing::make_planar_sheet(c, u, v);
    int n = 0;
    tag_t* wires = nullptr;
    ASSERT_EQ(HM_MODL_intersect_bodies(box_, cutter, &n, &wires), 0);
    ASSERT_GE(n, 1);
    const tag_t wire = wires[0];
    HM_free(wires);
    hm_list_p_t edges = nullptr;
    ASSERT_EQ(HM_MODL_ask_body_edges(box_, &edges), 0);
    tag_t edge = 0;
    HM_MODL_ask_list_item(edges, 0, &edge);
    HM_MODL_delete_list(&edges);
    struct Case {
        const char* what;
        tag_t target;
        int code;
    } cases[] = {
        {"wire body", wire, 875033},
        {"edge", edge, 875033},
        {"line", host_testing::make_line({0, 0, 0}, {1, 0, 0}), 875033},
        {"point", host_testing::make_point({0, 0, 0}), 875033},
        {"no object", 0, HM_ERR_INVALID_TAG},
    };
    UNDO_mark_t callers_mark = UNDO_KW_set_mark(UNDO_visible, "caller");
    const Point3 start = {5, 5, 30}, down = {0, 0, -1};
    for (const Case& c : cases) {
        const int before = host_testing::count_objects();
        double out[3] = {7, 7, 7};
        EXPECT_EQ(HM_VD_CURVE_project_point_along_vector(start.data(), down.data(), c.target, out), c.code)
            << c.what;
        EXPECT_EQ(out[0], 7) << c.what;
        EXPECT_EQ(host_testing::count_objects(), before) << c.what;
        EXPECT_TRUE(UNDO_KW_ask_mark_exist(callers_mark)) << c.what << ": the caller's mark stays";
    }
    EXPECT_EQ(host_testing::undo_mark_count(), 1);
    const Point3 zero = {0, 0, 0};
    double out[3];
    EXPECT_NE(HM_VD_CURVE_project_point_along_vector(start.data(), zero.data(), box_, out), 0);
    ExpectNoLeaks();
}

// A kernel call that fails part-way, after hits were already made on earlier
// faces, leaves the part as it was: the caller's bodies and planes survive,
// the hits are gone and the output is untouched. Every kernel call of one
// projection is made to fail in turn.
TEST_F(ProjectPointTest, AKernelFailureAfterHitsLeavesThePartAsItWas) {
    const Point3 start = {5, 5, 5}, up = {0, 0, 1};
    double out[3] = {0, 0, 0};
    const long calls_before = host_testing::kernel_calls_made();
    ASSERT_EQ(HM_VD_CURVE_project_point_along_vector(start.data(), up.data(), box_, out), 0);
    const long calls = host_testing::kernel_calls_made() - calls_before;
    ASSERT_GT(calls, 1) << "a projection onto a box makes several kernel calls";

    const int objects_before = host_testing::count_objects();
    for (long n = 0; n < calls; ++n) {
        SCOPED_TRACE(testing::Message() << "kernel call " << n + 1 << " of " << calls << " fails");
        host_testing::fail_kernel_call_after(static_cast<int>(n));
        double failed[3] = {7, 7, 7};
        EXPECT_NE(HM_VD_CURVE_project_point_along_vector(start.data(), up.data(), box_, failed), 0);
        host_testing::clear_kernel_fault();
        EXPECT_EQ(failed[0], 7);
        EXPECT_EQ(host_testing::count_objects(), objects_before);
        for (tag_t kept : {box_, sheet_, plane_, curved_}) EXPECT_EQ(HM_OBJ_ask_status(kept), HM_OBJ_ALIVE);
        EXPECT_EQ(host_testing::undo_mark_count(), 0);
    }
    // The host still projects once the fault is gone.
    ASSERT_EQ(HM_VD_CURVE_project_point_along_vector(start.data(), up.data(), box_, out), 0);
    EXPECT_NEAR(out[2], 10, kTight);
}

}  // namespace

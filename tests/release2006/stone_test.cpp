// Stone impingement in the 2006 release: stones thrown one by one over the
// tread range with the face's edge found by bisection, the older result
// curves (unprojected, no labels), and a run that builds areas in every mode.
#include "r2006_stone.h"
#include "tests/stone/stone_fixtures.h"

#include "stone/si_internal.h"

#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <vector>

namespace {

using carvell::r2006::si_bisect_face_edge;
using carvell::r2006::si_make_plain_result_curve;

std::string name_of(tag_t object) {
    char name[64] = {0};
    HM_OBJ_ask_name(object, name, sizeof name);
    return name;
}

class Stone2006Test : public ThrownStonesTest {
protected:
    void SetUp() override {
        ThrownStonesTest::SetUp();
        // What the tire model logged for deletion goes now, so that the
        // tests count only what the stones leave.
        UPDATE_do_update();
    }
};

TEST_F(Stone2006Test, StonesOverTheTreadRangeLandWhereTheyAreThrownStraight) {
    const Point3 t = launch_point();
    const double h = 200.0;
    const tag_t floor = horizontal_face(t[2] + h, -500, 5000, 500, 1000);
    const int objects = host_testing::count_objects();
    struct Case {
        const char* name;
        int lo, hi;
        int first, count;  // the first stone thrown and the number that land
    };
    const Case cases[] = {
        {"the whole tread", 0, 49, 0, 50},
        {"a range", 10, 19, 10, 10},
        // The run's range may reach one past the last stone; a careless one further.
        {"a range cut to the stones there are", -5, 70, 0, 50},
        {"one past the last stone", 50, 50, 49, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(land(45, floor, -1, c.lo, c.hi), 0);
        ASSERT_EQ(count_, c.count);
        for (int i = 0; i < count_; ++i) {
            SCOPED_TRACE(i);
            const double* start = m_->points[45][c.first + i];
            // At 30 degrees: x = x_start + h / tan 30, the same y.
            EXPECT_NEAR(out_points_[i][0], start[0] + h / std::tan(30 * kRad), 1e-6);
            EXPECT_NEAR(out_points_[i][1], start[1], 1e-9);
            EXPECT_NEAR(out_points_[i][2], t[2] + h, 1e-9);
            EXPECT_NEAR(out_angles_[i], 30.0, 1e-6);
        }
    }
    // The temporary point objects are gone.
    EXPECT_EQ(host_testing::count_objects(), objects);
}

TEST_F(Stone2006Test, AFaceNarrowerThanTheTreadGetsAStoneAtItsEdge) {
    // The stones run from y = 790 down to 600; the face covers y >= 700.
    const Point3 t = launch_point();
    const tag_t part = horizontal_face(t[2] + 200, -500, 3000, 700, 1000);
    ASSERT_EQ(land(45, part, -1), 0);
    const double spacing = kW / 49.0;
    const int landing = static_cast<int>(std::floor(90.0 / spacing)) + 1;   // y >= 700
    ASSERT_EQ(count_, landing + 1);
    // The last stone stands at the edge, within 2^-10 of the spacing inside it.
    EXPECT_GE(out_points_[landing][1], 700.0);
    EXPECT_LE(out_points_[landing][1], 700.0 + spacing / 1024.0);
    EXPECT_LT(out_points_[landing][1], out_points_[landing - 1][1]);
}

TEST_F(Stone2006Test, EdgeBisectionOnARectangle) {
    // A rectangle y in [700, 1000] 200 above the start points; the throw at 30 degrees in x-z.
    const tag_t face = horizontal_face(200, -500, 3000, 700, 1000);
    const double d[3] = {std::cos(30 * kRad), 0, std::sin(30 * kRad)};
    const int objects = host_testing::count_objects();
    struct Case {
        double hit_y, miss_y, edge;
    };
    // Stones 20 apart across either edge of the face.
    const Case cases[] = {{710.0, 690.0, 700.0}, {990.0, 1010.0, 1000.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edge);
        const double hit[3] = {0, c.hit_y, 0}, miss[3] = {0, c.miss_y, 0};
        double out[3];
        ASSERT_EQ(si_bisect_face_edge(hit, miss, d, face, out), 0);
        // On the face, within 2^-10 of the spacing of its edge.
        EXPECT_LE(std::fabs(out[1] - c.edge), 20.0 / 1024.0);
        EXPECT_LE(std::fabs(out[1] - c.hit_y), std::fabs(c.edge - c.hit_y));
        EXPECT_NEAR(out[0], 200.0 / std::tan(30 * kRad), 1e-9);
        EXPECT_NEAR(out[2], 200.0, 1e-9);
    }
    // No mid-point lands: nothing, out untouched.
    const double barely[3] = {0, 700.001, 0}, far[3] = {0, 680, 0};
    double untouched[3] = {7, 7, 7};
    EXPECT_EQ(si_bisect_face_edge(barely, far, d, face, untouched), -1);
    EXPECT_EQ(untouched[0], 7.0);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

TEST_F(Stone2006Test, PlainResultCurvesTheirCodesAndNames) {
    const double points[3][3] = {{0, 0, 0}, {10, 0, 0}, {10, 5, 0}};
    const tag_t line = host_testing::make_line({0, 0, 0}, {0, 0, 9});
    const tag_t gone = host_testing::make_line({0, 0, 0}, {0, 9, 0});
    HM_OBJ_delete_object(gone);
    struct Case {
        const char* what;
        tag_t curve;
        int n;
        int name;
        int code;
        int type;           // of the curve made or used; 0 for none
        const char* text;   // its name
    };
    const Case cases[] = {
        {"no points", 0, 0, 5, -700, 0, ""},
        {"one point", 0, 1, 7, 0, HM_point_type, "7"},
        {"a spline, the outline", 0, 3, -1, 0, HM_spline_type, "OUTER"},
        {"a spline, unnamed", 0, 2, -2, 0, HM_spline_type, ""},
        {"a given curve", line, 0, 12, 0, HM_line_type, "12"},
        {"a deleted curve", gone, 0, 3, -703, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int objects = host_testing::count_objects();
        tag_t out = 99;
        EXPECT_EQ(si_make_plain_result_curve(c.curve, points, c.n, 42, c.name, &out), c.code);
        const bool made = c.curve == 0 && c.code == 0;
        EXPECT_EQ(host_testing::count_objects(), objects + (made ? 1 : 0));   // no label
        if (c.code == -700) {
            EXPECT_EQ(out, 0u);
        }
        if (c.curve) {
            EXPECT_EQ(out, c.curve);
        }
        if (c.type == 0) continue;
        int type = 0, subtype = 0, colour = 0;
        HM_OBJ_ask_type_and_subtype(out, &type, &subtype);
        EXPECT_EQ(type, c.type);
        HM_OBJ_ask_color(out, &colour);
        EXPECT_EQ(colour, 42);
        EXPECT_EQ(name_of(out), c.text);
    }
}

TEST_F(FloorStripRunTest, EveryModeBuildsAreasWithPlainCurvesAndNoLabels) {
    for (const int mode : {0, 1}) {
        SCOPED_TRACE(mode);
        si_face_result_s* r = run_in_older_form(mode);
        ASSERT_NE(r, nullptr);
        // A stone path curve per section that landed, unnamed.
        const std::vector<tag_t> paths = list_items(r->stone_path_list);
        ASSERT_FALSE(paths.empty());
        for (tag_t p : paths) EXPECT_EQ(name_of(p), "");
        HM_VD_SI_delete_geometry(rec_.get());
    }
}

}  // namespace

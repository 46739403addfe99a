// Hostile input to the curve and spline functions: null outputs and null
// entries in rows of points, tag 0, deleted and wrong-kind tags, numbers that
// are not finite, coincident and zero-length geometry, counts of 0, -1 and
// INT_MAX. Every case answers a failure, builds nothing, leaves no block of
// the memory manager behind (checked on tear-down) and the process survives.
#include "host_fixture.h"
#include "hostile_input.h"
#include "hm_vd_curve.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"

#include <climits>
#include <functional>
#include <limits>
#include <vector>

namespace {

using support::Hostile;
using support::kInf;
using support::kNaN;

class CurvesHostileInputTest : public HostTest {};

}  // namespace

TEST_F(CurvesHostileInputTest, EveryCurveFunctionRefusesWithNothingBuilt) {
    const tag_t line = host_testing::make_line({0, 0, -5}, {0, 0, 5});
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    const tag_t box = host_testing::make_box(corner, size);
    const tag_t gone = host_testing::make_line({1, 1, 1}, {2, 2, 2});
    HM_OBJ_delete_object(gone);

    double a[3] = {0, 0, 0}, b[3] = {10, 0, 0}, c[3] = {10, 10, 0}, nan3[3] = {kNaN, 0, 0},
           inf3[3] = {0, kInf, 0}, huge3[3] = {1e300, -1e300, 1e300};
    const double up[3] = {0, 0, 1}, zero[3] = {0, 0, 0};
    double out[3] = {-7, -7, -7};
    tag_t spline = 0;
    int count = -5;
    double** points = nullptr;

    double* with_null[3] = {a, nullptr, c};
    double* with_nan[3] = {a, nan3, c};
    double* with_inf[3] = {a, b, inf3};
    double* coincident[3] = {a, a, a};
    double* row[3] = {a, b, c};
    const tag_t curves[1] = {line};

    const std::vector<Hostile> cases = {
        {"point on curve: NaN parameter", [&] { return HM_VD_CURVE_ask_point_on_curve(line, kNaN, out); },
         HM_ERR_BAD_ARGUMENT},
        {"point on curve: infinite parameter", [&] { return HM_VD_CURVE_ask_point_on_curve(line, kInf, out); },
         HM_ERR_BAD_ARGUMENT},
        {"point on curve: null output", [&] { return HM_VD_CURVE_ask_point_on_curve(line, 0.5, nullptr); },
         HM_ERR_NULL_POINTER},
        {"point on curve: tag 0", [&] { return HM_VD_CURVE_ask_point_on_curve(0, 0.5, out); }, HM_ERR_INVALID_TAG},
        {"point on curve: deleted curve", [&] { return HM_VD_CURVE_ask_point_on_curve(gone, 0.5, out); },
         HM_ERR_INVALID_TAG},
        {"spline: null entry", [&] { return HM_VD_create_spline_thru_points(3, with_null, 0, &spline); },
         HM_ERR_NULL_POINTER},
        {"spline by degree: null entry",
         [&] { return HM_VD_create_spline_thru_points_by_degree(3, with_null, 0, 2, 0, &spline); },
         HM_ERR_NULL_POINTER},
        {"spline: NaN entry", [&] { return HM_VD_create_spline_thru_points(3, with_nan, 0, &spline); },
         HM_ERR_BAD_ARGUMENT},
        {"spline: infinite entry", [&] { return HM_VD_create_spline_thru_points(3, with_inf, 1, &spline); },
         HM_ERR_BAD_ARGUMENT},
        {"spline: count INT_MAX", [&] { return HM_VD_create_spline_thru_points(INT_MAX, row, 0, &spline); },
         HM_ERR_BAD_ARGUMENT},
        {"spline: count 0", [&] { return HM_VD_create_spline_thru_points(0, row, 0, &spline); }, HM_ERR_BAD_ARGUMENT},
        {"spline: count -1", [&] { return HM_VD_create_spline_thru_points(-1, row, 0, &spline); },
         HM_ERR_BAD_ARGUMENT},
        {"spline: null output", [&] { return HM_VD_create_spline_thru_points(3, row, 0, nullptr); },
         HM_ERR_NULL_POINTER},
        {"crossings: NaN point", [&] { return HM_VD_ask_intersect_point_curve_plane(curves, 1, nan3, up, &count, &points); },
         HM_ERR_BAD_ARGUMENT},
        {"crossings: infinite normal",
         [&] { return HM_VD_ask_intersect_point_curve_plane(curves, 1, a, inf3, &count, &points); }, HM_ERR_BAD_ARGUMENT},
        {"crossings: null curve array",
         [&] { return HM_VD_ask_intersect_point_curve_plane(nullptr, 1, a, up, &count, &points); }, HM_ERR_NULL_POINTER},
        {"crossings: null outputs",
         [&] { return HM_VD_ask_intersect_point_curve_plane(curves, 1, a, up, nullptr, nullptr); }, HM_ERR_NULL_POINTER},
        {"projection: NaN point", [&] { return HM_VD_CURVE_project_point_along_vector(nan3, up, box, out); },
         HM_ERR_BAD_ARGUMENT},
        {"projection: infinite direction", [&] { return HM_VD_CURVE_project_point_along_vector(a, inf3, box, out); },
         HM_ERR_BAD_ARGUMENT},
        {"projection: overflowing point", [&] { return HM_VD_CURVE_project_point_along_vector(huge3, up, box, out); },
         -1},
        {"projection: tag 0", [&] { return HM_VD_CURVE_project_point_along_vector(a, up, 0, out); },
         HM_ERR_INVALID_TAG},
        {"projection: a line as target", [&] { return HM_VD_CURVE_project_point_along_vector(a, up, line, out); },
         HM_ERR_WRONG_OBJECT},
    };
    // Coincident points and a zero normal fail in the host; the exact code is
    // the host's, so these only have to fail.
    const std::vector<Hostile> host_failures = {
        {"spline: coincident points", [&] { return HM_VD_create_spline_thru_points(3, coincident, 0, &spline); }, 0},
        {"crossings: zero normal",
         [&] { return HM_VD_ask_intersect_point_curve_plane(curves, 1, a, zero, &count, &points); }, 0},
        {"projection: zero direction", [&] { return HM_VD_CURVE_project_point_along_vector(a, zero, box, out); }, 0},
    };
    for (const auto* table : {&cases, &host_failures}) {
        for (const Hostile& h : *table) {
            SCOPED_TRACE(h.name);
            const int before = host_testing::count_objects();
            const int result = h.call();
            if (table == &cases)
                EXPECT_EQ(result, h.refused);
            else
                EXPECT_NE(result, 0);
            UPDATE_do_update();
            EXPECT_EQ(host_testing::count_objects(), before) << "the refused call left something in the part";
            EXPECT_EQ(spline, 0u);
            EXPECT_EQ(points, nullptr);
        }
    }
    for (double v : out) EXPECT_EQ(v, -7.0) << "a refused call wrote its output";
    EXPECT_EQ(HM_OBJ_ask_status(line), HM_OBJ_ALIVE);
    EXPECT_EQ(HM_OBJ_ask_status(box), HM_OBJ_ALIVE);
}

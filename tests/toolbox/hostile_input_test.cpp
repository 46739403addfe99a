// Hostile input to the toolbox's exports: null outputs and null entries, tag
// 0, deleted and wrong-kind tags, numbers that are not finite or overflow,
// zero-length and coincident geometry, and counts of 0, -1 and INT_MAX. One
// table per export family; every case must answer the family's failure,
// build nothing and leave no memory-manager block behind (the fixture's
// tear-down), and the process must survive it.
#include "hm_vd.h"

#include "host_fixture.h"
#include "hostile_input.h"
#include "test_helpers.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace {

using support::make_list;

using support::Hostile;
using support::kInf;
using support::kNaN;

class HostileInputTest : public HostTest {
protected:
    void ExpectAllRefused(const std::vector<Hostile>& cases) {
        support::expect_all_refused(cases);
        ExpectNoLeaks();
    }

    // A tag that was an object and no longer is.
    tag_t deleted_tag() {
        const tag_t t = host_testing::make_point({9, 9, 9});
        HM_OBJ_delete_object(t);
        return t;
    }
};

// Result of a function that answers nothing: 1 when its output was left as
// the caller set it (refused), 0 when it was written.
int untouched(const double* out, double sentinel = -7.0) {
    for (int i = 0; i < 3; ++i)
        if (out[i] != sentinel) return 0;
    return 1;
}

}  // namespace

TEST_F(HostileInputTest, VectorFunctionsRefuseWhatIsNotFinite) {
    const double o[3] = {0, 0, 0}, x[3] = {1, 0, 0}, y[3] = {0, 1, 0}, z[3] = {0, 0, 1};
    const double nan3[3] = {kNaN, 0, 0}, inf3[3] = {0, kInf, 0}, huge3[3] = {1e300, 1e300, 1e300};
    const double tiny[3] = {4e-320, 0, 0};   // a denormal length
    double out[3] = {-7, -7, -7};
    auto reset = [&out] { out[0] = out[1] = out[2] = -7.0; };
    const double* row_with_null[3] = {o, nullptr, x};
    const double* row_with_nan[3] = {o, nan3, x};
    double sc[3], sr = 0, cc[3], cr = 0, cn[3];

    const std::vector<Hostile> cases = {
        {"vector by two points: NaN", [&] { return int(HM_VD_create_vector_by_two_points(nan3, x, out)); }, 0},
        {"vector by two points: coincident", [&] { return int(HM_VD_create_vector_by_two_points(x, x, out)); }, 0},
        {"plane side: infinite point", [&] { return int(HM_VD_judge_point_in_plane_side(inf3, o, z)); }, 0},
        {"plane side: NaN normal", [&] { return int(HM_VD_judge_point_in_plane_side(x, o, nan3)); }, 0},
        {"point between: NaN t",
         [&] { reset(); HM_VD_create_point_in_two_points(o, x, kNaN, out); return untouched(out); }, 1},
        {"point between: overflowing t",
         [&] { reset(); HM_VD_create_point_in_two_points(o, huge3, 1e300, out); return untouched(out); }, 1},
        {"point by distance: infinite distance",
         [&] { reset(); HM_VD_create_point_by_distance(o, x, kInf, out); return untouched(out); }, 1},
        {"two lines: a line of denormal length",
         [&] { return HM_VD_ask_two_line_intersect_point(o, tiny, y, x, out) == nullptr ? 1 : 0; }, 1},
        {"two lines: NaN direction",
         [&] { return HM_VD_ask_two_line_intersect_point(o, x, y, nan3, out) == nullptr ? 1 : 0; }, 1},
        {"two lines: coincident points",
         [&] { return HM_VD_ask_two_line_intersect_point(x, x, y, z, out) == nullptr ? 1 : 0; }, 1},
        {"two lines: null output", [&] { return HM_VD_ask_two_line_intersect_point(o, x, y, z, nullptr) == nullptr; },
         1},
        {"plane and line: NaN origin", [&] { return HM_VD_ask_intersect_point_of_plane_and_line(o, z, nan3, z, out); },
         -1},
        {"plane and line: zero direction", [&] { return HM_VD_ask_intersect_point_of_plane_and_line(o, o, o, z, out); },
         -1},
        {"rotate: NaN angle", [&] { reset(); HM_VD_vec3_rotate(x, z, kNaN, out); return untouched(out); }, 1},
        {"rotate point: infinite axis",
         [&] { reset(); HM_VD_vec3_rotate_point(o, inf3, x, 30, out); return untouched(out); }, 1},
        {"rotate vector: NaN tolerance",
         [&] { reset(); double d[3] = {-7, -7, -7}; HM_VD_vec3_rotate_vector(o, z, x, y, 30, kNaN, out, d);
               return untouched(out) && untouched(d); }, 1},
        {"least-squares plane: null entry", [&] { return HM_VD_ask_leastsq_plane(3, row_with_null, out, cn); }, -1},
        {"least-squares plane: NaN entry", [&] { return HM_VD_ask_leastsq_plane(3, row_with_nan, out, cn); }, -1},
        {"least-squares plane: count 0", [&] { return HM_VD_ask_leastsq_plane(0, row_with_nan, out, cn); }, -1},
        {"least-squares plane: count -1", [&] { return HM_VD_ask_leastsq_plane(-1, row_with_nan, out, cn); }, -1},
        {"least-squares plane: count INT_MAX", [&] { return HM_VD_ask_leastsq_plane(INT_MAX, row_with_null, out, cn); },
         -1},
        {"least-squares sphere: null entry",
         [&] { return HM_VD_ask_leastsq_sphere(row_with_null, 3, 0.01, sc, &sr, cc, &cr, cn); }, 2},
        {"least-squares sphere: NaN tolerance",
         [&] { const double* r[4] = {o, x, y, z}; return HM_VD_ask_leastsq_sphere(r, 4, kNaN, sc, &sr, cc, &cr, cn); },
         2},
    };
    ExpectAllRefused(cases);
}

TEST_F(HostileInputTest, CurveUtilitiesRefuseBadCurvesCountsAndNumbers) {
    const tag_t line = host_testing::make_line({0, 0, 0}, {10, 0, 0});
    const tag_t box_corner_body = [] {
        const double corner[3] = {0, 0, 0}, size[3] = {1, 1, 1};
        return host_testing::make_box(corner, size);
    }();
    const tag_t gone = deleted_tag();
    const double o[3] = {0, 0, 0}, x[3] = {1, 0, 0}, y[3] = {0, 1, 0}, nan3[3] = {kNaN, 0, 0};
    const double full[2] = {0, 360}, tolerances[2] = {1e-6, 1e-6}, outside[2] = {5, 5};
    int count = -5, breaks_n = -5;
    double** rows = nullptr;
    int* breaks = nullptr;
    double tangent_points[4];
    tag_t made = 0;
    auto sampled = [&](tag_t curve, int k) {
        HM_VD_simple_curve_points(curve, k, &count, &rows, &breaks_n, &breaks);
        return count == 0 && rows == nullptr && breaks_n == 0 && breaks == nullptr ? 1 : 0;
    };
    double p0[3], p1[3];
    double* with_null[3] = {p0, nullptr, p1};

    const std::vector<Hostile> cases = {
        {"sample: k = 0", [&] { return sampled(line, 0); }, 1},
        {"sample: k = -1", [&] { return sampled(line, -1); }, 1},
        {"sample: k = INT_MAX", [&] { return sampled(line, INT_MAX); }, 1},
        {"sample: k = 2^22", [&] { return sampled(line, 1 << 22); }, 1},
        {"sample: tag 0", [&] { return sampled(0, 4); }, 1},
        {"sample: deleted curve", [&] { return sampled(gone, 4); }, 1},
        {"sample: a body", [&] { return sampled(box_corner_body, 4); }, 1},
        {"disperse: INT_MAX intervals", [&] { return HM_VD_curve_disperse_param_points(line, INT_MAX, &count, with_null); },
         -1},
        {"disperse: null entry",
         [&] { count = -5; const int r = HM_VD_curve_disperse_param_points(line, 2, &count, with_null);
               EXPECT_EQ(count, -5); return r; },
         HM_ERR_NULL_POINTER},
        {"ellipse tangents: zero axis",
         [&] { return HM_VD_ellipse_tangents_2d(0.0, 2.0, full, outside, tolerances, &count, tangent_points); },
         HM_ERR_BAD_ARGUMENT},
        {"ellipse tangents: NaN point",
         [&] { return HM_VD_ellipse_tangents_2d(3.0, 2.0, full, nan3, tolerances, &count, tangent_points); },
         HM_ERR_BAD_ARGUMENT},
        {"ellipse tangents: infinite axis",
         [&] { return HM_VD_ellipse_tangents_2d(kInf, 2.0, full, outside, tolerances, &count, tangent_points); },
         HM_ERR_BAD_ARGUMENT},
        {"ellipse: NaN semi-axis", [&] { return HM_VD_curve_create_ellipse(o, kNaN, x, 2.0, y, full, &made); }, -1},
        {"ellipse: infinite centre",
         [&] { const double c[3] = {kInf, 0, 0}; return HM_VD_curve_create_ellipse(c, 3.0, x, 2.0, y, full, &made); },
         -1},
        {"trim by parameters: NaN",
         [&] { const double t[2] = {kNaN, 0.5}; return HM_VD_CURVE_trim_curve_by_parms(line, t, &made); },
         HM_ERR_BAD_ARGUMENT},
        {"closed spline: NaN point",
         [&] { const double pts[9] = {0, 0, 0, kNaN, 1, 0, 0, 0, 0}; const int b[2] = {0, 2};
               return HM_VD_create_closed_spline_c0(3, pts, 2, b, &made); }, -1},
        {"closed spline: count INT_MAX",
         [&] { const double pts[9] = {0, 0, 0, 1, 1, 0, 0, 0, 0}; const int b[2] = {0, 2};
               return HM_VD_create_closed_spline_c0(INT_MAX, pts, 2, b, &made); }, -1},
        {"coincident point test: NaN", [&] { return HM_VD_CURVE_is_coinside_point(nan3, nan3, 1.0); }, 0},
    };
    ExpectAllRefused(cases);
    EXPECT_EQ(made, 0u);
}

TEST_F(HostileInputTest, ObjectUtilitiesNeverAnswerSuccessWithNothing) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    const tag_t body = host_testing::make_box(corner, size);
    const tag_t point = host_testing::make_point({1, 2, 3});
    const tag_t gone = deleted_tag();
    tag_t copies[2] = {0, 0};

    const std::vector<Hostile> cases = {
        {"copy: null output", [&] { return HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &point, nullptr); }, -1},
        {"copy: null input", [&] { return HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, nullptr, copies); }, -1},
        {"copy: tag 0", [&] { const tag_t none = 0; return HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &none, copies); },
         -1},
        {"copy: deleted tag", [&] { return HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &gone, copies); }, -1},
        {"body features: null list", [&] { return HM_VD_find_body_feats(body, nullptr); }, HM_ERR_NULL_POINTER},
        {"body features: a point", [&] { hm_list_p_t l = nullptr; return HM_VD_find_body_feats(point, &l); }, 1},
        {"body features: tag 0", [&] { hm_list_p_t l = nullptr; return HM_VD_find_body_feats(0, &l); }, 1},
        {"body feature records: null outputs", [&] { return HM_VD_ask_body_feats(body, nullptr, nullptr); },
         HM_ERR_NULL_POINTER},
        {"list to array: null outputs", [&] { return HM_VD_ipv_change_list_to_array(nullptr, nullptr, nullptr); },
         HM_ERR_NULL_POINTER},
    };
    ExpectAllRefused(cases);
    EXPECT_EQ(copies[0], 0u);
    EXPECT_EQ(HM_OBJ_ask_status(body), HM_OBJ_ALIVE);
}

TEST_F(HostileInputTest, PlaneTrimmingRefusesWhatIsNoCurveAndNeverLosesIt) {
    const double corner[3] = {0, 0, -5}, size[3] = {10, 10, 10};
    const tag_t body = host_testing::make_box(corner, size);
    const tag_t plane = host_testing::make_plane({0, 0, 3}, {0, 0, 1});
    const tag_t line = host_testing::make_line({0, 0, -2}, {0, 0, 8});
    const tag_t edge = support::edges_of(body).front();   // tagged on first request
    const double o[3] = {0, 0, 0}, up[3] = {0, 0, 1}, nan3[3] = {kNaN, 0, 0}, inf3[3] = {0, 0, kInf};
    hm_list_p_t away = nullptr, toward = nullptr;
    auto trim = [&](std::vector<tag_t> items, const double* point, const double* normal) {
        hm_list_p_t input = make_list(items);
        const int result = HM_VD_trim_curves_by_plane(input, point, normal, &away, &toward);
        HM_MODL_delete_list(&input);
        return result;
    };

    const std::vector<Hostile> cases = {
        {"a body among the curves", [&] { return trim({line, body}, o, up); }, HM_ERR_WRONG_OBJECT},
        {"a plane among the curves", [&] { return trim({plane, line}, o, up); }, HM_ERR_WRONG_OBJECT},
        {"an edge among the curves", [&] { return trim({line, edge}, o, up); }, HM_ERR_WRONG_OBJECT},
        {"NaN point", [&] { return trim({line}, nan3, up); }, HM_ERR_BAD_ARGUMENT},
        {"infinite normal", [&] { return trim({line}, o, inf3); }, HM_ERR_BAD_ARGUMENT},
        {"intersection: NaN tolerance",
         [&] { hm_list_p_t l = nullptr; return HM_VD_ask_intersection_curves(line, plane, kNaN, &l); },
         HM_ERR_BAD_ARGUMENT},
        {"eye-point projection: NaN eye",
         [&] { hm_list_p_t l = nullptr; return HM_VD_eyepoint_project_curve(nan3, line, 0.01, body, &l); },
         HM_ERR_BAD_ARGUMENT},
        {"eye-point projection: infinite tolerance",
         [&] { hm_list_p_t l = nullptr; return HM_VD_eyepoint_project_curve(o, line, kInf, body, &l); },
         HM_ERR_BAD_ARGUMENT},
        {"eye-point projection: tag 0", [&] { hm_list_p_t l = nullptr; return HM_VD_eyepoint_project_curve(o, 0, 0.01, body, &l); },
         -1},
        {"loop edges: null faces, INT_MAX",
         [&] { int n = -1; tag_t* e = nullptr; return HM_VD_get_loop_edges(INT_MAX, nullptr, true, &n, &e); },
         HM_ERR_NULL_POINTER},
        {"loop edges: count 0",
         [&] { int n = -1; tag_t* e = nullptr; return HM_VD_get_loop_edges(0, &edge, true, &n, &e); },
         HM_VD_ERR_SEW_SHEETS},
        {"loop edges: count -1",
         [&] { int n = -1; tag_t* e = nullptr; return HM_VD_get_loop_edges(-1, &edge, true, &n, &e); },
         HM_VD_ERR_SEW_SHEETS},
        {"loop edges: tag 0",
         [&] { int n = -1; tag_t* e = nullptr; const tag_t none = 0; return HM_VD_get_loop_edges(1, &none, true, &n, &e); },
         HM_VD_ERR_SEW_SHEETS},
        {"null out list", [&] { hm_list_p_t in = make_list({line});
                                const int r = HM_VD_trim_curves_by_plane(in, o, up, nullptr, &toward);
                                HM_MODL_delete_list(&in); return r; }, HM_ERR_NULL_POINTER},
    };
    ExpectAllRefused(cases);
    EXPECT_EQ(away, nullptr);
    EXPECT_EQ(toward, nullptr);
    for (tag_t kept : {body, plane, line, edge}) EXPECT_EQ(HM_OBJ_ask_status(kept), HM_OBJ_ALIVE);
}

TEST_F(HostileInputTest, BodyBuildersRefuseNumbersTheyCannotHonour) {
    const double o[3] = {0, 0, 0}, axes[6] = {1, 0, 0, 0, 1, 0};
    const double nan3[3] = {kNaN, 1, 1}, inf3[3] = {1, kInf, 1}, huge3[3] = {1e308, 1, 1};
    const double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, nan_matrix[9] = {1, 0, 0, 0, kNaN, 0, 0, 0, 1};
    const double corner[3] = {0, 0, 0}, size[3] = {1, 1, 1};
    const tag_t box = host_testing::make_box(corner, size);
    const tag_t point = host_testing::make_point({1, 2, 3});
    tag_t body = 0, copy = 0;
    double box6[6] = {-7, -7, -7, -7, -7, -7};
    hm_list_p_t mapped = nullptr;
    auto map = [&](const double* origin, const double* matrix) {
        hm_list_p_t list = make_list({point});
        const int r = VD_map_geom_csys2abs_list(list, origin, matrix, &mapped);
        HM_MODL_delete_list(&list);
        return r;
    };

    const std::vector<Hostile> cases = {
        {"ellipsoid: NaN semi-axis", [&] { return HM_VD_create_ellipsoid(o, nan3, axes, &body); }, HM_ERR_BAD_ARGUMENT},
        {"ellipsoid: infinite semi-axis", [&] { return HM_VD_create_ellipsoid(o, inf3, axes, &body); },
         HM_ERR_BAD_ARGUMENT},
        {"ellipsoid: doubled semi-axis overflows", [&] { return HM_VD_create_ellipsoid(o, huge3, axes, &body); },
         HM_ERR_BAD_ARGUMENT},
        {"ellipsoid: NaN centre", [&] { return HM_VD_create_ellipsoid(nan3, inf3, axes, &body); }, HM_ERR_BAD_ARGUMENT},
        {"ellipsoid: null output", [&] { return HM_VD_create_ellipsoid(o, inf3, axes, nullptr); }, HM_ERR_NULL_POINTER},
        {"local box: NaN origin", [&] { return HM_VD_ask_bounding_box_local(box, nan3, identity, box6); },
         HM_ERR_BAD_ARGUMENT},
        {"local box: NaN matrix", [&] { return HM_VD_ask_bounding_box_local(box, o, nan_matrix, box6); },
         HM_ERR_BAD_ARGUMENT},
        {"local box: tag 0", [&] { return HM_VD_ask_bounding_box_local(0, o, identity, box6) != 0; }, 1},
        {"mapped list: infinite origin", [&] { return map(inf3, identity); }, HM_ERR_BAD_ARGUMENT},
        {"mapped list: NaN matrix", [&] { return map(o, nan_matrix); }, HM_ERR_BAD_ARGUMENT},
        {"datum plane: null outputs", [&] { return HM_VD_ask_datum_plane_parms(box, nullptr, nullptr); },
         HM_ERR_NULL_POINTER},
        {"datum plane: a point", [&] { double a[3], b[3]; return HM_VD_ask_datum_plane_parms(point, a, b); },
         HM_ERR_WRONG_OBJECT},
        {"scaled copy: NaN factor",
         [&] { copy = 7; HM_VD_scale_object(box, o, kNaN, &copy); return int(copy); }, 0},
        {"scaled copy: infinite centre",
         [&] { copy = 7; HM_VD_scale_object(box, inf3, 2.0, &copy); return int(copy); }, 0},
    };
    ExpectAllRefused(cases);
    EXPECT_EQ(body, 0u);
    EXPECT_EQ(mapped, nullptr);
    for (double v : box6) EXPECT_EQ(v, -7.0) << "a refused box was written";
}

TEST_F(HostileInputTest, DatumAndComponentQueriesNeverHandOutWhatTheHostCannotAnswer) {
    // A datum-plane feature whose datum was deleted since.
    tag_t feature = 0;
    const tag_t datum = host_testing::make_datum_plane({1, 2, 3}, {0, 0, 1}, &feature);
    ASSERT_NE(feature, 0u);
    ASSERT_EQ(HM_OBJ_delete_object(datum), 0);
    // A component placed at a NaN origin, and one turned by a NaN matrix.
    const tag_t assembly = part_;
    const tag_t door = host_testing::make_part("door");
    const tag_t hood = host_testing::make_part("hood");
    ASSERT_EQ(HM_PART_set_display_part(assembly), 0);
    ASSERT_EQ(HM_ASSEM_set_work_part(assembly), 0);
    const double nan_origin[3] = {kNaN, 0, 0}, identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const double origin[3] = {100, 0, 0}, nan_matrix[9] = {1, 0, 0, 0, kNaN, 0, 0, 0, 1};
    ASSERT_NE(host_testing::add_component(door, "DOOR", nan_origin, identity), 0u);
    ASSERT_NE(host_testing::add_component(hood, "HOOD", origin, nan_matrix), 0u);

    double o[3] = {-7, -7, -7}, n[3] = {-7, -7, -7}, x[3], y[3];
    auto datum_parms = [&](tag_t object) {
        const int status = HM_VD_ask_datum_plane_parms(object, o, n);
        EXPECT_EQ(untouched(o) + untouched(n), 2) << "outputs written on failure";
        return status;
    };
    // The defaults written, not the placement.
    auto csys = [&](const char* name) {
        const int status = HM_VD_ask_component_csys(name, o, x, y);
        EXPECT_TRUE(o[0] == 0 && o[1] == 0 && o[2] == 0 && x[0] == 1 && x[1] == 0 && x[2] == 0 && y[0] == 0 &&
                    y[1] == 1 && y[2] == 0);
        EXPECT_EQ(HM_ASSEM_ask_work_part(), assembly) << "the work part is restored";
        return status;
    };
    const std::vector<Hostile> cases = {
        {"datum plane: a feature whose datum is deleted", [&] { return datum_parms(feature); }, HM_ERR_INVALID_TAG},
        {"datum plane: the deleted datum", [&] { return datum_parms(datum); }, HM_ERR_INVALID_TAG},
        {"component csys: NaN origin", [&] { return csys("door"); }, HM_ERR_BAD_ARGUMENT},
        {"component csys: NaN orientation", [&] { return csys("hood"); }, HM_ERR_BAD_ARGUMENT},
    };
    ExpectAllRefused(cases);
}


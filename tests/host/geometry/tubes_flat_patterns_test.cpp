// Tubes along curves, the kinds of faces, intersection curves of faces with
// a body, curve auto-join at given tolerances, flat patterns and the
// reversal of a sheet's normals.
#include "elvosk.h"
#include "gostrel.h"
#include "host_fixture.h"
#include "kestrin.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"
#include "zelvadt.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

using support::faces_of;
using support::new_line;

constexpr double kPi = 3.14159265358979323846;

class TubeTest : public HostTest {};
class FlatPatternTest : public HostTest {};

// A cleared layout that carries one curve (with the host's entry flag 256).
void carry(SMDFLAT_layout_t& layout, tag_t curve) {
    layout.curves = static_cast<SMDFLAT_curve_entry_t*>(SM_alloc(sizeof(SMDFLAT_curve_entry_t)));
    layout.curves[0] = {curve, 0, 0, 256};
    layout.curve_count = 1;
}

double length_of(tag_t curve) {
    double l = 0.0;
    EXPECT_EQ(HM_CURVE_ask_arc_length(curve, 0.0, 1.0, &l), 0);
    return l;
}

TEST_F(TubeTest, ATubeIsASolidCylinderWithPlanarCaps) {
    const tag_t line = new_line(0, 0, 0, 100, 0, 0);
    tag_t feature = 0, body = 0;
    ASSERT_EQ(HM_MODL_create_tube(line, "20.000000", "0.0", &feature), 0);
    ASSERT_EQ(HM_MODL_ask_feat_body(feature, &body), 0);
    // Lateral area 2 pi r L plus two caps pi r^2: r 10, L 100.
    EXPECT_NEAR(host_testing::surface_area(body), 2 * kPi * 10 * 100 + 2 * kPi * 100, 1e-6);
    int planar = 0, cylindrical = 0;
    for (tag_t f : faces_of(body)) {
        int type = 0;
        ASSERT_EQ(HM_MODL_ask_face_type(f, &type), 0);
        planar += type == HM_FACE_PLANAR;
        cylindrical += type == HM_FACE_CYLINDRICAL;
    }
    EXPECT_EQ(planar, 2);
    EXPECT_EQ(cylindrical, 1);
}

TEST_F(TubeTest, BadTubesAndFaceQueriesAnswerTheirCodes) {
    const tag_t line = new_line(0, 0, 0, 100, 0, 0);
    const tag_t point = support::new_point(1, 2, 3);
    tag_t feature = 0;
    struct Case {
        const char* what;
        tag_t path;
        const char* outer;
        const char* inner;
        int code;
    } cases[] = {{"no path", 0, "2", "0", HM_ERR_INVALID_TAG},    {"a point", point, "2", "0", HM_ERR_WRONG_TYPE},
                 {"zero outer", line, "0", "0", HM_ERR_BAD_ARGUMENT}, {"negative", line, "-2", "0", HM_ERR_BAD_ARGUMENT},
                 {"inner too big", line, "2", "2", HM_ERR_BAD_ARGUMENT}, {"not a number", line, "two", "0", HM_ERR_BAD_ARGUMENT}};
    const int before = host_testing::count_objects();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(HM_MODL_create_tube(c.path, c.outer, c.inner, &feature), c.code);
        EXPECT_EQ(feature, 0u);
    }
    EXPECT_EQ(host_testing::count_objects(), before);
    EXPECT_EQ(HM_MODL_create_tube(line, nullptr, "0", &feature), HM_ERR_NULL_POINTER);
    int type = -1;
    EXPECT_EQ(HM_MODL_ask_face_type(line, &type), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_MODL_ask_face_type(0, &type), HM_ERR_INVALID_TAG);
}

TEST_F(TubeTest, ATubesSideMeetsASheetAtItsRadiusFromTheEdge) {
    // A square sheet in z = 0 with an edge along y = -50; a tube of radius 10
    // about that edge meets the sheet in the line y = -40, 100 long.
    const double corner[3] = {0, -50, 0}, u[3] = {100, 0, 0}, v[3] = {0, 100, 0};
    const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
    const tag_t edge_line = new_line(0, -50, 0, 100, -50, 0);
    tag_t feature = 0, body = 0;
    ASSERT_EQ(HM_MODL_create_tube(edge_line, "20", "0.0", &feature), 0);
    HM_MODL_ask_feat_body(feature, &body);
    std::vector<tag_t> sides;
    for (tag_t f : faces_of(body)) {
        int type = 0;
        HM_MODL_ask_face_type(f, &type);
        if (type != HM_FACE_PLANAR) sides.push_back(f);
    }
    int count = 0;
    tag_t* curves = nullptr;
    ICURVES_update_data_t request{};
    request.tolerance = 0.01;
    request.sets[0] = {int(sides.size()), sides.data()};
    request.sets[1] = {1, &sheet};
    ASSERT_EQ(ICURVES_create_icurves(&request, &count, &curves), 0);
    ASSERT_EQ(count, 1);
    EXPECT_NEAR(length_of(curves[0]), 100.0, 1e-6);
    double mid[3], t[3], n[3], b[3], torsion = 0.0, radius = 0.0;
    ASSERT_EQ(HM_MODL_ask_curve_props(curves[0], 0.5, mid, t, n, b, &torsion, &radius), 0);
    EXPECT_NEAR(mid[1], -40.0, 1e-6);
    SM_free(curves);
    ICURVES_update_data_t empty = request;
    empty.sets[0].count = 0;
    ICURVES_update_data_t no_tolerance = request;
    no_tolerance.tolerance = 0.0;
    ICURVES_update_data_t with_line = request;
    with_line.sets[0] = {1, &edge_line};
    EXPECT_EQ(ICURVES_create_icurves(&empty, &count, &curves), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(ICURVES_create_icurves(&no_tolerance, &count, &curves), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(ICURVES_create_icurves(&with_line, &count, &curves), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(ICURVES_create_icurves(nullptr, &count, &curves), HM_ERR_NULL_POINTER);
}

// Two squares in one plane, overlapping in a 6 x 4 rectangle: they meet in
// the outline of the region they share.
TEST_F(TubeTest, SheetsInOnePlaneMeetInTheOutlineOfTheirCommonRegion) {
    const double c1[3] = {0, 0, 5}, c2[3] = {4, 6, 5}, u[3] = {10, 0, 0}, v[3] = {0, 10, 0};
    const tag_t a = host_testing::make_planar_sheet(c1, u, v), b = host_testing::make_planar_sheet(c2, u, v);
    ICURVES_update_data_t request{};
    request.tolerance = 0.01;
    request.sets[0] = {1, &a};
    request.sets[1] = {1, &b};
    int count = 0;
    tag_t* curves = nullptr;
    ASSERT_EQ(ICURVES_create_icurves(&request, &count, &curves), 0);
    ASSERT_EQ(count, 4);
    double perimeter = 0.0;
    for (int i = 0; i < count; ++i) {
        perimeter += length_of(curves[i]);
        double p[3], t[3], n[3], b3[3], torsion = 0.0, radius = 0.0;
        ASSERT_EQ(HM_MODL_ask_curve_props(curves[i], 0.5, p, t, n, b3, &torsion, &radius), 0);
        EXPECT_NEAR(p[2], 5.0, 1e-9);
        EXPECT_TRUE(p[0] > 4.0 - 1e-9 && p[0] < 10.0 + 1e-9 && p[1] > 6.0 - 1e-9 && p[1] < 10.0 + 1e-9)
            << p[0] << ", " << p[1];
    }
    EXPECT_NEAR(perimeter, 2 * (6 + 4), 1e-6);
    SM_free(curves);
}

TEST_F(TubeTest, AutoJoinMakesOneCurvePerChainWithinTheTolerance) {
    // Two chains: an L of two lines with a 0.05 gap, and a line apart.
    const tag_t a = new_line(0, 0, 0, 10, 0, 0), b = new_line(10.05, 0, 0, 10.05, 10, 0);
    const tag_t c = new_line(50, 0, 0, 60, 0, 0);
    const tag_t curves[3] = {a, b, c};
    int n = 0;
    tag_t* joined = nullptr;
    ASSERT_EQ(CRV_JOIN_auto_join_curves(3, curves, 0.1, 0.0, &n, &joined), 0);
    ASSERT_EQ(n, 2);
    EXPECT_NEAR(length_of(joined[0]), 20.0, 0.1);
    EXPECT_NEAR(length_of(joined[1]), 10.0, 1e-9);
    SM_free(joined);
    ASSERT_EQ(CRV_JOIN_auto_join_curves(3, curves, 0.01, 0.0, &n, &joined), 0);
    EXPECT_EQ(n, 3) << "the gap is wider than the tolerance";
    SM_free(joined);
    EXPECT_EQ(CRV_JOIN_auto_join_curves(0, curves, 0.1, 0.0, &n, &joined), HM_ERR_BAD_ARGUMENT);
}

TEST_F(FlatPatternTest, ACylinderUnrollsToItsArcAndCarriedCurvesKeepTheirLength) {
    // Cylinder about z, radius 500, a quarter turn (785.4) by 300 high.
    const double origin[3] = {0, 0, 0}, axis[3] = {0, 0, 1}, x_dir[3] = {1, 0, 0};
    const tag_t sheet = host_testing::make_cylindrical_sheet(origin, axis, x_dir, 500.0, kPi / 2, 300.0);
    const tag_t face = faces_of(sheet)[0];
    // A circle arc on the glass at height 150 over 0.5 rad (250 long).
    const tag_t arc = host_testing::make_arc({0, 0, 150}, 500.0, 0.2, 0.7);
    SMDFLAT_layout_t layout;
    ASSERT_EQ(SMDFLAT__initialize_layout(&layout), 0);
    ASSERT_EQ(SMDFLAT_load_layout_from_prefs(HM_ASSEM_ask_work_part(), &layout), 0);
    EXPECT_EQ(layout.part_units, 0);
    carry(layout, arc);
    const double parm[2] = {0.5, 0.0};
    ASSERT_EQ(SMDFLAT_fill_structure(&layout, face, parm), 0);
    tag_t group = 0;
    EXPECT_EQ(SMDFLAT_create_flat_pattern(sheet, "FLAT", 1, &layout, &group), HM_ERR_NO_SESSION);
    ASSERT_EQ(SMDFLAT_init_module(), 0);
    ASSERT_EQ(SMDFLAT_create_flat_pattern(sheet, "FLAT", 1, &layout, &group), 0);
    SMDFLAT_exit_module();
    SMDFLAT__free_layout(&layout);
    EXPECT_EQ(layout.curves, nullptr);
    tag_t* members = nullptr;
    int count = 0;
    ASSERT_EQ(HM_GROUP_ask_group_data(group, &members, &count), 0);
    ASSERT_EQ(count, 5);   // four sides of the sheet, then the carried arc
    double sides = 0.0;
    for (int i = 0; i < 4; ++i) sides += length_of(members[i]);
    EXPECT_NEAR(sides, 2 * (500.0 * kPi / 2 + 300.0), 1e-3);
    EXPECT_NEAR(length_of(members[4]), 250.0, 1e-3);
    // The carried arc is straight in the flat: its chord is its length.
    double p0[3], p1[3], t[3], n[3], b[3], torsion = 0.0, radius = 0.0;
    HM_MODL_ask_curve_props(members[4], 0.0, p0, t, n, b, &torsion, &radius);
    HM_MODL_ask_curve_props(members[4], 1.0, p1, t, n, b, &torsion, &radius);
    EXPECT_NEAR(std::sqrt((p0[0] - p1[0]) * (p0[0] - p1[0]) + (p0[1] - p1[1]) * (p0[1] - p1[1]) +
                          (p0[2] - p1[2]) * (p0[2] - p1[2])),
                250.0, 1e-3);
    SM_free(members);
    char name[64] = {0};
    HM_OBJ_ask_name(group, name, sizeof name);
    EXPECT_STREQ(name, "FLAT");
}

TEST_F(FlatPatternTest, ADoublyCurvedPatchIsLaidFlatThroughItsMesh) {
    // A patch of a sphere of radius 1000, 20 degrees along its equator by 20
    // degrees of latitude about it, facing +x: area R^2 * 20 deg * 2 sin 10
    // deg. The equator across it (349.07 long) is carried along; it keeps
    // its length in the flat and lies along the flat's first axis.
    const double centre[3] = {0, 0, 0}, direction[3] = {1, 0, 0}, up[3] = {0, 0, 1};
    const double radius = 1000.0, span = 20.0 * kPi / 180.0;
    const tag_t sheet = host_testing::make_spherical_patch(centre, radius, direction, up, radius * span, radius * span);
    const tag_t equator = host_testing::make_arc({0, 0, 0}, radius, -span / 2, span / 2);
    SMDFLAT_layout_t layout;
    SMDFLAT__initialize_layout(&layout);
    carry(layout, equator);
    const double middle[2] = {0.5, 0.5};
    ASSERT_EQ(SMDFLAT_fill_structure(&layout, faces_of(sheet)[0], middle), 0);
    tag_t group = 0;
    SMDFLAT_init_module();
    ASSERT_EQ(SMDFLAT_create_flat_pattern(sheet, "FLAT", 1, &layout, &group), 0);
    SMDFLAT_exit_module();
    const double stretch = layout.max_stretch;
    SMDFLAT__free_layout(&layout);
    // A sphere cannot be laid flat without stretching, a little.
    EXPECT_GT(stretch, 0.0);
    EXPECT_LT(stretch, 0.02);
    double attribute = -1.0;
    ASSERT_EQ(HM_ATTR_ask_real(group, SMDFLAT_STRETCH_ATTRIBUTE, &attribute), 0);
    EXPECT_EQ(attribute, stretch);
    tag_t* members = nullptr;
    int count = 0;
    ASSERT_EQ(HM_GROUP_ask_group_data(group, &members, &count), 0);
    ASSERT_EQ(count, 5);   // four sides, then the carried equator
    std::vector<std::vector<support::Point3>> sides(4);
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j <= 100; ++j) {
            const support::Point3 p = support::curve_point(members[i], j / 100.0);
            // In the plane touching the patch at its middle (1000, 0, 0).
            ASSERT_NEAR(p[0], radius, 1e-6);
            if (i < 4) sides[i].push_back(p);
        }
    const double area = radius * radius * span * 2.0 * std::sin(span / 2);
    EXPECT_NEAR(support::outline_area(sides), area, 0.005 * area);
    EXPECT_NEAR(length_of(members[4]), radius * span, 0.005 * radius * span);
    // The equator through the middle stays on the line of the face's u
    // direction there: y across, z = 0.
    for (double t : {0.0, 0.5, 1.0}) EXPECT_NEAR(support::curve_point(members[4], t)[2], 0.0, 0.5);
    SM_free(members);
}

TEST_F(FlatPatternTest, CurvesOffTheSheetOrBadRequestsMakeNothing) {
    const double origin[3] = {0, 0, 0}, axis[3] = {0, 0, 1}, x_dir[3] = {1, 0, 0};
    const tag_t sheet = host_testing::make_cylindrical_sheet(origin, axis, x_dir, 500.0, 1.0, 300.0);
    const tag_t off = new_line(0, 0, 0, 0, 0, 100);   // on the axis, 500 from the glass
    SMDFLAT_layout_t layout;
    SMDFLAT__initialize_layout(&layout);
    carry(layout, off);
    const double parm[2] = {0.5, 0.5};
    tag_t group = 0;
    SMDFLAT_init_module();
    EXPECT_EQ(SMDFLAT_create_flat_pattern(sheet, "FLAT", 1, &layout, &group), HM_ERR_BAD_ARGUMENT)
        << "the layout is not filled";
    ASSERT_EQ(SMDFLAT_fill_structure(&layout, faces_of(sheet)[0], parm), 0);
    const int before = host_testing::count_objects();
    EXPECT_EQ(SMDFLAT_create_flat_pattern(sheet, "FLAT", 1, &layout, &group), HM_ERR_GEOMETRY);
    EXPECT_EQ(group, 0u);
    EXPECT_EQ(host_testing::count_objects(), before);
    EXPECT_EQ(SMDFLAT_create_flat_pattern(sheet, "FLAT", 2, &layout, &group), HM_ERR_BAD_ARGUMENT);
    SMDFLAT_exit_module();
    SMDFLAT__free_layout(&layout);
}

TEST_F(FlatPatternTest, ReversingASheetsNormalsKeepsItsTags) {
    const double corner[3] = {0, 0, 0}, u[3] = {10, 0, 0}, v[3] = {0, 10, 0};
    const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
    const tag_t face = faces_of(sheet)[0];
    const double parm[2] = {0.5, 0.5};
    double p[3], d[3], n0[3], n1[3], r[2];
    ASSERT_EQ(HM_MODL_ask_face_props(face, parm, p, d, d, d, d, n0, r), 0);
    tag_t feature = 0;
    ASSERT_EQ(FLIPNORMAL_construct(sheet, &feature), 0);
    EXPECT_NE(feature, 0u);
    EXPECT_EQ(faces_of(sheet)[0], face);
    ASSERT_EQ(HM_MODL_ask_face_props(face, parm, p, d, d, d, d, n1, r), 0);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(n1[i], -n0[i], 1e-12);
    EXPECT_EQ(FLIPNORMAL_construct(face, &feature), HM_ERR_WRONG_TYPE);
}

TEST_F(FlatPatternTest, SmallServicesOfTheWindshieldSteps) {
    tag_t dirr = 0;
    const double o[3] = {1, 2, 3}, z[3] = {0, 0, 2}, zero[3] = {0, 0, 0};
    ASSERT_EQ(HM_SO_create_dirr_doubles(0, 0, o, z, &dirr), 0);
    double oo[3], dd[3];
    ASSERT_EQ(HM_SO_ask_dirr_doubles(dirr, oo, dd), 0);
    EXPECT_EQ(dd[2], 1.0);
    EXPECT_EQ(HM_SO_create_dirr_doubles(0, 0, o, zero, &dirr), HM_ERR_BAD_ARGUMENT);
    HM_MODL_curve_fit_data_t fit{};
    ASSERT_EQ(HM_MODL_ask_curve_fit_data(&fit), 0);
    EXPECT_EQ(fit.distance_tolerance, 0.01);
    const tag_t spline = host_testing::make_spline({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}, {3, 1, 0}, {4, 0, 0}}, 1);
    EVC_p_t e = nullptr;
    ASSERT_EQ(EVC_initialize(spline, &e), 0);
    int poles = 0;
    ASSERT_EQ(EVC_ask_pole_count(e, &poles), 0);
    EXPECT_EQ(poles, 5) << "a polyline through five points has five poles";
    EVC_free(e);
    char* formula = nullptr;
    EXPECT_EQ(SMDUTL_ask_def_baf(&formula), 1);
    ASSERT_NE(formula, nullptr);
    SM_free(formula);
    EXPECT_EQ(DSS_REFRSH_refresh_display(), 0);
    EXPECT_EQ(DSS_REGEN_regen_object(spline), 0);
    EXPECT_EQ(DSS_REGEN_regen_object(0), HM_ERR_INVALID_TAG);
}

}  // namespace

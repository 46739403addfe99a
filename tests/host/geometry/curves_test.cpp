// Curves of the stand-in host: creation, normalised parameters, evaluation,
// inversion, conic records, planes, projection onto planes, evaluators,
// parts of curves and splines through points.
#include "core/model.h"
#include "gostrel.h"
#include "hathmor.h"
#include "host_fixture.h"
#include "kestrin.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

using support::curve_point;
using support::distance;
using support::distance_to_curve;
using support::expect_point;
using support::kPi;

using host_testing::Point3;
constexpr double kTol = 1e-9;

class CurveEvaluationTest : public HostTest {};

// Every kind of curve answers its start at 0, its end at 1 and the middle of
// its range at 0.5, whatever the kernel's own parameter range.
TEST_F(CurveEvaluationTest, NormalisedParametersOfEveryKindOfCurve) {
    const double r2 = std::sqrt(2.0);
    struct Case {
        const char* name;
        tag_t curve;
        Point3 at0, at_half, at1;
    } cases[] = {
        {"line", host_testing::make_line({1, 2, 3}, {11, 2, 3}), {1, 2, 3}, {6, 2, 3}, {11, 2, 3}},
        {"quarter arc", host_testing::make_arc({1, 1, 0}, 2.0, 0.0, kPi / 2), {3, 1, 0}, {1 + r2, 1 + r2, 0},
         {1, 3, 0}},
        {"arc from 90 to 270 degrees in XZ",
         host_testing::make_arc({0, 5, 0}, 1.0, kPi / 2, 3 * kPi / 2, {1, 0, 0}, {0, 0, 1}), {0, 5, 1}, {-1, 5, 0},
         {0, 5, -1}},
        {"full circle", host_testing::make_arc({0, 0, 0}, 3.0, 0.0, 2 * kPi), {3, 0, 0}, {-3, 0, 0}, {3, 0, 0}},
        {"ellipse, a > b", host_testing::make_ellipse({0, 0, 0}, 4.0, 2.0), {4, 0, 0}, {-4, 0, 0}, {4, 0, 0}},
        {"ellipse, a < b", host_testing::make_ellipse({0, 0, 0}, 1.0, 3.0), {1, 0, 0}, {-1, 0, 0}, {1, 0, 0}},
        {"half ellipse from 90 degrees",
         host_testing::make_ellipse({0, 0, 0}, 1.0, 3.0, {1, 0, 0}, {0, 1, 0}, kPi / 2, 3 * kPi / 2), {0, 3, 0},
         {-1, 0, 0}, {0, -3, 0}},
        {"degree-1 spline", host_testing::make_spline({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}, 1), {0, 0, 0}, {1, 0, 0},
         {1, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.curve, 0u);
        expect_point(curve_point(c.curve, 0.0).data(), c.at0);
        expect_point(curve_point(c.curve, 0.5).data(), c.at_half);
        expect_point(curve_point(c.curve, 1.0).data(), c.at1);
    }
    // A quarter of the ellipse with a < b is at its long axis.
    expect_point(curve_point(cases[5].curve, 0.25).data(), {0, 3, 0});
}

TEST_F(CurveEvaluationTest, FrenetFrameCurvatureAndTorsion) {
    tag_t circle = host_testing::make_arc({1, 0, 0}, 2.0, 0.0, 2 * kPi);
    double p[3], t[3], n[3], b[3], torsion = 1, radius = 0;
    ASSERT_EQ(HM_MODL_ask_curve_props(circle, 0.25, p, t, n, b, &torsion, &radius), 0);
    expect_point(p, {1, 2, 0});
    expect_point(t, {-1, 0, 0});
    expect_point(n, {0, -1, 0});   // towards the centre
    expect_point(b, {0, 0, 1});
    EXPECT_NEAR(radius, 2.0, kTol);
    EXPECT_NEAR(torsion, 0.0, kTol);

    tag_t line = host_testing::make_line({0, 0, 0}, {0, 0, 5});
    ASSERT_EQ(HM_MODL_ask_curve_props(line, 0.3, p, t, n, b, &torsion, &radius), 0);
    expect_point(p, {0, 0, 1.5});
    expect_point(t, {0, 0, 1});
    expect_point(n, {0, 0, 0});
    EXPECT_EQ(radius, 0.0) << "a straight curve has no radius of curvature";
}

TEST_F(CurveEvaluationTest, ParameterOfPointIsNormalisedAndGivesTheNearestPoint) {
    tag_t line = host_testing::make_line({0, 0, 0}, {10, 0, 0});
    double t = -1, on[3];
    ASSERT_EQ(HM_MODL_ask_curve_parm(line, Point3{2.5, 3, 0}.data(), &t, on), 0);
    EXPECT_NEAR(t, 0.25, kTol);
    expect_point(on, {2.5, 0, 0});
    ASSERT_EQ(HM_MODL_ask_curve_parm(line, Point3{-4, 1, 0}.data(), &t, on), 0);
    EXPECT_NEAR(t, 0.0, kTol) << "beyond the start the start is nearest";
    expect_point(on, {0, 0, 0});

    tag_t arc = host_testing::make_arc({0, 0, 0}, 1.0, 0.0, kPi);
    ASSERT_EQ(HM_MODL_ask_curve_parm(arc, Point3{0, 5, 0}.data(), &t, on), 0);
    EXPECT_NEAR(t, 0.5, kTol);
    expect_point(on, {0, 1, 0});

    tag_t ellipse = host_testing::make_ellipse({0, 0, 0}, 4.0, 2.0);
    ASSERT_EQ(HM_MODL_ask_curve_parm(ellipse, Point3{0, -3, 0}.data(), &t, on), 0);
    EXPECT_NEAR(t, 0.75, 1e-7);
    expect_point(on, {0, -2, 0}, 1e-7);
}

TEST_F(CurveEvaluationTest, BadInputCodes) {
    tag_t line = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    tag_t point = host_testing::make_point({0, 0, 0});
    double p[3] = {0, 0, 0}, t[3], n[3], b[3], torsion, radius, parm;
    EXPECT_EQ(HM_MODL_ask_curve_props(0, 0.5, p, t, n, b, &torsion, &radius), HM_ERR_INVALID_TAG);
    EXPECT_EQ(HM_MODL_ask_curve_props(point, 0.5, p, t, n, b, &torsion, &radius), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_MODL_ask_curve_props(line, 1.5, p, t, n, b, &torsion, &radius), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_MODL_ask_curve_props(line, 0.5, p, t, nullptr, b, &torsion, &radius), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_MODL_ask_curve_parm(part_, p, &parm, p), HM_ERR_WRONG_TYPE);

    tag_t made = 77;
    HM_CURVE_line_t bad = {{1, 1, NAN}, {1, 1, 1}};
    EXPECT_EQ(HM_CURVE_create_line(&bad, &made), HM_ERR_BAD_ARGUMENT);
    HM_CURVE_arc_t arc = {0, 0.0, 7.0, {0, 0, 0}, 1.0};
    EXPECT_EQ(HM_CURVE_create_arc(&arc, &made), HM_ERR_BAD_ARGUMENT) << "more than a full turn";
    arc = {point, 0.0, 1.0, {0, 0, 0}, 1.0};
    EXPECT_EQ(HM_CURVE_create_arc(&arc, &made), HM_ERR_WRONG_TYPE) << "the matrix must be a matrix object";
    HM_CURVE_conic_t conic = {0, 5, 0.0, 0.0, 1.0, {0, 0, 0}, 1.0, 1.0};
    EXPECT_EQ(HM_CURVE_create_conic(&conic, &made), HM_ERR_BAD_ARGUMENT) << "unknown conic kind";
    double zero_normal[3] = {0, 0, 0};
    tag_t plane = 99;
    EXPECT_EQ(HM_MODL_create_plane(p, zero_normal, &plane), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(plane, 0u);
    EXPECT_EQ(made, 77u) << "failed creations do not write through the output";
}

TEST_F(CurveEvaluationTest, ArcLengthBetweenParameters) {
    tag_t arc = host_testing::make_arc({0, 0, 0}, 2.0, 0.0, kPi / 2);
    double length = 0;
    ASSERT_EQ(HM_CURVE_ask_arc_length(arc, 0.0, 1.0, &length), 0);
    EXPECT_NEAR(length, kPi, 1e-9);
    ASSERT_EQ(HM_CURVE_ask_arc_length(arc, 1.0, 0.5, &length), 0);
    EXPECT_NEAR(length, kPi / 2, 1e-9);
    tag_t circle = host_testing::make_arc({0, 0, 0}, 1.0, 0.0, 2 * kPi);
    ASSERT_EQ(HM_CURVE_ask_arc_length(circle, 0.0, 1.0, &length), 0);
    EXPECT_NEAR(length, 2 * kPi, 1e-9) << "a closed curve's end is not its start";

    tag_t kernel = 0;
    double interval[2];
    ASSERT_EQ(pxcutc(circle, &kernel), 0);
    ASSERT_EQ(GQ_CURVE_ask_interval(kernel, interval), 0);
    ASSERT_EQ(GQ_CURVE_find_length(kernel, interval, &length), 0);
    EXPECT_NEAR(length, 2 * kPi * 0.001, 1e-12) << "the kernel's copy is in metres";
    EXPECT_EQ(GQ_ENTITY_delete(circle), HM_ERR_WRONG_TYPE) << "only kernel curves are deleted";
    EXPECT_EQ(GQ_ENTITY_delete(kernel), 0);
    EXPECT_EQ(HM_OBJ_ask_status(circle), HM_OBJ_ALIVE);
}

/* ---- conics ---- */

class ConicCurveTest : public HostTest {};

// The seat-reference parabola: axes X = (-1, 0, 0) and Z up, vertex V, first
// coefficient 1/|a|, limits as heights from the vertex. Its points follow
// L = V.x - |a| h^2, H = V.z + h.
TEST_F(ConicCurveTest, ParabolaFollowsTheLocusOfItsCoefficient) {
    const double a = 0.0019553, h0 = 127.0 - 171.9214442796502, h1 = 405.0 - 171.9214442796502;
    const double m[9] = {-1, 0, 0, 0, 0, 1, 0, 1, 0};   // rows X, Z, X x Z
    host::Object& matrix = host::create(HM_matrix_type, 0);
    host::MatrixData d;
    for (int i = 0; i < 9; ++i) d.matrix[i] = m[i];
    matrix.data = d;
    const Point3 vertex = {1500.0, 300.0, 450.0};
    HM_CURVE_conic_t record = {matrix.tag, HM_CONIC_parabola, 0.0, h0, h1, {}, 1.0 / a, 0.0};
    for (int i = 0; i < 3; ++i)
        record.center[i] = m[3 * i] * vertex[0] + m[3 * i + 1] * vertex[1] + m[3 * i + 2] * vertex[2];
    tag_t parabola = 0;
    ASSERT_EQ(HM_CURVE_create_conic(&record, &parabola), 0);
    int type = 0, subtype = 0;
    ASSERT_EQ(HM_OBJ_ask_type_and_subtype(parabola, &type, &subtype), 0);
    EXPECT_EQ(type, HM_conic_type);
    EXPECT_EQ(subtype, HM_CONIC_parabola);
    for (double t : {0.0, 0.3, 1.0}) {
        const double h = h0 + t * (h1 - h0);
        expect_point(curve_point(parabola, t).data(), {vertex[0] - a * h * h, vertex[1], vertex[2] + h}, 1e-8);
    }
    HM_CURVE_conic_t back;
    ASSERT_EQ(HM_CURVE_ask_conic_data(parabola, &back), 0);
    EXPECT_EQ(back.matrix_tag, matrix.tag);
    EXPECT_DOUBLE_EQ(back.k1, 1.0 / a);

    // Editing keeps the identifier and moves the curve.
    record.center[2] += 10.0;   // the third row is Y: 10 further along Y
    ASSERT_EQ(HM_CURVE_edit_conic_data(parabola, &record), 0);
    expect_point(curve_point(parabola, 0.0).data(), {vertex[0] - a * h0 * h0, vertex[1] + 10.0, vertex[2] + h0}, 1e-8);
}

TEST_F(ConicCurveTest, RecordOfAConicMadeOtherwiseIsReadFromItsGeometry) {
    tag_t ellipse = host_testing::make_ellipse({1, 2, 3}, 2.0, 5.0, {0, 1, 0}, {0, 0, 1});
    tag_t copy = VD_copy_object(ellipse);
    const double move[12] = {1, 0, 0, 10, 0, 1, 0, 0, 0, 0, 1, 0};
    int status = -1;
    tag_t moved = 0;
    ASSERT_EQ(hm5947(move, &copy, 1, 1, -1, 2, &moved, nullptr, &status), 0);
    HM_CURVE_conic_t record;
    ASSERT_EQ(HM_CURVE_ask_conic_data(moved, &record), 0);
    EXPECT_EQ(record.conic_type, HM_CONIC_ellipse);
    EXPECT_NEAR(record.k1, 5.0, kTol) << "the kernel puts the major axis first";
    EXPECT_NEAR(record.k2, 2.0, kTol);
    double values[9];
    ASSERT_EQ(HM_CSYS_ask_matrix_values(record.matrix_tag, values), 0);
    // The centre in the matrix's coordinates maps back to (11, 2, 3).
    Point3 centre{};
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k) centre[k] += values[3 * i + k] * record.center[i];
    expect_point(centre.data(), {11, 2, 3});
}

/* ---- planes and projection ---- */

class PlaneObjectTest : public HostTest {};

TEST_F(PlaneObjectTest, PlanesAndDatumPlanesAnswerOriginAndUnitNormal) {
    tag_t plane = host_testing::make_plane({1, 2, 3}, {0, 0, 2});
    tag_t feature = 0;
    tag_t datum = host_testing::make_datum_plane({0, 5, 0}, {0, -3, 0}, &feature);
    double o[3], n[3];
    ASSERT_EQ(HM_MODL_ask_plane(plane, o, n), 0);
    expect_point(o, {1, 2, 3});
    expect_point(n, {0, 0, 1});
    ASSERT_EQ(HM_MODL_ask_datum_plane(datum, o, n), 0);
    expect_point(o, {0, 5, 0});
    expect_point(n, {0, -1, 0});
    ASSERT_EQ(ES_ask_plane_data(datum, o, n), 0);
    EXPECT_EQ(HM_MODL_ask_datum_plane(plane, o, n), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_MODL_ask_plane(datum, o, n), HM_ERR_WRONG_TYPE);
    int type = 0, subtype = 0;
    ASSERT_EQ(HM_OBJ_ask_type_and_subtype(feature, &type, &subtype), 0);
    EXPECT_EQ(type, HM_feature_type);
}

TEST_F(PlaneObjectTest, ProjectionAlongAVectorOntoAPlane) {
    const double origin[3] = {0, 0, 10}, normal[3] = {0, 0, 1};
    const double point[3] = {1, 1, 0};
    double out[3] = {}, up[3] = {1, 0, 1}, down[3] = {0, 0, -1}, flat[3] = {1, 0, 0};
    int count = -1;
    ASSERT_EQ(CPROJ_point_vec_plane(point, origin, normal, up, 1, out, &count), 0);
    EXPECT_EQ(count, 1);
    expect_point(out, {11, 1, 10});
    ASSERT_EQ(CPROJ_point_vec_plane(point, origin, normal, down, 1, out, &count), 0);
    EXPECT_EQ(count, 0) << "mode 1 looks forward only";
    ASSERT_EQ(CPROJ_point_vec_plane(point, origin, normal, down, 2, out, &count), 0);
    EXPECT_EQ(count, 1) << "mode 2 takes the whole line";
    expect_point(out, {1, 1, 10});
    ASSERT_EQ(CPROJ_point_vec_plane(point, origin, normal, flat, 2, out, &count), 0);
    EXPECT_EQ(count, 0) << "parallel to the plane";
    EXPECT_EQ(CPROJ_point_vec_plane(point, origin, normal, flat, 3, out, &count), HM_ERR_BAD_ARGUMENT);
}

/* ---- evaluators and parts of curves ---- */

class CurveEvaluatorTest : public HostTest {};

TEST_F(CurveEvaluatorTest, DerivativesAreWithRespectToTheNormalisedParameter) {
    tag_t line = host_testing::make_line({0, 0, 0}, {0, 10, 0});
    HM_EVAL_p_t ev = nullptr;
    ASSERT_EQ(HM_EVAL_initialize(line, &ev), 0);
    double limits[2], p[3], d[6];
    ASSERT_EQ(HM_EVAL_ask_limits(ev, limits), 0);
    EXPECT_EQ(limits[0], 0.0);
    EXPECT_EQ(limits[1], 1.0);
    ASSERT_EQ(HM_EVAL_evaluate(ev, 2, 0.5, p, d), 0);
    expect_point(p, {0, 5, 0});
    expect_point(d, {0, 10, 0});
    expect_point(d + 3, {0, 0, 0});
    double t = 0, closest[3];
    ASSERT_EQ(HM_EVAL_evaluate_closest_point(ev, Point3{3, 7, 0}.data(), &t, closest), 0);
    EXPECT_NEAR(t, 0.7, kTol);
    EXPECT_EQ(HM_EVAL_evaluate(ev, 4, 0.5, p, d), HM_ERR_BAD_ARGUMENT);
    HM_EVAL_free(ev);
    ExpectNoLeaks();
}

TEST_F(CurveEvaluatorTest, PartialCurvesBetweenParameters) {
    struct Case {
        const char* name;
        tag_t curve;
        double t0, t1;
        Point3 start, mid, end;
        int type;
    } cases[] = {
        {"line", host_testing::make_line({0, 0, 0}, {8, 0, 0}), 0.25, 0.75, {2, 0, 0}, {4, 0, 0}, {6, 0, 0},
         HM_line_type},
        {"circle through its seam", host_testing::make_arc({0, 0, 0}, 1.0, 0.0, 2 * kPi), 0.75, 0.25, {0, -1, 0},
         {1, 0, 0}, {0, 1, 0}, HM_circle_type},
        {"spline", host_testing::make_spline({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, 1), 0.5, 1.0, {1, 0, 0}, {1.5, 0, 0},
         {2, 0, 0}, HM_spline_type},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EVC_p_t ev = nullptr, part = nullptr;
        ASSERT_EQ(EVC_initialize(c.curve, &ev), 0);
        ASSERT_EQ(kpart_cv(ev, c.t0, c.t1, &part), 0);
        tag_t made = 0;
        ASSERT_EQ(kcrvev(part, &made), 0);
        EVC_free(part);
        EVC_free(ev);
        int type = 0, subtype = 0;
        ASSERT_EQ(HM_OBJ_ask_type_and_subtype(made, &type, &subtype), 0);
        EXPECT_EQ(type, c.type);
        expect_point(curve_point(made, 0.0).data(), c.start);
        expect_point(curve_point(made, 0.5).data(), c.mid);
        expect_point(curve_point(made, 1.0).data(), c.end);
    }
    EVC_p_t ev = nullptr, part = nullptr;
    ASSERT_EQ(EVC_initialize(cases[0].curve, &ev), 0);
    EXPECT_EQ(kpart_cv(ev, 0.75, 0.25, &part), HM_ERR_BAD_ARGUMENT) << "an open curve does not wrap";
    EVC_free(ev);
    ExpectNoLeaks();
}

TEST_F(CurveEvaluatorTest, CurveOfAnEdgeFollowsTheEdge) {
    const double corner[3] = {0, 0, 0}, size[3] = {2, 3, 4};
    tag_t box = host_testing::make_box(corner, size);
    hm_list_p_t edges = nullptr;
    ASSERT_EQ(HM_MODL_ask_body_edges(box, &edges), 0);
    int n = 0;
    ASSERT_EQ(HM_MODL_ask_list_count(edges, &n), 0);
    ASSERT_EQ(n, 12);
    double total = 0;
    for (int i = 0; i < n; ++i) {
        tag_t edge = 0, curve = 0;
        HM_MODL_ask_list_item(edges, i, &edge);
        ASSERT_EQ(kfp_edge(edge, 0.0254, &curve), 0);
        double length = 0;
        ASSERT_EQ(HM_CURVE_ask_arc_length(curve, 0.0, 1.0, &length), 0);
        total += length;
        // The edge itself evaluates as the curve made from it.
        expect_point(curve_point(edge, 0.3).data(), curve_point(curve, 0.3));
    }
    HM_MODL_delete_list(&edges);
    EXPECT_NEAR(total, 4 * (2 + 3 + 4), 1e-9);
    tag_t curve = 0;
    EXPECT_EQ(kfp_edge(box, 0.0254, &curve), HM_ERR_WRONG_TYPE);
}

/* ---- splines through points ---- */

class SplineInterpolationTest : public HostTest {};

std::vector<HM_CURVE_thru_point_t> Records(const std::vector<Point3>& points) {
    std::vector<HM_CURVE_thru_point_t> r(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        r[i] = HM_CURVE_thru_point_t{};
        for (int k = 0; k < 3; ++k) r[i].point[k] = points[i][k];
        r[i].slope_type = -1;
        r[i].crvatr_type = -1;
    }
    return r;
}

// Interpolation of each degree, open and periodic: through every point, a
// periodic spline closed at its first point with a continuous tangent, the
// open one starting and ending at the end points.
TEST_F(SplineInterpolationTest, EachDegreeOpenAndPeriodicPassesThroughThePoints) {
    const std::vector<std::vector<Point3>> rows = {
        {{0, 0, 0}, {4, 1, 0}, {7, 5, 1}, {3, 8, 2}, {-1, 4, 1}, {-2, 1, 0}},
        {{0, 0, 0}, {4, 1, 0}, {2, 5, 1}},   // the fewest points a periodic spline takes
    };
    for (const std::vector<Point3>& points : rows) {
        const int n = static_cast<int>(points.size());
        for (int degree = 1; degree <= 3; ++degree) {
            for (int periodic = 0; periodic <= 1; ++periodic) {
                SCOPED_TRACE(std::to_string(n) + " points, degree " + std::to_string(degree) +
                             (periodic ? " periodic" : " open"));
                auto records = Records(points);
                tag_t spline = 0;
                ASSERT_EQ(HM_CURVE_create_spline_thru_pts(degree, periodic, n, records.data(), nullptr, 1, &spline),
                          0);
                EXPECT_EQ(host_testing::spline_degree(spline), periodic ? degree : std::min(degree, n - 1))
                    << "an open spline's degree is at most n - 1";
                for (const Point3& p : points) EXPECT_LT(distance_to_curve(spline, p), 1e-7);
                expect_point(curve_point(spline, 0.0).data(), points.front(), 1e-9);
                expect_point(curve_point(spline, 1.0).data(), periodic ? points.front() : points.back(), 1e-9);
                host::Object* o = host::find(spline);
                EXPECT_EQ(o->curve->IsClosed(), periodic == 1);
                if (periodic && degree > 1) {
                    EXPECT_TRUE(o->curve->IsPeriodic());
                    double p[3], t0[3], t1[3], nn[3], b[3], torsion, radius;
                    HM_MODL_ask_curve_props(spline, 0.0, p, t0, nn, b, &torsion, &radius);
                    HM_MODL_ask_curve_props(spline, 1.0, p, t1, nn, b, &torsion, &radius);
                    expect_point(t0, {t1[0], t1[1], t1[2]}, 1e-9);
                }
            }
        }
    }
}

TEST_F(SplineInterpolationTest, QuadraticThroughThreePointsIsTheParabolaAtChordParameters) {
    // Symmetric points: the quadratic's middle point is the apex, reached at t = 0.5.
    tag_t spline = host_testing::make_spline({{-2, 0, 0}, {0, 2, 0}, {2, 0, 0}}, 2);
    ASSERT_NE(spline, 0u);
    expect_point(curve_point(spline, 0.5).data(), {0, 2, 0});
    // x(t) = -2 + 4t and y(t) = 8t(1 - t) for this symmetric case.
    expect_point(curve_point(spline, 0.25).data(), {-1, 1.5, 0});
    EVC_p_t ev = nullptr;
    ASSERT_EQ(evcrvu(spline, &ev), 0);
    int n = 0;
    double* breaks = nullptr;
    EVC_p_t* pieces = nullptr;
    ASSERT_EQ(ev_bk_cv_at_c0(ev, &n, &breaks, &pieces), 0);
    EXPECT_EQ(n, 2) << "a smooth spline breaks only at its ends";
    for (int i = 0; i < n - 1; ++i) evcrvf(pieces[i]);
    SM_free(pieces);
    SM_free(breaks);
    evcrvf(ev);
    ExpectNoLeaks();
}

TEST_F(SplineInterpolationTest, PeriodicRowRepeatingItsFirstPointAndBadInput) {
    auto closed = Records({{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}, {0, 0, 0}});
    tag_t spline = 0;
    ASSERT_EQ(HM_CURVE_create_spline_thru_pts(3, 1, 5, closed.data(), nullptr, 0, &spline), 0);
    EXPECT_TRUE(host::find(spline)->curve->IsPeriodic());
    // Four equal chords: the far corner is reached at half the closed length.
    expect_point(curve_point(spline, 0.5).data(), {2, 2, 0}, 1e-9);

    struct Bad {
        const char* name;
        int degree, periodic;
        std::vector<Point3> points;
        int code;
    } bad[] = {
        {"degree 4", 4, 0, {{0, 0, 0}, {1, 0, 0}, {2, 1, 0}}, HM_ERR_BAD_ARGUMENT},
        {"degree 0", 0, 0, {{0, 0, 0}, {1, 0, 0}}, HM_ERR_BAD_ARGUMENT},
        {"one point", 1, 0, {{0, 0, 0}}, HM_ERR_BAD_ARGUMENT},
        {"repeated point", 2, 0, {{0, 0, 0}, {1, 0, 0}, {1, 0, 0}, {2, 1, 0}}, HM_ERR_BAD_ARGUMENT},
        {"periodic through two points", 1, 1, {{0, 0, 0}, {1, 0, 0}}, HM_ERR_BAD_ARGUMENT},
    };
    for (const Bad& b : bad) {
        SCOPED_TRACE(b.name);
        auto records = Records(b.points);
        tag_t out = 12345;
        EXPECT_EQ(HM_CURVE_create_spline_thru_pts(b.degree, b.periodic, static_cast<int>(records.size()),
                                                  records.data(), nullptr, 0, &out),
                  b.code);
        EXPECT_EQ(out, 0u) << "no spline is written as 0";
    }
    EXPECT_EQ(HM_CURVE_create_spline_thru_pts(3, 0, 2, nullptr, nullptr, 0, &spline), HM_ERR_NULL_POINTER);
}

TEST_F(SplineInterpolationTest, GivenParametersPlaceThePoints) {
    auto records = Records({{0, 0, 0}, {1, 0, 0}, {2, 0, 0}});
    const double parameters[3] = {0.0, 0.8, 1.0};
    tag_t spline = 0;
    ASSERT_EQ(HM_CURVE_create_spline_thru_pts(1, 0, 3, records.data(), parameters, 0, &spline), 0);
    expect_point(curve_point(spline, 0.8).data(), {1, 0, 0});
    const double unordered[3] = {0.0, 0.8, 0.5};
    EXPECT_EQ(HM_CURVE_create_spline_thru_pts(1, 0, 3, records.data(), unordered, 0, &spline), HM_ERR_BAD_ARGUMENT);
}

}  // namespace

// The geometry area under the kernel guard and the finiteness check: kernel
// exceptions become HM_ERR_GEOMETRY with nothing built, injected kernel
// faults leave the part as it was, hostile numbers, tags and counts are
// refused, and bounding boxes contain their bodies.
#include "core/kernel_guard.h"
#include "core/model.h"
#include "host_fixture.h"
#include "omvra.h"
#include "kestrin.h"
#include "rostval.h"
#include "quillon.h"
#include "test_helpers.h"

#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <Standard_ConstructionError.hxx>
#include <TopoDS_Face.hxx>
#include <gp_Pln.hxx>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <stdexcept>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

using support::new_line;
using support::new_point;

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

bool error_names(const char* entry) {
    for (const std::string& line : host_testing::error_lines())
        if (line.find(entry) != std::string::npos && line.find("kernel") != std::string::npos) return true;
    return false;
}

tag_t new_circle(double radius) {
    HM_CURVE_arc_t arc = {0, 0.0, 2 * M_PI, {0, 0, 0}, radius};
    tag_t t = 0;
    EXPECT_EQ(HM_CURVE_create_arc(&arc, &t), 0);
    return t;
}

tag_t new_sphere(const double centre[3], const char* diameter) {
    tag_t feature = 0, body = 0;
    EXPECT_EQ(HM_MODL_create_sphere(HM_NULLSIGN, centre, diameter, &feature), 0);
    EXPECT_EQ(HM_MODL_ask_feat_body(feature, &body), 0);
    return body;
}

tag_t new_plane(const double origin[3], const double normal[3]) {
    tag_t plane = 0;
    EXPECT_EQ(HM_MODL_create_plane(origin, normal, &plane), 0);
    return plane;
}

class KernelGuardTest : public HostTest {};

// The guard itself: a kernel exception thrown after the call made objects
// answers the call's code, records the entry point and discards them.
TEST_F(KernelGuardTest, KernelExceptionBecomesTheCodeAndDiscardsWhatTheCallMade) {
    const tag_t kept = new_point(1, 2, 3);
    const int before = host_testing::count_objects();
    struct Case {
        const char* what;
        std::function<void()> raise;
        int code;
    };
    const std::vector<Case> cases = {
        {"kernel", [] { throw Standard_ConstructionError("gp_Dir() - input vector has zero norm"); }, HM_ERR_GEOMETRY},
        {"standard", [] { throw std::runtime_error("runtime"); }, HM_ERR_GEOMETRY},
        {"allocation", [] { throw std::bad_alloc(); }, HM_ERR_BAD_ARGUMENT},
        {"anything", [] { throw 42; }, HM_ERR_GEOMETRY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host_testing::clear_sinks();
        const int r = host::guarded("guarded_entry_point", c.code, [&]() -> int {
            new_point(4, 5, 6);
            new_line(0, 0, 0, 1, 0, 0);
            c.raise();
            return 0;
        });
        EXPECT_EQ(r, c.code);
        EXPECT_EQ(host_testing::count_objects(), before) << "nothing the call made is left";
        EXPECT_TRUE(host::find(kept)) << "what was there before stays";
        EXPECT_TRUE(error_names("guarded_entry_point"));
    }
}

// Faces and edges of an older body tagged during a failed call stay its own.
TEST_F(KernelGuardTest, FacesOfAnOlderBodyTaggedInAFailedCallStay) {
    const double c[3] = {0, 0, 0};
    const tag_t body = new_sphere(c, "10");
    std::vector<tag_t> faces;
    EXPECT_EQ(host::guarded("faces_then_failure", [&]() -> int {
                  faces = support::faces_of(body);
                  throw Standard_ConstructionError("late failure");
              }),
              HM_ERR_GEOMETRY);
    ASSERT_FALSE(faces.empty());
    for (tag_t f : faces) EXPECT_TRUE(host::find(f)) << "the body's face " << f << " is alive";
    EXPECT_EQ(support::faces_of(body), faces);
}

// One table per kind of operation: each entry point, given good arguments,
// fails as a kernel exception would when the fixture fails its call; its
// code is HM_ERR_GEOMETRY, the error names it, nothing is built and nothing
// is left allocated.
TEST_F(KernelGuardTest, EveryGeometryEntryPointTurnsAKernelFaultIntoItsCode) {
    const double origin[3] = {0, 0, 0}, z[3] = {0, 0, 1}, x[3] = {1, 0, 0};
    const tag_t line = new_line(-5, 0, 0, 5, 0, 0);
    const tag_t circle = new_circle(3.0);
    const tag_t plane = new_plane(origin, z);
    const tag_t body = new_sphere(origin, "4");
    const tag_t face = support::faces_of(body).at(0);
    tag_t out = 0;
    double p[3], q[3], d = 0.0, box[6];
    int n = 0;
    struct Case {
        const char* entry;
        std::function<int()> call;
    };
    const std::vector<Case> cases = {
        {"HM_MODL_create_plane", [&] { return HM_MODL_create_plane(origin, z, &out); }},
        {"HM_MODL_ask_plane", [&] { return HM_MODL_ask_plane(plane, p, q); }},
        {"HM_CURVE_create_point", [&] { return HM_CURVE_create_point(origin, &out); }},
        {"HM_CURVE_create_line",
         [&] {
             HM_CURVE_line_t l = {{0, 0, 0}, {1, 1, 1}};
             return HM_CURVE_create_line(&l, &out);
         }},
        {"HM_CURVE_create_arc",
         [&] {
             HM_CURVE_arc_t a = {0, 0.0, 1.0, {0, 0, 0}, 2.0};
             return HM_CURVE_create_arc(&a, &out);
         }},
        {"HM_CURVE_create_spline_thru_pts",
         [&] {
             HM_CURVE_thru_point_t pts[3] = {};
             for (int i = 0; i < 3; ++i) {
                 pts[i].point[0] = i;
                 pts[i].point[1] = i * i;
                 pts[i].slope_type = pts[i].crvatr_type = -1;
             }
             return HM_CURVE_create_spline_thru_pts(2, 0, 3, pts, nullptr, 0, &out);
         }},
        {"HM_MODL_ask_curve_props", [&] { return HM_MODL_ask_curve_props(circle, 0.3, p, q, p, q, &d, &d); }},
        {"HM_CURVE_ask_arc_length", [&] { return HM_CURVE_ask_arc_length(circle, 0.0, 1.0, &d); }},
        {"HM_EVAL_initialize",
         [&] {
             HM_EVAL_p_t e = nullptr;
             const int r = HM_EVAL_initialize(circle, &e);
             if (r == 0) HM_EVAL_free(e);
             return r;
         }},
        {"HM_MODL_intersect_objects",
         [&] {
             const support::Intersection hits = support::intersect(line, circle);
             for (tag_t t : hits.curves) HM_OBJ_delete_object(t);
             return hits.result;
         }},
        {"HM_MODL_ask_minimum_dist",
         [&] { return HM_MODL_ask_minimum_dist(line, body, 0, nullptr, 0, nullptr, &d, p, q); }},
        {"HM_MODL_ask_bounding_box", [&] { return HM_MODL_ask_bounding_box(body, box); }},
        {"HM_MODL_ask_body_faces",
         [&] {
             hm_list_p_t list = nullptr;
             const int r = HM_MODL_ask_body_faces(body, &list);
             HM_MODL_delete_list(&list);
             return r;
         }},
        {"HM_MODL_create_sphere", [&] { return HM_MODL_create_sphere(HM_NULLSIGN, x, "2", &out); }},
        {"CPROJ_point_vector_face",
         [&] {
             const double from[3] = {0, 0, 10}, down[3] = {0, 0, -1};
             const tag_t set = OM_create_tag_set();
             const int r = CPROJ_point_vector_face(from, face, down, 2, set, &n);
             HM_OBJ_delete_object(set);
             return r;
         }},
        {"LSFIT_plane_to_points",
         [&] {
             const double pts[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
             return LSFIT_plane_to_points(3, pts, p, q);
         }},
        {"hm5947",
         [&] {
             const double m[12] = {1, 0, 0, 5, 0, 1, 0, 0, 0, 0, 1, 0};
             tag_t copy = 0, trace = 0;
             int status = 0;
             return hm5947(m, &line, 1, 2, 0, 2, &copy, &trace, &status);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        EXPECT_EQ(c.call(), 0) << "the call succeeds without the fault";
        const int before = host_testing::count_objects();
        const size_t blocks = host_testing::live_allocations();
        host_testing::clear_sinks();
        host_testing::fail_kernel_call_after(0);
        EXPECT_EQ(c.call(), HM_ERR_GEOMETRY);
        host_testing::clear_kernel_fault();
        EXPECT_TRUE(error_names(c.entry));
        EXPECT_EQ(host_testing::count_objects(), before) << "nothing built";
        EXPECT_EQ(host_testing::live_allocations(), blocks) << "nothing left allocated";
    }
}

// The fault strikes the Nth guarded call from now, once: a run of calls
// fails exactly where it was armed, the part keeps what the earlier calls
// built, and the object the failing call was to change is as it was.
TEST_F(KernelGuardTest, InjectedFaultFailsTheNthCallOnceAndLeavesThePartAsItWas) {
    const double origin[3] = {0, 0, 0};
    const tag_t body = new_sphere(origin, "2");
    double box_before[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(body, box_before), 0);
    const host::Object* sphere = host::find(body);
    const TopoDS_Shape shape_before = sphere->shape;
    const int before = host_testing::count_objects();

    host_testing::fail_kernel_call_after(2);
    tag_t a = 0, b = 0;
    EXPECT_EQ(HM_CURVE_create_point(origin, &a), 0);
    EXPECT_EQ(HM_CURVE_create_point(origin, &b), 0);
    const char* factors[3] = {"2", "3", "4"};
    int n_features = 0;
    tag_t* features = nullptr;
    EXPECT_EQ(HM_MODL_create_scale(2, 1, &body, 0, factors, &n_features, &features), HM_ERR_GEOMETRY);
    EXPECT_EQ(features, nullptr);
    EXPECT_EQ(host_testing::count_objects(), before + 2) << "the two points stay; the scaling made nothing";
    ASSERT_TRUE(host::find(body));
    EXPECT_TRUE(host::find(body)->shape.IsSame(shape_before)) << "the body is as it was";
    double box_after[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(body, box_after), 0);
    for (int i = 0; i < 6; ++i) EXPECT_DOUBLE_EQ(box_after[i], box_before[i]);

    // Once only: the same scaling now succeeds.
    EXPECT_EQ(HM_MODL_create_scale(2, 1, &body, 0, factors, &n_features, &features), 0);
    EXPECT_EQ(n_features, 1);
    HM_free(features);
}

class FiniteInputTest : public HostTest {};

// The plane whose normal overflows the kernel's normalisation used to abort
// the process; every kind of number outside the model space is refused.
TEST_F(FiniteInputTest, PlanesPointsAndLinesRefuseNumbersOutsideTheModelSpace) {
    const std::vector<double> hostile = {kNaN, kInf, -kInf, 1.4e154, 1e300, -1e300, 2e12};
    const int before = host_testing::count_objects();
    for (double h : hostile) {
        for (int axis = 0; axis < 3; ++axis) {
            SCOPED_TRACE(std::to_string(h) + " in component " + std::to_string(axis));
            double good[3] = {0, 0, 1}, bad[3] = {0, 0, 1};
            bad[axis] = h;
            tag_t out = 7;
            EXPECT_EQ(HM_MODL_create_plane(good, bad, &out), HM_ERR_BAD_ARGUMENT);
            EXPECT_EQ(out, 0u);
            EXPECT_EQ(HM_MODL_create_plane(bad, good, &out), HM_ERR_BAD_ARGUMENT);
            EXPECT_EQ(HM_CURVE_create_point(bad, &out), HM_ERR_BAD_ARGUMENT);
            HM_CURVE_line_t l = {{0, 0, 0}, {1, 1, 1}};
            l.end_point[axis] = h;
            EXPECT_EQ(HM_CURVE_create_line(&l, &out), HM_ERR_BAD_ARGUMENT);
            tag_t feature = 0;
            EXPECT_NE(HM_MODL_create_sphere(HM_NULLSIGN, bad, "2", &feature), 0);
        }
    }
    EXPECT_EQ(host_testing::count_objects(), before);
}

// A hostile-argument table over the geometry area: every case answers a
// failure code, builds nothing and leaves nothing allocated.
TEST_F(FiniteInputTest, HostileArgumentsFailAndBuildNothing) {
    const double origin[3] = {0, 0, 0}, z[3] = {0, 0, 1};
    const tag_t line = new_line(0, 0, 0, 10, 0, 0);
    const tag_t point = new_point(1, 1, 1);
    const tag_t plane = new_plane(origin, z);
    const tag_t body = new_sphere(origin, "4");
    const tag_t deleted = new_line(0, 0, 0, 0, 5, 0);
    ASSERT_EQ(HM_OBJ_delete_object(deleted), 0);
    const double nan3[3] = {kNaN, 0, 0}, big3[3] = {1e300, 0, 0};
    tag_t out = 0;
    double p[3], q[3], d = 0.0, box[6];
    int n = 0;
    HM_MODL_intersection_t** hits = nullptr;
    HM_EVAL_p_t eval = nullptr;
    struct Case {
        const char* what;
        std::function<int()> call;
    };
    auto thru = [](int count, double poison) {
        std::vector<HM_CURVE_thru_point_t> pts(std::max(count, 0));
        for (size_t i = 0; i < pts.size(); ++i) {
            pts[i].point[0] = double(i);
            pts[i].point[1] = double(i * i);
            pts[i].slope_type = pts[i].crvatr_type = -1;
        }
        if (!pts.empty()) pts.back().point[2] = poison;
        return pts;
    };
    const std::vector<Case> cases = {
        {"curve props of tag 0", [&] { return HM_MODL_ask_curve_props(0, 0.5, p, q, p, q, &d, &d); }},
        {"curve props of a deleted curve",
         [&] { return HM_MODL_ask_curve_props(deleted, 0.5, p, q, p, q, &d, &d); }},
        {"curve props of a body", [&] { return HM_MODL_ask_curve_props(body, 0.5, p, q, p, q, &d, &d); }},
        {"curve props at NaN", [&] { return HM_MODL_ask_curve_props(line, kNaN, p, q, p, q, &d, &d); }},
        {"curve props at 1e300", [&] { return HM_MODL_ask_curve_props(line, 1e300, p, q, p, q, &d, &d); }},
        {"curve parameter of a NaN point", [&] { return HM_MODL_ask_curve_parm(line, nan3, &d, p); }},
        {"curve parameter of a far point", [&] { return HM_MODL_ask_curve_parm(line, big3, &d, p); }},
        {"arc length to inf", [&] { return HM_CURVE_ask_arc_length(line, 0.0, kInf, &d); }},
        {"evaluator of a point", [&] { return HM_EVAL_initialize(point, &eval); }},
        {"evaluator of a plane", [&] { return HM_EVAL_initialize(plane, &eval); }},
        {"spline through a NaN point", [&] { auto v = thru(4, kNaN); return HM_CURVE_create_spline_thru_pts(3, 0, 4, v.data(), nullptr, 0, &out); }},
        {"spline through a 1e300 point", [&] { auto v = thru(4, 1e300); return HM_CURVE_create_spline_thru_pts(3, 0, 4, v.data(), nullptr, 0, &out); }},
        {"spline of 0 points", [&] { auto v = thru(4, 0); return HM_CURVE_create_spline_thru_pts(3, 0, 0, v.data(), nullptr, 0, &out); }},
        {"spline of -1 points", [&] { auto v = thru(4, 0); return HM_CURVE_create_spline_thru_pts(3, 0, -1, v.data(), nullptr, 0, &out); }},
        {"spline of INT_MAX points, null row", [&] { return HM_CURVE_create_spline_thru_pts(3, 0, INT_MAX, nullptr, nullptr, 0, &out); }},
        {"spline of coincident points", [&] {
             std::vector<HM_CURVE_thru_point_t> v(3);
             for (auto& t : v) t.slope_type = t.crvatr_type = -1;
             return HM_CURVE_create_spline_thru_pts(2, 0, 3, v.data(), nullptr, 0, &out); }},
        {"intersection with tag 0", [&] { return HM_MODL_intersect_objects(line, 0, 0.01, &n, &hits); }},
        {"intersection with a deleted curve", [&] { return HM_MODL_intersect_objects(line, deleted, 0.01, &n, &hits); }},
        {"intersection at a NaN tolerance", [&] { return HM_MODL_intersect_objects(line, plane, kNaN, &n, &hits); }},
        {"intersection at a negative tolerance", [&] { return HM_MODL_intersect_objects(line, plane, -1.0, &n, &hits); }},
        {"intersection with null outputs", [&] { return HM_MODL_intersect_objects(line, plane, 0.01, nullptr, &hits); }},
        {"distance to tag 0", [&] { return HM_MODL_ask_minimum_dist(line, 0, 0, nullptr, 0, nullptr, &d, p, q); }},
        {"distance from a NaN guess point", [&] { return HM_MODL_ask_minimum_dist(0, body, 1, nan3, 0, nullptr, &d, p, q); }},
        {"distance from a 1e300 guess point", [&] { return HM_MODL_ask_minimum_dist(0, body, 1, big3, 0, nullptr, &d, p, q); }},
        {"box of a deleted object", [&] { return HM_MODL_ask_bounding_box(deleted, box); }},
        {"box into null", [&] { return HM_MODL_ask_bounding_box(body, nullptr); }},
        {"faces of a line", [&] { hm_list_p_t l = nullptr; return HM_MODL_ask_body_faces(line, &l); }},
        {"sphere of NaN diameter", [&] { return HM_MODL_create_sphere(HM_NULLSIGN, origin, "nan", &out); }},
        {"sphere of 1e300 diameter", [&] { return HM_MODL_create_sphere(HM_NULLSIGN, origin, "1e300", &out); }},
        {"sphere of inf diameter", [&] { return HM_MODL_create_sphere(HM_NULLSIGN, origin, "inf", &out); }},
        {"scale by NaN", [&] { const char* f[3] = {"nan", "1", "1"}; tag_t* fs = nullptr; return HM_MODL_create_scale(2, 1, &body, 0, f, &n, &fs); }},
        {"scale by 1e300", [&] { const char* f[3] = {"1e300", "1", "1"}; tag_t* fs = nullptr; return HM_MODL_create_scale(2, 1, &body, 0, f, &n, &fs); }},
        {"scale of -1 bodies", [&] { const char* f[3] = {"2", "2", "2"}; tag_t* fs = nullptr; return HM_MODL_create_scale(2, -1, &body, 0, f, &n, &fs); }},
        {"scale of INT_MAX bodies", [&] { const char* f[3] = {"2", "2", "2"}; tag_t* fs = nullptr; return HM_MODL_create_scale(2, INT_MAX, nullptr, 0, f, &n, &fs); }},
        {"scale of a null factor", [&] { const char* f[3] = {"2", nullptr, "2"}; tag_t* fs = nullptr; return HM_MODL_create_scale(2, 1, &body, 0, f, &n, &fs); }},
        {"transform by a NaN matrix", [&] {
             const double m[12] = {1, 0, 0, kNaN, 0, 1, 0, 0, 0, 0, 1, 0};
             tag_t copy = 0, trace = 0; int status = 0;
             return hm5947(m, &line, 1, 2, 0, 2, &copy, &trace, &status); }},
        {"transform by a 1e300 shift", [&] {
             const double m[12] = {1, 0, 0, 1e300, 0, 1, 0, 0, 0, 0, 1, 0};
             tag_t copy = 0, trace = 0; int status = 0;
             return hm5947(m, &line, 1, 2, 0, 2, &copy, &trace, &status); }},
        {"transform of a deleted object", [&] {
             const double m[12] = {1, 0, 0, 5, 0, 1, 0, 0, 0, 0, 1, 0};
             tag_t copy = 0, trace = 0; int status = 0;
             return hm5947(m, &deleted, 1, 2, 0, 2, &copy, &trace, &status); }},
        {"transform of -1 objects", [&] {
             const double m[12] = {1, 0, 0, 5, 0, 1, 0, 0, 0, 0, 1, 0};
             tag_t copy = 0, trace = 0; int status = 0;
             return hm5947(m, &line, -1, 2, 0, 2, &copy, &trace, &status); }},
        {"plane fit of NaN points", [&] { const double pts[9] = {0, 0, 0, 1, kNaN, 0, 0, 1, 0}; return LSFIT_plane_to_points(3, pts, p, q); }},
        {"plane fit of 1e300 points", [&] { const double pts[9] = {0, 0, 0, 1e300, 0, 0, 0, 1, 0}; return LSFIT_plane_to_points(3, pts, p, q); }},
        {"plane fit of 0 points", [&] { const double pts[9] = {}; return LSFIT_plane_to_points(0, pts, p, q); }},
        {"plane fit of INT_MAX points, null", [&] { return LSFIT_plane_to_points(INT_MAX, nullptr, p, q); }},
        {"plane fit of coincident points", [&] { const double pts[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1}; return LSFIT_plane_to_points(3, pts, p, q); }},
    };
    const int before = host_testing::count_objects();
    const size_t blocks = host_testing::live_allocations();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        out = 0;
        hits = nullptr;
        eval = nullptr;
        EXPECT_NE(c.call(), 0);
        EXPECT_EQ(host_testing::count_objects(), before) << "nothing built";
        EXPECT_EQ(host_testing::live_allocations(), blocks) << "nothing left allocated";
        EXPECT_EQ(hits, nullptr);
        EXPECT_EQ(eval, nullptr);
    }
}

class BodyBoxTest : public HostTest {};

// Extreme coordinate of a body along an axis, found apart from the box: the
// minimum distance from a plane far beyond it.
double extreme_by_distance(tag_t body, int axis, int sense) {
    const double far = 1000.0;
    gp_Pnt at(0, 0, 0);
    at.SetCoord(axis + 1, sense * far);
    const gp_Dir n(axis == 0, axis == 1, axis == 2);
    const TopoDS_Face face = BRepBuilderAPI_MakeFace(gp_Pln(at, n), -2 * far, 2 * far, -2 * far, 2 * far).Face();
    BRepExtrema_DistShapeShape d(host::find(body)->shape, face);
    EXPECT_TRUE(d.IsDone());
    return sense * (far - d.Value());
}

// An ellipsoid scaled from a unit sphere, its semi-axes turned by a rotation
// about z (and x) and partly cut away by a half-space: its box against the
// extents worked out by hand (an ellipsoid of semi-axes a along the rows u of
// a rotation reaches sqrt(sum (a_i u_i,k)^2) along axis k) and against the
// extreme points found by minimum distance.
TEST_F(BodyBoxTest, ScaledRotatedAndTrimmedBodiesLieInsideTheirBoxes) {
    struct Case {
        const char* what;
        double a[3];
        double z_turn_deg;
    };
    const std::vector<Case> cases = {
        {"ellipsoid (3, 2, 1)", {3, 2, 1}, 0.0},
        {"ellipsoid (3, 2, 1) turned 30 degrees", {3, 2, 1}, 30.0},
        {"ellipsoid (50, 8, 20) turned 75 degrees", {50, 8, 20}, 75.0},
    };
    const double margin = 1e-4;   // the box stands off the body by no more than this, relative
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const double t = c.z_turn_deg * M_PI / 180.0;
        const double rows[9] = {std::cos(t), std::sin(t), 0, -std::sin(t), std::cos(t), 0, 0, 0, 1};
        tag_t sphere = 0, matrix = 0, csys = 0;
        const double origin[3] = {0, 0, 0};
        sphere = new_sphere(origin, "1");
        ASSERT_EQ(HM_CSYS_create_matrix(rows, &matrix), 0);
        ASSERT_EQ(HM_CSYS_create_temp_csys(origin, matrix, &csys), 0);
        char texts[3][32];
        const char* factors[3];
        for (int i = 0; i < 3; ++i) {
            std::snprintf(texts[i], sizeof texts[i], "%.17g", 2.0 * c.a[i]);
            factors[i] = texts[i];
        }
        int n_features = 0;
        tag_t* features = nullptr;
        ASSERT_EQ(HM_MODL_create_scale(2, 1, &sphere, csys, factors, &n_features, &features), 0);
        tag_t body = 0;
        ASSERT_EQ(HM_MODL_ask_feat_body(features[0], &body), 0);
        HM_free(features);
        double box[6];
        ASSERT_EQ(HM_MODL_ask_bounding_box(body, box), 0);
        for (int k = 0; k < 3; ++k) {
            double s = 0.0;
            for (int i = 0; i < 3; ++i) s += std::pow(c.a[i] * rows[3 * i + k], 2);
            const double reach = std::sqrt(s);
            const double tol = margin * std::max({c.a[0], c.a[1], c.a[2]});
            SCOPED_TRACE("axis " + std::to_string(k));
            EXPECT_LE(box[k], -reach + 1e-7) << "the box holds the least point";
            EXPECT_GE(box[k + 3], reach - 1e-7) << "the box holds the greatest point";
            EXPECT_GE(box[k], -reach - tol) << "and stands off it by no more than the margin";
            EXPECT_LE(box[k + 3], reach + tol);
            EXPECT_LE(box[k], extreme_by_distance(body, k, -1) + 1e-7);
            EXPECT_GE(box[k + 3], extreme_by_distance(body, k, +1) - 1e-7);
        }
    }
}

// A sphere cut by a half-space (the intersection with a large block below
// z = 1): the box follows the cut, and its other sides the sphere.
TEST_F(BodyBoxTest, TrimmedBodyBoxFollowsTheCut) {
    const double origin[3] = {0, 0, 0};
    const tag_t sphere = new_sphere(origin, "6");   // radius 3
    const double z[3] = {0, 0, 1}, cut_at[3] = {0, 0, 1};
    const tag_t plane = new_plane(cut_at, z);
    // The section circle of the cut: radius sqrt(9 - 1).
    const support::Intersection hits = support::intersect(sphere, plane, 0.001);
    ASSERT_EQ(hits.result, 0);
    ASSERT_EQ(hits.curves.size(), 1u);
    const tag_t section = hits.curves[0];
    double box[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(section, box), 0);
    const double r = std::sqrt(8.0);
    const double expected[6] = {-r, -r, 1, r, r, 1};
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(box[i], expected[i], 1e-6) << i;
}

}  // namespace

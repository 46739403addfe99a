// Hostile input to the driver-vision exports: null outputs, arguments and
// entries, counts of 0, -1, INT_MAX and counts whose arrays could not exist,
// coordinates and numbers that are NaN, infinite or overflow (1e300,
// -1e308), tag 0, deleted and wrong-kind tags, and the family's degenerate
// geometry (a zero axis, coincident points, a plane through the eye, a
// zero-area face). Every row answers the export's refusal, writes none of
// its outputs, builds and deletes nothing and leaves no block of the memory
// manager behind; the process survives and no row takes long.
#include "hm_vd_vision.h"
#include "vision_fixtures.h"

#include "hostile_input.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

using support::Hostile;
using support::kInf;
using support::kNaN;

constexpr double kSentinel = -7.0;

// Every value of the array still the sentinel.
bool untouched(const double* v, int n) {
    for (int i = 0; i < n; ++i)
        if (v[i] != kSentinel) return false;
    return true;
}

bool finite_point(const double* p) { return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]); }

void fill(double* v, int n) {
    for (int i = 0; i < n; ++i) v[i] = kSentinel;
}

class VisionHostileInputTest : public vision_test::IpvHostTest {
protected:
    // Each row alone: its answer, nothing built or deleted (the shared
    // check) and no block of the memory manager left behind.
    void ExpectAllRefused(const std::vector<Hostile>& cases) {
        for (const Hostile& c : cases) {
            SCOPED_TRACE(c.name);
            const size_t blocks = host_testing::live_allocations();
            support::expect_all_refused({c});
            EXPECT_EQ(host_testing::live_allocations(), blocks) << "the refused call left blocks allocated";
        }
    }

    // A curve, deleted: its tag is dead.
    static tag_t DeadCurve() {
        const tag_t t = host_testing::make_line({0, 0, 0}, {10, 0, 0});
        HM_OBJ_delete_object(t);
        return t;
    }

    vd_eyellipse_t eye_ = vision_test::axis_ellipsoid(100, 30, 40);
};

// An eyellipse with one number replaced.
vd_eyellipse_t with(vd_eyellipse_t e, double* (*field)(vd_eyellipse_t&), double value) {
    *field(e) = value;
    return e;
}
double* axis0(vd_eyellipse_t& e) { return &e.axis_length[0]; }
double* centroid_y(vd_eyellipse_t& e) { return &e.centroid[1][1]; }
double* dir_z(vd_eyellipse_t& e) { return &e.axis_dir[2][2]; }

}  // namespace

TEST_F(VisionHostileInputTest, EyellipseTangencyRefusesNumbersThatAreNotFiniteOrOverflow) {
    const std::vector<vd_eyellipse_t> bad = {
        with(eye_, axis0, 1e300), with(eye_, axis0, kInf), with(eye_, axis0, kNaN),
        with(eye_, centroid_y, kNaN), with(eye_, centroid_y, -1e308), with(eye_, dir_z, kInf)};
    double point[3], normal[3];
    auto support_point = [&](vd_eyellipse_t e, double x, double y, double z) {
        double d[3] = {x, y, z};
        fill(point, 3);
        const int rc = HM_VD_ipv_ask_eyellipse_tangent_point1(&e, 0, d, point);
        EXPECT_TRUE(untouched(point, 3)) << "a support point written on failure";
        return rc;
    };
    auto polar = [&](vd_eyellipse_t e, double x, double y, double z) {
        const double p[3] = {x, y, z};
        fill(point, 3);
        fill(normal, 3);
        const int rc = HM_VD_ipv_ask_eyellipse_tangent_point2(&e, 0, p, point, normal);
        EXPECT_TRUE(untouched(point, 3) && untouched(normal, 3)) << "a polar plane written on failure";
        return rc;
    };
    auto section = [&](vd_eyellipse_t e, double x, double y, double z) {
        const double p[3] = {x, y, z}, tol[2] = {0.01, 0.5};
        double pts[2][3];
        fill(&pts[0][0], 6);
        int count = -5;
        const int rc = ipv_ask_section_tangent_points(&e, p, tol, 0, 0, &count, pts);
        EXPECT_TRUE(count == 0 && untouched(&pts[0][0], 6)) << "tangent points written on failure";
        return rc;
    };
    std::vector<Hostile> cases = {
        {"support point: NaN direction", [&] { return support_point(eye_, kNaN, 0, 0); }, -1},
        {"support point: infinite direction", [&] { return support_point(eye_, 0, kInf, 0); }, -1},
        {"support point: zero direction", [&] { return support_point(eye_, 0, 0, 0); }, -1},
        {"support point: zero axis", [&] { return support_point(with(eye_, axis0, 0.0), 1, 0, 0); }, -1},
        {"support point: null eyellipse",
         [&] { double d[3] = {1, 0, 0}; return HM_VD_ipv_ask_eyellipse_tangent_point1(nullptr, 0, d, point); }, -1},
        {"polar plane: NaN point", [&] { return polar(eye_, kNaN, 0, 500); }, -1},
        {"polar plane: point at -1e308", [&] { return polar(eye_, -1e308, 0, 0); }, -1},
        {"polar plane: the centre itself", [&] { return polar(eye_, 0, 0, 0); }, -1},
        {"section tangents: NaN point", [&] { return section(eye_, 500, kNaN, 0); }, -1},
        {"section tangents: point at 1e300", [&] { return section(eye_, 1e300, 0, 0); }, -1},
    };
    for (size_t i = 0; i < bad.size(); ++i) {
        cases.push_back({"support point: eyellipse with a bad number", [&, i] { return support_point(bad[i], 1, 1, 1); }, -1});
        cases.push_back({"polar plane: eyellipse with a bad number", [&, i] { return polar(bad[i], 500, 0, 0); }, -1});
        cases.push_back({"section tangents: eyellipse with a bad number", [&, i] { return section(bad[i], 500, 0, 0); }, -1});
    }
    ExpectAllRefused(cases);
}

TEST_F(VisionHostileInputTest, PointArraysAndDispersalRefuseCountsBeyondTheLimitAtOnce) {
    const tag_t line = host_testing::make_line({0, 0, 0}, {100, 0, 0});
    const tag_t point = host_testing::make_point({1, 2, 3});
    const tag_t dead = DeadCurve();
    double** pts = reinterpret_cast<double**>(&pts);   // not null: must be nulled
    auto alloc = [&](int n) {
        pts = reinterpret_cast<double**>(&pts);
        const int rc = HM_VD_ipv_alloc_points(n, &pts);
        EXPECT_EQ(pts, nullptr);
        return rc;
    };
    auto disperse = [&](tag_t curve, int n) {
        pts = reinterpret_cast<double**>(&pts);
        const int rc = HM_VD_ipv_disperse_curve(curve, n, &pts);
        EXPECT_EQ(pts, nullptr);
        return rc;
    };
    const std::vector<Hostile> cases = {
        {"alloc: INT_MAX", [&] { return alloc(INT_MAX); }, -1},
        {"alloc: 10^8", [&] { return alloc(100000000); }, -1},
        {"alloc: one past the limit", [&] { return alloc(HM_VD_IPV_MAX_POINTS + 1); }, -1},
        {"alloc: -1 (nothing)", [&] { return alloc(-1); }, 0},
        {"alloc: null output", [&] { return HM_VD_ipv_alloc_points(3, nullptr); }, -1},
        {"disperse: INT_MAX", [&] { return disperse(line, INT_MAX); }, -1},
        {"disperse: 5e7", [&] { return disperse(line, 50000000); }, -1},
        {"disperse: -1", [&] { return disperse(line, -1); }, -1},
        {"disperse: tag 0", [&] { return disperse(0, 10); }, -1},
        {"disperse: dead tag", [&] { return disperse(dead, 10); }, -1},
        {"disperse: a point, no curve", [&] { return disperse(point, 10); }, -1},
        {"curve points: dead tag",
         [&] { int n = -5; const int rc = HM_VD_ipv_ask_curve_points(dead, 0, 1, &n, &pts); EXPECT_EQ(n, 0); return rc == 0 ? 0 : -1; }, -1},
        {"curve points: null count", [&] { return HM_VD_ipv_ask_curve_points(line, 0, 1, nullptr, &pts); }, -1},
        {"planar: null output", [&] { return HM_VD_ipv_is_planar_curve(line, nullptr); }, -1},
        {"planar: dead tag", [&] { bool f = true; const int rc = HM_VD_ipv_is_planar_curve(dead, &f); return rc != 0 && !f ? -1 : 0; }, -1},
        {"split: negative count",
         [&] { hm_list_p_t l = nullptr; return HM_VD_ipv_split_curve(line, -1, nullptr, &l); }, -1},
        {"split: points missing",
         [&] { hm_list_p_t l = nullptr; return HM_VD_ipv_split_curve(line, 3, nullptr, &l); }, -1},
        {"split: NaN point",
         [&] { double p[3] = {kNaN, 0, 0}; double* row[1] = {p}; hm_list_p_t l = nullptr;
               const int rc = HM_VD_ipv_split_curve(line, 1, row, &l); EXPECT_EQ(l, nullptr); return rc == 0 ? 0 : -1; }, -1},
        {"split: a null entry",
         [&] { double* row[1] = {nullptr}; hm_list_p_t l = nullptr; return HM_VD_ipv_split_curve(line, 1, row, &l); }, -1},
        {"spline: null entry",
         [&] { double a[3] = {0, 0, 0}; double* row[4] = {a, a, nullptr, a}; tag_t s = 0;
               return HM_VD_ipv_create_spline(4, row, 0, &s); }, -1},
        {"spline: infinite point",
         [&] { double a[3] = {0, 0, 0}, b[3] = {1, 0, 0}, c[3] = {2, kInf, 0}, d[3] = {3, 0, 0};
               double* row[4] = {a, b, c, d}; tag_t s = 0; const int rc = HM_VD_ipv_create_spline(4, row, 0, &s);
               EXPECT_EQ(s, 0u); return rc == 0 ? 0 : -1; }, -1},
        {"spline: INT_MAX points",
         [&] { double a[3] = {0, 0, 0}; double* row[1] = {a}; tag_t s = 0; return HM_VD_ipv_create_spline(INT_MAX, row, 0, &s) == 0 ? 0 : -1; }, -1},
    };
    ExpectAllRefused(cases);
    double tol[11];
    HM_VD_ipv_ask_tolerance(nullptr);   // nothing, no crash
    HM_VD_ipv_ask_tolerance(tol);
    for (double t : tol) EXPECT_TRUE(std::isfinite(t));
    HM_VD_ipv_free_points(3, nullptr);   // nothing, no crash
}

TEST_F(VisionHostileInputTest, ProfileWalkRefusesNullEntriesAndCoordinatesBeyondTheModelSpace) {
    // A square of eight points about the origin in the plane z = 0.
    std::vector<std::array<double, 3>> square = {{10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {-10, 10, 0},
                                                 {-10, 0, 0}, {-10, -10, 0}, {0, -10, 0}, {10, -10, 0}};
    std::vector<double*> row;
    for (auto& p : square) row.push_back(p.data());
    const double origin[3] = {0, 0, 0}, normal[3] = {0, 0, 1}, search[3] = {0.1, 15.0, 2.0};
    auto walk = [&](std::vector<double*> points, const double* s, const double* o, int n = -2) {
        int count = -5;
        int* idx = reinterpret_cast<int*>(&count);
        double** out = reinterpret_cast<double**>(&count);
        const int rc = HM_VD_ipv_ask_profile_points(n == -2 ? static_cast<int>(points.size()) : n, points.data(), o,
                                                    normal, s, 0, &count, &idx, &out);
        EXPECT_TRUE(count == 0 && idx == nullptr && out == nullptr) << "a profile handed out on failure";
        return rc;
    };
    auto replaced = [&](int i, double x) {
        std::vector<double*> r = row;
        static double p[3];
        p[0] = x;
        p[1] = 10;
        p[2] = 0;
        r[i] = p;
        return r;
    };
    const double tiny_reach[3] = {0.0, 1e-300, 2.0}, nan_search[3] = {0.1, kNaN, 2.0};
    const double nan_origin[3] = {kNaN, 0, 0};
    const std::vector<Hostile> cases = {
        {"a null entry", [&] { std::vector<double*> r = row; r[3] = nullptr; return walk(r, search, origin); }, -1},
        {"a point at infinity", [&] { return walk(replaced(2, kInf), search, origin); }, -1},
        {"a point at 1e300", [&] { return walk(replaced(2, 1e300), search, origin); }, -1},
        {"a point at -1e308", [&] { return walk(replaced(2, -1e308), search, origin); }, -1},
        {"a reach of 1e-300", [&] { return walk(row, tiny_reach, origin); }, -1},
        {"a NaN reach", [&] { return walk(row, nan_search, origin); }, -1},
        {"a NaN origin", [&] { return walk(row, search, nan_origin); }, -1},
        {"count -1", [&] { return walk(row, search, origin, -1); }, -1},
        {"count INT_MAX over eight points", [&] { return walk(row, search, origin, INT_MAX); }, -1},
        {"all points at the origin (coincident)",
         [&] { double z[3] = {0, 0, 0}; return walk({z, z, z, z}, search, origin); }, -1},
    };
    ExpectAllRefused(cases);
}

TEST_F(VisionHostileInputTest, ApillarAnalysisRefusesNumbersItWouldReadThatAreNotFinite) {
    auto run = [&](void (*spoil)(apo_input_t&)) {
        apo_input_t in;
        HM_VD_APO_init_global(&in);
        in.eye_point_mode = 1;
        const double eye[3] = {2743.0, -370.0, 1188.0}, limit[3] = {2100.0, -700.0, 1200.0};
        for (int k = 0; k < 3; ++k) {
            in.user_eye_point[k] = eye[k];
            in.limit_point[k] = limit[k];
        }
        in.analysis_kind = 1;
        in.limit_source = 0;
        spoil(in);
        apo_result_t result;
        HM_VD_APO_init_result_struct(&result);
        const int rc = HM_VD_APO_main(&in, &result);
        EXPECT_EQ(result.status, rc);
        EXPECT_TRUE(result.rotation[0] == 0.0 && result.rotation[1] == 0.0 && result.rotation[2] == 0.0 &&
                    result.rotation[3] == 0.0 && result.sight_lines[0] == 0 && result.sight_lines[1] == 0)
            << "rotations or sight lines handed out on failure";
        HM_VD_APO_free_global(&in);
        return rc;
    };
    const std::vector<Hostile> cases = {
        {"NaN limit point", [&] { return run([](apo_input_t& in) { in.limit_point[0] = kNaN; }); }, APO_INVALID_LIMIT_POINT},
        {"limit point at 1e300", [&] { return run([](apo_input_t& in) { in.limit_point[1] = 1e300; }); }, APO_INVALID_LIMIT_POINT},
        {"infinite eye point", [&] { return run([](apo_input_t& in) { in.user_eye_point[2] = kInf; }); }, APO_INVALID_DATA},
        {"NaN csys matrix", [&] { return run([](apo_input_t& in) { in.csys_matrix[4] = kNaN; }); }, APO_INVALID_DATA},
        {"NaN limit angle", [&] { return run([](apo_input_t& in) { in.limit_angle = kNaN; }); }, APO_INVALID_DATA},
        {"given angles: infinite head rotation",
         [&] { return run([](apo_input_t& in) { in.limit_source = 2; in.head_rotation = kInf; }); }, APO_INVALID_DATA},
        {"given angles: NaN sight-line length",
         [&] { return run([](apo_input_t& in) { in.limit_source = 2; in.sight_line_length = kNaN; }); }, APO_INVALID_DATA},
        {"limit geometry missing",
         [&] { return run([](apo_input_t& in) { in.limit_source = 1; }); }, APO_NO_LIMIT_GEOMETRY},
        {"A-pillar missing", [&] { return run([](apo_input_t& in) { in.analysis_kind = 0; }); }, APO_NO_APILLAR},
        {"null records", [&] { return HM_VD_APO_main(nullptr, nullptr); }, -1},
    };
    ExpectAllRefused(cases);
    double e[3];
    fill(e, 3);
    const double nan3[3] = {kNaN, 0, 0};
    HM_VD_apo_calculate_E_point(0, nan3, 0, 0.0, e);
    EXPECT_TRUE(untouched(e, 3) || (std::isfinite(e[0]) && std::isfinite(e[1]) && std::isfinite(e[2])))
        << "a NaN E point handed out";
    const double pivot[3] = {2841.0, -370.0, 1188.0};
    fill(e, 3);
    HM_VD_apo_calculate_E_point(0, pivot, 0, kNaN, e);
    EXPECT_TRUE(untouched(e, 3)) << "an E point of a NaN head rotation handed out";
}

TEST_F(VisionHostileInputTest, FieldOfViewRefusesNumbersThatAreNotFiniteAndWritesNothing) {
    auto input = [] {
        dfv_input_t in{};
        const double a[3] = {2743.0, -370.0, 1188.0}, b[3] = {2700.0, -370.0, 1190.0};
        for (int k = 0; k < 3; ++k) {
            in.point_a[k] = a[k];
            in.point_b[k] = b[k];
        }
        in.angle1 = 10.0;
        in.angle2 = 20.0;
        in.angle3 = 30.0;
        in.width = 1000.0;
        in.depth = 2000.0;
        in.full_length = 1;
        in.csys_matrix[0] = in.csys_matrix[4] = in.csys_matrix[8] = 1.0;
        return in;
    };
    auto lines = [&](dfv_input_t in) {
        dfv_sightline_t out;
        fill(&out.segment[0][0][0], 36);
        const int rc = HM_VD_DFV_sightline_points_process(&in, &out);
        EXPECT_TRUE(untouched(&out.segment[0][0][0], 36)) << "sight lines written on failure";
        return rc;
    };
    auto planes = [&](dfv_input_t in) {
        int* counts = reinterpret_cast<int*>(&in);
        double*** polygons = reinterpret_cast<double***>(&in);
        const int rc = HM_VD_DFV_vision_plane_process(&in, &counts, &polygons);
        EXPECT_TRUE(counts == reinterpret_cast<int*>(&in)) << "outputs written on failure";
        return rc;
    };
    const std::vector<Hostile> cases = {
        {"sight lines: NaN angle", [&] { dfv_input_t in = input(); in.angle1 = kNaN; return lines(in); }, 1},
        {"sight lines: infinite angle", [&] { dfv_input_t in = input(); in.angle3 = kInf; return lines(in); }, 1},
        {"sight lines: width 1e300", [&] { dfv_input_t in = input(); in.width = 1e300; return lines(in); }, 1},
        {"sight lines: NaN point", [&] { dfv_input_t in = input(); in.point_b[1] = kNaN; return lines(in); }, 1},
        {"sight lines: faces missing",
         [&] { dfv_input_t in = input(); in.full_length = 0; in.face_count = 3; return lines(in); }, 1},
        {"sight lines: negative face count",
         [&] { dfv_input_t in = input(); in.full_length = 0; in.face_count = -1; return lines(in); }, 1},
        {"sight lines: null record", [&] { dfv_sightline_t out; return HM_VD_DFV_sightline_points_process(nullptr, &out); }, 1},
        {"planes: NaN depth", [&] { dfv_input_t in = input(); in.depth = kNaN; return planes(in); }, 1},
        {"planes: csys origin at -1e308", [&] { dfv_input_t in = input(); in.csys_origin[0] = -1e308; return planes(in); }, 1},
        {"planes: angle above 90", [&] { dfv_input_t in = input(); in.angle2 = 91.0; return planes(in); }, 1},
    };
    ExpectAllRefused(cases);
}

TEST_F(VisionHostileInputTest, HoodAndGlazingRefuseMissingAndNonFiniteInput) {
    const double size[3] = {1000, 1400, 100}, corner[3] = {1500, -700, 900};
    const tag_t hood_box = host_testing::make_box(corner, size);
    tag_t face = support::faces_of(hood_box).front();
    auto hood = [&](void (*spoil)(hv_input_t&)) {
        hv_input_t in{};
        const double eye[3] = {2743.0, -370.0, 1188.0};
        for (int k = 0; k < 3; ++k) in.eye_point[k] = eye[k];
        in.face_count = 1;
        in.faces = &face;
        in.pitch_step = 5.0;
        in.csys_matrix[0] = in.csys_matrix[4] = in.csys_matrix[8] = 1.0;
        spoil(in);
        int count = -5;
        double** points = reinterpret_cast<double**>(&count);
        const int rc = HM_VD_HV_GetVisiLimitPoints(&in, &count, &points);
        EXPECT_TRUE(count == -5 || count == 0) << "points counted on failure";
        return rc;
    };
    const double origin[3] = {0, 0, 0}, identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, nan_matrix[9] = {kNaN, 0, 0, 0, 1, 0, 0, 0, 1};
    auto glazing = [&](int n, const tag_t* faces, const double* m) {
        output_t out;
        fill(&out.slot[0][0], 51);
        const int rc = HM_VD_GLAZE_forward_glazing_data(n, faces, origin, m, &out);
        return rc;
    };
    const std::vector<Hostile> cases = {
        {"hood: NaN eye", [&] { return hood([](hv_input_t& in) { in.eye_point[0] = kNaN; }); }, 1},
        {"hood: infinite step", [&] { return hood([](hv_input_t& in) { in.pitch_step = kInf; }); }, 1},
        {"hood: step 1e-300", [&] { return hood([](hv_input_t& in) { in.pitch_step = 1e-300; }); }, 1},
        {"hood: NaN csys", [&] { return hood([](hv_input_t& in) { in.csys_matrix[8] = kNaN; }); }, 1},
        {"hood: faces missing", [&] { return hood([](hv_input_t& in) { in.faces = nullptr; }); }, 1},
        {"hood: INT_MAX faces", [&] { return hood([](hv_input_t& in) { in.face_count = INT_MAX; }); }, 1},
        {"hood: a dead face",
         [&] { tag_t dead = DeadCurve(); hv_input_t in{}; in.eye_point[0] = 2743; in.face_count = 1; in.faces = &dead;
               in.pitch_step = 5.0; in.csys_matrix[0] = in.csys_matrix[4] = in.csys_matrix[8] = 1.0;
               int count = 0; double** p = nullptr; return HM_VD_HV_GetVisiLimitPoints(&in, &count, &p); }, 1},
        {"grazing point: NaN normal",
         [&] { const double eye[3] = {2743, -370, 1188}, n[3] = {kNaN, 1, 0}; double p[3]; fill(p, 3);
               hm_list_p_t l = support::make_list({face}); const int rc = HM_VD_HV_TangentGeoFromEyePoint(eye, n, 0, l, p);
               HM_MODL_delete_list(&l); EXPECT_TRUE(untouched(p, 3)); return rc; }, 1},
        {"grazing point: null list",
         [&] { const double eye[3] = {2743, -370, 1188}, n[3] = {0, 1, 0}; double p[3];
               return HM_VD_HV_TangentGeoFromEyePoint(eye, n, 0, nullptr, p); }, 3},
        {"glazing data: NaN matrix", [&] { return glazing(1, &face, nan_matrix); }, 1},
        {"glazing data: faces missing", [&] { return glazing(2, nullptr, identity); }, 1},
        {"glazing data: count -1", [&] { return glazing(-1, &face, identity); }, 1},
        {"glazing data: INT_MAX faces", [&] { return glazing(INT_MAX, &face, identity); }, 1},
        {"glazing check: null prefix",
         [&] { return int(HM_VD_GLAZE_check_glazing_face(0, 1, &face, nullptr, origin, identity)); }, 0},
        {"glazing check: NaN origin",
         [&] { const double o[3] = {kNaN, 0, 0}; return int(HM_VD_GLAZE_check_glazing_face(0, 1, &face, "root:EYE:", o, identity)); }, 0},
    };
    ExpectAllRefused(cases);
}

TEST_F(VisionHostileInputTest, VisionFacesRefuseOneListGivenTwiceAndKeepTheCallersCurves) {
    const tag_t a = host_testing::make_arc({0, 0, 0}, 50.0, 0.0, 2 * support::kPi, {0, 1, 0}, {0, 0, 1});
    hm_list_p_t ip = support::make_list({a}), other = support::make_list({a});
    const double dir[3] = {1, 0, 0};
    hm_list_p_t faces = reinterpret_cast<hm_list_p_t>(&faces);
    const std::vector<Hostile> cases = {
        {"the same list twice", [&] { return ipv_create_vision_faces(&ip, &ip, dir, 0, &faces); }, -1},
        {"two lists sharing a curve", [&] { return ipv_create_vision_faces(&ip, &other, dir, 0, &faces); }, -1},
        {"null output", [&] { return ipv_create_vision_faces(&ip, &other, dir, 0, nullptr); }, -1},
    };
    ExpectAllRefused(cases);
    EXPECT_EQ(support::list_items(ip), std::vector<tag_t>{a});
    EXPECT_EQ(support::list_items(other), std::vector<tag_t>{a});
    HM_MODL_delete_list(&ip);
    HM_MODL_delete_list(&other);
}

TEST_F(VisionHostileInputTest, ReflectionDataRefusesAnEyeBeyondTheModelSpaceAndCountsThatCannotBe) {
    const tag_t mirror = host_testing::make_plane({2000, 0, 1200}, {1, 0, 0});
    const tag_t source = host_testing::make_point({1800, -300, 1100});
    const tag_t surfaces[1] = {mirror}, sources[1] = {source};
    const double eye[3] = {2743, -370, 1188}, far_eye[3] = {-1e308, 0, 0}, nan_eye[3] = {0, kNaN, 0};
    // 1 when every output is empty (refused), 0 when anything is handed out.
    auto reflect = [&](int ns, const tag_t* s, int nsrc, const tag_t* src, const double* e, int n, double offset) {
        int groups = -5, rows = -5;
        int *sizes = nullptr, *per_row = nullptr;
        double ***result = nullptr, ***input = nullptr;
        bool** found = nullptr;
        bool* closed = nullptr;
        HM_VD_RD_create_reflect_data(ns, s, false, nsrc, src, e, n, offset, 1.0, &groups, &sizes, &rows, &per_row,
                                     &result, &input, &found, &closed);
        return groups == 0 && rows == 0 && !sizes && !per_row && !result && !input && !found && !closed ? 1 : 0;
    };
    auto refract = [&](const double* e, int n, double index, double thickness) {
        int groups = -5, rows = -5;
        int *sizes = nullptr, *per_row = nullptr;
        double ***m = nullptr, ***in = nullptr, ***en = nullptr, ***ex = nullptr;
        bool** found = nullptr;
        bool* closed = nullptr;
        HM_VD_RD_create_refract_data(1, surfaces, false, 1, sources, e, n, index, thickness, 1.0, &groups, &sizes,
                                     &rows, &per_row, &m, &in, &en, &ex, &found, &closed);
        return groups == 0 && rows == 0 && !sizes && !per_row && !m && !in && !en && !ex && !found && !closed ? 1 : 0;
    };
    auto geometry = [&](const double* e, int n, double thickness, int nsrc, const tag_t* src) {
        refl_output_s settings{};
        hm_list_p_t list = nullptr;
        HM_MODL_create_list(&list);
        int numbers[3] = {-5, -5, -5};
        HM_VD_RD_create_reflect_refract_geometry(0, settings, 1, surfaces, false, nsrc, src, e, n, 1.5, thickness, 1.0,
                                                 &list, numbers);
        const bool empty = support::list_items(list).empty() && numbers[0] == -5;
        HM_MODL_delete_list(&list);
        return empty ? 1 : 0;
    };
    auto error_no = [&](int ns, const tag_t* s, int nsrc, const tag_t* src, int n, double** pts) {
        int* numbers = reinterpret_cast<int*>(&numbers);
        HM_VD_RD_ask_error_no(ns, s, nsrc, src, n, pts, &numbers);
        return numbers == nullptr ? 1 : 0;
    };
    auto continuity = [&](int n, const tag_t* objects) {
        int count = -5;
        int* sizes = reinterpret_cast<int*>(&count);
        tag_t** groups = reinterpret_cast<tag_t**>(&count);
        HM_VD_RD_judge_face_continuity(n, objects, &count, &sizes, &groups);
        return count == 0 && !sizes && !groups ? 1 : 0;
    };
    // A mirror through the eye reflects nothing to it: the rows come, every
    // point not found, every number finite; the caller frees them.
    auto through_eye = [&] {
        const tag_t at_eye = host_testing::make_plane({2743, -370, 1188}, {1, 0, 0});
        const tag_t s[1] = {at_eye};
        vision_test::ReflectOutput r;
        HM_VD_RD_create_reflect_data(1, s, false, 1, sources, eye, 10, 0.0, 1.0, &r.groups, &r.sizes, &r.rows,
                                     &r.per_row, &r.result, &r.input, &r.found, &r.closed);
        bool none = true;
        for (int row = 0; row < r.rows; ++row)
            for (int i = 0; i < r.per_row[row]; ++i)
                none = none && !r.found[row][i] && finite_point(r.result[row][i]);
        const int rows = r.rows;
        r.Free();
        HM_OBJ_delete_object(at_eye);
        return rows == 1 && none ? 1 : 0;
    };
    const std::vector<Hostile> cases = {
        {"reflect: a mirror plane through the eye (nothing found)", through_eye, 1},
        {"reflect: eye at -1e308", [&] { return reflect(1, surfaces, 1, sources, far_eye, 10, 0.0); }, 1},
        {"reflect: NaN eye", [&] { return reflect(1, surfaces, 1, sources, nan_eye, 10, 0.0); }, 1},
        {"reflect: NaN offset", [&] { return reflect(1, surfaces, 1, sources, eye, 10, kNaN); }, 1},
        {"reflect: INT_MAX points per source", [&] { return reflect(1, surfaces, 1, sources, eye, INT_MAX, 0.0); }, 1},
        {"reflect: sources missing", [&] { return reflect(1, surfaces, 3, nullptr, eye, 10, 0.0); }, 1},
        {"reflect: surfaces missing", [&] { return reflect(3, nullptr, 1, sources, eye, 10, 0.0); }, 1},
        {"reflect: -1 sources", [&] { return reflect(1, surfaces, -1, sources, eye, 10, 0.0); }, 1},
        {"reflect: INT_MAX sources", [&] { return reflect(1, surfaces, INT_MAX, sources, eye, 10, 0.0); }, 1},
        {"reflect: null eye", [&] { return reflect(1, surfaces, 1, sources, nullptr, 10, 0.0); }, 1},
        {"refract: NaN thickness", [&] { return refract(eye, 10, 1.5, kNaN); }, 1},
        {"refract: infinite index", [&] { return refract(eye, 10, kInf, 5.0); }, 1},
        {"refract: INT_MAX points per source", [&] { return refract(eye, INT_MAX, 1.5, 5.0); }, 1},
        {"refract: eye at 1e300", [&] { const double e[3] = {1e300, 0, 0}; return refract(e, 10, 1.5, 5.0); }, 1},
        {"geometry: INT_MAX points per source", [&] { return geometry(eye, INT_MAX, 5.0, 1, sources); }, 1},
        {"geometry: eye at -1e308", [&] { return geometry(far_eye, 10, 5.0, 1, sources); }, 1},
        {"geometry: NaN thickness", [&] { return geometry(eye, 10, kNaN, 1, sources); }, 1},
        {"geometry: sources missing", [&] { return geometry(eye, 10, 5.0, 3, nullptr); }, 1},
        {"error numbers: null sources, n = 3", [&] { return error_no(1, surfaces, 3, nullptr, 0, nullptr); }, 1},
        {"error numbers: null surfaces, n = 3", [&] { return error_no(3, nullptr, 1, sources, 0, nullptr); }, 1},
        {"error numbers: points missing", [&] { return error_no(1, surfaces, 1, sources, 3, nullptr); }, 1},
        {"error numbers: -1 surfaces", [&] { return error_no(-1, surfaces, 1, sources, 0, nullptr); }, 1},
        {"error numbers: INT_MAX points", [&] {
             double p[3] = {0, 0, 0}; double* row[1] = {p}; return error_no(1, surfaces, 1, sources, INT_MAX, row); }, 1},
        {"continuity: objects missing", [&] { return continuity(3, nullptr); }, 1},
        {"continuity: -1 objects", [&] { return continuity(-1, surfaces); }, 1},
    };
    ExpectAllRefused(cases);
}

TEST_F(VisionHostileInputTest, ContoursRefuseAFacetSizeTooFineForTheSolidAndNumbersThatAreNotFinite) {
    const double corner[3] = {0, 0, 0}, size[3] = {100, 100, 100};
    const tag_t box = host_testing::make_box(corner, size);
    const tag_t plane = host_testing::make_plane({-200, 50, 50}, {1, 0, 0});
    hm_list_p_t solids = support::make_list({box});
    // The box's faces and edges take their tags now, not inside a row.
    support::faces_of(box);
    support::edges_of(box);
    const double view[3] = {500, 50, 50}, nan_view[3] = {kNaN, 50, 50};
    auto contour = [&](const double* v, double facet, double scale) {
        const double p[3] = {facet, 0.2, scale};
        hm_list_p_t outer = reinterpret_cast<hm_list_p_t>(&outer), inner = outer;
        const int rc = HM_VD_ipv_create_contour(solids, v, p, 2, plane, &outer, &inner);
        EXPECT_TRUE(outer == nullptr && inner == nullptr) << "contours handed out on failure";
        return rc;
    };
    const std::vector<Hostile> cases = {
        {"facet size 1e-300", [&] { return contour(view, 1e-300, 3.0); }, -1},
        {"facet size a thousandth of the box", [&] { return contour(view, 0.1, 3.0); }, -1},
        {"NaN facet size", [&] { return contour(view, kNaN, 3.0); }, -1},
        {"infinite search scale", [&] { return contour(view, 3.0, kInf); }, -1},
        {"NaN view point", [&] { return contour(nan_view, 3.0, 3.0); }, -1},
        {"view point in the plane",
         [&] { const double v[3] = {-200, 50, 300}; return contour(v, 3.0, 3.0); }, -1},
    };
    ExpectAllRefused(cases);
    HM_MODL_delete_list(&solids);
}

TEST_F(VisionHostileInputTest, EyePointsAndPlanesOfTheEyellipseRefuseBadNumbersAndLeaveNoPlane) {
    const tag_t rim = host_testing::make_arc({2350, -370, 950}, 190.0, 0.0, 2 * support::kPi, {0, 1, 0}, {0, 0, 1});
    const tag_t point = host_testing::make_point({1, 2, 3});
    const tag_t dead = DeadCurve();
    hm_list_p_t objects = support::make_list({rim});
    const double origin[3] = {0, 0, 0}, identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, tol[2] = {0.01, 0.5};
    const double nan_matrix[9] = {1, 0, 0, 0, kNaN, 0, 0, 0, 1};
    const double a[3] = {2400, -370, 1100}, b[3] = {2350, -370, 950}, nan3[3] = {kNaN, 0, 0};
    vd_eyellipse_t e = eye_;
    for (int i = 0; i < 3; ++i) e.centroid[i][0] = 2743.0, e.centroid[i][2] = 1188.0;
    vd_eyellipse_t nan_e = with(e, centroid_y, kNaN);
    double eye1[4][3], eye2[4][3];
    auto hub = [&](const double* m, const double* pa, vd_eyellipse_t* ell, hm_list_p_t list) {
        fill(&eye1[0][0], 12);
        fill(&eye2[0][0], 12);
        const int rc = HM_VD_ipv_ask_eyepoint_of_hub_analysis(origin, m, pa, b, list, ell, tol, eye1[0], eye2[0]);
        EXPECT_TRUE(untouched(&eye1[0][0], 3) && untouched(&eye2[0][0], 3)) << "eye points written on failure";
        return rc;
    };
    auto see = [&](const double* m, const double* pa, vd_eyellipse_t* ell, hm_list_p_t list) {
        fill(&eye1[0][0], 12);
        fill(&eye2[0][0], 12);
        const int rc = HM_VD_ipv_ask_eyepoint_of_see_thru_analysis(origin, m, pa, b, list, ell, tol, eye1, eye2);
        EXPECT_TRUE(untouched(&eye1[0][0], 12) && untouched(&eye2[0][0], 12)) << "eye points written on failure";
        return rc;
    };
    tag_t planes[4] = {1, 1, 1, 1};
    auto vi_planes = [&](vd_eyellipse_t* ell, double a0) {
        const double angles[4] = {a0, 10, 0, 10};
        const int rc = HM_VD_ipv_ask_visual_indicator_boundary_plane(ell, angles, planes);
        EXPECT_TRUE(planes[0] == 0 && planes[1] == 0 && planes[2] == 0 && planes[3] == 0) << "planes handed out";
        return rc;
    };
    auto tangent_plane = [&](vd_eyellipse_t* ell, tag_t curve, double t) {
        double tp[3], n[3];
        fill(tp, 3);
        tag_t plane = 7;
        const int rc = HM_VD_ipv_create_common_tangent_plane(ell, 0, curve, t, tp, n, &plane);
        EXPECT_TRUE(plane == 0 && untouched(tp, 3)) << "a tangent plane handed out on failure";
        return rc == 0 ? 0 : -1;
    };
    hm_list_p_t lists_out = reinterpret_cast<hm_list_p_t>(&lists_out);
    const std::vector<Hostile> cases = {
        {"hub: NaN matrix", [&] { return hub(nan_matrix, a, &e, objects); }, -1},
        {"hub: NaN point A", [&] { return hub(identity, nan3, &e, objects); }, -1},
        {"hub: NaN eyellipse", [&] { return hub(identity, a, &nan_e, objects); }, -1},
        {"hub: A = B (coincident)", [&] { return hub(identity, b, &e, objects); }, -1},
        {"hub: null list", [&] { return hub(identity, a, &e, nullptr); }, -1},
        {"see-through: NaN point A", [&] { return see(identity, nan3, &e, objects); }, -1},
        {"see-through: NaN eyellipse", [&] { return see(identity, a, &nan_e, objects); }, -1},
        {"see-through: A = B (coincident)", [&] { return see(identity, b, &e, objects) == 0 ? 0 : -1; }, -1},
        {"indicator planes: NaN angle", [&] { return vi_planes(&e, kNaN); }, -1},
        {"indicator planes: infinite angle", [&] { return vi_planes(&e, kInf); }, -1},
        {"indicator planes: NaN eyellipse", [&] { return vi_planes(&nan_e, 10); }, -1},
        {"indicator planes: zero axis", [&] { vd_eyellipse_t z = with(e, axis0, 0.0); return vi_planes(&z, 10); }, -1},
        {"indicator boundary: target 0",
         [&] { const tag_t p[4] = {0, 0, 0, 0}; return HM_VD_ipv_create_visual_indicator_boundary(p, 0, 0.0, a, &lists_out); }, -1},
        {"indicator boundary: dead planes",
         [&] { const tag_t p[4] = {dead, dead, dead, dead};
               return HM_VD_ipv_create_visual_indicator_boundary(p, rim, 0.0, a, &lists_out) == 0 ? 0 : -1; }, -1},
        {"indicator boundary: NaN help point",
         [&] { const tag_t p[4] = {dead, dead, dead, dead};
               return HM_VD_ipv_create_visual_indicator_boundary(p, rim, 0.0, nan3, &lists_out) == 0 ? 0 : -1; }, -1},
        {"common tangent: NaN eyellipse", [&] { return tangent_plane(&nan_e, rim, 0.01); }, -1},
        {"common tangent: dead curve", [&] { return tangent_plane(&e, dead, 0.01); }, -1},
        {"common tangent: a point, no curve", [&] { return tangent_plane(&e, point, 0.01); }, -1},
        {"common tangent: NaN tolerance", [&] { return tangent_plane(&e, rim, kNaN); }, -1},
    };
    ExpectAllRefused(cases);
    HM_MODL_delete_list(&objects);
}

TEST_F(VisionHostileInputTest, PlanesThroughCurvesRefuseDeadAndWrongKindTagsAndDegenerateChains) {
    const tag_t line = host_testing::make_line({0, 0, 0}, {100, 0, 0});
    const tag_t point = host_testing::make_point({1, 2, 3});
    const tag_t dead = DeadCurve();
    const double corner[3] = {0, 0, 0}, size[3] = {100, 100, 50};
    const tag_t box = host_testing::make_box(corner, size);
    const tag_t face = support::faces_of(box).front();
    support::edges_of(box);
    const double eye[3] = {500, 0, 0}, nan_eye[3] = {kNaN, 0, 0};
    auto centroid = [&](std::vector<tag_t> tags) {
        hm_list_p_t l = support::make_list(tags);
        double c[3];
        fill(c, 3);
        const int rc = HM_VD_ipv_ask_centroid_of_curve_chain(l, c);
        HM_MODL_delete_list(&l);
        EXPECT_TRUE(untouched(c, 3)) << "a centroid written on failure";
        return rc == 0 ? 0 : -1;
    };
    auto plane_of = [&](int which, std::vector<tag_t> tags, const double* e, double d) {
        hm_list_p_t l = support::make_list(tags);
        tag_t plane = 7;
        int rc = 0;
        if (which == 0) rc = HM_VD_ipv_create_leastsq_plane(l, &plane);
        if (which == 1) rc = HM_VD_ipv_create_plane_behind_curve_chain(l, e, d, &plane);
        if (which == 2) rc = HM_VD_ipv_create_panel_plane(0, l, e, &plane);
        if (which == 3) rc = HM_VD_ipv_create_panel_plane(1, l, e, &plane);
        HM_MODL_delete_list(&l);
        EXPECT_EQ(plane, 0u) << "a plane handed out on failure";
        return rc == 0 ? 0 : -1;
    };
    auto on_face = [&](tag_t curve, tag_t f) {
        bool on = true;
        const int rc = HM_VD_ipv_is_curve_on_face(curve, f, &on);
        EXPECT_FALSE(on);
        return rc == 0 ? 0 : -1;
    };
    const std::vector<Hostile> cases = {
        {"centroid: dead curve", [&] { return centroid({dead}); }, -1},
        {"centroid: a point, no curve", [&] { return centroid({point}); }, -1},
        {"centroid: empty list", [&] { return centroid({}); }, -1},
        {"centroid: null output", [&] { hm_list_p_t l = support::make_list({line}); const int rc = HM_VD_ipv_ask_centroid_of_curve_chain(l, nullptr); HM_MODL_delete_list(&l); return rc; }, -1},
        {"least-squares plane: one line (all points on a line)", [&] { return plane_of(0, {line}, eye, 0.0); }, -1},
        {"least-squares plane: dead curve", [&] { return plane_of(0, {dead}, eye, 0.0); }, -1},
        {"plane behind: NaN eye", [&] { return plane_of(1, {line}, nan_eye, 10.0); }, -1},
        {"plane behind: NaN distance", [&] { return plane_of(1, {line}, eye, kNaN); }, -1},
        {"panel plane: a line, no plane or datum", [&] { return plane_of(2, {line}, eye, 0.0); }, -1},
        {"panel plane: dead object", [&] { return plane_of(2, {dead}, eye, 0.0); }, -1},
        {"panel plane of faces: NaN eye", [&] { return plane_of(3, {face}, nan_eye, 0.0); }, -1},
        {"panel plane of faces: a curve, no face", [&] { return plane_of(3, {line}, eye, 0.0); }, -1},
        {"curve on face: dead curve", [&] { return on_face(dead, face); }, -1},
        {"curve on face: a point for the face (answered: not on it)", [&] { return on_face(line, point); }, 0},
        {"curve on face: null output", [&] { return HM_VD_ipv_is_curve_on_face(line, face, nullptr) == 0 ? 0 : -1; }, -1},
    };
    ExpectAllRefused(cases);
}

TEST_F(VisionHostileInputTest, OutlinesAndTheAnalysisRefuseBadNumbersAndMissingInputWithoutBuilding) {
    vd_eyellipse_t e = eye_;
    for (int i = 0; i < 3; ++i) e.centroid[i][0] = 2743.0, e.centroid[i][2] = 1188.0;
    vd_eyellipse_t nan_e = with(e, centroid_y, kNaN), huge_e = with(e, axis0, 1e300);
    const tag_t plane = host_testing::make_plane({2050, 0, 0}, {1, 0, 0});
    const tag_t line = host_testing::make_line({2050, -400, 700}, {2050, -300, 700});
    const tag_t dead = DeadCurve();
    hm_list_p_t outline = support::make_list({line});
    const double target[3] = {2350, -370, 950}, nan3[3] = {kNaN, 0, 0}, far3[3] = {-1e308, 0, 0};
    const double eye1[3] = {2743, -400, 1188}, eye2[3] = {2743, -340, 1188};
    auto moa = [&](vd_eyellipse_t* ell, const double* t, tag_t p) {
        tag_t point = 7, curve = 7;
        const int rc = HM_VD_ipv_create_moa_on_plane(ell, t, p, &point, &curve);
        EXPECT_TRUE(point == 0 && curve == 0) << "a moa or sight point handed out on failure";
        return rc;
    };
    auto mustache = [&](const double* a, const double* b, hm_list_p_t l, tag_t p) {
        hm_list_p_t out = reinterpret_cast<hm_list_p_t>(&out);
        const int rc = HM_VD_ipv_create_mustache_curve_on_plane(a, b, l, p, &out);
        EXPECT_EQ(out, reinterpret_cast<hm_list_p_t>(&out)) << "the output touched on refusal";
        return rc;
    };
    auto hotdog = [&](tag_t m, tag_t point, const double* threshold) {
        hm_list_p_t must = support::make_list({line}), out = reinterpret_cast<hm_list_p_t>(&out);
        const int rc = HM_VD_ipv_create_hotdog_curve_on_plane(m, must, point, threshold, &out);
        HM_MODL_delete_list(&must);
        EXPECT_EQ(out, nullptr);
        return rc == 0 ? 0 : -1;
    };
    auto process = [&](vd_eyellipse_t* ell, const double* t, tag_t p, hm_list_p_t l) {
        hm_list_p_t m = nullptr, mu = nullptr, h = nullptr;
        double sight[3];
        fill(sight, 3);
        const int rc = HM_VD_ipv_create_hotdog_process(ell, l, t, p, sight, &m, &mu, &h);
        EXPECT_TRUE(!m && !mu && !h && untouched(sight, 3)) << "outlines handed out on failure";
        return rc;
    };
    auto analysis = [&](const double* origin, const double* t, vd_eyellipse_t* ell) {
        const double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, dir[3] = {0, 0, 1};
        moa_hotdog_output_t* out = reinterpret_cast<moa_hotdog_output_t*>(&out);
        const int rc = HM_VD_ipv_sw_ss_analysis(origin, identity, ell, outline, t, dir, plane, plane, nullptr,
                                                nullptr, 1, &out);
        EXPECT_EQ(out, nullptr);
        return rc;
    };
    const double zero[3] = {0, 0, 0}, nan_threshold = kNaN, threshold = 1.0;
    const std::vector<Hostile> cases = {
        {"moa: NaN eyellipse", [&] { return moa(&nan_e, target, plane); }, -1},
        {"moa: overflowing axis", [&] { return moa(&huge_e, target, plane); }, -1},
        {"moa: NaN target", [&] { return moa(&e, nan3, plane); }, -1},
        {"moa: target at -1e308", [&] { return moa(&e, far3, plane); }, -1},
        {"moa: dead plane", [&] { return moa(&e, target, dead); }, -1},
        {"moa: a line for the plane", [&] { return moa(&e, target, line); }, -1},
        {"moa: a plane along the sight line, beside it (never met)",
         [&] { // The sight line runs along (393, 370, 238): this plane's normal is square to it.
               const tag_t p = host_testing::make_plane({0, 0, 0}, {370, -393, 0}); const int rc = moa(&e, target, p);
               HM_OBJ_delete_object(p); return rc; }, -1},
        {"mustache: NaN eye", [&] { return mustache(nan3, eye2, outline, plane); }, -1},
        {"mustache: plane 0", [&] { return mustache(eye1, eye2, outline, 0); }, -1},
        {"mustache: null list", [&] { return mustache(eye1, eye2, nullptr, plane); }, -1},
        {"hotdog: NaN threshold", [&] { return hotdog(line, line, &nan_threshold); }, -1},
        {"hotdog: dead moa", [&] { return hotdog(dead, line, &threshold); }, -1},
        {"hotdog: a line for the sight point", [&] { return hotdog(line, line, &threshold); }, -1},
        {"hotdog process: NaN eyellipse", [&] { return process(&nan_e, target, plane, outline); }, -1},
        {"hotdog process: NaN target", [&] { return process(&e, nan3, plane, outline); }, -1},
        {"hotdog process: plane 0", [&] { return process(&e, target, 0, outline); }, -1},
        {"analysis: NaN origin", [&] { return analysis(nan3, target, &e); }, -1},
        {"analysis: NaN eyellipse", [&] { return analysis(zero, target, &nan_e); }, -1},
        {"analysis: target at 1e300", [&] { const double t[3] = {1e300, 0, 0}; return analysis(zero, t, &e); }, -1},
        {"analysis: null output",
         [&] { const double m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, d[3] = {0, 0, 1};
               return HM_VD_ipv_sw_ss_analysis(zero, m, &e, outline, target, d, plane, plane, nullptr, nullptr, 1, nullptr); }, -1},
    };
    ExpectAllRefused(cases);
    ipv_initialize_moa_hogdog_output_data(nullptr);   // nothing, no crash
    HM_MODL_delete_list(&outline);
}

TEST_F(VisionHostileInputTest, SteeringWheelExtractionRefusesBadNumbersDeadTagsAndWrongKinds) {
    const double corner[3] = {2300, -400, 900}, size[3] = {100, 60, 100};
    const tag_t box = host_testing::make_box(corner, size);
    support::faces_of(box);
    support::edges_of(box);
    const tag_t line = host_testing::make_line({0, 0, 0}, {100, 0, 0});
    const tag_t dead = DeadCurve();
    hm_list_p_t solids = support::make_list({box}), curves = support::make_list({line}),
                dead_list = support::make_list({dead});
    const double view[3] = {2743, -370, 1188}, nan3[3] = {kNaN, 0, 0}, origin[3] = {0, 0, 0};
    const double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, tol[2] = {0.01, 0.01}, nan_tol[2] = {kNaN, 0.01};
    const double centre[3] = {2350, -370, 950};
    auto centroid = [&](hm_list_p_t l) {
        double c[3];
        fill(c, 3);
        const int rc = HM_VD_ipv_ask_body_centroid(l, c);
        EXPECT_TRUE(untouched(c, 3));
        return rc == 0 ? 0 : -1;
    };
    auto represent = [&](const double* p, hm_list_p_t l) {
        tag_t plane = 7;
        const int rc = HM_VD_ipv_ask_body_represent_plane(true, p, l, &plane);
        EXPECT_EQ(plane, 0u);
        return rc == 0 ? 0 : -1;
    };
    auto groups = [&](hm_list_p_t l) {
        int count = -5;
        hm_list_p_t* g = reinterpret_cast<hm_list_p_t*>(&count);
        const int rc = HM_VD_ipv_cagetory_ss_solids(l, &count, &g);
        return rc == 0 && count == 0 && g == nullptr ? 1 : 0;
    };
    auto see_through = [&](const double* v, hm_list_p_t l) {
        double c[3];
        tag_t plane = 7;
        hm_list_p_t contour = reinterpret_cast<hm_list_p_t>(&contour);
        const int rc = HM_VD_ipv_extract_ss_curve(v, l, c, &plane, &contour);
        EXPECT_TRUE(plane == 0 && contour == nullptr) << "a plane or contour handed out on failure";
        return rc == 0 ? 0 : -1;
    };
    auto wheel = [&](const double* m, const double* v, hm_list_p_t w) {
        double c[3], top[3];
        tag_t plane = 7;
        hm_list_p_t outline = nullptr, hubs = nullptr, see = nullptr;
        const int rc = HM_VD_ipv_extract_sw_curve(origin, m, v, w, solids, c, top, &plane, &outline, &hubs, &see);
        EXPECT_TRUE(plane == 0 && !outline && !hubs && !see) << "outlines handed out on failure";
        return rc == 0 ? 0 : -1;
    };
    auto rim = [&](const double* c, const double* t, hm_list_p_t w) {
        double top[3];
        fill(top, 3);
        hm_list_p_t section = nullptr;
        const int rc = HM_VD_ipv_ask_rim_upper_section_curves(origin, identity, w, c, view, t, top, &section);
        EXPECT_TRUE(section == nullptr && untouched(top, 3));
        return rc == 0 ? 0 : -1;
    };
    auto upper = [&](ipv_steering_wheel_t* w) {
        hm_list_p_t outline = reinterpret_cast<hm_list_p_t>(&outline);
        const int rc = HM_VD_ipv_create_upper_steering_wheel(origin, identity, w, &outline);
        EXPECT_EQ(outline, nullptr);
        return rc == 0 ? 0 : -1;
    };
    auto hubs = [&](hm_list_p_t r, hm_list_p_t h, const double* p, const double* t) {
        hm_list_p_t a = nullptr, b = nullptr;
        const int rc = HM_VD_ipv_ask_hubs_and_seethrus(r, h, p, centre, t, &a, &b);
        EXPECT_TRUE(!a && !b);
        return rc == 0 ? 0 : -1;
    };
    auto crossings = [&](tag_t a, tag_t b, double t) {
        int count = -5;
        double** pts = reinterpret_cast<double**>(&count);
        const int rc = HM_VD_ipv_ask_all_intersect_points(a, b, t, &count, &pts);
        return rc != 0 && (count == -5 || count == 0) ? -1 : 0;
    };
    ipv_steering_wheel_t nan_wheel{nullptr, {kNaN, 0, 0}, {0, 0, 0}, curves, curves, curves};
    ipv_steering_wheel_t missing{nullptr, {0, 0, 0}, {0, 0, 0}, curves, nullptr, curves};
    const std::vector<Hostile> cases = {
        {"centroid: a curve, no solid", [&] { return centroid(curves); }, -1},
        {"centroid: dead tag", [&] { return centroid(dead_list); }, -1},
        {"centroid: null list", [&] { return centroid(nullptr); }, -1},
        {"represent plane: NaN point", [&] { return represent(nan3, solids); }, -1},
        {"represent plane: dead tag", [&] { return represent(view, dead_list); }, -1},
        {"represent plane: null output", [&] { return HM_VD_ipv_ask_body_represent_plane(true, view, solids, nullptr); }, -1},
        {"groups: null list (none)", [&] { return groups(nullptr); }, 1},
        {"groups: null output", [&] { return HM_VD_ipv_cagetory_ss_solids(solids, nullptr, nullptr); }, -1},
        {"see-through: NaN view point", [&] { return see_through(nan3, solids); }, -1},
        {"see-through: a curve, no solid", [&] { return see_through(view, curves); }, -1},
        {"wheel: NaN matrix",
         [&] { const double m[9] = {kNaN, 0, 0, 0, 1, 0, 0, 0, 1}; return wheel(m, view, solids); }, -1},
        {"wheel: NaN view point", [&] { return wheel(identity, nan3, solids); }, -1},
        {"wheel: dead tag", [&] { return wheel(identity, view, dead_list); }, -1},
        {"rim section: NaN centre", [&] { return rim(nan3, tol, solids); }, -1},
        {"rim section: NaN tolerance", [&] { return rim(centre, nan_tol, solids); }, -1},
        {"rim section: a curve, no solid", [&] { return rim(centre, tol, curves); }, -1},
        {"upper outline: NaN rim top", [&] { return upper(&nan_wheel); }, -1},
        {"upper outline: inner contour missing", [&] { return upper(&missing); }, -1},
        {"upper outline: null record", [&] { return upper(nullptr); }, -1},
        {"hubs: NaN point", [&] { return hubs(curves, curves, nan3, tol); }, -1},
        {"hubs: NaN tolerance", [&] { return hubs(curves, curves, view, nan_tol); }, -1},
        {"hubs: null tolerances", [&] { return hubs(curves, curves, view, nullptr); }, -1},
        {"crossings: tag 0", [&] { return crossings(0, line, 0.01); }, -1},
        {"crossings: dead tag", [&] { return crossings(dead, line, 0.01); }, -1},
        {"crossings: NaN tolerance", [&] { return crossings(line, line, kNaN); }, -1},
        {"edge curves: a curve, no body",
         [&] { hm_list_p_t out = reinterpret_cast<hm_list_p_t>(&out); const int rc = HM_VD_ipv_ask_edge_curves_of_bodies(curves, &out);
               EXPECT_EQ(out, nullptr); return rc == 0 ? 0 : -1; }, -1},
        {"facet points: a curve, no facet model",
         [&] { int n = -5; double** p = nullptr; double lo = 0, hi = 0;
               return HM_VD_ipv_ask_facet_model_points(line, &n, &p, &hi, &lo) == 0 ? 0 : -1; }, -1},
    };
    ExpectAllRefused(cases);
    for (hm_list_p_t* l : {&solids, &curves, &dead_list}) HM_MODL_delete_list(l);
}

TEST_F(VisionHostileInputTest, ChainsRecordsAndMessagesRefuseWhatIsMissingOrNotFinite) {
    const tag_t circle = host_testing::make_arc({0, 0, 0}, 50.0, 0.0, 2 * support::kPi, {0, 1, 0}, {0, 0, 1});
    const tag_t dead = DeadCurve();
    hm_list_p_t loop = support::make_list({circle}), dead_list = support::make_list({dead});
    const double dir[3] = {1, 0, 0}, nan_dir[3] = {kNaN, 0, 0};
    auto chain = [&](hm_list_p_t l, const double* d) {
        int split = -5, count = -5;
        int* counts = reinterpret_cast<int*>(&count);
        double*** chains = reinterpret_cast<double***>(&count);
        const int rc = HM_VD_ipv_disperse_curve_chain(l, d, 0, 0, &split, &count, &counts, &chains);
        EXPECT_TRUE(counts == nullptr && chains == nullptr) << "chains handed out on failure";
        return rc == 0 ? 0 : -1;
    };
    auto reparam = [&](hm_list_p_t l, const double* d) {
        int count = -5;
        hm_list_p_t lists[2] = {reinterpret_cast<hm_list_p_t>(&count), reinterpret_cast<hm_list_p_t>(&count)};
        const int rc = ipv_reparam_curves(l, d, 0, &count, lists);
        EXPECT_TRUE(lists[0] == nullptr && lists[1] == nullptr) << "splines handed out on failure";
        return rc == 0 ? 0 : -1;
    };
    vd_eyellipse_t record = eye_;
    // The rule store keeps no NaN, but holds numbers past the model space.
    host_testing::EyellipseSpec spec = vision_test::distinct_eyellipse();
    spec.lengths_95[1] = -1e308;
    const std::string low_prefix = "root:LOW_EYE:";
    ASSERT_NE(host_testing::make_eyellipse("LOW_EYE", spec), 0u);
    spec = vision_test::distinct_eyellipse();
    spec.centroids[2][0] = 1e300;
    const std::string far_prefix = "root:FAR_EYE:";
    ASSERT_NE(host_testing::make_eyellipse("FAR_EYE", spec), 0u);
    const std::vector<Hostile> cases = {
        {"chain: NaN direction", [&] { return chain(loop, nan_dir); }, -1},
        {"chain: zero direction", [&] { const double z[3] = {0, 0, 0}; return chain(loop, z); }, -1},
        {"chain: dead curve", [&] { return chain(dead_list, dir); }, -1},
        {"chain: null list", [&] { return chain(nullptr, dir); }, -1},
        {"reparam: NaN direction", [&] { return reparam(loop, nan_dir); }, -1},
        {"reparam: dead curve", [&] { return reparam(dead_list, dir); }, -1},
        {"eyellipse record: null prefix", [&] { return HM_VD_initialize_eyellipse(nullptr, 0, &record); }, -1},
        {"eyellipse record: null record", [&] { return HM_VD_initialize_eyellipse("root:EYE:", 0, nullptr); }, -1},
        {"eyellipse record: no such instance", [&] { return HM_VD_initialize_eyellipse("root:NO_EYE:", 0, &record); }, 1},
        {"eyellipse record: an axis length of -1e308", [&] { return HM_VD_initialize_eyellipse(low_prefix.c_str(), 0, &record); }, 1},
        {"eyellipse record: a centroid at 1e300", [&] { return HM_VD_initialize_eyellipse(far_prefix.c_str(), 0, &record); }, 1},
        {"eyellipse check: null name", [&] { return HM_VD_APO_is_valid_eyellipse(nullptr, 0, 0); }, APO_INVALID_EYELLIPSE},
        {"limit point check: NaN limit point",
         [&] { const double eye[3] = {2743, -370, 1188}, p[3] = {kNaN, 0, 0};
               return int(HM_VD_APO_is_valid_limit_point(0, 1, nullptr, 0, eye, p)); }, 0},
        {"limit point check: NaN eye point",
         [&] { const double eye[3] = {kNaN, -370, 1188}, p[3] = {2100, -700, 1188};
               return int(HM_VD_APO_is_valid_limit_point(0, 1, nullptr, 0, eye, p)); }, 0},
        {"limit geometry check: dead tag",
         [&] { const double eye[3] = {2743, -370, 1188};
               return int(HM_VD_APO_is_valid_limit_geometry(0, 1, nullptr, 0, eye, dead_list)); }, 0},
        {"limit geometry check: NaN eye point",
         [&] { const double eye[3] = {2743, kNaN, 1188};
               return int(HM_VD_APO_is_valid_limit_geometry(0, 1, nullptr, 0, eye, loop)); }, 0},
        {"message: unknown code", [&] { return HM_VD_APO_get_failmessage(INT_MAX) == nullptr ? -1 : 0; }, -1},
        {"message: negative code", [&] { return HM_VD_APO_get_failmessage(-1) == nullptr ? -1 : 0; }, -1},
    };
    ExpectAllRefused(cases);
    EXPECT_EQ(std::memcmp(&record, &eye_, sizeof record), 0) << "the eyellipse record changed on failure";
    HM_VD_APO_display_failmessage(INT_MIN);   // nothing, no crash
    HM_VD_APO_init_global(nullptr);
    HM_VD_APO_free_global(nullptr);
    HM_VD_APO_init_result_struct(nullptr);
    EXPECT_TRUE(host_testing::dialogs().empty());
    for (hm_list_p_t* l : {&loop, &dead_list}) HM_MODL_delete_list(l);
}

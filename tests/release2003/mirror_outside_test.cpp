// The 2003 outside-mirror stage on small real mirrors: a flat 150 x 120 mm
// glass (and a convex R 1400 one) beside the driver or the passenger, seen
// from user eye points 600 mm behind it, targets on the ground 20 m behind
// the eyes. The preparation's area test, face check, radius messages and
// flat-mirror surface; the analysis's objects, target points, sight lines
// against the law of reflection, deviations, width messages, the ground
// reach against the mirror-image construction, the passenger's dual target
// of the "Japan" row and the case of an eye reference straight behind the
// pivot.
#include "hm_vd_mc.h"
#include "r2003_mirror.h"

#include "host_fixture.h"
#include "test_helpers.h"

#include "omvra.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace {

using host_testing::Point3;
using support::expect_point;

constexpr double kGlassWidth = 150.0, kGlassHeight = 120.0, kRadius = 1400.0;
constexpr int kCommon = 5, kLeft = 6, kRight = 7;

struct Vec {
    double x, y, z;
};
Vec vec(const double* p) { return {p[0], p[1], p[2]}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator*(double s, Vec a) { return {s * a.x, s * a.y, s * a.z}; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec unit(Vec a) { return (1.0 / std::sqrt(dot(a, a))) * a; }
void expect_vec(const Vec& actual, const Vec& expected, double tolerance = 1e-9) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// A set-up of the stage in part units (s: one millimetre in them).
struct Layout {
    int kind = 1;
    int standard = 1;                 // user eye points (ECE row)
    double mirror_y = -1000.0;        // glass centre y, mm
    double eye_y = -370.0;            // eye reference y, mm
    double target_y = -900.0;         // first caller point y (A.y), mm
    double width = 1000.0, distance = 20000.0;
    bool convex = false;
    bool bezel = false;
    bool override_values = false;
    double user_width = 0.0;
};

struct Objects {
    std::multimap<std::string, tag_t> by_name;
    tag_t one(const std::string& name) const {
        EXPECT_EQ(by_name.count(name), 1u) << name;
        auto it = by_name.find(name);
        return it == by_name.end() ? NULL_TAG : it->second;
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : by_name) out.push_back(entry.first);
        return out;
    }
};

struct Line {
    Vec start, end;
};

// The helpers are public: the dual-target check runs in both unit fixtures.
class Release2003MirrorOutsideTest : public HostTest {
public:
    double s_ = 1.0;   // one millimetre in part units

    // A flat glass in the plane x = 1900 about (1900, y, 1000), facing +x
    // (or -x).
    tag_t flat_glass(double y, bool facing_rear = true) const {
        const double corner[3] = {1900 * s_, (y - kGlassWidth / 2) * s_, (1000 - kGlassHeight / 2) * s_};
        const double across[3] = {0, kGlassWidth * s_, 0}, up[3] = {0, 0, kGlassHeight * s_};
        return facing_rear ? host_testing::make_planar_sheet(corner, across, up)
                           : host_testing::make_planar_sheet(corner, up, across);
    }
    // A convex glass of radius 1400 bulging towards +x, its apex at (1900, y, 1000).
    tag_t convex_glass(double y) const {
        const double centre[3] = {(1900 - kRadius) * s_, y * s_, 1000 * s_}, out[3] = {1, 0, 0}, up[3] = {0, 0, 1};
        return host_testing::make_spherical_patch(centre, kRadius * s_, out, up, kGlassWidth * s_,
                                                  kGlassHeight * s_);
    }
    // The bezel: four lines around the glass, 5 mm outside it, in its plane.
    void make_bezel(double y) {
        const double x = 1900 * s_, y0 = (y - kGlassWidth / 2 - 5) * s_, y1 = (y + kGlassWidth / 2 + 5) * s_;
        const double z0 = (1000 - kGlassHeight / 2 - 5) * s_, z1 = (1000 + kGlassHeight / 2 + 5) * s_;
        bezel_[0] = support::new_line(x, y0, z0, x, y1, z0);
        bezel_[1] = support::new_line(x, y1, z0, x, y1, z1);
        bezel_[2] = support::new_line(x, y1, z1, x, y0, z1);
        bezel_[3] = support::new_line(x, y0, z1, x, y0, z0);
    }

    // The record of the set-up, initialised (released by the test).
    void init(const Layout& u, mc_data_2003_s* data, tag_t glass = NULL_TAG) {
        mc_input_data_2003_t in{};
        in.mirror_kind = u.kind;
        in.standard = u.standard;
        in.result_layer = 200;
        in.eyellipse_name = "";   // no eyellipse drawn: these stages only read the user eye flag
        const double eye[3] = {2500 * s_, u.eye_y * s_, 520 * s_};
        const double centre[3] = {1900 * s_, u.mirror_y * s_, 1000 * s_};
        std::memcpy(in.eye_reference_point, eye, sizeof eye);
        std::memcpy(in.pivot_point, centre, sizeof centre);
        std::memcpy(in.prime_point, centre, sizeof centre);
        if (glass == NULL_TAG) glass = u.convex ? convex_glass(u.mirror_y) : flat_glass(u.mirror_y);
        in.mirror_sheet = glass;
        if (u.bezel) {
            make_bezel(u.mirror_y);
            in.bezel_count = 4;
            in.bezel_curves = bezel_;
        }
        in.caller_points[0][1] = u.target_y * s_;   // ground at z 0
        in.caller_points[1][0] = 3500 * s_;         // the second target's station
        in.mirror_radius[0] = kRadius * s_;
        in.mirror_radius[1] = 1200 * s_;
        in.mirror_shape = u.convex ? 1 : 0;
        in.standard_distance = u.distance * s_;
        in.standard_width = u.width * s_;
        in.user_override = u.override_values;
        in.user_distance = u.distance * s_;
        in.user_width = u.user_width * s_;
        in.colours[0] = kCommon;
        in.colours[1] = kLeft;
        in.colours[2] = kRight;
        ASSERT_EQ(HM_VD_MC_init_data(&in, data), 0);
    }

    // The eye step as the process runs it, then the stage.
    int run(mc_data_2003_s* data) {
        mc_outside_result_s* o = data->outside;
        double eyes[3][3], pivot[3];
        EXPECT_EQ(carvell::r2003::mc_find_eye_points_2003(data, eyes, pivot, data->rear_eye), 0);
        std::memcpy(o->left_eye, eyes[0], sizeof eyes[0]);
        std::memcpy(o->mid_eye, eyes[1], sizeof eyes[1]);
        std::memcpy(o->right_eye, eyes[2], sizeof eyes[2]);
        std::memcpy(o->head_pivot, pivot, sizeof pivot);
        return HM_VD_MC_apf_process_outside(data);
    }

    static Objects results(const mc_data_2003_s& data) {
        Objects objects;
        for (tag_t t : support::list_items(data.outside->result_objects)) {
            char name[64] = "";
            EXPECT_EQ(HM_OBJ_ask_name(t, name, sizeof name), 0);
            objects.by_name.emplace(name, t);
        }
        return objects;
    }
    static Line line(tag_t t) {
        HM_CURVE_line_t data{};
        EXPECT_EQ(HM_CURVE_ask_line_data(t, &data), 0);
        return {vec(data.start_point), vec(data.end_point)};
    }
    static bool blanked(tag_t t) {
        bool b = false;
        EXPECT_EQ(HM_OBJ_ask_blank_status(t, &b), 0);
        return b;
    }
    static int colour(tag_t t) {
        int c = 0;
        EXPECT_EQ(HM_OBJ_ask_color(t, &c), 0);
        return c;
    }
    static std::vector<double> box(tag_t t) {
        std::vector<double> b(6);
        EXPECT_EQ(HM_MODL_ask_bounding_box(t, b.data()), 0);
        return b;
    }
    static bool has_message(const mc_data_2003_s& d, const char* text) {
        for (int i = 0; i < d.message_count; ++i)
            if (std::strcmp(d.messages[i], text) == 0) return true;
        return false;
    }
    // The unit normal of the sheet's face at (near) the point.
    static Vec normal_at(tag_t sheet, const Vec& p) {
        const std::vector<tag_t> faces = support::faces_of(sheet);
        EXPECT_EQ(faces.size(), 1u);
        double at[3] = {p.x, p.y, p.z}, parm[2], point[3], u1[3], v1[3], u2[3], v2[3], n[3], radii[2];
        EXPECT_EQ(HM_MODL_ask_face_parm(faces[0], at, parm, point), 0);
        EXPECT_EQ(HM_MODL_ask_face_props(faces[0], parm, point, u1, v1, u2, v2, n, radii), 0);
        return vec(n);
    }
    // The ray from the eye to the mirror point, reflected at the mirror's
    // face, runs to the target, within the angle (degrees).
    static void expect_reflected(tag_t mirror, const Vec& eye, const Vec& on_mirror, const Vec& target,
                                 double degrees = 1e-6) {
        const Vec n = normal_at(mirror, on_mirror);
        const Vec in = unit(on_mirror - eye);
        const Vec out = unit(target - on_mirror);
        const Vec reflected = in + (-2.0 * dot(in, n)) * n;
        const double angle = std::acos(std::min(1.0, dot(reflected, out))) * 57.29577951308232;
        EXPECT_LT(angle, degrees);
    }
    // Distance from a point to the sheet's edges, or to the sheet itself.
    static double distance_to_edges(tag_t sheet, const Vec& p) {
        const double at[3] = {p.x, p.y, p.z};
        double nearest = 1e300;
        for (tag_t edge : support::edges_of(sheet)) {
            double d = 0, a[3], b[3];
            EXPECT_EQ(HM_MODL_ask_minimum_dist(edge, NULL_TAG, 0, nullptr, 1, at, &d, a, b), 0);
            nearest = std::min(nearest, d);
        }
        return nearest;
    }
    static double distance_to_sheet(tag_t sheet, const Vec& p) {
        const double at[3] = {p.x, p.y, p.z};
        double d = 0, a[3], b[3];
        EXPECT_EQ(HM_MODL_ask_minimum_dist(sheet, NULL_TAG, 0, nullptr, 1, at, &d, a, b), 0);
        return d;
    }

    tag_t bezel_[4] = {};
};

class Release2003MirrorOutsideInchTest : public Release2003MirrorOutsideTest {
protected:
    Release2003MirrorOutsideInchTest() {
        inches_ = true;
        s_ = 1.0 / 25.4;
    }
};

/* ---- the preparation ---- */

TEST_F(Release2003MirrorOutsideTest, RefusesANullRecordOrOneWithoutItsOutsideResult) {
    EXPECT_EQ(HM_VD_MC_apf_process_outside(nullptr), -1);
    mc_data_2003_s data{};
    EXPECT_EQ(HM_VD_MC_apf_process_outside(&data), -1);
    double rear[3] = {0, 0, 0};
    mc_mirror_surface_s surface{};
    EXPECT_EQ(HM_VD_MC_pro_outside_analysis(nullptr, &surface, rear), -1);
    EXPECT_EQ(HM_VD_MC_pro_outside_analysis(&data, &surface, rear), -1);
    EXPECT_EQ(host_testing::count_objects(), 0);
}

// The area test runs for a passenger mirror with eyellipse eye points only;
// the mirror in use here is a box, so the stage ends at the face check (1)
// before any message of the mirror's construction.
TEST_F(Release2003MirrorOutsideTest, ComparesAreasOnlyForAPassengerMirrorAndStopsAtAMirrorOfManyFaces) {
    struct Case {
        const char* what;
        int kind, standard;   // standard 0: eyes from the eyellipse
        bool opposite_is_own, skip_set;
        double percentage;
        bool skipped;
    } cases[] = {
        {"passenger: own 120 x 100 against 150 x 100", 2, 0, false, false, 80.0, false},
        {"passenger: the opposite mirror is its own", 2, 0, true, false, 0.0, true},
        {"passenger: the skip flag already set", 2, 0, false, true, 0.0, true},
        {"passenger with user eye points", 2, 1, false, false, 42.0, false},
        {"driver: no comparison", 1, 0, false, false, 42.0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const double corner[3] = {1900, 925, 950}, across[3] = {0, 120, 0}, opposite_across[3] = {0, -150, 0},
                     up[3] = {0, 0, 100};
        const tag_t own = host_testing::make_planar_sheet(corner, across, up);
        const double opposite_corner[3] = {1900, -925, 950};
        const tag_t opposite = host_testing::make_planar_sheet(opposite_corner, opposite_across, up);
        Layout u;
        u.kind = c.kind;
        u.standard = c.standard;
        u.convex = true;   // the convex driver's message would come after the face check
        mc_data_2003_s data{};
        init(u, &data, own);
        data.opposite_mirror_sheet = c.opposite_is_own ? own : opposite;
        data.skip_area_test = c.skip_set ? 1 : 0;
        data.outside->area_percentage = 42.0;
        const double box_corner[3] = {1900, 900, 900}, size[3] = {10, 10, 10};
        data.mirror_sheet = host_testing::make_box(box_corner, size);
        EXPECT_EQ(HM_VD_MC_apf_process_outside(&data), 1);
        EXPECT_NEAR(data.outside->area_percentage, c.percentage, 1e-6);
        EXPECT_EQ(data.skip_area_test, c.skipped ? 1 : 0);
        ASSERT_EQ(data.message_count, c.skipped ? 1 : 0);
        if (c.skipped) {
            EXPECT_STREQ(data.messages[0], "OPPOSITE MIRROR AREA TEST SKIPPED");
        }
        EXPECT_TRUE(support::list_items(data.outside->result_objects).empty());
        EXPECT_EQ(HM_OBJ_ask_status(own), HM_OBJ_ALIVE);
        HM_VD_MC_release_data(&data);
    }
}

// A convex glass on the sphere of R 1400: the surface from the face, the
// specified radius against the legal range (its limits legal), the driver's
// message with eyellipse eye points first. A rear eye point that is not a
// number makes the analysis refuse (-1) after the preparation.
TEST_F(Release2003MirrorOutsideTest, AConvexMirrorIsTheCapOfItsSphereAndItsSpecifiedRadiusIsChecked) {
    const char* const kConvexText = "\n*DOES NOT CERTIFY*  Standard does not allow convex mirror. For study only";
    const char* const kRangeText = "\nSpecified radius out of legal range - for study only ";
    struct Case {
        const char* what;
        int standard;
        double smallest, largest;
        std::vector<const char*> messages;
    } cases[] = {
        {"specified radius equal to the smallest legal one", 1, 1400, 999999, {}},
        {"specified radius equal to the largest legal one", 1, 1200, 1400, {}},
        {"specified radius below the legal range", 1, 1500, 999999, {kRangeText}},
        {"driver with eyellipse eye points", 0, 1500, 999999, {kConvexText, kRangeText}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Layout u;
        u.standard = c.standard;
        u.convex = true;
        mc_data_2003_s data{};
        init(u, &data);
        data.mirror_radius[1] = c.smallest;
        data.mirror_radius[2] = c.largest;
        data.rear_eye[0] = std::numeric_limits<double>::quiet_NaN();
        const tag_t caller = data.caller_mirror_sheet;
        EXPECT_EQ(HM_VD_MC_apf_process_outside(&data), -1);
        ASSERT_EQ(data.message_count, static_cast<int>(c.messages.size()));
        for (size_t i = 0; i < c.messages.size(); ++i) EXPECT_STREQ(data.messages[i], c.messages[i]);
        EXPECT_NEAR(data.reserved, kRadius, 1e-6);   // the measured radius
        const mc_mirror_surface_s& s = *data.outside->surface;
        EXPECT_NEAR(s.radius, kRadius, 1e-6);
        EXPECT_NEAR(s.curvature, 1.0 / kRadius, 1e-12);
        expect_point(s.centre, {1900 - kRadius, -1000, 1000}, 1e-3);
        expect_point(s.normal, {1, 0, 0}, 1e-3);   // the axis of the outline's fitted circle
        EXPECT_NE(data.mirror_sheet, caller);
        EXPECT_EQ(HM_OBJ_ask_status(caller), HM_OBJ_ALIVE);
        EXPECT_NEAR(host_testing::surface_area(data.mirror_sheet), host_testing::surface_area(caller),
                    0.01 * host_testing::surface_area(caller));
        EXPECT_EQ(data.mirror_set.point_count, 0);   // freed on the way out
        HM_VD_MC_release_data(&data);
    }
}

TEST_F(Release2003MirrorOutsideTest, AFlatMirrorFacingForwardIsRebuiltOnItsPlaneFacingTheRear) {
    Layout u;
    mc_data_2003_s data{};
    const tag_t glass = flat_glass(u.mirror_y, false);
    ASSERT_LT(normal_at(glass, {1900, -1000, 1000}).x, -0.999);
    init(u, &data, glass);
    data.rear_eye[0] = std::numeric_limits<double>::quiet_NaN();
    data.reserved = 7.0;
    EXPECT_EQ(HM_VD_MC_apf_process_outside(&data), -1);
    const mc_mirror_surface_s& s = *data.outside->surface;
    expect_point(s.normal, {1, 0, 0}, 1e-9);
    EXPECT_EQ(s.curvature, 0.0);
    EXPECT_EQ(s.radius, 0.0);
    EXPECT_NEAR(s.vertex[0], 1900, 1e-6);
    expect_point(s.vertex, {1900, -1000, 1000}, 1.0);   // the outline's centroid
    expect_point(s.centre, {s.vertex[0], s.vertex[1], s.vertex[2]}, 0.0);
    EXPECT_EQ(data.reserved, 0.0);
    EXPECT_NE(data.mirror_sheet, glass);
    EXPECT_EQ(HM_OBJ_ask_status(glass), HM_OBJ_ALIVE);
    const std::vector<double> b = box(data.mirror_sheet);
    EXPECT_NEAR(b[0], 1900, 1e-6);
    EXPECT_NEAR(b[3], 1900, 1e-6);
    EXPECT_NEAR(host_testing::surface_area(data.mirror_sheet), kGlassWidth * kGlassHeight, 1e-3);
    EXPECT_EQ(data.message_count, 0);
    HM_VD_MC_release_data(&data);
}

/* ---- the analysis ---- */

// A driver's flat mirror and its bezel, and a convex one: one target, every
// object named, coloured and listed, no "B" object; the sight lines obey
// the law of reflection on the turned mirror; the deviations are the seen
// corners' distances from the glass's edge.
TEST_F(Release2003MirrorOutsideTest, ADriverMirrorHasOneTargetAndItsSightLinesReflectOnTheTurnedMirror) {
    struct Case {
        const char* what;
        bool convex, bezel;
    } cases[] = {{"flat glass with bezel", false, true}, {"convex glass R 1400", true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Layout u;
        u.convex = c.convex;
        u.bezel = c.bezel;
        mc_data_2003_s data{};
        init(u, &data);
        const tag_t caller = data.caller_mirror_sheet;
        ASSERT_EQ(run(&data), 0);
        const Objects objects = results(data);
        std::vector<std::string> expected = {"",
                                             "",
                                             "ANGLE_VIEW",
                                             "EYES",
                                             "EYE_MIR_HORZ_A",
                                             "EYE_MIR_INBRD_A",
                                             "EYE_MIR_OUTBRD_A",
                                             "EYE_MIR_WIDE",
                                             "HEADPIVOT",
                                             "HORIZON_A",
                                             "INBOARD_A",
                                             "L_VISION_A",
                                             "MIR_ROT_TRNGL_A",
                                             "MIR_WIDE",
                                             "OUTBOARD_A",
                                             "RES_VIS_TRNGL_A",
                                             "ROTEYES",
                                             "ROTHEAD_PVT",
                                             "ROTMIRROR",
                                             "R_VISION_A",
                                             "VIS_TRNGL_A"};
        if (c.bezel)
            for (const char* name : {"L_MIR_PRJ_BZL", "L_MIR_RFL_BZL", "L_VIS_PRJ_BZL_A", "L_VIS_RFL_BZL_A",
                                     "R_MIR_PRJ_BZL", "R_MIR_RFL_BZL", "R_VIS_PRJ_BZL_A", "R_VIS_RFL_BZL_A"})
                expected.push_back(name);
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(objects.names(), expected);
        for (const auto& [name, t] : objects.by_name) EXPECT_FALSE(blanked(t)) << name;

        // The turned mirror is the record's mirror now; the caller's glass stays.
        const tag_t mirror = objects.one("ROTMIRROR");
        EXPECT_EQ(data.mirror_sheet, mirror);
        EXPECT_EQ(HM_OBJ_ask_status(caller), HM_OBJ_ALIVE);
        EXPECT_EQ(colour(mirror), kCommon);
        EXPECT_EQ(colour(objects.one("L_VISION_A")), kLeft);
        EXPECT_EQ(colour(objects.one("R_VISION_A")), kRight);
        // The mirror on the -y side: the right eye looks from outboard.
        EXPECT_EQ(colour(objects.one("EYE_MIR_OUTBRD_A")), kRight);
        EXPECT_EQ(colour(objects.one("EYE_MIR_INBRD_A")), kLeft);

        // Target 1: 20 m behind the rear eye, from y -900 outboard by the width.
        const mc_target_result_s& t = *data.outside->first;
        EXPECT_EQ(data.outside->rear_eye_x, 2500.0);
        expect_point(t.inboard_point, {22500, -900, 0});
        expect_point(t.outboard_point, {22500, -1900, 0});

        const Line inbound = line(objects.one("EYE_MIR_INBRD_A")), inboard = line(objects.one("INBOARD_A"));
        const Line outbound = line(objects.one("EYE_MIR_OUTBRD_A")), outboard = line(objects.one("OUTBOARD_A"));
        const Line eyes = line(objects.one("ROTEYES"));
        expect_vec(inbound.start, eyes.start);
        expect_vec(outbound.start, eyes.end);
        expect_vec(inboard.end, {22500, -900, 0});
        expect_vec(outboard.end, {22500, -1900, 0});
        expect_vec(inbound.end, inboard.start);
        expect_vec(outbound.end, outboard.start);
        // The convex mirror's pierce converges to the angle tolerance (0.05 degrees).
        const double degrees = c.convex ? 0.1 : 1e-6;
        expect_reflected(mirror, inbound.start, inboard.start, inboard.end, degrees);
        expect_reflected(mirror, outbound.start, outboard.start, outboard.end, degrees);

        // Both seen corners lie on the glass: the deviations are their
        // distances from its edge.
        EXPECT_GT(t.inboard_deviation, 0.0);
        EXPECT_GT(t.outboard_deviation, 0.0);
        EXPECT_NEAR(t.inboard_deviation, distance_to_edges(mirror, inboard.start), 0.01);
        EXPECT_NEAR(t.outboard_deviation, distance_to_edges(mirror, outboard.start), 0.01);

        // The ambinocular angle at ground between the two sight lines to the targets.
        const double at_ground = std::fabs(std::atan2(outboard.end.y - outboard.start.y, outboard.end.x - outboard.start.x) -
                                           std::atan2(inboard.end.y - inboard.start.y, inboard.end.x - inboard.start.x));
        EXPECT_NEAR(data.outside->ambinocular_angle_at_ground, at_ground * 57.29577951308232, 1e-9);
        EXPECT_TRUE(std::isfinite(t.ground_distance));
        EXPECT_EQ(data.outside->second->ground_distance, t.ground_distance);
        EXPECT_GE(data.outside->vision_triangle_obstruction, 0.0);
        EXPECT_LE(data.outside->vision_triangle_obstruction, 100.0);
        EXPECT_EQ(data.mirror_set.point_count, 0);
        HM_VD_MC_release_data(&data);
    }
}

// With the flat mirror the reflected sight over the lowest seen point is the
// line from the middle eye's mirror image through that point: where it meets
// the ground is the ground distance behind the eye.
TEST_F(Release2003MirrorOutsideTest, TheGroundDistanceIsWhereTheMirrorImageOfTheEyeSeesTheGround) {
    Layout u;
    mc_data_2003_s data{};
    init(u, &data);
    ASSERT_EQ(run(&data), 0);
    const Objects objects = results(data);
    const tag_t mirror = objects.one("ROTMIRROR");
    const Vec M = line(objects.one("ROTHEAD_PVT")).start;
    const Vec V = line(objects.one("ANGLE_VIEW")).end;
    const Vec n = normal_at(mirror, V);
    const Vec image = M + (-2.0 * dot(M - V, n)) * n;
    const double lowest = std::min(box(objects.one("L_VISION_A"))[2], box(objects.one("R_VISION_A"))[2]);
    const Vec L0 = {22500, 0, lowest};
    const double ground_x = image.x + (L0.x - image.x) * (0.0 - image.z) / (L0.z - image.z);
    EXPECT_NEAR(data.outside->first->ground_distance, ground_x - M.x, 1e-3 * std::fabs(ground_x - M.x));
    EXPECT_GT(data.outside->first->ground_distance, 0.0);
    HM_VD_MC_release_data(&data);
}

// A 4 m wide target reaches past what the glass shows: its outboard corner
// is seen off the glass. The widths' messages: the plain one for the user's
// width, the certifying one for the standard's.
TEST_F(Release2003MirrorOutsideTest, ACornerSeenOffTheGlassHasANegativeDeviationAndTheWidthIsJudged) {
    const char* const kOutboardText = "\n*DOES NOT CERTIFY* Negative Outboard Deviation found";
    const char* const kInboardText = "\n*DOES NOT CERTIFY* Negative Inboard Deviation found";
    const char* const kStandardWidthText = "\n*DOES NOT CERTIFY* Target Width less than Standard Width ";
    const char* const kUserWidthText = "\nTarget Width less than User-Defined Width ";
    struct Case {
        const char* what;
        bool override_values;
        const char* width_text;
        const char* not_text;
    } cases[] = {
        {"standard values", false, kStandardWidthText, kUserWidthText},
        {"user values", true, kUserWidthText, kStandardWidthText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Layout u;
        u.width = 4000;
        u.override_values = c.override_values;
        u.user_width = 4000;
        if (c.override_values) u.width = 500;   // the standard's width is not read
        mc_data_2003_s data{};
        init(u, &data);
        ASSERT_EQ(run(&data), 0);
        const Objects objects = results(data);
        const tag_t mirror = objects.one("ROTMIRROR");
        const mc_target_result_s& t = *data.outside->first;
        expect_point(t.outboard_point, {22500, -4900, 0});
        const Vec seen_outboard = line(objects.one("OUTBOARD_A")).start;
        EXPECT_LT(t.outboard_deviation, 0.0);
        EXPECT_NEAR(-t.outboard_deviation, distance_to_sheet(mirror, seen_outboard), 0.01);
        EXPECT_GT(t.inboard_deviation, 0.0);
        EXPECT_TRUE(has_message(data, kOutboardText));
        EXPECT_FALSE(has_message(data, kInboardText));
        // The width seen: from the widest point the outboard eye sees.
        const Vec W = line(objects.one("MIR_WIDE")).start;
        EXPECT_NEAR(W.y, box(objects.one("R_VISION_A"))[1], 1e-4);
        EXPECT_NEAR(t.achieved_width, std::fabs(W.y) - 900.0, 1e-9);
        EXPECT_LT(t.achieved_width, 4000.0);
        EXPECT_TRUE(has_message(data, c.width_text));
        EXPECT_FALSE(has_message(data, c.not_text));
        HM_VD_MC_release_data(&data);
    }
}

// The eye reference straight behind the pivot: +y is outboard, the left eye
// gives the widest point, and no "MIR_WIDE" line is drawn. One target, no
// "B" object; the left eye looks from outboard and sees B, the right one A,
// both by the law of reflection on the turned mirror.
TEST_F(Release2003MirrorOutsideTest, AnEyeReferenceStraightBehindThePivotTakesTheWidestPointFromTheLeftEye) {
    Layout u;
    u.eye_y = u.mirror_y;
    mc_data_2003_s data{};
    init(u, &data);
    ASSERT_EQ(run(&data), 0);
    const Objects objects = results(data);
    std::vector<std::string> expected_names = {
        "",          "",          "ANGLE_VIEW", "EYES",      "EYE_MIR_HORZ_A", "EYE_MIR_INBRD_A", "EYE_MIR_OUTBRD_A",
        "EYE_MIR_WIDE", "HEADPIVOT", "HORIZON_A", "INBOARD_A", "L_VISION_A",  "MIR_ROT_TRNGL_A", "OUTBOARD_A",
        "RES_VIS_TRNGL_A", "ROTEYES", "ROTHEAD_PVT", "ROTMIRROR", "R_VISION_A", "VIS_TRNGL_A"};
    std::sort(expected_names.begin(), expected_names.end());
    EXPECT_EQ(objects.names(), expected_names);
    const tag_t mirror = objects.one("ROTMIRROR");
    EXPECT_EQ(data.mirror_sheet, mirror);
    const Line eyes = line(objects.one("ROTEYES"));
    const Line seen_b = line(objects.one("EYE_MIR_OUTBRD_A")), to_b = line(objects.one("OUTBOARD_A"));
    const Line seen_a = line(objects.one("EYE_MIR_INBRD_A")), to_a = line(objects.one("INBOARD_A"));
    expect_vec(seen_b.start, eyes.start);
    expect_vec(seen_a.start, eyes.end);
    expect_vec(to_b.end, {22500, 100, 0});
    expect_vec(to_a.end, {22500, -900, 0});
    expect_reflected(mirror, seen_b.start, to_b.start, to_b.end);
    expect_reflected(mirror, seen_a.start, to_a.start, to_a.end);
    EXPECT_TRUE(std::isfinite(data.outside->first->ground_distance));
    const mc_target_result_s& t = *data.outside->first;
    expect_point(t.outboard_point, {22500, -900 + 1000, 0});
    const double widest_y = box(objects.one("L_VISION_A"))[4];
    EXPECT_NEAR(t.achieved_width, std::fabs(widest_y) - 900.0, 1e-6);
    // The max ambinocular angle: from the outermost mirror point to W
    // against the inboard sight line to A.
    const Vec O = line(objects.one("EYE_MIR_WIDE")).end;
    const Line inboard = line(objects.one("INBOARD_A"));
    const double expected = std::fabs(std::atan2(widest_y - O.y, 22500 - O.x) -
                                      std::atan2(inboard.end.y - inboard.start.y, inboard.end.x - inboard.start.x));
    EXPECT_NEAR(data.outside->max_ambinocular_angle, expected * 57.29577951308232, 1e-6);
    EXPECT_EQ(colour(objects.one("EYE_MIR_OUTBRD_A")), kLeft);
    HM_VD_MC_release_data(&data);
}

// The passenger mirror of the "Japan" row: a second target at the second
// caller point's station, its cylinder as wide as the far side and 1000 mm
// (39.37 in) high, its objects blanked; in both units.
void check_japan_passenger(Release2003MirrorOutsideTest* test, double s, double height) {
    Layout u;
    u.kind = 2;
    u.standard = 4;
    u.mirror_y = 1000;
    u.target_y = 900;
    u.bezel = true;
    mc_data_2003_s data{};
    test->init(u, &data);
    ASSERT_EQ(test->run(&data), 0);
    const Objects objects = Release2003MirrorOutsideTest::results(data);
    const double far = data.far_side_value;
    const mc_target_result_s& t = *data.outside->second;
    expect_point(t.inboard_point, {3500 * s, 900 * s, 0}, 1e-9);
    expect_point(t.outboard_point, {3500 * s, 900 * s + far, 0}, 1e-9);

    const tag_t cylinder = objects.one("VIS_TRNGL_B");
    const std::vector<double> b = Release2003MirrorOutsideTest::box(cylinder);
    const std::vector<double> expected = {3500 * s - far / 2, 900 * s, 0, 3500 * s + far / 2, 900 * s + far, height};
    // The height is handed to the host as a "%f" text: to a millionth.
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(b[i], expected[i], 1e-6) << i;
    EXPECT_EQ(Release2003MirrorOutsideTest::colour(cylinder), kCommon);

    for (const char* name : {"L_VISION_B", "R_VISION_B", "VIS_TRNGL_B", "MIR_ROT_TRNGL_B", "EYE_MIR_OUTBRD_B",
                             "EYE_MIR_INBRD_B", "EYE_MIR_HORZ_B", "HORIZON_B", "INBOARD_B", "OUTBOARD_B",
                             "L_VIS_PRJ_BZL_B", "L_VIS_RFL_BZL_B", "R_VIS_PRJ_BZL_B", "R_VIS_RFL_BZL_B"})
        EXPECT_TRUE(Release2003MirrorOutsideTest::blanked(objects.one(name))) << name;
    // The mirror-side bezel sheets of the second target are not kept.
    for (const char* name : {"L_MIR_PRJ_BZL", "L_MIR_RFL_BZL", "R_MIR_PRJ_BZL", "R_MIR_RFL_BZL"})
        EXPECT_EQ(objects.by_name.count(name), 1u) << name;
    EXPECT_EQ(objects.by_name.count("EYE_MIR_WIDE"), 2u);
    for (const auto& [name, tag] : objects.by_name) {
        if (name.size() < 2 || name.compare(name.size() - 2, 2, "_B") != 0) {
            EXPECT_FALSE(Release2003MirrorOutsideTest::blanked(tag)) << name;
        }
    }

    // The mirror on the +y side: the left eye looks from outboard; the
    // inboard eye sees the cylinder's top inboard corner A' in the mirror.
    const tag_t mirror = objects.one("ROTMIRROR");
    EXPECT_EQ(Release2003MirrorOutsideTest::colour(objects.one("EYE_MIR_OUTBRD_B")), kLeft);
    const Line horizontal = Release2003MirrorOutsideTest::line(objects.one("EYE_MIR_HORZ_B"));
    const Vec top_a = {3500 * s, 900 * s, height};
    Release2003MirrorOutsideTest::expect_reflected(mirror, horizontal.start, horizontal.end, top_a);
    const Line horizon = Release2003MirrorOutsideTest::line(objects.one("HORIZON_B"));
    EXPECT_NEAR(horizon.end.x, 3500 * s, 1e-9);
    const Line inboard = Release2003MirrorOutsideTest::line(objects.one("INBOARD_B"));
    Release2003MirrorOutsideTest::expect_reflected(mirror, horizontal.start, inboard.start, inboard.end);
    EXPECT_EQ(data.outside->first->ground_distance, t.ground_distance);
    HM_VD_MC_release_data(&data);
}

TEST_F(Release2003MirrorOutsideTest, AJapanPassengerMirrorHasABlankedSecondTargetWithItsCylinder) {
    check_japan_passenger(this, 1.0, 1000.0);
}

TEST_F(Release2003MirrorOutsideInchTest, AJapanPassengerMirrorHasABlankedSecondTargetWithItsCylinderInInches) {
    check_japan_passenger(this, 1.0 / 25.4, 39.37007874015748);
}

}  // namespace

// Hostile input to the mirror-certification exports: null pointers, object
// counts of 0, -1, INT_MAX and beyond what an array could hold, coordinates
// that are NaN, infinite or 1e300, dead and wrong-kind tags, and degenerate
// mirrors (a zero normal, eye and target together, the eye in the glass's
// plane). Every row answers its refusal, writes none of its outputs, builds
// nothing and leaves no block of the memory manager behind; the caller's
// objects stay in the part.
#include "hm_vd_mc.h"

#include "host_fixture.h"
#include "hostile_input.h"
#include "mirror_fixtures.h"
#include "omvra.h"
#include "sedan_fixture.h"
#include "toolbox/detail/finite.h"

#include <climits>
#include <cstring>
#include <functional>
#include <vector>

namespace {

using support::Hostile;
using support::kInf;
using support::kNaN;

// A count whose tag array could not be one block of the memory manager.
constexpr int kUnfittingCount = static_cast<int>(carvell::detail::kMaxBlockBytes / sizeof(tag_t)) + 1;

class MirrorHostileInputTest : public MirrorRecordTest {
protected:
    // The table, then no block beyond those the test held before it.
    void ExpectAllRefused(const std::vector<Hostile>& cases) {
        const size_t held = host_testing::live_allocations();
        support::expect_all_refused(cases);
        EXPECT_EQ(host_testing::live_allocations(), held) << "a refused call left blocks allocated";
        ExpectNoBadFrees();
    }
    // A line that is deleted again: a dead tag.
    static tag_t DeadTag() {
        const tag_t line = host_testing::make_line({0, 0, 0}, {10, 0, 0});
        HM_OBJ_delete_object(line);
        return line;
    }
};

bool same(const double* a, const double* b, int n) { return std::memcmp(a, b, n * sizeof(double)) == 0; }

using mirror_testing::plane_mirror;
using mirror_testing::sphere_mirror;

}  // namespace

TEST_F(MirrorHostileInputTest, OpticsRefuseWhatIsNotFiniteAndWriteNothing) {
    const double tolerances[2] = {0.01, 0.05};
    const double eye[3] = {2000, -900, 1000}, target[3] = {2000, -1100, 1000};
    const double nan3[3] = {kNaN, 0, 0}, inf3[3] = {0, kInf, 0}, huge3[3] = {1e300, -1e300, 1e300};
    // Pierce: the answer must stay what the caller put there.
    auto pierce = [&](const double* tol, const mc_mirror_surface_record* m, const double* e, const double* t) {
        double out[3] = {-7, -7, -7};
        const double sentinel[3] = {-7, -7, -7};
        const int status = HM_VD_MC_pierce(tol, m, e, t, out);
        EXPECT_TRUE(same(out, sentinel, 3)) << "point written on failure";
        return status;
    };
    // Reflex: the direction stays; the pierce point is at most zeroed.
    auto reflex = [&](const mc_mirror_surface_record* m, const double* e, const double* through, const double* tol) {
        double x[3] = {-7, -7, -7}, r[3] = {-7, -7, -7};
        const double sentinel[3] = {-7, -7, -7}, zero[3] = {0, 0, 0};
        const int status = HM_VD_MC_reflex(m, e, through, tol, x, r);
        EXPECT_TRUE(same(r, sentinel, 3)) << "direction written on failure";
        EXPECT_TRUE(same(x, sentinel, 3) || same(x, zero, 3)) << "pierce point written on failure";
        return status;
    };
    auto with = [](mc_mirror_surface_record m, const std::function<void(mc_mirror_surface_record&)>& change) {
        change(m);
        return m;
    };
    const mc_mirror_surface_record sphere = sphere_mirror(), plane = plane_mirror();
    const mc_mirror_surface_record nan_normal_sphere = with(sphere, [](auto& m) { m.normal[1] = kNaN; });
    const mc_mirror_surface_record nan_normal_plane = with(plane, [](auto& m) { m.normal[0] = kNaN; });
    const mc_mirror_surface_record inf_vertex = with(sphere, [](auto& m) { m.vertex[2] = kInf; });
    const mc_mirror_surface_record nan_curvature = with(sphere, [](auto& m) { m.curvature = kNaN; });
    const mc_mirror_surface_record nan_radius = with(sphere, [](auto& m) { m.radius = kNaN; });
    const mc_mirror_surface_record zero_normal_plane = with(plane, [](auto& m) { m.normal[0] = 0.0; });
    const mc_mirror_surface_record zero_normal_sphere = with(sphere, [](auto& m) { m.normal[0] = 0.0; });
    const double nan_tolerances[2] = {kNaN, 0.05}, inf_angle[2] = {0.01, kInf};
    const double plane_eye[3] = {0.0, 40, 10}, plane_target[3] = {300, -40, 10}, behind[3] = {-300, 0, 0};
    const double far_plane_eye[3] = {1e300, 0, 0}, far_plane_target[3] = {1e300, 1e300, 0};

    const std::vector<Hostile> cases = {
        {"pierce: null tolerances", [&] { return pierce(nullptr, &sphere, eye, target); }, -1},
        {"pierce: null mirror", [&] { return pierce(tolerances, nullptr, eye, target); }, -1},
        {"pierce: null eye", [&] { return pierce(tolerances, &sphere, nullptr, target); }, -1},
        {"pierce: null target", [&] { return pierce(tolerances, &sphere, eye, nullptr); }, -1},
        {"pierce: null answer", [&] { return HM_VD_MC_pierce(tolerances, &sphere, eye, target, nullptr); }, -1},
        {"pierce: NaN normal of a sphere", [&] { return pierce(tolerances, &nan_normal_sphere, eye, target); }, -1},
        {"pierce: NaN normal of a plane", [&] { return pierce(tolerances, &nan_normal_plane, eye, target); }, -1},
        {"pierce: infinite vertex", [&] { return pierce(tolerances, &inf_vertex, eye, target); }, -1},
        {"pierce: NaN curvature", [&] { return pierce(tolerances, &nan_curvature, eye, target); }, -1},
        {"pierce: NaN radius", [&] { return pierce(tolerances, &nan_radius, eye, target); }, -1},
        {"pierce: NaN distance tolerance", [&] { return pierce(nan_tolerances, &sphere, eye, target); }, -1},
        {"pierce: infinite angle tolerance", [&] { return pierce(inf_angle, &sphere, eye, target); }, -1},
        {"pierce: NaN eye", [&] { return pierce(tolerances, &sphere, nan3, target); }, -1},
        {"pierce: infinite target", [&] { return pierce(tolerances, &sphere, eye, inf3); }, -1},
        {"pierce: infinite target on a plane", [&] { return pierce(tolerances, &plane, plane_target, inf3); }, -1},
        {"pierce: eye and target 1e300 from a plane: the finite point between their feet",
         [&] {
             double out[3] = {-7, -7, -7};
             const int status = HM_VD_MC_pierce(tolerances, &plane, far_plane_eye, far_plane_target, out);
             EXPECT_TRUE(out[0] == 0.0 && out[1] == 5e299 && out[2] == 0.0);
             return status;
         },
         0},
        {"pierce: eye at 1e300 before a sphere", [&] { return pierce(tolerances, &sphere, huge3, target); }, 3},
        {"pierce: zero normal of a plane", [&] { return pierce(tolerances, &zero_normal_plane, eye, target); }, 3},
        {"pierce: eye and target together on the glass",
         [&] { const double on[3] = {650, -1000, 1000}; return pierce(tolerances, &sphere, on, on); }, 1},
        {"reflex: null mirror", [&] { return reflex(nullptr, eye, target, tolerances); }, -1},
        {"reflex: null eye", [&] { return reflex(&sphere, nullptr, target, tolerances); }, -1},
        {"reflex: null point", [&] { return reflex(&sphere, eye, nullptr, tolerances); }, -1},
        {"reflex: null tolerances", [&] { return reflex(&sphere, eye, target, nullptr); }, -1},
        {"reflex: null outputs",
         [&] { double x[3]; return HM_VD_MC_reflex(&sphere, eye, target, tolerances, x, nullptr); }, -1},
        {"reflex: NaN normal of a sphere", [&] { return reflex(&nan_normal_sphere, eye, target, tolerances); }, -1},
        {"reflex: NaN normal of a plane", [&] { return reflex(&nan_normal_plane, plane_target, behind, tolerances); },
         -1},
        {"reflex: NaN curvature", [&] { return reflex(&nan_curvature, eye, target, tolerances); }, -1},
        {"reflex: ray through an infinite point", [&] { return reflex(&plane, plane_target, inf3, tolerances); }, -1},
        {"reflex: ray through a NaN point", [&] { return reflex(&sphere, eye, nan3, tolerances); }, -1},
        {"reflex: infinite eye", [&] { return reflex(&sphere, inf3, target, tolerances); }, -1},
        {"reflex: NaN tolerance", [&] { return reflex(&sphere, eye, target, nan_tolerances); }, -1},
        {"reflex: eye at 1e300 before a plane",
         [&] { const double to[3] = {0, 1, 0}; return reflex(&plane, far_plane_eye, to, tolerances); }, 1},
        {"reflex: zero normal of a sphere", [&] { return reflex(&zero_normal_sphere, eye, target, tolerances); }, 3},
        {"reflex: the eye in the glass's plane", [&] { return reflex(&plane, plane_eye, behind, tolerances); }, 2},
        {"reflex: eye and point together", [&] { return reflex(&sphere, eye, eye, tolerances); }, 1},
    };
    ExpectAllRefused(cases);
}

TEST_F(MirrorHostileInputTest, InitialisationRefusesCountsAndNumbersItCannotTakeAndLeavesTheRecord) {
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    const std::vector<tag_t> edges = sedan::edges_of(glass);
    const tag_t one[1] = {edges[0]};
    const char* const texts[1] = {"caller text"};
    auto init = [&](const std::function<void(mc_input_data_t&)>& change) {
        mc_input_data_t in = sedan::driver_input(glass);
        change(in);
        mc_data_s record;
        std::memset(static_cast<void*>(&record), 0, sizeof record);
        const mc_data_s before = record;
        const int status = HM_VD_MC_init_data(&in, &record);
        EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0) << "the record was changed";
        return status;
    };
    std::vector<Hostile> cases = {
        {"null input", [&] { return HM_VD_MC_init_data(nullptr, &data_); }, -1},
        {"null record", [&] { mc_input_data_t in = sedan::driver_input(glass); return HM_VD_MC_init_data(&in, nullptr); },
         -1},
        {"bezel count 1 with no array", [&] { return init([](auto& in) { in.bezel_count = 1; }); }, -1},
        {"backlite count 1 with no array", [&] { return init([](auto& in) { in.backlite_count = 1; }); }, -1},
        {"restriction count 1 with no array",
         [&] { return init([](auto& in) { in.mirror_target_restriction_count = 1; }); }, -1},
        {"caller messages -1", [&] { return init([&](auto& in) { in.caller_messages = texts, in.caller_message_count = -1; }); },
         -1},
        {"caller messages INT_MAX",
         [&] { return init([&](auto& in) { in.caller_messages = texts, in.caller_message_count = INT_MAX; }); }, -1},
        {"NaN vehicle orientation", [&] { return init([](auto& in) { in.vehicle_orientation[4] = kNaN; }); }, -1},
        {"infinite vehicle origin", [&] { return init([](auto& in) { in.vehicle_origin[0] = kInf; }); }, -1},
        {"NaN eye reference point", [&] { return init([](auto& in) { in.eye_reference_point[1] = kNaN; }); }, -1},
        {"infinite mirror reference point",
         [&] { return init([](auto& in) { in.mirror_reference_point[2] = -kInf; }); }, -1},
        {"NaN prime point", [&] { return init([](auto& in) { in.prime_point[0] = kNaN; }); }, -1},
        {"NaN target point", [&] { return init([](auto& in) { in.first_target_point[0] = kNaN; }); }, -1},
        {"infinite ground point", [&] { return init([](auto& in) { in.ground_point[2] = kInf; }); }, -1},
        {"NaN loading point", [&] { return init([](auto& in) { in.loading = true, in.loading_points[2][1] = kNaN; }); },
         -1},
        {"NaN user radius", [&] { return init([](auto& in) { in.user_radius = kNaN; }); }, -1},
        {"infinite legal radius", [&] { return init([](auto& in) { in.upper_legal_radius = kInf; }); }, -1},
        {"NaN standard value", [&] { return init([](auto& in) { in.standard_value = kNaN; }); }, -1},
        {"infinite user value", [&] { return init([](auto& in) { in.user_override = true, in.user_value = kInf; }); },
         -1},
    };
    struct Count {
        const char* what;
        std::function<void(mc_input_data_t&, int)> set;
    };
    const Count counts[] = {
        {"bezel", [&](auto& in, int n) { in.bezel_count = n, in.bezels = one; }},
        {"backlite", [&](auto& in, int n) { in.backlite_count = n, in.backlite_faces = one; }},
        {"eye-mirror restriction",
         [&](auto& in, int n) { in.eye_mirror_restriction_count = n, in.eye_mirror_restrictions = one; }},
        {"mirror-target restriction",
         [&](auto& in, int n) { in.mirror_target_restriction_count = n, in.mirror_target_restrictions = one; }},
    };
    static std::vector<std::string> names;
    names.clear();
    names.reserve(16);
    for (const Count& c : counts) {
        for (int n : {-1, INT_MAX, HM_VD_MC_MAX_OBJECTS + 1, kUnfittingCount}) {
            names.push_back(std::string(c.what) + " count " + std::to_string(n));
            auto set = c.set;
            cases.push_back({names.back().c_str(), [&init, set, n] { return init([&](auto& in) { set(in, n); }); }, -1});
        }
    }
    ExpectAllRefused(cases);

    // Values the record does not read are not looked at.
    mc_input_data_t unread = sedan::driver_input(glass);
    unread.loading_points[1][2] = kNaN;
    unread.user_value = kInf;
    EXPECT_EQ(Init(unread), 0) << "loading points without loading, a user value without the override";
}

TEST_F(MirrorHostileInputTest, InitialisingTwiceWithoutAReleaseKeepsNoBlockOfTheFirst) {
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    mc_input_data_t in = sedan::driver_input(glass);
    ASSERT_EQ(Init(in), 0);
    const size_t held = host_testing::live_allocations();
    ASSERT_GT(held, allocations_at_start_);
    ASSERT_EQ(Init(in), 0);
    EXPECT_EQ(host_testing::live_allocations(), held) << "the first initialisation's blocks were lost";
    // Again after a run, whose results stay in the part for the caller.
    ASSERT_EQ(HM_VD_MC_process(&data_), 0) << data_.error_text;
    const int objects = host_testing::count_objects();
    ASSERT_EQ(Init(in), 0);
    EXPECT_EQ(host_testing::live_allocations(), held);
    EXPECT_EQ(host_testing::count_objects(), objects) << "a new initialisation touches no geometry";
    EXPECT_EQ(HM_OBJ_ask_status(glass), HM_OBJ_ALIVE);
    // With the caller's bezel and restriction lists and their initial copies.
    const std::vector<tag_t> edges = sedan::edges_of(glass);
    in.bezel_count = in.eye_mirror_restriction_count = static_cast<int>(edges.size());
    in.bezels = in.eye_mirror_restrictions = edges.data();
    ASSERT_EQ(Init(in), 0);
    const size_t with_lists = host_testing::live_allocations();
    ASSERT_EQ(Init(in), 0);
    EXPECT_EQ(host_testing::live_allocations(), with_lists);
    // A kind changed between the two: the other result record is released.
    in.mirror_kind = 0;
    ASSERT_EQ(Init(in), 0);
    EXPECT_TRUE(data_.inside && !data_.outside);
}

TEST_F(MirrorHostileInputTest, InputChecksRefuseNullCountsDeadAndWrongTags) {
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    const tag_t face = sedan::first_face(glass);
    const tag_t line = host_testing::make_line({0, 0, 0}, {100, 0, 0});
    const tag_t dead = DeadTag();
    const std::vector<tag_t> edges = sedan::edges_of(glass);
    const tag_t one[1] = {edges[0]}, dead_one[1] = {dead}, wrong_one[1] = {glass};
    const double corner[3] = {sedan::glass_corner(glass)[0], sedan::glass_corner(glass)[1],
                              sedan::glass_corner(glass)[2]};
    const double nan3[3] = {kNaN, 0, 0}, inf3[3] = {0, 0, kInf}, huge3[3] = {1e300, 1e300, 1e300};
    auto convex = [&](tag_t mirror, double radius) {
        double r = -7;
        bool agrees = false;
        const int status = HM_VD_MC_check_convex_value(mirror, radius, &r, &agrees);
        EXPECT_EQ(r, -7) << "radius written on failure";
        return status;
    };
    const std::vector<Hostile> cases = {
        {"loop: null objects", [&] { return int(HM_VD_MC_check_curves_edges_loop(1, nullptr)); }, 0},
        {"loop: count 0 (nothing to look at)", [&] { return int(HM_VD_MC_check_curves_edges_loop(0, one)); }, 1},
        {"loop: count -1 (nothing to look at)", [&] { return int(HM_VD_MC_check_curves_edges_loop(-1, one)); }, 1},
        {"loop: count INT_MAX (not read)", [&] { return int(HM_VD_MC_check_curves_edges_loop(INT_MAX, one)); }, 1},
        {"loop: unfitting count (not read)",
         [&] { return int(HM_VD_MC_check_curves_edges_loop(kUnfittingCount, one)); }, 1},
        {"loop: one open edge", [&] { return int(HM_VD_MC_check_curves_edges_loop(1, one)); }, 0},
        {"loop: a dead tag", [&] { return int(HM_VD_MC_check_curves_edges_loop(1, dead_one)); }, 0},
        {"loop: a sheet body", [&] { return int(HM_VD_MC_check_curves_edges_loop(1, wrong_one)); }, 0},
        {"prime: null point", [&] { return HM_VD_MC_check_prime_location(nullptr, glass); }, -1},
        {"prime: NaN point", [&] { return HM_VD_MC_check_prime_location(nan3, glass); }, -1},
        {"prime: infinite point", [&] { return HM_VD_MC_check_prime_location(inf3, face); }, -1},
        {"prime: point at 1e300", [&] { return HM_VD_MC_check_prime_location(huge3, glass); }, -1},
        {"prime: a dead mirror (nothing to check)", [&] { return HM_VD_MC_check_prime_location(corner, dead); }, 1},
        {"prime: a line for the mirror (nothing to check)",
         [&] { return HM_VD_MC_check_prime_location(corner, line); }, 1},
        {"convex: null radius",
         [&] { bool a = false; return HM_VD_MC_check_convex_value(glass, 1400.0, nullptr, &a); }, -1},
        {"convex: null agreement",
         [&] { double r = 0; return HM_VD_MC_check_convex_value(glass, 1400.0, &r, nullptr); }, -1},
        {"convex: NaN entered radius", [&] { return convex(glass, kNaN); }, -1},
        {"convex: infinite entered radius", [&] { return convex(face, kInf); }, -1},
        {"convex: a dead mirror", [&] { return convex(dead, 1400.0); }, 1},
        {"convex: a line for the mirror", [&] { return convex(line, 1400.0); }, 1},
        {"backlite: null faces", [&] { return int(HM_VD_MC_check_backlite(1, nullptr)); }, 0},
        {"backlite: count 0", [&] { return int(HM_VD_MC_check_backlite(0, one)); }, 0},
        {"backlite: count -1", [&] { return int(HM_VD_MC_check_backlite(-1, one)); }, 0},
        {"backlite: count INT_MAX", [&] { return int(HM_VD_MC_check_backlite(INT_MAX, one)); }, 0},
        {"backlite: one above the limit",
         [&] { return int(HM_VD_MC_check_backlite(HM_VD_MC_MAX_OBJECTS + 1, one)); }, 0},
        {"backlite: unfitting count", [&] { return int(HM_VD_MC_check_backlite(kUnfittingCount, one)); }, 0},
        {"backlite: a dead face", [&] { return int(HM_VD_MC_check_backlite(1, dead_one)); }, 0},
        {"backlite: an edge for a face", [&] { return int(HM_VD_MC_check_backlite(1, one)); }, 0},
    };
    ExpectAllRefused(cases);
    for (tag_t t : {glass, line}) EXPECT_EQ(HM_OBJ_ask_status(t), HM_OBJ_ALIVE);
}

TEST_F(MirrorHostileInputTest, TheRunRefusesRecordsEyesAndSurfacesThatAreNotFinite) {
    const tag_t glass = sedan::convex_patch(190.0, 120.0);
    ASSERT_EQ(Init(sedan::driver_input(glass)), 0);
    mc_outside_result_s& o = *data_.outside;
    double matrix[12], prime[3], eyes[3][3] = {{1290, -402.5, 1158}, {1290, -370, 1158}, {1290, -337.5, 1158}};
    tag_t rotated = 0;
    mc_mirror_surface_record surface = sphere_mirror();
    // Each row spoils one number of the record for its call and puts it back.
    auto spoiled = [&](double* value, double bad, const std::function<int()>& call) {
        const double kept = *value;
        *value = bad;
        const int status = call();
        *value = kept;
        return status;
    };
    auto process = [&] { return HM_VD_MC_process(&data_); };
    auto outside = [&] { return HM_VD_MC_apf_process_outside(&data_); };
    auto position = [&] {
        return HM_VD_MC_pro_position_outside_mirror(&data_, &o, &surface, matrix, &rotated, prime, eyes);
    };
    auto analysis = [&] { return HM_VD_MC_pro_outside_analysis(&data_, &surface, eyes); };
    const std::vector<Hostile> cases = {
        {"process: NaN prime point", [&] { return spoiled(&data_.prime_point[0], kNaN, process); }, -1},
        {"process: infinite ground point", [&] { return spoiled(&data_.ground_point[2], kInf, process); }, -1},
        {"process: NaN distance tolerance", [&] { return spoiled(&data_.distance_tolerance, kNaN, process); }, -1},
        {"process: NaN vehicle orientation",
         [&] { return spoiled(&data_.vehicle_orientation[0], kNaN, process); }, -1},
        {"outside: NaN mirror reference point",
         [&] { return spoiled(&data_.mirror_reference_point[1], kNaN, outside); }, -1},
        {"outside: infinite left eye", [&] { return spoiled(&o.left_eye[0], kInf, outside); }, -1},
        {"outside: null record", [&] { return HM_VD_MC_apf_process_outside(nullptr); }, -1},
        {"position: NaN surface normal", [&] { return spoiled(&surface.normal[1], kNaN, position); }, -1},
        {"position: infinite curvature", [&] { return spoiled(&surface.curvature, kInf, position); }, -1},
        {"position: NaN head pivot", [&] { return spoiled(&o.pivot[2], kNaN, position); }, -1},
        {"position: NaN prime point", [&] { return spoiled(&data_.prime_point[2], kNaN, position); }, -1},
        {"position: null surface",
         [&] { return HM_VD_MC_pro_position_outside_mirror(&data_, &o, nullptr, matrix, &rotated, prime, eyes); },
         -1},
        {"position: null outputs",
         [&] { return HM_VD_MC_pro_position_outside_mirror(&data_, &o, &surface, nullptr, nullptr, nullptr, nullptr); },
         -1},
        {"analysis: NaN eye", [&] { return spoiled(&eyes[1][0], kNaN, analysis); }, -1},
        {"analysis: NaN surface vertex", [&] { return spoiled(&surface.vertex[0], kNaN, analysis); }, -1},
        {"analysis: infinite target point",
         [&] { return spoiled(&data_.first_target_point[1], -kInf, analysis); }, -1},
        {"analysis: null eyes", [&] { return HM_VD_MC_pro_outside_analysis(&data_, &surface, nullptr); }, -1},
    };
    ExpectAllRefused(cases);
    EXPECT_EQ(rotated, NULL_TAG);
    EXPECT_EQ(HM_OBJ_ask_status(glass), HM_OBJ_ALIVE);
    EXPECT_EQ(data_.message_count, 0) << "a refused run raised warnings";
}

TEST_F(MirrorHostileInputTest, ARunOnADeadOrWrongMirrorFailsItsStageAndKeepsTheCallersObjects) {
    const tag_t line = host_testing::make_line({600, -1000, 1000}, {700, -1000, 1000});
    struct Case {
        const char* what;
        bool dead;
        int status;
    };
    const Case cases[] = {
        {"a dead mirror", true, 4},
        {"a line for the mirror", false, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HM_VD_MC_release_data(&data_);
        mc_input_data_t in = sedan::driver_input(c.dead ? DeadTag() : line);
        in.positioning = false;
        ASSERT_EQ(Init(in), 0);
        const int before = host_testing::count_objects();
        EXPECT_EQ(HM_VD_MC_process(&data_), c.status);
        HM_MODL_update();
        EXPECT_EQ(host_testing::count_objects(), before) << "the failed run left objects";
        EXPECT_EQ(HM_OBJ_ask_status(line), HM_OBJ_ALIVE);
    }
}

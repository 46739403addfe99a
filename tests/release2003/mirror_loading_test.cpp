// The 2003 mirror engine's vehicle loading: the pitch about the first loaded
// point and the drop from the reference height applied to the record's
// points and to moved copies of its sheets and lists, the eye ellipses of
// the loaded eyellipse, and the loadings that must fail with nothing moved.
#include "hm_vd_mc.h"
#include "r2003_mirror.h"

#include "host_fixture.h"
#include "sedan_driver.h"
#include "omvra.h"
#include "tessik.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using carvell::r2003::mc_apply_loading_2003;
using carvell::r2003::mc_create_eyellipse_rule;
using carvell::r2003::mc_eyellipse_params_s;
using support::Point3;
using support::expect_point;

using sedan_driver::kEyeAboveHeel;
using sedan_driver::kEyeX;

// The conic data of an ellipse: centre, semi-axes, axis directions.
struct Conic {
    Point3 centre;
    double a = 0, b = 0;
    Point3 a_dir, b_dir;
};
Conic conic_of(tag_t curve) {
    HM_CURVE_struct_p_t shape = nullptr;
    Conic c{};
    EXPECT_EQ(HM_CURVE_ask_curve_struct(curve, &shape), 0);
    int type = 0;
    double* v = nullptr;
    EXPECT_EQ(HM_CURVE_ask_curve_struct_data(shape, &type, &v), 0);
    HM_CURVE_free_curve_struct(shape);
    if (!v) return c;
    c = {{v[0], v[1], v[2]}, v[5], v[6], {v[11], v[12], v[13]}, {v[14], v[15], v[16]}};
    HM_free(v);
    return c;
}

Point3 point_of(tag_t point) {
    double p[3] = {};
    EXPECT_EQ(HM_CURVE_ask_point_data(point, p), 0);
    return {p[0], p[1], p[2]};
}

std::array<double, 6> box_of(tag_t object) {
    std::array<double, 6> box{};
    EXPECT_EQ(HM_MODL_ask_bounding_box(object, box.data()), 0);
    return box;
}

bool alive(tag_t object) { return object != NULL_TAG && HM_OBJ_ask_status(object) == HM_OBJ_ALIVE; }

// A loading given by the three points: G0 the reference height, G1 the pivot
// of the pitch, G2 the second loaded point.
struct Loading {
    Point3 g0, g1, g2;
};

// Where the loading carries a point: turned by atan((G2.z - G1.z) / (G2.x -
// G1.x)) about the y axis through G1 (right-handed: x towards -z), with the
// loading's own degree factor, then dropped by G0.z - G1.z.
Point3 loaded(const Loading& l, const Point3& p) {
    const double degrees = std::atan((l.g2[2] - l.g1[2]) / (l.g2[0] - l.g1[0])) * 57.29577319531843;
    const double a = degrees * support::kPi / 180.0;
    const double dx = p[0] - l.g1[0], dz = p[2] - l.g1[2];
    return {l.g1[0] + dx * std::cos(a) + dz * std::sin(a), p[1],
            l.g1[2] - dx * std::sin(a) + dz * std::cos(a) - (l.g0[2] - l.g1[2])};
}

// The driver mirror's glass and the backlite: planar sheets of a corner and
// two sides.
const Point3 kMirrorCorner = {600, -1050, 950}, kMirrorU = {100, 0, 0}, kMirrorV = {0, 0, 100};
const Point3 kBackliteCorner = {2500, -500, 1000}, kBackliteU = {0, 1000, 0}, kBackliteV = {500, 0, 400};

class Release2003MirrorLoadingTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        mirror_ = host_testing::make_planar_sheet(kMirrorCorner.data(), kMirrorU.data(), kMirrorV.data());
        backlite_ = host_testing::make_planar_sheet(kBackliteCorner.data(), kBackliteU.data(), kBackliteV.data());
        bezel_[0] = support::new_line(600, -1050, 950, 700, -1050, 950);
        bezel_[1] = support::new_line(700, -1050, 950, 700, -1050, 1050);
        em_ = support::new_point(1500, -600, 1100);
        mt_ = support::new_line(3000, -900, 0, 23000, -900, 0);
    }
    void TearDown() override {
        if (initialised_) HM_VD_MC_release_data(&data_);
        HostTest::TearDown();
    }

    // Initialises the record of a driver mirror: eye points of the user
    // (standard 1) or of the eyellipse "root:EYE:" (standard 0).
    void init(int standard, const Loading& l, const char* eyellipse = "root:EYE:") {
        mc_input_data_2003_t in{};
        in.mirror_kind = 1;
        in.standard = standard;
        in.eyellipse_name = eyellipse;
        const double eye[3] = {1250, -370, 520}, pivot[3] = {650, -950, 1000}, prime[3] = {650, -1000, 1000};
        std::memcpy(in.eye_reference_point, eye, sizeof eye);
        std::memcpy(in.pivot_point, pivot, sizeof pivot);
        std::memcpy(in.prime_point, prime, sizeof prime);
        in.mirror_sheet = mirror_;
        in.backlite_sheet = backlite_;
        in.bezel_count = 2;
        in.bezel_curves = bezel_;
        in.em_restriction_count = 1;
        in.em_restrictions = &em_;
        in.mt_restriction_count = 1;
        in.mt_restrictions = &mt_;
        in.loading = true;
        for (int k = 0; k < 3; ++k) {
            in.loading_vectors[0][k] = l.g0[k];
            in.loading_vectors[1][k] = l.g1[k];
            in.loading_vectors[2][k] = l.g2[k];
        }
        ASSERT_EQ(HM_VD_MC_init_data(&in, &data_), 0);
        initialised_ = true;
    }

    void make_eyellipse() {
        const mc_eyellipse_params_s p = sedan_driver::params("EYE");
        ASSERT_EQ(mc_create_eyellipse_rule("root:EYE:", &p), 0);
    }

    static void expect_sheet_at(tag_t sheet, const Loading& l, const Point3& corner, const Point3& u,
                                const Point3& v, double tolerance) {
        const Point3 c = loaded(l, corner), cu = loaded(l, {corner[0] + u[0], corner[1] + u[1], corner[2] + u[2]}),
                     cv = loaded(l, {corner[0] + v[0], corner[1] + v[1], corner[2] + v[2]});
        const double lu[3] = {cu[0] - c[0], cu[1] - c[1], cu[2] - c[2]}, lv[3] = {cv[0] - c[0], cv[1] - c[1],
                                                                                   cv[2] - c[2]};
        const tag_t reference = host_testing::make_planar_sheet(c.data(), lu, lv);
        const auto want = box_of(reference), got = box_of(sheet);
        for (int k = 0; k < 6; ++k) EXPECT_NEAR(got[k], want[k], tolerance) << "box value " << k;
        EXPECT_EQ(HM_OBJ_delete_object(reference), 0);
    }

    // Every object of the record is a new copy of its original where the
    // loading carries the original.
    void expect_loaded_copies(const Loading& l, double tolerance) {
        ASSERT_TRUE(alive(data_.mirror_sheet));
        EXPECT_NE(data_.mirror_sheet, mirror_);
        EXPECT_EQ(data_.caller_mirror_sheet, mirror_);
        ASSERT_TRUE(alive(data_.backlite_sheet));
        EXPECT_NE(data_.backlite_sheet, backlite_);
        EXPECT_EQ(data_.backlite_copy, backlite_);
        // Each sheet's copy spans the box of the same sheet made at the
        // loaded corners.
        expect_sheet_at(data_.mirror_sheet, l, kMirrorCorner, kMirrorU, kMirrorV, tolerance);
        expect_sheet_at(data_.backlite_sheet, l, kBackliteCorner, kBackliteU, kBackliteV, tolerance);
        const std::vector<tag_t> bezels = support::list_items(data_.bezel_curves);
        ASSERT_EQ(bezels.size(), 2u);
        for (int i = 0; i < 2; ++i) {
            EXPECT_NE(bezels[i], bezel_[i]);
            for (double t : {0.0, 1.0})
                expect_point(support::curve_point(bezels[i], t).data(),
                            loaded(l, support::curve_point(bezel_[i], t)), tolerance);
        }
        const std::vector<tag_t> em = support::list_items(data_.em_restrictions);
        ASSERT_EQ(em.size(), 1u);
        EXPECT_NE(em[0], em_);
        expect_point(point_of(em[0]).data(), loaded(l, point_of(em_)), tolerance);
        const std::vector<tag_t> mt = support::list_items(data_.mt_restrictions);
        ASSERT_EQ(mt.size(), 1u);
        EXPECT_NE(mt[0], mt_);
        expect_point(support::curve_point(mt[0], 1.0).data(), loaded(l, support::curve_point(mt_, 1.0)), tolerance);
        // The originals stay where they were, and the copy lists keep them.
        EXPECT_EQ(support::list_items(data_.bezel_copy), std::vector<tag_t>(bezel_, bezel_ + 2));
        EXPECT_EQ(support::list_items(data_.em_copy), std::vector<tag_t>{em_});
        EXPECT_EQ(support::list_items(data_.mt_copy), std::vector<tag_t>{mt_});
        expect_point(point_of(em_).data(), {1500, -600, 1100}, 0.0);
        // The points move; the unloaded ones are kept in the copies.
        expect_point(data_.eye_reference_copy, {1250, -370, 520}, 0.0);
        expect_point(data_.start_pivot, {650, -950, 1000}, 0.0);
        expect_point(data_.start_prime, {650, -1000, 1000}, 0.0);
        expect_point(data_.eye_reference, loaded(l, {1250, -370, 520}), tolerance);
        expect_point(data_.pivot, loaded(l, {650, -950, 1000}), tolerance);
        expect_point(data_.prime, loaded(l, {650, -1000, 1000}), tolerance);
    }

    mc_data_2003_s data_{};
    bool initialised_ = false;
    tag_t mirror_ = 0, backlite_ = 0, em_ = 0, mt_ = 0;
    tag_t bezel_[2] = {};
};

// Loading points at one height (within the distance tolerance), or a
// record without the loading flag, move nothing, yet every object is still
// replaced by a copy.
TEST_F(Release2003MirrorLoadingTest, NoPitchAndNoDropStillReplaceEveryObjectByACopy) {
    struct Case {
        const char* what;
        bool loading;
        Loading l;
    } cases[] = {
        // G2 straight above G1 is no fault when no pitch is needed.
        {"one height", true, {{0, 0, 300}, {1000, 0, 300.004}, {1000, 0, 299.996}}},
        {"loading off", false, {{0, 0, 300}, {1000, 0, 250}, {3800, 0, 200}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        init(1, c.l);
        data_.loading = c.loading ? 1 : 0;
        ASSERT_EQ(mc_apply_loading_2003(&data_), 0);
        const Loading identity{{0, 0, 0}, {0, 0, 0}, {1, 0, 0}};
        expect_loaded_copies(identity, 1e-9);
        HM_VD_MC_release_data(&data_);
        initialised_ = false;
    }
}

// G1 and G2 at the axles 2800 apart: the rear 30 lower pitches the vehicle
// about G1 with no drop when G0 is at G1's height; G0 10 above both drops it
// by 10 with no pitch; and both together.
TEST_F(Release2003MirrorLoadingTest, ThePitchTurnsAboutG1AndTheDropOfG0ShiftsDown) {
    struct Case {
        const char* what;
        Loading l;
    } cases[] = {
        {"pitch", {{0, 0, 300}, {1000, 0, 300}, {3800, 0, 270}}},
        {"drop", {{0, 0, 310}, {1000, 0, 300}, {3800, 0, 300}}},
        {"pitch and drop", {{0, 0, 310}, {1000, 0, 300}, {3800, 0, 270}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        init(1, c.l);
        ASSERT_EQ(mc_apply_loading_2003(&data_), 0);
        expect_loaded_copies(c.l, 1e-9);
        HM_VD_MC_release_data(&data_);
        initialised_ = false;
    }
    // The known answer of one point, worked by hand: the pitch of -30 over
    // 2800 turns the point 2800 behind G1 up by 2800 sin(atan(30 / 2800)),
    // less 3.3e-6 for the loading's degree factor (the records above are
    // held to it within 1e-9).
    const Point3 p = loaded(cases[0].l, {3800, 0, 300});
    const double s = std::sin(std::atan(30.0 / 2800.0));
    EXPECT_NEAR(p[2], 300.0 + 2800.0 * s - 3.3e-6, 1e-7);
    EXPECT_NEAR(p[0], 1000.0 + 2800.0 * std::sqrt(1 - s * s), 1e-7);
}

// With eye points from the eyellipse the two eye ellipses are those of a
// copy of it with the loaded hip and heel points, drawn about its loaded
// eye centroids; the copy itself is gone afterwards and "loading_mark" stays.
TEST_F(Release2003MirrorLoadingTest, TheEyeEllipsesAreThoseOfTheLoadedEyellipse) {
    make_eyellipse();
    const Loading l{{0, 0, 310}, {1000, 0, 300}, {3800, 0, 270}};
    init(0, l);
    const tag_t before[2] = {data_.first_ellipse, data_.second_ellipse};
    ASSERT_TRUE(alive(before[0]) && alive(before[1]));
    const int instances = host_testing::count_rule_instances();
    const int marks = host_testing::undo_mark_count();

    ASSERT_EQ(mc_apply_loading_2003(&data_), 0);
    EXPECT_FALSE(alive(before[0]));
    EXPECT_FALSE(alive(before[1]));
    ASSERT_TRUE(alive(data_.first_ellipse));
    ASSERT_TRUE(alive(data_.second_ellipse));
    // The eye centroids rest on the heel point (turned and dropped with the
    // vehicle) and on the pedal reference point (not moved); y is the hip's.
    const Point3 heel = loaded(l, {880.0, -370.0, 250.0});
    const double eye_z = heel[2] + kEyeAboveHeel;
    const Point3 centres[2] = {{kEyeX, -402.5, eye_z}, {kEyeX, -337.5, eye_z}};
    const tag_t ellipses[2] = {data_.first_ellipse, data_.second_ellipse};
    for (int i = 0; i < 2; ++i) {
        const Conic c = conic_of(ellipses[i]);
        expect_point(c.centre.data(), centres[i], 1e-6);
        EXPECT_NEAR(c.a, 103.2, 1e-9);
        EXPECT_NEAR(c.b, 30.15, 1e-9);
    }
    EXPECT_LT(eye_z, 1158.0 - 10.0) << "the heel point comes down with the rear";
    // The instance is as it was; its copy is gone; the mark stays.
    EXPECT_EQ(host_testing::count_rule_instances(), instances);
    EXPECT_FALSE(VD_is_instance_of_class("root:", "EYE_copy", VD_EYELLIPSE_CLASS));
    mc_eyellipse_params_s unloaded{};
    ASSERT_EQ(carvell::r2003::mc_read_eyellipse_params("root:EYE:", &unloaded), 0);
    EXPECT_EQ(unloaded.hip_point_z, 520.0);
    EXPECT_EQ(unloaded.heel_point_z, 250.0);
    EXPECT_EQ(host_testing::undo_mark_count(), marks + 1);
    expect_point(data_.eye_reference, loaded(l, {1250, -370, 520}), 1e-9);
}

// The copy is made as "root:EYE_copy:": an instance standing where the
// copy's rule "Name" goes stops its creation (the loading fails with the
// host's code and nothing moved); one under a near name does not.
TEST_F(Release2003MirrorLoadingTest, TheCopyOfRootEyeIsNamedRootEyeCopy) {
    make_eyellipse();
    const Loading l{{0, 0, 310}, {1000, 0, 300}, {3800, 0, 300}};
    const char* const kOther = "%kw_other";
    for (const char* near : {"EYE_copy2", "EYEcopy", "EYE_cop"}) {
        SCOPED_TRACE(near);
        ASSERT_NE(host_testing::make_rule_instance("root:", near, kOther), 0u);
        ASSERT_NE(host_testing::make_rule_instance((std::string("root:") + near + ":").c_str(), "Name", kOther), 0u);
    }
    init(0, l);
    ASSERT_EQ(mc_apply_loading_2003(&data_), 0);
    HM_VD_MC_release_data(&data_);
    initialised_ = false;

    ASSERT_NE(host_testing::make_rule_instance("root:", "EYE_copy", kOther), 0u);
    ASSERT_NE(host_testing::make_rule_instance("root:EYE_copy:", "Name", kOther), 0u);
    init(0, l);
    const mc_data_2003_s before = data_;
    const int objects = host_testing::count_objects();
    const int instances = host_testing::count_rule_instances();
    EXPECT_EQ(mc_apply_loading_2003(&data_), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(std::memcmp(&data_, &before, sizeof data_), 0) << "nothing moved";
    EXPECT_EQ(host_testing::count_objects(), objects);
    EXPECT_EQ(host_testing::count_rule_instances(), instances);
    EXPECT_TRUE(VD_is_instance_of_class("root:", "EYE_copy", kOther)) << "the user's instance stays";
}

// Eye points of the user, or no eyellipse named: the ellipses the record
// holds are not touched.
TEST_F(Release2003MirrorLoadingTest, WithoutTheEyellipseTheEllipsesAreNotTouched) {
    make_eyellipse();
    const Loading l{{0, 0, 310}, {1000, 0, 300}, {3800, 0, 270}};
    struct Case {
        const char* what;
        int standard;
        const char* eyellipse;
    } cases[] = {{"user eye points", 1, "root:EYE:"}, {"no eyellipse named", 0, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        init(c.standard, l, c.eyellipse);
        const tag_t first = host_testing::make_ellipse({1290, -402.5, 1158}, 103.2, 30.15);
        const tag_t second = host_testing::make_ellipse({1290, -337.5, 1158}, 103.2, 30.15);
        data_.first_ellipse = first;
        data_.second_ellipse = second;
        const int instances = host_testing::count_rule_instances();
        ASSERT_EQ(mc_apply_loading_2003(&data_), 0);
        EXPECT_EQ(data_.first_ellipse, first);
        EXPECT_EQ(data_.second_ellipse, second);
        EXPECT_TRUE(alive(first) && alive(second));
        expect_point(conic_of(first).centre.data(), {1290, -402.5, 1158}, 0.0);
        EXPECT_EQ(host_testing::count_rule_instances(), instances);
        expect_loaded_copies(l, 1e-9);
        HM_VD_MC_release_data(&data_);
        initialised_ = false;
    }
}

// A loading that cannot be worked out leaves the record and the part as
// they were: a pitch needed while G2 stands straight above G1, an
// eyellipse that is not there or lacks an attribute, a point that is not a
// number, no record.
TEST_F(Release2003MirrorLoadingTest, ALoadingThatCannotBeWorkedOutMovesNothing) {
    make_eyellipse();
    host_testing::RuleTexts partial;
    for (const char* rule : {"Population_Percentile", "Transmission_Type", "PRP_X", "Chair_Height", "PRP_SWC_Length",
                             "Heel_Point_Z", "Hip_Point_Y"})
        partial.push_back({rule, host_testing::rule_text((std::string("root:EYE:") + rule + ":").c_str())});
    ASSERT_NE(host_testing::make_rule_instance("root:", "PART", VD_EYELLIPSE_CLASS, partial), 0u);
    struct Case {
        const char* what;
        int standard;
        const char* eyellipse;
        Loading l;
        int code;   // 1: any but 0
    } cases[] = {
        {"G2 above G1 with a pitch", 1, "root:EYE:", {{0, 0, 310}, {1000, 0, 300}, {1000.005, 0, 270}}, -1},
        {"G2 above G1 with a drop", 0, "root:EYE:", {{0, 0, 310}, {1000, 0, 300}, {1000, 0, 300}}, -1},
        {"no such eyellipse", 0, "root:NOWHERE:", {{0, 0, 310}, {1000, 0, 300}, {3800, 0, 270}}, 1},
        {"an eyellipse of the ellipsoid's parameters alone", 0, "root:PART:", {{0, 0, 310}, {1000, 0, 300}, {3800, 0, 270}}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Made with the sedan's eyellipse, then pointed at the one of the case.
        init(c.standard, c.l);
        data_.eyellipse_name = c.eyellipse;
        const mc_data_2003_s before = data_;
        const int objects = host_testing::count_objects();
        const int instances = host_testing::count_rule_instances();
        const int result = mc_apply_loading_2003(&data_);
        if (c.code == 1) EXPECT_NE(result, 0);
        else EXPECT_EQ(result, c.code);
        EXPECT_EQ(std::memcmp(&data_, &before, sizeof data_), 0) << "the record is as it was";
        EXPECT_EQ(host_testing::count_objects(), objects);
        EXPECT_EQ(host_testing::count_rule_instances(), instances);
        HM_VD_MC_release_data(&data_);
        initialised_ = false;
    }
    init(1, {{0, 0, 310}, {1000, 0, 300}, {3800, 0, 270}});
    data_.loading_vectors[2][0] = std::numeric_limits<double>::quiet_NaN();
    const int objects = host_testing::count_objects();
    EXPECT_EQ(mc_apply_loading_2003(&data_), -1);
    EXPECT_EQ(host_testing::count_objects(), objects);
    EXPECT_EQ(mc_apply_loading_2003(nullptr), -1);
}

// A copy that fails returns the host's code. The mirror's: the points are
// moved but no list; a restriction's: the lists before it are loaded, its
// own keeps its objects with no copy left over, and the one after it is
// not touched.
TEST_F(Release2003MirrorLoadingTest, AFailedCopyReturnsTheHostsCode) {
    const Loading l{{0, 0, 310}, {1000, 0, 300}, {3800, 0, 270}};
    init(1, l);
    ASSERT_EQ(HM_OBJ_delete_object(mirror_), 0);
    const int objects = host_testing::count_objects();
    EXPECT_NE(mc_apply_loading_2003(&data_), 0);
    EXPECT_EQ(data_.mirror_sheet, mirror_);
    expect_point(data_.pivot, loaded(l, {650, -950, 1000}), 1e-9);
    EXPECT_EQ(support::list_items(data_.bezel_curves), std::vector<tag_t>(bezel_, bezel_ + 2));
    EXPECT_EQ(host_testing::count_objects(), objects);
    HM_VD_MC_release_data(&data_);
    initialised_ = false;

    mirror_ = support::new_point(650, -1000, 1000);
    const tag_t gone = support::new_point(0, 0, 0);
    const tag_t em[2] = {em_, gone};
    init(1, l);
    for (hm_list_p_t* list : {&data_.em_restrictions, &data_.em_copy}) {
        ASSERT_EQ(HM_MODL_delete_list(list), 0);
        *list = support::make_list({em_, gone});
    }
    ASSERT_EQ(HM_OBJ_delete_object(gone), 0);
    const int before = host_testing::count_objects();
    EXPECT_NE(mc_apply_loading_2003(&data_), 0);
    // The mirror point, the backlite (a sheet's copy counts as two objects)
    // and the two bezel curves were copied; no copy is left of the
    // restriction copied before the failing one.
    EXPECT_EQ(host_testing::count_objects(), before + 5);
    EXPECT_NE(support::list_items(data_.bezel_curves), std::vector<tag_t>(bezel_, bezel_ + 2));
    EXPECT_EQ(support::list_items(data_.em_restrictions), std::vector<tag_t>(em, em + 2));
    EXPECT_EQ(support::list_items(data_.mt_restrictions), std::vector<tag_t>{mt_});
}

}  // namespace

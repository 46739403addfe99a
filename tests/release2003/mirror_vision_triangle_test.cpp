// The vision-triangle test of the 2003 engine on a plane mirror worked by
// hand: the mirror x = 0 facing +x, the eyes at x = 1000, y = -32.5, 0, 32.5,
// the target plane x = 3000. The reflected rays come from the eye's image
// (-1000, ye, 0), so a point (x, y, z) in front of the mirror is seen on the
// target plane at (3000, ye + k (y - ye), k z) with k = 4000 / (x + 1000):
// k = 4 for a point on the glass, 4/3 for one at x = 2000. The glass |y|, |z|
// <= 100 gives the eyes' views y in [-400, 400] - 3 ye, z in [-400, 400]. The
// triangle is the rectangle |y| <= 300, |z| <= 200 on the target plane, inside
// both views: 240 000 mm2. The restriction images are closed splines through
// 128 points of the outline, whose corners bulge a little: their areas hold
// to 0.1 %.
#include "hm_vd_mc.h"
#include "r2003_mirror.h"

#include "host_fixture.h"
#include "test_helpers.h"

#include "hm_vd.h"
#include "omvra.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using carvell::r2003::mc_judge_vision_triangle;

constexpr double kTriangleArea = 600.0 * 400.0;
constexpr double kTargetX = 3000.0;
constexpr double kSeenX = 2000.0;   // restrictions seen in the mirror stand here: k = 4/3
constexpr int kColourEye0 = 11, kColourEye2 = 12;
constexpr double kImageShare = 1e-3;   // of an image's area, for its spline outline

// The rectangle y0 <= y <= y1, z0 <= z <= z1 in the plane x = x0.
tag_t rectangle_at(double x0, double y0, double y1, double z0, double z1) {
    const double corner[3] = {x0, y0, z0}, u[3] = {0, y1 - y0, 0}, v[3] = {0, 0, z1 - z0};
    return host_testing::make_planar_sheet(corner, u, v);
}

// Restrictions of the record: those seen in the mirror and those between the
// eyes and the mirror.
struct Restrictions {
    std::vector<tag_t> seen_in_mirror;
    std::vector<tag_t> on_mirror;
};

class Release2003VisionTriangleTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        eye0_view_ = rectangle_at(kTargetX, -302.5, 497.5, -400, 400);
        eye2_view_ = rectangle_at(kTargetX, -497.5, 302.5, -400, 400);
        triangle_ = rectangle_at(kTargetX, -300, 300, -200, 200);
        results_ = support::make_list({});
    }
    void TearDown() override {
        HM_MODL_delete_list(&results_);
        HM_VD_MC_release_data(&data_);
        HostTest::TearDown();
    }

    // The working record of a driver's outside mirror with user eye points.
    void MakeRecord(const Restrictions& restrictions = {}) {
        mc_input_data_2003_t in{};
        in.mirror_kind = 1;
        in.standard = 1;
        in.mt_restriction_count = static_cast<int>(restrictions.seen_in_mirror.size());
        in.mt_restrictions = restrictions.seen_in_mirror.data();
        in.em_restriction_count = static_cast<int>(restrictions.on_mirror.size());
        in.em_restrictions = restrictions.on_mirror.data();
        ASSERT_EQ(HM_VD_MC_init_data(&in, &data_), 0);
    }

    int Judge(tag_t second_eye0 = NULL_TAG, tag_t second_eye2 = NULL_TAG) {
        return mc_judge_vision_triangle(triangle_, eye0_view_, eye2_view_, second_eye0, second_eye2, kColourEye0,
                                        kColourEye2, &mirror_, &data_, eyes_, &target_x_, NULL_TAG, results_,
                                        &obstruction_, &result_);
    }

    std::vector<std::string> Messages() const {
        return std::vector<std::string>(data_.messages, data_.messages + data_.message_count);
    }

    static int Font(tag_t object) {
        int font = -1;
        EXPECT_EQ(HM_OBJ_ask_font(object, &font), 0);
        return font;
    }

    mc_data_2003_s data_{};
    const mc_mirror_surface_s mirror_{{0, 0, 0}, 0.0, 0.0, {0, 0, 0}, {1, 0, 0}};
    const double eyes_[3][3] = {{1000, -32.5, 0}, {1000, 0, 0}, {1000, 32.5, 0}};
    const double target_x_ = kTargetX;
    tag_t eye0_view_ = NULL_TAG, eye2_view_ = NULL_TAG, triangle_ = NULL_TAG;
    hm_list_p_t results_ = nullptr;
    double obstruction_ = -1.0;
    tag_t result_ = NULL_TAG;
};

TEST_F(Release2003VisionTriangleTest, WithoutRestrictionsTheTriangleInsideTheViewsIsNotObstructed) {
    MakeRecord();
    ASSERT_EQ(Judge(), 0);
    EXPECT_NEAR(obstruction_, 0.0, 1e-9);
    EXPECT_EQ(Messages(), std::vector<std::string>{"\nVision triangle is not obstructed."});
    ASSERT_NE(result_, NULL_TAG);
    EXPECT_NE(result_, triangle_);
    EXPECT_NEAR(host_testing::surface_area(result_), kTriangleArea, 1e-3);
    EXPECT_NEAR(host_testing::surface_area(triangle_), kTriangleArea, 1e-9);   // the input stays
    bool blanked = true;
    ASSERT_EQ(HM_OBJ_ask_blank_status(result_, &blanked), 0);
    EXPECT_FALSE(blanked);
    const std::vector<tag_t> faces = support::faces_of(result_);
    ASSERT_EQ(faces.size(), 1u);
    EXPECT_EQ(host_testing::grid_counts(faces[0]), (std::array<int, 2>{12, 12}));
    EXPECT_TRUE(support::list_items(results_).empty());
}

// The triangle reaching past both views (y up to 600, the eye 0 view ends at
// 497.5) keeps what the eyes see: its lost share is no "not obstructed".
TEST_F(Release2003VisionTriangleTest, TheTriangleIsCutToWhatTheEyesSeeInTheMirror) {
    triangle_ = rectangle_at(kTargetX, -300, 600, -200, 200);
    MakeRecord();
    ASSERT_EQ(Judge(), 0);
    const double kept = (497.5 + 300.0) * 400.0;
    EXPECT_NEAR(host_testing::surface_area(result_), kept, 1e-3);
    EXPECT_NEAR(obstruction_, (1.0 - kept / (900.0 * 400.0)) * 100.0, 1e-6);
    EXPECT_TRUE(Messages().empty());
}

// Each kernel call of the judgement failing in turn (the host's fault
// injection): a run that still answers 0 has the right obstruction, so no
// failed copy, union, slab or cut passes for success.
TEST_F(Release2003VisionTriangleTest, AFailingKernelCallIsNeverReportedAsSuccess) {
    triangle_ = rectangle_at(kTargetX, -300, 600, -200, 200);
    const double expected = (1.0 - (497.5 + 300.0) / 900.0) * 100.0;
    MakeRecord();
    const long before = host_testing::kernel_calls_made();
    ASSERT_EQ(Judge(), 0);
    const long calls = host_testing::kernel_calls_made() - before;
    ASSERT_GT(calls, 3);
    for (int n = 0; n < calls; ++n) {
        SCOPED_TRACE(n);
        HM_VD_MC_release_data(&data_);
        MakeRecord();
        obstruction_ = -1.0;
        host_testing::fail_kernel_call_after(n);
        const int status = Judge();
        host_testing::clear_kernel_fault();
        if (status == 0) EXPECT_NEAR(obstruction_, expected, 1e-6);
        else EXPECT_GT(status, 0);
    }
}

// Second views cut the triangle again, but only as a pair: the left half
// y <= 0 given for both eyes keeps half the triangle; given for one eye only,
// they are not used.
TEST_F(Release2003VisionTriangleTest, SecondViewsCutTheTriangleOnlyWhenBothAreGiven) {
    struct Case {
        const char* name;
        bool eye0, eye2;
        double obstruction;
    } cases[] = {{"both", true, true, 50.0}, {"eye 0 only", true, false, 0.0}, {"eye 2 only", false, true, 0.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeRecord();
        const tag_t half = rectangle_at(kTargetX, -400, 0, -400, 400);
        const tag_t other = rectangle_at(kTargetX, -400, 0, -400, 400);
        ASSERT_EQ(Judge(c.eye0 ? half : NULL_TAG, c.eye2 ? other : NULL_TAG), 0);
        EXPECT_NEAR(obstruction_, c.obstruction, 1e-6);
        HM_VD_MC_release_data(&data_);
    }
}

// A triangle beside both views (y from 600 to 800): status 100 with its
// message; the triangle comes back as it was given, a plain copy.
TEST_F(Release2003VisionTriangleTest, ATriangleOutsideTheViewsIsOutOfViewingRange) {
    triangle_ = rectangle_at(kTargetX, 600, 800, -200, 200);
    MakeRecord();
    for (tag_t body : {triangle_, eye0_view_, eye2_view_}) (void)support::faces_of(body);
    const int objects = host_testing::count_objects();
    ASSERT_EQ(Judge(), 100);
    EXPECT_EQ(obstruction_, 0.0);
    EXPECT_EQ(Messages(), std::vector<std::string>{"\nThe triangle is out of viewing range."});
    ASSERT_NE(result_, NULL_TAG);
    EXPECT_NEAR(host_testing::surface_area(result_), 200.0 * 400.0, 1e-6);
    EXPECT_NEAR(host_testing::volume(result_), 0.0, 1e-9);   // a sheet, not the slab
    // Neither the slab nor the union of the views is left.
    ASSERT_EQ(HM_OBJ_delete_object(result_), 0);
    ASSERT_EQ(HM_MODL_update(), 0);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

// A restriction |y|, |z| <= 30 seen in the mirror at x = 2000: each eye's
// image is y in [-40, 40] - ye / 3, z in [-40, 40], which each eye's visible
// area loses. The triangle keeps what either eye sees: it loses the overlap
// y in [-29.1667, 29.1667], 58.333 x 80.
TEST_F(Release2003VisionTriangleTest, ARestrictionSeenInTheMirrorHidesWhatBothEyesLose) {
    MakeRecord({{rectangle_at(kSeenX, -30, 30, -30, 30)}, {}});
    ASSERT_EQ(Judge(), 0);
    const double hidden = (80.0 - 65.0 / 3.0) * 80.0;
    EXPECT_NEAR(host_testing::surface_area(result_), kTriangleArea - hidden, kImageShare * hidden);
    EXPECT_NEAR(obstruction_, hidden / kTriangleArea * 100.0, kImageShare * hidden / kTriangleArea * 100.0);
    EXPECT_TRUE(Messages().empty());
    // Eye 0's images on the mirror and on the target plane, then eye 2's, in
    // the colours given; the target image of eye 0 is the 80 x 80 square.
    const std::vector<tag_t> images = support::list_items(results_);
    ASSERT_EQ(images.size(), 4u);
    const int colours[4] = {kColourEye0, kColourEye0, kColourEye2, kColourEye2};
    for (int i = 0; i < 4; ++i) {
        int colour = 0;
        ASSERT_EQ(HM_OBJ_ask_color(images[i], &colour), 0);
        EXPECT_EQ(colour, colours[i]) << i;
        EXPECT_EQ(Font(images[i]), 0) << i;
    }
    EXPECT_NEAR(host_testing::surface_area(images[1]), 80.0 * 80.0, kImageShare * 80.0 * 80.0);
    // The mirror image lies on the glass where eye 0 sees the restriction:
    // 60 x 60 scaled by (x + 1000) / 4000 = 1/3 at x = 0.
    EXPECT_NEAR(host_testing::surface_area(images[0]), 20.0 * 20.0, kImageShare * 20.0 * 20.0);
}

// Restrictions on the glass: each eye's image is y in 4 [y0, y1] - 3 ye,
// z in 4 [z0, z1]. A sticker |y| <= 50, |z| <= 20 casts images that overlap
// in 205 x 160; one of |y| <= 10 casts y in [57.5, 137.5] and [-137.5,
// -57.5], which do not overlap: one eye always sees past it.
TEST_F(Release2003VisionTriangleTest, ARestrictionOnTheGlassHidesOnlyTheOverlapOfTheEyesImages) {
    struct Case {
        double half_y;
        double hidden;
        std::vector<std::string> messages;
    } cases[] = {{50.0, 205.0 * 160.0, {}}, {10.0, 0.0, {"\nVision triangle is not obstructed."}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.half_y);
        MakeRecord({{}, {rectangle_at(0.0, -c.half_y, c.half_y, -20, 20)}});
        ASSERT_EQ(Judge(), 0);
        EXPECT_NEAR(obstruction_, c.hidden / kTriangleArea * 100.0, kImageShare * c.hidden / kTriangleArea * 100.0 + 1e-9);
        EXPECT_NEAR(host_testing::surface_area(result_), kTriangleArea - c.hidden, kImageShare * c.hidden + 1e-3);
        EXPECT_EQ(Messages(), c.messages);
        EXPECT_EQ(support::list_items(results_).size(), 4u);   // both eyes' images stay
        HM_MODL_delete_list(&results_);
        results_ = support::make_list({});
        HM_VD_MC_release_data(&data_);
    }
}

// A strip |y| <= 30 across the whole height seen in the mirror: each eye's
// image (z in [-533, 533]) would cut its visible area in two. Nothing is
// taken off; both target images are dotted with 12 x 12 grid lines and one
// message says so.
TEST_F(Release2003VisionTriangleTest, AStripThatWouldSplitTheViewsIsDrawnDottedInstead) {
    MakeRecord({{rectangle_at(kSeenX, -30, 30, -400, 400)}, {}});
    ASSERT_EQ(Judge(), 0);
    EXPECT_NEAR(obstruction_, 0.0, 1e-6);
    EXPECT_NEAR(host_testing::surface_area(result_), kTriangleArea, 1e-3);
    EXPECT_EQ(Messages(), std::vector<std::string>{"\nDotted sheets split vision triangle."});
    const std::vector<tag_t> images = support::list_items(results_);
    ASSERT_EQ(images.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const bool on_target = i % 2 == 1;
        EXPECT_EQ(Font(images[i]), on_target ? 5 : 0);
        const std::vector<tag_t> faces = support::faces_of(images[i]);
        ASSERT_EQ(faces.size(), 1u);
        EXPECT_EQ(host_testing::grid_counts(faces[0]), (on_target ? std::array<int, 2>{12, 12}
                                                                  : std::array<int, 2>{0, 0}));
    }
}

// A strip on the glass, |y| <= 50 across the glass height: the overlap of the
// eyes' images (|y| <= 102.5) runs across the triangle and would cut it in
// two, so both target images are dotted.
TEST_F(Release2003VisionTriangleTest, AGlassStripThatWouldSplitTheTriangleIsDrawnDotted) {
    MakeRecord({{}, {rectangle_at(0.0, -50, 50, -100, 100)}});
    ASSERT_EQ(Judge(), 0);
    EXPECT_NEAR(obstruction_, 0.0, 1e-6);
    EXPECT_EQ(Messages(), std::vector<std::string>{"\nDotted sheets split vision triangle."});
    const std::vector<tag_t> images = support::list_items(results_);
    ASSERT_EQ(images.size(), 4u);
    EXPECT_EQ(Font(images[1]), 5);
    EXPECT_EQ(Font(images[3]), 5);
}

// What stays in the part is the remaining triangle and the restriction
// images; the slabs, unions, copies and overlaps are gone, and a mark the
// caller set stays.
TEST_F(Release2003VisionTriangleTest, NothingButTheTriangleAndTheImagesIsLeftInThePart) {
    const tag_t seen = rectangle_at(kSeenX, -30, 30, -30, 30);
    const tag_t on_glass = rectangle_at(0.0, -50, 50, -20, 20);
    const tag_t strip = rectangle_at(kSeenX, 100, 130, -400, 400);
    MakeRecord({{seen, strip}, {on_glass}});
    // The inputs' faces and edges get their tags before the count.
    for (tag_t body : {seen, on_glass, strip, triangle_, eye0_view_, eye2_view_}) {
        (void)support::faces_of(body);
        (void)support::edges_of(body);
    }
    int mark = 0;
    ASSERT_EQ(HM_UNDO_set_mark(1, "loading_mark", &mark), 0);
    const int marks = host_testing::undo_mark_count();
    const int objects = host_testing::count_objects();
    ASSERT_EQ(Judge(), 0);
    EXPECT_GT(obstruction_, 0.0);
    EXPECT_EQ(host_testing::undo_mark_count(), marks);
    const std::vector<tag_t> images = support::list_items(results_);
    EXPECT_EQ(images.size(), 12u);
    for (tag_t image : images) ASSERT_EQ(HM_OBJ_delete_object(image), 0);
    ASSERT_EQ(HM_OBJ_delete_object(result_), 0);
    ASSERT_EQ(HM_MODL_update(), 0);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

// Bad input: a null argument is refused before anything is made; a triangle
// that cannot be copied is status 3, one without area status 1.
TEST_F(Release2003VisionTriangleTest, BadInputReturnsAStatusAndBuildsNothing) {
    MakeRecord();
    for (tag_t body : {triangle_, eye0_view_, eye2_view_}) (void)support::faces_of(body);
    const int objects = host_testing::count_objects();
    double obstruction = -1.0;
    tag_t result = 1;
    const mc_mirror_surface_s* mirror = &mirror_;
    const double* target_x = &target_x_;
    struct Case {
        const char* name;
        const mc_mirror_surface_s* surface;
        mc_data_2003_s* data;
        const double (*eyes)[3];
        const double* target_x;
        hm_list_p_t results;
        double* obstruction;
        tag_t* result;
    } cases[] = {
        {"surface", nullptr, &data_, eyes_, target_x, results_, &obstruction, &result},
        {"record", mirror, nullptr, eyes_, target_x, results_, &obstruction, &result},
        {"eyes", mirror, &data_, nullptr, target_x, results_, &obstruction, &result},
        {"target x", mirror, &data_, eyes_, nullptr, results_, &obstruction, &result},
        {"result list", mirror, &data_, eyes_, target_x, nullptr, &obstruction, &result},
        {"obstruction", mirror, &data_, eyes_, target_x, results_, nullptr, &result},
        {"triangle out", mirror, &data_, eyes_, target_x, results_, &obstruction, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(mc_judge_vision_triangle(triangle_, eye0_view_, eye2_view_, NULL_TAG, NULL_TAG, 1, 2, c.surface,
                                           c.data, c.eyes, c.target_x, NULL_TAG, c.results, c.obstruction,
                                           c.result),
                  -1);
        if (c.result) EXPECT_EQ(result, NULL_TAG);
        EXPECT_EQ(host_testing::count_objects(), objects);
        EXPECT_EQ(data_.message_count, 0);
    }

    triangle_ = NULL_TAG;
    EXPECT_EQ(Judge(), 3);
    EXPECT_EQ(result_, NULL_TAG);
    EXPECT_EQ(host_testing::count_objects(), objects);

    // A line has no area to judge.
    triangle_ = support::new_line(kTargetX, 0, 0, kTargetX, 100, 0);
    EXPECT_EQ(Judge(), 1);
    EXPECT_EQ(obstruction_, 0.0);
    EXPECT_TRUE(Messages().empty());
}

}  // namespace

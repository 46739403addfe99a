// Vision restrictions on a plane mirror worked by hand: the mirror x = 0
// (glass |y|, |z| <= 100), eyes at x = 1000, y = -32.5, 0, 32.5, the target
// plane x = 3000. A sight ray from eye (1000, ye, 0) to the glass point
// (0, y, z) reaches the target plane at (3000, 4y - 3ye, 4z); a point seen
// in the mirror lies where it is. The vision sheet is |y| <= 300, |z| <= 200
// on the target plane (240 000 mm2), within both eyes' fields.
#include "host_fixture.h"
#include "host_testing.h"
#include "mirror_fixtures.h"
#include "mirror_helpers.h"
#include "mirror_record.h"
#include "mirror_restrictions.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace carvell::mirror;

constexpr double kVisionArea = 600.0 * 400.0;

// A rectangle in the plane x = x0: |y - yc| <= hy, |z - zc| <= hz.
tag_t sheet_at(double x0, double y0, double y1, double z0, double z1) {
    const double corner[3] = {x0, y0, z0}, u[3] = {0, y1 - y0, 0}, v[3] = {0, 0, z1 - z0};
    return host_testing::make_planar_sheet(corner, u, v);
}

class RestrictionTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        std::memset(static_cast<void*>(&data_), 0, sizeof data_);
        zero_fill(&data_);
        data_.warnings = build_warning_table();
        data_.messages = static_cast<char**>(SM_alloc(MC_MAX_MESSAGES * sizeof(char*)));
        data_.distance_tolerance = 0.01;
        data_.angle_tolerance = 0.05;
        data_.third_tolerance = 0.01;
        mirror_.normal[0] = 1.0;
        // The eyes' fields on the target plane: y in [-400, 400] - 3 ye, z in [-400, 400].
        eye0_ = sheet_at(3000, -302.5, 497.5, -400, 400);
        eye2_ = sheet_at(3000, -497.5, 302.5, -400, 400);
        vision_ = sheet_at(3000, -300, 300, -200, 200);
        ASSERT_EQ(HM_MODL_create_list(&results_), 0);
    }
    void TearDown() override {
        HM_MODL_delete_list(&results_);
        HM_MODL_delete_list(&data_.eye_mirror_restrictions);
        HM_MODL_delete_list(&data_.mirror_target_restrictions);
        for (int i = 0; i < data_.message_count; ++i) SM_free(data_.messages[i]);
        SM_free(data_.messages);
        free_warning_table(&data_.warnings);
        HostTest::TearDown();
    }
    int Restrict(double* lost, tag_t* result) {
        return mc_restrict_vision_sheet(vision_, eye0_, eye2_, 0, 0, 11, 12, &mirror_, &data_, eyes_, target_, 0,
                                        results_, lost, result);
    }
    std::vector<std::string> Messages() const {
        return std::vector<std::string>(data_.messages, data_.messages + data_.message_count);
    }
    void OnMirror(tag_t body) { data_.eye_mirror_restrictions = support::make_list({body}); }
    void SeenInMirror(tag_t body) { data_.mirror_target_restrictions = support::make_list({body}); }

    mc_data_s data_{};
    mc_mirror_surface_record mirror_{};
    const double eyes_[3][3] = {{1000, -32.5, 0}, {1000, 0, 0}, {1000, 32.5, 0}};
    const double target_[3] = {3000, 0, 0};
    tag_t eye0_ = 0, eye2_ = 0, vision_ = 0;
    hm_list_p_t results_ = nullptr;
};

TEST_F(RestrictionTest, NoRestrictionsKeepTheEyeFieldAndWarn) {
    double lost = -1;
    tag_t result = 0;
    ASSERT_EQ(Restrict(&lost, &result), 0);
    EXPECT_NEAR(lost, 0.0, 1e-6);
    EXPECT_NEAR(host_testing::surface_area(result), kVisionArea, 1e-3);
    ASSERT_EQ(data_.message_count, 1);
    EXPECT_EQ(Messages()[0], std::string(data_.warnings[kNoRestrictions]));
    // The inputs stay; only the result sheet is new.
    EXPECT_NEAR(host_testing::surface_area(vision_), kVisionArea, 1e-6);
    int u = 0, v = 0;
    ASSERT_EQ(hm5402(support::faces_of(result)[0], &u, &v), 0);
    EXPECT_EQ(u, 12);
    EXPECT_EQ(v, 12);
    EXPECT_TRUE(support::list_items(results_).empty());
}

TEST_F(RestrictionTest, TheEyeFieldCutsTheVisionSheetToWhatTheEyesSee) {
    // A vision sheet reaching past both fields (y up to 600): the part beyond
    // y = 497.5 is seen by neither eye.
    vision_ = sheet_at(3000, -300, 600, -200, 200);
    double lost = -1;
    tag_t result = 0;
    ASSERT_EQ(Restrict(&lost, &result), 0);
    const double kept = (497.5 + 300.0) * 400.0;
    EXPECT_NEAR(host_testing::surface_area(result), kept, 1e-3);
    EXPECT_NEAR(lost, (1.0 - kept / (900.0 * 400.0)) * 100.0, 1e-6);
    EXPECT_EQ(data_.message_count, 0);   // 11.4 % lost: no "no restrictions" warning
}

TEST_F(RestrictionTest, AStickerOnTheGlassTakesTheShadowNeitherEyeSeesPastIt) {
    // Sticker |y| <= 50, |z| <= 20 on the glass. Its shadows: y in [-102.5,
    // 297.5] (eye 0) and [-297.5, 102.5] (eye 2), z in [-80, 80]; in common
    // 205 x 160, a hole inside the vision sheet.
    OnMirror(sheet_at(0, -50, 50, -20, 20));
    double lost = -1;
    tag_t result = 0;
    ASSERT_EQ(Restrict(&lost, &result), 0);
    const double shadow = 205.0 * 160.0;
    EXPECT_NEAR(host_testing::surface_area(result), kVisionArea - shadow, 0.5);
    EXPECT_NEAR(lost, shadow / kVisionArea * 100.0, 1e-3);
    EXPECT_EQ(data_.message_count, 0);
    // Both eyes' sheets on the mirror and reflected, in the eyes' colours.
    const std::vector<tag_t> made = support::list_items(results_);
    ASSERT_EQ(made.size(), 4u);
    int colours[4];
    for (int i = 0; i < 4; ++i) ASSERT_EQ(HM_OBJ_ask_color(made[i], &colours[i]), 0);
    EXPECT_EQ(colours[0], 11);
    EXPECT_EQ(colours[3], 12);
}

TEST_F(RestrictionTest, AStripThatWouldSplitTheSheetIsDrawnDottedInstead) {
    // A strip across the whole glass height: its common shadow |y| <= 102.5
    // runs across the vision sheet and would cut it in two.
    OnMirror(sheet_at(0, -50, 50, -100, 100));
    double lost = -1;
    tag_t result = 0;
    ASSERT_EQ(Restrict(&lost, &result), 0);
    EXPECT_NEAR(host_testing::surface_area(result), kVisionArea, 1e-3);
    EXPECT_NEAR(lost, 0.0, 1e-6);
    ASSERT_EQ(data_.message_count, 1);
    EXPECT_EQ(Messages()[0], std::string(data_.warnings[kSplitRestrictions]));
    const std::vector<tag_t> made = support::list_items(results_);
    ASSERT_EQ(made.size(), 4u);
    for (tag_t reflected : {made[1], made[3]}) {
        int font = 0, u = 0, v = 0;
        ASSERT_EQ(HM_OBJ_ask_font(reflected, &font), 0);
        EXPECT_EQ(font, HM_FONT_DOTTED);
        ASSERT_EQ(hm5402(support::faces_of(reflected)[0], &u, &v), 0);
        EXPECT_EQ(u, 12);
    }
    int font = -1;
    ASSERT_EQ(HM_OBJ_ask_font(made[0], &font), 0);
    EXPECT_EQ(font, 0);   // the sheets on the mirror stay solid
}

TEST_F(RestrictionTest, ABoxSeenInTheMirrorTakesItsOwnArea) {
    // A 100 x 100 square in the target plane is its own reflection for both
    // eyes: the field keeps the vision sheet less the square.
    SeenInMirror(sheet_at(3000, -50, 50, -50, 50));
    double lost = -1;
    tag_t result = 0;
    ASSERT_EQ(Restrict(&lost, &result), 0);
    EXPECT_NEAR(host_testing::surface_area(result), kVisionArea - 10000.0, 0.5);
    EXPECT_NEAR(lost, 10000.0 / kVisionArea * 100.0, 1e-3);
    EXPECT_EQ(data_.message_count, 0);
    EXPECT_EQ(support::list_items(results_).size(), 4u);   // on the mirror and reflected, per eye
}

TEST_F(RestrictionTest, BadInputBuildsNothing) {
    const int objects = host_testing::count_objects();
    double lost = 0;
    tag_t result = 0;
    EXPECT_EQ(mc_restrict_vision_sheet(vision_, eye0_, eye2_, 0, 0, 1, 2, nullptr, &data_, eyes_, target_, 0, results_,
                                       &lost, &result),
              -1);
    EXPECT_EQ(mc_restrict_vision_sheet(vision_, eye0_, eye2_, 0, 0, 1, 2, &mirror_, &data_, eyes_, target_, 0,
                                       results_, &lost, nullptr),
              -1);
    // A vision sheet that is no sheet: the copy fails.
    EXPECT_EQ(mc_restrict_vision_sheet(0, eye0_, eye2_, 0, 0, 1, 2, &mirror_, &data_, eyes_, target_, 0, results_,
                                       &lost, &result),
              kRestrictCopy);
    EXPECT_EQ(result, 0u);
    EXPECT_EQ(host_testing::count_objects(), objects);
}

}  // namespace

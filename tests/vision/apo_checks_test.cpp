// The validity checks the A-pillar dialog asks while the user picks: a limit
// point at the pivot's height, limit geometry that the horizontal plane
// through the pivot cuts; the part left as it was.
#include "hm_vd_vision.h"
#include "vision_fixtures.h"

#include "omvra.h"
#include "tessik.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace {

using support::make_list;
using support::new_line;

// A left-hand drive eyellipse: the driver on side 1 (y < 0), pivot set one
// at z 1000, set two at z 1010; centroids at y -432.5, -400, -367.5.
VD_eyellipse_param_t left_hand_drive() {
    VD_eyellipse_param_t d{};
    const double centres[3][3] = {{902, -432.5, 1000}, {902, -400, 1000}, {902, -367.5, 1000}};
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k) d.centre[i][k] = centres[i][k];
    d.side_value = -400.0;
    for (int i = 0; i < 3; ++i) {
        d.axis_length[i][0] = 206.4;
        d.axis_length[i][1] = 60.3;
        d.axis_length[i][2] = 93.4;
        d.axis_dir[i][i] = 1.0;
    }
    const double first1[3] = {1000, -400, 1000}, second1[3] = {1000, 400, 1000};
    const double first2[3] = {1000, -400, 1010}, second2[3] = {1000, 400, 1010};
    d.pivot[0].present = d.pivot[1].present = 1;
    for (int k = 0; k < 3; ++k) {
        d.pivot[0].first[k] = first1[k];
        d.pivot[0].second[k] = second1[k];
        d.pivot[1].first[k] = first2[k];
        d.pivot[1].second[k] = second2[k];
    }
    return d;
}

class ApoCheckTest : public HostTest {
protected:
    void Remember() {
        objects_ = host_testing::count_objects();
        marks_ = host_testing::undo_mark_count();
    }
    void ExpectPartAsBefore() const {
        EXPECT_EQ(host_testing::count_objects(), objects_);
        EXPECT_EQ(host_testing::undo_mark_count(), marks_);
    }
    VD_eyellipse_param_t data_ = left_hand_drive();
    int objects_ = 0;
    int marks_ = 0;
};

TEST_F(ApoCheckTest, LimitPointMustLieAtThePivotHeightOfItsRuleSet) {
    // The distance tolerance is 0.01: half of it is the allowance.
    const double user_eye[3] = {950, -380, 1020};
    struct Case {
        const char* what;
        int rule_set, eye_point_mode;
        std::array<double, 3> limit;
        bool valid;
    };
    const Case cases[] = {
        {"set one, at its height", 0, 0, {400, -900, 1000.0}, true},
        {"set one, within half the tolerance", 0, 0, {400, -900, 1000.004}, true},
        {"set one, beyond it", 0, 0, {400, -900, 1000.006}, false},
        {"set two at set one's height", 2, 0, {400, -900, 1000.0}, false},
        {"set two, at its height", 2, 0, {400, -900, 1010.0}, true},
        {"other side: its pivot, same height", 0, 0, {400, 900, 1000.0}, true},
        {"user eye point", 0, 1, {400, -900, 1020.0}, true},
        {"user eye point, another height", 0, 1, {400, -900, 1000.0}, false},
    };
    Remember();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(HM_VD_APO_is_valid_limit_point(c.rule_set, c.eye_point_mode, &data_, 0, user_eye, c.limit.data()),
                  c.valid);
    }
    // Nothing to go on.
    const double limit[3] = {400, -900, 1000};
    EXPECT_FALSE(HM_VD_APO_is_valid_limit_point(0, 0, &data_, 0, user_eye, nullptr));
    EXPECT_FALSE(HM_VD_APO_is_valid_limit_point(0, 0, nullptr, 0, user_eye, limit));
    EXPECT_FALSE(HM_VD_APO_is_valid_limit_point(0, 1, &data_, 0, nullptr, limit));
    VD_eyellipse_param_t no_set = data_;
    no_set.pivot[0].present = 0;
    EXPECT_FALSE(HM_VD_APO_is_valid_limit_point(0, 0, &no_set, 0, user_eye, limit));
    ExpectPartAsBefore();
}

TEST_F(ApoCheckTest, LimitGeometryMustCrossThePivotPlane) {
    const tag_t crossing = new_line(400, -900, 900, 400, -900, 1100);
    const tag_t above = new_line(400, -900, 1001, 400, -900, 1100);
    const double corner[3] = {300, -1000, 950}, size[3] = {100, 100, 100};
    const tag_t block = host_testing::make_box(corner, size);
    const tag_t point = support::new_point(400, -900, 1000);
    struct Case {
        const char* what;
        int rule_set;
        std::vector<tag_t> geometry;
        bool valid;
    };
    const Case cases[] = {
        {"an edge through the plane", 0, {crossing}, true},
        {"an edge above it", 0, {above}, false},
        {"set two's plane at 1010 cuts the edge above set one's", 2, {above}, true},
        {"a body through the plane", 0, {block}, true},
        {"a point only: no curve", 0, {point}, false},
        {"one of several crossing", 0, {above, point, crossing}, true},
        {"nothing", 0, {}, false},
    };
    Remember();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        hm_list_p_t list = make_list(c.geometry);
        EXPECT_EQ(HM_VD_APO_is_valid_limit_geometry(c.rule_set, 0, &data_, 0, nullptr, list), c.valid);
        HM_MODL_delete_list(&list);
        ExpectPartAsBefore();
    }
    hm_list_p_t list = make_list({crossing});
    EXPECT_FALSE(HM_VD_APO_is_valid_limit_geometry(0, 0, &data_, 0, nullptr, nullptr));
    EXPECT_FALSE(HM_VD_APO_is_valid_limit_geometry(0, 0, nullptr, 0, nullptr, list));
    EXPECT_FALSE(HM_VD_APO_is_valid_limit_geometry(0, 1, &data_, 0, nullptr, list));
    HM_MODL_delete_list(&list);
    ExpectPartAsBefore();
}

}  // namespace

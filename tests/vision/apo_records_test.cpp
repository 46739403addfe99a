// The A-pillar obstruction records, the eyellipse check, E points and the
// failure messages.
#include "hm_vd_vision.h"
#include "vision_fixtures.h"

#include "quillon.h"
#include "sarnweld.h"
#include "tessik.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

namespace {

using support::make_list;
using support::new_line;

class ApoTest : public HostTest {};
class ApoInchTest : public InchHostTest {};

TEST_F(ApoTest, InitGlobalClearsTheRecordToAnIdentityCsys) {
    apo_input_t input;
    std::memset(&input, 0x5a, sizeof input);
    HM_VD_APO_init_global(&input);
    const double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(input.csys_matrix[i], identity[i]);
    EXPECT_EQ(input.rule_set, 0);
    EXPECT_EQ(input.eyellipse_name, nullptr);
    EXPECT_EQ(input.apillar_geometry, nullptr);
    EXPECT_EQ(input.sight_line_length, 0.0);
    HM_VD_APO_init_global(nullptr);
}

TEST_F(ApoTest, InitResultSetsOnlyTheTwoTrailingFlags) {
    apo_result_t result;
    std::memset(&result, 0x5a, sizeof result);
    HM_VD_APO_init_result_struct(&result);
    EXPECT_EQ(result.curves_present, 1);
    EXPECT_EQ(result.curves_present_second, 1);
    result.curves_present = result.curves_present_second = 0;
    apo_result_t zero;
    std::memset(&zero, 0, sizeof zero);
    EXPECT_EQ(std::memcmp(&result, &zero, sizeof zero), 0);
    HM_VD_APO_init_result_struct(nullptr);
}

TEST_F(ApoTest, FreeGlobalFreesTheBlocksAndDeletesListsButNotObjects) {
    apo_input_t input;
    HM_VD_APO_init_global(&input);
    input.eyellipse_name = SM_string_copy("EYE");
    input.eyellipse_data = static_cast<VD_eyellipse_param_s*>(SM_alloc(sizeof(VD_eyellipse_param_t)));
    const tag_t line = new_line(0, 0, 0, 1, 0, 0);
    input.apillar_geometry = make_list({line});
    input.limit_geometry = make_list({line});
    input.additional_geometry = make_list({line});
    HM_VD_APO_free_global(&input);
    EXPECT_EQ(input.eyellipse_name, nullptr);
    EXPECT_EQ(input.apillar_geometry, nullptr);
    EXPECT_EQ(HM_OBJ_ask_status(line), 3);
    HM_VD_APO_free_global(nullptr);
    ExpectNoLeaks();
}

TEST_F(ApoTest, EyellipseCheckNeedsTheInstanceAndThePivotSetOfTheRuleSet) {
    host_testing::EyellipseSpec spec = vision_test::distinct_eyellipse();
    spec.pivot_set_2 = false;
    ASSERT_NE(host_testing::make_eyellipse("EYE", spec), 0u);
    ASSERT_NE(host_testing::make_rule_instance("root:", "OTHER", "%kw_other"), 0u);
    const struct {
        const char* name;
        int rule_set, mode, expected;
    } cases[] = {
        {"EYE", 0, 0, 0},   {"root:EYE:", 0, 0, 0}, {"EYE", 2, 0, 2}, {"EYE", 2, 2, 0},
        {"EYE", 2, 1, 0},   {"NONE", 0, 0, 2},      {"OTHER", 0, 0, 2}, {nullptr, 0, 0, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name ? c.name : "(null)") + " rule set " + std::to_string(c.rule_set));
        EXPECT_EQ(HM_VD_APO_is_valid_eyellipse(c.name, c.rule_set, c.mode), c.expected);
    }
}

TEST_F(ApoTest, MessagesOfTheTableAndNoneForUnusedCodes) {
    for (int code : {0, 10, 21, 24, -1, 1000}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(HM_VD_APO_get_failmessage(code), nullptr);
    }
    const struct {
        int code;
        const char* text;
    } cases[] = {
        {2, "Invalid eyellipse selected."},
        {7, "The Selected A Pillar Geometry is invalid. No intersection curves exist\nbetween the geometry and cross "
            "plane through the eye point"},
        {14, "Unable to determine the outboard point position on the A-pillar\ncross section."},
        {20, "No work part."},
        {23, "Fail to get the section curves located in front of eye."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        char* text = HM_VD_APO_get_failmessage(c.code);
        ASSERT_NE(text, nullptr);
        EXPECT_STREQ(text, c.text);
        SM_free(text);
    }
    for (int code = 1; code <= 23; ++code) {
        char* text = HM_VD_APO_get_failmessage(code);
        EXPECT_EQ(text != nullptr, code != 10 && code != 21) << code;
        SM_free(text);
    }
}

TEST_F(ApoTest, DisplayShowsWarningsFromCode22AndErrorsBelow) {
    host_testing::clear_sinks();
    HM_VD_APO_display_failmessage(23);
    HM_VD_APO_display_failmessage(20);
    HM_VD_APO_display_failmessage(10);
    HM_VD_APO_display_failmessage(0);
    const auto& dialogs = host_testing::dialogs();
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0].title, "Warning");
    EXPECT_EQ(dialogs[0].kind, UI_MESSAGE_WARNING);
    ASSERT_EQ(dialogs[0].lines.size(), 1u);
    EXPECT_EQ(dialogs[0].lines[0], "Fail to get the section curves located in front of eye.");
    EXPECT_EQ(dialogs[1].title, "Error");
    EXPECT_EQ(dialogs[1].kind, UI_MESSAGE_ERROR);
}

// E points: d forward of the pivot (98 mm, or sqrt(9759.75) mm in modes 1
// and 2), 32.5 mm to the side; the head turns them about the pivot.
TEST_F(ApoTest, EPointsFromThePivotByModeSideAndHeadRotation) {
    const double P[3] = {1000.0, -400.0, 1200.0};
    const double d12 = std::sqrt(9759.75);
    const struct {
        int mode;
        unsigned char side;
        double a;
        double x, y;
    } cases[] = {
        {0, 1, 0.0, 902.0, -432.5},
        {0, 0, 0.0, 902.0, -367.5},
        {1, 1, 0.0, 1000.0 - d12, -432.5},
        {2, 0, 0.0, 1000.0 - d12, -367.5},
        // Head turned 90 deg counter-clockwise: (-98, -32.5) becomes (32.5, -98).
        {0, 1, 90.0, 1032.5, -498.0},
        // Turned 180: (-98, 32.5) becomes (98, -32.5).
        {0, 0, 180.0, 1098.0, -432.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + " side " + std::to_string(c.side) + " a " + std::to_string(c.a));
        double e[3];
        HM_VD_apo_calculate_E_point(c.mode, P, c.side, c.a, e);
        EXPECT_NEAR(e[0], c.x, 1e-9);
        EXPECT_NEAR(e[1], c.y, 1e-9);
        EXPECT_DOUBLE_EQ(e[2], 1200.0);
    }
    HM_VD_apo_calculate_E_point(0, nullptr, 0, 0.0, nullptr);
}

TEST_F(ApoInchTest, EPointsInAnInchPartUseTheInchConstants) {
    const double P[3] = {0.0, 0.0, 0.0};
    double e[3];
    HM_VD_apo_calculate_E_point(0, P, 1, 0.0, e);
    EXPECT_NEAR(e[0], -98.0 / 25.4, 1e-12);
    EXPECT_NEAR(e[1], -1.279527559055118, 1e-15);
    HM_VD_apo_calculate_E_point(1, P, 0, 0.0, e);
    EXPECT_NEAR(e[0], -std::sqrt(9759.75) / 25.4, 1e-12);
    EXPECT_NEAR(e[1], 32.5 / 25.4, 1e-12);
}

}  // namespace

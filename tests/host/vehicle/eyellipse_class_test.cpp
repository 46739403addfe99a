// The eyellipse class of the rule language: an instance made from its design
// parameters answers the SAE J941 ellipsoid, read through the host's
// eyellipse record; incomplete or unknown parameters make nothing.
#include "host_fixture.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

namespace {

using Texts = std::vector<std::pair<std::string, std::string>>;

// A seating reference point (1250, -370, 520) with the heel at z 250: seat
// height 270, pedal reference point at x 297, 641 from it to the
// steering-wheel centre.
Texts seat(const char* transmission, const char* percentile) {
    return {{"Name", "\"DRIVER\""},     {"Hip_Point_X", "1250"},          {"Hip_Point_Y", "-370"},
            {"Hip_Point_Z", "520"},     {"Heel_Point_X", "880"},          {"Heel_Point_Z", "250"},
            {"PRP_X", "297"},           {"Chair_Height", "270"},          {"PRP_SWC_Length", "641"},
            {"Left_Side", "True"},      {"Transmission_Type", transmission}, {"Population_Percentile", percentile}};
}

int make(const char* name, const Texts& texts) {
    std::vector<const char*> names, values;
    for (const auto& [n, v] : texts) {
        names.push_back(n.c_str());
        values.push_back(v.c_str());
    }
    return HM_RQ_create_child_rule(HM_ASSEM_ask_work_part(), "root:", name, VD_EYELLIPSE_CLASS,
                                   static_cast<int>(texts.size()), names.data(), values.data());
}

class EyellipseClassTest : public HostTest {
protected:
    VD_eyellipse_param_t read(const char* chain) {
        VD_eyellipse_param_t d{};
        EXPECT_EQ(VD_ask_eyellipse_data(chain, &d), 0);
        return d;
    }
};

TEST_F(EyellipseClassTest, TheEyesOfAnAutomaticSeatLieAboveTheHeelAndBehindThePedal) {
    ASSERT_EQ(make("DRIVER", seat("0", "95")), 0);
    const VD_eyellipse_param_t d = read("root:DRIVER:");
    // Worked apart: x = 297 + 664 + 0.587*641 - 0.176*270 = 1289.747,
    // z = 250 + 638 + 270 = 1158; eyes 32.5 to either side of y -370.
    const double expected[3][3] = {{1289.747, -402.5, 1158}, {1289.747, -370, 1158}, {1289.747, -337.5, 1158}};
    for (int e = 0; e < 3; ++e)
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(d.centre[e][k], expected[e][k], 1e-9) << e << "," << k;
    EXPECT_DOUBLE_EQ(d.side_value, -370.0);

    // The x axis rises 12 degrees towards the rear (nose down); the three
    // axes are unit length and square to each other.
    EXPECT_NEAR(std::asin(d.axis_dir[0][2]) * 45.0 / std::atan(1.0), 12.0, 1e-12);
    EXPECT_GT(d.axis_dir[0][0], 0.0);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const double dot = d.axis_dir[i][0] * d.axis_dir[j][0] + d.axis_dir[i][1] * d.axis_dir[j][1] +
                               d.axis_dir[i][2] * d.axis_dir[j][2];
            EXPECT_NEAR(dot, i == j ? 1.0 : 0.0, 1e-15) << i << "," << j;
        }
    EXPECT_DOUBLE_EQ(d.axis_dir[1][1], 1.0);

    // The other parameters stay as given.
    double x = 0;
    HM_RQ_value_t v = 0;
    ASSERT_EQ(HM_RQ_evaluate_rule("root:DRIVER:Heel_Point_X:", &v), 0);
    ASSERT_EQ(HM_RQ_ask_number(v, &x), 0);
    EXPECT_EQ(x, 880.0);
}

TEST_F(EyellipseClassTest, TransmissionMovesTheEyesAndPercentileSizesTheAxes) {
    struct Case {
        const char* transmission;
        const char* percentile;
        double x;
        double lengths[3];
    } cases[] = {
        {"0", "95", 1289.747, {206.4, 60.3, 93.4}},
        {"1", "95", 1277.247, {206.4, 60.3, 93.4}},
        {"0", "99", 1289.747, {287.1, 85.3, 132.1}},
        {"1", "99", 1277.247, {287.1, 85.3, 132.1}},
    };
    const double lengths_95[3] = {206.4, 60.3, 93.4}, lengths_99[3] = {287.1, 85.3, 132.1};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("transmission ") + c.transmission + ", percentile " + c.percentile);
        ASSERT_EQ(make("DRIVER", seat(c.transmission, c.percentile)), 0);
        const VD_eyellipse_param_t d = read("root:DRIVER:");
        EXPECT_NEAR(d.centre[1][0], c.x, 1e-9);
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(d.axis_length[0][k], c.lengths[k]) << "the instance's own percentile";
            EXPECT_EQ(d.axis_length[1][k], lengths_95[k]);
            EXPECT_EQ(d.axis_length[2][k], lengths_99[k]);
        }
    }
}

TEST_F(EyellipseClassTest, IncompleteOrUnknownParametersMakeNoInstance) {
    struct Case {
        const char* what;
        const char* rule;   // replaced, or left out when the text is null
        const char* text;
    } cases[] = {
        {"no seat height", "Chair_Height", nullptr},
        {"no percentile", "Population_Percentile", nullptr},
        {"seat height as a text", "Chair_Height", "\"270\""},
        {"fractional transmission", "Transmission_Type", "0.5"},
        {"unknown transmission", "Transmission_Type", "2"},
        {"unknown percentile", "Population_Percentile", "50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Texts texts;
        for (const auto& rule : seat("0", "95")) {
            if (rule.first != c.rule) texts.push_back(rule);
            else if (c.text) texts.push_back({rule.first, c.text});
        }
        EXPECT_EQ(make("DRIVER", texts), HM_ERR_BAD_ARGUMENT);
        EXPECT_FALSE(VD_RQ_ask_rule_exist("root:", "DRIVER"));
    }
}

}  // namespace

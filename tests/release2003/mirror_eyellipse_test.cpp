// The 2003 mirror engine's eyellipse through the rule language: an eyellipse
// instance made from a parameter record, its eye geometry, the parameters
// read back and copied into a new instance, and the reads and writes that
// must fail without leaving anything half done.
#include "r2003_mirror.h"

#include "host_fixture.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using carvell::r2003::MC_EYELLIPSE_ENTITIES;
using carvell::r2003::mc_create_eyellipse_rule;
using carvell::r2003::mc_eyellipse_params_s;
using carvell::r2003::mc_read_eyellipse_eye_geometry;
using carvell::r2003::mc_read_eyellipse_params;
using host_testing::make_rule_instance;

// A driver whose seating reference point is (1250, -370, 520) with the heel
// at z 250 (seat height 270), the pedal reference point at x 297 and 641
// from it to the steering-wheel centre; automatic, 95th percentile. Every
// other field holds a value of its own, so that a field written into or read
// from its neighbour's rule shows.
mc_eyellipse_params_s driver() {
    mc_eyellipse_params_s p{};
    std::strcpy(p.name, "DRIVER");
    p.standard = 3;
    p.unit = 1;
    p.vehicle_class = 7;
    p.population_percentile = 95;
    p.male_female_ratio = 50;
    p.back_angle = 25.5;
    p.seat_track_travel = 240;
    p.hip_point_x = 1250.0;
    p.hip_point_y = -370.0;
    p.hip_point_z = 520.0;
    p.heel_point_x = 880.25;
    p.heel_point_z = 250.0;
    p.left_side = 1;
    p.seat_position = 4;
    p.prp_x = 297.0;
    p.chair_height = 270.0;
    p.prp_swc_length = 641.0;
    p.transmission_type = VD_EYELLIPSE_AUTOMATIC;
    p.use_lean = 0;
    p.shoulder_room = 1412.125;
    p.steering_center_y = -365.5;
    p.use_head_movement = 1;
    p.head_movement_dir = 2;
    p.angle = -7.25;
    p.distance = 98.5;
    for (int i = 0; i < MC_EYELLIPSE_ENTITIES; ++i) {
        p.entity_visible[i] = static_cast<unsigned char>(i % 3 == 0);
        p.entity_color[i] = 100 + i;
        p.entity_layer[i] = 200 + 2 * i;
    }
    return p;
}

void expect_same(const mc_eyellipse_params_s& a, const mc_eyellipse_params_s& b) {
    EXPECT_STREQ(a.name, b.name);
    const int ints_a[] = {a.standard,          a.unit,          a.vehicle_class,     a.population_percentile,
                          a.male_female_ratio, a.seat_track_travel, a.seat_position, a.transmission_type,
                          a.head_movement_dir};
    const int ints_b[] = {b.standard,          b.unit,          b.vehicle_class,     b.population_percentile,
                          b.male_female_ratio, b.seat_track_travel, b.seat_position, b.transmission_type,
                          b.head_movement_dir};
    for (size_t i = 0; i < sizeof ints_a / sizeof ints_a[0]; ++i) EXPECT_EQ(ints_a[i], ints_b[i]) << "int " << i;
    const double numbers_a[] = {a.back_angle,     a.hip_point_x,   a.hip_point_y,    a.hip_point_z,
                                a.heel_point_x,   a.heel_point_z,  a.prp_x,          a.chair_height,
                                a.prp_swc_length, a.shoulder_room, a.steering_center_y, a.angle, a.distance};
    const double numbers_b[] = {b.back_angle,     b.hip_point_x,   b.hip_point_y,    b.hip_point_z,
                                b.heel_point_x,   b.heel_point_z,  b.prp_x,          b.chair_height,
                                b.prp_swc_length, b.shoulder_room, b.steering_center_y, b.angle, b.distance};
    for (size_t i = 0; i < sizeof numbers_a / sizeof numbers_a[0]; ++i)
        EXPECT_EQ(numbers_a[i], numbers_b[i]) << "number " << i;
    EXPECT_EQ(a.left_side, b.left_side);
    EXPECT_EQ(a.use_lean, b.use_lean);
    EXPECT_EQ(a.use_head_movement, b.use_head_movement);
    for (int i = 0; i < MC_EYELLIPSE_ENTITIES; ++i) {
        EXPECT_EQ(a.entity_visible[i], b.entity_visible[i]) << "entity " << i;
        EXPECT_EQ(a.entity_color[i], b.entity_color[i]) << "entity " << i;
        EXPECT_EQ(a.entity_layer[i], b.entity_layer[i]) << "entity " << i;
    }
}

struct EyeGeometry {
    double centroids[2][3];
    double lengths[2];
    double first_dir[3], second_dir[3];
    double hip[3];
};

int read_eyes(const char* prefix, EyeGeometry* g) {
    return mc_read_eyellipse_eye_geometry(prefix, g->centroids, g->lengths, g->first_dir, g->second_dir, g->hip);
}

int eyellipse_count() {
    int count = 0;
    char** names = nullptr;
    EXPECT_EQ(VD_get_all_rules_by_class(VD_EYELLIPSE_CLASS, &count, &names), 0);
    for (int i = 0; i < count; ++i) SM_free(names[i]);
    SM_free(names);
    return count;
}

// The rule texts of an instance, with `rule` given `text` instead (left out
// when the text is null).
host_testing::RuleTexts texts_with(const char* prefix, const std::string& rule, const char* text) {
    host_testing::RuleTexts texts;
    char** names = nullptr;
    int count = 0;
    EXPECT_EQ(VD_RQ_ask_rules(prefix, &count, &names), 0);
    for (int i = 0; i < count; ++i) {
        const std::string name = names[i];
        if (name != rule) texts.push_back({name, host_testing::rule_text((prefix + name + ":").c_str())});
        else if (text) texts.push_back({name, text});
    }
    VD_free_string_array(count, names);
    return texts;
}

class Release2003MirrorEyellipseTest : public HostTest {};

TEST_F(Release2003MirrorEyellipseTest, TheCopyRuleMakesTheChildNamedInTheRuleNameWithItsEyes) {
    const mc_eyellipse_params_s p = driver();
    ASSERT_EQ(mc_create_eyellipse_rule("root:DRIVER_copy:", &p), 0);
    EXPECT_TRUE(VD_is_instance_of_class("root:", "DRIVER_copy", VD_EYELLIPSE_CLASS));
    EXPECT_EQ(eyellipse_count(), 1);

    EyeGeometry g{};
    ASSERT_EQ(read_eyes("root:DRIVER_copy:", &g), 0);
    // Worked apart: x = 297 + 664 + 0.587*641 - 0.176*270 = 1289.747 (about
    // 1290), z = 250 + 638 + 270 = 1158, the eyes 32.5 to either side of the
    // hip point's y.
    const double eyes[2][3] = {{1290.0, -402.5, 1158.0}, {1290.0, -337.5, 1158.0}};
    for (int e = 0; e < 2; ++e)
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(g.centroids[e][k], eyes[e][k], 0.5) << e << "," << k;
    EXPECT_EQ(g.lengths[0], 206.4);
    EXPECT_EQ(g.lengths[1], 60.3);
    // The first axis rises 12 degrees towards the rear; the second is across.
    const double tilt = 12.0 * std::atan(1.0) / 45.0;
    EXPECT_NEAR(g.first_dir[0], std::cos(tilt), 1e-12);
    EXPECT_NEAR(g.first_dir[1], 0.0, 1e-12);
    EXPECT_NEAR(g.first_dir[2], std::sin(tilt), 1e-12);
    EXPECT_EQ(g.second_dir[0], 0.0);
    EXPECT_EQ(g.second_dir[1], 1.0);
    EXPECT_EQ(g.second_dir[2], 0.0);
    EXPECT_EQ(g.hip[0], 1250.0);
    EXPECT_EQ(g.hip[1], -370.0);
    EXPECT_EQ(g.hip[2], 520.0);
}

TEST_F(Release2003MirrorEyellipseTest, ThePercentileChoosesTheAxisLengthsAndTheTransmissionTheX) {
    struct Case {
        int percentile, transmission;
        double lengths[2];
        double x;
    } cases[] = {
        {95, VD_EYELLIPSE_AUTOMATIC, {206.4, 60.3}, 1289.747},
        {99, VD_EYELLIPSE_AUTOMATIC, {287.1, 85.3}, 1289.747},
        {99, VD_EYELLIPSE_MANUAL, {287.1, 85.3}, 1277.247},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("percentile " + std::to_string(c.percentile) + ", transmission " +
                     std::to_string(c.transmission));
        mc_eyellipse_params_s p = driver();
        p.population_percentile = c.percentile;
        p.transmission_type = c.transmission;
        ASSERT_EQ(mc_create_eyellipse_rule("root:EYE:", &p), 0);
        EyeGeometry g{};
        ASSERT_EQ(read_eyes("root:EYE:", &g), 0);
        EXPECT_EQ(g.lengths[0], c.lengths[0]);
        EXPECT_EQ(g.lengths[1], c.lengths[1]);
        EXPECT_NEAR(g.centroids[0][0], c.x, 1e-9);
        EXPECT_NEAR(g.centroids[1][0], c.x, 1e-9);
    }
}

TEST_F(Release2003MirrorEyellipseTest, ParametersReadFromAnInstanceMakeACopyThatReadsBackTheSame) {
    mc_eyellipse_params_s p = driver();
    // A name with the rule language's quote and escape characters in it.
    std::strcpy(p.name, "say \"hi\" ~ there");
    ASSERT_EQ(mc_create_eyellipse_rule("root:EYE:", &p), 0);
    mc_eyellipse_params_s read{};
    ASSERT_EQ(mc_read_eyellipse_params("root:EYE:", &read), 0);
    expect_same(read, p);

    ASSERT_EQ(mc_create_eyellipse_rule("root:EYE_copy:", &read), 0);
    mc_eyellipse_params_s copy{};
    ASSERT_EQ(mc_read_eyellipse_params("root:EYE_copy:", &copy), 0);
    expect_same(copy, p);
    EXPECT_EQ(eyellipse_count(), 2);

    // A boolean field is true for any value but 0.
    p.use_lean = 2;
    p.entity_visible[4] = 7;
    ASSERT_EQ(mc_create_eyellipse_rule("root:EYE:", &p), 0);
    ASSERT_EQ(mc_read_eyellipse_params("root:EYE:", &read), 0);
    EXPECT_EQ(read.use_lean, 1);
    EXPECT_EQ(read.entity_visible[4], 1);
}

TEST_F(Release2003MirrorEyellipseTest, ALongNameIsCutTo31Characters) {
    const mc_eyellipse_params_s p = driver();
    ASSERT_EQ(mc_create_eyellipse_rule("root:FULL:", &p), 0);
    const std::string long_name(40, 'N');
    const std::string quoted = "\"" + long_name + "\"";
    ASSERT_NE(make_rule_instance("root:", "LONG", VD_EYELLIPSE_CLASS, texts_with("root:FULL:", "Name", quoted.c_str())),
              0u);
    mc_eyellipse_params_s read{};
    ASSERT_EQ(mc_read_eyellipse_params("root:LONG:", &read), 0);
    EXPECT_EQ(std::string(read.name), long_name.substr(0, 31));
    EXPECT_EQ(read.prp_swc_length, 641.0) << "the fields after the name are read as they are";
    EXPECT_EQ(read.standard, 3);
}

TEST_F(Release2003MirrorEyellipseTest, AReadThatFailsReturnsTheQueryCodeAndWritesNothing) {
    const mc_eyellipse_params_s p = driver();
    ASSERT_EQ(mc_create_eyellipse_rule("root:FULL:", &p), 0);
    struct Case {
        const char* what;
        const char* rule;   // replaced, or left out when the text is null
        const char* text;
    } cases[] = {
        {"no distance", "Distance", nullptr},
        {"no entity layers", "entity_layer", nullptr},
        {"13 entity colours", "entity_color", "{1,2,3,4,5,6,7,8,9,10,11,12,13}"},
        {"a side flag as a number", "Left_Side", "1"},
        {"a name that is not a text", "Name", "42"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(make_rule_instance("root:", "BROKEN", VD_EYELLIPSE_CLASS, texts_with("root:FULL:", c.rule, c.text)),
                  0u);

        mc_eyellipse_params_s read;
        std::memset(&read, 0x5a, sizeof read);
        const mc_eyellipse_params_s before = read;
        EXPECT_NE(mc_read_eyellipse_params("root:BROKEN:", &read), 0);
        EXPECT_EQ(std::memcmp(&read, &before, sizeof read), 0) << "the record is left as it was";
    }

    // Eye geometry of an instance that states no ellipsoid, and of none.
    ASSERT_NE(make_rule_instance("root:", "BARE", VD_EYELLIPSE_CLASS, {{"Name", "\"BARE\""}}), 0u);
    for (const char* prefix : {"root:BARE:", "root:NOWHERE:"}) {
        SCOPED_TRACE(prefix);
        EyeGeometry g{};
        std::memset(&g, 0x5a, sizeof g);
        const EyeGeometry before = g;
        EXPECT_NE(read_eyes(prefix, &g), 0);
        EXPECT_EQ(std::memcmp(&g, &before, sizeof g), 0);
    }
    EXPECT_EQ(mc_read_eyellipse_params(nullptr, nullptr), -1);
    EyeGeometry g{};
    EXPECT_EQ(mc_read_eyellipse_eye_geometry(nullptr, g.centroids, g.lengths, g.first_dir, g.second_dir, g.hip), -1);
    EXPECT_EQ(mc_read_eyellipse_eye_geometry("root:FULL:", g.centroids, g.lengths, nullptr, g.second_dir, g.hip), -1);
    // A prefix that leaves no room in the rule name for the attribute.
    const std::string long_prefix = "root:" + std::string(130, 'P') + ":";
    mc_eyellipse_params_s read{};
    EXPECT_EQ(mc_read_eyellipse_params(long_prefix.c_str(), &read), -1);
}

TEST_F(Release2003MirrorEyellipseTest, ACopyRuleThatCannotBeWrittenMakesNoInstance) {
    struct Case {
        const char* what;
        const char* rule_name;
        double distance;
        int percentile;
        int expected;   // 1: any host code but 0
    } cases[] = {
        {"one colon", "DRIVER_copy:", 98.5, 95, -1},
        {"no colon", "DRIVER_copy", 98.5, 95, -1},
        {"no name between the colons", "root::", 98.5, 95, 1},
        {"a distance that is not a number", "root:EYE:", std::nan(""), 95, -1},
        {"a distance too long for its text", "root:EYE:", 1e200, 95, -1},
        {"a percentile the class does not know", "root:EYE:", 98.5, 50, HM_ERR_BAD_ARGUMENT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        mc_eyellipse_params_s p = driver();
        p.distance = c.distance;
        p.population_percentile = c.percentile;
        const int result = mc_create_eyellipse_rule(c.rule_name, &p);
        if (c.expected == 1) EXPECT_NE(result, 0);
        else EXPECT_EQ(result, c.expected);
        EXPECT_EQ(eyellipse_count(), 0);
    }
    const mc_eyellipse_params_s p = driver();
    EXPECT_EQ(mc_create_eyellipse_rule(nullptr, &p), -1);
    EXPECT_EQ(mc_create_eyellipse_rule("root:EYE:", nullptr), -1);
}

}  // namespace

// The vehicle-design core of the stand-in host: unit conversion, values of
// the defaults file, and the update state and feature of a design instance.
#include "host_fixture.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"

#include <string>

namespace {

constexpr const char* kDesignClass = "%kw_vd_H_point_design_tool";
constexpr const char* kPackagingClass = "%kw_vd_occupant_packaging";

class VehicleCoreTest : public HostTest {};

TEST_F(VehicleCoreTest, LengthsConvertBetweenMillimetresAndInches) {
    struct Case {
        double value;
        int from, to;
        double expected;   // an inch is 25.4 mm exactly
    };
    const Case cases[] = {
        {25.4, VD_UNIT_MM, VD_UNIT_INCH, 1.0},
        {1.0, VD_UNIT_INCH, VD_UNIT_MM, 25.4},
        {-2.5, VD_UNIT_INCH, VD_UNIT_MM, -63.5},
        {270.0, VD_UNIT_MM, VD_UNIT_INCH, 10.629921259842520},
        {42.0, VD_UNIT_MM, VD_UNIT_MM, 42.0},
        {42.0, 7, VD_UNIT_MM, 42.0},   // an unknown unit leaves the value
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.value) + " from " + std::to_string(c.from) + " to " + std::to_string(c.to));
        EXPECT_NEAR(vd_convert_unit(c.value, c.from, c.to), c.expected, 1.0e-12);
    }
}

TEST_F(VehicleCoreTest, DefaultsFileSwitchesAndTextsReadBack) {
    struct Switch {
        const char* text;
        unsigned char on;
    };
    const Switch switches[] = {{"1", 1}, {"ON", 1}, {"true", 1}, {"Yes", 1}, {"0", 0}, {"off", 0}, {"maybe", 0}};
    for (const Switch& s : switches) {
        SCOPED_TRACE(s.text);
        host_testing::set_default("hpd_switch", s.text);
        unsigned char value = 7;
        ASSERT_EQ(VD_DEFFILE_read_value("vd.def", "hpd_switch", VD_DEFFILE_SWITCH, &value), 0);
        EXPECT_EQ(value, s.on);
    }
    host_testing::set_default("hpd_units", "millimetres");
    char text[VD_DEFFILE_TEXT_SIZE] = "";
    ASSERT_EQ(VD_DEFFILE_read_value("vd.def", "hpd_units", VD_DEFFILE_TEXT, text), 0);
    EXPECT_STREQ(text, "millimetres");

    unsigned char untouched = 7;
    EXPECT_EQ(VD_DEFFILE_read_value("vd.def", "no_such_key", VD_DEFFILE_SWITCH, &untouched), HM_ERR_NOT_FOUND);
    EXPECT_EQ(VD_DEFFILE_read_value("vd.def", "hpd_units", 3, &untouched), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(untouched, 7);
    EXPECT_EQ(VD_DEFFILE_read_value("vd.def", nullptr, VD_DEFFILE_TEXT, text), HM_ERR_NULL_POINTER);
    EXPECT_EQ(VD_DEFFILE_read_value("vd.def", "hpd_units", VD_DEFFILE_TEXT, nullptr), HM_ERR_NULL_POINTER);
}

TEST_F(VehicleCoreTest, ADesignInstanceAnswersItsFeatureAndItsUpdateState) {
    ASSERT_NE(host_testing::make_rule_instance("root:", "DRIVER", kDesignClass, {{"rcode", "0"}}), 0u);
    const tag_t feature = host_testing::make_instance_feature("DRIVER", "H-Point Design(1)");
    ASSERT_NE(feature, 0u);
    tag_t asked = 0;
    char* name = nullptr;
    ASSERT_EQ(VD_ask_feature_tag_and_name("DRIVER", &asked, &name), 0);
    EXPECT_EQ(asked, feature);
    EXPECT_STREQ(name, "H-Point Design(1)");
    SM_free(name);

    VD_hpd_param_t data{false, -1};
    ASSERT_EQ(VD_ask_hpd_data("DRIVER", &data), 0);
    EXPECT_TRUE(data.update_success);
    EXPECT_EQ(data.fail_code, 0);

    // Either design class; a failed update keeps its code.
    ASSERT_NE(host_testing::make_rule_instance("root:", "PASSENGER", kPackagingClass, {{"rcode", "3"}}), 0u);
    ASSERT_EQ(VD_ask_hpd_data("PASSENGER", &data), 0);
    EXPECT_FALSE(data.update_success);
    EXPECT_EQ(data.fail_code, 3);
    ExpectNoLeaks();
}

TEST_F(VehicleCoreTest, WhatIsNoDesignInstanceOrHasNoFeatureIsNotFoundAndNothingIsWritten) {
    ASSERT_NE(host_testing::make_rule_instance("root:", "BARE", kDesignClass), 0u);
    ASSERT_NE(host_testing::make_rule_instance("root:", "OTHER", "%kw_vd_other_tool"), 0u);
    const int features = host_testing::count_objects(0, HM_feature_type);
    EXPECT_EQ(host_testing::make_instance_feature("MISSING", "Design(1)"), 0u);
    EXPECT_EQ(host_testing::make_instance_feature(nullptr, "Design(1)"), 0u);
    EXPECT_EQ(host_testing::make_instance_feature("BARE", nullptr), 0u);
    EXPECT_EQ(host_testing::count_objects(0, HM_feature_type), features) << "a refused feature is not left behind";

    VD_hpd_param_t data{true, 7};
    for (const char* name : {"OTHER", "MISSING"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(VD_ask_hpd_data(name, &data), HM_ERR_NOT_FOUND);
        EXPECT_TRUE(data.update_success);
        EXPECT_EQ(data.fail_code, 7);
    }
    tag_t feature = 99;
    char* feature_name = nullptr;
    for (const char* name : {"BARE", "MISSING"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(VD_ask_feature_tag_and_name(name, &feature, &feature_name), HM_ERR_NOT_FOUND);
        EXPECT_EQ(feature, 99u);
        EXPECT_EQ(feature_name, nullptr);
    }
    EXPECT_EQ(VD_ask_hpd_data(nullptr, &data), HM_ERR_NULL_POINTER);
    EXPECT_EQ(VD_ask_hpd_data("BARE", nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(VD_ask_feature_tag_and_name(nullptr, &feature, &feature_name), HM_ERR_NULL_POINTER);
    EXPECT_EQ(VD_ask_feature_tag_and_name("BARE", nullptr, &feature_name), HM_ERR_NULL_POINTER);
    EXPECT_EQ(VD_ask_feature_tag_and_name("BARE", &feature, nullptr), HM_ERR_NULL_POINTER);
    ExpectNoLeaks();
}

}  // namespace

// The warning table (default texts and a site's wording from the defaults
// file) and the run's message list of ten.
#include "mirror_fixtures.h"
#include "mirror_record.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using mirror_testing::dialog_input;
using namespace carvell::mirror;

class WarningsTest : public MirrorRecordTest {};

TEST_F(WarningsTest, DefaultTextsAreUsedAsTheyStand) {
    ASSERT_EQ(Init(dialog_input()), 0);
    ASSERT_NE(data_.warnings, nullptr);
    EXPECT_STREQ(data_.warnings[0], "\n*DOES NOT CERTIFY* Target Angle less than Standard Angle ");
    EXPECT_STREQ(data_.warnings[7], "OPPOSITE MIRROR AREA TEST SKIPPED");
    EXPECT_STREQ(data_.warnings[10], "\nSpecified radius out of legal range - for study only ");
    EXPECT_EQ(data_.warnings[13], nullptr);
    EXPECT_STREQ(data_.warnings[19], "WARNINGS EXCEEDED MESSAGE LIMIT");
    EXPECT_STREQ(data_.warnings[21], "Unable to retrieve eyellipse information.");
    EXPECT_STREQ(data_.warnings[22], "\nFails to construct vision restricions. ");
}

constexpr const char* kStandardWidth = "\n*DOES NOT CERTIFY* Target Width less than Standard Width ";

TEST_F(WarningsTest, ASiteTextWithoutItsSwitchKeepsTheDefault) {
    host_testing::set_default("MC_WARN_STD_WIDTH", "site width text");
    ASSERT_EQ(Init(dialog_input()), 0);
    EXPECT_STREQ(data_.warnings[1], kStandardWidth);
}

TEST_F(WarningsTest, TheDefaultsFileReplacesATextOnlyWhenItsSwitchIsOn) {
    struct Case {
        const char* switch_value;
        const char* text_value;   // null: key still absent
        const char* expected;
    };
    // In this order: the text key is set from the second case on.
    const Case cases[] = {
        {"ON", nullptr, kStandardWidth},
        {"0", "site width text", kStandardWidth},
        {"ON", "site width text", "site width text"},
        {"1", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.switch_value << " / " << (c.text_value ? c.text_value : "(none)"));
        host_testing::set_default("MC_WARN_STD_WIDTH_SWITCH", c.switch_value);
        if (c.text_value) host_testing::set_default("MC_WARN_STD_WIDTH", c.text_value);
        ASSERT_EQ(Init(dialog_input()), 0);
        EXPECT_STREQ(data_.warnings[1], c.expected);
        EXPECT_STREQ(data_.warnings[0], "\n*DOES NOT CERTIFY* Target Angle less than Standard Angle ");
        HM_VD_MC_release_data(&data_);
    }
}

TEST_F(WarningsTest, TheLimitMessageIsFixed) {
    host_testing::set_default("MC_WARN_LIMIT_SWITCH", "1");
    ASSERT_EQ(Init(dialog_input()), 0);
    EXPECT_STREQ(data_.warnings[19], "WARNINGS EXCEEDED MESSAGE LIMIT");
}

TEST_F(WarningsTest, ElevenWarningsLeaveTenEndingWithTheLimitMessage) {
    ASSERT_EQ(Init(dialog_input()), 0);
    for (int i = 0; i < 10; ++i) add_warning(&data_, kWarnStdWidth);
    EXPECT_EQ(data_.message_count, 10);
    EXPECT_STREQ(data_.messages[9], data_.warnings[kWarnStdWidth]);   // the same warning listed twice and more
    add_warning(&data_, kWarnBadRadius);
    EXPECT_EQ(data_.message_count, 10);
    EXPECT_STREQ(data_.messages[8], data_.warnings[kWarnStdWidth]);
    EXPECT_STREQ(data_.messages[9], "WARNINGS EXCEEDED MESSAGE LIMIT");
    add_message(&data_, "twelfth");
    EXPECT_EQ(data_.message_count, 10);
    EXPECT_STREQ(data_.messages[9], "WARNINGS EXCEEDED MESSAGE LIMIT");
}

TEST_F(WarningsTest, NullTextsAndUninitialisedRecordsAddNothing) {
    ASSERT_EQ(Init(dialog_input()), 0);
    add_message(&data_, nullptr);
    EXPECT_EQ(data_.message_count, 0);
    mc_data_s cleared;
    zero_fill(&cleared);
    add_message(&cleared, "text");
    add_warning(&cleared, kWarnStdAngle);
    EXPECT_EQ(cleared.message_count, 0);
}

}  // namespace

// The eyellipse record read from its rule-language instance.
#include "hm_vd_vision.h"
#include "vision_fixtures.h"

#include "quillon.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class EyellipseTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        ASSERT_NE(host_testing::make_eyellipse("EYE", vision_test::distinct_eyellipse()), 0u);
        std::memset(&record_, 0, sizeof record_);
    }
    vd_eyellipse_t record_{};
};

TEST_F(EyellipseTest, PercentileChoosesTheAxisLengthSet) {
    const struct {
        int percentile;
        double a, b, c;
    } cases[] = {{-1, 173.0, 60.3, 86.0}, {0, 206.4, 60.3, 93.4}, {5, 287.1, 85.3, 132.1}, {99, 287.1, 85.3, 132.1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percentile);
        ASSERT_EQ(HM_VD_initialize_eyellipse("root:EYE:", c.percentile, &record_), 0);
        EXPECT_DOUBLE_EQ(record_.axis_length[0], c.a);
        EXPECT_DOUBLE_EQ(record_.axis_length[1], c.b);
        EXPECT_DOUBLE_EQ(record_.axis_length[2], c.c);
    }
}

TEST_F(EyellipseTest, CentroidsByEyeTypeAndAxisDirectionsAsStored) {
    ASSERT_EQ(HM_VD_initialize_eyellipse("root:EYE:", 0, &record_), 0);
    const double y[3] = {-402.5, -370.0, -337.5};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_DOUBLE_EQ(record_.centroid[i][0], 2743.0);
        EXPECT_DOUBLE_EQ(record_.centroid[i][1], y[i]);
        EXPECT_DOUBLE_EQ(record_.centroid[i][2], 1188.0);
    }
    // Not unitised: |(0.978, 0, -0.208)| is 0.99987..., kept as it is.
    EXPECT_DOUBLE_EQ(record_.axis_dir[0][0], 0.978);
    EXPECT_DOUBLE_EQ(record_.axis_dir[0][2], -0.208);
    EXPECT_DOUBLE_EQ(record_.axis_dir[2][2], 0.978);
}

TEST_F(EyellipseTest, FourCentroidsFillFromTheFirstThreeAndAllAreFreed) {
    ASSERT_EQ(host_testing::set_rule("root:EYE:Centroid_coords:",
                                     "{ Point(1,2,3), Point(4,5,6), Point(7,8,9), Point(10,11,12) }"),
              0);
    ASSERT_EQ(HM_VD_initialize_eyellipse("root:EYE:", 0, &record_), 0);
    EXPECT_DOUBLE_EQ(record_.centroid[0][0], 1.0);
    EXPECT_DOUBLE_EQ(record_.centroid[2][2], 9.0);
    ExpectNoLeaks();
}

TEST_F(EyellipseTest, NameAreaIsTheCallersAndLeftUntouched) {
    std::memset(record_.name, 'q', sizeof record_.name);
    ASSERT_EQ(HM_VD_initialize_eyellipse("root:EYE:", 0, &record_), 0);
    for (char c : record_.name) ASSERT_EQ(c, 'q');
}

TEST_F(EyellipseTest, NullArgumentsGiveMinusOneAndTouchNothing) {
    record_.axis_length[0] = 42.0;
    EXPECT_EQ(HM_VD_initialize_eyellipse(nullptr, 0, &record_), -1);
    EXPECT_EQ(HM_VD_initialize_eyellipse("root:EYE:", 0, nullptr), -1);
    EXPECT_DOUBLE_EQ(record_.axis_length[0], 42.0);
}

TEST_F(EyellipseTest, MissingOrShortAttributeFailsAndKeepsTheNumbers) {
    const struct {
        const char* path;
        const char* text;
    } cases[] = {
        {"root:EYE:Axis_Length_95:", "{ 1.0, 2.0 }"},
        {"root:EYE:Centroid_coords:", "{ Point(1,2,3), Point(4,5,6) }"},
        {"root:EYE:Axis_dir:", "{ }"},
        {"root:EYE:Axis_Length_95:", "\"text\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " " + c.text);
        ASSERT_NE(host_testing::make_eyellipse("EYE", vision_test::distinct_eyellipse()), 0u);
        ASSERT_EQ(host_testing::set_rule(c.path, c.text), 0);
        vd_eyellipse_t record;
        std::memset(&record, 0x11, sizeof record);
        const vd_eyellipse_t before = record;
        EXPECT_NE(HM_VD_initialize_eyellipse("root:EYE:", 0, &record), 0);
        EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
        ExpectNoLeaks();
    }
    // An instance that does not exist at all.
    EXPECT_NE(HM_VD_initialize_eyellipse("root:NONE:", 0, &record_), 0);
}

}  // namespace

// The engine's two entries end to end: curves, log records and the sheet of
// a right front wheel, and the refusals of bad blocks and spindle data.
#include "envelope_fixtures.h"

#include "tire_envelope.h"

using namespace envelope_test;

namespace {

class DriverTest : public EnvelopeTest {
protected:
    struct Curves {
        int count = 0;
        tag_t splines[64] = {};
        tag_t profile = 0, wheel = 0, tire = 0, spindle = 0;
    };
    int run(Curves* c) {
        return create_tire_envelope_curves(params_.get(), &c->count, c->splines, &c->profile, &c->wheel, &c->tire,
                                           &c->spindle);
    }
};

TEST_F(DriverTest, RightFrontWheelGivesNineteenSectionSplinesAndASheet) {
    store_spindle_file(spindle_lines(1.0, 0.2, -0.5, travel_and_steer(80.0, 90.0, 35.0, 4)));
    params_->update_part = 1;
    Curves c;
    ASSERT_EQ(run(&c), 0);
    EXPECT_EQ(params_->num_sections, 19);
    EXPECT_EQ(c.count, 19);
    EXPECT_EQ(params_->side, 1.0);
    EXPECT_NEAR(params_->design_point[1], 790.0, 1e-6);
    EXPECT_NE(c.profile, 0u);
    EXPECT_EQ(params_->num_part_members, 3);
    EXPECT_EQ(host_testing::status_texts().back(), "Done Processing");
    EXPECT_FALSE(std::filesystem::exists(dir_ + "/envelope.log"));
    EXPECT_TRUE(std::filesystem::exists(dir_ + "/spindle_file.pts"));
    gen_tire_envelope(params_.get(), c.count, c.splines);
    EXPECT_NE(params_->sheet_body, 0u);
    double box[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(params_->sheet_body, box), 0);
    // The top of the envelope: tire radius plus jounce above the design spindle.
    EXPECT_GE(box[5], 350.0 + 357.85 + 80.0 - 2.0);
    EXPECT_EQ(host_testing::status_texts().back(), "Done Processing");
}

}  // namespace

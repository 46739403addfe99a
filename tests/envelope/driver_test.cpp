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

namespace {

class DriverRefusalTest : public EnvelopeTest {
protected:
    int run() {
        int count = 0;
        tag_t splines[64], profile = 0, wheel = 0, tire = 0, spindle = 0;
        return create_tire_envelope_curves(params_.get(), &count, splines, &profile, &wheel, &tire, &spindle);
    }
    void expect_clean_failure() {
        EXPECT_EQ(host_testing::status_texts().back(), "Done Processing - An ERROR occured");
        EXPECT_EQ(host_testing::session_depth(), 0);
        EXPECT_FALSE(std::filesystem::exists(dir_ + "/envelope.log"));
        EXPECT_EQ(host_testing::open_text_files(), 0);
    }
};

TEST_F(DriverRefusalTest, NullBlockOrResultPointerBuildsNothing) {
    int count = 0;
    tag_t splines[64], t = 0;
    EXPECT_EQ(create_tire_envelope_curves(nullptr, &count, splines, &t, &t, &t, &t), -1);
    EXPECT_EQ(create_tire_envelope_curves(params_.get(), nullptr, splines, &t, &t, &t, &t), -1);
    EXPECT_EQ(create_tire_envelope_curves(params_.get(), &count, nullptr, &t, &t, &t, &t), -1);
    EXPECT_EQ(create_tire_envelope_curves(params_.get(), &count, splines, &t, &t, &t, nullptr), -1);
    EXPECT_EQ(host_testing::count_objects(part_), 0);
    EXPECT_TRUE(host_testing::status_texts().empty());
}

TEST_F(DriverRefusalTest, BadSpindleDataEndsWithItsDialogAndLeavesNothingOpen) {
    struct Case {
        const char* what;
        std::vector<std::string> lines;   // empty: no instance at all
        const char* title;
    };
    const Case cases[] = {
        {"no spindle rule", {}, nullptr},
        {"empty file", {"header", "######"}, "Spindle Points"},
        {"malformed record", {"0 790 0 0 690 0", "1 2 three 4 5 6"}, "Spindle Points Record"},
        {"zero spindle vector", {"0 790 0 0 790 0"}, "Spindle Vector"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host_testing::clear_sinks();
        if (!c.lines.empty()) store_spindle_file(c.lines);
        params_->update_part = 1;
        EXPECT_EQ(run(), 1);
        if (c.title) {
            EXPECT_TRUE(!host_testing::dialogs().empty() && host_testing::dialogs().back().title == c.title);
        }
        expect_clean_failure();
        HM_RQ_delete_instance_rule("root:", kInstance);
        fill_params(*params_);
    }
}

TEST_F(DriverRefusalTest, LogThatCannotBeCreatedIsAnError) {
    host_testing::set_env("KWII_TMP_DIR", (dir_ + "/no_such_dir").c_str());
    EXPECT_EQ(run(), 1);
    EXPECT_TRUE(dialog_shown("Log File", "ERROR: Cannot create log file:\n"));
    expect_clean_failure();
    EXPECT_EQ(host_testing::count_objects(part_), 0);
}

TEST_F(DriverRefusalTest, UnwritableCopyIsReportedAndTheRunEndsCleanly) {
    // Every name the copy could take is locked: the protection reset fails.
    store_spindle_file(spindle_lines(1.0, 0.2, -0.5, {{0, 0}}));
    const std::string first = dir_ + "/spindle_file.pts";
    { std::ofstream(first) << "old\n"; }
    host_testing::lock_path(first.c_str());
    // The numbered name is new, written, then its protection cannot be set.
    host_testing::lock_path((dir_ + "/spindle_file_0.pts").c_str());
    testing::internal::CaptureStdout();
    EXPECT_EQ(run(), 1);
    testing::internal::GetCapturedStdout();
    EXPECT_FALSE(host_testing::dialogs().empty());
    EXPECT_EQ(host_testing::dialogs().back().title, "Report");
    expect_clean_failure();
    host_testing::lock_path(first.c_str(), false);
    host_testing::lock_path((dir_ + "/spindle_file_0.pts").c_str(), false);
}

TEST_F(DriverRefusalTest, RerunWithUpdateReplacesTheRecordsInThePart) {
    store_spindle_file(spindle_lines(1.0, 0.2, -0.5, {{0, 0}, {60, 0}, {-60, 0}, {0, 20}, {0, -20}}));
    params_->update_part = 1;
    params_->radial_start = 60.0;
    params_->radial_end = 90.0;
    ASSERT_EQ(run(), 0);
    const int categories = host_testing::count_objects(part_, HM_category_type);
    EXPECT_EQ(categories, 6 + 8);   // sections 60, 67.5, 75, 80, 85, 90 and the eight fixed names
    char* value = nullptr;
    ASSERT_EQ(HM_ATTR_ask_string(part_, "DESLOG1", &value), 0);
    EXPECT_EQ(std::string(value).substr(0, 9), "DATE TIME");
    SM_free(value);
    fill_params(*params_);
    params_->update_part = 1;
    params_->radial_start = 60.0;
    params_->radial_end = 90.0;
    ASSERT_EQ(run(), 0);
    EXPECT_EQ(host_testing::count_objects(part_, HM_category_type), categories);
    EXPECT_EQ(host_testing::count_objects(part_, HM_reference_set_type), 1);
}

}  // namespace

namespace {

class DriverFrameTest : public DriverTest {};

TEST_F(DriverFrameTest, VehicleFrameChangesNothingInAbsoluteGeometryAndPointsJoinTheGroup) {
    store_spindle_file(spindle_lines(1.0, 0.2, -0.5, {{0, 0}, {60, 0}, {-60, 0}, {0, 20}, {0, -20}}));
    params_->radial_start = 75.0;
    params_->radial_end = 105.0;
    Curves plain;
    ASSERT_EQ(run(&plain), 0);
    double plain_box[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(plain.splines[2], plain_box), 0);
    // The same wheel with the vehicle frame's origin 100 mm along x and 20 mm
    // up: the spindle file is absolute, the sections are laid out about the
    // design spindle, so the absolute results are the same.
    fill_params(*params_);
    params_->radial_start = 75.0;
    params_->radial_end = 105.0;
    params_->point_cloud = 1;
    params_->csys_origin[0] = 100.0;
    params_->csys_origin[2] = 20.0;
    Curves framed;
    ASSERT_EQ(run(&framed), 0);
    ASSERT_EQ(framed.count, plain.count);
    double framed_box[6];
    ASSERT_EQ(HM_MODL_ask_bounding_box(framed.splines[2], framed_box), 0);
    for (int i = 0; i < 6; ++i) EXPECT_NEAR(framed_box[i], plain_box[i], 0.01) << i;
    tag_t* members = nullptr;
    int n = 0;
    ASSERT_EQ(HM_GROUP_ask_group_data(params_->thegroup, &members, &n), 0);
    EXPECT_GT(n, 4 + framed.count);   // profile, three lines, splines and the section points
    SM_free(members);
    EXPECT_GT(host_testing::count_objects(part_, HM_point_type), 0);
    gen_tire_envelope(params_.get(), framed.count, framed.splines);
    ASSERT_NE(params_->sheet_body, 0u);
    EXPECT_EQ(host_testing::status_texts().back(), "Done Processing");
}

}  // namespace

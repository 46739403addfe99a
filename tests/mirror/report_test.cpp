// The summary report in the listing window, line by line for each mirror
// kind and flag, and with a listing window that cannot be opened.
#include "mirror_fixtures.h"
#include "mirror_record.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using mirror_testing::dialog_input;
using namespace carvell::mirror;

const std::string kClosing = "---------------------------------------------------------\n";

// A report row: the label in 40 columns, "= ", the value.
std::string R(const std::string& label, const std::string& value) {
    return label + std::string(label.size() < 40 ? 40 - label.size() : 0, ' ') + "= " + value;
}

class ReportTest : public MirrorRecordTest {
protected:
    std::string Report() {
        host_testing::clear_sinks();
        EXPECT_EQ(write_report(&data_), 0);
        return host_testing::listing_window();
    }
};

TEST_F(ReportTest, InsideEyellipseRunWithPositioningLineByLine) {
    ASSERT_EQ(Init(dialog_input(0, 0)), 0);
    data_.inside->upper->side_view_angle = 12.5;
    data_.inside->lower->side_view_angle = -3.25;
    data_.inside->upper->up_angle = 1.0 / 3.0;
    std::string expected = "Mirror Certification Inside - Summary Results\n\n\n\n" + R("standard", "USA/canada") +
                           "\n\n" + R("Designation", "FMVSS 111 - CMVSS 111") + "\n\n\n" +
                           R("Standard Distance", "60000.0000") + "\n\n" + R("Standard Angle", "20.0000");
    const char* labels[] = {"Mirror Rotation Angle LS", "Mirror Rotation Angle PV", "Head Turn Angle PV",
                            "Ambinocular Angle",        "Backlite Restriction PV",  "Up Angle LS",
                            "Down Angle LS"};
    const char* up[] = {"12.5000", "0.0000", "0.0000", "0.0000", "0.0000", "0.3333", "0.0000"};
    const char* down[] = {"-3.2500", "0.0000", "0.0000", "0.0000", "0.0000", "0.0000", "0.0000"};
    for (int i = 0; i < 7; ++i)
        expected += "\n\n" + R(std::string(labels[i]) + " (Up)", up[i]) + "\n" +
                    R(std::string(labels[i]) + " (Down)", down[i]);
    expected += "\n\n\nSystem Messages:\n\n\n" + kClosing;
    EXPECT_EQ(Report(), expected);
}

TEST_F(ReportTest, InsideOcularRunWithoutPositioningWithOverrides) {
    mc_input_data_t in = dialog_input(0, 1);
    in.positioning = false;
    in.user_override = true;
    in.user_distance = 1234.5;
    in.user_value = 180.0;
    ASSERT_EQ(Init(in), 0);
    const std::string text = Report();
    EXPECT_NE(text.find("\n\n\n" + R("Standard Distance", "60000.0000") + "\n\n" + R("Modified Distance", "1234.5000") +
                        "\n\n" + R("Standard Width", "20.0000") + "\n\n" + R("Modified Width", "180.0000") + "\n\n" +
                        R("Mirror Rotation Angle LS", "0.0000") + "\n\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("Standard Angle"), std::string::npos);
    EXPECT_EQ(text.find("(Up)"), std::string::npos);
    EXPECT_NE(text.find("\n\n" + R("Up Angle LS", "0.0000") + "\n\n" + R("Down Angle LS", "0.0000") + "\n\n\n"),
              std::string::npos);
}

TEST_F(ReportTest, OutsideRowsPerKindAndTheDriverMirrorShare) {
    struct Case {
        int kind, row;
        const char* title;
        bool share;
    };
    const Case cases[] = {
        {1, 0, "Mirror Certification Driver Outside - Summary Results", false},
        {2, 1, "Mirror Certification Passenger Outside - Summary Results", false},
        {2, 0, "Mirror Certification Passenger Outside - Summary Results", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " row " << c.row);
        ASSERT_EQ(Init(dialog_input(c.kind, c.row)), 0);
        data_.outside->driver_mirror_area_percentage = 87.5;
        data_.outside->first->inboard_deviation = -2.0;
        data_.outside->head_turn_angle_pv = 31.25;
        const std::string text = Report();
        EXPECT_EQ(text.rfind(c.title, 0), 0u);
        std::string rows = "\n\n" + R("Standard Width", "20.0000") + "\n\n" + R("Mirror Rotation Angle LS", "0.0000") +
                           "\n\n" + R("Mirror Rotation Angle PV", "0.0000") + "\n\n" +
                           R("Head Turn Angle PV", "31.2500") + "\n\n" + R("Max Ambinocular Angle PV", "0.0000") +
                           "\n\n" + R("Ambinocular Angle @ Ground PV", "0.0000") + "\n\n" +
                           R("Inboard Deviation", "-2.0000") + "\n\n" + R("Outboard Deviation", "0.0000");
        if (c.share) rows += "\n\n" + R("Driver Mirror", "87.5000%");
        rows += "\n\n\nSystem Messages:";
        EXPECT_NE(text.find(rows), std::string::npos) << text;
        HM_VD_MC_release_data(&data_);
    }
}

TEST_F(ReportTest, MessagesOfCallerAndRunAndLongTextsUncut) {
    const std::string long_text(6000, 'w');
    const char* caller[] = {"Caller note one", long_text.c_str()};
    mc_input_data_t in = dialog_input(1, 0);
    in.caller_message_count = 2;
    in.caller_messages = caller;
    ASSERT_EQ(Init(in), 0);
    add_warning(&data_, kWarnStdWidth);
    add_message(&data_, long_text.c_str());
    const std::string text = Report();
    const std::string tail = "\n\n\nSystem Messages:\n\nCaller note one\n" + long_text + "\n\n" +
                             "\n*DOES NOT CERTIFY* Target Width less than Standard Width \n" + long_text + "\n" +
                             kClosing;
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
}

TEST_F(ReportTest, AListingWindowThatCannotOpenSuppressesTheReport) {
    ASSERT_EQ(Init(dialog_input(0, 0)), 0);
    host_testing::clear_sinks();
    host_testing::set_listing_window_fails(true);
    EXPECT_EQ(write_report(&data_), 1);
    EXPECT_EQ(host_testing::listing_window(), "");
    EXPECT_EQ(write_report(nullptr), -1);
}

}  // namespace

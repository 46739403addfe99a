// The H-point design report of known designs, line by line, in the listing
// window and as HTML paragraphs in a file.
#include "host_fixture.h"
#include "hpd.h"
#include "occupant_fixtures.h"
#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using occupant_test::kDesignClass;
using occupant_test::rule_point;
using occupant_test::with_rule;

// A report row: label in 50 columns, value in 40.
std::string row(const std::string& label, const std::string& value) {
    std::string line = label;
    line.resize(std::max<size_t>(line.size(), 50), ' ');
    line += value;
    line.resize(std::max<size_t>(line.size(), 90), ' ');
    return line + "\n";
}
std::string angle_label(const char* label, const char* side) {
    std::string s = label;
    s.resize(20, ' ');
    std::string t = side;
    t.resize(10, ' ');
    return s + t;
}
std::string blanks(size_t n) { return std::string(n, ' '); }
const std::string kSep = " \n";

std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size() - 1;
        lines.push_back(text.substr(start, end - start + 1));
        start = end + 1;
    }
    return lines;
}

void expect_lines(const std::string& actual, const std::vector<std::string>& expected) {
    const std::vector<std::string> lines = split_lines(actual);
    ASSERT_EQ(lines.size(), expected.size()) << actual;
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
}

// The heels of the right, left and second right leg as a rule list, the
// right one given.
std::string heel_list(const std::string& right) {
    return "{ " + right + ", " + rule_point(481, -570, 493) + ", " + rule_point(781, -220, 93) + " }";
}

// The lines every report starts with: the banner and the model name.
std::string report_head(const char* model) {
    return "======================================\n" + kSep + "H-Point Design Tool\n" + kSep +
           row("Model Name", model) + kSep;
}

// A driver design in millimetres: SgRP (1000, -370, 600), 500 legs, every
// shoe level (angle 0) so that each ankle sits at (-81, 107) from its heel.
//   right ankle S + (-480, -360): heel (601, 133); thigh 16.2602, knee
//     73.7398, ankle 186.5 - 90 = 96.5, hip 112 - thigh = 95.7398, room 854;
//   left ankle S + (-600, 0): heel (481, 493); thigh 53.1301, knee 73.7398,
//     ankle 186.5 - 53.1301 = 133.3699, hip 58.8699, room 854;
//   second right ankle S + (-300, -400): heel (781, 93), room 754.
host_testing::RuleTexts driver_rules() {
    return {
        {"rcode", "0"},
        {"Algorithm_version", "2"},
        {"pv_angle_internal", "0.0"},
        {"rt_lateral_offset_internal", "25.0"},
        {"seating_position", "0"},
        {"vehicle_class", "0"},
        {"Male_Female_Ratio", "2"},
        {"UI_leg_length_type", "0"},
        {"upper_leg_length_internal", "500.0"},
        {"lower_leg_length_internal", "500.0"},
        {"target_back_angle_internal", "22.0"},
        {"target_cushion_angle_internal", "14.5"},
        {"target_lumbar_support_internal", "10.0"},
        {"position_left_shoe?", "TRUE"},
        {"UpdateSgrpPt", rule_point(1000, -370, 600)},
        {"occ_position_method", "0"},
        {"Result_AHPs", heel_list(rule_point(601, -370, 133))},
        {"AHPs", "{ " + rule_point(601, -370, 133) + " }"},
        {"A47s", "{ 0.0, 0.0, 0.0 }"},
        {"add_2nd_right_leg?", "TRUE"},
        {"ExportAssociatedSheetName", "\"out&<sheet>.csv\""},
        {"ImportAssociatedSheetName", "\"\""},
    };
}

const std::vector<std::string> kDriverReport = {
    "======================================\n",
    kSep,
    "H-Point Design Tool\n",
    kSep,
    row("Model Name", "HPD<&>(1)"),
    kSep,
    row("Export Associated Sheet", "out&<sheet>.csv"),
    kSep,
    row("Seating Position", "Driver"),
    kSep,
    row("Vehicle Class", "A"),
    kSep,
    row("Male Female Ratio", "1:1"),
    kSep,
    row("Cushion Angle (A27)", "14.5000"),
    kSep,
    row("Back Angle (A40)", "22.0000"),
    kSep,
    row("Lumbar Support Prominence (L81)", "10.0000"),
    kSep,
    row("Plane View Angle", " 0.0000"),
    kSep,
    row("Seat Height (H30)", "467.0000"),
    kSep,
    row("SgRP (L31-1)", "L =1000.0000"),
    row("    (W20-1)", "W =-370.0000"),
    row("    (H70-1)", "H =600.0000"),
    kSep,
    row("Distance from SgRP Curve", " 0.0000"),
    kSep,
    row("Pedal Plane Angle (A47)", " 0.0000"),
    kSep,
    row("Pedal Reference Point (PRP) (L1)", "L =401.0000"),
    row(blanks(27) + "(W1)", "W =-345.0000"),
    row(blanks(27) + "(H1)", "H =133.0000"),
    row("Accelerator Heel Point (AHP) (L8)", "L =601.0000"),
    row(blanks(28) + "(W8)", "W =-370.0000"),
    row(blanks(28) + "(H8)", "H =133.0000"),
    row("AHP to PRP lateral offset (PW14)", "25.0000"),
    kSep,
    row("Floor Reference Point (FRP) (2nd Right)", "L =781.0000"),
    row(blanks(25), "W =-220.0000"),
    row(blanks(25), "H =93.0000"),
    kSep,
    row("Floor Plane Angle (A48) (2nd Right)", " 0.0000"),
    kSep,
    row("Floor Reference Point (FRP) (Left)", "L =481.0000"),
    row(blanks(25), "W =-570.0000"),
    row(blanks(25), "H =493.0000"),
    kSep,
    row("Floor Plane Angle (A48) (Left)", " 0.0000"),
    kSep,
    row("Leg Length (Upper) (SgRP)", "500.0000"),
    kSep,
    row("Leg Length (Lower) (SgRP)", "500.0000"),
    kSep,
    row(angle_label("Hip Angle (A42)", "(Right)"), "95.7398"),
    kSep,
    row(angle_label("Hip Angle (A42)", "(Left)"), "58.8699"),
    kSep,
    row(angle_label("Thigh Angle (A57)", "(Right)"), "16.2602"),
    kSep,
    row(angle_label("Thigh Angle (A57)", "(Left)"), "53.1301"),
    kSep,
    row(angle_label("Knee Angle (A44)", "(Right)"), "73.7398"),
    kSep,
    row(angle_label("Knee Angle (A44)", "(Left)"), "73.7398"),
    kSep,
    row(angle_label("Ankle Angle (A46)", "(Right)"), "96.5000"),
    kSep,
    row(angle_label("Ankle Angle (A46)", "(Left)"), "133.3699"),
    kSep,
    // With a second right leg, the right leg room is that leg's.
    row("Leg Room (L51) (Right)", "754.0000"),
    kSep,
    row("Leg Room (L34) (Left)", "854.0000"),
    kSep,
};

// The design report in the listing window and in HTML files.
class ReportTest : public HostTest {
protected:
    void make_design(const char* name, const host_testing::RuleTexts& rules, const char* feature) {
        ASSERT_NE(host_testing::make_rule_instance("root:", name, kDesignClass, rules), 0u);
        ASSERT_NE(host_testing::make_instance_feature(name, feature), 0u);
    }
    std::string report_to_file(const char* name) {
        FILE* file = std::tmpfile();
        EXPECT_NE(file, nullptr);
        if (!file) return "";
        HM_VD_HPD_OutputReport(name, file);
        std::string text;
        std::rewind(file);
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
        std::fclose(file);
        return text;
    }
};

std::string replace_all(std::string s, const std::string& from, const std::string& to) {
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
    return s;
}

TEST_F(ReportTest, DriverReportIsWrittenToTheListingWindow) {
    make_design("DRIVER", driver_rules(), "HPD<&>(1)");
    HM_UI_open_listing_window();
    HM_VD_HPD_OutputReport("DRIVER", nullptr);
    expect_lines(host_testing::listing_window(), kDriverReport);
    ExpectNoLeaks();
}

TEST_F(ReportTest, DisplayOpensTheListingWindow) {
    make_design("DRIVER", driver_rules(), "HPD<&>(1)");
    ASSERT_FALSE(HM_UI_is_listing_window_open());
    HM_VD_HPD_DisplayResultInWindow("DRIVER");
    EXPECT_TRUE(HM_UI_is_listing_window_open());
    expect_lines(host_testing::listing_window(), kDriverReport);
    ExpectNoLeaks();
}

// The file form: one paragraph per line, blanks as non-breaking spaces and
// the markup characters of names escaped; decoded, it is the listing.
TEST_F(ReportTest, DriverReportIsWrittenAsHtmlParagraphs) {
    make_design("DRIVER", driver_rules(), "HPD<&>(1)");
    const std::string html = report_to_file("DRIVER");

    std::string nbsp33, nbsp32;
    for (int i = 0; i < 33; ++i) nbsp33 += "&nbsp;";
    for (int i = 0; i < 32; ++i) nbsp32 += "&nbsp;";
    EXPECT_NE(html.find("<p>Seat&nbsp;Height&nbsp;(H30)" + nbsp33 + "467.0000" + nbsp32 + "\n</p>"),
              std::string::npos);
    EXPECT_NE(html.find("HPD&lt;&amp;&gt;(1)"), std::string::npos);
    EXPECT_NE(html.find("out&amp;&lt;sheet&gt;.csv"), std::string::npos);
    EXPECT_EQ(html.find('<', html.find("HPD&lt;")), html.find("</p>", html.find("HPD&lt;")))
        << "no raw markup character from a name";
    EXPECT_EQ(html.compare(0, 3, "<p>"), 0);
    EXPECT_EQ(html.compare(html.size() - 4, 4, "</p>"), 0);

    std::string listing;
    for (const std::string& line : kDriverReport) listing += line;
    std::string decoded = replace_all(replace_all(html, "<p>", ""), "</p>", "");
    decoded = replace_all(decoded, "&nbsp;", " ");
    decoded = replace_all(decoded, "&lt;", "<");
    decoded = replace_all(decoded, "&gt;", ">");
    decoded = replace_all(decoded, "&amp;", "&");
    EXPECT_EQ(decoded, listing);
    ExpectNoLeaks();
}

TEST_F(ReportTest, PassengerReportIsWrittenWithItsOwnRows) {
    host_testing::RuleTexts rules = driver_rules();
    const std::pair<const char*, const char*> passenger[] = {
        {"seating_position", "1"},           {"vehicle_class", "1"},
        {"Male_Female_Ratio", "1"},          {"UI_leg_length_type", "1"},
        {"position_left_shoe?", "FALSE"},    {"add_2nd_right_leg?", "FALSE"},
        {"ExportAssociatedSheetName", "\"\""}, {"ImportAssociatedSheetName", "\"in.csv\""},
    };
    for (const auto& [name, text] : passenger) rules = with_rule(rules, name, text);
    make_design("PASSENGER", rules, "HPD(2)");
    HM_UI_open_listing_window();
    HM_VD_HPD_OutputReport("PASSENGER", nullptr);
    const std::vector<std::string> expected = {
        "======================================\n",
        kSep,
        "H-Point Design Tool\n",
        kSep,
        row("Model Name", "HPD(2)"),
        kSep,
        row("Import Associated Sheet", "in.csv"),
        kSep,
        row("Seating Position", "Passenger"),
        kSep,
        row("Vehicle Class", "B"),
        kSep,
        row("Male Female Ratio", "75:25"),
        kSep,
        row("Cushion Angle (A27)", "14.5000"),
        kSep,
        row("Back Angle (A40)", "22.0000"),
        kSep,
        row("Lumbar Support Prominence (L81)", "10.0000"),
        kSep,
        row("Seat Height (H30)", "467.0000"),
        kSep,
        row("SgRP (L31)", "L =1000.0000"),
        row("    (W20)", "W =-370.0000"),
        row("    (H70)", "H =600.0000"),
        kSep,
        row("Floor Reference Point (FRP) (Right)", "L =601.0000"),
        row(blanks(25), "W =-370.0000"),
        row(blanks(25), "H =133.0000"),
        kSep,
        row("Floor Plane Angle (A48) (Right)", " 0.0000"),
        kSep,
        row("Leg Length (Upper) (Mid-Size Male)", "500.0000"),
        kSep,
        row("Leg Length (Lower) (Mid-Size Male)", "500.0000"),
        kSep,
        row(angle_label("Hip Angle (A42)", "(Right)"), "95.7398"),
        kSep,
        row(angle_label("Thigh Angle (A57)", "(Right)"), "16.2602"),
        kSep,
        row(angle_label("Knee Angle (A44)", "(Right)"), "73.7398"),
        kSep,
        row(angle_label("Ankle Angle (A46)", "(Right)"), "96.5000"),
        kSep,
        row("Leg Room (L34) (Right)", "854.0000"),
        kSep,
    };
    expect_lines(host_testing::listing_window(), expected);
    ExpectNoLeaks();
}

TEST_F(ReportTest, MaleFemaleRatioAndLegLengthAreWrittenInWords) {
    struct Case {
        const char* vehicle_class;
        const char* ratio;
        const char* leg_length_type;
        std::string ratio_row;
        std::string upper_row;
    } cases[] = {
        {"0", "1", "2", row("Male Female Ratio", "1:1"), row("Leg Length (Upper) (For Study)", "500.0000")},
        {"1", "0", "0", row("Male Female Ratio", "50:50"), row("Leg Length (Upper) (SgRP)", "500.0000")},
        {"1", "2", "1", row("Male Female Ratio", "90:10 to 95:5"),
         row("Leg Length (Upper) (Mid-Size Male)", "500.0000")},
    };
    int n = 0;
    for (const Case& c : cases) {
        host_testing::RuleTexts rules = with_rule(driver_rules(), "vehicle_class", c.vehicle_class);
        rules = with_rule(rules, "Male_Female_Ratio", c.ratio);
        rules = with_rule(rules, "UI_leg_length_type", c.leg_length_type);
        const std::string name = "D" + std::to_string(++n);
        make_design(name.c_str(), rules, name.c_str());
        host_testing::clear_sinks();
        HM_UI_open_listing_window();
        HM_VD_HPD_OutputReport(name.c_str(), nullptr);
        const std::string& text = host_testing::listing_window();
        EXPECT_NE(text.find(c.ratio_row), std::string::npos) << c.ratio_row;
        EXPECT_NE(text.find(c.upper_row), std::string::npos) << c.upper_row;
        EXPECT_EQ(text.find("Distance from SgRP Curve") != std::string::npos, std::string(c.leg_length_type) == "0");
    }
    ExpectNoLeaks();
}

// A failed update reports the header, the model name and the failure text.
TEST_F(ReportTest, FailedUpdateShowsItsMessage) {
    make_design("BROKEN", with_rule(driver_rules(), "rcode", "17"), "HPD(3)");
    HM_UI_open_listing_window();
    HM_VD_HPD_OutputReport("BROKEN", nullptr);
    char* message = HM_VD_HPD_ask_error_message(17);
    ASSERT_NE(message, nullptr);
    ASSERT_NE(std::strlen(message), 0u);
    std::string expected = report_head("HPD(3)") + "Feature update failure: \n" + message;
    SM_free(message);
    EXPECT_EQ(host_testing::listing_window(), expected);
    ExpectNoLeaks();
}

// A right leg that fails leaves the reader's later members unread; the
// report shows them as zero, not as whatever the stack held.
TEST_F(ReportTest, RightLegFailureReportsClearedValues) {
    make_design("BEHIND",
                with_rule(driver_rules(), "Result_AHPs", heel_list(rule_point(1010, -370, 133))), "HPD(4)");
    HM_UI_open_listing_window();
    HM_VD_HPD_OutputReport("BEHIND", nullptr);
    const std::string& text = host_testing::listing_window();
    EXPECT_EQ(text.find("(2nd Right)"), std::string::npos) << "the second leg flag was not read";
    EXPECT_NE(text.find(row(angle_label("Hip Angle (A42)", "(Right)"), " 0.0000")), std::string::npos);
    EXPECT_NE(text.find(row("Leg Room (L51) (Right)", " 0.0000")), std::string::npos);
    EXPECT_NE(text.find(row(angle_label("Hip Angle (A42)", "(Left)"), "58.8699")), std::string::npos);
    ExpectNoLeaks();
}

TEST_F(ReportTest, UnknownDesignWritesNothing) {
    ASSERT_NE(host_testing::make_rule_instance("root:", "NO_FEATURE", kDesignClass, driver_rules()), 0u);
    HM_UI_open_listing_window();
    HM_VD_HPD_OutputReport("NO_SUCH_DESIGN", nullptr);
    HM_VD_HPD_OutputReport("NO_FEATURE", nullptr);
    HM_VD_HPD_OutputReport(nullptr, nullptr);
    EXPECT_EQ(host_testing::listing_window(), "");
    EXPECT_EQ(report_to_file("NO_SUCH_DESIGN"), "");
    ExpectNoLeaks();
}

}  // namespace

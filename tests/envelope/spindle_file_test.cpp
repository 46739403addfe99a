// The spindle-points file: its tokenizer, the record count, the copy written
// back from the tool's list rules, and the reading with travel, steering,
// camber and toe.
#include "envelope_fixtures.h"

#include "tire_envelope.h"

using namespace carvell::envelope;
using namespace envelope_test;

namespace {

class SpindleFileTest : public EnvelopeTest {
protected:
    int read(const std::vector<std::string>& lines, int* count) {
        const std::string path = write_file("spindle.pts", lines);
        std::snprintf(params_->spindle_file, sizeof params_->spindle_file, "%s", path.c_str());
        SpindleCount c;
        EXPECT_EQ(count_spindle_records(params_.get(), &c), 0);
        points_.clear();
        return read_spindle_points(params_.get(), c.has_header, c.capacity, &points_, &directions_, count);
    }
    std::vector<double> points_, directions_;
};

TEST_F(SpindleFileTest, TokenizerReadsRecordsAndRefusesMalformedLines) {
    struct Case {
        const char* text;
        int code;
        int count;
    };
    const Case cases[] = {
        {"1,2,3,4,5,6 # design\n", 0, 6},
        {"\n   \n# comment only\n1\t2 3\n", 0, 3},
        {"1 2 3 4 5 6 7\n", -98, 6},
        {"x1 2 3\n", -99, 0},
        {"1 -x 3\n", -99, 1},        // starts legally, converts to nothing
        {"e5 .5 +2 -1e2\n", -99, 0},  // "e5" starts legally but is no number
        {".5 +2 -1e2\n", 0, 3},
        {"##### five\n", -1, 0},
        {"", -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::FILE* f = std::tmpfile();
        std::fputs(c.text, f);
        std::rewind(f);
        double values[6] = {};
        int count = -5;
        EXPECT_EQ(readvalues(f, 6, values, &count), c.code);
        EXPECT_EQ(count, c.count);
        std::fclose(f);
    }
    double values[6];
    int count = 0;
    EXPECT_EQ(readvalues(nullptr, 6, values, &count), -1);
}

TEST_F(SpindleFileTest, ALineBeyond131CharactersGoesOnAsTheNextRead) {
    std::FILE* f = std::tmpfile();
    std::string line(128, ' ');
    line += "1 2 3 4";   // the fourth value lands past the 131st character
    std::fputs((line + "\n").c_str(), f);
    std::rewind(f);
    double values[6];
    int count = 0;
    EXPECT_EQ(readvalues(f, 6, values, &count), 0);
    EXPECT_EQ(count, 2);   // "1 2" of the first 131 characters
    EXPECT_EQ(readvalues(f, 6, values, &count), 0);
    EXPECT_EQ(count, 2);
    std::fclose(f);
}

TEST_F(SpindleFileTest, CountStartsAfterTheLastTerminatorAndHoldsEveryRecordTheReaderTakes) {
    const std::string path = write_file("count.pts", {"header", "######", "1 2 3 4 5 6", "#######",
                                                      "1 2 3 4 5 6 # commented", "1 2 3 4 5 6", "##### five"});
    std::snprintf(params_->spindle_file, sizeof params_->spindle_file, "%s", path.c_str());
    SpindleCount c;
    ASSERT_EQ(count_spindle_records(params_.get(), &c), 0);
    EXPECT_TRUE(c.has_header);
    EXPECT_EQ(c.records, 1);    // only the line without '#' after the last terminator
    EXPECT_EQ(c.capacity, 3);   // the reader takes all three records
    EXPECT_EQ(host_testing::open_text_files(), 0);
    std::snprintf(params_->spindle_file, sizeof params_->spindle_file, "%s/missing.pts", dir_.c_str());
    EXPECT_EQ(count_spindle_records(params_.get(), &c), 1);
    EXPECT_TRUE(dialog_shown("Spindle Points File", "Cannot read spindle points file:"));
}

TEST_F(SpindleFileTest, RightWheelTravelSteeringCamberAndToe) {
    int count = 0;
    const auto lines = spindle_lines(1.0, 0.2, -0.5, {{0, 0}, {80, 0}, {-90, 0}, {0, 35}, {0, -30}});
    ASSERT_EQ(read(lines, &count), 0);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(params_->side, 1.0);
    EXPECT_TRUE(syslog_has("\nSuspension Travel:  Jounce: 80.00 mm     Rebound: -90.00\n"));
    // Steering angle atan(d.x / d.y) = -(toe + lock) for a lock turning the
    // spindle about z: 35 degrees gives -35.2, -30 gives 29.8.
    char steer[128];
    std::snprintf(steer, sizeof steer, "Steering Angles:    Left: %.2f deg.     Right: %.2f deg.\n", -35.2, 29.8);
    EXPECT_TRUE(syslog_has(steer));
    EXPECT_TRUE(syslog_has("\nDesign position camber angle: -0.50 deg.\n"));
    EXPECT_TRUE(syslog_has("Design position toe angle:    0.20 deg.\n"));
    EXPECT_FALSE(syslog_has("Bogus"));
    EXPECT_TRUE(syslog_has("\nRight"));
}

TEST_F(SpindleFileTest, LeftWheelWithBogusAnglesIsWarnedInTheSyslog) {
    int count = 0;
    ASSERT_EQ(read(spindle_lines(-1.0, 2.0, -3.0, {{0, 0}}), &count), 0);
    EXPECT_EQ(params_->side, -1.0);
    EXPECT_TRUE(syslog_has("\nLeft"));
    EXPECT_TRUE(syslog_has("\nWARNING: Bogus toe angle = 2.00 degrees.\nNormal Range 0.0 to +1.0 degree.\n"));
    EXPECT_TRUE(
        syslog_has("\nWARNING:  Bogus camber angle = -3.00 degrees.\nNormal Range -2.0 to +1.5 degrees.\n"));
    // One record: no travel, equal steering angles.
    EXPECT_TRUE(syslog_has("Jounce: 0.00 mm     Rebound: 0.00"));
}

TEST_F(SpindleFileTest, BadFilesEndWithTheirDialogs) {
    struct Case {
        std::vector<std::string> lines;
        const char* title;
        const char* text;
    };
    const Case cases[] = {
        {{"# nothing"}, "Spindle Points File", "Spindle points file has no data."},
        {{"1 2 3 1 2 3"}, "Spindle Vector", "Error: First spindle vector has zero length!"},
        {{"0 790 0 100 790 0"}, "Spindle Vector", "Error: First spindle vector is parallel to XZ plane"},
        {{"0 790 0 0 690 0", "1 2 3 4 5"}, "Spindle Points Record", "Spindle points record does not have 6 numbers"},
        {{"0 790 0 0 690 0", "1 2 3 4 5 6 7"}, "Spindle Points Record", "Badly formatted spindle points file"},
        {{"0 790 0 0 690 0", "q 2 3 4 5 6"}, "Spindle Points Record", "Badly formatted spindle points file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        host_testing::clear_sinks();
        int count = 0;
        EXPECT_EQ(read(c.lines, &count), 1);
        EXPECT_TRUE(dialog_shown(c.title, c.text));
    }
}

TEST_F(SpindleFileTest, LaterZeroAndParallelRecordsAreSkippedAndCounted) {
    int count = 0;
    ASSERT_EQ(read({"0 790 0 0 690 0", "1 2 3 1 2 3", "0 790 0 100 790 0", "0 790 10 0 690 10"}, &count), 0);
    EXPECT_EQ(count, 2);
    EXPECT_TRUE(dialog_shown("Spindle Points File", "Spindle points file had zero-length lines."));
    EXPECT_TRUE(dialog_shown("Spindle Points File", "Spindle points file has spindles parallel to XZ plane."));
}

TEST_F(SpindleFileTest, CopyIsWrittenBackLineForLineAndGoesToANumberedNameWhenLocked) {
    const std::vector<std::string> lines = {"header", "######", "0 790 0 0 690 0"};
    store_spindle_file(lines);
    const std::string first = dir_ + "/spindle_file.pts";
    { std::ofstream(first) << "old\n"; }
    host_testing::lock_path(first.c_str());
    ASSERT_EQ(generate_spindle_copy(params_.get()), 0);
    EXPECT_EQ(std::string(params_->spindle_file), dir_ + "/spindle_file_0.pts");
    std::ifstream in(params_->spindle_file);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "header\n######\n0 790 0 0 690 0\n");
    host_testing::lock_path(first.c_str(), false);
}

TEST_F(SpindleFileTest, NoInstanceOrNoRuleFailsTheCopy) {
    std::snprintf(params_->spindle_file, sizeof params_->spindle_file, "%s/none.pts", dir_.c_str());
    EXPECT_EQ(generate_spindle_copy(params_.get()), 1);
    EXPECT_TRUE(host_testing::dialogs().empty());   // no file and no instance: no message
    ASSERT_NE(host_testing::make_rule_instance("root:", kInstance, kToolClass, {{"other", "1"}}), 0u);
    EXPECT_EQ(generate_spindle_copy(params_.get()), 1);
    EXPECT_TRUE(dialog_shown("Spindle Points File", "Cannot read file:\n"));
}

}  // namespace

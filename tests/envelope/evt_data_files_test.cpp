// The tire-envelope tool's spindle and joint-displacement files: the record
// count after the header, the records read in either order, bad records, and
// the files stored as list rules of the tool's instance.
#include "eve_fixtures.h"

#include "tessik.h"
#include "vd_evt.h"

namespace {

using eve_test::EveTest;

class EvtDataFilesTest : public EveTest {
protected:
    const std::string spindle_text =
        "Front right wheel, 1580 track\n"
        "##########\n"
        "1000.0, 790.0, 350.0, 1000.35, 690.0, 349.1\n"
        "\n"
        "1000.0, 790.0, 430.0, 1000.35, 690.0, 431.0 # jounce 80\n"
        "1000.0 790.0 260.0 1000.35 690.0 258.2";
};

TEST_F(EvtDataFilesTest, RecordsAreCountedAfterTheLastHeaderTerminator) {
    struct Case {
        const char* what;
        std::string text;
        bool header;
        long count;
    };
    const Case cases[] = {
        {"a header; blank lines count, commented lines do not", spindle_text, true, 3},
        {"no header", "1 2 3 4 5 6\n1 2 3 4 5 6\n", false, 2},
        {"five '#' are a comment", "#####\n1 2 3 4 5 6\n", false, 1},
        {"two terminators: counted after the last", "######\n1 2 3 4 5 6\n#######\n1 2 3 4 5 6\n", true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        write_file(path("spindle.pts"), c.text);
        bool header = !c.header;
        long count = -1;
        ASSERT_EQ(VD_EVT_count_spindle_pts(path("spindle.pts").c_str(), &header, &count), 0);
        EXPECT_EQ(header, c.header);
        EXPECT_EQ(count, c.count);
    }
    bool header = true;
    long count = 5;
    EXPECT_EQ(VD_EVT_count_spindle_pts(path("missing.pts").c_str(), &header, &count), -1);
    EXPECT_FALSE(header);
    EXPECT_EQ(count, 0);
}

TEST_F(EvtDataFilesTest, RecordsAreReadAsSpindlePointAndAxisPointInEitherOrder) {
    write_file(path("spindle.pts"), spindle_text);
    for (int order : {1, 0}) {
        SCOPED_TRACE(order);
        int count = 0;
        double** first = nullptr;
        double** second = nullptr;
        ASSERT_EQ(VD_EVTWIZ_read_spindle_file(path("spindle.pts").c_str(), order, &count, &first, &second), 0);
        ASSERT_EQ(count, 3);
        double** p = order ? first : second;
        double** q = order ? second : first;
        EXPECT_EQ(p[1][2], 430.0);
        EXPECT_EQ(q[1][2], 431.0);
        EXPECT_EQ(p[2][2], 260.0);
        EXPECT_EQ(q[0][1], 690.0);
        for (int i = 0; i < count; ++i) {
            SM_free(first[i]);
            SM_free(second[i]);
        }
        SM_free(first);
        SM_free(second);
    }
}

TEST_F(EvtDataFilesTest, BadRecordsGiveTheirCodesAndNothingElse) {
    struct Case {
        const char* what;
        const char* text;
        int result;
    };
    const Case cases[] = {
        {"a five-number record", "######\n1 2 3 4 5 6\n1 2 3 4 5\n", -2},
        {"a seven-number record", "1 2 3 4 5 6 7\n", -3},
        {"a word among the numbers", "1 2 3 4 five 6\n", -3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        write_file(path("bad.pts"), c.text);
        int count = 9;
        double** first = reinterpret_cast<double**>(1);
        double** second = reinterpret_cast<double**>(1);
        EXPECT_EQ(VD_EVTWIZ_read_spindle_file(path("bad.pts").c_str(), 1, &count, &first, &second), c.result);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(first, nullptr);
        EXPECT_EQ(second, nullptr);
    }
    int count = 9;
    double** first = nullptr;
    double** second = nullptr;
    EXPECT_EQ(VD_EVTWIZ_read_spindle_file(path("missing.pts").c_str(), 1, &count, &first, &second), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(VD_EVTWIZ_read_spindle_file(nullptr, 1, &count, &first, &second), -1);
}

TEST_F(EvtDataFilesTest, FilesAreStoredAsListRulesOfTheInstance) {
    ASSERT_NE(host_testing::make_rule_instance("root:", "EVT", "%kw_vd_evt_envelope"), 0u);
    write_file(path("spindle.pts"), spindle_text + "\n");
    ASSERT_EQ(VD_EVT_store_data_file_into_rq(path("spindle.pts").c_str(), "root:EVT:", VD_EVT_DATA_SPINDLE), 0);
    EXPECT_EQ(host_testing::rule_text("root:EVT:spindle_line_count:"), "1");
    TEXT_t rule;
    TEXT_init_string(&rule, "root:EVT:spindle_file_data:");
    int n = 0;
    char** lines = nullptr;
    ASSERT_EQ(VD_RQ_ask_string_list(&rule, &n, &lines), 0);
    TEXT_free(&rule);
    ASSERT_EQ(n, 6);
    EXPECT_STREQ(lines[1], "##########");
    EXPECT_STREQ(lines[4], "1000.0, 790.0, 430.0, 1000.35, 690.0, 431.0 # jounce 80");
    for (int i = 0; i < n; ++i) SM_free(lines[i]);
    SM_free(lines);
    write_file(path("joints.txt"), "");
    ASSERT_EQ(VD_EVT_store_data_file_into_rq(path("joints.txt").c_str(), "root:EVT:",
                                             VD_EVT_DATA_JOINT_DISPLACEMENT),
              0);
    EXPECT_EQ(host_testing::rule_text("root:EVT:joints_disp_line_count:"), "1");
    EXPECT_EQ(host_testing::rule_text("root:EVT:joints_disp_file_data:"), "{ }");
    EXPECT_EQ(VD_EVT_store_data_file_into_rq(path("joints.txt").c_str(), "root:EVT:", 2), -1);
    EXPECT_EQ(VD_EVT_store_data_file_into_rq(path("missing.txt").c_str(), "root:EVT:", 0), -1);
}

}  // namespace

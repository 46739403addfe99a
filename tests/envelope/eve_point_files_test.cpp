// Point-list files in the temporary directory and text files stored as list
// rules of the part's root: the writer and its numbered names, the remembered
// path, the table readers, the storage in lists of 2000 lines with a count
// rule, and writing the lists back into a file.
#include "eve_fixtures.h"

#include "tessik.h"
#include "vd_eve.h"

#include <cstring>

namespace {

using eve_test::EveTest;

class PointFilesTest : public EveTest {
protected:
    std::string remembered() const {
        char out[VD_EVE_PATH_SIZE];
        std::memset(out, 'x', sizeof out);
        VD_EVE_ask_points_list_filename(out);
        return out;
    }
    // The strings of a list rule of the root, as the rule language gives them.
    std::vector<std::string> list_rule(const std::string& name) const {
        TEXT_t path;
        TEXT_init_string(&path, ("Root:" + name + ":").c_str());
        int count = -1;
        char** strings = nullptr;
        const int code = VD_RQ_ask_string_list(&path, &count, &strings);
        TEXT_free(&path);
        std::vector<std::string> out;
        if (code != 0) return {"<no list " + name + ">"};
        for (int i = 0; i < count; ++i) {
            out.push_back(strings[i]);
            SM_free(strings[i]);
        }
        SM_free(strings);
        return out;
    }
    std::string numbered_lines(int n) const {
        std::string text;
        for (int i = 1; i <= n; ++i) text += std::to_string(i) + ".000000 0.000000 0.000000\n";
        return text;
    }
};

TEST_F(PointFilesTest, SavedPointsAreWrittenOneALineAndTheirPathRemembered) {
    GQ_VECTOR_t points[2] = {{1.0, 2.0, 3.0}, {4.5, 5.25, -6.0}};
    ASSERT_EQ(hm_vd_eve_save_points(2, points), 0);
    EXPECT_EQ(read_file(path("points_list_eve.txt")), "1.000000 2.000000 3.000000\n4.500000 5.250000 -6.000000\n");
    EXPECT_EQ(remembered(), path("points_list_eve.txt"));
    // The pointer form writes the same.
    double a[3] = {7, 8, 9};
    double* pointers[1] = {a};
    ASSERT_EQ(VD_EVE_save_sampling_points(1, 1, nullptr, pointers), 0);
    EXPECT_EQ(read_file(path("points_list_eve.txt")), "7.000000 8.000000 9.000000\n");
}

TEST_F(PointFilesTest, ALockedListFileGivesWayToTheNextNumberedName) {
    GQ_VECTOR_t point = {1.0, 0.0, 0.0};
    write_file(path("points_list_eve.txt"), "kept\n");
    host_testing::lock_path(path("points_list_eve.txt").c_str());
    ASSERT_EQ(VD_EVE_save_sampling_points(1, 0, &point, nullptr), 0);
    EXPECT_EQ(remembered(), path("points_list_eve_0.txt"));
    host_testing::lock_path(path("points_list_eve_0.txt").c_str());
    ASSERT_EQ(VD_EVE_save_sampling_points(1, 0, &point, nullptr), 0);
    EXPECT_EQ(remembered(), path("points_list_eve_1.txt"));
    EXPECT_EQ(read_file(path("points_list_eve.txt")), "kept\n");
    host_testing::lock_path(path("points_list_eve.txt").c_str(), false);
    host_testing::lock_path(path("points_list_eve_0.txt").c_str(), false);
}

TEST_F(PointFilesTest, AListFileThatCannotBeWrittenFailsAndIsNotRemembered) {
    GQ_VECTOR_t point = {1.0, 0.0, 0.0};
    ASSERT_EQ(VD_EVE_save_sampling_points(1, 0, &point, nullptr), 0);
    // A directory standing where the file should be.
    std::filesystem::remove(path("points_list_eve.txt"));
    std::filesystem::create_directory(path("points_list_eve.txt"));
    EXPECT_EQ(VD_EVE_save_sampling_points(1, 0, &point, nullptr), -1);
    EXPECT_EQ(remembered(), "");
    EXPECT_EQ(VD_EVE_save_sampling_points(1, 0, nullptr, nullptr), -1);
    EXPECT_EQ(VD_EVE_save_sampling_points(-1, 0, &point, nullptr), -1);
    host_testing::set_env("KWII_TMP_DIR", nullptr);
    EXPECT_EQ(VD_EVE_save_sampling_points(1, 0, &point, nullptr), -1);
    EXPECT_EQ(remembered(), "");
}

TEST_F(PointFilesTest, TablesCountTheLinesThatHoldNumbersAndRefuseRowsOfAnotherLength) {
    struct Case {
        const char* what;
        const char* text;
        int result;
        std::vector<double> numbers;
    };
    const Case cases[] = {
        {"an empty line and a last line without line end", "1 2 3\n\n4.5 -5 6e1", 0, {1, 2, 3, 4.5, -5, 60}},
        {"blanks around the numbers", "  1  2 3 \n", 0, {1, 2, 3}},
        {"a short row", "1 2 3\n4 5\n", -1, {}},
        {"a long row", "1 2 3 4\n", -1, {}},
        {"tabs are no separators", "1\t2\t3\n", -1, {}},
        {"no numbers at all", "\n\n", 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        write_file(path("table.txt"), c.text);
        int rows = -1;
        double** table = reinterpret_cast<double**>(1);
        ASSERT_EQ(VD_EVE_read_points_list_file(path("table.txt").c_str(), 3, &rows, &table), c.result);
        ASSERT_EQ(rows, static_cast<int>(c.numbers.size() / 3));
        for (int r = 0; r < rows; ++r) {
            for (int k = 0; k < 3; ++k) EXPECT_DOUBLE_EQ(table[r][k], c.numbers[3 * r + k]);
            SM_free(table[r]);
        }
        if (rows == 0) {
            EXPECT_EQ(table, nullptr);
        }
        SM_free(table);
        int count = -1;
        GQ_VECTOR_t* points = nullptr;
        ASSERT_EQ(hm_vd_eve_read_points_vector_file(path("table.txt").c_str(), &count, &points), c.result);
        ASSERT_EQ(count, rows);
        for (int i = 0; i < count; ++i) EXPECT_DOUBLE_EQ(points[i].z, c.numbers[3 * i + 2]);
        SM_free(points);
    }
}

TEST_F(PointFilesTest, AMissingTableGivesTheExistenceCodeAndNoRows) {
    int rows = -1;
    double** table = nullptr;
    EXPECT_EQ(VD_EVE_read_points_list_file(path("none.txt").c_str(), 3, &rows, &table), 1);
    EXPECT_EQ(rows, 0);
    EXPECT_EQ(table, nullptr);
    EXPECT_EQ(VD_EVE_read_points_list_file(nullptr, 3, &rows, &table), -1);
    EXPECT_EQ(VD_EVE_read_points_list_file(path("none.txt").c_str(), 0, &rows, &table), -1);
}

TEST_F(PointFilesTest, AStoredFileIsSplitIntoListsOf2000LinesWithACountRule) {
    struct Case {
        const char* what;
        int lines;
        std::vector<size_t> lists;
    };
    const Case cases[] = {{"empty file", 0, {0}}, {"2000 lines", 2000, {2000, 0}}, {"2500 lines", 2500, {2000, 500}},
                          {"4001 lines", 4001, {2000, 2000, 1}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string name = "pts" + std::to_string(c.lines);
        write_file(path("store.txt"), numbered_lines(c.lines));
        char out[VD_EVE_NAME_SIZE] = "";
        ASSERT_EQ(VD_EVE_store_points_list_into_rq(path("store.txt").c_str(), name.c_str(), out), 0);
        EXPECT_STREQ(out, name.c_str());
        EXPECT_EQ(host_testing::rule_text(("root:" + name + "_count:").c_str()), std::to_string(c.lists.size()));
        for (size_t i = 0; i < c.lists.size(); ++i) {
            const std::vector<std::string> got = list_rule(i == 0 ? name : name + "_" + std::to_string(i));
            EXPECT_EQ(got.size(), c.lists[i]) << "list " << i;
            if (!got.empty()) {
                EXPECT_EQ(got.front(), std::to_string(2000 * i + 1) + ".000000 0.000000 0.000000");
            }
        }
        EXPECT_FALSE(VD_RQ_ask_rule_exist("Root:", (name + "_" + std::to_string(c.lists.size())).c_str()));
    }
    EXPECT_EQ(host_testing::rule_text("root:pts0:"), "{ }");
}

TEST_F(PointFilesTest, UnnamedStoresTakeTheNextFreeDefaultName) {
    write_file(path("store.txt"), "1 2 3\n");
    char out[VD_EVE_NAME_SIZE] = "";
    ASSERT_EQ(VD_EVE_store_points_list_into_rq(path("store.txt").c_str(), nullptr, out), 0);
    EXPECT_STREQ(out, "%points_list");
    ASSERT_EQ(VD_EVE_store_points_list_into_rq(path("store.txt").c_str(), nullptr, out), 0);
    EXPECT_STREQ(out, "%points_list2");
    EXPECT_EQ(host_testing::rule_text("root:%points_list2_count:"), "1");
    // A count rule alone also takes its name.
    ASSERT_EQ(host_testing::set_rule("root:%points_list3_count:", "1"), 0);
    ASSERT_EQ(VD_EVE_store_points_list_into_rq(path("store.txt").c_str(), nullptr, out), 0);
    EXPECT_STREQ(out, "%points_list4");
}

TEST_F(PointFilesTest, LinesWithQuotesAndTildesComeBackAsTheyWere) {
    const std::string text = "say \"hi\" ~ now\n~\"~\nplain\n";
    write_file(path("odd.txt"), text);
    char out[VD_EVE_NAME_SIZE] = "";
    ASSERT_EQ(VD_EVE_store_points_list_into_rq(path("odd.txt").c_str(), "points_list", out), 0);
    char written[VD_EVE_NAME_SIZE] = "x";
    ASSERT_EQ(VD_EVEWIZ_save_points_list_file_from_rq("Root:", 1, VD_EVE_MODE_PTS, written), 0);
    EXPECT_EQ(std::string(written), path("points_list_eve.pts"));
    EXPECT_EQ(read_file(written), text);
}

TEST_F(PointFilesTest, WritingBackFollowsTheOwnersListNameAndRemembersTxtFilesOnly) {
    write_file(path("engine.txt"), numbered_lines(2001));
    char out[VD_EVE_NAME_SIZE] = "";
    ASSERT_EQ(VD_EVE_store_points_list_into_rq(path("engine.txt").c_str(), "engine_pts", out), 0);
    ASSERT_NE(host_testing::make_rule_instance("root:", "EVE", "%kw_vd_eve",
                                               {{"points_list_attri_name", "\"engine_pts\""}}),
              0u);
    char written[VD_EVE_NAME_SIZE] = "";
    ASSERT_EQ(hm_vd_eve_save_points_list_file_from_rq("root:EVE:", 2, VD_EVE_MODE_PTS, written), 0);
    EXPECT_EQ(read_file(written), numbered_lines(2001));
    EXPECT_EQ(remembered(), "");
    ASSERT_EQ(VD_EVEWIZ_save_points_list_file_from_rq("root:EVE:", 3, VD_EVE_MODE_TXT, written), 0);
    EXPECT_EQ(std::string(written), path("points_list_eve.txt"));
    EXPECT_EQ(read_file(written), numbered_lines(2001)) << "a list that does not exist is passed over";
    EXPECT_EQ(remembered(), path("points_list_eve.txt"));
}

TEST_F(PointFilesTest, BadStoreAndWriteBackInputMakesNoRuleAndNoFile) {
    write_file(path("store.txt"), "1 2 3\n");
    char out[VD_EVE_NAME_SIZE] = "unchanged";
    const std::string long_name(133, 'n');
    EXPECT_EQ(VD_EVE_store_points_list_into_rq(nullptr, nullptr, out), -1);
    EXPECT_EQ(VD_EVE_store_points_list_into_rq(path("store.txt").c_str(), nullptr, nullptr), -1);
    EXPECT_EQ(VD_EVE_store_points_list_into_rq(path("store.txt").c_str(), "", out), -1);
    EXPECT_EQ(VD_EVE_store_points_list_into_rq(path("store.txt").c_str(), long_name.c_str(), out), -1);
    EXPECT_EQ(VD_EVE_store_points_list_into_rq(path("missing.txt").c_str(), nullptr, out), -1);
    EXPECT_STREQ(out, "unchanged");
    EXPECT_FALSE(VD_RQ_ask_rule_exist("Root:", "%points_list"));
    EXPECT_EQ(host_testing::count_rule_instances(), 0);
    char written[VD_EVE_NAME_SIZE] = "x";
    EXPECT_EQ(VD_EVEWIZ_save_points_list_file_from_rq("Root:", 1, 5, written), -1);
    EXPECT_STREQ(written, "");
    EXPECT_EQ(VD_EVEWIZ_save_points_list_file_from_rq(nullptr, 1, VD_EVE_MODE_TXT, written), -1);
    host_testing::set_env("KWII_TMP_DIR", nullptr);
    EXPECT_EQ(VD_EVEWIZ_save_points_list_file_from_rq("Root:", 1, VD_EVE_MODE_TXT, written), -1);
    EXPECT_EQ(files_in_dir(), 1u);
}

}  // namespace

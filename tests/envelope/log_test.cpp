// The run's record in the part: log header, DESLOG attributes, categories,
// the reference set "PART" and the removal of the previous run's output.
#include "envelope_fixtures.h"

using namespace carvell::envelope;
using namespace envelope_test;

namespace {

class LogTest : public EnvelopeTest {
protected:
    void write_log(const std::string& text) {
        std::snprintf(params_->log_path, sizeof params_->log_path, "%s/envelope.log", dir_.c_str());
        std::ofstream(params_->log_path) << text;
    }
    std::string attribute(const char* title) {
        char* value = nullptr;
        if (HM_ATTR_ask_string(part_, title, &value) != 0) return "<none>";
        std::string out = value;
        SM_free(value);
        return out;
    }
    std::vector<std::string> category_names() {
        std::vector<std::string> names;
        for (tag_t c = HM_OBJ_cycle_objs_in_part(part_, HM_category_type, 0); c;
             c = HM_OBJ_cycle_objs_in_part(part_, HM_category_type, c)) {
            char name[64];
            HM_OBJ_ask_name(c, name, sizeof name);
            names.push_back(name);
        }
        return names;
    }
};

TEST_F(LogTest, LogOf132CharactersIsOneAttributeAnd133Two) {
    const std::string line(131, 'a');
    write_log(line + "\n");   // 132 characters with the line end
    ASSERT_EQ(copy_log_attributes(params_.get()), 0);
    EXPECT_EQ(attribute("DESLOG1"), line + "\n");
    EXPECT_EQ(attribute("DESLOG2"), "<none>");
    write_log(std::string(132, 'a') + "b");   // 133 characters in one line
    ASSERT_EQ(copy_log_attributes(params_.get()), 0);
    EXPECT_EQ(attribute("DESLOG1"), std::string(132, 'a'));
    EXPECT_EQ(attribute("DESLOG2"), "b" + std::string(130, ' ') + "\n");
}

TEST_F(LogTest, BlankLinesAreDroppedAndAnEmptyLogIsRefused) {
    write_log("A\n\n   \nB\n");
    ASSERT_EQ(copy_log_attributes(params_.get()), 0);
    EXPECT_EQ(attribute("DESLOG1"), "A\n   \nB\n" + std::string(123, ' ') + "\n");
    write_log("");
    EXPECT_EQ(copy_log_attributes(params_.get()), 1);
    EXPECT_TRUE(dialog_shown("Log File", "Log file is empty"));
}

TEST_F(LogTest, SectionCategoryNames) {
    struct Case {
        double a;
        const char* name;
    };
    for (const Case& c : {Case{0.0, "R000"}, Case{15.0, "R015"}, Case{67.5, "R67.5"}, Case{112.5, "R112.5"},
                          Case{180.0, "R180"}, Case{-15.0, "R345"}, Case{-22.5, "R337.50"}}) {
        SCOPED_TRACE(c.a);
        EXPECT_EQ(section_category_name(c.a), c.name);
    }
}

TEST_F(LogTest, CategoriesWithClashWarningsAndRerunsLeaveNoneStale) {
    ASSERT_EQ(set_radial_section_angles(params_.get()), 0);
    params_->profile_layer = params_->sec1_layer + 2;   // a section layer: DEVELOPMENTAL clashes
    ASSERT_EQ(create_envelope_categories(params_.get()), 0);
    EXPECT_TRUE(syslog_has("\nWARNING: Category DEVELOPMENTAL clashes with other categories.\n"));
    EXPECT_FALSE(syslog_has("Category SOLID clashes"));
    const auto names = category_names();
    EXPECT_EQ(names.size(), 19u + 8u);
    EXPECT_NE(std::find(names.begin(), names.end(), "R67.5"), names.end());
    HM_LAYER_category_info_t info;
    ASSERT_EQ(HM_LAYER_ask_category_info(HM_OBJ_cycle_by_name_and_type(part_, "R67.5", HM_category_type, 0), &info),
              0);
    EXPECT_STREQ(info.descr, "Tire Env Radial Section");
    EXPECT_TRUE(info.layer_mask[params_->sec1_layer + 5 - 1]);
    // A second run fails on duplicates unless the previous output is removed.
    EXPECT_EQ(create_envelope_categories(params_.get()), 1);
    EXPECT_TRUE(dialog_shown("Categories", "Error creating the following categories:\nR000, "));
    ASSERT_EQ(delete_dcs(), 0);
    EXPECT_TRUE(category_names().empty());
    host_testing::clear_sinks();
    EXPECT_EQ(create_envelope_categories(params_.get()), 0);
    // SOLID on a section layer clashes too.
    ASSERT_EQ(delete_dcs(), 0);
    params_->surface_layer = params_->sec1_layer;
    EXPECT_EQ(create_envelope_categories(params_.get()), 0);
    EXPECT_TRUE(syslog_has("\nWARNING: Category SOLID clashes with other categories.\n"));
}

TEST_F(LogTest, RemovalTakesDeslogAttributesAndTheReferenceSetsButLeavesOthers) {
    HM_ATTR_set_string(part_, "DESLOG1", "x");
    HM_ATTR_set_string(part_, "DESLOG2", "y");
    HM_ATTR_set_string(part_, "OWNER", "z");
    HM_ATTR_set_string(part_, "DESLOG9", "kept: beyond the count of string attributes");
    const tag_t line = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    ASSERT_EQ(add_part_reference_set("PART", &line, 1), 0);
    ASSERT_EQ(add_part_reference_set("PART", &line, 1), 0);   // found again: members added
    EXPECT_EQ(host_testing::count_objects(part_, HM_reference_set_type), 1);
    ASSERT_EQ(delete_dcs(), 0);
    EXPECT_EQ(attribute("DESLOG1"), "<none>");
    EXPECT_EQ(attribute("DESLOG2"), "<none>");
    EXPECT_EQ(attribute("OWNER"), "z");
    EXPECT_EQ(host_testing::count_objects(part_, HM_reference_set_type), 0);
    EXPECT_EQ(HM_OBJ_ask_status(line), HM_OBJ_ALIVE);
}

TEST_F(LogTest, HeaderIsWrittenLineByLineAndResetsOddSettings) {
    std::FILE* f = std::tmpfile();
    params_->log_file = f;
    params_->profile_type = 7;
    params_->point_cloud = 3;
    params_->offset_from_file = 1;
    params_->offset_method = 1;
    const std::string offsets = write_file("offsets.txt", {"90 1 2 3"});
    std::snprintf(params_->offset_file, sizeof params_->offset_file, "%s", offsets.c_str());
    std::snprintf(params_->date_time, sizeof params_->date_time, "03/07/2024    09:05:03");
    write_tire_envelope_log(params_.get());
    std::rewind(f);
    std::vector<std::string> lines;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, f)) lines.push_back(buffer);
    std::fclose(f);
    params_->log_file = nullptr;
    EXPECT_EQ(params_->profile_type, 0);
    EXPECT_EQ(params_->point_cloud, 0);
    const std::vector<std::string> want = {
        "DATE TIME               03/07/2024    09:05:03\n",
        "OPTIONAL NOTES          \n",
        "RIM SIZE                18x7.5\n",
        "RIM DIAMETER            457.200\n",
        "TIRE PROFILE TYPE       MAX GROWN\n",
        "TIRE PROFILE FILE       \n",
        "VEHICLE PROGRAM         \n",
        "SUSPENSION              \n",
        "SPINDLE POINTS FILE     front_right.pts\n",
        "WHEEL CENTERLINE SHIFT  0.000\n",
        "ENVELOPE OFFSET         FROM FILE\n",
        "OFFSET FILE             " + offsets + "\n",
        "OFFSET METHOD           BETWEEN ENDS\n",
        "RADIAL ANGSTART         0.000\n",
        "RADIAL ANGEND           180.000\n",
        "SURFACE TOL             0.000\n",
        "TRIM DIST SPINDLE       250.000\n",
        "SEC 1 LAYER             101\n",
        "SURFACE LAYER           150\n",
        "PROFILE LAYER           151\n",
        "SPINDLE LINE LAYER      152\n",
        "POINT CLOUD             NO\n",
        "CONCAVITY SENSITIVITY   1.000\n",
        "\n",
        "\n",
        " -------------------------------------------------------\n",
        "OFFSET FILE CONTENTS:\n",
        "90 1 2 3\n",
    };
    ASSERT_EQ(lines.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(lines[i], want[i]) << i;
}

TEST_F(LogTest, DateTimeIsClearedThenFormatted) {
    char text[32];
    std::memset(text, 'x', sizeof text - 1);
    text[sizeof text - 1] = '\0';
    text[0] = '\0';
    format_date_time(text, sizeof text);
    ASSERT_EQ(std::strlen(text), 22u);   // "MM/DD/YYYY    hh:mm:ss"
    EXPECT_EQ(text[2], '/');
    EXPECT_EQ(std::string(text + 10, 4), "    ");
    EXPECT_EQ(std::strchr(text, ' '), text + 10);   // no blank inside date or time
    // Appending to a full text writes nothing past its size.
    char full[8] = "abcdefg";
    format_date_time(full, sizeof full);
    EXPECT_STREQ(full, "abcdefg");
}

}  // namespace

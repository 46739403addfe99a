// Layers, categories, groups, reference sets and typed part attributes of
// the stand-in host, and the text-file services beside them.
#include "host_fixture.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

class LayersTest : public HostTest {};

TEST_F(LayersTest, NewObjectsGoOnTheWorkLayerFromOneToTwoHundredFiftySix) {
    ASSERT_EQ(HM_LAYER_set_status(42, HM_LAYER_WORK_LAYER), 0);
    const tag_t line = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    int layer = 0;
    HM_OBJ_ask_layer(line, &layer);
    EXPECT_EQ(layer, 42);
    EXPECT_EQ(HM_LAYER_set_status(0, HM_LAYER_WORK_LAYER), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_LAYER_set_status(257, HM_LAYER_WORK_LAYER), HM_ERR_BAD_ARGUMENT);
}

TEST_F(LayersTest, CategoryNamesAreBoundedAndUniqueInThePart) {
    HM_LAYER_category_info_t info{};
    std::strcpy(info.name, "SOLID");
    info.layer_mask[149] = true;
    tag_t c = 0;
    ASSERT_EQ(HM_LAYER_create_category(&info, &c), 0);
    tag_t again = 0;
    EXPECT_EQ(HM_LAYER_create_category(&info, &again), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(again, 0u);
    HM_LAYER_category_info_t read{};
    ASSERT_EQ(HM_LAYER_ask_category_info(c, &read), 0);
    EXPECT_TRUE(read.layer_mask[149]);
    EXPECT_FALSE(read.layer_mask[0]);
    ASSERT_EQ(HM_OBJ_delete_object(c), 0);
    EXPECT_EQ(HM_LAYER_create_category(&info, &again), 0);   // free again once deleted
}

TEST_F(LayersTest, ReferenceSetMembersAreAddedOnceAndRemoved) {
    const tag_t a = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    const tag_t b = host_testing::make_line({0, 0, 0}, {0, 1, 0});
    const double origin[3] = {0, 0, 0}, matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    tag_t set = 0;
    ASSERT_EQ(HM_ASSEM_create_ref_set("PART", origin, matrix, &a, 1, &set), 0);
    const tag_t both[2] = {a, b};
    ASSERT_EQ(HM_ASSEM_add_ref_set_members(set, 2, both), 0);
    int n = 0;
    tag_t* members = nullptr;
    ASSERT_EQ(HM_ASSEM_ask_ref_set_members(set, &n, &members), 0);
    EXPECT_EQ(n, 2);
    SM_free(members);
    ASSERT_EQ(HM_ASSEM_remove_ref_set_members(set, 1, &a), 0);
    ASSERT_EQ(HM_ASSEM_ask_ref_set_members(set, &n, &members), 0);
    ASSERT_EQ(n, 1);
    EXPECT_EQ(members[0], b);
    SM_free(members);
}

TEST_F(LayersTest, TypedAttributesCountAndDeleteByType) {
    tag_t holder = 0;
    ASSERT_EQ(HM_ATTR_ask_part_attribute(&holder), 0);
    EXPECT_EQ(holder, part_);
    HM_ATTR_value_t v{};
    v.type = HM_ATTR_string;
    v.value.string = "log text";
    ASSERT_EQ(HM_ATTR_assign(holder, "DESLOG1", &v), 0);
    HM_ATTR_set_integer(holder, "COUNT", 3);
    int count = 0;
    ASSERT_EQ(HM_ATTR_count_attributes(holder, HM_ATTR_string, &count), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(HM_ATTR_delete(holder, HM_ATTR_string, "DESLOG7"), 0);   // missing title: nothing to do
    EXPECT_EQ(HM_ATTR_delete(holder, HM_ATTR_string, "COUNT"), 0);     // another type stays
    int value = 0;
    EXPECT_EQ(HM_ATTR_ask_integer(holder, "COUNT", &value), 0);
    ASSERT_EQ(HM_ATTR_delete(holder, HM_ATTR_string, "DESLOG1"), 0);
    HM_ATTR_count_attributes(holder, HM_ATTR_string, &count);
    EXPECT_EQ(count, 0);
}

TEST_F(LayersTest, StringListDropsOneFinalLineEndAndReadsFromTheRootWithoutIt) {
    ASSERT_NE(host_testing::make_rule_instance("root:", "EVT", "%kw_vd_evt_envelope",
                                               {{"lines", "{ \"a b\n\", \"c\n\n\", \"d\" }"}}),
              0u);
    TEXT_t path;
    TEXT_init_string(&path, "EVT:lines:");
    int count = 0;
    char** strings = nullptr;
    ASSERT_EQ(VD_RQ_ask_string_list(&path, &count, &strings), 0);
    TEXT_free(&path);
    ASSERT_EQ(count, 3);
    EXPECT_STREQ(strings[0], "a b");
    EXPECT_STREQ(strings[1], "c\n");
    EXPECT_STREQ(strings[2], "d");
    for (int i = 0; i < count; ++i) SM_free(strings[i]);
    SM_free(strings);
}

TEST_F(LayersTest, TextReaderHandsOutLinesAndDelimiterIsAppendedOnce) {
    char dir[16] = "/tmp";
    ASSERT_EQ(CFI_append_delimiter(dir, sizeof dir), 0);
    ASSERT_EQ(CFI_append_delimiter(dir, sizeof dir), 0);
    EXPECT_STREQ(dir, "/tmp/");
    char tight[5] = "/tmp";
    EXPECT_EQ(CFI_append_delimiter(tight, sizeof tight), HM_ERR_BAD_ARGUMENT);
    const std::string file = "/tmp/host_text_reader_test.txt";
    { std::FILE* f = std::fopen(file.c_str(), "w"); std::fputs("one\ntwo\n", f); std::fclose(f); }
    int handle = 0, length = 0;
    ASSERT_EQ(hc4504(file.c_str(), 1, 4, &handle), 0);
    char line[16];
    ASSERT_EQ(hc4514(handle, line, sizeof line, &length), 0);
    EXPECT_STREQ(line, "one\n");
    ASSERT_EQ(hc4514(handle, line, sizeof line, &length), 0);
    EXPECT_EQ(hc4514(handle, line, sizeof line, &length), 1);
    EXPECT_EQ(hc4540(handle), 0);
    EXPECT_EQ(host_testing::open_text_files(), 0);
    EXPECT_EQ(CFI_modify_file_protection(file.c_str(), -1, 13107, 0), 0);
    host_testing::lock_path(file.c_str());
    EXPECT_EQ(CFI_modify_file_protection(file.c_str(), -1, 13107, 0), HM_ERR_FILE);
    host_testing::lock_path(file.c_str(), false);
    std::remove(file.c_str());
}

}  // namespace

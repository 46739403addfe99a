// The tire-envelope tool's inputs as list rules: the rule text of a set of
// records, its reading back, strings cut to their buffers, objects by their
// reference, null records, and the case-sensitive rule lookup.
#include "host_fixture.h"
#include "host_testing.h"
#include "tessik.h"
#include "vd_evt.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class EvtObjectsTest : public HostTest {};

TEST_F(EvtObjectsTest, RecordsBecomeOneListRuleAndComeBackAsTheyWere) {
    double numbers[2] = {1.5, 2.0};
    VD_EVT_object_t records[3] = {};
    records[0].type = VD_EVT_TYPE_INTEGER;
    records[0].count = 1;
    records[0].value.integer = 3;
    records[1].type = VD_EVT_TYPE_NUMBER_LIST;
    records[1].count = 2;
    records[1].value.numbers = numbers;
    records[2].type = VD_EVT_TYPE_BOOLEAN;
    records[2].count = 1;
    records[2].value.boolean = false;
    ASSERT_EQ(VD_EVTWIZ_build_EVT_Object(records, 3, "evt_inputs"), 0);
    EXPECT_TRUE(VD_EVTWIZ_is_group_available("evt_inputs"));
    EXPECT_FALSE(VD_EVTWIZ_is_group_available("EVT_INPUTS"));

    int n = 0;
    VD_EVT_object_t* back = nullptr;
    ASSERT_EQ(VD_EVTWIZ_ask_EVT_Object("evt_inputs", &n, &back), 0);
    ASSERT_EQ(n, 3);
    EXPECT_EQ(back[0].type, VD_EVT_TYPE_INTEGER);
    EXPECT_EQ(back[0].value.integer, 3);
    EXPECT_EQ(back[1].type, VD_EVT_TYPE_NUMBER_LIST);
    ASSERT_EQ(back[1].count, 2);
    EXPECT_EQ(back[1].value.numbers[0], 1.5);
    EXPECT_EQ(back[1].value.numbers[1], 2.0);
    EXPECT_EQ(back[2].type, VD_EVT_TYPE_BOOLEAN);
    EXPECT_FALSE(back[2].value.boolean);
    EXPECT_EQ(VD_EVTWIZ_free_EVT_Object(n, back), 0);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(EvtObjectsTest, TheRuleTextReadsAsTheToolWritesIt) {
    double numbers[2] = {1.5, 2.0};
    VD_EVT_object_t records[3] = {};
    records[0] = {{}, 1, VD_EVT_TYPE_INTEGER};
    records[0].value.integer = 3;
    records[1] = {{}, 2, VD_EVT_TYPE_NUMBER_LIST};
    records[1].value.numbers = numbers;
    records[2] = {{}, 1, VD_EVT_TYPE_BOOLEAN};
    ASSERT_EQ(VD_EVTWIZ_build_EVT_Object(records, 3, "evt_text"), 0);
    EXPECT_EQ(host_testing::stored_rule_text("root:evt_text:"), "{ 3, { 1.500000, 2.000000 }, FALSE }");
}

TEST_F(EvtObjectsTest, StringsObjectsAndTheirListsRoundTrip) {
    const double corner[3] = {0, 0, 0}, size[3] = {10, 10, 10};
    tag_t boxes[2] = {host_testing::make_box(corner, size), host_testing::make_box(corner, size)};
    const std::string long_text(200, 'w');
    char first[VD_EVT_STRING_SIZE] = "csys_front";
    char second[VD_EVT_STRING_SIZE] = "csys_rear";
    char* strings[2] = {first, second};
    bool switches[2] = {true, false};
    VD_EVT_object_t records[5] = {};
    records[0] = {{}, 1, VD_EVT_TYPE_STRING};
    records[0].value.string = const_cast<char*>(long_text.c_str());
    records[1] = {{}, 2, VD_EVT_TYPE_STRING_LIST};
    records[1].value.strings = strings;
    records[2] = {{}, 1, VD_EVT_TYPE_OBJECT};
    records[2].value.tag = boxes[0];
    records[3] = {{}, 2, VD_EVT_TYPE_OBJECT_LIST};
    records[3].value.tags = boxes;
    records[4] = {{}, 2, VD_EVT_TYPE_BOOLEAN_LIST};
    records[4].value.booleans = switches;
    ASSERT_EQ(VD_EVTWIZ_build_EVT_Object(records, 5, "evt_mixed"), 0);
    int n = 0;
    VD_EVT_object_t* back = nullptr;
    ASSERT_EQ(VD_EVTWIZ_ask_EVT_Object("evt_mixed", &n, &back), 0);
    ASSERT_EQ(n, 5);
    EXPECT_EQ(std::string(back[0].value.string), long_text.substr(0, 132)) << "cut to the 133-byte buffer";
    EXPECT_STREQ(back[1].value.strings[1], "csys_rear");
    EXPECT_EQ(back[2].value.tag, boxes[0]);
    EXPECT_EQ(back[3].type, VD_EVT_TYPE_OBJECT_LIST);
    EXPECT_EQ(back[3].value.tags[1], boxes[1]);
    EXPECT_TRUE(back[4].value.booleans[0]);
    EXPECT_FALSE(back[4].value.booleans[1]);
    VD_EVTWIZ_free_EVT_Object(n, back);
}

TEST_F(EvtObjectsTest, EmptyListsMissingRulesAndDeadObjectsMakeNothing) {
    VD_EVT_object_t empty = {{}, 0, VD_EVT_TYPE_INTEGER_LIST};
    EXPECT_EQ(VD_EVTWIZ_build_EVT_Object(&empty, 1, "evt_empty"), -1);
    VD_EVT_object_t dead = {{}, 1, VD_EVT_TYPE_OBJECT};
    dead.value.tag = 424242;
    EXPECT_EQ(VD_EVTWIZ_build_EVT_Object(&dead, 1, "evt_dead"), -1);
    EXPECT_EQ(VD_EVTWIZ_build_EVT_Object(nullptr, 1, "evt_null"), -1);
    EXPECT_FALSE(VD_EVTWIZ_is_group_available("evt_empty"));
    EXPECT_FALSE(VD_EVTWIZ_is_group_available("evt_dead"));
    int n = 5;
    VD_EVT_object_t* back = nullptr;
    EXPECT_EQ(VD_EVTWIZ_ask_EVT_Object("evt_missing", &n, &back), -1);
    ASSERT_EQ(host_testing::set_rule("root:evt_number:", "2.5"), 0);
    EXPECT_EQ(VD_EVTWIZ_ask_EVT_Object("evt_number", &n, &back), -1);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(back, nullptr);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(EvtObjectsTest, AClearedRecordIsNullAndAZeroIntegerIsNot) {
    VD_EVT_object_t r = {{}, 1, VD_EVT_TYPE_NUMBER};
    r.value.number = 4.0;
    EXPECT_FALSE(VD_EVTWIZ_is_EVT_Object_null(&r));
    EXPECT_EQ(VD_EVTWIZ_init_EVT_Object(&r), 0);
    EXPECT_TRUE(VD_EVTWIZ_is_EVT_Object_null(&r));
    VD_EVT_object_t zero = {{}, 1, VD_EVT_TYPE_INTEGER};
    EXPECT_FALSE(VD_EVTWIZ_is_EVT_Object_null(&zero));
    EXPECT_EQ(sizeof(VD_EVT_object_t), 16u);
}

}  // namespace

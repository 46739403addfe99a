// Features and rule instances under hostile arguments: null outputs, tag 0,
// deleted and wrong-kind tags, null entries and bad counts fail, build
// nothing and leave nothing allocated.
#include "host_fixture.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

class PartsHostileInputTest : public HostTest {};

TEST_F(PartsHostileInputTest, BadTagsOutputsAndCountsFailAndBuildNothing) {
    const double centre[3] = {0, 0, 0};
    tag_t feature = 0, body = 0;
    ASSERT_EQ(HM_MODL_create_sphere(HM_NULLSIGN, centre, "10", &feature), 0);
    ASSERT_EQ(HM_MODL_ask_feat_body(feature, &body), 0);
    const tag_t line = support::new_line(0, 0, 0, 1, 0, 0);
    const tag_t deleted = support::new_line(0, 0, 0, 0, 1, 0);
    ASSERT_EQ(HM_OBJ_delete_object(deleted), 0);
    hm_list_p_t features = nullptr, with_zero = support::make_list({feature, 0});
    hm_list_p_t with_line = support::make_list({line});
    tag_t t = 0, *tags = nullptr, *instances = nullptr;
    bool flag = false;
    char* text = nullptr;
    const tag_t zero_entry[2] = {body, 0}, dead_entry[1] = {deleted};
    const char* names[1] = {nullptr};
    const char* values[1] = {"1"};
    struct Case {
        const char* what;
        std::function<int()> call;
    };
    const std::vector<Case> cases = {
        {"body features into null", [&] { return HM_MODL_ask_body_feats(body, nullptr); }},
        {"features of tag 0", [&] { return HM_MODL_ask_body_feats(0, &features); }},
        {"features of a deleted object", [&] { return HM_MODL_ask_body_feats(deleted, &features); }},
        {"body features of a line", [&] { return HM_MODL_ask_body_feats(line, &features); }},
        {"face features of a body", [&] { return HM_MODL_ask_face_feats(body, &features); }},
        {"feature body of a line", [&] { return HM_MODL_ask_feat_body(line, &t); }},
        {"feature body into null", [&] { return HM_MODL_ask_feat_body(feature, nullptr); }},
        {"feature objects into null", [&] { return HM_MODL_ask_feat_object(feature, nullptr, &tags); }},
        {"feature type of tag 0", [&] { return HM_MODL_ask_feat_type(0, &text); }},
        {"is body feature of a deleted object", [&] { return HM_MODL_is_body_feature(deleted, &flag); }},
        {"suppress a list holding tag 0", [&] { return HM_MODL_suppress_feature(with_zero); }},
        {"suppress a line", [&] { return HM_MODL_suppress_feature(with_line); }},
        {"adopt -1 objects", [&] { return HM_RQ_adopt_kw_objects(-1, zero_entry, &instances); }},
        {"adopt 0 objects", [&] { return HM_RQ_adopt_kw_objects(0, zero_entry, &instances); }},
        {"adopt INT_MAX objects from null", [&] { return HM_RQ_adopt_kw_objects(INT_MAX, nullptr, &instances); }},
        {"adopt a row holding tag 0", [&] { return HM_RQ_adopt_kw_objects(2, zero_entry, &instances); }},
        {"adopt a deleted object", [&] { return HM_RQ_adopt_kw_objects(1, dead_entry, &instances); }},
        {"child rule of -1 values", [&] { return HM_RQ_create_child_rule(0, "root:", "c", "kw_point", -1, names, values); }},
        {"child rule with a null name", [&] { return HM_RQ_create_child_rule(0, "root:", "c", "kw_point", 1, names, values); }},
        {"chain of tag 0", [&] { return HM_RQ_ask_name_chain_of_instance(0, &text); }},
        {"chain of a line", [&] { return HM_RQ_ask_name_chain_of_instance(line, &text); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int before = host_testing::count_objects();
        const size_t blocks = host_testing::live_allocations();
        features = nullptr;
        instances = tags = nullptr;
        text = nullptr;
        EXPECT_NE(c.call(), 0);
        EXPECT_EQ(host_testing::count_objects(), before) << "nothing built";
        EXPECT_EQ(host_testing::live_allocations(), blocks) << "nothing left allocated";
        EXPECT_EQ(features, nullptr);
        EXPECT_EQ(instances, nullptr);
        EXPECT_EQ(text, nullptr);
    }
    bool suppressed = true;
    ASSERT_EQ(HM_MODL_ask_suppress_feature(feature, &suppressed), 0);
    EXPECT_FALSE(suppressed) << "a list with a bad entry suppresses nothing";
    HM_MODL_delete_list(&with_zero);
    HM_MODL_delete_list(&with_line);
}

}  // namespace

// The core under hostile input: parts kept from every deletion path, the
// run-time environment and layers checked at both ends of their ranges, and
// a table of bad tags, counts and values that fail, build nothing and leave
// nothing allocated.
#include "core/model.h"
#include "host_fixture.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "sarnweld.h"
#include "test_helpers.h"

#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

namespace {

using support::new_line;
using support::new_point;

class PartDeletionTest : public HostTest {};

// Logging the work part for deletion used to make the next update delete
// it, orphaning its objects; every path refuses it now.
TEST_F(PartDeletionTest, NoDeletionPathTakesThePart) {
    const tag_t line = new_line(0, 0, 0, 1, 0, 0);
    const int before = host_testing::count_objects();
    EXPECT_EQ(UPDATE_log_entity_to_delete(part_), HM_ERR_WRONG_TYPE);
    EXPECT_FALSE(UPDATE_is_object_logged(part_));
    EXPECT_EQ(HM_OBJ_delete_object(part_), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(OM_delete_object(part_), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_OBJ_delete_array_of_objects(1, &part_), HM_ERR_WRONG_TYPE);
    // Even a part that reached the log some other way stays at the update,
    // while the other logged objects go.
    host::model().logged_for_deletion.push_back(part_);
    ASSERT_EQ(UPDATE_log_entity_to_delete(line), 0);
    EXPECT_EQ(HM_MODL_update(), 0);
    EXPECT_EQ(HM_OBJ_ask_status(part_), HM_OBJ_ALIVE);
    EXPECT_EQ(HM_ASSEM_ask_work_part(), part_);
    EXPECT_EQ(HM_OBJ_ask_status(line), HM_OBJ_DELETED);
    EXPECT_EQ(host_testing::count_objects(), before - 1);
    // New geometry still goes into the part.
    tag_t point = 0;
    const double p[3] = {1, 2, 3};
    EXPECT_EQ(HM_CURVE_create_point(p, &point), 0);
    tag_t owner = 0;
    EXPECT_EQ(HM_OBJ_ask_owning_part(point, &owner), 0);
    EXPECT_EQ(owner, part_);
}

class EnvironmentTest : public HostTest {};

TEST_F(EnvironmentTest, OnlyTheHostsEnvironmentsAreTaken) {
    for (RTENV_ENV_t e : {RTENV_batch, RTENV_kwopen, RTENV_interactive}) {
        SCOPED_TRACE(int(e));
        EXPECT_EQ(RTENV_set_env(e), 0);
        EXPECT_EQ(RTENV_ask_env(), e);
    }
    ASSERT_EQ(RTENV_set_env(RTENV_batch), 0);
    for (int bad : {-1, 3, 99, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(RTENV_set_env(static_cast<RTENV_ENV_t>(bad)), HM_ERR_BAD_ARGUMENT);
        EXPECT_EQ(RTENV_ask_env(), RTENV_batch) << "the environment is unchanged";
    }
}

class LayerTest : public HostTest {};

// Layers run from 1 to 256: both ends are taken and read back, the values
// just outside are refused and leave the layer as it was.
TEST_F(LayerTest, BothEndsOfTheLayerRangeAreTakenAndTheNextRefused) {
    const tag_t point = new_point(0, 0, 0);
    for (int layer : {1, 256, 2, 255}) {
        SCOPED_TRACE(layer);
        ASSERT_EQ(HM_OBJ_set_layer(point, layer), 0);
        int back = 0;
        ASSERT_EQ(HM_OBJ_ask_layer(point, &back), 0);
        EXPECT_EQ(back, layer);
    }
    ASSERT_EQ(HM_OBJ_set_layer(point, 17), 0);
    for (int layer : {0, 257, -1, INT_MAX, INT_MIN}) {
        SCOPED_TRACE(layer);
        EXPECT_EQ(HM_OBJ_set_layer(point, layer), HM_ERR_BAD_ARGUMENT);
        int back = 0;
        ASSERT_EQ(HM_OBJ_ask_layer(point, &back), 0);
        EXPECT_EQ(back, 17);
    }
}

class CoreHostileInputTest : public HostTest {};

// Bad tags, counts and values across the object table, attributes, lists
// and tolerances: a failure code, nothing built or deleted, nothing left
// allocated.
TEST_F(CoreHostileInputTest, BadTagsCountsAndValuesFailAndChangeNothing) {
    const tag_t point = new_point(1, 1, 1);
    const tag_t deleted = new_point(2, 2, 2);
    ASSERT_EQ(HM_OBJ_delete_object(deleted), 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    hm_list_p_t list = nullptr;
    ASSERT_EQ(HM_MODL_create_list(&list), 0);
    ASSERT_EQ(HM_MODL_put_list_item(list, point), 0);
    const tag_t with_zero[2] = {point, 0};
    char name[16];
    int i = 0;
    tag_t t = 0;
    struct Case {
        const char* what;
        std::function<int()> call;
    };
    const std::vector<Case> cases = {
        {"type of tag 0", [&] { return HM_OBJ_ask_type_and_subtype(0, &i, &i); }},
        {"type of a deleted object", [&] { return HM_OBJ_ask_type_and_subtype(deleted, &i, &i); }},
        {"type into null", [&] { return HM_OBJ_ask_type_and_subtype(point, nullptr, &i); }},
        {"delete tag 0", [&] { return HM_OBJ_delete_object(0); }},
        {"delete a deleted object", [&] { return HM_OBJ_delete_object(deleted); }},
        {"delete -1 objects", [&] { return HM_OBJ_delete_array_of_objects(-1, &point); }},
        {"delete INT_MIN objects", [&] { return HM_OBJ_delete_array_of_objects(INT_MIN, &point); }},
        {"delete INT_MAX objects from null", [&] { return HM_OBJ_delete_array_of_objects(INT_MAX, nullptr); }},
        {"name of a deleted object", [&] { return HM_OBJ_ask_name(deleted, name, sizeof name); }},
        {"name into null", [&] { return HM_OBJ_ask_name(point, nullptr, sizeof name); }},
        {"set name of tag 0", [&] { return HM_OBJ_set_name(0, "x"); }},
        {"layer of a deleted object", [&] { return HM_OBJ_set_layer(deleted, 3); }},
        {"colour of tag 0", [&] { return HM_OBJ_set_color(0, 3); }},
        {"owning part into null", [&] { return HM_OBJ_ask_owning_part(point, nullptr); }},
        {"attribute of a deleted object", [&] { return HM_ATTR_set_integer(deleted, "A", 1); }},
        {"attribute with a null title", [&] { return HM_ATTR_set_integer(point, nullptr, 1); }},
        {"list item -1", [&] { return HM_MODL_ask_list_item(list, -1, &t); }},
        {"list item INT_MAX", [&] { return HM_MODL_ask_list_item(list, INT_MAX, &t); }},
        {"list item of a null list", [&] { return HM_MODL_ask_list_item(nullptr, 0, &t); }},
        {"list item into null", [&] { return HM_MODL_ask_list_item(list, 0, nullptr); }},
        {"list count into null", [&] { return HM_MODL_ask_list_count(list, nullptr); }},
        {"distance tolerance NaN", [&] { return HM_MODL_set_distance_tolerance(nan); }},
        {"distance tolerance inf", [&] { return HM_MODL_set_distance_tolerance(inf); }},
        {"distance tolerance -1", [&] { return HM_MODL_set_distance_tolerance(-1.0); }},
        {"angle tolerance NaN", [&] { return HM_MODL_set_angle_tolerance(nan); }},
        {"angle tolerance 0", [&] { return HM_MODL_set_angle_tolerance(0.0); }},
        {"tolerance into null", [&] { return HM_MODL_ask_distance_tolerance(nullptr); }},
        {"work part tag 0", [&] { return HM_ASSEM_set_work_part(0); }},
        {"work part a point", [&] { return HM_ASSEM_set_work_part(point); }},
        {"log tag 0 for deletion", [&] { return UPDATE_log_entity_to_delete(0); }},
        {"log a deleted object", [&] { return UPDATE_log_entity_to_delete(deleted); }},
        {"delete an array holding tag 0", [&] { return HM_OBJ_delete_array_of_objects(2, with_zero); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int before = host_testing::count_objects();
        const size_t blocks = host_testing::live_allocations();
        EXPECT_NE(c.call(), 0);
        EXPECT_EQ(host_testing::count_objects(), before) << "nothing built or deleted";
        EXPECT_EQ(host_testing::live_allocations(), blocks) << "nothing left allocated";
    }
    EXPECT_EQ(HM_OBJ_ask_status(point), HM_OBJ_ALIVE) << "an array with a bad tag deletes nothing";
    EXPECT_EQ(HM_ASSEM_ask_work_part(), part_);
    double tol = 0.0;
    EXPECT_EQ(HM_MODL_ask_distance_tolerance(&tol), 0);
    EXPECT_DOUBLE_EQ(tol, 0.01);
    HM_MODL_delete_list(&list);
}

}  // namespace

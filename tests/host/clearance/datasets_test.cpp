// The host's clearance data sets: finding a part's data sets by name and
// order, object lists and the list data read back, configurations added,
// read, changed and removed, objects of unloaded parts, clearance zones,
// undo restoring a data set, and refused input that changes nothing.
#include "caldwyn.h"
#include "core/model.h"
#include "farquil.h"
#include "host_fixture.h"
#include "host_testing.h"
#include "tests/host/model_objects.h"
#include "parts/assembly_data.h"
#include "quillon.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace {

// A translation by (x, y, z) as the host's 4x4 (translation in 3, 7, 11).
MTX4_t translation(double x, double y, double z) {
    MTX4_t m{{1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, z, 0, 0, 0, 1}};
    return m;
}

class ClearanceTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        dataset_ = host_testing::make_clearance_dataset("WHEEL_TRAVEL");
        body_a_ = host_tests::box(0.0);
        body_b_ = host_tests::box(50.0);
    }
    int configurations() const {
        int n = -1;
        EXPECT_EQ(CLEAR_ask_num_configurations(dataset_, &n), 0);
        return n;
    }
    std::string configuration_name(int c) const {
        char name[CLEAR_NAME_BUFSIZE] = "";
        EXPECT_EQ(CLEAR_ask_configuration_name(dataset_, c, name), 0);
        return name;
    }

    tag_t dataset_ = 0;
    tag_t body_a_ = 0;
    tag_t body_b_ = 0;
};

TEST_F(ClearanceTest, DataSetsOfAPartAreCountedInCreationOrderWithTheirNamesAsGiven) {
    const tag_t second = host_testing::make_clearance_dataset("engine_roll");
    const tag_t other_part = host_testing::make_part("other_part");
    host_testing::make_clearance_dataset("ELSEWHERE", other_part);

    int count = 0;
    ASSERT_EQ(CLEAR_count_datasets(part_, &count), 0);
    ASSERT_EQ(count, 2);
    tag_t found[2] = {0, 0};
    ASSERT_EQ(CLEAR_ask_dataset_array(part_, count, found), 0);
    EXPECT_EQ(found[0], dataset_);
    EXPECT_EQ(found[1], second);
    char name[CLEAR_NAME_BUFSIZE] = "";
    ASSERT_EQ(CLEAR_ask_dataset_name(second, name), 0);
    EXPECT_STREQ(name, "engine_roll");

    // A caller array shorter than the count gets only what fits.
    tag_t one[2] = {0, 0};
    ASSERT_EQ(CLEAR_ask_dataset_array(part_, 1, one), 0);
    EXPECT_EQ(one[0], dataset_);
    EXPECT_EQ(one[1], 0u);
}

TEST_F(ClearanceTest, ListDataReportsTypeKindsCountsAndConfigurations) {
    int type = -1;
    ASSERT_EQ(CLEAR_ask_lists_obj_type(dataset_, &type), 0);
    EXPECT_EQ(type, 0);
    ASSERT_EQ(CLEAR_set_lists_obj_type(dataset_, 1), 0);

    const tag_t moving[2] = {body_a_, body_b_};
    ASSERT_EQ(CLEAR_set_obj_list(dataset_, 1, 4, 2, moving, 0), 0);
    const tag_t pair[1] = {body_b_};
    ASSERT_EQ(CLEAR_set_obj_list(dataset_, 2, 2, 1, pair, 0), 0);
    const MTX4_t identity = translation(0, 0, 0);
    ASSERT_EQ(CLEAR_add_configuration(dataset_, 1, &identity, 0, nullptr, "LOAD 1"), 0);

    CLEAR_list_data_t data{};
    ASSERT_EQ(CLEAR_ask_list_data(dataset_, &data), 0);
    EXPECT_EQ(data.obj_type, 1);
    EXPECT_EQ(data.list1_kind, 4);
    EXPECT_EQ(data.list2_kind, 2);
    EXPECT_EQ(data.list1_count, 2);
    EXPECT_EQ(data.n_configurations, 1);
    EXPECT_EQ(data.list2_count, 1);
    EXPECT_EQ(host_testing::clearance_list(dataset_, 1), (std::vector<tag_t>{body_a_, body_b_}));

    // A new list replaces the old one.
    ASSERT_EQ(CLEAR_set_obj_list(dataset_, 1, 4, 1, pair, 0), 0);
    EXPECT_EQ(host_testing::clearance_list(dataset_, 1), (std::vector<tag_t>{body_b_}));
}

TEST_F(ClearanceTest, ConfigurationsKeepTheirPositionsAndAreRemovedTogether) {
    const MTX4_t matrices[2] = {translation(1, 2, 3), translation(0, 0, 25)};
    const tag_t moving[1] = {body_a_};
    ASSERT_EQ(CLEAR_add_configuration(dataset_, 2, matrices, 1, moving, "LOAD 1"), 0);
    ASSERT_EQ(CLEAR_add_configuration(dataset_, 1, &matrices[1], 0, nullptr, "LOAD 2"), 0);
    EXPECT_EQ(configurations(), 2);
    EXPECT_EQ(configuration_name(0), "LOAD 1");
    EXPECT_EQ(configuration_name(1), "LOAD 2");

    int positions = 0;
    ASSERT_EQ(CLEAR_ask_num_configuration_positions(dataset_, 0, &positions), 0);
    EXPECT_EQ(positions, 2);
    MTX4_t m{};
    int value = -1, count = -1;
    tag_t* objects = nullptr;
    ASSERT_EQ(CLEAR_ask_configuration_position_data(dataset_, 0, 1, &m, &value, &count, &objects), 0);
    EXPECT_DOUBLE_EQ(m.m[11], 25.0);
    EXPECT_DOUBLE_EQ(m.m[3], 0.0);
    EXPECT_EQ(value, 0);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(objects[0], body_a_);
    SM_free(objects);

    // Position 0 of the second configuration changed: new transform, int and objects.
    const MTX4_t moved = translation(-7, 0, 0);
    const tag_t both[2] = {body_a_, body_b_};
    ASSERT_EQ(CLEAR_set_configuration_position_data(dataset_, 1, 0, &moved, 3, 2, both), 0);
    ASSERT_EQ(CLEAR_ask_configuration_position_data(dataset_, 1, 0, &m, &value, &count, &objects), 0);
    EXPECT_DOUBLE_EQ(m.m[3], -7.0);
    EXPECT_EQ(value, 3);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(objects[1], body_b_);
    SM_free(objects);

    // A position without objects hands back no array.
    ASSERT_EQ(CLEAR_set_configuration_position_data(dataset_, 1, 0, &moved, 3, 0, nullptr), 0);
    objects = reinterpret_cast<tag_t*>(&value);
    ASSERT_EQ(CLEAR_ask_configuration_position_data(dataset_, 1, 0, nullptr, nullptr, &count, &objects), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(objects, nullptr);

    ASSERT_EQ(CLEAR_remove_configurations(dataset_), 0);
    EXPECT_EQ(configurations(), 0);
}

TEST_F(ClearanceTest, UndoRestoresTheDataSetAsItWasAtTheMark) {
    const MTX4_t identity = translation(0, 0, 0);
    ASSERT_EQ(CLEAR_add_configuration(dataset_, 1, &identity, 0, nullptr, "DESIGN"), 0);
    const UNDO_mark_t mark = UNDO_KW_set_mark(1, "clearance");
    ASSERT_EQ(CLEAR_remove_configurations(dataset_), 0);
    ASSERT_EQ(CLEAR_add_configuration(dataset_, 1, &identity, 0, nullptr, "LOAD 1"), 0);
    ASSERT_EQ(CLEAR_add_configuration(dataset_, 1, &identity, 0, nullptr, "LOAD 2"), 0);
    ASSERT_EQ(HM_CLEAR_set_object_clear_zone(dataset_, body_a_, body_b_), 0);
    const tag_t made_later = host_testing::make_clearance_dataset("LATER");

    ASSERT_EQ(UNDO_KW_undo_to_mark(mark), 0);
    EXPECT_EQ(configurations(), 1);
    EXPECT_EQ(configuration_name(0), "DESIGN");
    EXPECT_EQ(host_testing::clearance_zone(dataset_, body_a_), 0u);
    char name[CLEAR_NAME_BUFSIZE];
    EXPECT_EQ(CLEAR_ask_dataset_name(made_later, name), HM_ERR_INVALID_TAG);
}

TEST_F(ClearanceTest, ZonesAreSetReplacedAndTakenAway) {
    // Zones are expressions of their distance; the expression reads its text back.
    tag_t zone_10 = 0, zone_20 = 0;
    ASSERT_EQ(HM_MODL_create_exp_tag("10.000000", &zone_10), 0);
    ASSERT_EQ(HM_MODL_create_exp_tag("20.000000", &zone_20), 0);
    char text[HM_MAX_NAME_BUFSIZE] = "";
    ASSERT_EQ(HM_OBJ_ask_name(zone_20, text, sizeof text), 0);
    EXPECT_STREQ(text, "20.000000");
    tag_t none = 0;
    EXPECT_EQ(HM_MODL_create_exp_tag("", &none), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(none, 0u);
    ASSERT_EQ(HM_CLEAR_set_object_clear_zone(dataset_, body_a_, zone_10), 0);
    ASSERT_EQ(HM_CLEAR_set_object_clear_zone(dataset_, body_b_, zone_10), 0);
    ASSERT_EQ(HM_CLEAR_set_object_clear_zone(dataset_, body_a_, zone_20), 0);
    EXPECT_EQ(host_testing::clearance_zone(dataset_, body_a_), zone_20);
    EXPECT_EQ(host_testing::clearance_zone(dataset_, body_b_), zone_10);
    ASSERT_EQ(HM_CLEAR_set_object_clear_zone(dataset_, body_b_, 0), 0);
    EXPECT_EQ(host_testing::clearance_zone(dataset_, body_b_), 0u);
}

TEST_F(ClearanceTest, ObjectsOfComponentsWhosePartIsNotLoadedAreUnloaded) {
    const tag_t wheel = host_testing::make_part("wheel_part");
    const tag_t wheel_body = host_tests::box(0.0);
    const tag_t assembly = host_testing::make_part("assembly");
    (void)assembly;
    const tag_t loaded = host_testing::add_component(wheel, "WHEEL");
    const tag_t loaded_occurrence = host_testing::add_occurrence(loaded, wheel_body);
    // A component of a part that is not in the session, and an occurrence through it.
    host::Object& missing = host::create(HM_component_type, 0);
    host::ComponentData c;
    c.part_name = "tire_not_loaded";
    missing.data = c;
    host::Object& missing_occurrence = host::create(HM_solid_type, 0);
    missing_occurrence.data = host::OccurrenceData{0, missing.tag};

    const struct {
        const char* what;
        tag_t object;
        bool unloaded;
    } cases[] = {
        {"component of a loaded part", loaded, false},
        {"occurrence through it", loaded_occurrence, false},
        {"component of a part not loaded", missing.tag, true},
        {"occurrence through it", missing_occurrence.tag, true},
        {"a plain body", wheel_body, false},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        bool unloaded = !k.unloaded;
        ASSERT_EQ(CLEAR_obj_is_unloaded(k.object, &unloaded), 0);
        EXPECT_EQ(unloaded, k.unloaded);
    }
}

TEST_F(ClearanceTest, RefusedInputChangesNothing) {
    const MTX4_t identity = translation(0, 0, 0);
    const tag_t moving[1] = {body_a_};
    ASSERT_EQ(CLEAR_add_configuration(dataset_, 1, &identity, 1, moving, "LOAD 1"), 0);
    ASSERT_EQ(CLEAR_set_obj_list(dataset_, 1, 4, 1, moving, 0), 0);
    const tag_t dead = host_tests::box(100.0);
    ASSERT_EQ(HM_OBJ_delete_object(dead), 0);
    const tag_t with_dead[2] = {body_b_, dead};
    MTX4_t not_finite = identity;
    not_finite.m[3] = std::numeric_limits<double>::quiet_NaN();
    const std::string long_name(CLEAR_NAME_BUFSIZE, 'X');
    int n = 0;
    tag_t* objects = nullptr;
    char name[CLEAR_NAME_BUFSIZE];

    const struct {
        const char* what;
        int code;
        int expected;
    } cases[] = {
        {"count of tag 0", CLEAR_count_datasets(0, &n), HM_ERR_INVALID_TAG},
        {"name of a body", CLEAR_ask_dataset_name(body_a_, name), HM_ERR_INVALID_TAG},
        {"null name", CLEAR_ask_dataset_name(dataset_, nullptr), HM_ERR_NULL_POINTER},
        {"list 3", CLEAR_set_obj_list(dataset_, 3, 4, 1, moving, 0), HM_ERR_BAD_ARGUMENT},
        {"kind 5", CLEAR_set_obj_list(dataset_, 1, 5, 1, moving, 0), HM_ERR_BAD_ARGUMENT},
        {"deleted object in a list", CLEAR_set_obj_list(dataset_, 1, 4, 2, with_dead, 0), HM_ERR_INVALID_TAG},
        {"null list objects", CLEAR_set_obj_list(dataset_, 1, 4, 2, nullptr, 0), HM_ERR_NULL_POINTER},
        {"lists object type 2", CLEAR_set_lists_obj_type(dataset_, 2), HM_ERR_BAD_ARGUMENT},
        {"configuration 1 of 1", CLEAR_ask_num_configuration_positions(dataset_, 1, &n), HM_ERR_BAD_ARGUMENT},
        {"position 1 of 1", CLEAR_ask_configuration_position_data(dataset_, 0, 1, nullptr, nullptr, &n, &objects),
         HM_ERR_BAD_ARGUMENT},
        {"not finite transform", CLEAR_set_configuration_position_data(dataset_, 0, 0, &not_finite, 0, 0, nullptr),
         HM_ERR_BAD_ARGUMENT},
        {"deleted moving object", CLEAR_set_configuration_position_data(dataset_, 0, 0, &identity, 0, 2, with_dead),
         HM_ERR_INVALID_TAG},
        {"no positions", CLEAR_add_configuration(dataset_, 0, &identity, 0, nullptr, "LOAD 2"), HM_ERR_BAD_ARGUMENT},
        {"empty name", CLEAR_add_configuration(dataset_, 1, &identity, 0, nullptr, ""), HM_ERR_BAD_ARGUMENT},
        {"name of 133", CLEAR_add_configuration(dataset_, 1, &identity, 0, nullptr, long_name.c_str()),
         HM_ERR_BAD_ARGUMENT},
        {"not finite new transform", CLEAR_add_configuration(dataset_, 1, &not_finite, 0, nullptr, "LOAD 2"),
         HM_ERR_BAD_ARGUMENT},
        {"remove from a body", CLEAR_remove_configurations(body_a_), HM_ERR_INVALID_TAG},
        {"zone of a deleted object", HM_CLEAR_set_object_clear_zone(dataset_, dead, body_b_), HM_ERR_INVALID_TAG},
        {"unloaded of tag 0", CLEAR_obj_is_unloaded(0, nullptr), HM_ERR_NULL_POINTER},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.what);
        EXPECT_EQ(k.code, k.expected);
    }
    EXPECT_EQ(objects, nullptr);
    EXPECT_EQ(configurations(), 1);
    EXPECT_EQ(host_testing::clearance_list(dataset_, 1), (std::vector<tag_t>{body_a_}));
    int type = -1;
    ASSERT_EQ(CLEAR_ask_lists_obj_type(dataset_, &type), 0);
    EXPECT_EQ(type, 0);
    MTX4_t m{};
    ASSERT_EQ(CLEAR_ask_configuration_position_data(dataset_, 0, 0, &m, nullptr, &n, &objects), 0);
    EXPECT_DOUBLE_EQ(m.m[3], 0.0);
    EXPECT_EQ(n, 1);
    SM_free(objects);
}

}  // namespace

// The stand-in's motion records read back as written, one mechanism per
// part, what goes with a deleted link, undo of motion records, the mass
// properties of solids, and the small services the suspension family
// needs (name cycling, leaf comparison, zero-length lines, the vehicle
// coordinate system).
#include "host_fixture.h"
#include "host_testing.h"
#include "farquil.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"
#include "tolvric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {

class MotionRecordsTest : public HostTest {
protected:
    tag_t new_link(const char* name) {
        tag_t line = host_testing::make_line({0, 0, 0}, {1, 0, 0});
        HM_MOTION_link_t record;
        HM_MOTION_init_link_struct(&record);
        std::snprintf(record.name, sizeof record.name, "%s", name);
        record.num_geometries = 1;
        record.geometries = &line;
        tag_t link = 0;
        EXPECT_EQ(HM_MOTION_create_link(&record, &link), 0);
        return link;
    }
};

TEST_F(MotionRecordsTest, OneMechanismPerPartMadeOnce) {
    bool on = true;
    ASSERT_EQ(HM_MOTION_is_initialized(&on), 0);
    EXPECT_FALSE(on);
    tag_t none = 5;
    EXPECT_EQ(KMC_get_current_mech_tag(&none), HM_ERR_NOT_FOUND);
    EXPECT_EQ(none, 0u);
    ASSERT_EQ(HM_MOTION_initialize(), 0);
    tag_t first = 0, again = 0;
    ASSERT_EQ(KMC_get_current_mech_tag(&first), 0);
    ASSERT_EQ(HM_MOTION_initialize(), 0);
    ASSERT_EQ(KMC_get_current_mech_tag(&again), 0);
    EXPECT_EQ(first, again);
    host_testing::make_part("second");
    ASSERT_EQ(HM_MOTION_initialize(), 0);
    tag_t other = 0;
    ASSERT_EQ(KMC_get_current_mech_tag(&other), 0);
    EXPECT_NE(other, first);
    host_testing::clear_work_part();
    EXPECT_EQ(HM_MOTION_initialize(), HM_ERR_NO_PART);
}

TEST_F(MotionRecordsTest, RecordsRefusedWithoutTheEnvironmentOrWithBadInput) {
    HM_MOTION_link_t link;
    HM_MOTION_init_link_struct(&link);
    tag_t made = 7;
    EXPECT_EQ(HM_MOTION_create_link(&link, &made), HM_ERR_NOT_FOUND);
    ASSERT_EQ(HM_MOTION_initialize(), 0);
    EXPECT_EQ(HM_MOTION_create_link(&link, &made), HM_ERR_BAD_ARGUMENT) << "no geometry";
    EXPECT_EQ(HM_MOTION_create_link(nullptr, &made), HM_ERR_NULL_POINTER);
    tag_t dead = 999999;
    link.num_geometries = 1;
    link.geometries = &dead;
    EXPECT_EQ(HM_MOTION_create_link(&link, &made), HM_ERR_INVALID_TAG);
    EXPECT_EQ(made, 7u);
    HM_MOTION_joint_t joint;
    HM_MOTION_init_joint_struct(&joint);
    joint.type = 9;
    EXPECT_EQ(HM_MOTION_create_joint(&joint, &made), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_link_type), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_motion_joint_type), 0);
    double zero[3] = {0, 0, 0};
    EXPECT_EQ(HM_SO_create_dirr_doubles(0, 2, zero, zero, &made), HM_ERR_BAD_ARGUMENT);
}

TEST_F(MotionRecordsTest, ADeletedLinkTakesItsCentreOfGravityAndMarker) {
    ASSERT_EQ(HM_MOTION_initialize(), 0);
    const int before = host_testing::count_objects();
    tag_t link = new_link("arm");
    HM_MOTION_link_mass_t mass;
    ASSERT_EQ(HM_MOTION_ask_link_mass_properties(link, &mass), 0);
    EXPECT_EQ(host_testing::count_objects(0, HM_smart_scalar_type), 3);
    ASSERT_EQ(HM_OBJ_delete_object(link), 0);
    EXPECT_EQ(HM_OBJ_ask_status(mass.cog), HM_OBJ_DELETED);
    EXPECT_EQ(HM_OBJ_ask_status(mass.inertia_marker), HM_OBJ_DELETED);
    EXPECT_EQ(host_testing::count_objects(0, HM_smart_scalar_type), 0);
    EXPECT_EQ(host_testing::count_objects(), before + 1) << "only the line stays";
}

TEST_F(MotionRecordsTest, UndoRemovesLinksMadeAfterTheMark) {
    ASSERT_EQ(HM_MOTION_initialize(), 0);
    tag_t kept = new_link("kept");
    UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_visible, "motion");
    tag_t later = new_link("later");
    ASSERT_EQ(UNDO_KW_undo_to_mark(mark), 0);
    EXPECT_EQ(HM_OBJ_ask_status(later), HM_OBJ_DELETED);
    EXPECT_EQ(HM_OBJ_ask_status(kept), HM_OBJ_ALIVE);
    tag_t mechanism = 0;
    ASSERT_EQ(KMC_get_current_mech_tag(&mechanism), 0);
    int count = 0;
    tag_t* links = nullptr;
    ASSERT_EQ(KMC_get_link_tags_in_mechanism(mechanism, &count, &links), 0);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(links[0], kept);
    SM_free(links);
    UNDO_KW_delete_mark(mark);
}

TEST_F(MotionRecordsTest, MassPropertiesOfABoxInKilogramsAndPounds) {
    // 100 x 50 x 20 mm of aluminium (2700 kg/m^3): 1e5 mm^3, 0.27 kg = 0.595248 lb.
    host_testing::set_part_density(part_, 2700.0);
    const double corner[3] = {10, 20, 30}, size[3] = {100, 50, 20};
    tag_t box = host_testing::make_box(corner, size);
    HM_WEIGHT_properties_t kg, lb;
    ASSERT_EQ(HM_WEIGHT_estab_solid_props(box, 0.999, HM_WEIGHT_KILOGRAMS, &kg), 0);
    ASSERT_EQ(HM_WEIGHT_estab_solid_props(box, 0.999, HM_WEIGHT_POUNDS, &lb), 0);
    EXPECT_NEAR(kg.volume, 1.0e5, 1e-6);
    EXPECT_NEAR(kg.mass, 0.27, 1e-9);
    EXPECT_NEAR(lb.mass, 0.27 / 0.45359237, 1e-9);
    EXPECT_NEAR(kg.center_of_mass[0], 60, 1e-9);
    EXPECT_NEAR(kg.center_of_mass[1], 45, 1e-9);
    EXPECT_NEAR(kg.center_of_mass[2], 40, 1e-9);
    HM_WEIGHT_properties_t both[2] = {kg, kg}, sum;
    both[1].mass = 0.81;
    both[1].center_of_mass[0] = 160;
    ASSERT_EQ(HM_WEIGHT_sum_props(2, both, &sum), 0);
    EXPECT_NEAR(sum.mass, 1.08, 1e-12);
    EXPECT_NEAR(sum.center_of_mass[0], (0.27 * 60 + 0.81 * 160) / 1.08, 1e-9);
    both[1].units = HM_WEIGHT_POUNDS;
    EXPECT_EQ(HM_WEIGHT_sum_props(2, both, &sum), HM_ERR_BAD_ARGUMENT) << "mixed units";
    EXPECT_EQ(HM_WEIGHT_estab_solid_props(box, 0.999, 2, &kg), HM_ERR_BAD_ARGUMENT);
    tag_t line = host_testing::make_line({0, 0, 0}, {1, 0, 0});
    EXPECT_EQ(HM_WEIGHT_estab_solid_props(line, 0.999, HM_WEIGHT_KILOGRAMS, &kg), HM_ERR_WRONG_TYPE);
}

TEST_F(MotionRecordsTest, NameCyclingLeafComparisonAndZeroLengthLines) {
    tag_t a = host_testing::make_point({0, 0, 0}), b = host_testing::make_point({1, 0, 0});
    HM_OBJ_set_name(a, "P");
    HM_OBJ_set_name(b, "P");
    tag_t object = 0;
    ASSERT_EQ(HM_OBJ_cycle_by_name("P", &object), 0);
    EXPECT_EQ(object, a);
    ASSERT_EQ(HM_OBJ_cycle_by_name("P", &object), 0);
    EXPECT_EQ(object, b);
    ASSERT_EQ(HM_OBJ_cycle_by_name("P", &object), 0);
    EXPECT_EQ(object, 0u);
    EXPECT_EQ(HM_OBJ_cycle_by_name(nullptr, &object), HM_ERR_NULL_POINTER);

    EXPECT_EQ(STR_compare_leaf_i("root:axle", "AXLE"), 0);
    EXPECT_EQ(STR_compare_leaf_i("dir/sub/Link_A", "link_a"), 0);
    EXPECT_NE(STR_compare_leaf_i("axle_1", "axle"), 0);

    HM_CURVE_line_t zero = {{5, 5, 5}, {5, 5, 5}}, read;
    tag_t line = 0;
    ASSERT_EQ(HM_CURVE_create_line(&zero, &line), 0);
    int type = 0, subtype = 0;
    HM_OBJ_ask_type_and_subtype(line, &type, &subtype);
    EXPECT_EQ(type, HM_line_type);
    ASSERT_EQ(HM_CURVE_ask_line_data(line, &read), 0);
    EXPECT_EQ(read.end_point[2], 5);
    HM_CURVE_line_t longer = {{5, 5, 5}, {8, 9, 5}};
    ASSERT_EQ(HM_CURVE_edit_line_data(line, &longer), 0);
    ASSERT_EQ(HM_CURVE_ask_line_data(line, &read), 0);
    EXPECT_NEAR(read.end_point[1], 9, 1e-12);

    const double moved[3] = {3, 4, 5};
    ASSERT_EQ(HM_CURVE_edit_point_data(a, moved), 0);
    double at[3];
    HM_CURVE_ask_point_data(a, at);
    EXPECT_EQ(at[1], 4);
    EXPECT_EQ(HM_CURVE_edit_point_data(line, moved), HM_ERR_WRONG_TYPE);
}

TEST_F(MotionRecordsTest, VehicleCoordinateSystemIsAbsoluteUnlessSet) {
    double origin[3], matrix[9];
    ASSERT_EQ(VD_get_csys(origin, matrix), 0);
    EXPECT_EQ(origin[0], 0);
    EXPECT_EQ(matrix[4], 1);
    host_testing::set_vehicle_csys({100, 0, 0}, {0, 1, 0, -1, 0, 0, 0, 0, 1});
    ASSERT_EQ(VD_get_csys(origin, matrix), 0);
    EXPECT_EQ(origin[0], 100);
    EXPECT_EQ(matrix[3], -1);
    EXPECT_EQ(VD_get_csys(nullptr, matrix), HM_ERR_NULL_POINTER);
}

}  // namespace

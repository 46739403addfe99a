// Parts of the stand-in host: features, assemblies and validation checkers.
#include "brindor.h"
#include "core/model.h"
#include "demrath.h"
#include "host_fixture.h"
#include "lurvane.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "quorsel.h"
#include "test_helpers.h"
#include "tests/host/model_objects.h"

#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

using host_tests::box;
using host_tests::first_feature;
using host_tests::point_at;
using host_tests::point_of;
using support::list_items;

/* ---- features ---- */

class FeatureTest : public HostTest {};

TEST_F(FeatureTest, BodyFaceAndEdgeAnswerTheBodysFeaturesInCreationOrder) {
    tag_t body = box();
    tag_t other = box(50);
    tag_t block = first_feature(body);
    ASSERT_NE(block, 0u);
    tag_t blend = host_testing::add_feature("BLEND", body);
    host_testing::add_feature("BLEND", other);

    hm_list_p_t faces = nullptr, edges = nullptr;
    ASSERT_EQ(HM_MODL_ask_body_faces(body, &faces), 0);
    ASSERT_EQ(HM_MODL_ask_body_edges(body, &edges), 0);
    const tag_t face = list_items(faces).at(0);
    const tag_t edge = list_items(edges).at(0);
    HM_MODL_delete_list(&faces);
    HM_MODL_delete_list(&edges);

    const std::vector<tag_t> expected{block, blend};
    struct Case {
        const char* what;
        int (*ask)(tag_t, hm_list_p_t*);
        tag_t object;
    } cases[] = {{"body", HM_MODL_ask_body_feats, body},
                 {"face", HM_MODL_ask_face_feats, face},
                 {"edge", HM_MODL_ask_edge_feats, edge}};
    for (const Case& c : cases) {
        hm_list_p_t list = nullptr;
        ASSERT_EQ(c.ask(c.object, &list), 0) << c.what;
        EXPECT_EQ(list_items(list), expected) << c.what;
        HM_MODL_delete_list(&list);
    }
    // Each asks its own kind of object only.
    hm_list_p_t list = nullptr;
    EXPECT_EQ(HM_MODL_ask_body_feats(face, &list), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_MODL_ask_face_feats(body, &list), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_MODL_ask_edge_feats(0, &list), HM_ERR_INVALID_TAG);
    EXPECT_EQ(HM_MODL_ask_body_feats(body, nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(list, nullptr);
    ExpectNoLeaks();
}

TEST_F(FeatureTest, WhatAFeatureMadeAndItsKind) {
    tag_t body = box();
    tag_t block = first_feature(body);
    tag_t p1 = point_at(1, 2, 3), p2 = point_at(4, 5, 6);
    tag_t points = host_testing::add_feature("POINT_SET", 0, {p1, p2});
    tag_t empty = host_testing::add_feature("EMPTY", 0);

    struct Case {
        tag_t feature;
        bool body_feature;
        tag_t body;
        std::vector<tag_t> objects;
        const char* kind;
    } cases[] = {{block, true, body, {body}, "BLOCK"},
                 {points, false, 0, {p1, p2}, "POINT_SET"},
                 {empty, false, 0, {}, "EMPTY"}};
    for (const Case& c : cases) {
        bool is_body = !c.body_feature;
        tag_t made_body = 99;
        ASSERT_EQ(HM_MODL_is_body_feature(c.feature, &is_body), 0);
        EXPECT_EQ(is_body, c.body_feature) << c.kind;
        ASSERT_EQ(HM_MODL_ask_feat_body(c.feature, &made_body), 0);
        EXPECT_EQ(made_body, c.body) << c.kind;
        int count = -1;
        tag_t* objects = nullptr;
        ASSERT_EQ(HM_MODL_ask_feat_object(c.feature, &count, &objects), 0);
        EXPECT_EQ(std::vector<tag_t>(objects, objects + count), c.objects) << c.kind;
        EXPECT_EQ(objects == nullptr, c.objects.empty()) << c.kind;
        SM_free(objects);
        char* kind = nullptr;
        ASSERT_EQ(HM_MODL_ask_feat_type(c.feature, &kind), 0);
        EXPECT_STREQ(kind, c.kind);
        SM_free(kind);
    }
    // A deleted object no longer counts as made by the feature.
    ASSERT_EQ(HM_OBJ_delete_object(p1), 0);
    int count = 0;
    tag_t* objects = nullptr;
    ASSERT_EQ(HM_MODL_ask_feat_object(points, &count, &objects), 0);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(objects[0], p2);
    SM_free(objects);

    bool flag;
    EXPECT_EQ(HM_MODL_is_body_feature(body, &flag), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_MODL_ask_feat_type(0, nullptr), HM_ERR_NULL_POINTER);
    EXPECT_EQ(HM_MODL_ask_feat_object(0, &count, &objects), HM_ERR_INVALID_TAG);
    ExpectNoLeaks();
}

TEST_F(FeatureTest, SuppressionAndConversionToUnparameterised) {
    tag_t body = box();
    tag_t block = first_feature(body);
    tag_t blend = host_testing::add_feature("BLEND", body);

    hm_list_p_t list = nullptr;
    HM_MODL_create_list(&list);
    HM_MODL_put_list_item(list, blend);
    HM_MODL_put_list_item(list, body);
    EXPECT_EQ(HM_MODL_suppress_feature(list), HM_ERR_WRONG_TYPE) << "a body in the list suppresses nothing";
    bool suppressed = true;
    ASSERT_EQ(HM_MODL_ask_suppress_feature(blend, &suppressed), 0);
    EXPECT_FALSE(suppressed);
    HM_MODL_delete_list(&list);
    HM_MODL_create_list(&list);
    HM_MODL_put_list_item(list, blend);
    ASSERT_EQ(HM_MODL_suppress_feature(list), 0);
    HM_MODL_delete_list(&list);
    ASSERT_EQ(HM_MODL_ask_suppress_feature(blend, &suppressed), 0);
    EXPECT_TRUE(suppressed);

    EXPECT_EQ(convert_to_brep_feature(TAG_ask_pointer_of_tag(block)), 0);
    EXPECT_FALSE(std::any_cast<host::FeatureData&>(host::find(block)->data).parameterised);
    EXPECT_EQ(convert_to_brep_feature(TAG_ask_pointer_of_tag(blend)), HM_ERR_BAD_ARGUMENT);
    EXPECT_TRUE(std::any_cast<host::FeatureData&>(host::find(blend)->data).parameterised);
    EXPECT_EQ(convert_to_brep_feature(TAG_ask_pointer_of_tag(body)), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(convert_to_brep_feature(nullptr), HM_ERR_NULL_POINTER);
    // The record of a deleted feature is refused without being read.
    void* stale = TAG_ask_pointer_of_tag(blend);
    ASSERT_EQ(HM_OBJ_delete_object(body), 0);
    EXPECT_EQ(convert_to_brep_feature(stale), HM_ERR_INVALID_TAG);
    ExpectNoLeaks();
}

TEST_F(FeatureTest, ClassCheckReportsAMismatchWithTheCallersLocation) {
    tag_t body = box();
    EXPECT_TRUE(OM_check_tag_class(first_feature(body), Korvath::FEATURE_RECORDClassId, "caller.cpp", 12));
    EXPECT_TRUE(host_testing::error_lines().empty());
    EXPECT_FALSE(OM_check_tag_class(body, Korvath::FEATURE_RECORDClassId, "caller.cpp", 12));
    EXPECT_FALSE(OM_check_tag_class(0, Korvath::FEATURE_RECORDClassId, "caller.cpp", 13));
    ASSERT_EQ(host_testing::error_lines().size(), 2u);
    EXPECT_NE(host_testing::error_lines()[0].find("caller.cpp:12"), std::string::npos);
}

/* ---- assemblies ---- */

class AssemblyTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        wheel_ = host_testing::make_part("/parts/front_wheel.prt");
        wheel_point_ = point_at(1, 0, 0);
        assembly_ = host_testing::make_part("/parts/chassis.prt");
    }
    tag_t wheel_ = 0, wheel_point_ = 0, assembly_ = 0;
    // A quarter turn about z, placed at (10, 0, 0).
    const double origin_[3] = {10, 0, 0};
    const double turn_[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
};

TEST_F(AssemblyTest, ComponentIsAnOccurrenceOfItsPartWithItsData) {
    tag_t named = host_testing::add_component(wheel_, "LEFT_WHEEL", origin_, turn_);
    tag_t unnamed = host_testing::add_component(wheel_);
    EXPECT_TRUE(HM_ASSEM_is_occurrence(named));
    EXPECT_TRUE(OCC_is_occurrence(unnamed));
    EXPECT_EQ(HM_ASSEM_ask_prototype_of_occ(named), wheel_);
    char name[32] = "x";
    ASSERT_EQ(HM_OBJ_ask_name(unnamed, name, sizeof name), 0);
    EXPECT_STREQ(name, "");

    char part_name[HM_MAX_FSPEC_BUFSIZE], refset[HM_MAX_NAME_BUFSIZE], instance[HM_MAX_NAME_BUFSIZE];
    double origin[3], matrix[9], transform[16];
    ASSERT_EQ(HM_ASSEM_ask_component_data(named, part_name, refset, instance, origin, matrix, transform), 0);
    EXPECT_STREQ(part_name, "/parts/front_wheel.prt");
    EXPECT_STREQ(refset, "MODEL");
    EXPECT_STREQ(instance, "front_wheel");
    for (int i = 0; i < 3; ++i) EXPECT_DOUBLE_EQ(origin[i], origin_[i]);
    for (int i = 0; i < 9; ++i) EXPECT_DOUBLE_EQ(matrix[i], turn_[i]);
    // MTX4: the x axis (0, 1, 0) is the first column, the origin the last.
    const double expected[16] = {0, -1, 0, 10, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i) EXPECT_DOUBLE_EQ(transform[i], expected[i]) << i;

    char *p = nullptr, *r = nullptr, *n = nullptr;
    ASSERT_EQ(ASSY_ask_component_data(named, &p, &r, &n, origin, matrix), 0);
    EXPECT_STREQ(p, "/parts/front_wheel.prt");
    EXPECT_STREQ(r, "MODEL");
    EXPECT_STREQ(n, "front_wheel");
    SM_free(p);
    SM_free(r);
    SM_free(n);
    EXPECT_EQ(ASSY_ask_component_data(wheel_point_, &p, &r, &n, origin, matrix), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_ASSEM_ask_component_data(0, part_name, refset, instance, origin, matrix, transform),
              HM_ERR_INVALID_TAG);

    // Once its part is closed the component has no prototype.
    ASSERT_EQ(HM_PART_close(wheel_, 0, 1), 0);
    EXPECT_EQ(HM_ASSEM_ask_prototype_of_occ(named), 0u);
    EXPECT_EQ(HM_OBJ_ask_status(wheel_point_), HM_OBJ_DELETED);
    ExpectNoLeaks();
}

TEST_F(AssemblyTest, OccurrenceShowsItsPrototypePlacedByTheComponent) {
    tag_t component = host_testing::add_component(wheel_, "LEFT_WHEEL", origin_, turn_);
    tag_t occurrence = host_testing::add_occurrence(component, wheel_point_);
    ASSERT_NE(occurrence, 0u);
    EXPECT_TRUE(HM_ASSEM_is_occurrence(occurrence));
    EXPECT_EQ(HM_ASSEM_ask_prototype_of_occ(occurrence), wheel_point_);
    tag_t owner = 0;
    ASSERT_EQ(HM_OBJ_ask_owning_part(occurrence, &owner), 0);
    EXPECT_EQ(owner, assembly_);
    const std::array<double, 3> xyz = point_of(occurrence);
    EXPECT_NEAR(xyz[0], 10.0, 1e-12);
    EXPECT_NEAR(xyz[1], 1.0, 1e-12);
    EXPECT_NEAR(xyz[2], 0.0, 1e-12);

    // Plain objects are their own prototypes; none is an occurrence.
    tag_t plain = point_at(0, 0, 0);
    EXPECT_FALSE(HM_ASSEM_is_occurrence(plain));
    EXPECT_FALSE(OCC_is_occurrence(0));
    EXPECT_EQ(HM_ASSEM_ask_prototype_of_occ(plain), plain);
    EXPECT_EQ(HM_ASSEM_ask_prototype_of_occ(0), 0u);
    // Only objects of the component's part have occurrences through it.
    EXPECT_EQ(host_testing::add_occurrence(component, plain), 0u);
}

TEST_F(AssemblyTest, WorkOccurrencePlacesTheWorkPartInTheDisplayPart) {
    tag_t seat = host_testing::make_part("/parts/seat.prt");
    ASSERT_EQ(HM_ASSEM_set_work_part(assembly_), 0);
    host_testing::add_component(seat, "SEAT");
    tag_t wheel_component = host_testing::add_component(wheel_, "WHEEL");
    ASSERT_EQ(HM_PART_set_display_part(assembly_), 0);
    EXPECT_EQ(HM_ASSEM_ask_work_occurrence(), 0u) << "work part shown on its own";
    ASSERT_EQ(HM_ASSEM_set_work_part(wheel_), 0);
    EXPECT_EQ(HM_ASSEM_ask_work_occurrence(), wheel_component);
}

/* ---- validation checkers ---- */

class ValidationTest : public HostTest {
protected:
    static VALIDATION_APPLICATION_description_t description(const char* class_name) {
        VALIDATION_APPLICATION_description_t d;
        std::memset(&d, 0, sizeof d);
        std::snprintf(d.name, sizeof d.name, "%s", class_name);
        std::snprintf(d.dialog, sizeof d.dialog, "%%edit_dialog");
        return d;
    }
};

TEST_F(ValidationTest, PersistentCheckersAreFoundByApplicationInCreationOrder) {
    const auto d = description("Clearance");
    VALIDATION_checker_object_t *first = nullptr, *other = nullptr, *second = nullptr, *transient = nullptr;
    ASSERT_EQ(VALIDATION_APPLICATION_plugin(&d, "VD", "GAP", "5.0", true, &first), 0);
    ASSERT_EQ(VALIDATION_APPLICATION_plugin(&d, "OTHER", "GAP", "", true, &other), 0);
    ASSERT_EQ(VALIDATION_APPLICATION_plugin(&d, "VD", "FLUSH", "", true, &second), 0);
    ASSERT_EQ(VALIDATION_APPLICATION_plugin(&d, "VD", "TEMP", "", false, &transient), 0);
    ASSERT_TRUE(first && second && transient);
    EXPECT_STREQ(first->name, "GAP");
    EXPECT_STREQ(first->class_name, "Clearance");
    EXPECT_NE(first->object, 0u);
    EXPECT_EQ(transient->object, 0u);

    int count = 0;
    tag_t* objects = nullptr;
    ASSERT_EQ(VALIDATION_APPLICATION_ask_all_persistent_app_objects("VD", &count, &objects), 0);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(objects[0], first->object);
    EXPECT_EQ(objects[1], second->object);
    VALIDATION_checker_object_t* detail = nullptr;
    ASSERT_EQ(VALIDATION_APPLICATION_ask_persistent_checker_detail(objects[0], &detail), 0);
    ASSERT_NE(detail, nullptr);
    EXPECT_NE(detail, first) << "a detail is the caller's copy";
    EXPECT_STREQ(detail->name, "GAP");
    EXPECT_STREQ(detail->application, "VD");
    EXPECT_STREQ(detail->parameters, "5.0");
    VALIDATION_APPLICATION_free_app_memory(detail);
    SM_free(objects);

    ASSERT_EQ(VALIDATION_APPLICATION_ask_all_persistent_app_objects("NONE", &count, &objects), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(objects, nullptr);
    EXPECT_EQ(VALIDATION_APPLICATION_ask_persistent_checker_detail(0, &detail), HM_ERR_INVALID_TAG);
    EXPECT_EQ(detail, nullptr);
    EXPECT_EQ(VALIDATION_APPLICATION_ask_persistent_checker_detail(part_, &detail), HM_ERR_WRONG_TYPE);
    // The host's own checkers are not freed by the caller's free.
    VALIDATION_APPLICATION_free_app_memory(first);
    EXPECT_STREQ(first->name, "GAP");
    ExpectNoLeaks();
}

TEST_F(ValidationTest, NoCheckerWithoutClassOrName) {
    const auto unnamed_class = description("");
    const auto d = description("Clearance");
    VALIDATION_checker_object_t* checker = reinterpret_cast<VALIDATION_checker_object_t*>(&checker);
    EXPECT_EQ(VALIDATION_APPLICATION_plugin(&unnamed_class, "VD", "GAP", "", true, &checker), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(checker, nullptr);
    EXPECT_EQ(VALIDATION_APPLICATION_plugin(&d, "VD", "", "", true, &checker), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(VALIDATION_APPLICATION_plugin(&d, "VD", nullptr, "", true, &checker), HM_ERR_NULL_POINTER);
    EXPECT_EQ(checker, nullptr);
    EXPECT_EQ(host_testing::count_objects(part_), 0);
}

}  // namespace

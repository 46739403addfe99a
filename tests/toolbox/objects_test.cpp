// Object, feature and list utilities of the toolbox.
#include "host_fixture.h"
#include "test_helpers.h"
#include "hm_vd/objects.h"
#include "omvra.h"
#include "quillon.h"

#include <string>
#include <vector>

namespace {

using support::list_items;
using support::make_list;
using support::new_point;

class ObjectsTest : public HostTest {
protected:
    static tag_t box() {
        const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 30};
        return host_testing::make_box(corner, size);
    }
    static std::vector<tag_t> features_of(tag_t body) { return support::asked_list(HM_MODL_ask_body_feats, body); }
    static tag_t first_of(int (*ask)(tag_t, hm_list_p_t*), tag_t body) { return support::asked_list(ask, body).at(0); }
    static int layer_of(tag_t object) {
        int layer = 0;
        EXPECT_EQ(HM_OBJ_ask_layer(object, &layer), 0);
        return layer;
    }
    static void suppress(tag_t feature) {
        hm_list_p_t list = make_list({feature});
        EXPECT_EQ(HM_MODL_suppress_feature(list), 0);
        HM_MODL_delete_list(&list);
    }
};

/* ---- copies and layers ---- */

TEST_F(ObjectsTest, CopiesGoToTheLayerOrKeepTheirOwn) {
    tag_t a = new_point(1, 0, 0), b = new_point(2, 0, 0);
    ASSERT_EQ(HM_OBJ_set_layer(a, 5), 0);
    ASSERT_EQ(HM_OBJ_set_layer(b, 7), 0);
    const tag_t sources[2] = {a, b};

    tag_t kept[2] = {0, 0};
    ASSERT_EQ(HM_VD_copy_object(HM_VD_KEEP_LAYER, 2, sources, kept), 0);
    ASSERT_TRUE(kept[0] && kept[1] && kept[0] != a && kept[1] != b);
    EXPECT_EQ(layer_of(kept[0]), 5);
    EXPECT_EQ(layer_of(kept[1]), 7);
    double xyz[3];
    ASSERT_EQ(HM_CURVE_ask_point_data(kept[1], xyz), 0);
    EXPECT_DOUBLE_EQ(xyz[0], 2.0);

    tag_t moved[2] = {0, 0};
    ASSERT_EQ(HM_VD_copy_object(20, 2, sources, moved), 0);
    EXPECT_EQ(layer_of(moved[0]), 20);
    EXPECT_EQ(layer_of(moved[1]), 20);
    EXPECT_EQ(layer_of(a), 5) << "the source stays where it was";
}

TEST_F(ObjectsTest, CopyStopsAtTheFirstObjectThatGivesNoCopy) {
    tag_t a = new_point(1, 0, 0), c = new_point(3, 0, 0);
    const tag_t sources[3] = {a, 0, c};
    tag_t copies[3] = {0, 111, 222};
    const int before = host_testing::count_objects();
    EXPECT_EQ(HM_VD_copy_object(HM_VD_KEEP_LAYER, 3, sources, copies), -1);
    EXPECT_NE(copies[0], 0u) << "the copy made before stays and is stored";
    EXPECT_EQ(copies[1], 111u);
    EXPECT_EQ(copies[2], 222u);
    EXPECT_EQ(host_testing::count_objects(), before + 1);
    EXPECT_EQ(HM_VD_copy_object(HM_VD_KEEP_LAYER, 0, sources, copies), 0);
    EXPECT_EQ(host_testing::count_objects(), before + 1);
}

TEST_F(ObjectsTest, SetsTheLayerOfEveryListedObject) {
    tag_t a = new_point(1, 0, 0), b = new_point(2, 0, 0);
    hm_list_p_t list = make_list({a, b});
    HM_VD_set_obj_array_layer(list, 33);
    EXPECT_EQ(layer_of(a), 33);
    EXPECT_EQ(layer_of(b), 33);
    HM_VD_set_obj_array_layer(nullptr, 40);
    HM_MODL_delete_list(&list);
    ExpectNoLeaks();
}

/* ---- lists and arrays ---- */

TEST_F(ObjectsTest, ListsAndArraysConvertBothWaysInOrder) {
    const tag_t tags[3] = {30, 10, 20};   // tags are carried, not looked up
    hm_list_p_t list = nullptr;
    ASSERT_EQ(HM_VD_ipv_change_array_to_list(3, tags, &list), 0);
    EXPECT_EQ(list_items(list), (std::vector<tag_t>{30, 10, 20}));

    int count = -1;
    tag_t* array = nullptr;
    ASSERT_EQ(HM_VD_ipv_change_list_to_array(list, &count, &array), 0);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(std::vector<tag_t>(array, array + 3), (std::vector<tag_t>{30, 10, 20}));
    SM_free(array);
    HM_MODL_delete_list(&list);

    // No items: a new empty list one way, a null array the other.
    ASSERT_EQ(HM_VD_ipv_change_array_to_list(0, nullptr, &list), 0);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list_items(list).empty());
    array = reinterpret_cast<tag_t*>(&array);
    ASSERT_EQ(HM_VD_ipv_change_list_to_array(list, &count, &array), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(array, nullptr);
    HM_MODL_delete_list(&list);
    ExpectNoLeaks();
}

TEST_F(ObjectsTest, AddListItemAppendsAndCreatesOnlyWhenThereIsSomethingToAdd) {
    hm_list_p_t destination = nullptr;
    hm_list_p_t empty = make_list({});
    HM_VD_add_list_item(&destination, empty);
    EXPECT_EQ(destination, nullptr) << "an empty source creates nothing";
    HM_VD_add_list_item(&destination, nullptr);
    EXPECT_EQ(destination, nullptr);

    hm_list_p_t first = make_list({1, 2});
    hm_list_p_t second = make_list({3});
    HM_VD_add_list_item(&destination, first);
    HM_VD_add_list_item(&destination, second);
    EXPECT_EQ(list_items(destination), (std::vector<tag_t>{1, 2, 3}));
    EXPECT_EQ(list_items(first), (std::vector<tag_t>{1, 2})) << "the source is left as it was";
    for (hm_list_p_t* l : {&destination, &empty, &first, &second}) HM_MODL_delete_list(l);
    ExpectNoLeaks();
}

TEST_F(ObjectsTest, DeletingAnObjectListLogsItsObjectsForTheNextUpdate) {
    hm_list_p_t none = nullptr;
    EXPECT_EQ(HM_VD_delete_obj_list(&none), 0);
    EXPECT_EQ(HM_VD_delete_obj_list(nullptr), 0);

    tag_t a = new_point(1, 0, 0), b = new_point(2, 0, 0), kept = new_point(3, 0, 0);
    hm_list_p_t list = make_list({a, 0, b});
    EXPECT_EQ(HM_VD_delete_obj_list(&list), 0);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(HM_OBJ_ask_status(a), HM_OBJ_ALIVE) << "deleted at the update, not before";
    ASSERT_EQ(HM_MODL_update(), 0);
    EXPECT_EQ(HM_OBJ_ask_status(a), HM_OBJ_DELETED);
    EXPECT_EQ(HM_OBJ_ask_status(b), HM_OBJ_DELETED);
    EXPECT_EQ(HM_OBJ_ask_status(kept), HM_OBJ_ALIVE);
    ExpectNoLeaks();
}

/* ---- deletion ---- */

TEST_F(ObjectsTest, ABodyLeavesWithItsFeaturesAFaceAtOnce) {
    tag_t body = box();
    tag_t face = first_of(HM_MODL_ask_body_faces, body);
    const std::vector<tag_t> features = features_of(body);
    ASSERT_FALSE(features.empty());

    EXPECT_EQ(HM_VD_delete_object(face), 0);
    EXPECT_EQ(HM_OBJ_ask_status(face), HM_OBJ_DELETED) << "a face goes at once";
    EXPECT_EQ(HM_OBJ_ask_status(body), HM_OBJ_ALIVE) << "and takes nothing with it";

    EXPECT_EQ(HM_VD_delete_object(body), 0);
    EXPECT_EQ(HM_OBJ_ask_status(body), HM_OBJ_ALIVE) << "a body waits for the update";
    ASSERT_EQ(HM_MODL_update(), 0);
    EXPECT_EQ(HM_OBJ_ask_status(body), HM_OBJ_DELETED);
    for (tag_t f : features) EXPECT_EQ(HM_OBJ_ask_status(f), HM_OBJ_DELETED);

    tag_t point = new_point(0, 0, 0);
    EXPECT_EQ(HM_VD_delete_object(point), 0);
    EXPECT_EQ(HM_OBJ_ask_status(point), HM_OBJ_DELETED);
    ExpectNoLeaks();
}

TEST_F(ObjectsTest, FeatureRemovalOfSomethingThatIsNoBodyLogsItAndAnswersOne) {
    tag_t point = new_point(0, 0, 0);
    EXPECT_EQ(HM_VD_delete_object_feature(point), 1);
    EXPECT_EQ(HM_OBJ_ask_status(point), HM_OBJ_ALIVE);
    ASSERT_EQ(HM_MODL_update(), 0);
    EXPECT_EQ(HM_OBJ_ask_status(point), HM_OBJ_DELETED);
    ExpectNoLeaks();
}

/* ---- features ---- */

TEST_F(ObjectsTest, FeaturesStandForTheObjectsTheyMade) {
    tag_t body = box();
    tag_t block = features_of(body).at(0);
    tag_t p1 = new_point(1, 0, 0), p2 = new_point(2, 0, 0);
    tag_t pair = host_testing::add_feature("POINT_SET", 0, {p1, p2});
    tag_t single = host_testing::add_feature("DATUM_POINT", 0, {p2});
    tag_t nothing = host_testing::add_feature("EMPTY", 0);

    struct Case {
        const char* what;
        tag_t object;
        tag_t as_object;   // HM_VD_change_feat_to_obj
        tag_t as_datum;    // HM_VD_feat_to_datum_type
    } cases[] = {{"body feature", block, body, body},
                 {"two objects", pair, p1, 0},
                 {"one object", single, p2, p2},
                 {"no object", nothing, 0, 0},
                 {"not a feature", p1, p1, p1}};
    for (const Case& c : cases) {
        EXPECT_EQ(HM_VD_change_feat_to_obj(c.object), c.as_object) << c.what;
        tag_t datum = 12345;
        EXPECT_EQ(HM_VD_feat_to_datum_type(c.object, &datum), 0) << c.what;
        EXPECT_EQ(datum, c.as_datum) << c.what;
    }
    // A tag that names nothing is handed back with the type query's failure.
    tag_t datum = 12345;
    EXPECT_EQ(HM_VD_feat_to_datum_type(0, &datum), HM_ERR_INVALID_TAG);
    EXPECT_EQ(datum, 0u);
    EXPECT_EQ(HM_VD_change_feat_to_obj(0), 0u);
    ExpectNoLeaks();
}

TEST_F(ObjectsTest, BodyFeaturesAsRecordsAndAsAList) {
    host_testing::set_checking_level(1);   // records are class-checked first
    tag_t body = box();
    tag_t blend = host_testing::add_feature("BLEND", body);
    const std::vector<tag_t> features = features_of(body);
    ASSERT_EQ(features.size(), 2u);
    ASSERT_EQ(features[1], blend);

    int count = -1;
    void** records = nullptr;
    ASSERT_EQ(HM_VD_ask_body_feats(body, &count, &records), 0);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(records[0], TAG_ask_pointer_of_tag(features[0]));
    EXPECT_EQ(records[1], TAG_ask_pointer_of_tag(blend));
    SM_free(records);
    EXPECT_TRUE(host_testing::error_lines().empty());

    tag_t face = first_of(HM_MODL_ask_body_faces, body);
    tag_t point = new_point(0, 0, 0);
    for (tag_t not_a_body : {face, point, tag_t{0}}) {
        records = reinterpret_cast<void**>(&records);
        count = -1;
        EXPECT_EQ(HM_VD_ask_body_feats(not_a_body, &count, &records), 1);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(records, nullptr);
    }

    hm_list_p_t list = nullptr;
    ASSERT_EQ(HM_VD_find_body_feats(body, &list), 0);
    EXPECT_EQ(list_items(list), features);
    HM_MODL_delete_list(&list);
    hm_list_p_t untouched = reinterpret_cast<hm_list_p_t>(&untouched);
    EXPECT_EQ(HM_VD_find_body_feats(point, &untouched), 1);
    EXPECT_EQ(untouched, reinterpret_cast<hm_list_p_t>(&untouched));
    ExpectNoLeaks();
}

TEST_F(ObjectsTest, ConversionToUnparameterisedStopsAtTheFirstFailureAndReportsIt) {
    tag_t body = box();
    tag_t block = features_of(body).at(0);
    tag_t blend = host_testing::add_feature("BLEND", body);
    tag_t chamfer = host_testing::add_feature("CHAMFER", body);

    tag_t clean = box();
    EXPECT_EQ(VD_convert_to_brep_feature(clean), 0);
    for (tag_t f : features_of(clean)) EXPECT_FALSE(host_testing::feature_is_parameterised(f));

    suppress(blend);   // a suppressed feature cannot be converted
    EXPECT_EQ(VD_convert_to_brep_feature(body), HM_ERR_BAD_ARGUMENT);
    EXPECT_FALSE(host_testing::feature_is_parameterised(block));
    EXPECT_TRUE(host_testing::feature_is_parameterised(blend));
    EXPECT_TRUE(host_testing::feature_is_parameterised(chamfer)) << "nothing after the failure";

    EXPECT_EQ(VD_convert_to_brep_feature(new_point(0, 0, 0)), HM_ERR_WRONG_TYPE);
    ExpectNoLeaks();
}

TEST_F(ObjectsTest, FaceSuppressReportsSuppressedOrGoneObjects) {
    tag_t sound = box();
    tag_t held = box();
    tag_t held_blend = host_testing::add_feature("BLEND", held);
    suppress(held_blend);
    tag_t held_face = first_of(HM_MODL_ask_body_faces, held);
    tag_t held_edge = first_of(HM_MODL_ask_body_edges, held);
    tag_t sound_face = first_of(HM_MODL_ask_body_faces, sound);
    tag_t point = new_point(0, 0, 0);
    tag_t gone = new_point(1, 1, 1);
    ASSERT_EQ(HM_OBJ_delete_object(gone), 0);

    tag_t wheel = host_testing::make_part("/p/wheel.prt");
    tag_t hub = new_point(0, 0, 0);
    ASSERT_EQ(HM_ASSEM_set_work_part(part_), 0);
    tag_t occurrence = host_testing::add_occurrence(host_testing::add_component(wheel, "WHEEL"), hub);
    ASSERT_NE(occurrence, 0u);

    struct Case {
        const char* what;
        std::vector<tag_t> objects;
        bool suppressed;
    } cases[] = {{"all sound", {sound, sound_face, point, features_of(sound).at(0)}, false},
                 {"suppressed feature", {point, held_blend}, true},
                 {"body with a suppressed feature", {sound, held}, true},
                 {"face of such a body", {held_face}, true},
                 {"edge of such a body", {held_edge}, true},
                 {"deleted object", {point, gone}, true},
                 {"an occurrence first ends the look", {occurrence, held_blend, gone}, false},
                 {"a null tag ends the look", {point, 0, gone}, false},
                 // The first object's part is unknown: only the status counts.
                 {"null first", {0, point}, true},
                 {"gone first", {gone}, true}};
    for (const Case& c : cases) {
        bool suppressed = !c.suppressed;
        HM_VD_ask_face_suppress(static_cast<int>(c.objects.size()), c.objects.data(), &suppressed);
        EXPECT_EQ(suppressed, c.suppressed) << c.what;
    }
    bool suppressed = true;
    HM_VD_ask_face_suppress(0, nullptr, &suppressed);
    EXPECT_FALSE(suppressed);
    ExpectNoLeaks();
}

/* ---- rule-language objects ---- */

TEST_F(ObjectsTest, DeletingRuleObjectsRemovesTheInstanceAndWhatItMade) {
    tag_t body = box();
    tag_t point = new_point(1, 2, 3);
    ASSERT_NE(host_testing::make_rule_instance("root:", "HOOD", "%kw_hood"), 0u);
    ASSERT_EQ(host_testing::add_instance_object("root:HOOD:", point), 0);
    ASSERT_EQ(host_testing::add_instance_object("root:HOOD:", body), 0);
    ASSERT_NE(host_testing::make_rule_instance("root:", "EMPTY", "%kw_hood"), 0u);
    const int instances = host_testing::count_rule_instances();

    EXPECT_EQ(HM_VD_delete_rule_objects("root:", "EMPTY"), 0);
    EXPECT_EQ(host_testing::count_rule_instances(), instances) << "no objects: the instance stays";
    EXPECT_EQ(HM_VD_delete_rule_objects("root:", "NONE"), 0);

    EXPECT_EQ(HM_VD_delete_rule_objects("root:", "HOOD"), 0);
    EXPECT_EQ(host_testing::count_rule_instances(), instances - 1);
    EXPECT_EQ(HM_OBJ_ask_status(point), HM_OBJ_DELETED);
    ASSERT_EQ(HM_MODL_update(), 0);
    EXPECT_EQ(HM_OBJ_ask_status(body), HM_OBJ_DELETED) << "the body through its feature removal";
    ExpectNoLeaks();
}

TEST_F(ObjectsTest, AdoptingASpherePassesItsDiameterAndCentre) {
    const double centre[3] = {10, 20, 30};
    tag_t sphere = host_testing::make_sphere(centre, 50);
    tag_t block = box();
    ASSERT_EQ(HM_VD_adopt_feature(sphere), 0);
    ASSERT_EQ(HM_VD_adopt_feature(block), 0);

    struct Case {
        const char* path;
        std::string text;
    } cases[] = {{"root:sphere_1:inMntTree?:", host_testing::rule_text("root:block_1:inMntTree?:")},
                 {"root:sphere_1:inTree?:", host_testing::rule_text("root:block_1:inTree?:")},
                 {"root:block_1:Diameter:", ""},
                 {"root:block_1:Center:", ""}};
    for (const Case& c : cases) EXPECT_EQ(host_testing::rule_text(c.path), c.text) << c.path;
    EXPECT_FALSE(host_testing::rule_text("root:block_1:inTree?:").empty());

    // The sphere's child rule was made again with all four parameters.
    HM_RQ_value_t value = 0;
    double diameter = 0, at[3];
    ASSERT_EQ(HM_RQ_evaluate_rule("root:sphere_1:Diameter:", &value), 0);
    ASSERT_EQ(HM_RQ_ask_number(value, &diameter), 0);
    EXPECT_NEAR(diameter, 50.0, 1e-6);
    ASSERT_EQ(HM_RQ_evaluate_rule("root:sphere_1:Center:", &value), 0);
    ASSERT_EQ(HM_RQ_ask_point(value, at), 0);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(at[i], centre[i], 1e-6);

    EXPECT_NE(HM_VD_adopt_feature(0), 0) << "the adoption's failure comes back";
    ExpectNoLeaks();
}

}  // namespace

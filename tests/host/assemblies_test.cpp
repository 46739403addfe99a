// The stand-in host's features, assemblies, part files and validation
// checkers.
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
#include "ulvarth.h"

#include <GC_MakeSegment.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <gp_Pnt.hxx>

#include <array>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using support::list_items;

namespace fs = std::filesystem;

tag_t box(double x = 0.0) {
    const double corner[3] = {x, 0, 0};
    const double size[3] = {10, 20, 30};
    return host_testing::make_box(corner, size);
}

tag_t first_feature(tag_t body) {
    const std::vector<tag_t> f = support::asked_list(HM_MODL_ask_body_feats, body);
    return f.empty() ? 0 : f.front();
}

// Points and lines made and read straight in the model, so that these
// tests need nothing of the curve functions.
tag_t point_at(double x, double y, double z) {
    host::Object& o = host::create(HM_point_type, 0);
    o.point = {x, y, z};
    return o.tag;
}

std::array<double, 3> point_of(tag_t point) {
    const host::Object* o = host::find(point, HM_point_type);
    return o ? o->point : std::array<double, 3>{NAN, NAN, NAN};
}

tag_t line_between(const gp_Pnt& a, const gp_Pnt& b) {
    host::Object& o = host::create(HM_line_type, 0);
    o.curve = GC_MakeSegment(a, b).Value();
    return o.tag;
}

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

/* ---- part files ---- */

class PartFileTest : public HostTest {
protected:
    std::string path(const char* name) const { return files_.path(name); }

    support::ScratchDirectory files_{"carvell_parts"};
};

TEST_F(PartFileTest, SavedPartOpensWithItsUnitsObjectsAndGeometry) {
    const std::string file = path("bracket.prt");
    tag_t part = host_testing::make_part(file.c_str(), true);
    ASSERT_EQ(HM_MODL_set_distance_tolerance(0.0005), 0);
    tag_t point = point_at(1.5, -2.25, 3.125);
    ASSERT_EQ(HM_OBJ_set_name(point, "PIVOT"), 0);
    ASSERT_EQ(HM_OBJ_set_layer(point, 42), 0);
    ASSERT_EQ(HM_OBJ_set_color(point, 7), 0);
    ASSERT_EQ(HM_ATTR_set_real(point, "OFFSET", 0.75), 0);
    ASSERT_EQ(HM_ATTR_set_string(point, "SIDE", "LH"), 0);
    ASSERT_EQ(HM_ATTR_set_integer(point, "INDEX", 3), 0);
    line_between(gp_Pnt(0, 0, 0), gp_Pnt(3, 4, 0));
    tag_t body = box();
    const double volume = host_testing::volume(body);

    ASSERT_EQ(HM_PART_save(part), 0);
    ASSERT_EQ(HM_PART_close(part, 0, 1), 0);
    EXPECT_EQ(HM_ASSEM_ask_work_part(), 0u);

    tag_t opened = 0;
    HM_PART_load_status_t status;
    ASSERT_EQ(HM_PART_open_quiet(file.c_str(), &opened, &status), 0);
    EXPECT_FALSE(status.failed);
    EXPECT_EQ(status.file_names, nullptr);
    EXPECT_EQ(HM_ASSEM_ask_work_part(), opened);
    EXPECT_EQ(HM_PART_ask_display_part(), opened);
    int units = 0;
    ASSERT_EQ(HM_PART_ask_units(opened, &units), 0);
    EXPECT_EQ(units, 2);
    double tolerance = 0;
    ASSERT_EQ(HM_MODL_ask_distance_tolerance(&tolerance), 0);
    EXPECT_DOUBLE_EQ(tolerance, 0.0005);

    tag_t p = HM_OBJ_cycle_objs_in_part(opened, HM_point_type, 0);
    ASSERT_NE(p, 0u);
    const std::array<double, 3> xyz = point_of(p);
    EXPECT_DOUBLE_EQ(xyz[0], 1.5);
    EXPECT_DOUBLE_EQ(xyz[1], -2.25);
    EXPECT_DOUBLE_EQ(xyz[2], 3.125);
    char name[16];
    int layer = 0, colour = 0, index = 0;
    double offset = 0;
    char* side = nullptr;
    ASSERT_EQ(HM_OBJ_ask_name(p, name, sizeof name), 0);
    EXPECT_STREQ(name, "PIVOT");
    ASSERT_EQ(HM_OBJ_ask_layer(p, &layer), 0);
    EXPECT_EQ(layer, 42);
    ASSERT_EQ(HM_OBJ_ask_color(p, &colour), 0);
    EXPECT_EQ(colour, 7);
    ASSERT_EQ(HM_ATTR_ask_real(p, "OFFSET", &offset), 0);
    EXPECT_DOUBLE_EQ(offset, 0.75);
    ASSERT_EQ(HM_ATTR_ask_integer(p, "INDEX", &index), 0);
    EXPECT_EQ(index, 3);
    ASSERT_EQ(HM_ATTR_ask_string(p, "SIDE", &side), 0);
    EXPECT_STREQ(side, "LH");
    SM_free(side);

    const host::Object* l = host::find(HM_OBJ_cycle_objs_in_part(opened, HM_line_type, 0));
    ASSERT_TRUE(l && !l->curve.IsNull());
    EXPECT_TRUE(l->curve->IsKind(STANDARD_TYPE(Geom_TrimmedCurve)));
    EXPECT_LT(l->curve->Value(l->curve->FirstParameter()).Distance(gp_Pnt(0, 0, 0)), 1e-12);
    EXPECT_LT(l->curve->Value(l->curve->LastParameter()).Distance(gp_Pnt(3, 4, 0)), 1e-12);
    EXPECT_EQ(host_testing::count_objects(opened, HM_feature_type), 0) << "features are not kept";
    EXPECT_EQ(host_testing::count_objects(opened), 3);
    tag_t b = HM_OBJ_cycle_objs_in_part(opened, HM_solid_type, 0);
    ASSERT_NE(b, 0u);
    EXPECT_NEAR(host_testing::volume(b), volume, 1e-9);

    // Opening it again answers the loaded part.
    tag_t again = 0;
    ASSERT_EQ(HM_PART_open_quiet(file.c_str(), &again, &status), 0);
    EXPECT_EQ(again, opened);
    ExpectNoLeaks();
}

TEST_F(PartFileTest, FailedOpenNamesTheFileInItsLoadStatus) {
    const std::string missing = path("missing.prt");
    const std::string garbage = path("garbage.prt");
    std::ofstream(garbage) << "{ \"format\": \"carvell-part 1\", \"units\": \"furlong\" }";
    for (const std::string& file : {missing, garbage}) {
        const int objects_before = host_testing::count_objects(part_);
        tag_t opened = 99;
        HM_PART_load_status_t status;
        EXPECT_EQ(HM_PART_open_quiet(file.c_str(), &opened, &status), HM_ERR_FILE) << file;
        EXPECT_EQ(opened, 0u);
        ASSERT_TRUE(status.failed);
        ASSERT_EQ(status.n_parts, 1);
        EXPECT_STREQ(status.file_names[0], file.c_str());
        EXPECT_EQ(status.statuses[0], HM_ERR_FILE);
        SM_free(status.file_names[0]);
        SM_free(status.file_names);
        SM_free(status.statuses);
        EXPECT_EQ(HM_ASSEM_ask_work_part(), part_) << "the work part stays";
        EXPECT_EQ(host_testing::count_objects(part_), objects_before);
    }
    ExpectNoLeaks();
}

TEST_F(PartFileTest, ASaveThatFailsLeavesTheSavedFileAsItWas) {
    const std::string file = path("hinge.prt");
    tag_t part = host_testing::make_part(file.c_str());
    tag_t point = point_at(4, 5, 6);
    ASSERT_EQ(HM_PART_save(part), 0);
    // A name in a legacy code page (0xD8 alone is no UTF-8) cannot go into
    // the part file: the save fails and must not wipe the earlier save.
    ASSERT_EQ(HM_OBJ_set_name(point, "HINGE \xD8"), 0);
    point_at(7, 8, 9);
    EXPECT_EQ(HM_PART_save(part), HM_ERR_FILE);

    ASSERT_EQ(HM_PART_close(part, 0, 1), 0);
    tag_t opened = 0;
    HM_PART_load_status_t status;
    ASSERT_EQ(HM_PART_open_quiet(file.c_str(), &opened, &status), 0);
    ASSERT_EQ(host_testing::count_objects(opened, HM_point_type), 1);
    const std::array<double, 3> xyz = point_of(HM_OBJ_cycle_objs_in_part(opened, HM_point_type, 0));
    EXPECT_DOUBLE_EQ(xyz[0], 4.0);
    EXPECT_DOUBLE_EQ(xyz[1], 5.0);
    EXPECT_DOUBLE_EQ(xyz[2], 6.0);
    ExpectNoLeaks();
}

TEST_F(PartFileTest, ARealAttributeThatIsNotANumberDoesNotMakeThePartUnreadable) {
    const std::string file = path("strut.prt");
    tag_t part = host_testing::make_part(file.c_str());
    tag_t point = point_at(1, 2, 3);
    ASSERT_EQ(HM_ATTR_set_real(point, "SPAN", std::nan("")), 0);
    ASSERT_EQ(HM_ATTR_set_real(point, "RISE", 2.5), 0);
    ASSERT_EQ(HM_PART_save(part), 0);
    ASSERT_EQ(HM_PART_close(part, 0, 1), 0);

    tag_t opened = 0;
    HM_PART_load_status_t status;
    ASSERT_EQ(HM_PART_open_quiet(file.c_str(), &opened, &status), 0);
    const tag_t p = HM_OBJ_cycle_objs_in_part(opened, HM_point_type, 0);
    ASSERT_NE(p, 0u);
    double span = 0.0, rise = 0.0;
    ASSERT_EQ(HM_ATTR_ask_real(p, "SPAN", &span), 0);
    EXPECT_TRUE(std::isnan(span));
    ASSERT_EQ(HM_ATTR_ask_real(p, "RISE", &rise), 0);
    EXPECT_DOUBLE_EQ(rise, 2.5);
    ExpectNoLeaks();
}

TEST_F(PartFileTest, ExportAddsCopiesToALoadedPartOrToTheFile) {
    const std::string loaded_file = path("loaded.prt");
    const std::string closed_file = path("closed.prt");
    tag_t loaded = host_testing::make_part(loaded_file.c_str());
    tag_t closed = host_testing::make_part(closed_file.c_str());
    point_at(9, 9, 9);
    ASSERT_EQ(HM_PART_save(closed), 0);
    ASSERT_EQ(HM_PART_close(closed, 0, 1), 0);
    ASSERT_EQ(HM_ASSEM_set_work_part(part_), 0);
    tag_t a = point_at(1, 0, 0);
    tag_t body = box();
    const tag_t objects[2] = {a, body};
    const HM_PART_export_options_t options{false, 2, 0};

    ASSERT_EQ(HM_PART_export_with_options(loaded_file.c_str(), 2, objects, &options), 0);
    EXPECT_EQ(host_testing::count_objects(loaded, HM_point_type), 1);
    EXPECT_EQ(host_testing::count_objects(loaded, HM_solid_type), 1);
    EXPECT_EQ(HM_OBJ_ask_status(a), HM_OBJ_ALIVE) << "the originals stay";

    ASSERT_EQ(HM_PART_export_with_options(closed_file.c_str(), 2, objects, &options), 0);
    tag_t reopened = 0;
    HM_PART_load_status_t status;
    ASSERT_EQ(HM_PART_open_quiet(closed_file.c_str(), &reopened, &status), 0);
    EXPECT_EQ(host_testing::count_objects(reopened, HM_point_type), 2) << "added to what the file held";
    EXPECT_EQ(host_testing::count_objects(reopened, HM_solid_type), 1);

    // Refusals: a new file over an existing one, bad modes, objects without
    // geometry, unknown tags.
    const HM_PART_export_options_t new_file{true, 2, 0};
    const HM_PART_export_options_t bad_mode{false, 3, 0};
    const tag_t feature = first_feature(body);
    EXPECT_EQ(HM_PART_export_with_options(closed_file.c_str(), 1, &a, &new_file), HM_ERR_FILE);
    EXPECT_EQ(HM_PART_export_with_options(path("new.prt").c_str(), 1, &a, &bad_mode), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_PART_export_with_options(path("new.prt").c_str(), 1, &feature, &options), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_PART_export_with_options(path("new.prt").c_str(), 1, &part_, &options), HM_ERR_WRONG_TYPE);
    const tag_t none = 0;
    EXPECT_EQ(HM_PART_export_with_options(path("new.prt").c_str(), 1, &none, &options), HM_ERR_INVALID_TAG);
    EXPECT_FALSE(fs::exists(path("new.prt")));
    ASSERT_EQ(HM_PART_export_with_options(path("new.prt").c_str(), 1, &a, &new_file), 0);
    EXPECT_TRUE(fs::exists(path("new.prt")));
    ExpectNoLeaks();
}

TEST_F(PartFileTest, DisplayAndDataManagementFormsOfPartNames) {
    struct Case {
        const char* name;
        int mode;
        const char* display;
    } cases[] = {{"/a/b/front_wheel.prt", 6, "front_wheel"}, {"front_wheel.prt", 6, "front_wheel"},
                 {"/a/b.c/wheel", 6, "wheel"},                {"/a/.hidden", 6, ".hidden"},
                 {"/a/b/front_wheel.prt", 0, "/a/b/front_wheel.prt"}};
    for (const Case& c : cases) {
        char* display = PART_name_for_display(c.name, c.mode);
        EXPECT_STREQ(display, c.display) << c.name << " mode " << c.mode;
        SM_free(display);
    }
    EXPECT_EQ(PART_name_for_display(nullptr, 6), nullptr);

    char vorsa[8];
    ASSERT_EQ(VD_ask_vorsa_name("/a/b.prt", vorsa, sizeof vorsa), 0);
    EXPECT_STREQ(vorsa, "/a/b.pr") << "truncated to the buffer";
    EXPECT_EQ(VD_ask_vorsa_name(nullptr, vorsa, sizeof vorsa), HM_ERR_NULL_POINTER);

    EXPECT_TRUE(PART_is_cmod_data_loaded(part_));
    EXPECT_FALSE(PART_is_cmod_data_loaded(point_at(0, 0, 0)));
    EXPECT_FALSE(PART_is_cmod_data_loaded(0));
    ExpectNoLeaks();
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

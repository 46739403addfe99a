// The point-cloud envelope wizard's steps in an assembly: parts added as
// components, subtrees in order, the object that stands for a component, the
// component of an object, the rule-language texts and tag arrays of a study,
// the trimetric view, and objects carried between coordinate systems.
#include "eve_fixtures.h"

#include "brindor.h"
#include "caldwyn.h"
#include "host_fixture.h"
#include "host_testing.h"
#include "lurvane.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"
#include "vd_eve.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

std::string reference(tag_t object) {
    char text[VD_REFERENCE_SIZE] = "";
    VD_reference_object(object, text);
    return text;
}

std::string list_of(const std::vector<tag_t>& tags) {
    std::string text = "{";
    for (size_t i = 0; i < tags.size(); ++i) text += (i ? "," : "") + reference(tags[i]);
    return text + "}";
}

std::array<double, 3> point_xyz(tag_t point) {
    std::array<double, 3> xyz{};
    HM_CURVE_ask_point_data(point, xyz.data());
    return xyz;
}

class EveWizardTest : public eve_test::WizardAssemblyTest {};

TEST_F(EveWizardTest, PartIsAddedAtItsPlacementAndOpenedFromItsFileWhenNeeded) {
    double transform[16];
    ASSERT_EQ(OCC_ask_transform_of_part_occ(assembly_->axle_occ, transform), 0);
    EXPECT_DOUBLE_EQ(transform[7], 1000.0);
    // The wheel sits at x 100 in the corner, the corner at the axle's origin,
    // the axle at y 1000.
    ASSERT_EQ(OCC_ask_transform_of_part_occ(assembly_->wheel_occ, transform), 0);
    EXPECT_DOUBLE_EQ(transform[3], 100.0);
    EXPECT_DOUBLE_EQ(transform[7], 1000.0);

    const auto dir = std::filesystem::temp_directory_path() / "carvell_eve_wizard_parts";
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "bracket.prt").string();
    const tag_t bracket = host_testing::make_part(file.c_str());
    ASSERT_EQ(HM_PART_save(bracket), 0);
    ASSERT_EQ(HM_PART_close(bracket, 0, 1), 0);
    ASSERT_EQ(HM_ASSEM_set_work_part(assembly_->top), 0);
    ASSERT_EQ(HM_PART_set_display_part(assembly_->top), 0);

    double identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    tag_t instance = 0;
    const std::string quoted = " \"" + file + "\" ";
    ASSERT_EQ(VD_EVEWIZ_add_part_to_assy(assembly_->top, quoted.c_str(), "", "BRACKET", identity, &instance), 0);
    EXPECT_NE(HM_PART_ask_part_tag(file.c_str()), 0u);
    EXPECT_EQ(HM_ASSEM_ask_work_part(), assembly_->top) << "the quiet open keeps the work part";
    EXPECT_NE(OCC_ask_instance_of_name(assembly_->top, "BRACKET"), 0u);

    // A component that cannot be added leaves no part opened for it.
    ASSERT_EQ(HM_PART_close(HM_PART_ask_part_tag(file.c_str()), 0, 1), 0);
    double scaled[4][4] = {{2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 2, 0}, {0, 0, 0, 1}};
    EXPECT_EQ(VD_EVEWIZ_add_part_to_assy(assembly_->top, file.c_str(), "", "BAD", scaled, &instance),
              HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(HM_PART_ask_part_tag(file.c_str()), 0u);

    struct Case {
        const char* what;
        const char* name;
        int code;
    } cases[] = {{"missing file", "/no/such/part.prt", HM_ERR_FILE},
                 {"blank name", "  ", HM_ERR_BAD_ARGUMENT},
                 {"null name", nullptr, HM_ERR_NULL_POINTER}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(VD_EVEWIZ_add_part_to_assy(assembly_->top, c.name, "", "X", identity, &instance), c.code);
        EXPECT_EQ(OCC_ask_instance_of_name(assembly_->top, "X"), 0u);
    }
    std::filesystem::remove_all(dir);
    ExpectNoLeaks();
}

TEST_F(EveWizardTest, SubtreeListsTheComponentItsChildrenThenEachChildsSubtree) {
    int count = 0;
    tag_t* array = nullptr;
    ASSERT_EQ(VD_EVEWIZ_ask_child_part_tags(assembly_->axle_occ, &count, &array), 0);
    const std::vector<tag_t> expected{assembly_->axle_occ, assembly_->corner_occ, assembly_->spare_occ,
                                      assembly_->wheel_occ, assembly_->hub_occ};
    EXPECT_EQ(std::vector<tag_t>(array, array + count), expected);

    // Appending to what is there: the component itself is not repeated.
    ASSERT_EQ(VD_EVEWIZ_ask_child_part_tags(assembly_->corner_occ, &count, &array), 0);
    ASSERT_EQ(count, 7);
    EXPECT_EQ(array[5], assembly_->wheel_occ);
    EXPECT_EQ(array[6], assembly_->hub_occ);

    struct Case {
        const char* what;
        tag_t component;
        int* count;
        tag_t** array;
    } cases[] = {{"tag 0", 0, &count, &array},
                 {"a body", assembly_->top_body, &count, &array},
                 {"null count", assembly_->axle_occ, nullptr, &array},
                 {"null array", assembly_->axle_occ, &count, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(VD_EVEWIZ_ask_child_part_tags(c.component, c.count, c.array), -1);
        EXPECT_EQ(count, 7);
    }
    SM_free(array);
    ExpectNoLeaks();
}

TEST_F(EveWizardTest, ObjectOfAComponentIsItsFacettedModelBeforeItsBody) {
    const tag_t point = host_testing::make_point({1, 2, 3});
    struct Case {
        const char* what;
        tag_t object;
        int result;
        tag_t prototype;   // of the answer; 0: the answer is 0
    } cases[] = {
        {"wheel: facets and body", assembly_->wheel_occ, 0, assembly_->wheel_facets},
        {"hub: body only", assembly_->hub_occ, 0, assembly_->hub_body},
        {"spare hub", assembly_->spare_occ, 0, assembly_->hub_body},
        {"subassembly without objects", assembly_->corner_occ, -1, 0},
        {"a point", point, -1, 0},
        {"tag 0", 0, -1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tag_t out = 99;
        EXPECT_EQ(VD_EVEWIZ_ask_obj_tag_of_component(c.object, &out), c.result);
        if (c.prototype) {
            EXPECT_EQ(HM_ASSEM_ask_prototype_of_occ(out), c.prototype);
            EXPECT_EQ(HM_ASSEM_ask_part_occurrence(out), c.object);
        } else {
            EXPECT_EQ(out, 0u);
        }
        EXPECT_EQ(host_testing::session_depth(), 0);
    }
    tag_t out = 0;
    EXPECT_EQ(VD_EVEWIZ_ask_obj_tag_of_component(assembly_->top_body, &out), 0);
    EXPECT_EQ(out, assembly_->top_body) << "a solid answers itself";
    EXPECT_EQ(VD_EVEWIZ_ask_obj_tag_of_component(assembly_->wheel_occ, nullptr), -1);
}

TEST_F(EveWizardTest, ComponentOfAnObjectIsTheFirstPlacingItsPart) {
    tag_t component = 0;
    char name[VD_EVE_NAME_SIZE] = "";
    ASSERT_EQ(VD_EVEWIZ_ask_comp_tag_name_of_obj(assembly_->wheel_body, &component, name), 0);
    EXPECT_EQ(component, assembly_->wheel_occ);
    EXPECT_STREQ(name, "WHEEL");

    // A component, or an object of the display part, answers itself and -1.
    for (tag_t object : {assembly_->corner_occ, assembly_->top_body}) {
        component = 0;
        EXPECT_EQ(VD_EVEWIZ_ask_comp_tag_name_of_obj(object, &component, name), -1);
        EXPECT_EQ(component, object);
    }
    // An object of a part no component places.
    const tag_t loose = host_testing::make_part("/parts/loose.prt");
    const double corner[3] = {0, 0, 0}, size[3] = {1, 1, 1};
    const tag_t loose_body = host_testing::make_box(corner, size);
    ASSERT_NE(loose, 0u);
    ASSERT_EQ(HM_ASSEM_set_work_part(assembly_->top), 0);
    ASSERT_EQ(HM_PART_set_display_part(assembly_->top), 0);
    component = 7;
    EXPECT_EQ(VD_EVEWIZ_ask_comp_tag_name_of_obj(loose_body, &component, name), -1);
    EXPECT_EQ(component, 7u);
    EXPECT_EQ(VD_EVEWIZ_ask_comp_tag_name_of_obj(assembly_->wheel_body, &component, nullptr), -1);
    EXPECT_EQ(VD_EVEWIZ_ask_comp_tag_name_of_obj(assembly_->wheel_body, nullptr, name), -1);
    ExpectNoLeaks();
}

TEST_F(EveWizardTest, ChainTextsListSubtreesChildFirstAndObjectsAlone) {
    const tag_t top_point = host_testing::make_point({1, 2, 3});
    const tag_t wheel_shown = HM_ASSEM_find_occurrence(assembly_->wheel_occ, assembly_->wheel_body);
    ASSERT_NE(wheel_shown, 0u);
    struct Case {
        const char* what;
        std::vector<tag_t> tags;
        std::string components, objects;
    } cases[] = {
        {"one body, one component",
         {assembly_->top_body, assembly_->corner_occ},
         list_of({assembly_->wheel_occ, assembly_->hub_occ, assembly_->corner_occ}),
         list_of({assembly_->top_body})},
        {"nested: each child's subtree before it",
         {assembly_->axle_occ},
         list_of({assembly_->wheel_occ, assembly_->hub_occ, assembly_->corner_occ, assembly_->spare_occ,
                  assembly_->axle_occ}),
         "{}"},
        {"a component already in the text is not added twice",
         {assembly_->axle_occ, assembly_->corner_occ, assembly_->wheel_occ},
         list_of({assembly_->wheel_occ, assembly_->hub_occ, assembly_->corner_occ, assembly_->spare_occ,
                  assembly_->axle_occ}),
         "{}"},
        {"inner component first, then its assembly",
         {assembly_->hub_occ, assembly_->corner_occ},
         list_of({assembly_->hub_occ, assembly_->wheel_occ, assembly_->corner_occ}),
         "{}"},
        {"no components; occurrences and foreign objects passed over",
         {top_point, wheel_shown, assembly_->hub_body, 0},
         "{}",
         list_of({top_point})},
        {"nothing", {}, "{}", "{}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        char* components = nullptr;
        char* objects = nullptr;
        ASSERT_EQ(VD_EVEWIZ_generate_envelope_obj_chain(static_cast<int>(c.tags.size()), c.tags.data(), &components,
                                                        &objects),
                  0);
        EXPECT_EQ(std::string(components), c.components);
        EXPECT_EQ(std::string(objects), c.objects);
        SM_free(components);
        SM_free(objects);
        EXPECT_EQ(host_testing::session_depth(), 0);
    }

    char* components = reinterpret_cast<char*>(1);
    char* objects = reinterpret_cast<char*>(1);
    EXPECT_EQ(VD_EVEWIZ_generate_envelope_obj_chain(-1, nullptr, &components, &objects), -1);
    EXPECT_EQ(components, nullptr);
    EXPECT_EQ(objects, nullptr);
    EXPECT_EQ(VD_EVEWIZ_generate_envelope_obj_chain(2, nullptr, &components, &objects), -1);
    EXPECT_EQ(VD_EVEWIZ_generate_envelope_obj_chain(0, nullptr, nullptr, &objects), -1);
    EXPECT_EQ(host_testing::session_depth(), 0);
    ExpectNoLeaks();
}

TEST_F(EveWizardTest, StudyTagsHoldEachComponentOnceAndTheWorkPartsObjects) {
    const tag_t top_point = host_testing::make_point({1, 2, 3});
    const tag_t wheel_shown = HM_ASSEM_find_occurrence(assembly_->wheel_occ, assembly_->wheel_body);
    const std::vector<tag_t> tags{assembly_->corner_occ, assembly_->top_body, wheel_shown,          assembly_->hub_body,
                                  assembly_->wheel_occ,  top_point,           assembly_->corner_occ};
    int n_components = 0, n_objects = 0;
    tag_t *components = nullptr, *objects = nullptr;
    ASSERT_EQ(VD_EVEWIZ_get_eveobj_tags(static_cast<int>(tags.size()), tags.data(), &n_components, &components,
                                        &n_objects, &objects),
              0);
    EXPECT_EQ(std::vector<tag_t>(components, components + n_components),
              (std::vector<tag_t>{assembly_->corner_occ, assembly_->wheel_occ, assembly_->hub_occ}));
    EXPECT_EQ(std::vector<tag_t>(objects, objects + n_objects), (std::vector<tag_t>{assembly_->top_body, top_point}));
    SM_free(components);
    SM_free(objects);

    // Nothing to hand back: null arrays.
    const tag_t foreign[1] = {assembly_->hub_body};
    ASSERT_EQ(VD_EVEWIZ_get_eveobj_tags(1, foreign, &n_components, &components, &n_objects, &objects), 0);
    EXPECT_EQ(n_components, 0);
    EXPECT_EQ(components, nullptr);
    EXPECT_EQ(n_objects, 0);
    EXPECT_EQ(objects, nullptr);
    EXPECT_EQ(VD_EVEWIZ_get_eveobj_tags(-1, foreign, &n_components, &components, &n_objects, &objects), -1);
    EXPECT_EQ(VD_EVEWIZ_get_eveobj_tags(1, nullptr, &n_components, &components, &n_objects, &objects), -1);
    EXPECT_EQ(VD_EVEWIZ_get_eveobj_tags(1, foreign, nullptr, &components, &n_objects, &objects), -1);
    EXPECT_EQ(host_testing::session_depth(), 0);
    ExpectNoLeaks();
}

TEST_F(EveWizardTest, TrimetricViewBecomesTheWorkView) {
    const tag_t front = host_testing::add_view(assembly_->top, "FRONT");
    host_testing::add_view(assembly_->top, "trimetric");
    VD_EVEWIZ_adjust_view(assembly_->top);
    EXPECT_EQ(host_testing::work_view(), front) << "the name is matched exactly";
    const tag_t trimetric = host_testing::add_view(assembly_->top, "TRIMETRIC");
    VD_EVEWIZ_adjust_view(assembly_->top);
    EXPECT_EQ(host_testing::work_view(), trimetric);
    VD_EVEWIZ_adjust_view(0);   // no part: nothing
    EXPECT_EQ(host_testing::work_view(), trimetric);
}

TEST_F(EveWizardTest, ObjectsAreCarriedFromOneCoordinateSystemToAnother) {
    // From the absolute frame to one at (10, 0, 0) turned a quarter about z:
    // (1, 0, 0) goes to (10, 1, 0).
    const double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const double turned[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    const double zero[3] = {0, 0, 0}, shifted[3] = {10, 0, 0};
    tag_t m1 = 0, m2 = 0, from = 0, to = 0;
    ASSERT_EQ(HM_CSYS_create_matrix(identity, &m1), 0);
    ASSERT_EQ(HM_CSYS_create_matrix(turned, &m2), 0);
    ASSERT_EQ(HM_CSYS_create_csys(zero, m1, &from), 0);
    ASSERT_EQ(HM_CSYS_create_csys(shifted, m2, &to), 0);
    tag_t points[2] = {host_testing::make_point({1, 0, 0}), host_testing::make_point({0, 0, 5})};
    tag_t copies[2] = {0, 0};
    ASSERT_EQ(VD_EVEWIZ_reposition_csys_to_csys(from, to, 2, points, 2, -1, copies), 0);
    const std::array<double, 3> expected[2] = {{10, 1, 0}, {10, 0, 5}};
    for (int i = 0; i < 2; ++i) {
        ASSERT_NE(copies[i], 0u);
        ASSERT_NE(copies[i], points[i]) << "copies are new objects";
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(point_xyz(copies[i])[k], expected[i][k], 1e-9);
    }
    EXPECT_NEAR(point_xyz(points[0])[0], 1.0, 1e-12) << "the original stays";
    EXPECT_EQ(VD_EVEWIZ_reposition_csys_to_csys(0, to, 2, points, 2, -1, copies), -1);
    EXPECT_EQ(VD_EVEWIZ_reposition_csys_to_csys(from, 0, 2, points, 2, -1, copies), -1);
    EXPECT_EQ(VD_EVEWIZ_reposition_csys_to_csys(from, to, 2, nullptr, 2, -1, copies), -1);
}

TEST(EveWizardReference, AxisPointsBecomeTheRowsOfTheMatrix) {
    Korvath::Math::Point3 axes[3] = {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}};
    double matrix[9] = {};
    ASSERT_EQ(VD_EVEWIZ_create_reference_csys(axes, matrix), 0);
    const double expected[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(matrix[i], expected[i]) << i;
    EXPECT_EQ(VD_EVEWIZ_create_reference_csys(nullptr, matrix), -1);
    EXPECT_EQ(VD_EVEWIZ_create_reference_csys(axes, nullptr), -1);
}

TEST_F(EveWizardTest, DataSetIsFoundByItsUpperCaseNameTheLastOneWinning) {
    const tag_t first = host_testing::make_clearance_dataset("ENGINE_ROLL", assembly_->top);
    const tag_t lower = host_testing::make_clearance_dataset("wheel_travel", assembly_->top);
    const tag_t second = host_testing::make_clearance_dataset("ENGINE_ROLL", assembly_->top);
    ASSERT_NE(first, 0u);
    ASSERT_NE(lower, 0u);
    const std::string too_long(133, 'A');
    struct Case {
        const char* name;
        tag_t found;
    } cases[] = {{"ENGINE_ROLL", second},
                 {"engine_roll", second},
                 {"wheel_travel", 0},   // upper-cased, never equal to a lower-case name
                 {"ENGINE", 0},
                 {too_long.c_str(), 0},
                 {nullptr, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "null");
        EXPECT_EQ(VD_EVEWIZ_find_dataset(c.name), c.found);
    }
    ASSERT_EQ(HM_PART_set_display_part(assembly_->hub), 0);
    EXPECT_EQ(VD_EVEWIZ_find_dataset("ENGINE_ROLL"), 0u) << "a part without data sets";
}

TEST_F(EveWizardTest, EngineRollCopiesGoBackToTheStaticPosition) {
    // The spare hub moves; its engine-roll copy was left turned away.
    double placement[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    tag_t instance = 0;
    ASSERT_EQ(VD_EVEWIZ_add_part_to_assy(assembly_->top, "/parts/hub.prt", "", "ROLL_MOVING_COMP_COPY_0", placement,
                                         &instance),
              0);
    const tag_t copy = OCC_ask_part_occ_of_instance(assembly_->top, instance);
    const double away[16] = {0, -1, 0, 40, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    ASSERT_EQ(OCC_set_part_occ_transform(copy, away), 0);
    const tag_t dataset = host_testing::make_clearance_dataset("ENGINE_ROLL", assembly_->top);
    const MTX4_t design = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    ASSERT_EQ(CLEAR_add_configuration(dataset, 1, &design, 1, &assembly_->spare_occ, "LOAD 1"), 0);

    VD_EVEWIZ_recover_static_position(dataset);
    double original[16], placed[16];
    ASSERT_EQ(OCC_ask_transform_of_part_occ(assembly_->spare_occ, original), 0);
    ASSERT_EQ(OCC_ask_transform_of_part_occ(copy, placed), 0);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(placed[i], original[i], 1e-12) << i;
    EXPECT_DOUBLE_EQ(placed[7], 1500.0) << "the spare hub: y 500 in the axle, the axle at y 1000";

    // A data set without configurations, and tag 0, change nothing.
    ASSERT_EQ(OCC_set_part_occ_transform(copy, away), 0);
    VD_EVEWIZ_recover_static_position(host_testing::make_clearance_dataset("EMPTY", assembly_->top));
    VD_EVEWIZ_recover_static_position(0);
    ASSERT_EQ(OCC_ask_transform_of_part_occ(copy, placed), 0);
    EXPECT_DOUBLE_EQ(placed[3], 40.0);
    ExpectNoLeaks();
}

}  // namespace

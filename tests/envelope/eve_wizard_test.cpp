// The point-cloud envelope wizard's steps in an assembly: parts added as
// components, subtrees in order, the object that stands for a component, the
// component of an object, the rule-language texts and tag arrays of a study,
// the trimetric view, and objects carried between coordinate systems.
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

std::vector<tag_t> children_of(tag_t part_occ) {
    int count = 0;
    tag_t* array = nullptr;
    EXPECT_EQ(HM_ASSEM_ask_part_occ_children(part_occ, &count, &array), 0);
    std::vector<tag_t> out(array, array + count);
    SM_free(array);
    return out;
}

std::array<double, 3> point_xyz(tag_t point) {
    std::array<double, 3> xyz{};
    HM_CURVE_ask_point_data(point, xyz.data());
    return xyz;
}

// The assembly "/parts/top.prt" (work and display part): an axle (a corner
// subassembly of a wheel and a hub, and a spare hub) placed at y 1000, and a
// body of its own. The wheel part has a body and a facetted model, the hub a
// body only.
class EveWizardTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        const double corner[3] = {0, 0, 0}, size[3] = {10, 20, 30};
        wheel_ = host_testing::make_part("/parts/wheel.prt");
        wheel_body_ = host_testing::make_box(corner, size);
        wheel_facets_ = host_testing::make_indexed_facet_model({{0, 0, 0}, {0.01, 0, 0}, {0, 0.02, 0}, {0, 0, 0.03}});
        hub_ = host_testing::make_part("/parts/hub.prt");
        hub_body_ = host_testing::make_box(corner, size);
        corner_ = host_testing::make_part("/parts/corner.prt");
        add(corner_, "/parts/wheel.prt", "WHEEL", 100, 0);
        add(corner_, "/parts/hub.prt", "HUB", 200, 0);
        axle_ = host_testing::make_part("/parts/axle.prt");
        add(axle_, "/parts/corner.prt", "CORNER", 0, 0);
        add(axle_, "/parts/hub.prt", "SPARE", 0, 500);
        top_ = host_testing::make_part("/parts/top.prt");
        axle_occ_ = add(top_, "/parts/axle.prt", "AXLE", 0, 1000);
        top_body_ = host_testing::make_box(corner, size);
        const std::vector<tag_t> axle_children = children_of(axle_occ_);
        corner_occ_ = axle_children.at(0);
        spare_occ_ = axle_children.at(1);
        wheel_occ_ = children_of(corner_occ_).at(0);
        hub_occ_ = children_of(corner_occ_).at(1);
    }

    // Adds the part at (x, y, 0) under the parent; its part occurrence.
    tag_t add(tag_t parent, const char* file, const char* name, double x, double y) {
        double placement[4][4] = {{1, 0, 0, x}, {0, 1, 0, y}, {0, 0, 1, 0}, {0, 0, 0, 1}};
        tag_t instance = 0;
        EXPECT_EQ(VD_EVEWIZ_add_part_to_assy(parent, file, "", name, placement, &instance), 0) << name;
        return OCC_ask_part_occ_of_instance(parent, instance);
    }

    tag_t wheel_ = 0, wheel_body_ = 0, wheel_facets_ = 0, hub_ = 0, hub_body_ = 0, corner_ = 0, axle_ = 0;
    tag_t top_ = 0, top_body_ = 0;
    tag_t axle_occ_ = 0, corner_occ_ = 0, spare_occ_ = 0, wheel_occ_ = 0, hub_occ_ = 0;
};

TEST_F(EveWizardTest, PartIsAddedAtItsPlacementAndOpenedFromItsFileWhenNeeded) {
    double transform[16];
    ASSERT_EQ(OCC_ask_transform_of_part_occ(axle_occ_, transform), 0);
    EXPECT_DOUBLE_EQ(transform[7], 1000.0);
    // The wheel sits at x 100 in the corner, the corner at the axle's origin,
    // the axle at y 1000.
    ASSERT_EQ(OCC_ask_transform_of_part_occ(wheel_occ_, transform), 0);
    EXPECT_DOUBLE_EQ(transform[3], 100.0);
    EXPECT_DOUBLE_EQ(transform[7], 1000.0);

    const auto dir = std::filesystem::temp_directory_path() / "carvell_eve_wizard_parts";
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "bracket.prt").string();
    const tag_t bracket = host_testing::make_part(file.c_str());
    ASSERT_EQ(HM_PART_save(bracket), 0);
    ASSERT_EQ(HM_PART_close(bracket, 0, 1), 0);
    ASSERT_EQ(HM_ASSEM_set_work_part(top_), 0);
    ASSERT_EQ(HM_PART_set_display_part(top_), 0);

    double identity[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    tag_t instance = 0;
    const std::string quoted = " \"" + file + "\" ";
    ASSERT_EQ(VD_EVEWIZ_add_part_to_assy(top_, quoted.c_str(), "", "BRACKET", identity, &instance), 0);
    EXPECT_NE(HM_PART_ask_part_tag(file.c_str()), 0u);
    EXPECT_EQ(HM_ASSEM_ask_work_part(), top_) << "the quiet open keeps the work part";
    EXPECT_NE(OCC_ask_instance_of_name(top_, "BRACKET"), 0u);

    // A component that cannot be added leaves no part opened for it.
    ASSERT_EQ(HM_PART_close(HM_PART_ask_part_tag(file.c_str()), 0, 1), 0);
    double scaled[4][4] = {{2, 0, 0, 0}, {0, 2, 0, 0}, {0, 0, 2, 0}, {0, 0, 0, 1}};
    EXPECT_EQ(VD_EVEWIZ_add_part_to_assy(top_, file.c_str(), "", "BAD", scaled, &instance), HM_ERR_BAD_ARGUMENT);
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
        EXPECT_EQ(VD_EVEWIZ_add_part_to_assy(top_, c.name, "", "X", identity, &instance), c.code);
        EXPECT_EQ(OCC_ask_instance_of_name(top_, "X"), 0u);
    }
    std::filesystem::remove_all(dir);
    ExpectNoLeaks();
}

TEST_F(EveWizardTest, SubtreeListsTheComponentItsChildrenThenEachChildsSubtree) {
    int count = 0;
    tag_t* array = nullptr;
    ASSERT_EQ(VD_EVEWIZ_ask_child_part_tags(axle_occ_, &count, &array), 0);
    const std::vector<tag_t> expected{axle_occ_, corner_occ_, spare_occ_, wheel_occ_, hub_occ_};
    EXPECT_EQ(std::vector<tag_t>(array, array + count), expected);

    // Appending to what is there: the component itself is not repeated.
    ASSERT_EQ(VD_EVEWIZ_ask_child_part_tags(corner_occ_, &count, &array), 0);
    ASSERT_EQ(count, 7);
    EXPECT_EQ(array[5], wheel_occ_);
    EXPECT_EQ(array[6], hub_occ_);

    struct Case {
        const char* what;
        tag_t component;
        int* count;
        tag_t** array;
    } cases[] = {{"tag 0", 0, &count, &array},
                 {"a body", top_body_, &count, &array},
                 {"null count", axle_occ_, nullptr, &array},
                 {"null array", axle_occ_, &count, nullptr}};
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
        {"wheel: facets and body", wheel_occ_, 0, wheel_facets_},
        {"hub: body only", hub_occ_, 0, hub_body_},
        {"spare hub", spare_occ_, 0, hub_body_},
        {"subassembly without objects", corner_occ_, -1, 0},
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
    EXPECT_EQ(VD_EVEWIZ_ask_obj_tag_of_component(top_body_, &out), 0);
    EXPECT_EQ(out, top_body_) << "a solid answers itself";
    EXPECT_EQ(VD_EVEWIZ_ask_obj_tag_of_component(wheel_occ_, nullptr), -1);
}

TEST_F(EveWizardTest, ComponentOfAnObjectIsTheFirstPlacingItsPart) {
    tag_t component = 0;
    char name[VD_EVE_NAME_SIZE] = "";
    ASSERT_EQ(VD_EVEWIZ_ask_comp_tag_name_of_obj(wheel_body_, &component, name), 0);
    EXPECT_EQ(component, wheel_occ_);
    EXPECT_STREQ(name, "WHEEL");

    // A component, or an object of the display part, answers itself and -1.
    for (tag_t object : {corner_occ_, top_body_}) {
        component = 0;
        EXPECT_EQ(VD_EVEWIZ_ask_comp_tag_name_of_obj(object, &component, name), -1);
        EXPECT_EQ(component, object);
    }
    // An object of a part no component places.
    const tag_t loose = host_testing::make_part("/parts/loose.prt");
    const double corner[3] = {0, 0, 0}, size[3] = {1, 1, 1};
    const tag_t loose_body = host_testing::make_box(corner, size);
    ASSERT_NE(loose, 0u);
    ASSERT_EQ(HM_ASSEM_set_work_part(top_), 0);
    ASSERT_EQ(HM_PART_set_display_part(top_), 0);
    component = 7;
    EXPECT_EQ(VD_EVEWIZ_ask_comp_tag_name_of_obj(loose_body, &component, name), -1);
    EXPECT_EQ(component, 7u);
    EXPECT_EQ(VD_EVEWIZ_ask_comp_tag_name_of_obj(wheel_body_, &component, nullptr), -1);
    EXPECT_EQ(VD_EVEWIZ_ask_comp_tag_name_of_obj(wheel_body_, nullptr, name), -1);
    ExpectNoLeaks();
}

TEST_F(EveWizardTest, ChainTextsListSubtreesChildFirstAndObjectsAlone) {
    const tag_t top_point = host_testing::make_point({1, 2, 3});
    const tag_t wheel_shown = HM_ASSEM_find_occurrence(wheel_occ_, wheel_body_);
    ASSERT_NE(wheel_shown, 0u);
    struct Case {
        const char* what;
        std::vector<tag_t> tags;
        std::string components, objects;
    } cases[] = {
        {"one body, one component", {top_body_, corner_occ_},
         list_of({wheel_occ_, hub_occ_, corner_occ_}), list_of({top_body_})},
        {"nested: each child's subtree before it", {axle_occ_},
         list_of({wheel_occ_, hub_occ_, corner_occ_, spare_occ_, axle_occ_}), "{}"},
        {"a component already in the text is not added twice", {axle_occ_, corner_occ_, wheel_occ_},
         list_of({wheel_occ_, hub_occ_, corner_occ_, spare_occ_, axle_occ_}), "{}"},
        {"inner component first, then its assembly", {hub_occ_, corner_occ_},
         list_of({hub_occ_, wheel_occ_, corner_occ_}), "{}"},
        {"no components; occurrences and foreign objects passed over", {top_point, wheel_shown, hub_body_, 0},
         "{}", list_of({top_point})},
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
    const tag_t wheel_shown = HM_ASSEM_find_occurrence(wheel_occ_, wheel_body_);
    const std::vector<tag_t> tags{corner_occ_, top_body_, wheel_shown, hub_body_, wheel_occ_, top_point, corner_occ_};
    int n_components = 0, n_objects = 0;
    tag_t *components = nullptr, *objects = nullptr;
    ASSERT_EQ(VD_EVEWIZ_get_eveobj_tags(static_cast<int>(tags.size()), tags.data(), &n_components, &components,
                                        &n_objects, &objects),
              0);
    EXPECT_EQ(std::vector<tag_t>(components, components + n_components),
              (std::vector<tag_t>{corner_occ_, wheel_occ_, hub_occ_}));
    EXPECT_EQ(std::vector<tag_t>(objects, objects + n_objects), (std::vector<tag_t>{top_body_, top_point}));
    SM_free(components);
    SM_free(objects);

    // Nothing to hand back: null arrays.
    const tag_t foreign[1] = {hub_body_};
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
    const tag_t front = host_testing::add_view(top_, "FRONT");
    host_testing::add_view(top_, "trimetric");
    VD_EVEWIZ_adjust_view(top_);
    EXPECT_EQ(host_testing::work_view(), front) << "the name is matched exactly";
    const tag_t trimetric = host_testing::add_view(top_, "TRIMETRIC");
    VD_EVEWIZ_adjust_view(top_);
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
    const tag_t first = host_testing::make_clearance_dataset("ENGINE_ROLL", top_);
    const tag_t lower = host_testing::make_clearance_dataset("wheel_travel", top_);
    const tag_t second = host_testing::make_clearance_dataset("ENGINE_ROLL", top_);
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
    ASSERT_EQ(HM_PART_set_display_part(hub_), 0);
    EXPECT_EQ(VD_EVEWIZ_find_dataset("ENGINE_ROLL"), 0u) << "a part without data sets";
}

TEST_F(EveWizardTest, EngineRollCopiesGoBackToTheStaticPosition) {
    // The spare hub moves; its engine-roll copy was left turned away.
    double placement[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    tag_t instance = 0;
    ASSERT_EQ(VD_EVEWIZ_add_part_to_assy(top_, "/parts/hub.prt", "", "ROLL_MOVING_COMP_COPY_0", placement, &instance),
              0);
    const tag_t copy = OCC_ask_part_occ_of_instance(top_, instance);
    const double away[16] = {0, -1, 0, 40, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    ASSERT_EQ(OCC_set_part_occ_transform(copy, away), 0);
    const tag_t dataset = host_testing::make_clearance_dataset("ENGINE_ROLL", top_);
    const MTX4_t design = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    ASSERT_EQ(CLEAR_add_configuration(dataset, 1, &design, 1, &spare_occ_, "LOAD 1"), 0);

    VD_EVEWIZ_recover_static_position(dataset);
    double original[16], placed[16];
    ASSERT_EQ(OCC_ask_transform_of_part_occ(spare_occ_, original), 0);
    ASSERT_EQ(OCC_ask_transform_of_part_occ(copy, placed), 0);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(placed[i], original[i], 1e-12) << i;
    EXPECT_DOUBLE_EQ(placed[7], 1500.0) << "the spare hub: y 500 in the axle, the axle at y 1000";

    // A data set without configurations, and tag 0, change nothing.
    ASSERT_EQ(OCC_set_part_occ_transform(copy, away), 0);
    VD_EVEWIZ_recover_static_position(host_testing::make_clearance_dataset("EMPTY", top_));
    VD_EVEWIZ_recover_static_position(0);
    ASSERT_EQ(OCC_ask_transform_of_part_occ(copy, placed), 0);
    EXPECT_DOUBLE_EQ(placed[3], 40.0);
    ExpectNoLeaks();
}

}  // namespace

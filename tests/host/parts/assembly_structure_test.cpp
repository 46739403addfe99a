// Assemblies of the stand-in host: components added and removed, their
// children, instances and transforms, component loading, and the views of a
// part.
#include "brindor.h"
#include "core/model.h"
#include "elvosk.h"
#include "host_fixture.h"
#include "lurvane.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"
#include "tests/host/model_objects.h"
#include "ulvarth.h"
#include "yarrowin.h"

#include <BRepBndLib.hxx>
#include <Bnd_Box.hxx>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using host_tests::box;

constexpr double kIdentity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

std::array<double, 16> translation(double x, double y, double z) {
    return {1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, z, 0, 0, 0, 1};
}

// The lowest corner of an object's shape.
std::array<double, 3> low_corner(tag_t object) {
    Bnd_Box b;
    BRepBndLib::Add(host::find(object)->shape, b);
    b.SetGap(0.0);
    double x0, y0, z0, x1, y1, z1;
    b.Get(x0, y0, z0, x1, y1, z1);
    return {x0, y0, z0};
}

std::vector<tag_t> children_of(tag_t part_occ) {
    int count = -1;
    tag_t* array = nullptr;
    EXPECT_EQ(HM_ASSEM_ask_part_occ_children(part_occ, &count, &array), 0);
    std::vector<tag_t> out(array, array + count);
    SM_free(array);
    return out;
}

std::string name_of(tag_t object) {
    char name[HM_MAX_NAME_BUFSIZE] = "";
    HM_OBJ_ask_name(object, name, sizeof name);
    return name;
}

// The single occurrence a component shows of a body; 0 when it shows none or
// several.
tag_t shown_body(tag_t component) {
    tag_t found = 0;
    int n = 0;
    for (auto& [tag, o] : host::model().objects)
        if (o.status == HM_OBJ_ALIVE && o.type == HM_solid_type && HM_ASSEM_ask_part_occurrence(tag) == component &&
            tag != component) {
            found = tag;
            ++n;
        }
    return n == 1 ? found : 0;
}

// A corner subassembly (a wheel placed at x 100 and a hub at x 200, each part
// a 10 x 20 x 30 box at its origin) placed in a top assembly at y 1000.
class AssemblyStructureTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        wheel_ = host_testing::make_part("/parts/wheel.prt");
        wheel_body_ = box();
        hub_ = host_testing::make_part("/parts/hub.prt");
        box();
        corner_ = host_testing::make_part("/parts/corner.prt");
        tag_t inst = 0;
        ASSERT_EQ(ASSY_add_part_to_assembly(corner_, wheel_, "", "WHEEL", 0, translation(100, 0, 0).data(), 1, &inst),
                  0);
        ASSERT_EQ(ASSY_add_part_to_assembly(corner_, hub_, "", "HUB", 0, translation(200, 0, 0).data(), 1, &inst), 0);
        top_ = host_testing::make_part("/parts/top.prt");
        ASSERT_EQ(ASSY_add_part_to_assembly(top_, corner_, "MODEL", "CORNER", 0, translation(0, 1000, 0).data(), 1,
                                            &corner_instance_),
                  0);
        corner_occ_ = OCC_ask_part_occ_of_instance(top_, corner_instance_);
        ASSERT_NE(corner_occ_, 0u);
    }
    tag_t wheel_ = 0, wheel_body_ = 0, hub_ = 0, corner_ = 0, top_ = 0;
    tag_t corner_instance_ = 0, corner_occ_ = 0;
};

TEST_F(AssemblyStructureTest, ChildrenInOrderShowTheirPartsPlacedThroughEveryLevel) {
    tag_t engine = host_testing::make_part("/parts/engine.prt");
    box();
    ASSERT_EQ(HM_ASSEM_set_work_part(top_), 0);
    tag_t inst = 0;
    ASSERT_EQ(ASSY_add_part_to_assembly(top_, engine, nullptr, nullptr, 0, kIdentity, 1, &inst), 0);
    const tag_t engine_occ = OCC_ask_part_occ_of_instance(top_, inst);
    EXPECT_EQ(name_of(engine_occ), "engine") << "an unnamed component takes the part's bare name";

    EXPECT_EQ(children_of(top_), (std::vector<tag_t>{corner_occ_, engine_occ}));
    const std::vector<tag_t> corner_children = children_of(corner_occ_);
    ASSERT_EQ(corner_children.size(), 2u);
    EXPECT_EQ(name_of(corner_children[0]), "WHEEL");
    EXPECT_EQ(name_of(corner_children[1]), "HUB");
    EXPECT_TRUE(children_of(corner_children[0]).empty());

    // The wheel's box shows at (100, 1000, 0): its own placement then the
    // corner's.
    const tag_t wheel_occ = shown_body(corner_children[0]);
    ASSERT_NE(wheel_occ, 0u);
    EXPECT_EQ(HM_ASSEM_ask_prototype_of_occ(wheel_occ), wheel_body_);
    const auto corner = low_corner(wheel_occ);
    EXPECT_NEAR(corner[0], 100.0, 1e-6);
    EXPECT_NEAR(corner[1], 1000.0, 1e-6);
    EXPECT_NEAR(corner[2], 0.0, 1e-6);
    // The subassembly's children keep their instances of the corner part.
    EXPECT_EQ(OCC_ask_instance_of_name(corner_occ_, "HUB"), HM_ASSEM_ask_inst_of_part_occ(corner_children[1]));
    EXPECT_EQ(OCC_ask_instance_of_name(corner_occ_, "NONE"), 0u);

    int count = 7;
    tag_t* array = reinterpret_cast<tag_t*>(&count);
    EXPECT_EQ(HM_ASSEM_ask_part_occ_children(0, &count, &array), HM_ERR_INVALID_TAG);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(array, nullptr);
    EXPECT_EQ(HM_ASSEM_ask_part_occ_children(wheel_body_, &count, &array), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(HM_ASSEM_ask_part_occ_children(top_, nullptr, &array), HM_ERR_NULL_POINTER);
}

TEST_F(AssemblyStructureTest, TransformSetIsReadBackAndMovesTheSubtree) {
    // A quarter turn about z, then to (5, 6, 7).
    const double turn[16] = {0, -1, 0, 5, 1, 0, 0, 6, 0, 0, 1, 7, 0, 0, 0, 1};
    ASSERT_EQ(OCC_set_part_occ_transform(corner_occ_, turn), 0);
    double read[16];
    ASSERT_EQ(OCC_ask_transform_of_part_occ(corner_occ_, read), 0);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(read[i], turn[i], 1e-12) << i;

    // The wheel (at x 100 in the corner) is now at (5, 106, 7), turned: its
    // 10 x 20 box spans x -15..5 and y 106..116.
    const tag_t wheel_occ = shown_body(children_of(corner_occ_)[0]);
    const auto corner = low_corner(wheel_occ);
    EXPECT_NEAR(corner[0], -15.0, 1e-6);
    EXPECT_NEAR(corner[1], 106.0, 1e-6);
    EXPECT_NEAR(corner[2], 7.0, 1e-6);
    ASSERT_EQ(OCC_ask_transform_of_occurrence(wheel_occ, read), 0);
    EXPECT_NEAR(read[3], 5.0, 1e-12);
    EXPECT_NEAR(read[7], 106.0, 1e-12);

    // Through the instance: back to a plain shift.
    const auto shift = translation(0, 0, 50);
    ASSERT_EQ(OCC_set_instance_transform(corner_instance_, shift.data()), 0);
    ASSERT_EQ(OCC_ask_transform_of_part_occ(corner_occ_, read), 0);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(read[i], shift[i], 1e-12) << i;
    EXPECT_NEAR(low_corner(wheel_occ)[0], 100.0, 1e-6);
    EXPECT_NEAR(low_corner(wheel_occ)[2], 50.0, 1e-6);

    // What is not a rigid motion is refused and nothing moves.
    const double scaled[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1};
    const double mirrored[16] = {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const double projective[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 1, 1};
    for (const double* bad : {scaled, mirrored, projective}) {
        EXPECT_EQ(OCC_set_part_occ_transform(corner_occ_, bad), HM_ERR_BAD_ARGUMENT);
        EXPECT_EQ(OCC_set_instance_transform(corner_instance_, bad), HM_ERR_BAD_ARGUMENT);
    }
    ASSERT_EQ(OCC_ask_transform_of_part_occ(corner_occ_, read), 0);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(read[i], shift[i], 1e-12) << i;
    EXPECT_EQ(OCC_set_part_occ_transform(corner_instance_, shift.data()), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(OCC_set_instance_transform(corner_occ_, shift.data()), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(OCC_ask_transform_of_part_occ(0, read), HM_ERR_INVALID_TAG);
    EXPECT_EQ(OCC_set_part_occ_transform(corner_occ_, nullptr), HM_ERR_NULL_POINTER);

    // The same product as HM_MTX4_multiply: the shift, then the turn.
    double product[16];
    ASSERT_EQ(MTX4_multiply(shift.data(), turn, product), 0);
    double p[3];
    const double origin[3] = {1, 0, 0};
    ASSERT_EQ(HM_MTX4_vec3_multiply(origin, product, p), 0);
    EXPECT_NEAR(p[0], 5.0, 1e-12);
    EXPECT_NEAR(p[1], 7.0, 1e-12);
    EXPECT_NEAR(p[2], 57.0, 1e-12);
}

TEST_F(AssemblyStructureTest, ComponentAddedThenRemovedLeavesNothingBehind) {
    const int objects_before = static_cast<int>(host::model().objects.size());
    tag_t inst = 0;
    ASSERT_EQ(ASSY_add_part_to_assembly(top_, corner_, "None", "ROLL_MOVING_COMP_COPY_0", 0,
                                        translation(0, 0, 10).data(), 1, &inst),
              0);
    const tag_t copy = OCC_ask_part_occ_of_instance(top_, inst);
    ASSERT_NE(copy, 0u);
    EXPECT_EQ(OCC_ask_instance_of_name(top_, "ROLL_MOVING_COMP_COPY_0"), inst);
    EXPECT_EQ(HM_ASSEM_ask_inst_of_part_occ(copy), inst);
    EXPECT_EQ(children_of(copy).size(), 2u);
    EXPECT_GT(static_cast<int>(host::model().objects.size()), objects_before);

    char* refset = nullptr;
    ASSERT_EQ(ASSY_get_name_of_ref_set(copy, &refset), 0);
    EXPECT_STREQ(refset, "None") << "a component that shows no reference set is named so, as it was added";
    SM_free(refset);
    ASSERT_EQ(ASSY_get_name_of_ref_set(corner_occ_, &refset), 0);
    EXPECT_STREQ(refset, "MODEL");
    SM_free(refset);

    // The copy's wheel occurrence stands for what the original's does.
    const tag_t original_wheel = shown_body(children_of(corner_occ_)[0]);
    const tag_t copy_wheel = shown_body(children_of(copy)[0]);
    EXPECT_EQ(OCC_remap_occurrence(copy, corner_occ_, original_wheel), copy_wheel);
    EXPECT_EQ(OCC_remap_occurrence(copy, corner_occ_, children_of(corner_occ_)[1]), children_of(copy)[1]);
    EXPECT_EQ(OCC_remap_occurrence(corner_occ_, copy, original_wheel), 0u) << "not under the source";

    // Removing through the instance takes the subtree and its occurrences.
    ASSERT_EQ(ASSY_remove_component(inst), 0);
    EXPECT_EQ(static_cast<int>(host::model().objects.size()), objects_before);
    EXPECT_EQ(OCC_ask_instance_of_name(top_, "ROLL_MOVING_COMP_COPY_0"), 0u);
    EXPECT_EQ(children_of(top_), std::vector<tag_t>{corner_occ_});
    EXPECT_EQ(ASSY_remove_component(copy), HM_ERR_INVALID_TAG);
    EXPECT_EQ(ASSY_remove_component(wheel_body_), HM_ERR_WRONG_TYPE);
    ExpectNoLeaks();
}

TEST_F(AssemblyStructureTest, AddingRefusesBadInputAndMakesNothing) {
    const int objects_before = static_cast<int>(host::model().objects.size());
    const double scaled[16] = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1};
    const std::string long_name(133, 'N');
    tag_t inst = 99;
    struct Case {
        const char* what;
        tag_t parent, part;
        const char* name;
        int layer;
        const double* placement;
        tag_t* instance;
        int code;
    } cases[] = {
        {"no parent", 0, wheel_, "A", 0, kIdentity, &inst, HM_ERR_INVALID_TAG},
        {"no part", top_, 0, "A", 0, kIdentity, &inst, HM_ERR_INVALID_TAG},
        {"part is a body", top_, wheel_body_, "A", 0, kIdentity, &inst, HM_ERR_WRONG_TYPE},
        {"parent is a body", wheel_body_, hub_, "A", 0, kIdentity, &inst, HM_ERR_WRONG_TYPE},
        {"part into itself", top_, top_, "A", 0, kIdentity, &inst, HM_ERR_BAD_ARGUMENT},
        {"assembly into its own part", corner_, top_, "A", 0, kIdentity, &inst, HM_ERR_BAD_ARGUMENT},
        {"layer 257", top_, wheel_, "A", 257, kIdentity, &inst, HM_ERR_BAD_ARGUMENT},
        {"name of 133", top_, wheel_, long_name.c_str(), 0, kIdentity, &inst, HM_ERR_BAD_ARGUMENT},
        {"not rigid", top_, wheel_, "A", 0, scaled, &inst, HM_ERR_BAD_ARGUMENT},
        {"no placement", top_, wheel_, "A", 0, nullptr, &inst, HM_ERR_NULL_POINTER},
        {"no instance", top_, wheel_, "A", 0, kIdentity, nullptr, HM_ERR_NULL_POINTER},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ASSY_add_part_to_assembly(c.parent, c.part, "", c.name, c.layer, c.placement, 1, c.instance), c.code)
            << c.what;
        EXPECT_EQ(static_cast<int>(host::model().objects.size()), objects_before) << c.what;
    }
    EXPECT_EQ(inst, 0u);
}

TEST_F(AssemblyStructureTest, BlankingAComponentBlanksWhatItShows) {
    const tag_t wheel = children_of(corner_occ_)[0];
    const tag_t wheel_occ = shown_body(wheel);
    bool blanked = false;
    ASSERT_EQ(OCC_blank_component(corner_occ_, 0, 1, nullptr, 0), 0);
    ASSERT_EQ(HM_OBJ_ask_blank_status(wheel_occ, &blanked), 0);
    EXPECT_FALSE(blanked) << "scope 0 is the component alone";
    ASSERT_EQ(OCC_blank_component(corner_occ_, 1, 1, nullptr, 0), 0);
    ASSERT_EQ(HM_OBJ_ask_blank_status(wheel_occ, &blanked), 0);
    EXPECT_TRUE(blanked);
    ASSERT_EQ(OCC_blank_component(wheel, 0, 0, nullptr, 0), 0);
    ASSERT_EQ(HM_OBJ_ask_blank_status(wheel_occ, &blanked), 0);
    EXPECT_FALSE(blanked);
    EXPECT_EQ(OCC_blank_component(wheel_occ, 0, 1, nullptr, 0), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(OCC_blank_component(wheel, 2, 1, nullptr, 0), HM_ERR_BAD_ARGUMENT);
}

/* ---- loading ---- */

class AssemblyLoadingTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        // One directory per process and case: shards of this program run at
        // the same time and must not remove each other's files.
        dir_ = std::filesystem::temp_directory_path() /
               ("carvell_assembly_loading_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
        file_ = (dir_ / "bracket.prt").string();
    }
    void TearDown() override {
        std::filesystem::remove_all(dir_);
        HostTest::TearDown();
    }
    std::filesystem::path dir_;
    std::string file_;
};

TEST_F(AssemblyLoadingTest, ComponentOfAClosedPartIsLoadedAgainWithoutChangingTheWorkPart) {
    tag_t bracket = host_testing::make_part(file_.c_str());
    box();
    ASSERT_EQ(HM_PART_save(bracket), 0);
    tag_t top = host_testing::make_part("/parts/top.prt");
    tag_t inst = 0;
    ASSERT_EQ(ASSY_add_part_to_assembly(top, bracket, nullptr, "BRACKET", 0, translation(0, 0, 5).data(), 1, &inst),
              0);
    const tag_t component = OCC_ask_part_occ_of_instance(top, inst);
    ASSERT_EQ(HM_PART_close(bracket, 0, 1), 0);
    EXPECT_EQ(HM_ASSEM_ask_prototype_of_occ(component), 0u);
    EXPECT_EQ(shown_body(component) ? HM_ASSEM_ask_prototype_of_occ(shown_body(component)) : 0u, 0u);

    HM_PART_load_status_t status{};
    ASSERT_EQ(PART_load_component(component, &status), 0);
    EXPECT_FALSE(status.failed);
    const tag_t reopened = HM_ASSEM_ask_prototype_of_occ(component);
    ASSERT_NE(reopened, 0u);
    EXPECT_EQ(HM_ASSEM_ask_work_part(), top);
    EXPECT_EQ(HM_PART_ask_display_part(), top);
    const tag_t shown = shown_body(component);
    ASSERT_NE(shown, 0u) << "one body shown, the stale one gone";
    EXPECT_NEAR(low_corner(shown)[2], 5.0, 1e-6);

    char* name = nullptr;
    ASSERT_EQ(PART_ask_filename_of_part(reopened, &name), 0);
    EXPECT_EQ(std::string(name), file_);
    SM_free(name);
    EXPECT_EQ(PART_ask_filename_of_part(component, &name), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(PART_ensure_occ_data_loaded(top), 0);
    EXPECT_EQ(PART_ensure_occ_data_loaded(component), 0);
    EXPECT_EQ(PART_ensure_occ_data_loaded(shown), HM_ERR_WRONG_TYPE);

    // A part file that is gone: the code, and a status naming the file.
    ASSERT_EQ(HM_PART_close(reopened, 0, 1), 0);
    std::filesystem::remove(file_);
    ASSERT_EQ(PART_load_component(component, &status), HM_ERR_FILE);
    ASSERT_TRUE(status.failed);
    ASSERT_EQ(status.n_parts, 1);
    EXPECT_EQ(std::string(status.file_names[0]), file_);
    EXPECT_EQ(status.statuses[0], HM_ERR_FILE);
    PART_free_load_status(&status);
    EXPECT_EQ(status.file_names, nullptr);
    EXPECT_EQ(HM_ASSEM_ask_work_part(), top);
    ExpectNoLeaks();
}

TEST_F(AssemblyLoadingTest, QuietOpenKeepsTheWorkPart) {
    tag_t saved = host_testing::make_part(file_.c_str());
    ASSERT_EQ(HM_PART_save(saved), 0);
    ASSERT_EQ(HM_PART_close(saved, 0, 1), 0);
    tag_t top = host_testing::make_part("/parts/top.prt");
    tag_t opened = 0;
    HM_PART_load_status_t status{};
    ASSERT_EQ(BASE_open_part_quietly(file_.c_str(), &opened, &status), 0);
    EXPECT_NE(opened, 0u);
    EXPECT_EQ(HM_ASSEM_ask_work_part(), top);
    EXPECT_EQ(BASE_open_part_quietly((dir_ / "missing.prt").string().c_str(), &opened, &status), HM_ERR_FILE);
    EXPECT_TRUE(status.failed);
    EXPECT_EQ(opened, 0u);
    PART_free_load_status(&status);
    EXPECT_EQ(HM_ASSEM_ask_work_part(), top);
    ExpectNoLeaks();
}

TEST(AssemblyNames, CommandLinePartNamesAreDecoded) {
    struct Case {
        const char* cli;
        size_t size;
        int code;
        const char* name;
    } cases[] = {
        {"/parts/a.prt", 64, 0, "/parts/a.prt"},
        {"  \"/parts/with space.prt\" \n", 64, 0, "/parts/with space.prt"},
        {"\"\"", 64, HM_ERR_BAD_ARGUMENT, ""},
        {"   ", 64, HM_ERR_BAD_ARGUMENT, ""},
        {"/parts/a.prt", 12, HM_ERR_BAD_ARGUMENT, ""},   // 12 characters need 13 bytes
        {"/parts/a.prt", 13, 0, "/parts/a.prt"},
    };
    for (const Case& c : cases) {
        char name[64] = "stale";
        EXPECT_EQ(KWMGR_decode_cli_part_file(c.cli, name, c.size), c.code) << c.cli;
        EXPECT_STREQ(name, c.name) << c.cli;
    }
    char name[8];
    EXPECT_EQ(KWMGR_decode_cli_part_file(nullptr, name, sizeof name), HM_ERR_NULL_POINTER);
}

TEST(AssemblyOptions, FieldsAreSetReadBackAndRangeChecked) {
    HM_ASSEM_options_t saved{};
    ASSERT_EQ(HM_ASSEM_ask_assem_options(&saved), 0);
    HM_ASSEM_options_t changed = saved;
    changed.load_fully = 1;
    changed.load_interpart_data = 1;
    ASSERT_EQ(HM_ASSEM_set_assem_options(&changed), 0);
    HM_ASSEM_options_t read{};
    ASSERT_EQ(HM_ASSEM_ask_assem_options(&read), 0);
    EXPECT_EQ(read.load_fully, 1);
    EXPECT_EQ(read.load_interpart_data, 1);
    HM_ASSEM_options_t bad = changed;
    bad.load_fully = 2;
    EXPECT_EQ(HM_ASSEM_set_assem_options(&bad), HM_ERR_BAD_ARGUMENT);
    bad = changed;
    bad.load_from = 3;
    EXPECT_EQ(HM_ASSEM_set_assem_options(&bad), HM_ERR_BAD_ARGUMENT);
    ASSERT_EQ(HM_ASSEM_ask_assem_options(&read), 0);
    EXPECT_EQ(read.load_fully, 1) << "a refused setting changes nothing";
    ASSERT_EQ(HM_ASSEM_set_assem_options(&saved), 0);
    EXPECT_EQ(HM_ASSEM_set_assem_options(nullptr), HM_ERR_NULL_POINTER);
}

/* ---- views ---- */

class ViewTest : public HostTest {};

TEST_F(ViewTest, WorkViewIsReplacedByANamedViewOfThePart) {
    const tag_t top = host_testing::add_view(part_, "TOP");
    const tag_t trimetric = host_testing::add_view(part_, "TRIMETRIC");
    EXPECT_EQ(host_testing::work_view(), top);

    std::vector<std::string> names;
    tag_t view = 0;
    do {
        ASSERT_EQ(ES_cycle_entities_by_type(part_, HM_view_type, &view), 0);
        if (view) {
            char name[HM_MAX_NAME_BUFSIZE];
            ASSERT_EQ(ES_read_entity_name(view, name, sizeof name), 0);
            names.push_back(name);
        }
    } while (view);
    EXPECT_EQ(names, (std::vector<std::string>{"TOP", "TRIMETRIC"}));
    char cut[4];
    ASSERT_EQ(ES_read_entity_name(trimetric, cut, sizeof cut), 0);
    EXPECT_STREQ(cut, "TRI");

    const tag_t vseq = DSS_VIEW_ask_work_vseq();
    ASSERT_NE(vseq, 0u);
    tag_t replaced = 0;
    ASSERT_EQ(BASE_replace_view(vseq, trimetric, 1, &replaced), 0);
    EXPECT_EQ(replaced, top);
    EXPECT_EQ(host_testing::work_view(), trimetric);

    // A view of another part, or what is no view, is refused.
    const tag_t other = host_testing::make_part("/parts/other.prt");
    const tag_t foreign = host_testing::add_view(other, "TRIMETRIC");
    EXPECT_EQ(BASE_replace_view(vseq, foreign, 1, &replaced), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(BASE_replace_view(vseq, vseq, 1, &replaced), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(BASE_replace_view(0, trimetric, 1, &replaced), HM_ERR_INVALID_TAG);
    EXPECT_EQ(ES_cycle_entities_by_type(trimetric, HM_view_type, &view), HM_ERR_WRONG_TYPE);
    ASSERT_EQ(HM_PART_set_display_part(part_), 0);
    EXPECT_EQ(host_testing::work_view(), trimetric);
}

}  // namespace

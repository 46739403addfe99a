// Part files of the stand-in host: saved parts open with their units,
// objects and geometry; failed opens and saves; exports; the display and
// data-management forms of part names.
#include "core/model.h"
#include "host_fixture.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"
#include "tests/host/model_objects.h"
#include "ulvarth.h"

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

using host_tests::box;
using host_tests::first_feature;
using host_tests::line_between;
using host_tests::point_at;
using host_tests::point_of;

namespace fs = std::filesystem;

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

}  // namespace

// The host-API session bracket and the framework services: export of a
// part's objects, component names, minimum distance, persistent handles and
// validation checkers.
#include "carvell_session.h"
#include "host_fixture.h"
#include "test_helpers.h"
#include "omvra.h"
#include "quillon.h"
#include "quorsel.h"
#include "sarnweld.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using support::new_point;

namespace fs = std::filesystem;

// Every test starts and ends with the library's bracket closed.
class SessionTest : public HostTest {
protected:
    void SetUp() override {
        VD_exit_omvra();
        HostTest::SetUp();
    }
    void TearDown() override {
        VD_exit_omvra();
        HostTest::TearDown();
    }
};

TEST_F(SessionTest, BracketIsAFlagNotACount) {
    ASSERT_EQ(host_testing::session_depth(), 0);
    VD_enter_omvra();
    EXPECT_EQ(host_testing::session_depth(), 1);
    EXPECT_EQ(RTENV_ask_env(), RTENV_kwopen);
    VD_enter_omvra();
    EXPECT_EQ(host_testing::session_depth(), 1) << "a second enter opens nothing";
    VD_exit_omvra();
    EXPECT_EQ(host_testing::session_depth(), 0) << "one exit closes the bracket";
    EXPECT_EQ(RTENV_ask_env(), RTENV_interactive) << "the saved environment is back";
    VD_exit_omvra();
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(SessionTest, ExitWithTheBracketClosedTouchesNothing) {
    // A caller's own session and environment survive an exit of a closed bracket.
    ASSERT_EQ(HM_initialize(), 0);
    RTENV_set_env(RTENV_batch);
    VD_exit_omvra();
    EXPECT_EQ(host_testing::session_depth(), 1);
    EXPECT_EQ(RTENV_ask_env(), RTENV_batch);
    // And the bracket restores the environment it found.
    VD_enter_omvra();
    EXPECT_EQ(host_testing::session_depth(), 2);
    VD_exit_omvra();
    EXPECT_EQ(host_testing::session_depth(), 1);
    EXPECT_EQ(RTENV_ask_env(), RTENV_batch);
    HM_terminate();
}

/* ---- export ---- */

class ExportTest : public SessionTest {
protected:
    std::string path(const char* name) const { return files_.path(name); }

    static std::vector<std::vector<double>> points_of(tag_t part) {
        std::vector<std::vector<double>> out;
        for (tag_t p = HM_OBJ_cycle_objs_in_part(part, HM_point_type, 0); p;
             p = HM_OBJ_cycle_objs_in_part(part, HM_point_type, p)) {
            double xyz[3];
            EXPECT_EQ(HM_CURVE_ask_point_data(p, xyz), 0);
            out.push_back({xyz[0], xyz[1], xyz[2]});
        }
        return out;
    }

    support::ScratchDirectory files_{"carvell_export"};
};

TEST_F(ExportTest, ExportsObjectsOfTheTypeAndSubtypeAndOccurrencesAsPrototypes) {
    tag_t wheel = host_testing::make_part(path("wheel.prt").c_str());
    tag_t hub = new_point(0, 0, 5);
    tag_t target = host_testing::make_part(path("target.prt").c_str());
    tag_t source = host_testing::make_part(path("source.prt").c_str());
    new_point(1, 2, 3);
    new_point(4, 5, 6);
    const double size[3] = {1, 1, 1}, corner[3] = {0, 0, 0};
    host_testing::make_box(corner, size);
    const double origin[3] = {100, 0, 0};
    tag_t component = host_testing::add_component(wheel, "WHEEL", origin);
    ASSERT_NE(host_testing::add_occurrence(component, hub), 0u);

    EXPECT_EQ(VD_export_all_objs(source, target, HM_point_type, 0), 0);
    const std::vector<std::vector<double>> expected{{0, 0, 5}, {1, 2, 3}, {4, 5, 6}};
    EXPECT_EQ(points_of(target), expected) << "the hub's prototype first, then the bulk";
    EXPECT_EQ(host_testing::count_objects(target), 3) << "only points of subtype 0";
    EXPECT_EQ(HM_PART_ask_display_part(), target);
    EXPECT_EQ(host_testing::session_depth(), 0);
    EXPECT_EQ(host_testing::count_objects(source, HM_point_type), 3) << "the source keeps its objects";

    // The target's file holds them too.
    ASSERT_EQ(HM_PART_close(target, 0, 1), 0);
    tag_t reopened = 0;
    HM_PART_load_status_t status;
    ASSERT_EQ(HM_PART_open_quiet(path("target.prt").c_str(), &reopened, &status), 0);
    EXPECT_EQ(points_of(reopened), expected);

    // No matching subtype: nothing exported.
    EXPECT_EQ(VD_export_all_objs(source, reopened, HM_point_type, 1), 0);
    EXPECT_EQ(host_testing::count_objects(reopened), 3);
    ExpectNoLeaks();
}

TEST_F(ExportTest, PartsOfDifferentUnitsExportNothing) {
    tag_t inch = host_testing::make_part(path("inch.prt").c_str(), true);
    new_point(1, 1, 1);
    tag_t mm = host_testing::make_part(path("mm.prt").c_str());
    new_point(2, 2, 2);
    ASSERT_EQ(HM_PART_set_display_part(part_), 0);
    VD_enter_omvra();   // closed at the end whatever its state at the start

    EXPECT_EQ(VD_export_all_objs(mm, inch, HM_point_type, 0), 2);
    EXPECT_EQ(VD_export_all_objs(inch, mm, HM_point_type, 0), 2);
    EXPECT_EQ(host_testing::count_objects(inch), 1);
    EXPECT_EQ(host_testing::count_objects(mm), 1);
    EXPECT_FALSE(fs::exists(path("inch.prt")));
    EXPECT_FALSE(fs::exists(path("mm.prt")));
    EXPECT_EQ(HM_PART_ask_display_part(), part_);
    EXPECT_EQ(host_testing::session_depth(), 0);
    ExpectNoLeaks();
}

TEST_F(ExportTest, APartThatCannotBeOpenedIsReportedAndStopsTheExport) {
    tag_t target = host_testing::make_part(path("target.prt").c_str());
    tag_t gone = host_testing::make_part(path("gone.prt").c_str());
    new_point(1, 1, 1);
    ASSERT_EQ(HM_PART_close(gone, 0, 1), 0);   // never saved: no file to open

    EXPECT_EQ(VD_export_all_objs(gone, target, HM_point_type, 0), HM_ERR_FILE);
    EXPECT_EQ(VD_export_all_objs(target, gone, HM_point_type, 0), HM_ERR_FILE);
    EXPECT_EQ(host_testing::count_objects(target), 0);
    EXPECT_FALSE(fs::exists(path("target.prt")));
    EXPECT_EQ(host_testing::session_depth(), 0);
    ExpectNoLeaks();   // the failed opens' load statuses are freed
}

/* ---- component names ---- */

class ComponentNameTest : public SessionTest {};

TEST_F(ComponentNameTest, ListsComponentsByNameOrByTheirPartsDisplayName) {
    tag_t wheel = host_testing::make_part("/vehicle/parts/front_wheel.prt");
    tag_t assembly = host_testing::make_part("/vehicle/chassis.prt");
    tag_t left = host_testing::add_component(wheel, "LEFT_WHEEL");
    host_testing::add_component(wheel, "LEFT_WHEEL_ROLL_MOVING_COMP_COPY");
    tag_t unnamed = host_testing::add_component(wheel);
    host_testing::add_component(wheel, "ROLL_MOVING_COMP_COPY");
    tag_t right = host_testing::add_component(wheel, "RIGHT_WHEEL");

    for (int mode : {0, 1}) {
        VD_enter_omvra();
        tag_t* components = nullptr;
        char** names = nullptr;
        int count = -1;
        EXPECT_EQ(VD_ask_all_component_name(&components, &names, &count, mode), 0);
        ASSERT_EQ(count, 3) << "mode " << mode;
        EXPECT_EQ(std::vector<tag_t>(components, components + count), (std::vector<tag_t>{left, unnamed, right}));
        EXPECT_STREQ(names[0], "LEFT_WHEEL");
        EXPECT_STREQ(names[1], "front_wheel");
        EXPECT_STREQ(names[2], "RIGHT_WHEEL");
        for (int i = 0; i < count; ++i) SM_free(names[i]);
        SM_free(names);
        SM_free(components);
        EXPECT_EQ(HM_ASSEM_ask_work_part(), assembly);
        EXPECT_EQ(host_testing::session_depth(), 0);
    }
    ExpectNoLeaks();
}

TEST_F(ComponentNameTest, OtherModesAnswerNullArraysAndLeaveTheCount) {
    host_testing::add_component(host_testing::make_part("/p/seat.prt"), "SEAT");
    tag_t* components = reinterpret_cast<tag_t*>(&components);
    char** names = reinterpret_cast<char**>(&names);
    int count = 77;
    EXPECT_EQ(VD_ask_all_component_name(&components, &names, &count, 2), 0);
    EXPECT_EQ(components, nullptr);
    EXPECT_EQ(names, nullptr);
    EXPECT_EQ(count, 77);
    // A part without components: no names.
    host_testing::make_part("/p/empty.prt");
    EXPECT_EQ(VD_ask_all_component_name(&components, &names, &count, 0), 0);
    EXPECT_EQ(count, 0);
    SM_free(components);
    SM_free(names);
    ExpectNoLeaks();
}

/* ---- distance, handles ---- */

TEST_F(SessionTest, MinimumDistanceBetweenTwoBoxes) {
    const double size[3] = {10, 10, 10};
    const double a_corner[3] = {0, 0, 0}, b_corner[3] = {13, 4, 0};
    tag_t a = host_testing::make_box(a_corner, size);
    tag_t b = host_testing::make_box(b_corner, size);
    double distance = -1, pa[3], pb[3];
    ASSERT_EQ(VD_ask_minimum_distance(a, b, &distance, pa, pb), 0);
    EXPECT_NEAR(distance, 3.0, 1e-9);
    EXPECT_NEAR(pa[0], 10.0, 1e-9);
    EXPECT_NEAR(pb[0], 13.0, 1e-9);
    EXPECT_NEAR(std::hypot(pb[0] - pa[0], pb[1] - pa[1], pb[2] - pa[2]), 3.0, 1e-9);
    EXPECT_NE(VD_ask_minimum_distance(a, 0, &distance, pa, pb), 0) << "the host's failure comes through";
}

TEST_F(SessionTest, HandlesNameObjectsAndStayWithinTheirBuffer) {
    const double size[3] = {1, 1, 1}, corner[3] = {0, 0, 0};
    tag_t box = host_testing::make_box(corner, size);

    // The buffer is exactly as long as the longest handle; the guard behind it stays.
    char buffer[VD_TAG_HANDLE_BUFSIZE + 8];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(VD_ask_tag_handle(0, buffer), -1);
    EXPECT_EQ(buffer[0], '#') << "nothing written for tag 0";
    ASSERT_EQ(VD_ask_tag_handle(box, buffer), 0);
    EXPECT_LE(std::strlen(buffer), size_t{TAG_HANDLE_MAX_LENGTH});
    for (size_t i = VD_TAG_HANDLE_BUFSIZE; i < sizeof buffer; ++i) EXPECT_EQ(buffer[i], '#');
    EXPECT_EQ(VD_ask_handle_tag(buffer), box);
    EXPECT_EQ(VD_ask_handle_tag((std::string("  ") + buffer + " ").c_str()), box) << "tolerant lookup";

    ASSERT_EQ(HM_OBJ_delete_object(box), 0);
    EXPECT_EQ(VD_ask_handle_tag(buffer), 0u);
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(VD_ask_tag_handle(box, buffer), -1) << "a deleted object has no handle";
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(VD_ask_handle_tag("no such handle"), 0u);
    ExpectNoLeaks();
}

/* ---- validation checkers ---- */

TEST_F(SessionTest, ValidationObjectsAreFoundByCheckerNameFirstOneWinning) {
    VALIDATION_checker_object_t *first = nullptr, *second = nullptr, *other = nullptr;
    VD_create_validation_app_object("VD", "GAP", "5.0", "Clearance", &first);
    VD_create_validation_app_object("VD", "FLUSH", "", "Clearance", &other);
    VD_create_validation_app_object("VD", "GAP", "9.0", "Clearance", &second);
    ASSERT_TRUE(first && second && other);
    EXPECT_STREQ(first->class_name, "Clearance");
    EXPECT_STREQ(first->parameters, "5.0");
    ASSERT_NE(first->object, second->object);

    tag_t found = 99;
    VD_find_validation_app_tag("GAP", "VD", &found);
    EXPECT_EQ(found, first->object);
    VD_find_validation_app_tag("FLUSH", "VD", &found);
    EXPECT_EQ(found, other->object);
    VD_find_validation_app_tag("GAP", "OTHER_APP", &found);
    EXPECT_EQ(found, 0u);
    VD_find_validation_app_tag("NONE", "VD", &found);
    EXPECT_EQ(found, 0u);

    VALIDATION_checker_object_t* detail = nullptr;
    VD_find_validation_app_object("GAP", "VD", &detail);
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->object, first->object);
    EXPECT_STREQ(detail->parameters, "5.0");
    VALIDATION_APPLICATION_free_app_memory(detail);
    VD_find_validation_app_object("NONE", "VD", &detail);
    EXPECT_EQ(detail, nullptr);

    VALIDATION_checker_object_t* none = first;
    VD_create_validation_app_object("VD", "GAP", "", "", &none);
    EXPECT_EQ(none, nullptr) << "no class, no checker";
    ExpectNoLeaks();
}

}  // namespace

// The 2006 release's forms of current functions: the envelope wizard's
// reference orientation and child-part enquiry, the undo-mark failure of the
// tire-envelope tool's Y-axis check, and the data-management message of the
// scenario existence test.
#include "release2006/vd_eve.h"
#include "tests/envelope/eve_fixtures.h"
#include "host_fixture.h"
#include "test_helpers.h"

#include "hm_vd_motion.h"
#include "lurvane.h"
#include "omvra.h"
#include "quillon.h"
#include "vd_evt.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

class Forms2006Test : public HostTest {};

TEST_F(Forms2006Test, ReferenceOrientationFromOlderCPoints) {
    PNT3_s axes[3] = {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}};
    double m[9];
    ASSERT_EQ(VD_EVEWIZ_create_reference_csys(axes, m), 0);
    const double rows[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i) EXPECT_EQ(m[i], rows[i]) << i;
    EXPECT_EQ(VD_EVEWIZ_create_reference_csys(static_cast<PNT3_s*>(nullptr), m), -1);
    EXPECT_EQ(VD_EVEWIZ_create_reference_csys(axes, nullptr), -1);
}

class ChildParts2006Test : public eve_test::WizardAssemblyTest {};

TEST_F(ChildParts2006Test, TheSubtreeIsWrittenIntoTheCallersArray) {
    const int allocations = static_cast<int>(host_testing::live_allocations());
    std::vector<tag_t> array(8, 0);
    int count = 0;
    ASSERT_EQ(VD_EVEWIZ_ask_child_part_tags(assembly_->axle_occ, &count, array.data()), 0);
    const std::vector<tag_t> expected{assembly_->axle_occ, assembly_->corner_occ, assembly_->spare_occ,
                                      assembly_->wheel_occ, assembly_->hub_occ};
    ASSERT_EQ(count, 5);
    EXPECT_EQ(std::vector<tag_t>(array.begin(), array.begin() + 5), expected);
    // Appending after what is there: the component itself is not repeated.
    ASSERT_EQ(VD_EVEWIZ_ask_child_part_tags(assembly_->corner_occ, &count, array.data()), 0);
    ASSERT_EQ(count, 7);
    EXPECT_EQ(array[5], assembly_->wheel_occ);
    EXPECT_EQ(array[6], assembly_->hub_occ);
    EXPECT_EQ(array[7], 0u);
    struct Case {
        const char* what;
        tag_t component;
        int* count;
        tag_t* array;
    } cases[] = {{"tag 0", 0, &count, array.data()},
                 {"a body", assembly_->top_body, &count, array.data()},
                 {"null count", assembly_->axle_occ, nullptr, array.data()},
                 {"null array", assembly_->axle_occ, &count, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(VD_EVEWIZ_ask_child_part_tags(c.component, c.count, c.array), -1);
        EXPECT_EQ(count, 7);
        EXPECT_EQ(array[7], 0u);
    }
    EXPECT_EQ(static_cast<int>(host_testing::live_allocations()), allocations);
}

TEST_F(Forms2006Test, AnUndoMarkNotSetIsAnInternalErrorWithItsCode) {
    const tag_t curve = host_testing::make_line({-5, 1, 0}, {5, 1, 0});
    host_testing::fail_next_undo_mark();
    int count = 7;
    double** points = reinterpret_cast<double**>(&count);
    EXPECT_EQ(VD_EVT_check_curve_intersect_Y_axis(curve, &count, &points), HM_ERR_INTERNAL);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(points, nullptr);
    ASSERT_EQ(host_testing::internal_errors().size(), 1u);
    EXPECT_EQ(host_testing::internal_errors()[0],
              "Failed to set UNDO mark - code " + std::to_string(HM_ERR_UNDO_MARK));
    EXPECT_EQ(host_testing::undo_mark_count(), 0);
    // With its mark the check runs as in the current release: one crossing.
    ASSERT_EQ(VD_EVT_check_curve_intersect_Y_axis(curve, &count, &points), 0);
    ASSERT_EQ(count, 1);
    SM_free(points[0]);
    SM_free(points);
}

TEST_F(Forms2006Test, AnUndecodableScenarioNameNamesTheDataManagementSystem) {
    namespace fs = std::filesystem;
    support::ScratchDirectory files{"carvell_scenarios_2006"};
    const fs::path cars = files.directory() / "cars";
    fs::create_directories(cars / "axle");
    const tag_t master = host_testing::make_part((cars / "axle.prt").c_str());
    ASSERT_EQ(HM_PART_save(master), 0);
    host_testing::set_kwmanager_active(true);
    std::ofstream(cars / "axle" / "stray.prt") << "x\n";
    bool found = true;
    EXPECT_EQ(HM_VD_MOTION_is_scenario_exist("sim9", &found), HM_ERR_INTERNAL);
    EXPECT_FALSE(found);
    ASSERT_EQ(host_testing::internal_errors().size(), 1u);
    EXPECT_EQ(host_testing::internal_errors()[0], "Failed to decode a Vorsa part name.");
    EXPECT_EQ(host_testing::session_depth(), 0);
}

}  // namespace

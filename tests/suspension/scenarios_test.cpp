// Simulation scenarios of the work part, on part files in a scratch folder:
// the existence test in any case and under the data-management system,
// creation with and without saving, failures rolled back, the removal of
// every scenario and of the scenario folder alone.
#include "host_fixture.h"
#include "test_helpers.h"

#include "farquil.h"
#include "hm_vd_motion.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "vornesk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The work part is a master saved as <scratch>/cars/axle.prt; its scenario
// folder is <scratch>/cars/axle.
class ScenarioTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        fs::create_directories(cars());
        master_ = host_testing::make_part((cars() / "axle.prt").c_str());
        host_testing::make_point({10, 20, 30});
        ASSERT_EQ(HM_PART_save(master_), 0);
        host_testing::clear_sinks();
    }
    fs::path cars() const { return files_.directory() / "cars"; }
    fs::path folder() const { return cars() / "axle"; }
    // Whether a part of the scenario's file (outside data management) is loaded.
    bool loaded(const char* name) const {
        return HM_PART_ask_part_tag((folder() / (std::string(name) + ".prt")).c_str()) != 0;
    }
    bool exists(const char* name) {
        bool found = false;
        EXPECT_EQ(HM_VD_MOTION_is_scenario_exist(name, &found), 0);
        return found;
    }
    tag_t create(const char* name) {
        std::string text = name;
        tag_t scenario = 0;
        EXPECT_EQ(HM_VD_MOTION_create_scenario(text.data(), &scenario), 0) << name;
        return scenario;
    }
    support::ScratchDirectory files_{"carvell_scenarios"};
    tag_t master_ = 0;
};

TEST_F(ScenarioTest, CreationSavesTheScenarioAndMakesItTheWorkPart) {
    const tag_t scenario = create("Sim1");
    ASSERT_NE(scenario, 0u);
    EXPECT_NE(scenario, master_);
    EXPECT_EQ(HM_PART_ask_part_tag((folder() / "Sim1.prt").c_str()), scenario);
    EXPECT_TRUE(SFMOD_is_scenario_part(scenario));
    EXPECT_EQ(HM_ASSEM_ask_work_part(), scenario);
    EXPECT_TRUE(fs::is_regular_file(folder() / "Sim1.prt"));
    EXPECT_EQ(host_testing::undo_mark_count(), 0);
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(ScenarioTest, TheExistenceTestIgnoresCase) {
    create("Sim1");
    ASSERT_EQ(HM_ASSEM_set_work_part(master_), 0);
    struct Case {
        const char* name;
        bool found;
    };
    const Case cases[] = {{"Sim1", true}, {"sim1", true}, {"SIM1", true}, {"Sim", false},
                          {"Sim1.prt", false}, {"Sim12", false}, {"", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(exists(c.name), c.found);
    }
}

TEST_F(ScenarioTest, AnExistingNameInAnyCaseMakesNothing) {
    const tag_t first = create("Sim1");
    ASSERT_EQ(HM_ASSEM_set_work_part(master_), 0);
    for (const char* name : {"Sim1", "SIM1"}) {
        SCOPED_TRACE(name);
        std::string text = name;
        for (auto create_scenario : {HM_VD_MOTION_create_scenario, HM_VD_MOTION_create_scenario_nosave}) {
            tag_t scenario = 77;
            EXPECT_EQ(create_scenario(text.data(), &scenario), 1);
            EXPECT_EQ(scenario, 77u);
        }
    }
    EXPECT_FALSE(loaded("SIM1"));
    EXPECT_EQ(HM_ASSEM_ask_work_part(), master_);
    EXPECT_NE(first, 0u);
}

TEST_F(ScenarioTest, CreationWithoutSaveWritesNoFile) {
    std::string name = "Sim1";
    tag_t scenario = 0;
    ASSERT_EQ(HM_VD_MOTION_create_scenario_nosave(name.data(), &scenario), 0);
    EXPECT_TRUE(SFMOD_is_scenario_part(scenario));
    EXPECT_EQ(HM_ASSEM_ask_work_part(), scenario);
    EXPECT_FALSE(fs::exists(folder()));
    EXPECT_EQ(host_testing::undo_mark_count(), 0);
}

// A failure of any step of the scenario module is rolled back: no part, no
// record, no file or folder, the same work part, no mark left, and the
// failure's code answered with the out argument untouched.
TEST_F(ScenarioTest, AFailureOfTheScenarioModuleIsRolledBack) {
    const char* steps[] = {"SFMOD_enter_scenario", "SFMOD_create_scen_from_root", "SFMOD_add_scenario",
                           "SFMOD__save_scenario"};
    for (const char* step : steps) {
        SCOPED_TRACE(step);
        host_testing::fail_scenario_call(step, 4242);
        std::string name = "Sim1";
        tag_t scenario = 77;
        EXPECT_EQ(HM_VD_MOTION_create_scenario(name.data(), &scenario), 4242);
        EXPECT_EQ(scenario, 77u);
        EXPECT_FALSE(loaded("Sim1"));
        EXPECT_EQ(HM_ASSEM_ask_work_part(), master_);
        EXPECT_FALSE(fs::exists(folder()));
        EXPECT_EQ(host_testing::undo_mark_count(), 0);
        EXPECT_FALSE(exists("Sim1"));
    }
    // Nothing stayed armed: the name is free and creation now succeeds.
    EXPECT_NE(create("Sim1"), 0u);
}

TEST_F(ScenarioTest, AFailedSaveOfTheScenarioAtTheEndIsAnswered) {
    // A scenario made without saving has no folder yet; when it is the root
    // part, creation makes nothing, answers the root and saving it fails.
    std::string first = "Sim1";
    tag_t made = 0;
    ASSERT_EQ(HM_VD_MOTION_create_scenario_nosave(first.data(), &made), 0);
    ASSERT_EQ(HM_PART_set_display_part(made), 0);
    std::string second = "Sim2";
    tag_t scenario = 0;
    EXPECT_EQ(HM_VD_MOTION_create_scenario(second.data(), &scenario), HM_ERR_FILE);
    EXPECT_EQ(scenario, made);
    EXPECT_FALSE(loaded("Sim2"));
    // Without saving, the same request succeeds with the root as the answer.
    scenario = 0;
    EXPECT_EQ(HM_VD_MOTION_create_scenario_nosave(second.data(), &scenario), 0);
    EXPECT_EQ(scenario, made);
    EXPECT_EQ(HM_ASSEM_ask_work_part(), made);
}

TEST_F(ScenarioTest, BadInputIsAClearCodeWithNothingMade) {
    std::string name = "Sim1";
    tag_t scenario = 0;
    bool found = true;
    EXPECT_EQ(HM_VD_MOTION_create_scenario(nullptr, &scenario), -1);
    EXPECT_EQ(HM_VD_MOTION_create_scenario(name.data(), nullptr), -1);
    EXPECT_EQ(HM_VD_MOTION_create_scenario_nosave(nullptr, &scenario), -1);
    EXPECT_EQ(HM_VD_MOTION_is_scenario_exist(nullptr, &found), -1);
    EXPECT_EQ(HM_VD_MOTION_is_scenario_exist("Sim1", nullptr), -1);
    host_testing::clear_work_part();
    EXPECT_EQ(HM_VD_MOTION_is_scenario_exist("Sim1", &found), HM_ERR_NO_PART);
    EXPECT_FALSE(found);
    EXPECT_EQ(HM_VD_MOTION_create_scenario(name.data(), &scenario), HM_ERR_NO_PART);
    EXPECT_EQ(HM_VD_MOTION_remove_all_scenarios(), HM_ERR_NO_PART);
    EXPECT_FALSE(fs::exists(folder()));
    EXPECT_EQ(host_testing::session_depth(), 0);
}

TEST_F(ScenarioTest, UnderDataManagementNamesAreDecodedAndAStrayFileIsAnError) {
    host_testing::set_kwmanager_active(true);
    create("Sim1");
    ASSERT_EQ(HM_ASSEM_set_work_part(master_), 0);
    EXPECT_TRUE(exists("sim1"));
    EXPECT_FALSE(exists("axle"));
    std::ofstream(folder() / "stray.prt") << "x\n";
    bool found = true;
    EXPECT_EQ(HM_VD_MOTION_is_scenario_exist("sim9", &found), HM_ERR_INTERNAL);
    EXPECT_FALSE(found);
    std::string name = "Sim2";
    tag_t scenario = 77;
    EXPECT_EQ(HM_VD_MOTION_create_scenario(name.data(), &scenario), HM_ERR_INTERNAL);
    EXPECT_EQ(scenario, 77u);
    EXPECT_EQ(host_testing::session_depth(), 0);
    // Outside the data-management system the same files are plain names.
    host_testing::set_kwmanager_active(false);
    EXPECT_TRUE(exists("stray"));
}

TEST_F(ScenarioTest, RemovingAllClosesAndDeletesEveryScenarioAndTheFolder) {
    create("Sim1");
    ASSERT_EQ(HM_ASSEM_set_work_part(master_), 0);
    create("Sim2");
    ASSERT_EQ(HM_ASSEM_set_work_part(master_), 0);
    std::ofstream(cars() / "axle_notes.txt") << "kept\n";
    ASSERT_EQ(HM_VD_MOTION_remove_all_scenarios(), 0);
    EXPECT_FALSE(fs::exists(folder()));
    EXPECT_EQ(HM_PART_ask_part_tag((folder() / "Sim1.prt").c_str()), 0u);
    EXPECT_EQ(HM_PART_ask_part_tag((folder() / "Sim2.prt").c_str()), 0u);
    EXPECT_TRUE(fs::exists(cars() / "axle.prt"));
    EXPECT_TRUE(fs::exists(cars() / "axle_notes.txt"));
    EXPECT_FALSE(exists("Sim1"));
    // With nothing left, removing again answers the listing's 0.
    EXPECT_EQ(HM_VD_MOTION_remove_all_scenarios(), 0);
}

TEST_F(ScenarioTest, AMissingScenarioFileStopsTheRemovalWithOne) {
    fs::create_directories(folder());
    for (const char* name : {"a.prt", "c.prt"}) std::ofstream(folder() / name) << "x\n";
    fs::create_symlink(folder() / "gone.prt", folder() / "b.prt");
    EXPECT_EQ(HM_VD_MOTION_remove_all_scenarios(), 1);
    EXPECT_FALSE(fs::exists(folder() / "a.prt"));
    EXPECT_TRUE(fs::exists(folder() / "c.prt"));
    EXPECT_TRUE(fs::is_directory(folder()));
}

TEST_F(ScenarioTest, RemovingTheFolderDeletesThatFolderOnlyAndLogsIt) {
    create("Sim1");
    ASSERT_EQ(HM_ASSEM_set_work_part(master_), 0);
    std::ofstream(cars() / "axle_notes.txt") << "kept\n";
    host_testing::clear_sinks();
    ASSERT_EQ(HM_VD_MOTION_remove_scenario_folder(master_), 0);
    EXPECT_FALSE(fs::exists(folder()));
    EXPECT_TRUE(fs::exists(cars() / "axle.prt"));
    EXPECT_TRUE(fs::exists(cars() / "axle_notes.txt"));
    const std::string expected = "\n+++Remove scenario path: " + folder().string() + " Return = 0\n";
    ASSERT_EQ(host_testing::error_lines().size(), 1u);
    EXPECT_EQ(host_testing::error_lines()[0], expected);
}

TEST_F(ScenarioTest, RemovingTheFolderWithoutPartOrFolderWritesNothing) {
    host_testing::clear_sinks();
    EXPECT_EQ(HM_VD_MOTION_remove_scenario_folder(0), -1);
    EXPECT_EQ(HM_VD_MOTION_remove_scenario_folder(master_), -1);
    EXPECT_TRUE(host_testing::error_lines().empty());
    EXPECT_TRUE(fs::exists(cars() / "axle.prt"));
}

}  // namespace

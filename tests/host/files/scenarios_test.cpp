// Simulation scenarios of the stand-in host: the file paths of the host's
// file types, data-management part names, the scenario module's parts and
// files, their listing, and failures of the module rolled back by an undo.
#include "farquil.h"
#include "host_fixture.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"
#include "sarnweld.h"
#include "test_helpers.h"
#include "ulvarth.h"
#include "vornesk.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

void touch(const fs::path& path) { std::ofstream(path) << "x\n"; }

TEST(FileSpecs, LeafNamesLoseOnlyTheirTypesExtension) {
    struct Case {
        const char* path;
        int type;
        const char* leaf;
    };
    const Case cases[] = {
        {"/data/axle/sim1.prt", HC_FILE_PART, "sim1"},
        {"sim1.prt", HC_FILE_PART, "sim1"},
        {"/data/axle/sim1.sim", HC_FILE_PART, "sim1.sim"},
        {"/data/axle/sim1.sim", HC_FILE_SCENARIO_DATA, "sim1"},
        {"/data/axle/sim1.prt", HC_FILE_FOLDER, "sim1.prt"},
        {"/data/axle.prt.prt", HC_FILE_PART, "axle.prt"},
        {"/data/", HC_FILE_FOLDER, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " type " + std::to_string(c.type));
        char leaf[HM_MAX_FSPEC_BUFSIZE] = "?";
        ASSERT_EQ(hc4574(c.path, c.type, leaf), 0);
        EXPECT_STREQ(leaf, c.leaf);
    }
    char leaf[HM_MAX_FSPEC_BUFSIZE];
    EXPECT_EQ(hc4574("a.prt", 3, leaf), HM_ERR_BAD_ARGUMENT);
}

TEST(FileSpecs, SplitAndJoinAreInverseForFoldersAndParts) {
    struct Case {
        const char* path;
        const char* folder;
        const char* leaf;
    };
    const Case cases[] = {
        {"/data/cars/axle.prt", "/data/cars", "axle.prt"},
        {"axle.prt", ".", "axle.prt"},
        {"/axle.prt", "/", "axle.prt"},
        {"/data/cars/axle/", "/data/cars", "axle"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        char folder[HM_MAX_FSPEC_BUFSIZE], leaf[HM_MAX_FSPEC_BUFSIZE];
        ASSERT_EQ(hc4576(c.path, HC_FILE_PART, folder, leaf), 0);
        EXPECT_STREQ(folder, c.folder);
        EXPECT_STREQ(leaf, c.leaf);
        char* directory = nullptr;
        char* name = nullptr;
        ASSERT_EQ(CFI_split_filespec(c.path, 0, &directory, &name), 0);
        EXPECT_STREQ(directory, c.folder);
        EXPECT_STREQ(name, c.leaf);
        SM_free(directory);
        SM_free(name);
    }
    char path[HM_MAX_FSPEC_BUFSIZE];
    ASSERT_EQ(hc4575("/data/cars", "axle", HC_FILE_FOLDER, path), 0);
    EXPECT_STREQ(path, "/data/cars/axle");
    ASSERT_EQ(hc4575("/data/cars/", "axle", HC_FILE_PART, path), 0);
    EXPECT_STREQ(path, "/data/cars/axle.prt");
    ASSERT_EQ(hc4575("/data/cars", "axle.prt", HC_FILE_PART, path), 0);
    EXPECT_STREQ(path, "/data/cars/axle.prt");
}

TEST(FileSpecs, ASpecTooLongForTheBufferIsRefusedEmpty) {
    const std::string folder(HM_MAX_FSPEC_BUFSIZE, 'f');
    char path[HM_MAX_FSPEC_BUFSIZE] = "?";
    EXPECT_EQ(hc4575(folder.c_str(), "axle", HC_FILE_PART, path), HM_ERR_BAD_ARGUMENT);
    EXPECT_STREQ(path, "");
    char* directory = &path[0];
    char* leaf = &path[0];
    EXPECT_EQ(CFI_split_filespec("/a/b", 1, &directory, &leaf), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(directory, nullptr);
    EXPECT_EQ(leaf, nullptr);
}

class FileDeletionTest : public HostTest {
protected:
    support::ScratchDirectory files_{"carvell_file_deletion"};
};

TEST_F(FileDeletionTest, AFolderGoesWithItsContentsAndNothingBesideIt) {
    const fs::path folder = files_.directory() / "axle";
    fs::create_directories(folder / "inner");
    touch(folder / "sim1.prt");
    touch(folder / "inner" / "data.sim");
    touch(files_.directory() / "axle.prt");
    EXPECT_EQ(hc4561(folder.c_str(), HC_FILE_PART), HM_ERR_WRONG_TYPE);
    EXPECT_EQ(hc4561((folder / "sim1.prt").c_str(), HC_FILE_FOLDER), HM_ERR_WRONG_TYPE);
    ASSERT_EQ(CFI_delete_file(folder.c_str(), CFI_FILE_TYPE_FOLDER), 0);
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(fs::exists(files_.directory() / "axle.prt"));
    EXPECT_EQ(hc4561(folder.c_str(), HC_FILE_FOLDER), HM_ERR_NOT_FOUND);
    ASSERT_EQ(hc4561(files_.path("axle.prt").c_str(), HC_FILE_PART), 0);
    EXPECT_TRUE(fs::is_empty(files_.directory()));
    EXPECT_EQ(hc4561((files_.directory() / "..").c_str(), HC_FILE_FOLDER), HM_ERR_BAD_ARGUMENT);
}

TEST_F(FileDeletionTest, ExistenceIsAskedWithoutFailingForAMissingFile) {
    touch(files_.directory() / "a.prt");
    int status = -1;
    ASSERT_EQ(HM_CFI_ask_file_exist(files_.path("a.prt").c_str(), &status), 0);
    EXPECT_EQ(status, 0);
    ASSERT_EQ(HM_CFI_ask_file_exist(files_.path("b.prt").c_str(), &status), 0);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(HM_CFI_ask_file_exist(nullptr, &status), HM_ERR_NULL_POINTER);
}

TEST(DataManagementNames, DecodeIntoFourFieldsOrNothing) {
    char number[KWMGR_FIELD_BUFSIZE] = "?", revision[KWMGR_FIELD_BUFSIZE] = "?", type[KWMGR_FIELD_BUFSIZE] = "?",
         name[KWMGR_FIELD_BUFSIZE] = "?";
    ASSERT_EQ(KWMGR_decode_part_filename("/vault/axle/@DB|4711|B|scenario|Sim1.prt", number, revision, type, name),
              0);
    EXPECT_STREQ(number, "4711");
    EXPECT_STREQ(revision, "B");
    EXPECT_STREQ(type, "scenario");
    EXPECT_STREQ(name, "Sim1.prt");
    const std::string too_long = "@DB|" + std::string(KWMGR_FIELD_BUFSIZE, 'n') + "|A|scenario|s.prt";
    const char* undecodable[] = {"/vault/axle/Sim1.prt", "@DB|4711|B|Sim1.prt", "@DB|4711||scenario|Sim1.prt",
                                 "@DB|4711|B|scenario|Sim1.prt|x", too_long.c_str(), "@DB/4711/B/scenario/s.prt"};
    for (const char* file : undecodable) {
        SCOPED_TRACE(file);
        char field[KWMGR_FIELD_BUFSIZE] = "kept";
        EXPECT_EQ(KWMGR_decode_part_filename(file, field, revision, type, name), HM_ERR_BAD_ARGUMENT);
        EXPECT_STREQ(field, "kept");
    }
}

// A master part saved as <scratch>/axle.prt, the work and root part.
class ScenarioModuleTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        master_file_ = files_.path("axle.prt");
        master_ = host_testing::make_part(master_file_.c_str());
        host_testing::make_point({1, 2, 3});
        ASSERT_EQ(HM_PART_save(master_), 0);
    }
    fs::path folder() const { return files_.directory() / "axle"; }
    // Derives, records and saves a scenario as a creation does.
    tag_t derive(const char* name) {
        SFMOD_session_t* session = SFMOD_enter_scenario();
        const tag_t made = SFMOD_create_scen_from_root(name);
        session->scenario = made;
        SFMOD_add_scenario(name, true);
        SFMOD__save_scenario(made);
        return made;
    }
    support::ScratchDirectory files_{"carvell_scenario_module"};
    std::string master_file_;
    tag_t master_ = 0;
};

TEST_F(ScenarioModuleTest, AScenarioIsAPartFileInTheFolderBesideItsMaster) {
    char* none = SFMOD__ask_scen_dir_fm_master(master_);
    EXPECT_EQ(none, nullptr);
    const tag_t scenario = derive("Sim1");
    EXPECT_TRUE(SFMOD_is_scenario_part(scenario));
    EXPECT_FALSE(SFMOD_is_scenario_part(master_));
    EXPECT_EQ(HM_ASSEM_ask_work_part(), master_);
    EXPECT_TRUE(fs::is_regular_file(folder() / "Sim1.prt"));
    char file[HM_MAX_FSPEC_BUFSIZE];
    ASSERT_EQ(HM_PART_ask_part_name(scenario, file, sizeof file), 0);
    EXPECT_EQ(fs::path(file), folder() / "Sim1.prt");
    char* directory = SFMOD__ask_scen_dir_fm_master(master_);
    ASSERT_NE(directory, nullptr);
    EXPECT_EQ(fs::path(directory), folder());
    SM_free(directory);
}

TEST_F(ScenarioModuleTest, TheListingIsSortedFromMasterOrScenarioWorkPart) {
    const tag_t second = derive("b_run");
    derive("a_run");
    fs::create_directory(folder() / "nested.prt");
    touch(folder() / "notes.txt");
    for (tag_t work : {master_, second}) {
        SCOPED_TRACE(work);
        ASSERT_EQ(HM_ASSEM_set_work_part(work), 0);
        int count = -1;
        char** files = nullptr;
        ASSERT_EQ(HM_SF_locate_scenarios(&count, &files), 0);
        ASSERT_EQ(count, 2);
        EXPECT_EQ(fs::path(files[0]), folder() / "a_run.prt");
        EXPECT_EQ(fs::path(files[1]), folder() / "b_run.prt");
        HM_free_string_array(count, files);
    }
}

TEST_F(ScenarioModuleTest, NoFolderListsNothingAndNoWorkPartIsAnError) {
    int count = -1;
    char** files = reinterpret_cast<char**>(&count);
    ASSERT_EQ(HM_SF_locate_scenarios(&count, &files), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(files, nullptr);
    host_testing::clear_work_part();
    EXPECT_EQ(HM_SF_locate_scenarios(&count, &files), HM_ERR_NO_PART);
}

TEST_F(ScenarioModuleTest, UnderDataManagementTheFileCarriesTheSystemsForm) {
    host_testing::set_kwmanager_active(true);
    EXPECT_TRUE(RTENV_ask_kwmanager_active());
    derive("Sim1");
    EXPECT_TRUE(fs::is_regular_file(folder() / "@DB|axle|A|scenario|Sim1.prt"));
}

TEST_F(ScenarioModuleTest, UndoToAMarkTakesTheScenarioPartAndItsRecordBack) {
    const UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_visible, nullptr);
    SFMOD_session_t* session = SFMOD_enter_scenario();
    const tag_t made = SFMOD_create_scen_from_root("Sim1");
    session->scenario = made;
    SFMOD_add_scenario("Sim1", true);
    ASSERT_TRUE(SFMOD_is_scenario_part(made));
    ASSERT_EQ(UNDO_KW_undo_to_mark(mark), 0);
    EXPECT_FALSE(SFMOD_is_scenario_part(made));
    EXPECT_EQ(HM_OBJ_ask_status(made), 0);
    EXPECT_EQ(UNDO_KW_delete_mark(mark), 0);
}

TEST_F(ScenarioModuleTest, BadNamesAndArmedFailuresRaiseOnce) {
    SFMOD_session_t* session = SFMOD_enter_scenario();
    EXPECT_EQ(session->master, master_);
    for (const char* name : {"", "a/b"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(SFMOD_create_scen_from_root(name), Korvath::Error::Exception);
    }
    EXPECT_THROW(SFMOD_add_scenario("Sim1", true), Korvath::Error::Exception);   // no scenario part yet
    EXPECT_THROW(SFMOD__save_scenario(master_), Korvath::Error::Exception);      // not a scenario
    host_testing::fail_scenario_call("SFMOD_create_scen_from_root", 4242);
    try {
        SFMOD_create_scen_from_root("Sim1");
        ADD_FAILURE() << "no exception";
    } catch (const Korvath::Error::Exception& e) {
        EXPECT_EQ(e.askCode(), 4242);
    }
    EXPECT_NE(SFMOD_create_scen_from_root("Sim1"), 0u);
    EXPECT_THROW(SFMOD_create_scen_from_root("Sim1"), Korvath::Error::Exception);   // its file is loaded
}

TEST_F(ScenarioModuleTest, AFailedSaveLeavesNoFolderBehind) {
    SFMOD_session_t* session = SFMOD_enter_scenario();
    const tag_t made = SFMOD_create_scen_from_root("Sim1");
    session->scenario = made;
    SFMOD_add_scenario("Sim1", true);
    host_testing::fail_kernel_call_after(0);
    EXPECT_THROW(SFMOD__save_scenario(made), Korvath::Error::Exception);
    host_testing::clear_kernel_fault();
    EXPECT_FALSE(fs::exists(folder()));
}

TEST(RootPart, IsTheDisplayedPart) {
    EXPECT_EQ(CONTEXT_ask_root_part(), 0u);
    const tag_t root = host_testing::make_part("root");
    host_testing::make_part("other");
    ASSERT_EQ(HM_PART_set_display_part(root), 0);
    EXPECT_EQ(CONTEXT_ask_root_part(), root);
}

TEST(InternalError, RaisesWithTheCallersSourceAndLine) {
    try {
        ERROR_internal("motion_util", 1369, "cannot decode");
        ADD_FAILURE() << "no exception";
    } catch (const Korvath::Error::Exception& e) {
        EXPECT_EQ(e.askCode(), HM_ERR_INTERNAL);
        EXPECT_STREQ(e.askFile(), "motion_util");
        EXPECT_EQ(e.askLine(), 1369);
        EXPECT_STREQ(e.askMessage(), "cannot decode");
    }
}

}  // namespace

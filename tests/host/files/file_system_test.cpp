// The file system and the environment of the stand-in host: environment
// variables (the host's settings before the process environment), files and
// directories, and the checks of file names.
#include "host_fixture.h"
#include "omvra.h"
#include "quillon.h"
#include "test_helpers.h"

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// What an output text pointer holds before a call that must clear it.
char kUnwritten = 'x';

class FileSystemTest : public HostTest {
protected:
    void TearDown() override {
        ::unsetenv("CARVELL_PROCESS_ONLY");
        ::unsetenv("CARVELL_BOTH");
        HostTest::TearDown();
    }
    support::ScratchDirectory files_{"carvell_file_system"};
};

TEST_F(FileSystemTest, VariablesOfAFileNameExpandFromTheHostSettingsFirst) {
    host_testing::set_env("CARVELL_SEATS", "/data/seats");
    host_testing::set_env("CARVELL_BOTH", "host");
    ASSERT_EQ(::setenv("CARVELL_BOTH", "process", 1), 0);
    ASSERT_EQ(::setenv("CARVELL_PROCESS_ONLY", "/process", 1), 0);
    struct Case {
        const char* name;
        const char* expanded;
    };
    const Case cases[] = {
        {"$CARVELL_SEATS/driver.csv", "/data/seats/driver.csv"},
        {"${CARVELL_SEATS}_old.csv", "/data/seats_old.csv"},
        {"$CARVELL_SEATS.csv", "/data/seats.csv"},   // a name stops at the first other character
        {"$CARVELL_BOTH/f", "host/f"},
        {"$CARVELL_PROCESS_ONLY/f", "/process/f"},
        {"plain/name.txt", "plain/name.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char* expanded = nullptr;
        ASSERT_EQ(CFI_expand_filename(c.name, CFI_KIND_FILE, &expanded), 0);
        EXPECT_STREQ(expanded, c.expanded);
        SM_free(expanded);
    }
    char* env = OS_ask_env("CARVELL_BOTH");
    EXPECT_STREQ(env, "host");
    SM_free(env);
    EXPECT_EQ(OS_ask_env("CARVELL_UNSET_VARIABLE"), nullptr);
    ExpectNoLeaks();
}

TEST_F(FileSystemTest, NamesThatDoNotExpandGiveTheirCodeAndNoText) {
    struct Case {
        const char* name;
        int code;
    };
    const Case cases[] = {
        {"", HM_ERR_BAD_ARGUMENT},
        {"${CARVELL_SEATS", HM_ERR_BAD_ARGUMENT},   // unclosed brace
        {"$CARVELL_UNSET_VARIABLE/x", HM_ERR_NOT_FOUND},
        {"${}/x", HM_ERR_NOT_FOUND},
        {"$/x", HM_ERR_NOT_FOUND},
        {nullptr, HM_ERR_NULL_POINTER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "(null)");
        char* expanded = &kUnwritten;
        EXPECT_EQ(CFI_expand_filename(c.name, CFI_KIND_FILE, &expanded), c.code);
        EXPECT_EQ(expanded, nullptr);
    }
    EXPECT_EQ(CFI_expand_filename("name", CFI_KIND_FILE, nullptr), HM_ERR_NULL_POINTER);
    ExpectNoLeaks();
}

TEST_F(FileSystemTest, FilesAndDirectoriesAreToldApart) {
    const std::string file = files_.path("seat.csv");
    const std::string directory = files_.directory().string();
    const std::string missing = files_.path("missing.csv");
    std::ofstream(file) << "x\n";

    EXPECT_TRUE(OS_file_exists(file.c_str()));
    EXPECT_FALSE(OS_file_exists(directory.c_str()));
    EXPECT_FALSE(OS_file_exists(missing.c_str()));
    EXPECT_FALSE(OS_file_exists(nullptr));
    EXPECT_TRUE(OS_dir_exists(directory.c_str()));
    EXPECT_FALSE(OS_dir_exists(file.c_str()));
    EXPECT_TRUE(OS_dir_writable(directory.c_str()));
    EXPECT_FALSE(OS_dir_writable(missing.c_str()));

    EXPECT_EQ(CFI_ask_file_exist(file.c_str()), 0);
    EXPECT_EQ(CFI_ask_file_exist(directory.c_str()), 0);
    EXPECT_EQ(CFI_ask_file_exist(missing.c_str()), 1);
    EXPECT_EQ(CFI_ask_file_exist(nullptr), HM_ERR_NULL_POINTER);

    int type = 0;
    ASSERT_EQ(CFI_get_file_type(file.c_str(), &type), 0);
    EXPECT_EQ(type, CFI_KIND_FILE);
    ASSERT_EQ(CFI_get_file_type(directory.c_str(), &type), 0);
    EXPECT_EQ(type, CFI_KIND_DIRECTORY);
    type = 0;
    EXPECT_EQ(CFI_get_file_type(missing.c_str(), &type), HM_ERR_NOT_FOUND);
    EXPECT_EQ(type, 0);
    EXPECT_EQ(CFI_get_file_type(file.c_str(), nullptr), HM_ERR_NULL_POINTER);

    struct Permission {
        const char* what;
        std::string name;
        int kind, access;
        bool granted;
        int error;
    };
    const Permission permissions[] = {
        {"readable and writable file", file, CFI_KIND_FILE, CFI_ACCESS_READ | CFI_ACCESS_WRITE, true, 0},
        {"writable directory", directory, CFI_KIND_DIRECTORY, CFI_ACCESS_WRITE, true, 0},
        {"directory asked as a file", directory, CFI_KIND_FILE, CFI_ACCESS_READ, false, HM_ERR_WRONG_TYPE},
        {"file asked as a directory", file, CFI_KIND_DIRECTORY, CFI_ACCESS_READ, false, HM_ERR_WRONG_TYPE},
        {"missing file", missing, CFI_KIND_FILE, CFI_ACCESS_READ, false, HM_ERR_NOT_FOUND},
        {"no access asked", file, CFI_KIND_FILE, 0, false, HM_ERR_BAD_ARGUMENT},
    };
    for (const Permission& p : permissions) {
        SCOPED_TRACE(p.what);
        int error = -1;
        EXPECT_EQ(CFI_query_file_permissions(p.name.c_str(), p.kind, p.access, &error), p.granted);
        EXPECT_EQ(error, p.error);
    }
    int error = -1;
    EXPECT_FALSE(CFI_query_file_permissions(nullptr, CFI_KIND_FILE, CFI_ACCESS_READ, &error));
    EXPECT_EQ(error, HM_ERR_NULL_POINTER);
    ExpectNoLeaks();
}

TEST_F(FileSystemTest, DirectoryOfAFileNameAndErrorTexts) {
    struct Case {
        const char* name;
        const char* directory;
    };
    const Case cases[] = {
        {"a/b/seat.csv", "a/b"}, {"seat.csv", "."}, {"/seat.csv", "/"}, {"a/b/", "a"}, {"/", "/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        char* directory = nullptr;
        ASSERT_EQ(CFI_ask_directory(c.name, CFI_KIND_FILE, &directory), 0);
        EXPECT_STREQ(directory, c.directory);
        SM_free(directory);
    }
    char* directory = &kUnwritten;
    EXPECT_EQ(CFI_ask_directory("", CFI_KIND_FILE, &directory), HM_ERR_BAD_ARGUMENT);
    EXPECT_EQ(directory, nullptr);
    EXPECT_EQ(CFI_ask_directory(nullptr, CFI_KIND_FILE, &directory), HM_ERR_NULL_POINTER);
    EXPECT_EQ(CFI_ask_directory("a/b", CFI_KIND_FILE, nullptr), HM_ERR_NULL_POINTER);

    struct Text {
        int code;
        const char* text;
    };
    const Text texts[] = {
        {HM_ERR_NOT_FOUND, "File, directory or environment variable not found."},
        {HM_ERR_BAD_ARGUMENT, "Invalid file name."},
        {HM_ERR_WRONG_TYPE, "Not a directory."},
        {HM_ERR_FILE, "File system error."},
        {HM_ERR_INVALID_TAG, "Invalid object identifier"},   // any other code: the host's failure message
    };
    for (const Text& t : texts) {
        SCOPED_TRACE(t.code);
        char* text = CFI_get_error_text(t.code);
        EXPECT_STREQ(text, t.text);
        SM_free(text);
    }
    ExpectNoLeaks();
}

}  // namespace

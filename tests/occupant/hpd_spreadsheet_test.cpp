// The H-point design spreadsheet written from a known record, line by line,
// and the file-name checks of the spreadsheet dialog.
#include "host_fixture.h"
#include "hpd.h"
#include "omvra.h"
#include "quillon.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

// A scratch directory of the test, removed with what it holds.
class ScratchDir {
public:
    ScratchDir() {
        char templ[] = "/tmp/hpd_sheet_XXXXXX";
        path_ = ::mkdtemp(templ) ? templ : "";
        ::chmod(path_.c_str(), 0755);
    }
    ~ScratchDir() {
        if (!path_.empty()) std::system(("chmod -R u+rwx '" + path_ + "' && rm -rf '" + path_ + "'").c_str());
    }
    std::string file(const char* name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::vector<std::string> read_lines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

void write_text(const std::string& path, const char* text) {
    std::ofstream out(path);
    out << text;
}

// A design with every member set to a value of its own.
HPD_apf_values_t known_record() {
    HPD_apf_values_t v;
    std::memset(&v, 0, sizeof v);
    v.algorithm_version = 2;
    v.part_unit = 1;   // rewritten from the work part
    v.seating_position = 0;
    v.vehicle_class = 1;
    v.male_female_ratio = 2;
    v.leg_length_type = 2;
    v.upper_leg_length = 456.5;
    v.lower_leg_length = 432.25;
    v.cushion_angle = 14.5;
    v.back_angle = 22.0;
    v.lumbar_support = 10.125;
    v.pv_angle = 3.5;
    v.occ_position_method = 0;
    v.reverse_option = 3;
    v.sgrp[0] = 1000.5;
    v.sgrp[1] = -370.25;
    v.sgrp[2] = 600.125;
    v.prp[0] = 150.5;
    v.prp[1] = -355.25;
    v.prp[2] = 450.0;
    v.right_shoe.pedal_angle = 60.5;
    v.right_shoe.ankle_angle = 95.25;
    v.right_shoe.heel_point[0] = 310.5;
    v.right_shoe.heel_point[1] = -380.75;
    v.right_shoe.heel_point[2] = 280.125;
    v.clear_interference = 1;
    v.use_variable = 1;
    v.variable_type = 4;
    v.adjust_variable = 33.3;
    v.lateral_offset = 25.5;
    v.move_along_sgrp_curve = 1;
    v.seat_height = 320.0;
    v.add_2nd_right_leg = true;
    v.second_right_shoe.heel_point[0] = 300.0;
    v.second_right_shoe.heel_point[1] = -100.0;
    v.second_right_shoe.heel_point[2] = 290.0;
    v.second_right_shoe.pedal_angle = 12.0;
    v.second_right_shoe.ankle_angle = 130.0;
    v.position_left_shoe = true;
    v.copy_right_shoe_orientation = 0;
    v.left_shoe.heel_point[0] = 320.5;
    v.left_shoe.heel_point[1] = -150.5;
    v.left_shoe.heel_point[2] = 285.0;
    v.left_shoe.pedal_angle = 15.25;
    v.left_shoe.ankle_angle = 100.75;
    return v;
}

const std::string kDeviate =
    "\"Only effective whenPEDAL_LEG_METHOD=1and LOCK_ON_SgRP_CURVE=0and USE_DIVATE_VARIABLE=10- A46 or A47 or "
    "H301- L532- A423- A574- A44\"";
const std::string kLeft = "\"Only effective when LEFT_LEG = 1\"";

// The known record as a driver placed by pedal (method 0), with a left leg
// and a second right leg that a driver does not write.
const std::vector<std::string> kDriverByPedal = {
    "Name,Description,Value,Comments,Type",
    "VERSION,Algorithm Version,2,\"0 -Original, 1- Use hospointer expression, 2-Zv5 project \",Required",
    "UNIT,Part Unit,0,\"0 - metric, 1 - english\",Required",
    "SP,Seating position,0,\"0 - driver, 1 - passenger\",Required",
    "VC,Vehicle class,1,\"0 - class A, 1 - class B\",Required",
    "MFR,Male Female Ratio,2,\"0 - 50:50, 1 - 75:25, 2 - 90:10 or 95:5\",Required",
    "LLT,Leg length type,2,\"0 - SgRP, 1- mid size, 2- Customized\",Required",
    "UPPER_LLT,leg length (upper),456.5000,\"Effect only when LLT = 2\",Optional",
    "LOWER_LLT,leg length (lower),432.2500,\"Effect only when LLT = 2\",Optional",
    "A27,Cushion angle,14.5000,\"The value should be between 0.0 ~ 40.0 degree\",Required",
    "A40,Back angle,22.0000,\"The back angle is required to be 22 degrees for establishing SgRP for driver. Any "
    "other value will lead to the result for study only. For passenger, the value should be between 5 ~ 25 "
    "degree\",Required",
    "L81,Lumbar support prominence,10.1250,\"The value should be between -20.0 ~ 40.0 mm\",Required",
    "PV,Top view angle,3.5000,\"The value should be between -90.0 ~ 90.0 degree\",Required",
    "PEDAL_LEG_MEGHOD,Accelerator pedal leg position method,0,\"For driver only, 0 - by pedal, 1 - by SgRP\","
    "Required",
    "REVERSE_ENG_OPTION,Reverse ,3,\"0 - Lock A46 &H30,1 - Lock A47 &H30, 2 - Lock A46 &A47,3 - Lock H30 only,\","
    "Required",
    "L31,SgRP Length Coordinate,1000.5000,\"\",Required",
    "W20,SgRP Width Coordinate,-370.2500,\"\",Required",
    "H70,SgRP Height Coordinate,600.1250,\"\",Required",
    "A47,Pedal plane angle,60.5000,\"\",Optional",
    "A46,Ankle angle(right),95.2500,\"\",Optional",
    "L8,AHP Length Coordinate,310.5000,\"\",Optional",
    "H8,AHP Height Coordinate,280.1250,\"\",Optional",
    "W1,PRP Width Coordinate,-355.2500,\"\",Optional",
    "L98_R,FRP Length Coordinate(right),310.5000,\"\",Optional",
    "FRP_RY,FRP Width Coordinate(right),-355.2500,\"\",Optional",
    "H98_R,FRP Height Coordinate(right),280.1250,\"\",Optional",
    "A48_R,floor plane angle(right),60.5000,\"\",Optional",
    "Reference Option,Clear Interference in W,1,\"\",Optional",
    "USE_DEVATE_VARIABLE,Use Devate Variable,,\"1-Yes,0-No Only effective whenPEDAL_LEG_METHOD=1\",Optional",
    "REVERSE_ENG_DEVITE_VAR_NAME,Deviate Variable Name,," + kDeviate + ",Optional",
    "REVERSE_ENG_DEVITE_VAR_VALUE,Deviate Variable Value,," + kDeviate + ",Optional",
    "PW14,AHP to PRP lateral offset,25.5000,\"Only effective when SP = 0 and PEDAL_LEG_MEGHOD = 0\",Optional",
    "LOCK_ON_SgRP_CURVE,lock SgRP on SgRP curve,1,\"1-Yes,0-No\",Optional Default is 1",
    "H30,Seat height,320.0000,\"Not Required when REVERSE_ENG_OPTION = 2 & PEDAL_LEG_MEGHOD = 1\",Optional",
    "2ND_RIGHT_LEG,Add second right leg,0,\"0 - no 2nd right leg, 1 - 2nd leg added\",Optional",
    "L98_R_2ND,FRP Length Coordinate(2nd right),,\"\",Optional",
    "FRP_R_2NDY,FRP Width Coordinate(2nd right),,\"\",Optional",
    "H98_R_2ND,FRP Height Coordinate(2nd right),,\"\",Optional",
    "A48_R_2ND,floor plane angle(2nd right),,\"\",Optional",
    "A46_R_2ND,Ankle angle(2nd right),,\"\",Optional",
    "LEFT_LEG,Add left leg,1,\"0 - not added, 1 - added,2-added as copy\",Required",
    "L98_L,FRP Length Coordinate(left),320.5000," + kLeft + ",Optional",
    "FRP_LY,FRP Width Coordinate(left),-150.5000," + kLeft + ",Optional",
    "H98_L,FRP Height Coordinate(left),285.0000," + kLeft + ",Optional",
    "A48_L,Floor plane angle(left),15.2500," + kLeft + ",Optional",
    "A46_L,Ankle angle(Left),100.7500," + kLeft + ",Optional",
};

// Replaces the rows named by the first field.
std::vector<std::string> with_rows(std::vector<std::string> lines, const std::vector<std::string>& rows) {
    for (const std::string& row : rows) {
        const std::string name = row.substr(0, row.find(','));
        bool replaced = false;
        for (std::string& line : lines)
            if (line.compare(0, name.size() + 1, name + ",") == 0) {
                line = row;
                replaced = true;
            }
        EXPECT_TRUE(replaced) << name;
    }
    return lines;
}

void expect_lines(const std::vector<std::string>& actual, const std::vector<std::string>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
}

// The CSV spreadsheet and the file-name checks, in a scratch folder.
class SpreadsheetTest : public HostTest {
protected:
    // A file "sheet.csv" and a folder "sub" in the scratch folder.
    void make_sheet_and_folder();
    ScratchDir dir_;
};
class SpreadsheetInchTest : public InchHostTest {
protected:
    ScratchDir dir_;
};

TEST_F(SpreadsheetTest, DriverByPedalWritesEveryRow) {
    HPD_apf_values_t v = known_record();
    const std::string path = dir_.file("driver.csv");
    ASSERT_EQ(HM_VD_HPD_write_spreadsheet_value(&v, path.c_str()), 0);
    expect_lines(read_lines(path), kDriverByPedal);
    EXPECT_EQ(v.part_unit, 0) << "the record takes the work part's units";
    ExpectNoLeaks();
}

TEST_F(SpreadsheetInchTest, DriverBySgrpWithCopiedLeftLegIsWrittenInInches) {
    HPD_apf_values_t v = known_record();
    v.occ_position_method = 1;
    v.copy_right_shoe_orientation = 1;
    const std::string path = dir_.file("driver_sgrp.csv");
    ASSERT_EQ(HM_VD_HPD_write_spreadsheet_value(&v, path.c_str()), 0);
    const std::vector<std::string> expected = with_rows(
        kDriverByPedal,
        {
            "UNIT,Part Unit,1,\"0 - metric, 1 - english\",Required",
            "PEDAL_LEG_MEGHOD,Accelerator pedal leg position method,1,\"For driver only, 0 - by pedal, 1 - by "
            "SgRP\",Required",
            "USE_DEVATE_VARIABLE,Use Devate Variable,1,\"1-Yes,0-No Only effective whenPEDAL_LEG_METHOD=1\","
            "Optional",
            "REVERSE_ENG_DEVITE_VAR_NAME,Deviate Variable Name,4," + kDeviate + ",Optional",
            "REVERSE_ENG_DEVITE_VAR_VALUE,Deviate Variable Value,33.3000," + kDeviate + ",Optional",
            "PW14,AHP to PRP lateral offset,,\"Only effective when SP = 0 and PEDAL_LEG_MEGHOD = 0\",Optional",
            "LOCK_ON_SgRP_CURVE,lock SgRP on SgRP curve,,\"1-Yes,0-No\",Optional Default is 1",
            "LEFT_LEG,Add left leg,2,\"0 - not added, 1 - added,2-added as copy\",Required",
            "L98_L,FRP Length Coordinate(left),," + kLeft + ",Optional",
            "FRP_LY,FRP Width Coordinate(left),," + kLeft + ",Optional",
            "H98_L,FRP Height Coordinate(left),," + kLeft + ",Optional",
            "A48_L,Floor plane angle(left),," + kLeft + ",Optional",
            "A46_L,Ankle angle(Left),," + kLeft + ",Optional",
        });
    expect_lines(read_lines(path), expected);
    EXPECT_EQ(v.part_unit, 1);
    ExpectNoLeaks();
}

TEST_F(SpreadsheetTest, PassengerWithSecondRightLegAndNoLeftLegIsWritten) {
    HPD_apf_values_t v = known_record();
    v.seating_position = 1;
    v.position_left_shoe = false;
    const std::string path = dir_.file("passenger.csv");
    ASSERT_EQ(HM_VD_HPD_write_spreadsheet_value(&v, path.c_str()), 0);

    // The head and the tail as for the driver, the seat rows in the
    // passenger's order with the right heel's W.
    std::vector<std::string> expected(kDriverByPedal.begin(), kDriverByPedal.begin() + 18);
    expected[3] = "SP,Seating position,1,\"0 - driver, 1 - passenger\",Required";
    expected[12] = "PV,Top view angle,,\"The value should be between -90.0 ~ 90.0 degree\",Required";
    const std::vector<std::string> seat = {
        "L98_R,FRP Length Coordinate(right),310.5000,\"\",Optional",
        "FRP_RY,FRP Width Coordinate(right),-380.7500,\"\",Optional",
        "H98_R,FRP Height Coordinate(right),280.1250,\"\",Optional",
        "L8,AHP Length Coordinate,310.5000,\"\",Optional",
        "H8,AHP Height Coordinate,280.1250,\"\",Optional",
        "W1,PRP Width Coordinate,-380.7500,\"\",Optional",
        "A48_R,floor plane angle(right),60.5000,\"\",Optional",
        "A47,Pedal plane angle,60.5000,\"\",Optional",
        "A46,Ankle angle(right),95.2500,\"\",Optional",
        "Reference Option,Clear Interference in W,,\"\",Optional",
        "USE_DEVATE_VARIABLE,Use Devate Variable,,\"1-Yes,0-No Only effective whenPEDAL_LEG_METHOD=1\",Optional",
        "REVERSE_ENG_DEVITE_VAR_NAME,Deviate Variable Name,," + kDeviate + ",Optional",
        "REVERSE_ENG_DEVITE_VAR_VALUE,Deviate Variable Value,," + kDeviate + ",Optional",
        "PW14,AHP to PRP lateral offset,,\"Only effective when SP = 0 and PEDAL_LEG_MEGHOD = 0\",Optional",
        "LOCK_ON_SgRP_CURVE,lock SgRP on SgRP curve,,\"1-Yes,0-No\",Optional Default is 1",
    };
    expected.insert(expected.end(), seat.begin(), seat.end());
    const std::vector<std::string> tail = {
        "H30,Seat height,320.0000,\"Not Required when REVERSE_ENG_OPTION = 2 & PEDAL_LEG_MEGHOD = 1\",Optional",
        "2ND_RIGHT_LEG,Add second right leg,1,\"0 - no 2nd right leg, 1 - 2nd leg added\",Optional",
        "L98_R_2ND,FRP Length Coordinate(2nd right),300.0000,\"\",Optional",
        "FRP_R_2NDY,FRP Width Coordinate(2nd right),-100.0000,\"\",Optional",
        "H98_R_2ND,FRP Height Coordinate(2nd right),290.0000,\"\",Optional",
        "A48_R_2ND,floor plane angle(2nd right),12.0000,\"\",Optional",
        "A46_R_2ND,Ankle angle(2nd right),130.0000,\"\",Optional",
        "LEFT_LEG,Add left leg,0,\"0 - not added, 1 - added,2-added as copy\",Required",
        "L98_L,FRP Length Coordinate(left),," + kLeft + ",Optional",
        "FRP_LY,FRP Width Coordinate(left),," + kLeft + ",Optional",
        "H98_L,FRP Height Coordinate(left),," + kLeft + ",Optional",
        "A48_L,Floor plane angle(left),," + kLeft + ",Optional",
        "A46_L,Ankle angle(Left),," + kLeft + ",Optional",
    };
    expected.insert(expected.end(), tail.begin(), tail.end());
    expect_lines(read_lines(path), expected);
    ExpectNoLeaks();
}

TEST_F(SpreadsheetTest, ExistingFileIsReplaced) {
    const std::string path = dir_.file("old.csv");
    write_text(path, "stale line that is longer than anything the sheet writes ......................\n");
    HPD_apf_values_t v = known_record();
    ASSERT_EQ(HM_VD_HPD_write_spreadsheet_value(&v, path.c_str()), 0);
    expect_lines(read_lines(path), kDriverByPedal);
}

// A sheet that cannot be written is a failure the caller and the log see.
TEST_F(SpreadsheetTest, UnwritablePathIsReported) {
    const std::string missing_dir = dir_.file("no_such_dir/sheet.csv");
    const std::string a_directory = dir_.path();
    for (const std::string& path : {missing_dir, a_directory}) {
        host_testing::clear_sinks();
        HPD_apf_values_t v = known_record();
        EXPECT_EQ(HM_VD_HPD_write_spreadsheet_value(&v, path.c_str()), HM_ERR_FILE) << path;
        const auto& log = host_testing::syslog();
        ASSERT_EQ(log.size(), 1u) << path;
        EXPECT_NE(log[0].find(path), std::string::npos) << log[0];
    }
    struct stat st;
    EXPECT_NE(::stat(missing_dir.c_str(), &st), 0);
    HPD_apf_values_t v = known_record();
    EXPECT_EQ(HM_VD_HPD_write_spreadsheet_value(&v, nullptr), -1);
    EXPECT_EQ(HM_VD_HPD_write_spreadsheet_value(nullptr, missing_dir.c_str()), -1);
    ExpectNoLeaks();
}

/* ---- file-name checks ---- */

// Runs the checks as an unprivileged user when the tests run as root (who
// is granted every access), so that refused permissions can be seen.
class Unprivileged {
public:
    Unprivileged() {
        if (::geteuid() == 0) switched_ = ::seteuid(65534) == 0;
    }
    ~Unprivileged() {
        if (switched_) (void)::seteuid(0);
    }
    bool refusals_visible() const { return ::geteuid() != 0; }

private:
    bool switched_ = false;
};

struct Validation {
    bool ok;
    std::string error;
    std::string full_name;
};

Validation validate(const std::string& name, int mode) {
    char* error = reinterpret_cast<char*>(1);
    char* full = reinterpret_cast<char*>(1);
    Validation r;
    r.ok = HM_VD_HPD_validate_file_name(name.c_str(), &error, mode, &full);
    if (r.ok) {
        EXPECT_EQ(error, nullptr) << name;
        EXPECT_NE(full, nullptr) << name;
    } else {
        EXPECT_NE(error, nullptr) << name;
        EXPECT_EQ(full, nullptr) << name;
    }
    r.error = error && error != reinterpret_cast<char*>(1) ? error : "";
    r.full_name = full && full != reinterpret_cast<char*>(1) ? full : "";
    if (error != reinterpret_cast<char*>(1)) SM_free(error);
    if (full != reinterpret_cast<char*>(1)) SM_free(full);
    return r;
}

std::string host_text(int code) {
    char* text = CFI_get_error_text(code);
    std::string s = text ? text : "";
    SM_free(text);
    return s;
}

void SpreadsheetTest::make_sheet_and_folder() {
    write_text(dir_.file("sheet.csv"), "x\n");
    ::mkdir(dir_.file("sub").c_str(), 0755);
}

TEST_F(SpreadsheetTest, FileNameChecksAcceptAndRefuseNames) {
    make_sheet_and_folder();
    host_testing::set_env("HPD_SHEETS", dir_.path().c_str());
    const int kWrite = 0, kRead = 1;
    struct Case {
        std::string name;
        int mode;
        bool ok;
        std::string error;       // expected text when refused
        std::string full_name;   // expected expansion when accepted
    } cases[] = {
        {dir_.file("sub"), kRead, false, "Selected file is a directory.", ""},
        {dir_.file("sub"), kWrite, false, "Selected file is a directory.", ""},
        {dir_.file("missing.csv"), kRead, false, "File does not exist.", ""},
        {dir_.file("missing.csv"), 2, false, "File does not exist.", ""},
        {dir_.file("no_dir/new.csv"), kWrite, false, host_text(HM_ERR_NOT_FOUND), ""},
        {"$HPD_UNSET_VARIABLE/new.csv", kWrite, false, host_text(HM_ERR_NOT_FOUND), ""},
        {"", kRead, false, host_text(HM_ERR_BAD_ARGUMENT), ""},
        {dir_.file("new.csv"), kWrite, true, "", dir_.file("new.csv")},
        {dir_.file("sheet.csv"), kWrite, true, "", dir_.file("sheet.csv")},
        {dir_.file("sheet.csv"), kRead, true, "", dir_.file("sheet.csv")},
        {"$HPD_SHEETS/sheet.csv", kRead, true, "", dir_.file("sheet.csv")},
        {"${HPD_SHEETS}/new.csv", kWrite, true, "", dir_.file("new.csv")},
    };
    for (const Case& c : cases) {
        const Validation r = validate(c.name, c.mode);
        EXPECT_EQ(r.ok, c.ok) << c.name << " mode " << c.mode;
        EXPECT_EQ(r.error, c.error) << c.name << " mode " << c.mode;
        EXPECT_EQ(r.full_name, c.full_name) << c.name << " mode " << c.mode;
    }
    ExpectNoLeaks();
}

TEST_F(SpreadsheetTest, FileNameChecksRefuseWithoutPermission) {
    make_sheet_and_folder();
    const std::string locked_dir = dir_.file("locked");
    ::mkdir(locked_dir.c_str(), 0555);
    const std::string read_only = dir_.file("read_only.csv");
    const std::string write_only = dir_.file("write_only.csv");
    write_text(read_only, "x\n");
    write_text(write_only, "x\n");
    ::chmod(read_only.c_str(), 0444);
    ::chmod(write_only.c_str(), 0222);

    Unprivileged user;
    if (!user.refusals_visible()) GTEST_SKIP() << "runs with every file access granted";
    struct Case {
        std::string name;
        int mode;
        const char* error;
    } cases[] = {
        {read_only, 0, "No Write Access."},
        {write_only, 1, "No Read Access."},
        {locked_dir + "/new.csv", 0, "No Write Access for Directory."},
    };
    for (const Case& c : cases) {
        const Validation r = validate(c.name, c.mode);
        EXPECT_FALSE(r.ok) << c.name;
        EXPECT_EQ(r.error, c.error) << c.name;
    }
    // Other modes check no access.
    EXPECT_TRUE(validate(write_only, 2).ok);
    ExpectNoLeaks();
}

}  // namespace

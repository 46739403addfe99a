// The H-point design spreadsheet: the design written as a comma-separated
// file that the H-point dialog can import again, and the check of a file name
// before the dialog reads or writes it.
//
// The row names, descriptions and comments are the ones the importer
// matches, spelling included; they must not be corrected.
#include "hpd/spreadsheet.h"

#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

const char* const kRequired = "Required";
const char* const kOptional = "Optional";
const char* const kOptionalDefaultOne = "Optional Default is 1";

const char* const kDeviateUseComment = "1-Yes,0-No Only effective whenPEDAL_LEG_METHOD=1";
const char* const kDeviateComment =
    "Only effective whenPEDAL_LEG_METHOD=1and LOCK_ON_SgRP_CURVE=0and USE_DIVATE_VARIABLE=10- A46 or A47 or "
    "H301- L532- A423- A574- A44";
const char* const kPw14Comment = "Only effective when SP = 0 and PEDAL_LEG_MEGHOD = 0";
const char* const kLockComment = "1-Yes,0-No";
const char* const kLeftComment = "Only effective when LEFT_LEG = 1";

// Writes rows to an open file; remembers the first failed write.
class SheetWriter {
public:
    explicit SheetWriter(FILE* file) : file_(file) {}

    void header() { put("Name,Description,Value,Comments,Type\n"); }

    void integer(const char* name, const char* description, int value, const char* comment, const char* type) {
        emit(SM_sprintf("%s,%s,%d,\"%s\",%s\n", name, description, value, comment, type));
    }
    void real(const char* name, const char* description, double value, const char* comment, const char* type) {
        emit(SM_sprintf("%s,%s,%.4f,\"%s\",%s\n", name, description, value, comment, type));
    }
    void empty(const char* name, const char* description, const char* comment, const char* type) {
        emit(SM_sprintf("%s,%s,%s,\"%s\",%s\n", name, description, "", comment, type));
    }

    bool failed() const { return failed_; }
    int error() const { return errno_; }

private:
    void emit(char* row) {
        if (!row) {
            failed_ = true;
            return;
        }
        put(row);
        SM_free(row);
    }
    void put(const char* text) {
        if (failed_) return;
        if (std::fprintf(file_, "%s", text) < 0) {
            failed_ = true;
            errno_ = errno;
        }
    }

    FILE* file_;
    bool failed_ = false;
    int errno_ = 0;
};

void log_unwritten(const char* file_name, int error) {
    char* line = SM_sprintf("H-point spreadsheet \"%s\" could not be written: %s", file_name,
                            error ? std::strerror(error) : "write failed");
    HM_print_syslog(line ? line : "H-point spreadsheet could not be written", true);
    SM_free(line);
}

// The reverse-engineering rows: the deviate variable's three rows, then
// the lateral offset PW14 and the SgRP-curve lock, each group with its
// values or empty.
void write_reverse_rows(SheetWriter& w, const HPD_apf_values_t& v, bool deviate_values, bool offset_values) {
    if (deviate_values) {
        w.integer("USE_DEVATE_VARIABLE", "Use Devate Variable", v.use_variable, kDeviateUseComment, kOptional);
        w.integer("REVERSE_ENG_DEVITE_VAR_NAME", "Deviate Variable Name", v.variable_type, kDeviateComment,
                  kOptional);
        w.real("REVERSE_ENG_DEVITE_VAR_VALUE", "Deviate Variable Value", v.adjust_variable, kDeviateComment,
               kOptional);
    } else {
        w.empty("USE_DEVATE_VARIABLE", "Use Devate Variable", kDeviateUseComment, kOptional);
        w.empty("REVERSE_ENG_DEVITE_VAR_NAME", "Deviate Variable Name", kDeviateComment, kOptional);
        w.empty("REVERSE_ENG_DEVITE_VAR_VALUE", "Deviate Variable Value", kDeviateComment, kOptional);
    }
    if (offset_values) {
        w.real("PW14", "AHP to PRP lateral offset", v.lateral_offset, kPw14Comment, kOptional);
        w.integer("LOCK_ON_SgRP_CURVE", "lock SgRP on SgRP curve", v.move_along_sgrp_curve, kLockComment,
                  kOptionalDefaultOne);
    } else {
        w.empty("PW14", "AHP to PRP lateral offset", kPw14Comment, kOptional);
        w.empty("LOCK_ON_SgRP_CURVE", "lock SgRP on SgRP curve", kLockComment, kOptionalDefaultOne);
    }
}

void write_driver_rows(SheetWriter& w, const HPD_apf_values_t& v) {
    const HPD_apf_shoe_values_t& right = v.right_shoe;
    w.real("A47", "Pedal plane angle", right.pedal_angle, "", kOptional);
    w.real("A46", "Ankle angle(right)", right.ankle_angle, "", kOptional);
    w.real("L8", "AHP Length Coordinate", right.heel_point[0], "", kOptional);
    w.real("H8", "AHP Height Coordinate", right.heel_point[2], "", kOptional);
    w.real("W1", "PRP Width Coordinate", v.prp[1], "", kOptional);
    w.real("L98_R", "FRP Length Coordinate(right)", right.heel_point[0], "", kOptional);
    w.real("FRP_RY", "FRP Width Coordinate(right)", v.prp[1], "", kOptional);
    w.real("H98_R", "FRP Height Coordinate(right)", right.heel_point[2], "", kOptional);
    w.real("A48_R", "floor plane angle(right)", right.pedal_angle, "", kOptional);
    w.integer("Reference Option", "Clear Interference in W", v.clear_interference, "", kOptional);
    // Positioned by the SgRP the deviate variable applies; by the pedal the lateral offset.
    const bool by_sgrp = v.occ_position_method == 1;
    write_reverse_rows(w, v, by_sgrp, !by_sgrp);
}

void write_passenger_rows(SheetWriter& w, const HPD_apf_values_t& v) {
    const HPD_apf_shoe_values_t& right = v.right_shoe;
    w.real("L98_R", "FRP Length Coordinate(right)", right.heel_point[0], "", kOptional);
    w.real("FRP_RY", "FRP Width Coordinate(right)", right.heel_point[1], "", kOptional);
    w.real("H98_R", "FRP Height Coordinate(right)", right.heel_point[2], "", kOptional);
    w.real("L8", "AHP Length Coordinate", right.heel_point[0], "", kOptional);
    w.real("H8", "AHP Height Coordinate", right.heel_point[2], "", kOptional);
    w.real("W1", "PRP Width Coordinate", right.heel_point[1], "", kOptional);
    w.real("A48_R", "floor plane angle(right)", right.pedal_angle, "", kOptional);
    w.real("A47", "Pedal plane angle", right.pedal_angle, "", kOptional);
    w.real("A46", "Ankle angle(right)", right.ankle_angle, "", kOptional);
    w.empty("Reference Option", "Clear Interference in W", "", kOptional);
    write_reverse_rows(w, v, false, false);
}

// The five rows of one extra leg: its FRP, floor plane angle and ankle
// angle, or empty values when the leg is not part of the design.
struct LegRowNames {
    const char* names[5];
    const char* descriptions[5];
};

void write_leg_rows(SheetWriter& w, const LegRowNames& rows, const HPD_apf_shoe_values_t& shoe, bool with_values,
                    const char* comment) {
    const double values[5] = {shoe.heel_point[0], shoe.heel_point[1], shoe.heel_point[2], shoe.pedal_angle,
                              shoe.ankle_angle};
    for (int i = 0; i < 5; ++i) {
        if (with_values)
            w.real(rows.names[i], rows.descriptions[i], values[i], comment, kOptional);
        else
            w.empty(rows.names[i], rows.descriptions[i], comment, kOptional);
    }
}

const LegRowNames kSecondRightRows = {
    {"L98_R_2ND", "FRP_R_2NDY", "H98_R_2ND", "A48_R_2ND", "A46_R_2ND"},
    {"FRP Length Coordinate(2nd right)", "FRP Width Coordinate(2nd right)", "FRP Height Coordinate(2nd right)",
     "floor plane angle(2nd right)", "Ankle angle(2nd right)"}};
const LegRowNames kLeftRows = {
    {"L98_L", "FRP_LY", "H98_L", "A48_L", "A46_L"},
    {"FRP Length Coordinate(left)", "FRP Width Coordinate(left)", "FRP Height Coordinate(left)",
     "Floor plane angle(left)", "Ankle angle(Left)"}};

// The host's text of a file-check failure, as a new string.
char* host_error_text(int code) { return CFI_get_error_text(code); }

}  // namespace

int HM_VD_HPD_write_spreadsheet_value(HPD_apf_values_t* values, const char* file_name) {
    if (!values || !file_name) return -1;
    HPD_apf_values_t& v = *values;

    const int second_right_leg = (v.seating_position != 0 && v.add_2nd_right_leg) ? 1 : 0;
    const int left_leg = !v.position_left_shoe ? 0 : (v.copy_right_shoe_orientation == 0 ? 1 : 2);

    FILE* file = std::fopen(file_name, "w");
    if (!file) {
        log_unwritten(file_name, errno);
        return HM_ERR_FILE;
    }

    SheetWriter w(file);
    w.header();
    w.integer("VERSION", "Algorithm Version", v.algorithm_version,
              "0 -Original, 1- Use hospointer expression, 2-Zv5 project ", kRequired);
    v.part_unit = PART_ask_units(CONTEXT_ask_work_part()) == 0 ? 0 : 1;
    w.integer("UNIT", "Part Unit", v.part_unit, "0 - metric, 1 - english", kRequired);
    w.integer("SP", "Seating position", v.seating_position, "0 - driver, 1 - passenger", kRequired);
    w.integer("VC", "Vehicle class", v.vehicle_class, "0 - class A, 1 - class B", kRequired);
    w.integer("MFR", "Male Female Ratio", v.male_female_ratio, "0 - 50:50, 1 - 75:25, 2 - 90:10 or 95:5",
              kRequired);
    w.integer("LLT", "Leg length type", v.leg_length_type, "0 - SgRP, 1- mid size, 2- Customized", kRequired);
    w.real("UPPER_LLT", "leg length (upper)", v.upper_leg_length, "Effect only when LLT = 2", kOptional);
    w.real("LOWER_LLT", "leg length (lower)", v.lower_leg_length, "Effect only when LLT = 2", kOptional);
    w.real("A27", "Cushion angle", v.cushion_angle, "The value should be between 0.0 ~ 40.0 degree", kRequired);
    w.real("A40", "Back angle", v.back_angle,
           "The back angle is required to be 22 degrees for establishing SgRP for driver. Any other value will "
           "lead to the result for study only. For passenger, the value should be between 5 ~ 25 degree",
           kRequired);
    w.real("L81", "Lumbar support prominence", v.lumbar_support, "The value should be between -20.0 ~ 40.0 mm",
           kRequired);
    if (v.seating_position == 0)
        w.real("PV", "Top view angle", v.pv_angle, "The value should be between -90.0 ~ 90.0 degree", kRequired);
    else
        w.empty("PV", "Top view angle", "The value should be between -90.0 ~ 90.0 degree", kRequired);
    w.integer("PEDAL_LEG_MEGHOD", "Accelerator pedal leg position method", v.occ_position_method,
              "For driver only, 0 - by pedal, 1 - by SgRP", kRequired);
    w.integer("REVERSE_ENG_OPTION", "Reverse ", v.reverse_option,
              "0 - Lock A46 &H30,1 - Lock A47 &H30, 2 - Lock A46 &A47,3 - Lock H30 only,", kRequired);
    w.real("L31", "SgRP Length Coordinate", v.sgrp[0], "", kRequired);
    w.real("W20", "SgRP Width Coordinate", v.sgrp[1], "", kRequired);
    w.real("H70", "SgRP Height Coordinate", v.sgrp[2], "", kRequired);

    if (v.seating_position == 0)
        write_driver_rows(w, v);
    else
        write_passenger_rows(w, v);

    w.real("H30", "Seat height", v.seat_height, "Not Required when REVERSE_ENG_OPTION = 2 & PEDAL_LEG_MEGHOD = 1",
           kOptional);
    w.integer("2ND_RIGHT_LEG", "Add second right leg", second_right_leg, "0 - no 2nd right leg, 1 - 2nd leg added",
              kOptional);
    write_leg_rows(w, kSecondRightRows, v.second_right_shoe, second_right_leg == 1, "");
    w.integer("LEFT_LEG", "Add left leg", left_leg, "0 - not added, 1 - added,2-added as copy", kRequired);
    write_leg_rows(w, kLeftRows, v.left_shoe, left_leg == 1, kLeftComment);

    bool failed = w.failed();
    int error = w.error();
    if (std::fclose(file) != 0 && !failed) {
        failed = true;
        error = errno;
    }
    if (failed) {
        log_unwritten(file_name, error);
        return HM_ERR_FILE;
    }
    return 0;
}

bool HM_VD_HPD_validate_file_name(const char* file_name, char** error_text, int mode, char** full_name) {
    if (error_text) *error_text = nullptr;
    if (full_name) *full_name = nullptr;
    if (!file_name || !error_text || !full_name) {
        if (error_text) *error_text = SM_string_copy("No file name.");
        return false;
    }

    char* expanded = nullptr;
    int code = CFI_expand_filename(file_name, CFI_KIND_FILE, &expanded);
    if (code != 0) {
        SM_free(expanded);
        *error_text = host_error_text(code);
        return false;
    }

    char* message = nullptr;
    const int exists = CFI_ask_file_exist(expanded);
    if (exists != 0) {
        if (mode != 0) {
            message = SM_string_copy("File does not exist.");
        } else if (exists == 1) {
            char* directory = nullptr;
            code = CFI_ask_directory(expanded, CFI_KIND_FILE, &directory);
            if (code != 0) {
                message = host_error_text(code);
            } else {
                int error = 0;
                if (!CFI_query_file_permissions(directory, CFI_KIND_DIRECTORY, CFI_ACCESS_WRITE, &error))
                    message = error ? host_error_text(error) : SM_string_copy("No Write Access for Directory.");
            }
            SM_free(directory);
        } else {
            message = host_error_text(exists);
        }
    } else {
        int type = 0;
        code = CFI_get_file_type(expanded, &type);
        if (code != 0) {
            message = host_error_text(code);
        } else if (type == CFI_KIND_DIRECTORY) {
            message = SM_string_copy("Selected file is a directory.");
        } else if (mode == 0 || mode == 1) {
            const bool write = mode == 0;
            int error = 0;
            if (!CFI_query_file_permissions(expanded, CFI_KIND_FILE, write ? CFI_ACCESS_WRITE : CFI_ACCESS_READ,
                                            &error))
                message = error ? host_error_text(error)
                                : SM_string_copy(write ? "No Write Access." : "No Read Access.");
        }
    }

    if (message) {
        SM_free(expanded);
        *error_text = message;
        return false;
    }
    *full_name = expanded;
    return true;
}

// Regional standards of mirror certification (region and standard texts,
// which rows take their eyes from the eyellipse or from ocular points, the
// back-angle correction and the 300 mm second-target width) and the ocular
// eye points.
#include "mirror_record.h"

#include <cmath>
#include <cstdio>

namespace carvell::mirror {
namespace {

struct StandardRow {
    const char* region;
    const char* standard;
};

// Inside mirrors (kind 0), rows 0 to 7.
const StandardRow kInsideRows[] = {
    {"USA/canada", "FMVSS 111 - CMVSS 111"},
    {"Europe", "2003/97/EC - ECE R46.02"},
    {"Japan", "Article 44/TRIAS 29/TRIAS 39"},
    {"Australia", "ADR 14/02"},
    {"Saudi Arabia / Gulf States", "SSA 770/771 - GS 421/422"},
    {"China", "GB 15084 - 1994"},
    {"Europe (M1/N1 & Class III Mirror) far", "2003/97/EC - ECE R46.02"},
    {"China", "GB 15084 - 1994"},
};

// Driver-side outside mirrors (kind 1), rows 0 to 7. "Superceded" is the
// wording users know.
const StandardRow kDriverRows[] = {
    {"USA/canada", "FMVSS 111 - CMVSS 111"},
    {"Europe", "71/127/EEC - ECE R46.01(Superceded)"},
    {"Japan", "Article 44/TRIAS 29/TRIAS 39"},
    {"Australia", "ADR 14/02"},
    {"Saudi Arabia / Gulf States", "SSA 770/771 - GS 421/422"},
    {"Europe (M1/N1 & Class III Mirror) near", "2003/97/EC - ECE R46.02"},
    {"Europe (M1/N1 & Class III Mirror) far", "2003/97/EC - ECE R46.02"},
    {"China", "GB 15084 - 1994"},
};

// Passenger-side outside mirrors (kind 2 and any other kind), rows 0 to 12.
const StandardRow kPassengerRows[] = {
    {"USA/canada", "FMVSS 111 - CMVSS 111"},
    {"Europe (M1/N1 only)", "71/127/EEC - ECE R46.01(Superceded)"},
    {"Europe (Not M1/N1)near", "71/127/EEC - ECE R46.01(Superceded)"},
    {"Europe (Not M1/N1) far", "71/127/EEC - ECE R46.01(Superceded)"},
    {"Japan", "Article 44/TRIAS 29/TRIAS 39"},
    {"Australia", "ADR 14/02"},
    {"Saudi Arabia / Gulf States near", "SSA 770/771 - GS 421/422"},
    {"Saudi Arabia / Gulf States far", "SSA 770/771 - GS 421/422"},
    {"Europe (M1/N1 & Class III Mirror) near", "2003/97/EC - ECE R46.02"},
    {"Europe (M1/N1 & Class III Mirror) far", "2003/97/EC - ECE R46.02"},
    {"China(M1/N1 only)", "GB 15084 - 1994"},
    {"China(Not M1/N1) near", "GB 15084 - 1994"},
    {"China(Not M1/N1) far", "GB 15084 - 1994"},
};

bool passenger_side(int kind) { return kind != 0 && kind != 1; }

// Ocular offsets (dx, dz) in millimetres for back-angle indices 5 to 40.
const int kOcularOffsets[36][2] = {
    {-186, 28}, {-177, 27}, {-167, 27}, {-157, 27}, {-147, 26}, {-137, 25}, {-128, 24}, {-118, 23},
    {-109, 22}, {-99, 21},  {-90, 20},  {-81, 18},  {-72, 17},  {-62, 15},  {-53, 13},  {-44, 11},
    {-35, 9},   {-26, 7},   {-18, 5},   {-9, 3},    {0, 0},     {9, -3},    {17, -5},   {26, -8},
    {34, -11},  {43, -14},  {51, -18},  {59, -21},  {67, -24},  {76, -28},  {84, -32},  {96, -35},
    {100, -39}, {108, -43}, {115, -48}, {123, -52},
};
constexpr int kFirstBackAngle = 5;
constexpr int kLastBackAngle = 40;

// Eye-point constants, millimetres and their inch values.
constexpr double kHalfEyeSeparation[2] = {32.5, 1.2795275590551183};
constexpr double kOcularEyeHeight[2] = {635.0, 25.0};
constexpr double kPivotBehindEye[2] = {98.54, 3.879527559055118};
// Back-angle method: the pivot sits 35 mm behind, 20 mm inboard and 627 mm
// above the corrected reference point; the eyes sqrt(9759.75) mm ahead of it.
constexpr double kBackAnglePivotX = 35.0;
constexpr double kBackAnglePivotY = 20.0;
constexpr double kBackAnglePivotZ = 627.0;
constexpr double kBackAngleEyeAheadSquared = 9759.75;

int unit_index(int units) { return units == 1 ? 1 : 0; }

void set(double out[3], double x, double y, double z) {
    out[0] = x;
    out[1] = y;
    out[2] = z;
}

void write_text(char out[MC_NAME_SIZE], const char* text) { std::snprintf(out, MC_NAME_SIZE, "%s", text); }

}  // namespace

void name_region_and_standard(int kind, int row, char region[MC_NAME_SIZE], char standard[MC_NAME_SIZE]) {
    region[0] = '\0';
    standard[0] = '\0';
    const StandardRow* rows = kind == 0 ? kInsideRows : kind == 1 ? kDriverRows : kPassengerRows;
    const int count = passenger_side(kind) ? 13 : 8;
    if (row < 0 || row >= count) return;
    write_text(region, rows[row].region);
    write_text(standard, rows[row].standard);
}

int eye_method(int kind, int row) {
    if (passenger_side(kind)) return row == 0 || row == 5 ? 0 : 1;
    return row == 0 || row == 3 ? 0 : 1;
}

bool uses_back_angle_table(int kind, int row) {
    if (eye_method(kind, row) == 0) return false;
    if (kind == 0) return row == 1 || row == 5;
    if (kind == 1) return row >= 5 && row <= 7;
    return row >= 8 && row <= 12;
}

double second_target_width(int kind, int row, int units) {
    const bool japanese = (kind == 1 && row == 2) || (passenger_side(kind) && row == 4);
    if (!japanese) return 0.0;
    return units == 1 ? 11.811023622047244 : 300.0;
}

void ocular_offset(int back_angle_index, double* dx, double* dz) {
    if (back_angle_index < kFirstBackAngle || back_angle_index > kLastBackAngle) {
        *dx = 0.0;
        *dz = 0.0;
        return;
    }
    *dx = kOcularOffsets[back_angle_index - kFirstBackAngle][0];
    *dz = kOcularOffsets[back_angle_index - kFirstBackAngle][1];
}

double ocular_adjustment(int adjustment_index) {
    switch (adjustment_index) {
        case 0: return 0.0;
        case 1: return -13.0;
        case 2: return -22.0;
        case 3: return -32.0;
        case 4: return -42.0;
        default: return -48.0;
    }
}

EyePoints ocular_points_by_back_angle(const double reference[3], int back_angle_index, int adjustment_index,
                                      int units) {
    const double f = units == 1 ? kInchPerMm : 1.0;
    double dx = 0.0;
    double dz = 0.0;
    ocular_offset(back_angle_index, &dx, &dz);
    const double side = reference[1] <= 0.0 ? 1.0 : -1.0;
    EyePoints eyes{};
    set(eyes.pivot, reference[0] + (dx + ocular_adjustment(adjustment_index) + kBackAnglePivotX) * f,
        reference[1] - kBackAnglePivotY * side * f, reference[2] + (dz + kBackAnglePivotZ) * f);
    const double ahead = std::sqrt(kBackAngleEyeAheadSquared) * f;
    const double half = kHalfEyeSeparation[unit_index(units)];
    const double x = eyes.pivot[0] - ahead;
    set(eyes.left, x, eyes.pivot[1] - half, eyes.pivot[2]);
    set(eyes.mid, x, eyes.pivot[1], eyes.pivot[2]);
    set(eyes.right, x, eyes.pivot[1] + half, eyes.pivot[2]);
    return eyes;
}

EyePoints plain_ocular_points(const double reference[3], int units) {
    const int u = unit_index(units);
    const double z = reference[2] + kOcularEyeHeight[u];
    EyePoints eyes{};
    set(eyes.left, reference[0], reference[1] - kHalfEyeSeparation[u], z);
    set(eyes.mid, reference[0], reference[1], z);
    set(eyes.right, reference[0], reference[1] + kHalfEyeSeparation[u], z);
    set(eyes.pivot, reference[0] + kPivotBehindEye[u], reference[1], z);
    return eyes;
}

int ocular_eye_point_stage(mc_data_s* data) {
    if (!data || data->eye_method != 1) return -1;
    const EyePoints eyes = uses_back_angle_table(data->mirror_kind, data->standard_row)
                               ? ocular_points_by_back_angle(data->eye_reference_point, data->ocular_back_angle_index,
                                                             data->ocular_adjustment_index, data->units)
                               : plain_ocular_points(data->eye_reference_point, data->units);
    double* left = nullptr;
    double* mid = nullptr;
    double* right = nullptr;
    double* pivot = nullptr;
    if (data->inside) {
        left = data->inside->left_eye, mid = data->inside->mid_eye, right = data->inside->right_eye;
        pivot = data->inside->pivot;
    } else if (data->outside) {
        left = data->outside->left_eye, mid = data->outside->mid_eye, right = data->outside->right_eye;
        pivot = data->outside->pivot;
    } else {
        return -1;
    }
    for (int i = 0; i < 3; ++i) {
        left[i] = eyes.left[i];
        mid[i] = eyes.mid[i];
        right[i] = eyes.right[i];
        pivot[i] = eyes.pivot[i];
        data->mid_eye_point[i] = eyes.mid[i];
    }
    return 0;
}

}  // namespace carvell::mirror

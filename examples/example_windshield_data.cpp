// Windshield data of a passenger car, as a glazing engineer sets it up:
// the clear-vision boundary inside the dark band, the FMVSS 104 / SAE J903
// test areas A, B and C, a tandem wiper system and the flat pattern.
//
// The windshield is raked 62 degrees from vertical, 1,450 mm wide and 950 mm
// along the slope from its base centre (1200, 0, 950), curved across the car
// with a radius of 3,000 mm (a cylinder about the slope line). The dark band
// (ceramic frit) runs 100 mm inside the glass edge; the clear-vision boundary
// lies 25.4 mm (FMVSS 104's one-inch border) inside the band. The driver's
// eye (SAE J941 cyclops point of a left-hand drive car) is at (2950, -370,
// 1150). The test areas are bounded by planes through the eye at the angles
// of FMVSS 104 / SAE J903 for the widest passenger-car class (left, right,
// up, down): A 18, 56, 10, 5 degrees; B 14, 53, 5, 3; C 10, 15, 5, 1. The
// standard asks the wipers to clean at least 80 % of A, 94 % of B and 99 %
// of C. The wipers are a tandem pair with their pivots in the lower band:
// the driver's with a 560 mm arm and a 600 mm blade sweeping 95 degrees,
// the passenger's with a 500 mm arm and a 450 mm blade sweeping 90 degrees,
// both parked along the base pointing to the passenger side.
//
// Usage: example_windshield_data [output folder]
// (WS_TRACE=1 in the environment also prints the tool's trace lines.)
#include "hm_vd_ws.h"
#include "host_testing.h"
#include "morvish.h"
#include "omvra.h"
#include "quillon.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

using host_testing::Point3;

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
constexpr double kRake = 62.0 * kDeg;          // from vertical
constexpr double kWidth = 1450.0;              // along the arc
constexpr double kSlopeLength = 950.0;
constexpr double kRadius = 3000.0;             // across the car
constexpr double kBand = 100.0;                // dark band inside the edge
constexpr double kOffset = 25.4;               // one inch
const Point3 kBase = {1200.0, 0.0, 950.0};
const Point3 kEye = {2950.0, -370.0, 1150.0};

// Up the glass (rearward and up), the outward normal of the glass at its
// centre line (forward and up), and the cylinder's axis point at the base.
const Point3 kSlope = {std::sin(kRake), 0.0, std::cos(kRake)};
const Point3 kNormal = {-std::cos(kRake), 0.0, std::sin(kRake)};
const Point3 kAxisBase = {kBase[0] - kRadius * kNormal[0], 0.0, kBase[2] - kRadius * kNormal[2]};

// The glass point at arc length s across the car (+y side positive) and t up the slope.
Point3 glass(double s, double t) {
    const double phi = s / kRadius;
    Point3 p;
    for (int i = 0; i < 3; ++i)
        p[i] = kAxisBase[i] + kRadius * (std::cos(phi) * kNormal[i] + std::sin(phi) * (i == 1 ? 1.0 : 0.0)) +
               t * kSlope[i];
    return p;
}

tag_t make_windshield() {
    const double half = kWidth / 2.0 / kRadius;
    // The sheet starts at the +y edge and turns towards -y about the slope line.
    const double x_dir[3] = {std::cos(half) * kNormal[0], std::sin(half), std::cos(half) * kNormal[2]};
    const double origin[3] = {kAxisBase[0], kAxisBase[1], kAxisBase[2]};
    const double axis[3] = {kSlope[0], kSlope[1], kSlope[2]};
    const tag_t sheet = host_testing::make_cylindrical_sheet(origin, axis, x_dir, kRadius, 2.0 * half, kSlopeLength);
    HM_OBJ_set_name(sheet, "WINDSHIELD");
    return sheet;
}

// The dark band's inner edge: two lines up the slope and two arcs across.
std::vector<tag_t> make_dark_band() {
    const double s = kWidth / 2.0 - kBand, t0 = kBand, t1 = kSlopeLength - kBand;
    const double phi = s / kRadius;
    auto arc_at = [&](double t) {
        const Point3 centre = {kAxisBase[0] + t * kSlope[0], 0.0, kAxisBase[2] + t * kSlope[2]};
        return host_testing::make_arc(centre, kRadius, -phi, phi, kNormal, {0.0, 1.0, 0.0});
    };
    return {arc_at(t0), host_testing::make_line(glass(s, t0), glass(s, t1)), arc_at(t1),
            host_testing::make_line(glass(-s, t1), glass(-s, t0))};
}

// A test area: four planes through the eye, their normals pointing away
// from the area: left and right (vertical planes), then up and down.
void set_zone(ws_data_t& data, int k, double left, double right, double up, double down) {
    const double l = left * kDeg, r = right * kDeg, u = up * kDeg, d = down * kDeg;
    const double normals[4][3] = {{std::sin(l), -std::cos(l), 0.0},
                                  {std::sin(r), std::cos(r), 0.0},
                                  {std::sin(u), 0.0, std::cos(u)},
                                  {std::sin(d), 0.0, -std::cos(d)}};
    for (int p = 0; p < 4; ++p)
        for (int i = 0; i < 3; ++i) {
            data.zone_planes[k].zone_origins[p][i] = kEye[i];
            data.zone_planes[k].zone_normals[p][i] = normals[p][i];
        }
}

void set_wiper(ws_data_t& data, int k, double across, double arm, double blade, double sweep) {
    const Point3 pivot = glass(across, kBand / 2.0);
    for (int i = 0; i < 3; ++i) data.pivot[k][i] = pivot[i];
    data.arm_length[k] = arm;
    data.blade_length[k] = blade;
    // Angles about the glass normal from the -y side: 180 points to the
    // passenger side (+y), 90 up the glass.
    data.arm_angle[k] = 180.0;
    data.sweep_angle[k] = sweep;
    data.blade_angle[k] = 0.0;
}

int total_points(const ws_point_group_t& g) {
    int n = 0;
    for (int i = 0; i < g.count; ++i) n += g.point_counts[i];
    return n;
}

void print_group(const char* label, const ws_point_group_t& g) {
    std::printf("  %-22s status %d, %2d curves, %4d points\n", label, g.status, g.count, total_points(g));
}

std::set<tag_t> bodies() {
    std::set<tag_t> out;
    const tag_t part = HM_ASSEM_ask_work_part();
    for (tag_t t = HM_OBJ_cycle_objs_in_part(part, HM_solid_type, 0); t;
         t = HM_OBJ_cycle_objs_in_part(part, HM_solid_type, t)) {
        int type = 0, subtype = 0;
        HM_OBJ_ask_type_and_subtype(t, &type, &subtype);
        if (subtype == HM_solid_body_subtype) out.insert(t);
    }
    return out;
}

// Extent of the flat pattern across the car (its curves lie in the plane
// touching the glass at the base centre, the flat x axis along the arc).
double flat_width(const ws_point_group_t& g) {
    double lo = 1e300, hi = -1e300;
    for (int i = 0; i < g.count; ++i)
        for (int j = 0; j < g.point_counts[i]; ++j) {
            lo = std::min(lo, g.points[i][j][1]);
            hi = std::max(hi, g.points[i][j][1]);
        }
    return hi - lo;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "windshield-output";
    ::mkdir(folder.c_str(), 0755);
    host_testing::reset();
    host_testing::make_part("windshield_data", false);
    if (std::getenv("WS_TRACE")) {   // the tool's trace lines on the terminal
        host_testing::set_checking_level(1);
        host_testing::set_debug_key("VD_WS", true);
    }
    const tag_t windshield = make_windshield();
    std::vector<tag_t> band = make_dark_band();
    const std::set<tag_t> before = bodies();

    MTX4_t frame{};
    frame.m[0] = frame.m[5] = frame.m[10] = frame.m[15] = 1.0;   // vehicle axes = absolute axes
    ws_data_t data;
    HM_VD_WS_init_windshield_data(&data);
    data.vehicle_frame = &frame;
    hm_list_p_t faces = nullptr;
    HM_MODL_ask_body_faces(windshield, &faces);
    int face_count = 0;
    HM_MODL_ask_list_count(faces, &face_count);
    data.face_count = face_count;
    data.faces = static_cast<tag_t*>(SM_alloc(face_count * sizeof(tag_t)));
    for (int i = 0; i < face_count; ++i) HM_MODL_ask_list_item(faces, i, &data.faces[i]);
    HM_MODL_delete_list(&faces);
    data.dark_band_count = int(band.size());
    data.dark_band_curves = band.data();
    data.offset_distance = kOffset;
    for (int i = 0; i < 3; ++i) data.eye_point[i] = kEye[i];
    data.want_zone1 = data.want_zone2 = data.want_zone3 = true;
    set_zone(data, 0, 18, 56, 10, 5);   // A
    set_zone(data, 1, 14, 53, 5, 3);    // B
    set_zone(data, 2, 10, 15, 5, 1);    // C
    data.want_wiped_area = true;
    data.wiper_mode = 0;   // tandem: two wipers
    set_wiper(data, 0, -560.0, 560.0, 600.0, 95.0);
    set_wiper(data, 1, -20.0, 500.0, 450.0, 90.0);
    data.want_flat_pattern = true;

    std::printf("Windshield: raked %.0f deg, %.0f mm wide, %.0f mm along the slope, radius %.0f mm\n",
                kRake / kDeg, kWidth, kSlopeLength, kRadius);
    std::printf("Dark band %.0f mm inside the edge, clear-vision boundary %.1f mm inside the band\n\n", kBand,
                kOffset);
    const int check = HM_VD_WS_check_serigrafia_status(data.face_count, data.faces, data.dark_band_count,
                                                       data.dark_band_curves, data.offset_distance);
    std::printf("Dark-band check: %d (0 = the band closes, projects, and its offset can be made)\n\n", check);

    HM_VD_WS_create_windshield_data(&data);
    std::printf("Results (status 0 = success):\n");
    print_group("clear-vision boundary", data.offset_result);
    print_group("test area A", data.zone_result[0]);
    print_group("test area B", data.zone_result[1]);
    print_group("test area C", data.zone_result[2]);
    std::printf("  %-22s status %d, %2d curves (%d of the driver's wiper)\n", "wiped outline",
                data.wiped_result.status, data.wiped_result.count, data.wiped_result.first_wiper_curve_count);
    print_group("flat pattern", data.flat_result);

    UPDATE_do_update();   // the steps' temporary bodies go
    const double inner_w = kWidth - 2.0 * (kBand + kOffset), inner_h = kSlopeLength - 2.0 * (kBand + kOffset);
    std::printf("\nAreas (mm^2):\n");
    std::printf("  glass                  %12.0f   (1450 x 950 = %.0f)\n", host_testing::surface_area(windshield),
                kWidth * kSlopeLength);
    const char* labels[] = {"sewn windshield", "clear-vision area", "dark-band region", "wiped area"};
    int k = 0;
    for (tag_t body : bodies()) {
        if (before.count(body)) continue;
        const char* label = k < 4 ? labels[k] : "wiped area (second wiper)";
        if (k == 1)
            std::printf("  %-22s %12.0f   (%.1f x %.1f = %.0f)\n", label, host_testing::surface_area(body), inner_w,
                        inner_h, inner_w * inner_h);
        else
            std::printf("  %-22s %12.0f\n", label, host_testing::surface_area(body));
        ++k;
    }

    std::printf("\nWiped share of the test areas (percent status %d):\n", data.percent_status);
    const char* names[] = {"A", "B", "C"};
    const double required[] = {80.0, 94.0, 99.0};
    for (int i = 0; i < 3; ++i)
        std::printf("  area %s: %6.2f %%   required at least %.0f %%   %s\n", names[i], data.percentages[i],
                    required[i], data.percentages[i] >= required[i] ? "met" : "NOT met");

    if (data.flat_result.status == 0)
        std::printf("\nFlat pattern width %.1f mm (the arc: R x angle = %.1f mm)\n", flat_width(data.flat_result),
                    kWidth);

    std::printf("\nStatus area:\n");
    for (const std::string& text : host_testing::status_texts()) std::printf("  %s\n", text.c_str());
    HM_VD_WS_release_windshield_data(&data);
    const std::string step = folder + "/windshield_data.step";
    const int count = host_testing::write_step(step.c_str());
    if (count <= 0) {
        std::fprintf(stderr, "writing %s failed\n", step.c_str());
        return 1;
    }
    std::printf("Result geometry written: %s (%d objects; open it in any CAD viewer)\n", step.c_str(), count);
    host_testing::reset();
    return 0;
}

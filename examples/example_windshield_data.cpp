// Windshield data of a passenger car, as a glazing engineer sets it up:
// the clear-vision boundary inside the dark band, the FMVSS 104 / SAE J903
// test areas A, B and C, a tandem wiper system and the flat pattern.
//
// The windshield is raked 62 degrees from vertical, 1,450 mm wide across its
// middle and 950 mm from its bottom edge to its top edge, its middle row at
// (1200, 0, 950) + 475 mm up the slope. It is curved both ways, as every
// windshield is: with a radius of 4,000 mm across the car and of 2,000 mm
// from top to bottom (a patch of a torus about the slope line). The dark band
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
// both parked along the base pointing to the passenger side. A doubly curved
// glass cannot be unrolled: the flat pattern is laid out as rigidly as
// possible, and its largest stretch of a length is printed.
//
// Usage: example_windshield_data [output folder]
// (WS_TRACE=1 in the environment also prints the tool's trace lines.)
#include "hm_vd_ws.h"
#include "host_testing.h"
#include "morvish.h"
#include "omvra.h"
#include "passenger_windshield.h"
#include "quillon.h"
#include "zelvadt.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace passenger_windshield;

constexpr double kOffset = 25.4;               // one inch

// The dark band's inner edge, kBand inside the glass edge all round: four
// splines through points of the glass, bottom, passenger side, top, driver side.
std::vector<tag_t> make_dark_band() {
    constexpr int kPoints = 21;
    const double bottom = kBand, top = kSlopeLength - kBand;
    auto inset = [](double t) { return kHalfAcross - kBand / row_radius(t); };   // the band's turn at height t
    auto row = [&](double t, double from, double to) {
        std::vector<Point3> points;
        for (int i = 0; i < kPoints; ++i) points.push_back(on_glass(from + (to - from) * i / (kPoints - 1), t));
        return host_testing::make_spline(points);
    };
    auto side = [&](double sign, double from, double to) {
        std::vector<Point3> points;
        for (int i = 0; i < kPoints; ++i) {
            const double t = from + (to - from) * i / (kPoints - 1);
            points.push_back(on_glass(sign * inset(t), t));
        }
        return host_testing::make_spline(points);
    };
    return {row(bottom, inset(bottom), -inset(bottom)), side(-1.0, bottom, top), row(top, -inset(top), inset(top)),
            side(1.0, top, bottom)};
}

// A test area: four planes through the eye, their normals pointing away
// from the area: left and right (vertical planes), then up and down.
void set_zone(ws_data_t& data, int k, double left, double right, double up, double down) {
    test_area_planes(left, right, up, down, data.zone_planes[k].zone_origins, data.zone_planes[k].zone_normals);
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

// Extents of the flat pattern's outline (its first four curves, the glass
// edges): across the car (the flat's lateral axis is the vehicle's y, the
// glass's direction across its middle at the base) and up, within its plane.
void flat_extents(const ws_point_group_t& g, double& width, double& height) {
    double lo = 1e300, hi = -1e300, far = 0.0;
    const double* first = g.points[0][0];
    const double* farthest = first;
    for (int i = 0; i < std::min(g.count, 4); ++i)
        for (int j = 0; j < g.point_counts[i]; ++j) {
            const double* p = g.points[i][j];
            lo = std::min(lo, p[1]);
            hi = std::max(hi, p[1]);
            const double d = std::hypot(p[0] - first[0], p[2] - first[2]);
            if (d > far) {
                far = d;
                farthest = p;
            }
        }
    // Up: along the plane's trace in the x-z plane, through the two points
    // farthest apart in it.
    const double ux = (farthest[0] - first[0]) / far, uz = (farthest[2] - first[2]) / far;
    double down = 1e300, up = -1e300;
    for (int i = 0; i < std::min(g.count, 4); ++i)
        for (int j = 0; j < g.point_counts[i]; ++j) {
            const double t = (g.points[i][j][0] - first[0]) * ux + (g.points[i][j][2] - first[2]) * uz;
            down = std::min(down, t);
            up = std::max(up, t);
        }
    width = hi - lo;
    height = up - down;
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

    std::printf("Windshield: raked %.0f deg, %.0f mm wide and %.0f mm high along the glass, radius %.0f mm across "
                "and %.0f mm top to bottom\n",
                kRake / kDeg, kWidth, kSlopeLength, kRadiusAcross, kRadiusUp);
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
    std::printf("  glass                  %12.0f   (1450 x 950 = %.0f across its middle)\n",
                host_testing::surface_area(windshield), kWidth * kSlopeLength);
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

    if (data.flat_result.status == 0) {
        double width = 0.0, height = 0.0, stretch = -1.0;
        flat_extents(data.flat_result, width, height);
        tag_t flat = 0;
        HM_OBJ_cycle_by_name("TMP_WINDSHIELD_CURVE_FLATTEN", &flat);
        HM_ATTR_ask_real(flat, SMDFLAT_STRETCH_ATTRIBUTE, &stretch);
        std::printf("\nFlat pattern: %.1f mm wide, %.1f mm high (the glass across its middle: %.1f mm wide, "
                    "%.1f mm high)\n",
                    width, height, kWidth, kSlopeLength);
        std::printf("  largest stretch of a length in the flat: %.3f %%\n", 100.0 * stretch);
    }

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

// Instrument-panel visibility and windshield reflections of a mid-size car's
// cockpit, as a vehicle-vision engineer sets them up.
//
// The eyellipse is the SAE J941 95th-percentile one of the A-pillar example
// (axes 206.4 x 60.3 x 93.4 mm, x axis tipped 12 degrees, cyclops centroid
// (2743, -370, 1188), eyes 32.5 mm to either side). The steering wheel has a
// 380 mm rim (30 mm section) about (2350, -370, 950), tilted 25 degrees from
// vertical; its upper outline (the rim's upper half, outer and inner edge,
// closed by two short lines at the 3 and 9 o'clock spokes) is what hides the
// panel; the steering-wheel plane is the rim's plane. The
// instrument-panel plane is x = 2050; two 90 mm round gauges sit
// on it either side of the column. The windshield runs from (1250, +-690,
// 1000) to (2000, +-600, 1400), 62 degrees from vertical, crowned 25 mm
// across; the dashboard's top edge (x 1600, z 1020) is reflected in it.
//
// Usage: example_vision_instrument_panel [output folder]
#include "hm_vd_vision.h"
#include "host_testing.h"
#include "omvra.h"
#include "quillon.h"

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using host_testing::Point3;

constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = kPi / 180.0;
constexpr const char* kEyellipse = "root:J941_EYELLIPSE:";
const Point3 kCyclops = {2743.0, -370.0, 1188.0};
const Point3 kWheelCentre = {2350.0, -370.0, 950.0};
constexpr double kRimRadius = 190.0, kRimHalfSection = 15.0, kWheelTilt = 25.0;
constexpr double kPanelX = 2050.0;

tag_t named(tag_t object, const char* name) {
    if (object) HM_OBJ_set_name(object, name);
    return object;
}

void make_eyellipse() {
    host_testing::EyellipseSpec s;
    s.centroids = {{{kCyclops[0], kCyclops[1] - 32.5, kCyclops[2]}, kCyclops,
                    {kCyclops[0], kCyclops[1] + 32.5, kCyclops[2]}}};
    const double c = std::cos(12.0 * kDeg), n = std::sin(12.0 * kDeg);
    s.axis_dirs = {{{c, 0.0, n}, {0.0, 1.0, 0.0}, {-n, 0.0, c}}};
    s.lengths = {173.0, 60.3, 86.0};
    s.lengths_95 = {206.4, 60.3, 93.4};
    s.lengths_99 = {287.1, 85.3, 132.1};
    s.side_value = kCyclops[1];
    s.drive_side = 1;
    host_testing::make_eyellipse("J941_EYELLIPSE", s);
}

// The wheel plane's normal (towards the driver, up) and its in-plane "up".
Point3 wheel_normal() { return {std::cos(kWheelTilt * kDeg), 0.0, std::sin(kWheelTilt * kDeg)}; }
Point3 wheel_up() { return {-std::sin(kWheelTilt * kDeg), 0.0, std::cos(kWheelTilt * kDeg)}; }

Point3 on_wheel(double radius, double angle) {
    const Point3 up = wheel_up();
    Point3 p;
    for (int k = 0; k < 3; ++k)
        p[k] = kWheelCentre[k] + radius * (std::cos(angle) * (k == 1 ? 1.0 : 0.0) + std::sin(angle) * up[k]);
    return p;
}

// The upper steering-wheel outline: outer and inner upper rim edges and the
// two lines that close them at 3 and 9 o'clock.
std::vector<tag_t> upper_wheel_outline() {
    const double outer = kRimRadius + kRimHalfSection, inner = kRimRadius - kRimHalfSection;
    const Point3 y_axis = {0.0, 1.0, 0.0};
    return {named(host_testing::make_arc(kWheelCentre, outer, 0.0, kPi, y_axis, wheel_up()), "RIM_UPPER_OUTER"),
            named(host_testing::make_line(on_wheel(outer, kPi), on_wheel(inner, kPi)), "RIM_9_OCLOCK"),
            named(host_testing::make_arc(kWheelCentre, inner, 0.0, kPi, y_axis, wheel_up()), "RIM_UPPER_INNER"),
            named(host_testing::make_line(on_wheel(inner, 0.0), on_wheel(outer, 0.0)), "RIM_3_OCLOCK")};
}

// A 90 mm gauge: a 20 mm deep cylinder into the panel plane.
tag_t gauge(double y, double z, const char* name) {
    const double base[3] = {kPanelX - 20.0, y, z}, axis[3] = {1.0, 0.0, 0.0};
    return named(host_testing::make_cylinder(base, axis, 90.0, 20.0), name);
}

// The windshield: base to top edge, crowned 25 mm across (a quadratic
// sheet whose middle poles stand 50 mm off the chord along its normal).
tag_t windshield_face() {
    const Point3 base = {1250.0, -690.0, 1000.0}, top = {2000.0, -600.0, 1400.0};
    const double len = std::hypot(top[0] - base[0], top[2] - base[2]);
    const double n[3] = {-(top[2] - base[2]) / len, 0.0, (top[0] - base[0]) / len};
    std::vector<double> poles;
    for (const Point3& edge : {base, top})
        for (int j = 0; j < 3; ++j) {
            const double lift = j == 1 ? 50.0 : 0.0;
            poles.push_back(edge[0] + lift * n[0]);
            poles.push_back(edge[1] * (1 - j));   // -y, 0, +y
            poles.push_back(edge[2] + lift * n[2]);
        }
    const tag_t sheet = named(host_testing::make_bspline_sheet(2, 3, poles.data(), 1, 2), "WINDSHIELD");
    hm_list_p_t faces = nullptr;
    tag_t face = 0;
    HM_MODL_ask_body_faces(sheet, &faces);
    HM_MODL_ask_list_item(faces, 0, &face);
    HM_MODL_delete_list(&faces);
    return face;
}

int count(hm_list_p_t list) {
    int n = 0;
    HM_MODL_ask_list_count(list, &n);
    return n;
}

void print_point(const char* label, tag_t point) {
    double p[3] = {0, 0, 0};
    if (point) HM_CURVE_ask_point_data(point, p);
    std::printf("  %-34s (%.1f, %.1f, %.1f)\n", label, p[0], p[1], p[2]);
}

void run_visibility(vd_eyellipse_t& eyellipse) {
    std::printf("Instrument-panel visibility through the upper steering wheel\n");
    const std::vector<tag_t> outline = upper_wheel_outline();
    hm_list_p_t curves = nullptr;
    HM_MODL_create_list(&curves);
    for (tag_t t : outline) HM_MODL_put_list_item(curves, t);
    const double panel_origin[3] = {kPanelX, -370.0, 900.0}, panel_normal[3] = {1.0, 0.0, 0.0};
    tag_t ip_plane = 0, sw_plane = 0;
    HM_MODL_create_plane(panel_origin, panel_normal, &ip_plane);
    // The steering-wheel plane is the rim's centre plane. The target, the
    // wheel centre, lies in it: the moa there shrinks to the sight point (a
    // degenerate moa), so the wheel's hotdog is its mustache.
    const Point3 n = wheel_normal();
    HM_MODL_create_plane(kWheelCentre.data(), n.data(), &sw_plane);
    hm_list_p_t gauges = nullptr;
    HM_MODL_create_list(&gauges);
    HM_MODL_put_list_item(gauges, gauge(-440.0, 900.0, "SPEEDOMETER"));
    HM_MODL_put_list_item(gauges, gauge(-300.0, 900.0, "TACHOMETER"));
    const double origin[3] = {0, 0, 0}, matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, orient[3] = {1, 0, 0};
    moa_hotdog_output_t* out = nullptr;
    const int code = HM_VD_ipv_sw_ss_analysis(origin, matrix, &eyellipse, curves, kWheelCentre.data(), orient,
                                              ip_plane, sw_plane, gauges, nullptr, 1, &out);
    std::printf("  analysis result                    %d (0: all built)\n", code);
    if (out) {
        print_point("sight point on the panel plane", out->ip_point);
        print_point("sight point on the wheel plane", out->sw_point);
        // The sight line from the cyclops eye through the wheel centre meets
        // x = 2050 at z = 950 - 300 * 238 / 393.
        std::printf("  check: panel sight point z = 950 - 300 * 238 / 393 = %.1f\n", 950.0 - 300.0 * 238.0 / 393.0);
        std::printf("  moa / mustache / hotdog curves     panel %d / %d / %d, wheel %d / %d / %d\n", count(out->ip_moa),
                    count(out->ip_mustache), count(out->ip_hotdog), count(out->sw_moa), count(out->sw_mustache),
                    count(out->sw_hotdog));
        std::printf("  gauge hits of the sight line       %d; gauge curves on the vision faces %d\n",
                    count(out->objects_1_points), count(out->objects_1_curves));
        hm_list_p_t* lists[] = {&out->ip_moa,         &out->ip_mustache,      &out->ip_hotdog,
                                &out->sw_moa,         &out->sw_mustache,      &out->sw_hotdog,
                                &out->objects_1_curves, &out->objects_1_points};
        for (hm_list_p_t* l : lists) HM_MODL_delete_list(l);
        SM_free(out);
    }
    HM_MODL_delete_list(&gauges);
    HM_MODL_delete_list(&curves);
    std::printf("\n");
}

void run_reflection() {
    std::printf("Reflection of the dashboard's top edge in the windshield (N = 25)\n");
    tag_t face = windshield_face();
    const tag_t edge = named(host_testing::make_line({1600.0, -700.0, 1020.0}, {1600.0, 300.0, 1020.0}), "PANEL_TOP");
    refl_output_s settings{};
    settings.display[0] = {0, 186, 30};   // reflection curves
    settings.display[1] = {0, 36, 31};
    settings.display[2] = {1, 6, 32};     // reflection rays drawn
    settings.display[3] = {0, 6, 33};
    hm_list_p_t results = nullptr;
    HM_MODL_create_list(&results);
    int number = -1;
    HM_VD_RD_create_reflect_refract_geometry(0, settings, 1, &face, false, 1, &edge, kCyclops.data(), 25, 1.52, 5.0,
                                             0.01, &results, &number);
    int curves = 0, lines = 0, points = 0;
    for (int i = 0; i < count(results); ++i) {
        tag_t t = 0;
        int type = 0, subtype = 0;
        HM_MODL_ask_list_item(results, i, &t);
        HM_OBJ_ask_type_and_subtype(t, &type, &subtype);
        lines += type == HM_line_type;
        points += type == HM_point_type;
        curves += type == HM_spline_type;
    }
    std::printf("  error number of the edge           %d (0: every sample reflected)\n", number);
    std::printf("  \"Reflect Data\" objects            %d splines, %d points, %d rays (2 per found sample)\n", curves,
                points, lines);
    HM_MODL_delete_list(&results);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "vision-output";
    ::mkdir(folder.c_str(), 0755);
    host_testing::reset();
    host_testing::make_part("instrument_panel_vision", false);
    make_eyellipse();
    vd_eyellipse_t eyellipse{};
    if (HM_VD_initialize_eyellipse(kEyellipse, 0, &eyellipse) != 0) {
        std::fprintf(stderr, "the eyellipse could not be read\n");
        return 1;
    }
    std::printf("Eyellipse (J941, 95th): axes %.1f x %.1f x %.1f mm about (%.0f, %.0f, %.0f)\n\n",
                eyellipse.axis_length[0], eyellipse.axis_length[1], eyellipse.axis_length[2], eyellipse.centroid[1][0],
                eyellipse.centroid[1][1], eyellipse.centroid[1][2]);
    run_visibility(eyellipse);
    run_reflection();
    std::printf("System log:\n");
    for (const std::string& line : host_testing::syslog()) std::printf("  %s\n", line.c_str());
    HM_MODL_update();
    const std::string step = folder + "/vision_instrument_panel.step";
    const int written = host_testing::write_step(step.c_str());
    if (written <= 0) {
        std::fprintf(stderr, "writing %s failed\n", step.c_str());
        return 1;
    }
    std::printf("Result geometry written: %s (%d objects; open it in any CAD viewer)\n", step.c_str(), written);
    host_testing::reset();
    return 0;
}

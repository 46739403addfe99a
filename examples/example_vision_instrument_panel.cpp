// Instrument-panel visibility and windshield reflections of a mid-size car's
// cockpit, as a vehicle-vision engineer sets them up.
//
// The eyellipse is the SAE J941 95th-percentile one of the A-pillar example
// (axes 206.4 x 60.3 x 93.4 mm, x axis tipped 12 degrees, cyclops centroid
// (2743, -370, 1188), eyes 32.5 mm to either side). The steering wheel has a
// 380 mm rim (30 mm section) about (2350, -370, 950), tilted 25 degrees from
// vertical, an 80 mm hub and spokes at 3, 6 and 9 o'clock. Its silhouette
// from the cyclops eye gives the upper outline (the rim band above the
// spokes) that hides the panel, the hub edge and the see-through openings;
// the steering-wheel plane is the wheel's mean plane. The
// instrument-panel plane is x = 2050; two 90 mm round gauges sit
// on it either side of the column. The windshield runs from (1250, +-690,
// 1000) to (2000, +-600, 1400), 62 degrees from vertical, crowned 25 mm
// across; the dashboard's top edge (x 1600, z 1020) is reflected in it.
//
// Usage: example_vision_instrument_panel [output folder]
#include "hm_vd_vision.h"
#include "host_testing.h"
#include "j941_eyellipse.h"
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
using j941::kCyclops;
const Point3 kWheelCentre = {2350.0, -370.0, 950.0};
constexpr double kRimRadius = 190.0, kRimHalfSection = 15.0, kWheelTilt = 25.0;
constexpr double kPanelX = 2050.0;

tag_t named(tag_t object, const char* name) {
    if (object) HM_OBJ_set_name(object, name);
    return object;
}

// The wheel plane's normal (towards the driver, up) and its in-plane "up".
Point3 wheel_normal() { return {std::cos(kWheelTilt * kDeg), 0.0, std::sin(kWheelTilt * kDeg)}; }
Point3 wheel_up() { return {-std::sin(kWheelTilt * kDeg), 0.0, std::cos(kWheelTilt * kDeg)}; }

tag_t body_of(tag_t feature) {
    tag_t body = 0;
    HM_MODL_ask_feat_body(feature, &body);
    return body;
}

// The rim: a 30 mm tube round the 380 mm centreline circle.
tag_t rim() {
    const tag_t centreline = host_testing::make_arc(kWheelCentre, kRimRadius, 0.0, 2.0 * kPi, {0.0, 1.0, 0.0},
                                                    wheel_up());
    tag_t feature = 0;
    HM_MODL_create_tube(centreline, "30.0", "0.0", &feature);
    return named(body_of(feature), "RIM");
}

// The hub: a disc 80 mm across and 30 mm thick about the wheel centre, and
// 20 mm spokes from the centre to the rim's centreline at 3, 6 and 9 o'clock.
std::vector<tag_t> hub_and_spokes() {
    const Point3 n = wheel_normal(), up = wheel_up();
    const Point3 base = {kWheelCentre[0] - kRimHalfSection * n[0], kWheelCentre[1],
                         kWheelCentre[2] - kRimHalfSection * n[2]};
    std::vector<tag_t> out{named(host_testing::make_cylinder(base.data(), n.data(), 80.0, 30.0), "HUB")};
    const Point3 spokes[3] = {{0.0, 1.0, 0.0}, {-up[0], -up[1], -up[2]}, {0.0, -1.0, 0.0}};
    const char* names[3] = {"SPOKE_3_OCLOCK", "SPOKE_6_OCLOCK", "SPOKE_9_OCLOCK"};
    for (int i = 0; i < 3; ++i)
        out.push_back(named(host_testing::make_cylinder(kWheelCentre.data(), spokes[i].data(), 20.0, kRimRadius),
                            names[i]));
    return out;
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

hm_list_p_t list_of(const std::vector<tag_t>& objects) {
    hm_list_p_t list = nullptr;
    HM_MODL_create_list(&list);
    for (tag_t t : objects) HM_MODL_put_list_item(list, t);
    return list;
}

void print_xyz(const char* label, const double p[3]) {
    std::printf("  %-34s (%.1f, %.1f, %.1f)\n", label, p[0], p[1], p[2]);
}

void print_point(const char* label, tag_t point) {
    double p[3] = {0, 0, 0};
    if (point) HM_CURVE_ask_point_data(point, p);
    print_xyz(label, p);
}

void run_visibility(vd_eyellipse_t& eyellipse) {
    std::printf("Steering-wheel outline seen from the cyclops eye\n");
    const double origin[3] = {0, 0, 0}, matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1}, orient[3] = {1, 0, 0};
    hm_list_p_t wheel = list_of({rim()}), hub = list_of(hub_and_spokes());
    double centre[3] = {0, 0, 0}, top[3] = {0, 0, 0};
    tag_t sw_plane = 0;
    hm_list_p_t curves = nullptr, hubs = nullptr, see_throughs = nullptr;
    const int extracted = HM_VD_ipv_extract_sw_curve(origin, matrix, kCyclops.data(), wheel, hub, centre, top,
                                                     &sw_plane, &curves, &hubs, &see_throughs);
    std::printf("  extraction result                  %d (0: all built)\n", extracted);
    print_xyz("wheel centre (mass centroid)", centre);
    // The rim's section in the vehicle's x-z plane through the centre is two
    // 30 mm circles; the upper one's centre is the rim top point.
    print_xyz("rim top point", top);
    std::printf("  check: rim top = centre + 190 * (-sin 25, 0, cos 25) = (%.1f, %.1f, %.1f)\n",
                kWheelCentre[0] - kRimRadius * std::sin(kWheelTilt * kDeg), kWheelCentre[1],
                kWheelCentre[2] + kRimRadius * std::cos(kWheelTilt * kDeg));
    std::printf("  upper outline / hub / see-through curves  %d / %d / %d\n", count(curves), count(hubs),
                count(see_throughs));
    std::printf("\nInstrument-panel visibility through the upper steering wheel\n");
    const double panel_origin[3] = {kPanelX, -370.0, 900.0}, panel_normal[3] = {1.0, 0.0, 0.0};
    tag_t ip_plane = 0;
    HM_MODL_create_plane(panel_origin, panel_normal, &ip_plane);
    // The steering-wheel plane is the wheel's own, from the extraction. The
    // target, the wheel centre, lies in it: the moa there shrinks to the
    // sight point (a degenerate moa), so the wheel's hotdog is its mustache.
    hm_list_p_t gauges = nullptr;
    HM_MODL_create_list(&gauges);
    HM_MODL_put_list_item(gauges, gauge(-440.0, 900.0, "SPEEDOMETER"));
    HM_MODL_put_list_item(gauges, gauge(-300.0, 900.0, "TACHOMETER"));
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
    for (hm_list_p_t* l : {&gauges, &curves, &hubs, &see_throughs, &wheel, &hub}) HM_MODL_delete_list(l);
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
    j941::make_eyellipse("J941_EYELLIPSE");
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

// A-pillar obstruction, hood visibility and forward glazing data of a
// mid-size car, as a vehicle-vision engineer sets them up.
//
// The eyellipse is the SAE J941 95th-percentile one for an adjustable seat
// (axes 206.4 x 60.3 x 93.4 mm; 99th: 287.1 x 85.3 x 132.1 mm), its x axis
// tipped 12 degrees down toward the front, the cyclops centroid at
// (2743, -370, 1188) and the left and right eye centroids 32.5 mm to either
// side; the neck pivot points lie 98 mm behind it. The windshield runs from
// (1250, +-690, 1000) at its base to (2000, +-600, 1400) at its top, 62
// degrees from vertical, so that the driver looks about 16 degrees up to its
// top edge and 7 degrees down to its base: the usual up- and down-vision
// angles. The left A-pillar is a solid 80 mm across along its edge; the hood
// runs from the windshield base forward to x 200, +-750 mm.
//
// Usage: example_vision_apillar [output folder]
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
constexpr const char* kEyellipse = "J941_EYELLIPSE";
using j941::kCyclops;
const Point3 kBaseLeft = {1250.0, -690.0, 1000.0};
const Point3 kTopLeft = {2000.0, -600.0, 1400.0};

tag_t named(tag_t object, const char* name) {
    if (object) HM_OBJ_set_name(object, name);
    return object;
}

struct Car {
    tag_t windshield_face = 0;
    tag_t pillar = 0;
    tag_t hood_face = 0;
};

Car make_car() {
    Car car;
    const double corner[3] = {kBaseLeft[0], kBaseLeft[1], kBaseLeft[2]};
    // The windshield as a quad between its base and top edges (the top edge
    // is narrower; the quad is planar in x-z, so its width is the base's).
    const double up[3] = {kTopLeft[0] - kBaseLeft[0], 0.0, kTopLeft[2] - kBaseLeft[2]};
    const double across[3] = {0.0, -2.0 * kBaseLeft[1], 0.0};
    const tag_t windshield = named(host_testing::make_planar_sheet(corner, across, up), "WINDSHIELD");
    hm_list_p_t faces = nullptr;
    HM_MODL_ask_body_faces(windshield, &faces);
    HM_MODL_ask_list_item(faces, 0, &car.windshield_face);
    HM_MODL_delete_list(&faces);
    const double axis[3] = {kTopLeft[0] - kBaseLeft[0], kTopLeft[1] - kBaseLeft[1], kTopLeft[2] - kBaseLeft[2]};
    const double length = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
    car.pillar = named(host_testing::make_cylinder(corner, axis, 80.0, length), "LEFT_A_PILLAR");
    const double hood_corner[3] = {200.0, -750.0, 900.0};
    const double hood_length[3] = {kBaseLeft[0] - 200.0, 0.0, 100.0};
    const double hood_width[3] = {0.0, 1500.0, 0.0};
    const tag_t hood = named(host_testing::make_planar_sheet(hood_corner, hood_length, hood_width), "HOOD");
    HM_MODL_ask_body_faces(hood, &faces);
    HM_MODL_ask_list_item(faces, 0, &car.hood_face);
    HM_MODL_delete_list(&faces);
    return car;
}

void print_point(const char* label, const double p[3]) {
    std::printf("  %-26s (%9.2f, %9.2f, %9.2f)\n", label, p[0], p[1], p[2]);
}

void print_line(const char* label, tag_t line) {
    HM_CURVE_line_t data{};
    if (!line || HM_CURVE_ask_line_data(line, &data)) {
        std::printf("  %-26s none\n", label);
        return;
    }
    std::printf("  %-26s (%8.2f, %8.2f, %8.2f) -> (%8.2f, %8.2f, %8.2f)\n", label, data.start_point[0],
                data.start_point[1], data.start_point[2], data.end_point[0], data.end_point[1], data.end_point[2]);
}

void print_status(int status) {
    char* text = HM_VD_APO_get_failmessage(status);
    std::printf("  status                     %d%s%s\n", status, text ? ": " : " (success)", text ? text : "");
    SM_free(text);
}

// The obstruction worked by hand from the two sight lines, as the binocular
// method measures it: in plan view, the angle between the left eye's line
// past the pillar's outboard edge and the right eye's past its inboard edge,
// negative when the lines cross ahead of the eyes (both eyes together then
// see round the pillar).
void print_plan_check(const apo_result_t& out) {
    HM_CURVE_line_t l{}, r{};
    if (HM_CURVE_ask_line_data(out.sight_lines[0], &l) || HM_CURVE_ask_line_data(out.sight_lines[1], &r)) return;
    const double lx = l.end_point[0] - l.start_point[0], ly = l.end_point[1] - l.start_point[1];
    const double rx = r.end_point[0] - r.start_point[0], ry = r.end_point[1] - r.start_point[1];
    // Bearings from straight ahead (-x), positive toward -y (outboard left).
    const double left = std::atan2(-ly, -lx) / kDeg, right = std::atan2(-ry, -rx) / kDeg;
    const double t = ((r.start_point[0] - l.start_point[0]) * ry - (r.start_point[1] - l.start_point[1]) * rx) /
                     (lx * ry - ly * rx);
    const double cross_x = l.start_point[0] + t * lx;
    const bool ahead = cross_x < out.pivot_point[0];
    std::printf("  check in plan view         bearings left %.3f, right %.3f deg: %s%.3f deg\n", left, right,
                ahead ? "-" : "", std::fabs(right - left));
    std::printf("                             (the lines cross at x = %.0f, %s the pivot)\n", cross_x,
                ahead ? "ahead of" : "behind");
}

void run_apillar(const char* title, int rule_set, int kind, const Car& car, const double limit_point[3],
                 int eye_point_mode = 0) {
    std::printf("%s\n", title);
    apo_input_t in;
    HM_VD_APO_init_global(&in);
    in.rule_set = rule_set;
    in.eye_point_mode = eye_point_mode;
    in.eyellipse_name = SM_string_copy(kEyellipse);
    in.analysis_kind = kind;
    if (kind == 0) {
        HM_MODL_create_list(&in.apillar_geometry);
        HM_MODL_put_list_item(in.apillar_geometry, car.pillar);
    } else {
        in.limit_source = 0;
        for (int i = 0; i < 3; ++i) in.limit_point[i] = limit_point[i];
        in.limit_angle = 0.5;
    }
    apo_result_t out;
    HM_VD_APO_init_result_struct(&out);
    const int status = HM_VD_APO_main(&in, &out);
    print_status(status);
    std::printf("  side                       %d (%s eye works the target)\n", out.side,
                out.side == 1 ? "left" : "right");
    print_point("neck pivot", out.pivot_point);
    std::printf("  eye rotation left/right    %8.3f / %8.3f deg\n", out.rotation[0], out.rotation[1]);
    std::printf("  head rotation left/right   %8.3f / %8.3f deg\n", out.rotation[2], out.rotation[3]);
    std::printf("  obstruction angle          %8.3f deg (%s)\n", out.obstruction_angle,
                out.angle_valid ? "valid" : "not valid");
    if (kind == 0) print_plan_check(out);
    if (eye_point_mode == 2) {
        // The closest eye lies on the horizontal plane one axis length (206.4
        // mm) ahead of the left centroid along the 12-degree axis.
        const double eye[3] = {out.pivot_point[0] - 98.0, out.pivot_point[1] - 32.5, out.pivot_point[2]};
        print_point("closest left eye", eye);
        const double height = 1188.0 - 206.4 * std::sin(12.0 * kDeg);
        std::printf("  check: its height          1188 - 206.4 sin 12 = %.2f\n", height);
    }
    print_line("left sight line", out.sight_lines[0]);
    print_line("right sight line", out.sight_lines[1]);
    const char* suffix = eye_point_mode == 2 ? "_CLOSEST" : rule_set == 0 ? "" : "_2";
    named(out.sight_lines[0], (std::string("SIGHT_LEFT") + suffix).c_str());
    named(out.sight_lines[1], (std::string("SIGHT_RIGHT") + suffix).c_str());
    int section_curves = 0;
    HM_MODL_ask_list_count(out.section_curves, &section_curves);
    std::printf("  section curves / points    %d / %d\n", section_curves, out.section_point_count);
    print_point("reference point R", out.reference_point);
    if (status) HM_VD_APO_display_failmessage(status);
    for (int i = 0; i < out.section_point_count; ++i) SM_free(out.section_points[i]);
    SM_free(out.section_points);
    if (out.section_curves) HM_MODL_delete_list(&out.section_curves);
    HM_VD_APO_free_global(&in);
    std::printf("\n");
}

void run_hood(const Car& car) {
    std::printf("Hood visibility limit points, pitch step 10 deg\n");
    tag_t faces[1] = {car.hood_face};
    hv_input_t in{};
    for (int i = 0; i < 3; ++i) in.eye_point[i] = kCyclops[i];
    in.face_count = 1;
    in.faces = faces;
    in.pitch_step = 10.0;
    in.csys_matrix[0] = in.csys_matrix[4] = in.csys_matrix[8] = 1.0;
    int count = 0;
    double** points = nullptr;
    const int status = HM_VD_HV_GetVisiLimitPoints(&in, &count, &points);
    std::printf("  status %d, %d points\n", status, count);
    std::vector<HM_CURVE_thru_point_t> row;
    for (int i = 0; i < count; ++i) {
        const double* p = points[i];
        const double down = std::atan2(kCyclops[2] - p[2], std::hypot(kCyclops[0] - p[0], kCyclops[1] - p[1]));
        std::printf("  %2d (%8.2f, %8.2f, %7.2f)  %5.2f deg below the eye\n", i, p[0], p[1], p[2], down / kDeg);
        if (i > 0) named(host_testing::make_line({points[i - 1][0], points[i - 1][1], points[i - 1][2]},
                                                 {p[0], p[1], p[2]}),
                         "HOOD_LIMIT");
    }
    for (int i = 0; i < count; ++i) SM_free(points[i]);
    SM_free(points);
    std::printf("\n");
}

void run_glazing(const Car& car) {
    std::printf("Forward glazing data\n");
    const double origin[3] = {0, 0, 0}, identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const bool ahead = HM_VD_GLAZE_check_glazing_face(0, 1, &car.windshield_face, "root:J941_EYELLIPSE:", origin,
                                                      identity);
    std::printf("  windshield ahead of the eyellipse: %s\n", ahead ? "yes" : "no");
    output_t out{};
    auto set = [&](int slot, double x, double y, double z) {
        out.slot[slot][0] = x, out.slot[slot][1] = y, out.slot[slot][2] = z;
    };
    set(GLAZE_SECTION_POINT, 0, 0, 1200);   // the section at the glass's mid height
    set(GLAZE_SECTION_NORMAL, 0, 0, 1);
    set(GLAZE_PLANE2_POINT, 0, kCyclops[1], 0);   // the driver's fore-aft plane
    set(GLAZE_PLANE2_NORMAL, 0, 1, 0);
    set(GLAZE_PLANE3_POINT, 0, 0, kCyclops[2]);   // the eye's horizontal plane
    set(GLAZE_PLANE3_NORMAL, 0, 0, 1);
    set(GLAZE_PLANE4_POINT, 0, 0, 0);             // the centre plane
    set(GLAZE_PLANE4_NORMAL, 0, 1, 0);
    const int status = HM_VD_GLAZE_forward_glazing_data(1, &car.windshield_face, origin, identity, &out);
    std::printf("  status %d\n", status);
    print_point("section, left extreme", out.slot[GLAZE_SECTION_MIN_Y]);
    print_point("section, right extreme", out.slot[GLAZE_SECTION_MAX_Y]);
    print_point("level sight line, left", out.slot[GLAZE_HIT_LEFT]);
    print_point("level sight line, right", out.slot[GLAZE_HIT_RIGHT]);
    print_point("nearest to centre line", out.slot[GLAZE_NEAREST]);
    std::printf("  check: the level line meets the glass at x = 1250 + 750 * 188 / 400 = %.2f\n\n",
                1250.0 + 750.0 * 188.0 / 400.0);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "vision-output";
    ::mkdir(folder.c_str(), 0755);
    host_testing::reset();
    host_testing::make_part("apillar_vision", false);
    j941::make_eyellipse(kEyellipse);
    const Car car = make_car();
    const double up_angle = std::atan2(kTopLeft[2] - kCyclops[2], kCyclops[0] - kTopLeft[0]) / kDeg;
    const double down_angle = std::atan2(kCyclops[2] - kBaseLeft[2], kCyclops[0] - kBaseLeft[0]) / kDeg;
    std::printf("Windshield from the cyclops eye: top edge %.1f deg up, base %.1f deg down\n\n", up_angle, down_angle);

    run_apillar("A-pillar obstruction, rule set 0 (eyes turn 30 deg before the head)", 0, 0, car, nullptr);
    run_apillar("A-pillar obstruction, rule set 2 (tilted sections)", 2, 0, car, nullptr);
    run_apillar("A-pillar obstruction, rule set 0, eye point of the eyellipse closest to the pillar", 0, 0, car,
                nullptr, 2);
    const double limit[3] = {1600.0, -1200.0, 0.0};
    run_apillar("Angle to a limit point (1600, -1200), limit angle 0.5 deg", 0, 1, car, limit);
    run_hood(car);
    run_glazing(car);

    std::printf("Status area:\n");
    for (const std::string& text : host_testing::status_texts()) std::printf("  %s\n", text.c_str());
    const std::string step = folder + "/vision_apillar.step";
    const int count = host_testing::write_step(step.c_str());
    if (count <= 0) {
        std::fprintf(stderr, "writing %s failed\n", step.c_str());
        return 1;
    }
    std::printf("Result geometry written: %s (%d objects; open it in any CAD viewer)\n", step.c_str(), count);
    host_testing::reset();
    return 0;
}

// Mirror certification as a body engineer prepares it for the driver-side
// outside mirror of a left-hand-drive sedan: the mirror dialog's input checks
// on the mirror glass, its bezel and the backlite, then two working records
// (an FMVSS 111 inside-mirror record and an ECE R46 Class III far driver
// record), and where the driver's left eye sees the far outer corner of the
// ECE R46 Class III field (4 m wide at 20 m behind the ocular points) on the
// convex glass, checked by tracing the reflected ray back.
//
// Vehicle frame: x rearward, y lateral (y = 0 the car's centre plane, the
// driver at -y), z up; millimetres and degrees.
//
// Usage: example_mirror_checks [output-folder]   (default: mirror-output)
#include "hm_vd/curve_utils.h"
#include "hm_vd_curve.h"
#include "hm_vd_mc.h"
#include "host_testing.h"
#include "mirror_current_runs.h"
#include "omvra.h"

#include <sys/stat.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using V = std::array<double, 3>;

V add(V a, V b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
V sub(V a, V b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
V scale(double k, V a) { return {k * a[0], k * a[1], k * a[2]}; }
double dot(V a, V b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
V unit(V a) { return scale(1.0 / std::sqrt(dot(a, a)), a); }

/* ---- the car ---- */
const V kSgrp = {1250.0, -370.0, 520.0};
// SAE J941 95th-percentile eyellipses (plan-view axes on the grid): the
// left, cyclops and right centroids and the full axis lengths.
const V kLeftCentroid = {1290.0, -402.5, 1158.0};
const V kCyclopsCentroid = {1290.0, -370.0, 1158.0};
const V kRightCentroid = {1290.0, -337.5, 1158.0};
const V kAxisLengths95 = {206.4, 60.3, 93.4};
// The left ocular point of the plain ocular method: SgRP + (0, -32.5, 635).
const V kLeftEye = add(kSgrp, {0.0, -32.5, 635.0});
// Driver mirror: convex glass of radius 1400, 190 x 120, centred here.
const V kGlassCentre = {650.0, -1000.0, 1000.0};
constexpr double kGlassRadius = 1400.0;
// ECE R46 Class III field: ground level, 4 m wide from the car's side
// (y = -900) at 20 m behind the ocular points.
constexpr double kCarSide = -900.0;
const V kFarOuterCorner = {kLeftEye[0] + 20000.0, kCarSide - 4000.0, 0.0};
const V kFieldCentre = {kLeftEye[0] + 20000.0, kCarSide - 2000.0, 0.0};

// The glass normal halfway between the eye and the field's centre.
V glass_normal() { return unit(add(unit(sub(kLeftEye, kGlassCentre)), unit(sub(kFieldCentre, kGlassCentre)))); }

tag_t build_glass(V n) {
    const V centre = sub(kGlassCentre, scale(kGlassRadius, n));
    const V up = unit(sub(V{0, 0, 1}, scale(n[2], n)));
    return host_testing::make_spherical_patch(centre.data(), kGlassRadius, n.data(), up.data(), 190.0, 120.0);
}

// Backlite of two planar faces: (2500, +-500, 1400) down to (3000, +-575, 1000).
std::vector<tag_t> build_backlite() {
    const V top_l = {2500, -500, 1400}, top_r = {2500, 500, 1400};
    const V mid_l = {2750, -537.5, 1200}, mid_r = {2750, 537.5, 1200};
    const V low_l = {3000, -575, 1000}, low_r = {3000, 575, 1000};
    auto face = [](V a, V b, V c, V d) {
        const double poles[12] = {a[0], a[1], a[2], b[0], b[1], b[2], c[0], c[1], c[2], d[0], d[1], d[2]};
        const tag_t sheet = host_testing::make_bspline_sheet(2, 2, poles, 1, 1);
        hm_list_p_t faces = nullptr;
        tag_t f = 0;
        if (HM_MODL_ask_body_faces(sheet, &faces) == 0) HM_MODL_ask_list_item(faces, 0, &f);
        HM_MODL_delete_list(&faces);
        HM_OBJ_set_name(sheet, "BACKLITE");
        return f;
    };
    return {face(top_l, top_r, mid_l, mid_r), face(mid_l, mid_r, low_l, low_r)};
}

std::vector<tag_t> edges_of(tag_t body) {
    hm_list_p_t faces = nullptr, edges = nullptr;
    tag_t face = 0;
    HM_MODL_ask_body_faces(body, &faces);
    HM_MODL_ask_list_item(faces, 0, &face);
    HM_MODL_delete_list(&faces);
    HM_MODL_ask_face_edges(face, &edges);
    int n = 0;
    HM_MODL_ask_list_count(edges, &n);
    std::vector<tag_t> result(n);
    for (int i = 0; i < n; ++i) HM_MODL_ask_list_item(edges, i, &result[i]);
    HM_MODL_delete_list(&edges);
    return result;
}

void print_checks(tag_t glass, const std::vector<tag_t>& bezel, const std::vector<tag_t>& backlite) {
    std::printf("Input checks of the mirror dialog\n");
    std::printf("  bezel (the glass's %zu edges) is one closed loop: %s\n", bezel.size(),
                HM_VD_MC_check_curves_edges_loop(static_cast<int>(bezel.size()), bezel.data()) ? "yes" : "no");
    tag_t curve = 0;
    double corner[3] = {0, 0, 0};
    if (VD_create_curve_from_edge(bezel[0], &curve) == 0) {
        HM_VD_CURVE_ask_point_on_curve(curve, 0.0, corner);
        HM_OBJ_delete_object(curve);
    }
    std::printf("  prime point at the glass corner (%.1f, %.1f, %.1f): %d (1 = on the perimeter)\n", corner[0],
                corner[1], corner[2], HM_VD_MC_check_prime_location(corner, glass));
    for (double entered : {1400.0, 1200.0}) {
        double radius = 0;
        bool agrees = false;
        const int status = HM_VD_MC_check_convex_value(glass, entered, &radius, &agrees);
        std::printf("  convex radius against %.0f: status %d, measured %.2f (glass %.0f), %s\n", entered, status,
                    radius, kGlassRadius, agrees ? "agrees" : "differs");
    }
    std::printf("  backlite faces sew into one sheet: %s\n",
                HM_VD_MC_check_backlite(static_cast<int>(backlite.size()), backlite.data()) ? "yes" : "no");
}

void print_record(const char* what, const mc_data_s& d) {
    std::printf("\n%s\n  region \"%s\", standard \"%s\"\n", what, d.region_name, d.standard_name);
    std::printf("  eye points from the %s (method flag %d)\n", d.eye_method == 0 ? "eyellipse" : "ocular points",
                d.eye_method);
    std::printf("  eye reference point (%.1f, %.1f, %.1f), saved (%.1f, %.1f, %.1f)\n", d.eye_reference_point[0],
                d.eye_reference_point[1], d.eye_reference_point[2], d.saved_eye_reference_point[0],
                d.saved_eye_reference_point[1], d.saved_eye_reference_point[2]);
    std::printf("  tolerances %.3f mm, %.3f deg; certifies flag %d; warnings table %s\n", d.distance_tolerance,
                d.angle_tolerance, d.certifies, d.warnings ? "built" : "missing");
}

mc_input_data_t input(int kind, int row, tag_t glass) {
    mc_input_data_t in = mirror_current_runs::base_input(kind, row);
    in.mirror = glass;
    for (int i = 0; i < 3; ++i) in.mirror_reference_point[i] = kGlassCentre[i];
    in.mirror_shape = 1;
    in.user_radius = kGlassRadius;
    in.standard_distance = 20000.0;
    in.standard_value = 4000.0;
    return in;
}

void print_pierce(V n) {
    mc_mirror_surface_record surface{};
    surface.radius = kGlassRadius;
    surface.curvature = 1.0 / kGlassRadius;
    for (int i = 0; i < 3; ++i) {
        surface.vertex[i] = kGlassCentre[i];
        surface.normal[i] = n[i];
        surface.centre[i] = kGlassCentre[i] - kGlassRadius * n[i];
    }
    const double tolerances[2] = {0.01, 0.05};
    double x[3];
    const int status = HM_VD_MC_pierce(tolerances, &surface, kLeftEye.data(), kFarOuterCorner.data(), x);
    std::printf("\nLeft ocular point (%.1f, %.1f, %.1f) and the far outer field corner (%.1f, %.1f, %.1f)\n",
                kLeftEye[0], kLeftEye[1], kLeftEye[2], kFarOuterCorner[0], kFarOuterCorner[1], kFarOuterCorner[2]);
    if (status != 0) {
        std::printf("  HM_VD_MC_pierce: status %d\n", status);
        return;
    }
    std::printf("  seen on the glass at (%.2f, %.2f, %.2f), %.2f mm from the glass centre\n", x[0], x[1], x[2],
                std::sqrt(dot(sub({x[0], x[1], x[2]}, kGlassCentre), sub({x[0], x[1], x[2]}, kGlassCentre))));
    double pierce[3], r[3];
    if (HM_VD_MC_reflex(&surface, kLeftEye.data(), x, tolerances, pierce, r) == 0) {
        const V to_corner = unit(sub(kFarOuterCorner, {pierce[0], pierce[1], pierce[2]}));
        const double off = std::acos(std::fmin(1.0, dot({r[0], r[1], r[2]}, to_corner))) * 180.0 / M_PI;
        std::printf("  HM_VD_MC_reflex: the reflected ray misses the corner by %.4f deg (%.1f mm at 20 m)\n", off,
                    off * M_PI / 180.0 * 20000.0);
    }
    host_testing::make_line({kLeftEye[0], kLeftEye[1], kLeftEye[2]}, {x[0], x[1], x[2]});
    host_testing::make_line({x[0], x[1], x[2]}, {kFarOuterCorner[0], kFarOuterCorner[1], kFarOuterCorner[2]});
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "mirror-output";
    ::mkdir(folder.c_str(), 0755);
    host_testing::reset();
    host_testing::make_part("sedan_mirrors", false);

    host_testing::EyellipseSpec eyellipse;
    eyellipse.centroids = {kLeftCentroid, kCyclopsCentroid, kRightCentroid};
    eyellipse.lengths = {173.0, 50.0, 86.0};
    eyellipse.lengths_95 = kAxisLengths95;
    eyellipse.lengths_99 = {287.1, 85.3, 132.1};
    host_testing::make_eyellipse("EYELLIPSE_95", eyellipse);

    const V n = glass_normal();
    const tag_t glass = build_glass(n);
    const std::vector<tag_t> bezel = edges_of(glass);
    const std::vector<tag_t> backlite = build_backlite();
    print_checks(glass, bezel, backlite);

    mc_input_data_t inside = input(0, 0, 0);
    inside.backlite_count = static_cast<int>(backlite.size());
    inside.backlite_faces = backlite.data();
    mc_data_s inside_record{};
    HM_VD_MC_init_data(&inside, &inside_record);
    print_record("FMVSS 111 inside-mirror record (kind 0, row 0)", inside_record);
    std::printf("  eyellipse conics made: %d; eye reference point = cyclops centroid (%.1f, %.1f, %.1f) of SAE J941\n",
                (inside_record.eyellipse_conics[0] != 0) + (inside_record.eyellipse_conics[1] != 0),
                kCyclopsCentroid[0], kCyclopsCentroid[1], kCyclopsCentroid[2]);
    for (int i = 0; i < 2; ++i) {
        const tag_t conic = inside_record.eyellipse_conics[i];
        if (conic == 0) continue;
        double start[3], quarter[3];
        HM_VD_CURVE_ask_point_on_curve(conic, 0.0, start);
        HM_VD_CURVE_ask_point_on_curve(conic, 0.25, quarter);
        const V& centroid = i == 0 ? kLeftCentroid : kRightCentroid;
        std::printf("  plan-view conic %d about (%.1f, %.1f, %.1f): semi-axes %.2f x %.2f mm (J941: %.2f x %.2f)\n",
                    i + 1, centroid[0], centroid[1], centroid[2], start[0] - centroid[0], quarter[1] - centroid[1],
                    kAxisLengths95[0] / 2, kAxisLengths95[1] / 2);
    }

    mc_input_data_t driver = input(1, 6, glass);
    driver.bezel_count = static_cast<int>(bezel.size());
    driver.bezels = bezel.data();
    mc_data_s driver_record{};
    HM_VD_MC_init_data(&driver, &driver_record);
    print_record("ECE R46 Class III far driver-mirror record (kind 1, row 6, back angle 25 deg)", driver_record);

    print_pierce(n);

    HM_VD_MC_release_data(&inside_record);
    HM_VD_MC_release_data(&driver_record);
    std::printf("\nLive memory-manager blocks after release: %zu\n", host_testing::live_allocations());

    const std::string step = folder + "/mirror_checks.step";
    const int count = host_testing::write_step(step.c_str());
    if (count <= 0) {
        std::fprintf(stderr, "writing %s failed\n", step.c_str());
        return 1;
    }
    std::printf("Result geometry written: %s (%d objects; open it in any CAD viewer)\n", step.c_str(), count);
    return 0;
}

// The left-hand-drive sedan of the mirror examples: its SgRP, the driver's
// convex outside mirror, the two-face backlite and the inside mirror glass.
// Vehicle frame x rearward, y to the right (driver at -y), z up, ground at
// z = 0; millimetres.
#ifndef CARVELL_EXAMPLES_MIRROR_SEDAN_H
#define CARVELL_EXAMPLES_MIRROR_SEDAN_H

#include "host_testing.h"
#include "omvra.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace mirror_sedan {

using V = std::array<double, 3>;
inline V add(V a, V b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
inline V sub(V a, V b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
inline V scale(double k, V a) { return {k * a[0], k * a[1], k * a[2]}; }
inline double dot(V a, V b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
inline V unit(V a) { return scale(1.0 / std::sqrt(dot(a, a)), a); }

inline const V kSgrp = {1250.0, -370.0, 520.0};
// SAE J941 95th-percentile eyellipse centroids (left and right eye).
inline const V kLeftCentroid = {1290.0, -402.5, 1158.0};
inline const V kRightCentroid = {1290.0, -337.5, 1158.0};
// Left ocular point of the plain ocular method: SgRP + (0, -32.5, 635).
inline const V kLeftEye = add(kSgrp, {0.0, -32.5, 635.0});
// Driver mirror: convex glass R 1400, 190 x 120, centred here.
inline const V kGlassCentre = {650.0, -1000.0, 1000.0};
inline constexpr double kGlassRadius = 1400.0;
// ECE R46 Class III: the car's side at y = -900.
inline constexpr double kCarSide = -900.0;
// Inside mirror: flat glass 250 x 65 centred here.
inline const V kInsideCentre = {650.0, 0.0, 1210.0};

inline tag_t first_face(tag_t body) {
    hm_list_p_t faces = nullptr;
    tag_t face = 0;
    if (HM_MODL_ask_body_faces(body, &faces) == 0) HM_MODL_ask_list_item(faces, 0, &face);
    HM_MODL_delete_list(&faces);
    return face;
}

inline std::vector<tag_t> edges_of(tag_t body) {
    hm_list_p_t edges = nullptr;
    HM_MODL_ask_face_edges(first_face(body), &edges);
    int n = 0;
    HM_MODL_ask_list_count(edges, &n);
    std::vector<tag_t> result(n);
    for (int i = 0; i < n; ++i) HM_MODL_ask_list_item(edges, i, &result[i]);
    HM_MODL_delete_list(&edges);
    return result;
}

// The glass normal halfway between the left eye and the Class III field's centre.
inline V glass_normal() {
    const V field = {kLeftEye[0] + 20000.0, kCarSide - 2000.0, 0.0};
    return unit(add(unit(sub(kLeftEye, kGlassCentre)), unit(sub(field, kGlassCentre))));
}

// A patch about the glass centre on the glass's sphere, or `standoff` in
// front of it on a concentric sphere (the bezel's opening).
inline tag_t glass_patch(double width, double height, double standoff = 0.0) {
    const V n = glass_normal();
    const V centre = sub(kGlassCentre, scale(kGlassRadius, n));
    const V up = unit(sub(V{0, 0, 1}, scale(n[2], n)));
    return host_testing::make_spherical_patch(centre.data(), kGlassRadius + standoff, n.data(), up.data(), width,
                                              height);
}

// Backlite of two planar faces: (2500, +-500, 1400) down to (3000, +-575, 1000).
// `lift_lower` raises the lower face so that the two faces no longer meet.
inline std::vector<tag_t> backlite(double lift_lower = 0.0, const char* name = "BACKLITE") {
    const V top_l = {2500, -500, 1400}, top_r = {2500, 500, 1400};
    const V mid_l = {2750, -537.5, 1200}, mid_r = {2750, 537.5, 1200};
    const V low_l = {3000, -575, 1000}, low_r = {3000, 575, 1000};
    auto face = [name](V a, V b, V c, V d) {
        const double poles[12] = {a[0], a[1], a[2], b[0], b[1], b[2], c[0], c[1], c[2], d[0], d[1], d[2]};
        const tag_t sheet = host_testing::make_bspline_sheet(2, 2, poles, 1, 1);
        HM_OBJ_set_name(sheet, name);
        return first_face(sheet);
    };
    const V lift = {0, 0, lift_lower};
    return {face(top_l, top_r, mid_l, mid_r), face(add(mid_l, lift), add(mid_r, lift), add(low_l, lift),
                                                  add(low_r, lift))};
}

// Mid point of the two eyellipse centroids: where the inside glass is aimed.
inline const V kMidCentroid = {1290.0, -370.0, 1158.0};

// The inside glass's normal, aimed in plan view halfway between `eye` and
// straight rearward, then tipped 6 degrees down so that the driver sees the
// road through it.
inline V inside_normal(V eye = kMidCentroid) {
    const V plan = unit(add(unit({eye[0] - kInsideCentre[0], eye[1] - kInsideCentre[1], 0.0}), {1.0, 0.0, 0.0}));
    const double tip = 6.0 * 3.14159265358979323846 / 180.0;
    return add(scale(std::cos(tip), plan), {0.0, 0.0, -std::sin(tip)});
}

// The glass's horizontal direction across the car (towards +y).
inline V inside_across(V eye = kMidCentroid) {
    const V n = inside_normal(eye);
    return unit({-n[1], n[0], 0.0});
}

// The glass's upward direction in its plane.
inline V inside_up(V eye = kMidCentroid) {
    const V n = inside_normal(eye), u = inside_across(eye);
    return {n[1] * u[2] - n[2] * u[1], n[2] * u[0] - n[0] * u[2], n[0] * u[1] - n[1] * u[0]};
}

// The four corners of the 250 x 65 inside glass.
inline std::array<V, 4> inside_corners(V eye = kMidCentroid) {
    const V u = scale(125.0, inside_across(eye)), v = scale(32.5, inside_up(eye));
    const V c = kInsideCentre;
    return {sub(sub(c, u), v), sub(add(c, u), v), add(add(c, u), v), add(sub(c, u), v)};
}

// The flat inside glass, 250 x 65, aimed at `eye` as `inside_normal` says.
inline tag_t inside_glass(V eye = kMidCentroid, const char* name = "INSIDE_MIRROR") {
    const std::array<V, 4> k = inside_corners(eye);
    const V across = sub(k[1], k[0]), up = sub(k[3], k[0]);
    const tag_t sheet = host_testing::make_planar_sheet(k[0].data(), across.data(), up.data());
    HM_OBJ_set_name(sheet, name);
    return sheet;
}

// Prints the names of the run's result objects, six to a line (`unnamed`
// for an object without a name).
inline void print_result_objects(hm_list_p_t results, int layer, const char* unnamed) {
    int n = 0;
    HM_MODL_ask_list_count(results, &n);
    std::printf("  %d result objects on layer %d:", n, layer);
    for (int i = 0; i < n; ++i) {
        tag_t t = 0;
        char name[64] = "";
        HM_MODL_ask_list_item(results, i, &t);
        HM_OBJ_ask_name(t, name, sizeof name);
        std::printf("%s%s", i % 6 ? " " : "\n    ", name[0] ? name : unnamed);
    }
    std::printf("\n");
}

// Prints what the listing window gained since `seen`, and remembers it.
inline void print_new_listing(std::string* seen) {
    const std::string& all = host_testing::listing_window();
    if (all.size() > seen->size()) std::printf("  listing window:\n%s", all.substr(seen->size()).c_str());
    *seen = all;
}

}  // namespace mirror_sedan

#endif

// The sedan of the certification tests: a left-hand-drive car with its
// two-face backlite, a flat inside mirror at the windshield header, and the
// driver's convex outside mirror with its bezel. Vehicle frame x rearward,
// y to the right (driver at -y), z up; ground at z = 0; millimetres.
#ifndef CARVELL_TESTS_MIRROR_SEDAN_FIXTURE_H
#define CARVELL_TESTS_MIRROR_SEDAN_FIXTURE_H

#include "hm_vd_mc.h"
#include "host_testing.h"
#include "mirror_fixtures.h"
#include "omvra.h"

#include <array>
#include <cmath>
#include <vector>

namespace sedan {

using V = std::array<double, 3>;
inline V add(V a, V b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
inline V sub(V a, V b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
inline V scale(double k, V a) { return {k * a[0], k * a[1], k * a[2]}; }
inline double dot(V a, V b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
inline V unit(V a) { return scale(1.0 / std::sqrt(dot(a, a)), a); }

inline const V kSgrp = {1250.0, -370.0, 520.0};
inline const V kGlassCentre = {650.0, -1000.0, 1000.0};
inline constexpr double kGlassRadius = 1400.0;
inline constexpr double kCarSide = -900.0;
inline const V kInsideCentre = {650.0, 0.0, 1210.0};

inline std::vector<tag_t> faces_of(tag_t body) {
    hm_list_p_t faces = nullptr;
    HM_MODL_ask_body_faces(body, &faces);
    int n = 0;
    HM_MODL_ask_list_count(faces, &n);
    std::vector<tag_t> out(n);
    for (int i = 0; i < n; ++i) HM_MODL_ask_list_item(faces, i, &out[i]);
    HM_MODL_delete_list(&faces);
    return out;
}

inline std::vector<tag_t> edges_of(tag_t body) {
    hm_list_p_t edges = nullptr;
    HM_MODL_ask_face_edges(faces_of(body)[0], &edges);
    int n = 0;
    HM_MODL_ask_list_count(edges, &n);
    std::vector<tag_t> out(n);
    for (int i = 0; i < n; ++i) HM_MODL_ask_list_item(edges, i, &out[i]);
    HM_MODL_delete_list(&edges);
    return out;
}

// The backlite: two planar faces from (2500, +-500, 1400) down to (3000, +-575, 1000).
inline std::vector<tag_t> backlite(double shift_second = 0.0) {
    const V top_l = {2500, -500, 1400}, top_r = {2500, 500, 1400};
    const V mid_l = {2750, -537.5, 1200}, mid_r = {2750, 537.5, 1200};
    const V low_l = {3000, -575, 1000}, low_r = {3000, 575, 1000};
    auto face = [](V a, V b, V c, V d) {
        const double poles[12] = {a[0], a[1], a[2], b[0], b[1], b[2], c[0], c[1], c[2], d[0], d[1], d[2]};
        const tag_t sheet = host_testing::make_bspline_sheet(2, 2, poles, 1, 1);
        HM_OBJ_set_name(sheet, "BACKLITE_GLASS");
        return faces_of(sheet)[0];
    };
    const V lift = {0, 0, shift_second};
    return {face(top_l, top_r, mid_l, mid_r), face(add(mid_l, lift), add(mid_r, lift), add(low_l, lift),
                                                  add(low_r, lift))};
}

// The left ocular point of the ECE rows (back angle 25 degrees): SgRP + (0, -32.5, 635).
inline V left_eye() { return add(kSgrp, {0.0, -32.5, 635.0}); }

// The driver mirror's glass normal, halfway between the eye and the field.
inline V glass_normal() {
    const V field = {left_eye()[0] + 20000.0, kCarSide - 2000.0, 0.0};
    return unit(add(unit(sub(left_eye(), kGlassCentre)), unit(sub(field, kGlassCentre))));
}

inline tag_t convex_patch(double width, double height) {
    const V n = glass_normal();
    const V centre = sub(kGlassCentre, scale(kGlassRadius, n));
    const V up = unit(sub(V{0, 0, 1}, scale(n[2], n)));
    return host_testing::make_spherical_patch(centre.data(), kGlassRadius, n.data(), up.data(), width, height);
}

// The flat inside mirror glass, 250 x 65, facing rearward.
inline tag_t inside_glass() {
    const double corner[3] = {kInsideCentre[0], kInsideCentre[1] - 125.0, kInsideCentre[2] - 32.5};
    const double u[3] = {0, 250, 0}, v[3] = {0, 0, 65};
    const tag_t sheet = host_testing::make_planar_sheet(corner, u, v);
    HM_OBJ_set_name(sheet, "INSIDE_GLASS");
    return sheet;
}

// The driver outside mirror of ECE R46 Class III far (kind 1, row 6).
inline mc_input_data_t driver_input(tag_t glass) {
    mc_input_data_t in = mirror_testing::dialog_input(1, 6);
    for (int i = 0; i < 3; ++i) {
        in.eye_reference_point[i] = kSgrp[i];
        in.mirror_reference_point[i] = kGlassCentre[i];
        in.prime_point[i] = kGlassCentre[i];
    }
    in.mirror = glass;
    in.mirror_shape = 1;
    in.user_radius = kGlassRadius;
    in.lower_legal_radius = 1200.0;
    in.upper_legal_radius = 99999.0;
    in.standard_distance = 20000.0;
    in.standard_value = 4000.0;
    in.first_target_point[1] = kCarSide;
    in.head_rotation = false;
    return in;
}

// The inside mirror of ECE R46 Class I (kind 0, row 1: ocular points,
// 20 m wide at 60 m behind the eyes).
inline mc_input_data_t inside_input(tag_t glass, const std::vector<tag_t>& lite) {
    mc_input_data_t in = mirror_testing::dialog_input(0, 1);
    for (int i = 0; i < 3; ++i) {
        in.eye_reference_point[i] = kSgrp[i];
        in.mirror_reference_point[i] = kInsideCentre[i];
        in.prime_point[i] = kInsideCentre[i];
    }
    in.mirror = glass;
    in.mirror_shape = 0;
    in.standard_distance = 60000.0;
    in.standard_value = 20000.0;
    in.backlite_count = static_cast<int>(lite.size());
    in.backlite_faces = lite.data();
    in.head_rotation = false;
    return in;
}

}  // namespace sedan

#endif

// The sedan of the certification tests: a left-hand-drive car with its
// two-face backlite, a flat inside mirror at the windshield header, and the
// driver's convex outside mirror with its bezel. Vehicle frame x rearward,
// y to the right (driver at -y), z up; ground at z = 0; millimetres.
#ifndef CARVELL_TESTS_MIRROR_SEDAN_FIXTURE_H
#define CARVELL_TESTS_MIRROR_SEDAN_FIXTURE_H

#include "hm_vd_mc.h"
#include "host_testing.h"
#include "mirror_fixtures.h"
#include "../../examples/mirror_sedan.h"
#include "omvra.h"

#include <array>
#include <cmath>
#include <vector>

namespace sedan {

using namespace mirror_sedan;

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

// A corner of the glass: the start of its first edge.
inline V glass_corner(tag_t glass) {
    double a[3], b[3];
    int n = 0;
    HM_MODL_ask_edge_verts(edges_of(glass)[0], a, b, &n);
    return {a[0], a[1], a[2]};
}

inline tag_t convex_patch(double width, double height) { return glass_patch(width, height); }

// The mid ocular point of the ECE rows: SgRP + (0, 0, 635); the tests aim
// the inside glass at it.
inline V mid_eye() { return add(kSgrp, {0.0, 0.0, 635.0}); }

inline V inside_normal() { return mirror_sedan::inside_normal(mid_eye()); }
inline std::array<V, 4> inside_corners() { return mirror_sedan::inside_corners(mid_eye()); }
inline tag_t inside_glass() { return mirror_sedan::inside_glass(mid_eye(), "INSIDE_GLASS"); }

// The backlite under a name of its own, so that results named "BACKLITE"
// are told apart from the input faces.
inline std::vector<tag_t> backlite(double lift_lower = 0.0) {
    return mirror_sedan::backlite(lift_lower, "BACKLITE_GLASS");
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

// The current engine's certification runs of the mirror sedan: its
// eyellipse, and the caller's input for the inside mirror through the
// backlite and for the driver's convex outside mirror. The programs that
// link the current release share them (the certification example, and the
// figures that the 2003 example prints beside its own).
#ifndef CARVELL_EXAMPLES_MIRROR_CURRENT_RUNS_H
#define CARVELL_EXAMPLES_MIRROR_CURRENT_RUNS_H

#include "hm_vd_mc.h"
#include "host_testing.h"
#include "mirror_sedan.h"
#include "omvra.h"

#include <vector>

namespace mirror_current_runs {

using namespace mirror_sedan;

// The eyellipse instance "EYELLIPSE_95": SAE J941 95th percentile about the
// sedan's eye centroids, with its neck pivots.
inline void make_eyellipse() {
    host_testing::EyellipseSpec e;
    e.centroids = {kLeftCentroid, add(kLeftCentroid, {0, 32.5, 0}), kRightCentroid};
    // SAE J941 axis lengths (x, y, z), 95th and 99th percentile.
    e.lengths = {206.4, 60.3, 93.4};
    e.lengths_95 = {206.4, 60.3, 93.4};
    e.lengths_99 = {287.1, 85.3, 132.1};
    e.pivots_1 = {add(kLeftCentroid, {98.54, 0, -50}), add(kRightCentroid, {98.54, 0, -50})};
    e.pivots_2 = e.pivots_1;
    host_testing::make_eyellipse("EYELLIPSE_95", e);
}

inline mc_input_data_t base_input(int kind, int row) {
    mc_input_data_t in{};
    in.vehicle_orientation[0] = in.vehicle_orientation[4] = in.vehicle_orientation[8] = 1.0;
    in.mirror_kind = kind;
    in.standard_row = row;
    in.eyellipse_rule_name = "EYELLIPSE_95";
    for (int i = 0; i < 3; ++i) in.eye_reference_point[i] = kSgrp[i];
    in.ocular_back_angle_index = 25;
    in.positioning = true;
    in.lower_legal_radius = 1200.0;
    in.upper_legal_radius = 99999.0;
    const int colours[7] = {36, 186, 211, 42, 6, 78, 108};
    for (int i = 0; i < 7; ++i) in.colours[i] = colours[i];
    in.result_layer = 200;
    return in;
}

// The geometry a run's input borrows.
struct RunGeometry {
    std::vector<tag_t> backlite;
    std::vector<tag_t> restraints;
    std::vector<tag_t> bezel;
};

// FMVSS 111 inside mirror: the flat glass, the two-face backlite and the two
// rear head restraints (250 x 100 x 200 at x 2300, y -/+370) as
// mirror-target restrictions; 20 degrees at 61000 mm.
inline mc_input_data_t inside_input(RunGeometry* g) {
    const tag_t glass = inside_glass();
    g->backlite = backlite();
    const double size[3] = {250.0, 100.0, 200.0};
    for (double y : {-370.0, 370.0}) {
        const double corner[3] = {2300.0 - 0.5 * size[0], y - 0.5 * size[1], 1150.0 - 0.5 * size[2]};
        g->restraints.push_back(host_testing::make_box(corner, size));
        HM_OBJ_set_name(g->restraints.back(), "HEAD_RESTRAINT");
    }
    mc_input_data_t in = base_input(0, 0);
    in.mirror = glass;
    for (int i = 0; i < 3; ++i) in.mirror_reference_point[i] = in.prime_point[i] = kInsideCentre[i];
    in.standard_distance = 61000.0;
    in.standard_value = 20.0;
    in.backlite_count = static_cast<int>(g->backlite.size());
    in.backlite_faces = g->backlite.data();
    in.mirror_target_restriction_count = static_cast<int>(g->restraints.size());
    in.mirror_target_restrictions = g->restraints.data();
    return in;
}

// The driver's convex outside mirror, R 1400 glass 190 x 120 with its bezel
// opening 15 mm proud, on standards row `row`: 4000 mm of ground from the
// car's side at 20000 mm.
inline mc_input_data_t driver_input(int row, RunGeometry* g) {
    const tag_t glass = glass_patch(190.0, 120.0);
    HM_OBJ_set_name(glass, "DRIVER_MIRROR");
    const tag_t opening = glass_patch(180.0, 110.0, 15.0);
    HM_OBJ_set_name(opening, "BEZEL_OPENING");
    g->bezel = edges_of(opening);
    mc_input_data_t in = base_input(1, row);
    in.mirror = glass;
    for (int i = 0; i < 3; ++i) in.mirror_reference_point[i] = in.prime_point[i] = kGlassCentre[i];
    in.mirror_shape = 1;
    in.user_radius = kGlassRadius;
    in.standard_distance = 20000.0;
    in.standard_value = 4000.0;
    in.first_target_point[1] = kCarSide;
    in.bezel_count = static_cast<int>(g->bezel.size());
    in.bezels = g->bezel.data();
    return in;
}

}  // namespace mirror_current_runs

#endif

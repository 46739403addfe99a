// Measures of windshield sheets: the reference points on the vehicle centre
// section, the area of sheets and the area two sheets have in common.
#include "ws_internal.h"

#include "belmorra.h"
#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/owners.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace carvell::windshield {
namespace {

// Edge midpoints farther than this from the centre plane do not stand for
// the section (part units).
constexpr double kCentrePlaneReach = 0.1;
// Joining the section pieces: ten times the modelling tolerances.
constexpr double kJoinFactor = 10.0;
// Mass properties: sheets, density 1, accuracy option 1 with accuracy 1.
constexpr int kSheetMassType = 2;
constexpr double kSquareCmToSquareMm = 100.0;

// The section curve of the sheet with the centre plane, or 0 (pieces that
// were joined are deleted; the section itself stays in the part).
tag_t centre_section_curve(tag_t sheet, const Frame& frame, double tolerance) {
    tag_t plane = 0;
    if (HM_MODL_create_plane(frame.origin, frame.y_axis(), &plane) || plane == 0) return 0;
    int count = 0;
    HM_MODL_intersection_t** entries = nullptr;
    const int r = HM_MODL_intersect_objects(plane, sheet, tolerance, &count, &entries);
    (void)HM_OBJ_delete_object(plane);
    std::vector<tag_t> curves;
    for (int i = 0; r == 0 && i < count; ++i)
        if (entries[i]->kind == HM_INTERSECTION_CURVE) curves.push_back(entries[i]->curve);
    detail::free_intersection_entries(count, entries);
    if (curves.size() == 1) return curves[0];
    tag_t section = 0;
    if (curves.size() > 1) {
        int loops = 0, closed = 0;
        detail::SmBlock<int> per_loop;
        tag_t** loop_arrays = nullptr;
        if (HM_VD_CURVE_make_loop_curve_from_array(curves.data(), int(curves.size()), tolerance, &loops, &closed,
                                                   per_loop.out(), &loop_arrays) == 0) {
            for (int i = 0; i < loops; ++i) SM_free(loop_arrays[i]);
            SM_free(loop_arrays);
            if (loops == 1 && closed == 0) {
                detail::HostList list;
                (void)HM_MODL_create_list(list.out());
                for (tag_t c : curves) (void)HM_MODL_put_list_item(list.get(), c);
                double saved = tolerance;
                (void)HM_MODL_set_distance_tolerance(kJoinFactor * tolerance);
                if (HM_CURVE_create_joined_curve(list.get(), 0, &section) != 0) section = 0;
                (void)HM_MODL_set_distance_tolerance(saved);
            }
        }
        for (tag_t c : curves) detail::delete_if_alive(c);
    }
    return section;
}

// The sheet edge whose midpoint lies nearest the centre plane, within reach.
tag_t edge_on_centre_plane(tag_t sheet, const Frame& frame) {
    detail::HostList edges;
    if (HM_MODL_ask_body_edges(sheet, edges.out())) return 0;
    tag_t best = 0;
    double nearest = kCentrePlaneReach;
    for (tag_t edge : edges.items()) {
        double mid[3];
        if (HM_VD_CURVE_ask_point_on_curve(edge, 0.5, mid)) continue;
        const double y = std::fabs(VD_LOCAL_Y(mid, frame.origin, frame.matrix));
        if (y < nearest) {
            nearest = y;
            best = edge;
        }
    }
    return best;
}

}  // namespace

int ws_ask_center_section_points(tag_t sheet, const Frame& frame, double mid_point[3], double low_point[3]) {
    double tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    tag_t section = centre_section_curve(sheet, frame, tolerance);
    if (section == 0) section = edge_on_centre_plane(sheet, frame);
    if (section == 0) return -1;
    double start[3], end[3];
    if (HM_VD_CURVE_ask_point_on_curve(section, 0.5, mid_point) || HM_VD_CURVE_ask_point_on_curve(section, 0.0, start) ||
        HM_VD_CURVE_ask_point_on_curve(section, 1.0, end))
        return -1;
    const double* low = start[2] < end[2] ? start : end;
    std::copy(low, low + 3, low_point);
    return 0;
}

double ws_ask_sheet_area(int count, const tag_t* sheets) {
    if (count < 1 || !sheets) return 0.0;
    int units = 1;
    (void)HM_PART_ask_units(HM_ASSEM_ask_work_part(), &units);
    const bool millimetres = units == 1;
    const double accuracy[11] = {1.0};
    double props[47] = {0}, statistics[13];
    if (HM_MODL_ask_mass_props_3d(count, sheets, kSheetMassType, millimetres ? HM_MASS_UNITS_CM : HM_MASS_UNITS_INCH,
                                  1.0, 1, accuracy, props, statistics))
        return 0.0;
    return millimetres ? props[0] * kSquareCmToSquareMm : props[0];
}

int ws_ask_overlap_area(tag_t a, tag_t b, double& overlap) {
    overlap = 0.0;
    double tolerance = 0.0, distance = 0.0, pa[3], pb[3];
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    if (int r = HM_MODL_ask_minimum_dist(a, b, 0, nullptr, 0, nullptr, &distance, pa, pb)) return r;
    if (distance > tolerance) return 0;
    const double area_a = ws_ask_sheet_area(1, &a), area_b = ws_ask_sheet_area(1, &b);
    // A failed union is a failed measure, not an empty overlap.
    if (int r = HM_MODL_operations(a, b, HM_MODL_UNITE)) return r;
    overlap = area_a + area_b - ws_ask_sheet_area(1, &a);
    return 0;
}

}  // namespace carvell::windshield

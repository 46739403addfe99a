// The 2003 release's wiped percentage: the glass between the four planes of
// a test area, and the share of it inside the wiped outline.
#include "r2003_windshield.h"
#include "release2003/windshield.h"
#include "windshield/ws_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include "elvosk.h"
#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <vector>

namespace {

using namespace carvell;

constexpr int kSides = 4;
// Sheets are sewn and trimmed by the planes at five times the distance tolerance.
constexpr double kSheetToleranceFactor = 5.0;
// Mass properties of sheets, density 1, accuracy option 1 with accuracy 1.
constexpr int kSheetMassType = 2;
constexpr double kCentimetresToMillimetres = 10.0;
constexpr double kNoArea = 1e-10;

// The centre of the sheet's area in part units; false when it cannot be measured.
bool centroid(tag_t sheet, double point[3]) {
    int units = 1;
    (void)HM_PART_ask_units(HM_ASSEM_ask_work_part(), &units);
    const bool millimetres = units == 1;
    const double accuracy[11] = {1.0};
    double props[47] = {0};
    if (HM_MODL_ask_mass_props_3d(1, &sheet, kSheetMassType, millimetres ? HM_MASS_UNITS_CM : HM_MASS_UNITS_INCH, 1.0,
                                  1, accuracy, props, nullptr))
        return false;
    const double factor = millimetres ? kCentimetresToMillimetres : 1.0;
    for (int c = 0; c < 3; ++c) point[c] = props[3 + c] * factor;
    return true;
}

double area(tag_t sheet) { return windshield::ws_ask_sheet_area(1, &sheet); }

// The glass of the test area: the faces copied and sewn, each sheet cut by
// each plane that crosses its edges, keeping keep_point; a sheet that no
// plane cut counts only when it lies off the normal side of all four planes.
struct TestArea {
    detail::Temporaries made;
    std::vector<tag_t> sheets;
    double total = 0.0;

    TestArea(int face_count, const tag_t* faces, const double keep[3], const double origins[4][3],
             const double normals[4][3]) {
        tag_t planes[kSides] = {0, 0, 0, 0};
        for (int k = 0; k < kSides; ++k)
            if (HM_MODL_create_plane(origins[k], normals[k], &planes[k]) || made.add(planes[k]) == 0) return;
        int count = 0;
        detail::SmBlock<tag_t> copies;
        (void)extract_and_sew_faces(face_count, faces, &count, copies.out());
        for (int i = 0; i < count; ++i) made.add(copies[i]);
        double tolerance = 0.0;
        (void)HM_MODL_ask_distance_tolerance(&tolerance);
        for (int i = 0; i < count; ++i) {
            const tag_t sheet = copies[i];
            bool cut = false;
            for (int k = 0; k < kSides; ++k) {
                if (!r2003::ws_old_plane_crosses_edges(sheet, planes[k])) continue;
                const HM_MODL_trim_object_t bound = {planes[k], 1};
                const HM_MODL_proj_method_t projection{};
                int gap_count = 0;
                detail::SmBlock<double> gaps;
                if (HM_VD_WS_trim_sheet(sheet, 1, &bound, &projection, 1, 1, keep, kSheetToleranceFactor * tolerance,
                                        &gap_count, gaps.out()) == 0)
                    cut = true;
            }
            if (!cut && !outside_all(sheet, origins, normals)) continue;
            sheets.push_back(sheet);
            total += area(sheet);
        }
    }

    static bool outside_all(tag_t sheet, const double origins[4][3], const double normals[4][3]) {
        double c[3];
        if (!centroid(sheet, c)) return false;
        for (int k = 0; k < kSides; ++k)
            if (HM_VD_judge_point_in_plane_side(c, origins[k], normals[k])) return false;
        return true;
    }
};

struct Wipers {
    double arm, blade;
    const double* pivot1;
    const double* pivot2;
    int curve_count;
    const tag_t* curves;
};

// The reference point of the band whose outline curve is `curve` about the
// pivot: on the arm-tip circle (radius A), towards the curve's nearer end
// (towards the meeting point of the outer circles in a ring of two wipers)
// or towards its middle.
bool band_reference(const Wipers& w, tag_t curve, const double pivot[3], bool towards_end, double reference[3]) {
    double b[3];
    if (towards_end ? r2003::ws_old_curve_end(curve, w.pivot1, w.pivot2, 0, b) != 0
                    : HM_VD_CURVE_ask_point_on_curve(curve, 0.5, b) != 0)
        return false;
    HM_VD_create_point_in_two_points(pivot, b, 2.0 / (w.blade / w.arm + 2.0), reference);
    return true;
}

// The wiped area of the sheets inside the loop: each sheet trimmed by the
// loop's curves around the reference point; a sheet the loop does not cut
// counts whole when its centre lies in the band. (The curves bound the trim
// as they are: one curve joined from them, with its corners, is not brought
// onto a curved glass as reliably as its smooth pieces.)
double wiped_in_loop(const Wipers& w, const std::vector<tag_t>& loop, const double reference[3], bool on_copies,
                     int pick_nearer, int use_first, const std::vector<tag_t>& sheets) {
    detail::Temporaries made;
    double wiped = 0.0;
    for (tag_t sheet : sheets) {
        tag_t target = sheet;
        if (on_copies && (HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &sheet, &target) || made.add(target) == 0)) continue;
        double c[3];
        const bool have_centre = centroid(target, c);
        if (windshield::trim_to_single_wiped_area(target, int(loop.size()), loop.data(), true, reference) == 0)
            wiped += area(target);
        else if (have_centre && r2003::ws_old_point_in_wiped_band(c, w.curve_count, pick_nearer, use_first, w.arm,
                                                                   w.blade, w.pivot1, w.pivot2))
            wiped += area(target);
    }
    return wiped;
}

double wiped_area(const Wipers& w, const std::vector<tag_t>& sheets) {
    double tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    int loop_count = 0, closed = 0;
    detail::SmBlock<int> per_loop;
    tag_t** arrays = nullptr;
    if (HM_VD_CURVE_make_loop_curve_from_array(w.curves, w.curve_count, tolerance, &loop_count, &closed,
                                               per_loop.out(), &arrays))
        return 0.0;
    std::vector<std::vector<tag_t>> loops;
    for (int i = 0; i < loop_count; ++i) {
        loops.emplace_back(arrays[i], arrays[i] + per_loop[i]);
        SM_free(arrays[i]);
    }
    SM_free(arrays);
    double reference[3];
    const bool ring = r2003::is_ring(w.curve_count);
    if (loops.size() == 1)
        return band_reference(w, w.curves[0], w.pivot1, ring, reference)
                   ? wiped_in_loop(w, loops[0], reference, false, 1, 1, sheets)
                   : 0.0;
    double wiped = 0.0;
    for (const std::vector<tag_t>& loop : loops) {
        auto holds = [&](int i) { return i < w.curve_count && std::count(loop.begin(), loop.end(), w.curves[i]) > 0; };
        const int first = holds(0) ? 0 : (holds(1) ? 1 : -1);
        if (first < 0) continue;
        const double* pivot = first == 0 ? w.pivot1 : w.pivot2;
        // Each band's own outline: the nearer end of its outer circle lies on
        // the glass's cut edge, on the outline itself, and picks no region;
        // the middle of the circle lies inside the band.
        if (band_reference(w, w.curves[first], pivot, false, reference))
            wiped += wiped_in_loop(w, loop, reference, true, 0, first == 0 ? 1 : 0, sheets);
    }
    return wiped;
}

bool percent_input_usable(int face_count, const tag_t* faces, const double keep[3], const double origins[4][3],
                          const double normals[4][3], int curve_count, const tag_t* curves, double arm, double blade,
                          const double p1[3], const double p2[3]) {
    if (!r2003::faces_usable(face_count, faces) || !r2003::numbers_usable(keep, 3) ||
        !r2003::planes_usable(origins, normals) || curve_count < 1 || !curves || !r2003::numbers_usable(&arm, 1) || !r2003::numbers_usable(&blade, 1) ||
        !(arm > 0.0) || !(blade > 0.0) || !r2003::numbers_usable(p1, 3) || !r2003::numbers_usable(p2, 3))
        return false;
    for (int i = 0; i < curve_count; ++i)
        if (!HM_VD_is_curve(curves[i])) return false;
    return true;
}

}  // namespace

void HM_VD_WS_calculate_percent(int face_count, const tag_t* faces, const double keep_point[3],
                                const double origins[4][3], const double normals[4][3], int curve_count,
                                const tag_t* curves, double arm_length, double blade_length, const double pivot1[3],
                                const double pivot2[3], double* percentage) {
    if (!percentage) return;
    *percentage = 0.0;
    if (!percent_input_usable(face_count, faces, keep_point, origins, normals, curve_count, curves, arm_length,
                              blade_length, pivot1, pivot2))
        return;
    (void)UI_set_status("calculating wiped pecentage to test area");
    r2003::DisplayOff display;
    try {
        TestArea test(face_count, faces, keep_point, origins, normals);
        if (test.total <= kNoArea) return;
        const Wipers wipers = {arm_length, blade_length, pivot1, pivot2, curve_count, curves};
        *percentage = wiped_area(wipers, test.sheets) / test.total * 100.0;
    } catch (...) {
        // A host failure leaves the percentage 0.
        (void)detail::caught_code(windshield::kSource, __LINE__);
        *percentage = 0.0;
    }
}

// The wiped region as sheets (the clear-vision sheet trimmed to each wiper's
// outline, two touching regions united) and the wiped share of each vision
// zone's test area.
#include "ws_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include "elvosk.h"
#include "tessik.h"

#include <cmath>
#include <vector>

namespace {

using namespace carvell::windshield;
namespace detail = carvell::detail;

enum CombinedCode { kCombinedOk = 0, kTrimFailed = 1, kUnionFailed = 2 };
// Layer of the one-wiper wiped copy.
constexpr unsigned kWipedLayer = 200;
constexpr double kNoArea = 1e-10;

// The wiper's outline curves that exist (a one-point outline has no spline).
std::vector<tag_t> made_curves(const tag_t* curves, int from, int to) {
    std::vector<tag_t> made;
    for (int i = from; i < to; ++i)
        if (curves[i] != NULL_TAG) made.push_back(curves[i]);
    return made;
}

hm_list_p_t list_of(const std::vector<tag_t>& curves) {
    hm_list_p_t list = nullptr;
    (void)HM_MODL_create_list(&list);
    for (tag_t c : curves) (void)HM_MODL_put_list_item(list, c);
    return list;
}

// A copy of the sheet trimmed to the region of the curves around the point.
int wiped_copy(tag_t sheet, unsigned layer, const std::vector<tag_t>& curves, const double tip[3], tag_t& copy) {
    copy = 0;
    if (curves.empty() || HM_VD_copy_object(layer, 1, &sheet, &copy) || copy == 0) return kTrimFailed;
    if (trim_to_single_wiped_area(copy, int(curves.size()), curves.data(), true, tip) != 0) {
        detail::delete_if_alive(copy);
        copy = 0;
        return kTrimFailed;
    }
    return kCombinedOk;
}

}  // namespace

int HM_VD_WS_ask_combined_wiped_area(tag_t sheet, int wiper_mode, int curve_count, int first_wiper_count,
                                     const tag_t* curves, const double mid_tip1[3], const double mid_tip2[3],
                                     bool* connected, hm_list_p_t* list1, hm_list_p_t* list2, tag_t* wiped1,
                                     tag_t* wiped2) {
    if (!curves || !mid_tip1 || !connected || !list1 || !list2 || !wiped1 || !wiped2 ||
        (wiper_mode != 2 && !mid_tip2))
        return HM_ERR_NULL_POINTER;
    *connected = true;
    *list1 = *list2 = nullptr;
    *wiped1 = *wiped2 = 0;
    if (curve_count < 1 || !detail::count_fits(curve_count, sizeof(tag_t)) || first_wiper_count < 0 ||
        first_wiper_count > curve_count || sheet == 0)
        return HM_ERR_BAD_ARGUMENT;
    if (!detail::in_model_space(mid_tip1, 3) || (wiper_mode != 2 && !detail::in_model_space(mid_tip2, 3)))
        return HM_ERR_BAD_ARGUMENT;
    if (wiper_mode == 2) {
        const std::vector<tag_t> all = made_curves(curves, 0, curve_count);
        tag_t copy = 0;
        if (int r = wiped_copy(sheet, kWipedLayer, all, mid_tip1, copy)) return r;
        *list1 = list_of(all);
        *wiped1 = copy;
        return kCombinedOk;
    }
    const std::vector<tag_t> first = made_curves(curves, 0, first_wiper_count);
    const std::vector<tag_t> second = made_curves(curves, first_wiper_count, curve_count);
    tag_t a = 0, b = 0;
    if (wiped_copy(sheet, HM_VD_KEEP_LAYER, first, mid_tip1, a)) return kTrimFailed;
    if (int r = wiped_copy(sheet, HM_VD_KEEP_LAYER, second, mid_tip2, b)) {
        detail::delete_if_alive(a);
        return r;
    }
    double tolerance = 0.0, gap = 0.0, pa[3], pb[3];
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    if (HM_MODL_ask_minimum_dist(a, b, 0, nullptr, 0, nullptr, &gap, pa, pb) == 0 && gap > tolerance) {
        ws_trace("\n+++ HM_VD_WS_ask_combined_wiped_area apart by %f", gap);
        *connected = false;
        *list1 = list_of(first);
        *list2 = list_of(second);
        *wiped1 = a;
        *wiped2 = b;
        return kCombinedOk;
    }
    if (HM_MODL_operations(a, b, HM_MODL_UNITE)) {
        ws_trace("\n+++ HM_VD_WS_ask_combined_wiped_area union failed");
        detail::delete_if_alive(a);
        detail::delete_if_alive(b);
        return kUnionFailed;
    }
    *wiped1 = a;
    (void)HM_VD_create_curves_by_boundary_edges(a, false, list1);
    return kCombinedOk;
}

namespace carvell::windshield {
namespace {

enum PercentCode { kPercentOk = 0, kNoWipedSheets = 2, kEyeOffSheet = 4, kZoneFailed = 5 };

// A copy of the sheet, logged for deletion at the next update.
tag_t temporary_copy(tag_t sheet) {
    tag_t copy = 0;
    if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &sheet, &copy) || copy == 0) return 0;
    (void)VD_log_body_to_delete(copy);
    return copy;
}

}  // namespace

int ws_ask_zone_percentage(tag_t sheet, const std::vector<tag_t>& zone, const double reference[3], bool connected,
                           tag_t wiped1, tag_t wiped2, double& percentage) {
    percentage = 0.0;
    const tag_t test = temporary_copy(sheet), w1 = temporary_copy(wiped1);
    const tag_t w2 = connected ? 0 : temporary_copy(wiped2);
    if (!test || !w1 || (!connected && !w2) || zone.empty()) return 1;
    if (trim_to_single_wiped_area(test, int(zone.size()), zone.data(), true, reference) != 0) return 1;
    const double area = ws_ask_sheet_area(1, &test);
    if (std::fabs(area) <= kNoArea) return 1;
    ws_trace("\n +++ test area %f", area);
    if (connected) {
        double a = 0.0;
        if (ws_ask_overlap_area(w1, test, a)) return 1;
        percentage = a / area * 100.0;
        return 0;
    }
    const tag_t test2 = temporary_copy(test);
    double a1 = 0.0, a2 = 0.0;
    if (!test2 || ws_ask_overlap_area(w1, test, a1) || ws_ask_overlap_area(w2, test2, a2)) return 1;
    percentage = (a1 + a2) / area * 100.0;
    ws_trace("\n+++ Not Connected, left_area %f, right_area %f,  test_area %f, Percentage %f", a1, a2, area,
             percentage);
    return 0;
}

int ws_calculate_percentages(const Frame& frame, tag_t sheet, tag_t sewn, int wiper_mode, int wiped_count, int first_count,
                             const tag_t* splines, const double mid_tip1[3], const double mid_tip2[3],
                             const double eye_point[3], const bool zone_made[3], const std::vector<tag_t> zones[3],
                             double percentages[3]) {
    (void)UI_set_status("calculating wiped pecentage to test area");
    for (int i = 0; i < 3; ++i) percentages[i] = 0.0;
    bool connected = true;
    detail::HostList list1, list2;
    tag_t wiped1 = 0, wiped2 = 0;
    // The wiper outlines lie on the glass but may leave the clear-vision
    // area; they are closed on the whole glass. Every test area lies in the
    // clear-vision area, so its wiped share is the same.
    if (HM_VD_WS_ask_combined_wiped_area(sewn, wiper_mode, wiped_count, first_count, splines, mid_tip1, mid_tip2,
                                         &connected, list1.out(), list2.out(), &wiped1, &wiped2))
        return kNoWipedSheets;
    double direction[3], reference[3];
    ws_ask_default_projection_vector(frame, direction);
    if (HM_VD_CURVE_project_point_along_vector(eye_point, direction, sheet, reference)) return kEyeOffSheet;
    for (int i = 0; i < 3; ++i) {
        if (!zone_made[i]) continue;
        if (ws_ask_zone_percentage(sheet, zones[i], reference, connected, wiped1, wiped2, percentages[i])) {
            percentages[i] = 0.0;
            return kZoneFailed;
        }
    }
    return kPercentOk;
}

}  // namespace carvell::windshield

// Instrument-panel visibility: the boundary of the visual indicator. Each of
// the four indicator planes cuts the target; each cut is trimmed between the
// pair of planes across it (the lower planes 2 and 3 for the side planes 0
// and 1, the side planes for the lower ones), and the trimmed pieces make
// the boundary.
#include "hm_vd_vision.h"
#include "vision_ipv.h"

#include "hm_vd.h"
#include "toolbox/detail/owners.h"

#include "belmorra.h"
#include "omvra.h"

#include <vector>

namespace carvell::vision {
namespace {

// Extension options of the trim: a cut of an unbounded plane target is as
// long as the host makes it and runs on naturally to its bounds; a cut of a
// face or body ends where the target ends.
constexpr int kExtendNatural = HM_TRIM_EXTEND_NATURAL;
constexpr int kExtendNone = HM_TRIM_EXTEND_NONE;
// Options from this one on are none the host offers.
constexpr int kFirstInvalidExtend = 4;

void log(const char* text) { HM_print_syslog(text, true); }

// A trim feature of the curve between the two planes with the help point
// for both bounds, keeping `keep`; 0 or the trim's code.
int trim_feature(tag_t curve, tag_t plane1, tag_t plane2, const double help_point[3], int extend, int keep,
                 tag_t* feature) {
    HM_CURVE_trim_t trim{};
    trim.string_to_trim = curve;
    trim.first_bound = plane1;
    trim.second_bound = plane2;
    for (int k = 0; k < 3; ++k) trim.first_help_point[k] = trim.second_help_point[k] = help_point[k];
    trim.extend_option = extend;
    trim.trim_option = keep;
    return HM_CURVE_create_trim(&trim, feature);
}

// Whether the curve point nearest to the help point lies on one of the
// feature's curves.
bool holds_help_side(tag_t curve, tag_t feature, const double help_point[3], double tolerance) {
    double t = 0.0, foot[3];
    if (HM_MODL_ask_curve_parm(curve, help_point, &t, foot) != 0) return true;
    int count = 0;
    detail::SmBlock<tag_t> kept;
    if (HM_MODL_ask_feat_object(feature, &count, kept.out()) != 0) return true;
    for (int i = 0; i < count; ++i) {
        double u = 0.0, on[3], d = 0.0;
        if (HM_MODL_ask_curve_parm(kept[i], foot, &u, on) == 0 && HM_VEC3_distance(foot, on, &d) == 0 &&
            d <= tolerance)
            return true;
    }
    return false;
}

// The curve trimmed between the two planes at their crossings nearest to the
// help point: an open curve keeps the part between them, a closed one the
// part between them on the help point's side. Copies of the trim's curves
// (layer argument 0) are appended to `copies`; the trim feature is deleted.
// 0 for curve 0 (nothing appended); -1 for an extension option the host
// does not offer; the trim's code (nothing appended).
int trim_between_planes(tag_t curve, tag_t plane1, tag_t plane2, const double help_point[3], int extend,
                        detail::Temporaries& made, std::vector<tag_t>& copies) {
    if (curve == NULL_TAG) return 0;
    if (extend >= kFirstInvalidExtend) {
        log("invalid extend options");
        return -1;
    }
    detail::Temporaries trim;   // the trim features, deleted on every path
    tag_t feature = NULL_TAG;
    if (int r = trim_feature(curve, plane1, plane2, help_point, extend, HM_TRIM_KEEP_INSIDE, &feature)) return r;
    trim.add(feature);
    int closed = 0;
    double tolerances[kIpvToleranceCount];
    HM_VD_ipv_ask_tolerance(tolerances);
    if (HM_MODL_ask_curve_closed(curve, &closed) == 0 && closed &&
        !holds_help_side(curve, feature, help_point, tolerances[kIpvDistance])) {
        HM_OBJ_delete_object(feature);
        if (int r = trim_feature(curve, plane1, plane2, help_point, extend, HM_TRIM_KEEP_OUTSIDE, &feature))
            return r;
        trim.add(feature);
    }
    int count = 0;
    detail::SmBlock<tag_t> trimmed;
    if (int r = HM_MODL_ask_feat_object(feature, &count, trimmed.out())) return r;
    for (int i = 0; i < count; ++i) {
        tag_t copy = NULL_TAG;
        if (HM_VD_copy_object(0, 1, &trimmed[i], &copy) != 0) return -1;
        copies.push_back(made.add(copy));
    }
    return 0;
}

// The curves where the plane cuts the target, trimmed between the pair and
// appended to `copies`; the cut curves are deleted. The intersection's code
// or the first failing trim's.
int cut_and_trim(tag_t plane, tag_t target, tag_t bound1, tag_t bound2, const double help_point[3], int extend,
                 detail::Temporaries& made, std::vector<tag_t>& copies) {
    double tolerances[kIpvToleranceCount];
    HM_VD_ipv_ask_tolerance(tolerances);
    int count = 0;
    HM_MODL_intersection_t** entries = nullptr;
    if (int r = HM_MODL_intersect_objects(plane, target, tolerances[kIpvDistance], &count, &entries)) return r;
    detail::Temporaries cuts;
    for (int i = 0; i < count; ++i)
        if (entries[i]->kind == 2) cuts.add(entries[i]->curve);
    detail::free_intersection_entries(count, entries);
    for (tag_t cut : cuts.objects())
        if (int r = trim_between_planes(cut, bound1, bound2, help_point, extend, made, copies)) return r;
    return 0;
}

}  // namespace
}  // namespace carvell::vision

using namespace carvell;
using namespace carvell::vision;

int HM_VD_ipv_create_visual_indicator_boundary(const tag_t planes[4], tag_t target, double /*not read*/,
                                               const double help_point[3], hm_list_p_t* boundary) {
    if (boundary) *boundary = nullptr;
    if (target == NULL_TAG || !planes || !help_point || !boundary) return -1;
    int type = 0, subtype = 0;
    if (int r = HM_OBJ_ask_type_and_subtype(target, &type, &subtype)) return r;
    const int extend = type == HM_plane_type ? kExtendNatural : kExtendNone;
    // The pieces made so far go again unless the whole boundary is made.
    detail::Temporaries made;
    std::vector<tag_t> copies;
    for (int i = 0; i < 4; ++i) {
        const tag_t bound1 = i < 2 ? planes[2] : planes[0];
        const tag_t bound2 = i < 2 ? planes[3] : planes[1];
        if (int r = cut_and_trim(planes[i], target, bound1, bound2, help_point, extend, made, copies)) return r;
    }
    detail::HostList list;
    if (int r = HM_MODL_create_list(list.out())) return r;
    for (tag_t c : copies) HM_MODL_put_list_item(list.get(), c);
    for (tag_t c : copies) made.release(c);
    *boundary = list.release();
    return 0;
}

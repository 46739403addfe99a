// Instrument-panel visibility: a curve cut between two point objects into
// one new curve, keeping the part that holds a help point.
#include "hm_vd_vision.h"
#include "vision_ipv.h"

#include "hm_vd.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <vector>

namespace carvell::vision {
namespace {

constexpr const char* kKey = "VD_IPV";
// Join type of the host's curve joining: exact joins of the pieces.
constexpr int kJoinExact = 2;

// Normalised parameter of the curve point nearest to the point.
int parameter_of(tag_t curve, const double point[3], double* t) {
    double on[3];
    return HM_MODL_ask_curve_parm(curve, point, t, on);
}

// The host's trim option that keeps the part holding the help point: the
// part between the bounds when the help point's parameter lies between
// theirs, else the part beyond them.
int keep_option(tag_t curve, const double p1[3], const double p2[3], const double* help, int* option) {
    *option = HM_TRIM_KEEP_INSIDE;
    if (!help) return 0;
    double t1 = 0.0, t2 = 0.0, th = 0.0;
    if (int r = parameter_of(curve, p1, &t1)) return r;
    if (int r = parameter_of(curve, p2, &t2)) return r;
    if (int r = parameter_of(curve, help, &th)) return r;
    const double lo = std::min(t1, t2), hi = std::max(t1, t2);
    *option = (th >= lo && th <= hi) ? HM_TRIM_KEEP_INSIDE : HM_TRIM_KEEP_OUTSIDE;
    return 0;
}

// One curve of the kept pieces: a copy of a single piece, the pieces joined otherwise.
int one_of(const tag_t* pieces, int n, tag_t* result) {
    if (n < 1) return -1;
    if (n == 1) return HM_VD_copy_object(0, 1, pieces, result);
    int joined_count = 0;
    detail::SmBlock<tag_t> joined;
    if (int r = HM_CURVE_auto_join_curves(pieces, n, kJoinExact, &joined_count, joined.out())) return r;
    if (joined_count < 1) return -1;
    for (int i = 1; i < joined_count; ++i) HM_VD_delete_object(joined[i]);
    *result = joined[0];
    return 0;
}

}  // namespace

int ipv_trim_curve_by_two_points(tag_t curve, tag_t point1, tag_t point2, const double* help_point, tag_t* result) {
    if (!result) return -1;
    *result = NULL_TAG;
    if (curve == NULL_TAG || point1 == NULL_TAG || point2 == NULL_TAG) return -1;
    HM_CURVE_trim_t trim{};
    trim.string_to_trim = curve;
    trim.first_bound = point1;
    trim.second_bound = point2;
    if (int r = HM_CURVE_ask_point_data(point1, trim.first_help_point)) return r;
    if (int r = HM_CURVE_ask_point_data(point2, trim.second_help_point)) return r;
    trim.extend_option = HM_TRIM_EXTEND_NONE;
    if (int r = keep_option(curve, trim.first_help_point, trim.second_help_point, help_point, &trim.trim_option))
        return r;
    HM_MODL_ask_distance_tolerance(&trim.distance_tolerance);
    HM_MODL_ask_angle_tolerance(&trim.angle_tolerance);
    tag_t feature = NULL_TAG;
    if (int r = HM_CURVE_create_trim(&trim, &feature)) return r;
    int n = 0;
    detail::SmBlock<tag_t> pieces;
    int r = HM_MODL_ask_feat_object(feature, &n, pieces.out());
    trace(kKey, "\n+++trim result num =%d, ", n);
    if (r == 0) r = one_of(pieces.get(), n, result);
    // The trim feature goes with the pieces it owns; the copy or join stays.
    HM_OBJ_delete_object(feature);
    return r;
}

}  // namespace carvell::vision

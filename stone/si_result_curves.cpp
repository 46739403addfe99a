// Result curves of stone impingement: degree-1 splines or point objects
// through landing points, projected onto the face when one is given,
// coloured and named with their contour angle ("OUTER" for the outline),
// and the reading of a contour's angle back from its name.
#include "si_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/owners.h"

#include "omvra.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace carvell::stone;
namespace detail = carvell::detail;

namespace {
constexpr int kNameBuffer = 133;
constexpr int kJoinType = 2;
const double kProjectX[3] = {1.0, 0.0, 0.0};

// Replaces the spline by its projection onto the face, when there is one.
tag_t projected_onto_face(tag_t spline, tag_t face) {
    int n = 0;
    tag_t* pieces = nullptr;
    if (project_curves(1, &spline, face, 1, kProjectX, &n, &pieces) != 0 || n < 1) return spline;
    detail::SmBlock<tag_t> owned(pieces);
    tag_t result = 0;
    if (n == 1) {
        HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, pieces, &result);
    } else {
        int joined_count = 0;
        tag_t* joined = nullptr;
        HM_CURVE_auto_join_curves(pieces, n, kJoinType, &joined_count, &joined);
        detail::SmBlock<tag_t> owned_joined(joined);
        if (joined_count > 0) HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, joined, &result);
        for (int i = 0; i < joined_count; ++i) detail::delete_if_alive(joined[i]);
    }
    for (int i = 0; i < n; ++i) detail::delete_if_alive(pieces[i]);
    if (!result) return spline;
    detail::delete_if_alive(spline);
    return result;
}
}  // namespace

int VD_CURVE_create_linear(double points[][3], int n, int colour, tag_t* curve) {
    if (!curve) return -1;
    *curve = 0;
    if (!points || n < 2) return -1;
    std::vector<double*> copies;
    for (int i = 0; i < n; ++i) copies.push_back(points[i]);
    const int status = HM_VD_create_spline_thru_points_by_degree(n, copies.data(), 0, 1, 1, curve);
    if (*curve) HM_OBJ_set_color(*curve, colour);
    return status;
}

namespace carvell::stone {

int make_result_curve(tag_t face, int n, const double (*points)[3], tag_t curve, int colour, int name,
                      tag_t* out_curve, tag_t* out_label) {
    *out_curve = 0;
    if (out_label) *out_label = 0;
    if (!curve) {
        if (n < 1 || !points) return kResultNoPoints;
        if (n == 1) {
            if (HM_CURVE_create_point(points[0], &curve) != 0 || !curve) return kResultNoPoint;
        } else {
            std::vector<double> flat(points[0], points[0] + 3 * n);
            VD_CURVE_create_linear(reinterpret_cast<double(*)[3]>(flat.data()), n, 0, &curve);
            if (!curve) return kResultNoSpline;
            if (face) curve = projected_onto_face(curve, face);
        }
    }
    *out_curve = curve;
    if (HM_OBJ_set_color(curve, colour) != 0) return kResultNoColour;
    if (name == kNoName) return 0;
    char text[kNameBuffer];
    if (name == kNameOuter) std::snprintf(text, sizeof text, "OUTER");
    else std::snprintf(text, sizeof text, "%d", name);
    HM_OBJ_set_name(curve, text);
    return 0;
}

}  // namespace carvell::stone

int HM_VD_SI_ask_angle_of_contour_line(tag_t curve, const double range[2], int* angle) {
    if (!curve || !range || !angle) return -1;
    char name[kNameBuffer] = {0};
    if (HM_OBJ_ask_name(curve, name, sizeof name) != 0 || name[0] == '\0') return -1;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(name, &end, 10);
    if (end == name || *end != '\0' || errno != 0) return -1;
    const double lo = std::floor(std::fmin(range[0], range[1]));
    const double hi = std::ceil(std::fmax(range[0], range[1]));
    if (value < lo || value > hi) return -1;
    *angle = static_cast<int>(value);
    return 0;
}

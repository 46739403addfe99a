// Result curves of stone impingement: degree-1 splines or point objects
// through landing points, projected onto the face when one is given,
// coloured and named with their contour angle ("OUTER" for the outline) and
// labelled with a note of the name at their end, and the reading of a
// contour's angle back from its name.
#include "si_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include "omvra.h"

#include <cmath>
#include <cstdio>
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
// Where the label of a result stands: a point object's own position, a
// curve's end.
int label_position(tag_t curve, double at[3]) {
    int type = 0, subtype = 0;
    HM_OBJ_ask_type_and_subtype(curve, &type, &subtype);
    if (type == HM_point_type) return HM_CURVE_ask_point_data(curve, at) == 0 ? 0 : kLabelNoPointPosition;
    return HM_MODL_evaluate_curve(curve, 1.0, 0, at, nullptr) == 0 ? 0 : kLabelNoCurvePosition;
}

// A note of the text at the point, in the colour: made while a temporary
// coordinate system at the point is the work one; the previous work
// coordinate system is restored and the temporary objects deleted on every
// way out.
int make_label(const double at[3], const char* text, int colour, tag_t* label) {
    *label = 0;
    hc_note_style_t style{};
    if (hc6433("", &style) != 0) return kLabelNotMade;
    tag_t previous = 0;
    if (HM_CSYS_ask_wcs(&previous) != 0) return kLabelNoFrame;
    detail::Temporaries temporary;
    const double identity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    tag_t matrix = 0, csys = 0;
    if (HM_CSYS_create_matrix(identity, &matrix) != 0) return kLabelNoFrame;
    temporary.add(matrix);
    if (HM_CSYS_create_csys(at, matrix, &csys) != 0) return kLabelNoFrame;
    temporary.add(csys);
    if (HM_CSYS_set_wcs(csys) != 0) return kLabelNoFrame;
    const int made = hc5540(text, &style, label);
    HM_CSYS_set_wcs(previous);
    if (made != 0 || !*label) return kLabelNotMade;
    if (hc6401(*label, "") != 0 || HM_OBJ_set_color(*label, colour) != 0) {
        detail::delete_if_alive(*label);
        *label = 0;
        return kLabelNotMade;
    }
    return 0;
}

}  // namespace

int VD_CURVE_create_linear(double points[][3], int n, int colour, tag_t* curve) {
    if (!curve) return -1;
    *curve = 0;
    if (!points || n < 2 || n > HM_VD_MAX_SAMPLED_POINTS) return -1;
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
    double at[3];
    if (const int status = label_position(curve, at)) return status;
    tag_t label = 0;
    const int status = make_label(at, text, colour, &label);
    if (out_label) *out_label = label;
    else detail::delete_if_alive(label);
    return status;
}

}  // namespace carvell::stone

int HM_VD_SI_ask_angle_of_contour_line(tag_t curve, const double range[2], int* angle) {
    if (!curve || !range || !angle || !detail::all_finite(range, 2)) return -1;
    long value = 0;
    if (!name_as_integer(curve, &value)) return -1;
    const double lo = std::floor(std::fmin(range[0], range[1]));
    const double hi = std::ceil(std::fmax(range[0], range[1]));
    if (value < lo || value > hi) return -1;
    *angle = static_cast<int>(value);
    return 0;
}

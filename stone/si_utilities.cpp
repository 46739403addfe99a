// Utilities around a stone-impingement run: the display grid of a band
// sheet, points of a curve, the defining points of result splines, and the
// sublists and points of the areas.
#include "si_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include "elvosk.h"
#include "morvish.h"
#include "nethrow.h"

#include "omvra.h"
#include "quillon.h"

#include <cmath>

namespace detail = carvell::detail;

namespace {

double** new_point_array(int n) {
    auto** pts = static_cast<double**>(SM_calloc(n, sizeof(double*)));
    for (int i = 0; i < n; ++i) pts[i] = static_cast<double*>(SM_calloc(3, sizeof(double)));
    return pts;
}


// Whether the curve closes on itself.
bool is_closed(tag_t curve) {
    int closed = 0;
    return HM_MODL_ask_curve_closed(curve, &closed) == 0 && closed == 1;
}

constexpr int kSetGridNoObject = -1;
constexpr int kSetGridWrongObject = -2;

// Writes the grid counts to a face, or to every face of a body; the
// prototype of an occurrence is the one written.
int write_grid(tag_t object, int u_count, int v_count) {
    int type = 0, subtype = 0;
    RM_ask_entity_type_and_subtype(object, &type, &subtype);
    if (type != HM_solid_type || (subtype != HM_solid_face_subtype && subtype != HM_solid_body_subtype))
        return kSetGridWrongObject;
    const tag_t target = es7034(object);
    if (subtype == HM_solid_face_subtype) return ES_write_grid_counts(target, u_count, v_count);
    int n = 0;
    tag_t* faces = nullptr;
    int status = PX_body_ask_faces_sm(target, &n, &faces);
    detail::SmBlock<tag_t> owned(faces);
    for (int i = 0; i < n && status == 0; ++i) status = ES_write_grid_counts(faces[i], u_count, v_count);
    return status;
}

}  // namespace

int HM_VD_SI_set_grid(tag_t object, int u_count, int v_count) {
    if (!TAG_ask_pointer_of_tag(object)) return kSetGridNoObject;
    UI_set_status("Setting Grid...");
    detail::UndoScope scope(UNDO_invisible, nullptr, detail::UndoScope::RollBack::quiet);
    const int status =
        detail::run_step(scope, __FILE__, __LINE__, [&] { return write_grid(object, u_count, v_count); });
    DSS_REGEN_regen_object(object);
    if (status == 0) scope.keep();
    return status;
}

int HM_VD_SI_disperse_curve(tag_t curve, bool reverse, int n, double*** points) {
    if (!points) return -1;
    *points = nullptr;
    if (!curve || n < 3 || n > HM_VD_MAX_SAMPLED_POINTS || !HM_VD_is_curve(curve)) return -1;
    const double s = is_closed(curve) ? 1.0 / n : 1.0 / (n - 1);
    double** pts = new_point_array(n);
    for (int i = 0; i < n; ++i) HM_VD_CURVE_ask_point_on_curve(curve, reverse ? 1.0 - i * s : i * s, pts[i]);
    *points = pts;
    return 0;
}

int HM_VD_SI_ask_spline_thru_point_data(tag_t curve, int* n, double*** points) {
    if (n) *n = 0;
    if (points) *points = nullptr;
    if (!curve || !n || !points) return -1;
    int count = 0;
    HM_CURVE_thru_point_t* thru = nullptr;
    double* knots = nullptr;
    const int status = HM_CURVE_ask_spline_thru_pts(curve, &count, &thru, &knots);
    detail::HmBlock<HM_CURVE_thru_point_t> owned_thru(thru);
    detail::HmBlock<double> owned_knots(knots);
    if (status != 0) {
        (void)HM_get_fail_message(status);
        return status;
    }
    double** pts = new_point_array(count);
    for (int i = 0; i < count; ++i)
        for (int k = 0; k < 3; ++k) pts[i][k] = thru[i].point[k];
    *n = count;
    *points = pts;
    return 0;
}

void HM_VD_SI_ask_sublist(hm_list_p_t list, int group_count, const int sizes[], int index, hm_list_p_t* sublist) {
    if (!sublist) return;
    *sublist = nullptr;
    if (!sizes || index < 0 || index >= group_count) return;
    const std::vector<tag_t> items = detail::list_items(list);
    long start = 0;
    // The groups before it are read only while they lie in the list.
    for (int g = 0; g < index; ++g) {
        if (sizes[g] < 0) return;
        start += sizes[g];
        if (start >= static_cast<long>(items.size())) return;
    }
    if (sizes[index] < 0 || start >= static_cast<long>(items.size()) ||
        start + sizes[index] > static_cast<long>(items.size()))
        return;
    HM_MODL_create_list(sublist);
    for (long i = start; i < start + sizes[index]; ++i) HM_MODL_put_list_item(*sublist, items[i]);
}

int HM_VD_SI_ask_points_of_interval_area(hm_list_p_t list, int* n, int** counts, double**** points) {
    if (!n || !counts || !points) return -1;
    const std::vector<tag_t> items = detail::list_items(list);
    const int m = static_cast<int>(items.size());
    *n = m;
    *counts = static_cast<int*>(SM_calloc(m > 0 ? m : 1, sizeof(int)));
    *points = static_cast<double***>(SM_calloc(m > 0 ? m : 1, sizeof(double**)));
    for (int i = 0; i < m; ++i) HM_VD_SI_ask_spline_thru_point_data(items[i], &(*counts)[i], &(*points)[i]);
    return 0;
}

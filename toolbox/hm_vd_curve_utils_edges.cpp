// Curve utilities: arc length of curve sets, boundary edges of bodies and
// curves made from edges.
#include "hm_vd/curve_utils.h"
#include "toolbox_curve_utils.h"

#include "toolbox/detail/object_kinds.h"
#include "toolbox/detail/owners.h"

#include "gostrel.h"
#include "morvish.h"
#include "omvra.h"
#include "rostval.h"

namespace {

using carvell::detail::list_items;

// A new curve along the edge, made through its evaluator; 0 when none.
tag_t curve_through_evaluator(tag_t edge) {
    EVC_p_t evaluator = nullptr;
    if (evcrvu(edge, &evaluator) != 0) return 0;
    tag_t curve = 0;
    const int result = kcrvev(evaluator, &curve);
    (void)evcrvf(evaluator);
    if (result != 0 || curve == 0) return 0;
    carvell::toolbox::wake_curve(curve);
    return curve;
}

}  // namespace

double HM_VD_ask_curve_array_length(int n, const tag_t* objects) {
    double total = 0.0;
    for (int i = 0; objects && i < n; ++i) {
        int type = 0, subtype = 0;
        if (HM_OBJ_ask_type_and_subtype(objects[i], &type, &subtype) != 0) continue;
        if (!carvell::detail::is_curve_type(type)) continue;

        tag_t kernel_curve = 0;
        if (pxcutc(objects[i], &kernel_curve) != 0 || kernel_curve == 0) break;
        double interval[2] = {0.0, 0.0};
        double length = 0.0;
        const bool measured = GQ_CURVE_ask_interval(kernel_curve, interval) == 0 &&
                              GQ_CURVE_find_length(kernel_curve, interval, &length) == 0;
        (void)GQ_ENTITY_delete(kernel_curve);
        if (!measured) break;
        total += length * pxsfac[1];
    }
    return total;
}

int HM_VD_create_curves_by_boundary_edges(tag_t body, bool make_curves, hm_list_p_t* list) {
    if (!list) return HM_ERR_NULL_POINTER;
    (void)HM_MODL_create_list(list);
    hm_list_p_t faces = nullptr;
    (void)HM_MODL_ask_body_faces(body, &faces);

    for (tag_t face : list_items(faces)) {
        hm_list_p_t edges = nullptr;
        (void)HM_MODL_ask_face_edges(face, &edges);
        for (tag_t edge : list_items(edges)) {
            hm_list_p_t edge_faces = nullptr;
            (void)HM_MODL_ask_edge_faces(edge, &edge_faces);
            int edge_face_count = 0;
            (void)HM_MODL_ask_list_count(edge_faces, &edge_face_count);
            (void)HM_MODL_delete_list(&edge_faces);
            if (edge_face_count >= 2) continue;

            if (!make_curves) {
                (void)HM_MODL_put_list_item(*list, edge);
            } else {
                const tag_t curve = curve_through_evaluator(edge);
                if (curve != 0) (void)HM_MODL_put_list_item(*list, curve);
            }
        }
        (void)HM_MODL_delete_list(&edges);
    }
    return HM_MODL_delete_list(&faces);
}

int VD_create_curve_from_edge(tag_t edge, tag_t* curve) {
    if (CONTEXT_ask_in_context()) return kfp_edge_disp(edge, srfc1, curve);
    return kfp_edge(edge, srfc1, curve);
}

void HM_VD_convert_edge_to_curve(hm_list_p_t* list, hm_list_p_t* new_curves) {
    if (!list || !new_curves) return;
    hm_list_p_t converted = nullptr;
    (void)HM_MODL_create_list(&converted);
    if (*new_curves == nullptr) (void)HM_MODL_create_list(new_curves);

    for (tag_t item : list_items(*list)) {
        tag_t curve = 0;
        if (carvell::detail::is_solid(item, HM_solid_edge_subtype) && VD_create_curve_from_edge(item, &curve) == 0 &&
            curve != 0) {
            (void)HM_MODL_put_list_item(converted, curve);
            (void)HM_MODL_put_list_item(*new_curves, curve);
        } else {
            // Other items, and an edge that gives no curve, stay as they are.
            (void)HM_MODL_put_list_item(converted, item);
        }
    }
    (void)HM_MODL_delete_list(list);
    *list = converted;
}

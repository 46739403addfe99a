// Curve utilities: arc length of curve sets, boundary edges of bodies and
// curves made from edges.
#include "hm_vd/curve_utils.h"

#include "gostrel.h"
#include "morvish.h"
#include "omvra.h"
#include "rostval.h"

namespace {

bool is_edge(tag_t object) {
    int type = 0, subtype = 0;
    return HM_OBJ_ask_type_and_subtype(object, &type, &subtype) == 0 && type == HM_solid_type &&
           subtype == HM_solid_edge_subtype;
}

// A new curve along the edge, made through its evaluator; 0 when none.
tag_t curve_through_evaluator(tag_t edge) {
    EVC_p_t evaluator = nullptr;
    if (evcrvu(edge, &evaluator) != 0) return 0;
    tag_t curve = 0;
    const int result = kcrvev(evaluator, &curve);
    (void)evcrvf(evaluator);
    if (result != 0 || curve == 0) return 0;
    if (es0022(curve) != HM_OBJ_ALIVE) (void)RM_set_sleep_state(curve, false);
    return curve;
}

}  // namespace

double HM_VD_ask_curve_array_length(int n, const tag_t* objects) {
    double total = 0.0;
    for (int i = 0; i < n; ++i) {
        int type = 0, subtype = 0;
        if (HM_OBJ_ask_type_and_subtype(objects[i], &type, &subtype) != 0) continue;
        if (type != 3 && type != 5 && type != 6 && type != 7 && type != 9) continue;

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
    (void)HM_MODL_create_list(list);
    hm_list_p_t faces = nullptr;
    (void)HM_MODL_ask_body_faces(body, &faces);

    int face_count = 0;
    (void)HM_MODL_ask_list_count(faces, &face_count);
    for (int f = 0; f < face_count; ++f) {
        tag_t face = 0;
        if (HM_MODL_ask_list_item(faces, f, &face) != 0) continue;
        hm_list_p_t edges = nullptr;
        (void)HM_MODL_ask_face_edges(face, &edges);
        int edge_count = 0;
        (void)HM_MODL_ask_list_count(edges, &edge_count);
        for (int e = 0; e < edge_count; ++e) {
            tag_t edge = 0;
            if (HM_MODL_ask_list_item(edges, e, &edge) != 0) continue;
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
    hm_list_p_t converted = nullptr;
    (void)HM_MODL_create_list(&converted);
    if (*new_curves == nullptr) (void)HM_MODL_create_list(new_curves);

    int count = 0;
    (void)HM_MODL_ask_list_count(*list, &count);
    for (int i = 0; i < count; ++i) {
        tag_t item = 0;
        if (HM_MODL_ask_list_item(*list, i, &item) != 0) continue;
        tag_t curve = 0;
        if (is_edge(item) && VD_create_curve_from_edge(item, &curve) == 0 && curve != 0) {
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

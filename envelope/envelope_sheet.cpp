// The envelope sheet body: a through-curves sheet through the section curves
// under the undo mark "EVT_CRT_SHT_BODY", made into a body by the host's
// vehicle-design core through a callback; a failed sheet leaves the part as
// it was with a tiny block as the recognisable placeholder.
#include "envelope_internal.h"

#include "belmorra.h"
#include "elvosk.h"
#include "farquil.h"
#include "gostrel.h"
#include "hm_vd.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"
#include "toolbox/detail/owners.h"

#include <vector>

namespace carvell::envelope {
namespace {

// Kernel edge of the placeholder cube that stands for a failed sheet.
constexpr double kPlaceholderEdge = 0.001;

struct ThruCurveData {
    double csys_origin[3];
    double csys_matrix[9];
    HM_STRING_LIST_t sections;
    HM_STRING_LIST_t spine;
    int patch_type = 2;
    int alignment = 1;
    double alignment_values[6] = {0, 0, 0, 0, 0, 0};
    int v_degree = 3;
    int v_periodic = 0;
    int body_type = 0;
    int boolean_op = 0;
    double tolerances[3] = {0, 0, 0.001};
    tag_t face_tags[2] = {0, 0};
    int face_flags[2] = {0, 0};
};

int init_thru_curve_data(const tire_envelope_params_s* p, int count, const tag_t* curves, ThruCurveData* d) {
    for (int i = 0; i < 3; ++i) d->csys_origin[i] = p->csys_origin[i];
    for (int i = 0; i < 9; ++i) d->csys_matrix[i] = p->csys_matrix[i];
    (void)HM_MODL_init_string_list(&d->sections);
    (void)HM_MODL_init_string_list(&d->spine);
    if (int code = HM_MODL_create_string_list(count, count, &d->sections)) return code;
    for (int i = 0; i < count; ++i) {
        d->sections.curve_counts[i] = 1;
        d->sections.directions[i] = 1;
        d->sections.curves[i] = curves[i];
    }
    d->v_degree = count < 4 ? count - 1 : 3;
    double distance = 0.0, angle = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&distance);
    (void)HM_MODL_ask_angle_tolerance(&angle);
    d->tolerances[0] = p->surface_tol >= 1e-10 ? p->surface_tol : distance;
    d->tolerances[1] = angle;
    return 0;
}

int create_thru_curve_feature(void* data, tag_t* feature) {
    auto* d = static_cast<ThruCurveData*>(data);
    const int code = ENVELOPE_CHECK(
        "create_sheet_body",
        HM_MODL_create_thru_curves(&d->sections, &d->spine, d->patch_type, d->alignment, d->alignment_values,
                                   d->v_degree, d->v_periodic, d->body_type, d->boolean_op, d->tolerances,
                                   d->face_tags, d->face_flags, feature));
    if (code != 0 || VD_csys_is_identity(d->csys_origin, d->csys_matrix)) return code;
    tag_t body = 0, mapped = 0;
    if (HM_MODL_ask_feat_body(*feature, &body) != 0 || !body) return HM_ERR_GEOMETRY;
    const int mapping = VD_map_geom_csys2abs(body, d->csys_origin, d->csys_matrix, &mapped);
    (void)HM_VD_delete_object_feature(body);
    if (mapping != 0) return mapping;
    *feature = mapped;
    return 0;
}

}  // namespace

int create_sheet_body(tire_envelope_params_s* p, int count, const tag_t* curves, SheetSettings* used_settings) {
    if (!p->create_sheet || count < 2 || !curves) return 0;
    (void)UI_set_status("Creating Sheet Body");
    const UNDO_mark_t mark = UNDO_KW_set_mark(UNDO_visible, "EVT_CRT_SHT_BODY");
    if (!mark) return HM_ERR_UNDO_MARK;
    const bool identity = VD_csys_is_identity(p->csys_origin, p->csys_matrix);
    std::vector<tag_t> used(curves, curves + count);
    std::vector<tag_t> copies;
    if (!identity)
        for (int i = 0; i < count; ++i) {
            tag_t copy = 0;
            if (VD_map_geom_abs2csys(curves[i], p->csys_origin, p->csys_matrix, &copy) == 0) {
                copies.push_back(copy);
                used[i] = copy;
            }
        }
    ThruCurveData data;
    int result = init_thru_curve_data(p, count, used.data(), &data);
    if (used_settings) *used_settings = {data.v_degree, data.tolerances[0], data.tolerances[1]};
    (void)HM_LAYER_set_status(p->surface_layer, HM_LAYER_WORK_LAYER);
    tag_t body = 0;
    const int made = result == 0 ? VD_create_bv_body_from_feature(create_thru_curve_feature, &data, &body) : result;
    for (tag_t copy : copies) detail::delete_if_alive(copy);
    if (made == 0 && body) {
        p->sheet_body = body;
    } else {
        // The part goes back to the mark; the tiny block marks the failure,
        // which the engine reports as an error.
        p->sheet_body = 0;
        (void)UNDO_KW_undo_to_mark(mark);
        tag_t block = 0;
        (void)GQ_BODY_create_solid_block(kPlaceholderEdge, kPlaceholderEdge, kPlaceholderEdge, nullptr, &block);
        p->sheet_body = block;
        result = kFailed;
    }
    (void)HM_MODL_free_string_list(&data.sections);
    (void)UNDO_KW_delete_mark(mark);
    return result;
}

}  // namespace carvell::envelope

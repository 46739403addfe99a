// The 2003 mirror-certification run: the loading, the eye points, the inside
// or outside analysis of the mirror kind, the result layer and the summary
// report, on the 2003 working record.
#include "r2003_mirror.h"

#include "hm_vd.h"
#include "hm_vd/objects.h"
#include "hm_vd_mc.h"
#include "omvra.h"
#include "toolbox/detail/owners.h"

#include <cstring>

namespace carvell::r2003 {
namespace {

namespace detail = carvell::detail;

// The object's name into a record's text field; empty when it has none.
void copy_name(tag_t object, char (&name)[MC_NAME_SIZE]) {
    name[0] = '\0';
    if (object == NULL_TAG || HM_OBJ_ask_name(object, name, sizeof name) != 0) name[0] = '\0';
    name[MC_NAME_SIZE - 1] = '\0';
}

void put_all(hm_list_p_t from, hm_list_p_t into) {
    for (tag_t object : detail::list_items(from)) (void)HM_MODL_put_list_item(into, object);
}

// With the loading, an inside mirror's result shows the moved mirror,
// bezel, backlite and restrictions.
void list_loaded_objects(mc_data_2003_s* data, hm_list_p_t results) {
    if (data->mirror_kind != 0 || !results) return;
    if (data->mirror_sheet != NULL_TAG) (void)HM_MODL_put_list_item(results, data->mirror_sheet);
    put_all(data->bezel_curves, results);
    if (data->backlite_sheet != NULL_TAG) (void)HM_MODL_put_list_item(results, data->backlite_sheet);
    put_all(data->em_restrictions, results);
    put_all(data->mt_restrictions, results);
}

void store_eyes(const double found[3][3], const double pivot[3], double* left, double* middle, double* right,
                double* head_pivot) {
    std::memcpy(left, found[0], 3 * sizeof(double));
    std::memcpy(middle, found[1], 3 * sizeof(double));
    std::memcpy(right, found[2], 3 * sizeof(double));
    std::memcpy(head_pivot, pivot, 3 * sizeof(double));
}

}  // namespace
}  // namespace carvell::r2003

using namespace carvell::r2003;

int HM_VD_MC_process(mc_data_2003_s* data) {
    if (!data || !data->messages) return -1;
    const bool outside = data->mirror_kind == 1 || data->mirror_kind == 2;
    if (outside ? !data->outside : !data->inside) return -1;
    hm_list_p_t results = outside ? data->outside->result_objects : data->inside->result_objects;

    copy_name(data->caller_mirror_sheet, data->mirror_name);
    if (data->backlite_sheet != NULL_TAG)
        copy_name(data->backlite_copy, data->backlite_name);
    else
        data->backlite_name[0] = '\0';
    const auto bezel = detail::list_items(data->bezel_copy);
    if (bezel.size() == 1)
        copy_name(bezel[0], data->bezel_name);
    else
        data->bezel_name[0] = '\0';

    if (data->loading == 1) {
        if (mc_apply_loading_2003(data) != 0) return 1;
        list_loaded_objects(data, results);
    }

    double found[3][3] = {}, pivot[3] = {}, rear[3] = {};
    const int eye_status = mc_find_eye_points_2003(data, found, pivot, rear);
    if (eye_status == 0) {
        if (outside)
            store_eyes(found, pivot, data->outside->left_eye, data->outside->mid_eye, data->outside->right_eye,
                       data->outside->head_pivot);
        else
            store_eyes(found, pivot, data->inside->left_eye, data->inside->mid_eye, data->inside->right_eye,
                       data->inside->head_pivot);
        std::memcpy(data->rear_eye, rear, sizeof rear);
    }
    // The plan-view ellipses serve the eye step alone.
    if (data->user_eye_flag == 0) {
        detail::delete_if_alive(data->first_ellipse);
        detail::delete_if_alive(data->second_ellipse);
        data->first_ellipse = NULL_TAG;
        data->second_ellipse = NULL_TAG;
    }
    if (eye_status != 0) return 2;

    if (data->user_override == 1) mc_add_message(data, "\nValue(s) from standard have been overridden by user values");
    if (data->head_rotation == 1 && data->user_eye_flag == 1)
        mc_add_message(data, "\n*DOES NOT CERTIFY*  Standard does not allow head rotation. For study only");
    if (outside && data->mt_present == 1)
        mc_add_message(data, "\nAmbinocular Angle @ Ground PV value may be affected by Mirror-Target Restrictions.");

    if (outside) {
        if (HM_VD_MC_apf_process_outside(data) != 0) return 4;
    } else if (mc_analyze_inside_mirror_2003(data) != 0) {
        return 3;
    }
    HM_VD_set_obj_array_layer(results, data->result_layer);
    (void)mc_write_report_2003(data);
    return 0;
}

// Body utilities: boxes in a coordinate system, object lists mapped between
// a coordinate system and absolute, datum-plane parameters, the placement of
// a component, bounded planes, ruled sheets, ellipsoids and scaled copies.
#include "belmorra.h"
#include "elvosk.h"
#include "hm_vd/bodies.h"
#include "hm_vd/objects.h"
#include "omvra.h"
#include "quillon.h"

#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Length of the scale-factor texts, terminator included.
constexpr size_t kFactorText = 133;

using carvell::detail::delete_if_alive;
using carvell::detail::list_items;

using MapGeometry = int (*)(tag_t, const double*, const double*, tag_t*);

int map_list(hm_list_p_t list, const double origin[3], const double matrix[9], hm_list_p_t* mapped,
             MapGeometry map) {
    if (!mapped || !origin || !matrix) return HM_ERR_NULL_POINTER;
    if (!carvell::detail::all_finite(origin, 3) || !carvell::detail::all_finite(matrix, 9))
        return HM_ERR_BAD_ARGUMENT;
    int result = HM_MODL_create_list(mapped);
    if (result) return result;
    int failure = 0;
    for (tag_t item : list_items(list)) {
        tag_t copy = 0;
        const int r = map(item, origin, matrix, &copy);
        // A failed mapping leaves its object out and is reported: storing a
        // null object would pass the failure off as a mapped object.
        if (r != 0 || copy == 0) {
            if (!failure) failure = r ? r : HM_ERR_GEOMETRY;
            continue;
        }
        result = HM_MODL_put_list_item(*mapped, copy);
    }
    return failure ? failure : result;
}

}  // namespace

int HM_VD_ask_bounding_box_local(tag_t object, const double origin[3], const double matrix[9], double box[6]) {
    if (!origin || !matrix || !box) return HM_ERR_NULL_POINTER;
    if (!carvell::detail::all_finite(origin, 3) || !carvell::detail::all_finite(matrix, 9))
        return HM_ERR_BAD_ARGUMENT;
    tag_t matrix_object = 0, csys = 0;
    int result = HM_CSYS_create_matrix(matrix, &matrix_object);
    if (result == 0) result = HM_CSYS_create_csys(origin, matrix_object, &csys);
    if (result == 0) {
        double corner[3], directions[3][3], extents[3];
        result = HM_MODL_ask_bounding_box_aligned(object, csys, false, corner, directions, extents);
        if (result == 0) {
            double far_corner[3] = {corner[0], corner[1], corner[2]};
            for (int i = 0; i < 3; ++i)
                for (int k = 0; k < 3; ++k) far_corner[k] += extents[i] * directions[i][k];
            double local[6];
            VD_map_point_abs2csys(corner, origin, matrix, local);
            VD_map_point_abs2csys(far_corner, origin, matrix, local + 3);
            if (carvell::detail::all_finite(local, 6))
                std::copy(local, local + 6, box);
            else
                result = HM_ERR_GEOMETRY;
        }
    }
    // The coordinate system and its matrix only served the query.
    delete_if_alive(csys);
    delete_if_alive(matrix_object);
    return result;
}

int VD_map_geom_csys2abs_list(hm_list_p_t list, const double origin[3], const double matrix[9],
                              hm_list_p_t* mapped) {
    return map_list(list, origin, matrix, mapped, VD_map_geom_csys2abs);
}

int VD_map_geom_abs2csys_list(hm_list_p_t list, const double origin[3], const double matrix[9],
                              hm_list_p_t* mapped) {
    return map_list(list, origin, matrix, mapped, VD_map_geom_abs2csys);
}

int HM_VD_ask_datum_plane_parms(tag_t datum, double origin[3], double normal[3]) {
    if (!origin || !normal) return HM_ERR_NULL_POINTER;
    int type = 0, subtype = 0;
    int result = HM_OBJ_ask_type_and_subtype(datum, &type, &subtype);
    if (result) return result;
    tag_t plane = 0;
    if (type == HM_datum_type) {
        plane = datum;
    } else if (type == HM_feature_type) {
        char* kind = nullptr;
        HM_MODL_ask_feat_type(datum, &kind);
        const bool is_datum_plane = kind && std::strcmp(kind, "DATUM_PLANE") == 0;
        SM_free(kind);
        if (!is_datum_plane) return HM_ERR_WRONG_OBJECT;
        HM_VD_feat_to_datum_type(datum, &plane);
    } else {
        return HM_ERR_WRONG_OBJECT;
    }
    // A feature without its one datum gives no plane: a status of 0 here
    // would hand the caller outputs that were never written.
    if (plane == 0) return HM_ERR_WRONG_OBJECT;
    return HM_MODL_ask_datum_plane(plane, origin, normal);
}

int HM_VD_ask_component_csys(const char* part_name, double origin[3], double x_axis[3], double y_axis[3]) {
    if (!origin || !x_axis || !y_axis) return HM_ERR_NULL_POINTER;
    HM_DISP_set_display(0);
    const double o[3] = {0, 0, 0}, x[3] = {1, 0, 0}, y[3] = {0, 1, 0};
    std::memcpy(origin, o, sizeof o);
    std::memcpy(x_axis, x, sizeof x);
    std::memcpy(y_axis, y, sizeof y);
    const tag_t work = HM_ASSEM_ask_work_part();
    const tag_t part = part_name ? HM_PART_ask_part_tag(part_name) : 0;
    // Only a part that could be made the work part has its own placement;
    // otherwise the work occurrence would be that of the previous work part.
    int status = 0;
    if (part && HM_ASSEM_set_work_part(part) == 0) {
        const tag_t occurrence = HM_ASSEM_ask_work_occurrence();
        double placement[3], axes[9];
        // A placement the host cannot answer (not finite) is its failure; the
        // defaults stay.
        if (occurrence)
            status = HM_ASSEM_ask_component_data(occurrence, nullptr, nullptr, nullptr, placement, axes, nullptr);
        if (occurrence && status == 0) {
            std::memcpy(origin, placement, sizeof placement);
            std::memcpy(x_axis, axes, 3 * sizeof(double));
            std::memcpy(y_axis, axes + 3, 3 * sizeof(double));
        }
        HM_ASSEM_set_work_part(work);
    }
    const int resumed = HM_DISP_set_display(1);
    return status != 0 ? status : resumed;
}

int HM_VD_create_bplane(hm_list_p_t curves, tag_t* sheet) {
    if (!sheet) return HM_ERR_NULL_POINTER;
    *sheet = 0;
    std::vector<tag_t> items = list_items(curves);
    if (items.empty()) return -1;
    double tolerances[2] = {0.0, 0.0};
    HM_MODL_ask_distance_tolerance(&tolerances[0]);
    HM_MODL_ask_angle_tolerance(&tolerances[1]);
    HM_STRING_LIST_t boundary;
    HM_MODL_init_string_list(&boundary);
    HM_MODL_create_string_list(1, static_cast<int>(items.size()), &boundary);
    boundary.curve_counts[0] = static_cast<int>(items.size());
    boundary.directions[0] = 1;
    std::copy(items.begin(), items.end(), boundary.curves);
    const int result = HM_MODL_create_bplane(&boundary, tolerances, sheet);
    HM_MODL_free_string_list(&boundary);
    if (result) {
        *sheet = 0;
        HM_print_syslog(HM_get_fail_message(result), false);
    }
    return result;
}

int HM_VD_create_ruled(hm_list_p_t list1, hm_list_p_t list2, int value, bool same_direction, const int* options,
                       int n_options, tag_t* sheet) {
    if (!sheet) return HM_ERR_NULL_POINTER;
    *sheet = 0;
    // Without options nothing is tried, and that is no success.
    if (n_options < 1 || !options) return -1;
    const std::vector<tag_t> first = list_items(list1), second = list_items(list2);
    HM_STRING_LIST_t sections, spine;
    HM_MODL_init_string_list(&sections);
    HM_MODL_init_string_list(&spine);
    HM_MODL_create_string_list(2, static_cast<int>(first.size() + second.size()), &sections);
    sections.curve_counts[0] = static_cast<int>(first.size());
    sections.curve_counts[1] = static_cast<int>(second.size());
    sections.directions[0] = 1;
    sections.directions[1] = same_direction ? 1 : -1;
    std::copy(first.begin(), first.end(), sections.curves);
    std::copy(second.begin(), second.end(), sections.curves + first.size());
    double scratch[6] = {0, 0, 0, 0, 0, 0};
    const double zero[3] = {0, 0, 0};
    int result = 0;
    for (int i = 0; i < n_options; ++i) {
        result = HM_MODL_create_ruled1(&sections, &spine, options[i], scratch, 0, value, 0, 0, zero, sheet);
        if (result == 0) break;
        *sheet = 0;
    }
    HM_MODL_free_string_list(&sections);
    return result;
}

int HM_VD_create_ellipsoid(const double centre[3], const double semi_axes[3], const double axes[6], tag_t* body) {
    if (!centre || !semi_axes || !axes || !body) return HM_ERR_NULL_POINTER;
    *body = 0;
    using carvell::detail::all_finite;
    if (!all_finite(centre, 3) || !all_finite(semi_axes, 3) || !all_finite(axes, 6)) return HM_ERR_BAD_ARGUMENT;
    // The scale factors go to the host as texts: each written so that it
    // reads back as exactly the same number, or nothing is built.
    char texts[3][kFactorText];
    const char* factors[3];
    for (int i = 0; i < 3; ++i) {
        const double factor = 2.0 * semi_axes[i];
        const int length = std::snprintf(texts[i], kFactorText, "%.17g", factor);
        if (!std::isfinite(factor) || length < 0 || length >= static_cast<int>(kFactorText) ||
            std::strtod(texts[i], nullptr) != factor)
            return HM_ERR_BAD_ARGUMENT;
        factors[i] = texts[i];
    }
    tag_t sphere_feature = 0, sphere = 0;
    int result = HM_MODL_create_sphere(HM_NULLSIGN, centre, "1.0", &sphere_feature);
    if (result) return result;
    HM_MODL_ask_feat_body(sphere_feature, &sphere);
    double orientation[9];
    tag_t matrix_object = 0, csys = 0;
    result = HM_MTX3_initialize(axes, axes + 3, orientation);
    if (result == 0) result = HM_CSYS_create_matrix(orientation, &matrix_object);
    if (result == 0) result = HM_CSYS_create_temp_csys(centre, matrix_object, &csys);
    if (result == 0) {
        int n_features = 0;
        tag_t* features = nullptr;
        result = HM_MODL_create_scale(2, 1, &sphere, csys, factors, &n_features, &features);
        if (result == 0 && n_features > 0) HM_MODL_ask_feat_body(features[0], body);
        HM_free(features);
    }
    delete_if_alive(csys);
    delete_if_alive(matrix_object);
    // A unit sphere left from a failed scaling is no ellipsoid.
    if (result) delete_if_alive(sphere);
    return result;
}

void HM_VD_scale_object(tag_t object, const double centre[3], double factor, tag_t* copy) {
    if (!copy) return;
    *copy = 0;
    if (!carvell::detail::all_finite(centre, 3) || !std::isfinite(factor)) return;
    tag_t source = HM_VD_change_feat_to_obj(object);
    const double f = std::fabs(factor);
    const double factors[3] = {f, f, f};
    double matrix[12];
    if (hm5944(1, centre, factors, matrix) != 0) return;
    tag_t made = 0, trace = 0;
    int status = 0;
    hm5947(matrix, &source, 1, 2, 0, 2, &made, &trace, &status);
    *copy = status == 0 ? made : 0;
}

// The accelerator's curve in the side view and the initial pedal reference
// point (PRP) on it: faces are cut by a vertical section plane, curves and
// edges are taken as they are, and the pieces are joined into one curve.
#include "hpd.h"
#include "hm_vd/objects.h"
#include "hm_vd/trim_intersect.h"
#include "hm_vd/vectors.h"
#include "hpd_constants.h"
#include "hpd_contact.h"
#include "toolbox/detail/object_kinds.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"
#include "belmorra.h"
#include "farquil.h"
#include "omvra.h"
#include "quillon.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace carvell::occupant;
namespace detail = carvell::detail;

namespace {

constexpr int kJoinType = 2;

constexpr int kEmptyInput = -1;
constexpr int kFacesMixed = -10;
constexpr int kNoCurve = -20;
constexpr int kNoSingleCurve = -30;
constexpr int kNoAccelerator = -1;
constexpr int kNoPedalCurve = -2;

void append(hm_list_p_t* list, tag_t item) {
    if (!*list) HM_MODL_create_list(list);
    HM_MODL_put_list_item(*list, item);
}

// The faces' sections by the vertical plane through `point` whose normal is
// +Y turned by pv_angle about +Z.
hm_list_p_t section_faces(const std::vector<tag_t>& faces, const double point[3], double pv_angle) {
    const double y_axis[3] = {0.0, 1.0, 0.0}, z_axis[3] = {0.0, 0.0, 1.0};
    double normal[3];
    HM_VD_vec3_rotate(y_axis, z_axis, pv_angle, normal);
    tag_t plane = NULL_TAG;
    if (HM_MODL_create_plane(point, normal, &plane) != 0) return nullptr;
    hm_list_p_t curves = nullptr;
    for (tag_t face : faces) {
        detail::HostList cut;
        HM_VD_ask_intersection_curves(plane, face, kSectionTolerance, cut.out());
        HM_VD_add_list_item(&curves, cut.get());
    }
    HM_OBJ_delete_object(plane);
    return curves;
}

// A new curve for each edge, a copy of every other object.
hm_list_p_t copy_curves(const std::vector<tag_t>& objects) {
    hm_list_p_t curves = nullptr;
    for (tag_t object : objects) {
        tag_t made = NULL_TAG;
        if (detail::is_solid(object, HM_solid_edge_subtype)) {
            if (HM_MODL_create_curve_from_edge(object, &made) != 0) made = NULL_TAG;
        } else if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &object, &made) != 0) {
            made = NULL_TAG;
        }
        if (made != NULL_TAG) append(&curves, made);
    }
    return curves;
}

}  // namespace

int HM_VD_HPD_combine_curves(hm_list_s* objects, double* point, double pv_angle, tag_t* curve) {
    if (!curve) return kEmptyInput;
    *curve = NULL_TAG;
    int count = 0;
    detail::SmBlock<tag_t> array;
    change_list_to_array(objects, &count, array.out());
    const std::vector<tag_t> items(array.get(), array.get() + count);
    array.reset();
    if (items.empty()) return kEmptyInput;

    const auto faces = std::count_if(items.begin(), items.end(),
                                     [](tag_t o) { return detail::is_solid(o, HM_solid_face_subtype); });
    if (faces > 0 && faces < static_cast<long>(items.size())) return kFacesMixed;
    if (faces > 0 && !point) return kEmptyInput;

    detail::SmBlock<tag_t> made;
    int n_made = 0;
    {
        const detail::HostList curves(faces > 0 ? section_faces(items, point, pv_angle) : copy_curves(items));
        change_list_to_array(curves.get(), &n_made, made.out());
    }

    int result = 0;
    if (n_made < 1) {
        result = kNoCurve;
    } else if (n_made == 1) {
        *curve = made[0];
    } else {
        int n_joined = 0;
        detail::SmBlock<tag_t> joined;
        if (HM_CURVE_auto_join_curves(made.get(), n_made, kJoinType, &n_joined, joined.out()) == 0 && n_joined == 1)
            *curve = joined[0];
        else
            result = kNoSingleCurve;
    }
    return result;
}

int HM_VD_HPD_ask_init_prp(double* csys_matrix, double* csys_origin, int count, tag_t* accelerator, double* prp,
                           double* pedal_angle, double /*unused*/) {
    if (count < 1 || !accelerator) return kNoAccelerator;
    if (!csys_matrix || !csys_origin || !prp || !pedal_angle) return -1;
    for (int i = 0; i < count; ++i)
        if (!detail::is_alive(accelerator[i])) return -1;

    // Everything made below is rolled back, however the step ends.
    detail::UndoScope scope(UNDO_visible, "init_prp");
    if (!scope.is_set()) return -1;

    // The accelerator in the vehicle frame. The mapped copies go into a local
    // array: the undo below deletes them, and the caller keeps its objects.
    std::vector<tag_t> objects(accelerator, accelerator + count);
    if (!VD_csys_is_identity(csys_origin, csys_matrix)) {
        for (tag_t& object : objects) {
            tag_t mapped = NULL_TAG;
            if (VD_map_geom_abs2csys(object, csys_origin, csys_matrix, &mapped) != 0 || mapped == NULL_TAG)
                return kNoPedalCurve;
            object = mapped;
        }
    }

    // The section point: the centre of the objects' common box.
    double low[3] = {0.0, 0.0, 0.0}, high[3] = {0.0, 0.0, 0.0};
    bool boxed = false;
    for (tag_t object : objects) {
        double box[6];
        if (HM_MODL_ask_bounding_box(object, box) != 0) continue;
        for (int k = 0; k < 3; ++k) {
            low[k] = boxed ? std::min(low[k], box[k]) : box[k];
            high[k] = boxed ? std::max(high[k], box[k + 3]) : box[k + 3];
        }
        boxed = true;
    }
    double centre[3] = {(low[0] + high[0]) / 2.0, (low[1] + high[1]) / 2.0, (low[2] + high[2]) / 2.0};

    tag_t combined = NULL_TAG;
    if (boxed) {
        detail::HostList list;
        change_array_to_list(count, objects.data(), list.out());
        if (HM_VD_HPD_combine_curves(list.get(), centre, 0.0, &combined) != 0) combined = NULL_TAG;
    }
    // The pedal point and angle of the combined curve, at the curve point
    // nearest to the centre of its box.
    double point[3], angle = 0.0;
    if (combined == NULL_TAG || hpd_ask_pedal_point_angle(combined, point, &angle) != 0) return kNoPedalCurve;
    scope.roll_back();
    for (int i = 0; i < 3; ++i) prp[i] = point[i];
    *pedal_angle = angle;
    return 0;
}

// Mirror optics on geometry: the view angle from the outer eye to the
// mirror's outermost edge (with the head turn), and a closed outline carried
// through the mirror onto the target plane.
#include "mirror_helpers.h"
#include "mirror_optics.h"
#include "mirror_record.h"

#include "hm_vd/curve_utils.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/owners.h"

#include <cmath>
#include <vector>

namespace carvell::mirror {
namespace {

using detail::SmBlock;
using detail::Temporaries;

constexpr int kTemporaryLayer = 256;
constexpr double kParallelRay = 1e-10;   // |r.x| at or below: the ray never reaches the plane x = Xt

int fail(const char* message, int status) {
    ERROR_lprintf("%s", message);
    (void)HM_print_syslog("Mirror Certification Error", true);
    return status;
}

double plan_angle(const double from[3], const double to[3]) {
    return std::atan2(to[1] - from[1], to[0] - from[0]) * kDegreesPerRadian;
}

void dispose(tag_t object) {
    if (object != NULL_TAG && HM_OBJ_ask_status(object) == HM_OBJ_ALIVE) {
        (void)HM_OBJ_set_layer(object, kTemporaryLayer);
        (void)HM_OBJ_delete_object(object);
    }
}

// The reflected edge projected onto the object along its normals: the first
// curve of the projection replaces the edge. 0; 3 projection; 2 group data.
int project_edge(tag_t projection_object, tag_t* edge) {
    HM_CURVE_proj_curves_data_t data{};
    (void)HM_CURVE_init_proj_curves_data(&data);
    data.join = 1;
    data.proj_dir_method = HM_PROJ_ALONG_TARGET_NORMALS;
    tag_t group = NULL_TAG;
    if (HM_CURVE_create_proj_curves(1, edge, 1, &projection_object, 2, &data, &group) != 0)
        return fail("Fail to project the edge on the backlite reflection  plane.\n", 3);
    tag_t* members = nullptr;
    int count = 0;
    const int asked = HM_GROUP_ask_group_data(group, &members, &count);
    SmBlock<tag_t> owned(members);
    (void)HM_GROUP_ungroup_top(group);
    if (asked != 0 || count < 1) {
        for (int i = 0; i < count; ++i) dispose(members[i]);
        return fail("Fail to ask group data.\n", 2);
    }
    for (int i = 1; i < count; ++i) dispose(members[i]);
    dispose(*edge);
    *edge = members[0];
    return 0;
}

}  // namespace

int mc_ask_mirror_view_angles(const mc_data_s* data, const double eyes[3][3], const double pivot[3],
                              double out_eyes[3][3], double* view_angle, double* head_turn) {
    if (!data || !eyes || !pivot || !out_eyes || !view_angle || !head_turn) return -1;
    const bool right = data->eye_reference_point[1] >= data->mirror_reference_point[1];
    const int k = right ? 2 : 0;
    const double directions[3][3] = {{0.0, right ? -1.0 : 1.0, 0.0}, {1.0, 0.0, 0.0}, {0.0, 0.0, 1.0}};
    double outer[3];
    tag_t subentity = NULL_TAG;
    if (data->mirror == NULL_TAG ||
        HM_MODL_ask_extreme(data->mirror, directions[0], directions[1], directions[2], &subentity, outer) != 0)
        return fail("Fail to determine the extreme point on the mirror sheet.\n", 1);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out_eyes[i][j] = eyes[i][j];
    *view_angle = 180.0 - std::fabs(plan_angle(eyes[k], outer));
    *head_turn = 0.0;
    if (!data->head_rotation) return 0;
    double turned[3][3];
    double angle = 0.0;
    bool rotated = false;
    if (mc_apply_head_rotation(data, eyes, pivot, outer, turned, &angle, &rotated) != 0)
        return fail("Fail to rotate head.\n", 2);
    if (!rotated) return 0;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out_eyes[i][j] = turned[i][j];
    *view_angle = 180.0 - std::fabs(plan_angle(turned[k], outer));
    *head_turn =
        std::fabs(std::atan2(turned[2][0] - turned[0][0], turned[2][1] - turned[0][1])) * kDegreesPerRadian;
    return 0;
}

int mc_reflect_mirror_outline(const mc_geometry_set_s* outline, int mode, const double eye[3],
                              const mc_mirror_surface_record* mirror, const double tolerances[2],
                              const double target_point[3], tag_t projection_object, tag_t* mirror_sheet,
                              tag_t* reflected_sheet) {
    if (!outline || !eye || !mirror || !tolerances || !target_point || !mirror_sheet || !reflected_sheet ||
        !outline->points || outline->point_count < 1)
        return -1;
    *mirror_sheet = NULL_TAG;
    *reflected_sheet = NULL_TAG;
    const double xt = target_point[0];
    // A point's place on the mirror and its reflection on the target plane
    // x = xt; the first failure's message is kept.
    const char* failure = nullptr;
    const auto carry = [&](const double* p, double* out) {
        double x[3] = {p[0], p[1], p[2]};
        if (mode == 1 && HM_VD_MC_pierce(tolerances, mirror, eye, p, x) != 0) {
            failure = "Error in HM_VD_MC_pierce.\n";
            return false;
        }
        double q[3], r[3];
        if (HM_VD_MC_reflex(mirror, eye, x, tolerances, q, r) != 0) {
            failure = "Error in HM_VD_MC_reflex.\n";
            return false;
        }
        if (std::fabs(r[0]) <= kParallelRay) {
            failure = "The reflected ray runs parallel to the target plane.\n";
            return false;
        }
        const double s = (xt - q[0]) / r[0];
        for (int k = 0; k < 3; ++k) {
            out[k] = q[k];
            out[3 + k] = q[k] + r[k] * s;
        }
        return true;
    };
    // The outline's points, with points put in where a chord's images bend
    // away from the chords between its ends' images.
    std::vector<double> packed;
    for (int i = 0; i < outline->point_count; ++i) packed.insert(packed.end(), outline->points[i], outline->points[i] + 3);
    std::vector<double> images;
    std::vector<int> breaks;
    if (!mc_images_along_chords(outline->point_count, packed.data(), outline->break_count, outline->breaks, 2,
                                tolerances[0], carry, &images, &breaks))
        return fail(failure ? failure : "Error in HM_VD_MC_reflex.\n", 1);
    const int n = static_cast<int>(images.size() / 6);
    const int break_count = static_cast<int>(breaks.size());
    std::vector<double> on_mirror, reflected;
    for (int i = 0; i < n; ++i) {
        on_mirror.insert(on_mirror.end(), &images[6 * i], &images[6 * i] + 3);
        reflected.insert(reflected.end(), &images[6 * i + 3], &images[6 * i] + 6);
    }
    // The two edges in hand go on the temporary layer and are deleted at the end.
    struct Edges {
        tag_t projected = NULL_TAG;
        tag_t reflected = NULL_TAG;
        ~Edges() {
            dispose(projected);
            dispose(reflected);
        }
    } edges;
    // A spherical mirror's sheet is drawn through the points themselves.
    const bool on_sphere = mirror->curvature > 0.0;
    if (!on_sphere && (HM_VD_create_closed_spline_c0(n, on_mirror.data(), break_count, breaks.data(),
                                                     &edges.projected) != 0 ||
                       edges.projected == NULL_TAG))
        return fail("Fail to create the projected edge on the mirror.\n", 5);
    if (HM_VD_create_closed_spline_c0(n, reflected.data(), break_count, breaks.data(), &edges.reflected) != 0 ||
        edges.reflected == NULL_TAG)
        return fail("Fail to create the reflected edge on the target plane.\n", 6);
    int status = 0;
    if (projection_object != NULL_TAG) status = project_edge(projection_object, &edges.reflected);

    Temporaries made;
    tag_t reflected_made = NULL_TAG;
    if (mc_bounded_plane(1, &edges.reflected, nullptr, 0, nullptr, &reflected_made) != 0)
        return fail("Fail to create the reflected sheet on the target plane.\n", 7);
    made.add(reflected_made);
    tag_t mirror_made = NULL_TAG;
    if (!on_sphere) {
        if (mc_bounded_plane(1, &edges.projected, nullptr, 0, nullptr, &mirror_made) != 0)
            return fail("Fail to create a bounded plane.\n", 9);
    } else if (mc_spherical_patch_through(n, on_mirror.data(), break_count, breaks.data(), *mirror, &mirror_made) !=
               0) {
        return fail("Fail to create the projected sheet on the mirror.\n", 8);
    }
    made.release(reflected_made);
    *mirror_sheet = mirror_made;
    *reflected_sheet = reflected_made;
    return status;
}

}  // namespace carvell::mirror

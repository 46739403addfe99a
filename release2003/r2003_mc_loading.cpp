// The loading step of the 2003 mirror-certification engine: the loaded
// vehicle's pitch about the first loaded point and its drop from the
// reference height, applied to the record's points, sheets and lists, and
// the plan-view eye ellipses of the loaded eyellipse. The eye ellipses are
// drawn here for the initialisation too.
#include "r2003_mirror.h"

#include "farquil.h"
#include "hm_vd.h"
#include "hm_vd_mc.h"
#include "omvra.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace carvell::r2003 {
namespace {

// The degree factor of the loading pitch, as the loading has always used it
// (not exactly 180 / pi).
constexpr double kLoadingDegreesPerRadian = 57.29577319531843;
constexpr double kFullTurn = 6.283185307179586;
// Left in the part's undo list after the loaded eyellipse was looked at.
constexpr const char* kLoadingMark = "loading_mark";

struct EyeGeometry {
    double centroids[2][3];
    double lengths[2];
    double first_dir[3];
    double second_dir[3];
    double hip[3];
};

// The pitch about G1 (about the absolute y axis) followed by the drop from
// G0's height to G1's. The pitch is taken only when one of the loaded points
// left G0's height, and the drop only when G1 did; neither without the
// loading flag. -1 when the pitch is needed but G1 and G2 stand one above
// the other; otherwise the host's code of the matrix that failed.
int loading_matrix(const mc_data_2003_s* d, double matrix[12]) {
    const double* g0 = d->loading_vectors[0];
    const double* g1 = d->loading_vectors[1];
    const double* g2 = d->loading_vectors[2];
    const double tolerance = d->distance_tolerance;
    double drop = 0.0;
    double pitch = 0.0;
    if (d->loading) {
        drop = g0[2] - g1[2];
        if (std::fabs(drop) > tolerance || std::fabs(g0[2] - g2[2]) > tolerance) {
            const double run = g2[0] - g1[0];
            if (std::fabs(run) <= tolerance) return -1;
            pitch = std::atan((g2[2] - g1[2]) / run) * kLoadingDegreesPerRadian;
        }
        if (std::fabs(drop) <= tolerance) drop = 0.0;
    }
    const double axis[3] = {0.0, 1.0, 0.0};
    const double shift[3] = {0.0, 0.0, -drop};
    double rotation[12], translation[12];
    if (int r = hm5945(g1, axis, pitch, rotation)) return r;
    if (int r = hm5943(shift, translation)) return r;
    return hm5942(rotation, translation, matrix);
}

// A copy of the object carried by the matrix, on the object's own layer.
// 0 with *copy written, or the host's code (nothing left).
int loaded_copy(const double matrix[12], tag_t object, tag_t* copy) {
    tag_t made = NULL_TAG;
    int status = 0;
    const int result = hm5947(matrix, &object, 1, 2, -1, 2, &made, nullptr, &status);
    if (result != 0 || status != 0 || made == NULL_TAG) {
        detail::delete_if_alive(made);
        return result != 0 ? result : status != 0 ? status : -1;
    }
    *copy = made;
    return 0;
}

// Puts loaded copies of the source's objects, in order, into the list in
// place of what it held. A copy that fails ends it: the copies made are
// deleted, the list stays as it was and the host's code is returned. A
// source without objects changes nothing.
int load_list(const double matrix[12], hm_list_p_t source, hm_list_p_t* list) {
    const std::vector<tag_t> objects = detail::list_items(source);
    if (objects.empty()) return 0;
    std::vector<tag_t> copies;
    for (tag_t object : objects) {
        tag_t copy = NULL_TAG;
        if (int r = loaded_copy(matrix, object, &copy)) {
            for (tag_t made : copies) detail::delete_if_alive(made);
            return r;
        }
        copies.push_back(copy);
    }
    detail::delete_list(list);
    *list = detail::new_list(copies);
    return 0;
}

// The eye geometry of the eyellipse moved with the vehicle: its parameters
// with the loaded hip point (the loaded eye reference) and the loaded heel
// point, made into a copy instance "<name>_copy:" that is read and then
// taken away again by undoing to "loading_mark" (the mark stays). The code
// of the first query, the creation or the undo that failed.
int loaded_eye_geometry(const char* eyellipse, const double matrix[12], const double loaded_reference[3],
                        EyeGeometry* g) {
    mc_eyellipse_params_s p{};
    if (int r = mc_read_eyellipse_params(eyellipse, &p)) return r;
    p.hip_point_x = loaded_reference[0];
    p.hip_point_y = loaded_reference[1];
    p.hip_point_z = loaded_reference[2];
    double heel[3] = {p.heel_point_x, loaded_reference[1], p.heel_point_z};
    if (int r = hm5941(heel, matrix)) return r;
    p.heel_point_x = heel[0];
    p.heel_point_z = heel[2];

    // "root:NAME:" gives "root:NAME_copy:".
    const std::string name(eyellipse);
    const std::string copy_name = name.substr(0, name.size() - 1) + "_copy:";
    int mark = 0;
    if (int r = HM_UNDO_set_mark(UNDO_visible, kLoadingMark, &mark)) return r;
    int status = mc_create_eyellipse_rule(copy_name.c_str(), &p);
    if (status == 0)
        status = mc_read_eyellipse_eye_geometry(copy_name.c_str(), g->centroids, g->lengths, g->first_dir,
                                                g->second_dir, g->hip);
    const int undone = HM_UNDO_undo_to_mark(kLoadingMark);
    return status != 0 ? status : undone;
}

bool finite_record_points(const mc_data_2003_s* d) {
    const double* points[] = {d->loading_vectors[0], d->loading_vectors[1], d->loading_vectors[2],
                              d->eye_reference,      d->pivot,              d->prime};
    for (const double* p : points)
        if (!detail::model_point(p)) return false;
    return std::isfinite(d->distance_tolerance);
}

}  // namespace

int mc_create_eye_ellipses_2003(const double centroids[2][3], const double axis_lengths[2],
                                const double first_dir[3], const double second_dir[3], tag_t ellipses[2]) {
    if (!centroids || !axis_lengths || !first_dir || !second_dir || !ellipses) return -1;
    tag_t made[2] = {NULL_TAG, NULL_TAG};
    for (int i = 0; i < 2; ++i) {
        if (int r = mc_create_ellipse_conic(centroids[i], 0.5 * axis_lengths[0], first_dir, 0.5 * axis_lengths[1],
                                            second_dir, 0.0, kFullTurn, &made[i])) {
            for (tag_t ellipse : made) detail::delete_if_alive(ellipse);
            return r;
        }
    }
    ellipses[0] = made[0];
    ellipses[1] = made[1];
    return 0;
}

int mc_apply_loading_2003(mc_data_2003_s* data) {
    if (!data || !finite_record_points(data)) return -1;
    double matrix[12];
    if (int r = loading_matrix(data, matrix)) return r;
    double loaded_reference[3];
    detail::copy3(data->eye_reference, loaded_reference);
    if (int r = hm5941(loaded_reference, matrix)) return r;

    // The loaded eye ellipses are made before anything moves, so that an
    // eyellipse that cannot be read or copied leaves the record as it was.
    const bool eyellipse = data->user_eye_flag == 0 && data->eyellipse_name && *data->eyellipse_name;
    tag_t loaded_ellipses[2] = {NULL_TAG, NULL_TAG};
    if (eyellipse) {
        EyeGeometry g{};
        if (int r = loaded_eye_geometry(data->eyellipse_name, matrix, loaded_reference, &g)) return r;
        if (int r = mc_create_eye_ellipses_2003(g.centroids, g.lengths, g.first_dir, g.second_dir, loaded_ellipses))
            return r;
    }

    // The unloaded points stay in the copies.
    detail::copy3(data->eye_reference, data->eye_reference_copy);
    detail::copy3(loaded_reference, data->eye_reference);
    detail::copy3(data->pivot, data->start_pivot);
    (void)hm5941(data->pivot, matrix);
    detail::copy3(data->prime, data->start_prime);
    (void)hm5941(data->prime, matrix);

    int mirror_status = 0;
    if (data->caller_mirror_sheet != NULL_TAG) {
        tag_t mirror = NULL_TAG;
        mirror_status = loaded_copy(matrix, data->caller_mirror_sheet, &mirror);
        if (mirror_status == 0) data->mirror_sheet = mirror;
    }
    if (eyellipse) {
        for (tag_t ellipse : {data->first_ellipse, data->second_ellipse})
            if (ellipse != NULL_TAG) (void)HM_VD_delete_object(ellipse);
        data->first_ellipse = loaded_ellipses[0];
        data->second_ellipse = loaded_ellipses[1];
    }
    if (mirror_status != 0) return mirror_status;

    if (data->backlite_copy != NULL_TAG) {
        tag_t backlite = NULL_TAG;
        if (int r = loaded_copy(matrix, data->backlite_copy, &backlite)) return r;
        data->backlite_sheet = backlite;
    }
    // The bezel curves are the vehicle's objects that move with the mirror.
    if (int r = load_list(matrix, data->bezel_copy, &data->bezel_curves)) return r;
    if (int r = load_list(matrix, data->em_copy, &data->em_restrictions)) return r;
    return load_list(matrix, data->mt_copy, &data->mt_restrictions);
}

}  // namespace carvell::r2003

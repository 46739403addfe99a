// The 2003 outside-mirror stage: a passenger mirror's area against the
// opposite mirror's, the mirror sheet made an exact mirror surface (a cap of
// the specified sphere for a convex mirror, a bounded plane on the glass's
// least-squares plane for a flat one) with its radius checks, then the
// outside-mirror analysis of that surface.
#include "r2003_mirror.h"

#include "hm_vd.h"
#include "hm_vd/objects.h"
#include "hm_vd_mc.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include <cmath>
#include <cstring>

namespace carvell::r2003 {
namespace {

using detail::HostList;

constexpr int kPassengerKind = 2;
constexpr int kDriverKind = 1;
constexpr int kConvexShape = 1;
// Below this the opposite mirror has no area to compare with.
constexpr double kAreaFloor = 1e-10;

enum PrepareCode {
    kPrepared = 0,
    kBadArgument = -1,
    kNotOneFace = 1,
    kOppositeWithoutArea = 2,
};

// The tolerance triple of the record: distance, angle (degrees), third.
struct Tolerances {
    double values[3];
    explicit Tolerances(const mc_data_2003_s& d) : values{d.distance_tolerance, d.angle_tolerance, d.third_tolerance} {}
};

// A passenger mirror certified from the eyellipse is compared with the
// mirror on the other side; the skip stays set for later runs.
int compare_areas(mc_data_2003_s* d) {
    if (d->user_eye_flag != 0 || d->mirror_kind != kPassengerKind) return 0;
    mc_outside_result_s* o = d->outside;
    if (d->opposite_mirror_sheet == d->caller_mirror_sheet || d->skip_area_test == 1) {
        d->skip_area_test = 1;
        o->area_percentage = 0.0;
        mc_add_message(d, "OPPOSITE MIRROR AREA TEST SKIPPED");
        return 0;
    }
    d->skip_area_test = 0;
    o->area_percentage = 0.0;
    const Tolerances tolerances(*d);
    double opposite = 0.0, own = 0.0;
    if (const int status = mc_ask_sheet_area(d->opposite_mirror_sheet, tolerances.values, &opposite)) return status;
    if (!(opposite > kAreaFloor)) return kOppositeWithoutArea;
    if (const int status = mc_ask_sheet_area(d->caller_mirror_sheet, tolerances.values, &own)) return status;
    o->area_percentage = own / opposite * 100.0;
    return 0;
}

// The mirror sheet's single face and its type: 0, kNotOneFace, or the
// failing query's code.
int single_face(tag_t sheet, tag_t* face, int* type) {
    HostList faces;
    if (const int status = HM_MODL_ask_body_faces(sheet, faces.out())) return status;
    int count = 0;
    if (const int status = HM_MODL_ask_list_count(faces.get(), &count)) return status;
    if (count > 1) return kNotOneFace;
    if (const int status = HM_MODL_ask_list_item(faces.get(), 0, face)) return status;
    return HM_MODL_ask_face_type(*face, type);
}

// The record's mirror sheet replaced by a sheet made from it; the caller's
// own sheet is never deleted.
void replace_mirror_sheet(mc_data_2003_s* d, tag_t sheet) {
    if (d->mirror_sheet != d->caller_mirror_sheet) detail::delete_if_alive(d->mirror_sheet);
    d->mirror_sheet = sheet;
}

// A spherical face's own sphere at the pivot: the centre lies at F + r N
// with the host's signed radius.
int surface_from_sphere_face(mc_data_2003_s* d, tag_t face, mc_mirror_surface_s* s) {
    double parm[2], point[3], u1[3], v1[3], u2[3], v2[3], normal[3], radii[2];
    if (const int status = HM_MODL_ask_face_parm(face, d->pivot, parm, point)) return status;
    if (const int status = HM_MODL_ask_face_props(face, parm, point, u1, v1, u2, v2, normal, radii)) return status;
    const double r = radii[0];
    for (int i = 0; i < 3; ++i) s->centre[i] = point[i] + r * normal[i];
    s->curvature = r != 0.0 ? std::fabs(1.0 / r) : 0.0;
    s->radius = std::fabs(r);
    detail::copy3(d->pivot, s->vertex);
    detail::copy3(normal, s->normal);
    d->measured_radius = std::fabs(r);
    return 0;
}

// A convex mirror: the cap of the specified sphere through the glass's edge.
int make_convex_mirror(mc_data_2003_s* d, tag_t face, int face_type, mc_mirror_surface_s* s) {
    if (d->mirror_kind == kDriverKind && d->user_eye_flag == 0)
        mc_add_message(d, "\n*DOES NOT CERTIFY*  Standard does not allow convex mirror. For study only");
    if (face_type == HM_FACE_SPHERICAL)
        if (const int status = surface_from_sphere_face(d, face, s)) return status;
    (void)mc_build_geometry_set(d->mirror_sheet, nullptr, 0, &d->mirror_set);
    tag_t sheet = d->mirror_sheet;
    const int checked = mc_check_mirror_radius(&d->mirror_set, d, &sheet, s);
    if (sheet != NULL_TAG && sheet != d->mirror_sheet) replace_mirror_sheet(d, sheet);
    if (checked != 0) return checked;
    if (const int status = mc_build_geometry_set(d->mirror_sheet, nullptr, 0, &d->mirror_set)) return status;
    const double specified = d->mirror_radius[0];
    if (specified < d->mirror_radius[1] || specified > d->mirror_radius[2])
        mc_add_message(d, "\nSpecified radius out of legal range - for study only ");
    return 0;
}

// A flat mirror: a bounded plane on the least-squares plane of the glass's
// edge, its normal towards +x.
int make_flat_mirror(mc_data_2003_s* d, mc_mirror_surface_s* s) {
    mc_free_geometry_set(&d->mirror_set);
    if (const int status = mc_build_geometry_set(d->mirror_sheet, nullptr, 0, &d->mirror_set)) return status;
    double origin[3], normal[3];
    if (const int status = HM_VD_ask_leastsq_plane(d->mirror_set.point_count, d->mirror_set.points, origin, normal))
        return status;
    if (normal[0] < 0.0)
        for (double& v : normal) v = -v;
    // The outline projected onto that plane bounds the new sheet; no plane
    // or no projected outline is a failure (never an unwritten success).
    const Tolerances tolerances(*d);
    tag_t planar = NULL_TAG;
    if (const int status = mc_project_sheet_to_plane(d->mirror_sheet, &planar, tolerances.values)) return status;
    replace_mirror_sheet(d, planar);
    if (const int status = mc_build_geometry_set(d->mirror_sheet, nullptr, 0, &d->mirror_set)) return status;
    detail::copy3(origin, s->centre);
    s->curvature = 0.0;
    s->radius = 0.0;
    detail::copy3(origin, s->vertex);
    detail::copy3(normal, s->normal);
    d->measured_radius = 0.0;
    return 0;
}

int prepare_and_analyse(mc_data_2003_s* d) {
    if (const int status = compare_areas(d)) return status;
    tag_t face = NULL_TAG;
    int face_type = 0;
    if (const int status = single_face(d->mirror_sheet, &face, &face_type)) return status;
    mc_mirror_surface_s* s = d->outside->surface;
    const int status = d->mirror_shape == kConvexShape ? make_convex_mirror(d, face, face_type, s)
                                                       : make_flat_mirror(d, s);
    if (status != 0) return status;
    return HM_VD_MC_pro_outside_analysis(d, s, d->rear_eye);
}

}  // namespace
}  // namespace carvell::r2003

using namespace carvell::r2003;

int HM_VD_MC_apf_process_outside(mc_data_2003_s* data) {
    if (!data || !data->outside || !data->outside->surface) return kBadArgument;
    const int status = prepare_and_analyse(data);
    mc_free_geometry_set(&data->mirror_set);
    return status;
}

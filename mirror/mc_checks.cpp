// The mirror dialog's input checks: the bezel forms one closed loop, the
// prime point lies on the mirror's perimeter, a convex mirror's measured
// radius agrees with the entered one, the backlite faces sew into one sheet.
// None leaves geometry in the part.
#include "hm_vd/bodies.h"
#include "hm_vd/curve_utils.h"
#include "hm_vd/vectors.h"
#include "hm_vd_mc/checks.h"
#include "elvosk.h"
#include "omvra.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/object_kinds.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"
#include "toolbox/detail/vec3.h"

#include <array>
#include <cmath>
#include <vector>

namespace carvell::mirror {
namespace {

using detail::HostList;
using detail::SmBlock;
using detail::Temporaries;

constexpr int kMaxLoopObjects = 100;
static_assert(kMaxLoopObjects <= HM_VD_MC_MAX_OBJECTS);
constexpr int kJoinType = 2;
// Samples of the mirror outline for the sphere fit: 128 intervals.
constexpr int kOutlineIntervals = 128;
// Relative radius difference below which the fit agrees with the entry.
constexpr double kRadiusAgreement = 0.001;

double distance_tolerance() {
    double tolerance = 0.01;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    return tolerance;
}

// Whether the curve's ends at parameters 0 and 1 are within the tolerance.
bool is_closed(tag_t curve, double tolerance) {
    double start[3], end[3], t[3], pn[3], bn[3], torsion, radius;
    if (HM_MODL_ask_curve_props(curve, 0.0, start, t, pn, bn, &torsion, &radius) != 0) return false;
    if (HM_MODL_ask_curve_props(curve, 1.0, end, t, pn, bn, &torsion, &radius) != 0) return false;
    return detail::distance3(start, end) <= tolerance;
}

// Curves of the objects: edges become temporary curves, curves stay as they
// are. false when an edge gives no curve.
bool curves_of(int count, const tag_t* objects, Temporaries& temporaries, std::vector<tag_t>& curves) {
    for (int i = 0; i < count; ++i) {
        if (detail::is_solid(objects[i], HM_solid_edge_subtype)) {
            tag_t curve = NULL_TAG;
            if (VD_create_curve_from_edge(objects[i], &curve) != 0 || curve == NULL_TAG) return false;
            curves.push_back(temporaries.add(curve));
        } else {
            curves.push_back(objects[i]);
        }
    }
    return true;
}

// The joined curves of a join (each a temporary).
std::vector<tag_t> join(const std::vector<tag_t>& curves, Temporaries& temporaries, bool* ok) {
    int count = 0;
    SmBlock<tag_t> joined;
    *ok = HM_CURVE_auto_join_curves(curves.data(), static_cast<int>(curves.size()), kJoinType, &count,
                                    joined.out()) == 0;
    std::vector<tag_t> result;
    for (int i = 0; joined && i < count; ++i) result.push_back(temporaries.add(joined[i]));
    return result;
}

// The single face of a face or single-face body; 0 with *status set otherwise
// (1: not a face or body, -1: a body of other than one face).
tag_t mirror_face(tag_t mirror, int* status) {
    int type = 0;
    int subtype = 0;
    *status = 1;
    if (HM_OBJ_ask_type_and_subtype(mirror, &type, &subtype) != 0 || type != HM_solid_type) return NULL_TAG;
    if (subtype == HM_solid_face_subtype) return mirror;
    if (subtype != HM_solid_body_subtype) return NULL_TAG;
    HostList faces;
    const std::vector<tag_t> items =
        HM_MODL_ask_body_faces(mirror, faces.out()) == 0 ? faces.items() : std::vector<tag_t>{};
    if (items.size() == 1) return items[0];
    *status = -1;
    return NULL_TAG;
}

std::vector<tag_t> face_edges(tag_t face) {
    HostList edges;
    if (HM_MODL_ask_face_edges(face, edges.out()) != 0) return {};
    return edges.items();
}

// Whether the point lies within the tolerance of one of the face's edges.
bool on_perimeter(const double point[3], const std::vector<tag_t>& edges, double tolerance) {
    for (tag_t edge : edges) {
        Temporaries temporaries;
        tag_t curve = NULL_TAG;
        if (VD_create_curve_from_edge(edge, &curve) != 0 || curve == NULL_TAG) continue;
        temporaries.add(curve);
        double parm = 0.0;
        double nearest[3];
        if (HM_MODL_ask_curve_parm(curve, point, &parm, nearest) == 0 && detail::distance3(point, nearest) < tolerance)
            return true;
    }
    return false;
}

enum ConvexStatus { kConvexOk = 0, kNoFace = 1, kNoOutline = 2, kNoFit = 3, kSphereTooSmall = 4 };

// The face's edges joined into its one outline curve (a temporary).
int outline_of(tag_t face, Temporaries& temporaries, tag_t* outline) {
    const std::vector<tag_t> edges = face_edges(face);
    if (edges.empty() || static_cast<int>(edges.size()) > kMaxLoopObjects) return kNoFace;
    std::vector<tag_t> curves;
    Temporaries edge_curves;
    if (!curves_of(static_cast<int>(edges.size()), edges.data(), edge_curves, curves)) return kNoFace;
    bool ok = false;
    const std::vector<tag_t> joined = join(curves, temporaries, &ok);
    if (!ok || joined.size() != 1) return kNoOutline;
    *outline = joined[0];
    return kConvexOk;
}

// Fits the sphere to the outline samples: its radius, or the entered radius
// when the outline is a plane circle (a flat mirror).
int fit_radius(tag_t outline, double entered_radius, double* radius, bool* agrees) {
    std::vector<std::array<double, 3>> samples(kOutlineIntervals + 1);
    std::vector<double*> rows;
    for (auto& sample : samples) rows.push_back(sample.data());
    int count = 0;
    if (HM_VD_curve_disperse_param_points(outline, kOutlineIntervals, &count, rows.data()) != 0 || count < 3)
        return kNoOutline;
    double sphere_centre[3], circle_centre[3], circle_normal[3];
    double sphere_radius = 0.0;
    double circle_radius = 0.0;
    const int fit = HM_VD_ask_leastsq_sphere(rows.data(), count, distance_tolerance(), sphere_centre, &sphere_radius,
                                             circle_centre, &circle_radius, circle_normal);
    // No sphere: the outline lies in a plane (the toolbox answers 1, or -1 when
    // the fitted centre falls into that plane). A flat mirror keeps the entry.
    if (fit == 1 || fit == -1) {
        *radius = entered_radius;
        *agrees = true;
        return kConvexOk;
    }
    if (fit != 0) return kNoFit;
    if (sphere_radius < circle_radius) return kSphereTooSmall;
    *radius = sphere_radius;
    *agrees = entered_radius != 0.0 && std::fabs(sphere_radius - entered_radius) / std::fabs(entered_radius) <
                                           kRadiusAgreement;
    return kConvexOk;
}

}  // namespace
}  // namespace carvell::mirror

using namespace carvell::mirror;
using carvell::detail::Temporaries;

bool HM_VD_MC_check_curves_edges_loop(int count, const tag_t* objects) {
    // Nothing to look at, or more than the dialog can select: not refused.
    if (count < 1 || count > kMaxLoopObjects) return true;
    if (!objects) return false;
    const double tolerance = distance_tolerance();
    Temporaries temporaries;
    std::vector<tag_t> curves;
    if (!curves_of(count, objects, temporaries, curves)) return false;
    if (count == 1) return is_closed(curves[0], tolerance);
    bool ok = false;
    const std::vector<tag_t> joined = join(curves, temporaries, &ok);
    return ok && joined.size() == 1 && is_closed(joined[0], tolerance);
}

int HM_VD_MC_check_prime_location(const double point[3], tag_t mirror) {
    if (!carvell::detail::finite3(point)) return -1;
    int status = 1;
    const tag_t face = mirror_face(mirror, &status);
    if (face == NULL_TAG) return status;
    const std::vector<tag_t> edges = face_edges(face);
    if (edges.empty()) return -1;
    const double tolerance = distance_tolerance();
    if (on_perimeter(point, edges, tolerance)) return 1;
    double parm[2];
    double nearest[3];
    if (HM_MODL_ask_face_parm(face, point, parm, nearest) == 0 && carvell::detail::distance3(point, nearest) < tolerance) return 2;
    return -1;
}

int HM_VD_MC_check_convex_value(tag_t mirror, double entered_radius, double* radius, bool* agrees) {
    if (!radius || !agrees || !std::isfinite(entered_radius)) return -1;
    int status = 1;
    const tag_t face = mirror_face(mirror, &status);
    if (face == NULL_TAG) {
        // A body of several faces is no mirror to refuse for its radius.
        if (status == -1) *agrees = true;
        return kNoFace;
    }
    Temporaries temporaries;
    tag_t outline = NULL_TAG;
    int result = outline_of(face, temporaries, &outline);
    if (result == kConvexOk) result = fit_radius(outline, entered_radius, radius, agrees);
    if (result != kConvexOk) *agrees = true;
    return result;
}

bool HM_VD_MC_check_backlite(int count, const tag_t* faces) {
    if (count < 1 || count > HM_VD_MC_MAX_OBJECTS || !faces) return false;
    (void)UI_set_status("validating backlite faces");
    carvell::detail::UndoScope scope(UNDO_invisible, "check backlite");
    int sheet_count = 0;
    carvell::detail::SmBlock<tag_t> sheets;
    const int status = carvell::detail::run_step(scope, __FILE__, __LINE__, [&] {
        return extract_and_sew_faces(count, faces, &sheet_count, sheets.out());
    });
    scope.roll_back();
    (void)UI_set_status("");
    return status == 0 && sheet_count == 1;
}

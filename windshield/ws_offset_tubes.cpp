// The offset of a sheet's boundary by tubes, for sheets whose boundary the
// host cannot offset within the faces: a tube of the offset radius about
// each boundary edge cuts the sheet along the curve at that distance from
// the edge; the region these curves enclose around the centre section is
// kept and its boundary is the offset.
#include "ws_internal.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/owners.h"

#include "kestrin.h"
#include "morvish.h"
#include "quillon.h"
#include "tessik.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace carvell::windshield {
namespace {

enum TubeCode { kTubesOk = 0, kNoCopy = 2, kNoTube = 3, kNoTrim = 4, kNotOneBoundary = 6 };
constexpr double kJoinFactor = 10.0;
constexpr double kRadiansPerDegree = 0.017453292519943295;

// The curves where the tube about the edge meets the sheet: the tube's
// faces but its planar end caps, intersected with the sheet.
int ws_create_intersection_curves(tag_t edge, tag_t sheet, double distance, double tolerance,
                                  std::vector<tag_t>& curves) {
    char outer[64];
    std::snprintf(outer, sizeof outer, "%f", 2.0 * std::fabs(distance));
    tag_t feature = 0;
    if (HM_MODL_create_tube(edge, outer, "0.0", &feature) || feature == 0) return kNoTube;
    tag_t body = 0;
    (void)HM_MODL_ask_feat_body(feature, &body);
    detail::HostList faces;
    std::vector<tag_t> side_faces;
    if (body && HM_MODL_ask_body_faces(body, faces.out()) == 0)
        for (tag_t face : faces.items()) {
            int type = 0;
            if (HM_MODL_ask_face_type(face, &type) == 0 && type != HM_FACE_PLANAR) side_faces.push_back(face);
        }
    int count = 0;
    detail::SmBlock<tag_t> made;
    ICURVES_update_data_t request{};
    request.tolerance = tolerance;
    request.sets[0] = {int(side_faces.size()), side_faces.data()};
    request.sets[1] = {1, &sheet};
    const int r = side_faces.empty() ? HM_ERR_GEOMETRY : ICURVES_create_icurves(&request, &count, made.out());
    detail::delete_if_alive(body);
    detail::delete_if_alive(feature);
    if (r) return kNoTube;
    curves.insert(curves.end(), made.get(), made.get() + count);
    return kTubesOk;
}

// The trimmed copy's boundary as one closed chain, split at its corners.
int boundary_pieces(tag_t copy, double tolerance, std::vector<tag_t>& result) {
    detail::HostList boundary;
    if (HM_VD_create_curves_by_boundary_edges(copy, true, boundary.out())) return kNotOneBoundary;
    const std::vector<tag_t> curves = boundary.items();
    detail::Temporaries boundary_curves;
    for (tag_t c : curves) boundary_curves.add(c);
    int loops = 0, closed = 0;
    detail::SmBlock<int> per_loop;
    tag_t** arrays = nullptr;
    if (curves.empty() || HM_VD_CURVE_make_loop_curve_from_array(curves.data(), int(curves.size()), tolerance, &loops,
                                                                &closed, per_loop.out(), &arrays))
        return kNotOneBoundary;
    std::vector<tag_t> first;
    if (loops >= 1) first.assign(arrays[0], arrays[0] + per_loop[0]);
    for (int i = 0; i < loops; ++i) SM_free(arrays[i]);
    SM_free(arrays);
    ws_trace("\n+++Here: cyl_count= %d, num_closed = %d, num_open= %d", int(curves.size()), closed, loops - closed);
    if (!(loops < 2 || closed == 1) || first.empty()) return kNotOneBoundary;
    double degrees = 0.0;
    (void)HM_MODL_ask_angle_tolerance(&degrees);
    const double angle_tolerance = degrees * kRadiansPerDegree;   // the join takes radians
    tag_t joined = 0;
    if (CRV_JOIN_create_joined_curve(int(first.size()), first.data(), kJoinFactor * tolerance,
                                     kJoinFactor * angle_tolerance, &joined) ||
        joined == 0)
        return kNotOneBoundary;
    int count = 0;
    tag_t* pieces = nullptr;
    HM_VD_CURVE_divide_curve_by_c0_knots(joined, &count, &pieces);
    if (pieces) result.assign(pieces, pieces + count);
    SM_free(pieces);
    (void)UPDATE_log_entity_to_delete(joined);
    return result.empty() ? kNotOneBoundary : kTubesOk;
}

}  // namespace

int ws_offset_boundary_by_tubes(const Frame& frame, tag_t sheet, double distance, std::vector<tag_t>& result) {
    result.clear();
    double mid[3], low[3];
    // Without the centre section there is no region to keep.
    if (ws_ask_center_section_points(sheet, frame, mid, low) != 0) return kNoTrim;
    detail::HostList edges;
    if (HM_VD_create_curves_by_boundary_edges(sheet, false, edges.out())) return kNoCopy;
    detail::Temporaries copies;
    tag_t copy = 0;
    if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &sheet, &copy) || copies.add(copy) == 0) return kNoCopy;
    double tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    std::vector<tag_t> cuts;
    detail::Temporaries cut_curves(detail::Temporaries::Disposal::log_for_update);
    int code = kTubesOk;
    for (tag_t edge : edges.items()) {
        std::vector<tag_t> curves;
        code = ws_create_intersection_curves(edge, sheet, distance, tolerance, curves);
        for (tag_t c : curves) cuts.push_back(cut_curves.add(c));
        if (code != kTubesOk) return code;
    }
    if (cuts.empty() || trim_to_single_wiped_area(copy, int(cuts.size()), cuts.data(), true, mid) != 0) return kNoTrim;
    return boundary_pieces(copy, tolerance, result);
}

}  // namespace carvell::windshield

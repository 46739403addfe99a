// Instrument-panel visibility: the three outlines drawn on a plane. The moa
// (the eyellipse seen through the target point), the mustache (the region
// the outline curves cover as seen from both outer eyes) and the hotdog (the
// mustache swept by the moa: stretched so that the moa is a circle, offset
// outward by its radius and stretched back).
#include "hm_vd_vision.h"
#include "ipv_layer.h"
#include "vision_ipv.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include "ambrith.h"
#include "belmorra.h"
#include "hathmor.h"
#include "kestrin.h"
#include "morvish.h"
#include "nethrow.h"
#include "omvra.h"
#include "quillon.h"
#include "rostval.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace carvell::vision {
namespace {

constexpr const char* kKey = "VD_IPV";
constexpr double kTwoPi = 6.283185307179586;
// Host errors the mustache raises, with the source name and lines they carry.
constexpr const char* kRaiseSource = "hm_vd_ipv";
constexpr int kErrNoIntersection = 670946;
constexpr int kErrNoLoop = 3770903;
// Trial distance of the offset side.
constexpr double kTrialOffset = 0.1;

void log(const char* text, bool flush = true) { HM_print_syslog(text, flush); }

// Origin and normal of a plane object or a datum plane.
int plane_parms(tag_t plane, double origin[3], double normal[3]) {
    int type = 0, subtype = 0;
    if (int r = HM_OBJ_ask_type_and_subtype(plane, &type, &subtype)) return r;
    if (type == HM_plane_type) return HM_MODL_ask_plane(plane, origin, normal);
    return HM_VD_ask_datum_plane_parms(plane, origin, normal);
}

// The two tangent points of the section seen from T, ordered by a
// coordinate, the larger first (ties: the first returned first).
bool ordered_tangents(vd_eyellipse_t* e, const double t[3], const double tol[2], int section, IpvCoordinate coordinate,
                      double hi[3], double lo[3]) {
    int count = 0;
    double pts[2][3];
    if (ipv_layer_section_tangents(e, 0, tol, t, section, &count, pts) != 0 || count != 2) return false;
    const bool first = coordinate(pts[0]) >= coordinate(pts[1]);
    detail::copy3(pts[first ? 0 : 1], hi);
    detail::copy3(pts[first ? 1 : 0], lo);
    return true;
}

// A pole nearer than this share of the plane's depth to the plane through
// the eye parallel to it is not cast exactly (its weight would vanish).
constexpr double kLeastCastDepth = 1.0e-3;

double dot3(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// The plane a curve is cast onto from the eye: origin, normal and the eye's depth below it.
struct CastPlane {
    double origin[3], normal[3];
    double depth;
};

// The factor s that takes the point p along its sight line onto the plane
// (eye + s (p - eye) lies on it); 0 when that line does not meet the plane
// ahead of the eye or runs nearly parallel to it.
double cast_factor(const double eye[3], const double p[3], const CastPlane& plane) {
    const double d[3] = {p[0] - eye[0], p[1] - eye[1], p[2] - eye[2]};
    const double along = dot3(plane.normal, d);
    if (!(along * plane.depth > 0.0) || std::fabs(along) < kLeastCastDepth * std::fabs(plane.depth)) return 0.0;
    return plane.depth / along;
}

// The point of a rational spline (n poles x w, y w, z w, w of the order k,
// n + k flat knots) at the parameter u of its range (de Boor).
void spline_point(int n, int k, const double* knots, const double* poles, double u, double out[3]) {
    int span = k - 1;
    while (span < n - 1 && knots[span + 1] <= u) ++span;
    std::vector<std::array<double, 4>> d(k);
    for (int j = 0; j < k; ++j)
        for (int c = 0; c < 4; ++c) d[j][c] = poles[4 * (span - k + 1 + j) + c];
    for (int r = 1; r < k; ++r)
        for (int j = k - 1; j >= r; --j) {
            const int i = span - k + 1 + j;
            const double gap = knots[i + k - r] - knots[i];
            const double a = gap > 0.0 ? (u - knots[i]) / gap : 0.0;
            for (int c = 0; c < 4; ++c) d[j][c] = (1.0 - a) * d[j - 1][c] + a * d[j][c];
        }
    for (int c = 0; c < 3; ++c) out[c] = d[k - 1][c] / d[k - 1][3];
}

// The cast of a line from the eye: the line between its ends' casts.
tag_t cast_line(const double eye[3], tag_t curve, const CastPlane& plane) {
    HM_CURVE_line_t line{};
    double* ends[2] = {line.start_point, line.end_point};
    for (int e = 0; e < 2; ++e) {
        double p[3];
        if (HM_VD_CURVE_ask_point_on_curve(curve, e, p) != 0) return NULL_TAG;
        const double s = cast_factor(eye, p, plane);
        if (s == 0.0) return NULL_TAG;
        for (int c = 0; c < 3; ++c) ends[e][c] = eye[c] + s * (p[c] - eye[c]);
    }
    tag_t made = NULL_TAG;
    return HM_CURVE_create_line(&line, &made) == 0 ? made : NULL_TAG;
}

// The cast of a whole spline from the eye, itself a rational spline with
// the same knots: the pole P of weight w goes to where its sight line meets
// the plane, eye + s (P - eye), with the weight w / s. Null when the curve
// is only a part of its spline data (its ends or middle are not the data's,
// within the tolerance) or a pole has no cast.
tag_t cast_spline(const double eye[3], tag_t curve, double tol, const CastPlane& plane) {
    int n = 0, k = 0;
    detail::HmBlock<double> knots, poles;
    if (HM_CURVE_ask_spline_data(curve, &n, &k, knots.out(), poles.out()) != 0 || n < k || k < 2) return NULL_TAG;
    const double first = knots[k - 1], last = knots[n];
    for (double t : {0.0, 0.5, 1.0}) {
        double on[3], data[3];
        if (HM_VD_CURVE_ask_point_on_curve(curve, t, on) != 0) return NULL_TAG;
        spline_point(n, k, knots.get(), poles.get(), first + t * (last - first), data);
        if (!(detail::distance3(on, data) <= tol)) return NULL_TAG;
    }
    std::vector<double> cast(4 * static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double w = poles[4 * i + 3];
        const double p[3] = {poles[4 * i] / w, poles[4 * i + 1] / w, poles[4 * i + 2] / w};
        const double s = cast_factor(eye, p, plane);
        if (!(w > 0.0) || s == 0.0) return NULL_TAG;
        for (int c = 0; c < 3; ++c) cast[4 * i + c] = (eye[c] + s * (p[c] - eye[c])) * (w / s);
        cast[4 * i + 3] = w / s;
    }
    tag_t made = NULL_TAG;
    return HM_CURVE_create_spline(n, k, knots.get(), cast.data(), &made) == 0 ? made : NULL_TAG;
}

// The curve cast from the eye onto the plane when the cast is exact: a line
// or a whole spline that the sight lines carry onto the plane ahead of the
// eye. A central projection maps a spline's poles and weights to those of
// its cast, so no cone need be cut. Null for anything else.
tag_t exact_cast(const double eye[3], tag_t curve, double tol, const CastPlane& plane) {
    int type = 0, subtype = 0;
    if (HM_OBJ_ask_type_and_subtype(curve, &type, &subtype) != 0) return NULL_TAG;
    if (type == HM_line_type) return cast_line(eye, curve, plane);
    if (type == HM_spline_type) return cast_spline(eye, curve, tol, plane);
    return NULL_TAG;
}

// Each curve of the list projected from the eye onto the plane, all pieces
// in one new list: a line or a whole spline cast exactly, any other curve
// by the cut of its sight cone with the plane.
int ipv_eye_project_curves(const double eye[3], hm_list_p_t curves, double tol, tag_t plane, hm_list_p_t* out) {
    *out = nullptr;
    const std::vector<tag_t> items = detail::list_items(curves);
    if (items.empty() || plane == NULL_TAG) return -1;
    CastPlane onto{};
    const bool castable = plane_parms(plane, onto.origin, onto.normal) == 0 && detail::finite3(eye);
    if (castable) {
        const double to_origin[3] = {onto.origin[0] - eye[0], onto.origin[1] - eye[1], onto.origin[2] - eye[2]};
        onto.depth = dot3(onto.normal, to_origin);
    }
    detail::HostList all;
    HM_MODL_create_list(all.out());
    for (tag_t c : items) {
        const tag_t cast = castable && onto.depth != 0.0 ? exact_cast(eye, c, tol, onto) : NULL_TAG;
        if (cast != NULL_TAG) {
            HM_MODL_put_list_item(all.get(), cast);
            continue;
        }
        detail::HostList pieces;
        HM_VD_eyepoint_project_curve(eye, c, tol, plane, pieces.out());
        for (tag_t p : pieces.items()) HM_MODL_put_list_item(all.get(), p);
    }
    *out = all.release();
    return 0;
}

// The curves projected normally onto the plane, as a new list (the host's group dissolved).
int ipv_project_curves_to_plane(hm_list_p_t curves, tag_t plane, hm_list_p_t* out) {
    *out = nullptr;
    const std::vector<tag_t> items = detail::list_items(curves);
    if (items.empty() || plane == NULL_TAG) return -1;
    HM_CURVE_proj_curves_data_t data;
    HM_CURVE_init_proj_curves_data(&data);
    data.proj_dir_method = HM_PROJ_ALONG_TARGET_NORMALS;
    tag_t group = NULL_TAG;
    if (int r = HM_CURVE_create_proj_curves(static_cast<int>(items.size()), items.data(), 1, &plane, 1, &data, &group))
        return r;
    int n = 0;
    detail::SmBlock<tag_t> members;
    HM_GROUP_ask_group_data(group, members.out(), &n);
    HM_GROUP_ungroup_top(group);
    std::vector<tag_t> tags(members.get(), members.get() + n);
    return HM_VD_ipv_change_array_to_list(n, tags.data(), out);
}

// One planar sheet bounded by the eye projection of the curves.
int eye_sheet(const double eye[3], hm_list_p_t curves, double tol, tag_t plane, tag_t* sheet) {
    hm_list_p_t projected = nullptr;
    if (int r = ipv_eye_project_curves(eye, curves, tol, plane, &projected)) {
        log("fail to eye projection");
        return r;
    }
    hm_list_p_t on_plane = nullptr;
    const int p = ipv_project_curves_to_plane(projected, plane, &on_plane);
    HM_VD_delete_obj_list(&projected);
    if (p != 0) return p;
    const int r = HM_VD_create_bplane(on_plane, sheet);
    HM_VD_delete_obj_list(&on_plane);
    if (r != 0) log("fail to create bplane");
    return r;
}

// The curves of the longest closed loop of the two sheets' common outline.
void longest_loop(tag_t sheet1, tag_t sheet2, hm_list_p_t* mustache) {
    double precision = 0.0;
    GQ_SESSION_ask_precision(&precision);
    const double min_length = precision * 10000.0;
    // The curves where the two sheets meet: lying in one plane, the outline
    // of the region they share.
    ICURVES_update_data_t request{};
    request.tolerance = srfc1;
    tag_t b1 = NULL_TAG, b2 = NULL_TAG;
    ES_solid_ask_brelvic_tag(sheet1, &b1);
    ES_solid_ask_brelvic_tag(sheet2, &b2);
    request.sets[0] = {1, &b1};
    request.sets[1] = {1, &b2};
    int n = 0;
    detail::SmBlock<tag_t> curves;
    ICURVES_create_icurves(&request, &n, curves.out());
    if (n == 0)
        ERROR_raise(kRaiseSource, 2969, kErrNoIntersection, "fail to get intersect curves by the two boundary planes");
    // Without a mustache, none of the intersection curves stays.
    auto fail = [&](int line, const char* message) {
        for (int i = 0; i < n; ++i) UPDATE_log_entity_to_delete(curves[i]);
        ERROR_raise(kRaiseSource, line, kErrNoLoop, message);
    };
    int n_closed = 0, n_open = 0;
    CRV_LST_loop_p_t closed = nullptr, open = nullptr;
    CRV_LST_make_loops(0, n, curves.get(), srfc1, &n_closed, &closed, &n_open, &open);
    log("find closed curve loop", false);
    struct Loops {
        CRV_LST_loop_p_t a, b;
        ~Loops() {
            CRV_LST_free_curve_list(a);
            CRV_LST_free_curve_list(b);
        }
    } owner{closed, open};
    if (n_closed == 0) fail(2983, "fail to find one closed curve loop");
    std::vector<std::vector<tag_t>> loops;
    double best = -1.0;
    size_t kept = 0;
    for (CRV_LST_loop_p_t l = closed; l; l = l->next) {
        int m = 0;
        detail::SmBlock<tag_t> ids;
        CRV_LST_get_eids_in_loop(l, &m, ids.out());
        loops.emplace_back(ids.get(), ids.get() + m);
        const double length = HM_VD_ask_curve_array_length(m, ids.get());
        if (length > best) {
            best = length;
            kept = loops.size() - 1;
        }
    }
    if (!(std::fabs(best) > min_length)) fail(3009, "Loop curve doesn't exist");
    HM_VD_ipv_change_array_to_list(static_cast<int>(loops[kept].size()), loops[kept].data(), mustache);
    for (size_t i = 0; i < loops.size(); ++i)
        if (i != kept)
            for (tag_t c : loops[i]) UPDATE_log_entity_to_delete(c);
    for (CRV_LST_loop_p_t l = open; l; l = l->next)
        for (int i = 0; i < l->n_curves; ++i) UPDATE_log_entity_to_delete(l->curves[i]);
}

// Union of the objects' boxes in the vehicle system; all zero for no list.
void ipv_ask_union_box(hm_list_p_t list, double box[6]) {
    if (!list) {
        for (int k = 0; k < 6; ++k) box[k] = 0.0;
        return;
    }
    for (int k = 0; k < 3; ++k) {
        box[k] = 1e11;
        box[k + 3] = -1e11;
    }
    for (tag_t o : detail::list_items(list)) {
        double b[6];
        if (HM_VD_ask_bounding_box_local(o, ipv_vehicle_origin, ipv_vehicle_matrix, b) != 0) continue;
        for (int k = 0; k < 3; ++k) {
            box[k] = std::min(box[k], b[k]);
            box[k + 3] = std::max(box[k + 3], b[k + 3]);
        }
    }
}

// Sign of the difference of the boxes' x-z areas (0 within 1e-5). Outlines
// on a plane normal to the vehicle's x (the panel, the wheel) have no x-z
// area; their boxes are then compared by their diagonals, so that the larger
// box still wins.
int ipv_compare_box_area(const double a[6], const double b[6]) {
    if (int sign = ipv_layer_compare_box_xz(a, b)) return sign;
    const double da = detail::distance3(a, a + 3), db = detail::distance3(b, b + 3);
    if (std::fabs(da - db) < 1e-5) return 0;
    return da > db ? 1 : -1;
}

int offset_into(const HM_CURVE_offset_data_t& base, double value, hm_list_p_t* out) {
    HM_CURVE_offset_data_t data = base;
    STR_snprintf(data.distance, sizeof data.distance, "%f", value);
    int n = 0;
    detail::SmBlock<tag_t> curves;
    if (int r = HM_CURVE_create_offset_curve(&data, &n, curves.out())) {
        (void)HM_get_fail_message(r);
        return r;
    }
    return HM_VD_ipv_change_array_to_list(n, curves.get(), out);
}

// Whether the positive side is the outward one: the trial with the larger box.
int ipv_ask_offset_side(const HM_CURVE_offset_data_t& data, double radius, bool* positive) {
    const double trials[2] = {radius > 0.0 ? kTrialOffset : -kTrialOffset, radius > 0.0 ? -kTrialOffset : kTrialOffset};
    double boxes[2][6];
    for (int i = 0; i < 2; ++i) {
        hm_list_p_t curves = nullptr;
        if (int r = offset_into(data, trials[i], &curves)) return r;
        ipv_ask_union_box(curves, boxes[i]);
        for (tag_t c : detail::list_items(curves)) HM_VD_delete_object(c);
        HM_MODL_delete_list(&curves);
    }
    *positive = ipv_compare_box_area(boxes[0], boxes[1]) > 0;
    return 0;
}

int ipv_offset_curves(hm_list_p_t curves, double radius, double tol, hm_list_p_t* out) {
    *out = nullptr;
    const std::vector<tag_t> items = detail::list_items(curves);
    if (!curves || items.empty()) return -1;
    HM_STRING_LIST_t strings;
    HM_MODL_init_string_list(&strings);
    HM_MODL_create_string_list(1, static_cast<int>(items.size()), &strings);
    strings.curve_counts[0] = static_cast<int>(items.size());
    strings.directions[0] = 1;
    for (size_t i = 0; i < items.size(); ++i) strings.curves[i] = items[i];
    HM_CURVE_offset_data_t data{};
    data.string = &strings;
    data.tolerances[0] = data.tolerances[1] = tol;
    bool positive = false;
    int r = ipv_ask_offset_side(data, radius, &positive);
    if (r == 0) r = offset_into(data, positive ? radius : -radius, out);
    HM_MODL_free_string_list(&strings);
    return r;
}

// Copies of the curves by the transformation, as a new list.
int transformed_copies(const double matrix[12], const std::vector<tag_t>& curves, hm_list_p_t* out) {
    std::vector<tag_t> copies(curves.size(), NULL_TAG);
    tag_t trace_group = NULL_TAG;
    int status = 0;
    hm5947(matrix, curves.data(), static_cast<int>(curves.size()), 2, 0, 2, copies.data(), &trace_group, &status);
    if (status != 0) {
        for (tag_t c : copies) HM_VD_delete_object(c);
        return status;
    }
    return HM_VD_ipv_change_array_to_list(static_cast<int>(copies.size()), copies.data(), out);
}

// The conic's axes and centre as a coordinate system made the work one.
struct ConicFrame {
    tag_t csys = NULL_TAG;
    double centre[3] = {0, 0, 0};
};
int conic_frame(tag_t conic, ConicFrame* frame) {
    // The conic's evaluated structure: absolute centre (0-2), its axes (11-13, 14-16).
    HM_CURVE_struct_p_t structure = nullptr;
    if (int r = HM_CURVE_ask_curve_struct(conic, &structure)) return r;
    int type = 0;
    double* data = nullptr;
    const int r = HM_CURVE_ask_curve_struct_data(structure, &type, &data);
    HM_CURVE_free_curve_struct(structure);
    if (r != 0) return r;
    double rows[9];
    for (int k = 0; k < 3; ++k) {
        frame->centre[k] = data[k];
        rows[k] = data[11 + k];
        rows[3 + k] = data[14 + k];
    }
    HM_free(data);
    HM_VEC3_cross(rows, rows + 3, rows + 6);
    tag_t matrix = NULL_TAG;
    if (int m = HM_CSYS_create_matrix(rows, &matrix)) return m;
    const double origin[3] = {0, 0, 0};
    if (int c = HM_CSYS_create_csys(origin, matrix, &frame->csys)) return c;
    return HM_CSYS_set_wcs(frame->csys);
}

}  // namespace

int ipv_moa_ellipse(vd_eyellipse_t* eyellipse, const double target[3], tag_t plane, IpvCoordinate lateral,
                    IpvCoordinate vertical, tag_t* point, tag_t* moa) {
    if (!point || !moa) return -1;
    *point = NULL_TAG;
    *moa = NULL_TAG;
    if (!ipv_eyellipse_usable(eyellipse) || !detail::model_point(target)) return -1;
    const double* eye = eyellipse->centroid[1];
    double tol[2];
    HM_MODL_ask_distance_tolerance(&tol[0]);
    HM_MODL_ask_angle_tolerance(&tol[1]);
    const double sight[3] = {eye[0] - target[0], eye[1] - target[1], eye[2] - target[2]};
    double at[3];
    if (HM_VD_CURVE_project_point_along_vector(eye, sight, plane, at) != 0) return -1;
    if (HM_CURVE_create_point(at, point) != 0) return -1;
    double ya[3], yb[3], za[3], zb[3];
    if (!ordered_tangents(eyellipse, target, tol, 0, lateral, ya, yb)) return -1;
    if (!ordered_tangents(eyellipse, target, tol, 1, vertical, za, zb)) return -1;
    double* tangent[4] = {yb, ya, za, zb};
    double projected[4][3];
    for (int i = 0; i < 4; ++i) {
        const double d[3] = {tangent[i][0] - target[0], tangent[i][1] - target[1], tangent[i][2] - target[2]};
        if (HM_VD_CURVE_project_point_along_vector(tangent[i], d, plane, projected[i]) != 0) return -1;
    }
    double origin[3], normal[3];
    if (plane_parms(plane, origin, normal) != 0) return -1;
    double centre[3], x[3], y[3], m = 0.0;
    for (int k = 0; k < 3; ++k) {
        centre[k] = 0.5 * (projected[2][k] + projected[3][k]);
        x[k] = projected[1][k] - projected[0][k];
    }
    // A target on the plane casts its moa onto one point: the ellipse then
    // takes any direction of the plane, and semi-axes of half the distance
    // tolerance, which the hotdog reads as a degenerate moa.
    if (HM_VEC3_unitize(x, 1e-12, &m, x) != 0 || m < 1e-12) {
        const double across[3] = {std::fabs(normal[0]) < 0.9 ? 1.0 : 0.0, std::fabs(normal[0]) < 0.9 ? 0.0 : 1.0, 0.0};
        HM_VEC3_cross(normal, across, x);
        HM_VEC3_unitize(x, 1e-12, &m, x);
    }
    HM_VEC3_cross(x, normal, y);
    HM_VEC3_unitize(y, 1e-12, &m, y);
    const double least = 0.5 * tol[0];
    const double a = std::max(0.5 * detail::distance3(projected[1], projected[0]), least);
    const double b = std::max(0.5 * detail::distance3(projected[2], projected[3]), least);
    const double range[2] = {0.0, kTwoPi};
    // A moa the host cannot make is a failure, not a moa of tag 0.
    if (ipv_layer_ellipse(centre, a, x, b, y, range, moa) != 0) return -1;
    return 0;
}

}  // namespace carvell::vision

using namespace carvell::vision;
namespace detail = carvell::detail;

int HM_VD_ipv_create_moa_on_plane(vd_eyellipse_t* eyellipse, const double target[3], tag_t plane, tag_t* point,
                                  tag_t* moa) {
    if (!point || !moa) return -1;
    trace(kKey, "\n+++HM_VD_ipv_create_moa_on_plane");
    return ipv_layer_moa(eyellipse, target, plane, point, moa);
}

int HM_VD_ipv_create_mustache_curve_on_plane(const double eye1[3], const double eye2[3], hm_list_p_t curves,
                                             tag_t plane, hm_list_p_t* mustache) {
    if (!mustache || !detail::model_point(eye1) || !detail::model_point(eye2)) return -1;
    if (!curves || plane == NULL_TAG) return -1;
    trace(kKey, "\n+++HM_VD_ipv_create_mustache_curve_on_plane");
    *mustache = nullptr;
    const double tol = TOLER_ask_distance_tol();
    const std::vector<tag_t> items = detail::list_items(curves);
    double origin[3], normal[3];
    if (int r = plane_parms(plane, origin, normal)) return r;
    bool all_on_plane = !items.empty();
    for (tag_t c : items)
        if (CRV_ask_curve_on_plane(c, origin, normal, tol) != 1) {
            all_on_plane = false;
            break;
        }
    if (all_on_plane) {
        std::vector<tag_t> copies(items.size(), NULL_TAG);
        for (size_t i = 0; i < items.size(); ++i) HM_VD_copy_object(0, 1, &items[i], &copies[i]);
        return HM_VD_ipv_change_array_to_list(static_cast<int>(copies.size()), copies.data(), mustache);
    }
    // The two bounded sheets are the step's own: they go on every path,
    // a raised host error included.
    detail::Temporaries sheets;
    tag_t sheet1 = NULL_TAG, sheet2 = NULL_TAG;
    if (int r = eye_sheet(eye1, curves, tol, plane, &sheet1)) return r;
    sheets.add(sheet1);
    if (int r = eye_sheet(eye2, curves, tol, plane, &sheet2)) return r;
    sheets.add(sheet2);
    longest_loop(sheet1, sheet2, mustache);
    return 0;
}

int HM_VD_ipv_create_hotdog_curve_on_plane(tag_t moa, hm_list_p_t mustache, tag_t point, const double* threshold,
                                           hm_list_p_t* hotdog) {
    if (!hotdog) return -1;
    *hotdog = nullptr;
    if (moa == NULL_TAG || !mustache || point == NULL_TAG || !threshold || !detail::in_model_space(threshold, 1))
        return -1;
    trace(kKey, "\n+++HM_VD_ipv_create_hotdog_curve_on_plane");
    double p[3];
    if (HM_CURVE_ask_point_data(point, p) != 0) return -1;
    tag_t wcs = NULL_TAG;
    HM_CSYS_ask_wcs(&wcs);
    ConicFrame frame;
    struct Restore {
        tag_t wcs;
        ConicFrame* frame;
        ~Restore() {
            HM_CSYS_set_wcs(wcs);
            if (frame->csys != NULL_TAG) HM_VD_delete_object(frame->csys);
        }
    } restore{wcs, &frame};
    int type = 0, subtype = 0;
    HM_OBJ_ask_type_and_subtype(moa, &type, &subtype);
    if (type != HM_conic_type || subtype != HM_CONIC_ellipse) return -1;
    HM_CURVE_conic_t conic{};
    if (HM_CURVE_ask_conic_data(moa, &conic) != 0) return -1;
    double distance_tol = 0.0;
    HM_MODL_ask_distance_tolerance(&distance_tol);
    const double t = distance_tol + 1e-10, k1 = conic.k1, k2 = conic.k2;
    const std::vector<tag_t> curves = detail::list_items(mustache);
    if (k1 < t && k2 < t) return HM_VD_ipv_change_array_to_list(static_cast<int>(curves.size()), curves.data(), hotdog);
    double tol[kIpvToleranceCount];
    HM_VD_ipv_ask_tolerance(tol);
    if (k1 <= t || k2 <= t) {
        const double radius = k1 > k2 + 1e-10 ? k1 : k2;
        return ipv_offset_curves(mustache, radius, tol[kIpvDistance], hotdog);
    }
    // Carry the sight point to the moa's centre and stretch the moa's short
    // axis to its long one: the moa becomes a circle of the radius.
    if (conic_frame(moa, &frame) != 0) return -1;
    const double* c = frame.centre;
    const double v[3] = {c[0] - p[0], c[1] - p[1], c[2] - p[2]};
    double forward_move[12], back_move[12], scale[12], unscale[12], forward[12], back[12];
    const bool moved = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]) >= *threshold;
    double factors[3] = {1, 1, 1}, inverse[3] = {1, 1, 1};
    const int axis = k1 > k2 ? 1 : 0;
    factors[axis] = k1 > k2 ? k1 / k2 : k2 / k1;
    inverse[axis] = 1.0 / factors[axis];
    if (hm5944(2, c, factors, scale) != 0 || hm5944(2, c, inverse, unscale) != 0) return -1;
    if (moved) {
        const double minus_v[3] = {-v[0], -v[1], -v[2]};
        hm5943(v, forward_move);
        hm5943(minus_v, back_move);
        hm5942(forward_move, scale, forward);
        // The way back undoes the way there: unstretch about the centre, then
        // carry the centre back to the sight point.
        hm5942(unscale, back_move, back);
    } else {
        for (int k = 0; k < 12; ++k) {
            forward[k] = scale[k];
            back[k] = unscale[k];
        }
    }
    hm_list_p_t stretched = nullptr;
    if (transformed_copies(forward, curves, &stretched) != 0) {
        log("fail to scale curves");
        return -1;
    }
    const double radius = std::max(k1, k2);
    hm_list_p_t offset = nullptr;
    const int r = ipv_offset_curves(stretched, radius, tol[kIpvDistance], &offset);
    HM_VD_delete_obj_list(&stretched);
    if (r != 0) return r;
    transformed_copies(back, detail::list_items(offset), hotdog);
    HM_VD_delete_obj_list(&offset);
    return 0;
}

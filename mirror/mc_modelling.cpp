// Modelling helpers of the mirror analyses on sheets and bodies: whether two
// sheets coincide, their union, extreme points, the spherical mirror patch,
// trial Booleans and overlap areas in the solid kernel, bounded planes with
// their fall-backs, the sphere fitted to a mirror, a sheet's outline on its
// best plane, the area of a mirror, named lines.
#include "mirror_helpers.h"
#include "mirror_record.h"

#include "ambrith.h"
#include "farquil.h"
#include "hm_vd/bodies.h"
#include "hm_vd/objects.h"
#include "hm_vd/vectors.h"
#include "hm_vd_curve.h"
#include "nethrow.h"
#include "omvra.h"
#include "quillon.h"
#include "rostval.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace carvell::mirror {
namespace {

using detail::HostList;
using detail::SmBlock;
using detail::Temporaries;
using detail::UndoScope;

constexpr double kGuard = 1e-10;
constexpr double kParallelTolerance = 0.01;   // first faces' normals in a union
constexpr double kCoincideTolerance = 0.001;  // sheets accepted as one when their union fails
constexpr double kMassAccuracy = 0.9;
constexpr int kFallbackSamples = 64;
// The host's acom value whose square root is the distance within which a
// curve's end counts as joined to its neighbour.
constexpr int kJoinedEndIndex = 147;
constexpr int kKeepPointSamples = 16;
// Thin-shell mass properties: type 2, unit system 1 (square inches).
constexpr int kThinShell = 2;
constexpr int kUnitsInch = 1;
constexpr double kMmPerInch = 25.4;
constexpr int kKernelMassOptions[4] = {2, 14002, 14005, 14007};

int fail(const char* message, int status) {
    ERROR_lprintf("%s", message);
    (void)HM_print_syslog("Mirror Certification Error", true);
    return status;
}

double dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
double distance(const double a[3], const double b[3]) {
    const double d[3] = {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
    return std::sqrt(dot(d, d));
}
void cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}
bool unitize(double v[3]) {
    const double length = std::sqrt(dot(v, v));
    if (!(length > kGuard)) return false;
    for (int k = 0; k < 3; ++k) v[k] /= length;
    return true;
}

// Length of a part unit in inches.
double inches_per_part_unit() {
    int units = 1;
    const tag_t part = HM_ASSEM_ask_work_part();
    if (part != NULL_TAG) (void)HM_PART_ask_units(part, &units);
    return units == 2 ? 1.0 : 1.0 / kMmPerInch;
}

// Area (part units squared) and centre of mass (part units) of a sheet as a thin shell.
int shell_properties(tag_t sheet, double* area, double centre[3]) {
    double props[47] = {};
    const double accuracy[11] = {kMassAccuracy};
    const int status =
        HM_MODL_ask_mass_props_3d(1, &sheet, kThinShell, kUnitsInch, 1.0, 1, accuracy, props, nullptr);
    if (status != 0) return status;
    const double unit = inches_per_part_unit();
    *area = props[0] / (unit * unit);
    if (centre)
        for (int k = 0; k < 3; ++k) centre[k] = props[3 + k] / unit;
    return 0;
}

tag_t copy_of(tag_t object) {
    tag_t copy = NULL_TAG;
    return HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &object, &copy) == 0 ? copy : NULL_TAG;
}

// The unit normal of the first face of a sheet.
bool first_face_normal(tag_t sheet, double normal[3]) {
    HostList faces;
    if (HM_MODL_ask_body_faces(sheet, faces.out()) != 0) return false;
    const std::vector<tag_t> items = faces.items();
    if (items.empty()) return false;
    int type = 0, sense = 0;
    double point[3], box[6], radius = 0.0, radius_data = 0.0;
    return HM_MODL_ask_face_data(items[0], &type, point, normal, box, &radius, &radius_data, &sense) == 0;
}

// Bounded plane of the curves taken as one string.
tag_t bplane_of(const std::vector<tag_t>& curves) {
    HostList list;
    if (HM_MODL_create_list(list.out()) != 0) return NULL_TAG;
    for (tag_t c : curves)
        if (HM_MODL_put_list_item(list.get(), c) != 0) return NULL_TAG;
    tag_t sheet = NULL_TAG;
    return HM_VD_create_bplane(list.get(), &sheet) == 0 ? sheet : NULL_TAG;
}

double part_tolerance() {
    double tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    return tolerance;
}

bool curve_ends(tag_t curve, double start[3], double end[3]) {
    return HM_VD_CURVE_ask_point_on_curve(curve, 0.0, start) == 0 && HM_VD_CURVE_ask_point_on_curve(curve, 1.0, end) == 0;
}

// Whether the point lies within the joined-end distance of the curve.
bool joined_to(const double point[3], tag_t curve) {
    double parm = 0.0, nearest[3];
    if (HM_MODL_ask_curve_parm(curve, point, &parm, nearest) != 0) return false;
    return distance(point, nearest) <= std::sqrt(acom[kJoinedEndIndex]) + kGuard;
}

// The last resort: a planar sheet across the outline on its least-squares
// plane, trimmed by the outline brought onto it along the plane's normal.
tag_t bound_on_best_plane(const std::vector<tag_t>& curves) {
    Temporaries made;
    tag_t outline = NULL_TAG;
    if (curves.size() == 1) {
        outline = curves[0];
    } else {
        int count = 0;
        SmBlock<tag_t> joined;
        if (HM_CURVE_auto_join_curves(curves.data(), static_cast<int>(curves.size()), 2, &count, joined.out()) != 0)
            return NULL_TAG;
        for (int i = 0; i < count; ++i) made.add(joined[i]);
        if (count != 1) return NULL_TAG;
        outline = joined[0];
    }
    std::vector<double> packed(3 * kFallbackSamples);
    std::vector<const double*> rows(kFallbackSamples);
    for (int i = 0; i < kFallbackSamples; ++i) {
        if (HM_VD_CURVE_ask_point_on_curve(outline, static_cast<double>(i) / (kFallbackSamples - 1), &packed[3 * i]) !=
            0)
            return NULL_TAG;
        rows[i] = &packed[3 * i];
    }
    double origin[3], normal[3];
    if (HM_VD_ask_leastsq_plane(kFallbackSamples, rows.data(), origin, normal) != 0) return NULL_TAG;
    // Two directions in the plane and the outline's extent along them.
    double u[3] = {1.0, 0.0, 0.0};
    if (std::fabs(normal[0]) > 0.9) u[0] = 0.0, u[1] = 1.0;
    double w[3];
    cross(normal, u, w);
    if (!unitize(w)) return NULL_TAG;
    cross(w, normal, u);
    double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300}, centre[3] = {0, 0, 0};
    for (int i = 0; i < kFallbackSamples; ++i) {
        const double d[3] = {rows[i][0] - origin[0], rows[i][1] - origin[1], rows[i][2] - origin[2]};
        const double s[2] = {dot(d, u), dot(d, w)};
        for (int k = 0; k < 2; ++k) lo[k] = std::min(lo[k], s[k]), hi[k] = std::max(hi[k], s[k]);
        const double h = dot(d, normal);
        for (int k = 0; k < 3; ++k) centre[k] += (rows[i][k] - h * normal[k]) / kFallbackSamples;
    }
    const double margin = 0.1 * std::max(hi[0] - lo[0], hi[1] - lo[1]) + 1.0;
    double corners[4][3];
    const double su[4] = {lo[0] - margin, hi[0] + margin, hi[0] + margin, lo[0] - margin};
    const double sw[4] = {lo[1] - margin, lo[1] - margin, hi[1] + margin, hi[1] + margin};
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < 3; ++k) corners[c][k] = origin[k] + su[c] * u[k] + sw[c] * w[k];
    std::vector<tag_t> edges;
    for (int c = 0; c < 4; ++c) {
        HM_CURVE_line_t data{};
        std::copy(corners[c], corners[c] + 3, data.start_point);
        std::copy(corners[(c + 1) % 4], corners[(c + 1) % 4] + 3, data.end_point);
        tag_t line = NULL_TAG;
        if (HM_CURVE_create_line(&data, &line) != 0) return NULL_TAG;
        edges.push_back(made.add(line));
    }
    const tag_t sheet = bplane_of(edges);
    if (sheet == NULL_TAG) return NULL_TAG;
    HM_MODL_trim_object_t bound{outline, 0};
    HM_MODL_proj_method_t along{2, {normal[0], normal[1], normal[2]}};
    int gaps = 0;
    SmBlock<double> gap_points;
    int status = 0;
    try {
        status = HM_MODL_trim_sheet(sheet, 1, &bound, &along, 1, 1, centre, std::max(part_tolerance(), 1e-6), &gaps,
                                    gap_points.out());
    } catch (...) {
        status = detail::caught_code(__FILE__, __LINE__);
    }
    if (status != 0) {
        detail::delete_if_alive(sheet);
        return NULL_TAG;
    }
    return sheet;
}

// A point of the sphere inside the bounding curves: the centroid of their
// points carried radially onto the sphere.
bool point_inside(const tag_t* curves, int n, const double centre[3], double radius, double point[3]) {
    double sum[3] = {0, 0, 0};
    for (int c = 0; c < n; ++c)
        for (int i = 0; i < kKeepPointSamples; ++i) {
            double p[3];
            if (HM_VD_CURVE_ask_point_on_curve(curves[c], static_cast<double>(i) / kKeepPointSamples, p) != 0)
                return false;
            for (int k = 0; k < 3; ++k) sum[k] += p[k] / (kKeepPointSamples * n);
        }
    double d[3] = {sum[0] - centre[0], sum[1] - centre[1], sum[2] - centre[2]};
    if (!unitize(d)) return false;
    for (int k = 0; k < 3; ++k) point[k] = centre[k] + radius * d[k];
    return true;
}

int trim(tag_t sheet, const std::vector<tag_t>& curves, int kind, const double direction[3], const double keep[3]) {
    std::vector<HM_MODL_trim_object_t> bounds;
    for (tag_t c : curves) bounds.push_back({c, 0});
    HM_MODL_proj_method_t projection{kind, {direction[0], direction[1], direction[2]}};
    int gaps = 0;
    SmBlock<double> gap_points;
    try {
        return HM_MODL_trim_sheet(sheet, static_cast<int>(bounds.size()), bounds.data(), &projection, 1, 1, keep,
                                  std::max(part_tolerance(), 1e-6), &gaps, gap_points.out());
    } catch (...) {
        return detail::caught_code(__FILE__, __LINE__);
    }
}

// The single face of a body, or 0.
tag_t single_face(tag_t body) {
    HostList faces;
    if (HM_MODL_ask_body_faces(body, faces.out()) != 0) return NULL_TAG;
    const std::vector<tag_t> items = faces.items();
    return items.size() == 1 ? items[0] : NULL_TAG;
}

// Kernel bodies of target and tool in one partition (the tool copied over
// when it lies in another).
int kernel_pair(tag_t target, tag_t tool, tag_t* kernel_target, tag_t* kernel_tool) {
    if (const int status = ES_solid_ask_brelvic_tag(target, kernel_target); status != 0) return status;
    if (const int status = ES_solid_ask_brelvic_tag(tool, kernel_tool); status != 0) return status;
    tag_t target_partition = NULL_TAG, tool_partition = NULL_TAG;
    if (const int status = GQ_ENTITY_ask_partition(*kernel_target, &target_partition); status != 0) return status;
    if (const int status = GQ_ENTITY_ask_partition(*kernel_tool, &tool_partition); status != 0) return status;
    if (target_partition != tool_partition) {
        tag_t copy = NULL_TAG;
        if (const int status = GQ_ENTITY_copy(*kernel_tool, &copy); status != 0) return status;
        if (const int status = GQ_BODY_change_partition(copy, target_partition); status != 0) return status;
        *kernel_tool = copy;
    }
    return 0;
}

}  // namespace

bool mc_sheets_coincide(tag_t a, tag_t b, double relative_tolerance) {
    double area_a = 0.0, area_b = 0.0, centre_a[3], centre_b[3];
    if (shell_properties(a, &area_a, centre_a) != 0 || shell_properties(b, &area_b, centre_b) != 0) return false;
    if (area_a <= kGuard) return false;
    return std::fabs(area_a - area_b) / area_a <= relative_tolerance && distance(centre_a, centre_b) <= part_tolerance();
}

int mc_unite_sheets(tag_t a, tag_t b, tag_t* united) {
    if (!united) return -1;
    *united = NULL_TAG;
    Temporaries copies;
    const tag_t ca = copies.add(copy_of(a));
    const tag_t cb = copies.add(copy_of(b));
    if (ca == NULL_TAG || cb == NULL_TAG) return fail("Fail to copy object.\n", 1);
    double na[3], nb[3], c[3];
    if (first_face_normal(ca, na) && first_face_normal(cb, nb)) {
        cross(na, nb, c);
        if (std::sqrt(dot(c, c)) <= kParallelTolerance && dot(na, nb) < 0.0) {
            tag_t feature = NULL_TAG;
            (void)HM_MODL_create_reverse_normal(cb, &feature);
        }
    }
    tag_t result = NULL_TAG;
    if (HM_MODL_operations(ca, cb, HM_MODL_UNITE) == 0) {
        result = ca;
    } else if (HM_MODL_operations(cb, ca, HM_MODL_UNITE) == 0) {
        result = cb;
    } else if (mc_sheets_coincide(ca, cb, kCoincideTolerance)) {
        result = ca;
    } else {
        return fail("Fail to do operations.\n", 2);
    }
    const tag_t out = copy_of(result);
    if (out == NULL_TAG) return fail("Fail to copy object.\n", 1);
    *united = out;
    return 0;
}

int mc_extreme_point(tag_t body, const double directions[3][3], tag_t* subentity, tag_t* face, double point[3]) {
    if (!directions || !subentity || !face || !point) return -1;
    HostList faces;
    if (HM_MODL_ask_body_faces(body, faces.out()) != 0) return fail("Fail to ask body faces.\n", 1);
    const std::vector<tag_t> items = faces.items();
    if (items.size() != 1) return fail("Error in face count.\n", 3);
    *face = items[0];
    if (HM_MODL_ask_extreme(items[0], directions[0], directions[1], directions[2], subentity, point) != 0)
        return fail("Fail to ask extreme point.\n", 5);
    if (*subentity != NULL_TAG) return 0;
    // No subentity reported: the extreme points of the edges count as well.
    HostList edges;
    if (HM_MODL_ask_face_edges(items[0], edges.out()) != 0) return fail("Fail to ask face edges.\n", 6);
    double best = dot(point, directions[0]);
    for (tag_t edge : edges.items()) {
        tag_t sub = NULL_TAG;
        double p[3];
        if (HM_MODL_ask_extreme(edge, directions[0], directions[1], directions[2], &sub, p) != 0)
            return fail("Fail to ask extreme point.\n", 5);
        if (dot(p, directions[0]) > best) {
            best = dot(p, directions[0]);
            std::copy(p, p + 3, point);
            *subentity = edge;
        }
    }
    return 0;
}

int mc_spherical_patch(const tag_t* curves, int n, tag_t* patch, mc_sphere_s* sphere) {
    if (!curves || n < 1 || !patch || !sphere) return -1;
    *patch = NULL_TAG;
    double axis[3] = {sphere->axis[0], sphere->axis[1], sphere->axis[2]};
    if (!(sphere->radius > 0.0) || !unitize(axis)) return fail("Fail to create sphere.\n", 1);
    char radius_text[133], negative_text[133], diameter_text[133];
    std::snprintf(radius_text, sizeof radius_text, "%10g", sphere->radius);
    std::snprintf(negative_text, sizeof negative_text, "%10g", -sphere->radius);
    std::snprintf(diameter_text, sizeof diameter_text, "%10g", 2.0 * sphere->radius);
    Temporaries made;
    tag_t feature = NULL_TAG, body = NULL_TAG;
    if (HM_MODL_create_sphere1(HM_NULLSIGN, sphere->centre, diameter_text, &feature) != 0 ||
        HM_MODL_ask_feat_body(feature, &body) != 0 || body == NULL_TAG)
        return fail("Fail to create sphere.\n", 1);
    made.add(body);
    HostList faces;
    if (HM_MODL_ask_body_faces(body, faces.out()) != 0) return fail("Fail to ask list count.\n", 1);
    const std::vector<tag_t> sphere_faces = faces.items();
    tag_t sheet = NULL_TAG;
    if (sphere_faces.size() != 1 || HM_MODL_extract_face(sphere_faces[0], 0, &sheet) != 0 || sheet == NULL_TAG)
        return fail("Fail to extract the face from the sphere body.\n", 1);
    made.add(sheet);
    // Cut the sphere in half through its centre, keeping the side of the vertex.
    tag_t plane = NULL_TAG;
    if (HM_MODL_create_plane(sphere->centre, axis, &plane) != 0)
        return fail("Fail to create plane to cut the left semi_sphere.\n", 1);
    made.add(plane);
    for (int k = 0; k < 3; ++k) {
        sphere->vertex[k] = sphere->centre[k] + sphere->radius * axis[k];
        sphere->axis[k] = axis[k];
    }
    const double down[3] = {-axis[0], -axis[1], -axis[2]};
    if (trim(sheet, {plane}, 2, down, sphere->vertex) != 0) return fail("Fail to cut the left semi_sphere.\n", 1);
    if (single_face(sheet) == NULL_TAG) return fail("Fail to ask body faces.\n", 1);
    double start[3];
    if (HM_VD_CURVE_ask_point_on_curve(curves[0], 0.0, start) != 0) return fail("Fail to ask curve props.\n", 1);
    const double direction[3] = {distance(start, sphere->centre) < sphere->radius ? axis[0] : -axis[0],
                                 distance(start, sphere->centre) < sphere->radius ? axis[1] : -axis[1],
                                 distance(start, sphere->centre) < sphere->radius ? axis[2] : -axis[2]};
    double keep[3];
    if (!point_inside(curves, n, sphere->centre, sphere->radius, keep)) return fail("Fail to ask curve props.\n", 1);
    const std::vector<tag_t> bounds(curves, curves + n);
    {
        UndoScope scope(UNDO_invisible, "trim fail");
        int status = trim(sheet, bounds, 2, direction, keep);
        if (status != 0) {
            if (scope.is_set()) (void)UNDO_KW_undo_to_mark(scope.mark());
            status = trim(sheet, bounds, 1, direction, keep);
        }
        if (status != 0) return fail("Fail to trim sheet.\n", 1);
        scope.keep();
    }
    const tag_t result = copy_of(sheet);
    if (result == NULL_TAG) return fail("Fail to copy object.\n", 1);
    *patch = result;
    return 0;
}

int mc_spherical_patch_through(int n, const double* points, int break_count, const int* breaks,
                               const mc_mirror_surface_record& sphere, tag_t* patch) {
    if (!points || !breaks || !patch || n < 3) return -1;
    *patch = NULL_TAG;
    // The region's side of the sphere: towards the points' mean.
    double axis[3] = {0, 0, 0};
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < 3; ++k) axis[k] += (points[3 * i + k] - sphere.centre[k]) / n;
    if (!unitize(axis)) return fail("Fail to create sphere.\n", 1);
    tag_t sheet = NULL_TAG;
    if (HM_MODL_create_sphere_patch(sphere.centre, sphere.radius, axis, n, points, break_count, breaks, &sheet) != 0 ||
        sheet == NULL_TAG)
        return fail("Fail to trim sheet.\n", 1);
    *patch = sheet;
    return 0;
}

int mc_trial_boolean(tag_t target, tag_t tool, int operation, double tolerance, int* body_count) {
    if (!body_count || operation < 0 || operation > 2) return -1;
    *body_count = 0;
    double gap = 0.0, p1[3], p2[3];
    if (HM_MODL_ask_minimum_dist(target, tool, 0, nullptr, 0, nullptr, &gap, p1, p2) != 0) return -1;
    if (gap > tolerance) return 1;
    UndoScope scope(UNDO_invisible, "CHECK_SUBTRACT_BODY", UndoScope::RollBack::quiet);
    return detail::run_step(scope, __FILE__, __LINE__, [&]() -> int {
        tag_t kernel_target = NULL_TAG, kernel_tool = NULL_TAG;
        if (const int status = kernel_pair(target, tool, &kernel_target, &kernel_tool); status != 0) return status;
        int count = 0;
        SmBlock<tag_t> bodies;
        int status = 0;
        if (operation == 0)
            status = GQ_BODY_unite_bodies(kernel_target, 1, &kernel_tool, &count, bodies.out());
        else if (operation == 1)
            status = GQ_BODY_subtract_bodies(kernel_target, 1, &kernel_tool, &count, bodies.out());
        else
            status = GQ_BODY_intersect_bodies(kernel_target, 1, &kernel_tool, &count, bodies.out());
        if (status == 0) *body_count = count;
        return status;
    });
}

int mc_overlap_amount(tag_t a, tag_t b, double* amount) {
    if (!amount) return -1;
    *amount = 0.0;
    UndoScope scope(UNDO_invisible, "HANDLE_MULTIPLE_TRIANG", UndoScope::RollBack::quiet);
    return detail::run_step(scope, __FILE__, __LINE__, [&]() -> int {
        tag_t kernel_a = NULL_TAG, kernel_b = NULL_TAG;
        if (const int status = kernel_pair(a, b, &kernel_a, &kernel_b); status != 0) return status;
        int count = 0;
        SmBlock<tag_t> bodies;
        if (const int status = GQ_BODY_intersect_bodies(kernel_a, 1, &kernel_b, &count, bodies.out()); status != 0)
            return status;
        if (count < 1) return 0;
        double value = 0.0;
        if (const int status = GQ_TOPOL_eval_mass_props(count, bodies.get(), 1.0, 4, kKernelMassOptions, &value,
                                                        nullptr, nullptr, nullptr);
            status != 0)
            return status;
        *amount = value;
        return 0;
    });
}

int mc_chain_ends(int n, const tag_t* curves, double start[3], double end[3]) {
    if (n < 1 || !curves || !start || !end) return -1;
    double a0[3], a1[3], b0[3], b1[3];
    if (!curve_ends(curves[0], a0, a1) || !curve_ends(curves[n - 1], b0, b1)) return -1;
    if (n == 1) {
        std::copy(a0, a0 + 3, start);
        std::copy(b1, b1 + 3, end);
        return 0;
    }
    // The first curve's start is free unless it is the end joined to the
    // second curve; the same for the last curve's end and the one before it.
    const double* free_start = joined_to(a0, curves[1]) && !joined_to(a1, curves[1]) ? a1 : a0;
    const double* free_end = joined_to(b1, curves[n - 2]) && !joined_to(b0, curves[n - 2]) ? b0 : b1;
    std::copy(free_start, free_start + 3, start);
    std::copy(free_end, free_end + 3, end);
    return 0;
}

bool mc_distinct_point(const double point[3], int n, const double* const* points, double out[3]) {
    if (!point || n < 0 || (n > 0 && !points) || !out) return false;
    for (int i = 0; i < n; ++i) {
        if (points[i] && distance(point, points[i]) >= srfc1 - kGuard) {
            std::copy(points[i], points[i] + 3, out);
            return true;
        }
    }
    return false;
}

int mc_close_and_bound(int n, const tag_t* curves, tag_t* sheet) {
    if (n < 1 || !curves || !sheet) return -1;
    *sheet = NULL_TAG;
    const double gap = part_tolerance() + kGuard;
    Temporaries lines;
    std::vector<tag_t> loop;
    auto bridge = [&](const double from[3], const double to[3]) {
        if (distance(from, to) <= gap) return true;
        HM_CURVE_line_t data{};
        std::copy(from, from + 3, data.start_point);
        std::copy(to, to + 3, data.end_point);
        tag_t line = NULL_TAG;
        if (HM_CURVE_create_line(&data, &line) != 0) return false;
        loop.push_back(lines.add(line));
        return true;
    };
    // Walk the loop from the chain's free start: each curve is entered at its
    // end nearer the walk's point and left at its other, distinct end.
    double first[3], last[3];
    if (mc_chain_ends(n, curves, first, last) != 0) return 1;
    double at[3];
    std::copy(first, first + 3, at);
    for (int i = 0; i < n; ++i) {
        double e0[3], e1[3];
        if (!curve_ends(curves[i], e0, e1)) return 1;
        const bool reversed = distance(at, e1) < distance(at, e0);
        const double* entry = reversed ? e1 : e0;
        const double* ends[2] = {reversed ? e0 : e1, entry};
        if (i > 0 && !bridge(at, entry)) return 1;
        loop.push_back(curves[i]);
        // A curve whose ends are one point (closed) leaves where it entered.
        if (!mc_distinct_point(entry, 2, ends, at)) std::copy(entry, entry + 3, at);
    }
    if (!bridge(at, first)) return 1;
    *sheet = bplane_of(loop);
    return *sheet == NULL_TAG ? 1 : 0;
}

int mc_bounded_plane(int n, const tag_t* curves, const char* name, int colour, hm_list_p_t list, tag_t* sheet) {
    if (!curves || n < 1 || !sheet) return -1;
    *sheet = NULL_TAG;
    const std::vector<tag_t> given(curves, curves + n);
    tag_t made = bplane_of(given);
    if (made == NULL_TAG) (void)mc_close_and_bound(n, curves, &made);
    if (made == NULL_TAG) made = bound_on_best_plane(given);
    if (made == NULL_TAG) return fail("Fail to create bplane.\n", 1);
    if (mc_set_object_attributes(made, name, colour, 0, list) != 0) {
        detail::delete_if_alive(made);
        return fail("Fail to set the object name.\n", 2);
    }
    *sheet = made;
    return 0;
}

int mc_spherical_fit(mc_geometry_set_s* set, mc_data_s* data, tag_t* sheet, double centre[3], double axis[3]) {
    if (!set || !data || !sheet || !centre || !axis || !set->points || set->point_count < 1) return -1;
    *sheet = NULL_TAG;
    const double tol = data->distance_tolerance;
    double sphere_centre[3], sphere_radius = 0.0, circle_centre[3], circle_radius = 0.0, circle_normal[3];
    const int fit = HM_VD_ask_leastsq_sphere(set->points, set->point_count, tol, sphere_centre, &sphere_radius,
                                             circle_centre, &circle_radius, circle_normal);
    if (fit == -1 || fit == 2) return fail("Fail to determine the calculated sphere radius.\n", 99);
    if (fit != 0 && fit != 1) return 0;
    for (int k = 0; k < 3; ++k) axis[k] = circle_normal[k];
    if (axis[0] < 0.0)
        for (int k = 0; k < 3; ++k) axis[k] = -axis[k];
    const double user = data->user_radius;
    if (fit == 0) {
        if (std::fabs(sphere_radius - user) <= tol) {
            std::copy(sphere_centre, sphere_centre + 3, centre);
            const tag_t copy = copy_of(set->source);
            if (copy == NULL_TAG) return fail("Fail to copy object.\n", 1);
            *sheet = copy;
            return 0;
        }
        add_warning(data, kWarnDiffRadii);
    }
    if (circle_radius > user) {
        add_warning(data, kWarnBadRadius);
        return fail("Error in user radius.\n", 3);
    }
    const double depth = std::sqrt(std::max(0.0, user * user - circle_radius * circle_radius));
    for (int k = 0; k < 3; ++k) centre[k] = circle_centre[k] - depth * axis[k];
    mc_sphere_s sphere{};
    std::copy(centre, centre + 3, sphere.centre);
    sphere.radius = user;
    std::copy(axis, axis + 3, sphere.axis);
    tag_t patch = NULL_TAG;
    if (mc_spherical_patch(set->edge_curves, set->edge_curve_count, &patch, &sphere) != 0)
        return fail("Fail to make sphere.\n", 1);
    if (mc_sheet_elements(patch, nullptr, 0, data->third_tolerance, set) != 0) {
        detail::delete_if_alive(patch);
        return fail("Fail to ask the sheet elements.\n", 1);
    }
    *sheet = patch;
    return 0;
}

int mc_outline_on_plane(tag_t sheet, double min_edge_length, tag_t* planar) {
    if (!planar) return -1;
    *planar = NULL_TAG;
    mc_geometry_set_s set{};
    struct SetOwner {
        mc_geometry_set_s* set;
        ~SetOwner() { (void)mc_free_geometry_set(set); }
    } owner{&set};
    if (mc_sheet_elements(sheet, nullptr, 0, min_edge_length, &set) != 0) return fail("Fail to ask sheet element.\n", 1);
    double origin[3], normal[3];
    if (HM_VD_ask_leastsq_plane(set.point_count, set.points, origin, normal) != 0)
        return fail("Fail to ask leastsq plane.\n", 2);
    Temporaries made;
    tag_t plane = NULL_TAG;
    if (HM_MODL_create_plane(origin, normal, &plane) != 0) return fail("Fail to create plane.\n", 3);
    made.add(plane);
    HM_CURVE_proj_curves_data_t data{};
    (void)HM_CURVE_init_proj_curves_data(&data);
    data.join = 1;
    tag_t group = NULL_TAG;
    if (HM_CURVE_create_proj_curves(1, &set.outline, 1, &plane, 1, &data, &group) != 0)
        return fail("Fail to create proj curves.\n", 4);
    tag_t* members = nullptr;
    int count = 0;
    const int asked = HM_GROUP_ask_group_data(group, &members, &count);
    SmBlock<tag_t> owned(members);
    for (int i = 0; i < count; ++i) made.add(members[i]);
    (void)HM_GROUP_ungroup_top(group);
    if (asked != 0 || count < 1) return fail("Fail to ask group data.\n", 5);
    tag_t result = NULL_TAG;
    if (mc_bounded_plane(1, &members[0], nullptr, 0, nullptr, &result) != 0) return 6;
    *planar = result;
    return 0;
}

int mc_mirror_area(tag_t sheet, double min_edge_length, double* area) {
    if (!area) return -1;
    *area = 0.0;
    int dimensionality = 0;
    double plane[6];
    if (HM_MODL_ask_obj_dimensionality(sheet, kMassAccuracy, &dimensionality, plane) != 0)
        return fail("Fail to ask obj_dimensionality.\n", 1);
    if (dimensionality == 2) {
        if (shell_properties(sheet, area, nullptr) != 0) return fail("Fail to ask mass props 3d.\n", 2);
        return 0;
    }
    // A curved mirror counts by its outline on its best plane.
    UndoScope scope(UNDO_invisible, "planar_mark", UndoScope::RollBack::quiet);
    return detail::run_step(scope, __FILE__, __LINE__, [&]() -> int {
        tag_t planar = NULL_TAG;
        if (const int status = mc_outline_on_plane(sheet, min_edge_length, &planar); status != 0) return 3;
        if (shell_properties(planar, area, nullptr) != 0) return fail("Fail to ask mass props 3d.\n", 2);
        return 0;
    });
}

int mc_create_named_line(const double start[3], const double end[3], const char* name, int colour,
                         hm_list_p_t list, tag_t* line) {
    if (!start || !end || !line) return -1;
    *line = NULL_TAG;
    HM_CURVE_line_t data{};
    std::copy(start, start + 3, data.start_point);
    std::copy(end, end + 3, data.end_point);
    tag_t made = NULL_TAG;
    if (HM_CURVE_create_line(&data, &made) != 0) return 1;
    if (mc_set_object_attributes(made, name, colour, 0, list) != 0) {
        detail::delete_if_alive(made);
        return fail("Fail to set object color and name.\n", 2);
    }
    *line = made;
    return 0;
}

int mc_delete_object(tag_t object) { return HM_VD_delete_object(object); }

}  // namespace carvell::mirror

// Glazing checks: the glazing faces against the eyellipse, and the forward
// glazing's section extremes, sight-line hits and nearest point.
#include "hm_vd_vision/glazing.h"
#include "vision_glazing.h"

#include "belmorra.h"
#include "farquil.h"
#include "hm_vd.h"
#include "omvra.h"
#include "quillon.h"
#include "tessik.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

namespace carvell::vision {

namespace {

constexpr double kParallelTol = 1.0e-10;
// The glazing tools cut at a fixed tolerance (one thousandth of an inch in
// millimetres, whatever the part's units, as they always have).
constexpr double kGlazeTolerance = 0.0254;

enum GlazeStatus { kGlazeOk = 0, kGlazeNoSheet = 1, kGlazeBadSection = 2, kGlazeNoCrossing = 3, kGlazeMultiple = 4,
                   kGlazeMiss = 5 };

void cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

double dot(const double a[3], const double b[3]) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

tag_t make_line(const double a[3], const double b[3]) {
    HM_CURVE_line_t line{};
    std::memcpy(line.start_point, a, sizeof line.start_point);
    std::memcpy(line.end_point, b, sizeof line.end_point);
    tag_t tag = 0;
    (void)HM_CURVE_create_line(&line, &tag);
    return tag;
}

struct Frame {
    const double* origin;
    const double* matrix;
};

// The line of two planes cut between the planes across x through the faces'
// box corners: its two ends.
int line_across_box(const double* p1, const double* n1, const double* p2, const double* n2, const double box_min[3],
                    const double box_max[3], const double n[3], double q1[3], double q2[3]) {
    double point[3], direction[3];
    if (plane_plane_line(p1, n1, p2, n2, point, direction)) return kGlazeMultiple;
    if (HM_VD_ask_intersect_point_of_plane_and_line(point, direction, box_min, n, q1) ||
        HM_VD_ask_intersect_point_of_plane_and_line(point, direction, box_max, n, q2))
        return kGlazeMultiple;
    return kGlazeOk;
}

// Where the line pierces the glazing: one point on exactly one face.
int pierce(tag_t line, int face_count, const tag_t* faces, const Frame& f, output_t* out) {
    int faces_hit = 0;
    for (int i = 0; i < face_count; ++i) {
        int count = 0;
        HM_MODL_intersection_t** entries = nullptr;
        if (HM_MODL_intersect_objects(line, faces[i], kGlazeTolerance, &count, &entries) || count == 0) {
            detail::free_intersection_entries(count, entries);
            continue;
        }
        const bool one_point = count == 1 && entries[0]->kind == 0;
        double hit[3];
        if (one_point) std::memcpy(hit, entries[0]->point, sizeof hit);
        detail::discard_intersection_entries(count, entries);
        if (!one_point) return kGlazeMultiple;
        std::memcpy(out->slot[VD_LOCAL_Y(hit, f.origin, f.matrix) > 0.0 ? GLAZE_HIT_RIGHT : GLAZE_HIT_LEFT], hit,
                    sizeof hit);
        ++faces_hit;
    }
    if (faces_hit == 0) return kGlazeMiss;
    return faces_hit > 1 ? kGlazeMultiple : kGlazeOk;
}

int section_extremes(tag_t plane, int face_count, const tag_t* faces, const Frame& f, output_t* out) {
    double low[3], high[3];
    std::memcpy(low, f.origin, sizeof low);
    std::memcpy(high, f.origin, sizeof high);
    for (int i = 0; i < face_count; ++i) {
        int count = 0;
        HM_MODL_intersection_t** entries = nullptr;
        if (HM_MODL_intersect_objects(faces[i], plane, kGlazeTolerance, &count, &entries) || count == 0) {
            detail::free_intersection_entries(count, entries);
            continue;
        }
        const tag_t curve = count == 1 && entries[0]->kind != 0 ? entries[0]->curve : 0;
        if (!curve) {
            detail::discard_intersection_entries(count, entries);
            return kGlazeBadSection;
        }
        for (double t : {0.0, 1.0}) {
            double p[3], tangent[3], normal[3], binormal[3], torsion, radius;
            if (HM_MODL_ask_curve_props(curve, t, p, tangent, normal, binormal, &torsion, &radius)) continue;
            const double y = VD_LOCAL_Y(p, f.origin, f.matrix);
            if (y < VD_LOCAL_Y(low, f.origin, f.matrix)) std::memcpy(low, p, sizeof p);
            if (y > VD_LOCAL_Y(high, f.origin, f.matrix)) std::memcpy(high, p, sizeof p);
        }
        detail::discard_intersection_entries(count, entries);
    }
    if (VD_LOCAL_Y(low, f.origin, f.matrix) >= 0.0 || VD_LOCAL_Y(high, f.origin, f.matrix) <= 0.0)
        return kGlazeNoCrossing;
    std::memcpy(out->slot[GLAZE_SECTION_MIN_Y], low, sizeof low);
    std::memcpy(out->slot[GLAZE_SECTION_MAX_Y], high, sizeof high);
    return kGlazeOk;
}

}  // namespace

int plane_plane_line(const double p1[3], const double n1[3], const double p2[3], const double n2[3], double point[3],
                     double direction[3]) {
    double c[3];
    cross(n1, n2, c);
    const double length = std::sqrt(dot(c, c));
    if (length <= kParallelTol * std::sqrt(dot(n1, n1) * dot(n2, n2))) return -1;
    // Zero the coordinate along which the line runs most steeply and solve
    // the other two by Cramer's rule.
    int zero = 0;
    for (int k = 1; k < 3; ++k)
        if (std::fabs(c[k]) > std::fabs(c[zero])) zero = k;
    const int i = (zero + 1) % 3, j = (zero + 2) % 3;
    const double d1 = dot(n1, p1), d2 = dot(n2, p2);
    const double det = n1[i] * n2[j] - n1[j] * n2[i];   // = c[zero]
    point[zero] = 0.0;
    point[i] = (d1 * n2[j] - d2 * n1[j]) / det;
    point[j] = (n1[i] * d2 - n2[i] * d1) / det;
    for (int k = 0; k < 3; ++k) direction[k] = c[k] / length;
    return 0;
}

}  // namespace carvell::vision

namespace {

// The one check of what a caller hands the glazing exports: faces present
// for a count their array can have, the csys finite and inside the model
// space, and the slots read as input (points and normals of the section and
// of planes 2 to 4) too.
bool input_usable(int face_count, const tag_t* faces, const double origin[3], const double matrix[9],
                  const output_t* output) {
    using carvell::detail::model_point;
    if (!carvell::detail::count_fits(face_count, sizeof(tag_t)) || (face_count > 0 && !faces)) return false;
    if (!model_point(origin) || !carvell::detail::in_model_space(matrix, 9)) return false;
    if (!output) return true;
    for (int slot : {GLAZE_SECTION_POINT, GLAZE_SECTION_NORMAL, GLAZE_PLANE2_POINT, GLAZE_PLANE2_NORMAL,
                     GLAZE_PLANE3_POINT, GLAZE_PLANE3_NORMAL, GLAZE_PLANE4_POINT, GLAZE_PLANE4_NORMAL})
        if (!model_point(output->slot[slot])) return false;
    return true;
}

}  // namespace

bool HM_VD_GLAZE_check_glazing_face(int mode, int face_count, const tag_t* faces, const char* eyellipse_prefix,
                                    const double origin[3], const double matrix[9]) {
    if (!eyellipse_prefix || !input_usable(std::max(face_count, 0), faces, origin, matrix, nullptr)) return false;
    // The middle centroid (eye type 0) and the first 95th-percentile axis.
    int n_points = 0, n_numbers = 0;
    double** centroids = nullptr;
    double* lengths = nullptr;
    TEXT_t path{};
    TEXT_format_string(&path, "%sCentroid_coords:", eyellipse_prefix);
    (void)VD_RQ_ask_point_list(&path, &n_points, &centroids);
    TEXT_free(&path);
    TEXT_format_string(&path, "%sAxis_Length_95:", eyellipse_prefix);
    (void)VD_RQ_ask_number_list(&path, &n_numbers, &lengths);
    TEXT_free(&path);
    const bool complete = n_points >= 3 && n_numbers >= 3;
    double middle[3] = {};
    const double a = complete ? lengths[0] : 0.0;
    if (complete) VD_map_point_abs2csys(centroids[1], origin, matrix, middle);
    for (int i = 0; i < n_points; ++i) SM_free(centroids[i]);
    SM_free(centroids);
    SM_free(lengths);
    if (!complete) return false;
    if (face_count < 1) return true;
    if (!faces) return false;
    for (int i = 0; i < face_count; ++i) {
        double box[6];
        if (HM_VD_ask_bounding_box_local(faces[i], origin, matrix, box)) return false;
        if (mode == 0 && box[0] >= middle[0] - a) return false;
        if (mode == 2 && box[3] <= middle[0] + a) return false;
    }
    return true;
}

int HM_VD_GLAZE_forward_glazing_data(int face_count, const tag_t* faces, const double origin[3],
                                     const double matrix[9], output_t* output) {
    using namespace carvell::vision;
    if (!output || !input_usable(face_count, faces, origin, matrix, output)) return kGlazeNoSheet;
    // Every exit rolls the part back to the forward data's mark, quietly.
    carvell::detail::UndoScope mark(UNDO_visible, "Forward_data", carvell::detail::UndoScope::RollBack::quiet);
    const Frame f{origin, matrix};
    double n[3];
    VD_MTX3_X(matrix, n);
    tag_t section_plane = 0;
    if (HM_MODL_create_plane(output->slot[GLAZE_SECTION_POINT], output->slot[GLAZE_SECTION_NORMAL], &section_plane))
        return kGlazeBadSection;
    if (face_count < 1 || !faces) return kGlazeNoSheet;
    if (face_count > 1) {
        int sheets = 0;
        tag_t* sewn = nullptr;
        extract_and_sew_faces_with_disjoint(face_count, faces, &sheets, &sewn);
        SM_free(sewn);
        if (sheets != 1) return kGlazeNoSheet;
    }
    int code = section_extremes(section_plane, face_count, faces, f, output);
    if (code) return code;
    // The faces' box in the vehicle csys, its corners back in absolute terms.
    double box[6] = {};
    for (int i = 0; i < face_count; ++i) {
        double b[6];
        if (HM_VD_ask_bounding_box_local(faces[i], origin, matrix, b)) return kGlazeNoSheet;
        for (int k = 0; k < 3; ++k) {
            if (i == 0 || b[k] < box[k]) box[k] = b[k];
            if (i == 0 || b[k + 3] > box[k + 3]) box[k + 3] = b[k + 3];
        }
    }
    double box_min[3], box_max[3];
    VD_map_point_csys2abs(box, origin, matrix, box_min);
    VD_map_point_csys2abs(box + 3, origin, matrix, box_max);
    double q1[3], q2[3];
    code = line_across_box(output->slot[GLAZE_PLANE2_POINT], output->slot[GLAZE_PLANE2_NORMAL],
                           output->slot[GLAZE_PLANE3_POINT], output->slot[GLAZE_PLANE3_NORMAL], box_min, box_max, n,
                           q1, q2);
    if (code) return code;
    double m1[3], m2[3];
    for (auto [from, to] : {std::pair<double*, double*>{q1, m1}, {q2, m2}}) {
        double local[3];
        VD_map_point_abs2csys(from, origin, matrix, local);
        local[1] = -local[1];
        VD_map_point_csys2abs(local, origin, matrix, to);
    }
    for (tag_t line : {make_line(q1, q2), make_line(m1, m2)}) {
        code = pierce(line, face_count, faces, f, output);
        if (code) return code;
    }
    double q3[3], q4[3];
    code = line_across_box(output->slot[GLAZE_PLANE4_POINT], output->slot[GLAZE_PLANE4_NORMAL],
                           output->slot[GLAZE_PLANE3_POINT], output->slot[GLAZE_PLANE3_NORMAL], box_min, box_max, n,
                           q3, q4);
    if (code) return code;
    const tag_t line2 = make_line(q3, q4);
    bool any = false;
    double best = 0.0;
    for (int i = 0; i < face_count; ++i) {
        double d, on_face[3], on_line[3];
        if (HM_MODL_ask_minimum_dist(faces[i], line2, 0, nullptr, 0, nullptr, &d, on_face, on_line)) continue;
        if (!any || d < best) {
            best = d;
            std::memcpy(output->slot[GLAZE_NEAREST], on_face, sizeof on_face);
            any = true;
        }
    }
    return kGlazeOk;
}

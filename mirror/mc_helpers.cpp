// Modelling helpers of the mirror analyses: a sheet's elements and their
// release, end gaps between curves, object attributes, joined polylines and
// the eyellipse conics.
#include "mirror_helpers.h"
#include "mirror_curves_core.h"

#include "hm_vd/curve_utils.h"
#include "hm_vd/objects.h"
#include "hm_vd_curve.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/curve_samples.h"
#include "toolbox/detail/object_kinds.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/vec3.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <vector>

namespace carvell::mirror {
namespace {

using detail::HostList;
using detail::SmBlock;

constexpr int kJoinType = 2;
constexpr int kSamplesPerPiece = 30;   // samples a piece of a sheet's outline
constexpr double kGapTolerancePad = 1.1;   // the join's tolerance over the largest gap
constexpr double kLengthGuard = 1e-10;
constexpr double kNoGap = 4294967295.0;

int fail(const char* message, int status) {
    ERROR_lprintf("%s", message);
    (void)HM_print_syslog("Mirror Certification Error", true);
    return status;
}

// One curve joined from the curves, or 0.
tag_t join_once(const std::vector<tag_t>& curves) {
    int count = 0;
    SmBlock<tag_t> joined;
    const int status =
        HM_CURVE_auto_join_curves(curves.data(), static_cast<int>(curves.size()), kJoinType, &count, joined.out());
    if (status == 0 && count == 1) return joined[0];
    for (int i = 0; joined && i < count; ++i) detail::delete_if_alive(joined[i]);
    return NULL_TAG;
}

// The boundary edges of a sheet of several faces, which must form exactly
// one closed loop at the part's distance tolerance.
int boundary_loop_edges(tag_t source, std::vector<tag_t>* edges) {
    HostList boundary;
    if (HM_VD_create_curves_by_boundary_edges(source, false, boundary.out()) != 0)
        return fail("Fail to get a closed curve loop.\n", 1);
    double tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    int loop_count = 0, closed_count = 0;
    int* per_loop = nullptr;
    tag_t** loops = nullptr;
    (void)HM_VD_CURVE_make_loop_curve(boundary.get(), tolerance, &loop_count, &closed_count, &per_loop, &loops);
    const bool one_loop = loop_count == 1 && closed_count == 1;
    if (one_loop) edges->assign(loops[0], loops[0] + per_loop[0]);
    for (int i = 0; i < loop_count; ++i) SM_free(loops[i]);
    SM_free(loops);
    SM_free(per_loop);
    return one_loop ? 0 : fail("Fail to get a closed curve loop.\n", 1);
}

// The edges of the single face of the sheet or body (its face in *face).
int edges_of(tag_t source, tag_t* face, std::vector<tag_t>* edges) {
    HostList faces;
    if (HM_MODL_ask_body_faces(source, faces.out()) != 0) return fail("Fail to ask body faces.\n", 1);
    const std::vector<tag_t> items = faces.items();
    if (items.size() > 1) return boundary_loop_edges(source, edges);
    if (items.size() != 1) return fail("Fail to get a closed curve loop.\n", 1);
    HostList face_edges;
    if (HM_MODL_ask_face_edges(items[0], face_edges.out()) != 0) return fail("Fail to ask face edges.\n", 1);
    *face = items[0];
    *edges = face_edges.items();
    return 0;
}

// Curves of the edges longer than the minimum length (edges made curves).
int edge_curves(const std::vector<tag_t>& edges, double min_length, std::vector<tag_t>* curves) {
    for (tag_t edge : edges) {
        tag_t curve = NULL_TAG;
        if (VD_create_curve_from_edge(edge, &curve) != 0 || curve == NULL_TAG) {
            for (tag_t c : *curves) detail::delete_if_alive(c);
            curves->clear();
            return fail("Fail to create curve from edge.\n", 1);
        }
        double length = 0.0;
        if (HM_CURVE_ask_arc_length(curve, 0.0, 1.0, &length) == 0 && length <= min_length + kLengthGuard) {
            detail::delete_if_alive(curve);
            continue;
        }
        curves->push_back(curve);
    }
    return 0;
}

// The one outline of the curves, joined at the part's tolerance or, failing
// that, at 1.1 times their largest end gap.
tag_t outline_of(const std::vector<tag_t>& curves) {
    if (curves.size() == 1) {
        tag_t copy = NULL_TAG;
        return HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, curves.data(), &copy) == 0 ? copy : NULL_TAG;
    }
    tag_t outline = join_once(curves);
    if (outline != NULL_TAG) return outline;
    tag_t pair[2];
    double gap = 0.0;
    if (mc_largest_end_gap(curves.data(), static_cast<int>(curves.size()), pair, &gap) != 0) return NULL_TAG;
    double tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    (void)HM_MODL_set_distance_tolerance(kGapTolerancePad * gap);
    outline = join_once(curves);
    (void)HM_MODL_set_distance_tolerance(tolerance);
    return outline;
}

// Closes an outline whose ends are apart by a line joined onto it.
tag_t closed(tag_t outline) {
    double start[3], end[3];
    if (HM_VD_CURVE_ask_point_on_curve(outline, 0.0, start) != 0 ||
        HM_VD_CURVE_ask_point_on_curve(outline, 1.0, end) != 0)
        return outline;
    double tolerance = 0.0;
    (void)HM_MODL_ask_distance_tolerance(&tolerance);
    if (detail::distance3(start, end) <= tolerance + kLengthGuard) return outline;
    HM_CURVE_line_t line_data{};
    std::copy(end, end + 3, line_data.start_point);
    std::copy(start, start + 3, line_data.end_point);
    tag_t line = NULL_TAG;
    if (HM_CURVE_create_line(&line_data, &line) != 0) return outline;
    HostList pieces;
    (void)HM_MODL_create_list(pieces.out());
    (void)HM_MODL_put_list_item(pieces.get(), outline);
    (void)HM_MODL_put_list_item(pieces.get(), line);
    tag_t joined = NULL_TAG;
    const bool ok = HM_CURVE_create_joined_curve(pieces.get(), kJoinType, &joined) == 0 && joined != NULL_TAG;
    detail::delete_if_alive(line);
    if (!ok) return outline;
    detail::delete_if_alive(outline);
    return joined;
}

}  // namespace

int mc_free_geometry_set(mc_geometry_set_s* set) {
    if (!set) return -1;
    for (int i = 0; set->edge_curves && i < set->edge_curve_count; ++i) detail::delete_if_alive(set->edge_curves[i]);
    detail::delete_if_alive(set->outline);
    for (int i = 0; set->points && i < set->point_count; ++i) SM_free(set->points[i]);
    SM_free(set->points);
    SM_free(set->edge_curves);
    SM_free(set->breaks);
    *set = mc_geometry_set_s{};
    return 0;
}

int mc_sheet_elements(tag_t source, const tag_t* curves, int curve_count, double min_edge_length,
                      mc_geometry_set_s* set) {
    if (!set) return -1;
    (void)mc_free_geometry_set(set);
    std::vector<tag_t> pieces;
    if (source == NULL_TAG) {
        if (!curves || curve_count < 1) return fail("Fail to copy object.\n", 1);
        pieces.resize(curve_count);
        if (HM_VD_copy_object(HM_VD_KEEP_LAYER, curve_count, curves, pieces.data()) != 0) {
            for (tag_t p : pieces) detail::delete_if_alive(p);
            return fail("Fail to copy object.\n", 1);
        }
    } else {
        std::vector<tag_t> edges;
        if (const int status = edges_of(source, &set->face, &edges); status != 0) return status;
        if (const int status = edge_curves(edges, min_edge_length, &pieces); status != 0) return status;
    }
    set->source = source;
    set->edge_curve_count = static_cast<int>(pieces.size());
    set->edge_curves = static_cast<tag_t*>(SM_alloc(pieces.size() * sizeof(tag_t)));
    if (set->edge_curves) std::copy(pieces.begin(), pieces.end(), set->edge_curves);

    const tag_t outline = pieces.empty() ? NULL_TAG : outline_of(pieces);
    if (outline == NULL_TAG) return fail("Fail to join curves.\n", 3);
    set->outline = closed(outline);
    // Curves (a bezel) give points enough for their bends at the part's
    // tolerance, a straight piece its two ends; a sheet's outline gives a
    // fixed count a piece.
    if (source == NULL_TAG) {
        double chord = 0.0;
        (void)HM_MODL_ask_distance_tolerance(&chord);
        detail::chord_curve_points(set->outline, chord, &set->point_count, &set->points, &set->break_count,
                                   &set->breaks);
    } else {
        HM_VD_simple_curve_points(set->outline, kSamplesPerPiece, &set->point_count, &set->points,
                                  &set->break_count, &set->breaks);
    }
    if (set->point_count == 0) return fail("Fail to sample the points.\n", 4);
    return 0;
}

int mc_end_gaps(tag_t a, tag_t b, double gaps[2]) {
    double a0[3], a1[3], b0[3], b1[3];
    for (auto [curve, t, p] : {std::tuple{a, 0.0, a0}, {a, 1.0, a1}, {b, 0.0, b0}, {b, 1.0, b1}}) {
        if (const int status = HM_VD_CURVE_ask_point_on_curve(curve, t, p); status != 0) return status;
    }
    gaps[0] = std::min(detail::distance3(a0, b0), detail::distance3(a0, b1));
    gaps[1] = std::min(detail::distance3(a1, b0), detail::distance3(a1, b1));
    return 0;
}

int mc_largest_end_gap(const tag_t* curves, int n, tag_t pair[2], double* gap) {
    if (!curves || !pair || !gap || n < 2) return -1;
    *gap = 0.0;
    pair[0] = curves[0];
    pair[1] = curves[1];
    for (int i = 0; i < n; ++i) {
        double start = kNoGap, end = kNoGap;
        tag_t start_partner = NULL_TAG, end_partner = NULL_TAG;
        for (int j = 0; j < n; ++j) {
            double gaps[2];
            if (j == i || mc_end_gaps(curves[i], curves[j], gaps) != 0) continue;
            if (gaps[0] < start) start = gaps[0], start_partner = curves[j];
            if (gaps[1] < end) end = gaps[1], end_partner = curves[j];
        }
        const double own = std::max(start, end);
        if (own > *gap && own < kNoGap) {
            *gap = own;
            pair[0] = curves[i];
            pair[1] = start >= end ? start_partner : end_partner;
        }
    }
    return 0;
}

int mc_set_object_attributes(tag_t object, const char* name, int colour, int blank_status, hm_list_p_t list) {
    if (name && HM_OBJ_set_name(object, name) != 0) return fail("Fail to set object name.\n", 1);
    if (colour > 0 && HM_OBJ_set_color(object, colour) != 0) return fail("Fail to set object color.\n", 2);
    if (list && HM_MODL_put_list_item(list, object) != 0) return 3;
    if (HM_OBJ_set_blank_status(object, blank_status != 0) != 0) return fail("Fail to set object blank_status.\n", 4);
    return 0;
}

int mc_create_joined_polyline(const double (*points)[3], int n, tag_t* curve) {
    return curves::joined_polyline(points, n, curve, fail);
}

int mc_create_ellipse_conic(const double centre[3], double a, const double a_direction[3], double b,
                            const double b_direction[3], double start, double end, tag_t* conic) {
    return curves::ellipse_conic(centre, a, a_direction, b, b_direction, start, end, conic);
}

namespace {

// Deepest halving of one chord between samples: 2^10 pieces.
constexpr int kDeepestImageHalving = 10;

}  // namespace

bool mc_images_along_chords(int n, const double* points, int break_count, const int* breaks, int image_count,
                            double tolerance, const std::function<bool(const double*, double*)>& map,
                            std::vector<double>* images, std::vector<int>* image_breaks) {
    if (!points || !breaks || !images || !image_breaks || n < 1 || image_count < 1) return false;
    const size_t width = 3 * static_cast<size_t>(image_count);
    images->clear();
    image_breaks->clear();
    struct Chord {
        std::array<double, 3> a, b;
        std::vector<double> image_a, image_b;
        int depth;
    };
    std::vector<double> first(width);
    if (!map(points, first.data())) return false;
    images->insert(images->end(), first.begin(), first.end());
    int next_break = 0;
    if (break_count > 0 && breaks[0] == 0) image_breaks->push_back(0), ++next_break;
    for (int i = 1; i < n; ++i) {
        std::vector<double> end(width);
        if (!map(points + 3 * i, end.data())) return false;
        std::vector<Chord> stack;
        stack.push_back({{points[3 * i - 3], points[3 * i - 2], points[3 * i - 1]},
                         {points[3 * i], points[3 * i + 1], points[3 * i + 2]},
                         std::vector<double>(images->end() - width, images->end()), end, 0});
        while (!stack.empty()) {
            Chord chord = std::move(stack.back());
            stack.pop_back();
            const std::array<double, 3> mid = {0.5 * (chord.a[0] + chord.b[0]), 0.5 * (chord.a[1] + chord.b[1]),
                                               0.5 * (chord.a[2] + chord.b[2])};
            std::vector<double> image_mid(width);
            bool straight = chord.depth >= kDeepestImageHalving;
            if (!straight) {
                if (!map(mid.data(), image_mid.data())) return false;
                straight = true;
                for (int k = 0; k < image_count; ++k) {
                    const double off = detail::distance_to_segment3(&chord.image_a[3 * k], &chord.image_b[3 * k],
                                                                    &image_mid[3 * k]);
                    straight = straight && off <= tolerance;
                }
            }
            if (straight) {
                images->insert(images->end(), chord.image_b.begin(), chord.image_b.end());
                continue;
            }
            // The later half first onto the stack, so that the earlier is done first.
            stack.push_back({mid, chord.b, image_mid, chord.image_b, chord.depth + 1});
            stack.push_back({chord.a, mid, chord.image_a, image_mid, chord.depth + 1});
        }
        if (next_break < break_count && breaks[next_break] == i) {
            image_breaks->push_back(static_cast<int>(images->size() / width) - 1);
            ++next_break;
        }
    }
    return true;
}

int mc_project_outline_to_plane(const double eye[3], const mc_geometry_set_s* set, tag_t plane, double tolerance,
                                int* count, tag_t** curves) {
    if (!set || !set->points) return -1;
    (void)tolerance;   // the spline thins its points at the part's own tolerance
    return curves::project_points_to_plane(eye, set->point_count, set->points, set->break_count, set->breaks, plane,
                                           count, curves, fail);
}

}  // namespace carvell::mirror

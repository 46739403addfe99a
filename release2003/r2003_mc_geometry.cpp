// Geometry operations of the 2003 mirror-certification engine: the outline of
// a sheet or curve loop as a geometry set of 129 points, the display of
// result objects, named lines, the union of two sheets and the extreme point
// of a sheet. Each does one attempt and answers a status code; none logs.
#include "r2003_mirror.h"

#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "hm_vd/vectors.h"
#include "hm_vd_mc.h"
#include "omvra.h"
#include "quillon.h"
#include "toolbox/detail/owners.h"
#include "toolbox/detail/undo_scope.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace carvell::r2003 {
namespace {

using detail::HostList;

constexpr int kOutlineIntervals = MC_OUTLINE_POINTS - 1;
constexpr int kJoinType = 2;

// The set's curves made from the sheet's single face: 0; 1 a host step
// failed; 2 the sheet has more than one face.
int curves_of_sheet(tag_t sheet, mc_geometry_set_s* set, std::vector<tag_t>* curves) {
    HostList faces;
    if (HM_MODL_ask_body_faces(sheet, faces.out()) != 0) return 1;
    const std::vector<tag_t> face_tags = detail::list_items(faces.get());
    if (face_tags.empty()) return 1;
    if (face_tags.size() > 1) return 2;
    set->face = face_tags[0];
    HostList edges;
    if (HM_MODL_ask_face_edges(set->face, edges.out()) != 0) return 1;
    for (tag_t edge : detail::list_items(edges.get())) {
        tag_t curve = NULL_TAG;
        if (HM_MODL_create_curve_from_edge(edge, &curve) != 0 || curve == NULL_TAG) return 1;
        curves->push_back(curve);
    }
    return curves->empty() ? 1 : 0;
}

// Hands the curves to the set (its own array from the host's memory).
int store_curves(const std::vector<tag_t>& curves, mc_geometry_set_s* set) {
    if (curves.empty()) return 0;
    set->curves = static_cast<tag_t*>(SM_alloc(curves.size() * sizeof(tag_t)));
    if (!set->curves) return 1;
    std::memcpy(set->curves, curves.data(), curves.size() * sizeof(tag_t));
    set->curve_count = static_cast<int>(curves.size());
    return 0;
}

}  // namespace

int mc_free_geometry_set(mc_geometry_set_s* set) {
    if (!set) return 0;
    if (set->curve_count > 0 && set->curves) {
        for (int i = 0; i < set->curve_count; ++i) detail::delete_if_alive(set->curves[i]);
        detail::delete_if_alive(set->outline);
    }
    SM_free(set->curves);
    if (set->points) {
        for (int i = 0; i < set->point_count; ++i) SM_free(set->points[i]);
        SM_free(set->points);
    }
    std::memset(set, 0, sizeof *set);
    return 0;
}

int mc_build_geometry_set(tag_t sheet, const tag_t* curves, int curve_count, mc_geometry_set_s* set) {
    if (!set) return 1;
    mc_free_geometry_set(set);
    set->sheet = sheet;
    std::vector<tag_t> made;
    if (sheet == NULL_TAG && curves && curve_count > 0) {
        made.assign(static_cast<size_t>(curve_count), NULL_TAG);
        const int copied = HM_VD_copy_object(HM_VD_KEEP_LAYER, curve_count, curves, made.data());
        made.erase(std::remove(made.begin(), made.end(), NULL_TAG), made.end());
        if (store_curves(made, set) != 0 || copied != 0) return 1;
    } else {
        const int status = curves_of_sheet(sheet, set, &made);
        if (store_curves(made, set) != 0) return 1;
        if (status != 0) return status;
    }
    if (set->curve_count == 1) {
        set->outline = set->curves[0];
    } else {
        int joined_count = 0;
        tag_t* joined = nullptr;
        const int status = HM_CURVE_auto_join_curves(set->curves, set->curve_count, kJoinType, &joined_count, &joined);
        if (status == 0 && joined_count == 1) set->outline = joined[0];
        for (int i = status == 0 && joined_count == 1 ? 1 : 0; joined && i < joined_count; ++i)
            detail::delete_if_alive(joined[i]);
        SM_free(joined);
        if (set->outline == NULL_TAG) return 3;
    }
    set->points = static_cast<double**>(SM_calloc(MC_OUTLINE_POINTS, sizeof(double*)));
    if (!set->points) return 1;
    for (int i = 0; i < MC_OUTLINE_POINTS; ++i) {
        set->points[i] = static_cast<double*>(SM_calloc(3, sizeof(double)));
        if (!set->points[i]) return 1;
        set->point_count = i + 1;
    }
    return HM_VD_curve_disperse_param_points(set->outline, kOutlineIntervals, &set->point_count, set->points);
}

int mc_set_object_display(tag_t object, const char* name, int colour, bool blanked, hm_list_p_t list) {
    if (name && HM_OBJ_set_name(object, name) != 0) return 1;
    if (colour > 0 && HM_OBJ_set_color(object, colour) != 0) return 2;
    if (HM_MODL_put_list_item(list, object) != 0) return 3;
    if (HM_OBJ_set_blank_status(object, blanked) != 0) return 4;
    return 0;
}

int mc_create_named_line(const double start[3], const double end[3], const char* name, int colour, bool blanked,
                         hm_list_p_t list, tag_t* line) {
    if (!line) return 1;
    *line = NULL_TAG;
    if (!start || !end) return 1;
    HM_CURVE_line_t points{};
    std::memcpy(points.start_point, start, sizeof points.start_point);
    std::memcpy(points.end_point, end, sizeof points.end_point);
    tag_t made = NULL_TAG;
    if (HM_CURVE_create_line(&points, &made) != 0 || made == NULL_TAG) return 1;
    if (mc_set_object_display(made, name, colour, blanked, list) != 0) return 2;
    *line = made;
    return 0;
}

int mc_unite_sheet_copies(tag_t a, tag_t b, tag_t* united) {
    if (!united) return 1;
    *united = NULL_TAG;
    tag_t copies[2] = {NULL_TAG, NULL_TAG};
    const tag_t sources[2] = {a, b};
    if (HM_VD_copy_object(HM_VD_KEEP_LAYER, 2, sources, copies) != 0) {
        detail::delete_if_alive(copies[0]);
        detail::delete_if_alive(copies[1]);
        return 1;
    }
    // The union consumes the second copy; a failed one leaves both.
    if (HM_MODL_operations(copies[0], copies[1], HM_MODL_UNITE) != 0) {
        detail::delete_if_alive(copies[0]);
        detail::delete_if_alive(copies[1]);
        return 2;
    }
    tag_t result = NULL_TAG;
    const int copied = HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, copies, &result);
    (void)HM_VD_delete_object(copies[0]);
    if (copied != 0) return 1;
    *united = result;
    return 0;
}

int mc_ask_sheet_extreme_point(tag_t sheet, const double d1[3], const double d2[3], const double d3[3],
                               tag_t* subentity, tag_t* face, double point[3]) {
    if (!d1 || !d2 || !d3 || !subentity || !face || !point) return 1;
    HostList faces;
    if (HM_MODL_ask_body_faces(sheet, faces.out()) != 0) return 1;
    int count = 0;
    if (HM_MODL_ask_list_count(faces.get(), &count) != 0) return 2;
    if (count != 1) return 3;
    if (HM_MODL_ask_list_item(faces.get(), 0, face) != 0) return 4;
    if (HM_MODL_ask_extreme(*face, d1, d2, d3, subentity, point) != 0) return 5;
    if (*subentity != NULL_TAG) return 0;
    // No sub-entity named: the face's edges, the one farthest along d1.
    HostList edges;
    if (HM_MODL_ask_face_edges(*face, edges.out()) != 0) return 6;
    const std::vector<tag_t> edge_tags = detail::list_items(edges.get());
    if (edge_tags.empty()) return 2;
    bool first = true;
    for (tag_t edge : edge_tags) {
        tag_t held = NULL_TAG;
        double p[3];
        if (HM_MODL_ask_extreme(edge, d1, d2, d3, &held, p) != 0) return 5;
        const double along = p[0] * d1[0] + p[1] * d1[1] + p[2] * d1[2];
        const double best = point[0] * d1[0] + point[1] * d1[1] + point[2] * d1[2];
        if (first || along > best) std::memcpy(point, p, sizeof p);
        first = false;
    }
    return 0;
}

int mc_create_bounded_plane(int n, const tag_t* curves, bool decorate, const char* name, int colour, bool blanked,
                            hm_list_p_t list, const double tolerances[3], tag_t* sheet) {
    if (!sheet) return 1;
    *sheet = NULL_TAG;
    if (n < 1 || !curves || !tolerances) return 1;
    HM_STRING_LIST_t boundary;
    (void)HM_MODL_init_string_list(&boundary);
    if (HM_MODL_create_string_list(1, n, &boundary) != 0) return 1;
    boundary.curve_counts[0] = n;
    boundary.directions[0] = 1;
    std::memcpy(boundary.curves, curves, static_cast<size_t>(n) * sizeof(tag_t));
    tag_t made = NULL_TAG;
    const int status = HM_MODL_create_bplane(&boundary, tolerances, &made);
    (void)HM_MODL_free_string_list(&boundary);
    if (status != 0 || made == NULL_TAG) return 1;
    if (VD_convert_to_brep_feature(made) != 0) {
        (void)HM_VD_delete_object(made);
        return 1;
    }
    if (decorate && mc_set_object_display(made, name, colour, blanked, list) != 0) return 2;
    *sheet = made;
    return 0;
}

int mc_project_sheet_to_plane(tag_t sheet, tag_t* planar, const double tolerances[3]) {
    if (!planar || !tolerances) return 1;
    mc_geometry_set_s set{};
    int status = mc_build_geometry_set(sheet, nullptr, 0, &set);
    if (status != 0) {
        mc_free_geometry_set(&set);
        return status;
    }
    double origin[3] = {0, 0, 0}, normal[3] = {0, 0, 1};
    (void)HM_VD_ask_leastsq_plane(set.point_count, set.points, origin, normal);
    tag_t plane = NULL_TAG;
    if (HM_MODL_create_plane(origin, normal, &plane) != 0 || plane == NULL_TAG) {
        mc_free_geometry_set(&set);
        return 1;
    }
    HM_CURVE_proj_curves_data_t along;
    (void)HM_CURVE_init_proj_curves_data(&along);
    along.proj_dir_method = HM_PROJ_ALONG_VECTOR;
    std::memcpy(along.proj_vec, normal, sizeof along.proj_vec);
    tag_t group = NULL_TAG;
    status = HM_CURVE_create_proj_curves(set.curve_count, set.curves, 1, &plane, 1, &along, &group);
    mc_free_geometry_set(&set);
    detail::delete_if_alive(plane);
    if (status != 0) return status;
    // The projected outline bounds the planar sheet; without members there
    // is no sheet, which is a failure, never an unwritten success.
    tag_t* members = nullptr;
    int count = 0;
    const int asked = HM_GROUP_ask_group_data(group, &members, &count);
    std::vector<tag_t> curves(members, members + (asked == 0 && members ? count : 0));
    SM_free(members);
    (void)HM_GROUP_ungroup_top(group);
    if (curves.empty()) return 1;
    const double bounds[3] = {tolerances[0], tolerances[1], 0.0};
    tag_t made = NULL_TAG;
    status = mc_create_bounded_plane(static_cast<int>(curves.size()), curves.data(), false, nullptr, 0, false,
                                     nullptr, bounds, &made);
    for (tag_t c : curves) detail::delete_if_alive(c);
    if (status == 0) *planar = made;
    return status;
}

int mc_ask_shell_area(tag_t sheet, int unit_system, double* area) {
    if (!area) return 1;
    // The area of a sheet as a thin shell of density 1, the first value of
    // its mass properties.
    const double accuracy[11] = {0.9};
    double props[47] = {};
    const int status = HM_MODL_ask_mass_props_3d(1, &sheet, 2, unit_system, 1.0, 1, accuracy, props, nullptr);
    if (status == 0) *area = props[0];
    return status;
}

int mc_ask_sheet_area(tag_t sheet, const double tolerances[3], double* area) {
    if (!area || !tolerances) return 1;
    int dimensionality = 0;
    double data[6];
    if (int status = HM_MODL_ask_obj_dimensionality(sheet, tolerances[0] > 0.0 ? tolerances[0] : 0.01, &dimensionality,
                                                    data))
        return status;
    const auto measure = [area](tag_t body) { return mc_ask_shell_area(body, HM_MASS_UNITS_INCH, area); };
    if (dimensionality == 2) return measure(sheet);
    // A curved sheet is measured flat, on its least-squares plane; the
    // projection leaves the part again by the mark on every path.
    detail::UndoScope scope(UNDO_visible, "planar_mark");
    if (!scope.is_set()) return HM_ERR_UNDO_MARK;
    tag_t planar = NULL_TAG;
    int status = mc_project_sheet_to_plane(sheet, &planar, tolerances);
    if (status == 0) status = measure(planar);
    return status;
}

namespace {

// One trim of the sheet by the curves along the direction, keeping by the
// region point and key; a host exception is a failed trim.
int trim_by_curves(tag_t sheet, const std::vector<tag_t>& curves, const double direction[3], const double point[3],
                   int key, double tolerance) {
    std::vector<HM_MODL_trim_object_t> bounds;
    for (tag_t c : curves) bounds.push_back({c, 0});
    HM_MODL_proj_method_t along{2, {direction[0], direction[1], direction[2]}};
    int gaps = 0;
    double* gap_points = nullptr;
    int status = 0;
    try {
        status = HM_MODL_trim_sheet(sheet, static_cast<int>(bounds.size()), bounds.data(), &along, key, 1, point,
                                    tolerance, &gaps, &gap_points);
    } catch (...) {
        status = detail::caught_code(__FILE__, __LINE__);
    }
    SM_free(gap_points);
    return status;
}

double shell_area(tag_t sheet) {
    double area = 0.0;
    return mc_ask_shell_area(sheet, HM_MASS_UNITS_INCH, &area) == 0 ? area : 0.0;
}

}  // namespace

int mc_trim_sphere_to_outline(const tag_t* curves, int count, double tolerance, tag_t* sheet,
                              mc_mirror_surface_s* surface) {
    if (!sheet) return 1;
    *sheet = NULL_TAG;
    if (!curves || count < 1 || !surface || !(surface->radius > 0.0)) return 1;
    char diameter[133];
    std::snprintf(diameter, sizeof diameter, "%10g", 2.0 * surface->radius);
    tag_t feature = NULL_TAG, sphere = NULL_TAG, hemisphere = NULL_TAG, plane = NULL_TAG;
    const auto clean_up = [&] {
        detail::delete_if_alive(plane);
        if (HM_OBJ_ask_status(sphere) == 3) (void)HM_VD_delete_object(sphere);
    };
    if (HM_MODL_create_sphere1(HM_NULLSIGN, surface->centre, diameter, &feature) != 0 ||
        HM_MODL_ask_feat_body(feature, &sphere) != 0 || sphere == NULL_TAG)
        return clean_up(), 1;
    HostList sphere_faces;
    if (HM_MODL_ask_body_faces(sphere, sphere_faces.out()) != 0) return clean_up(), 1;
    const std::vector<tag_t> faces = detail::list_items(sphere_faces.get());
    if (faces.size() != 1 || HM_MODL_extract_face(faces[0], 0, &hemisphere) != 0) return clean_up(), 1;
    // The half towards the mirror axis: cut by the plane through the centre
    // normal to the axis, keeping the vertex.
    const double* n = surface->normal;
    for (int i = 0; i < 3; ++i) surface->vertex[i] = surface->centre[i] + surface->radius * n[i];
    if (HM_MODL_create_plane(surface->centre, n, &plane) != 0) return clean_up(), 1;
    const double down[3] = {-n[0], -n[1], -n[2]};
    (void)trim_by_curves(hemisphere, {plane}, down, surface->vertex, 1, tolerance);
    const double half = shell_area(hemisphere);

    int mark = 0;
    if (HM_UNDO_set_mark(1, "trim_sphere", &mark) != 0) return clean_up(), 1;
    const std::vector<tag_t> bounds(curves, curves + count);
    const double* direction = down;
    if (trim_by_curves(hemisphere, bounds, direction, surface->vertex, 1, tolerance) != 0) {
        (void)HM_UNDO_undo_to_last_mark();
        (void)HM_UNDO_set_mark(1, "trim_sphere", &mark);
        direction = n;
        if (trim_by_curves(hemisphere, bounds, direction, surface->vertex, 1, tolerance) != 0) return clean_up(), 1;
    }
    // More than half of the hemisphere kept: the vertex lay outside the
    // outline; keep the other side of the curves.
    if (half > 0.0 && std::fabs(shell_area(hemisphere) / half) > 0.5) {
        (void)HM_UNDO_undo_to_last_mark();
        (void)HM_UNDO_set_mark(1, "trim_sphere", &mark);
        if (trim_by_curves(hemisphere, bounds, direction, surface->vertex, 0, tolerance) != 0) {
            (void)HM_UNDO_undo_to_last_mark();
            (void)HM_UNDO_set_mark(1, "trim_sphere", &mark);
            if (trim_by_curves(hemisphere, bounds, n, surface->vertex, 0, tolerance) != 0) return clean_up(), 1;
        }
    }
    tag_t copy = NULL_TAG;
    const int copied = HM_VD_copy_object(HM_VD_KEEP_LAYER, 1, &hemisphere, &copy);
    (void)HM_VD_delete_object(hemisphere);
    clean_up();
    if (copied != 0) return 1;
    surface->curvature = 1.0 / surface->radius;
    *sheet = copy;
    return 0;
}

int mc_project_outline_through_mirror(const mc_geometry_set_s* set, int mode, const double eye[3],
                                      const mc_mirror_surface_s* surface, const double tolerances[2],
                                      const double* target_x, tag_t projection_target, tag_t* mirror_sheet,
                                      tag_t* target_sheet) {
    if (!mirror_sheet || !target_sheet) return 1;
    *mirror_sheet = *target_sheet = NULL_TAG;
    if (!set || !set->points || set->point_count < 3 || !eye || !surface || !tolerances || !target_x) return 1;
    const int n = set->point_count;
    std::vector<double> on_mirror(3 * static_cast<size_t>(n)), on_target(3 * static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        double q[3], h[3], d[3];
        if (mode == 1) {
            if (HM_VD_MC_pierce(tolerances, surface, eye, set->points[i], q) != 0) return 1;
        } else {
            std::memcpy(q, set->points[i], sizeof q);
        }
        if (HM_VD_MC_reflex(surface, eye, q, tolerances, h, d) != 0) return 1;
        // A reflected ray along the target plane never reaches it.
        if (std::fabs(d[0]) <= 1e-10) return 1;
        const double t = (*target_x - h[0]) / d[0];
        for (int k = 0; k < 3; ++k) {
            on_mirror[3 * i + k] = h[k];
            on_target[3 * i + k] = h[k] + d[k] * t;
        }
    }
    tag_t mirror_spline = NULL_TAG, target_spline = NULL_TAG;
    const auto clean_up = [&] {
        for (tag_t spline : {mirror_spline, target_spline}) {
            if (spline == NULL_TAG || HM_OBJ_ask_status(spline) != 3) continue;
            (void)HM_OBJ_set_layer(spline, 256);
            (void)HM_OBJ_delete_object(spline);
        }
    };
    if (HM_VD_create_spline_thru_points_by_degree(n, on_mirror.data(), &mirror_spline) != 0) return clean_up(), 5;
    if (HM_VD_create_spline_thru_points_by_degree(n, on_target.data(), &target_spline) != 0) return clean_up(), 6;
    int status = 0;
    if (projection_target != NULL_TAG) {
        HM_CURVE_proj_curves_data_t data;
        (void)HM_CURVE_init_proj_curves_data(&data);
        data.proj_dir_method = HM_PROJ_ALONG_TARGET_NORMALS;
        tag_t group = NULL_TAG;
        if (HM_CURVE_create_proj_curves(1, &target_spline, 1, &projection_target, 1, &data, &group) != 0) {
            status = 3;
        } else {
            tag_t* members = nullptr;
            int count = 0;
            if (HM_GROUP_ask_group_data(group, &members, &count) != 0 || count < 1) {
                status = 2;
            } else {
                (void)HM_OBJ_delete_object(target_spline);
                target_spline = members[0];
                for (int i = 1; i < count; ++i) detail::delete_if_alive(members[i]);
            }
            SM_free(members);
            (void)HM_GROUP_ungroup_top(group);
        }
    }
    const double bounds[3] = {tolerances[0], tolerances[1] * 0.017453292519943295, 0.0};
    if (mc_create_bounded_plane(1, &target_spline, false, nullptr, 0, false, nullptr, bounds, target_sheet) != 0)
        return clean_up(), 7;
    if (surface->curvature <= 0.0) {
        if (mc_create_bounded_plane(1, &mirror_spline, false, nullptr, 0, false, nullptr, bounds, mirror_sheet) != 0)
            status = 9;
    } else {
        mc_mirror_surface_s local = *surface;
        if (mc_trim_sphere_to_outline(&mirror_spline, 1, tolerances[0], mirror_sheet, &local) != 0) status = 8;
    }
    clean_up();
    return status;
}

int mc_check_mirror_radius(mc_geometry_set_s* set, mc_data_2003_s* data, tag_t* sheet,
                           mc_mirror_surface_s* surface) {
    if (!set || !data || !sheet || !surface || !set->points || set->point_count < 3) return 1;
    const double tolerance = data->distance_tolerance;
    const double R = data->mirror_radius[0];
    double sphere_centre[3], sphere_radius = 0.0, c[3], r = 0.0, n[3];
    const int fit = HM_VD_ask_leastsq_sphere(set->points, set->point_count, tolerance, sphere_centre, &sphere_radius,
                                             c, &r, n);
    if (fit == -1 || fit == 2) return 99;
    if (fit != 0 && fit != 1) return 0;
    if (n[0] < 0.0)
        for (double& v : n) v = -v;
    if (fit == 0 && std::fabs(sphere_radius - R) > tolerance)
        mc_add_message(data, "\nCalculated radius differs from user specified");
    if (r > R) {
        mc_add_message(data, "\nInvalid radius for given mirror geometry");
        return 3;
    }
    // The user's sphere through the outline's circle, its centre on the
    // circle's axis behind the mirror.
    const double back = std::sqrt(R * R - r * r);
    for (int i = 0; i < 3; ++i) {
        surface->centre[i] = c[i] - n[i] * back;
        surface->normal[i] = n[i];
    }
    surface->radius = R;
    if (mc_trim_sphere_to_outline(set->curves, set->curve_count, tolerance, sheet, surface) != 0) return 1;
    return mc_build_geometry_set(*sheet, nullptr, 0, set) == 0 ? 0 : 1;
}

}  // namespace carvell::r2003

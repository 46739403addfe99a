// Direct field of view: the outlines of the forward, outboard and inboard
// vision planes from the viewing point, and the sight lines with their
// mirror images, cut where they first meet the given faces.
#include "hm_vd_vision/dfv.h"

#include "belmorra.h"
#include "hm_vd.h"
#include "hm_vd_curve.h"
#include "omvra.h"
#include "quillon.h"
#include "rostval.h"
#include "toolbox/detail/constants.h"
#include "toolbox/detail/finite.h"
#include "toolbox/detail/owners.h"

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

using Point = std::array<double, 3>;
using carvell::detail::Temporaries;

constexpr double kTiny = 1.0e-10;
constexpr int kTemporaryLayer = 256;
constexpr double kRightAngleDeg = 90.0;

enum DfvStatus { kDfvOk = 0, kDfvBadInput = 1, kDfvNoCurve = 2, kDfvNoHit = 1 };

bool angle_ok(double a) { return a >= 0.0 && a <= kRightAngleDeg; }

// Every number of the input finite and inside the model space, and the
// faces an array of a count that can exist: the one check of a caller's
// record before anything is computed or built.
bool input_usable(const dfv_input_t& in) {
    using carvell::detail::in_model_space;
    return carvell::detail::model_point(in.point_a) && carvell::detail::model_point(in.point_b) &&
           in_model_space({in.angle1, in.angle2, in.angle3, in.width, in.depth}) &&
           carvell::detail::model_point(in.csys_origin) && in_model_space(in.csys_matrix, 9) &&
           carvell::detail::count_fits(in.face_count, sizeof(tag_t)) && (in.face_count == 0 || in.faces);
}

Point to_abs(const Point& p, const dfv_input_t& in) {
    Point out;
    VD_map_point_csys2abs(p.data(), in.csys_origin, in.csys_matrix, out.data());
    return out;
}

Point to_local(const double p[3], const dfv_input_t& in) {
    Point out;
    VD_map_point_abs2csys(p, in.csys_origin, in.csys_matrix, out.data());
    return out;
}

// A bounded plane through the four corners (absolute) and its face; the
// lines and the sheet are temporaries.
int quad_face(const std::array<Point, 4>& corners, Temporaries& temporaries, tag_t* face) {
    *face = 0;
    carvell::detail::HostList lines;
    HM_MODL_create_list(lines.out());
    for (int k = 0; k < 4; ++k) {
        HM_CURVE_line_t line{};
        std::memcpy(line.start_point, corners[k].data(), sizeof line.start_point);
        std::memcpy(line.end_point, corners[(k + 1) % 4].data(), sizeof line.end_point);
        tag_t tag = 0;
        const int code = HM_CURVE_create_line(&line, &tag);
        if (code) return code;
        temporaries.add(tag);
        HM_OBJ_set_layer(tag, kTemporaryLayer);
        HM_MODL_put_list_item(lines.get(), tag);
    }
    tag_t sheet = 0;
    int code = HM_VD_create_bplane(lines.get(), &sheet);
    temporaries.add(sheet);
    if (code) return code;
    carvell::detail::HostList faces;
    code = HM_MODL_ask_body_faces(sheet, faces.out());
    if (code) return code;
    const std::vector<tag_t> items = faces.items();
    if (items.empty()) return kDfvNoCurve;
    *face = items[0];
    return kDfvOk;
}

// The end (vehicle csys) of the first curve where the two faces meet that is
// not the apex B.
int far_end(tag_t face1, tag_t face2, const dfv_input_t& in, const Point& b_local, Temporaries& temporaries,
            Point* end) {
    int count = 0;
    HM_MODL_intersection_t** entries = nullptr;
    const int code = HM_MODL_intersect_objects(face1, face2, TOLER_ask_distance_tol(), &count, &entries);
    if (code) return code;
    int result = kDfvNoCurve;
    for (int i = 0; i < count; ++i) {
        if (entries[i]->kind == 0) continue;
        temporaries.add(entries[i]->curve);
        if (result == kDfvOk) continue;
        double p[3], t[3], n[3], bn[3], torsion, radius;
        HM_MODL_ask_curve_props(entries[i]->curve, 0.0, p, t, n, bn, &torsion, &radius);
        Point local = to_local(p, in);
        if (std::hypot(std::hypot(local[0] - b_local[0], local[1] - b_local[1]), local[2] - b_local[2]) <= kTiny) {
            HM_MODL_ask_curve_props(entries[i]->curve, 1.0, p, t, n, bn, &torsion, &radius);
            local = to_local(p, in);
        }
        *end = local;
        result = kDfvOk;
    }
    carvell::detail::free_intersection_entries(count, entries);
    return result;
}

double** point_block(const std::vector<Point>& points, const dfv_input_t& in) {
    double** block = static_cast<double**>(SM_alloc(points.size() * sizeof(double*)));
    for (size_t i = 0; i < points.size(); ++i) {
        block[i] = static_cast<double*>(SM_alloc(3 * sizeof(double)));
        const Point p = to_abs(points[i], in);
        std::memcpy(block[i], p.data(), 3 * sizeof(double));
    }
    return block;
}

}  // namespace

int HM_VD_DFV_vision_plane_process(const dfv_input_t* input, int** counts, double**** polygons) {
    if (!input || !counts || !polygons || !input_usable(*input)) return kDfvBadInput;
    const dfv_input_t& in = *input;
    if (!angle_ok(in.angle1) || !angle_ok(in.angle2) || !angle_ok(in.angle3)) return kDfvBadInput;
    *counts = nullptr;
    *polygons = nullptr;
    const Point B = to_local(in.point_b, in);
    const double x = B[0], y = B[1], z = B[2];
    const double h = in.width / 2.0, L = in.depth;
    const double rad = carvell::detail::kRadiansPerDegree;
    const double tA = std::tan(in.angle1 * rad), tB = std::tan(in.angle2 * rad), tC = std::tan(in.angle3 * rad);
    const double yo = y < 0.0 ? y - h : y + h;
    const double yi = y >= 0.0 ? y - h : y + h;
    const std::array<Point, 4> forward = {
        Point{x, y + h, z}, Point{x - L, y + h, z - tA * L}, Point{x - L, y - h, z - tA * L}, Point{x, y - h, z}};
    const std::array<Point, 4> outboard = {
        Point{x, y, z}, Point{x, yo, z - tB * h}, Point{x - L, yo, z - tB * h}, Point{x - L, y, z}};
    const std::array<Point, 4> inboard = {
        Point{x, y, z}, Point{x, yi, z - tC * h}, Point{x - L, yi, z - tC * h}, Point{x - L, y, z}};
    Temporaries temporaries;
    tag_t faces[3] = {};
    const std::array<Point, 4>* quads[3] = {&forward, &outboard, &inboard};
    for (int i = 0; i < 3; ++i) {
        std::array<Point, 4> corners;
        for (int k = 0; k < 4; ++k) corners[k] = to_abs((*quads[i])[k], in);
        const int code = quad_face(corners, temporaries, &faces[i]);
        if (code) return code;
    }
    Point Eo, Ei;
    int code = far_end(faces[0], faces[1], in, B, temporaries, &Eo);
    if (!code) code = far_end(faces[0], faces[2], in, B, temporaries, &Ei);
    if (code) return code;
    const double tol = TOLER_ask_distance_tol();
    auto on_far_edge = [&](const Point& p) { return std::fabs(p[0] - (x - L)) <= tol; };
    auto side_polygon = [&](double lateral, double t, const Point& e) {
        std::vector<Point> poly = {B, Point{x, lateral, z - t * h}};
        if (on_far_edge(e)) {
            poly.push_back({x - L, lateral, z - t * h});
            if (std::fabs(e[2] - (z - t * h)) > tol) poly.push_back(e);
        } else {
            poly.push_back(e);
        }
        return poly;
    };
    std::vector<Point> polys[3] = {side_polygon(yo, tB, Eo), side_polygon(yi, tC, Ei), {B, Eo}};
    const double far_outboard = y < 0.0 ? y - h : y + h;
    const double far_inboard = y < 0.0 ? y + h : y - h;
    if (!on_far_edge(Eo)) polys[2].push_back({x - L, far_outboard, z - tA * L});
    if (!on_far_edge(Ei)) polys[2].push_back({x - L, far_inboard, z - tA * L});
    polys[2].push_back(Ei);
    *counts = static_cast<int*>(SM_alloc(3 * sizeof(int)));
    *polygons = static_cast<double***>(SM_alloc(3 * sizeof(double**)));
    for (int i = 0; i < 3; ++i) {
        (*counts)[i] = static_cast<int>(polys[i].size());
        (*polygons)[i] = point_block(polys[i], in);
    }
    return kDfvOk;
}

int HM_VD_DFV_sightline_points_process(const dfv_input_t* input, dfv_sightline_t* lines) {
    if (!input || !lines || !input_usable(*input)) return kDfvBadInput;
    const dfv_input_t& in = *input;
    const Point A = to_local(in.point_a, in), B = to_local(in.point_b, in);
    const double s = B[1] <= 0.0 ? -1.0 : 1.0;
    const double l = in.width;
    const double rad = carvell::detail::kRadiansPerDegreeAsUsed;
    const double a1 = in.angle1 * rad, a2 = in.angle2 * rad, a3 = in.angle3 * rad;
    const Point starts[3] = {A, A, B};
    const Point directions[3] = {Point{-l * std::cos(a1), 0.0, l * std::sin(a1)},
                                 Point{-l * std::cos(a3), s * l * std::sin(a3), 0.0},
                                 Point{-l * std::cos(a2), 0.0, l * std::sin(a2)}};
    Point ends[3];
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k) ends[i][k] = starts[i][k] + directions[i][k];
    int result = kDfvOk;
    if (in.full_length == 0) {
        // Mapped copies of the faces; the caller's array stays as it is.
        Temporaries temporaries;
        std::vector<tag_t> targets;
        for (int i = 0; i < in.face_count && in.faces; ++i) {
            tag_t sheet = 0, mapped = 0;
            if (HM_MODL_extract_face(in.faces[i], 0, &sheet)) continue;
            temporaries.add(sheet);
            if (VD_map_geom_abs2csys(sheet, in.csys_origin, in.csys_matrix, &mapped)) continue;
            targets.push_back(temporaries.add(mapped));
        }
        for (int i = 0; i < 3 && result == kDfvOk; ++i) {
            bool hit = false;
            for (tag_t target : targets) {
                double out[3];
                if (HM_VD_CURVE_project_point_along_vector(starts[i].data(), directions[i].data(), target, out) == 0) {
                    ends[i] = {out[0], out[1], out[2]};
                    hit = true;
                    break;
                }
            }
            if (!hit) result = kDfvNoHit;
        }
    }
    for (int i = 0; i < 3; ++i) {
        const Point mirrored_start = {starts[i][0], -starts[i][1], starts[i][2]};
        const Point mirrored_end = {ends[i][0], -ends[i][1], ends[i][2]};
        const Point abs_start = to_abs(starts[i], in), abs_end = to_abs(ends[i], in);
        const Point abs_ms = to_abs(mirrored_start, in), abs_me = to_abs(mirrored_end, in);
        std::memcpy(lines->segment[i][0], i == 2 ? in.point_b : in.point_a, 3 * sizeof(double));
        (void)abs_start;
        std::memcpy(lines->segment[i][1], abs_end.data(), 3 * sizeof(double));
        std::memcpy(lines->segment[3 + i][0], abs_ms.data(), 3 * sizeof(double));
        std::memcpy(lines->segment[3 + i][1], abs_me.data(), 3 * sizeof(double));
    }
    return result;
}

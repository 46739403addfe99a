// Fixtures of curves and planes for tests.
#include "geometry/curves_internal.h"
#include "host_testing.h"

#include <Geom_Plane.hxx>

#include <cmath>

namespace host_testing {

namespace {

// A matrix object with x along x_axis and y in the plane of the two axes.
tag_t matrix_of(const Point3& x_axis, const Point3& y_axis) {
    gp_Vec x(x_axis[0], x_axis[1], x_axis[2]), y(y_axis[0], y_axis[1], y_axis[2]);
    if (x.Magnitude() < 1e-12 || x.Crossed(y).Magnitude() < 1e-12) return 0;
    const gp_Dir dx(x), dz(x.Crossed(y)), dy(dz.Crossed(dx));
    return host::new_matrix(dx, dy, dz);
}

// The centre in the matrix's coordinates.
void local_centre(tag_t matrix, const Point3& centre, double out[3]) {
    const auto& m = std::any_cast<const host::MatrixData&>(host::find(matrix)->data).matrix;
    for (int i = 0; i < 3; ++i)
        out[i] = m[3 * i] * centre[0] + m[3 * i + 1] * centre[1] + m[3 * i + 2] * centre[2];
}

}  // namespace

tag_t make_point(const Point3& p) {
    tag_t t = 0;
    return HM_CURVE_create_point(p.data(), &t) == 0 ? t : 0;
}

tag_t make_line(const Point3& start, const Point3& end) {
    HM_CURVE_line_t l;
    for (int i = 0; i < 3; ++i) {
        l.start_point[i] = start[i];
        l.end_point[i] = end[i];
    }
    tag_t t = 0;
    return HM_CURVE_create_line(&l, &t) == 0 ? t : 0;
}

tag_t make_arc(const Point3& centre, double radius, double start_angle, double end_angle, const Point3& x_axis,
               const Point3& y_axis) {
    if (!host::work_part_data()) return 0;
    HM_CURVE_arc_t a{};
    a.matrix_tag = matrix_of(x_axis, y_axis);
    if (!a.matrix_tag) return 0;
    local_centre(a.matrix_tag, centre, a.arc_center);
    a.start_angle = start_angle;
    a.end_angle = end_angle;
    a.radius = radius;
    tag_t t = 0;
    return HM_CURVE_create_arc(&a, &t) == 0 ? t : 0;
}

tag_t make_ellipse(const Point3& centre, double a, double b, const Point3& x_axis, const Point3& y_axis, double start,
                   double end) {
    if (!host::work_part_data()) return 0;
    HM_CURVE_conic_t c{};
    c.matrix_tag = matrix_of(x_axis, y_axis);
    if (!c.matrix_tag) return 0;
    local_centre(c.matrix_tag, centre, c.center);
    c.conic_type = HM_CONIC_ellipse;
    c.start_param = start;
    c.end_param = end;
    c.k1 = a;
    c.k2 = b;
    tag_t t = 0;
    return HM_CURVE_create_conic(&c, &t) == 0 ? t : 0;
}

tag_t make_spline(const std::vector<Point3>& points, int degree, bool periodic) {
    std::vector<HM_CURVE_thru_point_t> records(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        records[i] = HM_CURVE_thru_point_t{};
        for (int k = 0; k < 3; ++k) records[i].point[k] = points[i][k];
        records[i].slope_type = -1;
        records[i].crvatr_type = -1;
    }
    tag_t t = 0;
    int r = HM_CURVE_create_spline_thru_pts(degree, periodic ? 1 : 0, static_cast<int>(points.size()),
                                            records.data(), nullptr, 0, &t);
    return r == 0 ? t : 0;
}

tag_t make_plane(const Point3& origin, const Point3& normal) {
    tag_t t = 0;
    return HM_MODL_create_plane(origin.data(), normal.data(), &t) == 0 ? t : 0;
}

tag_t make_datum_plane(const Point3& origin, const Point3& normal, tag_t* feature) {
    gp_Vec n(normal[0], normal[1], normal[2]);
    if (!host::work_part_data() || n.Magnitude() < 1e-12) return 0;
    host::Object& d = host::create(HM_datum_type, 0);
    d.surface = new Geom_Plane(gp_Pnt(origin[0], origin[1], origin[2]), gp_Dir(n));
    const tag_t datum = d.tag;
    host::Object& f = host::create_feature("DATUM_PLANE", 0, {datum});
    f.owner = datum;   // the feature goes with its datum
    if (feature) *feature = f.tag;
    return datum;
}

int spline_degree(tag_t spline) {
    host::Object* o = host::find(spline, HM_spline_type);
    if (!o) return 0;
    Handle(Geom_BSplineCurve) bs = Handle(Geom_BSplineCurve)::DownCast(o->curve);
    return bs.IsNull() ? 0 : bs->Degree();
}

}  // namespace host_testing

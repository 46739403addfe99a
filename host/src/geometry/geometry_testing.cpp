// Fixtures of geometry for tests: points, curves, planes and bodies of the
// work part, and the area and volume of bodies.
#include "geometry/bodies.h"
#include "geometry/curves_internal.h"
#include "geometry/sheets.h"
#include "host_testing.h"

#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepGProp.hxx>
#include <BRepPrimAPI_MakeBox.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <GProp_GProps.hxx>
#include <Geom_BSplineSurface.hxx>
#include <Geom_CylindricalSurface.hxx>
#include <Geom_Plane.hxx>
#include <Geom_SphericalSurface.hxx>
#include <Geom_ToroidalSurface.hxx>
#include <gp_Ax3.hxx>
#include <Standard_Failure.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array2OfPnt.hxx>
#include <gp_Ax2.hxx>
#include <gp_Pnt.hxx>

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

/* ---- bodies ---- */

namespace {
gp_Pnt pnt(const double p[3]) { return gp_Pnt(p[0], p[1], p[2]); }

template <class Make>
tag_t fixture(const char* kind, Make make) {
    try {
        TopoDS_Shape shape = make();
        return shape.IsNull() ? 0 : host::make_body(shape, kind);
    } catch (const Standard_Failure&) {
        return 0;
    }
}
}  // namespace

tag_t make_box(const double corner[3], const double size[3]) {
    return fixture("BLOCK", [&] { return BRepPrimAPI_MakeBox(pnt(corner), size[0], size[1], size[2]).Shape(); });
}

tag_t make_cylinder(const double base[3], const double axis[3], double diameter, double height) {
    return fixture("CYLINDER", [&] {
        gp_Ax2 ax(pnt(base), gp_Dir(axis[0], axis[1], axis[2]));
        return BRepPrimAPI_MakeCylinder(ax, diameter / 2.0, height).Shape();
    });
}

tag_t make_sphere(const double centre[3], double diameter) {
    return fixture("SPHERE", [&] { return BRepPrimAPI_MakeSphere(pnt(centre), diameter / 2.0).Shape(); });
}

tag_t make_planar_sheet(const double corner[3], const double u[3], const double v[3]) {
    return fixture("SHEET", [&] {
        gp_Pnt p0 = pnt(corner);
        gp_Vec vu(u[0], u[1], u[2]), vv(v[0], v[1], v[2]);
        BRepBuilderAPI_MakePolygon polygon(p0, p0.Translated(vu), p0.Translated(vu + vv), p0.Translated(vv), true);
        return TopoDS_Shape(BRepBuilderAPI_MakeFace(polygon.Wire(), true).Face());
    });
}

tag_t make_bspline_sheet(int nu, int nv, const double* poles, int degree_u, int degree_v) {
    if (!poles || nu < 2 || nv < 2 || degree_u < 1 || degree_v < 1 || degree_u >= nu || degree_v >= nv) return 0;
    return fixture("SHEET", [&] {
        TColgp_Array2OfPnt grid(1, nu, 1, nv);
        for (int i = 0; i < nu; ++i)
            for (int j = 0; j < nv; ++j) grid(i + 1, j + 1) = pnt(poles + 3 * (i * nv + j));
        // Clamped uniform knots: n - degree + 1 distinct values, the ends repeated.
        auto distinct = [](int n, int degree) { return n - degree + 1; };
        TColStd_Array1OfReal ku(1, distinct(nu, degree_u)), kv(1, distinct(nv, degree_v));
        TColStd_Array1OfInteger mu(1, ku.Length()), mv(1, kv.Length());
        auto fill = [](TColStd_Array1OfReal& k, TColStd_Array1OfInteger& m, int degree) {
            const int last = k.Length();
            for (int i = 1; i <= last; ++i) {
                k(i) = double(i - 1) / (last - 1);
                m(i) = (i == 1 || i == last) ? degree + 1 : 1;
            }
        };
        fill(ku, mu, degree_u);
        fill(kv, mv, degree_v);
        Handle(Geom_BSplineSurface) surface = new Geom_BSplineSurface(grid, ku, kv, mu, mv, degree_u, degree_v);
        return TopoDS_Shape(BRepBuilderAPI_MakeFace(surface, 1.0e-7).Face());
    });
}

namespace {
// The mass the properties give of the object's shape; 0 when it has none.
double mass_of(tag_t object, void (*properties)(const TopoDS_Shape&, GProp_GProps&)) {
    TopoDS_Shape shape = host::operand_shape(object);
    if (shape.IsNull()) return 0.0;
    try {
        GProp_GProps props;
        properties(shape, props);
        return props.Mass();
    } catch (const Standard_Failure&) {
        return 0.0;
    }
}
}  // namespace

double surface_area(tag_t object) {
    return mass_of(object, [](const TopoDS_Shape& s, GProp_GProps& p) { BRepGProp::SurfaceProperties(s, p, 1.0e-9); });
}

double volume(tag_t object) {
    return mass_of(object, [](const TopoDS_Shape& s, GProp_GProps& p) { BRepGProp::VolumeProperties(s, p, 1.0e-9); });
}

// Spherical mirror glass: the sphere's latitude-longitude patch about the
// equator point centre + radius * direction, `width` of arc along the equator
// and `height` of arc along the meridian.
tag_t make_spherical_patch(const double centre[3], double radius, const double direction[3], const double up[3],
                           double width, double height) {
    if (!centre || !direction || !up || radius <= 0.0 || width <= 0.0 || height <= 0.0) return 0;
    return fixture("SHEET", [&] {
        const gp_Ax3 frame(pnt(centre), gp_Dir(up[0], up[1], up[2]), gp_Dir(direction[0], direction[1], direction[2]));
        Handle(Geom_SphericalSurface) sphere = new Geom_SphericalSurface(frame, radius);
        const double du = 0.5 * width / radius;
        const double dv = 0.5 * height / radius;
        return TopoDS_Shape(BRepBuilderAPI_MakeFace(sphere, -du, du, -dv, dv, 1e-7).Face());
    });
}

tag_t make_toroidal_sheet(const double centre[3], const double axis[3], const double x_dir[3], double major,
                          double minor, double u0, double u1, double v0, double v1) {
    if (!centre || !axis || !x_dir || !(major > 0.0) || !(minor > 0.0) || !(u1 > u0) || !(v1 > v0)) return 0;
    return fixture("SHEET", [&] {
        const gp_Ax3 frame(pnt(centre), gp_Dir(axis[0], axis[1], axis[2]), gp_Dir(x_dir[0], x_dir[1], x_dir[2]));
        Handle(Geom_ToroidalSurface) torus = new Geom_ToroidalSurface(frame, major, minor);
        return TopoDS_Shape(BRepBuilderAPI_MakeFace(torus, u0, u1, v0, v1, 1e-7).Face());
    });
}

// Cylindrical sheets and the sheet-trim hooks.
tag_t make_cylindrical_sheet(const double axis_origin[3], const double axis[3], const double x_dir[3], double radius,
                             double angle, double length) {
    if (!axis_origin || !axis || !x_dir || !(radius > 0.0) || !(angle > 0.0) || !(length > 0.0)) return 0;
    try {
        const gp_Ax3 frame(gp_Pnt(axis_origin[0], axis_origin[1], axis_origin[2]), gp_Dir(axis[0], axis[1], axis[2]),
                           gp_Dir(x_dir[0], x_dir[1], x_dir[2]));
        Handle(Geom_CylindricalSurface) surface = new Geom_CylindricalSurface(frame, radius);
        const TopoDS_Shape face = BRepBuilderAPI_MakeFace(surface, 0.0, angle, 0.0, length, 1e-7).Face();
        return host::make_body(face, "SHEET");
    } catch (const Standard_Failure&) {
        return 0;
    }
}

void force_trim_gaps(int calls, double gap_length) { host::force_trim_gaps(calls, gap_length); }
void force_trim_exception(int code) { host::force_trim_exception(code); }
int trim_sheet_calls() { return host::trim_sheet_calls(); }
double last_trim_tolerance() { return host::last_trim_tolerance(); }
void reset_trim_hooks() { host::reset_trim_hooks(); }
void repeat_pieces_on_shared_edges(bool on) { host::repeat_pieces_on_shared_edges(on); }

std::array<int, 2> grid_counts(tag_t face) {
    const host::Object* f = host::find_face(face);
    return f ? f->grid_counts : std::array<int, 2>{0, 0};
}

}  // namespace host_testing

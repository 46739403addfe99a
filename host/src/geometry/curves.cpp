// Creation and data of points, lines, arcs and conics.
#include "core/kernel_guard.h"
#include "geometry/curves_internal.h"
#include "hathmor.h"

#include <Geom_BSplineCurve.hxx>
#include <Geom_Circle.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Hyperbola.hxx>
#include <Geom_Line.hxx>
#include <Geom_Parabola.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <Standard_Failure.hxx>
#include <gp_Ax2.hxx>
#include <gp_Circ.hxx>
#include <gp_Elips.hxx>

#include <cmath>

using host::find;

namespace {

constexpr double kTwoPi = 2.0 * M_PI;
constexpr double kAngleResolution = 1.0e-12;

// The axes of a matrix object (rows); identity for tag 0.
int matrix_axes(tag_t matrix, gp_XYZ axes[3]) {
    if (matrix == 0) {
        axes[0] = gp_XYZ(1, 0, 0);
        axes[1] = gp_XYZ(0, 1, 0);
        axes[2] = gp_XYZ(0, 0, 1);
        return 0;
    }
    host::Object* o = find(matrix);
    if (!o) return HM_ERR_INVALID_TAG;
    const auto* d = o->type == HM_matrix_type ? std::any_cast<host::MatrixData>(&o->data) : nullptr;
    if (!d) return HM_ERR_WRONG_TYPE;
    for (int i = 0; i < 3; ++i) axes[i] = gp_XYZ(d->matrix[3 * i], d->matrix[3 * i + 1], d->matrix[3 * i + 2]);
    return 0;
}

// A point given in a matrix's coordinates, in absolute coordinates.
gp_Pnt from_matrix(const gp_XYZ axes[3], const double p[3]) {
    return gp_Pnt(axes[0] * p[0] + axes[1] * p[1] + axes[2] * p[2]);
}

int check_part() { return host::work_part_data() ? 0 : HM_ERR_NO_PART; }

Handle(Geom_Curve) make_line(const HM_CURVE_line_t& l) {
    if (!host::finite3(l.start_point) || !host::finite3(l.end_point)) return nullptr;
    const gp_Pnt a = host::point_of(l.start_point), b = host::point_of(l.end_point);
    const double length = a.Distance(b);
    if (!host::finite_value(length)) return nullptr;
    if (!(length > 1.0e-12)) {
        // A line whose ends coincide (a template's points before the user
        // places them): a degree-1 curve on the two coincident poles, so
        // that it answers its ends and stays editable.
        TColgp_Array1OfPnt poles(1, 2);
        poles(1) = a;
        poles(2) = b;
        TColStd_Array1OfReal knots(1, 2);
        knots(1) = 0.0;
        knots(2) = 1.0;
        TColStd_Array1OfInteger multiplicities(1, 2);
        multiplicities(1) = 2;
        multiplicities(2) = 2;
        return new Geom_BSplineCurve(poles, knots, multiplicities, 1);
    }
    Handle(Geom_Line) line = new Geom_Line(a, gp_Dir(gp_Vec(a, b)));
    return new Geom_TrimmedCurve(line, 0.0, length);
}

// The conic's curve, or a host code in r.
// Whether both ends of the curve lie inside the model space. A conic's
// points grow along its arms, so its ends bound it: a parabola or hyperbola
// of a vanishing k1 (or run far out) would hand out points that overflow.
bool ends_in_model_space(const Handle(Geom_Curve)& curve) {
    for (double u : {curve->FirstParameter(), curve->LastParameter()}) {
        const gp_Pnt p = curve->Value(u);
        const double xyz[3] = {p.X(), p.Y(), p.Z()};
        if (!host::finite_values(xyz, 3)) return false;
    }
    return true;
}

Handle(Geom_Curve) make_conic(const HM_CURVE_conic_t& c, int& r) {
    r = 0;
    gp_XYZ axes[3];
    if ((r = matrix_axes(c.matrix_tag, axes))) return nullptr;
    const double values[] = {c.rotation_angle, c.start_param, c.end_param, c.center[0], c.center[1],
                             c.center[2],      c.k1,          c.k2};
    for (double v : values)
        if (!host::finite_value(v)) {
            r = HM_ERR_BAD_ARGUMENT;
            return nullptr;
        }
    const bool ellipse = c.conic_type == HM_CONIC_ellipse;
    if ((!ellipse && c.conic_type != HM_CONIC_parabola && c.conic_type != HM_CONIC_hyperbola) || !(c.k1 > 0.0) ||
        (c.conic_type != HM_CONIC_parabola && !(c.k2 > 0.0)) || !(c.end_param > c.start_param) ||
        (ellipse && c.end_param - c.start_param > kTwoPi + kAngleResolution)) {
        r = HM_ERR_BAD_ARGUMENT;
        return nullptr;
    }
    try {
        const gp_Dir z(axes[0] ^ axes[1]);
        const gp_Dir x0(axes[0]), y0(z ^ x0);
        const gp_Dir x(gp_Vec(x0) * std::cos(c.rotation_angle) + gp_Vec(y0) * std::sin(c.rotation_angle));
        const gp_Pnt centre = from_matrix(axes, c.center);
        const bool full = ellipse && c.end_param - c.start_param >= kTwoPi - kAngleResolution;
        Handle(Geom_Curve) basis;
        double shift = 0.0;   // kernel parameter = conic parameter + shift
        switch (c.conic_type) {
        case HM_CONIC_ellipse:
            if (c.k1 >= c.k2) {
                basis = new Geom_Ellipse(gp_Ax2(centre, z, x), c.k1, c.k2);
            } else {
                // The kernel wants the major axis first: turn the frame a
                // quarter turn and shift the parameter to match.
                basis = new Geom_Ellipse(gp_Ax2(centre, z, z ^ x), c.k2, c.k1);
                shift = -M_PI / 2.0;
            }
            break;
        case HM_CONIC_parabola:
            basis = new Geom_Parabola(gp_Ax2(centre, z, x), c.k1 / 4.0);
            break;
        default:
            basis = new Geom_Hyperbola(gp_Ax2(centre, z, x), c.k1, c.k2);
            break;
        }
        const double u0 = c.start_param + shift;
        Handle(Geom_Curve) made;
        if (full && std::fabs(std::remainder(u0, kTwoPi)) < kAngleResolution)
            made = basis;
        else
            made = new Geom_TrimmedCurve(basis, u0, full ? u0 + kTwoPi : c.end_param + shift);
        if (!ends_in_model_space(made)) {
            r = HM_ERR_BAD_ARGUMENT;
            return nullptr;
        }
        return made;
    } catch (const Standard_Failure&) {
        r = HM_ERR_GEOMETRY;
        return nullptr;
    }
}

// The record of a conic read from its geometry (rotation 0).
bool conic_record(const Handle(Geom_Curve)& curve, HM_CURVE_conic_t& c) {
    Handle(Geom_Curve) basis = curve;
    double u0 = curve->FirstParameter(), u1 = curve->LastParameter();
    if (curve->IsKind(STANDARD_TYPE(Geom_TrimmedCurve)))
        basis = Handle(Geom_TrimmedCurve)::DownCast(curve)->BasisCurve();
    gp_Ax2 frame;
    c = HM_CURVE_conic_t{};
    if (auto e = Handle(Geom_Ellipse)::DownCast(basis)) {
        frame = e->Position();
        c.conic_type = HM_CONIC_ellipse;
        c.k1 = e->MajorRadius();
        c.k2 = e->MinorRadius();
    } else if (auto p = Handle(Geom_Parabola)::DownCast(basis)) {
        frame = p->Position();
        c.conic_type = HM_CONIC_parabola;
        c.k1 = 4.0 * p->Focal();
    } else if (auto h = Handle(Geom_Hyperbola)::DownCast(basis)) {
        frame = h->Position();
        c.conic_type = HM_CONIC_hyperbola;
        c.k1 = h->MajorRadius();
        c.k2 = h->MinorRadius();
    } else {
        return false;
    }
    const gp_XYZ o = frame.Location().XYZ();
    c.center[0] = o.Dot(frame.XDirection().XYZ());
    c.center[1] = o.Dot(frame.YDirection().XYZ());
    c.center[2] = o.Dot(frame.Direction().XYZ());
    c.start_param = u0;
    c.end_param = u1;
    c.matrix_tag = host::new_matrix(frame.XDirection(), frame.YDirection(), frame.Direction());
    return true;
}

}  // namespace

tag_t host::new_matrix(const gp_Dir& x, const gp_Dir& y, const gp_Dir& z) {
    Object& m = create(HM_matrix_type, 0);
    MatrixData d;
    const gp_Dir rows[3] = {x, y, z};
    for (int i = 0; i < 3; ++i) {
        d.matrix[3 * i] = rows[i].X();
        d.matrix[3 * i + 1] = rows[i].Y();
        d.matrix[3 * i + 2] = rows[i].Z();
    }
    m.data = d;
    return m.tag;
}

/* ---- points ---- */

int HM_CURVE_create_point(const double point[3], tag_t* point_obj) {
    return host::guarded(__func__, [&]() -> int {
        if (!point || !point_obj) return HM_ERR_NULL_POINTER;
        if (!host::finite3(point)) return HM_ERR_BAD_ARGUMENT;
        if (int r = check_part()) return r;
        host::Object& o = host::create(HM_point_type, 0);
        o.point = {point[0], point[1], point[2]};
        *point_obj = o.tag;
        return 0;
    });
}

int HM_CURVE_ask_point_data(tag_t point, double coords[3]) {
    return host::guarded(__func__, [&]() -> int {
        if (!coords) return HM_ERR_NULL_POINTER;
        host::Object* o = find(point);
        if (!o) return HM_ERR_INVALID_TAG;
        if (o->type != HM_point_type) return HM_ERR_WRONG_TYPE;
        for (int i = 0; i < 3; ++i) coords[i] = o->point[i];
        return 0;
    });
}

int ES_ask_coordinates_of_point(tag_t point, double coords[3]) { return HM_CURVE_ask_point_data(point, coords); }

int HM_CURVE_edit_point_data(tag_t point, const double coords[3]) {
    if (!coords) return HM_ERR_NULL_POINTER;
    if (!host::finite3(coords)) return HM_ERR_BAD_ARGUMENT;
    host::Object* o = find(point);
    if (!o) return HM_ERR_INVALID_TAG;
    if (o->type != HM_point_type) return HM_ERR_WRONG_TYPE;
    o->point = {coords[0], coords[1], coords[2]};
    return 0;
}

/* ---- lines ---- */

int HM_CURVE_create_line(const HM_CURVE_line_t* line, tag_t* line_obj) {
    return host::guarded(__func__, [&]() -> int {
        if (!line || !line_obj) return HM_ERR_NULL_POINTER;
        if (int r = check_part()) return r;
        Handle(Geom_Curve) c = make_line(*line);
        if (c.IsNull()) return HM_ERR_BAD_ARGUMENT;
        host::Object& made = host::store_curve(c);
        made.type = HM_line_type;   // also when its ends coincide
        made.subtype = 0;
        *line_obj = made.tag;
        return 0;
    });
}

int HM_CURVE_ask_line_data(tag_t line, HM_CURVE_line_t* line_data) {
    return host::guarded(__func__, [&]() -> int {
        if (!line_data) return HM_ERR_NULL_POINTER;
        host::Object* o = find(line);
        if (!o) return HM_ERR_INVALID_TAG;
        if (o->type != HM_line_type || o->curve.IsNull()) return HM_ERR_WRONG_TYPE;
        host::put(o->curve->Value(o->curve->FirstParameter()), line_data->start_point);
        host::put(o->curve->Value(o->curve->LastParameter()), line_data->end_point);
        return 0;
    });
}

int HM_CURVE_edit_line_data(tag_t line, const HM_CURVE_line_t* line_data) {
    return host::guarded(__func__, [&]() -> int {
        if (!line_data) return HM_ERR_NULL_POINTER;
        host::Object* o = find(line);
        if (!o) return HM_ERR_INVALID_TAG;
        if (o->type != HM_line_type) return HM_ERR_WRONG_TYPE;
        Handle(Geom_Curve) c = make_line(*line_data);
        if (c.IsNull()) return HM_ERR_BAD_ARGUMENT;
        o->curve = c;
        o->data.reset();
        return 0;
    });
}

/* ---- arcs ---- */

int HM_CURVE_create_arc(const HM_CURVE_arc_t* arc, tag_t* arc_obj) {
    return host::guarded(__func__, [&]() -> int {
        if (!arc || !arc_obj) return HM_ERR_NULL_POINTER;
        if (int r = check_part()) return r;
        gp_XYZ axes[3];
        if (int r = matrix_axes(arc->matrix_tag, axes)) return r;
        const double sweep = arc->end_angle - arc->start_angle;
        if (!host::finite3(arc->arc_center) || !host::finite_value(arc->start_angle) || !host::finite_value(sweep) ||
            !(arc->radius > 0.0) || !host::finite_value(arc->radius) || !(sweep > kAngleResolution) ||
            sweep > kTwoPi + kAngleResolution)
            return HM_ERR_BAD_ARGUMENT;
        Handle(Geom_Curve) c;
        const gp_Dir z(axes[0] ^ axes[1]);
        const gp_Dir x0(axes[0]), y0(z ^ x0);
        // The circle's own parameter 0 is put at the start angle.
        const gp_Dir x(gp_Vec(x0) * std::cos(arc->start_angle) + gp_Vec(y0) * std::sin(arc->start_angle));
        Handle(Geom_Circle) circle = new Geom_Circle(gp_Ax2(from_matrix(axes, arc->arc_center), z, x), arc->radius);
        if (sweep >= kTwoPi - kAngleResolution)
            c = circle;
        else
            c = new Geom_TrimmedCurve(circle, 0.0, sweep);
        host::Object& o = host::store_curve(c);
        o.data = *arc;
        *arc_obj = o.tag;
        return 0;
    });
}

/* ---- conics ---- */

int HM_CURVE_create_conic(const HM_CURVE_conic_t* conic, tag_t* conic_obj) {
    return host::guarded(__func__, [&]() -> int {
        if (!conic || !conic_obj) return HM_ERR_NULL_POINTER;
        if (int r = check_part()) return r;
        int r = 0;
        Handle(Geom_Curve) c = make_conic(*conic, r);
        if (c.IsNull()) return r;
        host::Object& o = host::store_curve(c);
        o.data = *conic;
        *conic_obj = o.tag;
        return 0;
    });
}

int HM_CURVE_ask_conic_data(tag_t conic, HM_CURVE_conic_t* conic_data) {
    return host::guarded(__func__, [&]() -> int {
        if (!conic_data) return HM_ERR_NULL_POINTER;
        host::Object* o = find(conic);
        if (!o) return HM_ERR_INVALID_TAG;
        if (o->type != HM_conic_type || o->curve.IsNull()) return HM_ERR_WRONG_TYPE;
        // The record as created, unless its matrix object has gone since: then
        // a record read from the geometry, with a new matrix object.
        if (const auto* d = std::any_cast<HM_CURVE_conic_t>(&o->data);
            d && (d->matrix_tag == 0 || find(d->matrix_tag, HM_matrix_type))) {
            *conic_data = *d;
            return 0;
        }
        HM_CURVE_conic_t record;
        Handle(Geom_Curve) curve = o->curve;
        if (!conic_record(curve, record)) return HM_ERR_GEOMETRY;
        // create() may not move the conic (std::map), but look it up again anyway.
        host::Object* again = find(conic);
        again->data = record;
        *conic_data = record;
        return 0;
    });
}

int HM_CURVE_edit_conic_data(tag_t conic, const HM_CURVE_conic_t* conic_data) {
    return host::guarded(__func__, [&]() -> int {
        if (!conic_data) return HM_ERR_NULL_POINTER;
        host::Object* o = find(conic);
        if (!o) return HM_ERR_INVALID_TAG;
        if (o->type != HM_conic_type) return HM_ERR_WRONG_TYPE;
        int r = 0;
        Handle(Geom_Curve) c = make_conic(*conic_data, r);
        if (c.IsNull()) return r;
        o = find(conic);
        o->curve = c;
        o->subtype = conic_data->conic_type;
        o->data = *conic_data;
        return 0;
    });
}

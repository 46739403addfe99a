// Features that make or change bodies: spheres, cylinders, bounded planes,
// ruled sheets, scaling, and the section of two bodies; the string lists of
// curves they take.
#include "core/checks.h"
#include "core/kernel_guard.h"
#include "geometry/bodies.h"
#include "geometry/booleans.h"

#include "geometry/geometry.h"
#include "omvra.h"
#include "quillon.h"

#include <Approx_CurvilinearParameter.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <BRepAlgoAPI_Section.hxx>
#include <BRepBuilderAPI_GTransform.hxx>
#include <BRepBuilderAPI_MakeEdge.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepBuilderAPI_ModifyShape.hxx>
#include <BRepBuilderAPI_Transform.hxx>
#include <BRepLib_FindSurface.hxx>
#include <BRepOffsetAPI_ThruSections.hxx>
#include <BRepPrimAPI_MakeCylinder.hxx>
#include <BRepPrimAPI_MakeSphere.hxx>
#include <BRep_Tool.hxx>
#include <GeomAdaptor_Curve.hxx>
#include <GeomConvert.hxx>
#include <GeomConvert_CompCurveToBSplineCurve.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <ShapeAnalysis_FreeBounds.hxx>
#include <ShapeFix_Face.hxx>
#include <Standard_Failure.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_HSequenceOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Edge.hxx>
#include <TopoDS_Wire.hxx>
#include <BRepLib.hxx>
#include <ElSLib.hxx>
#include <Geom2dAPI_Interpolate.hxx>
#include <Geom2d_BSplineCurve.hxx>
#include <Geom_SphericalSurface.hxx>
#include <Precision.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColgp_Array1OfPnt2d.hxx>
#include <TColgp_HArray1OfPnt2d.hxx>
#include <gp_Ax3.hxx>
#include <gp_Pnt2d.hxx>
#include <gp_Sphere.hxx>
#include <gp_Ax2.hxx>
#include <gp_GTrsf.hxx>
#include <gp_Trsf.hxx>

#include <algorithm>
#include <cmath>
#include <memory>
#include <cstdlib>
#include <vector>

namespace {

// A length or factor written as text ("1.0", "%10g" with leading blanks):
// true with a positive finite value when the whole text is one number.
bool positive_number(const char* text, double& value) {
    if (!text) return false;
    char* end = nullptr;
    value = std::strtod(text, &end);
    if (end == text) return false;
    while (*end == ' ' || *end == '\t') ++end;
    return *end == '\0' && host::finite_value(value) && value > 0.0;
}

// The curves of each string of a string list, as objects' tags.
int strings_of(const HM_STRING_LIST_t* list, std::vector<std::vector<tag_t>>& strings, std::vector<int>& dirs) {
    if (list->string_count < 0) return HM_ERR_BAD_ARGUMENT;
    if (list->string_count > 0 && (!list->curve_counts || !list->directions)) return HM_ERR_NULL_POINTER;
    int offset = 0;
    for (int s = 0; s < list->string_count; ++s) {
        const int n = list->curve_counts[s];
        if (n < 1) return HM_ERR_BAD_ARGUMENT;
        if (!list->curves) return HM_ERR_NULL_POINTER;
        if (list->directions[s] != 1 && list->directions[s] != -1) return HM_ERR_BAD_ARGUMENT;
        strings.emplace_back(list->curves + offset, list->curves + offset + n);
        dirs.push_back(list->directions[s]);
        offset += n;
    }
    return 0;
}

// The edge of a curve or edge object.
int edge_of(tag_t object, TopoDS_Edge& edge) {
    host::Object* o = host::find(object);
    if (!o) return HM_ERR_INVALID_TAG;
    if (o->type == HM_point_type || o->type == HM_plane_type || o->type == HM_datum_type) return HM_ERR_WRONG_TYPE;
    TopoDS_Shape s = host::shape_of(*o);
    if (s.IsNull() || s.ShapeType() != TopAbs_EDGE) return HM_ERR_WRONG_TYPE;
    edge = TopoDS::Edge(s);
    return 0;
}

int check_sign(int sign) { return sign == HM_NULLSIGN ? 0 : HM_ERR_BAD_ARGUMENT; }

}  // namespace

/* ---- string lists ---- */

int HM_MODL_init_string_list(HM_STRING_LIST_p_t list) {
    return host::guarded(__func__, [&]() -> int {
        if (!list) return HM_ERR_NULL_POINTER;
        *list = HM_STRING_LIST_t{0, nullptr, nullptr, nullptr};
        return 0;
    });
}

int HM_MODL_create_string_list(int string_count, int curve_total, HM_STRING_LIST_p_t list) {
    return host::guarded(__func__, [&]() -> int {
        if (!list) return HM_ERR_NULL_POINTER;
        if (string_count < 0 || curve_total < 0) return HM_ERR_BAD_ARGUMENT;
        int* counts = static_cast<int*>(SM_calloc(string_count, sizeof(int)));
        int* directions = static_cast<int*>(SM_calloc(string_count, sizeof(int)));
        tag_t* curves = static_cast<tag_t*>(SM_calloc(curve_total, sizeof(tag_t)));
        // Counts whose arrays the memory manager refuses: nothing kept.
        if ((string_count > 0 && (!counts || !directions)) || (curve_total > 0 && !curves)) {
            SM_free(counts);
            SM_free(directions);
            SM_free(curves);
            return HM_ERR_BAD_ARGUMENT;
        }
        list->string_count = string_count;
        list->curve_counts = counts;
        list->directions = directions;
        list->curves = curves;
        return 0;
    });
}

int HM_MODL_free_string_list(HM_STRING_LIST_p_t list) {
    return host::guarded(__func__, [&]() -> int {
        if (!list) return HM_ERR_NULL_POINTER;
        SM_free(list->curve_counts);
        SM_free(list->directions);
        SM_free(list->curves);
        return HM_MODL_init_string_list(list);
    });
}

/* ---- primitives ---- */

int HM_MODL_create_sphere(int sign, const double centre[3], const char* diameter, tag_t* feature) {
    return host::guarded(__func__, [&]() -> int {
        if (!centre || !diameter || !feature) return HM_ERR_NULL_POINTER;
        if (int r = check_sign(sign)) return r;
        if (!host::finite3(centre)) return HM_ERR_BAD_ARGUMENT;
        double d;
        if (!positive_number(diameter, d)) return HM_ERR_BAD_ARGUMENT;
        TopoDS_Shape s = BRepPrimAPI_MakeSphere(gp_Pnt(centre[0], centre[1], centre[2]), d / 2.0).Shape();
        host::make_body(s, "SPHERE", feature);
        return 0;
    });
}

int HM_MODL_create_sphere1(int sign, const double centre[3], const char* diameter, tag_t* feature) {
    return host::guarded(__func__, [&]() -> int {
        return HM_MODL_create_sphere(sign, centre, diameter, feature);
    });
}

int HM_MODL_create_cyl1(int sign, const double origin[3], const char* height, const char* diameter,
                        const double direction[3], tag_t* feature) {
    return host::guarded(__func__, [&]() -> int {
        if (!origin || !height || !diameter || !direction || !feature) return HM_ERR_NULL_POINTER;
        if (int r = check_sign(sign)) return r;
        if (!host::finite3(origin) || !host::finite3(direction)) return HM_ERR_BAD_ARGUMENT;
        double h, d;
        if (!positive_number(height, h) || !positive_number(diameter, d)) return HM_ERR_BAD_ARGUMENT;
        gp_Ax2 axis(gp_Pnt(origin[0], origin[1], origin[2]), gp_Dir(direction[0], direction[1], direction[2]));
        host::make_body(BRepPrimAPI_MakeCylinder(axis, d / 2.0, h).Shape(), "CYLINDER", feature);
        return 0;
    });
}

/* ---- bounded planes ---- */

int HM_MODL_create_bplane(const HM_STRING_LIST_t* boundary, const double tolerances[], tag_t* body) {
    return host::guarded(__func__, [&]() -> int {
        if (!boundary || !tolerances || !body) return HM_ERR_NULL_POINTER;
        std::vector<std::vector<tag_t>> strings;
        std::vector<int> dirs;
        if (int r = strings_of(boundary, strings, dirs)) return r;
        if (strings.empty()) return HM_ERR_BAD_ARGUMENT;
        const double tol = tolerances[0] > 0.0 ? tolerances[0] : host::distance_tolerance();
        Handle(TopTools_HSequenceOfShape) edges = new TopTools_HSequenceOfShape;
        for (const auto& string : strings)
            for (tag_t t : string) {
                TopoDS_Edge e;
                if (int r = edge_of(t, e)) return r;
                edges->Append(e);
            }
        Handle(TopTools_HSequenceOfShape) wires = new TopTools_HSequenceOfShape;
        ShapeAnalysis_FreeBounds::ConnectEdgesToWires(edges, tol, false, wires);
        if (wires->Length() != 1) return HM_ERR_GEOMETRY;
        const TopoDS_Wire wire = TopoDS::Wire(wires->Value(1));
        if (!BRep_Tool::IsClosed(wire)) return HM_ERR_GEOMETRY;
        BRepLib_FindSurface plane(wire, tol, true);
        if (!plane.Found()) return HM_ERR_GEOMETRY;
        BRepBuilderAPI_MakeFace make(plane.Surface(), wire, true);
        if (!make.IsDone()) return HM_ERR_GEOMETRY;
        ShapeFix_Face fix(make.Face());
        fix.Perform();
        *body = host::make_body(fix.Face(), "BOUNDED_PLANE");
        return 0;
    });
}

/* ---- sheets on a sphere ---- */

namespace {

// Most boundary points of a sphere patch: three coordinates each fit an int count.
constexpr int kMostPatchPoints = 1 << 24;

// The sphere with its seam and poles a quarter turn from the axis point:
// that point has parameters (pi, 0), so a region about it stays clear of
// both and its parameters run without a jump.
Handle(Geom_SphericalSurface) sphere_about(const gp_Pnt& centre, double radius, const gp_Dir& axis) {
    gp_Vec pole = gp_Vec(axis).Crossed(gp_Vec(0, 0, 1));
    if (pole.Magnitude() < 1e-6) pole = gp_Vec(axis).Crossed(gp_Vec(1, 0, 0));
    return new Geom_SphericalSurface(gp_Ax3(centre, gp_Dir(pole), axis.Reversed()), radius);
}

// The (u, v) of the point brought onto the sphere along the ray from its
// centre; u kept in [0, 2 pi).
gp_Pnt2d sphere_parameters(const gp_Sphere& sphere, const gp_Pnt& point) {
    double u = 0.0, v = 0.0;
    ElSLib::Parameters(sphere, point, u, v);
    return gp_Pnt2d(u, v);
}

// One boundary piece through the parameter points: a line between two, else
// the interpolating spline.
Handle(Geom2d_Curve) piece_through(const std::vector<gp_Pnt2d>& points) {
    if (points.size() == 2) {
        TColgp_Array1OfPnt2d poles(1, 2);
        poles(1) = points[0];
        poles(2) = points[1];
        TColStd_Array1OfReal knots(1, 2);
        knots(1) = 0.0;
        knots(2) = 1.0;
        TColStd_Array1OfInteger mults(1, 2);
        mults(1) = mults(2) = 2;
        return new Geom2d_BSplineCurve(poles, knots, mults, 1);
    }
    Handle(TColgp_HArray1OfPnt2d) row = new TColgp_HArray1OfPnt2d(1, static_cast<int>(points.size()));
    for (size_t i = 0; i < points.size(); ++i) row->SetValue(static_cast<int>(i) + 1, points[i]);
    Geom2dAPI_Interpolate interpolate(row, false, Precision::PConfusion());
    interpolate.Perform();
    if (!interpolate.IsDone()) return nullptr;
    return Handle(Geom2d_Curve)(interpolate.Curve());
}

// Twice the signed area of the closed parameter polygon: positive when it
// runs anticlockwise.
double signed_area(const std::vector<gp_Pnt2d>& loop) {
    double area = 0.0;
    for (size_t i = 0; i < loop.size(); ++i) {
        const gp_Pnt2d& a = loop[i];
        const gp_Pnt2d& b = loop[(i + 1) % loop.size()];
        area += a.X() * b.Y() - b.X() * a.Y();
    }
    return area;
}

}  // namespace

int HM_MODL_create_sphere_patch(const double centre[3], double radius, const double axis[3], int n,
                                const double* points, int break_count, const int* breaks, tag_t* sheet) {
    return host::guarded(__func__, [&]() -> int {
        if (!centre || !axis || !points || !breaks || !sheet) return HM_ERR_NULL_POINTER;
        if (!host::finite3(centre) || !host::finite3(axis) || !host::finite_value(radius) || !(radius > 0.0) ||
            n < 3 || n > kMostPatchPoints || break_count < 2 || breaks[0] != 0 || breaks[break_count - 1] != n - 1 ||
            !host::finite_values(points, 3 * n))
            return HM_ERR_BAD_ARGUMENT;
        for (int i = 1; i < break_count; ++i)
            if (breaks[i] <= breaks[i - 1]) return HM_ERR_BAD_ARGUMENT;
        const gp_Vec axis_vector(axis[0], axis[1], axis[2]);
        if (axis_vector.Magnitude() < 1e-12) return HM_ERR_BAD_ARGUMENT;
        const gp_Pnt origin(centre[0], centre[1], centre[2]);
        Handle(Geom_SphericalSurface) surface = sphere_about(origin, radius, gp_Dir(axis_vector));
        const gp_Sphere sphere = surface->Sphere();
        // Parameters of the points; a point on the centre has no ray.
        std::vector<gp_Pnt2d> uv;
        for (int i = 0; i < n; ++i) {
            const gp_Pnt p(points[3 * i], points[3 * i + 1], points[3 * i + 2]);
            if (p.Distance(origin) < 1e-9 * radius) return HM_ERR_BAD_ARGUMENT;
            uv.push_back(sphere_parameters(sphere, p));
        }
        // The pieces between breaks, a repeated point dropped, the last piece
        // closed onto the first point.
        const double repeated = Precision::Confusion() / radius;
        const bool closed = uv[n - 1].Distance(uv[0]) <= repeated;
        std::vector<std::vector<gp_Pnt2d>> pieces;
        std::vector<gp_Pnt2d> loop;
        for (int b = 0; b + 1 < break_count; ++b) {
            std::vector<gp_Pnt2d> piece;
            for (int i = breaks[b]; i <= breaks[b + 1]; ++i) {
                const gp_Pnt2d& q = closed && i == n - 1 ? uv[0] : uv[i];
                if (piece.empty() || piece.back().Distance(q) > repeated) piece.push_back(q);
            }
            if (piece.size() < 2) continue;
            loop.insert(loop.end(), piece.begin(), piece.end() - 1);
            pieces.push_back(std::move(piece));
        }
        if (!closed) {
            loop.push_back(uv[n - 1]);
            pieces.push_back({uv[n - 1], uv[0]});
        }
        if (loop.size() < 3 || std::fabs(signed_area(loop)) < repeated * repeated) return HM_ERR_GEOMETRY;
        BRepBuilderAPI_MakeWire make_wire;
        for (const std::vector<gp_Pnt2d>& piece : pieces) {
            Handle(Geom2d_Curve) curve = piece_through(piece);
            if (curve.IsNull()) return HM_ERR_GEOMETRY;
            BRepBuilderAPI_MakeEdge edge(curve, surface);
            if (!edge.IsDone()) return HM_ERR_GEOMETRY;
            make_wire.Add(edge.Edge());
            if (!make_wire.IsDone()) return HM_ERR_GEOMETRY;
        }
        TopoDS_Wire wire = make_wire.Wire();
        BRepLib::BuildCurves3d(wire);
        // The region inside the loop: the wire runs anticlockwise in (u, v).
        if (signed_area(loop) < 0.0) wire.Reverse();
        BRepBuilderAPI_MakeFace face(surface, wire, true);
        if (!face.IsDone()) return HM_ERR_GEOMETRY;
        *sheet = host::make_body(face.Face(), "SPHERE_PATCH");
        return 0;
    });
}

/* ---- ruled sheets ---- */

namespace {

constexpr int kAlignParameter = 1;
constexpr int kAlignArcLength = 2;

// One section of a ruled sheet: a vertex (a point object alone) or the
// string's curves joined into one curve, running along the string's first
// curve and reversed for direction -1.
struct Section {
    TopoDS_Vertex apex;
    Handle(Geom_BSplineCurve) curve;
};

Handle(Geom_BSplineCurve) bspline_of(const TopoDS_Edge& edge) {
    double first, last;
    Handle(Geom_Curve) c = BRep_Tool::Curve(edge, first, last);
    if (c.IsNull()) return nullptr;
    if (edge.Orientation() == TopAbs_REVERSED) {
        Handle(Geom_Curve) r = c->Reversed();
        const double f = c->ReversedParameter(last), l = c->ReversedParameter(first);
        c = r;
        first = f;
        last = l;
    }
    // A copy: the edge's curve may be a curve object's own geometry.
    Handle(Geom_BSplineCurve) b = GeomConvert::CurveToBSplineCurve(new Geom_TrimmedCurve(c, first, last));
    return b.IsNull() ? b : Handle(Geom_BSplineCurve)::DownCast(b->Copy());
}

// Beyond this many spans a curve is aligned by arc length at its knots: the
// kernel's curvilinear approximation grows with the square of the span count
// (minutes for a few thousand spans), while spans this short already follow
// the arc length closely between their knots.
constexpr int kMaxCurvilinearSpans = 200;
// The least parameter length of a span, so that the knots stay ascending.
constexpr double kLeastSpan = 1.0e-9;

// The length of the curve between two parameters of one polynomial span:
// eight-point Gauss-Legendre quadrature of the speed, straight on the curve
// (the kernel's length routine rescans the whole knot vector each call).
double span_length(const Handle(Geom_BSplineCurve)& curve, double u0, double u1) {
    static const double nodes[4] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267,
                                    0.9602898564975363};
    static const double weights[4] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745,
                                      0.1012285362903763};
    const double mid = 0.5 * (u0 + u1), half = 0.5 * (u1 - u0);
    double sum = 0.0;
    for (int k = 0; k < 4; ++k)
        for (double sign : {-1.0, 1.0}) sum += weights[k] * curve->DN(mid + sign * half * nodes[k], 1).Magnitude();
    return sum * half;
}

// A copy of the curve whose knots lie at the arc length of the curve up to them.
Handle(Geom_BSplineCurve) arc_length_knots(const Handle(Geom_BSplineCurve)& curve) {
    Handle(Geom_BSplineCurve) out = Handle(Geom_BSplineCurve)::DownCast(curve->Copy());
    const int n = curve->NbKnots();
    TColStd_Array1OfReal knots(1, n);
    knots(1) = 0.0;
    for (int i = 2; i <= n; ++i) {
        const double span = span_length(curve, curve->Knot(i - 1), curve->Knot(i));
        knots(i) = knots(i - 1) + std::max(span, kLeastSpan);
    }
    out->SetKnots(knots);
    return out;
}

int section_of(const std::vector<tag_t>& string, int direction, int alignment, double tol, Section& out) {
    if (string.size() == 1) {
        host::Object* o = host::find(string[0]);
        if (!o) return HM_ERR_INVALID_TAG;
        if (o->type == HM_point_type) {
            out.apex = BRepBuilderAPI_MakeVertex(gp_Pnt(o->point[0], o->point[1], o->point[2])).Vertex();
            return 0;
        }
    }
    std::vector<Handle(Geom_BSplineCurve)> pieces;
    for (tag_t t : string) {
        TopoDS_Edge e;
        if (int r = edge_of(t, e)) return r;
        Handle(Geom_BSplineCurve) b = bspline_of(e);
        if (b.IsNull()) return HM_ERR_GEOMETRY;
        pieces.push_back(b);
    }
    // Orient the pieces end to end: the first so that its end meets the
    // second, each later one so that it starts where the chain ends.
    if (pieces.size() > 1) {
        const gp_Pnt s0 = pieces[0]->StartPoint(), e0 = pieces[0]->EndPoint();
        const gp_Pnt s1 = pieces[1]->StartPoint(), e1 = pieces[1]->EndPoint();
        if (std::min(s0.Distance(s1), s0.Distance(e1)) < std::min(e0.Distance(s1), e0.Distance(e1)))
            pieces[0]->Reverse();
    }
    GeomConvert_CompCurveToBSplineCurve chain(pieces[0]);
    for (size_t i = 1; i < pieces.size(); ++i) {
        const gp_Pnt end = chain.BSplineCurve()->EndPoint();
        if (pieces[i]->EndPoint().Distance(end) < pieces[i]->StartPoint().Distance(end)) pieces[i]->Reverse();
        if (!chain.Add(pieces[i], tol, true)) return HM_ERR_GEOMETRY;
    }
    Handle(Geom_BSplineCurve) curve = chain.BSplineCurve();
    if (direction < 0) curve->Reverse();
    if (alignment == kAlignArcLength && curve->NbKnots() - 1 > kMaxCurvilinearSpans) {
        curve = arc_length_knots(curve);
    } else if (alignment == kAlignArcLength) {
        Approx_CurvilinearParameter approx(new GeomAdaptor_Curve(curve), tol * 1.0e-3, GeomAbs_C1, 14, 100);
        if (!approx.IsDone() || !approx.HasResult()) return HM_ERR_GEOMETRY;
        curve = approx.Curve3d();
    }
    out.curve = curve;
    return 0;
}

}  // namespace

int HM_MODL_create_ruled1(const HM_STRING_LIST_t* sections, const HM_STRING_LIST_t* spine, int alignment,
                          double alignment_values[6], int unused1, int unused2, int unused3, int unused4,
                          const double tolerances[3], tag_t* sheet) {
    return host::guarded(__func__, [&]() -> int {
        (void)alignment_values, (void)unused1, (void)unused2, (void)unused3, (void)unused4;
        if (!sections || !sheet) return HM_ERR_NULL_POINTER;
        if (spine && spine->string_count != 0) return HM_ERR_BAD_ARGUMENT;
        if (alignment != kAlignParameter && alignment != kAlignArcLength) return HM_ERR_BAD_ARGUMENT;
        std::vector<std::vector<tag_t>> strings;
        std::vector<int> dirs;
        if (int r = strings_of(sections, strings, dirs)) return r;
        if (strings.size() != 2) return HM_ERR_BAD_ARGUMENT;
        const double tol = (tolerances && tolerances[0] > 0.0) ? tolerances[0] : host::distance_tolerance();
        Section ends[2];
        for (int i = 0; i < 2; ++i)
            if (int r = section_of(strings[i], dirs[i], alignment, tol, ends[i])) return r;
        if (ends[0].curve.IsNull() && ends[1].curve.IsNull()) return HM_ERR_BAD_ARGUMENT;
        BRepOffsetAPI_ThruSections ruled(false, true, 1.0e-6);
        ruled.CheckCompatibility(false);
        for (const Section& s : ends) {
            if (s.curve.IsNull())
                ruled.AddVertex(s.apex);
            else
                ruled.AddWire(BRepBuilderAPI_MakeWire(BRepBuilderAPI_MakeEdge(s.curve).Edge()).Wire());
        }
        ruled.Build();
        if (!ruled.IsDone() || ruled.Shape().IsNull()) return HM_ERR_GEOMETRY;
        *sheet = host::make_body(ruled.Shape(), "RULED");
        return 0;
    });
}

/* ---- scaling ---- */

int HM_MODL_create_scale(int scale_type, int body_count, const tag_t* bodies, tag_t csys, const char* factors[3],
                         int* feature_count, tag_t** features) {
    return host::guarded(__func__, [&]() -> int {
        if (!bodies || !factors || !feature_count || !features) return HM_ERR_NULL_POINTER;
        if ((scale_type != 1 && scale_type != 2) || body_count < 1) return HM_ERR_BAD_ARGUMENT;
        double f[3];
        for (int i = 0; i < (scale_type == 1 ? 1 : 3); ++i)
            if (!positive_number(factors[i], f[i])) return HM_ERR_BAD_ARGUMENT;
        if (scale_type == 1) f[1] = f[2] = f[0];
        host::CsysData frame;
        if (int r = host::frame_of(csys, frame)) return r;
        for (int i = 0; i < body_count; ++i) {
            if (!host::find(bodies[i])) return HM_ERR_INVALID_TAG;
            if (!host::find_body(bodies[i])) return HM_ERR_WRONG_TYPE;
            if (std::count(bodies, bodies + i, bodies[i])) return HM_ERR_BAD_ARGUMENT;
        }
        // The scaled shapes, and those of the faces and edges already tagged,
        // which keep their tags.
        std::vector<TopoDS_Shape> scaled;
        std::vector<std::vector<TopoDS_Shape>> scaled_topology;
        const gp_XYZ origin(frame.origin[0], frame.origin[1], frame.origin[2]);
        for (int i = 0; i < body_count; ++i) {
            const host::Object& body = *host::find(bodies[i]);
            std::unique_ptr<BRepBuilderAPI_ModifyShape> builder;
            if (scale_type == 1) {
                gp_Trsf t;
                t.SetScale(gp_Pnt(origin), f[0]);
                builder = std::make_unique<BRepBuilderAPI_Transform>(body.shape, t, true);
            } else {
                // p' = O + R^T D R (p - O), the rows of R being the system's unit axes.
                gp_Mat r;
                for (int row = 0; row < 3; ++row) {
                    gp_Dir axis(frame.matrix[3 * row], frame.matrix[3 * row + 1], frame.matrix[3 * row + 2]);
                    r.SetRow(row + 1, axis.XYZ());
                }
                gp_Mat d(f[0], 0, 0, 0, f[1], 0, 0, 0, f[2]);
                gp_Mat a = r.Transposed() * d * r;
                gp_GTrsf g;
                g.SetVectorialPart(a);
                g.SetTranslationPart(origin - a * origin);
                builder = std::make_unique<BRepBuilderAPI_GTransform>(body.shape, g, true);
            }
            if (!builder->IsDone()) return HM_ERR_GEOMETRY;
            scaled.push_back(builder->Shape());
            scaled_topology.emplace_back();
            for (tag_t t : body.subtags) {
                const host::Object* sub = host::find(t);
                scaled_topology.back().push_back(sub ? builder->ModifiedShape(sub->shape) : TopoDS_Shape());
            }
        }
        *features = static_cast<tag_t*>(SM_alloc(body_count * sizeof(tag_t)));
        for (int i = 0; i < body_count; ++i) {
            host::Object& body = *host::find(bodies[i]);
            body.shape = scaled[i];
            for (size_t k = 0; k < body.subtags.size(); ++k)
                if (host::Object* sub = host::find(body.subtags[k])) sub->shape = scaled_topology[i][k];
            (*features)[i] = host::create_feature("SCALE", bodies[i]).tag;
        }
        *feature_count = body_count;
        return 0;
    });
}

/* ---- section of bodies ---- */

int HM_MODL_intersect_bodies(tag_t body1, tag_t body2, int* count, tag_t** bodies) {
    return host::guarded(__func__, [&]() -> int {
        if (!count || !bodies) return HM_ERR_NULL_POINTER;
        if (!host::find(body1) || !host::find(body2)) return HM_ERR_INVALID_TAG;
        if (!host::find_body(body1) || !host::find_body(body2)) return HM_ERR_WRONG_TYPE;
        const TopoDS_Shape& a = host::find(body1)->shape;
        const TopoDS_Shape& b = host::find(body2)->shape;
        // Sheets overlapping in area: the shared regions.
        if (host::has_face(a) && host::has_face(b) && !host::has_solid(a) && !host::has_solid(b)) {
            const TopoDS_Shape common = host::boolean_of(a, b, host::BooleanKind::intersect);
            if (host::has_face(common)) {
                std::vector<tag_t> made;
                for (const TopoDS_Shape& piece : host::pieces_of(common))
                    if (host::has_face(piece)) made.push_back(host::make_body(piece, "INTERSECT"));
                *count = static_cast<int>(made.size());
                *bodies = host::tag_array(made);
                return 0;
            }
        }
        std::vector<TopoDS_Shape> wires;
        BRepAlgoAPI_Section section(host::find(body1)->shape, host::find(body2)->shape, true);
        if (!section.IsDone()) return HM_ERR_GEOMETRY;
        Handle(TopTools_HSequenceOfShape) edges = new TopTools_HSequenceOfShape;
        for (TopExp_Explorer it(section.Shape(), TopAbs_EDGE); it.More(); it.Next()) edges->Append(it.Current());
        Handle(TopTools_HSequenceOfShape) joined = new TopTools_HSequenceOfShape;
        if (edges->Length() > 0)
            ShapeAnalysis_FreeBounds::ConnectEdgesToWires(edges, host::distance_tolerance(), false, joined);
        for (int i = 1; i <= joined->Length(); ++i) wires.push_back(joined->Value(i));
        std::vector<tag_t> made;
        for (const TopoDS_Shape& wire : wires) made.push_back(host::make_body(wire, "SECTION"));
        *count = static_cast<int>(made.size());
        *bodies = host::tag_array(made);
        return 0;
    });
}

// Intersection of two objects: exact crossings of a curve with a plane, of
// two curves, of a point with anything; sections of surfaces and bodies
// (faces with creases, such as cones through polylines, cut at the creases).
#include "core/kernel_guard.h"
#include "geometry/curves_internal.h"
#include "quillon.h"

#include <BRepAlgoAPI_Section.hxx>
#include <BRepBuilderAPI_MakeFace.hxx>
#include <BRepBuilderAPI_MakePolygon.hxx>
#include <BRepBuilderAPI_MakeVertex.hxx>
#include <BRepBuilderAPI_MakeWire.hxx>
#include <BRepExtrema_DistShapeShape.hxx>
#include <BRepTools.hxx>
#include <BRep_Builder.hxx>
#include <BRep_Tool.hxx>
#include <BndLib_Add3dCurve.hxx>
#include <Bnd_Box.hxx>
#include <Extrema_LocateExtCC.hxx>
#include <Extrema_POnCurv.hxx>
#include <GProp_PEquation.hxx>
#include <Geom2dAPI_InterCurveCurve.hxx>
#include <Geom2d_BSplineCurve.hxx>
#include <Geom2d_Curve.hxx>
#include <Geom2d_BezierCurve.hxx>
#include <Geom2d_Circle.hxx>
#include <Geom2d_Ellipse.hxx>
#include <Geom2d_Hyperbola.hxx>
#include <Geom2d_Line.hxx>
#include <Geom2d_Parabola.hxx>
#include <Geom2d_TrimmedCurve.hxx>
#include <GeomAPI_ExtremaCurveCurve.hxx>
#include <GeomAPI_IntCS.hxx>
#include <GeomAdaptor_Curve.hxx>
#include <GeomLib_IsPlanarSurface.hxx>
#include <Geom_BSplineSurface.hxx>
#include <Geom_BezierCurve.hxx>
#include <Geom_Circle.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Hyperbola.hxx>
#include <Geom_Line.hxx>
#include <Geom_Parabola.hxx>
#include <Geom_Plane.hxx>
#include <Geom_Surface.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <IntRes2d_IntersectionPoint.hxx>
#include <IntRes2d_IntersectionSegment.hxx>
#include <Precision.hxx>
#include <ShapeBuild_ReShape.hxx>
#include <ShapeUpgrade_ShapeDivideContinuity.hxx>
#include <Standard_Failure.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TColgp_Array1OfPnt2d.hxx>
#include <TopExp.hxx>
#include <TopExp_Explorer.hxx>
#include <TopTools_DataMapOfShapeShape.hxx>
#include <TopTools_IndexedDataMapOfShapeListOfShape.hxx>
#include <TopoDS.hxx>
#include <TopoDS_Compound.hxx>
#include <gp.hxx>
#include <gp_Ax22d.hxx>
#include <gp_Pln.hxx>
#include <gp_Pnt2d.hxx>
#include <gp_Vec2d.hxx>

#include <algorithm>
#include <cmath>

using host::find;

namespace {

// Share of the distance tolerance within which a walking point of a section
// counts as lying on the straight piece through its neighbours.
constexpr double kStraightPoles = 1.0e-2;

struct Entry {
    int kind = 0;            // 0 point, 2 curve
    gp_Pnt point;
    Handle(Geom_Curve) curve;
    double key = 0.0;        // curve parameter of a point, for ordering
};

Handle(Geom_Plane) plane_of(const host::Object& o) {
    if (o.type != HM_plane_type && o.type != HM_datum_type) return nullptr;
    return Handle(Geom_Plane)::DownCast(o.surface);
}

// Adds a point unless one within the tolerance is there already.
void add_point(std::vector<Entry>& out, const gp_Pnt& p, double key, double tolerance) {
    for (const Entry& e : out)
        if (e.kind == 0 && e.point.Distance(p) <= tolerance) return;
    Entry e;
    e.point = p;
    e.key = key;
    out.push_back(e);
}

void sort_points(std::vector<Entry>& out) {
    std::stable_sort(out.begin(), out.end(), [](const Entry& a, const Entry& b) {
        if (a.kind != b.kind) return a.kind < b.kind;
        return a.kind == 0 && a.key < b.key;
    });
}

// Crossings of a curve with an unbounded plane, in ascending curve
// parameter; a curve lying in the plane is itself the result.
void curve_plane(const Handle(Geom_Curve)& c, const Handle(Geom_Plane)& plane, double tolerance,
                 std::vector<Entry>& out) {
    const gp_Pln pln = plane->Pln();
    const double u0 = c->FirstParameter(), u1 = c->LastParameter();
    bool in_plane = true;
    for (int i = 0; i <= 16 && in_plane; ++i)
        in_plane = pln.Distance(c->Value(u0 + (u1 - u0) * i / 16.0)) <= tolerance;
    if (in_plane) {
        Entry e;
        e.kind = 2;
        e.curve = c;
        out.push_back(e);
        return;
    }
    GeomAPI_IntCS inter(c, plane);
    if (!inter.IsDone()) throw Standard_Failure("curve-plane intersection failed");
    for (int i = 1; i <= inter.NbPoints(); ++i) {
        double u = 0, v = 0, w = 0;
        inter.Parameters(i, u, v, w);
        if (w < u0 - Precision::PConfusion() || w > u1 + Precision::PConfusion()) continue;
        add_point(out, inter.Point(i), w, tolerance);
    }
    for (int i = 1; i <= inter.NbSegments(); ++i) {
        Entry e;
        e.kind = 2;
        e.curve = inter.Segment(i);
        if (!e.curve.IsNull()) out.push_back(e);
    }
    // Ends touching the plane within the tolerance.
    for (double u : {u0, u1}) {
        const gp_Pnt p = c->Value(u);
        if (pln.Distance(p) <= tolerance) add_point(out, p, u, tolerance);
    }
    sort_points(out);
}

// ---- two curves ----

// Kernel parameters along the curve close enough that the chord between
// neighbours stays near the curve: even steps, and a few in each knot span of
// a spline.
std::vector<double> sample_parameters(const Handle(Geom_Curve)& c) {
    const double u0 = c->FirstParameter(), u1 = c->LastParameter();
    if (Precision::IsInfinite(u0) || Precision::IsInfinite(u1)) throw Standard_Failure("unbounded curve");
    constexpr int kSteps = 64;
    std::vector<double> ts;
    for (int i = 0; i <= kSteps; ++i) ts.push_back(u0 + (u1 - u0) * i / kSteps);
    Handle(Geom_Curve) basis = c;
    if (auto trimmed = Handle(Geom_TrimmedCurve)::DownCast(c)) basis = trimmed->BasisCurve();
    if (auto spline = Handle(Geom_BSplineCurve)::DownCast(basis)) {
        const int spans = spline->NbKnots() - 1;
        const int per_span = std::clamp(1024 / std::max(spans, 1), 2, 8);
        for (int k = 1; k <= spans; ++k) {
            const double a = spline->Knot(k), b = spline->Knot(k + 1);
            for (int j = 0; j < per_span; ++j) {
                const double w = a + (b - a) * j / per_span;
                if (w > u0 && w < u1) ts.push_back(w);
            }
        }
    }
    std::sort(ts.begin(), ts.end());
    const double resolution = (u1 - u0) * host::kParameterResolution;
    ts.erase(std::unique(ts.begin(), ts.end(), [&](double a, double b) { return b - a <= resolution; }), ts.end());
    ts.back() = u1;
    return ts;
}

// The plane both curves lie in within the tolerance (a plane through them
// when they lie on one line); false when they share none.
bool common_plane(const Handle(Geom_Curve)& c1, const std::vector<double>& s1, const Handle(Geom_Curve)& c2,
                  const std::vector<double>& s2, double tolerance, gp_Pln& plane) {
    TColgp_Array1OfPnt points(1, static_cast<int>(s1.size() + s2.size()));
    int n = 0;
    for (double u : s1) points(++n) = c1->Value(u);
    for (double u : s2) points(++n) = c2->Value(u);
    GProp_PEquation fit(points, tolerance);
    if (fit.IsPlanar()) {
        plane = fit.Plane();
        return true;
    }
    if (fit.IsLinear()) {
        const gp_Lin line = fit.Line();
        const gp_Dir d = line.Direction();
        plane = gp_Pln(line.Location(), d ^ (std::fabs(d.X()) < 0.9 ? gp::DX() : gp::DY()));
        return true;
    }
    return false;
}

// Plane coordinates of points and vectors, and back.
struct PlaneFrame {
    gp_Pnt origin;
    gp_Vec x, y;
    explicit PlaneFrame(const gp_Pln& pln)
        : origin(pln.Location()), x(pln.Position().XDirection()), y(pln.Position().YDirection()) {}
    gp_Pnt2d flat(const gp_Pnt& p) const {
        const gp_Vec v(origin, p);
        return gp_Pnt2d(v.Dot(x), v.Dot(y));
    }
    gp_Vec2d flat(const gp_Vec& v) const { return gp_Vec2d(v.Dot(x), v.Dot(y)); }
    gp_Ax22d flat(const gp_Ax2& frame) const {
        return gp_Ax22d(flat(frame.Location()), gp_Dir2d(flat(gp_Vec(frame.XDirection()))),
                        gp_Dir2d(flat(gp_Vec(frame.YDirection()))));
    }
};

// The curve seen in the plane along its normal, with the same parameters; null
// for kinds of curve it cannot carry over exactly.
Handle(Geom2d_Curve) flat_curve(const Handle(Geom_Curve)& c, const PlaneFrame& f) {
    Handle(Geom_Curve) basis = c;
    auto trimmed = Handle(Geom_TrimmedCurve)::DownCast(c);
    if (!trimmed.IsNull()) basis = trimmed->BasisCurve();
    Handle(Geom2d_Curve) flat;
    if (auto line = Handle(Geom_Line)::DownCast(basis)) {
        const gp_Ax1& axis = line->Position();
        flat = new Geom2d_Line(f.flat(axis.Location()), gp_Dir2d(f.flat(gp_Vec(axis.Direction()))));
    } else if (auto circle = Handle(Geom_Circle)::DownCast(basis)) {
        flat = new Geom2d_Circle(f.flat(circle->Position()), circle->Radius());
    } else if (auto ellipse = Handle(Geom_Ellipse)::DownCast(basis)) {
        flat = new Geom2d_Ellipse(f.flat(ellipse->Position()), ellipse->MajorRadius(), ellipse->MinorRadius());
    } else if (auto parabola = Handle(Geom_Parabola)::DownCast(basis)) {
        flat = new Geom2d_Parabola(f.flat(parabola->Position()), parabola->Focal());
    } else if (auto hyperbola = Handle(Geom_Hyperbola)::DownCast(basis)) {
        flat = new Geom2d_Hyperbola(f.flat(hyperbola->Position()), hyperbola->MajorRadius(), hyperbola->MinorRadius());
    } else if (auto spline = Handle(Geom_BSplineCurve)::DownCast(basis)) {
        // Projection along the normal is affine, so it carries over to the poles.
        TColgp_Array1OfPnt2d poles(1, spline->NbPoles());
        for (int i = 1; i <= spline->NbPoles(); ++i) poles(i) = f.flat(spline->Pole(i));
        TColStd_Array1OfReal knots(1, spline->NbKnots());
        TColStd_Array1OfInteger mults(1, spline->NbKnots());
        spline->Knots(knots);
        spline->Multiplicities(mults);
        if (spline->IsRational()) {
            TColStd_Array1OfReal weights(1, spline->NbPoles());
            spline->Weights(weights);
            flat = new Geom2d_BSplineCurve(poles, weights, knots, mults, spline->Degree(), spline->IsPeriodic());
        } else {
            flat = new Geom2d_BSplineCurve(poles, knots, mults, spline->Degree(), spline->IsPeriodic());
        }
    } else if (auto bezier = Handle(Geom_BezierCurve)::DownCast(basis)) {
        TColgp_Array1OfPnt2d poles(1, bezier->NbPoles());
        for (int i = 1; i <= bezier->NbPoles(); ++i) poles(i) = f.flat(bezier->Pole(i));
        if (bezier->IsRational()) {
            TColStd_Array1OfReal weights(1, bezier->NbPoles());
            bezier->Weights(weights);
            flat = new Geom2d_BezierCurve(poles, weights);
        } else {
            flat = new Geom2d_BezierCurve(poles);
        }
    } else {
        return nullptr;
    }
    if (!trimmed.IsNull()) flat = new Geom2d_TrimmedCurve(flat, c->FirstParameter(), c->LastParameter());
    return flat;
}

// The flat curve follows the curve at its sample parameters.
bool follows(const Handle(Geom_Curve)& c, const Handle(Geom2d_Curve)& flat, const std::vector<double>& samples,
             const PlaneFrame& f, double tolerance) {
    if (flat.IsNull()) return false;
    if (std::fabs(flat->FirstParameter() - c->FirstParameter()) > host::kParameterResolution ||
        std::fabs(flat->LastParameter() - c->LastParameter()) > host::kParameterResolution)
        return false;
    for (double u : samples)
        if (f.flat(c->Value(u)).Distance(flat->Value(u)) > tolerance) return false;
    return true;
}

// The kernel parameter lies on the curve's range.
bool in_range(const Handle(Geom_Curve)& c, double u) {
    return u >= c->FirstParameter() - Precision::PConfusion() && u <= c->LastParameter() + Precision::PConfusion();
}

// Nearest points of the two curves near the parameters u1, u2: true with
// them when the curves come within the tolerance there.
bool meet_near(const Handle(Geom_Curve)& c1, const Handle(Geom_Curve)& c2, double& u1, double& u2,
               double tolerance) {
    if (c1->Value(u1).Distance(c2->Value(u2)) <= tolerance) return true;
    GeomAdaptor_Curve a1(c1), a2(c2);
    Extrema_LocateExtCC local(a1, a2, u1, u2);
    if (!local.IsDone() || std::sqrt(local.SquareDistance()) > tolerance) return false;
    Extrema_POnCurv p1, p2;
    local.Point(p1, p2);
    if (!in_range(c1, p1.Parameter()) || !in_range(c2, p2.Parameter())) return false;
    u1 = std::clamp(p1.Parameter(), c1->FirstParameter(), c1->LastParameter());
    u2 = std::clamp(p2.Parameter(), c2->FirstParameter(), c2->LastParameter());
    return true;
}

// A stretch [a, b] (kernel parameters of the first curve; b may pass the
// seam of a periodic curve) along which the curves run together.
struct Overlap {
    double a, b;
};

// Distance from the first curve's point at u to the second curve.
double gap(const Handle(Geom_Curve)& c1, double u, const Handle(Geom_Curve)& c2) {
    double w = 0;
    gp_Pnt nearest;
    const gp_Pnt p = c1->Value(u);
    return host::nearest_on_curve(c2, p, w, nearest) ? p.Distance(nearest) : Precision::Infinite();
}

// The parameter in [a, b] where the first curve comes nearest the second
// (golden-section search).
double nearest_between(const Handle(Geom_Curve)& c1, double a, double b, const Handle(Geom_Curve)& c2) {
    const double ratio = (std::sqrt(5.0) - 1.0) / 2.0, span = b - a;
    double x1 = b - ratio * (b - a), x2 = a + ratio * (b - a);
    double g1 = gap(c1, x1, c2), g2 = gap(c1, x2, c2);
    for (int i = 0; i < 60 && b - a > Precision::PConfusion(); ++i) {
        if (g1 <= g2) {
            b = x2, x2 = x1, g2 = g1;
            x1 = b - ratio * (b - a), g1 = gap(c1, x1, c2);
        } else {
            a = x1, x1 = x2, g1 = g2;
            x2 = a + ratio * (b - a), g2 = gap(c1, x2, c2);
        }
    }
    // Near a touch the gap grows with the square of the distance along the
    // curve, too flat for the search to place it finely: the vertex of the
    // parabola through three gaps close by places it.
    const double u = (a + b) / 2, h = 1e-3 * span;
    const double g_minus = gap(c1, u - h, c2), g0 = gap(c1, u, c2), g_plus = gap(c1, u + h, c2);
    const double curvature = g_minus - 2.0 * g0 + g_plus;
    if (!(curvature > 0.0)) return u;
    const double shift = h * (g_minus - g_plus) / (2.0 * curvature);
    return std::fabs(shift) < h ? u + shift : u;
}

// A kernel parameter of a periodic curve brought into its range.
double in_period(const Handle(Geom_Curve)& c, double u) {
    if (!host::is_periodic(c)) return u;
    const double first = c->FirstParameter(), period = c->Period();
    u = first + std::fmod(u - first, period);
    return u < first ? u + period : u;
}

// One stretch through the seam of a closed curve comes as two: joined.
void join_through_seam(const Handle(Geom_Curve)& c1, std::vector<Overlap>& stretches) {
    if (!host::is_periodic(c1) || stretches.size() < 2) return;
    const double first = c1->FirstParameter(), last = c1->LastParameter();
    std::sort(stretches.begin(), stretches.end(), [](const Overlap& x, const Overlap& y) { return x.a < y.a; });
    Overlap& tail = stretches.back();
    const Overlap head = stretches.front();
    if (std::fabs(tail.b - last) <= Precision::PConfusion() && std::fabs(head.a - first) <= Precision::PConfusion()) {
        tail.b = last + (head.b - first);
        stretches.erase(stretches.begin());
    }
}

// The stretches where the flat curves were found together: those along which
// the curves stay together become overlaps, the others (a tangential touch
// within the tolerance) a point where they come nearest.
void sort_out_segments(const Handle(Geom_Curve)& c1, const Handle(Geom_Curve)& c2, std::vector<Overlap> stretches,
                       double tolerance, std::vector<Entry>& out, std::vector<Overlap>& overlaps) {
    join_through_seam(c1, stretches);
    for (const Overlap& o : stretches) {
        bool together = o.b - o.a > Precision::PConfusion();
        for (int i = 1; i < 10 && together; ++i) together = gap(c1, o.a + (o.b - o.a) * i / 10.0, c2) <= tolerance / 2;
        if (together) {
            overlaps.push_back(o);
            continue;
        }
        const double u = nearest_between(c1, o.a, o.b, c2);
        if (gap(c1, u, c2) <= tolerance) add_point(out, c1->Value(u), in_period(c1, u), tolerance);
    }
}

// Coplanar curves: crossings and shared stretches from the intersection of
// their flat images. False when a curve cannot be carried into the plane.
bool flat_crossings(const Handle(Geom_Curve)& c1, const std::vector<double>& s1, const Handle(Geom_Curve)& c2,
                    const std::vector<double>& s2, const gp_Pln& plane, double tolerance, std::vector<Entry>& out,
                    std::vector<Overlap>& overlaps) {
    const PlaneFrame frame(plane);
    Handle(Geom2d_Curve) f1 = flat_curve(c1, frame), f2 = flat_curve(c2, frame);
    if (!follows(c1, f1, s1, frame, tolerance) || !follows(c2, f2, s2, frame, tolerance)) return false;
    Geom2dAPI_InterCurveCurve inter(f1, f2, tolerance);
    const Geom2dInt_GInter& found = inter.Intersector();
    if (!found.IsDone()) return false;
    for (int i = 1; i <= found.NbPoints(); ++i) {
        double u1 = found.Point(i).ParamOnFirst(), u2 = found.Point(i).ParamOnSecond();
        if (meet_near(c1, c2, u1, u2, tolerance)) add_point(out, c1->Value(u1), u1, tolerance);
    }
    std::vector<Overlap> stretches;
    for (int i = 1; i <= found.NbSegments(); ++i) {
        const IntRes2d_IntersectionSegment& segment = found.Segment(i);
        double a = segment.HasFirstPoint() ? segment.FirstPoint().ParamOnFirst() : c1->FirstParameter();
        double b = segment.HasLastPoint() ? segment.LastPoint().ParamOnFirst() : c1->LastParameter();
        if (a > b) {
            if (host::is_periodic(c1))
                b += c1->Period();
            else
                std::swap(a, b);
        }
        stretches.push_back({a, b});
    }
    sort_out_segments(c1, c2, stretches, tolerance, out, overlaps);
    return true;
}

// Closest points of the segments p0-p1 and q0-q1: their fractions s, t along
// them; answers the distance.
double segment_distance(const gp_Pnt& p0, const gp_Pnt& p1, const gp_Pnt& q0, const gp_Pnt& q1, double& s,
                        double& t) {
    const gp_Vec d1(p0, p1), d2(q0, q1), r(q0, p0);
    const double a = d1.SquareMagnitude(), e = d2.SquareMagnitude(), f = d2.Dot(r);
    constexpr double tiny = 1e-300;
    if (a <= tiny && e <= tiny) {
        s = t = 0.0;
    } else if (a <= tiny) {
        s = 0.0;
        t = std::clamp(f / e, 0.0, 1.0);
    } else {
        const double c = d1.Dot(r);
        if (e <= tiny) {
            t = 0.0;
            s = std::clamp(-c / a, 0.0, 1.0);
        } else {
            const double b = d1.Dot(d2), denom = a * e - b * b;
            s = denom > tiny ? std::clamp((b * f - c * e) / denom, 0.0, 1.0) : 0.0;
            t = (b * s + f) / e;
            if (t < 0.0) {
                t = 0.0;
                s = std::clamp(-c / a, 0.0, 1.0);
            } else if (t > 1.0) {
                t = 1.0;
                s = std::clamp((b - c) / a, 0.0, 1.0);
            }
        }
    }
    return gp_Pnt(p0.XYZ() + d1.XYZ() * s).Distance(gp_Pnt(q0.XYZ() + d2.XYZ() * t));
}

// A curve as a chain of chords: the points at the sample parameters and how
// far each chord strays from the curve (at its middle, with a margin).
struct Chords {
    std::vector<double> u;
    std::vector<gp_Pnt> p;
    std::vector<double> sag;
    Chords(const Handle(Geom_Curve)& c, const std::vector<double>& samples) : u(samples) {
        for (double w : u) p.push_back(c->Value(w));
        for (size_t i = 0; i + 1 < u.size(); ++i) {
            const gp_Pnt mid = c->Value((u[i] + u[i + 1]) / 2);
            sag.push_back(2.0 * mid.Distance(gp_Pnt((p[i].XYZ() + p[i + 1].XYZ()) / 2)));
        }
    }
};

// Stretches of the first curve lying on the second: three or more samples
// in a row (and the middles between them) within half the tolerance, the
// ends placed by bisection. Only samples marked `near` are examined.
void space_overlaps(const Handle(Geom_Curve)& c1, const std::vector<double>& u, const std::vector<char>& near,
                    const Handle(Geom_Curve)& c2, double tolerance, std::vector<Overlap>& overlaps) {
    auto on = [&](double w) { return gap(c1, w, c2) <= tolerance / 2; };
    // The last parameter from `inside` towards `outside` still on the second curve.
    auto boundary = [&](double outside, double inside) {
        for (int i = 0; i < 50 && std::fabs(outside - inside) > Precision::PConfusion(); ++i) {
            const double m = (outside + inside) / 2;
            (on(m) ? inside : outside) = m;
        }
        return inside;
    };
    const size_t n = u.size();
    std::vector<char> on_sample(n, 0);
    for (size_t i = 0; i < n; ++i) on_sample[i] = near[i] && on(u[i]);
    std::vector<Overlap> found;
    for (size_t i = 0; i < n;) {
        if (!on_sample[i]) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j + 1 < n && on_sample[j + 1] && on((u[j] + u[j + 1]) / 2)) ++j;
        if (j >= i + 2)
            found.push_back({i > 0 ? boundary(u[i - 1], u[i]) : u[i], j + 1 < n ? boundary(u[j + 1], u[j]) : u[j]});
        i = j + 1;
    }
    join_through_seam(c1, found);
    overlaps.insert(overlaps.end(), found.begin(), found.end());
}

// Curves in space: every pair of chords that come within the tolerance
// (allowing for their sag) is a seed for a local search of the nearest
// points; the global extrema are added to be safe. Stretches along which
// they run together are overlaps.
void space_crossings(const Handle(Geom_Curve)& c1, const std::vector<double>& s1, const Handle(Geom_Curve)& c2,
                     const std::vector<double>& s2, double tolerance, std::vector<Entry>& out,
                     std::vector<Overlap>& overlaps) {
    const Chords k1(c1, s1), k2(c2, s2);
    std::vector<char> near(k1.u.size(), 0);
    for (size_t i = 0; i + 1 < k1.u.size(); ++i) {
        for (size_t j = 0; j + 1 < k2.u.size(); ++j) {
            double s = 0, t = 0;
            const double d = segment_distance(k1.p[i], k1.p[i + 1], k2.p[j], k2.p[j + 1], s, t);
            if (d > tolerance + k1.sag[i] + k2.sag[j]) continue;
            near[i] = near[i + 1] = 1;
            double u1 = k1.u[i] + (k1.u[i + 1] - k1.u[i]) * s, u2 = k2.u[j] + (k2.u[j + 1] - k2.u[j]) * t;
            if (meet_near(c1, c2, u1, u2, tolerance)) add_point(out, c1->Value(u1), u1, tolerance);
        }
    }
    space_overlaps(c1, k1.u, near, c2, tolerance, overlaps);
    GeomAPI_ExtremaCurveCurve ext(c1, c2, c1->FirstParameter(), c1->LastParameter(), c2->FirstParameter(),
                                  c2->LastParameter());
    if (ext.Extrema().IsParallel()) return;
    for (int i = 1; i <= ext.NbExtrema(); ++i) {
        if (ext.Distance(i) > tolerance) continue;
        gp_Pnt p1, p2;
        ext.Points(i, p1, p2);
        double w1 = 0, w2 = 0;
        ext.Parameters(i, w1, w2);
        add_point(out, p1, w1, tolerance);
    }
}

// The first curve stays within the tolerance of the second between the
// kernel parameters a and b.
bool stays_within(const Handle(Geom_Curve)& c1, double a, double b, const Handle(Geom_Curve)& c2, double tolerance) {
    for (int i = 1; i < 8; ++i)
        if (gap(c1, a + (b - a) * i / 8.0, c2) > tolerance) return false;
    return true;
}

// Points (ascending keys) joined by a stretch of the first curve that stays
// within the tolerance of the second are one touch: they become the point
// where the curves come nearest.
void merge_touches(const Handle(Geom_Curve)& c1, const Handle(Geom_Curve)& c2, double tolerance,
                   std::vector<Entry>& points) {
    if (points.size() < 2) return;
    struct Group {
        Entry entry;
        double a, b;
    };
    std::vector<Group> groups;
    for (const Entry& e : points) {
        if (!groups.empty() && stays_within(c1, groups.back().b, e.key, c2, tolerance))
            groups.back().b = e.key;
        else
            groups.push_back({e, e.key, e.key});
    }
    // A touch through the seam of a closed curve.
    if (groups.size() > 1 && host::is_periodic(c1) &&
        stays_within(c1, groups.back().b, groups.front().a + c1->Period(), c2, tolerance)) {
        groups.back().b = groups.front().b + c1->Period();
        groups.erase(groups.begin());
    }
    points.clear();
    for (Group& g : groups) {
        if (g.b > g.a) {
            const double u = nearest_between(c1, g.a, g.b, c2);
            if (gap(c1, u, c2) <= tolerance) {
                g.entry.key = in_period(c1, u);
                g.entry.point = c1->Value(g.entry.key);
            }
        }
        points.push_back(g.entry);
    }
    sort_points(points);
}

// Points where two curves meet within the tolerance, in ascending parameter
// of the first (a tangential touch once), then the stretches along which
// they run together as curves.
// True when the curves' boxes lie more than the tolerance apart, so that
// the curves cannot meet. Only curves whose box is sure to hold them (lines,
// conics, and Bezier and B-spline curves by their poles) are judged; any
// other pair is left to the full search.
bool boxes_apart(const Handle(Geom_Curve)& c1, const Handle(Geom_Curve)& c2, double tolerance) {
    Bnd_Box boxes[2];
    const Handle(Geom_Curve)* curves[2] = {&c1, &c2};
    for (int i = 0; i < 2; ++i) {
        const GeomAdaptor_Curve adaptor(*curves[i]);
        switch (adaptor.GetType()) {
        case GeomAbs_Line:
        case GeomAbs_Circle:
        case GeomAbs_Ellipse:
        case GeomAbs_BezierCurve:
        case GeomAbs_BSplineCurve:
            break;
        default:
            return false;
        }
        BndLib_Add3dCurve::Add(adaptor, 0.0, boxes[i]);
        if (boxes[i].IsVoid() || boxes[i].IsOpen()) return false;
    }
    boxes[0].Enlarge(tolerance);
    return boxes[0].IsOut(boxes[1]);
}

void curve_curve(const Handle(Geom_Curve)& c1, const Handle(Geom_Curve)& c2, double tolerance,
                 std::vector<Entry>& out) {
    if (boxes_apart(c1, c2, tolerance)) return;
    const std::vector<double> s1 = sample_parameters(c1), s2 = sample_parameters(c2);
    std::vector<Entry> points;
    std::vector<Overlap> overlaps;
    gp_Pln plane;
    if (!common_plane(c1, s1, c2, s2, tolerance, plane) ||
        !flat_crossings(c1, s1, c2, s2, plane, tolerance, points, overlaps))
        space_crossings(c1, s1, c2, s2, tolerance, points, overlaps);
    // Ends of either curve lying on the other.
    double u = 0;
    gp_Pnt nearest;
    for (double w : {c1->FirstParameter(), c1->LastParameter()}) {
        const gp_Pnt p = c1->Value(w);
        if (host::nearest_on_curve(c2, p, u, nearest) && p.Distance(nearest) <= tolerance)
            add_point(points, p, w, tolerance);
    }
    for (double w : {c2->FirstParameter(), c2->LastParameter()}) {
        const gp_Pnt p = c2->Value(w);
        double w1 = 0;
        if (host::nearest_on_curve(c1, p, w1, nearest) && p.Distance(nearest) <= tolerance)
            add_point(points, nearest, w1, tolerance);
    }
    std::vector<Entry> shared;
    for (const Overlap& o : overlaps) {
        Entry e;
        e.kind = 2;
        e.curve = host::part_of_curve(c1, o.a, o.b);
        if (!e.curve.IsNull()) shared.push_back(e);
    }
    // Points on a shared stretch (its ends included) are part of it.
    points.erase(std::remove_if(points.begin(), points.end(),
                                [&](const Entry& p) {
                                    return std::any_of(shared.begin(), shared.end(), [&](const Entry& e) {
                                        double w = 0;
                                        gp_Pnt nearest;
                                        return host::nearest_on_curve(e.curve, p.point, w, nearest) &&
                                               p.point.Distance(nearest) <= tolerance;
                                    });
                                }),
                 points.end());
    sort_points(points);
    merge_touches(c1, c2, tolerance, points);
    out.insert(out.end(), points.begin(), points.end());
    out.insert(out.end(), shared.begin(), shared.end());
}

// A point against anything: the point itself when it lies within the tolerance.
void point_object(const gp_Pnt& p, const host::Object& other, double tolerance, std::vector<Entry>& out) {
    double d = 0.0;
    if (other.type == HM_point_type) {
        d = p.Distance(gp_Pnt(other.point[0], other.point[1], other.point[2]));
    } else if (Handle(Geom_Plane) plane = plane_of(other)) {
        d = plane->Pln().Distance(p);
    } else {
        TopoDS_Shape s = host::shape_of(other);
        if (s.IsNull()) throw Standard_Failure("no shape");
        BRepExtrema_DistShapeShape dist(BRepBuilderAPI_MakeVertex(p).Vertex(), s);
        if (!dist.IsDone()) throw Standard_Failure("distance failed");
        d = dist.Value();
    }
    if (d <= tolerance) add_point(out, p, 0.0, tolerance);
}

// True when the face lies on a surface with corners inside it (a B-spline of
// degree 1, a cone through a polyline): the section walks stop at such
// corners, so the face is cut there first.
bool creased(const TopoDS_Face& face) {
    Handle(Geom_Surface) surface = BRep_Tool::Surface(face);
    return !surface.IsNull() && surface->Continuity() < GeomAbs_C1;
}

// A shape to section and, for each of its faces, the face of the given
// shape it came from.
struct SectionShape {
    TopoDS_Shape shape;
    TopTools_DataMapOfShapeShape original;   // face -> face of the given shape
};

// The face on its plane when it is flat: bounded by its outline without the
// collapsed edges (the apex of a cone), which have no place on a plane.
TopoDS_Face on_its_plane(const TopoDS_Face& face, double tolerance) {
    GeomLib_IsPlanarSurface flat(BRep_Tool::Surface(face), tolerance);
    if (!flat.IsPlanar()) return face;
    BRepBuilderAPI_MakeWire outline;
    for (TopExp_Explorer edge(BRepTools::OuterWire(face), TopAbs_EDGE); edge.More(); edge.Next())
        if (!BRep_Tool::Degenerated(TopoDS::Edge(edge.Current()))) outline.Add(TopoDS::Edge(edge.Current()));
    if (!outline.IsDone() || !outline.Wire().Closed()) return face;
    BRepBuilderAPI_MakeFace on_plane(flat.Plan(), outline.Wire(), true);
    return on_plane.IsDone() ? on_plane.Face() : face;
}

// Parameters of the corner knots of a direction (a multiplicity reaching the
// degree), the two ends included.
std::vector<double> corner_knots(const TColStd_Array1OfReal& knots, const TColStd_Array1OfInteger& mults, int degree) {
    std::vector<double> out{knots(knots.Lower())};
    for (int i = knots.Lower() + 1; i < knots.Upper(); ++i)
        if (mults(i) >= degree) out.push_back(knots(i));
    out.push_back(knots(knots.Upper()));
    return out;
}

// True when the face covers the whole of its surface's parameter rectangle:
// one wire, every edge running along the rectangle's sides.
bool covers_surface(const TopoDS_Face& face, double u0, double u1, double v0, double v1) {
    int wires = 0;
    for (TopExp_Explorer w(face, TopAbs_WIRE); w.More(); w.Next()) ++wires;
    if (wires != 1) return false;
    const double slack = host::kParameterResolution * std::max({1.0, u1 - u0, v1 - v0});
    for (TopExp_Explorer e(face, TopAbs_EDGE); e.More(); e.Next()) {
        double f = 0.0, l = 0.0;
        Handle(Geom2d_Curve) pcurve = BRep_Tool::CurveOnSurface(TopoDS::Edge(e.Current()), face, f, l);
        if (pcurve.IsNull()) return false;
        for (double t : {f, 0.5 * (f + l), l}) {
            const gp_Pnt2d uv = pcurve->Value(t);
            if (std::fabs(uv.X() - u0) > slack && std::fabs(uv.X() - u1) > slack && std::fabs(uv.Y() - v0) > slack &&
                std::fabs(uv.Y() - v1) > slack)
                return false;
        }
    }
    return true;
}

// The cells of a B-spline face between its corner knots, when the face
// covers its whole surface; empty otherwise. A flat cell of degree 1 both
// ways (a facet of a cone through a polyline) is the polygon of its corners
// on its plane.
std::vector<TopoDS_Face> knot_cells(const TopoDS_Face& face, double tolerance) {
    Handle(Geom_BSplineSurface) surface = Handle(Geom_BSplineSurface)::DownCast(BRep_Tool::Surface(face));
    if (surface.IsNull() || surface->IsUPeriodic() || surface->IsVPeriodic()) return {};
    double u0, u1, v0, v1;
    surface->Bounds(u0, u1, v0, v1);
    if (!covers_surface(face, u0, u1, v0, v1)) return {};
    TColStd_Array1OfReal uk(1, surface->NbUKnots()), vk(1, surface->NbVKnots());
    TColStd_Array1OfInteger um(1, surface->NbUKnots()), vm(1, surface->NbVKnots());
    surface->UKnots(uk);
    surface->VKnots(vk);
    surface->UMultiplicities(um);
    surface->VMultiplicities(vm);
    const std::vector<double> us = corner_knots(uk, um, surface->UDegree()),
                              vs = corner_knots(vk, vm, surface->VDegree());
    const bool bilinear = surface->UDegree() == 1 && surface->VDegree() == 1;
    std::vector<TopoDS_Face> cells;
    for (size_t i = 0; i + 1 < us.size(); ++i)
        for (size_t j = 0; j + 1 < vs.size(); ++j) {
            Handle(Geom_BSplineSurface) cell = Handle(Geom_BSplineSurface)::DownCast(surface->Copy());
            cell->Segment(us[i], us[i + 1], vs[j], vs[j + 1]);
            GeomLib_IsPlanarSurface flat(cell, tolerance);
            if (bilinear && flat.IsPlanar()) {
                std::vector<gp_Pnt> corners;
                for (const auto& [u, v] : {std::pair{us[i], vs[j]}, std::pair{us[i + 1], vs[j]},
                                           std::pair{us[i + 1], vs[j + 1]}, std::pair{us[i], vs[j + 1]}}) {
                    const gp_Pnt p = cell->Value(u, v);
                    if (corners.empty() || p.Distance(corners.back()) > tolerance) corners.push_back(p);
                }
                if (corners.size() > 1 && corners.back().Distance(corners.front()) <= tolerance) corners.pop_back();
                BRepBuilderAPI_MakePolygon polygon;
                for (const gp_Pnt& p : corners) polygon.Add(p);
                polygon.Close();
                if (corners.size() >= 3 && polygon.IsDone()) {
                    BRepBuilderAPI_MakeFace on_plane(flat.Plan(), polygon.Wire(), true);
                    if (on_plane.IsDone()) {
                        cells.push_back(on_plane.Face());
                        continue;
                    }
                }
            }
            BRepBuilderAPI_MakeFace piece(cell, tolerance);
            if (!piece.IsDone()) return {};
            cells.push_back(piece.Face());
        }
    return cells;
}

// The pieces of a trimmed creased face by the kernel's split at its
// corners, the flat ones on their planes; the face itself when that fails.
std::vector<TopoDS_Face> continuity_pieces(const TopoDS_Face& face, double tolerance) {
    ShapeUpgrade_ShapeDivideContinuity divide(face);
    divide.SetTolerance(tolerance);
    divide.SetSurfaceCriterion(GeomAbs_C1);
    divide.SetBoundaryCriterion(GeomAbs_C1);
    divide.SetPCurveCriterion(GeomAbs_C1);
    if (!divide.Perform() || divide.Result().IsNull()) return {face};
    std::vector<TopoDS_Face> pieces;
    for (TopExp_Explorer piece(divide.Result(), TopAbs_FACE); piece.More(); piece.Next())
        pieces.push_back(on_its_plane(TopoDS::Face(piece.Current()), tolerance));
    return pieces;
}

// The shape with its creased faces cut into smooth pieces at the corners.
// A shape without creased faces is sectioned as it is.
SectionShape smooth_pieces(const TopoDS_Shape& given, double tolerance) {
    SectionShape out;
    out.shape = given;
    BRep_Builder builder;
    TopoDS_Compound pieces;
    builder.MakeCompound(pieces);
    for (TopExp_Explorer e(given, TopAbs_FACE); e.More(); e.Next()) {
        const TopoDS_Face& face = TopoDS::Face(e.Current());
        if (!creased(face)) {
            builder.Add(pieces, face);
            continue;
        }
        std::vector<TopoDS_Face> cut = knot_cells(face, tolerance);
        if (cut.empty()) cut = continuity_pieces(face, tolerance);
        for (const TopoDS_Face& piece : cut) {
            builder.Add(pieces, piece);
            out.original.Bind(piece, face);
        }
    }
    if (!out.original.IsEmpty()) out.shape = pieces;
    return out;
}

// The face of the given shape that the section edge lies on (null when not
// known).
TopoDS_Shape original_face(const BRepAlgoAPI_Section& sec, const TopoDS_Shape& edge, const SectionShape& side,
                           bool first) {
    TopoDS_Shape face;
    if (!(first ? sec.HasAncestorFaceOn1(edge, face) : sec.HasAncestorFaceOn2(edge, face))) return {};
    const TopoDS_Shape* original = side.original.Seek(face);
    return original ? *original : face;
}

// Section of two shapes: its edges become curves, its vertices on no edge points.
// Creased faces are cut into smooth pieces first; the section pieces that
// lie on one face of each given shape are joined back into one curve per
// chain.
void section(const TopoDS_Shape& a, const TopoDS_Shape& b, double tolerance, const Handle(Geom_Curve)& along,
             std::vector<Entry>& out) {
    const SectionShape sa = smooth_pieces(a, tolerance), sb = smooth_pieces(b, tolerance);
    BRepAlgoAPI_Section sec(sa.shape, sb.shape, false);
    // A section walked across a curved face comes back as a smooth curve
    // fitted to the walk, not as the thousands of points the walk takes.
    sec.Approximation(true);
    if (tolerance > Precision::Confusion()) sec.SetFuzzyValue(tolerance);
    sec.Build();
    if (!sec.IsDone()) throw Standard_Failure("section failed");
    const TopoDS_Shape& result = sec.Shape();
    // Curves of the section grouped by the pair of given faces they lie on,
    // in the order their first edges are found.
    std::vector<std::pair<TopoDS_Shape, TopoDS_Shape>> keys;
    std::vector<std::vector<Handle(Geom_Curve)>> groups;
    const bool joining = !sa.original.IsEmpty() || !sb.original.IsEmpty();
    for (TopExp_Explorer e(result, TopAbs_EDGE); e.More(); e.Next()) {
        double f = 0, l = 0;
        Handle(Geom_Curve) c = BRep_Tool::Curve(TopoDS::Edge(e.Current()), f, l);
        if (c.IsNull() || !(l > f)) continue;
        Handle(Geom_Curve) piece = host::part_of_curve(c, f, l);
        if (piece.IsNull()) continue;
        std::pair<TopoDS_Shape, TopoDS_Shape> key;
        if (joining) key = {original_face(sec, e.Current(), sa, true), original_face(sec, e.Current(), sb, false)};
        size_t g = 0;
        while (g < keys.size() && !(joining && !key.first.IsNull() && !key.second.IsNull() &&
                                    keys[g].first.IsSame(key.first) && keys[g].second.IsSame(key.second)))
            ++g;
        if (g == keys.size()) {
            keys.push_back(key);
            groups.emplace_back();
        }
        groups[g].push_back(piece);
    }
    for (const std::vector<Handle(Geom_Curve)>& group : groups) {
        std::vector<Handle(Geom_Curve)> curves = group;
        std::vector<host::Chain> chains;
        if (group.size() > 1 && host::make_chains(group, tolerance, chains)) {
            curves.clear();
            for (const host::Chain& chain : chains) {
                Handle(Geom_Curve) joined = host::join_chain(group, chain, tolerance);
                if (joined.IsNull()) {
                    curves = group;
                    break;
                }
                curves.push_back(joined);
            }
        }
        for (const Handle(Geom_Curve)& curve : curves) {
            Entry entry;
            entry.kind = 2;
            entry.curve = curve;
            // A section walked across flat facets is a polyline of its
            // walking points: keep its corners only.
            if (Handle(Geom_BSplineCurve) polyline = Handle(Geom_BSplineCurve)::DownCast(entry.curve))
                entry.curve = host::without_straight_poles(polyline, kStraightPoles * host::distance_tolerance());
            out.push_back(entry);
        }
    }
    TopTools_IndexedDataMapOfShapeListOfShape vertex_edges;
    TopExp::MapShapesAndAncestors(result, TopAbs_VERTEX, TopAbs_EDGE, vertex_edges);
    for (int i = 1; i <= vertex_edges.Extent(); ++i) {
        if (!vertex_edges(i).IsEmpty()) continue;
        const gp_Pnt p = BRep_Tool::Pnt(TopoDS::Vertex(vertex_edges.FindKey(i)));
        double key = 0.0;
        gp_Pnt nearest;
        if (!along.IsNull()) host::nearest_on_curve(along, p, key, nearest);
        add_point(out, p, key, tolerance);
    }
    if (!along.IsNull()) sort_points(out);
}

void intersect(const host::Object& a, const host::Object& b, double tolerance, std::vector<Entry>& out) {
    if (a.type == HM_point_type) return point_object(gp_Pnt(a.point[0], a.point[1], a.point[2]), b, tolerance, out);
    if (b.type == HM_point_type) return point_object(gp_Pnt(b.point[0], b.point[1], b.point[2]), a, tolerance, out);
    Handle(Geom_Curve) ca = host::curve_of(a), cb = host::curve_of(b);
    Handle(Geom_Plane) pa = plane_of(a), pb = plane_of(b);
    if (!ca.IsNull() && !pb.IsNull()) return curve_plane(ca, pb, tolerance, out);
    if (!cb.IsNull() && !pa.IsNull()) return curve_plane(cb, pa, tolerance, out);
    if (!ca.IsNull() && !cb.IsNull()) return curve_curve(ca, cb, tolerance, out);
    TopoDS_Shape sa = host::shape_of(a), sb = host::shape_of(b);
    if (!pa.IsNull() && cb.IsNull()) return section(sb, sa, tolerance, nullptr, out);
    if (!cb.IsNull()) return section(sb, sa, tolerance, cb, out);
    return section(sa, sb, tolerance, ca, out);
}

bool intersectable(const host::Object& o) {
    switch (o.type) {
    case HM_point_type:
    case HM_plane_type:
    case HM_datum_type:
        return true;
    case HM_solid_type:
        return !o.shape.IsNull();
    default:
        return host::is_curve(o);
    }
}

}  // namespace

int HM_MODL_intersect_objects(tag_t object1, tag_t object2, double tolerance, int* count,
                              HM_MODL_intersection_t*** entries) {
    return host::guarded(__func__, [&]() -> int {
        if (!count || !entries) return HM_ERR_NULL_POINTER;
        host::Object* a = find(object1);
        host::Object* b = find(object2);
        if (!a || !b) return HM_ERR_INVALID_TAG;
        if (!intersectable(*a) || !intersectable(*b)) return HM_ERR_WRONG_TYPE;
        if (!(tolerance >= 0.0) || !host::finite_value(tolerance)) return HM_ERR_BAD_ARGUMENT;
        if (!host::work_part_data()) return HM_ERR_NO_PART;
        std::vector<Entry> found;
        intersect(*a, *b, std::max(tolerance, Precision::Confusion()), found);
        *count = static_cast<int>(found.size());
        *entries = nullptr;
        if (found.empty()) return 0;
        auto** array = static_cast<HM_MODL_intersection_t**>(SM_alloc(found.size() * sizeof(HM_MODL_intersection_t*)));
        for (size_t i = 0; i < found.size(); ++i) {
            auto* e = static_cast<HM_MODL_intersection_t*>(SM_calloc(1, sizeof(HM_MODL_intersection_t)));
            e->kind = found[i].kind;
            if (found[i].kind == 0) {
                host::put(found[i].point, e->point);
            } else {
                host::Object& c = host::store_curve(found[i].curve);
                e->curve = c.tag;
            }
            array[i] = e;
        }
        *entries = array;
        return 0;
    });
}

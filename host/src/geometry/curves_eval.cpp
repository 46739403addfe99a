// Curve objects over OCCT curves: their type, normalised parameters,
// evaluation and inversion, corners, parts of curves; the evaluators of
// omvra (HM_EVAL) and gostrel (EVC, evcrv, kpart_cv, kcrvev), edge curves
// and kernel curves with their lengths.
#include "core/kernel_guard.h"
#include "geometry/curves_internal.h"
#include "gostrel.h"
#include "quillon.h"
#include "rostval.h"

#include <GCPnts_AbscissaPoint.hxx>
#include <GeomAPI_ProjectPointOnCurve.hxx>
#include <GeomAdaptor_Curve.hxx>
#include <GeomConvert.hxx>
#include <GeomLProp_CLProps.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_Circle.hxx>
#include <Geom_Ellipse.hxx>
#include <Geom_Hyperbola.hxx>
#include <Geom_Line.hxx>
#include <Geom_Parabola.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <Standard_Failure.hxx>
#include <gp_Trsf.hxx>

#include <algorithm>
#include <cmath>
#include <new>

namespace host {

namespace {

Handle(Geom_Curve) basis_of(Handle(Geom_Curve) c) {
    while (!c.IsNull() && c->IsKind(STANDARD_TYPE(Geom_TrimmedCurve)))
        c = Handle(Geom_TrimmedCurve)::DownCast(c)->BasisCurve();
    return c;
}

}  // namespace

bool is_periodic(const Handle(Geom_Curve)& c) {
    if (!c->IsPeriodic()) return false;
    if (!c->IsKind(STANDARD_TYPE(Geom_TrimmedCurve))) return true;
    const double period = c->Period();
    return std::fabs((c->LastParameter() - c->FirstParameter()) - period) <= 1e-9 * std::max(1.0, period);
}

void classify_curve(const Handle(Geom_Curve)& curve, int& type, int& subtype) {
    Handle(Geom_Curve) b = basis_of(curve);
    subtype = 0;
    if (b->IsKind(STANDARD_TYPE(Geom_Line)))
        type = HM_line_type;
    else if (b->IsKind(STANDARD_TYPE(Geom_Circle)))
        type = HM_circle_type;
    else if (b->IsKind(STANDARD_TYPE(Geom_Ellipse))) {
        type = HM_conic_type;
        subtype = HM_CONIC_ellipse;
    } else if (b->IsKind(STANDARD_TYPE(Geom_Parabola))) {
        type = HM_conic_type;
        subtype = HM_CONIC_parabola;
    } else if (b->IsKind(STANDARD_TYPE(Geom_Hyperbola))) {
        type = HM_conic_type;
        subtype = HM_CONIC_hyperbola;
    } else
        type = HM_spline_type;
}

Object& store_curve(const Handle(Geom_Curve)& curve) {
    int type = 0, subtype = 0;
    classify_curve(curve, type, subtype);
    Object& o = create(type, subtype);
    o.curve = curve;
    return o;
}

HM_EVAL_s* new_evaluator(const Handle(Geom_Curve)& curve) {
    if (curve.IsNull()) return nullptr;
    void* memory = SM_alloc(sizeof(HM_EVAL_s));
    if (!memory) return nullptr;
    return new (memory) HM_EVAL_s{curve};
}

void free_evaluator(HM_EVAL_s* evaluator) {
    if (!evaluator) return;
    evaluator->~HM_EVAL_s();
    SM_free(evaluator);
}

bool checked_kernel_parameter(const Handle(Geom_Curve)& curve, double t, double& u) {
    if (!host::finite_value(t)) return false;
    if (t < 0.0 || t > 1.0) {
        if (is_periodic(curve) && std::fabs(t) < 1.0e6)
            t -= std::floor(t);
        else if (t >= -kParameterResolution && t <= 1.0 + kParameterResolution)
            t = std::clamp(t, 0.0, 1.0);
        else
            return false;
    }
    u = kernel_parameter(curve, t);
    return true;
}

bool curve_props(const Handle(Geom_Curve)& curve, double u, CurveProps& props) {
    try {
        GeomLProp_CLProps lp(curve, u, 3, 1.0e-12);
        props.point = lp.Value();
        props.tangent = gp_Vec(0, 0, 0);
        props.normal = gp_Vec(0, 0, 0);
        props.binormal = gp_Vec(0, 0, 0);
        props.torsion = 0.0;
        props.radius = 0.0;
        if (!lp.IsTangentDefined()) return false;
        gp_Dir t;
        lp.Tangent(t);
        props.tangent = gp_Vec(t);
        const double k = lp.Curvature();
        if (k > 1.0e-12) {
            gp_Dir n;
            lp.Normal(n);
            props.normal = gp_Vec(n);
            props.binormal = props.tangent.Crossed(props.normal);
            props.radius = 1.0 / k;
            const gp_Vec c = lp.D1().Crossed(lp.D2());
            const double c2 = c.SquareMagnitude();
            if (c2 > 1.0e-24) props.torsion = c.Dot(lp.D3()) / c2;
        }
        return true;
    } catch (const Standard_Failure&) {
        return false;
    }
}

bool nearest_on_curve(const Handle(Geom_Curve)& curve, const gp_Pnt& p, double& u, gp_Pnt& nearest) {
    try {
        const double u0 = curve->FirstParameter(), u1 = curve->LastParameter();
        u = u0;
        nearest = curve->Value(u0);
        double best = p.Distance(nearest);
        const gp_Pnt end = curve->Value(u1);
        if (p.Distance(end) < best) {
            best = p.Distance(end);
            u = u1;
            nearest = end;
        }
        GeomAPI_ProjectPointOnCurve projection(p, curve, u0, u1);
        for (int i = 1; i <= projection.NbPoints(); ++i) {
            const double d = projection.Distance(i);
            const double w = projection.Parameter(i);
            if (d < best && w >= u0 - 1e-12 && w <= u1 + 1e-12) {
                best = d;
                u = std::clamp(w, u0, u1);
                nearest = projection.Point(i);
            }
        }
        return true;
    } catch (const Standard_Failure&) {
        return false;
    }
}

Handle(Geom_Curve) part_of_curve(const Handle(Geom_Curve)& curve, double u0, double u1) {
    try {
        Handle(Geom_Curve) basis = curve;
        if (curve->IsKind(STANDARD_TYPE(Geom_TrimmedCurve)))
            basis = Handle(Geom_TrimmedCurve)::DownCast(curve)->BasisCurve();
        if (basis->IsKind(STANDARD_TYPE(Geom_BSplineCurve))) {
            Handle(Geom_BSplineCurve) copy = Handle(Geom_BSplineCurve)::DownCast(basis->Copy());
            if (u1 > copy->LastParameter() && !copy->IsPeriodic()) return nullptr;
            copy->Segment(u0, u1);
            return copy;
        }
        return new Geom_TrimmedCurve(basis, u0, u1);
    } catch (const Standard_Failure&) {
        return nullptr;
    }
}

std::vector<double> corner_parameters(const Handle(Geom_Curve)& curve) {
    std::vector<double> corners;
    Handle(Geom_BSplineCurve) bs = Handle(Geom_BSplineCurve)::DownCast(basis_of(curve));
    if (bs.IsNull()) return corners;
    const double first = curve->FirstParameter(), last = curve->LastParameter();
    const double eps = kParameterResolution * (last - first);
    const int degree = bs->Degree();
    try {
        for (int i = 2; i < bs->NbKnots(); ++i) {
            const double k = bs->Knot(i);
            if (k <= first + eps || k >= last - eps) continue;
            if (bs->Multiplicity(i) < degree) continue;
            gp_Pnt p;
            gp_Vec left, right;
            bs->LocalD1(k, i - 1, i, p, left);
            bs->LocalD1(k, i, i + 1, p, right);
            if (left.Magnitude() < 1e-12 || right.Magnitude() < 1e-12 || left.Angle(right) > kCornerAngle)
                corners.push_back(k);
        }
    } catch (const Standard_Failure&) {
    }
    return corners;
}

Handle(Geom_BSplineCurve) to_bspline(const Handle(Geom_Curve)& curve) {
    try {
        if (curve->IsKind(STANDARD_TYPE(Geom_BSplineCurve)))
            return Handle(Geom_BSplineCurve)::DownCast(curve->Copy());
        return GeomConvert::CurveToBSplineCurve(curve);
    } catch (const Standard_Failure&) {
        return nullptr;
    }
}

}  // namespace host

using host::find;

namespace {

// The curve of a curve object or edge, with the usual codes.
int curve_arg(tag_t tag, Handle(Geom_Curve)& curve) {
    host::Object* o = find(tag);
    if (!o) return HM_ERR_INVALID_TAG;
    curve = host::curve_of(*o);
    return curve.IsNull() ? HM_ERR_WRONG_TYPE : 0;
}

constexpr int kKernelCurveType = 1002;   // host-internal: kernel copies of curves
constexpr double kLengthTolerance = 1.0e-10;   // of the arc-length integration

// Point and Frenet frame at a normalised parameter.
int props_at(const Handle(Geom_Curve)& curve, double parm, host::CurveProps& props) {
    double u = 0.0;
    if (!host::checked_kernel_parameter(curve, parm, u)) return HM_ERR_BAD_ARGUMENT;
    return host::curve_props(curve, u, props) ? 0 : HM_ERR_GEOMETRY;
}

// The curve point nearest to the point: its normalised parameter and itself.
int closest_point(const Handle(Geom_Curve)& curve, const double point[3], double* parm, double closest[3]) {
    double u = 0.0;
    gp_Pnt nearest;
    if (!host::nearest_on_curve(curve, host::point_of(point), u, nearest)) return HM_ERR_GEOMETRY;
    *parm = std::clamp(host::normalised_parameter(curve, u), 0.0, 1.0);
    host::put(nearest, closest);
    return 0;
}

// Arc length between two normalised parameters, given in either order.
int length_between(const Handle(Geom_Curve)& curve, double start, double end, double* length) {
    const double lo = std::min(start, end), hi = std::max(start, end);
    double u0 = 0.0, u1 = 0.0;
    if (!host::checked_kernel_parameter(curve, lo, u0) || !host::checked_kernel_parameter(curve, hi, u1))
        return HM_ERR_BAD_ARGUMENT;
    if (hi >= 1.0) u1 = curve->LastParameter();   // a periodic curve's end is not its start
    try {
        GeomAdaptor_Curve adaptor(curve);
        *length = u1 > u0 ? GCPnts_AbscissaPoint::Length(adaptor, u0, u1, kLengthTolerance) : 0.0;
    } catch (const Standard_Failure&) {
        return HM_ERR_GEOMETRY;
    }
    return 0;
}

}  // namespace

/* ---- evaluation of curve objects ---- */

int HM_MODL_ask_curve_props(tag_t curve, double parm, double point[3], double tangent[3], double p_norm[3],
                            double b_norm[3], double* torsion, double* rad_of_cur) {
    return host::guarded(__func__, [&]() -> int {
        if (!point || !tangent || !p_norm || !b_norm || !torsion || !rad_of_cur) return HM_ERR_NULL_POINTER;
        Handle(Geom_Curve) c;
        if (int r = curve_arg(curve, c)) return r;
        host::CurveProps props;
        if (int r = props_at(c, parm, props)) return r;
        host::put(props.point, point);
        host::put(props.tangent, tangent);
        host::put(props.normal, p_norm);
        host::put(props.binormal, b_norm);
        *torsion = props.torsion;
        *rad_of_cur = props.radius;
        return 0;
    });
}

int HM_MODL_ask_curve_parm(tag_t curve, const double ref_point[3], double* parm, double curve_point[3]) {
    return host::guarded(__func__, [&]() -> int {
        if (!ref_point || !parm || !curve_point) return HM_ERR_NULL_POINTER;
        if (!host::finite3(ref_point)) return HM_ERR_BAD_ARGUMENT;
        Handle(Geom_Curve) c;
        if (int r = curve_arg(curve, c)) return r;
        return closest_point(c, ref_point, parm, curve_point);
    });
}

int HM_CURVE_ask_arc_length(tag_t curve, double start, double end, double* length) {
    return host::guarded(__func__, [&]() -> int {
        if (!length) return HM_ERR_NULL_POINTER;
        Handle(Geom_Curve) c;
        if (int r = curve_arg(curve, c)) return r;
        return length_between(c, start, end, length);
    });
}

int HM_MODL_create_curve_from_edge(tag_t edge, tag_t* curve) {
    return host::guarded(__func__, [&]() -> int { return kfp_edge(edge, srfc1, curve); });
}

/* ---- evaluators ---- */

int HM_EVAL_initialize(tag_t curve, HM_EVAL_p_t* evaluator) {
    return host::guarded(__func__, [&]() -> int {
        if (!evaluator) return HM_ERR_NULL_POINTER;
        Handle(Geom_Curve) c;
        if (int r = curve_arg(curve, c)) return r;
        *evaluator = host::new_evaluator(c);
        return 0;
    });
}

int HM_EVAL_free(HM_EVAL_p_t evaluator) {
    return host::guarded(__func__, [&]() -> int {
        host::free_evaluator(evaluator);
        return 0;
    });
}

int HM_EVAL_ask_limits(HM_EVAL_p_t evaluator, double limits[2]) {
    return host::guarded(__func__, [&]() -> int {
        if (!evaluator || !limits) return HM_ERR_NULL_POINTER;
        limits[0] = 0.0;
        limits[1] = 1.0;
        return 0;
    });
}

int HM_EVAL_evaluate(HM_EVAL_p_t evaluator, int n_derivatives, double parm, double point[3], double derivatives[]) {
    return host::guarded(__func__, [&]() -> int {
        if (!evaluator || !point || (n_derivatives > 0 && !derivatives)) return HM_ERR_NULL_POINTER;
        if (n_derivatives < 0 || n_derivatives > 3) return HM_ERR_BAD_ARGUMENT;
        const Handle(Geom_Curve)& c = evaluator->curve;
        double u = 0.0;
        if (!host::checked_kernel_parameter(c, parm, u)) return HM_ERR_BAD_ARGUMENT;
        const double s = c->LastParameter() - c->FirstParameter();   // du/dt
        gp_Pnt p;
        gp_Vec d1, d2, d3;
        c->D3(u, p, d1, d2, d3);
        host::put(p, point);
        const gp_Vec d[3] = {d1 * s, d2 * (s * s), d3 * (s * s * s)};
        for (int i = 0; i < n_derivatives; ++i) host::put(d[i], derivatives + 3 * i);
        return 0;
    });
}

int HM_EVAL_evaluate_unit_vectors(HM_EVAL_p_t evaluator, double parm, double point[3], double tangent[3],
                                  double normal[3], double binormal[3]) {
    return host::guarded(__func__, [&]() -> int {
        if (!evaluator || !point || !tangent || !normal || !binormal) return HM_ERR_NULL_POINTER;
        host::CurveProps props;
        if (int r = props_at(evaluator->curve, parm, props)) return r;
        host::put(props.point, point);
        host::put(props.tangent, tangent);
        host::put(props.normal, normal);
        host::put(props.binormal, binormal);
        return 0;
    });
}

int HM_EVAL_evaluate_closest_point(HM_EVAL_p_t evaluator, const double point[3], double* parm, double closest[3]) {
    return host::guarded(__func__, [&]() -> int {
        if (!evaluator || !point || !parm || !closest) return HM_ERR_NULL_POINTER;
        if (!host::finite3(point)) return HM_ERR_BAD_ARGUMENT;
        return closest_point(evaluator->curve, point, parm, closest);
    });
}

int EVC_initialize(tag_t curve, EVC_p_t* evaluator) { return HM_EVAL_initialize(curve, evaluator); }
int EVC_free(EVC_p_t evaluator) { return HM_EVAL_free(evaluator); }
int evcrvu(tag_t curve, EVC_p_t* evaluator) { return HM_EVAL_initialize(curve, evaluator); }
int evcrvf(EVC_p_t evaluator) { return HM_EVAL_free(evaluator); }
int evcrvp(EVC_p_t evaluator, double limits[2]) { return HM_EVAL_ask_limits(evaluator, limits); }

int ev_bk_cv_at_c0(EVC_p_t evaluator, int* n_breaks, double** breaks, EVC_p_t** pieces) {
    return host::guarded(__func__, [&]() -> int {
        if (!evaluator || !n_breaks || !breaks || !pieces) return HM_ERR_NULL_POINTER;
        const Handle(Geom_Curve)& c = evaluator->curve;
        std::vector<double> u;
        u.push_back(c->FirstParameter());
        for (double k : host::corner_parameters(c)) u.push_back(k);
        u.push_back(c->LastParameter());

        std::vector<EVC_p_t> made;
        for (size_t i = 0; i + 1 < u.size(); ++i) {
            EVC_p_t piece = host::new_evaluator(host::part_of_curve(c, u[i], u[i + 1]));
            if (!piece) {
                for (EVC_p_t p : made) host::free_evaluator(p);
                return HM_ERR_GEOMETRY;
            }
            made.push_back(piece);
        }
        auto* values = static_cast<double*>(SM_alloc(u.size() * sizeof(double)));
        auto* evaluators = static_cast<EVC_p_t*>(SM_alloc(made.size() * sizeof(EVC_p_t)));
        for (size_t i = 0; i < u.size(); ++i) values[i] = host::normalised_parameter(c, u[i]);
        values[0] = 0.0;
        values[u.size() - 1] = 1.0;
        std::copy(made.begin(), made.end(), evaluators);
        *n_breaks = static_cast<int>(u.size());
        *breaks = values;
        *pieces = evaluators;
        return 0;
    });
}

int kpart_cv(EVC_p_t evaluator, double start, double end, EVC_p_t* partial) {
    return host::guarded(__func__, [&]() -> int {
        if (!evaluator || !partial) return HM_ERR_NULL_POINTER;
        const Handle(Geom_Curve)& c = evaluator->curve;
        double u0 = 0.0, u1 = 0.0;
        if (!host::checked_kernel_parameter(c, start, u0) || !host::checked_kernel_parameter(c, end, u1))
            return HM_ERR_BAD_ARGUMENT;
        if (std::fabs(end - start) < host::kParameterResolution) return HM_ERR_BAD_ARGUMENT;
        if (end < start) {
            if (!host::is_periodic(c)) return HM_ERR_BAD_ARGUMENT;
            u1 += c->Period();
        }
        EVC_p_t p = host::new_evaluator(host::part_of_curve(c, u0, u1));
        if (!p) return HM_ERR_GEOMETRY;
        *partial = p;
        return 0;
    });
}

int kcrvev(EVC_p_t evaluator, tag_t* curve) {
    return host::guarded(__func__, [&]() -> int {
        if (!evaluator || !curve) return HM_ERR_NULL_POINTER;
        if (!host::work_part_data()) return HM_ERR_NO_PART;
        *curve = host::store_curve(evaluator->curve).tag;
        return 0;
    });
}

/* ---- curves of edges ---- */

namespace {
int curve_from_edge(tag_t edge, tag_t* curve) {
    if (!curve) return HM_ERR_NULL_POINTER;
    host::Object* o = find(edge);
    if (!o) return HM_ERR_INVALID_TAG;
    if (o->type != HM_solid_type || o->subtype != HM_solid_edge_subtype) return HM_ERR_WRONG_TYPE;
    if (!host::work_part_data()) return HM_ERR_NO_PART;
    Handle(Geom_Curve) c = host::curve_of(*o);
    if (c.IsNull()) return HM_ERR_GEOMETRY;
    *curve = host::store_curve(c).tag;
    return 0;
}
}  // namespace

int kfp_edge(tag_t edge, double tolerance, tag_t* curve) {
    return host::guarded(__func__, [&]() -> int {
        (void)tolerance;
        return curve_from_edge(edge, curve);
    });
}

int kfp_edge_disp(tag_t edge, double tolerance, tag_t* curve) {
    return host::guarded(__func__, [&]() -> int {
        (void)tolerance;
        return curve_from_edge(edge, curve);
    });
}

/* ---- kernel curves ---- */

int pxcutc(tag_t curve, tag_t* kernel_curve) {
    return host::guarded(__func__, [&]() -> int {
        if (!kernel_curve) return HM_ERR_NULL_POINTER;
        Handle(Geom_Curve) c;
        if (int r = curve_arg(curve, c)) return r;
        // The kernel works in metres.
        gp_Trsf to_kernel;
        to_kernel.SetScale(gp_Pnt(0, 0, 0), pxsfac[0]);
        host::Object& k = host::create(kKernelCurveType, 0);
        k.curve = Handle(Geom_Curve)::DownCast(c->Transformed(to_kernel));
        *kernel_curve = k.tag;
        return 0;
    });
}

int GQ_CURVE_ask_interval(tag_t kernel_curve, double interval[2]) {
    return host::guarded(__func__, [&]() -> int {
        if (!interval) return HM_ERR_NULL_POINTER;
        if (!find(kernel_curve, kKernelCurveType)) return HM_ERR_INVALID_TAG;
        interval[0] = 0.0;
        interval[1] = 1.0;
        return 0;
    });
}

int GQ_CURVE_find_length(tag_t kernel_curve, const double interval[2], double* length) {
    return host::guarded(__func__, [&]() -> int {
        if (!interval || !length) return HM_ERR_NULL_POINTER;
        host::Object* k = find(kernel_curve, kKernelCurveType);
        if (!k) return HM_ERR_INVALID_TAG;
        return length_between(k->curve, interval[0], interval[1], length);
    });
}

int GQ_ENTITY_delete(tag_t entity) {
    return host::guarded(__func__, [&]() -> int {
        host::Object* o = find(entity);
        if (!o) return HM_ERR_INVALID_TAG;
        if (o->type != kKernelCurveType) return HM_ERR_WRONG_TYPE;
        host::erase(entity);
        return 0;
    });
}

/* ---- evaluation by curve ---- */

int EVC_ask_curve_limits(EVC_p_t evaluator, double limits[2]) { return HM_EVAL_ask_limits(evaluator, limits); }
int EVC_evaluate(EVC_p_t evaluator, int n_derivatives, double parm, double point[3], double derivatives[]) {
    return HM_EVAL_evaluate(evaluator, n_derivatives, parm, point, derivatives);
}

int HM_MODL_evaluate_curve(tag_t curve, double parm, int n_derivatives, double point[3], double derivatives[]) {
    HM_EVAL_p_t evaluator = nullptr;
    if (int r = HM_EVAL_initialize(curve, &evaluator)) return r;
    const int r = HM_EVAL_evaluate(evaluator, n_derivatives, parm, point, derivatives);
    HM_EVAL_free(evaluator);
    return r;
}

int HM_CURVE_ask_parameterization(tag_t curve, double range[2], int* periodic) {
    if (!range || !periodic) return HM_ERR_NULL_POINTER;
    int closed = 0;
    if (int r = HM_MODL_ask_curve_closed(curve, &closed)) return r;
    range[0] = 0.0;
    range[1] = 1.0;
    *periodic = closed;
    return 0;
}

int HM_CURVE_evaluate_curve(tag_t curve, double parm, int n_derivatives, double results[]) {
    if (!results) return HM_ERR_NULL_POINTER;
    return HM_MODL_evaluate_curve(curve, parm, n_derivatives, results, n_derivatives > 0 ? results + 3 : nullptr);
}

int HM_MODL_ask_curve_closed(tag_t curve, int* closed) {
    if (!closed) return HM_ERR_NULL_POINTER;
    *closed = 0;
    double a[3], b[3];
    if (int r = HM_MODL_evaluate_curve(curve, 0.0, 0, a, nullptr)) return r;
    if (int r = HM_MODL_evaluate_curve(curve, 1.0, 0, b, nullptr)) return r;
    const double d = std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
    *closed = d <= host::distance_tolerance() ? 1 : 0;
    return 0;
}

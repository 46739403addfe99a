// Curve enquiries over curve objects: closedness, evaluation with the first
// derivative, chordal sampling, the spline test of evaluators, splines from
// poles and knots and their data; the gostrel evaluator's limits, evaluation
// and open/closed query.
#include "core/kernel_guard.h"
#include "geometry/curves_internal.h"
#include "gostrel.h"
#include "quillon.h"

#include <GCPnts_TangentialDeflection.hxx>
#include <GeomAdaptor_Curve.hxx>
#include <Geom_BSplineCurve.hxx>
#include <Geom_TrimmedCurve.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The curve of a curve object or edge, with the usual codes.
int curve_arg(tag_t tag, Handle(Geom_Curve)& curve) {
    host::Object* o = host::find(tag);
    if (!o) return HM_ERR_INVALID_TAG;
    curve = host::curve_of(*o);
    return curve.IsNull() ? HM_ERR_WRONG_TYPE : 0;
}

// Whether the curve's ends meet (within the kernel's confusion distance, or
// the curve is periodic over its whole period).
bool is_closed_curve(const Handle(Geom_Curve)& c) {
    if (host::is_periodic(c)) return true;
    return c->Value(c->FirstParameter()).Distance(c->Value(c->LastParameter())) <= 1.0e-7;
}

Handle(Geom_Curve) basis_of(Handle(Geom_Curve) c) {
    while (!c.IsNull() && c->IsKind(STANDARD_TYPE(Geom_TrimmedCurve)))
        c = Handle(Geom_TrimmedCurve)::DownCast(c)->BasisCurve();
    return c;
}

// A flat knot vector of n + order values that the kernel takes: finite,
// non-decreasing, a non-empty range between knots order - 1 and n, the end
// knots at most `order` times and interior ones at most `order - 1` times.
bool valid_knots(int n_poles, int order, const double* knots) {
    const int count = n_poles + order;
    for (int i = 0; i < count; ++i)
        if (!host::finite_value(knots[i]) || (i > 0 && knots[i] < knots[i - 1])) return false;
    if (!(knots[order - 1] < knots[n_poles])) return false;
    for (int i = 0; i < count;) {
        int j = i;
        while (j < count && knots[j] == knots[i]) ++j;
        const bool end = i == 0 || j == count;
        if (j - i > (end ? order : order - 1)) return false;
        i = j;
    }
    return true;
}

}  // namespace

int HM_MODL_ask_curve_points(tag_t curve, double chord_tolerance, double angle_tolerance, double max_step,
                             int* n_points, double** points) {
    return host::guarded(__func__, [&]() -> int {
        if (!n_points || !points) return HM_ERR_NULL_POINTER;
        if (!host::finite_value(chord_tolerance) || !host::finite_value(angle_tolerance) ||
            !host::finite_value(max_step) || chord_tolerance < 0.0 || angle_tolerance < 0.0 || max_step < 0.0)
            return HM_ERR_BAD_ARGUMENT;
        Handle(Geom_Curve) c;
        if (int r = curve_arg(curve, c)) return r;
        GeomAdaptor_Curve adaptor(c);
        // A zero angle tolerance leaves the chord alone in charge; the kernel
        // needs some bound on the turn, so a generous one stands for "none".
        const double angle = angle_tolerance > 0.0 ? angle_tolerance * M_PI / 180.0 : 0.5;
        const double chord = chord_tolerance > 0.0 ? chord_tolerance : 1.0e-3;
        GCPnts_TangentialDeflection sampler(adaptor, angle, chord, 2, 1.0e-9, max_step > 0.0 ? max_step : 0.0);
        const int n = sampler.NbPoints();
        if (n < 2) return HM_ERR_GEOMETRY;
        auto* flat = static_cast<double*>(SM_alloc(sizeof(double) * 3 * n));
        if (!flat) return HM_ERR_GEOMETRY;
        for (int i = 0; i < n; ++i) host::put(sampler.Value(i + 1), flat + 3 * i);
        *n_points = n;
        *points = flat;
        return 0;
    });
}

int HM_EVAL_is_spline(HM_EVAL_p_t evaluator, bool* is_spline) {
    return host::guarded(__func__, [&]() -> int {
        if (!evaluator || !is_spline) return HM_ERR_NULL_POINTER;
        *is_spline = basis_of(evaluator->curve)->IsKind(STANDARD_TYPE(Geom_BSplineCurve));
        return 0;
    });
}

int HM_CURVE_create_spline(int n_poles, int order, const double* knots, const double* poles, tag_t* spline) {
    return host::guarded(__func__, [&]() -> int {
        if (!knots || !poles || !spline) return HM_ERR_NULL_POINTER;
        *spline = NULL_TAG;
        if (order < 2 || order > 9 || n_poles < order || n_poles > 100000) return HM_ERR_BAD_ARGUMENT;
        if (!valid_knots(n_poles, order, knots)) return HM_ERR_BAD_ARGUMENT;
        TColgp_Array1OfPnt p(1, n_poles);
        TColStd_Array1OfReal w(1, n_poles);
        bool rational = false;
        for (int i = 0; i < n_poles; ++i) {
            const double* q = poles + 4 * i;
            if (!host::finite_values(q, 4) || q[3] <= 0.0) return HM_ERR_BAD_ARGUMENT;
            p.SetValue(i + 1, gp_Pnt(q[0] / q[3], q[1] / q[3], q[2] / q[3]));
            w.SetValue(i + 1, q[3]);
            rational = rational || q[3] != 1.0;
        }
        std::vector<double> distinct;
        std::vector<int> mult;
        for (int i = 0; i < n_poles + order; ++i) {
            if (!distinct.empty() && knots[i] == distinct.back())
                ++mult.back();
            else {
                distinct.push_back(knots[i]);
                mult.push_back(1);
            }
        }
        TColStd_Array1OfReal k(1, static_cast<int>(distinct.size()));
        TColStd_Array1OfInteger m(1, static_cast<int>(distinct.size()));
        for (size_t i = 0; i < distinct.size(); ++i) {
            k.SetValue(static_cast<int>(i) + 1, distinct[i]);
            m.SetValue(static_cast<int>(i) + 1, mult[i]);
        }
        Handle(Geom_BSplineCurve) bs =
            rational ? new Geom_BSplineCurve(p, w, k, m, order - 1) : new Geom_BSplineCurve(p, k, m, order - 1);
        // An unclamped vector is taken over its valid range only.
        Handle(Geom_Curve) curve = bs;
        if (knots[order - 1] > knots[0] || knots[n_poles] < knots[n_poles + order - 1])
            curve = new Geom_TrimmedCurve(bs, knots[order - 1], knots[n_poles]);
        *spline = host::store_curve(curve).tag;
        return 0;
    });
}

int HM_CURVE_ask_spline_data(tag_t spline, int* n_poles, int* order, double** knots, double** poles) {
    return host::guarded(__func__, [&]() -> int {
        if (!n_poles || !order || !knots || !poles) return HM_ERR_NULL_POINTER;
        Handle(Geom_Curve) c;
        if (int r = curve_arg(spline, c)) return r;
        Handle(Geom_BSplineCurve) bs = Handle(Geom_BSplineCurve)::DownCast(basis_of(c));
        if (bs.IsNull()) return HM_ERR_WRONG_TYPE;
        bs = Handle(Geom_BSplineCurve)::DownCast(bs->Copy());
        if (bs->IsPeriodic()) bs->SetNotPeriodic();
        const int n = bs->NbPoles();
        const int k = bs->Degree() + 1;
        auto* kv = static_cast<double*>(SM_alloc(sizeof(double) * (n + k)));
        auto* pv = static_cast<double*>(SM_alloc(sizeof(double) * 4 * n));
        if (!kv || !pv) {
            SM_free(kv);
            SM_free(pv);
            return HM_ERR_GEOMETRY;
        }
        int at = 0;
        for (int i = 1; i <= bs->NbKnots(); ++i)
            for (int j = 0; j < bs->Multiplicity(i) && at < n + k; ++j) kv[at++] = bs->Knot(i);
        for (int i = 1; i <= n; ++i) {
            const gp_Pnt q = bs->Pole(i);
            const double w = bs->Weight(i);
            pv[4 * (i - 1)] = q.X() * w;
            pv[4 * (i - 1) + 1] = q.Y() * w;
            pv[4 * (i - 1) + 2] = q.Z() * w;
            pv[4 * (i - 1) + 3] = w;
        }
        *n_poles = n;
        *order = k;
        *knots = kv;
        *poles = pv;
        return 0;
    });
}

int em05(EVC_p_t evaluator) {
    return host::guarded_value(__func__, -1, [&]() -> int {
        if (!evaluator) return -1;
        return is_closed_curve(evaluator->curve) ? 0 : 1;
    });
}

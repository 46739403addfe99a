// Splines through points: B-spline interpolation of degree 1, 2 and 3, open
// and periodic. The kernel interpolates cubics only; degree 1 is a polyline
// B-spline and degree 2 is solved here (chord-length parameters, averaged
// knots when open, knots halfway between the parameters when periodic).
#include "core/kernel_guard.h"
#include "geometry/curves_internal.h"

#include <GeomAPI_Interpolate.hxx>
#include <Precision.hxx>
#include <Standard_Failure.hxx>
#include <TColStd_Array1OfInteger.hxx>
#include <TColStd_Array1OfReal.hxx>
#include <TColStd_HArray1OfReal.hxx>
#include <TColgp_Array1OfPnt.hxx>
#include <TColgp_HArray1OfPnt.hxx>

#include <algorithm>
#include <array>
#include <cmath>

namespace host {
namespace {

// The p + 1 non-zero B-spline basis functions of degree p at u in the knot
// span [t[s], t[s+1]) of the flat knot vector t: N[j] belongs to pole s - p + j.
std::vector<double> basis_functions(const std::vector<double>& t, int s, double u, int p) {
    std::vector<double> N(p + 1, 0.0), left(p + 1, 0.0), right(p + 1, 0.0);
    N[0] = 1.0;
    for (int j = 1; j <= p; ++j) {
        left[j] = u - t[s + 1 - j];
        right[j] = t[s + j] - u;
        double saved = 0.0;
        for (int r = 0; r < j; ++r) {
            const double temp = N[r] / (right[r + 1] + left[j - r]);
            N[r] = saved + right[r + 1] * temp;
            saved = left[j - r] * temp;
        }
        N[j] = saved;
    }
    return N;
}

// Solves the banded system (half bandwidth w; row i holds columns i - w ..
// i + w at band[i][k + w]) by elimination without pivoting, which the
// totally positive collocation matrices of interpolation allow. In place.
bool solve_banded(std::vector<std::vector<double>>& band, int w, std::vector<gp_XYZ>& rhs) {
    const int n = static_cast<int>(rhs.size());
    auto at = [&](int i, int j) -> double& { return band[i][j - i + w]; };
    for (int k = 0; k < n; ++k) {
        const double pivot = at(k, k);
        if (std::fabs(pivot) < 1.0e-14) return false;
        for (int i = k + 1; i <= std::min(n - 1, k + w); ++i) {
            const double f = at(i, k) / pivot;
            if (f == 0.0) continue;
            for (int j = k; j <= std::min(n - 1, k + w); ++j) at(i, j) -= f * at(k, j);
            rhs[i] -= rhs[k] * f;
        }
    }
    for (int k = n - 1; k >= 0; --k) {
        gp_XYZ x = rhs[k];
        for (int j = k + 1; j <= std::min(n - 1, k + w); ++j) x -= rhs[j] * at(k, j);
        rhs[k] = x / at(k, k);
    }
    return true;
}

// Tridiagonal system a[i] x[i-1] + b[i] x[i] + c[i] x[i+1] = d[i] (a[0] and
// c[n-1] unused). In place in d.
bool solve_tridiagonal(const std::vector<double>& a, std::vector<double> b, const std::vector<double>& c,
                       std::vector<gp_XYZ>& d) {
    const size_t n = d.size();
    std::vector<double> cc(c);
    for (size_t i = 1; i < n; ++i) {
        if (std::fabs(b[i - 1]) < 1.0e-14) return false;
        const double f = a[i] / b[i - 1];
        b[i] -= f * cc[i - 1];
        d[i] -= d[i - 1] * f;
    }
    if (std::fabs(b[n - 1]) < 1.0e-14) return false;
    d[n - 1] /= b[n - 1];
    for (size_t i = n - 1; i-- > 0;) d[i] = (d[i] - d[i + 1] * cc[i]) / b[i];
    return true;
}

// Cyclic tridiagonal system (a[0] couples x[n-1], c[n-1] couples x[0]), n >= 3,
// by the Sherman-Morrison correction of the plain tridiagonal solution.
bool solve_cyclic_tridiagonal(const std::vector<double>& a, const std::vector<double>& b,
                              const std::vector<double>& c, std::vector<gp_XYZ>& d) {
    const size_t n = d.size();
    const double alpha = c[n - 1], beta = a[0];
    const double gamma = -b[0];
    std::vector<double> bb(b);
    bb[0] = b[0] - gamma;
    bb[n - 1] = b[n - 1] - alpha * beta / gamma;
    if (!solve_tridiagonal(a, bb, c, d)) return false;
    std::vector<gp_XYZ> u(n, gp_XYZ(0, 0, 0));
    u[0] = gp_XYZ(gamma, gamma, gamma);
    u[n - 1] = gp_XYZ(alpha, alpha, alpha);
    if (!solve_tridiagonal(a, bb, c, u)) return false;
    for (int k = 1; k <= 3; ++k) {
        const double z0 = u[0].Coord(k), zn = u[n - 1].Coord(k);
        const double denominator = 1.0 + z0 + beta * zn / gamma;
        if (std::fabs(denominator) < 1.0e-14) return false;
        const double factor = (d[0].Coord(k) + beta * d[n - 1].Coord(k) / gamma) / denominator;
        for (size_t i = 0; i < n; ++i) d[i].SetCoord(k, d[i].Coord(k) - factor * u[i].Coord(k));
    }
    return true;
}

// Chord-length parameters from 0 to 1 (closed: the closing chord counts, and
// the n + 1-th value, 1, stands for the first point again).
std::vector<double> chord_parameters(const std::vector<gp_Pnt>& points, bool closed) {
    const size_t n = points.size();
    std::vector<double> u(closed ? n + 1 : n, 0.0);
    for (size_t i = 1; i < u.size(); ++i) u[i] = u[i - 1] + points[i - 1].Distance(points[i % n]);
    const double total = u.back();
    for (double& v : u) v /= total;
    u.back() = 1.0;
    return u;
}

TColgp_Array1OfPnt pole_array(const std::vector<gp_XYZ>& poles) {
    TColgp_Array1OfPnt a(1, static_cast<int>(poles.size()));
    for (size_t i = 0; i < poles.size(); ++i) a(static_cast<int>(i) + 1) = gp_Pnt(poles[i]);
    return a;
}

Handle(Geom_BSplineCurve) open_degree_1(const std::vector<gp_Pnt>& points, const std::vector<double>& u) {
    const int n = static_cast<int>(points.size());
    TColgp_Array1OfPnt poles(1, n);
    TColStd_Array1OfReal knots(1, n);
    TColStd_Array1OfInteger mults(1, n);
    for (int i = 0; i < n; ++i) {
        poles(i + 1) = points[i];
        knots(i + 1) = u[i];
        mults(i + 1) = (i == 0 || i == n - 1) ? 2 : 1;
    }
    return new Geom_BSplineCurve(poles, knots, mults, 1);
}

Handle(Geom_BSplineCurve) periodic_degree_1(const std::vector<gp_Pnt>& points, const std::vector<double>& u) {
    const int n = static_cast<int>(points.size());
    TColgp_Array1OfPnt poles(1, n);
    TColStd_Array1OfReal knots(1, n + 1);
    TColStd_Array1OfInteger mults(1, n + 1);
    for (int i = 0; i < n; ++i) poles(i + 1) = points[i];
    for (int i = 0; i <= n; ++i) {
        knots(i + 1) = u[i];
        mults(i + 1) = 1;
    }
    return new Geom_BSplineCurve(poles, knots, mults, 1, true);
}

// Global quadratic interpolation with averaged knots.
Handle(Geom_BSplineCurve) open_degree_2(const std::vector<gp_Pnt>& points, const std::vector<double>& u) {
    const int p = 2, n = static_cast<int>(points.size());
    std::vector<double> t(n + p + 1, 0.0);
    for (int i = 0; i <= p; ++i) {
        t[i] = u.front();
        t[n + i] = u.back();
    }
    for (int j = 1; j <= n - p - 1; ++j) t[j + p] = (u[j] + u[j + 1]) / 2.0;
    const int w = p;
    std::vector<std::vector<double>> band(n, std::vector<double>(2 * w + 1, 0.0));
    std::vector<gp_XYZ> rhs(n);
    for (int k = 0; k < n; ++k) {
        int s = p;
        while (s < n - 1 && u[k] >= t[s + 1]) ++s;
        const std::vector<double> N = basis_functions(t, s, u[k], p);
        for (int j = 0; j <= p; ++j) {
            const int col = s - p + j;
            if (std::abs(col - k) > w) {
                if (N[j] != 0.0) return nullptr;
                continue;
            }
            band[k][col - k + w] = N[j];
        }
        rhs[k] = points[k].XYZ();
    }
    if (!solve_banded(band, w, rhs)) return nullptr;
    TColStd_Array1OfReal knots(1, n - p + 1);
    TColStd_Array1OfInteger mults(1, n - p + 1);
    knots(1) = u.front();
    mults(1) = p + 1;
    for (int j = 1; j <= n - p - 1; ++j) {
        knots(j + 1) = t[j + p];
        mults(j + 1) = 1;
    }
    knots(n - p + 1) = u.back();
    mults(n - p + 1) = p + 1;
    return new Geom_BSplineCurve(pole_array(rhs), knots, mults, p);
}

// Periodic quadratic interpolation through n points at parameters u[0..n-1]
// (u[n] = 1 closes the period). The knots lie halfway between the
// parameters, which keeps the collocation matrix diagonally dominant; the
// origin is then put back at the first point.
Handle(Geom_BSplineCurve) periodic_degree_2(const std::vector<gp_Pnt>& points, const std::vector<double>& u) {
    const int p = 2, n = static_cast<int>(points.size());
    // Kernel knots K[0..n]: K[0] = kappa[n-1] - 1, K[j+1] = kappa[j].
    std::vector<double> K(n + 1);
    K[0] = (u[n - 1] + u[n]) / 2.0 - 1.0;
    for (int j = 0; j < n; ++j) K[j + 1] = (u[j] + u[j + 1]) / 2.0;
    // Flat knots t[p + j] = K[j], extended by the period on both sides.
    std::vector<double> t(n + 2 * p + 1);
    for (int j = 0; j <= n; ++j) t[p + j] = K[j];
    for (int i = 0; i < p; ++i) {
        t[p - 1 - i] = t[p + n - 1 - i] - 1.0;
        t[p + n + 1 + i] = t[p + 1 + i] + 1.0;
    }
    // Point k lies in the span [K[k], K[k+1]) = [t[p+k], t[p+k+1]), whose
    // non-zero basis functions belong to poles k, k+1, k+2 (cyclic). With
    // R[j] = pole j+1 the rows are cyclic tridiagonal in R.
    std::vector<double> a(n), b(n), c(n);
    std::vector<gp_XYZ> rhs(n);
    for (int k = 0; k < n; ++k) {
        const std::vector<double> N = basis_functions(t, p + k, u[k], p);
        a[k] = N[0];
        b[k] = N[1];
        c[k] = N[2];
        rhs[k] = points[k].XYZ();
    }
    if (!solve_cyclic_tridiagonal(a, b, c, rhs)) return nullptr;
    std::vector<gp_XYZ> poles(n);
    for (int j = 0; j < n; ++j) poles[(j + 1) % n] = rhs[j];
    TColStd_Array1OfReal knots(1, n + 1);
    TColStd_Array1OfInteger mults(1, n + 1);
    for (int j = 0; j <= n; ++j) {
        knots(j + 1) = K[j];
        mults(j + 1) = 1;
    }
    Handle(Geom_BSplineCurve) curve = new Geom_BSplineCurve(pole_array(poles), knots, mults, p, true);
    curve->SetOrigin(u[0], Precision::PConfusion());
    return curve;
}

Handle(Geom_BSplineCurve) cubic(const std::vector<gp_Pnt>& points, const std::vector<double>& u, bool periodic) {
    const int n = static_cast<int>(points.size());
    Handle(TColgp_HArray1OfPnt) pts = new TColgp_HArray1OfPnt(1, n);
    for (int i = 0; i < n; ++i) pts->SetValue(i + 1, points[i]);
    Handle(TColStd_HArray1OfReal) params = new TColStd_HArray1OfReal(1, static_cast<int>(u.size()));
    for (size_t i = 0; i < u.size(); ++i) params->SetValue(static_cast<int>(i) + 1, u[i]);
    GeomAPI_Interpolate interpolate(pts, params, periodic, Precision::Confusion());
    interpolate.Perform();
    if (!interpolate.IsDone()) return nullptr;
    return interpolate.Curve();
}

}  // namespace

Handle(Geom_BSplineCurve) interpolate(const std::vector<gp_Pnt>& points, int degree, bool periodic,
                                      const std::vector<double>* parameters) {
    const size_t n = points.size();
    if (degree < 1 || degree > 3 || n < (periodic ? 3u : 2u)) return nullptr;
    try {
        if (periodic) {
            const std::vector<double> u = chord_parameters(points, true);
            if (degree == 1) return periodic_degree_1(points, u);
            if (degree == 2) return periodic_degree_2(points, u);
            return cubic(points, u, true);
        }
        const std::vector<double> u = parameters ? *parameters : chord_parameters(points, false);
        degree = std::min<int>(degree, static_cast<int>(n) - 1);
        if (degree == 1) return open_degree_1(points, u);
        if (degree == 2) return open_degree_2(points, u);
        return cubic(points, u, false);
    } catch (const Standard_Failure&) {
        return nullptr;
    }
}

Handle(Geom_BSplineCurve) without_straight_poles(const Handle(Geom_BSplineCurve)& curve, double tolerance) {
    if (curve.IsNull() || curve->Degree() != 1 || curve->IsPeriodic() || curve->NbPoles() < 3) return curve;
    const int n = curve->NbPoles();
    // A polyline has one knot per pole, the ends doubled.
    if (curve->NbKnots() != n) return curve;
    for (int i = 2; i < n; ++i)
        if (curve->Multiplicity(i) != 1) return curve;
    // Distance from p to the segment from a to b.
    auto off_segment = [](const gp_Pnt& p, const gp_Pnt& a, const gp_Pnt& b) {
        const gp_Vec ab(a, b), ap(a, p);
        const double len2 = ab.SquareMagnitude();
        if (len2 <= 0.0) return ap.Magnitude();
        const double s = std::clamp(ap.Dot(ab) / len2, 0.0, 1.0);
        return ap.Subtracted(ab.Multiplied(s)).Magnitude();
    };
    std::vector<int> kept{1};
    int anchor = 1;
    for (int j = 3; j <= n; ++j) {
        // Can the piece from the anchor run straight on to pole j?
        bool straight = true;
        for (int k = anchor + 1; k < j && straight; ++k)
            straight = off_segment(curve->Pole(k), curve->Pole(anchor), curve->Pole(j)) <= tolerance;
        if (!straight) {
            anchor = j - 1;
            kept.push_back(anchor);
        }
    }
    kept.push_back(n);
    if (static_cast<int>(kept.size()) == n) return curve;
    std::vector<gp_Pnt> points;
    std::vector<double> parameters;
    for (int i : kept) {
        points.push_back(curve->Pole(i));
        parameters.push_back(curve->Knot(i));
    }
    return open_degree_1(points, parameters);
}

}  // namespace host

int HM_CURVE_create_spline_thru_pts(int degree, int periodic, int n_points, const HM_CURVE_thru_point_t* points,
                                    const double* parameters, int save_def_data, tag_t* spline) {
    return host::guarded(__func__, [&]() -> int {
        (void)save_def_data;
        if (!spline) return HM_ERR_NULL_POINTER;
        *spline = 0;
        if (!points && n_points > 0) return HM_ERR_NULL_POINTER;
        if (!host::work_part_data()) return HM_ERR_NO_PART;
        if (degree < 1 || degree > 3 || n_points < 2) return HM_ERR_BAD_ARGUMENT;
        if (periodic && parameters) return HM_ERR_BAD_ARGUMENT;

        constexpr double kSamePoint = 1.0e-9;
        std::vector<gp_Pnt> pts;
        for (int i = 0; i < n_points; ++i) {
            if (!host::finite3(points[i].point)) return HM_ERR_BAD_ARGUMENT;
            pts.push_back(host::point_of(points[i].point));
        }
        std::vector<double> u;
        if (parameters) {
            for (int i = 0; i < n_points; ++i) {
                if (!host::finite_value(parameters[i]) || (i > 0 && !(parameters[i] > parameters[i - 1])))
                    return HM_ERR_BAD_ARGUMENT;
                u.push_back(parameters[i]);
            }
        }
        // A periodic spline closes through its first point: a last point equal to
        // it only repeats it.
        if (periodic && pts.front().Distance(pts.back()) <= kSamePoint) pts.pop_back();
        if (periodic && pts.size() < 3) return HM_ERR_BAD_ARGUMENT;
        for (size_t i = 1; i < pts.size(); ++i)
            if (pts[i - 1].Distance(pts[i]) <= kSamePoint) return HM_ERR_BAD_ARGUMENT;

        Handle(Geom_BSplineCurve) curve = host::interpolate(pts, degree, periodic != 0, parameters ? &u : nullptr);
        if (curve.IsNull()) return HM_ERR_GEOMETRY;
        // The host keeps the defining points of the splines it makes through
        // points, for HM_CURVE_ask_spline_thru_pts.
        host::Object& made = host::store_curve(curve);
        std::vector<std::array<double, 3>> defining;
        for (int i = 0; i < n_points; ++i)
            defining.push_back({points[i].point[0], points[i].point[1], points[i].point[2]});
        made.data = host::SplineThroughPoints{defining};
        *spline = made.tag;
        return 0;
    });
}

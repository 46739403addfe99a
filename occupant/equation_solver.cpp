// One-dimensional equation solver: a bracket search followed by bisection,
// false position (plain or with a growing weighting factor) or Brent's method.
// Pure computation: no host calls, no state, no allocation.
#include "equation_solver.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace carvell::occupant {

namespace {

constexpr double kBracketStep = 0.1;
constexpr int kBracketPasses = 5;
constexpr int kBracketProbes = 10;

bool good(OPT_UTIL_function_t function, void* data, double x, double* f) {
    return function(x, data, f) == 0;
}

int bisection(OPT_UTIL_function_t function, void* data, double lo, double hi, double fhi, double xtol, int n,
              double* root) {
    for (int i = 0; i < n; ++i) {
        double m = (hi + lo) * 0.5;
        double fm = 0.0;
        if (function(m, data, &fm) > 0) return OPT_UTIL_FUNCTION_FAILED;
        if (hi - m <= xtol) {
            *root = m;
            return OPT_UTIL_OK;
        }
        if (fm * fhi > 0.0) {
            hi = m;
            fhi = fm;
        } else {
            lo = m;
        }
    }
    return OPT_UTIL_BISECTION_LIMIT;
}

// False position; with `grow` the value kept at the replaced end is weighted
// by a factor that grows by 1.5 while the replacement makes little progress,
// which keeps one stale end from stalling the search.
int false_position(OPT_UTIL_function_t function, void* data, double lo, double hi, double flo, double fhi,
                   double xtol, double ftol, int n, bool grow, double* root) {
    double x_prev = 2.0 * hi - lo;
    double w = 1.0;
    bool upper_side = false;  // side of the previous replacement
    for (int i = 0; i < n; ++i) {
        double d = fhi - flo;
        if (std::fabs(d) < ftol) {
            *root = std::fabs(fhi) < ftol ? hi : lo;
            return OPT_UTIL_OK;
        }
        double x = hi - (hi - lo) / d * fhi;
        double fx = 0.0;
        if (function(x, data, &fx) > 0) return OPT_UTIL_FUNCTION_FAILED;
        if (fx * fhi <= 0.0) {
            // The root lies between x and hi: x replaces the lower end.
            if (upper_side) w = 1.0;
            upper_side = false;
            lo = x;
            w = (grow && std::fabs(fx) > 0.1 * std::fabs(flo)) ? w * 1.5 : 1.0;
            flo = w * fx;
        } else {
            if (!upper_side) w = 1.0;
            upper_side = true;
            hi = x;
            w = (grow && std::fabs(fx) > 0.1 * std::fabs(fhi)) ? w * 1.5 : 1.0;
            fhi = w * fx;
        }
        if (std::fabs(x - x_prev) <= xtol) {
            *root = x;
            return OPT_UTIL_OK;
        }
        x_prev = x;
    }
    return OPT_UTIL_FALSE_POSITION_LIMIT;
}

int brent(OPT_UTIL_function_t function, void* data, double a, double b, double fa, double fb, double xtol, int n,
          double* root) {
    double c = b, fc = fb;
    double d = b - a, e = d;
    for (int i = 0; i < n; ++i) {
        if (fb * fc > 0.0) {
            c = a;
            fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        double tol1 = 6e-08 * std::fabs(b) + 0.5 * xtol;
        double xm = 0.5 * (c - b);
        if (std::fabs(xm) <= tol1 || fb == 0.0) {
            *root = b;
            return OPT_UTIL_OK;
        }
        if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
            double s = fb / fa;
            double p, q;
            if (std::fabs(a - c) < 1e-10) {
                p = 2.0 * xm * s;
                q = 1.0 - s;
            } else {
                double qq = fa / fc;
                double r = fb / fc;
                p = s * (2.0 * xm * qq * (qq - r) - (b - a) * (r - 1.0));
                q = (qq - 1.0) * (r - 1.0) * (s - 1.0);
            }
            if (p > 0.0) q = -q;
            p = std::fabs(p);
            double min1 = 3.0 * xm * q - std::fabs(tol1 * q);
            double min2 = std::fabs(e * q);
            if (2.0 * p < std::min(min1, min2)) {
                e = d;
                d = p / q;
            } else {
                d = xm;
                e = d;
            }
        } else {
            d = xm;
            e = d;
        }
        a = b;
        fa = fb;
        if (std::fabs(d) > tol1)
            b += d;
        else
            b += xm > 0.0 ? std::fabs(tol1) : -std::fabs(tol1);
        if (function(b, data, &fb) > 0) return OPT_UTIL_FUNCTION_FAILED;
    }
    return OPT_UTIL_BRENT_LIMIT;
}

}  // namespace

int find_solver_bracket(OPT_UTIL_function_t function, void* data, double bracket[2], double values[2]) {
    double a = bracket[0], b = bracket[1];
    bool moved = false;
    bool searching = false;  // phase 1 gave a kept end and a far end
    double g = 0.0, fg = 0.0, o = 0.0, alternative = 0.0;

    // Phase 1: find an end at which the function can be evaluated.
    for (int pass = 0; pass < kBracketPasses && !searching; ++pass) {
        double fa = 0.0, fb = 0.0;
        bool good_a = good(function, data, a, &fa);
        bool good_b = good(function, data, b, &fb);
        if (!good_a && !good_b) {
            a += kBracketStep;
            b -= kBracketStep;
            moved = true;
            continue;
        }
        if (good_a && !good_b) {
            g = a, fg = fa, o = b, alternative = a - kBracketStep;
        } else if (!good_a && good_b) {
            g = b, fg = fb, o = a, alternative = b + kBracketStep;
        } else if (fa * fb <= 0.0) {
            bracket[0] = a, bracket[1] = b;
            values[0] = fa, values[1] = fb;
            return OPT_UTIL_OK;
        } else if (moved) {
            // Same sign after moving inward: search back out beyond b.
            g = a, fg = fa, o = b + kBracketStep, alternative = a - kBracketStep;
        } else {
            // Same sign on the given ends: search beyond the upper end.
            g = b, fg = fb, o = b + kBracketStep, alternative = b + kBracketStep;
        }
        searching = true;
    }
    if (!searching) return OPT_UTIL_NO_SIGN_CHANGE;

    // Phase 2: halve towards the far end until the sign changes.
    bool alternative_used = false;
    for (int probe = 0; probe < kBracketProbes; ++probe) {
        double m = (o + g) / 2.0;
        double fm = 0.0;
        if (!good(function, data, m, &fm)) {
            o = m;
            continue;
        }
        if (fg * fm <= 0.0) {
            if (g <= m) {
                bracket[0] = g, bracket[1] = m;
                values[0] = fg, values[1] = fm;
            } else {
                bracket[0] = m, bracket[1] = g;
                values[0] = fm, values[1] = fg;
            }
            return OPT_UTIL_OK;
        }
        if (std::fabs(fm) > std::fabs(fg)) {
            // Moving away from the root: try the other side once.
            if (moved && !alternative_used) {
                o = alternative;
                alternative_used = true;
                continue;
            }
            return OPT_UTIL_NO_SIGN_CHANGE;
        }
        g = m;
        fg = fm;
    }
    return OPT_UTIL_NO_SIGN_CHANGE;
}

int OPT_UTIL_equation_solver(int method, const double interval[2], double xtol, double ftol, int n,
                             OPT_UTIL_function_t function, void* data, double* root) {
    if (!interval || !root) return OPT_UTIL_BAD_INTERVAL;
    // Written so that NaN ends and tolerances are refused too.
    if (!(interval[0] <= interval[1]) || !(ftol <= xtol) || !(xtol > 0.0)) return OPT_UTIL_BAD_INTERVAL;
    if (!function) return OPT_UTIL_NO_FUNCTION;

    double bracket[2] = {interval[0], interval[1]};
    double values[2] = {0.0, 0.0};
    if (find_solver_bracket(function, data, bracket, values) != OPT_UTIL_OK) return OPT_UTIL_NO_SIGN_CHANGE;

    if (n == 0) {
        // Enough halvings to bring the bracket below xtol, plus two. A
        // bracket already narrower than that still gets one step.
        double steps = std::log((bracket[1] - bracket[0]) / xtol) / std::log(2.0) + 2.0;
        if (!(steps >= 1.0))
            n = 1;
        else if (steps >= static_cast<double>(INT_MAX))
            n = INT_MAX;
        else
            n = static_cast<int>(steps);
    }

    switch (method) {
        case OPT_UTIL_BISECTION:
            return bisection(function, data, bracket[0], bracket[1], values[1], xtol, n, root);
        case OPT_UTIL_FALSE_POSITION:
        case OPT_UTIL_MODIFIED_FALSE_POSITION:
            return false_position(function, data, bracket[0], bracket[1], values[0], values[1], xtol, ftol, n,
                                  method == OPT_UTIL_MODIFIED_FALSE_POSITION, root);
        case OPT_UTIL_BRENT:
            return brent(function, data, bracket[0], bracket[1], values[0], values[1], xtol, n, root);
        default:
            return OPT_UTIL_BAD_METHOD;
    }
}

}  // namespace carvell::occupant

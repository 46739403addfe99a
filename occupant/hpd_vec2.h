// Small plane-vector arithmetic of the occupant sources (side view (L, H) or
// plan view (L, W)). Angles in radians, counter-clockwise positive; the
// tool's degree conversions are in hpd_constants.h.
#ifndef CARVELL_OCCUPANT_HPD_VEC2_H
#define CARVELL_OCCUPANT_HPD_VEC2_H

#include <cmath>

namespace carvell::occupant::vec2 {

struct V {
    double l;
    double h;
};

inline V of(const double* p) { return {p[0], p[1]}; }
inline void put(V v, double* out) {
    out[0] = v.l;
    out[1] = v.h;
}
inline V operator+(V a, V b) { return {a.l + b.l, a.h + b.h}; }
inline V operator-(V a, V b) { return {a.l - b.l, a.h - b.h}; }
inline V operator*(double s, V v) { return {s * v.l, s * v.h}; }
inline double length(V v) { return std::hypot(v.l, v.h); }
inline double distance(V a, V b) { return length(b - a); }
// v turned counter-clockwise by angle radians.
inline V turn(V v, double angle) {
    double c = std::cos(angle), s = std::sin(angle);
    return {v.l * c - v.h * s, v.l * s + v.h * c};
}
// v made unit; a vector shorter than the tolerance stays as it is and false is answered.
inline bool unit(V v, double tolerance, V* out) {
    double n = length(v);
    if (!(n >= tolerance) || n == 0.0) {
        *out = v;
        return false;
    }
    *out = {v.l / n, v.h / n};
    return true;
}

}  // namespace carvell::occupant::vec2

#endif

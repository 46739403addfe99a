// The radial section spline: the outer boundary of one section's point
// cloud, walked from one lower corner to the other with a reach that follows
// the concavity sensitivity, refined where the first spline cuts inside the
// cloud, trimmed at the trim radius from the spindle, offset on request and
// made as a spline in the part; and the coarse-to-fine spline searches it
// uses.
#include "envelope_internal.h"

#include "belmorra.h"
#include "elvosk.h"
#include "omvra.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

namespace carvell::envelope {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMinStep = 4.0;          // shortest outline step, part units
constexpr double kEndReach = 4.0;         // the walk ends this close to the end point
constexpr double kTrimMargin = 5.0;       // kept outline points lie this far above the trim radius
constexpr double kRefineGap = 0.2;        // smallest gap that refinement closes
constexpr double kNearOutline = 0.01;     // a refinement point this close to the outline is not new
constexpr size_t kMaxOutline = 800;

struct P2 {
    double x, y;
};

// Owns the temporary outline spline: deleted on every way out.
class TempSpline {
public:
    ~TempSpline() { reset(); }
    void reset() {
        if (tag_) (void)HM_OBJ_delete_object(tag_);
        tag_ = 0;
    }
    int make(const std::vector<P2>& outline) {
        reset();
        std::vector<double> xyz;
        for (const P2& q : outline) xyz.insert(xyz.end(), {q.x, q.y, 0.0});
        (void)HM_DISP_set_display(0);
        const int result = create_spline_thru_pts(static_cast<int>(outline.size()), xyz.data(), &tag_);
        (void)HM_DISP_set_display(1);
        return result;
    }
    tag_t get() const { return tag_; }

private:
    tag_t tag_ = 0;
};

int find_corner(const std::vector<P2>& pts, double c, bool start) {
    const double c15 = std::cos(15.0 * kPi / 180.0), s15 = std::sin(15.0 * kPi / 180.0);
    int best = -1;
    double best_value = 0.0;
    for (size_t i = 0; i < pts.size(); ++i) {
        const P2& q = pts[i];
        if (start ? !(q.x < c) : !(q.x > c)) continue;
        const double value = start ? c15 * q.y + s15 * q.x : c15 * q.y - s15 * q.x;
        if (best < 0 || value < best_value) {
            best = static_cast<int>(i);
            best_value = value;
        }
    }
    return best < 0 ? 0 : best;
}

// The boundary walk; kFailed after the dialog when the outline overflows.
int walk_outline(const std::vector<P2>& pts, int start, int end, double reach, std::vector<P2>* outline,
                 std::vector<bool>* marks) {
    outline->assign(1, pts[start]);
    marks->clear();
    double dir[2] = {std::cos(135.0 * kPi / 180.0), std::sin(135.0 * kPi / 180.0)};
    bool crossed = false;
    double turns[3] = {0.0, 0.0, 0.0};
    for (;;) {
        const P2 cur = outline->back();
        int winner = -1;
        double best = -180.0;
        for (size_t i = 0; i < pts.size(); ++i) {
            const double dx = pts[i].x - cur.x, dy = pts[i].y - cur.y;
            const double L = std::hypot(dx, dy);
            if (!(L <= reach && (L > kMinStep || static_cast<int>(i) == end))) continue;
            double k = 1.0, s = 0.0;
            if (L > 1e-10) {
                k = (dx * dir[0] + dy * dir[1]) / L;
                if (k <= -0.5) continue;
                s = (dy * dir[0] - dx * dir[1]) / L;
            }
            const double angle = std::atan2(s, k) * 180.0 / kPi;
            if (angle > -120.0 && angle < 89.0 && angle > best) {
                best = angle;
                winner = static_cast<int>(i);
            }
        }
        if (winner < 0) break;
        const P2 next = pts[winner];
        if (next.x > 0.0) crossed = true;
        if (crossed && next.x < 0.0) break;
        outline->push_back(next);
        const double length = std::hypot(next.x - cur.x, next.y - cur.y);
        marks->push_back(length * 4.0 / 3.0 > reach);
        if (outline->size() >= kMaxOutline) {
            warn("Number of Points", {"ERROR: Exceeded max number of pts on radial spline"});
            return kFailed;
        }
        if (length > 0.0) {
            dir[0] = (next.x - cur.x) / length;
            dir[1] = (next.y - cur.y) / length;
        }
        const double to_end = std::hypot(next.x - pts[end].x, next.y - pts[end].y);
        if (to_end <= kEndReach) break;
        if (walk_turn_stop(turns, best, outline->size(), to_end, reach)) {
            outline->push_back(pts[end]);
            marks->push_back(to_end * 4.0 / 3.0 > reach);
            if (outline->size() >= kMaxOutline) {
                warn("Number of Points", {"ERROR: Exceeded max number of pts on radial spline"});
                return kFailed;
            }
            break;
        }
    }
    return 0;
}

// One refinement pass over the marked segments; true when a point went in.
bool refine_outline(tag_t spline, const std::vector<P2>& pts, double reach, std::vector<P2>* outline,
                    std::vector<bool>* marks) {
    double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
    for (const P2& q : pts) {
        lo[0] = std::min(lo[0], q.x), hi[0] = std::max(hi[0], q.x);
        lo[1] = std::min(lo[1], q.y), hi[1] = std::max(hi[1], q.y);
    }
    const double cx = 0.5 * (lo[0] + hi[0]), cy = 0.5 * (lo[1] + hi[1]);
    const double radius = reach / 2.1;
    bool inserted = false;
    for (size_t k = 0; k + 1 < outline->size(); ++k) {
        if (!(*marks)[k]) continue;
        const P2 a = (*outline)[k], b = (*outline)[k + 1];
        const P2 m{0.5 * (a.x + b.x), 0.5 * (a.y + b.y)};
        double best_gap = kRefineGap;
        int chosen = -1;
        for (size_t i = 0; i < pts.size(); ++i) {
            const P2 q = pts[i];
            if (std::hypot(q.x - m.x, q.y - m.y) > radius) continue;
            const double qp[3] = {q.x, q.y, 0.0};
            double t = 0.0, s[3], point[3], tangent[3];
            (void)eval_spline_pt(spline, qp, &t, s);
            if (eval_spline(spline, t, point, tangent) != 0) continue;
            double nu[2] = {-tangent[1], tangent[0]};
            if (nu[0] * (s[0] - cx) + nu[1] * (s[1] - cy) < 0.0) nu[0] = -nu[0], nu[1] = -nu[1];
            const bool outside = (s[0] - q.x) * nu[0] + (s[1] - q.y) * nu[1] < 0.0;
            const double gap = std::hypot(s[0] - q.x, s[1] - q.y);
            if (!outside || gap <= best_gap) continue;
            bool on_outline = false;
            for (const P2& o : *outline)
                if (std::hypot(o.x - q.x, o.y - q.y) <= kNearOutline) on_outline = true;
            if (on_outline) continue;
            chosen = static_cast<int>(i);
            best_gap = gap;
        }
        if (chosen < 0) continue;
        outline->insert(outline->begin() + static_cast<long>(k) + 1, pts[chosen]);
        (*marks)[k] = false;
        marks->insert(marks->begin() + static_cast<long>(k) + 1, true);
        inserted = true;
        ++k;   // the second half keeps its mark but is not visited again in this pass
    }
    return inserted;
}

// Trims the outline at the trim radius; its ends become the spline points
// at t0 and t1.
void trim_outline(tag_t spline, double r, std::vector<P2>* outline, double* t0, double* t1) {
    *t0 = 0.0;
    *t1 = 1.0;
    // An end below the trim radius moves along the spline up to it; a spline
    // that never reaches the trim radius lies wholly below it and keeps nothing.
    if ((outline->front().y < r && find_new_end_pt(spline, t0, 1.0, r) != 0) ||
        (outline->back().y < r && find_new_end_pt(spline, t1, -1.0, r) != 0)) {
        outline->clear();
        return;
    }
    double point[3], tangent[3];
    if (*t0 > 0.0 || *t1 < 1.0) {
        std::vector<P2> kept;
        size_t first = 0;
        if (*t0 > 0.0 && eval_spline(spline, *t0, point, tangent) == 0) {
            kept.push_back({point[0], point[1]});
        } else {
            kept.push_back(outline->front());
            first = 1;
        }
        // Points below the trim radius (plus the margin) go at both ends.
        for (size_t i = first; i < outline->size(); ++i)
            if ((*outline)[i].y > r + kTrimMargin) kept.push_back((*outline)[i]);
        *outline = std::move(kept);
    }
    if (eval_spline(spline, *t1, point, tangent) == 0) {
        const P2 e{point[0], point[1]};
        const P2 last = outline->back();
        if (*t1 < 1.0 || std::hypot(e.x - last.x, e.y - last.y) > kNearOutline) outline->push_back(e);
    }
}

}  // namespace

int eval_spline(tag_t spline, double t, double point[3], double tangent[3]) {
    HM_EVAL_p_t e = nullptr;
    int code = HM_EVAL_initialize(spline, &e);
    if (code != 0) return code;
    double d[3];
    code = HM_EVAL_evaluate(e, 1, std::clamp(t, 0.0, 1.0), point, d);
    if (tangent)
        for (int i = 0; i < 3; ++i) tangent[i] = d[i];
    HM_EVAL_free(e);
    return code;
}

int eval_spline_pt(tag_t spline, const double point[3], double* t, double nearest[3]) {
    HM_EVAL_p_t e = nullptr;
    if (ENVELOPE_CHECK("eval_spline_pt", HM_EVAL_initialize(spline, &e)) != 0) return kFailed;
    double lo = 0.0, hi = 1.0, step = 0.05, best_t = 0.0, best = 1e300;
    double sample[3] = {0, 0, 0};
    int result = kFailed;
    for (;;) {
        hi += 1e-5;
        for (double s = lo; s <= hi; s += step) {
            (void)HM_EVAL_evaluate(e, 0, std::clamp(s, 0.0, 1.0), sample, nullptr);
            const double d = vec3_distance(sample, point);
            if (d < 0.25) {
                *t = std::clamp(s, 0.0, 1.0);
                for (int i = 0; i < 3; ++i) nearest[i] = sample[i];
                HM_EVAL_free(e);
                return 0;
            }
            if (d < best) {
                best = d;
                best_t = s;
            }
        }
        lo = std::max(0.0, best_t - step);
        hi = std::min(1.0, best_t + step);
        step = (hi - lo) / 10.0;
        if (!(step > 4e-5)) break;
    }
    *t = lo;
    for (int i = 0; i < 3; ++i) nearest[i] = sample[i];
    HM_EVAL_free(e);
    return result;
}

int find_new_end_pt(tag_t spline, double* t, double direction, double target) {
    double point[3], tangent[3];
    if (ENVELOPE_CHECK("find_new_end_pt", eval_spline(spline, *t, point, tangent)) != 0) return kFailed;
    if (std::fabs(point[1] - target) <= 0.025) return 0;
    if (point[1] > target) return 0;
    double below = *t, s = *t;
    for (;;) {
        s += direction * 0.064;
        if (s < 0.0 || s > 1.0) return kFailed;
        (void)eval_spline(spline, s, point, tangent);
        if (std::fabs(point[1] - target) <= 0.025) {
            *t = s;
            return 0;
        }
        if (point[1] > target) break;
        below = s;
    }
    double above = s, last = s;
    while (std::fabs(above - below) >= 0.0004) {
        last = 0.5 * (above + below);
        (void)eval_spline(spline, last, point, tangent);
        if (std::fabs(point[1] - target) <= 0.025) break;
        if (point[1] < target)
            below = last;
        else
            above = last;
    }
    *t = last;
    return 0;
}

int develop_radial_spline(tire_envelope_params_s* p, const double A[3], const double B[3],
                          const std::vector<double>& section_points, tag_t* spline) {
    *spline = 0;
    std::vector<P2> pts;
    try {
        pts.reserve(section_points.size() / 3);
    } catch (const std::bad_alloc&) {
        warn("Memory", {"Error allocating memory.  Too many spindle points.",
                        "Incresaing workstation kenel parameters might work."});
        return kOutOfMemory;
    }
    const double lateral[3] = {0, 1, 0};
    for (size_t i = 0; i + 2 < section_points.size(); i += 3) {
        double rel[3];
        vec3_sub(&section_points[i], p->design_point, rel);
        pts.push_back({vec3_dot(rel, lateral), vec3_dot(rel, A)});
    }
    if (pts.empty()) {
        warn("Number of Points", {"ERROR: Not enough points to make a spline"});
        return kFailed;
    }
    const double reach = p->concavity > 0.0 ? p->concavity_base / p->concavity : p->concavity_base;
    const double c = p->centerline_shift * p->side;
    const int start = find_corner(pts, c, true), end = find_corner(pts, c, false);
    std::vector<P2> outline;
    std::vector<bool> marks;
    if (walk_outline(pts, start, end, reach, &outline, &marks) != 0) return kFailed;
    if (outline.size() < 4) {
        warn("Number of Points", {"ERROR: Not enough points to make a spline"});
        return kFailed;
    }
    if (p->side == 1.0) {
        std::reverse(outline.begin(), outline.end());
        std::reverse(marks.begin(), marks.end());
    }
    TempSpline temp;
    if (temp.make(outline) != 0) return kFailed;
    if (refine_outline(temp.get(), pts, reach, &outline, &marks) && temp.make(outline) != 0) return kFailed;
    double t0 = 0.0, t1 = 1.0;
    trim_outline(temp.get(), p->trim_dist, &outline, &t0, &t1);
    if (outline.size() < 4) {
        warn("Number of Points", {"Insufficient pts. for radial section spline.",
                                  "Perhaps the \"Trim Rad from Spindle\" parameter is too large?"});
        return kFailed;
    }
    std::vector<double> xyz;
    for (const P2& q : outline) xyz.insert(xyz.end(), {q.x, q.y, 0.0});
    if (p->offset_from_file &&
        apply_offset(p, temp.get(), t0, t1, static_cast<int>(outline.size()), xyz.data()) != 0)
        return kFailed;
    temp.reset();
    const bool identity = VD_csys_is_identity(p->csys_origin, p->csys_matrix);
    for (size_t i = 0; i < outline.size(); ++i) {
        double* q = &xyz[3 * i];
        double v[3];
        for (int k = 0; k < 3; ++k) v[k] = p->design_point[k] + q[0] * lateral[k] + q[1] * A[k] + q[2] * B[k];
        if (!identity) VD_map_point_csys2abs(v, p->csys_origin, p->csys_matrix, v);
        for (int k = 0; k < 3; ++k) q[k] = v[k];
    }
    return create_spline_thru_pts(static_cast<int>(outline.size()), xyz.data(), spline);
}

}  // namespace carvell::envelope

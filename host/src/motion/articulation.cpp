// Articulation of a mechanism: its driver joints stepped through given
// values, every joint kept closed. Each link's pose is a rotation R and a
// translation t about its centre c (the mean of its joints' origins): a
// design point p goes to R (p - c) + c + t. At each step Newton's method
// solves the joint equations and one equation per driver for small changes
// of the poses (a turn about the link's current centre and a shift),
// taking the minimum-norm change each time, so that a link the joints leave
// free to spin (a strut about its own axis) does not turn.
#include "motion/motion_records.h"

#include "core/model.h"
#include "host_testing.h"
#include "omvra.h"

#include <math_Matrix.hxx>
#include <math_Vector.hxx>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>

using namespace host::motion;

namespace {

using V3 = std::array<double, 3>;
using M3 = std::array<double, 9>;   // rows

constexpr double kPi = 3.14159265358979323846;
constexpr double kTolerance = 1.0e-10;   // residual of a closed step (part units, or unit-vector products)
constexpr int kMaxIterations = 40;
constexpr double kStep = 1.0e-6;         // of the numerical derivatives

V3 add(const V3& a, const V3& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
V3 sub(const V3& a, const V3& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
double dot(const V3& a, const V3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
V3 cross(const V3& a, const V3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
V3 unit(const V3& a) {
    const double n = std::sqrt(dot(a, a));
    return n > 0.0 ? V3{a[0] / n, a[1] / n, a[2] / n} : V3{0, 0, 0};
}
V3 mul(const M3& m, const V3& v) {
    return {m[0] * v[0] + m[1] * v[1] + m[2] * v[2], m[3] * v[0] + m[4] * v[1] + m[5] * v[2],
            m[6] * v[0] + m[7] * v[1] + m[8] * v[2]};
}
M3 mul(const M3& a, const M3& b) {
    M3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r[3 * i + j] = a[3 * i] * b[j] + a[3 * i + 1] * b[3 + j] + a[3 * i + 2] * b[6 + j];
    return r;
}
// The rotation of the rotation vector w (Rodrigues).
M3 rotation(const V3& w) {
    const double angle = std::sqrt(dot(w, w));
    if (angle == 0.0) return {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const V3 k = {w[0] / angle, w[1] / angle, w[2] / angle};
    const double c = std::cos(angle), s = std::sin(angle), v = 1.0 - c;
    return {k[0] * k[0] * v + c,        k[0] * k[1] * v - k[2] * s, k[0] * k[2] * v + k[1] * s,
            k[1] * k[0] * v + k[2] * s, k[1] * k[1] * v + c,        k[1] * k[2] * v - k[0] * s,
            k[2] * k[0] * v - k[1] * s, k[2] * k[1] * v + k[0] * s, k[2] * k[2] * v + c};
}
// Two unit vectors normal to the unit vector z and to each other.
void normals(const V3& z, V3& e1, V3& e2) {
    const V3 helper = std::fabs(z[0]) < 0.6 ? V3{1, 0, 0} : V3{0, 1, 0};
    e1 = unit(cross(helper, z));
    e2 = cross(z, e1);
}

struct Pose {
    M3 r{1, 0, 0, 0, 1, 0, 0, 0, 1};
    V3 t{};
    V3 c{};
    V3 point(const V3& p) const { return add(add(mul(r, sub(p, c)), c), t); }
    V3 vector(const V3& v) const { return mul(r, v); }
    // Turned by w about its current centre and shifted by s.
    Pose moved(const V3& w, const V3& s) const {
        Pose p = *this;
        p.r = mul(rotation(w), r);
        p.t = add(t, s);
        return p;
    }
};

// One joint as the solver sees it: its links (-1 ground), origin and axes.
struct Joint {
    tag_t tag = 0;
    int type = 0;
    int first = -1, second = -1;
    V3 origin{};
    V3 z{}, e1{}, e2{};   // joint axis and two normals (first link's frame)
    V3 pin_a{}, pin_b{};  // universal: pin on the first link, pin on the second
    int rows = 0;         // equations it contributes
    int row = 0;          // its first row
    std::vector<double> design;   // the equations' values at the design position
};

int rows_of(int type) {
    switch (type) {
        case HM_MOTION_REVOLUTE: return 5;
        case HM_MOTION_CYLINDRICAL: return 4;
        case HM_MOTION_SLIDER: return 5;
        case HM_MOTION_FIXED: return 6;
        case HM_MOTION_UNIVERSAL: return 4;
        case HM_MOTION_SPHERICAL: return 3;
        case HM_MOTION_PLANAR: return 3;
        default: return 0;
    }
}

const Pose kGround{};

// The joint's equations at the poses (design values not yet taken off).
void joint_values(const Joint& j, const std::vector<Pose>& poses, double* out) {
    const Pose& a = j.first >= 0 ? poses[j.first] : kGround;
    const Pose& b = j.second >= 0 ? poses[j.second] : kGround;
    const V3 gap = sub(a.point(j.origin), b.point(j.origin));
    const V3 za = a.vector(j.z), e1b = b.vector(j.e1), e2b = b.vector(j.e2), zb = b.vector(j.z);
    switch (j.type) {
        case HM_MOTION_SPHERICAL:
            for (int i = 0; i < 3; ++i) out[i] = gap[i];
            break;
        case HM_MOTION_REVOLUTE:
            for (int i = 0; i < 3; ++i) out[i] = gap[i];
            out[3] = dot(za, e1b);
            out[4] = dot(za, e2b);
            break;
        case HM_MOTION_CYLINDRICAL:
            out[0] = dot(za, e1b);
            out[1] = dot(za, e2b);
            out[2] = dot(gap, e1b);
            out[3] = dot(gap, e2b);
            break;
        case HM_MOTION_SLIDER:
        case HM_MOTION_FIXED: {
            const V3 e1a = a.vector(j.e1);
            out[0] = dot(za, e1b);
            out[1] = dot(za, e2b);
            out[2] = dot(e1a, e2b);
            if (j.type == HM_MOTION_SLIDER) {
                out[3] = dot(gap, e1b);
                out[4] = dot(gap, e2b);
            } else {
                for (int i = 0; i < 3; ++i) out[3 + i] = gap[i];
            }
            break;
        }
        case HM_MOTION_UNIVERSAL:
            for (int i = 0; i < 3; ++i) out[i] = gap[i];
            out[3] = dot(a.vector(j.pin_a), b.vector(j.pin_b));
            break;
        case HM_MOTION_PLANAR:
            out[0] = dot(gap, zb);
            out[1] = dot(za, e1b);
            out[2] = dot(za, e2b);
            break;
    }
}

// The driven coordinate of a joint: shift along Z, or turn about Z in degrees.
double driven_value(const Joint& j, const std::vector<Pose>& poses) {
    const Pose& a = j.first >= 0 ? poses[j.first] : kGround;
    const Pose& b = j.second >= 0 ? poses[j.second] : kGround;
    if (j.type == HM_MOTION_REVOLUTE) {
        const V3 e1a = a.vector(j.e1);
        return std::atan2(dot(e1a, b.vector(j.e2)), dot(e1a, b.vector(j.e1))) * 180.0 / kPi;
    }
    return dot(sub(a.point(j.origin), b.point(j.origin)), b.vector(j.z));
}

struct System {
    std::vector<tag_t> links;
    std::vector<Pose> poses;
    std::vector<Joint> joints;
    std::vector<int> drivers;          // joint indices
    std::vector<double> driver_design; // driven values at the design position
    std::vector<std::vector<int>> joints_of_link;
    std::vector<std::array<int, 2>> row_links;   // per row: its links (-1 none)
    int joint_rows = 0;

    int rows() const { return joint_rows + static_cast<int>(drivers.size()); }

    void joint_residual(int k, const std::vector<Pose>& p, double* out) const {
        const Joint& j = joints[k];
        joint_values(j, p, out);
        for (int i = 0; i < j.rows; ++i) out[i] -= j.design[i];
    }
    void residual(const std::vector<Pose>& p, const std::vector<double>& target, math_Vector& f) const {
        double buffer[6];
        for (size_t k = 0; k < joints.size(); ++k) {
            joint_residual(static_cast<int>(k), p, buffer);
            for (int i = 0; i < joints[k].rows; ++i) f(joints[k].row + i + 1) = buffer[i];
        }
        for (size_t d = 0; d < drivers.size(); ++d)
            f(joint_rows + static_cast<int>(d) + 1) = driven_value(joints[drivers[d]], p) - driver_design[d] - target[d];
    }
};

int build_joint(tag_t tag, const std::map<tag_t, int>& index, Joint& j) {
    const JointData* d = record<JointData>(tag, HM_motion_joint_type);
    if (!d) return HM_ERR_INVALID_TAG;
    j.tag = tag;
    j.type = d->record.type;
    // A joint whose link has been deleted joins nothing that moves.
    for (tag_t link : {d->record.first_link, d->record.second_link})
        if (link && !index.count(link)) return HM_ERR_INVALID_TAG;
    j.first = d->record.first_link ? index.at(d->record.first_link) : -1;
    j.second = d->record.second_link ? index.at(d->record.second_link) : -1;
    double o[3], d1[3], d2[3];
    if (!point_coordinates(d->record.first_origin, o) || !direction_vector(d->record.first_direction, d1))
        return HM_ERR_WRONG_TYPE;
    j.origin = {o[0], o[1], o[2]};
    j.z = unit({d1[0], d1[1], d1[2]});
    normals(j.z, j.e1, j.e2);
    if (j.type == HM_MOTION_UNIVERSAL) {
        // The first frame has X along the first direction; its Z is the pin
        // on the first link. The pin on the second link is the Z of the
        // second frame (X along the second direction, Y along the first
        // frame's Z turned normal to it), or the first frame's Y for ground.
        double frame[9];
        if (HM_MTX3_initialize_x(d1, frame) != 0) return HM_ERR_BAD_ARGUMENT;
        j.pin_a = {frame[6], frame[7], frame[8]};
        j.pin_b = {frame[3], frame[4], frame[5]};
        if (d->record.second_link && direction_vector(d->record.second_direction, d2)) {
            const V3 x2 = unit({d2[0], d2[1], d2[2]});
            const V3 y2 = unit(cross(cross(j.pin_a, x2), x2));
            if (dot(y2, y2) > 0.5) j.pin_b = cross(x2, y2);
        }
    }
    j.rows = rows_of(j.type);
    return j.rows ? 0 : HM_ERR_BAD_ARGUMENT;
}

int build_system(tag_t mechanism, const std::vector<tag_t>& drivers, System& s) {
    int count = 0;
    tag_t* tags = nullptr;
    KMC_get_link_tags_in_mechanism(mechanism, &count, &tags);
    s.links.assign(tags, tags + count);
    SM_free(tags);
    std::map<tag_t, int> index;
    for (int i = 0; i < count; ++i) index[s.links[i]] = i;
    KMC_get_joint_tags_in_mechanism(mechanism, &count, &tags);
    std::vector<tag_t> joint_tags(tags, tags + count);
    SM_free(tags);

    s.poses.assign(s.links.size(), Pose{});
    s.joints_of_link.assign(s.links.size(), {});
    std::vector<int> attached(s.links.size(), 0);
    for (tag_t t : joint_tags) {
        Joint j;
        if (int r = build_joint(t, index, j)) return r;
        j.row = s.joint_rows;
        s.joint_rows += j.rows;
        const int k = static_cast<int>(s.joints.size());
        for (int link : {j.first, j.second})
            if (link >= 0) {
                s.joints_of_link[link].push_back(k);
                s.poses[link].c = add(s.poses[link].c, j.origin);
                ++attached[link];
            }
        s.joints.push_back(j);
    }
    for (size_t i = 0; i < s.links.size(); ++i)
        if (attached[i])
            for (double& x : s.poses[i].c) x /= attached[i];
    for (Joint& j : s.joints) {
        j.design.assign(j.rows, 0.0);
        joint_values(j, s.poses, j.design.data());
    }
    for (tag_t d : drivers) {
        auto it = std::find_if(s.joints.begin(), s.joints.end(), [d](const Joint& j) { return j.tag == d; });
        if (it == s.joints.end()) return HM_ERR_BAD_ARGUMENT;
        if (it->type != HM_MOTION_CYLINDRICAL && it->type != HM_MOTION_SLIDER && it->type != HM_MOTION_REVOLUTE)
            return HM_ERR_BAD_ARGUMENT;
        const int k = static_cast<int>(it - s.joints.begin());
        if (std::find(s.drivers.begin(), s.drivers.end(), k) != s.drivers.end()) return HM_ERR_BAD_ARGUMENT;
        s.drivers.push_back(k);
        s.driver_design.push_back(driven_value(*it, s.poses));
    }
    for (const Joint& j : s.joints)
        for (int r = 0; r < j.rows; ++r) s.row_links.push_back({j.first, j.second});
    for (int k : s.drivers) s.row_links.push_back({s.joints[k].first, s.joints[k].second});
    return 0;
}

double max_abs(const math_Vector& f, int rows) {
    double m = 0.0;
    for (int i = 1; i <= rows; ++i) m = std::max(m, std::fabs(f(i)));
    return m;
}

// The Jacobian of the residual with respect to each link's turn and shift,
// by central differences; only the rows of the link's joints and drivers change.
void jacobian(const System& s, std::vector<Pose>& p, const std::vector<double>& target, math_Matrix& jac) {
    jac.Init(0.0);
    const int n = static_cast<int>(s.links.size());
    double plus[6], minus[6];
    for (int link = 0; link < n; ++link) {
        const Pose base = p[link];
        for (int c = 0; c < 6; ++c) {
            V3 w{}, sh{};
            (c < 3 ? w : sh)[c % 3] = kStep;
            const int column = 6 * link + c + 1;
            for (int k : s.joints_of_link[link]) {
                p[link] = base.moved(w, sh);
                s.joint_residual(k, p, plus);
                p[link] = base.moved({-w[0], -w[1], -w[2]}, {-sh[0], -sh[1], -sh[2]});
                s.joint_residual(k, p, minus);
                for (int i = 0; i < s.joints[k].rows; ++i)
                    jac(s.joints[k].row + i + 1, column) = (plus[i] - minus[i]) / (2.0 * kStep);
            }
            for (size_t d = 0; d < s.drivers.size(); ++d) {
                const Joint& j = s.joints[s.drivers[d]];
                if (j.first != link && j.second != link) continue;
                p[link] = base.moved(w, sh);
                const double up = driven_value(j, p);
                p[link] = base.moved({-w[0], -w[1], -w[2]}, {-sh[0], -sh[1], -sh[2]});
                const double down = driven_value(j, p);
                jac(s.joint_rows + static_cast<int>(d) + 1, column) = (up - down) / (2.0 * kStep);
            }
            p[link] = base;
        }
    }
    (void)target;
}

// What the solver works in, sized once for the mechanism and kept for the
// whole sweep: the Jacobian, the normal matrix and its factor, and the
// vectors of each Newton step.
struct Workspace {
    Workspace(int m, int n) : jac(1, m, 1, n), normal(1, m, 1, m), f(1, m), rhs(1, m), y(1, m), dx(1, n) {}
    math_Matrix jac;
    math_Matrix normal;
    math_Vector f, rhs, y, dx;
};

// Factors the symmetric positive definite matrix in place into L L^T (L in
// the lower triangle and diagonal); false when a pivot is not positive.
bool cholesky(math_Matrix& a) {
    const int m = a.RowNumber();
    for (int j = 1; j <= m; ++j) {
        double d = a(j, j);
        for (int k = 1; k < j; ++k) d -= a(j, k) * a(j, k);
        if (!(d > 0.0)) return false;
        const double l = std::sqrt(d);
        a(j, j) = l;
        for (int i = j + 1; i <= m; ++i) {
            double sum = a(i, j);
            for (int k = 1; k < j; ++k) sum -= a(i, k) * a(j, k);
            a(i, j) = sum / l;
        }
    }
    return true;
}

// Solves L L^T y = b with the factor of cholesky().
void cholesky_solve(const math_Matrix& l, const math_Vector& b, math_Vector& y) {
    const int m = l.RowNumber();
    for (int i = 1; i <= m; ++i) {
        double sum = b(i);
        for (int k = 1; k < i; ++k) sum -= l(i, k) * y(k);
        y(i) = sum / l(i, i);
    }
    for (int i = m; i >= 1; --i) {
        double sum = y(i);
        for (int k = i + 1; k <= m; ++k) sum -= l(k, i) * y(k);
        y(i) = sum / l(i, i);
    }
}

// Solves (J J^T + mu I) y = b and answers J^T y in w.dx: the minimum-norm
// change whose first-order effect on the residual is b (w.rhs). The small
// damping mu keeps redundant equations solvable and the matrix positive
// definite. A row touches only the six columns of each of its (at most
// two) links, so the products skip the rest. False when the solve fails.
bool minimum_norm(const System& s, Workspace& w) {
    const math_Matrix& jac = w.jac;
    math_Matrix& normal = w.normal;
    const int m = jac.RowNumber();
    const auto& links = s.row_links;
    double trace = 0.0;
    for (int i = 1; i <= m; ++i)
        for (int k = i; k <= m; ++k) {
            double sum = 0.0;
            for (int li : links[i - 1]) {
                if (li < 0 || (li != links[k - 1][0] && li != links[k - 1][1])) continue;
                for (int c = 6 * li + 1; c <= 6 * li + 6; ++c) sum += jac(i, c) * jac(k, c);
            }
            normal(i, k) = normal(k, i) = sum;
            if (i == k) trace += sum;
        }
    const double mu = 1.0e-13 * std::max(trace / m, 1.0);
    for (int i = 1; i <= m; ++i) normal(i, i) += mu;
    if (!cholesky(normal)) return false;
    cholesky_solve(normal, w.rhs, w.y);
    w.dx.Init(0.0);
    for (int i = 1; i <= m; ++i)
        for (int li : links[i - 1]) {
            if (li < 0) continue;
            for (int c = 6 * li + 1; c <= 6 * li + 6; ++c) w.dx(c) += jac(i, c) * w.y(i);
        }
    return true;
}

void apply_change(std::vector<Pose>& p, const math_Vector& dx) {
    for (size_t link = 0; link < p.size(); ++link) {
        const int c = 6 * static_cast<int>(link) + 1;
        p[link] = p[link].moved({dx(c), dx(c + 1), dx(c + 2)}, {dx(c + 3), dx(c + 4), dx(c + 5)});
    }
}

// Newton's method from the poses in p, minimum-norm changes; false when it
// does not close.
bool newton(const System& s, std::vector<Pose>& p, const std::vector<double>& target, Workspace& w) {
    const int m = s.rows();
    for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
        s.residual(p, target, w.f);
        if (max_abs(w.f, m) < kTolerance) return true;
        jacobian(s, p, target, w.jac);
        for (int i = 1; i <= m; ++i) w.rhs(i) = -w.f(i);
        if (!minimum_norm(s, w)) return false;
        apply_change(p, w.dx);
    }
    s.residual(p, target, w.f);
    return max_abs(w.f, m) < kTolerance;
}

// The rotation turning the unit vector a onto the unit vector b the
// shortest way.
M3 shortest_turn(const V3& a, const V3& b) {
    const V3 k = cross(a, b);
    const double sine = std::sqrt(dot(k, k)), cosine = dot(a, b);
    if (sine < 1.0e-15) return {1, 0, 0, 0, 1, 0, 0, 0, 1};
    const double angle = std::atan2(sine, cosine);
    return rotation({k[0] / sine * angle, k[1] / sine * angle, k[2] / sine * angle});
}

// A link whose joints all sit on one line may be free to spin about it (a
// strut's lower part between a ball joint and a cylindrical one); nothing
// then decides its spin, and Newton's steps would let it drift along the
// path of the steps. Where turning the link back to the shortest turn of
// that line leaves every joint of the link as closed as it was, the link
// takes that pose: its spin stays that of the design.
void remove_idle_spins(const System& s, std::vector<Pose>& p) {
    double before[6], after[6];
    for (size_t link = 0; link < p.size(); ++link) {
        const std::vector<int>& joints = s.joints_of_link[link];
        if (joints.size() < 2) continue;
        const V3 base = s.joints[joints[0]].origin;
        V3 axis{};
        for (int k : joints) {
            const V3 d = sub(s.joints[k].origin, base);
            if (dot(d, d) > dot(axis, axis)) axis = d;
        }
        if (dot(axis, axis) < 1.0e-12) continue;
        axis = unit(axis);
        bool on_line = true;
        for (int k : joints) {
            const V3 off = cross(sub(s.joints[k].origin, base), axis);
            on_line = on_line && dot(off, off) < 1.0e-16;
        }
        if (!on_line) continue;
        Pose unspun = p[link];
        unspun.r = shortest_turn(axis, p[link].vector(axis));
        std::vector<Pose> trial = p;
        trial[link] = unspun;
        bool idle = true;
        for (int k : joints) {
            s.joint_residual(k, p, before);
            s.joint_residual(k, trial, after);
            for (int i = 0; i < s.joints[k].rows; ++i) idle = idle && std::fabs(after[i] - before[i]) < kTolerance;
        }
        for (size_t d = 0; d < s.drivers.size() && idle; ++d) {
            const Joint& j = s.joints[s.drivers[d]];
            if (j.first == static_cast<int>(link) || j.second == static_cast<int>(link))
                idle = std::fabs(driven_value(j, trial) - driven_value(j, p)) < kTolerance;
        }
        if (idle) p[link] = unspun;
    }
}

// Solves a step from the poses in p; false when it does not close. A
// mechanism without equations or links has nothing to solve (no workspace).
bool solve_step(const System& s, std::vector<Pose>& p, const std::vector<double>& target, Workspace* w) {
    if (!w) return true;
    if (!newton(s, p, target, *w)) return false;
    remove_idle_spins(s, p);
    return true;
}

// Moves the drivers from the values reached to the target in sub-steps of
// at most kLongestSubStep each (part units or degrees), so that a long step
// follows the mechanism's motion instead of jumping to another closed
// configuration (a strut turned end for end). False when a sub-step does
// not close.
bool solve_path(const System& s, std::vector<Pose>& p, std::vector<double>& reached,
                const std::vector<double>& target, Workspace* w) {
    constexpr double kLongestSubStep = 5.0;
    double longest = 0.0;
    for (size_t d = 0; d < target.size(); ++d) longest = std::max(longest, std::fabs(target[d] - reached[d]));
    if (!std::isfinite(longest)) return false;
    const int count = std::max(1, static_cast<int>(std::ceil(longest / kLongestSubStep)));
    std::vector<double> partial(target.size());
    for (int k = 1; k <= count; ++k) {
        for (size_t d = 0; d < target.size(); ++d) partial[d] = reached[d] + (target[d] - reached[d]) * k / count;
        if (!solve_step(s, p, partial, w)) return false;
    }
    reached = target;
    return true;
}

host_testing::Transform transform_of(const Pose& p) {
    // R (x - c) + c + t = R x + (c + t - R c)
    const V3 rc = mul(p.r, p.c);
    const V3 shift = sub(add(p.c, p.t), rc);
    return {p.r[0], p.r[1], p.r[2], shift[0], p.r[3], p.r[4], p.r[5], shift[1], p.r[6], p.r[7], p.r[8], shift[2]};
}

}  // namespace

namespace host_testing {

int articulate(const std::vector<tag_t>& drivers, const std::vector<std::vector<double>>& values,
               Articulation* result) {
    if (!result) return HM_ERR_NULL_POINTER;
    *result = Articulation{};
    const tag_t mechanism = ::host::motion::current_mechanism();
    if (!mechanism) return HM_ERR_NOT_FOUND;
    for (const auto& step : values)
        if (step.size() != drivers.size()) return HM_ERR_BAD_ARGUMENT;
    System s;
    if (int r = build_system(mechanism, drivers, s)) return r;
    result->links = s.links;
    std::vector<Pose> poses = s.poses;
    std::vector<double> reached(drivers.size(), 0.0);
    const int m = s.rows(), n = 6 * static_cast<int>(s.links.size());
    std::unique_ptr<Workspace> workspace;
    if (m > 0 && n > 0) workspace = std::make_unique<Workspace>(m, n);
    for (size_t step = 0; step < values.size(); ++step) {
        if (!solve_path(s, poses, reached, values[step], workspace.get())) {
            result->failed_step = static_cast<int>(step);
            return HM_ERR_GEOMETRY;
        }
        double buffer[6];
        for (size_t k = 0; k < s.joints.size(); ++k) {
            s.joint_residual(static_cast<int>(k), poses, buffer);
            for (int i = 0; i < s.joints[k].rows; ++i)
                result->max_residual = std::max(result->max_residual, std::fabs(buffer[i]));
        }
        std::vector<Transform> transforms;
        for (const Pose& p : poses) transforms.push_back(transform_of(p));
        result->steps.push_back(std::move(transforms));
    }
    return 0;
}

std::array<double, 3> transform_point(const Transform& t, const std::array<double, 3>& p) {
    return {t[0] * p[0] + t[1] * p[1] + t[2] * p[2] + t[3], t[4] * p[0] + t[5] * p[1] + t[6] * p[2] + t[7],
            t[8] * p[0] + t[9] * p[1] + t[10] * p[2] + t[11]};
}

std::array<double, 3> transform_vector(const Transform& t, const std::array<double, 3>& v) {
    return {t[0] * v[0] + t[1] * v[1] + t[2] * v[2], t[4] * v[0] + t[5] * v[1] + t[6] * v[2],
            t[8] * v[0] + t[9] * v[1] + t[10] * v[2]};
}

}  // namespace host_testing

// Suspension kinematics: the five-link rear axle's heave sweep solved by
// the stand-in host's articulation, beside the geometry kernel's own
// nonlinear solver on the same loop-closure equations.
//
//   heave/library/<steps>  host_testing::articulate: both shocks from -85 to
//                          +85 mm in that many steps (each step a few Newton
//                          iterations: numerical Jacobian, a minimum-norm
//                          solve of 86 rows, the idle-spin check);
//   heave/kernel/<steps>   the same mechanism read back from the part (its
//                          links, joints and drivers), the same joint and
//                          driver equations in each link's turn and shift,
//                          and no spin of the four links free to spin about
//                          the line of their joints (a square system of 90,
//                          where the articulation takes minimum-norm steps
//                          and undoes idle spins), solved per step by
//                          math_FunctionSetRoot from the step before (the
//                          design pose first) to the same closure, with the
//                          same central-difference Jacobian.
// Before timing, both sweeps of 10 steps are run once and the joint origins
// they move to are compared; the kernel's is skipped when they differ.
// Baseline: math_FunctionSetRoot on the same joint and driver equations of the same mechanism, once per step from the step before.
#include "../examples/five_link_axle_points.h"
#include "hm_vd_fla_susp.h"
#include "host_testing.h"
#include "omvra.h"
#include "ratio_report.h"
#include "tolvric.h"

#include <gp_Mat.hxx>
#include <gp_Quaternion.hxx>
#include <gp_Vec.hxx>
#include <gp_XYZ.hxx>
#include <math_FunctionSetRoot.hxx>
#include <math_FunctionSetWithDerivatives.hxx>
#include <math_Matrix.hxx>
#include <math_Vector.hxx>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>
#include <vector>

namespace {

// The turn of the rotation vector w (its direction the axis, its length the angle).
gp_Mat rotation(const gp_XYZ& w) {
    const double angle = w.Modulus();
    if (angle == 0.0) return gp_Mat(1, 0, 0, 0, 1, 0, 0, 0, 1);
    gp_Quaternion q;
    q.SetVectorAndAngle(gp_Vec(w), angle);
    return q.GetMatrix();
}

// A link's pose: turned by R about its centre c and shifted by t.
struct Pose {
    gp_Mat r{1, 0, 0, 0, 1, 0, 0, 0, 1};
    gp_XYZ t{0, 0, 0};
    gp_XYZ c{0, 0, 0};
    gp_XYZ point(const gp_XYZ& p) const { return r * (p - c) + c + t; }
    gp_XYZ vector(const gp_XYZ& v) const { return r * v; }
};
const Pose kGround{};

// A joint as read back from the part: its links (-1 ground), origin, axis
// with two normals, the pins of a universal joint, and the values of its
// equations at the design position.
struct Joint {
    tag_t tag = 0;
    int type = 0;
    int first = -1, second = -1;
    gp_XYZ origin, z, e1, e2, pin_a, pin_b;
    int rows = 0;
    std::vector<double> design;
};

int rows_of(int type) {
    switch (type) {
        case HM_MOTION_REVOLUTE: return 5;
        case HM_MOTION_CYLINDRICAL: return 4;
        case HM_MOTION_UNIVERSAL: return 4;
        case HM_MOTION_SPHERICAL: return 3;
        default: return 0;   // the axle has no other kind
    }
}

// The joint's equations at the poses: the origin's gap between the links,
// and the axis or pin products that the joint keeps.
void joint_values(const Joint& j, const std::vector<Pose>& poses, double* out) {
    const Pose& a = j.first >= 0 ? poses[j.first] : kGround;
    const Pose& b = j.second >= 0 ? poses[j.second] : kGround;
    const gp_XYZ gap = a.point(j.origin) - b.point(j.origin);
    const gp_XYZ za = a.vector(j.z), e1b = b.vector(j.e1), e2b = b.vector(j.e2);
    const auto put_gap = [&] { gap.Coord(out[0], out[1], out[2]); };
    switch (j.type) {
        case HM_MOTION_SPHERICAL:
            put_gap();
            break;
        case HM_MOTION_REVOLUTE:
            put_gap();
            out[3] = za * e1b;
            out[4] = za * e2b;
            break;
        case HM_MOTION_CYLINDRICAL:
            out[0] = za * e1b;
            out[1] = za * e2b;
            out[2] = gap * e1b;
            out[3] = gap * e2b;
            break;
        case HM_MOTION_UNIVERSAL:
            put_gap();
            out[3] = a.vector(j.pin_a) * b.vector(j.pin_b);
            break;
    }
}

// A cylindrical driver's shift: the origin's gap along the second link's axis.
double driven_value(const Joint& j, const std::vector<Pose>& poses) {
    const Pose& a = j.first >= 0 ? poses[j.first] : kGround;
    const Pose& b = j.second >= 0 ? poses[j.second] : kGround;
    return (a.point(j.origin) - b.point(j.origin)) * b.vector(j.z);
}

gp_XYZ point_of(tag_t point) {
    double p[3] = {0, 0, 0};
    HM_SO_ask_point_coordinates(point, p);
    return gp_XYZ(p[0], p[1], p[2]);
}
gp_XYZ direction_of(tag_t direction) {
    double origin[3], d[3] = {0, 0, 0};
    HM_SO_ask_dirr_doubles(direction, origin, d);
    return gp_XYZ(d[0], d[1], d[2]);
}

// The work part's current mechanism read back through the host's API: the
// links in creation order with their centres (the mean of their joints'
// origins), the joints, and the drivers' design values.
struct Mechanism {
    std::vector<tag_t> links;
    std::vector<gp_XYZ> centres;
    std::vector<Joint> joints;
    std::vector<int> drivers;   // joint indices
    std::vector<double> driver_design;
    std::vector<std::vector<int>> joints_of_link;
    int joint_rows = 0;
    // Links free to spin about the line of their joints (a rod between two
    // ball joints), with that line's direction: nothing closes their spin.
    std::vector<std::pair<int, gp_XYZ>> spinning;
};

Mechanism read_mechanism(const std::vector<tag_t>& drivers) {
    Mechanism m;
    tag_t mechanism = 0;
    KMC_get_current_mech_tag(&mechanism);
    int count = 0;
    tag_t* tags = nullptr;
    KMC_get_link_tags_in_mechanism(mechanism, &count, &tags);
    m.links.assign(tags, tags + count);
    SM_free(tags);
    std::map<tag_t, int> index;
    for (int i = 0; i < count; ++i) index[m.links[i]] = i;
    KMC_get_joint_tags_in_mechanism(mechanism, &count, &tags);
    const std::vector<tag_t> joint_tags(tags, tags + count);
    SM_free(tags);

    m.centres.assign(m.links.size(), gp_XYZ(0, 0, 0));
    m.joints_of_link.assign(m.links.size(), {});
    std::vector<int> attached(m.links.size(), 0);
    for (tag_t t : joint_tags) {
        HM_MOTION_joint_t record;
        HM_MOTION_init_joint_struct(&record);
        HM_MOTION_ask_joint(t, &record);
        Joint j;
        j.tag = t;
        j.type = record.type;
        j.first = record.first_link ? index.at(record.first_link) : -1;
        j.second = record.second_link ? index.at(record.second_link) : -1;
        j.origin = point_of(record.first_origin);
        const gp_XYZ d1 = direction_of(record.first_direction);
        j.z = d1.Normalized();
        const gp_XYZ helper = std::fabs(j.z.X()) < 0.6 ? gp_XYZ(1, 0, 0) : gp_XYZ(0, 1, 0);
        j.e1 = (helper ^ j.z).Normalized();
        j.e2 = j.z ^ j.e1;
        if (j.type == HM_MOTION_UNIVERSAL) {
            // First pin: the Z of the frame with X along the first
            // direction; second pin: the Z of the second direction's frame
            // (Y along the first pin turned normal to it).
            const double x[3] = {d1.X(), d1.Y(), d1.Z()};
            double frame[9];
            HM_MTX3_initialize_x(x, frame);
            j.pin_a = gp_XYZ(frame[6], frame[7], frame[8]);
            j.pin_b = gp_XYZ(frame[3], frame[4], frame[5]);
            if (record.second_link) {
                const gp_XYZ x2 = direction_of(record.second_direction).Normalized();
                const gp_XYZ normal = (j.pin_a ^ x2) ^ x2;
                if (normal.Modulus() > 1.0e-9) j.pin_b = x2 ^ normal.Normalized();
            }
        }
        j.rows = rows_of(j.type);
        m.joint_rows += j.rows;
        for (int link : {j.first, j.second})
            if (link >= 0) {
                m.joints_of_link[link].push_back(static_cast<int>(m.joints.size()));
                m.centres[link] += j.origin;
                ++attached[link];
            }
        m.joints.push_back(j);
    }
    for (size_t i = 0; i < m.links.size(); ++i)
        if (attached[i])
            m.centres[i] /= attached[i];
    // A link whose joints all lie on one line, with that line's direction.
    for (size_t link = 0; link < m.links.size(); ++link) {
        const std::vector<int>& joints = m.joints_of_link[link];
        if (joints.size() < 2) continue;
        const gp_XYZ base = m.joints[joints[0]].origin;
        gp_XYZ axis(0, 0, 0);
        for (int k : joints)
            if ((m.joints[k].origin - base).SquareModulus() > axis.SquareModulus()) axis = m.joints[k].origin - base;
        if (axis.SquareModulus() < 1.0e-12) continue;
        axis.Normalize();
        const bool on_line = std::all_of(joints.begin(), joints.end(), [&](int k) {
            return ((m.joints[k].origin - base) ^ axis).SquareModulus() < 1.0e-16;
        });
        if (on_line) m.spinning.push_back({static_cast<int>(link), axis});
    }
    std::vector<Pose> design(m.links.size());
    for (size_t i = 0; i < m.links.size(); ++i) design[i].c = m.centres[i];
    for (Joint& j : m.joints) {
        j.design.assign(j.rows, 0.0);
        joint_values(j, design, j.design.data());
    }
    // Of those, the links whose joints a turn about that line leaves as they
    // are: a spin that nothing closes.
    std::vector<std::pair<int, gp_XYZ>> idle;
    for (const auto& [link, axis] : m.spinning) {
        std::vector<Pose> turned = design;
        turned[link].r = rotation(1.0e-3 * axis);
        bool unchanged = true;
        double values[6];
        for (int k : m.joints_of_link[link]) {
            joint_values(m.joints[k], turned, values);
            for (int i = 0; i < m.joints[k].rows; ++i)
                unchanged = unchanged && std::fabs(values[i] - m.joints[k].design[i]) < 1.0e-12;
        }
        if (unchanged) idle.push_back({link, axis});
    }
    m.spinning = idle;
    for (tag_t d : drivers)
        for (size_t k = 0; k < m.joints.size(); ++k)
            if (m.joints[k].tag == d) {
                m.drivers.push_back(static_cast<int>(k));
                m.driver_design.push_back(driven_value(m.joints[k], design));
            }
    return m;
}

// The loop-closure equations in each link's turn (a rotation vector) and
// shift from its design pose: every joint's equations less their design
// values, each driver's shift less its target, and for each link free to
// spin about the line of its joints, no turn about that line (the design
// spin, which the articulation keeps by its minimum-norm steps and idle-spin
// check). With those the system is square, as the kernel's Newton solve
// wants it.
class LoopClosure : public math_FunctionSetWithDerivatives {
public:
    explicit LoopClosure(const Mechanism& m) : m_(m), poses_(m.links.size()) {
        for (size_t i = 0; i < poses_.size(); ++i) poses_[i].c = m.centres[i];
    }
    void set_target(const std::vector<double>& target) { target_ = target; }
    Standard_Integer NbVariables() const override { return 6 * static_cast<int>(m_.links.size()); }
    Standard_Integer NbEquations() const override {
        return m_.joint_rows + static_cast<int>(m_.drivers.size() + m_.spinning.size());
    }
    Standard_Boolean Value(const math_Vector& x, math_Vector& f) override {
        set_poses(x);
        int row = f.Lower();
        double buffer[6];
        for (const Joint& j : m_.joints) {
            joint_values(j, poses_, buffer);
            for (int i = 0; i < j.rows; ++i) f(row++) = buffer[i] - j.design[i];
        }
        for (size_t d = 0; d < m_.drivers.size(); ++d)
            f(row++) = driven_value(m_.joints[m_.drivers[d]], poses_) - m_.driver_design[d] - target_[d];
        for (const auto& [link, axis] : m_.spinning) {
            const int c = x.Lower() + 6 * link;
            f(row++) = gp_XYZ(x(c), x(c + 1), x(c + 2)) * axis;
        }
        return Standard_True;
    }
    // Central differences, as the host's articulation takes them: a link's
    // turn and shift change only its own joints' and drivers' rows.
    Standard_Boolean Derivatives(const math_Vector& x, math_Matrix& d) override {
        constexpr double kStep = 1.0e-6;
        d.Init(0.0);
        set_poses(x);
        std::vector<int> first_row(m_.joints.size());
        for (size_t k = 0, row = d.LowerRow(); k < m_.joints.size(); row += m_.joints[k].rows, ++k)
            first_row[k] = static_cast<int>(row);
        const int driver_row = d.LowerRow() + m_.joint_rows;
        double plus[6], minus[6];
        math_Vector y = x;
        for (size_t link = 0; link < m_.links.size(); ++link) {
            for (int c = 0; c < 6; ++c) {
                const int column = x.Lower() + 6 * static_cast<int>(link) + c;
                const int col = d.LowerCol() + 6 * static_cast<int>(link) + c;
                const double base = x(column);
                const Pose keep = poses_[link];
                y(column) = base + kStep;
                const Pose up = pose_of(y, link);
                y(column) = base - kStep;
                const Pose down = pose_of(y, link);
                y(column) = base;
                for (int k : m_.joints_of_link[link]) {
                    poses_[link] = up;
                    joint_values(m_.joints[k], poses_, plus);
                    poses_[link] = down;
                    joint_values(m_.joints[k], poses_, minus);
                    for (int i = 0; i < m_.joints[k].rows; ++i)
                        d(first_row[k] + i, col) = (plus[i] - minus[i]) / (2.0 * kStep);
                }
                for (size_t dr = 0; dr < m_.drivers.size(); ++dr) {
                    const Joint& j = m_.joints[m_.drivers[dr]];
                    if (j.first != static_cast<int>(link) && j.second != static_cast<int>(link)) continue;
                    poses_[link] = up;
                    const double hi = driven_value(j, poses_);
                    poses_[link] = down;
                    const double lo = driven_value(j, poses_);
                    d(driver_row + static_cast<int>(dr), col) = (hi - lo) / (2.0 * kStep);
                }
                poses_[link] = keep;
            }
        }
        int row = driver_row + static_cast<int>(m_.drivers.size());
        for (const auto& [link, axis] : m_.spinning) {
            for (int i = 0; i < 3; ++i) d(row, d.LowerCol() + 6 * link + i) = axis.Coord(i + 1);
            ++row;
        }
        return Standard_True;
    }
    Standard_Boolean Values(const math_Vector& x, math_Vector& f, math_Matrix& d) override {
        return Value(x, f) && Derivatives(x, d);
    }
    // Where the design point p of a link goes at x.
    gp_XYZ moved(const math_Vector& x, size_t link, const gp_XYZ& p) const { return pose_of(x, link).point(p); }

private:
    Pose pose_of(const math_Vector& x, size_t link) const {
        const int c = x.Lower() + 6 * static_cast<int>(link);
        Pose p;
        p.c = m_.centres[link];
        p.r = rotation(gp_XYZ(x(c), x(c + 1), x(c + 2)));
        p.t = gp_XYZ(x(c + 3), x(c + 4), x(c + 5));
        return p;
    }
    void set_poses(const math_Vector& x) {
        for (size_t link = 0; link < poses_.size(); ++link) poses_[link] = pose_of(x, link);
    }
    const Mechanism& m_;
    std::vector<Pose> poses_;
    std::vector<double> target_;
};

sFiveLinkAxle_Suspension build_axle() {
    host_testing::reset();
    host_testing::make_part("bench_axle", false);
    sFiveLinkAxle_Suspension s;
    HM_VD_FLA_SUSP_initial(&s);
    five_link_axle::fill_points(s);
    HM_initialize();
    HM_VD_FLA_SUSP_build_structure(&s);
    HM_VD_FLA_SUSP_build_motion(&s);
    HM_terminate();
    return s;
}

std::vector<std::vector<double>> heave(int steps) {
    std::vector<std::vector<double>> values;
    for (int i = 0; i < steps; ++i) {
        const double stroke = -85.0 + 170.0 * i / std::max(1, steps - 1);
        values.push_back({stroke, stroke});
    }
    return values;
}

constexpr double kClosed = 1.0e-10;   // largest residual of a closed step, as the articulation's

double largest(const math_Vector& v) {
    double m = 0.0;
    for (int i = v.Lower(); i <= v.Upper(); ++i) m = std::max(m, std::fabs(v(i)));
    return m;
}

// The kernel's solver, stopping where the articulation stops: when every
// equation holds to kClosed (its own test looks at the last change only).
class ClosedRoot : public math_FunctionSetRoot {
public:
    ClosedRoot(math_FunctionSetWithDerivatives& f, const math_Vector& tolerance, int iterations)
        : math_FunctionSetRoot(f, tolerance, iterations), residual_(1, f.NbEquations()) {}
    Standard_Boolean IsSolutionReached(math_FunctionSetWithDerivatives& f) override {
        f.Value(Sol, residual_);
        return largest(residual_) < kClosed;
    }

private:
    math_Vector residual_;
};

// The kernel's sweep: per step, math_FunctionSetRoot from the step before.
// Answers the variables of each step (empty when a step does not close).
std::vector<math_Vector> kernel_sweep(const Mechanism& m, const std::vector<std::vector<double>>& values) {
    LoopClosure f(m);
    const int n = f.NbVariables();
    math_Vector x(1, n, 0.0);
    const math_Vector tolerance(1, n, 1.0e-12);
    math_Vector residual(1, f.NbEquations());
    std::vector<math_Vector> steps;
    for (const auto& target : values) {
        f.set_target(target);
        ClosedRoot root(f, tolerance, 40);
        root.Perform(f, x);
        if (!root.IsDone()) return {};
        x = root.Root();
        f.Value(x, residual);
        if (largest(residual) >= kClosed) return {};
        steps.push_back(x);
    }
    return steps;
}

// The largest distance between where the library's sweep and the kernel's
// take the joint origins (on each joint's first link), over all steps; -1
// when a sweep did not close.
double sweep_difference(const sFiveLinkAxle_Suspension& s, const Mechanism& m) {
    const auto values = heave(10);
    host_testing::Articulation a;
    if (host_testing::articulate({s.joints[FLA_L_SHOCK], s.joints[FLA_R_SHOCK]}, values, &a) != 0) return -1.0;
    const std::vector<math_Vector> kernel = kernel_sweep(m, values);
    if (kernel.size() != values.size()) return -1.0;
    LoopClosure f(m);
    double worst = 0.0;
    for (size_t step = 0; step < values.size(); ++step)
        for (const Joint& j : m.joints) {
            const int link = j.first >= 0 ? j.first : j.second;
            if (link < 0) continue;
            const auto library = host_testing::transform_point(a.steps[step][link], {j.origin.X(), j.origin.Y(), j.origin.Z()});
            const gp_XYZ d = gp_XYZ(library[0], library[1], library[2]) - f.moved(kernel[step], link, j.origin);
            worst = std::max(worst, d.Modulus());
        }
    return worst;
}

sFiveLinkAxle_Suspension g_axle;
Mechanism g_mechanism;
bool g_same = false;

void run_library(benchmark::State& state) {
    const auto values = heave(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        host_testing::Articulation a;
        if (host_testing::articulate({g_axle.joints[FLA_L_SHOCK], g_axle.joints[FLA_R_SHOCK]}, values, &a) != 0)
            state.SkipWithError("the sweep did not close");
        benchmark::DoNotOptimize(a.max_residual);
    }
}

void run_kernel(benchmark::State& state) {
    if (!g_same) {
        state.SkipWithError("the kernel's sweep does not reach the library's joint positions");
        return;
    }
    const auto values = heave(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const std::vector<math_Vector> steps = kernel_sweep(g_mechanism, values);
        if (steps.size() != values.size()) state.SkipWithError("the sweep did not close");
        benchmark::DoNotOptimize(steps.data());
    }
}

}  // namespace

int main(int argc, char** argv) {
    g_axle = build_axle();
    g_mechanism = read_mechanism({g_axle.joints[FLA_L_SHOCK], g_axle.joints[FLA_R_SHOCK]});
    const double difference = sweep_difference(g_axle, g_mechanism);
    g_same = difference >= 0.0 && difference < 1.0e-6;
    std::printf("joint origins of the two sweeps of 10 steps %s (largest distance %.3g mm)\n",
                g_same ? "agree" : "differ", difference);
    benchmark::RegisterBenchmark("heave/library", run_library)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("heave/kernel", run_kernel)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
    return carvell_bench::run_with_ratios(argc, argv,
                                          {{"heave library/kernel, 10 steps", "heave/library/10", "heave/kernel/10"},
                                           {"heave library/kernel, 100 steps", "heave/library/100", "heave/kernel/100"},
                                           {"heave library/kernel, 1000 steps", "heave/library/1000", "heave/kernel/1000"}});
}

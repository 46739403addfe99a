// Kinematics of a passenger car's front suspension: a short-long-arm
// (double wishbone) corner of a mid-size car, left side, built from its
// hard points with the suspension family's named builders and motion
// functions, then moved by its shock through +-80 mm of wheel travel.
//
// Hard points (mm; x rearward, y outboard to the left, z up from the
// ground): wheel centre (0, 760, 310) on a 225/55 R17 tire (loaded radius
// 310); lower arm pivots (-200, 380, 180) and (150, 380, 190) with its ball
// joint at (0, 720, 150); upper arm pivots (-120, 400, 520) and (140, 400,
// 530) with its ball joint at (10, 680, 540); tie rod from the rack end
// (130, 396, 286) to the steering arm (130, 700, 270), behind the wheel
// centre (rear steer), its inner end placed for little bump steer; shock from the lower arm (0, 600, 200) up to the
// tower (10, 560, 650).
//
// The example prints, per shock stroke, the wheel travel, the wheel
// centre's lateral scrub, the toe and the camber (from the wheel's spin
// axis a, outboard: toe asin(-a_x), camber asin(-a_z), degrees; toe-in and
// camber with the wheel's top outboard positive), then the camber gain and
// the bump steer at the design position. A short upper arm makes the
// camber go negative in jounce: short-long-arm front suspensions are
// usually laid out for about -1 to -2.5 degrees per 100 mm of jounce near
// the design; a tie rod laid out with the
// arms keeps bump steer within a few tenths of a degree per 100 mm. The
// suspension's lines and the wheel-centre path go into a STEP file.
//
// Usage: example_suspension_kinematics [output-folder]   (default: suspension-output)
#include "hm_vd_motion.h"
#include "host_testing.h"
#include "omvra.h"

#include <sys/stat.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using P3 = std::array<double, 3>;
constexpr double kPi = 3.14159265358979323846;
constexpr double kDeg = 180.0 / kPi;
constexpr double kTravel = 80.0;   // mm each way

const P3 kWheel{0, 760, 310};
const P3 kLowerFront{-200, 380, 180}, kLowerRear{150, 380, 190}, kLowerBall{0, 720, 150};
const P3 kUpperFront{-120, 400, 520}, kUpperRear{140, 400, 530}, kUpperBall{10, 680, 540};
const P3 kRackEnd{130, 396, 286}, kSteeringArm{130, 700, 270};
const P3 kShockLower{0, 600, 200}, kShockUpper{10, 560, 650};

P3 between(const P3& a, const P3& b) { return {(a[0] + b[0]) / 2, (a[1] + b[1]) / 2, (a[2] + b[2]) / 2}; }
P3 from_to(const P3& a, const P3& b) { return {b[0] - a[0], b[1] - a[1], b[2] - a[2]}; }
P3 minus(const P3& v) { return {-v[0], -v[1], -v[2]}; }

tag_t line(const char* name, P3 a, P3 b) {
    HM_VD_build_line(name, a.data(), b.data());
    return HM_OBJ_cycle_by_name_and_type(HM_ASSEM_ask_work_part(), name, HM_line_type, 0);
}

tag_t link(const char* name, std::vector<tag_t> lines) {
    tag_t made = 0;
    if (HM_VD_build_link(name, lines.data(), static_cast<int>(lines.size()), &made) != 0)
        std::printf("link %s not made\n", name);
    return made;
}

tag_t joint(const char* name, int code, tag_t first, tag_t second, P3 d1, P3 d2, P3 origin) {
    tag_t made = 0;
    const int status = HM_VD_MOTION_create_joint(name, code, first, second, 0.0, d1.data(), d2.data(), origin.data(), &made);
    if (status != 0) std::printf("joint %s refused: %d\n", name, status);
    return made;
}

// Library joint codes: 3 revolute, 5 cylindrical, 12 universal, 13 spherical.
struct Corner {
    tag_t knuckle = 0;
    tag_t shock = 0;
};

Corner build_corner() {
    tag_t mechanism = 0;
    HM_VD_build_mechanism("FRONT_SLA_MECH", &mechanism);
    const P3 spindle_end{kWheel[0], kWheel[1] - 80, kWheel[2]};
    const P3 shock_mid = between(kShockLower, kShockUpper);
    tag_t lower = link("lower_arm", {line("LCA_FRONT", kLowerFront, kLowerBall), line("LCA_REAR", kLowerRear, kLowerBall)});
    tag_t upper = link("upper_arm", {line("UCA_FRONT", kUpperFront, kUpperBall), line("UCA_REAR", kUpperRear, kUpperBall)});
    tag_t knuckle = link("knuckle", {line("KINGPIN", kLowerBall, kUpperBall), line("SPINDLE", spindle_end, kWheel),
                                     line("STEERING_ARM", spindle_end, kSteeringArm)});
    tag_t rod = link("tie_rod", {line("TIE_ROD", kRackEnd, kSteeringArm)});
    tag_t shock_low = link("shock_lower", {line("SHOCK_LOWER", kShockLower, shock_mid)});
    tag_t shock_up = link("shock_upper", {line("SHOCK_UPPER", shock_mid, kShockUpper)});
    joint("lower_pivot", 3, lower, 0, from_to(kLowerFront, kLowerRear), from_to(kLowerFront, kLowerRear), kLowerFront);
    joint("upper_pivot", 3, upper, 0, from_to(kUpperFront, kUpperRear), from_to(kUpperFront, kUpperRear), kUpperFront);
    joint("lower_ball", 13, knuckle, lower, {0, 0, 1}, {0, 0, 1}, kLowerBall);
    joint("upper_ball", 13, knuckle, upper, {0, 0, 1}, {0, 0, 1}, kUpperBall);
    joint("tie_rod_outer", 13, rod, knuckle, {0, 0, 1}, {0, 0, 1}, kSteeringArm);
    const P3 rod_dir = from_to(kRackEnd, kSteeringArm);
    joint("tie_rod_inner", 12, rod, 0, rod_dir, minus(rod_dir), kRackEnd);
    joint("shock_lower", 13, shock_low, lower, {0, 0, 1}, {0, 0, 1}, kShockLower);
    const P3 shock_down = from_to(kShockUpper, kShockLower);
    joint("shock_upper", 12, shock_up, 0, shock_down, minus(shock_down), kShockUpper);
    Corner c;
    c.knuckle = knuckle;
    c.shock = joint("SHOCK", 5, shock_low, shock_up, from_to(kShockLower, kShockUpper),
                    from_to(kShockLower, kShockUpper), shock_mid);
    return c;
}

struct State {
    double stroke, travel, scrub, toe, camber;
    P3 wheel;
};

bool sweep(const Corner& c, const std::vector<double>& strokes, std::vector<State>& states, double* residual) {
    std::vector<std::vector<double>> values;
    for (double s : strokes) values.push_back({s});
    host_testing::Articulation a;
    if (host_testing::articulate({c.shock}, values, &a) != 0) return false;
    size_t k = 0;
    while (a.links[k] != c.knuckle) ++k;
    states.clear();
    for (size_t i = 0; i < strokes.size(); ++i) {
        const auto& t = a.steps[i][k];
        const P3 w = host_testing::transform_point(t, kWheel);
        const P3 axis = host_testing::transform_vector(t, {0, 1, 0});
        states.push_back({strokes[i], w[2] - kWheel[2], w[1] - kWheel[1], std::asin(-axis[0]) * kDeg,
                          std::asin(-axis[2]) * kDeg, w});
    }
    if (residual) *residual = a.max_residual;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : "suspension-output";
    ::mkdir(folder.c_str(), 0755);
    host_testing::make_part("front_sla_corner", false);
    HM_initialize();
    const Corner corner = build_corner();

    // The shock's motion ratio near the design sets the stroke for +-80 mm of travel.
    std::vector<State> probe;
    if (!sweep(corner, {-5.0, 5.0}, probe, nullptr)) {
        std::printf("the corner does not move\n");
        return 1;
    }
    const double ratio = (probe[1].travel - probe[0].travel) / 10.0;   // wheel travel per mm of stroke
    const double reach = 1.1 * kTravel / ratio;
    std::vector<double> strokes;
    constexpr int kSteps = 40;
    for (int i = 0; i <= kSteps; ++i) strokes.push_back(-reach + 2.0 * reach * i / kSteps);
    std::vector<State> states;
    double residual = 0.0;
    if (!sweep(corner, strokes, states, &residual)) {
        std::printf("the sweep did not close\n");
        return 1;
    }

    std::printf("Front short-long-arm corner, left side: shock motion ratio %.3f (wheel mm per shock mm)\n", ratio);
    std::printf("%10s %10s %10s %10s %10s\n", "stroke", "travel", "scrub", "toe", "camber");
    std::printf("%10s %10s %10s %10s %10s\n", "mm", "mm", "mm", "deg", "deg");
    for (const State& s : states)
        if (std::fabs(s.travel) <= kTravel + 1e-9 || &s == &states.front() || &s == &states.back())
            std::printf("%10.2f %10.2f %10.2f %10.3f %10.3f\n", s.stroke, s.travel, s.scrub, s.toe, s.camber);

    // Gains at the design: central differences over +-5 mm of travel.
    std::vector<State> near;
    sweep(corner, {-5.0 / ratio, 5.0 / ratio}, near, nullptr);
    const double dt = near[1].travel - near[0].travel;
    std::printf("\nAt the design position:\n");
    std::printf("  camber gain %.2f deg per 100 mm of jounce (usual: -1 to -2.5)\n",
                100.0 * (near[1].camber - near[0].camber) / dt);
    std::printf("  bump steer  %.2f deg per 100 mm of jounce (toe-in positive; usual: within +-0.5)\n",
                100.0 * (near[1].toe - near[0].toe) / dt);
    std::printf("  largest joint residual over the sweep %.1e mm\n", residual);

    // The wheel-centre path as lines, beside the suspension's lines.
    for (size_t i = 1; i < states.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "WHEEL_PATH_%02zu", i);
        line(name, states[i - 1].wheel, states[i].wheel);
    }
    HM_terminate();
    const std::string step = folder + "/front_sla_kinematics.stp";
    const int written = host_testing::write_step(step.c_str());
    std::printf("\n%d objects written to %s\n", written, step.c_str());
    return written > 0 ? 0 : 1;
}

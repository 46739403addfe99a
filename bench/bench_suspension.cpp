// Suspension kinematics: the five-link rear axle's heave sweep solved by
// the stand-in host's articulation, beside as many bare dense solves
// (math_Gauss) of the size of its Newton systems.
//
//   fla_heave/<steps>   host_testing::articulate: both shocks from -85 to
//                       +85 mm in that many steps (each step a few Newton
//                       iterations: numerical Jacobian, a normal-equation
//                       solve of 86 rows, the idle-spin check);
//   gauss/<steps>       math_Gauss on an 86 x 86 well-conditioned matrix,
//                       as many times as the sweep has steps (the baseline).
// Baseline: math_Gauss on a dense matrix of the Newton system's size, once per step.
#include "../examples/five_link_axle_points.h"
#include "hm_vd_fla_susp.h"
#include "host_testing.h"
#include "omvra.h"
#include "ratio_report.h"

#include <math_Gauss.hxx>
#include <math_Matrix.hxx>
#include <math_Vector.hxx>

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

// Rows of the axle's system: 9 universal joints (4), 9 ball joints (3), one
// revolute (5), four cylindrical (4) and the two shock drivers.
constexpr int kRows = 9 * 4 + 9 * 3 + 5 + 4 * 4 + 2;

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

void run_heave(benchmark::State& state) {
    const int steps = static_cast<int>(state.range(0));
    const sFiveLinkAxle_Suspension s = build_axle();
    std::vector<std::vector<double>> values;
    for (int i = 0; i < steps; ++i) {
        const double stroke = -85.0 + 170.0 * i / std::max(1, steps - 1);
        values.push_back({stroke, stroke});
    }
    for (auto _ : state) {
        host_testing::Articulation a;
        if (host_testing::articulate({s.joints[FLA_L_SHOCK], s.joints[FLA_R_SHOCK]}, values, &a) != 0)
            state.SkipWithError("the sweep did not close");
        benchmark::DoNotOptimize(a.max_residual);
    }
}

void run_gauss(benchmark::State& state) {
    const int steps = static_cast<int>(state.range(0));
    math_Matrix m(1, kRows, 1, kRows);
    for (int i = 1; i <= kRows; ++i)
        for (int j = 1; j <= kRows; ++j) m(i, j) = (i == j ? kRows : 0.0) + std::sin(i * 0.7 + j * 1.3);
    math_Vector b(1, kRows, 1.0), x(1, kRows);
    for (auto _ : state) {
        for (int k = 0; k < steps; ++k) {
            math_Gauss gauss(m);
            gauss.Solve(b, x);
            benchmark::DoNotOptimize(x(1));
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("fla_heave", run_heave)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("gauss", run_gauss)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
    return carvell_bench::run_with_ratios(argc, argv,
                                          {{"heave/gauss, 10 steps", "fla_heave/10", "gauss/10"},
                                           {"heave/gauss, 100 steps", "fla_heave/100", "gauss/100"},
                                           {"heave/gauss, 1000 steps", "fla_heave/1000", "gauss/1000"}});
}

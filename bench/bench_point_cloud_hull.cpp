// The point-cloud envelope's heavy work at 1,000, 10,000 and 100,000 points,
// on a sphere (every point a hull vertex: the worst case for the solid) and
// in a ball (few hull vertices: the usual sampled cloud), beside Qhull
// called directly on the same points.
//
//   point_cloud/qhull/<shape>/<n>     qh_new_qhull with triangulated output
//                                     and the reading of its facets skipped
//                                     (the baseline);
//   point_cloud/chull/<shape>/<n>     the host's CHULL_convex_hull and
//                                     CHULL_free_hull over Qhull;
//   point_cloud/solid/<shape>/<n>     VD_EVE_create_bv_body_from_points of a
//                                     point file (read, hull, kernel solid);
//   point_cloud/envelope/<shape>/<n>  gen_convex_envelope of the points at
//                                     three engine-roll positions.
// Baseline: qh_new_qhull on the same points, triangulated.
#include "host_testing.h"
#include "istrane.h"
#include "jorvale.h"
#include "omvra.h"
#include "point_cloud_envelope.h"
#include "ratio_report.h"
#include "vd_eve.h"

extern "C" {
#include <libqhull_r/qhull_ra.h>
}

#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace carvell_bench;

const std::string kTmp = "/tmp/bench_point_cloud_hull";

// Points in metres about the origin, radius 0.3 m.
std::vector<double> cloud(bool sphere, int n) {
    std::mt19937 random(20260);
    std::normal_distribution<double> normal;
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::vector<double> p;
    for (int i = 0; i < n; ++i) {
        double v[3] = {normal(random), normal(random), normal(random)};
        const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        const double r = 0.3 * (sphere ? 1.0 : std::cbrt(uniform(random)));
        for (double x : v) p.push_back(r * x / length);
    }
    return p;
}

bool is_sphere(const benchmark::State& state) { return state.range(1) == 1; }

void fresh_host() {
    host_testing::reset();
    host_testing::make_part("bench_part");
    host_testing::set_env("KWII_TMP_DIR", kTmp.c_str());
}

void BM_Qhull(benchmark::State& state) {
    std::vector<double> p = cloud(is_sphere(state), static_cast<int>(state.range(0)));
    static std::FILE* quiet = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        qhT storage;
        qhT* qh = &storage;
        qh_zero(qh, quiet);
        char options[] = "qhull Qt";
        const int code = qh_new_qhull(qh, 3, static_cast<int>(p.size() / 3), p.data(), False, options, nullptr, quiet);
        if (code != 0) state.SkipWithError("qhull failed");
        benchmark::DoNotOptimize(qh->num_facets);
        qh_freeqhull(qh, !qh_ALL);
        int left = 0, total = 0;
        qh_memfreeshort(qh, &left, &total);
    }
}

void BM_Chull(benchmark::State& state) {
    std::vector<double> p = cloud(is_sphere(state), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CHULL_input_t input{};
        input.option = 2;
        input.count = static_cast<int>(p.size() / 3);
        input.points = reinterpret_cast<double(*)[3]>(p.data());
        CHULL_output_t output{};
        if (CHULL_convex_hull(&input, &output) != 0) state.SkipWithError("hull failed");
        benchmark::DoNotOptimize(output.n_facets);
        CHULL_free_hull(&input, &output);
    }
}

void BM_Solid(benchmark::State& state) {
    fresh_host();
    const std::vector<double> p = cloud(is_sphere(state), static_cast<int>(state.range(0)));
    const std::string file = kTmp + "/points.dat";
    std::FILE* out = std::fopen(file.c_str(), "w");
    for (size_t i = 0; i < p.size(); i += 3) std::fprintf(out, "%f %f %f\n", p[i], p[i + 1], p[i + 2]);
    std::fclose(out);
    for (auto _ : state) {
        tag_t body = 0;
        if (VD_EVE_create_bv_body_from_points(file.c_str(), static_cast<int>(p.size() / 3), &body) != 0)
            state.SkipWithError("no solid");
        state.PauseTiming();
        HM_OBJ_delete_object(body);
        state.ResumeTiming();
    }
}

void BM_Envelope(benchmark::State& state) {
    fresh_host();
    // Millimetres, as the part holds them.
    std::vector<double> p = cloud(is_sphere(state), static_cast<int>(state.range(0)));
    std::vector<host_testing::ArgValue> points;
    for (size_t i = 0; i < p.size(); i += 3)
        points.push_back(host_testing::ArgValue::point(1000 * p[i], 1000 * p[i + 1], 1000 * p[i + 2]));
    const double origin[3] = {0, 0, 0}, x[3] = {1, 0, 0};
    std::vector<host_testing::ArgValue> frames;
    for (double roll : {-6.0, 0.0, 6.0}) {
        const double a = roll * M_PI / 180.0;
        const double y[3] = {0, std::cos(a), std::sin(a)};
        frames.push_back(host_testing::ArgValue::frame(origin, x, y));
    }
    for (auto _ : state) {
        state.PauseTiming();
        KBL_arg_slot_t slots[8] = {};
        slots[3].value = host_testing::make_value(host_testing::ArgValue::frame(origin, x, std::array<double, 3>{0, 1, 0}.data()));
        slots[4].list = host_testing::make_value_list(frames);
        slots[6].list = host_testing::make_value_list({});
        x_DList list = host_testing::make_value_list(points);
        state.ResumeTiming();
        if (gen_convex_envelope(slots, static_cast<int>(points.size()), list) != 0) state.SkipWithError("no envelope");
        state.PauseTiming();
        HM_OBJ_delete_object(slots[0].tag);
        host_testing::drop_value_lists();
        state.ResumeTiming();
    }
}

void sizes(benchmark::internal::Benchmark* b) {
    for (int shape : {1, 0})
        for (int n : {1000, 10000, 100000}) b->Args({n, shape});
    b->ArgNames({"n", "sphere"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Qhull)->Name("point_cloud/qhull")->Apply(sizes);
BENCHMARK(BM_Chull)->Name("point_cloud/chull")->Apply(sizes);
BENCHMARK(BM_Solid)->Name("point_cloud/solid")->Apply(sizes)->Iterations(1);
BENCHMARK(BM_Envelope)->Name("point_cloud/envelope")->Apply(sizes)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    ::mkdir(kTmp.c_str(), 0755);
    std::vector<Ratio> ratios;
    for (const char* shape : {"1", "0"})
        for (const char* n : {"1000", "10000", "100000"}) {
            const std::string args = std::string("/n:") + n + "/sphere:" + shape;
            ratios.push_back({std::string("chull/qhull n=") + n + (shape[0] == '1' ? " sphere" : " ball"),
                              "point_cloud/chull" + args, "point_cloud/qhull" + args});
        }
    return run_with_ratios(argc, argv, ratios);
}

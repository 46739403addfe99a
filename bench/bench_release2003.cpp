// The 2003 release's point-cloud envelope offsets at 1,000, 10,000 and
// 100,000 points on a sphere of 0.3 m (every point a hull vertex), read from
// the rule function's list as that release reads them, beside Qhull called
// directly on the same points.
//
//   release2003/qhull/<n>     qh_new_qhull, triangulated, the facets not read
//                             (the baseline);
//   release2003/extend1/<n>   offset_envelope_points extending by one pair:
//                             the hull of the points and their sweep;
//   release2003/extend3/<n>   the same with three pairs: three hulls, each of
//                             the last hull's facet vertices and a sweep;
//   release2003/enlarge/<n>   offset_envelope_points enlarging 8 positions of
//                             n/8 points each: a hull per position and the
//                             corner rule at every hull vertex.
// Baseline: qh_new_qhull on the same points, triangulated.
#include "host_testing.h"
#include "istrane.h"
#include "omvra.h"
#include "r2003_envelope.h"
#include "ratio_report.h"

extern "C" {
#include <libqhull_r/qhull_ra.h>
}

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace carvell_bench;
using host_testing::ArgValue;

std::vector<double> sphere(int n) {
    std::mt19937 random(20030);
    std::normal_distribution<double> normal;
    std::vector<double> p;
    for (int i = 0; i < n; ++i) {
        const double v[3] = {normal(random), normal(random), normal(random)};
        const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        for (double x : v) p.push_back(0.3 * x / length);
    }
    return p;
}

void BM_Qhull(benchmark::State& state) {
    std::vector<double> p = sphere(static_cast<int>(state.range(0)));
    static std::FILE* quiet = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        qhT storage;
        qhT* qh = &storage;
        qh_zero(qh, quiet);
        char options[] = "qhull Qt";
        if (qh_new_qhull(qh, 3, static_cast<int>(p.size() / 3), p.data(), False, options, nullptr, quiet) != 0)
            state.SkipWithError("qhull failed");
        benchmark::DoNotOptimize(qh->num_facets);
        qh_freeqhull(qh, !qh_ALL);
        int left = 0, total = 0;
        qh_memfreeshort(qh, &left, &total);
    }
}

// The offset pairs of each timed call.
std::vector<ArgValue> pairs(const std::string& kind) {
    const auto vector = [](double x, double y, double z) {
        ArgValue v = ArgValue::point(x, y, z);
        v.kind = KBL_KIND_VECTOR;
        return v;
    };
    if (kind == "extend1") return {vector(0, 0, 1), ArgValue::number(0.05)};
    if (kind == "extend3")
        return {vector(0, 0, 1), ArgValue::number(0.05), vector(1, 0, 0), ArgValue::number(0.02),
                vector(0, 1, 1), ArgValue::number(0.03)};
    std::vector<ArgValue> list;
    for (int k = 1; k <= 8; ++k) list.insert(list.end(), {ArgValue::integer(k), ArgValue::number(0.01)});
    return list;
}

void BM_Offsets(benchmark::State& state, const std::string& kind) {
    host_testing::reset();
    host_testing::make_part("bench_part");
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> p = sphere(n);
    const int mode = kind == "enlarge" ? 1 : 0;
    for (auto _ : state) {
        state.PauseTiming();
        void* block = nullptr;
        if (HM_allocate_memory(p.size() * sizeof(double), &block) != 0) state.SkipWithError("no memory");
        std::copy(p.begin(), p.end(), static_cast<double*>(block));
        double* points = static_cast<double*>(block);
        int count = n;
        x_DList list = host_testing::make_value_list(pairs(kind));
        state.ResumeTiming();
        if (carvell::r2003::offset_envelope_points(&points, &count, n / 8, list, mode, 1.0) != 0)
            state.SkipWithError("offsets failed");
        state.PauseTiming();
        HM_free(points);
        host_testing::drop_value_lists();
        state.ResumeTiming();
    }
}

void sizes(benchmark::internal::Benchmark* b) {
    for (int n : {1000, 10000, 100000}) b->Args({n});
    b->ArgNames({"n"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Qhull)->Name("release2003/qhull")->Apply(sizes);
BENCHMARK_CAPTURE(BM_Offsets, extend1, std::string("extend1"))->Name("release2003/extend1")->Apply(sizes);
BENCHMARK_CAPTURE(BM_Offsets, extend3, std::string("extend3"))->Name("release2003/extend3")->Apply(sizes);
BENCHMARK_CAPTURE(BM_Offsets, enlarge, std::string("enlarge"))->Name("release2003/enlarge")->Apply(sizes);

}  // namespace

int main(int argc, char** argv) {
    std::vector<Ratio> ratios;
    for (const char* kind : {"extend1", "extend3", "enlarge"})
        for (const char* n : {"1000", "10000", "100000"})
            ratios.push_back({std::string(kind) + "/qhull n=" + n, std::string("release2003/") + kind + "/n:" + n,
                              std::string("release2003/qhull/n:") + n});
    return run_with_ratios(argc, argv, ratios);
}

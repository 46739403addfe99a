// What every benchmark program of carvell prints after Google Benchmark's own
// table: the ratio of each measured call to its baseline, both timed in the
// same run. A program registers its benchmarks, names the pairs to compare,
// and hands over to run_with_ratios() from its main().
#ifndef CARVELL_BENCH_RATIO_REPORT_H
#define CARVELL_BENCH_RATIO_REPORT_H

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace carvell_bench {

// One line of the closing table: the real time of `measured` over that of
// `baseline` (benchmark names as Google Benchmark prints them).
struct Ratio {
    std::string label;
    std::string measured;
    std::string baseline;
};

// The console table as usual (coloured only on a terminal), and the real
// time per iteration of every benchmark remembered under its name
// (repetition aggregates are left out).
class TimeCollector : public benchmark::ConsoleReporter {
public:
    TimeCollector()
        : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                real_time_[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    // Real time per iteration in the benchmark's time unit; 0 when it did not run.
    double real_time(const std::string& name) const {
        auto it = real_time_.find(name);
        return it == real_time_.end() ? 0.0 : it->second;
    }

private:
    std::map<std::string, double> real_time_;
};

// Runs the registered benchmarks (command-line filters apply) and prints one
// "ratio <label> = x.xx" line per pair; a pair of which one side did not run
// is reported as such, a pair that a filter left out entirely is not. Both
// sides of a pair must use the same time unit.
inline int run_with_ratios(int argc, char** argv, const std::vector<Ratio>& ratios) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    TimeCollector collector;
    std::fflush(stdout);   // what the set-up printed comes before the table
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();

    std::printf("\nRatios of real time, measured in this run:\n");
    for (const Ratio& r : ratios) {
        const double measured = collector.real_time(r.measured), baseline = collector.real_time(r.baseline);
        if (measured == 0.0 && baseline == 0.0) continue;   // both left out by a filter
        if (measured > 0.0 && baseline > 0.0)
            std::printf("  ratio %s = %.2f\n", r.label.c_str(), measured / baseline);
        else
            std::printf("  ratio %s: not measured (%s or %s did not run)\n", r.label.c_str(), r.measured.c_str(),
                        r.baseline.c_str());
    }
    return 0;
}

}  // namespace carvell_bench

#endif

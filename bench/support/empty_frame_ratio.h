// The main of the page programs' benchmarks: Google Benchmark's usual table, then each frame case beside the empty
// frame (clear the hidden page, show it) of the same run, so that a figure can be compared across machines and
// runs: "of empty" is the share of the empty frame's rate that the case reaches. CPU time, since the machine is
// shared and a case's wall time counts other programs too; with --benchmark_repetitions the medians are compared.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace bench {

class EmptyFrameRatios : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal, as the library's own table.
    EmptyFrameRatios(std::string empty, std::vector<std::string> frames)
        : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_ColorTabular : OO_Tabular),
          empty_(std::move(empty)),
          frames_(std::move(frames)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (!single && !median) continue;
            const double seconds = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            seconds_[run.run_name.function_name].emplace_back(run.run_name.str(), seconds);
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto empty = seconds_.find(empty_);
        if (empty == seconds_.end() || empty->second.empty()) return;
        const double emptySeconds = empty->second.front().second;
        bool header = false;
        for (const std::string& name : frames_) {
            for (const auto& [label, seconds] : seconds_[name]) {
                if (!header)
                    std::printf("\n%-24s %12s %10s %10s\n", "against the empty frame", "us a frame", "frames/s",
                                "of empty");
                header = true;
                std::printf("%-24s %12.1f %10.0f %10.3f\n", label.c_str(), seconds * 1e6, 1.0 / seconds,
                            emptySeconds / seconds);
            }
        }
        std::fflush(stdout);
    }

private:
    std::string empty_;
    std::vector<std::string> frames_;
    std::map<std::string, std::vector<std::pair<std::string, double>>> seconds_;
};

// Runs the benchmarks the command line selects, then prints the frame cases named in frames (benchmark function
// names, every argument of each) against the one named empty.
inline int runWithEmptyFrameRatios(int argc, char** argv, std::string empty, std::vector<std::string> frames) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    EmptyFrameRatios reporter(std::move(empty), std::move(frames));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

}  // namespace bench

// Printing benchmark results as usual while keeping, per benchmark, the
// figures of its median run (or of its only run), so that a benchmark
// program can end with a summary against its targets.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace drawing::bench {

struct KeptRun {
  double cpuTime = 0;  // per iteration, in the benchmark's time unit
  std::map<std::string, double> counters;
};

class KeepingReporter : public benchmark::ConsoleReporter {
 public:
  // Counters in columns, no colours (the output often goes to a file).
  KeepingReporter() : benchmark::ConsoleReporter(OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& reports) override {
    benchmark::ConsoleReporter::ReportRuns(reports);
    for (const Run& run : reports) {
      if (run.error_occurred) {
        continue;
      }
      const std::string name = Name(run.run_name.function_name, run.run_name.args);
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (!median && (run.run_type != Run::RT_Iteration || medians_.count(name) != 0)) {
        continue;
      }
      KeptRun& kept = kept_[name];
      kept.cpuTime = run.GetAdjustedCPUTime();
      for (const auto& [counter, value] : run.counters) {
        kept.counters[counter] = value.value;
      }
      if (median) {
        medians_[name] = true;
      }
    }
  }

  // "BM_Name/args", or null when it did not run (filtered out, failed).
  const KeptRun* Find(const std::string& name) const {
    const auto found = kept_.find(name);
    return found == kept_.end() ? nullptr : &found->second;
  }

  static std::string Name(const std::string& function, const std::string& args) {
    return args.empty() ? function : function + "/" + args;
  }

 private:
  std::map<std::string, KeptRun> kept_;
  std::map<std::string, bool> medians_;
};

// Runs the registered benchmarks with `reporter`; false when the command
// line had arguments the library does not know.
inline bool RunBenchmarks(int argc, char** argv, KeepingReporter& reporter) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return false;
  }
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return true;
}

inline const char* Verdict(bool met) {
  return met ? "met" : "NOT met";
}

}  // namespace drawing::bench

// The benchmarks: ./run bench runs them in a release tree and prints the
// table of ratios; --smoke runs each once, as the host suite does, so they
// cannot rot.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "tests/bench/figures.h"

namespace bench {
void RegisterTransportBenchmarks(bool smoke);
void RegisterEnumerationBenchmarks(bool smoke);
void RegisterUpdateBenchmarks(bool smoke);
}  // namespace bench

int main(int argc, char** argv) {
  std::vector<char*> args;
  bool smoke = false;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--smoke") == 0) {
      smoke = true;
    } else {
      args.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  bench::RegisterTransportBenchmarks(smoke);
  bench::RegisterEnumerationBenchmarks(smoke);
  bench::RegisterUpdateBenchmarks(smoke);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  const bool met = bench::PrintTable();
  // A smoke run proves the benchmarks run, not the figures of a debug build.
  return smoke || met ? 0 : 1;
}

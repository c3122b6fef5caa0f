#include "tests/bench/figures.h"

#include <cstdio>
#include <map>
#include <mutex>

namespace bench {
namespace {

std::mutex mutex;
std::map<std::string, Figure>& Figures() {
  static std::map<std::string, Figure> figures;
  return figures;
}

}  // namespace

void Record(const Figure& figure) {
  std::lock_guard lock(mutex);
  Figures()[figure.name] = figure;
}

bool PrintTable() {
  std::lock_guard lock(mutex);
  bool allMet = true;
  std::printf("\n%-48s %15s %15s %8s %6s\n", "figure", "measured", "reference", "ratio", "goal");
  for (const auto& [name, f] : Figures()) {
    const double ratio = f.reference > 0 ? f.measured / f.reference : 0;
    const bool met = f.goal == 0 || ratio <= f.goal;
    allMet = allMet && met;
    char goal[16] = "-";
    if (f.goal != 0) std::snprintf(goal, sizeof goal, "%.2f", f.goal);
    std::printf("%-48s %11.3f %-3s %11.3f %-3s %8.3f %6s%s\n", name.c_str(), f.measured,
                f.unit.c_str(), f.reference, f.unit.c_str(), ratio, goal, met ? "" : "  MISSED");
  }
  return allMet;
}

}  // namespace bench

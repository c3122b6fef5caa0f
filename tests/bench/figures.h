// The figures the benchmarks report, each a measurement against its
// reference taken in the same run, collected for the closing table.
#pragma once

#include <string>

namespace bench {

struct Figure {
  std::string name;
  double measured = 0;
  double reference = 0;
  double goal = 0;  // the largest ratio that meets the goal; 0: none (a growth line)
  std::string unit;
};

// Keeps the latest figure of that name.
void Record(const Figure& figure);

// The table of every figure recorded: measured, reference, ratio, goal.
// Returns false when a figure misses its goal.
bool PrintTable();

}  // namespace bench

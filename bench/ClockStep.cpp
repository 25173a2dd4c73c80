// How finely the tap clock reads the system's time: reads Clock::SecondsSinceMidnight back to
// back for a second and prints the smallest and the median step between two differing readings.
// scripts/bench runs it on Linux and, under Wine, as the Windows program.

#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/Clock.h"

int main() {
  std::vector<double> steps;
  const double start = Clock::SecondsSinceMidnight();
  double last = start;
  while (last - start < 1.0 && last >= start) {
    const double now = Clock::SecondsSinceMidnight();
    if (now != last) steps.push_back(now - last);
    last = now;
  }
  if (steps.empty()) {
    std::printf("clock step: the clock did not move\n");
    return 1;
  }
  std::sort(steps.begin(), steps.end());
  std::printf("clock step: smallest %.3f us, median %.3f us, %zu readings in 1 s\n",
              steps.front() * 1e6, steps[steps.size() / 2] * 1e6, steps.size() + 1);
  return 0;
}

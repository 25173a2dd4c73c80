// The interval tally (ClsElementSort) against a std::map<float, int> tally, fed the very same
// taps: AddValue over a whole session, and FindMostValues on the filled tally, at 10 to 10,000
// distinct intervals.

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <unordered_set>
#include <vector>

#include <benchmark/benchmark.h>

#include "tapping/ClsElementSort.h"

namespace {

constexpr std::array kDistinctCounts = {10, 100, 1000, 10000};

// A tapping session with `distinct` different intervals, in the order they were tapped. Intervals
// come from a float clock, so steady tapping repeats the beat's interval exactly: the most
// frequent interval comes 64 times, the next 32, then 16, 8, 4, 2 (the beat's neighbours on the
// clock's grid, ever rarer), and every further one is a stray tap that comes once. Values lie
// between 0.3 and 1.5 s; the seed is fixed, so every run measures the same taps.
std::vector<float> MakeSession(int distinct) {
  std::mt19937 rng(static_cast<std::mt19937::result_type>(2004 + distinct));
  std::uniform_real_distribution<float> interval(0.3f, 1.5f);

  std::vector<float> values;
  std::unordered_set<float> seen;
  while (static_cast<int>(values.size()) < distinct) {
    const float v = interval(rng);
    if (seen.insert(v).second) values.push_back(v);
  }
  // `values` is in random order, so the most frequent interval is not the smallest or largest.
  std::vector<float> taps;
  for (int rank = 0; rank < distinct; ++rank) {
    const int repeats = rank < 6 ? 64 >> rank : 1;
    taps.insert(taps.end(), static_cast<std::size_t>(repeats), values[static_cast<std::size_t>(rank)]);
  }
  std::shuffle(taps.begin(), taps.end(), rng);
  return taps;
}

const std::vector<float>& Session(int distinct) {
  static std::map<int, std::vector<float>> sessions;
  auto it = sessions.find(distinct);
  if (it == sessions.end()) it = sessions.emplace(distinct, MakeSession(distinct)).first;
  return it->second;
}

// The program's tally.
struct ElementSortTally {
  static constexpr const char* kName = "ClsElementSort";
  ClsElementSort tally;

  void Add(float value) { tally.AddValue(value); }
  [[nodiscard]] float Most() const { return tally.Value(tally.FindMostValues()); }
};

// The standard library's ordered map, asked the same question: the highest count, ties to the
// smallest value (the map is in ascending order, so only a strictly greater count wins).
struct MapTally {
  static constexpr const char* kName = "std::map";
  std::map<float, int> tally;

  void Add(float value) { ++tally[value]; }
  [[nodiscard]] float Most() const {
    float best = 0;
    int bestCount = 0;
    for (const auto& [value, count] : tally) {
      if (count > bestCount) {
        bestCount = count;
        best = value;
      }
    }
    return best;
  }
};

template <class Tally>
Tally Filled(const std::vector<float>& taps) {
  Tally tally;
  for (float v : taps) tally.Add(v);
  return tally;
}

// Both tallies must agree before either is timed: a benchmark of a wrong answer means nothing.
bool TalliesAgree(const std::vector<float>& taps) {
  return Filled<ElementSortTally>(taps).Most() == Filled<MapTally>(taps).Most();
}

// A whole session added to an empty tally: the time per iteration covers taps.size() additions,
// including the tally's growth, and items/s is additions per second.
template <class Tally>
void AddSession(benchmark::State& state, int distinct) {
  const std::vector<float>& taps = Session(distinct);
  if (!TalliesAgree(taps)) {
    state.SkipWithError("the two tallies disagree on the most frequent interval");
    return;
  }
  for (auto _ : state) {
    Tally tally;
    for (float v : taps) tally.Add(v);
    benchmark::DoNotOptimize(tally);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(taps.size()));
  state.counters["taps"] = static_cast<double>(taps.size());
}

// The most frequent interval of a filled tally; items/s is entries scanned per second.
template <class Tally>
void MostOfSession(benchmark::State& state, int distinct) {
  const std::vector<float>& taps = Session(distinct);
  if (!TalliesAgree(taps)) {
    state.SkipWithError("the two tallies disagree on the most frequent interval");
    return;
  }
  auto tally = Filled<Tally>(taps);
  for (auto _ : state) {
    benchmark::DoNotOptimize(tally);
    float most = tally.Most();
    benchmark::DoNotOptimize(most);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * distinct);
}

template <class Tally>
void Register(const std::string& operation, void (*run)(benchmark::State&, int), int distinct) {
  const std::string name = operation + "/" + Tally::kName + "/" + std::to_string(distinct);
  benchmark::RegisterBenchmark(name.c_str(), run, distinct);
}

}  // namespace

int main(int argc, char** argv) {
  // Side by side: for each size, the program's tally and then the map.
  for (int distinct : kDistinctCounts) {
    Register<ElementSortTally>("AddValue", AddSession<ElementSortTally>, distinct);
    Register<MapTally>("AddValue", AddSession<MapTally>, distinct);
  }
  for (int distinct : kDistinctCounts) {
    Register<ElementSortTally>("FindMostValues", MostOfSession<ElementSortTally>, distinct);
    Register<MapTally>("FindMostValues", MostOfSession<MapTally>, distinct);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

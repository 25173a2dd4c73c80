#include "tapping/ClsElementSort.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>


namespace {

constexpr std::int32_t kMaxCount = std::numeric_limits<std::int32_t>::max();

// Halfway between two 1-based indices, rounded like every other whole-number conversion: a tie
// goes to the even neighbour (1 and 2 -> 2, 2 and 3 -> 2). Whole-number arithmetic, as this runs
// at every step of every search.
constexpr std::int32_t Midpoint(std::int32_t lo, std::int32_t hi) {
  const std::int64_t sum = std::int64_t{lo} + hi;
  const std::int64_t half = sum / 2;
  const bool tie = sum % 2 != 0;
  return static_cast<std::int32_t>(tie && half % 2 != 0 ? half + 1 : half);
}
static_assert(Midpoint(1, 2) == 2 && Midpoint(2, 3) == 2 && Midpoint(1, 3) == 2 &&
              Midpoint(3, 4) == 4 && Midpoint(5, 5) == 5);
static_assert(Midpoint(kMaxCount - 1, kMaxCount) == kMaxCount - 1);

}  // namespace

void ClsElementSort::AddValue(float value) {
  if (std::isnan(value)) throw std::invalid_argument("NaN cannot be tallied");

  std::int32_t lo = 1;
  std::int32_t hi = EntryCount;
  std::int32_t mid = 0;
  while (lo <= hi) {
    mid = Midpoint(lo, hi);
    TallyEntry& entry = Entry(mid);
    if (entry.Value < value) {
      lo = mid + 1;
    } else if (entry.Value > value) {
      hi = mid - 1;
    } else {
      if (entry.Count == kMaxCount) throw std::overflow_error("tally count overflow");
      ++entry.Count;
      return;
    }
  }

  if (EntryCount == kMaxCount) throw std::overflow_error("tally size overflow");
  if (EntryCount + 1 > Capacity) Grow();
  ++EntryCount;

  const std::int32_t pos = std::max(lo, mid);
  if (pos != EntryCount) {
    // The tail moves up one slot in a single overlapping block move.
    std::memmove(&Entry(pos + 1), &Entry(pos),
                 static_cast<std::size_t>(EntryCount - pos) * sizeof(TallyEntry));
  }
  Entry(pos) = TallyEntry{value, 1};
}

void ClsElementSort::Grow() {
  if (Capacity > kMaxCount - kGrowthStep) throw std::overflow_error("tally capacity overflow");
  const std::int32_t grown = Capacity + kGrowthStep;
  // Fixed steps, not doubling: storage is reallocated once every 16 new distinct values.
  // NOLINTNEXTLINE(modernize-avoid-c-arrays): the block Entries owns, see there
  auto storage = std::make_unique<TallyEntry[]>(static_cast<std::size_t>(grown));  // zeroed
  if (Capacity > 0) std::copy_n(Entries.get(), Capacity, storage.get());
  Entries = std::move(storage);
  Capacity = grown;
}

void ClsElementSort::Clear() {
  Entries.reset();
  EntryCount = 0;
  Capacity = 0;
}

std::int32_t ClsElementSort::FindMostValues() const {
  std::int32_t best = 0;
  std::int32_t bestCount = 0;
  for (std::int32_t i = 1; i <= EntryCount; ++i) {
    // Only a strictly greater count wins, so a tie keeps the smaller value.
    if (Entry(i).Count > bestCount) {
      bestCount = Entry(i).Count;
      best = i;
    }
  }
  return best;
}

float ClsElementSort::Value(std::int32_t index) const {
  if (index < 1 || index > EntryCount) throw std::out_of_range("no tally entry at that index");
  return Entry(index).Value;
}

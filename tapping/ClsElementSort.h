#pragma once

// The interval tally: a sorted set of single-precision values, each with the number of times it
// was added. The tap window adds every measured interval and asks which one came most often.
// Values compare exactly, with no tolerance: steady taps on the single-precision clock give
// exactly repeated intervals.

#include <cstdint>
#include <memory>

struct TallyEntry {
  float Value;
  std::int32_t Count;
};
static_assert(sizeof(TallyEntry) == 8, "entries are stored contiguously, 8 bytes each");

class ClsElementSort {
 public:
  // Counts the value once more, or inserts it with count 1 at its sorted place.
  // Throws std::overflow_error when a count would pass 2,147,483,647 (nothing changes),
  // std::invalid_argument for NaN, which has no place in the order.
  void AddValue(float value);

  // Empties the tally and releases its storage.
  void Clear();

  // 1-based index of the entry with the highest count; ties go to the smallest value; 0 if empty.
  [[nodiscard]] std::int32_t FindMostValues() const;

  // The value of entry index (1 to Values()); throws std::out_of_range outside that.
  [[nodiscard]] float Value(std::int32_t index) const;

  // The number of distinct values.
  [[nodiscard]] std::int32_t Values() const { return EntryCount; }

 private:
  friend class ClsElementSortInspector;  // lets the tests look at storage and counts

  // The entry at a 1-based index.
  TallyEntry& Entry(std::int32_t index) { return Entries[index - 1]; }
  [[nodiscard]] const TallyEntry& Entry(std::int32_t index) const { return Entries[index - 1]; }
  void Grow();

  static constexpr std::int32_t kGrowthStep = 16;

  // NOLINTNEXTLINE(modernize-avoid-c-arrays): one owned block, regrown in steps of kGrowthStep
  std::unique_ptr<TallyEntry[]> Entries;  // slots 1..Capacity, absent while Capacity is 0
  std::int32_t EntryCount = 0;
  std::int32_t Capacity = 0;
};

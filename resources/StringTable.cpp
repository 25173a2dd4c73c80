#include "resources/StringTable.h"

#include <array>

namespace {

// The Instructions window has no table control: its key table is laid out by runs of spaces
// alone, so every space below is significant.
constexpr auto kEntries = std::to_array<StringResource>({
    {1, "Description: "},
    {2, "        1. Tap the space bar to a 1/4 beat rhythm to calculate the bpm"},
    {3, "        2. Calculates the length of one bar and one beat in seconds"},
    {4, "        3. Additional result calculator i.e. decimal rounding down and semitone shift"},
    {31, "Author: Tempulo contributors"},
    {33, "OS: Win 95/98/ME/NT/2000/XP"},
    {34, "Version: "},
    {35, "Copyright: "},
    {41, "Tap the space bar to mark the beat resolution and"},
    {42, "press enter to reset the counter and view results."},
    {43, " "},
    {44, "To use the additional result calculator, press one of the following keys "},
    {45, "needed and press enter to display the results."},
    {46, " "},
    {47, "                Key"},
    {48, "                -------------------------------------------------"},
    {49, "                *             Multiplication"},
    {50, "                /             Division"},
    {51, "                \\             Rounded Division"},
    {52, "                + or -       Addition/Subtraction"},
    {53, "                #            Semitone shift"},
    {54, "                .              Decimal rounding"},
});

}  // namespace

std::span<const StringResource> string_table::Entries() { return kEntries; }

#include "forms/Resources.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "resources/StringTable.h"

QString LoadResString(int id) {
  const auto entries = string_table::Entries();
  const auto found =
      std::lower_bound(entries.begin(), entries.end(), id,
                       [](const StringResource& entry, int wanted) { return entry.id < wanted; });
  if (found == entries.end() || found->id != id) {
    throw std::out_of_range("no string resource with id " + std::to_string(id));
  }
  return QString::fromUtf8(found->text.data(), static_cast<qsizetype>(found->text.size()));
}

#pragma once

// The application's string resources: the texts of the About and Instructions windows, each
// under a numeric id. Ids are sparse and the table holds one language, English (United Kingdom);
// windows read it through LoadResString (forms/Resources.h), never directly.

#include <span>
#include <string_view>

struct StringResource {
  int id;
  std::string_view text;  // UTF-8, exactly as shown: spaces are part of the layout
};

namespace string_table {

// Every entry, in ascending id order.
std::span<const StringResource> Entries();

}  // namespace string_table

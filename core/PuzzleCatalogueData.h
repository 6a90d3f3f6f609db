// The catalogue's stored entries, kept in a source file of their own.
#pragma once

#include <string_view>

#include "PuzzleCatalogue.h"

namespace PuzzleCatalogue::Data {

// Each entry as 81 characters, row by row, '0' for an empty cell.
extern const std::string_view Entries[Count];

} // namespace PuzzleCatalogue::Data

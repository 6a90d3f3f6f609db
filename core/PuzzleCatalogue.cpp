// Reading the stored catalogue entries as givens.
#include "PuzzleCatalogue.h"

#include <stdexcept>
#include <string>

#include "PuzzleCatalogueData.h"

namespace PuzzleCatalogue {

std::string_view Text(int index)
{
    if (index < 0 || index >= Count)
        throw std::out_of_range("No puzzle " + std::to_string(index) + " in the catalogue");
    return Data::Entries[index];
}

std::vector<Given> Entry(int index)
{
    const std::string_view text = Text(index);
    std::vector<Given> givens;
    for (int cell = 0; cell < 81; ++cell)
        if (text[cell] >= '1' && text[cell] <= '9')
            givens.push_back(Given{cell / 9 + 1, cell % 9 + 1, text[cell] - '0'});
    return givens;
}

} // namespace PuzzleCatalogue

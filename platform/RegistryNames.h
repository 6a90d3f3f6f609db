// Key and value names compared as the registry compares them: ASCII letters without case.
#pragma once

#include <string>
#include <string_view>

namespace registrynames {

// Lower-cases ASCII letters, for lookup tables keyed by name.
inline std::string FoldName(std::string_view name)
{
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

inline bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && FoldName(a) == FoldName(b);
}

} // namespace registrynames

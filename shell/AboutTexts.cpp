// The texts of the menu's About panel.
#include "AboutTexts.h"

namespace {
constexpr int FirstYear = 2006;
}

std::string AboutVersionLine(const std::string& title, const std::string& versionText)
{
    // Two blanks before the "v." belong to the line.
    return title + "  v. " + versionText;
}

std::string MakerNoticeLine(int currentYear)
{
    return "Wszelkie prawa zastrzeżone \u00a9 Kalvora " + std::to_string(FirstYear) + " - " +
           std::to_string(currentYear);
}

// The texts of the menu's About panel.
#pragma once

#include <string>

// "Sudoku  v. 2.0.0.432" for the title "Sudoku".
std::string AboutVersionLine(const std::string& title, const std::string& versionText);
// The maker's notice, ending in "2006 - <currentYear>".
std::string MakerNoticeLine(int currentYear);

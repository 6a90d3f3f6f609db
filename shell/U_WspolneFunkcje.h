// Helpers shared by the program's windows.
#pragma once

#include <string>

// The running executable's own file version, "2.0.0.432"; "0.0.0.0" when it carries none.
std::string FileVersionText();

// Linked into every window test program on Windows: the whole program keeps to a
// registry key of its own, as each test on Linux keeps to its own configuration folder.
#include "OwnHive.h"

namespace {

const OwnHive programHive;

} // namespace

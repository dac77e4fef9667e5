#pragma once
// Files embedded into the program, found by their numeric resource id.
#include <cstddef>

// False when no resource has that id.
bool FindBuiltInResource(int id, const unsigned char** data, size_t* size);

#pragma once

// What the shared test support takes from POSIX and MinGW lacks; the Windows test build
// includes this header first in every test.
#include <cstdlib>

// Replaces the trailing "XXXXXX" of the pattern and creates that folder; nullptr on failure.
char* mkdtemp(char* pattern);

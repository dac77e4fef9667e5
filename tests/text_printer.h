#pragma once
// How GoogleTest shows the program's texts when a comparison fails: the text
// itself, in double quotes, as UTF-8 with C escapes for quotes, backslashes,
// control units and unpaired surrogates, instead of the object's raw bytes.
// Every test source sees this declaration first: the test programs include
// it on the command line (cmake/QzuTargets.cmake), so that one printer holds
// in every file. Defined in tests/test_support.cpp.
#include <iosfwd>

class CWString;

void PrintTo(const CWString& text, std::ostream* os);

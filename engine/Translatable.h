// The texts of the engine that the windows show in the user's language. The engine keeps them
// as they are (the command line speaks English); the translation tools find them by the
// marker's name and file them under its context, where the windows look them up
// (platform/Language.h).
#pragma once

#include <string>
#include <vector>

#define TRANSLATABLE(context, text) text

// A text with values put in for its "%1", "%2", ...: the engine fills in the pattern as it is,
// a window fills in its translation.
struct TPhrase {
    const char *Pattern = "%1";
    std::vector<std::string> Args;
    std::string Text() const;
};

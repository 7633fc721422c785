// What the program answers on its command line before any window exists: "--version" and
// "--help" print and end the program, as desktop programs do, without needing a display.
// Every other argument is ignored and the program starts as usual.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The text to print before ending at once, for the arguments (the program's name first, as in
// main's argv), or nothing when the program is to open its windows. The first of "--version"
// and "--help" decides.
std::optional<std::string> CommandLineAnswer(const std::vector<std::string> &args);

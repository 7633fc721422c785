// What the program answers on its command line before any window exists, without needing a
// display: "--version" and "--help", the spread of a mode ("--spread MODE") and the schedule
// of a loan ("--schedule"). Without one of these the program starts as usual and every other
// argument is ignored.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct TCommandLineAnswer {
    std::string Output; // for standard output
    std::string Error;  // for standard error
    int ExitStatus = 0; // 0 answered, 1 no result, 2 a bad command line
};

// The answer to the arguments (the program's name first, as in main's argv), or nothing when
// the program is to open its windows. The first of "--version", "--help", "--spread" and
// "--schedule" decides; the last two take only their own options.
std::optional<TCommandLineAnswer> CommandLineAnswer(const std::vector<std::string> &args);

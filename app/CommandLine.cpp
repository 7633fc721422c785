#include "app/CommandLine.h"

#include "app/Main.h"

std::optional<std::string> CommandLineAnswer(const std::vector<std::string> &args) {
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--version")
            return (ProgramName + u' ' + ProgramVersion).toStdString() + "\n";
        if (arg == "--help")
            return "Usage: quorvale [--version | --help]\n"
                   "A desktop calculator that compares fixed-rate loans in a spread of payments,\n"
                   "loan amounts, interest rates or terms.\n"
                   "\n"
                   "  --version  print the program's name and version, then end\n"
                   "  --help     print this text, then end\n"
                   "\n"
                   "Without these it opens its window; other arguments are ignored.\n";
    }
    return std::nullopt;
}

// Quorvale Pro: the program users start. It answers the command line ("--version", "--help",
// "--spread", "--schedule") itself, with the engine and without Qt, so that an answer costs no
// loading of the window system's libraries. Anything else is for the windows: the program
// replaces itself with the windows' program (windows_main.cpp), which keeps the process, its
// arguments and its environment. The windows' program is found from this program's own file,
// never through PATH: beside it in a build tree, in ../libexec/quorvale-pro/ when installed.
#include "app/CommandLine.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

const char *const WindowsProgramName = "quorvale-windows";

// The windows' program of this program's layout, or nothing when neither place holds one.
std::string WindowsProgram() {
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return {};
    const std::string own(self, size_t(length));
    const std::string folder = own.substr(0, own.rfind('/') + 1);
    for (const std::string &place : {folder, folder + "../libexec/quorvale-pro/"}) {
        const std::string program = place + WindowsProgramName;
        if (access(program.c_str(), X_OK) == 0)
            return program;
    }
    return {};
}

} // namespace

int main(int argc, char **argv) {
    if (const auto answer = CommandLineAnswer({argv, argv + argc})) {
        std::fputs(answer->Output.c_str(), stdout);
        std::fputs(answer->Error.c_str(), stderr);
        return answer->ExitStatus;
    }
    const std::string program = WindowsProgram();
    if (program.empty()) {
        std::fprintf(
            stderr, "quorvale: %s is neither beside this program nor in ../libexec/quorvale-pro/\n",
            WindowsProgramName);
        return 1;
    }
    execv(program.c_str(), argv);
    std::fprintf(stderr, "quorvale: %s: %s\n", program.c_str(), std::strerror(errno));
    return 1;
}

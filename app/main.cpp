// Quorvale Pro: the program users start. It answers the command line ("--version", "--help",
// "--spread", "--schedule") itself, with the engine and without Qt, so that an answer costs no
// loading of the window system's libraries. Anything else is for the windows: the program
// replaces itself with the windows' program (windows_main.cpp), which keeps the process, its
// arguments and its environment, and is told this program's version to compare with its own.
// The windows' program is found from this program's own file, never through PATH: beside it in
// a build tree, in the folder the build installs it in when installed.
#include "app/CommandLine.h"
#include "app/Launch.h"
#include "platform/Version.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
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
    for (const std::string &place : {folder, folder + QuorvaleWindowsFolder + "/"}) {
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
        ShowStartError(std::string("quorvale: ") + WindowsProgramName +
                       " is neither beside this program nor in " + QuorvaleWindowsFolder +
                       "/: reinstall Quorvale Pro");
        return 1;
    }
    setenv(LauncherVersionVariable, QuorvaleVersion, 1);
    execv(program.c_str(), argv);
    ShowStartError("quorvale: " + program + ": " + std::strerror(errno));
    return 1;
}

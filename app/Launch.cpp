#include "app/Launch.h"

#include "platform/Version.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Runs a program found on PATH and waits for it; false when there is none by that name or it
// could not show its box.
bool RunBox(const std::vector<std::string> &args) {
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    // 0 when the box was closed by its button, 1 by the window's close button.
    return WIFEXITED(status) && WEXITSTATUS(status) <= 1;
}

} // namespace

std::string VersionMismatch(const char *launcherVersion) {
    if (!launcherVersion || std::string(launcherVersion) == QuorvaleVersion)
        return {};
    return std::string("quorvale-windows: this is version ") + QuorvaleVersion +
           " of the windows, started by quorvale " + launcherVersion + ": reinstall Quorvale Pro";
}

void ShowStartError(const std::string &message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
    if (isatty(STDERR_FILENO) || (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")))
        return;
    const std::string title = QuorvaleName;
    for (const std::vector<std::string> &box :
         {std::vector<std::string>{"zenity", "--error", "--no-markup", "--title=" + title,
                                   "--text=" + message},
          {"kdialog", "--title", title, "--error", message},
          {"xmessage", "-center", "-title", title, message}})
        if (RunBox(box))
            return;
}

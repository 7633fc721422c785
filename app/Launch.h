// How the command-line program hands the process over to the windows' program, in plain C++
// (neither program needs Qt for it): the version passed across the exec, and the error a user
// sees when the hand-over fails.
#pragma once

#include <string>

// The environment variable by which the command-line program tells the windows' program its
// version across the exec.
inline constexpr char LauncherVersionVariable[] = "QUORVALE_LAUNCHER_VERSION";

// Why the windows' program of this version may not run for a launcher of `launcherVersion`:
// empty when the versions agree or when it was started directly (no version given).
std::string VersionMismatch(const char *launcherVersion);

// Reports a start that failed: always one line on standard error; and, when standard error is
// no terminal (a start from the desktop menu) and a display is set, in a message box of the
// first of zenity, kdialog and xmessage that the system has. Returns once the box is closed.
void ShowStartError(const std::string &message);

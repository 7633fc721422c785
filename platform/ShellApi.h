// The shell's open operation: web and mail addresses go to the user's browser and mail
// program, a program file is started, any other file opens in the application the desktop
// associates with it. The result is a code above 32 on success and a small error number on
// failure, as callers of the shell expect.
#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>

class QWidget;

// How the started program's window is shown. The desktop decides where and whether a window
// takes the focus, so these are passed on to the opener but cannot be enforced.
enum { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWNOACTIVATE = 4 };

// The result codes. Success is any value above 32.
enum {
    ERROR_FILE_NOT_FOUND = 2, // the file does not exist, or no file was named
    ERROR_PATH_NOT_FOUND = 3, // its folder, or the working folder, does not exist
    ERROR_BAD_FORMAT = 11,    // a program file that could not be started
    SE_ERR_NOASSOC = 31,      // no application to open it, or an operation other than "open"
    ShellOpened = 33
};

// What the shell does with a request.
enum TShellOpenKind {
    skAddress,  // an address with a scheme (http:, mailto:, ...): the desktop opens it
    skProgram,  // a local program file: started on its own, not waited for
    skDocument, // any other local file or folder: the desktop opens it
};

struct TShellRequest {
    // As the caller asked.
    QWidget *Owner = nullptr;
    QString Operation;
    QString File;
    QString Parameters;
    QString Directory;
    int ShowCmd = SW_SHOWNORMAL;
    // How it is carried out.
    TShellOpenKind Kind = skAddress;
    QUrl Address;          // skAddress, skDocument: what the desktop is asked to open
    QString Program;       // skProgram: the program file's full path
    QStringList Arguments; // skProgram: the parameters split as a command line splits them
    QString WorkingFolder; // skProgram: the working folder (empty: the current folder)
};

// The opener carries out a request and returns the result code. Tests replace it so that no
// browser ever opens; an empty opener restores the real one.
using TShellOpener = std::function<int(const TShellRequest &)>;
void SetShellOpener(TShellOpener opener);
// The real opener: the desktop for addresses and documents, a detached process for programs.
int DesktopShellOpener(const TShellRequest &request);

// Opens `file` with `operation` ("open", or empty for the default action, which is the
// same). A name with a scheme of two or more letters is an address; "file:" addresses and
// plain paths are local files, a relative path taken from `directory` when one is given.
// `parameters` go to a started program only. Missing files and folders are found here and
// never reach the opener.
int ShellExecute(QWidget *owner, const QString &operation, const QString &file,
                 const QString &parameters, const QString &directory, int showCmd);

// Starts a file the program has just downloaded. A native program or a script (it begins with
// the ELF signature or with "#!") is made executable and started directly, `parameters` split
// into its arguments as a command line splits them, never through a shell; any other file goes
// to the desktop's opener without parameters. The result code is that of ShellExecute.
int ShellExecuteDownloaded(QWidget *owner, const QString &file, const QString &parameters);

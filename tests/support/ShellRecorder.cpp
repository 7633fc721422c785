#include "tests/support/ShellRecorder.h"

ShellRecorder::ShellRecorder(int answer) : FAnswer(answer) {
    SetShellOpener([this](const TShellRequest &r) {
        FRequests.append(r);
        return FAnswer;
    });
}

ShellRecorder::~ShellRecorder() {
    SetShellOpener(nullptr);
}

QStringList ShellRecorder::Files() const {
    QStringList files;
    for (const TShellRequest &r : FRequests)
        files << r.File;
    return files;
}

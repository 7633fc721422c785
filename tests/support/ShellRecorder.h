// Stands in for the shell while it lives: records every open it is asked for and answers with a
// chosen result code, so that no test ever starts a browser, a mail program or an installer.
#pragma once

#include "platform/ShellApi.h"

#include <QList>
#include <QStringList>

class ShellRecorder {
public:
    explicit ShellRecorder(int answer = ShellOpened);
    ~ShellRecorder();
    ShellRecorder(const ShellRecorder &) = delete;
    ShellRecorder &operator=(const ShellRecorder &) = delete;

    void SetAnswer(int code) { FAnswer = code; }
    const QList<TShellRequest> &Requests() const { return FRequests; }
    // The names the shell was asked to open, in order.
    QStringList Files() const;

private:
    QList<TShellRequest> FRequests;
    int FAnswer;
};

// Stands in for every dialog while it lives: records what would have been shown and answers
// with scripted results, so that no test ever waits on a modal box.
#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QStringList>

class DialogRecorder {
public:
    DialogRecorder();
    ~DialogRecorder();
    DialogRecorder(const DialogRecorder &) = delete;
    DialogRecorder &operator=(const DialogRecorder &) = delete;

    // The answers of the next requests, in order; a request with no scripted answer gets
    // the first of its buttons (OK, or Yes).
    void Answer(int modalResult) { FAnswers.append(modalResult); }
    // Runs while a request is answered, as a user would act while the box is up.
    void OnRequest(std::function<void(const TDialogRequest &)> action) { FAction = action; }

    const QList<TDialogRequest> &Requests() const { return FRequests; }
    QStringList Texts() const;
    void Clear() { FRequests.clear(); }

private:
    int Respond(const TDialogRequest &request);

    QList<TDialogRequest> FRequests;
    QList<int> FAnswers;
    std::function<void(const TDialogRequest &)> FAction;
    TDialogResponder FPrevious;
};

// Stands in for every dialog while it lives: records what would have been shown and answers
// with scripted results, so that no test ever waits on a modal box. Windows of the program's
// own that a test answers by hand are watched: one left unanswered fails the test in seconds.
#pragma once

#include "platform/Dialogs.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

// While it lives, a modal window that stays on top for longer than the limit fails the running
// test, named by its class and title, and is closed, so that the test ends at once instead of
// waiting for a click that never comes until the test's time limit.
class ModalWatchdog : public QObject {
public:
    explicit ModalWatchdog(int LimitMilliseconds = 8000);

private:
    void Check();

    int FLimit;
    QTimer FTimer;
    QPointer<QWidget> FTop;
    QElapsedTimer FSince;
};

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
    ModalWatchdog FWatchdog;
};

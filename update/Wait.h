// The count-down control of the socket's synchronous helpers: its caption shows the seconds
// left, one tick a second, and reads "Timeout" when the time is up.
#pragma once

#include <QLabel>
#include <functional>

class QTimer;

class TWait : public QLabel {
    Q_OBJECT

public:
    explicit TWait(QWidget *parent = nullptr);

    // The seconds counted down by the next Start.
    int Seconds() const { return FSeconds; }
    void SetSeconds(int seconds) { FSeconds = seconds; }
    // The seconds still left of a running count-down.
    int Left() const { return FLeft; }
    bool Running() const;

    void Start();
    void Stop();

    // The time ran out.
    std::function<void(QObject *Sender)> OnTimeout;

private:
    void Tick();

    QTimer *FTimer;
    int FSeconds = 60;
    int FLeft = 0;
};

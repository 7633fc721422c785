// The splash screen: the program's picture, shown first at start-up and on top of everything
// until its timer hides it.
#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QTimer;
class TPanel;

class TSplashScreen : public QWidget {
    Q_OBJECT

public:
    explicit TSplashScreen(QWidget *parent = nullptr);

    TPanel *Panel1; // the frame: a lowered inner bevel inside a space, 3 pixels apart
    TPanel *Panel2; // white, inside the frame
    QLabel *Image1; // the splash picture, centred
    QTimer *Timer1; // 5000 ms, started by the program entry

    void Timer1Timer(QObject *Sender);

protected:
    // A modal window (a message box at start-up) must not open under the splash, which stays
    // on top: the splash steps aside while one is shown and comes back after it, while its
    // time is not up.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> FSteppedAsideFor;
};

// The one splash screen (null until the program entry creates it).
extern TSplashScreen *SplashScreen;

// The application object: title, help file, hints and activation, and the single place where
// an exception that escapes any event handler ends up.
#pragma once

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPointer>
#include <QSet>
#include <exception>
#include <functional>
#include <utility>

class TApplication : public QApplication {
    Q_OBJECT

public:
    TApplication(int &argc, char **argv);

    // The name of the program's task-bar entry.
    QString Title() const { return applicationName(); }
    void SetTitle(const QString &title) { setApplicationName(title); }
    QString HelpFile() const { return FHelpFile; }
    void SetHelpFile(const QString &fileName) { FHelpFile = fileName; }

    // Delay before a tooltip shows, in milliseconds.
    int HintPause() const { return FHintPause; }
    void SetHintPause(int milliseconds);

    // The hint of the control under the mouse, or of its nearest parent that has one; empty
    // over a control with no hint in its chain. A control's hint is its tool tip text.
    QString Hint() const { return FHint; }

    // Every exception that escapes an event handler comes here, with the object that was
    // handling the event as Sender. With no handler assigned the message is shown in a
    // plain message box and the program goes on.
    std::function<void(QObject *Sender, const std::exception &E)> OnException;
    // The program became the active application again.
    std::function<void(QObject *Sender)> OnActivate;
    // The current hint changed.
    std::function<void(QObject *Sender)> OnHint;

    void HandleException(QObject *Sender, const std::exception &E);
    // Hands an exception that one of our handlers threw to the error path above. It reaches
    // OnException from the message loop, once the event being handled has finished, so that
    // Qt's widgets always complete their own state changes first. A Sender destroyed in the
    // meantime arrives as null. An error of the same kind and message as one still on its way
    // is not posted again.
    void PostException(QObject *Sender, std::exception_ptr E);
    // Ends every running message loop, the modal windows' too, and so the program; unlike
    // Qt's quit() it does not first ask the windows whether they may close.
    void Terminate() { exit(0); }
    void ProcessMessages() { processEvents(); }

    bool notify(QObject *receiver, QEvent *event) override;

protected:
    void customEvent(QEvent *event) override;

private:
    void Dispatch(QObject *receiver, QEvent *event);
    void UpdateHint();

    QString FHelpFile;
    QString FHint;
    int FHintPause = 700;
    bool FHintUpdatePending = false;
    QSet<QString> FPendingExceptions; // posted and not yet handled, by kind and message
};

// The one application object (null before it is created).
TApplication *Application();

// The one way our handlers are called from Qt's code (an event override, a signal, a timer, a
// socket notifier). Qt is not exception-safe, so nothing may unwind through it: Guard runs the
// body and hands any exception it throws to Application()->PostException. True when the body
// finished normally.
template <class Body> bool Guard(QObject *Sender, Body &&body) noexcept;
void PostException(QObject *Sender, std::exception_ptr E) noexcept;

// Raises an event of ours (a std::function whose first argument is the sender) under Guard;
// an unassigned event does nothing. True unless the handler threw.
template <class Event, class... Args>
bool CallEvent(const Event &event, QObject *Sender, Args &&...args) noexcept {
    if (!event)
        return true;
    return Guard(Sender, [&] { event(Sender, std::forward<Args>(args)...); });
}

template <class Body> bool Guard(QObject *Sender, Body &&body) noexcept {
    try {
        std::forward<Body>(body)();
        return true;
    } catch (...) {
        PostException(Sender, std::current_exception());
        return false;
    }
}

// Whether a control shows its hint as a tool tip. A control that says nothing follows its
// parent; a window that says nothing shows tool tips.
void SetShowHint(QWidget *control, bool show);
bool ShowsHint(const QWidget *control);

// The long part of a hint: the text after the first "|", or the whole hint.
QString GetLongHint(const QString &hint);

// A font of the window designs: a family and a size in points at 96 dots per inch (8 point is
// 11 pixels). "MS Sans Serif" is drawn as Arial, which the system maps to Liberation Sans.
QFont DesignFont(const QString &family, int points, bool bold = false);

// A picture of the window designs drawn from its SVG, at its own size or at the one given, in
// pixels of the design. It is drawn for the sharpest screen: the image carries that screen's
// pixel ratio, so that it is shown at the design size with every device pixel of its own.
QImage DesignPicture(const QString &name, const QSize &size = {});
// The same from the SVG document itself.
QImage DesignPicture(const QByteArray &svg, const QSize &size = {});

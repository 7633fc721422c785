// The application object: title, help file, hints and activation, and the single place where
// an exception that escapes any event handler ends up.
#pragma once

#include <QApplication>
#include <QFont>
#include <QPointer>
#include <exception>
#include <functional>

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
    void Terminate() { quit(); }
    void ProcessMessages() { processEvents(); }

    bool notify(QObject *receiver, QEvent *event) override;

private:
    void Dispatch(QObject *receiver, QEvent *event);
    void UpdateHint();

    QString FHelpFile;
    QString FHint;
    int FHintPause = 700;
    bool FHintUpdatePending = false;
};

// The one application object (null before it is created).
TApplication *Application();

// Whether a control shows its hint as a tool tip. A control that says nothing follows its
// parent; a window that says nothing shows tool tips.
void SetShowHint(QWidget *control, bool show);
bool ShowsHint(const QWidget *control);

// The long part of a hint: the text after the first "|", or the whole hint.
QString GetLongHint(const QString &hint);

// A font of the window designs: a family and a size in points at 96 dots per inch (8 point is
// 11 pixels). "MS Sans Serif" is drawn as Arial, which the system maps to Liberation Sans.
QFont DesignFont(const QString &family, int points, bool bold = false);

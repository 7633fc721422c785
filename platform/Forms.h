// The application object: the program's title and help file, and the single place where an
// exception that escapes any event handler ends up.
#pragma once

#include <QApplication>
#include <exception>
#include <functional>

class TApplication : public QApplication {
    Q_OBJECT

public:
    TApplication(int &argc, char **argv);

    QString Title() const { return applicationDisplayName(); }
    void SetTitle(const QString &title) { setApplicationDisplayName(title); }
    QString HelpFile() const { return FHelpFile; }
    void SetHelpFile(const QString &fileName) { FHelpFile = fileName; }

    // Every exception that escapes an event handler comes here, with the object that was
    // handling the event as Sender. With no handler assigned the message is shown in a
    // plain message box and the program goes on.
    std::function<void(QObject *Sender, const std::exception &E)> OnException;

    void HandleException(QObject *Sender, const std::exception &E);
    void Terminate() { quit(); }
    void ProcessMessages() { processEvents(); }

    bool notify(QObject *receiver, QEvent *event) override;

private:
    QString FHelpFile;
};

// The one application object (null before it is created).
TApplication *Application();

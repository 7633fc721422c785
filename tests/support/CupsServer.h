// A real print system for the tests: Debian's CUPS scheduler on a socket of its own, with a
// private configuration and spool, and queues that print to /dev/null. While the object
// lives, this process (and the CUPS commands it runs) asks that scheduler and no other.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class CupsServer {
public:
    CupsServer();
    ~CupsServer();
    CupsServer(const CupsServer &) = delete;
    CupsServer &operator=(const CupsServer &) = delete;

    // Starts the scheduler and waits until it answers. False, with Failure() saying why, when
    // CUPS is not installed or does not come up.
    bool Start();
    QString Failure() const { return FFailure; }
    // Ends the scheduler, as when the print service is stopped.
    void Stop();

    // A queue that accepts jobs and prints them to /dev/null, made the default printer.
    bool AddQueue(const QString &name);
    // Runs one of CUPS's administration commands (lpadmin, cupsreject, ...) on this scheduler.
    bool Run(const QString &command, const QStringList &arguments);
    // How many jobs the queue has been given, whatever became of them.
    int JobCount(const QString &queue) const;

private:
    QTemporaryDir FRoot;
    QProcess FProcess;
    QString FSocket;
    QByteArray FFormerServer;
    bool FHadFormerServer = false;
    QString FFailure;
};

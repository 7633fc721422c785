// A real web server for the tests: Debian's nginx on a free port of 127.0.0.1 and ::1, with a
// private configuration and a document folder of the test's own, ended with the object.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class NginxServer {
public:
    NginxServer();
    ~NginxServer();
    NginxServer(const NginxServer &) = delete;
    NginxServer &operator=(const NginxServer &) = delete;

    // Puts a file into the document folder (path relative to it, folders made as needed).
    bool AddFile(const QString &path, const QByteArray &bytes);
    // Answers a request for exactly `path` with 302 Found and `target` as its Location.
    void AddRedirect(const QString &path, const QString &target);
    // Starts nginx and waits until it accepts connections. False, with Failure() saying why,
    // when nginx is not installed or does not come up.
    bool Start();
    QString Failure() const { return FFailure; }
    // "http://127.0.0.1:<port>" + path; with ipv6, "http://[::1]:<port>" + path.
    QString Url(const QString &path, bool ipv6 = false) const;

private:
    QTemporaryDir FRoot;
    QProcess FProcess;
    QString FLocations; // the server block's location lines
    quint16 FPort = 0;
    QString FFailure;
};

#include "tests/support/NginxServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <unistd.h>

// The folder name goes into the configuration unquoted, so it has no blank.
NginxServer::NginxServer() : FRoot(QDir::tempPath() + "/quorvale-nginx-XXXXXX") {
    QDir(FRoot.path()).mkpath("docs");
    QDir(FRoot.path()).mkpath("temp");
}

NginxServer::~NginxServer() {
    if (FProcess.state() != QProcess::NotRunning) {
        FProcess.terminate();
        if (!FProcess.waitForFinished(5000))
            FProcess.kill();
        FProcess.waitForFinished(1000);
    }
}

bool NginxServer::AddFile(const QString &path, const QByteArray &bytes) {
    const QString file = FRoot.filePath("docs/" + path);
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile f(file);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

void NginxServer::AddRedirect(const QString &path, const QString &target) {
    FLocations += QString("  location = %1 { return 302 %2; }\n").arg(path, target);
}

bool NginxServer::Start() {
    QString nginx = QStandardPaths::findExecutable("nginx");
    if (nginx.isEmpty())
        nginx = QStandardPaths::findExecutable("nginx", {"/usr/sbin", "/sbin"});
    if (nginx.isEmpty()) {
        FFailure = "nginx is not installed (scripts/install-deps installs nginx-light)";
        return false;
    }
    {
        QTcpServer probe; // a free port, given back for nginx to take
        probe.listen(QHostAddress::LocalHost);
        FPort = probe.serverPort();
    }
    QFile config(FRoot.filePath("nginx.conf"));
    if (!config.open(QIODevice::WriteOnly)) {
        FFailure = "cannot write the configuration";
        return false;
    }
    config.write(QString("%1daemon off;\nworker_processes 1;\npid %2/nginx.pid;\n"
                         "error_log %2/error.log;\nevents { worker_connections 64; }\n"
                         "http {\n access_log off;\n client_body_temp_path %2/temp;\n"
                         " proxy_temp_path %2/temp;\n fastcgi_temp_path %2/temp;\n"
                         " uwsgi_temp_path %2/temp;\n scgi_temp_path %2/temp;\n"
                         " types { text/html htm; text/plain txt; }\n"
                         " default_type application/octet-stream;\n"
                         " server {\n  listen 127.0.0.1:%3;\n  listen [::1]:%3;\n"
                         "  root %2/docs;\n%4 }\n}\n")
                     .arg(geteuid() == 0 ? "user root;\n" : "", FRoot.path())
                     .arg(FPort)
                     .arg(FLocations)
                     .toLatin1());
    config.close();
    FProcess.start(
        nginx, {"-p", FRoot.path(), "-c", config.fileName(), "-e", FRoot.filePath("error.log")});
    const bool listening = QTest::qWaitFor(
        [this] {
            QTcpSocket probe;
            probe.connectToHost("127.0.0.1", FPort);
            return probe.waitForConnected(100) || FProcess.state() == QProcess::NotRunning;
        },
        10000);
    if (!listening || FProcess.state() != QProcess::Running) {
        FFailure =
            "nginx could not start: " + QString::fromLocal8Bit(FProcess.readAllStandardError());
        return false;
    }
    return true;
}

QString NginxServer::Url(const QString &path, bool ipv6) const {
    return QString("http://%1:%2%3").arg(ipv6 ? "[::1]" : "127.0.0.1").arg(FPort).arg(path);
}

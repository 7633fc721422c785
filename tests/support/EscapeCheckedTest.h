// A test object whose every test fails when an exception reached the application's error path
// (TApplication::OnException) while it ran: derive the test class from it in place of QObject.
#pragma once

#include <QObject>
#include <QStringList>

class EscapeCheckedTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

private:
    QStringList FEscaped;
};

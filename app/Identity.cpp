#include "app/Identity.h"

#include "platform/Forms.h"

#include <QCoreApplication>
#include <QFile>

// The pictures are compiled into this library, whose resources must be registered by name, once
// (the splash picture, which shows the version, is written at build time: see CMakeLists.txt).
static void InitPictures() {
    static const bool loaded = [] {
        Q_INIT_RESOURCE(pictures);
        Q_INIT_RESOURCE(splash);
        return true;
    }();
    (void)loaded;
}

QImage ProgramPicture(const QString &name, const QSize &size) {
    InitPictures();
    return DesignPicture(name, size);
}

QImage SplashPicture() {
    InitPictures();
    QFile file(QStringLiteral(":/splash.svg"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString subtitle = QCoreApplication::translate("TSplashScreen", "Loan Calculator");
    return DesignPicture(
        file.readAll().replace(">Loan Calculator<", '>' + subtitle.toHtmlEscaped().toUtf8() + '<'));
}

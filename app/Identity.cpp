#include "app/Identity.h"

#include "platform/Forms.h"

// The pictures are compiled into this library, whose resources must be registered by name (the
// splash picture, which shows the version, is written at build time: see CMakeLists.txt).
static void InitPictures() {
    Q_INIT_RESOURCE(pictures);
    Q_INIT_RESOURCE(splash);
}

QImage ProgramPicture(const QString &name, const QSize &size) {
    static const bool loaded = (InitPictures(), true);
    (void)loaded;
    return DesignPicture(name, size);
}

#include "app/Identity.h"

// The pictures are compiled into this library, whose resources must be registered by name.
static void InitPictures() {
    Q_INIT_RESOURCE(pictures);
}

QImage ProgramPicture(const QString &name) {
    static const bool loaded = (InitPictures(), true);
    (void)loaded;
    return QImage(name);
}

#include "app/Identity.h"

#include <QImageReader>

// The pictures are compiled into this library, whose resources must be registered by name.
static void InitPictures() {
    Q_INIT_RESOURCE(pictures);
}

QImage ProgramPicture(const QString &name) {
    static const bool loaded = (InitPictures(), true);
    (void)loaded;
    return QImage(name);
}

QImage ProgramPicture(const QString &name, const QSize &size) {
    ProgramPicture(name); // registers the pictures
    QImageReader reader(name);
    reader.setScaledSize(size);
    return reader.read();
}

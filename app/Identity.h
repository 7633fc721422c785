// The program's identity as its windows, its chart and its task-bar entry show it: name,
// version, compile date and pictures.
#pragma once

#include "platform/Version.h"

#include <QImage>
#include <QString>

inline const QString ProgramName = QString::fromLatin1(QuorvaleName);
inline const QString ProgramVersion = QString::fromLatin1(QuorvaleVersion);
inline const char *const ProgramCompileDate = QT_TRANSLATE_NOOP("TAboutBox", "July 25, 1999");

// One of the program's pictures by its resource name (":/logo.svg", ":/glyphs/ok.svg"), at its
// own size or the one given, drawn sharp for the screen (see DesignPicture).
QImage ProgramPicture(const QString &name, const QSize &size = {});
// The start-up picture, its words in the user's language.
QImage SplashPicture();

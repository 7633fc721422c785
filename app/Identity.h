// The program's identity as its windows, its chart and its task-bar entry show it: name,
// version, compile date and pictures.
#pragma once

#include <QImage>
#include <QString>

inline const QString ProgramName = QStringLiteral("Quorvale Pro");
inline const QString ProgramVersion = QStringLiteral("1.6.12");
inline const QString ProgramCompileDate = QStringLiteral("July 25, 1999");

// One of the program's pictures by its resource name (":/logo.svg", ":/glyphs/ok.svg"), at its
// own size or the one given, drawn sharp for the screen (see DesignPicture).
QImage ProgramPicture(const QString &name, const QSize &size = {});

// The program's version page as the tests serve it.
#pragma once

#include "tests/support/LoopbackServer.h"
#include "update/WebFileInfo.h"

// The META names of the page, each set as the tag of its field as the main window sets it for
// the update check; only the author's e-mail address is left without a tag.
void SetVersionPageTags(TWfiTags &tags);
// A META line of the page.
QByteArray Meta(const char *name, const QByteArray &value);
// A body served whole with 200 OK.
LoopbackServer::Script Serve(const QByteArray &body);

// The META names of the program's version page, each set as the tag of its field, as the main
// window sets them for the update check.
#pragma once

#include "update/WebFileInfo.h"

void SetVersionPageTags(TWfiTags &tags);

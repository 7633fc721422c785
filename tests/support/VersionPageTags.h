// The META names of the program's version page, each set as the tag of its field as the main
// window sets it for the update check; only the author's e-mail address is left without a tag.
#pragma once

#include "update/WebFileInfo.h"

void SetVersionPageTags(TWfiTags &tags);

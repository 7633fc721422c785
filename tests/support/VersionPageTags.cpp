#include "tests/support/VersionPageTags.h"

void SetVersionPageTags(TWfiTags &tags) {
    tags.SetAuthorTag("author");
    tags.SetDateTag("date");
    tags.SetDownloadTag("url");
    tags.SetProductNameTag("name");
    tags.SetReadMeTag("readme");
    tags.SetRedirectTag("redirect");
    tags.SetRunParamsTag("runparams");
    tags.SetVersionTag("version");
    tags.SetSha256Tag("sha256");
}

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

QByteArray Meta(const char *name, const QByteArray &value) {
    return "<META HTTP-EQUIV=\"" + QByteArray(name) + "\" CONTENT=\"" + value + "\">\r\n";
}

LoopbackServer::Script Serve(const QByteArray &body) {
    return LoopbackServer::Answer(LoopbackServer::HttpAnswer(200, "OK", body));
}

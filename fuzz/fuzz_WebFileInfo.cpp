// Arbitrary bytes as a version page: every line is read for its META entries. Whatever the
// page, each field is a value found between CONTENT=" and a double quote, so it is at most
// 1000 characters long and holds no double quote; a date that is not in the month-name form
// raises the conversion error and nothing else.
#include "platform/SysUtils.h"
#include "platform/Version.h"
#include "tests/support/VersionPageTags.h"
#include "update/WebFileInfo.h"

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(const char *condition, int line) {
    std::fprintf(stderr, "fuzz_WebFileInfo.cpp:%d: check failed: %s\n", line, condition);
    std::abort();
}
#define CHECK(condition) ((condition) ? void(0) : Fail(#condition, __LINE__))

bool IsValue(const QString &field) {
    return field.size() <= 1000 && !field.contains(QLatin1Char('"'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString page = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    TWebFileInfo info;
    SetVersionPageTags(info.InfoTags());
    try {
        info.ParseInfoPage(page.split(QLatin1Char('\n')));
        CHECK(info.ProductDateStr().isEmpty() == info.ProductDate().isNull());
    } catch (const EConvertError &) {
        CHECK(!info.ProductDateStr().isEmpty());
    }
    for (const QString &field : {info.ProductAuthor(), info.ProductDateStr(), info.DownloadURL(),
                                 info.ProductName(), info.ProductReadMe(), info.RedirectURL(),
                                 info.RunParams(), info.ProductVersion(), info.ProductSha256()})
        CHECK(IsValue(field));
    CHECK(info.ProductReadMeExt().isEmpty()); // its tag is empty, and matches nothing
    IsNewerBuildNumber(QString::fromLatin1(QuorvaleVersion), info.ProductVersion());
    return 0;
}

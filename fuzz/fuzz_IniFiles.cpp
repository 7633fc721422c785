// Arbitrary bytes as the content of an INI file: every section and key it names is read, plus a
// few names taken from the input; then one key is written and the rest of the file must survive.
#include "platform/IniFiles.h"

#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <tuple>
#include <vector>

namespace {

[[noreturn]] void Fail(const char *condition, int line) {
    std::fprintf(stderr, "fuzz_IniFiles.cpp:%d: check failed: %s\n", line, condition);
    std::abort();
}
#define CHECK(condition) ((condition) ? void(0) : Fail(#condition, __LINE__))

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r\v\f");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r\v\f") - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? char(c + 32) : c;
        };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// What reading gives back for a written value: blanks around it dropped, then matching quotes.
std::string ReadBack(std::string_view value) {
    value = Trim(value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// Lookups scan the file, so a file of thousands of keys is checked on its first ones.
constexpr std::size_t MaxCheckedKeys = 200;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::string section = provider.ConsumeRandomLengthString(16);
    const std::string key = provider.ConsumeRandomLengthString(16);
    const std::string value = provider.ConsumeRandomLengthString(64);
    const std::string text = provider.ConsumeRemainingBytesAsString();

    const TIniDocument document(text);
    CHECK(document.Text() == text);

    std::vector<std::tuple<std::string, std::string, std::string>> known;
    for (const std::string &s : document.SectionNames()) {
        for (const std::string &k : document.KeyNames(s)) {
            if (known.size() == MaxCheckedKeys)
                break;
            const auto found = document.Value(s, k);
            CHECK(found.has_value());
            CHECK(document.ReadString(s, k, "").size() <= TIniDocument::MaxValueLength);
            known.emplace_back(s, k, *found);
        }
    }
    CHECK(document.ReadString(section, key, "default").size() <= TIniDocument::MaxValueLength);
    CHECK(document.ReadString(key, section, value).size() <= TIniDocument::MaxValueLength);

    TIniDocument edited(text);
    if (!edited.WriteString(section, key, value)) {
        CHECK(!TIniDocument::CanStore(section, key, value));
        CHECK(edited.Text() == text);
        return 0;
    }
    const std::string after = edited.Text();
    const TIniDocument reread(after);
    CHECK(reread.Text() == after);
    CHECK(reread.Value(section, key) == ReadBack(value));

    // Every other key keeps its value.
    for (const auto &[s, k, v] : known)
        if (!(SameName(s, section) && SameName(k, key)))
            CHECK(reread.Value(s, k) == v);

    // The bytes differ in at most one line of the old text: the replaced value or the place where
    // new lines went in.
    std::size_t prefix = 0;
    while (prefix < text.size() && prefix < after.size() && text[prefix] == after[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < text.size() - prefix && suffix < after.size() - prefix &&
           text[text.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    CHECK(text.find('\n', prefix) >= text.size() - suffix);

    // Writing the same value again changes nothing.
    CHECK(edited.WriteString(section, key, value));
    CHECK(edited.Text() == after);
    return 0;
}

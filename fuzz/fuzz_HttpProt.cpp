// Arbitrary bytes as a server's answer, fed to the client's answer parser whole and in pieces of
// a size taken from the input, then the close: the outcome (with an error's offset) must not
// depend on how the answer was cut, an error must stay, and what the parser reports must keep
// within its bounds. The second byte repeats a short answer, so that the header's bound is
// reached too.
#include "update/HttpParser.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void Fail(const char *condition, int line) {
    std::fprintf(stderr, "fuzz_HttpProt.cpp:%d: check failed: %s\n", line, condition);
    std::abort();
}
#define CHECK(condition) ((condition) ? void(0) : Fail(#condition, __LINE__))

bool SaneLine(std::string_view Line) {
    return Line.size() <= THttpParser::MaxLineLength && Line.find('\n') == std::string_view::npos;
}

// What the parser reported: the header's events in order, and the body's bytes.
struct Recorder : THttpParserEvents {
    const THttpParser *Parser = nullptr;
    std::string Header;
    std::string BodyBytes;
    size_t HeaderLineBytes = 0;
    bool HeaderEnded = false;

    void StatusLine(std::string_view Line) override {
        CHECK(!HeaderEnded && Header.empty() && SaneLine(Line));
        CHECK(Parser->StatusCode() >= 0 && Parser->StatusCode() <= 999);
        Header.append("S").append(Line).append("\n");
        HeaderLineBytes += Line.size();
    }
    void HeaderField(std::string_view Line, std::string_view Name,
                     std::string_view Value) override {
        CHECK(!HeaderEnded && !Header.empty() && SaneLine(Line) && !Line.empty());
        CHECK(Name.size() + Value.size() < Line.size() || (Name.empty() && Value.empty()));
        for (char c : Name)
            CHECK(!(c >= 'A' && c <= 'Z'));
        Header.append("F").append(Name).append("=").append(Value).append("\n");
        HeaderLineBytes += Line.size();
    }
    void HeaderEnd() override {
        CHECK(!HeaderEnded);
        HeaderEnded = true;
        Header.append("E");
    }
    void Body(const char *Data, size_t Len) override {
        CHECK(HeaderEnded && Len > 0);
        BodyBytes.append(Data, Len);
    }
};

struct Outcome {
    THttpParseError Fed;
    THttpParseError Ended;
    int64_t At;
    int Status;
    std::string Reason;
    int64_t Length;
    std::string Header;
    std::string Body;

    bool operator==(const Outcome &) const = default;
};

Outcome Parse(const std::string &Answer, size_t Piece, bool Head) {
    Recorder recorder;
    THttpParser parser(recorder);
    recorder.Parser = &parser;
    parser.Reset(Head);
    THttpParseError fed = hpeOk;
    for (size_t at = 0; at < Answer.size(); at += Piece) {
        const THttpParseError before = parser.Error();
        fed = parser.Execute(Answer.data() + at, std::min(Piece, Answer.size() - at));
        // An error stays, and nothing is reported after it.
        if (before != hpeOk)
            CHECK(fed == before);
    }
    if (fed != hpeOk) {
        const std::string header = recorder.Header, body = recorder.BodyBytes;
        CHECK(parser.Execute("HTTP/1.0 200 OK\r\n\r\nx", 20) == fed);
        CHECK(recorder.Header == header && recorder.BodyBytes == body);
    }
    const THttpParseError ended = parser.Finish();
    CHECK(parser.Finish() == ended);
    CHECK(fed == hpeOk || ended == fed);
    // An error says why and where: within the answer, at its end for a close too early.
    CHECK((ended == hpeOk) == parser.ErrorReason().empty());
    CHECK(parser.ErrorOffset() >= -1 && parser.ErrorOffset() <= int64_t(Answer.size()));
    CHECK((ended == hpeOk) == (parser.Phase() == hppComplete));
    CHECK(recorder.HeaderLineBytes <= THttpParser::MaxHeaderSize);
    CHECK(int64_t(recorder.BodyBytes.size()) == parser.BodyBytes());
    // A body never runs past its announced length.
    if (!parser.Headless() && parser.ContentLength() >= 0)
        CHECK(parser.BodyBytes() <= parser.ContentLength());
    if (ended == hpeOk) {
        CHECK(parser.HeaderEnded() && recorder.HeaderEnded);
        if (!parser.Headless())
            CHECK(parser.StatusCode() >= 0 && recorder.Header[0] == 'S');
    }
    if (ended == hpeNoAnswer)
        CHECK(Answer.empty());
    return {fed,
            ended,
            parser.ErrorOffset(),
            parser.StatusCode(),
            parser.Reason(),
            parser.ContentLength(),
            recorder.Header,
            recorder.BodyBytes};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *Data, size_t Size) {
    if (Size < 2 || Size > 65536)
        return 0;
    // First byte: a HEAD request (lowest bit) and the piece size (the rest; 0 feeds byte by
    // byte). Second byte: how often a short answer is repeated.
    const bool head = Data[0] & 1;
    const size_t piece = std::max<size_t>(1, Data[0] >> 1);
    const size_t repeats = Size <= 1024 ? 1 + Data[1] : 1;
    const std::string once(reinterpret_cast<const char *>(Data + 2), Size - 2);
    std::string answer;
    answer.reserve(once.size() * repeats);
    for (size_t i = 0; i < repeats; ++i)
        answer += once;

    const Outcome whole = Parse(answer, answer.size() + 1, head);
    CHECK(Parse(answer, piece, head) == whole);
    return 0;
}

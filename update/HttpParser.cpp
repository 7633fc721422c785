#include "update/HttpParser.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr std::string_view HtmlStart = "<HTML>";

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view Text) {
    while (!Text.empty() && IsBlank(Text.front()))
        Text.remove_prefix(1);
    while (!Text.empty() && IsBlank(Text.back()))
        Text.remove_suffix(1);
    return Text;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int HexValue(char c) {
    if (IsDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view Text, std::string_view Lowered) {
    return Text.size() == Lowered.size() &&
           std::equal(Text.begin(), Text.end(), Lowered.begin(),
                      [](char a, char b) { return Lower(a) == b; });
}

// A decimal count that fits 64 bits, or -1.
int64_t ParseCount(std::string_view Text) {
    if (Text.empty() || Text.size() > 18)
        return -1;
    int64_t value = 0;
    for (char c : Text) {
        if (!IsDigit(c))
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// A Content-Length value: one count, or the same count repeated in a comma-separated list as
// some servers merge repeated fields; -1 for anything else.
int64_t ParseLength(std::string_view Text) {
    int64_t length = -1;
    for (;;) {
        const size_t comma = Text.find(',');
        const int64_t count = ParseCount(Trimmed(Text.substr(0, comma)));
        if (count < 0 || (length >= 0 && count != length))
            return -1;
        length = count;
        if (comma == std::string_view::npos)
            return length;
        Text.remove_prefix(comma + 1);
    }
}

bool StartsLikeHtml(std::string_view Line) {
    return Line.size() >= HtmlStart.size() &&
           EqualsNoCase(Line.substr(0, HtmlStart.size()), "<html>");
}

} // namespace

void THttpParser::Reset(bool HeadRequest) {
    FPhase = hppStatusLine;
    FError = hpeOk;
    FErrorReason = "";
    FErrorOffset = -1;
    FHeadRequest = HeadRequest;
    FFraming = frUndecided;
    FChunkedAnnounced = false;
    FChunkPart = ckSize;
    FChunkLeft = 0;
    FOffset = 0;
    FLine.clear();
    FHeaderBytes = 0;
    FStatusCode = 0;
    FVersion10 = false;
    FReason.clear();
    FContentLength = -1;
    FBodyBytes = 0;
}

void THttpParser::SetPhase(THttpPhase Phase) {
    FPhase = Phase;
}

void THttpParser::Fail(THttpParseError Error, const char *Reason, int64_t Offset) {
    FError = Error;
    FErrorReason = Reason;
    FErrorOffset = Offset;
    SetPhase(hppFailed);
}

void THttpParser::Stop() {
    if (FPhase != hppFailed)
        SetPhase(hppComplete);
}

THttpParseError THttpParser::Execute(const char *Data, size_t Len) {
    while (Len > 0 && (HeaderPhase() || FPhase == hppBody)) {
        const bool chunkMarkers = FPhase == hppBody && FFraming == frChunked;
        size_t used;
        if (chunkMarkers && FChunkPart == ckDataEnd)
            used = ReadChunkDataEnd(*Data);
        else if (HeaderPhase() || (chunkMarkers && FChunkPart != ckData))
            used = ReadLine(Data, Len);
        else
            used = ReadBody(Data, Len);
        Data += used;
        Len -= used;
        FOffset += int64_t(used);
    }
    return FError;
}

size_t THttpParser::ReadLine(const char *Data, size_t Len) {
    const auto *lf = static_cast<const char *>(std::memchr(Data, '\n', Len));
    size_t lineBytes = lf ? size_t(lf - Data) : Len;
    // The first bytes of a header line are taken on their own, so that a page without a
    // header is known as soon as it starts, however long its first line.
    const bool judging = HeaderPhase() && FLine.size() < HtmlStart.size();
    if (judging)
        lineBytes = std::min(lineBytes, HtmlStart.size() - FLine.size());
    const bool endsLine = lf && lineBytes == size_t(lf - Data);
    const size_t take = lineBytes + (endsLine ? 1 : 0);

    // The bounds are judged at the byte that crosses them, so that the outcome does not depend
    // on how the answer was cut. The trailer of a chunked body counts against the header's.
    const bool counted = HeaderPhase() || FChunkPart == ckTrailer;
    constexpr size_t never = std::numeric_limits<size_t>::max();
    const size_t lineRoom = MaxLineLength - FLine.size();
    const size_t headerRoom = counted ? MaxHeaderSize - FHeaderBytes : never;
    if (lineBytes > lineRoom || take > headerRoom) {
        const size_t lineAt = lineBytes > lineRoom ? lineRoom : never;
        const size_t headerAt = take > headerRoom ? headerRoom : never;
        if (lineAt <= headerAt)
            Fail(hpeLineTooLong, "a line longer than the bound", FOffset + int64_t(lineAt));
        else
            Fail(hpeHeaderTooLarge, "a header longer than the bound", FOffset + int64_t(headerAt));
        return take;
    }
    FLine.append(Data, lineBytes);
    if (counted)
        FHeaderBytes += take;

    if (judging && (endsLine || FLine.size() >= HtmlStart.size()) && StartsLikeHtml(FLine)) {
        // No header at all: the page itself, line ends and all, runs to the close.
        FFraming = frHeadless;
        SetPhase(hppBody);
        if (endsLine)
            FLine += '\n';
        const std::string first = std::move(FLine);
        FLine.clear();
        FEvents.HeaderEnd();
        if (FPhase == hppBody)
            DeliverBody(first.data(), first.size());
        return take;
    }
    if (endsLine)
        EndLine(FOffset + int64_t(lineBytes));
    return take;
}

void THttpParser::EndLine(int64_t At) {
    std::string_view line = FLine;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (FPhase == hppStatusLine) {
        if (!ParseStatusLine(line))
            return Fail(hpeBadStatusLine, "a status line other than HTTP/1.x and a status", At);
        SetPhase(hppHeaders);
        if (!Interim())
            FEvents.StatusLine(line);
    } else if (FPhase == hppHeaders) {
        if (line.empty())
            StartBody(At);
        else
            HeaderLine(line, At);
    } else if (FChunkPart == ckSize) {
        ChunkSizeLine(line, At);
    } else if (line.empty()) {
        SetPhase(hppComplete); // the trailer's end
    }
    FLine.clear();
}

void THttpParser::HeaderLine(std::string_view Line, int64_t At) {
    // An interim answer's fields say nothing of the answer that follows it.
    if (Interim())
        return;
    std::string_view value;
    FName.clear();
    if (const size_t colon = Line.find(':'); colon != std::string_view::npos) {
        for (char c : Trimmed(Line.substr(0, colon)))
            FName += Lower(c);
        value = Trimmed(Line.substr(colon + 1));
    }
    if (FName == "content-length") {
        const int64_t length = ParseLength(value);
        if (length < 0)
            return Fail(hpeBadLength, "a Content-Length that is not a count", At);
        if (FContentLength >= 0 && length != FContentLength)
            return Fail(hpeBadLength, "two different Content-Length values", At);
        FContentLength = length;
    } else if (FName == "transfer-encoding") {
        if (FChunkedAnnounced || !EqualsNoCase(value, "chunked"))
            return Fail(hpeBadTransferCoding, "a transfer coding other than chunked alone", At);
        FChunkedAnnounced = true;
    }
    FEvents.HeaderField(Line, FName, value);
}

void THttpParser::StartBody(int64_t At) {
    if (Interim()) {
        SetPhase(hppStatusLine); // the final answer follows
        return;
    }
    if (FChunkedAnnounced && FContentLength >= 0)
        return Fail(hpeBadTransferCoding, "a transfer coding beside a Content-Length", At);
    if (FChunkedAnnounced && FVersion10)
        return Fail(hpeBadTransferCoding, "a transfer coding in an HTTP/1.0 answer", At);
    if (FHeadRequest || FStatusCode == 204 || FStatusCode == 304)
        FFraming = frNone;
    else if (FChunkedAnnounced)
        FFraming = frChunked;
    else if (FContentLength >= 0)
        FFraming = frLength;
    else
        FFraming = frClose;
    const bool empty = FFraming == frNone || (FFraming == frLength && FContentLength == 0);
    SetPhase(empty ? hppComplete : hppBody);
    FEvents.HeaderEnd();
}

void THttpParser::ChunkSizeLine(std::string_view Line, int64_t At) {
    constexpr size_t MaxDigits = 15; // sizes below 2^60
    size_t digits = 0;
    uint64_t size = 0;
    for (; digits < Line.size() && HexValue(Line[digits]) >= 0; ++digits)
        size = size * 16 + uint64_t(HexValue(Line[digits]));
    const std::string_view rest = Trimmed(Line.substr(digits));
    if (digits == 0 || digits > MaxDigits)
        return Fail(hpeBadChunk, "a chunk size that is not 1 to 15 hex digits", At);
    if (!rest.empty() && rest.front() != ';')
        return Fail(hpeBadChunk, "a chunk size followed by other than an extension", At);
    FChunkLeft = int64_t(size);
    FChunkPart = size == 0 ? ckTrailer : ckData;
}

size_t THttpParser::ReadChunkDataEnd(char Byte) {
    if (Byte == '\r' && FLine.empty()) {
        FLine += Byte;
    } else if (Byte == '\n') {
        FLine.clear();
        FChunkPart = ckSize;
    } else {
        Fail(hpeBadChunk, "a chunk's data not followed by a line end", FOffset);
    }
    return 1;
}

size_t THttpParser::ReadBody(const char *Data, size_t Len) {
    size_t n = Len;
    if (FFraming == frLength)
        n = size_t(std::min<uint64_t>(Len, uint64_t(FContentLength - FBodyBytes)));
    else if (FFraming == frChunked)
        n = size_t(std::min<uint64_t>(Len, uint64_t(FChunkLeft)));
    if (FFraming == frChunked && (FChunkLeft -= int64_t(n)) == 0)
        FChunkPart = ckDataEnd;
    DeliverBody(Data, n);
    if (FFraming == frLength && FBodyBytes == FContentLength && FPhase == hppBody)
        SetPhase(hppComplete);
    return n;
}

void THttpParser::DeliverBody(const char *Data, size_t Len) {
    if (Len == 0)
        return;
    FBodyBytes += int64_t(Len);
    FEvents.Body(Data, Len);
}

bool THttpParser::ParseStatusLine(std::string_view Line) {
    // "HTTP/1.x", a blank, three digits, and the reason after a blank (or nothing).
    if (Line.size() < 12 || (Line.substr(0, 8) != "HTTP/1.0" && Line.substr(0, 8) != "HTTP/1.1") ||
        Line[8] != ' ' || !IsDigit(Line[9]) || !IsDigit(Line[10]) || !IsDigit(Line[11]) ||
        (Line.size() > 12 && Line[12] != ' '))
        return false;
    FVersion10 = Line[7] == '0';
    FStatusCode = (Line[9] - '0') * 100 + (Line[10] - '0') * 10 + (Line[11] - '0');
    FReason = Line.size() > 13 ? std::string(Line.substr(13)) : std::string();
    return true;
}

THttpParseError THttpParser::Finish() {
    std::string().swap(FLine);
    std::string().swap(FName);
    switch (FPhase) {
    case hppStatusLine:
        if (FOffset == 0)
            Fail(hpeNoAnswer, "the connection closed before any byte", 0);
        else
            Fail(hpeIncomplete, "the connection closed within the header", FOffset);
        break;
    case hppHeaders:
        Fail(hpeIncomplete, "the connection closed within the header", FOffset);
        break;
    case hppBody:
        if (FFraming == frClose || FFraming == frHeadless)
            SetPhase(hppComplete);
        else
            Fail(hpeIncomplete, "the connection closed before the body's end", FOffset);
        break;
    case hppComplete:
    case hppFailed:
        break;
    }
    return FError;
}

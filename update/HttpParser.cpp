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

// A decimal count that fits 64 bits, or -1.
int64_t ParseLength(std::string_view Text) {
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

bool StartsLikeHtml(std::string_view Line) {
    if (Line.size() < HtmlStart.size())
        return false;
    for (size_t i = 0; i < HtmlStart.size(); ++i) {
        char c = Line[i];
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        if (c != HtmlStart[i])
            return false;
    }
    return true;
}

} // namespace

void THttpParser::Reset(bool HeadRequest) {
    FPhase = phStatusLine;
    FError = hpeOk;
    FStopped = false;
    FFinished = false;
    FHeadRequest = HeadRequest;
    FHeadless = false;
    FAnyByte = false;
    FLineStartJudged = false;
    FLine.clear();
    FHeaderBytes = 0;
    FStatusCode = 0;
    FReason.clear();
    FContentLength = -1;
    FBodyBytes = 0;
}

THttpParseError THttpParser::Fail(THttpParseError Error) {
    FError = Error;
    return FError;
}

THttpParseError THttpParser::Execute(const char *Data, size_t Len) {
    if (FError != hpeOk || FStopped || FFinished || Len == 0)
        return FError;
    FAnyByte = true;
    while (Len > 0 && FError == hpeOk && !FStopped) {
        if (FPhase == phBody) {
            FBodyBytes += int64_t(Len);
            FEvents.Body(Data, Len);
            break;
        }
        const auto *lf = static_cast<const char *>(std::memchr(Data, '\n', Len));
        size_t lineBytes = lf ? size_t(lf - Data) : Len;
        // The first bytes of a line are taken on their own, so that a page without a header
        // is known as soon as it starts, however long its first line.
        const bool judging = !FLineStartJudged;
        if (judging)
            lineBytes =
                std::min(lineBytes, HtmlStart.size() - std::min(FLine.size(), HtmlStart.size()));
        const bool endsLine = lf && lineBytes == size_t(lf - Data);
        const size_t take = lineBytes + (endsLine ? 1 : 0);

        // The bounds are judged at the byte that crosses them, so that the outcome does not
        // depend on how the answer was cut.
        const size_t lineRoom = MaxLineLength - FLine.size();
        const size_t headerRoom = MaxHeaderSize - FHeaderBytes;
        if (lineBytes > lineRoom || take > headerRoom) {
            constexpr size_t never = std::numeric_limits<size_t>::max();
            const size_t lineAt = lineBytes > lineRoom ? lineRoom : never;
            const size_t headerAt = take > headerRoom ? headerRoom : never;
            return Fail(lineAt <= headerAt ? hpeLineTooLong : hpeHeaderTooLarge);
        }
        FLine.append(Data, lineBytes);
        FHeaderBytes += take;
        Data += take;
        Len -= take;

        if (judging && (endsLine || FLine.size() >= HtmlStart.size())) {
            FLineStartJudged = true;
            if (StartsLikeHtml(FLine)) {
                // No header at all: the page itself, line ends and all.
                FHeadless = true;
                FPhase = phBody;
                if (endsLine)
                    FLine += '\n';
                const std::string first = std::move(FLine);
                FLine.clear();
                FEvents.HeaderEnd();
                if (!FStopped) {
                    FBodyBytes += int64_t(first.size());
                    FEvents.Body(first.data(), first.size());
                }
                continue;
            }
        }
        if (endsLine)
            EndLine();
    }
    return FError;
}

void THttpParser::EndLine() {
    std::string_view line = FLine;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    FLineStartJudged = false;
    if (FPhase == phStatusLine) {
        if (!ParseStatusLine(line)) {
            Fail(hpeBadStatusLine);
            return;
        }
        FPhase = phHeader;
        FEvents.StatusLine(line);
    } else if (line.empty()) {
        FPhase = phBody;
        FEvents.HeaderEnd();
    } else {
        std::string_view value;
        FName.clear();
        if (const size_t colon = line.find(':'); colon != std::string_view::npos) {
            for (char c : Trimmed(line.substr(0, colon)))
                FName += (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
            value = Trimmed(line.substr(colon + 1));
            if (FName == "content-length")
                FContentLength = ParseLength(value);
        }
        FEvents.HeaderField(line, FName, value);
    }
    FLine.clear();
}

bool THttpParser::ParseStatusLine(std::string_view Line) {
    // "HTTP/1.x", a blank, three digits, and the reason after a blank (or nothing).
    if (Line.size() < 12 || (Line.substr(0, 8) != "HTTP/1.0" && Line.substr(0, 8) != "HTTP/1.1") ||
        Line[8] != ' ' || !IsDigit(Line[9]) || !IsDigit(Line[10]) || !IsDigit(Line[11]) ||
        (Line.size() > 12 && Line[12] != ' '))
        return false;
    FStatusCode = (Line[9] - '0') * 100 + (Line[10] - '0') * 10 + (Line[11] - '0');
    FReason = Line.size() > 13 ? std::string(Line.substr(13)) : std::string();
    return true;
}

bool THttpParser::Bodyless() const {
    return FHeadRequest || FStatusCode == 204 || FStatusCode == 304 ||
           (FStatusCode >= 100 && FStatusCode < 200);
}

THttpParseError THttpParser::Finish() {
    std::string().swap(FLine);
    std::string().swap(FName);
    if (FFinished || FError != hpeOk || FStopped)
        return FError;
    FFinished = true;
    if (!FAnyByte)
        return Fail(hpeNoAnswer);
    if (FPhase != phBody)
        return Fail(hpeIncomplete);
    if (!FHeadless && !Bodyless() && FContentLength >= 0 && FBodyBytes < FContentLength)
        return Fail(hpeIncomplete);
    return FError;
}

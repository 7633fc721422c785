// Reads an HTTP/1.0 answer as it arrives: the status line, the header lines with a bound on the
// whole header, and the body, which runs to the close; told of the close, it says whether the
// close ended the answer cleanly. It is fed bytes in pieces of any size and gives the same
// result however the answer is cut. An error is sticky: once the answer is refused, every later
// call returns the same error. No network and no event loop: the client moves the bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum THttpParseError {
    hpeOk,
    hpeNoAnswer,      // the close came before any byte
    hpeIncomplete,    // the close came within the header, or before the announced length
    hpeBadStatusLine, // the first line is not "HTTP/1.0" or "HTTP/1.1" with a three-digit status
    hpeLineTooLong,   // a header line longer than MaxLineLength
    hpeHeaderTooLarge // the header's lines together longer than MaxHeaderSize
};

// What the parser reports, in the order of the answer.
class THttpParserEvents {
public:
    virtual ~THttpParserEvents() = default;
    // The status line, without its line end; the parser's StatusCode and Reason are set.
    virtual void StatusLine(std::string_view Line) = 0;
    // Every further non-empty header line, without its line end. Name is the text before the
    // first colon, trimmed and in small letters, Value the text after it, trimmed; both empty
    // for a line without a colon.
    virtual void HeaderField(std::string_view Line, std::string_view Name,
                             std::string_view Value) = 0;
    // The empty line that ends the header, or a line starting with "<HTML>" (Headless): the
    // page came without a header, and that line is the body's first block.
    virtual void HeaderEnd() = 0;
    // A block of the body, as it arrived.
    virtual void Body(const char *Data, size_t Len) = 0;
};

class THttpParser {
public:
    static constexpr size_t MaxLineLength = 8192;
    static constexpr size_t MaxHeaderSize = 64 * 1024;

    explicit THttpParser(THttpParserEvents &Events) : FEvents(Events) {}

    // Ready for a new answer. An answer to HEAD has no body, whatever its header says.
    void Reset(bool HeadRequest);
    // Reads the bytes; the error, hpeOk while the answer is sound.
    THttpParseError Execute(const char *Data, size_t Len);
    // The connection has closed: hpeOk when that ended the answer cleanly. Frees what the
    // parser held.
    THttpParseError Finish();
    // Ignores whatever follows (the client has ended the answer itself).
    void Stop() { FStopped = true; }

    THttpParseError Error() const { return FError; }
    int StatusCode() const { return FStatusCode; }
    const std::string &Reason() const { return FReason; }
    // The announced length; -1 when the header gave none or one that is not a count.
    int64_t ContentLength() const { return FContentLength; }
    bool InBody() const { return FPhase == phBody; }
    bool Headless() const { return FHeadless; }
    // Bytes of the body so far.
    int64_t BodyBytes() const { return FBodyBytes; }

private:
    enum TPhase { phStatusLine, phHeader, phBody };
    THttpParseError Fail(THttpParseError Error);
    void EndLine();
    bool ParseStatusLine(std::string_view Line);
    bool Bodyless() const;

    THttpParserEvents &FEvents;
    TPhase FPhase = phStatusLine;
    THttpParseError FError = hpeOk;
    bool FStopped = false;
    bool FFinished = false;
    bool FHeadRequest = false;
    bool FHeadless = false;
    bool FAnyByte = false;
    // Whether the first bytes of the current line have been looked at for "<HTML>".
    bool FLineStartJudged = false;
    std::string FLine; // the current header line so far, without its line feed
    std::string FName;
    size_t FHeaderBytes = 0;
    int FStatusCode = 0;
    std::string FReason;
    int64_t FContentLength = -1;
    int64_t FBodyBytes = 0;
};

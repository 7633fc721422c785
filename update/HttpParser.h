// Reads an HTTP answer as it arrives: the status line, the header lines with a bound on the
// whole header, and the body, framed by its Content-Length, by chunked transfer coding, or by
// the close. It is fed bytes in pieces of any size and gives the same result however the answer
// is cut. Where the answer stands is one phase, changed in one place; an error is sticky: once
// the answer is refused, every later call returns the same error, with its reason and the
// offset of the byte at which it arose. No network and no event loop: the client moves the
// bytes.
//
// Chunked answers are decoded rather than refused: a server may send them whatever our request
// said, and the chunk markers are strictly framed, so decoding costs little and keeps an update
// that a refusal would make unreachable. Sizes are hex digits alone (at most 15), and the
// trailer counts against the header's bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum THttpParseError {
    hpeOk,
    hpeNoAnswer,       // the close came before any byte
    hpeIncomplete,     // the close came within the header, or before the body's end
    hpeBadStatusLine,  // the first line is not "HTTP/1.0" or "HTTP/1.1" with a three-digit status
    hpeLineTooLong,    // a header or chunk-size line longer than MaxLineLength
    hpeHeaderTooLarge, // the header's lines (and the trailer's) together longer than MaxHeaderSize
    hpeBadLength,      // a Content-Length that is not a count, or two that differ
    hpeBadTransferCoding, // a transfer coding other than "chunked" alone, or beside a length
    hpeBadChunk           // a chunk's size line or the line end after its data is malformed
};

// Where the answer stands. Complete: the answer has ended (by its length, its last chunk, the
// end of a bodyless header, the close, or the client's Stop); whatever follows is not read.
enum THttpPhase { hppStatusLine, hppHeaders, hppBody, hppComplete, hppFailed };

// What the parser reports, in the order of the answer.
class THttpParserEvents {
public:
    virtual ~THttpParserEvents() = default;
    // The status line, without its line end; the parser's StatusCode and Reason are set.
    // Interim answers (1xx) are read past without a word: only the final answer is reported.
    virtual void StatusLine(std::string_view Line) = 0;
    // Every further non-empty header line, without its line end. Name is the text before the
    // first colon, trimmed and in small letters, Value the text after it, trimmed; both empty
    // for a line without a colon.
    virtual void HeaderField(std::string_view Line, std::string_view Name,
                             std::string_view Value) = 0;
    // The empty line that ends the header, or a line starting with "<HTML>" (Headless): the
    // page came without a header, and that line is the body's first block.
    virtual void HeaderEnd() = 0;
    // A block of the body, as it arrived (chunked bodies without their markers).
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
    // The connection has closed: hpeOk when the answer had ended or the close ends it. Called
    // once; frees what the parser held.
    THttpParseError Finish();
    // The client has ended the answer itself: whatever follows is not read.
    void Stop();

    THttpPhase Phase() const { return FPhase; }
    THttpParseError Error() const { return FError; }
    // What was wrong, in words, and the offset in the answer of the byte at which it showed
    // (the answer's length for a close that came too early); empty and -1 without an error.
    std::string_view ErrorReason() const { return FErrorReason; }
    int64_t ErrorOffset() const { return FErrorOffset; }
    int StatusCode() const { return FStatusCode; }
    const std::string &Reason() const { return FReason; }
    // The announced length; -1 when the header gave none.
    int64_t ContentLength() const { return FContentLength; }
    bool HeaderEnded() const { return FFraming != frUndecided; }
    bool Headless() const { return FFraming == frHeadless; }
    // Bytes of the body so far.
    int64_t BodyBytes() const { return FBodyBytes; }

private:
    // How the body's end is known; undecided while the header runs.
    enum TFraming { frUndecided, frNone, frLength, frChunked, frClose, frHeadless };
    // Where a chunked body stands.
    enum TChunkPart { ckSize, ckData, ckDataEnd, ckTrailer };

    void SetPhase(THttpPhase Phase);
    void Fail(THttpParseError Error, const char *Reason, int64_t Offset);
    size_t ReadLine(const char *Data, size_t Len);
    size_t ReadBody(const char *Data, size_t Len);
    size_t ReadChunkDataEnd(char Byte);
    void EndLine(int64_t At);
    void StartBody(int64_t At);
    void HeaderLine(std::string_view Line, int64_t At);
    void ChunkSizeLine(std::string_view Line, int64_t At);
    void DeliverBody(const char *Data, size_t Len);
    bool ParseStatusLine(std::string_view Line);
    bool Interim() const { return FStatusCode >= 100 && FStatusCode < 200; }
    bool HeaderPhase() const { return FPhase == hppStatusLine || FPhase == hppHeaders; }

    THttpParserEvents &FEvents;
    THttpPhase FPhase = hppStatusLine;
    THttpParseError FError = hpeOk;
    const char *FErrorReason = "";
    int64_t FErrorOffset = -1;
    bool FHeadRequest = false;
    TFraming FFraming = frUndecided;
    bool FChunkedAnnounced = false;
    TChunkPart FChunkPart = ckSize;
    int64_t FChunkLeft = 0;
    int64_t FOffset = 0; // bytes of the answer taken so far
    std::string FLine;   // the current line so far, without its line feed
    std::string FName;
    size_t FHeaderBytes = 0;
    int FStatusCode = 0;
    bool FVersion10 = false;
    std::string FReason;
    int64_t FContentLength = -1;
    int64_t FBodyBytes = 0;
};

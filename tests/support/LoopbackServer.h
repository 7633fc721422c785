// A scriptable server on 127.0.0.1 (or ::1) for the network tests: each connection it accepts runs
// a script of steps (read the request, send bytes, pause, close, reset, stall), so that a test can
// answer well or badly byte for byte. It runs on threads of its own with blocking sockets, so it
// answers while the test's event loop waits, and records every request it read.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <atomic>
#include <memory>
#include <vector>

class LoopbackServer {
public:
    struct Step {
        enum Kind {
            ReadRequest, // read up to the blank line ending the request, and its body
            Send,        // send Bytes (TCP_NODELAY: each Send leaves as its own segment)
            SendPattern, // send Count bytes of PatternByte(i), in large blocks
            Pause,       // wait Milliseconds
            Close,       // close gracefully
            Reset,       // close with a reset (unsent and unread data discarded)
            Stall        // send nothing more; close only when the client does or the server ends
        };
        Kind What = Close;
        QByteArray Bytes;
        qint64 Count = 0;
        int Milliseconds = 0;
    };
    using Script = std::vector<Step>;

    // Listens on a free port of the loopback address ("127.0.0.1" or "::1"); with no script
    // set, every connection reads the request and gets a 404.
    explicit LoopbackServer(const QString &Address = QStringLiteral("127.0.0.1"));
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer &) = delete;
    LoopbackServer &operator=(const LoopbackServer &) = delete;

    quint16 Port() const { return FPort; }
    // "http://127.0.0.1:<port>" + Path, or "http://[::1]:<port>" + Path.
    QString Url(const QString &Path = QStringLiteral("/")) const;

    // The scripts of the next connections, in order; the last one serves every later connection.
    void SetScripts(std::vector<Script> Scripts);
    void SetScript(Script S) { SetScripts({std::move(S)}); }

    // Every request read so far (request line, headers and body), one per connection, in order.
    QList<QByteArray> Requests() const;
    // Connections accepted so far.
    int Connections() const;
    // Waits (running the caller's event loop) until this many connections have ended.
    bool WaitForFinished(int Count, int Milliseconds = 5000) const;

    // Steps.
    static Step ReadRequest() { return {Step::ReadRequest, {}, 0, 0}; }
    static Step Send(const QByteArray &Bytes) { return {Step::Send, Bytes, 0, 0}; }
    static Step SendPattern(qint64 Count) { return {Step::SendPattern, {}, Count, 0}; }
    static Step Pause(int Milliseconds) { return {Step::Pause, {}, 0, Milliseconds}; }
    static Step Close() { return {Step::Close, {}, 0, 0}; }
    static Step Reset() { return {Step::Reset, {}, 0, 0}; }
    static Step Stall() { return {Step::Stall, {}, 0, 0}; }

    // Common scripts: read the request, then send the bytes and close; the same with the bytes
    // cut at the given offsets and a pause between the pieces, so that the client reads each
    // piece on its own.
    static Script Answer(const QByteArray &Bytes);
    static Script AnswerInPieces(const QByteArray &Bytes, const QList<int> &CutOffsets,
                                 int PauseMilliseconds = 5);
    // An answer with a status line, Content-Length and Content-Type, extra header lines
    // (each without its line end) and the body.
    static QByteArray HttpAnswer(int Status, const QByteArray &Reason, const QByteArray &Body,
                                 const QList<QByteArray> &ExtraHeaders = {},
                                 const QByteArray &ContentType = "text/html");
    // The bytes SendPattern sends: byte i of the body.
    static char PatternByte(qint64 i) { return char('a' + i % 23); }

    // A loopback port nobody listens on: connecting to it is refused.
    static quint16 RefusingPort();

private:
    struct TShared;
    std::shared_ptr<TShared> FShared;
    QString FHost; // as an address writes it
    quint16 FPort = 0;
};

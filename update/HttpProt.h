// An event-driven HTTP/1.0 client: a request starts with one call that returns at once, goes on
// through the socket's events and ends with exactly one OnRequestDone, delivered from the event
// loop. Every local failure ends with status 404 and a reason that says what went wrong.
#pragma once

#include "platform/SysUtils.h"
#include "update/HttpParser.h"
#include "update/WSocket.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;
class QTimer;

enum THttpState {
    httpReady,
    httpStarting,
    httpConnected,
    httpResolvingHost,
    httpConnecting,
    httpReceivingHeader,
    httpReceivingBody,
    httpAborting
};
enum THttpRequest { httpNone, httpGET, httpPOST, httpHEAD };

class EHttpException : public Exception {
public:
    EHttpException(const std::string &Msg, int Code) : Exception(Msg), FErrorCode(Code) {}
    int ErrorCode() const { return FErrorCode; }

private:
    int FErrorCode;
};

// The parts of an address; every part is empty when the address does not give it. An IPv6
// host keeps its brackets ("[::1]"), as the Host line wants it.
struct TUrlParts {
    QString Proto;
    QString User;
    QString Pass;
    QString Host;
    QString Port;
    QString Path;
};
TUrlParts ParseURL(const QString &URL);

// "Mon, 02 Jan 2006 15:04:05" of a date and time, used as given (the caller appends " GMT").
QString FormatHttpDate(const QDateTime &DateTime);
// Standard Base64 of the bytes, padded with "=".
QByteArray EncodeBase64(const QByteArray &Bytes);

class THttpCli : public QObject, private THttpParserEvents {
    Q_OBJECT

public:
    explicit THttpCli(QObject *Owner = nullptr);
    ~THttpCli() override;

    using TNotifyEvent = std::function<void(QObject *Sender)>;
    using TOnCommand = std::function<void(QObject *Sender, QString &Command)>;
    using TDocDataEvent = std::function<void(QObject *Sender, const char *Buffer, int Len)>;
    using THttpRequestDone =
        std::function<void(QObject *Sender, THttpRequest RqType, quint16 Error)>;

    // Published properties.
    QString URL() const { return FURL; }
    void SetURL(const QString &Value) { FURL = Value; }
    QString Proxy() const { return FProxy; }
    void SetProxy(const QString &Value) { FProxy = Value; }
    QString ProxyPort() const { return FProxyPort; }
    void SetProxyPort(const QString &Value) { FProxyPort = Value; }
    // Sent as "From: " when not empty.
    QString Sender() const { return FSender; }
    void SetSender(const QString &Value) { FSender = Value; }
    QString Agent() const { return FAgent; }
    void SetAgent(const QString &Value) { FAgent = Value; }
    QString Reference() const { return FReference; }
    void SetReference(const QString &Value) { FReference = Value; }
    QString Username() const { return FUsername; }
    void SetUsername(const QString &Value) { FUsername = Value; }
    QString Password() const { return FPassword; }
    void SetPassword(const QString &Value) { FPassword = Value; }
    QString ProxyUsername() const { return FProxyUsername; }
    void SetProxyUsername(const QString &Value) { FProxyUsername = Value; }
    QString ProxyPassword() const { return FProxyPassword; }
    void SetProxyPassword(const QString &Value) { FProxyPassword = Value; }
    bool NoCache() const { return FNoCache; }
    void SetNoCache(bool Value) { FNoCache = Value; }
    // Sends "If-Modified-Since" when valid.
    QDateTime ModifiedSince() const { return FModifiedSince; }
    void SetModifiedSince(const QDateTime &Value) { FModifiedSince = Value; }
    QString Cookie() const { return FCookie; }
    void SetCookie(const QString &Value) { FCookie = Value; }
    QString ContentTypePost() const { return FContentTypePost; }
    void SetContentTypePost(const QString &Value) { FContentTypePost = Value; }
    bool MultiThreaded() const { return FMultiThreaded; }
    void SetMultiThreaded(bool Value);
    // Milliseconds without any byte received after which a request ends as timed out.
    int ReceiveTimeout() const { return FReceiveTimeout; }
    void SetReceiveTimeout(int Milliseconds) { FReceiveTimeout = Milliseconds; }

    // Run-time state.
    THttpState State() const { return FState; }
    THttpRequest RequestType() const { return FRequestType; }
    int StatusCode() const { return FStatusCode; }
    QString ReasonPhrase() const { return FReasonPhrase; }
    // The length the answer announced; -1 when it announced none.
    qint64 ContentLength() const { return FParser.ContentLength(); }
    QString ContentType() const { return FContentType; }
    // Where the body goes, and the body of a POST; both belong to the caller.
    QIODevice *ReceiveStream() const { return FReceiveStream; }
    void SetReceiveStream(QIODevice *Stream) { FReceiveStream = Stream; }
    QIODevice *PostStream() const { return FPostStream; }
    void SetPostStream(QIODevice *Stream) { FPostStream = Stream; }
    qint64 BytesReceived() const { return FBytesReceived; }
    qint64 SentCount() const { return FSentCount; }
    const QStringList &ResponseHeaderLines() const { return FResponseHeaderLines; }
    const QStringList &AuthChallenges() const { return FAuthChallenges; }
    quint16 RequestDoneError() const { return FRequestDoneError; }
    QString HostHeader() const { return FHostHeader; }
    QString ConnectHost() const { return FConnectHost; }
    QString ConnectPort() const { return FConnectPort; }
    QString RequestPath() const { return FRequestPath; }
    QString DocumentName() const { return FDocumentName; }
    TWSocket *CtrlSocket() const { return FCtrlSocket.get(); }

    // Starts a request of the kind; returns at once.
    void StartRequest(THttpRequest Rq);
    void GetASync() { StartRequest(httpGET); }
    void PostASync() { StartRequest(httpPOST); }
    void HeadASync() { StartRequest(httpHEAD); }
    // Ends the running request: status 404, "Connection aborted on request", error 3.
    void Abort();

    TNotifyEvent OnTrace;
    TNotifyEvent OnSessionConnected;
    TNotifyEvent OnHeaderData;
    TOnCommand OnCommand;
    TNotifyEvent OnHeaderBegin;
    TNotifyEvent OnHeaderEnd;
    TNotifyEvent OnRequestHeaderBegin;
    TNotifyEvent OnRequestHeaderEnd;
    TNotifyEvent OnDocBegin;
    TDocDataEvent OnDocData;
    TNotifyEvent OnDocEnd;
    TNotifyEvent OnSendBegin;
    TNotifyEvent OnSendData;
    TNotifyEvent OnSendEnd;
    TNotifyEvent OnStateChange;
    THttpRequestDone OnRequestDone;
    TNotifyEvent OnLocationChange;

    // The most relocations one request follows.
    static constexpr int MaxRelocations = 20;

protected:
    void customEvent(QEvent *Event) override;

private:
    struct TMessage;
    void SetState(THttpState NewState);
    void PostMessageToSelf(int Message);
    void SocketDnsLookupDone(QObject *Sender, quint16 Error);
    void SocketSessionConnected(QObject *Sender, quint16 Error);
    void SocketDataAvailable(QObject *Sender, quint16 Error);
    void SocketDataSent(QObject *Sender, quint16 Error);
    void SocketSessionClosed(QObject *Sender, quint16 Error);
    void SendRequest(const QString &Method, const QString &Version);
    void SendCommand(const QString &Command);
    // What the parser reads from the answer.
    void StatusLine(std::string_view Line) override;
    void HeaderField(std::string_view Line, std::string_view Name, std::string_view Value) override;
    void HeaderEnd() override;
    void Body(const char *Data, size_t Len) override;
    void HeaderLineRead(std::string_view Line);
    void FollowLocation(const QString &Location);
    void SendPostBlock();
    void ResetAnswer();
    void StartLookup();
    // Ends the request with status 404 and the reason: the connection, if any, is closed, and
    // its close ends the request.
    void FailAndEnd(const QString &Reason, quint16 Error);
    // Ends an error answer after its status line, as the server sent it.
    void EndErrorAnswer();
    void Fail(const QString &Reason, quint16 Error);
    // The request's end, once: tells the parser the answer is over, judges what it says, and
    // posts set-ready.
    void Complete(quint16 Error);
    void JudgeAnswer(THttpParseError Error, quint16 SocketError);
    void EndNow(const QString &Reason, quint16 Error);
    void TimedOut();
    void RestartTimer();

    std::unique_ptr<TWSocket> FCtrlSocket;
    std::unique_ptr<QTimer> FTimer;
    THttpParser FParser{*this};
    QString FURL;
    QString FProxy;
    QString FProxyPort = QStringLiteral("80");
    QString FSender;
    QString FAgent;
    QString FReference;
    QString FUsername;
    QString FPassword;
    QString FProxyUsername;
    QString FProxyPassword;
    bool FNoCache = false;
    QDateTime FModifiedSince;
    QString FCookie;
    QString FContentTypePost = QStringLiteral("application/x-www-form-urlencoded");
    bool FMultiThreaded = false;
    int FReceiveTimeout = 30000;

    THttpState FState = httpReady;
    THttpRequest FRequestType = httpNone;
    int FStatusCode = 0;
    QString FReasonPhrase;
    QString FContentType;
    QIODevice *FReceiveStream = nullptr;
    QIODevice *FPostStream = nullptr;
    qint64 FBytesReceived = 0;
    qint64 FSentCount = 0;
    QStringList FResponseHeaderLines;
    QStringList FAuthChallenges;
    quint16 FRequestDoneError = 0;
    QString FHostHeader;
    QString FConnectHost;
    QString FConnectPort;
    QString FRequestPath;
    QString FDocumentName;
    QString FScheme;
    bool FRelocating = false;
    bool FConnected = false;
    bool FSending = false;
    bool FUnsupportedLocation = false;
    // The header ended with a relocation: the close of this connection starts the next one.
    bool FRelocationPending = false;
    // A local failure decided the status and reason.
    bool FFailed = false;
    // An error answer was ended after its status line: it stands as the server sent it.
    bool FAnswered = false;
    // The request's completion is under way: set-ready has been posted.
    bool FEnding = false;
    quint64 FRequestSerial = 0;
    int FRelocations = 0;
    bool FHeaderBegun = false;
    int FBodyDataCount = 0;
    QByteArray FRequestBuffer;
    // Each read takes at most this much from the socket; the parser holds what a header line
    // still lacks.
    static constexpr int ReceiveBlockSize = 65536;
    std::vector<char> FReceiveBuffer;
};

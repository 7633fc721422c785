#include "update/HttpProt.h"

#include "platform/Forms.h"

#include <QCoreApplication>
#include <QEvent>
#include <QIODevice>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// The client's own messages, posted to itself so that completion never runs inside the
// socket's handlers or inside StartRequest.
enum : int { MsgRequestDone = 1025, MsgSetReady = 1026, MsgRestart = 1027 };

QEvent::Type MessageKind() {
    static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
    return kind;
}

// Body blocks are read straight from the socket into a buffer of this size; lines of the
// header go through the 8192-byte line buffer.
constexpr int BodyBlockSize = 65536;

// A decimal count that fits 64 bits, or -1.
qint64 ParseLength(const QByteArray &Text) {
    if (Text.isEmpty() || Text.size() > 18)
        return -1;
    qint64 value = 0;
    for (char c : Text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

struct THttpCli::TMessage : QEvent {
    TMessage(int message, quint64 serial, THttpRequest kind, quint16 error)
        : QEvent(MessageKind()), Message(message), Serial(serial), Kind(kind), Error(error) {}
    int Message;
    quint64 Serial;
    THttpRequest Kind;
    quint16 Error;
};

// ---- Helpers ------------------------------------------------------------------------------

TUrlParts ParseURL(const QString &URL) {
    TUrlParts parts;
    if (URL.isEmpty())
        return parts;
    QString rest;
    const int schemeEnd = URL.indexOf(QLatin1String("://"));
    if (schemeEnd >= 0) {
        parts.Proto = URL.left(schemeEnd);
        rest = URL.mid(schemeEnd + 3);
    } else if (URL.startsWith(QLatin1Char('/'))) {
        parts.Proto = QStringLiteral("http");
        if (URL.size() > 1 && URL.at(1) != QLatin1Char('/')) {
            parts.Path = URL;
            return parts;
        }
        rest = URL.mid(1);
    } else if (URL.left(5).toLower() == QLatin1String("http:")) {
        parts.Proto = QStringLiteral("http");
        if (URL.size() > 6 && URL.at(6) != QLatin1Char('/')) {
            parts.Path = URL.mid(5);
            return parts;
        }
        rest = URL.mid(6);
    } else if (URL.left(7).toLower() == QLatin1String("mailto:")) {
        parts.Proto = QStringLiteral("mailto");
        rest = URL.mid(URL.indexOf(QLatin1Char(':')) + 1);
    } else {
        rest = URL;
    }

    const int slash = rest.indexOf(QLatin1Char('/'));
    const QString authority = slash >= 0 ? rest.left(slash) : rest;
    if (slash >= 0)
        parts.Path = rest.mid(slash);
    const int colon = authority.lastIndexOf(QLatin1Char(':'));
    const int at = authority.lastIndexOf(QLatin1Char('@'));
    if (colon < 0 && at < 0) {
        parts.Host = authority;
    } else if (colon > at) {
        parts.Port = authority.mid(colon + 1);
        parts.Host = authority.mid(at + 1, colon - at - 1);
    } else {
        parts.Host = authority.mid(at + 1);
    }
    if (at >= 0) {
        const QString credentials = authority.left(at);
        const int split = credentials.indexOf(QLatin1Char(':'));
        parts.User = split >= 0 ? credentials.left(split) : credentials;
        if (split >= 0)
            parts.Pass = credentials.mid(split + 1);
    }
    return parts;
}

QString FormatHttpDate(const QDateTime &DateTime) {
    static const char *const days = "MonTueWedThuFriSatSun";
    static const char *const months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const QDate date = DateTime.date();
    const QTime time = DateTime.time();
    const int day = date.dayOfWeek() - 1; // Monday first
    return QStringLiteral("%1, %2 %3 %4 %5:%6:%7")
        .arg(QString::fromLatin1(days + 3 * day, 3))
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(QString::fromLatin1(months + 3 * (date.month() - 1), 3))
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(time.hour(), 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'));
}

QByteArray EncodeBase64(const QByteArray &Bytes) {
    return Bytes.toBase64();
}

// ---- The client -----------------------------------------------------------------------------

THttpCli::THttpCli(QObject *Owner)
    : QObject(Owner), FCtrlSocket(std::make_unique<TWSocket>()), FTimer(std::make_unique<QTimer>()),
      FReceiveBuffer(ReceiveBufferSize + 1), FBodyBuffer(BodyBlockSize) {
    FCtrlSocket->OnSessionConnected = [this](QObject *S, quint16 E) {
        SocketSessionConnected(S, E);
    };
    FCtrlSocket->OnSessionClosed = [this](QObject *S, quint16 E) {
        HandleSessionClosed(S, E);
    };
    FCtrlSocket->OnDataAvailable = [this](QObject *S, quint16 E) {
        SocketDataAvailable(S, E);
    };
    FCtrlSocket->OnDataSent = [this](QObject *S, quint16 E) {
        SocketDataSent(S, E);
    };
    FCtrlSocket->OnDnsLookupDone = [this](QObject *S, quint16 E) {
        SocketDnsLookupDone(S, E);
    };
    FTimer->setSingleShot(true);
    connect(FTimer.get(), &QTimer::timeout, this, [this] { Guard(this, [this] { TimedOut(); }); });
}

THttpCli::~THttpCli() {
    FTimer->stop();
    // The socket's events must not reach a client that is going away.
    FCtrlSocket->OnSessionClosed = nullptr;
    FCtrlSocket->OnDnsLookupDone = nullptr;
}

void THttpCli::SetMultiThreaded(bool Value) {
    FMultiThreaded = Value;
    FCtrlSocket->SetMultiThreaded(Value);
}

void THttpCli::SetState(THttpState NewState) {
    FState = NewState;
    CallEvent(OnStateChange, this);
    if (NewState == httpReady)
        PostMessageToSelf(MsgRequestDone);
}

void THttpCli::PostMessageToSelf(int Message) {
    QCoreApplication::postEvent(
        this, new TMessage(Message, FRequestSerial, FRequestType, FRequestDoneError));
}

void THttpCli::customEvent(QEvent *Event) {
    if (Event->type() != MessageKind())
        return QObject::customEvent(Event);
    const auto *message = static_cast<TMessage *>(Event);
    switch (message->Message) {
    case MsgRequestDone:
        CallEvent(OnRequestDone, this, message->Kind, message->Error);
        break;
    case MsgSetReady:
        if (message->Serial == FRequestSerial && FState != httpReady)
            SetState(httpReady);
        break;
    case MsgRestart:
        // An Abort or a time-out since the relocation's close has already ended the request.
        if (message->Serial == FRequestSerial && !FEnding && FState != httpAborting)
            Guard(this, [this] { RestartAfterRelocation(); });
        break;
    }
}

void THttpCli::StartRequest(THttpRequest Rq) {
    if (FState != httpReady)
        throw EHttpException("HTTP component is busy", 1);
    if (Rq == httpPOST && !FPostStream)
        throw EHttpException("HTTP component has nothing to post", 2);

    ++FRequestSerial;
    FResponseHeaderLines.clear();
    FAuthChallenges.clear();
    FRequestType = Rq;
    FRequestDoneError = 0;
    FCtrlSocket->OnSessionClosed = [this](QObject *S, quint16 E) {
        HandleSessionClosed(S, E);
    };
    FEnding = false;
    FFailed = false;
    FRelocations = 0;
    SetState(httpStarting);
    FDocumentName.clear();
    FStatusCode = 0;
    FBytesReceived = 0;
    FSentCount = 0;
    FSending = false;
    ResetAnswer();

    const TUrlParts url = ParseURL(FURL);
    FScheme = url.Proto.isEmpty() ? QStringLiteral("http") : url.Proto;
    FHostHeader = url.Host;
    if (!url.User.isEmpty()) {
        FUsername = url.User;
        FPassword = url.Pass;
    }
    QString path = url.Path;
    if (FProxy.isEmpty()) {
        FRequestPath = path;
        FConnectHost = url.Host;
        FConnectPort = url.Port.isEmpty() ? QStringLiteral("80") : url.Port;
    } else {
        FRequestPath = FScheme + QLatin1String("://") + url.Host + path;
        const TUrlParts proxy = ParseURL(FProxy);
        FConnectHost = proxy.Host;
        FConnectPort = proxy.Port.isEmpty() ? FProxyPort : proxy.Port;
    }
    if (path.isEmpty()) {
        path = QStringLiteral("/");
        if (FProxy.isEmpty())
            FRequestPath = path;
        else
            FRequestPath += path;
    }
    if (path != QLatin1String("/")) {
        QString name = path;
        if (name.endsWith(QLatin1Char('/')))
            name.chop(1);
        name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1).left(255);
        FDocumentName = name.left(name.indexOf(QLatin1Char('?')));
    } else {
        FDocumentName = QStringLiteral("document.htm");
    }

    RestartTimer();
    // Only plain http is spoken here: an address of another kind would otherwise be fetched in
    // plain text from the wrong port.
    if (FScheme.compare(QLatin1String("http"), Qt::CaseInsensitive) != 0) {
        Fail(QStringLiteral("Unsupported address"), 0);
        HandleSessionClosed(nullptr, 0);
        return;
    }
    StartLookup();
}

void THttpCli::ResetAnswer() {
    FContentLength = -1;
    FContentType.clear();
    FReceiveLen = 0;
    FAnswerBytes = 0;
    FHeaderLineCount = 0;
    FBodyDataCount = 0;
    FRelocating = false;
    FUnsupportedLocation = false;
    FRelocationPending = false;
    FHeadless = false;
}

void THttpCli::StartLookup() {
    SetState(httpResolvingHost);
    if (FConnectHost.isEmpty()) {
        Fail(QStringLiteral("can't resolve hostname to IP address"), 0);
        HandleSessionClosed(nullptr, 0);
        return;
    }
    FCtrlSocket->DnsLookup(FConnectHost);
}

void THttpCli::RestartAfterRelocation() {
    ResetAnswer();
    StartLookup();
}

void THttpCli::Fail(const QString &Reason, quint16 Error) {
    FStatusCode = 404;
    FReasonPhrase = Reason;
    FRequestDoneError = Error;
    FFailed = true;
}

void THttpCli::RestartTimer() {
    if (FReceiveTimeout > 0)
        FTimer->start(FReceiveTimeout);
}

// ---- Connection ---------------------------------------------------------------------------

void THttpCli::SocketDnsLookupDone(QObject *, quint16 Error) {
    if (FState != httpResolvingHost || FEnding)
        return;
    if (Error != 0) {
        Fail(QStringLiteral("can't resolve hostname to IP address"), 0);
        HandleSessionClosed(nullptr, 0);
        return;
    }
    SetState(httpConnecting);
    try {
        FCtrlSocket->SetAddr(FCtrlSocket->DnsResult());
        FCtrlSocket->SetPort(FConnectPort);
        FCtrlSocket->SetProto(QStringLiteral("tcp"));
        FCtrlSocket->Connect();
    } catch (const std::exception &) {
        const int error = FCtrlSocket->LastError();
        Fail(QStringLiteral("can't connect: %1 (Error #%2)").arg(SocketErrorText(error)).arg(error),
             quint16(error));
        // Closing raises the session-closed event, which ends the request.
        FCtrlSocket->Close();
        HandleSessionClosed(nullptr, 0);
    }
}

void THttpCli::SocketSessionConnected(QObject *, quint16 Error) {
    if (FState != httpConnecting || FEnding)
        return;
    if (Error != 0) {
        Fail(QStringLiteral("%1 (Error #%2)").arg(SocketErrorText(Error)).arg(Error), 0);
        HandleSessionClosed(nullptr, 0);
        return;
    }
    FConnected = true;
    SetState(httpConnected);
    CallEvent(OnSessionConnected, this);
    FReceiveLen = 0;
    SetState(httpReceivingHeader);
    try {
        static const char *const methods[] = {"GET", "GET", "POST", "HEAD"};
        SendRequest(QString::fromLatin1(methods[FRequestType]), QStringLiteral("1.0"));
        if (FRequestType == httpPOST) {
            CallEvent(OnSendBegin, this);
            FSending = true;
            SendPostBlock();
        }
    } catch (const std::exception &) {
        FCtrlSocket->Close();
    }
}

void THttpCli::SendCommand(const QString &Command) {
    QString line = Command;
    CallEvent(OnCommand, this, line);
    FRequestBuffer += line.toLatin1();
    FRequestBuffer += "\r\n";
}

void THttpCli::SendRequest(const QString &Method, const QString &Version) {
    CallEvent(OnRequestHeaderBegin, this);
    SendCommand(Method + QLatin1Char(' ') + FRequestPath + QLatin1String(" HTTP/") + Version);
    if (!FSender.isEmpty())
        SendCommand(QLatin1String("From: ") + FSender);
    if (!FReference.isEmpty())
        SendCommand(QLatin1String("Referer: ") + FReference);
    if (FRequestType == httpPOST && !FContentTypePost.isEmpty())
        SendCommand(QLatin1String("Content-Type: ") + FContentTypePost);
    if (!FAgent.isEmpty())
        SendCommand(QLatin1String("User-Agent: ") + FAgent);
    SendCommand(QLatin1String("Host: ") + FHostHeader);
    if (FNoCache)
        SendCommand(QStringLiteral("Pragma: no-cache"));
    if (FRequestType == httpPOST)
        SendCommand(QLatin1String("Content-Length: ") + QString::number(FPostStream->size()));
    if (FModifiedSince.isValid())
        SendCommand(QLatin1String("If-Modified-Since: ") + FormatHttpDate(FModifiedSince) +
                    QLatin1String(" GMT"));
    if (!FUsername.isEmpty())
        SendCommand(
            QLatin1String("Authorization: Basic ") +
            QString::fromLatin1(EncodeBase64((FUsername + QLatin1Char(':') + FPassword).toUtf8())));
    if (!FProxy.isEmpty() && !FProxyUsername.isEmpty())
        SendCommand(QLatin1String("Proxy-Authorization: Basic ") +
                    QString::fromLatin1(EncodeBase64(
                        (FProxyUsername + QLatin1Char(':') + FProxyPassword).toUtf8())));
    if (!FCookie.isEmpty())
        SendCommand(QLatin1String("Cookie: ") + FCookie);
    CallEvent(OnRequestHeaderEnd, this);
    SendCommand(QString());
    const QByteArray request = std::exchange(FRequestBuffer, QByteArray());
    FCtrlSocket->SendStr(request);
}

void THttpCli::SocketDataSent(QObject *, quint16) {
    if (FSending)
        SendPostBlock();
}

void THttpCli::SendPostBlock() {
    char block[8193];
    const qint64 n = FPostStream ? FPostStream->read(block, sizeof block) : -1;
    if (n > 0) {
        FSentCount += n;
        CallEvent(OnSendData, this);
        FCtrlSocket->Send(block, int(n));
    }
    if (n <= 0 || FPostStream->atEnd()) {
        FSending = false;
        CallEvent(OnSendEnd, this);
    }
}

// ---- Receiving ----------------------------------------------------------------------------

void THttpCli::SocketDataAvailable(QObject *, quint16) {
    if (FState == httpReceivingBody && FReceiveLen == 0) {
        const int n = FCtrlSocket->Receive(FBodyBuffer.data(), BodyBlockSize);
        if (n <= 0 || FRequestType == httpNone)
            return;
        FAnswerBytes += n;
        RestartTimer();
        ProcessBodyData(FBodyBuffer.data(), n);
        return;
    }
    if (FReceiveLen >= ReceiveBufferSize)
        throw EHttpException("HTTP line too long", 4);
    const int n =
        FCtrlSocket->Receive(FReceiveBuffer.data() + FReceiveLen, ReceiveBufferSize - FReceiveLen);
    if (n > 0) {
        FReceiveLen += n;
        FAnswerBytes += n;
        RestartTimer();
    }
    if (n <= 0 || FRequestType == httpNone)
        return;
    ProcessBuffer();
}

void THttpCli::ProcessBuffer() {
    if (FState == httpReceivingBody) {
        TakeBufferAsBody();
        return;
    }
    const quint64 serial = FRequestSerial;
    while (FState == httpReceivingHeader && !FEnding && serial == FRequestSerial) {
        char *start = FReceiveBuffer.data();
        char *lf = static_cast<char *>(std::memchr(start, '\n', size_t(FReceiveLen)));
        if (!lf)
            break;
        const int lineLen = int(lf - start) + 1;
        QByteArray line(start, lineLen);
        FReceiveLen -= lineLen;
        std::memmove(start, start + lineLen, size_t(FReceiveLen));
        ProcessHeaderLine(line);
    }
}

void THttpCli::TakeBufferAsBody() {
    if (FReceiveLen == 0)
        return;
    const QByteArray block(FReceiveBuffer.data(), FReceiveLen);
    FReceiveLen = 0;
    ProcessBodyData(block.constData(), int(block.size()));
}

void THttpCli::ProcessHeaderLine(const QByteArray &RawLine) {
    // RawLine ends with its line feed; the header's line is the text before it.
    QByteArray line = RawLine;
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    if (FHeaderLineCount++ == 0)
        CallEvent(OnHeaderBegin, this);

    if (line.left(6).toUpper() == "<HTML>") {
        // No header at all: the page itself, line ends and all.
        FHeadless = true;
        if (FContentType.isEmpty())
            FContentType = QStringLiteral("text/html");
        SetState(httpReceivingBody);
        CallEvent(OnHeaderEnd, this);
        ProcessBodyData(RawLine.constData(), int(RawLine.size()));
        TakeBufferAsBody();
        return;
    }
    if (line.isEmpty()) {
        EndHeader();
        return;
    }

    FResponseHeaderLines << QString::fromLatin1(line);
    if (line.startsWith("HTTP/1.0") || line.startsWith("HTTP/1.1")) {
        FStatusCode = line.mid(9, 3).toInt();
        FReasonPhrase = QString::fromLatin1(line.mid(13));
    } else if (const int colon = line.indexOf(':'); colon >= 0) {
        const QByteArray name = line.left(colon).trimmed().toLower();
        // The value starts after the colon and the blanks that follow it, whether there are
        // none, one or more.
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "location") {
            FollowLocation(QString::fromLatin1(value));
        } else if (name == "content-length") {
            const qint64 length = ParseLength(value);
            if (length < 0)
                throw EConvertError("'" + value.toStdString() + "' is not a valid integer value");
            FContentLength = length;
        } else if (name == "content-type") {
            FContentType = QString::fromLatin1(value).toLower();
        } else if (name == "www-authenticate") {
            FAuthChallenges << QString::fromLatin1(value);
        }
    }
    CallEvent(OnHeaderData, this);
    // An error answer ends here: its body is not read.
    if (FStatusCode >= 400 && !FEnding) {
        FReceiveLen = 0;
        FCtrlSocket->Close();
    }
}

void THttpCli::FollowLocation(const QString &Location) {
    FRelocating = true;
    if (Location.startsWith(QLatin1Char('/'))) {
        FRequestPath =
            FProxy.isEmpty() ? Location : FScheme + QLatin1String("://") + FHostHeader + Location;
        return;
    }
    TUrlParts url = ParseURL(Location);
    const QString scheme = url.Proto.isEmpty() ? QStringLiteral("http") : url.Proto;
    if (scheme.compare(QLatin1String("http"), Qt::CaseInsensitive) != 0) {
        FUnsupportedLocation = true;
        return;
    }
    const bool namesHost = !url.Proto.isEmpty() && !url.Host.isEmpty();
    // "http://other" names a host as surely as "http://other/" does.
    if (namesHost && url.Path.isEmpty())
        url.Path = QStringLiteral("/");
    if (url.Path.isEmpty()) {
        // A bare document name.
        FRequestPath = scheme + QLatin1String("://") + FHostHeader + QLatin1Char('/') + url.Host;
        if (FProxy.isEmpty())
            FConnectHost = FHostHeader;
        return;
    }
    if (!url.Host.isEmpty()) {
        FHostHeader = url.Host;
        if (FProxy.isEmpty()) {
            FRequestPath = url.Path;
            FConnectHost = url.Host;
            // Another host without a port is served on the usual one.
            FConnectPort = url.Port.isEmpty() ? QStringLiteral("80") : url.Port;
        } else {
            FRequestPath = Location;
        }
        return;
    }
    FRequestPath = scheme + QLatin1String("://") + FHostHeader + url.Path;
    if (FProxy.isEmpty()) {
        FConnectHost = FHostHeader;
        if (!url.Port.isEmpty())
            FConnectPort = url.Port;
    }
}

void THttpCli::EndHeader() {
    if (FRelocating) {
        if (FUnsupportedLocation || ++FRelocations > MaxRelocations) {
            Fail(FUnsupportedLocation ? QStringLiteral("Unsupported address")
                                      : QStringLiteral("Too many redirections"),
                 0);
            FCtrlSocket->Close();
            return;
        }
        CallEvent(OnHeaderEnd, this);
        FReceiveLen = 0;
        FHeaderLineCount = 0;
        FBodyDataCount = 0;
        FCtrlSocket->OnSessionClosed = [this](QObject *S, quint16 E) {
            LocationSessionClosed(S, E);
        };
        FRelocationPending = true;
        FCtrlSocket->Close();
        return;
    }
    if (FDocumentName.section(QLatin1Char('.'), -1).toLower() == QLatin1String("exe") &&
        FDocumentName.contains(QLatin1Char('.')) && FContentType == QLatin1String("text/html")) {
        FDocumentName =
            FDocumentName.left(FDocumentName.lastIndexOf(QLatin1Char('.'))) + QLatin1String(".htm");
    }
    SetState(httpReceivingBody);
    CallEvent(OnHeaderEnd, this);
    TakeBufferAsBody();
}

void THttpCli::ProcessBodyData(const char *Data, int Len) {
    if (FBodyDataCount++ == 0)
        CallEvent(OnDocBegin, this);
    FBytesReceived += Len;
    CallEvent(OnDocData, this, Data, Len);
    if (FReceiveStream && !FFailed && FReceiveStream->write(Data, Len) != Len) {
        // The body cannot be kept (a full disk): the request fails rather than end with a
        // file that lacks part of it.
        Fail(QStringLiteral("Cannot store the document: %1").arg(FReceiveStream->errorString()), 0);
        FCtrlSocket->Close();
    }
}

void THttpCli::LocationSessionClosed(QObject *, quint16) {
    FRelocationPending = false;
    FConnected = false;
    FRelocating = false;
    FCtrlSocket->OnSessionClosed = [this](QObject *S, quint16 E) {
        HandleSessionClosed(S, E);
    };
    CallEvent(OnLocationChange, this);
    PostMessageToSelf(MsgRestart);
}

// ---- Completion -----------------------------------------------------------------------------

void THttpCli::HandleSessionClosed(QObject *, quint16 Error) {
    if (FEnding || FState == httpReady)
        return;
    if (!FFailed && FReceiveLen > 0 &&
        (FState == httpReceivingHeader || FState == httpReceivingBody)) {
        // Lines a receive pass left behind when it ended early (a bad header value) are
        // taken now, so that the outcome does not depend on how the bytes arrived.
        try {
            ProcessBuffer();
        } catch (const std::exception &) {
            // The answer stays incomplete; judged below.
        }
        if (FEnding)
            return;
        if (FRelocationPending) {
            // The socket is already closing, so its close event will not come again.
            LocationSessionClosed(nullptr, 0);
            return;
        }
    }
    FEnding = true;
    FConnected = false;
    FTimer->stop();
    if (!FFailed && FState != httpAborting)
        JudgeAnswer(Error);
    if (FBodyDataCount > 0)
        CallEvent(OnDocEnd, this);
    PostMessageToSelf(MsgSetReady);
}

void THttpCli::JudgeAnswer(quint16 Error) {
    const QString incomplete = QStringLiteral("Connection closed before the answer was complete");
    if (FAnswerBytes == 0 && FState != httpReceivingBody) {
        Fail(QStringLiteral("Connection closed without an answer"), Error);
    } else if (Error != 0) {
        Fail(incomplete, Error);
    } else if (FState != httpReceivingBody) {
        // An error answer closes after its status line; any other answer must reach its body.
        if (FStatusCode < 400)
            Fail(incomplete, 0);
    } else if (!FHeadless) {
        const bool bodyless = FRequestType == httpHEAD || FStatusCode == 204 ||
                              FStatusCode == 304 || (FStatusCode >= 100 && FStatusCode < 200);
        if (FStatusCode == 0 ||
            (!bodyless && FContentLength >= 0 && FBytesReceived < FContentLength))
            Fail(incomplete, 0);
    }
}

void THttpCli::EndNow(const QString &Reason, quint16 Error) {
    if (FState == httpReady || FEnding || FState == httpAborting)
        return;
    const THttpState old = FState;
    SetState(httpAborting);
    if (old == httpResolvingHost) {
        try {
            FCtrlSocket->CancelDnsLookup();
        } catch (...) {
            // Nothing to undo: the lookup is gone either way.
        }
    }
    Fail(Reason, Error);
    FCtrlSocket->OnSessionClosed = [this](QObject *S, quint16 E) {
        HandleSessionClosed(S, E);
    };
    if (old == httpResolvingHost || FCtrlSocket->State() == wsClosed)
        HandleSessionClosed(nullptr, 0);
    else
        FCtrlSocket->Close();
}

void THttpCli::Abort() {
    if (FState == httpReady) {
        if (FCtrlSocket->State() != wsClosed)
            FCtrlSocket->Close();
        return;
    }
    EndNow(QStringLiteral("Connection aborted on request"), 3);
}

void THttpCli::TimedOut() {
    EndNow(QStringLiteral("Connection timed out"), WSAETIMEDOUT);
}

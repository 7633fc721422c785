#include "update/HttpProt.h"

#include "platform/Forms.h"

#include <QCoreApplication>
#include <QEvent>
#include <QIODevice>
#include <QTimer>
#include <utility>

namespace {

// The client's own messages, posted to itself so that completion never runs inside the
// socket's handlers or inside StartRequest.
enum : int { MsgRequestDone = 1025, MsgSetReady = 1026, MsgRestart = 1027 };

QEvent::Type MessageKind() {
    static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
    return kind;
}

// The reason a request ends with when the parser refused the answer or the close cut it short.
QString ParseFailure(THttpParseError Error) {
    switch (Error) {
    case hpeNoAnswer:
        return THttpCli::tr("Connection closed without an answer");
    case hpeIncomplete:
        return THttpCli::tr("Connection closed before the answer was complete");
    case hpeBadStatusLine:
    case hpeBadLength:
    case hpeBadTransferCoding:
    case hpeBadChunk:
        return THttpCli::tr("Bad answer from the server");
    case hpeLineTooLong:
        return THttpCli::tr("HTTP line too long");
    case hpeHeaderTooLarge:
        return THttpCli::tr("Answer too large");
    case hpeOk:
        break;
    }
    return QString();
}

// A port is a number from 1 to 65535, written in digits alone.
bool IsValidPort(const QString &Port) {
    if (Port.isEmpty())
        return false;
    int value = 0;
    for (QChar c : Port) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        value = value * 10 + (c.unicode() - '0');
        if (value > 65535)
            return false;
    }
    return value > 0;
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
    int colon = authority.lastIndexOf(QLatin1Char(':'));
    const int at = authority.lastIndexOf(QLatin1Char('@'));
    // The colons of an IPv6 address in brackets are not the port's.
    if (colon < authority.lastIndexOf(QLatin1Char(']')))
        colon = -1;
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
      FReceiveBuffer(ReceiveBlockSize) {
    FCtrlSocket->OnSessionConnected = [this](QObject *S, quint16 E) {
        SocketSessionConnected(S, E);
    };
    FCtrlSocket->OnSessionClosed = [this](QObject *S, quint16 E) {
        SocketSessionClosed(S, E);
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
            Guard(this, [this] {
                ResetAnswer();
                StartLookup();
            });
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
    FEnding = false;
    FFailed = false;
    FAnswered = false;
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
        FailAndEnd(tr("Unsupported address"), 0);
        return;
    }
    StartLookup();
}

void THttpCli::ResetAnswer() {
    FParser.Reset(FRequestType == httpHEAD);
    FContentType.clear();
    FHeaderBegun = false;
    FBodyDataCount = 0;
    FRelocating = false;
    FUnsupportedLocation = false;
    FRelocationPending = false;
}

void THttpCli::StartLookup() {
    SetState(httpResolvingHost);
    if (FConnectHost.isEmpty()) {
        FailAndEnd(tr("can't resolve hostname to IP address"), 0);
        return;
    }
    // Checked here, for the address and for every relocation: the socket would otherwise
    // refuse the text only when connecting, without a word on why.
    if (!IsValidPort(FConnectPort)) {
        FailAndEnd(tr("Invalid port"), 0);
        return;
    }
    // An IPv6 address is written in brackets in an address and in the Host line, bare for the
    // socket.
    const bool bracketed =
        FConnectHost.startsWith(QLatin1Char('[')) && FConnectHost.endsWith(QLatin1Char(']'));
    FCtrlSocket->DnsLookup(bracketed ? FConnectHost.mid(1, FConnectHost.size() - 2) : FConnectHost);
}

void THttpCli::Fail(const QString &Reason, quint16 Error) {
    FStatusCode = 404;
    FReasonPhrase = Reason;
    FRequestDoneError = Error;
    FFailed = true;
}

void THttpCli::FailAndEnd(const QString &Reason, quint16 Error) {
    if (FEnding || FState == httpReady)
        return;
    Fail(Reason, Error);
    FParser.Stop();
    // Closing raises the session-closed event, which ends the request; with no connection
    // (or one whose close was already reported) the request ends here.
    if (FCtrlSocket->State() != wsClosed)
        FCtrlSocket->Close();
    Complete(0);
}

void THttpCli::EndErrorAnswer() {
    FAnswered = true;
    FParser.Stop();
    FCtrlSocket->Close();
    Complete(0);
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
        FailAndEnd(tr("can't resolve hostname to IP address"), 0);
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
        FailAndEnd(
            tr("can't connect: %1 (Error #%2)").arg(SocketErrorText(error), QString::number(error)),
            quint16(error));
    }
}

void THttpCli::SocketSessionConnected(QObject *, quint16 Error) {
    if (FState != httpConnecting || FEnding)
        return;
    if (Error != 0) {
        FailAndEnd(tr("%1 (Error #%2)").arg(SocketErrorText(Error), QString::number(Error)), 0);
        return;
    }
    FConnected = true;
    SetState(httpConnected);
    CallEvent(OnSessionConnected, this);
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
    const int n = FCtrlSocket->Receive(FReceiveBuffer.data(), ReceiveBlockSize);
    if (n <= 0 || FRequestType == httpNone || FEnding ||
        (FState != httpReceivingHeader && FState != httpReceivingBody))
        return;
    RestartTimer();
    const THttpParseError error = FParser.Execute(FReceiveBuffer.data(), size_t(n));
    if (error != hpeOk) {
        FailAndEnd(ParseFailure(error), 0);
    } else if (FParser.Phase() == hppComplete && FState == httpReceivingBody && !FEnding) {
        // The answer has ended by its own length or last chunk, or has no body: what the server
        // sends after it is not read, and the request ends without waiting for the close.
        FCtrlSocket->Close();
        Complete(0);
    }
}

void THttpCli::HeaderLineRead(std::string_view Line) {
    if (!FHeaderBegun) {
        FHeaderBegun = true;
        CallEvent(OnHeaderBegin, this);
    }
    FResponseHeaderLines << QString::fromLatin1(Line.data(), qsizetype(Line.size()));
}

void THttpCli::StatusLine(std::string_view Line) {
    HeaderLineRead(Line);
    FStatusCode = FParser.StatusCode();
    FReasonPhrase = QString::fromLatin1(FParser.Reason());
    CallEvent(OnHeaderData, this);
    // An error answer ends here: its body is not read.
    if (FStatusCode >= 400 && !FEnding)
        EndErrorAnswer();
}

void THttpCli::HeaderField(std::string_view Line, std::string_view Name, std::string_view Value) {
    HeaderLineRead(Line);
    const QString value = QString::fromLatin1(Value.data(), qsizetype(Value.size()));
    if (Name == "location")
        FollowLocation(value);
    else if (Name == "content-type")
        FContentType = value.toLower();
    else if (Name == "www-authenticate")
        FAuthChallenges << value;
    CallEvent(OnHeaderData, this);
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

void THttpCli::HeaderEnd() {
    if (FEnding)
        return;
    if (!FHeaderBegun) {
        FHeaderBegun = true;
        CallEvent(OnHeaderBegin, this);
    }
    if (FParser.Headless()) {
        if (FContentType.isEmpty())
            FContentType = QStringLiteral("text/html");
        SetState(httpReceivingBody);
        CallEvent(OnHeaderEnd, this);
        return;
    }
    if (FRelocating) {
        if (FUnsupportedLocation || ++FRelocations > MaxRelocations) {
            FailAndEnd(
                FUnsupportedLocation ? tr("Unsupported address") : tr("Too many redirections"), 0);
            return;
        }
        CallEvent(OnHeaderEnd, this);
        FParser.Stop();
        FRelocationPending = true;
        // The close's event goes on with the relocation.
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
}

void THttpCli::Body(const char *Data, size_t Len) {
    if (FEnding)
        return;
    if (FBodyDataCount++ == 0)
        CallEvent(OnDocBegin, this);
    FBytesReceived += qint64(Len);
    CallEvent(OnDocData, this, Data, int(Len));
    if (FReceiveStream && !FFailed && FReceiveStream->write(Data, qint64(Len)) != qint64(Len)) {
        // The body cannot be kept (a full disk): the request fails rather than end with a
        // file that lacks part of it.
        FailAndEnd(tr("Cannot store the document: %1").arg(FReceiveStream->errorString()), 0);
    }
}

// ---- Completion -----------------------------------------------------------------------------

// The socket's one session-closed handler: what the close means depends on where the request
// stands.
void THttpCli::SocketSessionClosed(QObject *, quint16 Error) {
    FConnected = false;
    switch (FState) {
    case httpReady:
        return;
    case httpReceivingHeader:
        if (FRelocationPending) {
            FRelocationPending = false;
            FRelocating = false;
            CallEvent(OnLocationChange, this);
            PostMessageToSelf(MsgRestart);
            return;
        }
        break;
    default:
        break;
    }
    Complete(Error);
}

void THttpCli::Complete(quint16 Error) {
    if (FEnding || FState == httpReady)
        return;
    FEnding = true;
    FConnected = false;
    FTimer->stop();
    const THttpParseError error = FParser.Finish();
    if (!FFailed && !FAnswered && FState != httpAborting)
        JudgeAnswer(error, Error);
    // The lines of a header that never ended are no answer: they go with the request.
    if (!FParser.HeaderEnded() && !FAnswered) {
        FResponseHeaderLines = QStringList();
        FAuthChallenges = QStringList();
    }
    if (FBodyDataCount > 0)
        CallEvent(OnDocEnd, this);
    PostMessageToSelf(MsgSetReady);
}

void THttpCli::JudgeAnswer(THttpParseError Error, quint16 SocketError) {
    if (Error == hpeNoAnswer)
        Fail(ParseFailure(Error), SocketError);
    else if (SocketError != 0)
        Fail(ParseFailure(hpeIncomplete), SocketError);
    else if (Error != hpeOk)
        Fail(ParseFailure(Error), 0);
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
    FRelocationPending = false;
    FailAndEnd(Reason, Error);
}

void THttpCli::Abort() {
    if (FState == httpReady) {
        if (FCtrlSocket->State() != wsClosed)
            FCtrlSocket->Close();
        return;
    }
    EndNow(tr("Connection aborted on request"), 3);
}

void THttpCli::TimedOut() {
    EndNow(tr("Connection timed out"), WSAETIMEDOUT);
}

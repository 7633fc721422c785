#include "update/WSocket.h"

#include "platform/Forms.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QHostInfo>
#include <QSocketNotifier>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/epoll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The network events of one notification, handled in this order.
enum : quint32 { EvConnect = 1, EvRead = 2, EvWrite = 4, EvAccept = 8, EvClose = 16 };

// The most one read event takes from the system before the event loop gets its turn again, so
// that painting, keys and timers are served however fast the peer sends.
constexpr qint64 ReceiveBudget = 1024 * 1024;

QEvent::Type PostedEventKind() {
    static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
    return kind;
}

// The address written in numbers: IPv4 in dotted form (the all-ones address counts as no
// address, as it does for the system's own converter) or IPv6; false for text that is neither.
bool NumericAddress(const QString &Text, QHostAddress &Address) {
    const QByteArray bytes = Text.trimmed().toLatin1();
    if (bytes.isEmpty())
        return false;
    if (const in_addr_t net = inet_addr(bytes.constData()); net != INADDR_NONE) {
        Address = QHostAddress(ntohl(net));
        return true;
    }
    in6_addr six{};
    if (inet_pton(AF_INET6, bytes.constData(), &six) != 1)
        return false;
    Address = QHostAddress(six.s6_addr);
    return true;
}

// The system's form of an address and port; its length.
socklen_t SystemAddress(const QHostAddress &Address, quint16 Port, sockaddr_storage &Out) {
    Out = {};
    if (Address.protocol() == QAbstractSocket::IPv6Protocol) {
        auto *six = reinterpret_cast<sockaddr_in6 *>(&Out);
        six->sin6_family = AF_INET6;
        six->sin6_port = htons(Port);
        const Q_IPV6ADDR bytes = Address.toIPv6Address();
        std::memcpy(&six->sin6_addr, bytes.c, sizeof bytes.c);
        return sizeof *six;
    }
    auto *four = reinterpret_cast<sockaddr_in *>(&Out);
    four->sin_family = AF_INET;
    four->sin_port = htons(Port);
    four->sin_addr.s_addr = htonl(Address.toIPv4Address());
    return sizeof *four;
}

quint16 SystemPort(const sockaddr_storage &Address) {
    return ntohs(Address.ss_family == AF_INET6
                     ? reinterpret_cast<const sockaddr_in6 &>(Address).sin6_port
                     : reinterpret_cast<const sockaddr_in &>(Address).sin_port);
}

QString AddressText(const sockaddr_storage &Address) {
    return QHostAddress(reinterpret_cast<const sockaddr *>(&Address)).toString();
}

int SocketError(int Fd) {
    int error = 0;
    socklen_t len = sizeof error;
    if (getsockopt(Fd, SOL_SOCKET, SO_ERROR, &error, &len) != 0)
        return WinsockErrorFromErrno(errno);
    return error == 0 ? 0 : WinsockErrorFromErrno(error);
}

} // namespace

QString SocketErrorText(int ErrCode) {
    switch (ErrCode) {
    case 0:
        return TCustomWSocket::tr("No Error");
    case 10004:
        return TCustomWSocket::tr("Interrupted system call");
    case 10009:
        return TCustomWSocket::tr("Bad file number");
    case 10013:
        return TCustomWSocket::tr("Permission denied");
    case 10014:
        return TCustomWSocket::tr("Bad address");
    case 10022:
        return TCustomWSocket::tr("Invalid argument");
    case 10024:
        return TCustomWSocket::tr("Too many open files");
    case 10035:
        return TCustomWSocket::tr("Operation would block");
    case 10036:
        return TCustomWSocket::tr("Operation now in progress");
    case 10037:
        return TCustomWSocket::tr("Operation already in progress");
    case 10038:
        return TCustomWSocket::tr("Socket operation on non-socket");
    case 10039:
        return TCustomWSocket::tr("Destination address required");
    case 10040:
        return TCustomWSocket::tr("Message too long");
    case 10041:
        return TCustomWSocket::tr("Protocol wrong type for socket");
    case 10042:
        return TCustomWSocket::tr("Protocol not available");
    case 10043:
        return TCustomWSocket::tr("Protocol not supported");
    case 10044:
        return TCustomWSocket::tr("Socket type not supported");
    case 10045:
        return TCustomWSocket::tr("Operation not supported on socket");
    case 10046:
        return TCustomWSocket::tr("Protocol family not supported");
    case 10047:
        return TCustomWSocket::tr("Address family not supported by protocol family");
    case 10048:
        return TCustomWSocket::tr("Address already in use");
    case 10049:
        return TCustomWSocket::tr("Address not available");
    case 10050:
        return TCustomWSocket::tr("Network is down");
    case 10051:
        return TCustomWSocket::tr("Network is unreachable");
    case 10052:
        return TCustomWSocket::tr("Network dropped connection on reset");
    case 10053:
        return TCustomWSocket::tr("Connection aborted");
    case 10054:
        return TCustomWSocket::tr("Connection reset by peer");
    case 10055:
        return TCustomWSocket::tr("No buffer space available");
    case 10056:
        return TCustomWSocket::tr("Socket is already connected");
    case 10057:
        return TCustomWSocket::tr("Socket is not connected");
    case 10058:
        return TCustomWSocket::tr("Can't send after socket shutdown");
    case 10059:
        return TCustomWSocket::tr("Too many references: can't splice");
    case 10060:
        return TCustomWSocket::tr("Connection timed out");
    case 10061:
        return TCustomWSocket::tr("Connection refused");
    case 10062:
        return TCustomWSocket::tr("Too many levels of symbolic links");
    case 10063:
        return TCustomWSocket::tr("File name too long");
    case 10064:
        return TCustomWSocket::tr("Host is down");
    case 10065:
        return TCustomWSocket::tr("No route to host");
    case 10066:
        return TCustomWSocket::tr("Directory not empty");
    case 10067:
        return TCustomWSocket::tr("Too many processes");
    case 10068:
        return TCustomWSocket::tr("Too many users");
    case 10069:
        return TCustomWSocket::tr("Disc quota exceeded");
    case 10070:
        return TCustomWSocket::tr("Stale NFS file handle");
    case 10071:
        return TCustomWSocket::tr("Too many levels of remote in path");
    case 10091:
        return TCustomWSocket::tr("Network sub-system is unusable");
    case 10092:
        return TCustomWSocket::tr("WinSock DLL cannot support this application");
    case 10093:
        return TCustomWSocket::tr("WinSock not initialized");
    case 11001:
        return TCustomWSocket::tr("Host not found");
    case 11002:
        return TCustomWSocket::tr("Non-authoritative host not found");
    case 11003:
        return TCustomWSocket::tr("Non-recoverable error");
    case 11004:
        return TCustomWSocket::tr("No Data");
    default:
        return TCustomWSocket::tr("Not a WinSock error");
    }
}

int WinsockErrorFromErrno(int Errno) {
    switch (Errno) {
    case 0:
        return 0;
    case EINTR:
        return 10004;
    case EBADF:
        return 10009;
    case EACCES:
        return 10013;
    case EFAULT:
        return 10014;
    case EINVAL:
        return 10022;
    case EMFILE:
        return 10024;
    case EAGAIN:
        return 10035;
    // A non-blocking connect under way is the usual "would block", not a failure.
    case EINPROGRESS:
        return 10035;
    case EALREADY:
        return 10037;
    case ENOTSOCK:
        return 10038;
    case EDESTADDRREQ:
        return 10039;
    case EMSGSIZE:
        return 10040;
    case EPROTOTYPE:
        return 10041;
    case ENOPROTOOPT:
        return 10042;
    case EPROTONOSUPPORT:
        return 10043;
    case ESOCKTNOSUPPORT:
        return 10044;
    case EOPNOTSUPP:
        return 10045;
    case EPFNOSUPPORT:
        return 10046;
    case EAFNOSUPPORT:
        return 10047;
    case EADDRINUSE:
        return 10048;
    case EADDRNOTAVAIL:
        return 10049;
    case ENETDOWN:
        return 10050;
    case ENETUNREACH:
        return 10051;
    case ENETRESET:
        return 10052;
    case ECONNABORTED:
        return 10053;
    // A peer that went away closes the session rather than raising an error.
    case ECONNRESET:
        return 10054;
    case EPIPE:
        return 10054;
    case ENOBUFS:
        return 10055;
    case ENOMEM:
        return 10055;
    case EISCONN:
        return 10056;
    case ENOTCONN:
        return 10057;
    case ESHUTDOWN:
        return 10058;
    case ETOOMANYREFS:
        return 10059;
    case ETIMEDOUT:
        return 10060;
    case ECONNREFUSED:
        return 10061;
    case ELOOP:
        return 10062;
    case ENAMETOOLONG:
        return 10063;
    case EHOSTDOWN:
        return 10064;
    case EHOSTUNREACH:
        return 10065;
    case ENOTEMPTY:
        return 10066;
    case EUSERS:
        return 10068;
    case EDQUOT:
        return 10069;
    case ESTALE:
        return 10070;
    case EREMOTE:
        return 10071;
    default:
        return Errno;
    }
}

// A network event posted to the socket itself; it belongs to one connection and is dropped when
// it arrives after that connection ended, since the system reuses a closed socket's number.
struct TCustomWSocket::TPostedEvent : QEvent {
    TPostedEvent(quint64 serial, quint32 events)
        : QEvent(PostedEventKind()), Serial(serial), Events(events) {}
    quint64 Serial;
    quint32 Events;
};

TCustomWSocket::TCustomWSocket(QObject *Owner) : QObject(Owner) {
    ResetDefaults();
}

TCustomWSocket::~TCustomWSocket() {
    FDestroying = true;
    // Whoever handled the events may be gone already: a socket being destroyed raises none.
    OnChangeState = nullptr;
    OnSessionClosed = nullptr;
    OnDnsLookupDone = nullptr;
    FLookupId = -1; // its answer, if it still comes, goes nowhere: the socket is gone
    if (FState != wsClosed || FHSocket != -1)
        InternalClose(false, 0);
    DeleteQueue();
}

void TCustomWSocket::ResetDefaults() {
    FProtoNum = 6;
    FProtoStr = QStringLiteral("tcp");
    FDatagram = false;
    FProtoAssigned = true;
    FPortAssigned = false;
    FAddrAssigned = false;
    FAddrResolved = false;
    FLingerOnOff = wsLingerOn;
    FLingerTimeout = 0;
    FHSocket = -1;
    FState = wsClosed;
    FReadCount = 0;
    FAllSent = true;
    FCloseInvoked = false;
    FFlushTimeout = 60;
}

void TCustomWSocket::ChangeState(TSocketState NewState) {
    const TSocketState old = FState;
    FState = NewState;
    if (OnChangeState)
        OnChangeState(this, old, NewState);
}

void TCustomWSocket::HandleSocketError(const QString &Text) {
    if (OnError) {
        OnError(this);
        return;
    }
    throw ESocketException(Text.toStdString());
}

void TCustomWSocket::ReportSocketError(const QString &FunctionName) {
    const int n = FLastError;
    const QString text = tr("Error %1 in function %2\r\n%3")
                             .arg(QString::number(n), FunctionName, SocketErrorText(n));
    if (n == WSAECONNRESET || n == WSAENOTCONN) {
        InternalClose(false, 0);
        FLastError = n;
    }
    HandleSocketError(text);
}

void TCustomWSocket::SetLastErrorFromErrno(int Errno) {
    FLastError = WinsockErrorFromErrno(Errno);
}

void TCustomWSocket::SetAddr(const QString &Value) {
    if (Value == FAddrStr && FAddrAssigned)
        return;
    if (FState != wsClosed) {
        HandleSocketError(QStringLiteral("Cannot change Addr if not closed"));
        return;
    }
    FAddrStr = Value.trimmed();
    FAddrAssigned = !FAddrStr.isEmpty();
    FAddrResolved = false;
}

void TCustomWSocket::SetPort(const QString &Value) {
    if (Value == FPortStr && FPortAssigned)
        return;
    if (FState != wsClosed) {
        HandleSocketError(QStringLiteral("Cannot change Port if not closed"));
        return;
    }
    FPortStr = Value;
    const QString text = Value.trimmed();
    FPortAssigned = false;
    if (text.isEmpty())
        return;
    if (text.at(0).isDigit()) {
        int i = 0;
        quint32 number = 0;
        while (i < text.size() && text.at(i).isDigit() && number <= 65535)
            number = number * 10 + quint32(text.at(i++).digitValue());
        if (number > 65535) {
            HandleSocketError(QStringLiteral("SetPort: Cannot convert port '%1'").arg(Value));
            return;
        }
        FPortNum = quint16(number);
        FPortAssigned = true;
        return;
    }
    const QByteArray proto = FProtoStr.toLatin1();
    const servent *service =
        getservbyname(text.toLatin1().constData(), proto.isEmpty() ? nullptr : proto.constData());
    if (!service) {
        HandleSocketError(QStringLiteral("SetPort: Cannot convert port '%1'").arg(Value));
        return;
    }
    FPortNum = ntohs(quint16(service->s_port));
    FPortAssigned = true;
}

void TCustomWSocket::SetProto(const QString &Value) {
    if (Value == FProtoStr && FProtoAssigned)
        return;
    if (FState != wsClosed) {
        HandleSocketError(QStringLiteral("Cannot change Proto if not closed"));
        return;
    }
    FProtoStr = Value;
    const QString text = Value.trimmed();
    FProtoAssigned = false;
    if (text.isEmpty())
        return;
    int number = -1;
    if (text.at(0).isDigit()) {
        number = 0;
        for (int i = 0; i < text.size() && text.at(i).isDigit() && number < 256; ++i)
            number = number * 10 + text.at(i).digitValue();
    } else if (const protoent *entry = getprotobyname(text.toLatin1().constData())) {
        number = entry->p_proto;
    }
    if (number < 0 || number > 255) {
        HandleSocketError(QStringLiteral("SetProto: Cannot convert protocol '%1'").arg(Value));
        return;
    }
    FProtoNum = number;
    FDatagram = number == IPPROTO_UDP;
    FProtoAssigned = true;
}

void TCustomWSocket::SetSendFlags(int Value) {
    if (Value != wsSendNormal && Value != wsSendUrgent) {
        HandleSocketError(QStringLiteral("Invalid SendFlags"));
        return;
    }
    FSendFlags = TSocketSendFlags(Value);
}

int TCustomWSocket::RcvdCount() const {
    if (FHSocket == -1)
        return -1;
    int count = 0;
    if (ioctl(FHSocket, FIONREAD, &count) != 0)
        return -1;
    return count;
}

// ---- Name lookup --------------------------------------------------------------------------

void TCustomWSocket::DnsLookup(const QString &HostName) {
    if (HostName.isEmpty()) {
        FLastError = WSAEINVAL;
        HandleSocketError(QStringLiteral("DNS lookup: invalid host name."));
        if (OnDnsLookupDone)
            OnDnsLookupDone(this, WSAEINVAL);
        return;
    }
    FLookupId = -1; // a running lookup's answer is dropped by its number
    FDnsResult.clear();
    FDnsResultList.clear();
    if (QHostAddress address; NumericAddress(HostName, address)) {
        FDnsResult = address.toString();
        FDnsResultList << FDnsResult;
        if (OnDnsLookupDone)
            OnDnsLookupDone(this, 0);
        return;
    }
    FLookupId = QHostInfo::lookupHost(HostName, this, [this](const QHostInfo &Info) {
        if (Info.lookupId() != FLookupId)
            return;
        const QStringList results = LookupOrder(Info.addresses());
        int error = 0;
        if (Info.error() == QHostInfo::HostNotFound)
            error = WSAHOST_NOT_FOUND;
        else if (Info.error() != QHostInfo::NoError)
            error = WSANO_RECOVERY;
        else if (results.isEmpty())
            error = 11004;
        LookupFinished(error, results);
    });
}

void TCustomWSocket::ReverseDnsLookup(const QString &HostAddr) {
    FLookupId = -1; // a running lookup's answer is dropped by its number
    FDnsResult.clear();
    FDnsResultList.clear();
    FLookupId = QHostInfo::lookupHost(HostAddr, this, [this](const QHostInfo &Info) {
        if (Info.lookupId() != FLookupId)
            return;
        const int error = Info.error() == QHostInfo::NoError ? 0 : WSAHOST_NOT_FOUND;
        LookupFinished(error, {Info.hostName()});
    });
}

void TCustomWSocket::LookupFinished(int Error, const QStringList &Results) {
    FLookupId = -1;
    if (Error == 0) {
        FDnsResultList = Results;
        FDnsResult = Results.value(0);
    }
    CallEvent(OnDnsLookupDone, this, quint16(Error));
}

void TCustomWSocket::CancelDnsLookup() {
    if (FLookupId == -1)
        return;
    // Forgotten rather than aborted: the answer is dropped by its number when it comes, and
    // Qt frees the handler of a lookup only once it has answered.
    FLookupId = -1;
    if (!FDestroying && OnDnsLookupDone)
        OnDnsLookupDone(this, WSAEINTR);
}

// ---- Connection -------------------------------------------------------------------------

QStringList LookupOrder(const QList<QHostAddress> &Addresses) {
    QStringList four, six;
    for (const QHostAddress &address : Addresses) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            four << address.toString();
        else if (address.protocol() == QAbstractSocket::IPv6Protocol)
            six << address.toString();
    }
    return four + six;
}

void TCustomWSocket::ResolveAddr() {
    if (!NumericAddress(FAddrStr, FAddress)) {
        const QString first = LookupOrder(QHostInfo::fromName(FAddrStr).addresses()).value(0);
        if (first.isEmpty())
            throw ESocketException(QStringLiteral("SetAddr: Cannot convert host address '%1'")
                                       .arg(FAddrStr)
                                       .toStdString());
        FAddress = QHostAddress(first);
    }
    FAddrResolved = true;
}

int TCustomWSocket::OpenSystemSocket() {
    const int family = FAddress.protocol() == QAbstractSocket::IPv6Protocol ? AF_INET6 : AF_INET;
    return socket(family, (FDatagram ? SOCK_DGRAM : SOCK_STREAM) | SOCK_NONBLOCK | SOCK_CLOEXEC,
                  FProtoNum);
}

void TCustomWSocket::SetLingerOption() {
    if (FLingerOnOff == wsLingerNoSet)
        return;
    if (FHSocket == -1) {
        HandleSocketError(QStringLiteral("Cannot set linger option at this time"));
        return;
    }
    linger value{};
    value.l_onoff = FLingerOnOff == wsLingerOn ? 1 : 0;
    value.l_linger = FLingerTimeout;
    if (setsockopt(FHSocket, SOL_SOCKET, SO_LINGER, &value, sizeof value) != 0) {
        SetLastErrorFromErrno(errno);
        ReportSocketError(QStringLiteral("setsockopt(SO_LINGER)"));
    }
}

void TCustomWSocket::Connect() {
    if (FHSocket != -1 && FState != wsClosed)
        return HandleSocketError(QStringLiteral("Connect: Socket already in use"));
    if (!FPortAssigned)
        return HandleSocketError(QStringLiteral("Connect: No Port Specified"));
    if (!FAddrAssigned)
        return HandleSocketError(QStringLiteral("Connect: No IP Address Specified"));
    if (!FProtoAssigned)
        return HandleSocketError(QStringLiteral("Connect: No Protocol Specified"));
    if (!FAddrResolved)
        ResolveAddr();

    DeleteQueue();
    const int fd = OpenSystemSocket();
    if (fd < 0) {
        SetLastErrorFromErrno(errno);
        return ReportSocketError(QStringLiteral("Connect (socket)"));
    }
    FHSocket = fd;
    ++FSerial;
    FCloseInvoked = false;
    ChangeState(wsOpened);

    const int on = 1;
    if (!FDatagram) {
        SetLingerOption();
        if (setsockopt(fd, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on) != 0) {
            SetLastErrorFromErrno(errno);
            return ReportSocketError(QStringLiteral("setsockopt(SO_KEEPALIVE)"));
        }
        if (setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0) {
            SetLastErrorFromErrno(errno);
            return ReportSocketError(QStringLiteral("setsockopt(SO_REUSEADDR)"));
        }
    } else if (FAddress == QHostAddress(QHostAddress::Broadcast) &&
               setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
        SetLastErrorFromErrno(errno);
        return ReportSocketError(QStringLiteral("setsockopt(SO_BROADCAST)"));
    }

    sockaddr_storage remote;
    const socklen_t remoteLen = SystemAddress(FAddress, FPortNum, remote);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&remote), remoteLen) != 0 &&
        errno != EINPROGRESS) {
        SetLastErrorFromErrno(errno);
        return ReportSocketError(QStringLiteral("Connect"));
    }
    // The connect event follows from the event loop once the socket becomes writable, even
    // when the system connected at once.
    FWantWrite = true;
    if (!ArmNotifications())
        return;
    ChangeState(wsConnecting);
}

bool TCustomWSocket::ArmNotifications() {
    FEpoll = epoll_create1(EPOLL_CLOEXEC);
    epoll_event ev{};
    ev.events = EventMask();
    ev.data.fd = FHSocket;
    if (FEpoll < 0 || epoll_ctl(FEpoll, EPOLL_CTL_ADD, FHSocket, &ev) != 0) {
        SetLastErrorFromErrno(errno);
        ReportSocketError(QStringLiteral("WSAAsyncSelect"));
        return false;
    }
    FNotifier = std::make_unique<QSocketNotifier>(FEpoll, QSocketNotifier::Read);
    const quint64 serial = FSerial;
    connect(FNotifier.get(), &QSocketNotifier::activated, this, [this, serial] {
        if (serial == FSerial)
            OnNotifier();
    });
    FNotifier->setEnabled(!FPaused);
    return true;
}

quint32 TCustomWSocket::EventMask() const {
    // Edge-triggered like the system's window messages: data that arrives, writability after a
    // connect or a send that would block, and the peer's close are each reported once; reading
    // re-arms the read notification (ArmEvents) while bytes remain.
    quint32 mask = EPOLLIN | EPOLLRDHUP | EPOLLET;
    if (FWantWrite)
        mask |= EPOLLOUT;
    return mask;
}

void TCustomWSocket::ArmEvents() {
    if (FEpoll < 0 || FHSocket < 0)
        return;
    epoll_event ev{};
    ev.events = EventMask();
    ev.data.fd = FHSocket;
    epoll_ctl(FEpoll, EPOLL_CTL_MOD, FHSocket, &ev);
}

void TCustomWSocket::ReleaseNotifications() {
    if (FNotifier) {
        FNotifier->setEnabled(false);
        FNotifier.release()->deleteLater();
    }
    if (FEpoll >= 0)
        ::close(FEpoll);
    FEpoll = -1;
    FWantWrite = false;
    FReadRearm = false;
}

void TCustomWSocket::OnNotifier() {
    if (FPaused || FEpoll < 0)
        return;
    epoll_event ev{};
    if (epoll_wait(FEpoll, &ev, 1, 0) != 1)
        return;
    quint32 events = 0;
    int error = 0;
    const quint32 bits = ev.events;
    if (FState == wsListening) {
        if (bits & EPOLLIN)
            events |= EvAccept;
    } else {
        const bool failed = bits & (EPOLLERR | EPOLLHUP);
        if (FState == wsConnecting && (bits & (EPOLLOUT | EPOLLERR | EPOLLHUP)))
            events |= EvConnect;
        else if (bits & EPOLLOUT)
            events |= EvWrite;
        if (bits & (EPOLLRDHUP | EPOLLHUP | EPOLLERR))
            events |= EvClose;
        else if (bits & EPOLLIN)
            events |= EvRead;
        if (failed)
            error = SocketError(FHSocket);
    }
    ProcessEvents(events, error);
}

void TCustomWSocket::customEvent(QEvent *Event) {
    if (Event->type() != PostedEventKind())
        return QObject::customEvent(Event);
    const auto *posted = static_cast<TPostedEvent *>(Event);
    if (posted->Serial != FSerial || FHSocket == -1 || FPaused)
        return;
    ProcessEvents(posted->Events, 0);
}

void TCustomWSocket::PostWriteEvent() {
    QCoreApplication::postEvent(this, new TPostedEvent(FSerial, EvWrite));
}

void TCustomWSocket::ProcessEvents(quint32 Events, int Error) {
    const quint64 serial = FSerial;
    // Each event ends when its handler did; a handler that closed the socket or started another
    // connection ends the rest.
    auto current = [&] {
        return serial == FSerial && FHSocket != -1;
    };
    if (Events & EvConnect) {
        FWantWrite = false;
        ArmEvents();
        Guard(this, [&] { HandleConnect(Error); });
        if (Error != 0)
            return;
    }
    if ((Events & EvRead) && current())
        Guard(this, [&] { ReceivePass(true); });
    if ((Events & EvWrite) && current()) {
        FWantWrite = false;
        ArmEvents();
        Guard(this, [&] { HandleWrite(); });
    }
    if ((Events & EvAccept) && current())
        CallEvent(OnSessionAvailable, this, quint16(Error));
    if ((Events & EvClose) && current())
        Guard(this, [&] { HandleClose(Error); });
}

void TCustomWSocket::HandleConnect(int Error) {
    ChangeState(wsConnected);
    const quint64 serial = FSerial;
    if (OnSessionConnected)
        OnSessionConnected(this, quint16(Error));
    if (Error != 0 && serial == FSerial && FState != wsClosed)
        Close();
}

void TCustomWSocket::HandleWrite() {
    TryToSend();
    if (FAllSent && FSendQueue.size() <= 1 && OnDataSent)
        OnDataSent(this, 0);
}

void TCustomWSocket::HandleClose(int Error) {
    if (FState == wsConnecting)
        return;
    const quint64 serial = FSerial;
    // Data that came before the close is delivered first, all of it: no more can follow, so
    // the pass is bounded by what the system holds.
    ReceivePass(false);
    if (serial != FSerial || FHSocket == -1)
        return;
    if (!FCloseInvoked) {
        FCloseInvoked = true;
        if (OnSessionClosed)
            OnSessionClosed(this, quint16(Error));
    }
    if (serial == FSerial && FState != wsClosed)
        Close();
}

void TCustomWSocket::ReceivePass(bool Bounded) {
    const quint64 serial = FSerial;
    const qint64 start = FReadCount;
    FInReceivePass = true;
    for (;;) {
        FLastError = 0;
        const qint64 before = FReadCount;
        if (OnDataAvailable) {
            try {
                OnDataAvailable(this, 0);
            } catch (...) {
                // The handler's failure ends this pass; it never reaches the application.
                break;
            }
        } else {
            char discard[1024];
            if (Receive(discard, sizeof discard) < 0) {
                if (FLastError == WSAEWOULDBLOCK)
                    FLastError = 0;
                break;
            }
        }
        if (FLastError != 0 || serial != FSerial || FHSocket == -1)
            break;
        // A handler that read nothing would otherwise be asked again for ever.
        if (FReadCount == before || RcvdCount() <= 0)
            break;
        // The re-armed read notification brings the rest from the event loop.
        if (Bounded && FReadCount - start >= ReceiveBudget)
            break;
    }
    FInReceivePass = false;
    if (serial == FSerial && FReadRearm) {
        FReadRearm = false;
        ArmEvents();
    }
}

int TCustomWSocket::Receive(void *Buffer, int Size) {
    if (FHSocket == -1) {
        FLastError = WSAENOTSOCK;
        return -1;
    }
    const ssize_t n = ::recv(FHSocket, Buffer, size_t(std::max(Size, 0)), 0);
    // The read notification is armed again after every read, as the system's window messages
    // are: while bytes remain, another read event follows.
    if (FInReceivePass)
        FReadRearm = true;
    else
        ArmEvents();
    if (n < 0) {
        SetLastErrorFromErrno(errno);
        return -1;
    }
    FReadCount += n;
    return int(n);
}

QByteArray TCustomWSocket::ReceiveStr() {
    const int waiting = RcvdCount();
    if (waiting <= 0)
        return {};
    QByteArray bytes(waiting, Qt::Uninitialized);
    const int n = Receive(bytes.data(), waiting);
    bytes.resize(std::max(n, 0));
    return bytes;
}

int TCustomWSocket::ReceiveFrom(void *Buffer, int Size, QString &FromAddr, quint16 &FromPort) {
    sockaddr_storage from{};
    socklen_t len = sizeof from;
    const ssize_t n = ::recvfrom(FHSocket, Buffer, size_t(std::max(Size, 0)), 0,
                                 reinterpret_cast<sockaddr *>(&from), &len);
    ArmEvents();
    if (n < 0) {
        SetLastErrorFromErrno(errno);
        return -1;
    }
    FReadCount += n;
    FromAddr = AddressText(from);
    FromPort = SystemPort(from);
    return int(n);
}

int TCustomWSocket::SendTo(const void *Data, int Len) {
    sockaddr_storage to;
    const socklen_t toLen = SystemAddress(FAddress, FPortNum, to);
    const ssize_t n = ::sendto(FHSocket, Data, size_t(std::max(Len, 0)), MSG_NOSIGNAL,
                               reinterpret_cast<sockaddr *>(&to), toLen);
    if (n < 0) {
        SetLastErrorFromErrno(errno);
        return -1;
    }
    return int(n);
}

// ---- Sending ----------------------------------------------------------------------------

void TCustomWSocket::DeleteQueue() {
    FSendQueue.clear();
    FAllSent = true;
}

int TCustomWSocket::Send(const void *Data, int Len) {
    if (FState != wsConnected) {
        FLastError = WSAENOTCONN;
        ReportSocketError(QStringLiteral("Send"));
        return -1;
    }
    FAllSent = false;
    const char *bytes = static_cast<const char *>(Data);
    int left = std::max(Len, 0);
    while (left > 0) {
        if (FSendQueue.empty())
            FSendQueue.emplace_back(TBuffer::DefaultSize);
        const int copied = FSendQueue.back().Write(bytes, left);
        if (copied == 0) {
            FSendQueue.emplace_back(TBuffer::DefaultSize);
            continue;
        }
        bytes += copied;
        left -= copied;
    }
    TryToSend();
    if (FAllSent && FHSocket != -1)
        PostWriteEvent();
    return Len;
}

void TCustomWSocket::TryToSend() {
    if (FHSocket == -1 || FSendQueue.empty())
        return;
    const int flags = MSG_NOSIGNAL | (FSendFlags == wsSendUrgent ? MSG_OOB : 0);
    while (!FSendQueue.empty()) {
        TBuffer &block = FSendQueue.front();
        int len = 0;
        const char *bytes = block.Peek(len);
        if (len > 0) {
            const ssize_t n = ::send(FHSocket, bytes, size_t(len), flags);
            if (n > 0) {
                block.Remove(int(n));
                if (n < len) {
                    // The system took part: the write event continues.
                    FWantWrite = true;
                    ArmEvents();
                    return;
                }
                continue;
            }
            const int error = WinsockErrorFromErrno(n < 0 ? errno : EAGAIN);
            if (error == WSAEWOULDBLOCK) {
                FWantWrite = true;
                ArmEvents();
                return;
            }
            if (error == WSAEINVAL || error == WSAENOTSOCK || error == WSAECONNRESET ||
                error == WSAENOTCONN) {
                FCloseInvoked = true;
                Close();
                if (OnSessionClosed)
                    OnSessionClosed(this, quint16(error));
                return;
            }
            FLastError = error;
            ReportSocketError(QStringLiteral("TryToSend failed"));
            return;
        }
        if (FSendQueue.size() > 1) {
            FSendQueue.pop_front();
            continue;
        }
        FAllSent = true;
        break;
    }
}

void TCustomWSocket::Flush() {
    const QDeadlineTimer deadline(qint64(FFlushTimeout) * 1000);
    while (FHSocket != -1 && !FAllSent && !deadline.hasExpired()) {
        TryToSend();
        if (FAllSent || FHSocket == -1)
            break;
        pollfd p{FHSocket, POLLOUT, 0};
        poll(&p, 1, int(std::min<qint64>(deadline.remainingTime(), 1000)));
    }
}

// ---- Closing ----------------------------------------------------------------------------

void TCustomWSocket::Close() {
    InternalClose(true, 0);
}

void TCustomWSocket::Abort() {
    FLookupId = -1; // a running lookup's answer is dropped by its number
    DeleteQueue();
    if (FState == wsConnected && FHSocket != -1) {
        FLingerOnOff = wsLingerOff;
        SetLingerOption();
    }
    InternalClose(false, 0);
}

void TCustomWSocket::InternalClose(bool Graceful, int Error) {
    if (FHSocket == -1) {
        if (FState != wsClosed) {
            ChangeState(wsClosed);
            ResetDefaults();
        }
        return;
    }
    if (Graceful && FState != wsClosed)
        ::shutdown(FHSocket, SHUT_RDWR);
    ReleaseNotifications();
    ::close(FHSocket);
    FHSocket = -1;
    // Events already posted for this connection are dropped from here on.
    ++FSerial;
    const bool raise = !FCloseInvoked && !FDestroying;
    if (FState != wsClosed)
        ChangeState(wsClosed);
    ResetDefaults();
    if (raise && OnSessionClosed)
        OnSessionClosed(this, quint16(Error));
}

void TCustomWSocket::ShutDown(int How) {
    if (FHSocket != -1)
        ::shutdown(FHSocket, How == 0 ? SHUT_RD : How == 1 ? SHUT_WR : SHUT_RDWR);
}

void TCustomWSocket::Pause() {
    FPaused = true;
    if (FNotifier)
        FNotifier->setEnabled(false);
}

void TCustomWSocket::Resume() {
    FPaused = false;
    if (FNotifier)
        FNotifier->setEnabled(true);
    ArmEvents();
}

// ---- Server side and the synchronous helpers ------------------------------------------------

void TCustomWSocket::Listen() {
    if (!FPortAssigned)
        return HandleSocketError(QStringLiteral("listen: port not assigned"));
    if (!FProtoAssigned)
        return HandleSocketError(QStringLiteral("listen: protocol not assigned"));
    if (!FAddrAssigned)
        return HandleSocketError(QStringLiteral("listen: address not assigned"));
    if (!FAddrResolved)
        ResolveAddr();
    const int fd = OpenSystemSocket();
    if (fd < 0) {
        SetLastErrorFromErrno(errno);
        return ReportSocketError(QStringLiteral("socket"));
    }
    FHSocket = fd;
    ++FSerial;
    FCloseInvoked = false;
    ChangeState(wsOpened);
    sockaddr_storage local;
    const socklen_t localLen = SystemAddress(FAddress, FPortNum, local);
    if (bind(fd, reinterpret_cast<sockaddr *>(&local), localLen) != 0) {
        SetLastErrorFromErrno(errno);
        return ReportSocketError(QStringLiteral("Bind"));
    }
    ChangeState(wsBound);
    if (!FDatagram && ::listen(fd, 5) != 0) {
        SetLastErrorFromErrno(errno);
        return ReportSocketError(QStringLiteral("Listen"));
    }
    if (!ArmNotifications())
        return;
    ChangeState(FDatagram ? wsConnected : wsListening);
}

int TCustomWSocket::Accept() {
    if (FState != wsListening)
        return HandleSocketError(QStringLiteral("not a listening socket")), -1;
    const int fd = accept4(FHSocket, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    ArmEvents();
    if (fd < 0) {
        SetLastErrorFromErrno(errno);
        ReportSocketError(QStringLiteral("Accept"));
        return -1;
    }
    return fd;
}

void TCustomWSocket::Dup(int NewHSocket) {
    if (NewHSocket < 0) {
        FLastError = WSAENOTSOCK;
        return ReportSocketError(QStringLiteral("Dup"));
    }
    if (FHSocket != -1 && ::close(FHSocket) != 0) {
        SetLastErrorFromErrno(errno);
        return ReportSocketError(QStringLiteral("Dup (closesocket)"));
    }
    ReleaseNotifications();
    FHSocket = NewHSocket;
    ++FSerial;
    FCloseInvoked = false;
    if (!ArmNotifications())
        return;
    ChangeState(wsConnected);
}

QString TCustomWSocket::GetPeerAddr() {
    if (FState != wsConnected)
        return QStringLiteral("error");
    sockaddr_storage peer{};
    socklen_t len = sizeof peer;
    if (getpeername(FHSocket, reinterpret_cast<sockaddr *>(&peer), &len) != 0) {
        SetLastErrorFromErrno(errno);
        ReportSocketError(QStringLiteral("GetPeerName"));
        return QStringLiteral("error");
    }
    return AddressText(peer);
}

QString TCustomWSocket::GetXPort() {
    sockaddr_storage local{};
    socklen_t len = sizeof local;
    if (FHSocket == -1 || getsockname(FHSocket, reinterpret_cast<sockaddr *>(&local), &len) != 0)
        return QStringLiteral("error");
    return QString::number(SystemPort(local));
}

bool TCustomWSocket::WaitForState(TSocketState DesiredState, int Timeout) {
    const QDeadlineTimer deadline(qint64(Timeout) * 1000);
    while (FState != DesiredState && !deadline.hasExpired()) {
        if (DesiredState == wsConnected && FState == wsClosed)
            break;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return FState == DesiredState;
}

QByteArray TCustomWSocket::ReadLine(int Timeout) {
    QByteArray line;
    const QDeadlineTimer deadline(qint64(Timeout) * 1000);
    while (FHSocket != -1 && !deadline.hasExpired()) {
        char c = 0;
        const ssize_t n = ::recv(FHSocket, &c, 1, 0);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno != EAGAIN)
                break;
            pollfd p{FHSocket, POLLIN, 0};
            poll(&p, 1, int(std::min<qint64>(deadline.remainingTime(), 1000)));
            continue;
        }
        ++FReadCount;
        if (c == '\n')
            break;
        if (line.size() >= 254) {
            if (OnLineTooLong)
                OnLineTooLong(this);
            break;
        }
        line.append(c);
    }
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

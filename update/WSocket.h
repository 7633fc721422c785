// The event-driven socket under the HTTP client: name lookup, connection, sending and receiving
// on the user-interface thread without ever blocking it. Readiness comes from the event loop;
// every network event reaches its handler from the loop, never from inside the call that caused
// it (the immediate lookup answer for a numeric address, CancelDnsLookup and Close excepted).
#pragma once

#include "platform/SysUtils.h"
#include "update/WSockbuf.h"

#include <QHostAddress>
#include <QObject>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

class QSocketNotifier;

enum TSocketState {
    wsInvalidState,
    wsOpened,
    wsBound,
    wsConnecting,
    wsConnected,
    wsAccepting,
    wsListening,
    wsClosed
};
enum TSocketSendFlags { wsSendNormal, wsSendUrgent };
enum TSocketLingerOnOff { wsLingerOff, wsLingerOn, wsLingerNoSet };

// Error numbers are those of the Windows Sockets table (SocketErrorText), whatever the system's
// own numbering, so that a user reads the same texts everywhere.
constexpr int WSAEINTR = 10004;
constexpr int WSAEINVAL = 10022;
constexpr int WSAEWOULDBLOCK = 10035;
constexpr int WSAENOTSOCK = 10038;
constexpr int WSAECONNRESET = 10054;
constexpr int WSAENOTCONN = 10057;
constexpr int WSAETIMEDOUT = 10060;
constexpr int WSAHOST_NOT_FOUND = 11001;
constexpr int WSANO_RECOVERY = 11003;

class ESocketException : public Exception {
public:
    using Exception::Exception;
};

// The text of a socket error number.
QString SocketErrorText(int ErrCode);
// The socket error number of a system error (errno).
int WinsockErrorFromErrno(int Errno);
// The addresses of a name lookup as the socket offers them: IPv4 first, then IPv6, each in the
// order found, so a name with both is reached over IPv4 and a name with IPv6 alone is reached.
QStringList LookupOrder(const QList<QHostAddress> &Addresses);

class TCustomWSocket : public QObject {
    Q_OBJECT

public:
    explicit TCustomWSocket(QObject *Owner = nullptr);
    ~TCustomWSocket() override;

    using TDataAvailable = std::function<void(QObject *Sender, quint16 Error)>;
    using TDataSent = TDataAvailable;
    using TSessionClosed = TDataAvailable;
    using TSessionAvailable = TDataAvailable;
    using TSessionConnected = TDataAvailable;
    using TDnsLookupDone = TDataAvailable;
    using TChangeState =
        std::function<void(QObject *Sender, TSocketState OldState, TSocketState NewState)>;
    using TNotifyEvent = std::function<void(QObject *Sender)>;

    // Remote host (a dotted IPv4 address, an IPv6 address or a name), port (a number or a service
    // name) and protocol
    // ("tcp", "udp" or a number). Changeable only while closed.
    QString Addr() const { return FAddrStr; }
    void SetAddr(const QString &Value);
    QString Port() const { return FPortStr; }
    void SetPort(const QString &Value);
    QString Proto() const { return FProtoStr; }
    void SetProto(const QString &Value);

    QString DnsResult() const { return FDnsResult; }
    const QStringList &DnsResultList() const { return FDnsResultList; }
    TSocketState State() const { return FState; }
    // Bytes received since the socket was last reset.
    qint64 ReadCount() const { return FReadCount; }
    // Bytes waiting to be read now; -1 on error.
    int RcvdCount() const;
    int LastError() const { return FLastError; }
    bool MultiThreaded() const { return FMultiThreaded; }
    void SetMultiThreaded(bool Value) { FMultiThreaded = Value; }
    int FlushTimeout() const { return FFlushTimeout; }
    void SetFlushTimeout(int Seconds) { FFlushTimeout = Seconds; }
    TSocketSendFlags SendFlags() const { return FSendFlags; }
    void SetSendFlags(int Value);
    TSocketLingerOnOff LingerOnOff() const { return FLingerOnOff; }
    void SetLingerOnOff(TSocketLingerOnOff Value) { FLingerOnOff = Value; }
    int LingerTimeout() const { return FLingerTimeout; }
    void SetLingerTimeout(int Seconds) { FLingerTimeout = Seconds; }

    TDataAvailable OnDataAvailable;
    TDataSent OnDataSent;
    TSessionClosed OnSessionClosed;
    TSessionAvailable OnSessionAvailable;
    TSessionConnected OnSessionConnected;
    TChangeState OnChangeState;
    TNotifyEvent OnLineTooLong;
    TDnsLookupDone OnDnsLookupDone;
    TNotifyEvent OnError;

    // Asynchronous name lookup; OnDnsLookupDone follows with DnsResult set or an error number.
    // A numeric address (dotted IPv4 or IPv6) is answered at once, inside the call.
    void DnsLookup(const QString &HostName);
    // Stops a running lookup; OnDnsLookupDone follows at once with 10004.
    void CancelDnsLookup();
    // Reverse lookup of a numeric address; OnDnsLookupDone follows with the name in DnsResult.
    void ReverseDnsLookup(const QString &HostAddr);

    // Starts a connection to Addr:Port; OnSessionConnected follows from the event loop.
    void Connect();
    // Queues the bytes and starts sending; OnDataSent follows once the queue is empty. The
    // length, or -1 when the socket is not connected.
    int Send(const void *Data, int Len);
    int SendStr(const QByteArray &Str) { return Send(Str.constData(), int(Str.size())); }
    // Reads what is available, at most Size bytes: the count, 0 when the peer has closed, -1 on
    // error.
    int Receive(void *Buffer, int Size);
    // Reads every waiting byte.
    QByteArray ReceiveStr();
    // Datagram sockets: receive with the sender's address, send to Addr:Port.
    int ReceiveFrom(void *Buffer, int Size, QString &FromAddr, quint16 &FromPort);
    int SendTo(const void *Data, int Len);

    // Graceful close: OnSessionClosed is raised once, from inside Close.
    void Close();
    // Closes at once, discarding what is queued.
    void Abort();
    // Shuts one direction (0 receive, 1 send) or both (2) down.
    void ShutDown(int How);
    // Suspends and resumes the delivery of network events.
    void Pause();
    void Resume();

    // Server side: listen on Addr:Port (backlog 5), accept a waiting connection (its handle),
    // adopt an accepted handle.
    void Listen();
    int Accept();
    void Dup(int NewHSocket);

    // The peer's dotted address ("error" when not connected), the local port ("error" when not
    // bound).
    QString GetPeerAddr();
    QString GetXPort();

    // Synchronous helpers: wait up to Timeout seconds for a state; send until the queue is empty
    // within FlushTimeout; read one line of at most 254 characters (OnLineTooLong beyond).
    bool WaitForState(TSocketState DesiredState, int Timeout);
    void Flush();
    QByteArray ReadLine(int Timeout);

    // Error reporting: ReportSocketError builds "Error <n> in function <name>" with the text of
    // the last error; HandleSocketError raises OnError when assigned, else ESocketException.
    void ReportSocketError(const QString &FunctionName);
    void HandleSocketError(const QString &Text);

    // The connection a posted event belongs to; a later connection has another number.
    quint64 ConnectionSerial() const { return FSerial; }

protected:
    void customEvent(QEvent *Event) override;

private:
    struct TPostedEvent;
    void ChangeState(TSocketState NewState);
    void ResetDefaults();
    void InternalClose(bool Graceful, int Error);
    bool ArmNotifications();
    void ReleaseNotifications();
    quint32 EventMask() const;
    void ArmEvents();
    void OnNotifier();
    void ProcessEvents(quint32 Events, int Error);
    void HandleConnect(int Error);
    void HandleWrite();
    void HandleClose(int Error);
    // Raises OnDataAvailable while bytes wait; Bounded, only up to a bounded amount, leaving
    // the rest to the next read event.
    void ReceivePass(bool Bounded);
    void TryToSend();
    void DeleteQueue();
    void SetLingerOption();
    void PostWriteEvent();
    void ResolveAddr();
    // A non-blocking system socket of the address's family and the protocol's type.
    int OpenSystemSocket();
    void LookupFinished(int Error, const QStringList &Results);
    void SetLastErrorFromErrno(int Errno);

    int FHSocket = -1;
    int FEpoll = -1;
    std::unique_ptr<QSocketNotifier> FNotifier;
    quint64 FSerial = 0;
    bool FWantWrite = false;
    bool FReadRearm = false;
    bool FInReceivePass = false;
    bool FPaused = false;
    bool FDestroying = false;

    QString FAddrStr;
    QString FPortStr;
    QString FProtoStr = QStringLiteral("tcp");
    QHostAddress FAddress;
    quint16 FPortNum = 0; // host byte order
    int FProtoNum = 6;
    bool FDatagram = false;
    bool FPortAssigned = false;
    bool FAddrAssigned = false;
    bool FAddrResolved = false;
    bool FProtoAssigned = true;

    QString FDnsResult;
    QStringList FDnsResultList;
    int FLookupId = -1;

    TSocketState FState = wsClosed;
    qint64 FReadCount = 0;
    int FLastError = 0;
    bool FMultiThreaded = false;
    int FFlushTimeout = 60;
    TSocketSendFlags FSendFlags = wsSendNormal;
    TSocketLingerOnOff FLingerOnOff = wsLingerOn;
    int FLingerTimeout = 0;

    std::deque<TBuffer> FSendQueue;
    bool FAllSent = true;
    bool FCloseInvoked = false;
};

class TWSocket : public TCustomWSocket {
    Q_OBJECT

public:
    using TCustomWSocket::TCustomWSocket;
};

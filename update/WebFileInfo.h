// The web file info component: reads the maker's version page, tells whether the newest
// version there is newer than the running one and, on request, downloads the update into a
// file the user chooses and starts it. It shows its own small windows while it waits.
#pragma once

#include "update/HttpProt.h"

#include <QDate>
#include <QDialog>
#include <QFlags>
#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <exception>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QIODevice;
class TWebFileInfo;

enum TWfiOption {
    wfioAlwaysOverwrite = 1, // no effect: the save dialog always asks before replacing a file
    wfioDisplayUI = 2,       // always set: the component shows its windows and waits in them
    wfioDisplayReadMe = 4,
    wfioRunUpdate = 8,
    wfioExitDuringUpdate = 16,
};
Q_DECLARE_FLAGS(TWfiOptions, TWfiOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TWfiOptions)

enum TWfiDateFormat { wfidDFSDate, wfidNone };
enum TWfiVersionFormat { wfivBuildNumber, wfivSimpleString };

// The META names of the version page that fill the product fields. An empty tag matches no
// name.
class TWfiTags {
public:
    QString AuthorTag() const { return FAuthorTag; }
    void SetAuthorTag(const QString &tag) { FAuthorTag = tag; }
    QString AuthorEMailTag() const { return FAuthorEMailTag; }
    void SetAuthorEMailTag(const QString &tag) { FAuthorEMailTag = tag; }
    QString DateTag() const { return FDateTag; }
    void SetDateTag(const QString &tag) { FDateTag = tag; }
    QString DownloadTag() const { return FDownloadTag; }
    void SetDownloadTag(const QString &tag) { FDownloadTag = tag; }
    QString ProductNameTag() const { return FProductNameTag; }
    void SetProductNameTag(const QString &tag) { FProductNameTag = tag; }
    QString ReadMeTag() const { return FReadMeTag; }
    void SetReadMeTag(const QString &tag) { FReadMeTag = tag; }
    QString ReadMeExtTag() const { return FReadMeExtTag; }
    void SetReadMeExtTag(const QString &tag) { FReadMeExtTag = tag; }
    QString RedirectTag() const { return FRedirectTag; }
    void SetRedirectTag(const QString &tag) { FRedirectTag = tag; }
    QString RunParamsTag() const { return FRunParamsTag; }
    void SetRunParamsTag(const QString &tag) { FRunParamsTag = tag; }
    QString VersionTag() const { return FVersionTag; }
    void SetVersionTag(const QString &tag) { FVersionTag = tag; }
    // The update file's SHA-256 in hex, checked before a download is kept. An extra tag: a
    // page without it works as before.
    QString Sha256Tag() const { return FSha256Tag; }
    void SetSha256Tag(const QString &tag) { FSha256Tag = tag; }

    // Whether the ten tags of the product fields are all empty.
    bool AllEmpty() const;

private:
    QString FAuthorTag, FAuthorEMailTag, FDateTag, FDownloadTag, FProductNameTag, FReadMeTag,
        FReadMeExtTag, FRedirectTag, FRunParamsTag, FVersionTag, FSha256Tag;
};

// Receives the client's completion for the component.
class THttpEvents {
public:
    explicit THttpEvents(TWebFileInfo &owner) : FOwner(owner) {}
    void RequestDone(QObject *Sender, THttpRequest RqType, quint16 Error);

private:
    TWebFileInfo &FOwner;
};

// The download progress window.
class TWebDlProgress : public QDialog {
    Q_OBJECT

public:
    explicit TWebDlProgress(QWidget *parent = nullptr);

    QLabel *lblDownloading;
    QProgressBar *pbarProgress;
    QLabel *lblProgress;
    QPushButton *btnCancel;
    bool Cancelled = false;

    void btnCancelClick(QObject *Sender);
    // Cancel, also when the window is closed by the window manager or Escape.
    std::function<void(QObject *Sender)> OnCancel;

    void reject() override;
};

// ---- The rules of the version page, for the component and its tests -----------------------

// The value of a version page line: the text after CONTENT=" (capitals) up to the next double
// quote, at most 1000 characters looked at; empty when the line has none.
QString ExtractContent(const QString &line);
// The META name of a line holding META HTTP-EQUIV (letters in any case) right before ="name";
// empty when the line has none.
QString ExtractMetaName(const QString &line);
// The date of a text such as "July 25, 1999"; raises EConvertError when the text does not
// have that form.
QDate ParseProductDate(const QString &text);
// Whether `server` is a newer build number than `current`: dotted whole numbers compared
// from the left, text that is not a number counting as 0, only as many components as
// `current` has.
bool IsNewerBuildNumber(const QString &current, const QString &server);
// 1234567 as "1,234,567".
QString FormatThousands(qint64 number);
// A file name from the server without its leading dots, so that it never names a hidden file;
// `fallback` when nothing is left or it holds a path separator, so that nothing lands outside
// the chosen folder.
QString SafeFileName(const QString &name, const QString &fallback);

class TWebFileInfo : public QObject {
    Q_OBJECT

public:
    explicit TWebFileInfo(QWidget *owner = nullptr);
    ~TWebFileInfo() override;

    // ---- Properties
    bool Active() const { return FActive; }
    // Writing true is ignored; false makes the next retrieval fetch again.
    void SetActive(bool active);
    QString CurrentVersion() const { return FCurrentVersion; }
    void SetCurrentVersion(const QString &version) { FCurrentVersion = version; }
    TWfiDateFormat DateFormat() const { return FDateFormat; }
    void SetDateFormat(TWfiDateFormat format) { FDateFormat = format; }
    QString DownloadURL() const { return FDownloadURL; }
    QString HomeURL() const { return FHomeURL; }
    // Accepted only as an "http://" address (any case) longer than 6 characters; an accepted
    // address makes the next retrieval fetch again.
    void SetHomeURL(const QString &url);
    TWfiTags &InfoTags() { return FInfoTags; }
    const TWfiTags &InfoTags() const { return FInfoTags; }
    void SetInfoTags(const TWfiTags &tags) { FInfoTags = tags; }
    QString LastError() const { return FLastError; }
    TWfiOptions Options() const { return FOptions; }
    // wfioDisplayUI is always kept.
    void SetOptions(TWfiOptions options) { FOptions = options | wfioDisplayUI; }
    QString ProductName() const { return FProductName; }
    QString ProductAuthor() const { return FProductAuthor; }
    QString ProductAuthorEMail() const { return FProductAuthorEMail; }
    QDate ProductDate() const { return FProductDate; } // null when the page gave none
    QString ProductDateStr() const { return FProductDateStr; }
    QString ProductReadMe() const { return FProductReadMe; }
    QString ProductReadMeExt() const { return FProductReadMeExt; }
    QString ProductVersion() const { return FProductVersion; }
    QString ProductSha256() const { return FProductSha256; }
    QString ProxyHost() const { return FProxyHost; }
    void SetProxyHost(const QString &host) { FProxyHost = host; }
    int ProxyPort() const { return FProxyPort; }
    void SetProxyPort(int port) { FProxyPort = port; }
    QString RunParams() const { return FRunParams; }
    // Reading it while UIOwnerFont is set first copies the owner window's font.
    QFont UIFont();
    void SetUIFont(const QFont &font);
    bool UIOwnerFont() const { return FUIOwnerFont; }
    void SetUIOwnerFont(bool owner) { FUIOwnerFont = owner; }
    TWfiVersionFormat VersionFormat() const { return FVersionFormat; }
    void SetVersionFormat(TWfiVersionFormat format) { FVersionFormat = format; }

    // Raised for every block of a file download.
    std::function<void(QObject *Sender, qint64 BytesReceived, qint64 FileSize)> OnDownloadProgress;
    // Raised just before the application is told to terminate for an installation, so that
    // the program can keep what its close sequence would have kept.
    std::function<void(QObject *Sender)> OnTerminating;

    // ---- Operations
    bool RetrieveInfo();
    bool PerformUpdate();
    bool IsNewerVersion() const;
    bool ShowReadMe(bool ask);
    bool DownloadUpdate(const QString &fileName);
    // With `sha256` given, the file is kept only when its SHA-256 matches.
    bool DownloadFile(const QString &address, const QString &targetPath, const QString &caption,
                      const QString &sha256 = QString());
    void ParseInfoPage(const QStringList &lines);
    void ReportProgress(qint64 received, qint64 total);
    QDialog *CreateWaitWindow(const QString &text);
    QDialog *CreateReadMeWindow();
    TWebDlProgress *CreateProgressWindow();
    void HookExceptions();
    void UnhookExceptions();
    void HandleAppException(QObject *Sender, const std::exception &E);

    // Internal state, readable for the windows and tests.
    QString RedirectURL() const { return FRedirectURL; }
    QString UpdateFileName() const { return FUpdateFileName; }
    QString TargetFile() const { return FTargetFile; }
    THttpCli *HttpCli() const { return FHttpCli.get(); }
    // The folder the read-me file is downloaded into: private to this process.
    QString ReadMeFolder();

private:
    friend class THttpEvents;
    void RequestDone(int Error);
    void ClearProductFields();
    // Starts a GET of `address` into `stream` and waits in `window` until it ends. False when
    // the wait was interrupted by an HTTP exception.
    bool GetAndWait(const QString &address, QIODevice *stream, QDialog *window);
    // The status and reason of the request that just ended, with the in-memory cap applied.
    int Status() const;
    QString Reason() const;
    void EnsureClient();
    // An address the page gives as a path alone is taken on the page's own server.
    QString OnPageServer(const QString &address) const;
    QWidget *OwnerWindow() const;

    bool FActive = false;
    QString FCurrentVersion;
    TWfiDateFormat FDateFormat = wfidDFSDate;
    QString FDownloadURL, FHomeURL, FLastError;
    TWfiTags FInfoTags;
    TWfiOptions FOptions{wfioDisplayUI, wfioDisplayReadMe, wfioRunUpdate, wfioExitDuringUpdate};
    QString FProductName, FProductAuthor, FProductAuthorEMail, FProductDateStr, FProductReadMe,
        FProductReadMeExt, FProductVersion, FRunParams, FProductSha256;
    QDate FProductDate;
    QString FProxyHost;
    int FProxyPort = 80;
    QFont FUIFont;
    bool FUIOwnerFont = true;
    TWfiVersionFormat FVersionFormat = wfivBuildNumber;

    QString FRedirectURL, FUpdateFileName, FTargetFile;
    QString FPageURL; // the address of the version page last read
    std::unique_ptr<THttpEvents> FHttpEvents;
    std::unique_ptr<THttpCli> FHttpCli;
    QPointer<QDialog> FWaitWindow;
    QPointer<TWebDlProgress> FProgressWindow;
    std::function<void(QObject *, const std::exception &)> FSavedHandler;
    bool FHooked = false;
    bool FRequestEnded = true; // the running request's completion has arrived
    bool FInterrupted = false; // an HTTP exception ended the running wait
    bool FAnswerTooLarge = false;
    QString FReadMeFolder;
};

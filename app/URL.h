// A link to a web page or mail address that the shell opens, and the maker's addresses.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

// The maker's web site and mail addresses, the one place they are written. The pages are
// given without their scheme, as a link (TURL) of type utHttp takes them.
struct TMakerAddresses {
    QString Host;            // www.tamblewick.example
    QString HomePage;        // the root of the web site
    QString ProductPage;     // this program's page, which also announces its updates
    QString FreewarePage;    // the library of financial calculators
    QString SuggestPage;     // the online suggestion box
    QString SupportMail;     // technical support
    QString SuggestionsMail; // suggestions
};
const TMakerAddresses &MakerAddresses();

enum TURLType { utFile, utFtp, utGopher, utHttp, utHttps, utMailto, utNews, utTelnet, utWais };

// The scheme put in front of an address of this type: "http://", "mailto:", ...
QString URLPrefix(TURLType type);

// The longest address (scheme and address together) that a link opens.
constexpr int MaxAddressLength = 79;

// A link that the program's menus open. Owned by the window whose menus use it.
class TURL : public QObject {
    Q_OBJECT

public:
    explicit TURL(QObject *owner = nullptr);

    // The address without its scheme.
    QString URL() const { return FURL; }
    void SetURL(const QString &url) { FURL = url; }
    TURLType URLType() const { return FURLType; }
    void SetURLType(TURLType type) { FURLType = type; }

    // The scheme followed by the address.
    QString Address() const { return URLPrefix(FURLType) + FURL; }

    // Asks the shell to open the address with the started program left in the background.
    // True when the shell reports that it did. An empty address does nothing; so does an
    // address longer than MaxAddressLength, which is refused rather than cut into another,
    // wrong address. Nothing is shown to the user either way.
    bool Open();

private:
    QWidget *OwnerWindow() const;

    QString FURL;
    TURLType FURLType = utHttp;
};

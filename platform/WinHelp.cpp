#include "platform/WinHelp.h"

#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/ShellApi.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QShortcut>
#include <QStringDecoder>
#include <QTextBrowser>
#include <QTextDocumentFragment>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

namespace {

QPointer<THelpViewer> &Viewer() {
    static QPointer<THelpViewer> viewer;
    return viewer;
}

const QString ContentsTopic = QStringLiteral("contents");

const char *const HelpOnHelpPage = R"(<html><head><title>How to Use Help</title></head><body>
<h2>How to Use Help</h2>
<p>The help window shows the program's help on the right and its index on the left.</p>
<h3>Finding a topic</h3>
<ul>
<li><b>Contents</b> (Alt+C) shows the list of topics. Click a topic, or press Tab until it is
marked and then Enter, to read it.</li>
<li>The <b>index</b> lists the words the topics are about. Type a word or part of one in the
search field (Alt+S to get there): the list keeps only the entries that contain what you typed.
Up and Down arrows choose an entry even while you type; Enter or <b>Display</b> (Alt+D) shows
its topic. A double click on an entry does the same.</li>
</ul>
<h3>Reading</h3>
<ul>
<li>Page Up, Page Down and the arrow keys scroll the text once it has the keyboard focus
(click into it or press Tab until it has the focus).</li>
<li>Underlined words are links: click one, or press Tab until it is marked and then Enter.</li>
</ul>
<h3>Keys</h3>
<ul>
<li>F1 or <b>How to Use Help</b> (Alt+U) shows this page.</li>
<li>Escape closes the help window. The program closes it too when it ends.</li>
</ul>
</body></html>)";

// The text of a topic's heading, its tags and entities resolved.
QString PlainText(const QString &html) {
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

bool ReadHelpFile(const QString &helpFile, QString &html) {
    if (helpFile.isEmpty()) {
        MessageDlg(QCoreApplication::translate("THelpViewer", "No help file has been named."),
                   mtError, mbOK);
        return false;
    }
    QFile file(helpFile);
    if (!file.open(QIODevice::ReadOnly)) {
        MessageDlg(QCoreApplication::translate("THelpViewer", "Cannot open the help file %1:\n%2.")
                       .arg(QDir::toNativeSeparators(helpFile), file.errorString()),
                   mtError, mbOK);
        return false;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        MessageDlg(QCoreApplication::translate("THelpViewer", "Cannot read the help file %1:\n%2.")
                       .arg(QDir::toNativeSeparators(helpFile), file.errorString()),
                   mtError, mbOK);
        return false;
    }
    QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
    html = decoder.isValid() ? QString(decoder(data)) : QString::fromUtf8(data);
    return true;
}

} // namespace

namespace {
const QRegularExpression &AnchorPattern() {
    static const QRegularExpression pattern(
        QStringLiteral(R"re(<a\s[^>]*\bname\s*=\s*(?:"([^"]*)"|'([^']*)'))re"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}
} // namespace

QString HelpContextTopic(const QString &html, int context) {
    const QRegularExpression contextPattern(
        QStringLiteral(R"(<!--\s*context\s*:\s*%1\s*-->)").arg(context),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = contextPattern.match(html);
    if (!m.hasMatch())
        return QString();
    QString topic;
    for (auto it = AnchorPattern().globalMatch(html.left(m.capturedStart())); it.hasNext();) {
        const QRegularExpressionMatch a = it.next();
        topic = a.captured(1).isNull() ? a.captured(2) : a.captured(1);
    }
    return topic;
}

QList<THelpIndexEntry> ReadHelpIndex(const QString &html) {
    const QRegularExpression &anchorPattern = AnchorPattern();
    static const QRegularExpression headingPattern(
        QStringLiteral(R"(<h[1-6][^>]*>(.*?)</h[1-6]\s*>)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression keywordsPattern(
        QStringLiteral(R"(<!--\s*keywords\s*:(.*?)-->)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);

    // Anchors and headings are looked for outside comments.
    static const QRegularExpression commentPattern(QStringLiteral("<!--.*?-->"),
                                                   QRegularExpression::DotMatchesEverythingOption);
    QString text = html;
    for (auto it = commentPattern.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        text.replace(m.capturedStart(), m.capturedLength(), QString(m.capturedLength(), u' '));
    }

    struct TTopic {
        qsizetype Start;
        QString Name;
        QString Title;
    };
    QList<TTopic> topics{{0, QString(), QString()}};
    for (auto it = anchorPattern.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString name = m.captured(1).isNull() ? m.captured(2) : m.captured(1);
        topics.append({m.capturedStart(), name, name});
    }
    for (qsizetype i = 0; i < topics.size(); ++i) {
        const qsizetype end = i + 1 < topics.size() ? topics[i + 1].Start : text.size();
        const QRegularExpressionMatch m = headingPattern.match(text, topics[i].Start);
        if (m.hasMatch() && m.capturedEnd() <= end)
            topics[i].Title = PlainText(m.captured(1));
    }

    QList<THelpIndexEntry> index;
    for (auto it = keywordsPattern.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const auto owner = std::find_if(topics.rbegin(), topics.rend(), [&](const TTopic &t) {
            return t.Start <= m.capturedStart();
        });
        for (const QString &part : m.captured(1).split(QLatin1Char(';'))) {
            const QString keyword = part.simplified();
            const bool known = std::any_of(index.begin(), index.end(), [&](const auto &e) {
                return e.Topic == owner->Name &&
                       e.Keyword.compare(keyword, Qt::CaseInsensitive) == 0;
            });
            if (!keyword.isEmpty() && !known)
                index.append({keyword, owner->Name, owner->Title, keyword});
        }
    }

    std::stable_sort(index.begin(), index.end(), [](const auto &a, const auto &b) {
        const int byKeyword = a.Keyword.compare(b.Keyword, Qt::CaseInsensitive);
        return byKeyword != 0 ? byKeyword < 0 : a.Title.compare(b.Title, Qt::CaseInsensitive) < 0;
    });
    // A keyword of several topics names its topic in each entry.
    for (qsizetype i = 0; i < index.size(); ++i) {
        const auto same = [&](qsizetype j) {
            return j >= 0 && j < index.size() &&
                   index[j].Keyword.compare(index[i].Keyword, Qt::CaseInsensitive) == 0;
        };
        if (same(i - 1) || same(i + 1))
            index[i].Text = QStringLiteral("%1 (%2)").arg(index[i].Keyword, index[i].Title);
    }
    return index;
}

QList<THelpIndexEntry> FilterHelpIndex(const QList<THelpIndexEntry> &index, const QString &text) {
    const QString wanted = text.simplified();
    QList<THelpIndexEntry> shown;
    for (const THelpIndexEntry &e : index)
        if (e.Keyword.contains(wanted, Qt::CaseInsensitive))
            shown.append(e);
    return shown;
}

// ---- THelpViewer --------------------------------------------------------------------------

THelpViewer::THelpViewer() {
    setAttribute(Qt::WA_QuitOnClose, false); // never keeps the program running
    setWindowTitle(tr("Help"));
    resize(760, 540);

    auto *contents = new QPushButton(tr("&Contents"), this);
    auto *howTo = new QPushButton(tr("How to &Use Help"), this);
    auto *searchLabel = new QLabel(tr("&Search the index for:"), this);
    FSearch = new QLineEdit(this);
    searchLabel->setBuddy(FSearch);
    FIndexList = new QListWidget(this);
    FDisplay = new QPushButton(tr("&Display"), this);
    FBrowser = new QTextBrowser(this);
    FBrowser->setOpenLinks(false);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(howTo);
    buttons->addStretch();
    auto *indexPane = new QVBoxLayout;
    indexPane->addWidget(searchLabel);
    indexPane->addWidget(FSearch);
    indexPane->addWidget(FIndexList, 1);
    indexPane->addWidget(FDisplay);
    auto *panes = new QHBoxLayout;
    panes->addLayout(indexPane);
    panes->addWidget(FBrowser, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(panes, 1);
    FIndexList->setFixedWidth(260);
    FSearch->setFixedWidth(260);

    setTabOrder(contents, howTo);
    setTabOrder(howTo, FSearch);
    setTabOrder(FSearch, FIndexList);
    setTabOrder(FIndexList, FDisplay);
    setTabOrder(FDisplay, FBrowser);

    // Every command of the window runs under Guard: nothing may unwind through Qt.
    auto guarded = [this](auto body) {
        return [this, body] {
            Guard(this, body);
        };
    };
    connect(contents, &QPushButton::clicked, this, guarded([this] { ShowContents(FHelpFile); }));
    connect(howTo, &QPushButton::clicked, this, guarded([this] { ShowHelpOnHelp(); }));
    connect(FSearch, &QLineEdit::textChanged, this, guarded([this] { FillIndex(); }));
    connect(FSearch, &QLineEdit::returnPressed, this, guarded([this] { DisplaySelected(); }));
    connect(FIndexList, &QListWidget::itemActivated, this, guarded([this] { DisplaySelected(); }));
    connect(FDisplay, &QPushButton::clicked, this, guarded([this] { DisplaySelected(); }));
    connect(FBrowser, &QTextBrowser::anchorClicked, this,
            [this](const QUrl &url) { Guard(this, [&] { LinkClicked(url); }); });
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
    connect(new QShortcut(Qt::Key_F1, this), &QShortcut::activated, this,
            guarded([this] { ShowHelpOnHelp(); }));
    FSearch->installEventFilter(this);
    FillIndex();
}

bool THelpViewer::ShowContents(const QString &helpFile) {
    if (!Load(helpFile))
        return false;
    Present();
    ShowTopic(ContentsTopic);
    FBrowser->setFocus();
    return true;
}

bool THelpViewer::ShowIndex(const QString &helpFile, const QString &keyword) {
    if (!Load(helpFile))
        return false;
    Present();
    if (FPage != hpHelpFile)
        ShowTopic(ContentsTopic);
    FSearch->setText(keyword);
    FillIndex(); // also when the text was already the same
    FSearch->setFocus();
    return true;
}

void THelpViewer::ShowHelpOnHelp() {
    Present();
    FBrowser->setHtml(QString::fromUtf8(HelpOnHelpPage));
    FPage = hpHelpOnHelp;
    setWindowTitle(FBrowser->documentTitle());
    FBrowser->setFocus();
}

bool THelpViewer::ShowContext(const QString &helpFile, int context) {
    if (!Load(helpFile))
        return false;
    Present();
    const QString topic = HelpContextTopic(FHtml, context);
    ShowTopic(topic.isEmpty() ? ContentsTopic : topic);
    FBrowser->setFocus();
    return true;
}

QStringList THelpViewer::IndexTexts() const {
    QStringList texts;
    for (int i = 0; i < FIndexList->count(); ++i)
        texts << FIndexList->item(i)->text();
    return texts;
}

bool THelpViewer::eventFilter(QObject *watched, QEvent *event) {
    // The arrow and page keys in the search field choose in the list.
    if (watched == FSearch && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            QCoreApplication::sendEvent(FIndexList, event);
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Reads the file; a changed file replaces what the viewer shows.
bool THelpViewer::Load(const QString &helpFile) {
    QString html;
    if (!ReadHelpFile(helpFile, html))
        return false;
    if (helpFile == FHelpFile && html == FHtml)
        return true;
    FHelpFile = helpFile;
    FHtml = html;
    FIndex = ReadHelpIndex(html);
    FillIndex();
    if (FPage == hpHelpFile)
        ShowHelpFile();
    return true;
}

void THelpViewer::ShowHelpFile() {
    FBrowser->setHtml(FHtml);
    FPage = hpHelpFile;
    FTopic.clear();
    const QString title = FBrowser->documentTitle();
    setWindowTitle(title.isEmpty() ? tr("Help") : title);
}

void THelpViewer::ShowTopic(const QString &topic) {
    if (FPage != hpHelpFile)
        ShowHelpFile();
    FTopic = topic;
    FBrowser->verticalScrollBar()->setValue(0);
    if (!topic.isEmpty())
        FBrowser->scrollToAnchor(topic); // stays at the top when the file has no such topic
    // Tab goes on from here to the topic's links.
    FBrowser->setTextCursor(FBrowser->cursorForPosition(QPoint(0, 0)));
}

void THelpViewer::FillIndex() {
    FShown = FilterHelpIndex(FIndex, FSearch->text());
    FIndexList->clear();
    for (const THelpIndexEntry &e : FShown)
        FIndexList->addItem(e.Text);
    if (!FShown.isEmpty())
        FIndexList->setCurrentRow(0);
    FDisplay->setEnabled(!FShown.isEmpty());
}

void THelpViewer::DisplaySelected() {
    const int row = FIndexList->currentRow();
    if (row < 0 || row >= FShown.size())
        return;
    ShowTopic(FShown[row].Topic);
}

// Links within the help file move to their topic; any other link is opened by the shell.
void THelpViewer::LinkClicked(const QUrl &url) {
    const QUrl file = QUrl::fromLocalFile(FHelpFile);
    const QUrl target = file.resolved(url);
    if (target.adjusted(QUrl::RemoveFragment) == file) {
        ShowTopic(target.fragment());
        return;
    }
    ShellExecute(this, QStringLiteral("open"), target.toString(), QString(), QString(),
                 SW_SHOWNORMAL);
}

void THelpViewer::Present() {
    // Asked from a modal window (the print preview), the viewer stands in front of it as a
    // window of its own, which the modal window neither blocks nor covers; asked from
    // anywhere else, it stands on its own.
    QWidget *modal = QApplication::activeModalWidget();
    QWindow *over = modal && modal != this ? modal->window()->windowHandle() : nullptr;
    winId(); // the viewer's own window exists from here on
    if (windowHandle()->transientParent() != over)
        windowHandle()->setTransientParent(over);
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

// ---- WinHelp -----------------------------------------------------------------------------

THelpViewer *HelpViewer() {
    return Viewer();
}

bool WinHelp(QWidget *owner, const QString &helpFile, TWinHelpCommand command,
             const QString &keyword) {
    if (command == HELP_QUIT) {
        delete Viewer().data();
        return true;
    }
    if (!Viewer()) {
        auto *viewer = new THelpViewer;
        if (owner)
            viewer->setScreen(owner->screen());
        // The window belongs to no other; it goes when the program ends.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, viewer, [viewer] { delete viewer; });
        Viewer() = viewer;
    }
    switch (command) {
    case HELP_CONTENTS:
        return Viewer()->ShowContents(helpFile);
    case HELP_PARTIALKEY:
        return Viewer()->ShowIndex(helpFile, keyword);
    case HELP_HELPONHELP:
        Viewer()->ShowHelpOnHelp();
        return true;
    case HELP_CONTEXT:
        return Viewer()->ShowContext(helpFile, keyword.toInt());
    case HELP_QUIT:
        break;
    }
    return true;
}

bool WinHelp(QWidget *owner, const QString &helpFile, TWinHelpCommand command, int context) {
    return WinHelp(owner, helpFile, command, QString::number(context));
}

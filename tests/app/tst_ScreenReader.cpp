// The program as a Linux screen reader reads it: the real program on a desktop with Qt's
// accessibility bridge on, read from this separate process through libatspi over the
// accessibility bus, which a private session bus started here activates.
#include <atspi/atspi.h> // before Qt's headers, which define "signals"

#include "app/Main.h"
#include "controls/Aligrid.h"
#include "platform/ExtCtrls.h"
#include "tests/support/Desktop.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <memory>
#include <sys/prctl.h>
#include <vector>

namespace {

struct TUnref {
    void operator()(void *p) const {
        if (p)
            g_object_unref(p);
    }
};
using TNode = std::unique_ptr<AtspiAccessible, TUnref>;

// A string that libatspi returned; a failed call reads as its error.
QString Take(gchar *s, GError *e) {
    const QString text =
        e ? QStringLiteral("<%1>").arg(QString::fromUtf8(e->message)) : QString::fromUtf8(s);
    g_free(s);
    g_clear_error(&e);
    return text;
}

#define READ_STRING(call, ...)                                                                     \
    [&] {                                                                                          \
        GError *e = nullptr;                                                                       \
        gchar *s = call(__VA_ARGS__, &e);                                                          \
        return Take(s, e);                                                                         \
    }()

QString Name(AtspiAccessible *a) {
    return READ_STRING(atspi_accessible_get_name, a);
}
QString Role(AtspiAccessible *a) {
    return READ_STRING(atspi_accessible_get_role_name, a);
}
QString Description(AtspiAccessible *a) {
    return READ_STRING(atspi_accessible_get_description, a);
}
// What the text interface reads, empty for an object without one.
QString Text(AtspiAccessible *a) {
    std::unique_ptr<AtspiText, TUnref> text(atspi_accessible_get_text_iface(a));
    return text ? READ_STRING(atspi_text_get_text, text.get(), 0, -1) : QString();
}

std::vector<TNode> Children(AtspiAccessible *a) {
    std::vector<TNode> children;
    GError *e = nullptr;
    const int n = atspi_accessible_get_child_count(a, &e);
    g_clear_error(&e);
    for (int i = 0; i < n; ++i) {
        children.emplace_back(atspi_accessible_get_child_at_index(a, i, &e));
        g_clear_error(&e);
    }
    return children;
}

// The first object below `a`, depth first, with the role and the name. The grid's cells are
// read through its table.
TNode Find(AtspiAccessible *a, const QString &role, const QString &name) {
    for (TNode &child : Children(a)) {
        if (!child)
            continue;
        const QString r = Role(child.get());
        if (r == role && Name(child.get()) == name)
            return std::move(child);
        if (r != QLatin1String("table"))
            if (TNode found = Find(child.get(), role, name))
                return found;
    }
    return {};
}

// The states a screen reader announces of a control, of those that matter here.
QString States(AtspiAccessible *a) {
    std::unique_ptr<AtspiStateSet, TUnref> set(atspi_accessible_get_state_set(a));
    QStringList states;
    for (auto [state, name] : {std::pair{ATSPI_STATE_SHOWING, "showing"},
                               {ATSPI_STATE_ENABLED, "enabled"},
                               {ATSPI_STATE_FOCUSED, "focused"},
                               {ATSPI_STATE_CHECKED, "checked"},
                               {ATSPI_STATE_SELECTED, "selected"}})
        if (atspi_state_set_contains(set.get(), state))
            states << name;
    return states.join(' ');
}

// Does the action of that name, as a screen reader's command does; false when there is none.
bool DoAction(AtspiAccessible *a, const QString &name) {
    std::unique_ptr<AtspiAction, TUnref> action(atspi_accessible_get_action_iface(a));
    GError *e = nullptr;
    for (int i = 0; action && i < atspi_action_get_n_actions(action.get(), &e); ++i)
        if (READ_STRING(atspi_action_get_action_name, action.get(), i) == name) {
            const bool done = atspi_action_do_action(action.get(), i, &e);
            g_clear_error(&e);
            return done;
        }
    g_clear_error(&e);
    return false;
}

// The cells, by their index in the table, whose names the program said have changed, as a
// screen reader that keeps what it has read learns of it. The event is a copy of the
// listener's own.
std::vector<int> RenamedCells;
void CollectCell(const AtspiEvent *event, std::vector<int> &cells) {
    GError *e = nullptr;
    const int index = atspi_accessible_get_index_in_parent(event->source, &e);
    g_clear_error(&e);
    if (Role(event->source).startsWith(QLatin1String("table ")))
        cells.push_back(index);
}
void CollectRenamedCell(const AtspiEvent *event) {
    CollectCell(event, RenamedCells);
    g_boxed_free(ATSPI_TYPE_EVENT, const_cast<AtspiEvent *>(event));
}

// The cells, by their index in the table, that became the focus, in the order announced.
std::vector<int> FocusedCells;
void CollectFocusedCell(const AtspiEvent *event) {
    if (event->detail1 == 1)
        CollectCell(event, FocusedCells);
    g_boxed_free(ATSPI_TYPE_EVENT, const_cast<AtspiEvent *>(event));
}

// Children started here end with this test program, however it ends.
void EndWithThisProgram(QProcess &process) {
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

} // namespace

class TestScreenReader : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> FFolder;
    QProcess FBus;
    QProcess FProgram;
    TNode FApplication;
    AtspiEventListener *FListener = nullptr;
    // The same program in this process, whose grid shows what the program computes.
    std::unique_ptr<QTemporaryDir> FReferenceFolder;
    std::unique_ptr<TfrmMain> FReference;

    // The application of the program on the accessibility desktop, once it is there.
    TNode Application() {
        TNode desktop(atspi_get_desktop(0));
        for (TNode &app : Children(desktop.get())) {
            GError *e = nullptr;
            const guint pid = atspi_accessible_get_process_id(app.get(), &e);
            g_clear_error(&e);
            if (app && pid == guint(FProgram.processId()))
                return std::move(app);
        }
        return {};
    }

private slots:
    void initTestCase() {
        QUORVALE_REQUIRE_DESKTOP();
        FFolder = std::make_unique<QTemporaryDir>();
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty())
            QSKIP("dbus-daemon is not installed");
        EndWithThisProgram(FBus);
        FBus.start(daemon, {"--session", "--nofork", "--print-address=1"});
        if (!FBus.waitForReadyRead(10000))
            QSKIP("the session bus did not start");
        qputenv("DBUS_SESSION_BUS_ADDRESS", FBus.readLine().trimmed());
        qunsetenv("AT_SPI_BUS_ADDRESS");
        if (atspi_init() > 1)
            QSKIP("the accessibility bus did not start (at-spi2-core)");
        {
            TNode desktop(atspi_get_desktop(0));
            GError *e = nullptr;
            atspi_accessible_get_child_count(desktop.get(), &e);
            if (e) {
                const QString why = Take(nullptr, e);
                QSKIP(qPrintable("the accessibility registry did not answer: " + why));
            }
        }

        // A copy of the program and of the windows' program it starts, in a folder of their own,
        // which holds no saved values. The windows' program takes over the process.
        const QString program = FFolder->filePath("quorvale");
        QVERIFY(QFile::copy(QStringLiteral(QUORVALE_PROGRAM), program));
        QVERIFY(QFile::copy(QStringLiteral(QUORVALE_WINDOWS_PROGRAM),
                            FFolder->filePath("quorvale-windows")));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", FFolder->path());
        env.insert("XDG_CONFIG_HOME", FFolder->filePath("config"));
        env.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        FProgram.setProcessEnvironment(env);
        FProgram.setProcessChannelMode(QProcess::ForwardedChannels);
        EndWithThisProgram(FProgram);
        FProgram.start(program, {});
        QVERIFY2(FProgram.waitForStarted(), qPrintable(FProgram.errorString()));
        QTRY_VERIFY_WITH_TIMEOUT((FApplication = Application()) != nullptr, 60000);
        atspi_accessible_set_cache_mask(FApplication.get(), ATSPI_CACHE_NONE);
        QTRY_VERIFY_WITH_TIMEOUT(Find(FApplication.get(), "text", "Loan") != nullptr, 30000);

        // The user moves on from the loan box, which then shows its amount as money.
        TNode item = Find(FApplication.get(), "radio button", "PMT (P & I)");
        QVERIFY(item);
        std::unique_ptr<AtspiComponent, TUnref> component(
            atspi_accessible_get_component_iface(item.get()));
        QVERIFY(component && atspi_component_grab_focus(component.get(), nullptr));
        QTRY_VERIFY(States(item.get()).contains("focused"));

        FListener = atspi_event_listener_new_simple(CollectRenamedCell, nullptr);
        QVERIFY(atspi_event_listener_register(FListener, "object:property-change:accessible-name",
                                              nullptr));

        FReferenceFolder = std::make_unique<QTemporaryDir>();
        FReference = std::make_unique<TfrmMain>(FReferenceFolder->path());
    }
    void cleanupTestCase() {
        FReference.reset();
        FApplication.reset();
        if (FListener) {
            atspi_event_listener_deregister(FListener, "object:property-change:accessible-name",
                                            nullptr);
            g_object_unref(FListener);
        }
        if (FProgram.state() != QProcess::NotRunning) {
            FProgram.terminate();
            FProgram.waitForFinished();
        }
        atspi_exit();
        if (FBus.state() != QProcess::NotRunning) {
            FBus.terminate();
            FBus.waitForFinished();
        }
    }

    // Each control by its role and name, with the description, text and states read out.
    void everyControlReadsItsNameDescriptionAndText_data() {
        QTest::addColumn<QString>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("states");
        auto row = [](const char *role, const char *name, const char *description, const char *text,
                      const char *states) {
            QTest::newRow(name) << role << name << description << text << states;
        };
        const char *calculate =
            "Click the radio button of the variable to be calculated and displayed in the grid.";
        const char *rates =
            "Click the radio button of the interest rate increment to use for calculations";
        row("text", "Loan", "Enter the amount of the loan", "$100,000.00", "showing enabled");
        row("text", "Months", "Enter the term of the loan in months", "360", "showing enabled");
        row("text", "Rate", "Enter the interest rate", "8.750", "showing enabled");
        row("text", "PMT", "Enter the monthly payment amount", "$786.70", "enabled");
        row("panel", "Calculate", calculate, "", "showing enabled");
        row("panel", "Increment Loan Amounts By",
            "Click the radio button of the loan amount increment to use for calculations", "",
            "showing enabled");
        row("panel", "Increment Payments By",
            "Click the radio button of the payment increment to use for calculations", "",
            "enabled");
        row("panel", "Increment Interest Rates By", rates, "", "showing enabled");
        row("radio button", "PMT (P & I)", calculate, "", "showing enabled focused checked");
        row("radio button", "Term (months)", calculate, "", "showing enabled");
        row("radio button", "1/2's", rates, "", "showing enabled checked");
        row("push button", "Print", "Print ...", "", "showing enabled");
        row("push button", "Printer Setup", "Printer Setup ...", "", "showing enabled");
        row("push button", "Disclaimer", "Disclaimer ...", "", "showing enabled");
        row("push button", "Check for Updates", "Check for Updates ...", "", "showing enabled");
        row("push button", "Help", "Help ...", "", "showing enabled");
        row("push button", "Exit", "Exit", "", "showing enabled");
        row("table", "Spread", "Grid is displaying Payment Amounts", "", "showing enabled");
    }
    void everyControlReadsItsNameDescriptionAndText() {
        QFETCH(QString, role);
        QFETCH(QString, name);
        QFETCH(QString, description);
        QFETCH(QString, text);
        QFETCH(QString, states);
        TNode control = Find(FApplication.get(), role, name);
        QVERIFY2(control, "not on the bus");
        QCOMPARE(Description(control.get()), description);
        QCOMPARE(Text(control.get()), text);
        QCOMPARE(States(control.get()), states);
    }

    // The grid reads as a table of the cells the program computes, the headings as its headers
    // and column descriptions. After a radio item is checked through its action, every cell
    // read before whose text changed is announced, and reads anew.
    void theGridReadsAsATableOfTheProgramsCells_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("itemName");
        QTest::addColumn<QString>("centre");
        QTest::newRow("as opened") << "" << -1 << ""
                                   << "$786.70";
        QTest::newRow("rates by 1/8") << "Increment Interest Rates By" << 0 << "1/8's"
                                      << "$786.70";
        QTest::newRow("loans calculated") << "Calculate" << 1 << "Loans"
                                          << "$100,000";
    }
    void theGridReadsAsATableOfTheProgramsCells() {
        QFETCH(QString, group);
        QFETCH(int, item);
        QFETCH(QString, itemName);
        QFETCH(QString, centre);
        TStringGrid &grid = *FReference->grdLS;
        QStringList before; // all read by the row before
        for (int i = 0; i < grid.RowCount() * grid.ColCount(); ++i)
            before << grid.Cells(i % grid.ColCount(), i / grid.ColCount());
        RenamedCells.clear();
        if (!group.isEmpty()) {
            TNode panel = Find(FApplication.get(), "panel", group);
            QVERIFY(panel);
            TNode radio = Find(panel.get(), "radio button", itemName);
            QVERIFY(radio);
            QVERIFY(DoAction(radio.get(), "Toggle"));
            TRadioGroup *reference =
                group == "Calculate" ? FReference->rgCalculate : FReference->rgInterest;
            reference->Button(item)->click();
            QTRY_VERIFY(States(radio.get()).contains("checked"));
        }
        auto unannounced = [&] {
            QList<int> cells;
            for (int i = 0; i < before.size(); ++i)
                if (grid.Cells(i % grid.ColCount(), i / grid.ColCount()) != before[i] &&
                    std::find(RenamedCells.begin(), RenamedCells.end(), i) == RenamedCells.end())
                    cells << i;
            return cells;
        };
        QTRY_COMPARE(unannounced(), QList<int>{});
        TNode node = Find(FApplication.get(), "table", "Spread");
        QVERIFY(node);
        std::unique_ptr<AtspiTable, TUnref> table(atspi_accessible_get_table_iface(node.get()));
        QVERIFY(table);
        QTRY_COMPARE(Description(node.get()), grid.accessibleDescription());
        QCOMPARE(atspi_table_get_n_rows(table.get(), nullptr), grid.RowCount());
        QCOMPARE(atspi_table_get_n_columns(table.get(), nullptr), grid.ColCount());
        auto cell = [&](int row, int col) {
            TNode c(atspi_table_get_accessible_at(table.get(), row, col, nullptr));
            return c ? Name(c.get()) : QStringLiteral("<no cell>");
        };
        QCOMPARE(cell(6, 4), centre);
        for (int row = 0; row < grid.RowCount(); ++row)
            for (int col = 0; col < grid.ColCount(); ++col)
                QCOMPARE(cell(row, col), grid.Cells(col, row).trimmed());
        auto header = [&](AtspiAccessible *(*get)(AtspiTable *, gint, GError **), int index) {
            TNode h(get(table.get(), index, nullptr));
            return h ? Name(h.get()) : QStringLiteral("<no header>");
        };
        for (int col = 0; col < grid.ColCount(); ++col) {
            QCOMPARE(header(atspi_table_get_column_header, col), grid.Cells(col, 0).trimmed());
            QCOMPARE(READ_STRING(atspi_table_get_column_description, table.get(), col),
                     grid.Cells(col, 0).trimmed());
        }
        for (int row = 0; row < grid.RowCount(); ++row)
            QCOMPARE(header(atspi_table_get_row_header, row), grid.Cells(0, row).trimmed());

        TNode selected(atspi_table_get_accessible_at(table.get(), 6, 4, nullptr));
        QCOMPARE(States(selected.get()), QString("showing enabled selected"));
        std::unique_ptr<AtspiTableCell, TUnref> asCell(
            atspi_accessible_get_table_cell(selected.get()));
        QEXPECT_FAIL("",
                     "Qt 6.4's bridge offers no table cell interface on cells; a screen reader "
                     "finds their places and headers through the table",
                     Continue);
        QVERIFY(asCell);
    }

    // The grid given the focus announces its current cell, then each cell the keys move to.
    void theCellTheKeysMoveToIsAnnounced() {
        TNode grid = Find(FApplication.get(), "table", "Spread");
        QVERIFY(grid);
        std::unique_ptr<AtspiEventListener, TUnref> listener(
            atspi_event_listener_new_simple(CollectFocusedCell, nullptr));
        QVERIFY(
            atspi_event_listener_register(listener.get(), "object:state-changed:focused", nullptr));
        FocusedCells.clear();
        std::unique_ptr<AtspiComponent, TUnref> component(
            atspi_accessible_get_component_iface(grid.get()));
        QVERIFY(component && atspi_component_grab_focus(component.get(), nullptr));
        const int columns = FReference->grdLS->ColCount();
        QTRY_COMPARE(FocusedCells, std::vector<int>{6 * columns + 4});
        // Right, then Page Up: (5, 6), then (5, 1); each read out with its text
        for (const guint key : {0xff53u /* Right */, 0xff55u /* Page Up */})
            QVERIFY(atspi_generate_keyboard_event(key, nullptr, ATSPI_KEY_SYM, nullptr));
        QTRY_COMPARE(FocusedCells,
                     (std::vector<int>{6 * columns + 4, 6 * columns + 5, 1 * columns + 5}));
        TNode cell(atspi_accessible_get_child_at_index(grid.get(), 1 * columns + 5, nullptr));
        QCOMPARE(Name(cell.get()), FReference->grdLS->Cells(5, 1).trimmed());
        atspi_event_listener_deregister(listener.get(), "object:state-changed:focused", nullptr);
    }

    // A press is answered at once, also where it opens a modal window, which the user then
    // reads and closes by its own button.
    void aPressThatOpensAModalWindowIsAnsweredAtOnce() {
        TNode button = Find(FApplication.get(), "push button", "Disclaimer");
        QVERIFY(button);
        QVERIFY2(DoAction(button.get(), "Press"), "no answer while the window is open");
        TNode ok;
        QTRY_VERIFY((ok = Find(FApplication.get(), "push button", "OK")) != nullptr);
        QVERIFY(DoAction(ok.get(), "Press"));
        QTRY_VERIFY(!Find(FApplication.get(), "push button", "OK"));
    }

    // Last: the user leaves the program by its Exit button's action (and by "Quit" in the
    // window of thanks that now and then comes first); it ends cleanly.
    void theExitButtonEndsTheProgram() {
        TNode exit = Find(FApplication.get(), "push button", "Exit");
        QVERIFY(exit);
        QVERIFY(DoAction(exit.get(), "Press"));
        QElapsedTimer waited;
        waited.start();
        while (!FProgram.waitForFinished(100) && waited.elapsed() < 30000)
            if (TNode quit = Find(FApplication.get(), "push button", "Quit"))
                DoAction(quit.get(), "Press");
        QCOMPARE(FProgram.state(), QProcess::NotRunning);
        QCOMPARE(FProgram.exitStatus(), QProcess::NormalExit);
        QCOMPARE(FProgram.exitCode(), 0);
    }
};

QUORVALE_DESKTOP_TEST_MAIN(TestScreenReader)
#include "tst_ScreenReader.moc"

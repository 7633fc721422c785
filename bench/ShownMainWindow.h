// What the window benchmarks share: the real main window shown on the screen, with its saved
// values in a folder of its own, and a count of the paint events a widget receives.
#pragma once

#include "app/Main.h"

#include <QEvent>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

class PaintCounter : public QObject {
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
};

// The main window, shown and exposed; the benchmark is failed when it cannot be shown.
struct ShownMainWindow {
    QTemporaryDir Folder;
    TfrmMain Form{Folder.path()};

    bool Show(benchmark::State &state) {
        Form.DrawForThanks = [] {
            return 1;
        };
        Form.show();
        if (QTest::qWaitForWindowExposed(&Form))
            return true;
        state.SkipWithError("the main window was not shown");
        return false;
    }
};

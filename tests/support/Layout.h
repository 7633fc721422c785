// What a window's layout does wrong, as a user would see it: a label or standard button whose
// text does not fit its rectangle by its font's metrics (so it is clipped), and controls that
// overlap.
#pragma once

#include <QStringList>

class QWidget;

// One line per fault, naming the controls by their object names; empty when there is none.
// Every visible label, radio item, check box and push button of the window is measured, and the
// visible controls sharing a parent must not overlap one another.
QStringList LayoutFaults(const QWidget *window);

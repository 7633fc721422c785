// What assistive technology sees of the controls drawn by this program itself: the grid is a
// table whose cells a screen reader reads one by one (headings as row and column headers), and
// the toolbar button is a button that can be pressed. The other controls are Qt's own widgets
// and come with their accessible forms.
#pragma once

class QAccessibleInterface;
class QObject;
class QString;
class TStringGrid;

// Registers the accessible forms with Qt once; every grid and toolbar button calls it when
// created.
void InstallAccessibleControls();

// Tells assistive technology that the text of a cell has changed, where it has read that cell
// (and may have kept what it read); the grid calls it whenever a cell's text changes.
void AccessibleCellTextChanged(TStringGrid *Grid, int ACol, int ARow);

// Tells assistive technology, while the grid has the focus, that its current cell is the one
// the keyboard is on, so that a screen reader reads it out; the grid calls it when a key moves
// the current cell and when it takes the focus.
void AccessibleCurrentCellChanged(TStringGrid *Grid);

// The accessible form of a grid or toolbar button, or null for any other object. Qt calls this
// through the factory that InstallAccessibleControls registers.
QAccessibleInterface *AccessibleControlFactory(const QString &ClassName, QObject *Object);

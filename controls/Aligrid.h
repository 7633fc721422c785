// The aligned string grid: a self-painted grid of text cells whose alignment, font, background,
// selection colours, editability and hint can be set per cell, per column and per row, with
// grid-wide defaults behind them. TStringGrid is the plain string grid underneath: texts, cell
// sizes, the current cell and the selection, mouse and keyboard.
#pragma once

#include <QColor>
#include <QFlags>
#include <QFont>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QPainter;

enum TGridOption {
    goFixedVertLine = 0x01,
    goFixedHorzLine = 0x02,
    goVertLine = 0x04,
    goHorzLine = 0x08,
    goDrawFocusSelected = 0x10, // the focused cell is drawn in the selection colours too
    goRowSelect = 0x20,         // the whole row of the current cell is selected
};
Q_DECLARE_FLAGS(TGridOptions, TGridOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridOptions)

enum TGridDrawStateFlag {
    gdSelected = 0x01,
    gdFocused = 0x02, // the current cell while the grid has the keyboard focus
    gdFixed = 0x04,
};
Q_DECLARE_FLAGS(TGridDrawState, TGridDrawStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridDrawState)

enum TBorderStyle { bsNone, bsSingle }; // bsSingle: a sunken 3-D edge, 2 pixels wide

// A cell named by column (X) and row (Y).
struct TGridCoord {
    int X = 0;
    int Y = 0;
    friend bool operator==(const TGridCoord &, const TGridCoord &) = default;
};

// A rectangle of cells, corners included.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool Contains(int ACol, int ARow) const {
        return ACol >= Left && ACol <= Right && ARow >= Top && ARow <= Bottom;
    }
    friend bool operator==(const TGridRect &, const TGridRect &) = default;
};

// A font together with the colour its text is drawn in.
struct TMyFont {
    QFont Font;
    QColor Color;
    friend bool operator==(const TMyFont &, const TMyFont &) = default;
};

// The fill of a cell: colour and pattern (Qt::NoBrush leaves the cell unfilled).
struct TMyBrush {
    QColor Color;
    Qt::BrushStyle Style = Qt::SolidPattern;
    friend bool operator==(const TMyBrush &, const TMyBrush &) = default;
};

// Where the cells lie on the widget. Every cell is followed by its grid line: a 1 pixel line
// to the right when vertical lines are on for its column (goFixedVertLine for a fixed column,
// goVertLine for the others) and one below when horizontal lines are on for its row.
struct TGridLayout {
    std::vector<int> ColWidths;
    std::vector<int> RowHeights;
    int FixedCols = 0;
    int FixedRows = 0;
    TGridOptions Options;
    int Origin = 0; // the border width: where the first cell starts, on both axes

    int ColCount() const { return int(ColWidths.size()); }
    int RowCount() const { return int(RowHeights.size()); }
    int VertLineWidth(int ACol) const;
    int HorzLineWidth(int ARow) const;
    // The cell's own area, without its grid lines; an empty rectangle outside the grid.
    QRect CellRect(int ACol, int ARow) const;
    // The cell whose area or trailing grid line holds the point; {-1, -1} when there is none.
    TGridCoord CellAt(const QPoint &P) const;
    // Width and height of all cells and lines, border not included.
    QSize Extent() const;
};

// How the grid marks a cell when it draws it.
TGridDrawState CellDrawState(const TGridLayout &Layout, TGridCoord Cell, const TGridRect &Selection,
                             TGridCoord Current, bool HasFocus);

// The cell the current cell moves to for a navigation key: arrows by one cell, Home and End to
// the first and last ordinary column, Ctrl+Home and Ctrl+End to the first and last ordinary
// cell, Page Up and Page Down to the first and last ordinary row (the grid shows all its rows
// at once), all within the ordinary (non-fixed) cells. No value for keys the grid does not
// handle.
std::optional<TGridCoord> KeyTarget(const TGridLayout &Layout, TGridCoord Current, int Key,
                                    Qt::KeyboardModifiers Modifiers);

class TStringGrid : public QWidget {
    Q_OBJECT

public:
    explicit TStringGrid(QWidget *parent = nullptr);

    // Counts never go below one, and fixed rows and columns always leave one ordinary row and
    // column. Shrinking the grid drops the texts of the cells it loses.
    int ColCount() const { return FLayout.ColCount(); }
    void SetColCount(int Value);
    int RowCount() const { return FLayout.RowCount(); }
    void SetRowCount(int Value);
    int FixedCols() const { return FLayout.FixedCols; }
    void SetFixedCols(int Value);
    int FixedRows() const { return FLayout.FixedRows; }
    void SetFixedRows(int Value);
    // Setting a default size gives every column (row) that size.
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int Value);
    int ColWidths(int ACol) const;
    void SetColWidths(int ACol, int Value);
    int RowHeights(int ARow) const;
    void SetRowHeights(int ARow, int Value);
    TGridOptions Options() const { return FLayout.Options; }
    void SetOptions(TGridOptions Value);

    // Reading outside the grid or a cell never written gives the empty text; writing outside
    // the grid is ignored.
    QString Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const QString &Value);

    // The current cell and the selection always lie within the ordinary cells. Moving the
    // current cell makes it the single selected cell (its whole row with goRowSelect).
    int Col() const { return FCurrent.X; }
    void SetCol(int Value);
    int Row() const { return FCurrent.Y; }
    void SetRow(int Value);
    TGridRect Selection() const { return FSelection; }
    // The rectangle is put in order and clipped to the ordinary cells; its top left corner
    // becomes the current cell.
    void SetSelection(const TGridRect &Value);

    QColor Color() const { return FColor; }
    void SetColor(const QColor &Value);
    QColor FixedColor() const { return FFixedColor; }
    void SetFixedColor(const QColor &Value);
    // The widget's own font (inherited from the parent until set) with the text colour.
    TMyFont Font() const { return {font(), FFontColor}; }
    void SetFont(const TMyFont &Value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle Value);
    // Whether the Tab key reaches the grid. Only a left click gives it the focus; a right or
    // middle click leaves the focus (and any box being edited) alone.
    bool TabStop() const { return focusPolicy() == Qt::TabFocus; }
    void SetTabStop(bool Value);

    const TGridLayout &Layout() const { return FLayout; }
    QRect CellRect(int ACol, int ARow) const { return FLayout.CellRect(ACol, ARow); }
    TGridCoord MouseCoord(int X, int Y) const { return FLayout.CellAt(QPoint(X, Y)); }

    QSize sizeHint() const override;

    // A left click anywhere in the grid; a click on an ordinary cell makes it current first.
    // A key that moves the current cell is no click.
    std::function<void(QObject *Sender)> OnClick;
    std::function<void(QObject *Sender, Qt::KeyboardModifiers Shift, int X, int Y)> OnMouseMove;
    // A double click with the left button, at its point; its press also acts as a press.
    std::function<void(QObject *Sender, int X, int Y)> OnDblClick;
    // Every key pressed in the grid, before the grid moves by it; a handler that sets Key to 0
    // takes the key.
    std::function<void(QObject *Sender, int &Key, Qt::KeyboardModifiers Shift)> OnKeyDown;

    // The current cell is where the keyboard's context menu opens.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    // Draws one cell in its rectangle; the grid draws the lines, the focus frame and the border.
    virtual void DrawCell(QPainter &Canvas, int ACol, int ARow, const QRect &ARect,
                          TGridDrawState AState) = 0;

    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    void MoveCurrent(TGridCoord Cell);
    TGridCoord ClampToOrdinary(TGridCoord Cell) const;
    TGridRect SpanRow(TGridRect Value) const;
    void KeepCurrentInside();
    void LayoutChanged();
    void DrawBorder(QPainter &Canvas);

    TGridLayout FLayout;
    std::vector<std::vector<QString>> FCells; // [column][row]
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    TGridCoord FCurrent;
    TGridRect FSelection;
    QColor FColor;
    QColor FFixedColor;
    QColor FFontColor;
    TBorderStyle FBorderStyle = bsSingle;
    bool FLeftPressed = false;
};

enum TMyAlign { alRight, alLeft, alCenter };

// The lines of a cell text: split at each carriage return, a line feed right after one skipped.
QStringList CellTextLines(const QString &Text);
// Left edge of a text line of the given width drawn in the cell.
int AlignedTextLeft(TMyAlign Align, const QRect &Cell, int TextWidth);
// Whether a cell is drawn in its selected cell and font colours.
bool DrawsSelectedColors(TGridDrawState State, bool DrawSelection, TGridOptions Options);

// A table of optional values by index that grows when a value is set past its end; reading an
// unset or out-of-range entry gives no value.
template <class T> class TSparseList {
public:
    std::optional<T> Get(int Index) const {
        if (Index < 0 || Index >= int(FItems.size()))
            return std::nullopt;
        return FItems[Index];
    }
    void Set(int Index, const T &Value) {
        if (Index < 0)
            return;
        if (Index >= int(FItems.size()))
            FItems.resize(Index + 1);
        FItems[Index] = Value;
    }

private:
    std::vector<std::optional<T>> FItems;
};

// The same by column and row.
template <class T> class TSparseCellTable {
public:
    std::optional<T> Get(int ACol, int ARow) const {
        if (ACol < 0 || ACol >= int(FCols.size()))
            return std::nullopt;
        return FCols[ACol].Get(ARow);
    }
    void Set(int ACol, int ARow, const T &Value) {
        if (ACol < 0 || ARow < 0)
            return;
        if (ACol >= int(FCols.size()))
            FCols.resize(ACol + 1);
        FCols[ACol].Set(ARow, Value);
    }

private:
    std::vector<TSparseList<T>> FCols;
};

// An attribute set per cell, per column and per row: the cell's own entry, else its column's,
// else its row's.
template <class T> struct TCellAttribute {
    TSparseCellTable<T> Cell;
    TSparseList<T> Col;
    TSparseList<T> Row;

    std::optional<T> Find(int ACol, int ARow) const {
        if (auto v = Cell.Get(ACol, ARow))
            return v;
        if (auto v = Col.Get(ACol))
            return v;
        return Row.Get(ARow);
    }
};

// An attribute whose column and row entries are kept apart for fixed and for ordinary cells:
// a fixed cell looks in the fixed tables only, an ordinary cell in the ordinary ones.
template <class T> struct TFixedSplitAttribute {
    TSparseCellTable<T> Cell;
    TSparseList<T> Col;
    TSparseList<T> FixedCol;
    TSparseList<T> Row;
    TSparseList<T> FixedRow;

    std::optional<T> Find(int ACol, int ARow, bool Fixed) const {
        if (auto v = Cell.Get(ACol, ARow))
            return v;
        if (auto v = (Fixed ? FixedCol : Col).Get(ACol))
            return v;
        return (Fixed ? FixedRow : Row).Get(ARow);
    }
};

// The getters of the per-cell attributes answer the value in force for the cell (through the
// column, row and grid-wide settings); those of a column or row answer its entry, or the
// grid-wide default when it has none. Every setter repaints the grid.
class TStringAlignGrid : public TStringGrid {
    Q_OBJECT

public:
    explicit TStringAlignGrid(QWidget *parent = nullptr);

    TMyAlign Alignment() const { return FAlignment; }
    void SetAlignment(TMyAlign Value);
    bool Editable() const { return FEditable; }
    void SetEditable(bool Value);
    // On: a tooltip request shows the hint of the cell under the mouse. Off: the widget's
    // ordinary toolTip() is shown.
    bool ShowCellHints() const { return FShowCellHints; }
    void SetShowCellHints(bool Value);
    QColor SelectedCellColor() const { return FSelectedCellColor; }
    void SetSelectedCellColor(const QColor &Value);
    QColor SelectedFontColor() const { return FSelectedFontColor; }
    void SetSelectedFontColor(const QColor &Value);
    bool DrawSelection() const { return FDrawSelection; }
    void SetDrawSelection(bool Value);

    bool IsFixed(int ACol, int ARow) const { return ACol < FixedCols() || ARow < FixedRows(); }

    TMyAlign AlignCell(int ACol, int ARow) const;
    void SetAlignCell(int ACol, int ARow, TMyAlign Value);
    TMyAlign AlignCol(int ACol) const;
    void SetAlignCol(int ACol, TMyAlign Value);
    TMyAlign FixedAlignCol(int ACol) const;
    void SetFixedAlignCol(int ACol, TMyAlign Value);
    TMyAlign AlignRow(int ARow) const;
    void SetAlignRow(int ARow, TMyAlign Value);
    TMyAlign FixedAlignRow(int ARow) const;
    void SetFixedAlignRow(int ARow, TMyAlign Value);

    TMyFont FontCell(int ACol, int ARow) const;
    void SetFontCell(int ACol, int ARow, const TMyFont &Value);
    TMyFont FontCol(int ACol) const;
    void SetFontCol(int ACol, const TMyFont &Value);
    TMyFont FontFixedCol(int ACol) const;
    void SetFontFixedCol(int ACol, const TMyFont &Value);
    TMyFont FontRow(int ARow) const;
    void SetFontRow(int ARow, const TMyFont &Value);
    TMyFont FontFixedRow(int ARow) const;
    void SetFontFixedRow(int ARow, const TMyFont &Value);

    // Default brush: FixedColor for fixed cells, Color for the others.
    TMyBrush BrushCell(int ACol, int ARow) const;
    void SetBrushCell(int ACol, int ARow, const TMyBrush &Value);
    TMyBrush BrushCol(int ACol) const;
    void SetBrushCol(int ACol, const TMyBrush &Value);
    TMyBrush BrushFixedCol(int ACol) const;
    void SetBrushFixedCol(int ACol, const TMyBrush &Value);
    TMyBrush BrushRow(int ARow) const;
    void SetBrushRow(int ARow, const TMyBrush &Value);
    TMyBrush BrushFixedRow(int ARow) const;
    void SetBrushFixedRow(int ARow, const TMyBrush &Value);

    // The colour of a brush; setting it starts from the default brush when none is set yet.
    // ColorCol and ColorRow reach the ordinary cells only, ColorFixedCol and ColorFixedRow the
    // fixed ones.
    QColor ColorCell(int ACol, int ARow) const { return BrushCell(ACol, ARow).Color; }
    void SetColorCell(int ACol, int ARow, const QColor &Value);
    QColor ColorCol(int ACol) const { return BrushCol(ACol).Color; }
    void SetColorCol(int ACol, const QColor &Value);
    QColor ColorFixedCol(int ACol) const { return BrushFixedCol(ACol).Color; }
    void SetColorFixedCol(int ACol, const QColor &Value);
    QColor ColorRow(int ARow) const { return BrushRow(ARow).Color; }
    void SetColorRow(int ARow, const QColor &Value);
    QColor ColorFixedRow(int ARow) const { return BrushFixedRow(ARow).Color; }
    void SetColorFixedRow(int ARow, const QColor &Value);

    QColor SelectedColorCell(int ACol, int ARow) const;
    void SetSelectedColorCell(int ACol, int ARow, const QColor &Value);
    QColor SelectedColorCol(int ACol) const;
    void SetSelectedColorCol(int ACol, const QColor &Value);
    QColor SelectedColorRow(int ARow) const;
    void SetSelectedColorRow(int ARow, const QColor &Value);

    QColor SelectedFontColorCell(int ACol, int ARow) const;
    void SetSelectedFontColorCell(int ACol, int ARow, const QColor &Value);
    QColor SelectedFontColorCol(int ACol) const;
    void SetSelectedFontColorCol(int ACol, const QColor &Value);
    QColor SelectedFontColorRow(int ARow) const;
    void SetSelectedFontColorRow(int ARow, const QColor &Value);

    bool EditCell(int ACol, int ARow) const;
    void SetEditCell(int ACol, int ARow, bool Value);
    bool EditCol(int ACol) const;
    void SetEditCol(int ACol, bool Value);
    bool EditRow(int ARow) const;
    void SetEditRow(int ARow, bool Value);

    QString HintCell(int ACol, int ARow) const;
    void SetHintCell(int ACol, int ARow, const QString &Value);

    // Raised after a cell has been drawn, with the painter clipped to the cell, so that the
    // owner can draw over it.
    std::function<void(QObject *Sender, QPainter &Canvas, int ACol, int ARow, const QRect &Rect,
                       TGridDrawState State)>
        OnDrawCell;

protected:
    void DrawCell(QPainter &Canvas, int ACol, int ARow, const QRect &ARect,
                  TGridDrawState AState) override;

    bool event(QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void ShowCellHint(const QPoint &MousePos);
    void CancelCellHint();

    TMyAlign FAlignment = alLeft;
    bool FEditable = true;
    bool FShowCellHints = true;
    QColor FSelectedCellColor;
    QColor FSelectedFontColor = Qt::white;
    bool FDrawSelection = true;

    TFixedSplitAttribute<TMyAlign> FAligns;
    TFixedSplitAttribute<TMyFont> FFonts;
    TFixedSplitAttribute<TMyBrush> FBrushes;
    TCellAttribute<QColor> FSelectedColors;
    TCellAttribute<QColor> FSelectedFontColors;
    TCellAttribute<bool> FEdits;
    TSparseCellTable<QString> FHints;

    TGridCoord FHintCell{-1, -1}; // the cell whose hint is showing
    QLabel *FHintWindow = nullptr;
};

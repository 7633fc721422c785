#include "controls/Aligrid.h"

#include "platform/Forms.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>

#include "controls/AccessibleControls.h"

namespace {

const int GridLineWidth = 1;
const int BorderWidth = 2;
const QColor FixedLineColor(0, 0, 0);
const QColor LineColor(192, 192, 192);

// Text starts this far inside the cell: below the top, and from the left or right edge.
const int TextMargin = 2;
// A cell hint appears this far below the cell.
const int HintGap = 6;

} // namespace

// ---------------------------------------------------------------------------------------------
// Layout

int TGridLayout::VertLineWidth(int ACol) const {
    const TGridOption flag = ACol < FixedCols ? goFixedVertLine : goVertLine;
    return Options.testFlag(flag) ? GridLineWidth : 0;
}

int TGridLayout::HorzLineWidth(int ARow) const {
    const TGridOption flag = ARow < FixedRows ? goFixedHorzLine : goHorzLine;
    return Options.testFlag(flag) ? GridLineWidth : 0;
}

QRect TGridLayout::CellRect(int ACol, int ARow) const {
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount())
        return {};
    int x = Origin;
    for (int c = 0; c < ACol; ++c)
        x += ColWidths[c] + VertLineWidth(c);
    int y = Origin;
    for (int r = 0; r < ARow; ++r)
        y += RowHeights[r] + HorzLineWidth(r);
    return QRect(x, y, ColWidths[ACol], RowHeights[ARow]);
}

TGridCoord TGridLayout::CellAt(const QPoint &P) const {
    TGridCoord cell{-1, -1};
    for (int c = 0, x = Origin; c < ColCount() && P.x() >= x; ++c) {
        x += ColWidths[c] + VertLineWidth(c);
        if (P.x() < x) {
            cell.X = c;
            break;
        }
    }
    for (int r = 0, y = Origin; r < RowCount() && P.y() >= y; ++r) {
        y += RowHeights[r] + HorzLineWidth(r);
        if (P.y() < y) {
            cell.Y = r;
            break;
        }
    }
    if (cell.X < 0 || cell.Y < 0)
        return {-1, -1};
    return cell;
}

QSize TGridLayout::Extent() const {
    int w = 0;
    for (int c = 0; c < ColCount(); ++c)
        w += ColWidths[c] + VertLineWidth(c);
    int h = 0;
    for (int r = 0; r < RowCount(); ++r)
        h += RowHeights[r] + HorzLineWidth(r);
    return {w, h};
}

TGridDrawState CellDrawState(const TGridLayout &Layout, TGridCoord Cell, const TGridRect &Selection,
                             TGridCoord Current, bool HasFocus) {
    if (Cell.X < Layout.FixedCols || Cell.Y < Layout.FixedRows)
        return gdFixed;
    TGridDrawState state;
    if (Selection.Contains(Cell.X, Cell.Y))
        state |= gdSelected;
    if (HasFocus && Cell == Current)
        state |= gdFocused;
    return state;
}

std::optional<TGridCoord> KeyTarget(const TGridLayout &Layout, TGridCoord Current, int Key,
                                    Qt::KeyboardModifiers Modifiers) {
    const int firstCol = Layout.FixedCols;
    const int lastCol = Layout.ColCount() - 1;
    const int firstRow = Layout.FixedRows;
    const int lastRow = Layout.RowCount() - 1;
    const bool ctrl = Modifiers.testFlag(Qt::ControlModifier);
    TGridCoord target = Current;
    switch (Key) {
    case Qt::Key_Left:
        target.X = std::max(firstCol, Current.X - 1);
        break;
    case Qt::Key_Right:
        target.X = std::min(lastCol, Current.X + 1);
        break;
    case Qt::Key_Up:
        target.Y = std::max(firstRow, Current.Y - 1);
        break;
    case Qt::Key_Down:
        target.Y = std::min(lastRow, Current.Y + 1);
        break;
    case Qt::Key_Home:
        target.X = firstCol;
        if (ctrl)
            target.Y = firstRow;
        break;
    case Qt::Key_End:
        target.X = lastCol;
        if (ctrl)
            target.Y = lastRow;
        break;
    case Qt::Key_PageUp:
        target.Y = firstRow;
        break;
    case Qt::Key_PageDown:
        target.Y = lastRow;
        break;
    default:
        return std::nullopt;
    }
    return target;
}

// ---------------------------------------------------------------------------------------------
// TStringGrid

TStringGrid::TStringGrid(QWidget *parent)
    : QWidget(parent), FColor(palette().color(QPalette::Base)),
      FFixedColor(palette().color(QPalette::Button)),
      FFontColor(palette().color(QPalette::WindowText)) {
    InstallAccessibleControls();
    FLayout.ColWidths.assign(5, FDefaultColWidth);
    FLayout.RowHeights.assign(5, FDefaultRowHeight);
    FLayout.FixedCols = 1;
    FLayout.FixedRows = 1;
    FLayout.Options = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine;
    FLayout.Origin = BorderWidth;
    FCells.assign(5, std::vector<QString>(5));
    FCurrent = {1, 1};
    FSelection = {1, 1, 1, 1};
    // A left click takes the focus (mousePressEvent); the other buttons leave it where it is.
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true); // mouse moves without a button reach OnMouseMove and the cell hints
}

void TStringGrid::SetTabStop(bool Value) {
    setFocusPolicy(Value ? Qt::TabFocus : Qt::NoFocus);
}

void TStringGrid::SetColCount(int Value) {
    Value = std::max(1, Value);
    FLayout.ColWidths.resize(Value, FDefaultColWidth);
    FCells.resize(Value, std::vector<QString>(RowCount()));
    FLayout.FixedCols = std::min(FLayout.FixedCols, Value - 1);
    LayoutChanged();
}

void TStringGrid::SetRowCount(int Value) {
    Value = std::max(1, Value);
    FLayout.RowHeights.resize(Value, FDefaultRowHeight);
    for (auto &column : FCells)
        column.resize(Value);
    FLayout.FixedRows = std::min(FLayout.FixedRows, Value - 1);
    LayoutChanged();
}

void TStringGrid::SetFixedCols(int Value) {
    FLayout.FixedCols = std::clamp(Value, 0, ColCount() - 1);
    LayoutChanged();
}

void TStringGrid::SetFixedRows(int Value) {
    FLayout.FixedRows = std::clamp(Value, 0, RowCount() - 1);
    LayoutChanged();
}

void TStringGrid::SetDefaultColWidth(int Value) {
    FDefaultColWidth = std::max(0, Value);
    std::fill(FLayout.ColWidths.begin(), FLayout.ColWidths.end(), FDefaultColWidth);
    LayoutChanged();
}

void TStringGrid::SetDefaultRowHeight(int Value) {
    FDefaultRowHeight = std::max(0, Value);
    std::fill(FLayout.RowHeights.begin(), FLayout.RowHeights.end(), FDefaultRowHeight);
    LayoutChanged();
}

int TStringGrid::ColWidths(int ACol) const {
    return ACol >= 0 && ACol < ColCount() ? FLayout.ColWidths[ACol] : 0;
}

void TStringGrid::SetColWidths(int ACol, int Value) {
    if (ACol < 0 || ACol >= ColCount())
        return;
    FLayout.ColWidths[ACol] = std::max(0, Value);
    LayoutChanged();
}

int TStringGrid::RowHeights(int ARow) const {
    return ARow >= 0 && ARow < RowCount() ? FLayout.RowHeights[ARow] : 0;
}

void TStringGrid::SetRowHeights(int ARow, int Value) {
    if (ARow < 0 || ARow >= RowCount())
        return;
    FLayout.RowHeights[ARow] = std::max(0, Value);
    LayoutChanged();
}

void TStringGrid::SetOptions(TGridOptions Value) {
    FLayout.Options = Value;
    LayoutChanged();
}

QString TStringGrid::Cells(int ACol, int ARow) const {
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount())
        return {};
    return FCells[ACol][ARow];
}

void TStringGrid::SetCells(int ACol, int ARow, const QString &Value) {
    if (ACol < 0 || ACol >= ColCount() || ARow < 0 || ARow >= RowCount())
        return;
    const bool changed = FCells[ACol][ARow] != Value;
    FCells[ACol][ARow] = Value;
    update(CellRect(ACol, ARow));
    if (changed)
        AccessibleCellTextChanged(this, ACol, ARow);
}

void TStringGrid::SetCol(int Value) {
    MoveCurrent({Value, FCurrent.Y});
}

void TStringGrid::SetRow(int Value) {
    MoveCurrent({FCurrent.X, Value});
}

void TStringGrid::SetSelection(const TGridRect &Value) {
    const TGridCoord topLeft =
        ClampToOrdinary({std::min(Value.Left, Value.Right), std::min(Value.Top, Value.Bottom)});
    const TGridCoord bottomRight =
        ClampToOrdinary({std::max(Value.Left, Value.Right), std::max(Value.Top, Value.Bottom)});
    FCurrent = topLeft;
    FSelection = SpanRow({topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y});
    update();
}

void TStringGrid::SetColor(const QColor &Value) {
    FColor = Value;
    update();
}

void TStringGrid::SetFixedColor(const QColor &Value) {
    FFixedColor = Value;
    update();
}

void TStringGrid::SetFont(const TMyFont &Value) {
    setFont(Value.Font);
    FFontColor = Value.Color;
    update();
}

void TStringGrid::SetBorderStyle(TBorderStyle Value) {
    FBorderStyle = Value;
    FLayout.Origin = Value == bsSingle ? BorderWidth : 0;
    LayoutChanged();
}

QSize TStringGrid::sizeHint() const {
    return FLayout.Extent() + QSize(2, 2) * FLayout.Origin;
}

void TStringGrid::MoveCurrent(TGridCoord Cell) {
    const TGridCoord cell = ClampToOrdinary(Cell);
    SetSelection({cell.X, cell.Y, cell.X, cell.Y});
}

TGridCoord TStringGrid::ClampToOrdinary(TGridCoord Cell) const {
    return {std::clamp(Cell.X, FixedCols(), ColCount() - 1),
            std::clamp(Cell.Y, FixedRows(), RowCount() - 1)};
}

// With goRowSelect the selection takes in the whole of its rows.
TGridRect TStringGrid::SpanRow(TGridRect Value) const {
    if (Options().testFlag(goRowSelect)) {
        Value.Left = FixedCols();
        Value.Right = ColCount() - 1;
    }
    return Value;
}

// After a change of counts, fixed cells or options the current cell and the selection are put
// back inside the ordinary cells.
void TStringGrid::KeepCurrentInside() {
    const TGridCoord current = ClampToOrdinary(FCurrent);
    const TGridCoord topLeft = ClampToOrdinary({FSelection.Left, FSelection.Top});
    const TGridCoord bottomRight = ClampToOrdinary({FSelection.Right, FSelection.Bottom});
    FCurrent = current;
    FSelection = SpanRow({topLeft.X, topLeft.Y, bottomRight.X, bottomRight.Y});
    if (!FSelection.Contains(current.X, current.Y))
        FSelection = SpanRow({current.X, current.Y, current.X, current.Y});
}

void TStringGrid::LayoutChanged() {
    KeepCurrentInside();
    updateGeometry();
    update();
}

void TStringGrid::paintEvent(QPaintEvent *event) {
    QPainter canvas(this);
    const QRect inside =
        rect().adjusted(FLayout.Origin, FLayout.Origin, -FLayout.Origin, -FLayout.Origin);
    canvas.fillRect(inside, FColor); // the part of the window no cell covers
    canvas.setClipRect(inside);
    for (int c = 0; c < ColCount(); ++c) {
        for (int r = 0; r < RowCount(); ++r) {
            const QRect cell = CellRect(c, r);
            const int vert = FLayout.VertLineWidth(c);
            const int horz = FLayout.HorzLineWidth(r);
            if (!cell.adjusted(0, 0, vert, horz).intersects(event->rect()))
                continue;
            const TGridDrawState state =
                CellDrawState(FLayout, {c, r}, FSelection, FCurrent, hasFocus());
            canvas.save();
            DrawCell(canvas, c, r, cell, state);
            canvas.restore();
            const QColor lineColor = state.testFlag(gdFixed) ? FixedLineColor : LineColor;
            if (vert > 0)
                canvas.fillRect(cell.right() + 1, cell.top(), vert, cell.height() + horz,
                                lineColor);
            if (horz > 0)
                canvas.fillRect(cell.left(), cell.bottom() + 1, cell.width() + vert, horz,
                                lineColor);
        }
    }
    if (hasFocus()) {
        // A dotted frame just inside the current cell (the current row with goRowSelect).
        QRect frame = CellRect(FCurrent.X, FCurrent.Y);
        if (Options().testFlag(goRowSelect))
            frame = frame.united(CellRect(FixedCols(), FCurrent.Y))
                        .united(CellRect(ColCount() - 1, FCurrent.Y));
        QPen pen(FFontColor, 1);
        pen.setDashPattern({1.0, 1.0});
        canvas.setPen(pen);
        canvas.setBrush(Qt::NoBrush);
        canvas.drawRect(frame.adjusted(0, 0, -1, -1));
    }
    canvas.setClipping(false);
    if (FBorderStyle == bsSingle)
        DrawBorder(canvas);
}

// A sunken edge: shadow above and left, light below and right, twice.
void TStringGrid::DrawBorder(QPainter &Canvas) {
    const QPalette &pal = palette();
    const auto edge = [&](const QRect &r, const QColor &topLeft, const QColor &bottomRight) {
        Canvas.fillRect(r.left(), r.top(), r.width() - 1, 1, topLeft);
        Canvas.fillRect(r.left(), r.top(), 1, r.height() - 1, topLeft);
        Canvas.fillRect(r.left(), r.bottom(), r.width(), 1, bottomRight);
        Canvas.fillRect(r.right(), r.top(), 1, r.height(), bottomRight);
    };
    edge(rect(), pal.color(QPalette::Dark), pal.color(QPalette::Light));
    edge(rect().adjusted(1, 1, -1, -1), pal.color(QPalette::Shadow), pal.color(QPalette::Button));
}

void TStringGrid::mousePressEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    if (isEnabled())
        setFocus(Qt::MouseFocusReason);
    FLeftPressed = true;
    const TGridCoord cell = FLayout.CellAt(event->position().toPoint());
    if (cell.X >= FixedCols() && cell.Y >= FixedRows())
        MoveCurrent(cell);
}

void TStringGrid::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton || !FLeftPressed) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    FLeftPressed = false;
    if (rect().contains(event->position().toPoint()))
        CallEvent(OnClick, this);
}

void TStringGrid::mouseMoveEvent(QMouseEvent *event) {
    const QPoint p = event->position().toPoint();
    CallEvent(OnMouseMove, this, event->modifiers(), p.x(), p.y());
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent *event) {
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        CallEvent(OnDblClick, this, p.x(), p.y());
    }
}

QVariant TStringGrid::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (query == Qt::ImCursorRectangle)
        return CellRect(Col(), Row());
    return QWidget::inputMethodQuery(query);
}

void TStringGrid::keyPressEvent(QKeyEvent *event) {
    int key = event->key();
    CallEvent(OnKeyDown, this, key, event->modifiers());
    if (key == 0)
        return;
    const auto target = KeyTarget(FLayout, FCurrent, event->key(), event->modifiers());
    if (!target) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (*target == FCurrent)
        return;
    MoveCurrent(*target);
    AccessibleCurrentCellChanged(this);
}

void TStringGrid::focusInEvent(QFocusEvent *event) {
    QWidget::focusInEvent(event);
    // After the grid's own focus news, which the toolkit gives once this has returned.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (hasFocus())
                AccessibleCurrentCellChanged(this);
        },
        Qt::QueuedConnection);
}

// ---------------------------------------------------------------------------------------------
// Cell text

QStringList CellTextLines(const QString &Text) {
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        if (Text[i] != QLatin1Char('\r'))
            continue;
        lines.append(Text.mid(start, i - start));
        if (i + 1 < Text.size() && Text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    lines.append(Text.mid(start));
    return lines;
}

int AlignedTextLeft(TMyAlign Align, const QRect &Cell, int TextWidth) {
    switch (Align) {
    case alRight:
        return Cell.left() + Cell.width() - TextWidth - TextMargin;
    case alCenter:
        return Cell.left() + (Cell.width() - TextWidth) / 2; // truncated toward zero
    case alLeft:
        break;
    }
    return Cell.left() + TextMargin;
}

bool DrawsSelectedColors(TGridDrawState State, bool DrawSelection, TGridOptions Options) {
    return DrawSelection && State.testFlag(gdSelected) &&
           (!State.testFlag(gdFocused) || Options.testAnyFlags(goDrawFocusSelected | goRowSelect));
}

// ---------------------------------------------------------------------------------------------
// TStringAlignGrid

TStringAlignGrid::TStringAlignGrid(QWidget *parent)
    : TStringGrid(parent), FSelectedCellColor(palette().color(QPalette::Highlight)) {}

void TStringAlignGrid::SetAlignment(TMyAlign Value) {
    FAlignment = Value;
    update();
}

void TStringAlignGrid::SetEditable(bool Value) {
    FEditable = Value;
    update();
}

void TStringAlignGrid::SetShowCellHints(bool Value) {
    FShowCellHints = Value;
    if (!Value)
        CancelCellHint();
}

void TStringAlignGrid::SetSelectedCellColor(const QColor &Value) {
    FSelectedCellColor = Value;
    update();
}

void TStringAlignGrid::SetSelectedFontColor(const QColor &Value) {
    FSelectedFontColor = Value;
    update();
}

void TStringAlignGrid::SetDrawSelection(bool Value) {
    FDrawSelection = Value;
    update();
}

// Alignment

TMyAlign TStringAlignGrid::AlignCell(int ACol, int ARow) const {
    return FAligns.Find(ACol, ARow, IsFixed(ACol, ARow)).value_or(FAlignment);
}

void TStringAlignGrid::SetAlignCell(int ACol, int ARow, TMyAlign Value) {
    FAligns.Cell.Set(ACol, ARow, Value);
    update();
}

TMyAlign TStringAlignGrid::AlignCol(int ACol) const {
    return FAligns.Col.Get(ACol).value_or(FAlignment);
}

void TStringAlignGrid::SetAlignCol(int ACol, TMyAlign Value) {
    FAligns.Col.Set(ACol, Value);
    update();
}

TMyAlign TStringAlignGrid::FixedAlignCol(int ACol) const {
    return FAligns.FixedCol.Get(ACol).value_or(FAlignment);
}

void TStringAlignGrid::SetFixedAlignCol(int ACol, TMyAlign Value) {
    FAligns.FixedCol.Set(ACol, Value);
    update();
}

TMyAlign TStringAlignGrid::AlignRow(int ARow) const {
    return FAligns.Row.Get(ARow).value_or(FAlignment);
}

void TStringAlignGrid::SetAlignRow(int ARow, TMyAlign Value) {
    FAligns.Row.Set(ARow, Value);
    update();
}

TMyAlign TStringAlignGrid::FixedAlignRow(int ARow) const {
    return FAligns.FixedRow.Get(ARow).value_or(FAlignment);
}

void TStringAlignGrid::SetFixedAlignRow(int ARow, TMyAlign Value) {
    FAligns.FixedRow.Set(ARow, Value);
    update();
}

// Font

TMyFont TStringAlignGrid::FontCell(int ACol, int ARow) const {
    return FFonts.Find(ACol, ARow, IsFixed(ACol, ARow)).value_or(Font());
}

void TStringAlignGrid::SetFontCell(int ACol, int ARow, const TMyFont &Value) {
    FFonts.Cell.Set(ACol, ARow, Value);
    update();
}

TMyFont TStringAlignGrid::FontCol(int ACol) const {
    return FFonts.Col.Get(ACol).value_or(Font());
}

void TStringAlignGrid::SetFontCol(int ACol, const TMyFont &Value) {
    FFonts.Col.Set(ACol, Value);
    update();
}

TMyFont TStringAlignGrid::FontFixedCol(int ACol) const {
    return FFonts.FixedCol.Get(ACol).value_or(Font());
}

void TStringAlignGrid::SetFontFixedCol(int ACol, const TMyFont &Value) {
    FFonts.FixedCol.Set(ACol, Value);
    update();
}

TMyFont TStringAlignGrid::FontRow(int ARow) const {
    return FFonts.Row.Get(ARow).value_or(Font());
}

void TStringAlignGrid::SetFontRow(int ARow, const TMyFont &Value) {
    FFonts.Row.Set(ARow, Value);
    update();
}

TMyFont TStringAlignGrid::FontFixedRow(int ARow) const {
    return FFonts.FixedRow.Get(ARow).value_or(Font());
}

void TStringAlignGrid::SetFontFixedRow(int ARow, const TMyFont &Value) {
    FFonts.FixedRow.Set(ARow, Value);
    update();
}

// Brush

TMyBrush TStringAlignGrid::BrushCell(int ACol, int ARow) const {
    const bool fixed = IsFixed(ACol, ARow);
    return FBrushes.Find(ACol, ARow, fixed).value_or(TMyBrush{fixed ? FixedColor() : Color()});
}

void TStringAlignGrid::SetBrushCell(int ACol, int ARow, const TMyBrush &Value) {
    FBrushes.Cell.Set(ACol, ARow, Value);
    update();
}

TMyBrush TStringAlignGrid::BrushCol(int ACol) const {
    return FBrushes.Col.Get(ACol).value_or(TMyBrush{Color()});
}

void TStringAlignGrid::SetBrushCol(int ACol, const TMyBrush &Value) {
    FBrushes.Col.Set(ACol, Value);
    update();
}

TMyBrush TStringAlignGrid::BrushFixedCol(int ACol) const {
    return FBrushes.FixedCol.Get(ACol).value_or(TMyBrush{FixedColor()});
}

void TStringAlignGrid::SetBrushFixedCol(int ACol, const TMyBrush &Value) {
    FBrushes.FixedCol.Set(ACol, Value);
    update();
}

TMyBrush TStringAlignGrid::BrushRow(int ARow) const {
    return FBrushes.Row.Get(ARow).value_or(TMyBrush{Color()});
}

void TStringAlignGrid::SetBrushRow(int ARow, const TMyBrush &Value) {
    FBrushes.Row.Set(ARow, Value);
    update();
}

TMyBrush TStringAlignGrid::BrushFixedRow(int ARow) const {
    return FBrushes.FixedRow.Get(ARow).value_or(TMyBrush{FixedColor()});
}

void TStringAlignGrid::SetBrushFixedRow(int ARow, const TMyBrush &Value) {
    FBrushes.FixedRow.Set(ARow, Value);
    update();
}

// Colour of a brush: the brush itself when set, else the default one, with the new colour.

void TStringAlignGrid::SetColorCell(int ACol, int ARow, const QColor &Value) {
    const bool fixed = IsFixed(ACol, ARow);
    TMyBrush brush =
        FBrushes.Cell.Get(ACol, ARow).value_or(TMyBrush{fixed ? FixedColor() : Color()});
    brush.Color = Value;
    SetBrushCell(ACol, ARow, brush);
}

void TStringAlignGrid::SetColorCol(int ACol, const QColor &Value) {
    TMyBrush brush = BrushCol(ACol);
    brush.Color = Value;
    SetBrushCol(ACol, brush);
}

void TStringAlignGrid::SetColorFixedCol(int ACol, const QColor &Value) {
    TMyBrush brush = BrushFixedCol(ACol);
    brush.Color = Value;
    SetBrushFixedCol(ACol, brush);
}

void TStringAlignGrid::SetColorRow(int ARow, const QColor &Value) {
    TMyBrush brush = BrushRow(ARow);
    brush.Color = Value;
    SetBrushRow(ARow, brush);
}

void TStringAlignGrid::SetColorFixedRow(int ARow, const QColor &Value) {
    TMyBrush brush = BrushFixedRow(ARow);
    brush.Color = Value;
    SetBrushFixedRow(ARow, brush);
}

// Selected cell colour

QColor TStringAlignGrid::SelectedColorCell(int ACol, int ARow) const {
    return FSelectedColors.Find(ACol, ARow).value_or(FSelectedCellColor);
}

void TStringAlignGrid::SetSelectedColorCell(int ACol, int ARow, const QColor &Value) {
    FSelectedColors.Cell.Set(ACol, ARow, Value);
    update();
}

QColor TStringAlignGrid::SelectedColorCol(int ACol) const {
    return FSelectedColors.Col.Get(ACol).value_or(FSelectedCellColor);
}

void TStringAlignGrid::SetSelectedColorCol(int ACol, const QColor &Value) {
    FSelectedColors.Col.Set(ACol, Value);
    update();
}

QColor TStringAlignGrid::SelectedColorRow(int ARow) const {
    return FSelectedColors.Row.Get(ARow).value_or(FSelectedCellColor);
}

void TStringAlignGrid::SetSelectedColorRow(int ARow, const QColor &Value) {
    FSelectedColors.Row.Set(ARow, Value);
    update();
}

// Selected font colour

QColor TStringAlignGrid::SelectedFontColorCell(int ACol, int ARow) const {
    return FSelectedFontColors.Find(ACol, ARow).value_or(FSelectedFontColor);
}

void TStringAlignGrid::SetSelectedFontColorCell(int ACol, int ARow, const QColor &Value) {
    FSelectedFontColors.Cell.Set(ACol, ARow, Value);
    update();
}

QColor TStringAlignGrid::SelectedFontColorCol(int ACol) const {
    return FSelectedFontColors.Col.Get(ACol).value_or(FSelectedFontColor);
}

void TStringAlignGrid::SetSelectedFontColorCol(int ACol, const QColor &Value) {
    FSelectedFontColors.Col.Set(ACol, Value);
    update();
}

QColor TStringAlignGrid::SelectedFontColorRow(int ARow) const {
    return FSelectedFontColors.Row.Get(ARow).value_or(FSelectedFontColor);
}

void TStringAlignGrid::SetSelectedFontColorRow(int ARow, const QColor &Value) {
    FSelectedFontColors.Row.Set(ARow, Value);
    update();
}

// Editable (kept for the owner to read; this grid has no cell editor)

bool TStringAlignGrid::EditCell(int ACol, int ARow) const {
    return FEdits.Find(ACol, ARow).value_or(FEditable);
}

void TStringAlignGrid::SetEditCell(int ACol, int ARow, bool Value) {
    FEdits.Cell.Set(ACol, ARow, Value);
    update();
}

bool TStringAlignGrid::EditCol(int ACol) const {
    return FEdits.Col.Get(ACol).value_or(FEditable);
}

void TStringAlignGrid::SetEditCol(int ACol, bool Value) {
    FEdits.Col.Set(ACol, Value);
    update();
}

bool TStringAlignGrid::EditRow(int ARow) const {
    return FEdits.Row.Get(ARow).value_or(FEditable);
}

void TStringAlignGrid::SetEditRow(int ARow, bool Value) {
    FEdits.Row.Set(ARow, Value);
    update();
}

// Hints

QString TStringAlignGrid::HintCell(int ACol, int ARow) const {
    return FHints.Get(ACol, ARow).value_or(QString());
}

void TStringAlignGrid::SetHintCell(int ACol, int ARow, const QString &Value) {
    FHints.Set(ACol, ARow, Value);
    update();
}

// Drawing

void TStringAlignGrid::DrawCell(QPainter &Canvas, int ACol, int ARow, const QRect &ARect,
                                TGridDrawState AState) {
    TMyFont font = FontCell(ACol, ARow);
    TMyBrush brush = BrushCell(ACol, ARow);
    if (DrawsSelectedColors(AState, FDrawSelection, Options())) {
        brush.Color = SelectedColorCell(ACol, ARow);
        font.Color = SelectedFontColorCell(ACol, ARow);
    }
    Canvas.fillRect(ARect, QBrush(brush.Color, brush.Style));

    Canvas.setClipRect(ARect, Qt::IntersectClip);
    Canvas.setFont(font.Font);
    Canvas.setPen(font.Color);
    Canvas.setBackgroundMode(Qt::TransparentMode);
    const QFontMetrics metrics = Canvas.fontMetrics();
    const TMyAlign align = AlignCell(ACol, ARow);
    int top = ARect.top() + TextMargin;
    for (const QString &line : CellTextLines(Cells(ACol, ARow))) {
        const int left = AlignedTextLeft(align, ARect, metrics.horizontalAdvance(line));
        Canvas.drawText(left, top + metrics.ascent(), line);
        top += metrics.height();
    }
    if (OnDrawCell) {
        Canvas.setClipRect(ARect);
        CallEvent(OnDrawCell, this, Canvas, ACol, ARow, ARect, AState);
    }
}

// Cell hints

bool TStringAlignGrid::event(QEvent *event) {
    if (event->type() == QEvent::ToolTip && FShowCellHints) {
        ShowCellHint(static_cast<QHelpEvent *>(event)->pos());
        return true;
    }
    return TStringGrid::event(event);
}

void TStringAlignGrid::ShowCellHint(const QPoint &MousePos) {
    const TGridCoord cell = MouseCoord(MousePos.x(), MousePos.y());
    const QString hint = cell.X < 0 ? QString() : HintCell(cell.X, cell.Y);
    if (hint.isEmpty()) {
        CancelCellHint();
        return;
    }
    if (!FHintWindow) {
        // A window of its own rather than QToolTip, which would place it by the mouse.
        FHintWindow = new QLabel(this, Qt::ToolTip);
        FHintWindow->setObjectName("CellHint");
        FHintWindow->setPalette(QToolTip::palette());
        FHintWindow->setFont(QToolTip::font());
        FHintWindow->setForegroundRole(QPalette::ToolTipText);
        FHintWindow->setBackgroundRole(QPalette::ToolTipBase);
        FHintWindow->setAutoFillBackground(true);
        FHintWindow->setFrameStyle(QFrame::Box | QFrame::Plain);
        FHintWindow->setMargin(1);
    }
    const QRect r = CellRect(cell.X, cell.Y);
    FHintCell = cell;
    FHintWindow->setText(hint);
    FHintWindow->adjustSize();
    FHintWindow->move(mapToGlobal(QPoint(r.left(), r.top() + r.height() + HintGap)));
    FHintWindow->show();
}

void TStringAlignGrid::CancelCellHint() {
    FHintCell = {-1, -1};
    if (FHintWindow)
        FHintWindow->hide();
}

void TStringAlignGrid::mouseMoveEvent(QMouseEvent *event) {
    if (FHintCell.X >= 0) {
        const QPoint p = event->position().toPoint();
        if (!(MouseCoord(p.x(), p.y()) == FHintCell))
            CancelCellHint();
    }
    TStringGrid::mouseMoveEvent(event);
}

void TStringAlignGrid::mousePressEvent(QMouseEvent *event) {
    CancelCellHint();
    TStringGrid::mousePressEvent(event);
}

void TStringAlignGrid::leaveEvent(QEvent *event) {
    CancelCellHint();
    TStringGrid::leaveEvent(event);
}

void TStringAlignGrid::hideEvent(QHideEvent *event) {
    CancelCellHint();
    TStringGrid::hideEvent(event);
}

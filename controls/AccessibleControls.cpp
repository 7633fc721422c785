#include "controls/AccessibleControls.h"

#include "controls/Aligrid.h"
#include "controls/ExplBtn.h"
#include "platform/Forms.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <map>

namespace {

class TGridAccessible;

// One cell of the grid. Cells have no object of their own: the grid's accessible form makes
// them on demand, keeps them by position and releases them with itself.
class TGridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    TGridCellAccessible(TStringGrid *grid, TGridAccessible *table, int row, int col)
        : FGrid(grid), FTable(table), FRow(row), FCol(col) {}

    bool isValid() const override {
        return FGrid && FRow < FGrid->RowCount() && FCol < FGrid->ColCount();
    }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return FGrid ? FGrid->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        if (!isValid() || t != QAccessible::Name)
            return QString();
        return FGrid->Cells(FCol, FRow).trimmed();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override {
        if (!isValid())
            return QRect();
        const QRect cell = FGrid->CellRect(FCol, FRow);
        return QRect(FGrid->mapToGlobal(cell.topLeft()), cell.size());
    }
    QAccessible::Role role() const override {
        if (!isValid())
            return QAccessible::Cell;
        if (FRow < FGrid->FixedRows())
            return QAccessible::ColumnHeader;
        if (FCol < FGrid->FixedCols())
            return QAccessible::RowHeader;
        return QAccessible::Cell;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.readOnly = true;
        s.selectable = true;
        s.selected = isSelected();
        s.focused = FGrid->hasFocus() && FGrid->Col() == FCol && FGrid->Row() == FRow;
        s.invisible = !FGrid->isVisible();
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface *>(this)
                   : nullptr;
    }

    bool isSelected() const override {
        return isValid() && FGrid->Selection().Contains(FCol, FRow);
    }
    QList<QAccessibleInterface *> columnHeaderCells() const override;
    QList<QAccessibleInterface *> rowHeaderCells() const override;
    int columnIndex() const override { return FCol; }
    int rowIndex() const override { return FRow; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override;

private:
    QPointer<TStringGrid> FGrid;
    TGridAccessible *FTable;
    int FRow, FCol;
};

class TGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit TGridAccessible(TStringGrid *grid) : QAccessibleWidget(grid, QAccessible::Table) {}
    ~TGridAccessible() override {
        for (const auto &[place, id] : FCells)
            QAccessible::deleteAccessibleInterface(id);
    }

    TStringGrid *Grid() const { return static_cast<TStringGrid *>(widget()); }

    void *interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface *>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface *child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        return cellAt(index / columnCount(), index % columnCount());
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        if (!child || child->parent() != this)
            return -1;
        const auto *cell = static_cast<const TGridCellAccessible *>(child);
        return cell->rowIndex() * columnCount() + cell->columnIndex();
    }
    QAccessibleInterface *childAt(int x, int y) const override {
        const QPoint p = Grid()->mapFromGlobal(QPoint(x, y));
        if (!Grid()->rect().contains(p))
            return nullptr;
        const TGridCoord cell = Grid()->MouseCoord(p.x(), p.y());
        return cellAt(cell.Y, cell.X);
    }
    // The grid is no tab stop, and takes the focus only from a left click; assistive
    // technology gives it the focus as that click does.
    QStringList actionNames() const override {
        return Grid()->isEnabled() ? QStringList{setFocusAction()} : QStringList{};
    }
    void doAction(const QString &name) override {
        if (name == setFocusAction() && Grid()->isEnabled())
            Grid()->setFocus(Qt::OtherFocusReason);
    }
    QAccessibleInterface *focusChild() const override {
        return Grid()->hasFocus() ? cellAt(Grid()->Row(), Grid()->Col()) : nullptr;
    }

    // ---- QAccessibleTableInterface
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
            return nullptr;
        const auto place = std::make_pair(row, column);
        auto found = FCells.find(place);
        if (found == FCells.end()) {
            auto *cell =
                new TGridCellAccessible(Grid(), const_cast<TGridAccessible *>(this), row, column);
            found = FCells.emplace(place, QAccessible::registerAccessibleInterface(cell)).first;
        }
        return QAccessible::accessibleInterface(found->second);
    }
    // The cell's accessible form where one has been made, else null.
    QAccessibleInterface *MadeCell(int row, int column) const {
        const auto found = FCells.find(std::make_pair(row, column));
        return found == FCells.end() ? nullptr : QAccessible::accessibleInterface(found->second);
    }
    int selectedCellCount() const override { return int(selectedCells().size()); }
    QList<QAccessibleInterface *> selectedCells() const override {
        QList<QAccessibleInterface *> cells;
        const TGridRect s = Grid()->Selection();
        for (int row = s.Top; row <= s.Bottom; ++row)
            for (int col = s.Left; col <= s.Right; ++col)
                if (QAccessibleInterface *cell = cellAt(row, col))
                    cells << cell;
        return cells;
    }
    QString columnDescription(int column) const override {
        return Grid()->FixedRows() > 0 ? Grid()->Cells(column, 0).trimmed() : QString();
    }
    QString rowDescription(int row) const override {
        return Grid()->FixedCols() > 0 ? Grid()->Cells(0, row).trimmed() : QString();
    }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return Grid()->ColCount(); }
    int rowCount() const override { return Grid()->RowCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    // The grid selects single cells only.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *) override {}

private:
    mutable std::map<std::pair<int, int>, QAccessible::Id> FCells;
};

QAccessibleInterface *TGridCellAccessible::parent() const {
    return FTable;
}

QAccessibleInterface *TGridCellAccessible::table() const {
    return FTable;
}

// The headings of a cell's column, a heading counting as its own: the accessibility bridge
// answers a screen reader's question for a column's header with the headers of the column's
// first cell, which here is the heading itself (the same for rows).
QList<QAccessibleInterface *> TGridCellAccessible::columnHeaderCells() const {
    QList<QAccessibleInterface *> headers;
    if (isValid())
        for (int row = 0; row < FGrid->FixedRows() && row <= FRow; ++row)
            headers << FTable->cellAt(row, FCol);
    return headers;
}

QList<QAccessibleInterface *> TGridCellAccessible::rowHeaderCells() const {
    QList<QAccessibleInterface *> headers;
    if (isValid())
        for (int col = 0; col < FGrid->FixedCols() && col <= FCol; ++col)
            headers << FTable->cellAt(FRow, col);
    return headers;
}

// The toolbar button: a push button, named by its caption (without the mnemonic mark and the
// spaces that set it off from the glyph) or by the name given it, that assistive technology
// can press.
class TExplorerButtonAccessible : public QAccessibleWidget {
public:
    explicit TExplorerButtonAccessible(TExplorerButton *button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    TExplorerButton *Button() const { return static_cast<TExplorerButton *>(widget()); }

    QString text(QAccessible::Text t) const override {
        QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty())
            s = QString(Button()->Caption()).remove(QLatin1Char('&')).trimmed();
        return s;
    }
    QStringList actionNames() const override {
        return Button()->isEnabled() ? QStringList{pressAction()} : QStringList{};
    }
    // The bridge calls this while it answers the screen reader, and a modal window that the
    // click opens would hold that answer until the window closes: the click comes once the
    // answer is on its way, from Qt's event loop.
    void doAction(const QString &name) override {
        if (name != pressAction() || !Button()->isEnabled())
            return;
        TExplorerButton *button = Button();
        QMetaObject::invokeMethod(
            button,
            [button] {
                if (button->isEnabled())
                    Guard(button, [button] { button->Click(); });
            },
            Qt::QueuedConnection);
    }
};

} // namespace

void AccessibleCellTextChanged(TStringGrid *Grid, int ACol, int ARow) {
    if (!QAccessible::isActive())
        return;
    auto *table = dynamic_cast<TGridAccessible *>(QAccessible::queryAccessibleInterface(Grid));
    if (QAccessibleInterface *cell = table ? table->MadeCell(ARow, ACol) : nullptr) {
        QAccessibleEvent event(cell, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void AccessibleCurrentCellChanged(TStringGrid *Grid) {
    if (!QAccessible::isActive() || !Grid->hasFocus())
        return;
    auto *table = dynamic_cast<TGridAccessible *>(QAccessible::queryAccessibleInterface(Grid));
    if (QAccessibleInterface *cell = table ? table->cellAt(Grid->Row(), Grid->Col()) : nullptr) {
        QAccessibleEvent focus(cell, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
        QAccessibleEvent selection(cell, QAccessible::Selection);
        QAccessible::updateAccessibility(&selection);
    }
}

QAccessibleInterface *AccessibleControlFactory(const QString &ClassName, QObject *Object) {
    if (ClassName == QLatin1String("TStringGrid"))
        if (auto *grid = qobject_cast<TStringGrid *>(Object))
            return new TGridAccessible(grid);
    if (ClassName == QLatin1String("TExplorerButton"))
        if (auto *button = qobject_cast<TExplorerButton *>(Object))
            return new TExplorerButtonAccessible(button);
    return nullptr;
}

void InstallAccessibleControls() {
    static const bool installed = (QAccessible::installFactory(AccessibleControlFactory), true);
    (void)installed;
}

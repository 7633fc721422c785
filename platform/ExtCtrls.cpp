#include "platform/ExtCtrls.h"

#include "platform/Forms.h"

#include <QButtonGroup>
#include <QEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QRadioButton>
#include <algorithm>

// ---- TPanel -----------------------------------------------------------------------------

TPanel::TPanel(QWidget *parent) : QWidget(parent) {
    setAutoFillBackground(true);
}

void TPanel::SetBevelOuter(TPanelBevel bevel) {
    FBevelOuter = bevel;
    update();
}

void TPanel::SetBevelInner(TPanelBevel bevel) {
    FBevelInner = bevel;
    update();
}

void TPanel::SetBorderWidth(int width) {
    FBorderWidth = width;
    update();
}

QColor TPanel::Color() const {
    return palette().color(QPalette::Window);
}

void TPanel::SetColor(const QColor &color) {
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
}

void TPanel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QColor light = palette().color(QPalette::Light);
    const QColor shadow = palette().color(QPalette::Dark);
    QRect r = rect();
    auto bevel = [&](TPanelBevel b) {
        if (b == bvNone)
            return;
        if (b != bvSpace) {
            const QColor topLeft = b == bvRaised ? light : shadow;
            const QColor bottomRight = b == bvRaised ? shadow : light;
            painter.setPen(topLeft);
            painter.drawLine(r.topLeft(), r.topRight());
            painter.drawLine(r.topLeft(), r.bottomLeft());
            painter.setPen(bottomRight);
            painter.drawLine(r.bottomLeft(), r.bottomRight());
            painter.drawLine(r.topRight(), r.bottomRight());
        }
        r.adjust(1, 1, -1, -1);
    };
    bevel(FBevelOuter);
    r.adjust(FBorderWidth, FBorderWidth, -FBorderWidth, -FBorderWidth);
    bevel(FBevelInner);
}

// ---- TRadioGroup ------------------------------------------------------------------------

namespace {
// The style of the group's items: a small gap between the mark and the text, so that "1000"
// fits a third of a 150 pixel group.
class TNarrowRadioStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override {
        if (metric == PM_RadioButtonLabelSpacing)
            return 2;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

QStyle *NarrowRadioStyle() {
    static TNarrowRadioStyle style;
    return &style;
}
} // namespace

TRadioGroup::TRadioGroup(QWidget *parent) : QGroupBox(parent), FGroup(new QButtonGroup(this)) {
    FGroup->setExclusive(true);
    connect(FGroup, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        UpdateTabStop();
        if (checked && !FUpdating)
            CallEvent(OnClick, this);
    });
}

QStringList TRadioGroup::Items() const {
    QStringList items;
    for (const QRadioButton *b : FButtons)
        items << b->text();
    return items;
}

void TRadioGroup::SetItems(const QStringList &items) {
    qDeleteAll(FButtons);
    FButtons.clear();
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        button->setStyle(NarrowRadioStyle());
        FGroup->addButton(button, i);
        FButtons << button;
        button->show();
    }
    UpdateTabStop();
    ArrangeButtons();
}

int TRadioGroup::ItemIndex() const {
    return FGroup->checkedId();
}

void TRadioGroup::SetItemIndex(int index) {
    FUpdating = true;
    if (index >= 0 && index < FButtons.size()) {
        FButtons[index]->setChecked(true);
    } else if (QAbstractButton *checked = FGroup->checkedButton()) {
        FGroup->setExclusive(false);
        checked->setChecked(false);
        FGroup->setExclusive(true);
    }
    UpdateTabStop();
    FUpdating = false;
}

void TRadioGroup::SetColumns(int columns) {
    FColumns = std::clamp(columns, 1, 16);
    ArrangeButtons();
}

QRadioButton *TRadioGroup::Button(int index) const {
    return index >= 0 && index < FButtons.size() ? FButtons[index] : nullptr;
}

void TRadioGroup::resizeEvent(QResizeEvent *event) {
    QGroupBox::resizeEvent(event);
    ArrangeButtons();
}

void TRadioGroup::changeEvent(QEvent *event) {
    QGroupBox::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        ArrangeButtons();
}

// The keyboard enters the group at its selected item (at the first when none is selected);
// the arrow keys move between the items.
void TRadioGroup::UpdateTabStop() {
    const int stop = std::max(0, ItemIndex());
    for (int i = 0; i < FButtons.size(); ++i)
        FButtons[i]->setFocusPolicy(i == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

// The items fill the columns top to bottom, then left to right, in equal cells below the
// caption line.
void TRadioGroup::ArrangeButtons() {
    if (FButtons.isEmpty())
        return;
    const int perColumn = (int(FButtons.size()) + FColumns - 1) / FColumns;
    const int textHeight = fontMetrics().height();
    const int buttonWidth = (width() - 10) / FColumns;
    const int space = height() - textHeight - 5;
    const int buttonHeight = space / perColumn;
    const int topMargin = textHeight + 1 + (space % perColumn) / 2;
    for (int i = 0; i < FButtons.size(); ++i)
        FButtons[i]->setGeometry((i / perColumn) * buttonWidth + 8,
                                 (i % perColumn) * buttonHeight + topMargin, buttonWidth,
                                 buttonHeight);
}

// ---- TStatusBar -------------------------------------------------------------------------

TStatusBar::TStatusBar(QWidget *parent) : QLabel(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::WindowText, p.color(QPalette::Highlight));
    setPalette(p);
    setContentsMargins(2, 0, 2, 0);
}

// The toolkit's plain panels, radio groups and status bar, as the windows are built from them.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QWidget>
#include <functional>

class QButtonGroup;
class QRadioButton;

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };

// A panel with an outer and an inner one-pixel bevel and a border between them; children are
// placed in the panel's own coordinates.
class TPanel : public QWidget {
    Q_OBJECT

public:
    explicit TPanel(QWidget *parent = nullptr);

    TPanelBevel BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TPanelBevel bevel);
    TPanelBevel BevelInner() const { return FBevelInner; }
    void SetBevelInner(TPanelBevel bevel);
    int BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int width);
    QColor Color() const;
    void SetColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TPanelBevel FBevelOuter = bvRaised;
    TPanelBevel FBevelInner = bvNone;
    int FBorderWidth = 0;
};

// A group of radio buttons in columns, one of them selected. OnClick is raised when the user
// selects another item, by mouse or keyboard; setting ItemIndex from code raises nothing.
class TRadioGroup : public QGroupBox {
    Q_OBJECT

public:
    explicit TRadioGroup(QWidget *parent = nullptr);

    QStringList Items() const;
    void SetItems(const QStringList &items);
    int ItemIndex() const; // -1 when none is selected
    void SetItemIndex(int index);
    int Columns() const { return FColumns; }
    void SetColumns(int columns);
    QRadioButton *Button(int index) const;

    std::function<void(QObject *Sender)> OnClick;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void ArrangeButtons();
    void UpdateTabStop();

    QButtonGroup *FGroup;
    QList<QRadioButton *> FButtons;
    int FColumns = 1;
    bool FUpdating = false;
};

// A status bar of one simple panel: a line of text in the highlight colour.
class TStatusBar : public QLabel {
    Q_OBJECT

public:
    explicit TStatusBar(QWidget *parent = nullptr);

    QString SimpleText() const { return text(); }
    void SetSimpleText(const QString &text) { setText(text); }
};

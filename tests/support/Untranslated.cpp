#include "tests/support/Untranslated.h"

#include "controls/Aligrid.h"
#include "platform/Dialogs.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPaintEngine>
#include <QRegularExpression>
#include <QTextDocumentFragment>

namespace {

// A paint device that keeps the texts drawn on it and nothing else.
class TTextRecorder : public QPaintDevice, private QPaintEngine {
public:
    explicit TTextRecorder(QSize size) : QPaintEngine(AllFeatures), FSize(size) {}
    QPaintEngine *paintEngine() const override {
        return const_cast<QPaintEngine *>(static_cast<const QPaintEngine *>(this));
    }
    QStringList Texts;

protected:
    int metric(PaintDeviceMetric m) const override {
        return m == PdmWidth    ? FSize.width()
               : m == PdmHeight ? FSize.height()
               : m == PdmDepth  ? 32
               : m == PdmDevicePixelRatio || m == PdmDevicePixelRatioScaled
                   ? int(m == PdmDevicePixelRatio ? 1 : devicePixelRatioFScale())
                   : 96; // dots per inch, and the rest
    }

private:
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPath(const QPainterPath &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint *, int, PolygonDrawMode) override {}
    void drawTextItem(const QPointF &, const QTextItem &item) override { Texts << item.text(); }
    Type type() const override { return User; }

    QSize FSize;
};

QString Step(const QObject *o) {
    if (!o->objectName().isEmpty())
        return o->objectName();
    int n = 0;
    for (const QObject *sibling : o->parent() ? o->parent()->children() : QObjectList()) {
        if (sibling == o)
            break;
        n += sibling->metaObject() == o->metaObject();
    }
    return QStringLiteral("%1#%2").arg(QLatin1String(o->metaObject()->className())).arg(n);
}

void Add(TShownTexts &texts, const QString &place, const QString &text) {
    if (!text.isEmpty())
        texts.insert({place, text});
}

void AddModel(TShownTexts &texts, const QString &path, const QAbstractItemModel *model) {
    for (Qt::Orientation o : {Qt::Horizontal, Qt::Vertical})
        for (int s = 0, n = o == Qt::Horizontal ? model->columnCount() : model->rowCount(); s < n;
             ++s)
            Add(texts, path + "/header", model->headerData(s, o).toString());
    for (int r = 0; r < model->rowCount(); ++r)
        for (int c = 0; c < model->columnCount(); ++c)
            for (int role : {Qt::DisplayRole, Qt::ToolTipRole})
                Add(texts, path + "/cell", model->index(r, c).data(role).toString());
}

void AddActions(TShownTexts &texts, const QString &path, const QWidget *menu) {
    const QList<QAction *> actions = menu->actions();
    for (int i = 0; i < actions.size(); ++i) {
        const QAction *a = actions[i];
        const QString at =
            path + '/' +
            (a->objectName().isEmpty() ? QStringLiteral("action#%1").arg(i) : a->objectName());
        Add(texts, at + "/text", a->text());
        Add(texts, at + "/status tip", a->statusTip());
        Add(texts, at + "/what's this", a->whatsThis());
    }
}

// The program's own controls (captions, cells, pictures), whose texts only their painting
// shows; Qt's own show the texts read above.
bool PaintsOwnTexts(const QWidget *w) {
    if (w->objectName() == QLatin1String("qt_scrollarea_viewport"))
        return false;
    for (const char *type : {"QLabel", "QAbstractButton", "QGroupBox", "QAbstractScrollArea",
                             "QMenu", "QMenuBar", "QLineEdit", "QComboBox", "QAbstractSpinBox"})
        if (w->inherits(type))
            return false;
    return true;
}

void AddWidget(TShownTexts &texts, const QWidget *w, const QString &path) {
    if (w->isWindow())
        Add(texts, path + "/title", w->windowTitle());
    for (const char *property :
         {"text", "title", "placeholderText", "prefix", "suffix", "specialValueText", "plainText",
          "toolTip", "statusTip", "whatsThis", "accessibleName", "accessibleDescription"}) {
        if (qobject_cast<const QMenu *>(w) && qstrcmp(property, "title") == 0)
            continue; // the text of its item in the menu above
        QString text = w->property(property).toString();
        const auto *label = qobject_cast<const QLabel *>(w);
        if (label && label->textFormat() != Qt::PlainText && Qt::mightBeRichText(text))
            text = QTextDocumentFragment::fromHtml(text).toPlainText();
        Add(texts, path + '/' + property, text);
    }
    if (qobject_cast<const QMenu *>(w) || qobject_cast<const QMenuBar *>(w))
        AddActions(texts, path, w);
    if (const auto *box = qobject_cast<const QComboBox *>(w))
        for (int i = 0; i < box->count(); ++i)
            Add(texts, path + "/item", box->itemText(i));
    if (const auto *view = qobject_cast<const QAbstractItemView *>(w);
        view && view->model() && !qobject_cast<const QHeaderView *>(w))
        AddModel(texts, path, view->model());
    if (const auto *grid = qobject_cast<const TStringAlignGrid *>(w))
        for (int c = 0; c < grid->ColCount(); ++c)
            for (int r = 0; r < grid->RowCount(); ++r)
                Add(texts, path + "/cell hint", grid->HintCell(c, r));
    if (PaintsOwnTexts(w)) {
        TTextRecorder recorder(w->size());
        const_cast<QWidget *>(w)->render(&recorder, QPoint(), QRegion(),
                                         QWidget::DrawWindowBackground);
        for (const QString &text : recorder.Texts)
            Add(texts, path + "/painted", text);
    }
}

void AddTree(TShownTexts &texts, const QWidget *w, const QString &path) {
    AddWidget(texts, w, path);
    if (qobject_cast<const QComboBox *>(w))
        return; // its list holds its items
    for (const QObject *child : w->children())
        if (child->isWidgetType())
            AddTree(texts, static_cast<const QWidget *>(child), path + '/' + Step(child));
}

// What German writes as English does: the program's and the maker's names, web and mail
// addresses, "OK" on a button, and the words German writes alike: "Internet", "Version", "Name",
// "Status".
const QRegularExpression &Alike() {
    static const QRegularExpression alike(QStringLiteral(
        R"(Quorvale Pro|Tamblewick Software|\S+@\S+|\b(https?://|www\.)\S+|\b(OK|Internet|Version|Name|Status)\b)"));
    return alike;
}

bool HoldsWords(QString text) {
    text.remove(Alike());
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

} // namespace

void AddWindowTexts(TShownTexts &texts, const QWidget *window) {
    AddTree(texts, window, Step(window));
}

void AddDialogTexts(TShownTexts &texts, const QList<TDialogRequest> &requests) {
    for (const TDialogRequest &r : requests) {
        Add(texts, "dialog/title", r.Title);
        Add(texts, "dialog/text", r.Text);
        for (const QString &filter : r.Filters)
            Add(texts, "dialog/filter", filter);
    }
}

QStringList UntranslatedTexts(const TShownTexts &english, const TShownTexts &other) {
    // Texts that differ only in their numbers make one line, the numbers shown as "#".
    static const QRegularExpression number(QStringLiteral(R"(\d[\d.,]*)"));
    QSet<QString> found;
    for (const auto &[place, text] : english)
        if (other.contains({place, text}) && HoldsWords(QString(text).remove('&')))
            found << QStringLiteral("%1: \"%2\"").arg(place, QString(text).replace(number, "#"));
    QStringList lines(found.begin(), found.end());
    lines.sort();
    return lines;
}

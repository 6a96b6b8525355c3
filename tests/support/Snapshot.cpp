#include "Snapshot.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTreeView>

namespace Snapshot {
namespace {

// Lists longer than this show their first and last items and a hash of the rest.
constexpr int Whole = 12;
constexpr int Ends = 3;

QStringList shortened(const QStringList &items)
{
    return Snapshot::shortened(items, Whole, Ends, Ends);
}

QString quoted(QString text)
{
    for (const auto &[c, escaped] : {std::pair{'\\', "\\\\"}, {'\n', "\\n"}, {'\r', "\\r"}, {'\t', "\\t"}})
        text.replace(QLatin1Char(c), QLatin1String(escaped));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// A colour or brush by its name; anything else as text.
QString colourName(const QVariant &value)
{
    if (value.metaType().id() == QMetaType::QColor)
        return value.value<QColor>().name();
    if (value.metaType().id() == QMetaType::QBrush)
        return value.value<QBrush>().color().name();
    return value.toString();
}

// One cell: its text, and its colours and check mark when it has them.
QString cell(const QAbstractItemModel *model, const QModelIndex &index)
{
    QString out = quoted(model->data(index, Qt::DisplayRole).toString());
    for (const auto &[role, name] : {std::pair{Qt::DecorationRole, "decoration"},
                                     {Qt::BackgroundRole, "background"},
                                     {Qt::ForegroundRole, "foreground"},
                                     {Qt::CheckStateRole, "check"}})
        if (const QVariant value = model->data(index, role); value.isValid())
            out += QStringLiteral(" {%1 %2}").arg(QLatin1String(name), colourName(value));
    return out;
}

QString row(const QAbstractItemModel *model, int r, const QModelIndex &parent)
{
    QStringList cells;
    for (int c = 0; c < model->columnCount(parent); ++c)
        cells << cell(model, model->index(r, c, parent));
    QString out = cells.join(QLatin1String(" | "));
    const QModelIndex first = model->index(r, 0, parent);
    if (model->hasChildren(first))
        out += QStringLiteral(" (%1 below)").arg(model->rowCount(first));
    return out;
}

// The rows under `parent`, each followed by the rows under it, indented; of a long list
// only the first and last rows with a hash of the rest.
QStringList modelRows(const QAbstractItemModel *model, const QModelIndex &parent)
{
    QStringList entries;
    for (int r = 0; r < model->rowCount(parent); ++r) {
        QString entry = row(model, r, parent);
        const QModelIndex first = model->index(r, 0, parent);
        if (model->hasChildren(first))
            for (const QString &line : modelRows(model, first))
                entry += QLatin1String("\n  ") + line;
        entries << entry;
    }
    return shortened(entries).join(QLatin1Char('\n')).split(QLatin1Char('\n'));
}

QString lines(const QStringList &items, const QString &indent)
{
    QString out;
    for (const QString &item : items)
        out += QLatin1Char('\n') + indent + QLatin1String("  ") + item;
    return out;
}

// Where `w` stands in a grid of its parent's layout (directly or inside a layout of that
// grid's cell): " at row R, column C", with the span when it is more than one cell.
bool gridCell(const QLayout *layout, const QWidget *w, QString &out)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        QString inner;
        const bool here = item->widget() == w || (item->layout() && gridCell(item->layout(), w, inner));
        if (!here)
            continue;
        if (const auto *grid = qobject_cast<const QGridLayout *>(layout)) {
            int row = 0, column = 0, rows = 1, columns = 1;
            grid->getItemPosition(i, &row, &column, &rows, &columns);
            out = QStringLiteral(" at row %1, column %2").arg(row).arg(column);
            if (rows > 1 || columns > 1)
                out += QStringLiteral(" (%1×%2)").arg(rows).arg(columns);
        } else {
            out = inner;
        }
        return true;
    }
    return false;
}

// The flags a user notices: a control that cannot be used, text in a colour of its own,
// a style of its own (a field marked as refused).
QString flags(const QWidget *w)
{
    QString out;
    if (w->parentWidget() && w->parentWidget()->layout())
        gridCell(w->parentWidget()->layout(), w, out);
    if (!w->isEnabled())
        out += QLatin1String(" disabled");
    if (w->testAttribute(Qt::WA_SetPalette)) {
        const QPalette::ColorRole role = qobject_cast<const QLineEdit *>(w) || qobject_cast<const QComboBox *>(w)
            ? QPalette::Text
            : QPalette::WindowText;
        out += QLatin1String(" colour ") + w->palette().color(role).name();
    }
    if (!w->styleSheet().isEmpty())
        out += QLatin1String(" style ") + quoted(w->styleSheet());
    if (!w->toolTip().isEmpty())
        out += QLatin1String(" tip ") + quoted(w->toolTip());
    return out;
}

QString viewLine(const QAbstractItemView *view, const QString &indent)
{
    QString out = QStringLiteral("list");
    if (qobject_cast<const QTableView *>(view))
        out = QStringLiteral("table");
    else if (qobject_cast<const QTreeView *>(view))
        out = QStringLiteral("tree");
    const QAbstractItemModel *model = view->model();
    if (!model)
        return out + QLatin1String(": no model");
    // How it is used: selection mode and behaviour, drag and drop mode, and what it allows.
    out += QStringLiteral(" select %1 %2, drag %3%4%5%6")
               .arg(view->selectionMode())
               .arg(view->selectionBehavior())
               .arg(view->dragDropMode())
               .arg(view->showDropIndicator() ? " with indicator" : "")
               .arg(view->editTriggers() != QAbstractItemView::NoEditTriggers ? ", editable" : "")
               .arg(view->alternatingRowColors() ? ", alternating" : "");
    if (const auto *table = qobject_cast<const QTableView *>(view)) {
        if (table->isSortingEnabled())
            out += QStringLiteral(", sorted by column %1 %2")
                       .arg(table->horizontalHeader()->sortIndicatorSection())
                       .arg(table->horizontalHeader()->sortIndicatorOrder() == Qt::AscendingOrder ? "up" : "down");
        if (table->verticalHeader()->isHidden())
            out += QLatin1String(", no row numbers");
    }
    if (const auto *tree = qobject_cast<const QTreeView *>(view)) {
        if (tree->rootIsDecorated())
            out += QLatin1String(", branches");
        if (tree->isHeaderHidden())
            out += QLatin1String(", no header");
    }
    QStringList headers;
    for (int c = 0; c < model->columnCount(); ++c)
        headers << quoted(model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    out += QStringLiteral("\n%1  %2 rows; columns: %3")
               .arg(indent)
               .arg(model->rowCount())
               .arg(headers.join(QLatin1String(" | ")));
    if (view->currentIndex().isValid())
        out += QStringLiteral("\n%1  current row %2").arg(indent).arg(view->currentIndex().row() + 1);
    if (const QItemSelectionModel *selection = view->selectionModel(); selection && selection->hasSelection()) {
        QStringList rows;
        for (const QModelIndex &index : selection->selectedRows())
            rows << QString::number(index.row() + 1);
        if (!rows.isEmpty())
            out += QStringLiteral("\n%1  selected rows %2").arg(indent, rows.join(QLatin1Char(',')));
    }
    return out + (model->rowCount() ? lines(modelRows(model, QModelIndex()), indent) : QString());
}

// What one control shows; an empty text for a container without anything of its own.
QString describe(const QWidget *w, const QString &indent)
{
    if (const auto *label = qobject_cast<const QLabel *>(w))
        return QLatin1String("label ") + quoted(label->text());
    if (const auto *combo = qobject_cast<const QComboBox *>(w)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) {
            QString item = quoted(combo->itemText(i));
            const QVariant decoration = combo->itemData(i, Qt::DecorationRole);
            if (decoration.isValid())
                item += QStringLiteral(" {%1}").arg(colourName(decoration));
            items << item;
        }
        return QStringLiteral("list%1 %2, %3 items%4")
            .arg(combo->isEditable() ? QStringLiteral(" (editable)") : QString())
            .arg(combo->currentIndex() < 0 ? QStringLiteral("(none) ") + quoted(combo->placeholderText())
                                           : quoted(combo->currentText()))
            .arg(combo->count())
            .arg(lines(shortened(items), indent));
    }
    if (const auto *edit = qobject_cast<const QLineEdit *>(w)) {
        QString out = QLatin1String("field ") + quoted(edit->text());
        if (!edit->placeholderText().isEmpty())
            out += QLatin1String(" placeholder ") + quoted(edit->placeholderText());
        if (edit->isReadOnly())
            out += QLatin1String(" read-only");
        return out;
    }
    if (const auto *text = qobject_cast<const QPlainTextEdit *>(w))
        return QLatin1String("text ") + quoted(text->toPlainText()) + (text->isReadOnly() ? " read-only" : "");
    if (const auto *box = qobject_cast<const QGroupBox *>(w))
        return QLatin1String("box ") + quoted(box->title())
            + (box->isCheckable() ? (box->isChecked() ? " checked" : " unchecked") : "");
    if (const auto *button = qobject_cast<const QAbstractButton *>(w)) {
        QString out =
            QLatin1String(qobject_cast<const QCheckBox *>(w) ? "check box " : "button ") + quoted(button->text());
        if (button->isCheckable())
            out += button->isChecked() ? QLatin1String(" on") : QLatin1String(" off");
        if (const auto *push = qobject_cast<const QPushButton *>(w); push && (push->isDefault() || push->autoDefault()))
            out += push->isDefault() ? QLatin1String(" default") : QLatin1String(" takes Return");
        return out;
    }
    if (const auto *bar = qobject_cast<const QProgressBar *>(w))
        return QStringLiteral("progress %1 of %2 to %3").arg(bar->value()).arg(bar->minimum()).arg(bar->maximum());
    if (const auto *tabs = qobject_cast<const QTabWidget *>(w)) {
        QStringList titles;
        for (int i = 0; i < tabs->count(); ++i)
            titles << quoted(tabs->tabText(i)) + (tabs->isTabEnabled(i) ? "" : " disabled");
        return QStringLiteral("tabs %1, showing %2")
            .arg(titles.join(QLatin1String(", ")), quoted(tabs->tabText(tabs->currentIndex())));
    }
    if (const auto *view = qobject_cast<const QAbstractItemView *>(w))
        return viewLine(view, indent);
    return QString();
}

// Controls whose parts are not controls of their own.
bool whole(const QWidget *w)
{
    return qobject_cast<const QComboBox *>(w) || qobject_cast<const QAbstractItemView *>(w)
        || qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractButton *>(w)
        || qobject_cast<const QLabel *>(w) || qobject_cast<const QProgressBar *>(w);
}

void collectLayout(const QLayout *layout, QList<const QWidget *> &order)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget())
            order.append(item->widget());
        else if (item->layout())
            collectLayout(item->layout(), order);
    }
}

// The widgets directly under `w`, those of its layout first in layout order (rows of
// grids and forms left to right), then any others in the order they were made.
QList<const QWidget *> childrenInOrder(const QWidget *w)
{
    QList<const QWidget *> order;
    if (w->layout())
        collectLayout(w->layout(), order);
    for (const QObject *child : w->children())
        if (const auto *widget = qobject_cast<const QWidget *>(child); widget && !order.contains(widget))
            order.append(widget);
    order.removeIf([w](const QWidget *widget) { return widget->parentWidget() != w || widget->isWindow(); });
    return order;
}

void walk(const QWidget *w, const QString &indent, QStringList &out)
{
    const bool named = !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_"));
    if (w->isHidden()) {
        if (named)
            out << indent + w->objectName() + QLatin1String(": hidden");
        return;
    }
    if (qobject_cast<const QScrollBar *>(w) || qobject_cast<const QTabBar *>(w))
        return;
    // The icon buttons of a title bar (a dock's float and close) have neither name nor text.
    if (const auto *button = qobject_cast<const QAbstractButton *>(w); button && !named && button->text().isEmpty())
        return;
    const QString what = describe(w, indent);
    QString inner = indent;
    if (!what.isEmpty() || named) {
        QString line = indent;
        if (named)
            line += w->objectName() + QLatin1String(": ");
        // The flags belong to the control's first line, before its items or rows.
        const QString body = what.isEmpty() ? QStringLiteral("group") : what;
        const qsizetype end = body.indexOf(QLatin1Char('\n'));
        line += end < 0 ? body + flags(w) : body.left(end) + flags(w) + body.mid(end);
        out << line;
        if (qobject_cast<const QGroupBox *>(w) || (named && what.isEmpty()))
            inner += QLatin1String("  ");
    }
    if (whole(w))
        return;
    if (const auto *stack = qobject_cast<const QStackedWidget *>(w)) {
        if (stack->currentWidget())
            walk(stack->currentWidget(), inner, out);
        return;
    }
    for (const QWidget *child : childrenInOrder(w))
        walk(child, inner, out);
}

} // namespace

QString ofWidget(const QWidget *root)
{
    QStringList out;
    walk(root, QString(), out);
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

namespace {
// Each command of a menu (or of the menu bar) with its shortcuts and state, and the
// commands of its submenus indented below it.
void menuLines(const QWidget *menu, const QString &indent, QStringList &out)
{
    for (const QAction *action : menu->actions()) {
        QStringList keys;
        for (const QKeySequence &key : action->shortcuts())
            keys << key.toString(QKeySequence::PortableText);
        out << indent
                + (action->isSeparator() ? QStringLiteral("—")
                                         : quoted(action->text())
                           + (action->objectName().isEmpty() ? QString() : " (" + action->objectName() + ")")
                           + (keys.isEmpty() ? QString() : ' ' + keys.join(", "))
                           + (action->isEnabled() ? "" : " disabled")
                           + (!action->isCheckable()    ? ""
                                  : action->isChecked() ? " checked"
                                                        : " unchecked")
                           + (action->isVisible() ? "" : " hidden"));
        if (action->menu())
            menuLines(action->menu(), indent + QLatin1String("  "), out);
    }
}
} // namespace

QString ofMenus(const QMenuBar *bar)
{
    QStringList out;
    menuLines(bar, QString(), out);
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString ofAlerts(const QList<Alert> &alerts)
{
    QString out;
    for (const Alert &a : alerts) {
        const char *kind = a.kind == Alert::Kind::Destructive ? "question that destroys"
            : a.kind == Alert::Kind::Failure                  ? "failure"
            : a.buttons.size() > 1                            ? "question"
                                                              : "note";
        out += QStringLiteral("%1%2: %3\n")
                   .arg(QLatin1String(kind), a.title.isEmpty() ? QString() : QLatin1Char(' ') + quoted(a.title),
                        quoted(a.message));
        if (!a.informative.isEmpty())
            out += QLatin1String("  ") + quoted(a.informative) + QLatin1Char('\n');
        QStringList buttons;
        for (const QString &button : a.buttons)
            buttons << quoted(button);
        out += QLatin1String("  [") + buttons.join(QLatin1String(", ")) + QLatin1String("]\n");
    }
    return out;
}

} // namespace Snapshot

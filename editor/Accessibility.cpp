#include "Accessibility.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableView>

namespace Accessibility {

namespace {

// The names of the controls that no label on their page names, by object name (a whole
// match). %1, %2... are the parts in brackets; a jack word ("Two") reads as its number.
struct ControlName
{
    const char *objectName;
    const char *name;
};

// clang-format off
const ControlName controlNames[] = {
    {"SongTableView|SetJacksTableView|SetlistSongListTableView", QT_TRANSLATE_NOOP("Accessibility", "Songs")},
    {"SetlistTableView", QT_TRANSLATE_NOOP("Accessibility", "Setlist")},
    {"LibraryTableView", QT_TRANSLATE_NOOP("Accessibility", "Library")},
    {"nameTF", QT_TRANSLATE_NOOP("Accessibility", "Song name")},
    {"foot(Tap|Hold)Function", QT_TRANSLATE_NOOP("Accessibility", "Foot switch %1: function")},
    {"foot(Tap|Hold)Preset", QT_TRANSLATE_NOOP("Accessibility", "Foot switch %1: song")},
    {"foot(Tap|Hold)Stack", QT_TRANSLATE_NOOP("Accessibility", "Foot switch %1: stack")},
    {"jack(One|Two|Three|Four)Combo", QT_TRANSLATE_NOOP("Accessibility", "Jack %1 mode")},
    {"static(One|Two|Three|Four)Combo", QT_TRANSLATE_NOOP("Accessibility", "Jack %1 static level")},
    {"numPulses(One|Two|Three|Four)Combo", QT_TRANSLATE_NOOP("Accessibility", "Jack %1 pulse count")},
    {"expStack(One)Combo", QT_TRANSLATE_NOOP("Accessibility", "Jack %1 expression stack")},
    {"Jack(\\d)(Tip|Ring)(TAP|HOLD)Function", QT_TRANSLATE_NOOP("Accessibility", "Jack %1 %2 %3: function")},
    {"Jack(\\d)(Tip|Ring)(TAP|HOLD)Preset", QT_TRANSLATE_NOOP("Accessibility", "Jack %1 %2 %3: song")},
    {"Jack(\\d)(Tip|Ring)(TAP|HOLD)Stack", QT_TRANSLATE_NOOP("Accessibility", "Jack %1 %2 %3: stack")},
    {"midiStackCombo", QT_TRANSLATE_NOOP("Accessibility", "Midi stack")},
    {"MidiStackName", QT_TRANSLATE_NOOP("Accessibility", "Stack name")},
    {"stackMessageType(\\d+)", QT_TRANSLATE_NOOP("Accessibility", "Message %1 type")},
    {"stackMessageChannel(\\d+)", QT_TRANSLATE_NOOP("Accessibility", "Message %1 channel")},
    {"stackMessageMessage(\\d+)", QT_TRANSLATE_NOOP("Accessibility", "Message %1 message")},
    {"stackMessageValue(\\d+)", QT_TRANSLATE_NOOP("Accessibility", "Message %1 value")},
    {"stackMessageName(\\d+)", QT_TRANSLATE_NOOP("Accessibility", "Message %1 name")},
    {"stackMessageCheck(\\d+)", QT_TRANSLATE_NOOP("Accessibility", "Message %1: fill from the library")},
    {"stackMessageReset(\\d+)", QT_TRANSLATE_NOOP("Accessibility", "Reset message %1")},
    {"typeCombo", QT_TRANSLATE_NOOP("Accessibility", "Library entry type")},
    {"pedalLogView", QT_TRANSLATE_NOOP("Accessibility", "Pedal Log")},
    {"compareChangesTree", QT_TRANSLATE_NOOP("Accessibility", "Changes")},
    {"pedalStateIndicator", QT_TRANSLATE_NOOP("Accessibility", "Pedal state")},
    {"qt_toolbar_ext_button", QT_TRANSLATE_NOOP("Accessibility", "More commands")},
    {"qt_menubar_ext_button", QT_TRANSLATE_NOOP("Accessibility", "More menus")},
};
// clang-format on

const char *const jackWords[] = {"One", "Two", "Three", "Four"};

QString nameFor(const QString &objectName)
{
    if (objectName.isEmpty())
        return {};
    for (const ControlName &entry : controlNames) {
        const QRegularExpression pattern(QRegularExpression::anchoredPattern(QLatin1String(entry.objectName)));
        const QRegularExpressionMatch match = pattern.match(objectName);
        if (!match.hasMatch())
            continue;
        QString name = QCoreApplication::translate("Accessibility", entry.name);
        for (int i = 1; i <= match.lastCapturedIndex(); ++i) {
            QString part = match.captured(i);
            for (int w = 0; w < 4; ++w)
                if (part == QLatin1String(jackWords[w]))
                    part = QString::number(w + 1);
            name = name.arg(part.toLower());
        }
        return name;
    }
    return {};
}

// What a label says, without its markup or mnemonic.
QString plainText(const QLabel *label)
{
    QString text = label->text();
    if (label->textFormat() != Qt::PlainText && Qt::mightBeRichText(text))
        text.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    return text.remove(QLatin1Char('&')).trimmed();
}

// Frames the current row of a table while the table has the focus, in a colour that
// stands out from the row's background whether it is selected or not.
class FocusFrameDelegate : public QStyledItemDelegate
{
public:
    explicit FocusFrameDelegate(QAbstractItemView *view) : QStyledItemDelegate(view), m_view(view) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const QModelIndex current = m_view->currentIndex();
        if (!m_view->hasFocus() || !current.isValid() || current.row() != index.row())
            return;
        const bool wholeRow = m_view->selectionBehavior() == QAbstractItemView::SelectRows;
        if (!wholeRow && current.column() != index.column())
            return;
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->setPen(QPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Highlight), 2));
        const QRect r = option.rect.adjusted(1, 1, -1, -1);
        const bool first = !wholeRow || index.column() == 0;
        const bool last = !wholeRow || index.column() == index.model()->columnCount(index.parent()) - 1;
        painter->drawLine(r.topLeft(), r.topRight());
        painter->drawLine(r.bottomLeft(), r.bottomRight());
        if (first)
            painter->drawLine(r.topLeft(), r.bottomLeft());
        if (last)
            painter->drawLine(r.topRight(), r.bottomRight());
        painter->restore();
    }

private:
    QAbstractItemView *m_view;
};

// Home and End go to the first and last row of a table (on their own, a table's go to
// the first and last cell of the row).
class RowKeys : public QObject
{
public:
    explicit RowKeys(QAbstractItemView *view) : QObject(view), m_view(view) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_view)
            return false;
        // The frame spans the row, so the whole view is painted again when it moves or
        // the focus comes or goes (the view itself repaints only the current cell).
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            m_view->viewport()->update();
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool home = key->key() == Qt::Key_Home;
        if ((!home && key->key() != Qt::Key_End) || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        const QAbstractItemModel *model = m_view->model();
        if (!model || model->rowCount() == 0)
            return true;
        const QModelIndex target =
            model->index(home ? 0 : model->rowCount() - 1, qMax(0, m_view->currentIndex().column()));
        const auto rows = m_view->selectionBehavior() == QAbstractItemView::SelectRows ? QItemSelectionModel::Rows
                                                                                       : QItemSelectionModel::NoUpdate;
        m_view->selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | rows);
        m_view->scrollTo(target);
        return true;
    }

private:
    QAbstractItemView *m_view;
};

// A text field is at least this many characters wide; a number field (one given a
// largest width) keeps that width.
constexpr int TextFieldCharacters = 12;

void keepReadable(QLineEdit *field)
{
    if (field->minimumWidth() > 0 || qobject_cast<QComboBox *>(field->parentWidget()))
        return;
    if (field->maximumWidth() < QWIDGETSIZE_MAX) {
        field->setMinimumWidth(field->maximumWidth());
        return;
    }
    const int width = field->fontMetrics().averageCharWidth() * TextFieldCharacters + 12;
    field->setMinimumWidth(qMax(width, field->minimumSizeHint().width()));
}

} // namespace

void keyboardTable(QAbstractItemView *view)
{
    view->setTabKeyNavigation(false);
    if (!view->property("focusFramed").toBool()) {
        view->setProperty("focusFramed", true);
        view->setItemDelegate(new FocusFrameDelegate(view));
        view->installEventFilter(new RowKeys(view));
        if (QItemSelectionModel *selection = view->selectionModel())
            QObject::connect(selection, &QItemSelectionModel::currentChanged, view->viewport(),
                             [viewport = view->viewport()] { viewport->update(); });
    }
}

QScrollArea *scrollArea(const QString &objectName, QWidget *parent)
{
    auto *area = new QScrollArea(parent);
    area->setObjectName(objectName);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    area->setFocusPolicy(Qt::NoFocus);
    return area;
}

// Every table of a page shows at least this many rows, however small the window: the
// page scrolls instead.
constexpr int TableRows = 6;

void preparePage(QWidget *page)
{
    for (QTableView *table : page->findChildren<QTableView *>()) {
        keyboardTable(table);
        const int rows = table->verticalHeader()->defaultSectionSize() * TableRows;
        table->setMinimumHeight(rows + table->horizontalHeader()->sizeHint().height() + 2 * table->frameWidth());
    }
    for (QLineEdit *field : page->findChildren<QLineEdit *>())
        keepReadable(field);
    // The page's own scroll areas are passed by Tab, as the page's is.
    for (QScrollArea *area : page->findChildren<QScrollArea *>())
        area->setFocusPolicy(Qt::NoFocus);
    nameControls(page);
}

void nameControls(QWidget *root)
{
    // A form's labels name their fields.
    for (QFormLayout *form : root->findChildren<QFormLayout *>())
        for (int row = 0; row < form->rowCount(); ++row) {
            QLayoutItem *labelItem = form->itemAt(row, QFormLayout::LabelRole);
            QLayoutItem *fieldItem = form->itemAt(row, QFormLayout::FieldRole);
            auto *label = labelItem ? qobject_cast<QLabel *>(labelItem->widget()) : nullptr;
            if (label && fieldItem && fieldItem->widget() && !label->buddy())
                label->setBuddy(fieldItem->widget());
        }
    for (QLabel *label : root->findChildren<QLabel *>())
        if (QWidget *buddy = label->buddy(); buddy && buddy->accessibleName().isEmpty())
            buddy->setAccessibleName(plainText(label));
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (!w->accessibleName().isEmpty())
            continue;
        QString name = nameFor(w->objectName());
        if (name.isEmpty())
            if (const auto *field = qobject_cast<QLineEdit *>(w);
                field && !qobject_cast<QComboBox *>(w->parentWidget()))
                name = field->placeholderText();
        if (!name.isEmpty())
            w->setAccessibleName(name);
    }
}

void announce(QWidget *widget, QAccessible::Event change)
{
    QAccessibleEvent event(widget, change);
    QAccessible::updateAccessibility(&event);
}

void announceValue(QWidget *widget, const QVariant &value)
{
    QAccessibleValueChangeEvent event(widget, value);
    QAccessible::updateAccessibility(&event);
}

void fitToScreen(QWidget *window, QSize preferred)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) {
        window->resize(preferred);
        return;
    }
    const QRect available = screen->availableGeometry();
    // Room for the frame and title bar the window manager adds.
    const QSize room = available.size() - QSize(16, 40);
    const QSize size = preferred.boundedTo(room).expandedTo(window->minimumSizeHint().boundedTo(room));
    window->resize(size);
    window->move(available.center() - QRect(QPoint(), size).center());
}

} // namespace Accessibility

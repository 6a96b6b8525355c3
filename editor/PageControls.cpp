#include "PageControls.h"

#include "EditorContext.h"
#include "GlobalItemTexts.h"
#include "WindowCommands.h"

#include <QAbstractItemModel>
#include <QObject>
#include <QComboBox>
#include <QCoreApplication>
#include <QHash>
#include <QHBoxLayout>
#include <QStyle>
#include <QLabel>
#include <QPushButton>

namespace PageControls {

namespace {
// A list as wide as a fixed number of characters, whatever its items. That width depends
// only on the font, the style and the length, so it is measured once, on a list made for
// the purpose: a list sized by Qt itself builds its popup at once to be sized.
class FixedWidthList : public QComboBox
{
public:
    FixedWidthList(int length, QWidget *parent) : QComboBox(parent), m_length(length) {}
    QSize sizeHint() const override { return measured().first; }
    QSize minimumSizeHint() const override { return measured().second; }

private:
    std::pair<QSize, QSize> measured() const
    {
        static QHash<QString, std::pair<QSize, QSize>> sizes;
        const QString key =
            QStringLiteral("%1/%2/%3/%4").arg(font().key(), style()->name()).arg(m_length).arg(isEditable());
        auto found = sizes.constFind(key);
        if (found == sizes.constEnd()) {
            QComboBox probe;
            probe.setFont(font());
            probe.setEditable(isEditable());
            probe.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
            probe.setMinimumContentsLength(m_length);
            found = sizes.insert(key, {probe.sizeHint(), probe.minimumSizeHint()});
        }
        return *found;
    }

    int m_length;
};

QComboBox *prepared(const QString &objectName, QWidget *parent)
{
    QComboBox *combo = fixedWidthList(14, parent);
    combo->setObjectName(objectName);
    combo->setMaxVisibleItems(20);
    return combo;
}
} // namespace

QComboBox *fixedWidthList(int length, QWidget *parent)
{
    return new FixedWidthList(length, parent);
}

QComboBox *list(const QString &objectName, const QStringList &items, QWidget *parent)
{
    QComboBox *combo = prepared(objectName, parent);
    combo->addItems(items);
    return combo;
}

QComboBox *sharedList(const QString &objectName, QAbstractItemModel *model, QWidget *parent)
{
    QComboBox *combo = prepared(objectName, parent);
    combo->setModel(model);
    return combo;
}

QPushButton *button(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(objectName);
    b->setAutoDefault(false);
    return b;
}

QBoxLayout *commandRow(QWidget *page, const EditorContext &ctx, SessionKeys::Page which,
                       const std::vector<QPushButton *> &extra)
{
    auto *row = new QHBoxLayout;
    std::vector<QPushButton *> buttons;
    for (const WindowCommand &command : WindowCommandTable::rows()) {
        if (command.place != CommandPlace::Page || command.page != which)
            continue;
        QPushButton *b = button(QLatin1String(command.button),
                                QCoreApplication::translate("WindowCommands", command.buttonText), page);
        if (QAction *action = ctx.commands ? ctx.commands->action(command.id) : nullptr) {
            QObject::connect(b, &QPushButton::clicked, action, &QAction::trigger);
            QObject::connect(action, &QAction::changed, b, [b, action] { b->setEnabled(action->isEnabled()); });
            b->setEnabled(action->isEnabled());
        }
        buttons.push_back(b);
    }
    // Send and Load, the page's own buttons, then Reset.
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (i + 1 == buttons.size()) {
            row->addStretch();
            for (QPushButton *b : extra)
                row->addWidget(b);
        }
        row->addWidget(buttons[i]);
    }
    return row;
}

QLabel *label(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(objectName);
    return l;
}

void onChoice(QComboBox *combo, QWidget *receiver, std::function<void(int)> chosen)
{
    QObject::connect(combo, &QComboBox::activated, receiver, [chosen = std::move(chosen)](int index) {
        if (index >= 0)
            chosen(index);
    });
}

void select(QComboBox *combo, qint64 position)
{
    const int index = position >= 0 && position < combo->count() ? int(position) : -1;
    showOutOfRange(combo, index < 0 ? std::optional<qint64>(position) : std::nullopt);
    if (combo->currentIndex() != index)
        combo->setCurrentIndex(index);
}

void showOutOfRange(QComboBox *combo, std::optional<qint64> value)
{
    const QString text = value ? GlobalItemTexts::outOfRangeText(*value) : QString();
    if (combo->placeholderText() != text)
        combo->setPlaceholderText(text);
}

QString songStepName(qint64 Song::*field, qint64 position)
{
    return QObject::tr("%1 of Song %2").arg(SessionKeys::fieldLabel(field)).arg(position + 1);
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    widget->setPalette(palette);
}

QColor textColour(const QWidget *widget)
{
    return widget->palette().color(QPalette::WindowText);
}

} // namespace PageControls

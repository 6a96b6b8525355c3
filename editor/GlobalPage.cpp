#include "GlobalPage.h"

#include "EditorContext.h"
#include "SessionHistory.h"

#include "link/PedalLink.h"
#include "model/DataHandler.h"
#include "model/Menu.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QStringListModel>
#include <QVBoxLayout>

namespace {

// "SendMidiClock" -> "Send Midi Clock", "Division1" -> "Division 1".
QString wordsOf(const QString &name)
{
    QString out;
    for (int i = 0; i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (i > 0) {
            const QChar prev = name.at(i - 1);
            if ((c.isUpper() && !prev.isUpper()) || (c.isDigit() && !prev.isDigit()))
                out += QLatin1Char(' ');
        }
        out += c;
    }
    return out;
}

QPushButton *commandButton(const QString &text, const char *objectName, QWidget *parent)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(objectName));
    return button;
}

} // namespace

GlobalPage::GlobalPage(EditorContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx)
{
    auto *outer = new QVBoxLayout(this);

    auto *commands = new QHBoxLayout;
    auto *send = commandButton(tr("Send Global Settings"), "SendMenuCommand", this);
    auto *load = commandButton(tr("Load Global Settings"), "LoadGlobalCommand", this);
    auto *reset = commandButton(tr("Reset Global Settings"), "ResetGlobalCommand", this);
    commands->addWidget(send);
    commands->addWidget(load);
    commands->addStretch();
    commands->addWidget(reset);
    outer->addLayout(commands);

    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("GlobalScrollView"));
    scroll->setWidgetResizable(true);
    auto *content = new QWidget(scroll);
    auto *form = new QFormLayout(content);
    scroll->setWidget(content);
    outer->addWidget(scroll);

    // One list per field, in declaration order; the fields of an incoming message are
    // grouped under its name.
    const QString incoming = QStringLiteral("Incoming");
    m_entries.reserve(menuFields().size());
    for (const MenuField &field : menuFields()) {
        const QString name = QLatin1String(field.name);
        QString label = wordsOf(name);
        if (name.startsWith(incoming)) {
            for (const char *message : incomingMessageNames()) {
                const QString group = incoming + QLatin1String(message);
                if (name.startsWith(group) && name.size() > group.size() && name.at(group.size()).isUpper()) {
                    if (name.endsWith(QLatin1String("Type"))) {
                        auto *heading = new QLabel(QStringLiteral("<b>%1</b>").arg(wordsOf(group)), content);
                        form->addRow(heading);
                    }
                    label = name.mid(group.size());
                    break;
                }
            }
        }
        auto *combo = new QComboBox(content);
        combo->setObjectName(name + QLatin1String("Combo"));
        combo->setModel(modelFor(GlobalItemTexts::kindOf(field)));
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        combo->setMinimumContentsLength(16);
        form->addRow(label, combo);
        m_entries.push_back({&field, combo});
        const size_t index = m_entries.size() - 1;
        connect(combo, &QComboBox::activated, this, [this, index](int position) {
            pick(m_entries[index], position);
        });
        if (GlobalItemTexts::kindOf(field) == GlobalItemTexts::Kind::StackName) {
            // Every fill of the stack names selects the stored stack again.
            connect(&m_ctx.lists, &SharedLists::stacksRefilled, this,
                    [this, index] { showField(m_entries[index]); });
        }
    }

    connect(send, &QPushButton::clicked, this, [this] {
        if (m_ctx.link)
            m_ctx.link->sendGlobal();
    });
    connect(load, &QPushButton::clicked, this, [this] {
        if (m_ctx.link)
            m_ctx.link->loadGlobal();
    });
    connect(reset, &QPushButton::clicked, this, [this] {
        m_ctx.history.edit(tr("Reset Global Settings"), [this] { m_ctx.store.resetGlobals(); });
        showSettings();
        m_ctx.events.edited();
    });

    showSettings();
}

QStringListModel *GlobalPage::modelFor(GlobalItemTexts::Kind kind)
{
    if (kind == GlobalItemTexts::Kind::StackName)
        return m_ctx.lists.stackModel();
    QStringListModel *&model = m_models[size_t(kind)];
    if (!model)
        model = new QStringListModel(GlobalItemTexts::items(kind), this);
    return model;
}

void GlobalPage::showSettings()
{
    for (const Entry &entry : m_entries)
        showField(entry);
}

void GlobalPage::showField(const Entry &entry)
{
    const qint64 value = m_ctx.store.GlobalMenu.*(entry.field->member);
    const qint64 position = MenuRules::positionForValue(entry.field->rule, value);
    const bool hasItem = position >= 0 && position < entry.combo->count()
        && MenuRules::valueForPosition(entry.field->rule, position) == value;
    if (hasItem) {
        entry.combo->setCurrentIndex(int(position));
        entry.combo->setToolTip(QString());
        return;
    }
    // No item stands for this value: show it as out of range and keep it stored.
    entry.combo->setPlaceholderText(GlobalItemTexts::outOfRangeText(value));
    entry.combo->setCurrentIndex(-1);
    entry.combo->setToolTip(tr("The stored value %1 has no item in this list; it is kept until you pick one.")
                                .arg(value));
}

void GlobalPage::pick(const Entry &entry, int position)
{
    if (position < 0)
        return;
    const qint64 value = MenuRules::valueForPosition(entry.field->rule, position);
    m_ctx.history.edit(wordsOf(QLatin1String(entry.field->name)),
                       [this, member = entry.field->member, value] { m_ctx.store.GlobalMenu.*member = value; });
    entry.combo->setToolTip(QString());
    m_ctx.events.edited();
}

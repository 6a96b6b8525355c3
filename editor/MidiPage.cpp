#include "MidiPage.h"
#include "ShownTexts.h"

#include "EditorContext.h"
#include "LibraryTableModel.h"
#include "MidiPageParts.h"
#include "PageControls.h"
#include "SessionHistory.h"
#include "TypedRanges.h"

#include "format/SessionKeys.h"
#include "format/SessionWriter.h"
#include "SessionActions.h"
#include "link/PedalLink.h"
#include "model/CodePoints.h"
#include "model/DataHandler.h"
#include "Dialogs.h"
#include "model/MessageType.h"
#include "model/Normaliser.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringListModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

using namespace PageControls;
using namespace MidiPageParts;

MidiPage::MidiPage(EditorContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx)
{
    QStringList types;
    for (qint64 t = 0; t < MessageType::Count; ++t)
        types.append(ShownTexts::messageType(t));
    m_typeModel = new QStringListModel(types, this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(commandRow(this, m_ctx, SessionKeys::Page::Midi));
    layout->addWidget(buildStackPart());
    layout->addWidget(buildLibraryPart(), 1);

    connect(&m_ctx.lists, &SharedLists::stacksRefilled, this, &MidiPage::reselectStack);

    reselectStack();
    showStackPage();
}

QWidget *MidiPage::buildStackPart()
{
    auto *box = new QGroupBox(tr("Midi Stack"), this);
    auto *grid = new QGridLayout(box);

    m_stackCombo = new QComboBox(box);
    m_stackCombo->setObjectName(QStringLiteral("midiStackCombo"));
    m_stackCombo->setModel(m_ctx.lists.stackModel());
    m_stackName = lineEdit(QStringLiteral("MidiStackName"), box);
    auto *resetStackButton = button(QStringLiteral("resetStackButton"), tr("Reset Stack"), box);
    auto *previewStackButton = button(QStringLiteral("previewStackButton"), tr("Preview Stack"), box);
    auto *saveStackNamesButton = button(QStringLiteral("saveStackNamesButton"), tr("Save Stack Names..."), box);

    auto *top = new QHBoxLayout;
    top->addWidget(m_stackCombo);
    top->addWidget(new QLabel(tr("Name"), box));
    top->addWidget(m_stackName, 1);
    top->addWidget(resetStackButton);
    top->addWidget(previewStackButton);
    top->addWidget(saveStackNamesButton);
    grid->addLayout(top, 0, 0, 1, 8);

    const QStringList headings = {tr("#"),     tr("Type"), tr("Channel"), tr("Message"),
                                  tr("Value"), tr("Name"), tr("Copy"),    QString()};
    for (int c = 0; c < headings.size(); ++c)
        grid->addWidget(new QLabel(headings[c], box), 1, c);

    for (int i = 0; i < RowCount; ++i)
        addStackRow(i, grid, box);
    grid->setColumnStretch(5, 1);

    connect(m_stackCombo, &QComboBox::activated, this, &MidiPage::stackChosen);
    connect(m_stackName, &QLineEdit::editingFinished, this, &MidiPage::stackNameEdited);
    // Checked as typed, as song names are; taken when the editing ends.
    connect(m_stackName, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (fitsSessionText(text))
            TypedRanges::clearMark(m_stackName);
        else
            TypedRanges::markRefused(m_stackName, badCharacterText());
    });
    connect(resetStackButton, &QPushButton::clicked, this, &MidiPage::resetStack);
    connect(previewStackButton, &QPushButton::clicked, this, [this] {
        if (m_ctx.link)
            m_ctx.link->previewStack(int(m_ctx.state.SelectedStackIndex));
    });
    connect(saveStackNamesButton, &QPushButton::clicked, this, &MidiPage::saveStackNames);
    return box;
}

// One row of the stack: its number, type, three number fields, name, copy check and reset.
void MidiPage::addStackRow(int i, QGridLayout *grid, QWidget *box)
{
    // The three number fields of a row, with the message field each edits.
    struct NumberField
    {
        const char *stem;
        QLineEdit *Row::*field;
        qint64 MidiStackMessage::*member;
    };
    static const NumberField numberFields[] = {
        {"stackMessageChannel", &Row::channel, &MidiStackMessage::Channel},
        {"stackMessageMessage", &Row::message, &MidiStackMessage::Message},
        {"stackMessageValue", &Row::value, &MidiStackMessage::Value},
    };

    Row &row = m_rows[size_t(i)];
    const QString n = QString::number(i + 1);
    const int gridRow = i + 2;
    grid->addWidget(new QLabel(n, box), gridRow, 0);

    row.type = new QComboBox(box);
    row.type->setObjectName(QStringLiteral("stackMessageType") + n);
    row.type->setModel(m_typeModel);
    grid->addWidget(row.type, gridRow, 1);
    connect(row.type, &QComboBox::activated, this, [this, i](int p) { rowTypeChosen(i, p); });

    int column = 2;
    for (const NumberField &nf : numberFields) {
        QLineEdit *edit = lineEdit(QLatin1String(nf.stem) + n, box, 70);
        row.*(nf.field) = edit;
        grid->addWidget(edit, gridRow, column++);
        const auto member = nf.member;
        connect(edit, &QLineEdit::editingFinished, this, [this, i, edit, member] { rowNumberEdited(i, edit, member); });
        TypedRanges::watch(edit, [this, i] {
            const MidiStack *stack = shownStack();
            return stack && stack->MidiStackMessageList[size_t(i)].Typey == 0;
        });
    }

    row.name = lineEdit(QStringLiteral("stackMessageName") + n, box);
    grid->addWidget(row.name, gridRow, column++);
    connect(row.name, &QLineEdit::editingFinished, this, [this, i] { rowNameEdited(i); });

    row.check = new QCheckBox(box);
    row.check->setObjectName(QStringLiteral("stackMessageCheck") + n);
    grid->addWidget(row.check, gridRow, column++);
    connect(row.check, &QCheckBox::toggled, this,
            [this, i](bool on) { m_ctx.state.StackRowChecked[size_t(i)] = on ? 1 : 0; });

    row.reset = button(QStringLiteral("stackMessageReset") + n, tr("Reset"), box);
    grid->addWidget(row.reset, gridRow, column++);
    connect(row.reset, &QPushButton::clicked, this, [this, i] { rowReset(i); });
}

bool MidiPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_libraryView->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && !m_libraryView->indexAt(mouse->position().toPoint()).isValid())
            copyFromLibrary(-1);
    }
    return QWidget::eventFilter(watched, event);
}

QString MidiPage::messageStepName(const QString &what, int row) const
{
    return tr("%1 of Message %2 in Stack %3").arg(what).arg(row + 1).arg(m_ctx.state.SelectedStackIndex + 1);
}

MidiStack *MidiPage::shownStack()
{
    const qint64 index = m_ctx.state.SelectedStackIndex;
    if (index < 0 || index >= qint64(m_ctx.store.MidiStackList.size()))
        return nullptr;
    MidiStack &stack = m_ctx.store.MidiStackList[size_t(index)];
    if (stack.MidiStackMessageList.size() < size_t(RowCount))
        return nullptr;
    return &stack;
}

void MidiPage::resetPage()
{
    m_ctx.history.edit(tr("Reset Midi Stacks"), [this] { m_ctx.store.resetMidiStacks(); });
    showStackPage();
}

void MidiPage::showStackPage()
{
    MidiStack *stack = shownStack();
    for (int i = 0; i < RowCount; ++i) {
        Row &row = m_rows[size_t(i)];
        for (QLineEdit *e : {row.channel, row.message, row.value, row.name})
            TypedRanges::clearMark(e);
        if (!stack) {
            row.type->setCurrentIndex(-1);
            for (QLineEdit *e : {row.channel, row.message, row.value, row.name})
                e->clear();
            continue;
        }
        const MidiStackMessage &m = stack->MidiStackMessageList[size_t(i)];
        select(row.type, m.Typey);
        row.channel->setText(QString::number(m.Channel));
        row.message->setText(QString::number(m.Message));
        row.value->setText(QString::number(m.Value));
        row.name->setText(m.Name);
    }
    TypedRanges::clearMark(m_stackName);
    m_stackName->setText(stack ? stack->Name : QString());
    applyRowRule();
}

void MidiPage::applyRowRule()
{
    MidiStack *stack = shownStack();
    for (int i = 0; i < RowCount; ++i) {
        const bool single = stack && MessageType::hasSingleDataByte(stack->MidiStackMessageList[size_t(i)].Typey);
        m_rows[size_t(i)].message->setHidden(single);
    }
}

void MidiPage::selectStack(int position)
{
    if (position < 0 || position >= m_stackCombo->count())
        return;
    stackChosen(position);
    reselectStack();
}

void MidiPage::reselectStack()
{
    const qint64 index = m_ctx.state.SelectedStackIndex;
    m_stackCombo->setCurrentIndex(index >= 0 && index < m_stackCombo->count() ? int(index) : -1);
}

void MidiPage::rowTypeChosen(int row, int position)
{
    MidiStack *stack = shownStack();
    if (!stack || position < 0)
        return;
    MidiStackMessage &m = stack->MidiStackMessageList[size_t(row)];
    m_ctx.history.edit(messageStepName(tr("Type"), row), [&m, position] {
        m.Typey = position;
        // Channel 0 marks an unused Control row; any other type needs a channel, as a
        // row filled from the library gets.
        if (position != 0 && m.Channel == 0)
            m.Channel = 1;
    });
    QLineEdit *channel = m_rows[size_t(row)].channel;
    if (!channel->property("refused").toBool())
        channel->setText(QString::number(m.Channel));
    applyRowRule();
}

void MidiPage::rowNumberEdited(int row, QLineEdit *field, qint64 MidiStackMessage::*member)
{
    MidiStack *stack = shownStack();
    if (!stack)
        return;
    MidiStackMessage &m = stack->MidiStackMessageList[size_t(row)];
    qint64 v = 0;
    // Out of range: the field keeps what was typed, marked; the message keeps its value.
    if (!TypedRanges::check(field, v, m.Typey == 0))
        return;
    field->setText(QString::number(v));
    if (m.*member == v)
        return;
    const QString what = member == &MidiStackMessage::Channel ? tr("Channel")
        : member == &MidiStackMessage::Message                ? tr("Message")
                                                              : tr("Value");
    m_ctx.history.edit(messageStepName(what, row), [&m, member, v] { m.*member = v; });
}

void MidiPage::rowNameEdited(int row)
{
    MidiStack *stack = shownStack();
    if (!stack)
        return;
    QLineEdit *field = m_rows[size_t(row)].name;
    const QString text = field->text();
    if (!fitsSessionText(text)) {
        TypedRanges::markRefused(field, badCharacterText());
        return;
    }
    TypedRanges::clearMark(field);
    const QString name = CodePoints::left(text, StackNameWidth);
    if (name != text)
        field->setText(name);
    MidiStackMessage &m = stack->MidiStackMessageList[size_t(row)];
    if (m.Name == name)
        return;
    m_ctx.history.edit(messageStepName(tr("Name"), row), [&m, &name] { m.Name = name; });
}

void MidiPage::rowReset(int row)
{
    if (!shownStack())
        return;
    const qint64 stack = m_ctx.state.SelectedStackIndex;
    m_ctx.history.edit(tr("Reset Message %1 of Stack %2").arg(row + 1).arg(stack + 1),
                       [this, stack, row] { m_ctx.store.clearStackMessage(int(stack), row); });
    showStackPage();
}

void MidiPage::stackChosen(int position)
{
    if (position < 0)
        return;
    m_ctx.state.SelectedStackIndex = position;
    showStackPage();
}

void MidiPage::stackNameEdited()
{
    MidiStack *stack = shownStack();
    if (!stack)
        return;
    const QString text = m_stackName->text();
    if (!fitsSessionText(text)) {
        TypedRanges::markRefused(m_stackName, badCharacterText());
        return;
    }
    TypedRanges::clearMark(m_stackName);
    const QString name = CodePoints::left(text, StackNameWidth);
    if (name != text)
        m_stackName->setText(name);
    if (stack->Name == name)
        return;
    m_ctx.history.edit(tr("Name of Stack %1").arg(m_ctx.state.SelectedStackIndex + 1),
                       [stack, &name] { stack->Name = name; });
    // One refill renames the item in every stack list of the window; each list then
    // selects its stored position again.
    m_ctx.lists.emptyStacks();
    m_ctx.lists.refillStacks();
}

void MidiPage::resetStack()
{
    if (!shownStack())
        return;
    m_ctx.history.edit(tr("Reset Stack %1").arg(m_ctx.state.SelectedStackIndex + 1),
                       [this] { m_ctx.store.clearStack(int(m_ctx.state.SelectedStackIndex)); });
    showStackPage();
}

void MidiPage::normaliseStore()
{
    // The exports carry what the session text can hold; the clamped values stay.
    m_ctx.history.edit(tr("Normalise Session"), [this] { Normaliser::normalise(m_ctx.store); });
    showStackPage();
    reloadLibrary();
}

void MidiPage::saveStackNames()
{
    normaliseStore();
    const QString text = SessionWriter::writeKeys(
        m_ctx.store, {SessionKeys::indexOf(u"MidiStackNames"), SessionKeys::indexOf(u"MidiStackMessageNames")});
    SessionActions::saveThroughPanel(m_ctx.dialogs, text);
}

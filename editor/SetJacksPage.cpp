#include "SetJacksPage.h"
#include "ShownTexts.h"

#include "EditorContext.h"
#include "format/ItemTexts.h"
#include "PageControls.h"
#include "SessionHistory.h"
#include "SongSelection.h"
#include "SongTableModel.h"
#include "link/PedalLink.h"
#include "model/DataHandler.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTableView>
#include <QVBoxLayout>

using namespace PageControls;

namespace {
const char *const jackWords[4] = {"One", "Two", "Three", "Four"};
const char *const contactWords[2] = {QT_TRANSLATE_NOOP("SetJacksPage", "Tip"),
                                     QT_TRANSLATE_NOOP("SetJacksPage", "Ring")};
constexpr size_t FirstJackInput = 2; // songInputs(): foot tap, foot hold, then the jacks
} // namespace

SetJacksPage::SetJacksPage(EditorContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("SetJacksPage"));
    m_model = new SongTableModel(ctx, SongTableModel::Source::SongList, SongTableModel::Columns::NumberAndName, this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("SetJacksTableView"));
    m_model->attachTo(m_table);
    m_table->setMinimumWidth(180);
    m_table->setMaximumWidth(230);
    m_selection = new SongSelection(
        ctx, &EditorState::SetJacksSongIndex, m_table, m_model, [this] { showSong(); }, this);

    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("SetJacksScrollView"));
    scroll->setWidgetResizable(true);
    m_editor = buildEditor();
    scroll->setWidget(m_editor);

    auto *copyAll = button(QStringLiteral("CopySetJacksButton"), tr("Copy All Jacks to All Songs"), this);
    m_copyAll = copyAll;
    // Every jack field: modes, static levels, pulse counts, the expression stack and the
    // 36 input fields; not the foot switch of the Songs page.
    std::vector<qint64 Song::*> allJackFields;
    for (const SongJack &jack : songJacks())
        allJackFields.push_back(jack.mode);
    for (const SongJack &jack : songJacks())
        allJackFields.push_back(jack.level);
    for (const SongJack &jack : songJacks())
        allJackFields.push_back(jack.pulses);
    allJackFields.push_back(&Song::ExpStack);
    for (size_t i = FirstJackInput; i < songInputs().size(); ++i) {
        allJackFields.push_back(songInputs()[i].function);
        allJackFields.push_back(songInputs()[i].preset);
        allJackFields.push_back(songInputs()[i].stack);
    }
    connect(copyAll, &QPushButton::clicked, this,
            [this, allJackFields, text = copyAll->text()] { copyToAllSongs(allJackFields, text); });

    QBoxLayout *commands = commandRow(this, m_ctx, SessionKeys::Page::SetJacks, {copyAll});

    auto *right = new QVBoxLayout;
    right->addWidget(scroll, 1);
    right->addLayout(commands);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(right, 1);

    connect(&ctx.lists, &SharedLists::presetsRefilled, this, &SetJacksPage::reselectPresets);
    connect(&ctx.lists, &SharedLists::stacksRefilled, this, &SetJacksPage::reselectStacks);
}

QWidget *SetJacksPage::buildEditor()
{
    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    for (size_t j = 0; j < 4; ++j) {
        const SongJack &fields = songJacks()[j];
        const QString word = QLatin1String(jackWords[j]);
        Jack &jack = m_jacks[j];
        auto *box = new QGroupBox(tr("Jack %1").arg(j + 1), content);
        box->setObjectName(QStringLiteral("Jack%1Box").arg(j + 1));
        auto *grid = new QGridLayout(box);

        jack.mode = list(QStringLiteral("jack%1Combo").arg(word), ShownTexts::items(ItemTexts::jackModes(int(j))), box);
        onChoice(jack.mode, this, [this, j, field = fields.mode](int position) {
            store(field, position);
            if (song()) {
                showJack(j);
            }
        });
        jack.level = list(QStringLiteral("static%1Combo").arg(word), ShownTexts::items(ItemTexts::staticLevels()), box);
        onChoice(jack.level, this, [this, field = fields.level](int position) { store(field, position); });
        jack.pulses = list(QStringLiteral("numPulses%1Combo").arg(word), ShownTexts::pulseCounts(), box);
        onChoice(jack.pulses, this, [this, field = fields.pulses](int position) {
            store(field, position);
            if (song()) {
                for (size_t k = 0; k < 4; ++k)
                    showJack(k);
                inputVisibility();
            }
        });
        auto *copy = button(QStringLiteral("CopyNumPulses%1Button").arg(word), tr("Copy to All Songs"), box);
        std::vector<qint64 Song::*> copied = {fields.mode, fields.level, fields.pulses};
        if (j == 0)
            copied.push_back(&Song::ExpStack);
        connect(copy, &QPushButton::clicked, this,
                [this, copied, text = tr("Copy Jack %1 to All Songs").arg(j + 1)] { copyToAllSongs(copied, text); });

        auto *row = new QHBoxLayout;
        row->addWidget(new QLabel(tr("Mode"), box));
        row->addWidget(jack.mode);
        row->addWidget(jack.level);
        row->addWidget(jack.pulses);
        if (j == 0) {
            jack.expStack = sharedList(QStringLiteral("expStackOneCombo"), m_ctx.lists.stackModel(), box);
            onChoice(jack.expStack, this, [this](int position) { store(&Song::ExpStack, position); });
            row->addWidget(jack.expStack);
        }
        row->addStretch();
        row->addWidget(copy);
        grid->addLayout(row, 0, 0, 1, 2);
        if (j < 3)
            for (int contact = 0; contact < 2; ++contact) {
                jack.inputBoxes[size_t(contact)] = buildInputBox(int(j), contact, box);
                grid->addWidget(jack.inputBoxes[size_t(contact)], 1, contact);
            }
        column->addWidget(box);
    }
    column->addStretch();
    return content;
}

QGroupBox *SetJacksPage::buildInputBox(int jack, int contact, QWidget *parent)
{
    const QString contactStem = QStringLiteral("Jack%1%2").arg(jack + 1).arg(QLatin1String(contactWords[contact]));
    auto *box = new QGroupBox(tr("%1 footswitch").arg(tr(contactWords[contact])), parent);
    box->setObjectName(QStringLiteral("Jack%1%2InputBox")
                           .arg(jack + 1)
                           .arg(contact == 0 ? QLatin1String("Left") : QLatin1String("Right")));
    auto *grid = new QGridLayout(box);
    // The two inputs of this contact: its tap and its hold, next to each other in the table.
    const size_t first = FirstJackInput + size_t(jack) * 4 + size_t(contact) * 2;
    for (size_t press = 0; press < 2; ++press) {
        const size_t index = first + press;
        const SongInput &input = songInputs()[index];
        const QString stem = QString::fromLatin1(input.fieldStem); // Jack1TipTAP
        Input in{index,
                 list(stem + QLatin1String("Function"), ShownTexts::items(ItemTexts::footFunctions(input.hold)), box),
                 sharedList(stem + QLatin1String("Preset"), m_ctx.lists.presetModel(), box),
                 sharedList(stem + QLatin1String("Stack"), m_ctx.lists.stackModel(), box)};
        onChoice(in.function, this, [this, field = input.function](int position) {
            store(field, position);
            if (song()) {
                for (size_t k = 0; k < 4; ++k)
                    showJack(k);
                inputVisibility();
            }
        });
        onChoice(in.preset, this, [this, field = input.preset](int position) { store(field, position); });
        onChoice(in.stack, this, [this, field = input.stack](int position) { store(field, position); });
        const int row = int(press) * 2;
        grid->addWidget(new QLabel(input.hold ? tr("Hold") : tr("Tap"), box), row, 0);
        grid->addWidget(in.function, row, 1);
        auto *second = new QHBoxLayout;
        second->addWidget(in.preset);
        second->addWidget(in.stack);
        grid->addLayout(second, row + 1, 1);
        m_inputs.push_back(in);
    }
    const SongInput &tap = songInputs()[first];
    const SongInput &hold = songInputs()[first + 1];
    const std::vector<std::pair<const char *, std::vector<qint64 Song::*>>> copies = {
        {"Function", {tap.function, hold.function}},
        {"Preset", {tap.preset, hold.preset}},
        {"Stack", {tap.stack, hold.stack}},
    };
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(new QLabel(tr("To all songs:"), box));
    for (const auto &[kind, fields] : copies) {
        auto *copy = button(contactStem + QLatin1String(kind) + QLatin1String("Copy"),
                            kind == std::string_view("Function")     ? tr("Functions")
                                : kind == std::string_view("Preset") ? tr("Songs")
                                                                     : tr("Stacks"),
                            box);
        const QString text =
            tr("Copy %1 %2 %3 to All Songs").arg(tr("Jack %1").arg(jack + 1), tr(contactWords[contact]), copy->text());
        connect(copy, &QPushButton::clicked, this, [this, fields = fields, text] { copyToAllSongs(fields, text); });
        buttons->addWidget(copy);
    }
    buttons->addStretch();
    grid->addLayout(buttons, 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    return box;
}

Song *SetJacksPage::song() const
{
    return m_selection->song();
}

void SetJacksPage::selectSong(qint64 position)
{
    m_selection->select(position);
}

void SetJacksPage::showSong()
{
    const Song *s = song();
    // Nothing takes input while no song is shown.
    m_editor->setEnabled(s != nullptr);
    m_copyAll->setEnabled(s != nullptr);
    if (!s) {
        for (const Jack &jack : m_jacks)
            select(jack.pulses, 0);
        for (const Input &in : m_inputs) {
            select(in.function, 0);
            select(in.preset, 0);
            select(in.stack, 0);
        }
        return;
    }
    for (size_t j = 0; j < 4; ++j) {
        select(m_jacks[j].pulses, s->*songJacks()[j].pulses);
        select(m_jacks[j].level, s->*songJacks()[j].level);
    }
    for (const Input &in : m_inputs) {
        const SongInput &input = songInputs()[in.index];
        select(in.function, s->*input.function);
        select(in.preset, s->*input.preset);
        select(in.stack, s->*input.stack);
    }
    for (size_t j = 0; j < 4; ++j)
        showJack(j);
    inputVisibility();
}

void SetJacksPage::showJack(size_t j)
{
    const Song *s = song();
    if (!s)
        return;
    const Jack &jack = m_jacks[j];
    const qint64 mode = s->*songJacks()[j].mode;
    select(jack.mode, mode);
    if (jack.expStack)
        select(jack.expStack, s->ExpStack);
    jack.level->setVisible(mode == 0);
    jack.pulses->setVisible(mode == 1);
    if (jack.expStack)
        jack.expStack->setVisible(mode == 3);
    for (QGroupBox *box : jack.inputBoxes)
        if (box)
            box->setVisible(mode == 2);
}

void SetJacksPage::inputVisibility()
{
    const Song *s = song();
    if (!s)
        return;
    for (const Input &in : m_inputs) {
        const SongInput &input = songInputs()[in.index];
        const qint64 function = s->*input.function;
        in.preset->setVisible(function == presetFunctionCode(input.hold));
        in.stack->setVisible(function == stackFunctionCode(input.hold));
    }
}

void SetJacksPage::store(qint64 Song::*field, int position)
{
    Song *s = song();
    if (!s)
        return;
    m_ctx.history.edit(songStepName(field, m_selection->position()), [s, field, position] { s->*field = position; });
}

void SetJacksPage::copyToAllSongs(const std::vector<qint64 Song::*> &fields, const QString &text)
{
    if (!m_selection->copyToAllSongs(fields, text))
        return;
}

void SetJacksPage::reselectPresets()
{
    const Song *s = song();
    for (const Input &in : m_inputs)
        select(in.preset, s ? s->*songInputs()[in.index].preset : 0);
}

void SetJacksPage::reselectStacks()
{
    const Song *s = song();
    for (const Input &in : m_inputs)
        select(in.stack, s ? s->*songInputs()[in.index].stack : 0);
    if (m_jacks[0].expStack)
        select(m_jacks[0].expStack, s ? s->ExpStack : 0);
}

void SetJacksPage::resetPage()
{
    m_ctx.history.edit(tr("Reset Set Jacks"), [this] { m_ctx.store.resetSetJacksFields(); });
    showSong();
}

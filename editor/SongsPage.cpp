#include "SongsPage.h"
#include "Look.h"
#include "ShownTexts.h"

#include "EditorContext.h"
#include "ItemColours.h"
#include "format/ItemTexts.h"
#include "PageControls.h"
#include "SessionHistory.h"
#include "SongSelection.h"
#include "SongTableModel.h"
#include "TypedRanges.h"
#include "link/PedalLink.h"
#include "model/DataHandler.h"
#include "model/Normaliser.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTableView>
#include <QVBoxLayout>

using namespace PageControls;

namespace {
const char *const jackWords[4] = {"One", "Two", "Three", "Four"};

// What the summary says of each jack mode, per jack; null: the mode does not exist for
// that jack and the labels stay as they are.
const char *const summaryWords[4][4] = {
    {QT_TRANSLATE_NOOP("SongsPage", "STATIC"), QT_TRANSLATE_NOOP("SongsPage", "TAP OUTPUT"),
     QT_TRANSLATE_NOOP("SongsPage", "FOOTSWITCH"), QT_TRANSLATE_NOOP("SongsPage", "EXPRESSION")},
    {"STATIC", "TAP OUTPUT", "FOOTSWITCH", "MIDI"},
    {"STATIC", "TAP OUTPUT", "FOOTSWITCH", QT_TRANSLATE_NOOP("SongsPage", "CV")},
    {"STATIC", "TAP OUTPUT", "MIDI", nullptr},
};
// What the division label adds to "Jack N".
const char *const divisionWords[4][4] = {
    {QT_TRANSLATE_NOOP("SongsPage", " is Static"), "", QT_TRANSLATE_NOOP("SongsPage", " is Footswitch Input"),
     QT_TRANSLATE_NOOP("SongsPage", " is Expression Input")},
    {" is Static", "", " is Footswitch Input", QT_TRANSLATE_NOOP("SongsPage", " is Midi Output")},
    {" is Static", "", " is Footswitch Input", QT_TRANSLATE_NOOP("SongsPage", " is CV Output")},
    {" is Static", "", " is Midi Output", nullptr},
};

// Red: static; green: tap output; blue: the other modes. They read in both looks.
const QColor summaryRed = Look::refused();
const QColor summaryGreen = Look::good();
const QColor summaryBlue = Look::busy();

QLineEdit *numberField(const char *objectName, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(objectName));
    field->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), field));
    field->setMaximumWidth(90);
    TypedRanges::watch(field);
    return field;
}

QString lowerFirst(const char *text)
{
    QString s = QString::fromLatin1(text);
    if (!s.isEmpty())
        s[0] = s[0].toLower();
    return s;
}
} // namespace

SongsPage::SongsPage(EditorContext &ctx, QWidget *parent) : QWidget(parent), m_ctx(ctx)
{
    setObjectName(QStringLiteral("SongsPage"));
    m_model = new SongTableModel(ctx, SongTableModel::Source::SongList, SongTableModel::Columns::AllWithColour, this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("SongTableView"));
    m_model->attachTo(m_table);
    // Song rows are dragged into a new order here.
    m_model->setReorderByDrag(true);
    m_table->setDefaultDropAction(Qt::MoveAction);
    m_table->setMinimumWidth(400);
    m_table->setMaximumWidth(440);
    m_selection = new SongSelection(
        ctx, &EditorState::SongsSongIndex, m_table, m_model, [this] { showSong(); }, this);

    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("SongsScrollView"));
    scroll->setWidgetResizable(true);
    m_editor = buildEditor();
    scroll->setWidget(m_editor);

    QBoxLayout *commands = commandRow(this, m_ctx, SessionKeys::Page::Songs);

    auto *right = new QVBoxLayout;
    right->addWidget(scroll, 1);
    right->addLayout(commands);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_table);
    layout->addLayout(right, 1);

    connect(&ctx.lists, &SharedLists::presetsRefilled, this, &SongsPage::reselectPresets);
    connect(&ctx.lists, &SharedLists::stacksRefilled, this, &SongsPage::reselectStacks);
    connect(&ctx.events, &EditorEvents::songsChanged, this, &SongsPage::showSummary);
}

QComboBox *SongsPage::addList(const char *objectName, const QStringList &items, qint64 Song::*field)
{
    QComboBox *combo = list(QString::fromLatin1(objectName), items);
    m_lists.push_back({combo, field});
    const ListField entry = m_lists.back();
    onChoice(combo, this, [this, entry](int position) { listChosen(entry, position); });
    return combo;
}

QWidget *SongsPage::buildEditor()
{
    auto *content = new QWidget;
    auto *column = new QVBoxLayout(content);
    for (QGroupBox *box : {buildSummary(content), buildName(content), buildDisplay(content), buildDivisions(content),
                           buildMidi(content), buildFootSwitch(content)})
        column->addWidget(box);
    column->addStretch();
    return content;
}

// The summary of the song and its jacks.
QGroupBox *SongsPage::buildSummary(QWidget *parent)
{
    auto *summary = new QGroupBox(tr("Song"), parent);
    auto *summaryLayout = new QGridLayout(summary);
    m_idLabel = label(QStringLiteral("idLabel"), QString(), summary);
    m_summaryName = label(QStringLiteral("summaryName"), QString(), summary);
    QFont bold = m_summaryName->font();
    bold.setBold(true);
    m_idLabel->setFont(bold);
    m_summaryName->setFont(bold);
    summaryLayout->addWidget(m_idLabel, 0, 0);
    summaryLayout->addWidget(m_summaryName, 0, 1, 1, 3);
    for (int j = 0; j < 4; ++j) {
        m_summaryJacks[size_t(j)] = label(QStringLiteral("summaryJack%1").arg(j + 1), QString(), summary);
        summaryLayout->addWidget(m_summaryJacks[size_t(j)], 1 + j / 2, (j % 2) * 2, 1, 2);
    }
    return summary;
}

// The name, with its preview on the pedal.
QGroupBox *SongsPage::buildName(QWidget *parent)
{
    auto *nameBox = new QGroupBox(tr("Name (up to 5 lines, 30 characters)"), parent);
    auto *nameLayout = new QHBoxLayout(nameBox);
    m_name = new QPlainTextEdit(nameBox);
    m_name->setObjectName(QStringLiteral("nameTF"));
    m_name->setTabChangesFocus(true);
    m_name->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_name->setFixedHeight(m_name->fontMetrics().lineSpacing() * 5 + 14);
    connect(m_name, &QPlainTextEdit::textChanged, this, &SongsPage::nameEdited);
    auto *preview = button(QStringLiteral("previewNameButton"), tr("Preview on Pedal"), nameBox);
    connect(preview, &QPushButton::clicked, this, &SongsPage::previewName);
    nameLayout->addWidget(m_name, 1);
    nameLayout->addWidget(preview, 0, Qt::AlignTop);
    return nameBox;
}

// The tempo and the display.
QGroupBox *SongsPage::buildDisplay(QWidget *parent)
{
    auto *display = new QGroupBox(tr("Tempo and Display"), parent);
    auto *displayForm = new QFormLayout(display);
    m_tempo = numberField("tempoTF", display);
    connect(m_tempo, &QLineEdit::editingFinished, this, &SongsPage::tempoEdited);
    displayForm->addRow(tr("Tempo (BPM)"), m_tempo);
    displayForm->addRow(tr("Tap fraction"),
                        addList("fractionCombo", ShownTexts::items(ItemTexts::fractions()), &Song::Fraction));
    displayForm->addRow(tr("Font size"),
                        addList("fontCombo", ShownTexts::items(ItemTexts::fontSizes()), &Song::FontSize));
    m_background =
        addList("backgroundColourCombo", ShownTexts::items(ItemTexts::colourNames()), &Song::BackgroundColour);
    m_foreground =
        addList("foregroundColourCombo", ShownTexts::items(ItemTexts::colourNames()), &Song::ForegroundColour);
    for (QComboBox *combo : {m_background, m_foreground}) {
        for (int i = 0; i < combo->count(); ++i)
            combo->setItemData(i, ItemColours::colour(i), Qt::DecorationRole);
        combo->setAutoFillBackground(true);
    }
    displayForm->addRow(tr("Background colour"), m_background);
    displayForm->addRow(tr("Text colour"), m_foreground);
    auto *copyColours = button(QStringLiteral("CopyColoursButton"), tr("Copy Colours to All Songs"), display);
    copyOnClick(copyColours, {&Song::BackgroundColour, &Song::ForegroundColour});
    displayForm->addRow(QString(), copyColours);
    return display;
}

// The divisions of the four jack outputs and of the MIDI clock.
QGroupBox *SongsPage::buildDivisions(QWidget *parent)
{
    auto *divisions = new QGroupBox(tr("Tap Divisions"), parent);
    auto *divisionForm = new QFormLayout(divisions);
    static constexpr qint64 Song::*divisionFields[4] = {&Song::DivisionOne, &Song::DivisionTwo, &Song::DivisionThree,
                                                        &Song::DivisionFour};
    for (int j = 0; j < 4; ++j) {
        const QByteArray name = QByteArray("div") + jackWords[j] + "Combo";
        m_divisions[size_t(j)] =
            addList(name.constData(), ShownTexts::items(ItemTexts::divisions()), divisionFields[j]);
        m_divisionLabels[size_t(j)] =
            label(QStringLiteral("div%1Label").arg(QLatin1String(jackWords[j])), tr("Jack %1").arg(j + 1), divisions);
        divisionForm->addRow(m_divisionLabels[size_t(j)], m_divisions[size_t(j)]);
    }
    divisionForm->addRow(tr("MIDI clock"),
                         addList("divMidiCombo", ShownTexts::items(ItemTexts::divisions()), &Song::DivisionMidi));
    auto *copyDivisions = button(QStringLiteral("CopyDivisionButton"), tr("Copy Divisions to All Songs"), divisions);
    copyOnClick(
        copyDivisions,
        {&Song::DivisionOne, &Song::DivisionTwo, &Song::DivisionThree, &Song::DivisionFour, &Song::DivisionMidi});
    divisionForm->addRow(QString(), copyDivisions);
    return divisions;
}

// The song's MIDI: its stack, clock and repeat options, program and bank.
QGroupBox *SongsPage::buildMidi(QWidget *parent)
{
    auto *midi = new QGroupBox(tr("MIDI"), parent);
    auto *midiForm = new QFormLayout(midi);
    m_stackRef = sharedList(QStringLiteral("midiStackRefCombo"), m_ctx.lists.stackModel());
    m_lists.push_back({m_stackRef, &Song::MidiStackReference});
    {
        const ListField entry = m_lists.back();
        onChoice(m_stackRef, this, [this, entry](int position) { listChosen(entry, position); });
    }
    midiForm->addRow(tr("MIDI stack"), m_stackRef);
    midiForm->addRow(
        tr("MIDI clock on load"),
        addList("stopMidiClockCombo", ShownTexts::items(ItemTexts::stopMidiClockOptions()), &Song::StopMidiClock));
    midiForm->addRow(tr("Repeating stack"),
                     addList("stopRepeatingMidiCombo", ShownTexts::items(ItemTexts::stopRepeatingOptions()),
                             &Song::StopRepeatingMessage));
    midiForm->addRow(tr("Mimic footswitch"),
                     addList("mimicCombo", ShownTexts::items(ItemTexts::mimicOptions()), &Song::MimicFootswitch));
    m_program = numberField("programChangesTF", midi);
    m_bank = numberField("bankChangesTF", midi);
    connect(m_program, &QLineEdit::editingFinished, this, [this] { numberEdited(m_program, &Song::ProgramChange); });
    connect(m_bank, &QLineEdit::editingFinished, this, [this] { numberEdited(m_bank, &Song::BankChange); });
    midiForm->addRow(tr("Program change"), m_program);
    midiForm->addRow(tr("Bank change"), m_bank);
    return midi;
}

// The pedal's own foot switch: the first two inputs of the input table.
QGroupBox *SongsPage::buildFootSwitch(QWidget *parent)
{
    auto *foot = new QGroupBox(tr("Foot Switch"), parent);
    auto *footForm = new QFormLayout(foot);
    for (size_t k = 0; k < 2; ++k) {
        const SongInput &input = songInputs()[k];
        const QString stem = lowerFirst(input.stem); // footTap, footHold
        m_footFunction[k] = addList((stem + QLatin1String("Function")).toLatin1().constData(),
                                    ShownTexts::items(ItemTexts::footFunctions(input.hold)), input.function);
        for (auto [combo, model, field, kind] :
             {std::tuple{&m_footPreset[k], m_ctx.lists.presetModel(), input.preset, "Preset"},
              std::tuple{&m_footStack[k], m_ctx.lists.stackModel(), input.stack, "Stack"}}) {
            *combo = sharedList(stem + QLatin1String(kind), model);
            m_lists.push_back({*combo, field});
            const ListField entry = m_lists.back();
            onChoice(*combo, this, [this, entry](int position) { listChosen(entry, position); });
        }
        auto *row = new QHBoxLayout;
        row->addWidget(m_footFunction[k]);
        row->addWidget(m_footPreset[k]);
        row->addWidget(m_footStack[k]);
        row->addStretch();
        footForm->addRow(input.hold ? tr("Hold") : tr("Tap"), row);
    }
    auto *footCopies = new QHBoxLayout;
    auto *copyFunctions = button(QStringLiteral("FootFunctionCopy"), tr("Copy Functions"), foot);
    auto *copyPresets = button(QStringLiteral("FootPresetCopy"), tr("Copy Songs"), foot);
    auto *copyStacks = button(QStringLiteral("FootStackCopy"), tr("Copy Stacks"), foot);
    footCopies->addWidget(copyFunctions);
    footCopies->addWidget(copyPresets);
    footCopies->addWidget(copyStacks);
    footCopies->addStretch();
    footForm->addRow(tr("To all songs"), footCopies);
    const SongInput &tap = songInputs()[0];
    const SongInput &hold = songInputs()[1];
    copyOnClick(copyFunctions, {tap.function, hold.function});
    copyOnClick(copyPresets, {tap.preset, hold.preset});
    copyOnClick(copyStacks, {tap.stack, hold.stack});
    return foot;
}

void SongsPage::copyOnClick(QPushButton *copy, std::vector<qint64 Song::*> fields)
{
    connect(copy, &QPushButton::clicked, this,
            [this, fields = std::move(fields), text = copy->text()] { m_selection->copyToAllSongs(fields, text); });
}

Song *SongsPage::song() const
{
    return m_selection->song();
}

void SongsPage::selectSong(qint64 position)
{
    m_selection->select(position);
}

void SongsPage::showSong()
{
    Song *s = song();
    // Nothing takes input while no song is shown.
    m_editor->setEnabled(s != nullptr);
    {
        // Filling in the name is not an edit of it.
        const QSignalBlocker fill(m_name);
        m_name->setPlainText(s ? QString(s->FullName).remove(QLatin1Char('\r')) : QString());
    }
    showNameRefused({});
    for (QLineEdit *field : {m_tempo, m_program, m_bank})
        TypedRanges::clearMark(field);
    if (!s) {
        m_tempo->clear();
        for (const ListField &l : m_lists)
            select(l.combo, 0);
        paintColour(m_background, 0);
        paintColour(m_foreground, 0);
    } else {
        m_tempo->setText(QString::number(s->Tempo));
        for (const ListField &l : m_lists)
            select(l.combo, s->*l.field);
        paintColour(m_background, s->BackgroundColour);
        paintColour(m_foreground, s->ForegroundColour);
        m_program->setText(QString::number(s->ProgramChange));
        m_bank->setText(QString::number(s->BankChange));
        footVisibility();
    }
    showSummary();
}

void SongsPage::showSummary()
{
    const Song *s = song();
    if (!s) {
        m_idLabel->setText(tr("Song # ?"));
        m_summaryName->setText(tr("No song selected"));
        for (int j = 0; j < 4; ++j)
            m_summaryJacks[size_t(j)]->setText(tr("Jack %1:").arg(j + 1));
        return;
    }
    m_idLabel->setText(tr("Song # %1").arg(s->Id));
    m_summaryName->setText(s->NameWithoutBreaks);
    for (int j = 0; j < 4; ++j) {
        const qint64 mode = s->*songJacks()[size_t(j)].mode;
        if (mode < 0 || mode > 3 || !summaryWords[j][mode])
            continue;
        QLabel *summaryLabel = m_summaryJacks[size_t(j)];
        QLabel *divisionLabel = m_divisionLabels[size_t(j)];
        summaryLabel->setText(tr("Jack %1: %2").arg(j + 1).arg(tr(summaryWords[j][mode])));
        divisionLabel->setText(tr("Jack %1%2").arg(j + 1).arg(tr(divisionWords[j][mode])));
        setTextColour(summaryLabel, mode == 0 ? summaryRed : mode == 1 ? summaryGreen : summaryBlue);
        setTextColour(divisionLabel, mode == 1 ? palette().color(QPalette::WindowText) : summaryRed);
        m_divisions[size_t(j)]->setVisible(mode == 1);
    }
}

void SongsPage::nameEdited()
{
    Song *s = song();
    if (!s)
        return;
    const QString text = m_name->toPlainText();
    const QString problem = Song::nameProblem(text);
    showNameRefused(problem);
    if (!problem.isEmpty() || text == s->FullName)
        return;
    // Typing in the name of one song is one step.
    const qint64 index = m_selection->position();
    m_ctx.history.edit(tr("Name of Song %1").arg(index + 1), QStringLiteral("nameTF %1").arg(index),
                       [s, &text] { s->UpdateName(text); });
    m_ctx.lists.refillPresets();
    showSummary();
}

void SongsPage::showNameRefused(const QString &problem)
{
    const bool refused = !problem.isEmpty();
    if (m_name->property("refused").toBool() == refused && m_name->toolTip() == problem)
        return;
    m_name->setProperty("refused", refused);
    m_name->setToolTip(refused ? tr("This name is not taken: %1").arg(problem) : QString());
    m_name->setStyleSheet(
        refused ? QStringLiteral("QPlainTextEdit { border: 2px solid %1; }").arg(Look::refused().name()) : QString());
}

void SongsPage::tempoEdited()
{
    Song *s = song();
    if (!s)
        return;
    qint64 tempo = 0;
    // Out of range: the field keeps what was typed, marked; the song keeps its tempo.
    if (!TypedRanges::check(m_tempo, tempo))
        return;
    m_tempo->setText(QString::number(tempo));
    if (tempo == s->Tempo && s->TempoInMs == 60000 / tempo)
        return;
    m_ctx.history.edit(songStepName(&Song::Tempo, m_selection->position()), [s, tempo] { s->UpdateTempo(tempo); });
}

void SongsPage::numberEdited(QLineEdit *field, qint64 Song::*member)
{
    Song *s = song();
    if (!s)
        return;
    qint64 value = 0;
    if (!TypedRanges::check(field, value))
        return;
    field->setText(QString::number(value));
    if (s->*member == value)
        return;
    m_ctx.history.edit(songStepName(member, m_selection->position()), [s, member, value] { s->*member = value; });
}

void SongsPage::listChosen(const ListField &list, int position)
{
    Song *s = song();
    if (!s)
        return;
    m_ctx.history.edit(songStepName(list.field, m_selection->position()),
                       [s, field = list.field, position] { s->*field = position; });
    if (list.combo == m_background || list.combo == m_foreground)
        paintColour(list.combo, position);
    if (list.combo == m_footFunction[0] || list.combo == m_footFunction[1])
        footVisibility();
}

void SongsPage::paintColour(QComboBox *combo, qint64 position)
{
    QPalette palette = combo->palette();
    const QColor colour = ItemColours::colour(position);
    const QColor text = ItemColours::textColourOn(position);
    palette.setColor(QPalette::Button, colour);
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Text, text);
    combo->setPalette(palette);
}

void SongsPage::footVisibility()
{
    const Song *s = song();
    if (!s)
        return;
    for (size_t k = 0; k < 2; ++k) {
        const SongInput &input = songInputs()[k];
        const qint64 function = s->*input.function;
        m_footPreset[k]->setVisible(function == presetFunctionCode(input.hold));
        m_footStack[k]->setVisible(function == stackFunctionCode(input.hold));
    }
}

void SongsPage::reselectPresets()
{
    const Song *s = song();
    for (size_t k = 0; k < 2; ++k)
        select(m_footPreset[k], s ? s->*songInputs()[k].preset : 0);
}

void SongsPage::reselectStacks()
{
    const Song *s = song();
    select(m_stackRef, s ? s->MidiStackReference : 0);
    for (size_t k = 0; k < 2; ++k)
        select(m_footStack[k], s ? s->*songInputs()[k].stack : 0);
}

void SongsPage::previewName()
{
    const qint64 index = m_selection->position();
    if (!song())
        return;
    m_ctx.history.edit(tr("Normalise Session"), [this, index] {
        Normaliser::normalise(m_ctx.store);
        if (m_ctx.link)
            m_ctx.link->previewName(int(index));
    });
    showSong();
}

void SongsPage::resetPage()
{
    m_ctx.history.edit(tr("Reset Songs"), [this] { m_ctx.store.resetSongsFields(); });
    m_ctx.lists.refillPresets();
    showSong();
}

#include "MidiPage.h"

#include "EditorContext.h"
#include "GlobalItemTexts.h"
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

// The library half of the Midi Management page: the described messages, their fields,
// and copying them into the stack's rows.

QWidget *MidiPage::buildLibraryPart()
{
    auto *box = new QGroupBox(tr("Library"), this);
    auto *layout = new QVBoxLayout(box);

    m_libraryModel = new LibraryTableModel(m_ctx.store, &m_ctx.history, this);
    m_libraryView = new QTableView(box);
    m_libraryView->setObjectName(QStringLiteral("LibraryTableView"));
    m_libraryView->setModel(m_libraryModel);
    m_libraryView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_libraryView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_libraryView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_libraryView->horizontalHeader()->setStretchLastSection(true);
    // No sort on enabling: the library keeps its order until a header is clicked.
    m_libraryView->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_libraryView->setSortingEnabled(true);
    layout->addWidget(m_libraryView, 1);

    auto *fields = new QHBoxLayout;
    m_manufacturer = lineEdit(QStringLiteral("manufacturerTF"), box);
    m_device = lineEdit(QStringLiteral("deviceTF"), box);
    m_action = lineEdit(QStringLiteral("actionTF"), box);
    m_libraryType = new QComboBox(box);
    m_libraryType->setObjectName(QStringLiteral("typeCombo"));
    m_libraryType->setModel(m_typeModel);
    m_libraryMessage = lineEdit(QStringLiteral("messageTF"), box, 70);
    m_libraryValue = lineEdit(QStringLiteral("valueTF"), box, 70);
    m_manufacturer->setPlaceholderText(tr("Manufacturer"));
    m_device->setPlaceholderText(tr("Device"));
    m_action->setPlaceholderText(tr("Action"));
    m_libraryMessage->setPlaceholderText(tr("Message"));
    m_libraryValue->setPlaceholderText(tr("Value"));
    TypedRanges::watch(m_libraryMessage);
    TypedRanges::watch(m_libraryValue);
    for (QWidget *w : {static_cast<QWidget *>(m_manufacturer), static_cast<QWidget *>(m_device),
                       static_cast<QWidget *>(m_action), static_cast<QWidget *>(m_libraryType),
                       static_cast<QWidget *>(m_libraryMessage), static_cast<QWidget *>(m_libraryValue)})
        fields->addWidget(w);
    layout->addLayout(fields);

    auto *buttons = new QHBoxLayout;
    auto *add = button(QStringLiteral("addToLibraryButton"), tr("Add"), box);
    auto *remove = button(QStringLiteral("deleteSingleLibraryButton"), tr("Delete"), box);
    auto *save = button(QStringLiteral("saveLibraryButton"), tr("Save Library..."), box);
    auto *clear = button(QStringLiteral("resetLibraryButton"), tr("Clear Library"), box);
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(clear);
    layout->addLayout(buttons);

    connect(m_libraryView, &QTableView::clicked, this,
            [this](const QModelIndex &index) { copyFromLibrary(index.isValid() ? index.row() : -1); });
    // A click below the rows selects none (clicked() reports only clicks on rows).
    m_libraryView->viewport()->installEventFilter(this);
    connect(m_libraryType, &QComboBox::activated, this,
            [this](int p) { m_libraryMessage->setHidden(MessageType::hasSingleDataByte(p)); });
    connect(add, &QPushButton::clicked, this, &MidiPage::addToLibrary);
    connect(remove, &QPushButton::clicked, this, &MidiPage::deleteFromLibrary);
    connect(save, &QPushButton::clicked, this, &MidiPage::saveLibrary);
    connect(clear, &QPushButton::clicked, this, &MidiPage::clearLibrary);
    return box;
}

void MidiPage::selectLibraryRow(int row)
{
    if (row >= 0 && row < m_libraryView->model()->rowCount())
        m_libraryView->selectRow(row);
}

void MidiPage::reloadLibrary()
{
    m_libraryModel->reload();
}

void MidiPage::copyFromLibrary(int libraryRow)
{
    m_ctx.state.LibraryRow = libraryRow;
    MidiStack *stack = shownStack();
    bool changed = false;
    if (stack && libraryRow >= 0 && libraryRow < int(m_ctx.store.MidiMessageLibrary.size())) {
        const MidiMessage &entry = m_ctx.store.MidiMessageLibrary[size_t(libraryRow)];
        const QString name = entry.stackMessageName();
        m_ctx.history.edit(tr("Copy from Library to Stack %1").arg(m_ctx.state.SelectedStackIndex + 1), [&] {
            for (int i = 0; i < RowCount; ++i) {
                if (m_ctx.state.StackRowChecked[size_t(i)] != 1)
                    continue;
                MidiStackMessage &m = stack->MidiStackMessageList[size_t(i)];
                m = MidiStackMessage(entry.Typey, 1, entry.Message, entry.Value, name);
                changed = true;
            }
        });
    }
    for (int i = 0; i < RowCount; ++i) {
        m_rows[size_t(i)].check->setChecked(false);
        m_ctx.state.StackRowChecked[size_t(i)] = 0;
    }
    showStackPage();
    if (changed) {}
}

void MidiPage::addToLibrary()
{
    bool refused = false;
    qint64 message = 0;
    qint64 value = 0;
    // A single-byte type hides the message field; left empty there, it counts as 0.
    if (!(m_libraryMessage->isHidden() && m_libraryMessage->text().trimmed().isEmpty()))
        refused |= !TypedRanges::check(m_libraryMessage, message);
    refused |= !TypedRanges::check(m_libraryValue, value);

    QStringList texts;
    for (QLineEdit *field : {m_manufacturer, m_device, m_action}) {
        if (!fitsSessionText(field->text())) {
            TypedRanges::markRefused(field, badCharacterText());
            refused = true;
        } else {
            TypedRanges::clearMark(field);
        }
        texts.append(CodePoints::left(field->text(), LibraryTextWidth));
    }
    if (refused)
        return;

    const int type = m_libraryType->currentIndex() < 0 ? 0 : m_libraryType->currentIndex();
    m_ctx.history.edit(tr("Add to Library"), [&] {
        m_ctx.store.MidiMessageLibrary.emplace_back(texts[0], texts[1], texts[2], type, message, value);
    });
    reloadLibrary();
}

void MidiPage::deleteFromLibrary()
{
    const qint64 row = m_ctx.state.LibraryRow;
    if (row < 0 || row >= qint64(m_ctx.store.MidiMessageLibrary.size()))
        return;
    m_ctx.history.edit(tr("Delete from Library"), [this, row] { m_ctx.store.removeLibraryEntry(int(row)); });
    reloadLibrary();
}

void MidiPage::clearLibrary()
{
    const bool ok =
        m_ctx.dialogs.confirmDestructive(tr("About to clear"), tr("Your Library will be cleared to hold no messages"));
    if (ok && !m_ctx.store.MidiMessageLibrary.empty()) {
        m_ctx.history.edit(tr("Clear Library"), [this] { m_ctx.store.MidiMessageLibrary.clear(); });
    }
    reloadLibrary();
}

void MidiPage::saveLibrary()
{
    normaliseStore();
    std::vector<int> keys;
    for (const char16_t *key : {u"LibraryManufacturers", u"LibraryDevices", u"LibraryActions", u"LibraryTypes",
                                u"LibraryMessages", u"LibraryValues"})
        keys.push_back(SessionKeys::indexOf(key));
    SessionActions::saveThroughPanel(m_ctx.dialogs, SessionWriter::writeKeys(m_ctx.store, keys));
}

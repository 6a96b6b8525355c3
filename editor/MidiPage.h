#pragma once

#include "model/MidiStackMessage.h"

#include <QWidget>

#include <array>

class LibraryTableModel;
class MidiStack;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QStringListModel;
class QTableView;
struct EditorContext;

// The "Midi Management" page: the stack chosen in midiStackCombo with its name and ten
// message rows, and the MIDI message library with the fields to add entries. Ticking
// rows and then clicking a library entry copies the entry into the ticked rows.
class MidiPage : public QWidget
{
    Q_OBJECT
public:
    explicit MidiPage(EditorContext &ctx, QWidget *parent = nullptr);

    // Fills the ten rows and the stack name from the stack at SelectedStackIndex.
    void showStackPage();
    // Shows the library table again from the session.
    void reloadLibrary();
    // Shows the stack at this MidiStackList position, as choosing it in midiStackCombo does.
    void selectStack(int position);
    // The page's Reset: every stack's messages back to the factory ones, names kept.
    void resetPage();
    // Selects the library entry at this row of the library table, when there is one.
    void selectLibraryRow(int row);

    static constexpr int RowCount = 10;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Row
    {
        QComboBox *type = nullptr;
        QLineEdit *channel = nullptr;
        QLineEdit *message = nullptr;
        QLineEdit *value = nullptr;
        QLineEdit *name = nullptr;
        QCheckBox *check = nullptr;
        QPushButton *reset = nullptr;
    };

    QWidget *buildStackPart();
    void addStackRow(int i, QGridLayout *grid, QWidget *box);
    QWidget *buildLibraryPart();
    MidiStack *shownStack();
    // "Channel of Message 3 in Stack 5".
    QString messageStepName(const QString &what, int row) const;
    void applyRowRule();

    void rowTypeChosen(int row, int position);
    void rowNumberEdited(int row, QLineEdit *field, qint64 MidiStackMessage::*member);
    void rowNameEdited(int row);
    void rowReset(int row);
    void stackChosen(int position);
    void stackNameEdited();
    void resetStack();
    void copyFromLibrary(int libraryRow);
    void addToLibrary();
    void deleteFromLibrary();
    void clearLibrary();
    void normaliseStore();
    void saveStackNames();
    void saveLibrary();
    void reselectStack();

    EditorContext &m_ctx;
    std::array<Row, RowCount> m_rows;
    QStringListModel *m_typeModel = nullptr;
    QComboBox *m_stackCombo = nullptr;
    QLineEdit *m_stackName = nullptr;
    LibraryTableModel *m_libraryModel = nullptr;
    QTableView *m_libraryView = nullptr;
    QLineEdit *m_manufacturer = nullptr;
    QLineEdit *m_device = nullptr;
    QLineEdit *m_action = nullptr;
    QLineEdit *m_libraryMessage = nullptr;
    QLineEdit *m_libraryValue = nullptr;
    QComboBox *m_libraryType = nullptr;
};

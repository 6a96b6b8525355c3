#pragma once

#include <QWidget>

#include <array>
#include <vector>

class QComboBox;
class QGroupBox;
class QTableView;
class Song;
class SongSelection;
class SongTableModel;
struct EditorContext;

// The "Set Jacks" page: what each of the four jacks of the song chosen in
// SetJacksTableView (EditorState::SetJacksSongIndex) does, and for the jacks used as
// footswitch inputs what each contact does on a tap and on a hold. Only the controls of
// each jack's mode are shown.
class SetJacksPage : public QWidget
{
    Q_OBJECT
public:
    explicit SetJacksPage(EditorContext &ctx, QWidget *parent = nullptr);
    // The page's Reset: every song's jack fields back to the factory ones.
    void resetPage();

    // Fills the page from the song at SetJacksSongIndex.
    void showSong();
    // Shows the song at `position` and highlights its row (negative: none).
    void selectSong(qint64 position);

    QTableView *table() const { return m_table; }
    SongTableModel *tableModel() const { return m_model; }

private:
    // The controls of one jack output.
    struct Jack
    {
        QComboBox *mode = nullptr;
        QComboBox *level = nullptr; // static level
        QComboBox *pulses = nullptr;
        QComboBox *expStack = nullptr;           // jack 1 only
        std::array<QGroupBox *, 2> inputBoxes{}; // jacks 1-3: tip (left), ring (right)
    };
    // The three lists of one footswitch input (a contact and a press).
    struct Input
    {
        size_t index; // in songInputs()
        QComboBox *function;
        QComboBox *preset;
        QComboBox *stack;
    };

    Song *song() const;
    QWidget *buildEditor();
    QGroupBox *buildInputBox(int jack, int contact, QWidget *parent);
    void showJack(size_t jack);
    void inputVisibility();
    void store(qint64 Song::*field, int position);
    void copyToAllSongs(const std::vector<qint64 Song::*> &fields, const QString &text);
    void reselectPresets();
    void reselectStacks();

    EditorContext &m_ctx;
    QTableView *m_table = nullptr;
    QWidget *m_editor = nullptr; // every control that edits the song
    QWidget *m_copyAll = nullptr;
    SongTableModel *m_model = nullptr;
    SongSelection *m_selection = nullptr;
    std::array<Jack, 4> m_jacks{};
    std::vector<Input> m_inputs; // the 12 inputs of jacks 1-3, in songInputs() order
};

#pragma once

#include <QWidget>

#include <array>
#include <vector>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class Song;
class SongSelection;
class SongTableModel;
struct EditorContext;

// The "Songs" page: the song chosen in SongTableView (EditorState::SongsSongIndex) with
// its name, tempo, display, divisions, MIDI options and foot switch functions, a summary
// of its jacks, copy buttons that spread a group of fields to every song, the name
// preview and the page's pedal commands.
class SongsPage : public QWidget
{
    Q_OBJECT
public:
    explicit SongsPage(EditorContext &ctx, QWidget *parent = nullptr);
    // The page's Reset: every song's fields of this page back to the factory ones.
    void resetPage();

    // Fills every control from the song at SongsSongIndex (the empty state when negative).
    void showSong();
    // The summary labels and the division labels.
    void showSummary();
    // Shows the song at `position` and highlights its row (negative: none).
    void selectSong(qint64 position);

    QTableView *table() const { return m_table; }
    SongTableModel *tableModel() const { return m_model; }

private:
    struct ListField
    {
        QComboBox *combo;
        qint64 Song::*field;
    };

    Song *song() const;
    QWidget *buildEditor();
    QGroupBox *buildSummary(QWidget *parent);
    QGroupBox *buildName(QWidget *parent);
    QGroupBox *buildDisplay(QWidget *parent);
    QGroupBox *buildDivisions(QWidget *parent);
    QGroupBox *buildMidi(QWidget *parent);
    QGroupBox *buildFootSwitch(QWidget *parent);
    // A click on `copy` gives every song these fields of the song shown.
    void copyOnClick(QPushButton *copy, std::vector<qint64 Song::*> fields);
    QComboBox *addList(const char *objectName, const QStringList &items, qint64 Song::*field);
    void nameEdited();
    void showNameRefused(const QString &problem);
    void tempoEdited();
    void numberEdited(QLineEdit *field, qint64 Song::*member);
    void listChosen(const ListField &list, int position);
    void paintColour(QComboBox *combo, qint64 position);
    void footVisibility();
    void reselectPresets();
    void reselectStacks();
    void previewName();

    EditorContext &m_ctx;
    QTableView *m_table = nullptr;
    QWidget *m_editor = nullptr; // every control that edits the song
    SongTableModel *m_model = nullptr;
    SongSelection *m_selection = nullptr;
    QPlainTextEdit *m_name = nullptr;
    QLineEdit *m_tempo = nullptr;
    QLineEdit *m_program = nullptr;
    QLineEdit *m_bank = nullptr;
    QComboBox *m_background = nullptr;
    QComboBox *m_foreground = nullptr;
    QComboBox *m_stackRef = nullptr;
    std::vector<ListField> m_lists; // every list that shows a stored position
    std::array<QComboBox *, 4> m_divisions{};
    std::array<QLabel *, 4> m_divisionLabels{};
    std::array<QLabel *, 4> m_summaryJacks{};
    QLabel *m_idLabel = nullptr;
    QLabel *m_summaryName = nullptr;
    // Foot switch tap (0) and hold (1).
    std::array<QComboBox *, 2> m_footFunction{};
    std::array<QComboBox *, 2> m_footPreset{};
    std::array<QComboBox *, 2> m_footStack{};
};

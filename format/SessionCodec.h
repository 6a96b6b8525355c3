#pragma once

#include "SessionKeys.h"

#include <QStringList>

#include <optional>

// One key's value, cut into fields, checked and decoded, not yet stored.
struct DecodedKey
{
    int key = -1;
    std::vector<qint64> numbers;        // per-song numbers, jack codes, option numbers, setlist
                                        // slots, stack fields (10 per stack), library numbers
    QStringList names;                  // name keys: decoded names
    std::vector<qint64> stackPositions; // upload form: the position of each stack
    std::optional<Menu> global;         // Global
};

// Cuts and checks the value of one key, and stores a checked value into the store.
// A value that does not fit the format is refused whole with a reason. Session files,
// the pedal's page data and uploads (the virtual pedal) are all decoded here.
//
// A stack message's status number outside the MIDI status bytes reads as type 0 with
// that number as its channel (the store normalisation then clamps the channel), wherever
// it comes from. The editor writes such numbers itself, e.g. 127 for a Note Off left on
// channel 0, so refusing them would make a saved or sent session impossible to read back.
class SessionCodec
{
public:
    struct Options
    {
        // Upload form: each stack's ten fields are preceded by its position (3 digits).
        bool stackPositions = false;
        // The pedal's page data takes a channel converter's type from its second status
        // number; session files take it from the first.
        bool converterTypeFromSecondStatus = false;
    };

    // The value of a key line as the pedal or a file gives it (line ends and white space
    // around it may still be there): what follows the first "]", up to a second "]". A
    // line's trailing white space is dropped, except where it completes the fields of a
    // name key: the last name of a list may fill its whole field and end in blanks.
    static QStringView lineValue(QStringView raw, int keyIndex);

    // Decodes `value` for the key at `keyIndex`. On failure returns false and sets
    // `problem` to a short reason ("has 12 fields, 128 needed"); `tooShort` (when given)
    // tells whether the reason is that the value holds fewer fields than needed.
    static bool decode(int keyIndex, QStringView value, const DataHandler &store, const Options &options,
                       DecodedKey &out, QString &problem, bool *tooShort = nullptr);

    // Stores a decoded key. Library keys are not stored here (see storeLibrary).
    static void store(DataHandler &store, const DecodedKey &decoded);

    // Appends library entries from the six decoded library keys (in table order).
    // Returns false when their entry counts differ.
    static bool libraryEntries(const std::array<const DecodedKey *, 6> &keys, std::vector<MidiMessage> &out,
                               QString &problem);
};

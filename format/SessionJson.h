#pragma once

#include <QJsonObject>

class DataHandler;

// The whole store as JSON: SongList, Setlist (song Ids), GlobalMenu, MidiMessageLibrary,
// MidiStackList, with the record field names as keys.
namespace SessionJson {
QJsonObject toJson(const DataHandler &store);
}

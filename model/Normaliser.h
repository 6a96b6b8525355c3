#pragma once

#include <QString>

class DataHandler;

// Brings the whole store into the ranges that the session text can carry: song names
// (at most 5 lines, 30 characters), tempos 40-300, program and bank numbers 1-128,
// MIDI channels 0-16 and data bytes 0-255. Works in place; running it twice changes
// nothing the second time.
class Normaliser
{
public:
    static void normalise(DataHandler &store);
    static QString normaliseName(const QString &name);
};

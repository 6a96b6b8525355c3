#pragma once

#include <QtGlobal>

#include <random>

// Decides how the pedal's replies are cut before they are written: whole, in chunks of
// a fixed size, or in chunks of random sizes from a seeded generator (the same seed
// gives the same cuts), so that the editor's receiving side sees lines split anywhere.
class ReplyChunker
{
public:
    // No cutting: every reply is written in one go.
    ReplyChunker() = default;
    static ReplyChunker fixed(int size);
    // Sizes from 1 to maxSize, drawn from a generator seeded with `seed`.
    static ReplyChunker random(int maxSize, quint32 seed);

    bool cuts() const { return m_size > 0; }
    // The size of the next chunk (only meaningful when cuts() is true).
    int next();

private:
    int m_size = 0;
    bool m_random = false;
    std::mt19937 m_generator;
};

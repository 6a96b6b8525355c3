#include "ReplyChunker.h"

#include <algorithm>

ReplyChunker ReplyChunker::fixed(int size)
{
    ReplyChunker c;
    c.m_size = std::max(1, size);
    return c;
}

ReplyChunker ReplyChunker::random(int maxSize, quint32 seed)
{
    ReplyChunker c;
    c.m_size = std::max(1, maxSize);
    c.m_random = true;
    c.m_generator.seed(seed);
    return c;
}

int ReplyChunker::next()
{
    if (!m_random)
        return m_size;
    std::uniform_int_distribution<int> size(1, m_size);
    return size(m_generator);
}

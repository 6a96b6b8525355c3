#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

// The check of the virtual pedal's command and upload reader, shared by its fuzz target
// and the regression tests. The payload of a FuzzInput goes to a VirtualPedal as bytes
// from the editor, in chunks of the sizes given there. After every chunk the pedal's
// session keeps its shape (128 songs, a setlist of songs of SongList, 128 stacks of 10
// messages), and a chunk that neither applied an upload nor reset the pedal left the
// session exactly as it was. Control byte:
//   bit 0   the pedal's replies go through the editor's line framer and reply parser,
//           which must read every line of them
class PedalInputCheck
{
public:
    static QString run(const std::uint8_t *data, std::size_t size);

    enum Control : std::uint8_t { ReadReplies = 0x01 };
};

#include "DataHandler.h"

#include <algorithm>
#include <unordered_map>

DataHandler::DataHandler() : GlobalMenu(Menu::factory())
{
    MidiStackList.reserve(StackCount);
    for (int s = 0; s < StackCount; ++s)
        MidiStackList.push_back(MidiStack::factory(s));
    SongList.reserve(SongCount);
    for (int p = 0; p < SongCount; ++p)
        SongList.push_back(std::make_shared<Song>(Song::factory(p)));
    Setlist = SongList;
}

DataHandler &DataHandler::instance()
{
    static DataHandler store;
    return store;
}

void DataHandler::resetSessionContents()
{
    resetGlobals();
    for (size_t s = 0; s < MidiStackList.size(); ++s) {
        MidiStackList[s].clearMessages();
        MidiStackList[s].Name = MidiStack::factoryName(qint64(s));
    }
    for (size_t p = 0; p < SongList.size(); ++p)
        SongList[p]->resetToFactory(int(p));
    resetSetlist();
}

void DataHandler::resetSetJacksFields()
{
    for (size_t i = 0; i < SongList.size(); ++i) {
        Song &s = *SongList[i];
        const qint64 p = qint64(i);
        s.ExpStack = 127;
        for (const SongJack &j : songJacks()) {
            s.*(j.mode) = 1;
            s.*(j.level) = 0;
            s.*(j.pulses) = 5;
        }
        const auto &inputs = songInputs();
        for (size_t k = 2; k < inputs.size(); ++k) { // the twelve jack inputs
            s.*(inputs[k].function) = 0;
            s.*(inputs[k].preset) = p;
            s.*(inputs[k].stack) = p;
        }
    }
}

void DataHandler::resetSongsFields()
{
    for (size_t i = 0; i < SongList.size(); ++i) {
        Song &s = *SongList[i];
        const qint64 p = qint64(i);
        s.UpdateName(QString());
        s.Tempo = 120;
        s.TempoInMs = 500;
        s.BackgroundColour = 0;
        s.ForegroundColour = 1;
        s.DivisionOne = s.DivisionTwo = s.DivisionThree = s.DivisionFour = s.DivisionMidi = 0;
        s.StopMidiClock = s.StopRepeatingMessage = s.MimicFootswitch = 0;
        s.ProgramChange = p + 1;
        s.BankChange = 1;
        s.MidiStackReference = p;
        s.FootTAPFunction = s.FootHOLDFunction = 1;
        s.FootTAPPreset = s.FootHOLDPreset = s.FootTAPStack = s.FootHOLDStack = p;
    }
}

void DataHandler::resetSetlist()
{
    Setlist = SongList;
}

void DataHandler::resetMidiStacks()
{
    for (MidiStack &stack : MidiStackList)
        stack.clearMessages();
}

void DataHandler::resetGlobals()
{
    GlobalMenu.resetToFactory();
}

void DataHandler::addSongToSetlist(int songPosition)
{
    if (songPosition < 0 || size_t(songPosition) >= SongList.size())
        return;
    if (Setlist.size() == size_t(SongCount))
        Setlist.clear();
    Setlist.push_back(SongList[size_t(songPosition)]);
}

int DataHandler::insertSongIntoSetlist(int songPosition, int at)
{
    if (songPosition < 0 || size_t(songPosition) >= SongList.size())
        return -1;
    if (Setlist.size() == size_t(SongCount))
        Setlist.clear();
    const size_t place = at < 0 ? 0 : std::min(size_t(at), Setlist.size());
    Setlist.insert(Setlist.begin() + qsizetype(place), SongList[size_t(songPosition)]);
    return int(place);
}

void DataHandler::removeSetlistEntry(int position)
{
    if (position < 0 || size_t(position) >= Setlist.size())
        return;
    Setlist.erase(Setlist.begin() + position);
    if (Setlist.empty())
        resetSetlist();
}

int DataHandler::moveSetlistEntryUp(int position)
{
    if (position <= 0 || size_t(position) >= Setlist.size())
        return position;
    std::swap(Setlist[size_t(position) - 1], Setlist[size_t(position)]);
    return position - 1;
}

int DataHandler::moveSetlistEntryDown(int position)
{
    if (position < 0 || size_t(position) + 1 >= Setlist.size())
        return position;
    std::swap(Setlist[size_t(position)], Setlist[size_t(position) + 1]);
    return position + 1;
}

void DataHandler::clearStack(int stackPosition)
{
    if (stackPosition < 0 || size_t(stackPosition) >= MidiStackList.size())
        return;
    MidiStackList[size_t(stackPosition)].clearMessages();
}

void DataHandler::clearStackMessage(int stackPosition, int message)
{
    if (stackPosition < 0 || size_t(stackPosition) >= MidiStackList.size())
        return;
    auto &messages = MidiStackList[size_t(stackPosition)].MidiStackMessageList;
    if (message < 0 || size_t(message) >= messages.size())
        return;
    messages[size_t(message)].clear();
}

void DataHandler::removeLibraryEntry(int position)
{
    if (position < 0 || size_t(position) >= MidiMessageLibrary.size())
        return;
    MidiMessageLibrary.erase(MidiMessageLibrary.begin() + position);
}

bool DataHandler::setlistFromSongNumbers(const std::vector<qint64> &slotValues, std::vector<SongRef> &out,
                                         QString *problem) const
{
    std::vector<SongRef> list;
    for (size_t i = 0; i < slotValues.size(); ++i) {
        const qint64 n = slotValues[i];
        if (n == 255)
            continue;
        if (n < 1 || n > qint64(SongList.size())) {
            if (problem)
                *problem = QStringLiteral("setlist slot %1 holds %2, which names no song").arg(i + 1).arg(n);
            return false;
        }
        list.push_back(SongList[size_t(n - 1)]);
    }
    out = std::move(list);
    return true;
}

int DataHandler::songPosition(const Song *song) const
{
    for (size_t i = 0; i < SongList.size(); ++i)
        if (SongList[i].get() == song)
            return int(i);
    return -1;
}

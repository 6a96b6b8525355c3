#pragma once

class ViewController;

// File ▸ Export Songs as CSV… and File ▸ Import Songs from CSV…: the 128 songs as a
// spreadsheet. An import is read into a copy of the session first; the Compare dock shows
// what it would change, an alert lists the values not taken and asks, and the changes
// are applied as one step of the history ("Import 14 songs from repertoire.csv").
namespace SongsCsvFlow {
void exportSongs(ViewController &window);
void importSongs(ViewController &window);
} // namespace SongsCsvFlow

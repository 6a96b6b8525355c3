<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Accessibility</name>
    <message>
        <source>Songs</source>
        <translation>Songs</translation>
    </message>
    <message>
        <source>Setlist</source>
        <translation>Setliste</translation>
    </message>
    <message>
        <source>Library</source>
        <translation>Bibliothek</translation>
    </message>
    <message>
        <source>Song name</source>
        <translation>Songname</translation>
    </message>
    <message>
        <source>Foot switch %1: function</source>
        <translation>Fußschalter %1: Funktion</translation>
    </message>
    <message>
        <source>Foot switch %1: song</source>
        <translation>Fußschalter %1: Song</translation>
    </message>
    <message>
        <source>Foot switch %1: stack</source>
        <translation>Fußschalter %1: Stack</translation>
    </message>
    <message>
        <source>Jack %1 mode</source>
        <translation>Buchse %1: Modus</translation>
    </message>
    <message>
        <source>Jack %1 static level</source>
        <translation>Buchse %1: statischer Pegel</translation>
    </message>
    <message>
        <source>Jack %1 pulse count</source>
        <translation>Buchse %1: Anzahl Impulse</translation>
    </message>
    <message>
        <source>Jack %1 expression stack</source>
        <translation>Buchse %1: Expression-Stack</translation>
    </message>
    <message>
        <source>Jack %1 %2 %3: function</source>
        <translation>Buchse %1 %2 %3: Funktion</translation>
    </message>
    <message>
        <source>Jack %1 %2 %3: song</source>
        <translation>Buchse %1 %2 %3: Song</translation>
    </message>
    <message>
        <source>Jack %1 %2 %3: stack</source>
        <translation>Buchse %1 %2 %3: Stack</translation>
    </message>
    <message>
        <source>Midi stack</source>
        <translation>MIDI-Stack</translation>
    </message>
    <message>
        <source>Stack name</source>
        <translation>Stack-Name</translation>
    </message>
    <message>
        <source>Message %1 type</source>
        <translation>Nachricht %1: Typ</translation>
    </message>
    <message>
        <source>Message %1 channel</source>
        <translation>Nachricht %1: Kanal</translation>
    </message>
    <message>
        <source>Message %1 message</source>
        <translation>Nachricht %1: Nachrichtennummer</translation>
    </message>
    <message>
        <source>Message %1 value</source>
        <translation>Nachricht %1: Wert</translation>
    </message>
    <message>
        <source>Message %1 name</source>
        <translation>Nachricht %1: Name</translation>
    </message>
    <message>
        <source>Message %1: fill from the library</source>
        <translation>Nachricht %1: aus der Bibliothek füllen</translation>
    </message>
    <message>
        <source>Reset message %1</source>
        <translation>Nachricht %1 zurücksetzen</translation>
    </message>
    <message>
        <source>Library entry type</source>
        <translation>Typ des Bibliothekseintrags</translation>
    </message>
    <message>
        <source>Pedal Log</source>
        <translation>Pedal-Protokoll</translation>
    </message>
    <message>
        <source>Changes</source>
        <translation>Änderungen</translation>
    </message>
    <message>
        <source>Pedal state</source>
        <translation>Zustand des Pedals</translation>
    </message>
    <message>
        <source>More commands</source>
        <translation>Weitere Befehle</translation>
    </message>
    <message>
        <source>More menus</source>
        <translation>Weitere Menüs</translation>
    </message>
</context>
<context>
    <name>Alert</name>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Please connect to the pedal first</source>
        <translation>Bitte zuerst mit dem Pedal verbinden</translation>
    </message>
</context>
<context>
    <name>CheckDock</name>
    <message>
        <source>The pedal differs from this session in 1 place</source>
        <translation>Das Pedal weicht an 1 Stelle von dieser Sitzung ab</translation>
    </message>
    <message>
        <source>The pedal differs from this session in %1 places</source>
        <translation>Das Pedal weicht an %1 Stellen von dieser Sitzung ab</translation>
    </message>
    <message>
        <source>Check Session</source>
        <translation>Sitzung prüfen</translation>
    </message>
    <message>
        <source>Double-click a finding, or press Return on it, to show it on its page</source>
        <translation>Einen Befund doppelt klicken oder darauf die Eingabetaste drücken, um ihn auf seiner Seite zu zeigen</translation>
    </message>
    <message>
        <source>Check Again</source>
        <translation>Erneut prüfen</translation>
    </message>
    <message>
        <source>Check the session as it is now</source>
        <translation>Die Sitzung in ihrem jetzigen Stand prüfen</translation>
    </message>
    <message>
        <source>Problem: %1</source>
        <translation>Problem: %1</translation>
    </message>
    <message>
        <source>Note: %1</source>
        <translation>Hinweis: %1</translation>
    </message>
    <message>
        <source>Nothing to mend: the session is ready for the gig.</source>
        <translation>Nichts zu beheben: Die Sitzung ist bereit für den Auftritt.</translation>
    </message>
    <message>
        <source>no problems</source>
        <translation>keine Probleme</translation>
    </message>
    <message>
        <source>1 problem</source>
        <translation>1 Problem</translation>
    </message>
    <message>
        <source>%1 problems</source>
        <translation>%1 Probleme</translation>
    </message>
    <message>
        <source>no notes</source>
        <translation>keine Hinweise</translation>
    </message>
    <message>
        <source>1 note</source>
        <translation>1 Hinweis</translation>
    </message>
    <message>
        <source>%1 notes</source>
        <translation>%1 Hinweise</translation>
    </message>
    <message>
        <source>%1 and %2; double-click one to show it on its page.</source>
        <translation>%1 und %2; zum Anzeigen auf seiner Seite einen Befund doppelt klicken.</translation>
    </message>
    <message>
        <source>the pedal</source>
        <translation>das Pedal</translation>
    </message>
</context>
<context>
    <name>CompareDock</name>
    <message>
        <source>Filter changes</source>
        <translation>Änderungen filtern</translation>
    </message>
    <message>
        <source>Take Selected</source>
        <translation>Auswahl übernehmen</translation>
    </message>
    <message>
        <source>Bring the other session&apos;s values of the chosen changes into this session</source>
        <translation>Die Werte der anderen Sitzung für die gewählten Änderungen in diese Sitzung übernehmen</translation>
    </message>
    <message>
        <source>Take All</source>
        <translation>Alle übernehmen</translation>
    </message>
    <message>
        <source>Bring the other session&apos;s values of every change, hidden by the filter or not, into this session</source>
        <translation>Die Werte der anderen Sitzung für jede Änderung, ob vom Filter ausgeblendet oder nicht, in diese Sitzung übernehmen</translation>
    </message>
    <message>
        <source>This session and %1 are the same.</source>
        <translation>Diese Sitzung und %1 sind gleich.</translation>
    </message>
    <message numerus="yes">
        <source>%n change(s) from this session to %1:</source>
        <translation>
            <numerusform>%n Änderung von dieser Sitzung zu %1:</numerusform>
            <numerusform>%n Änderungen von dieser Sitzung zu %1:</numerusform>
        </translation>
    </message>
    <message>
        <source>Take 1 change from %1</source>
        <translation>1 Änderung aus %1 übernehmen</translation>
    </message>
    <message>
        <source>Take %1 changes from %2</source>
        <translation>%1 Änderungen aus %2 übernehmen</translation>
    </message>
</context>
<context>
    <name>Dialogs</name>
    <message>
        <source>Choose Firmware Image</source>
        <translation>Firmware-Abbild wählen</translation>
    </message>
</context>
<context>
    <name>FirmwareFlow</name>
    <message>
        <source>Which firmware image?</source>
        <translation>Welches Firmware-Abbild?</translation>
    </message>
    <message>
        <source>The editor comes with the image %1 (%2 bytes, %3).
A newer image can be chosen from a file.</source>
        <translation>Der Editor bringt das Abbild %1 mit (%2 Bytes, %3).
Ein neueres Abbild kann aus einer Datei gewählt werden.</translation>
    </message>
    <message>
        <source>Use Bundled Image</source>
        <translation>Mitgeliefertes Abbild verwenden</translation>
    </message>
    <message>
        <source>Choose Image…</source>
        <translation>Abbild wählen…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Upload Firmware</source>
        <translation>Firmware aufspielen</translation>
    </message>
    <message>
        <source>%1: %2.</source>
        <translation>%1: %2.</translation>
    </message>
    <message>
        <source>The firmware required for this app</source>
        <translation>Die für dieses Programm nötige Firmware</translation>
    </message>
    <message>
        <source>The firmware image %1</source>
        <translation>Das Firmware-Abbild %1</translation>
    </message>
    <message>
        <source>About to upload</source>
        <translation>Firmware wird aufgespielt</translation>
    </message>
    <message>
        <source> will be uploaded to the pedal
Make sure you save your old session before doing this

</source>
        <translation> wird auf das Pedal aufgespielt
Speichern Sie vorher Ihre alte Sitzung

</translation>
    </message>
    <message>
        <source>Image: %1
%2 bytes, %3</source>
        <translation>Abbild: %1
%2 Bytes, %3</translation>
    </message>
    <message>
        <source>Success!</source>
        <translation>Erfolgreich!</translation>
    </message>
    <message>
        <source>Upload Failed:</source>
        <translation>Aufspielen fehlgeschlagen:</translation>
    </message>
    <message>
        <source>Cannot update the firmware</source>
        <translation>Die Firmware kann nicht aktualisiert werden</translation>
    </message>
    <message>
        <source>A firmware update is running. Quitting now can leave the pedal without firmware.</source>
        <translation>Eine Firmware-Aktualisierung läuft. Wenn Sie jetzt beenden, kann das Pedal ohne Firmware zurückbleiben.</translation>
    </message>
    <message>
        <source>Keep Running lets the update finish.</source>
        <translation>Mit „Weiterlaufen“ wird die Aktualisierung abgeschlossen.</translation>
    </message>
    <message>
        <source>Quit Anyway</source>
        <translation>Trotzdem beenden</translation>
    </message>
    <message>
        <source>Keep Running</source>
        <translation>Weiterlaufen</translation>
    </message>
    <message>
        <source>asked to end: the editor ends when the firmware update has finished</source>
        <translation>Beenden angefordert: Der Editor endet, sobald die Firmware-Aktualisierung abgeschlossen ist</translation>
    </message>
</context>
<context>
    <name>GlobalItemTexts</name>
    <message>
        <source>Infinite</source>
        <translation>Unendlich</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Positive</source>
        <translation>Positiv</translation>
    </message>
    <message>
        <source>Negative</source>
        <translation>Negativ</translation>
    </message>
    <message>
        <source>%1 ms</source>
        <translation>%1 ms</translation>
    </message>
    <message>
        <source>Any</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>%1 (out of range)</source>
        <translation>%1 (außerhalb des Bereichs)</translation>
    </message>
</context>
<context>
    <name>GlobalPage</name>
    <message>
        <source>Filter settings</source>
        <translation>Einstellungen filtern</translation>
    </message>
    <message>
        <source>Shows only the settings whose name or description holds this text.</source>
        <translation>Zeigt nur die Einstellungen, deren Name oder Beschreibung diesen Text enthält.</translation>
    </message>
    <message>
        <source>%1 differs from the factory setting</source>
        <translation>%1 weicht von der Werkseinstellung ab</translation>
    </message>
    <message>
        <source>Reset Global Settings</source>
        <translation>Globale Einstellungen zurücksetzen</translation>
    </message>
    <message>
        <source>Changed: the factory setting is %1.</source>
        <translation>Geändert: Die Werkseinstellung ist %1.</translation>
    </message>
    <message>
        <source>The stored value %1 has no item in this list; it is kept until you pick one.</source>
        <translation>Der gespeicherte Wert %1 hat keinen Eintrag in dieser Liste; er bleibt erhalten, bis Sie einen wählen.</translation>
    </message>
</context>
<context>
    <name>ItemTexts</name>
    <message>
        <source>Black</source>
        <translation>Schwarz</translation>
    </message>
    <message>
        <source>White</source>
        <translation>Weiß</translation>
    </message>
    <message>
        <source>Dark Red</source>
        <translation>Dunkelrot</translation>
    </message>
    <message>
        <source>Red</source>
        <translation>Rot</translation>
    </message>
    <message>
        <source>Light Red</source>
        <translation>Hellrot</translation>
    </message>
    <message>
        <source>Dark Yellow</source>
        <translation>Dunkelgelb</translation>
    </message>
    <message>
        <source>Yellow</source>
        <translation>Gelb</translation>
    </message>
    <message>
        <source>Light Yellow</source>
        <translation>Hellgelb</translation>
    </message>
    <message>
        <source>Dark Green</source>
        <translation>Dunkelgrün</translation>
    </message>
    <message>
        <source>Green</source>
        <translation>Grün</translation>
    </message>
    <message>
        <source>Light Green</source>
        <translation>Hellgrün</translation>
    </message>
    <message>
        <source>Dark Cyan</source>
        <translation>Dunkeltürkis</translation>
    </message>
    <message>
        <source>Cyan</source>
        <translation>Türkis</translation>
    </message>
    <message>
        <source>Light Cyan</source>
        <translation>Helltürkis</translation>
    </message>
    <message>
        <source>Dark Blue</source>
        <translation>Dunkelblau</translation>
    </message>
    <message>
        <source>Blue</source>
        <translation>Blau</translation>
    </message>
    <message>
        <source>Light Blue</source>
        <translation>Hellblau</translation>
    </message>
    <message>
        <source>Dark Magenta</source>
        <translation>Dunkelmagenta</translation>
    </message>
    <message>
        <source>Magenta</source>
        <translation>Magenta</translation>
    </message>
    <message>
        <source>Light Magenta</source>
        <translation>Hellmagenta</translation>
    </message>
    <message>
        <source>1/4 (Quarter)</source>
        <translation>1/4 (Viertel)</translation>
    </message>
    <message>
        <source>1/8 (Eighth)</source>
        <translation>1/8 (Achtel)</translation>
    </message>
    <message>
        <source>Dotted 1/8</source>
        <translation>Punktierte 1/8</translation>
    </message>
    <message>
        <source>1/8 Triplet</source>
        <translation>1/8-Triole</translation>
    </message>
    <message>
        <source>1/16 (Sixteenth)</source>
        <translation>1/16 (Sechzehntel)</translation>
    </message>
    <message>
        <source>1/2 (Half)</source>
        <translation>1/2 (Halbe)</translation>
    </message>
    <message>
        <source>Dotted 1/4</source>
        <translation>Punktierte 1/4</translation>
    </message>
    <message>
        <source>1/4 Triplet</source>
        <translation>1/4-Triole</translation>
    </message>
    <message>
        <source>Small</source>
        <translation>Klein</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>Large</source>
        <translation>Groß</translation>
    </message>
    <message>
        <source>Extra Large</source>
        <translation>Sehr groß</translation>
    </message>
    <message>
        <source>Quarter</source>
        <translation>Viertel</translation>
    </message>
    <message>
        <source>Eighth</source>
        <translation>Achtel</translation>
    </message>
    <message>
        <source>Dotted Eighth</source>
        <translation>Punktierte Achtel</translation>
    </message>
    <message>
        <source>Eighth Triplet</source>
        <translation>Achteltriole</translation>
    </message>
    <message>
        <source>Sixteenth</source>
        <translation>Sechzehntel</translation>
    </message>
    <message>
        <source>Dotted Sixteenth</source>
        <translation>Punktierte Sechzehntel</translation>
    </message>
    <message>
        <source>Sixteenth Triplet</source>
        <translation>Sechzehnteltriole</translation>
    </message>
    <message>
        <source>Thirty-second</source>
        <translation>Zweiunddreißigstel</translation>
    </message>
    <message>
        <source>Half</source>
        <translation>Halbe</translation>
    </message>
    <message>
        <source>Dotted Quarter</source>
        <translation>Punktierte Viertel</translation>
    </message>
    <message>
        <source>Quarter Triplet</source>
        <translation>Vierteltriole</translation>
    </message>
    <message>
        <source>Whole</source>
        <translation>Ganze</translation>
    </message>
    <message>
        <source>Dotted Half</source>
        <translation>Punktierte Halbe</translation>
    </message>
    <message>
        <source>Half Triplet</source>
        <translation>Halbe Triole</translation>
    </message>
    <message>
        <source>Off (Low)</source>
        <translation>Aus (Low)</translation>
    </message>
    <message>
        <source>On (High)</source>
        <translation>Ein (High)</translation>
    </message>
    <message>
        <source>1 pulse</source>
        <translation>1 Impuls</translation>
    </message>
    <message>
        <source>%1 pulses</source>
        <translation>%1 Impulse</translation>
    </message>
    <message>
        <source>Static</source>
        <translation>Statisch</translation>
    </message>
    <message>
        <source>Tap Output</source>
        <translation>Tap-Ausgang</translation>
    </message>
    <message>
        <source>Footswitch Input</source>
        <translation>Fußschalter-Eingang</translation>
    </message>
    <message>
        <source>Expression Input</source>
        <translation>Expression-Eingang</translation>
    </message>
    <message>
        <source>MIDI Output</source>
        <translation>MIDI-Ausgang</translation>
    </message>
    <message>
        <source>CV Output</source>
        <translation>CV-Ausgang</translation>
    </message>
    <message>
        <source>Nothing</source>
        <translation>Nichts</translation>
    </message>
    <message>
        <source>Toggle Global Tempo</source>
        <translation>Globales Tempo umschalten</translation>
    </message>
    <message>
        <source>Next Song</source>
        <translation>Nächster Song</translation>
    </message>
    <message>
        <source>Previous Song</source>
        <translation>Vorheriger Song</translation>
    </message>
    <message>
        <source>Next Setlist Song</source>
        <translation>Nächster Song der Setliste</translation>
    </message>
    <message>
        <source>Previous Setlist Song</source>
        <translation>Vorheriger Song der Setliste</translation>
    </message>
    <message>
        <source>Start/Stop MIDI Clock</source>
        <translation>MIDI-Clock starten/stoppen</translation>
    </message>
    <message>
        <source>Tempo Up</source>
        <translation>Tempo höher</translation>
    </message>
    <message>
        <source>Tempo Down</source>
        <translation>Tempo niedriger</translation>
    </message>
    <message>
        <source>Go to Song</source>
        <translation>Gehe zu Song</translation>
    </message>
    <message>
        <source>Send MIDI Stack</source>
        <translation>MIDI-Stack senden</translation>
    </message>
    <message>
        <source>Reset Timers</source>
        <translation>Timer zurücksetzen</translation>
    </message>
    <message>
        <source>Tuner</source>
        <translation>Stimmgerät</translation>
    </message>
    <message>
        <source>Tap Tempo</source>
        <translation>Tap-Tempo</translation>
    </message>
    <message>
        <source>Keep MIDI Clock</source>
        <translation>MIDI-Clock beibehalten</translation>
    </message>
    <message>
        <source>Stop MIDI Clock</source>
        <translation>MIDI-Clock stoppen</translation>
    </message>
    <message>
        <source>Keep Repeating Stack</source>
        <translation>Wiederholten Stack beibehalten</translation>
    </message>
    <message>
        <source>Stop Repeating Stack</source>
        <translation>Wiederholten Stack stoppen</translation>
    </message>
    <message>
        <source>Don&apos;t Mimic</source>
        <translation>Nicht nachahmen</translation>
    </message>
    <message>
        <source>Mimic Footswitch</source>
        <translation>Fußschalter nachahmen</translation>
    </message>
</context>
<context>
    <name>LibraryTableModel</name>
    <message>
        <source>Sort Library by %1</source>
        <translation>Bibliothek nach %1 sortieren</translation>
    </message>
    <message>
        <source>Manufacturer</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>MIDI clock and thru</source>
        <translation>MIDI-Clock und Thru</translation>
    </message>
    <message>
        <source>Channels and thresholds</source>
        <translation>Kanäle und Schwellen</translation>
    </message>
    <message>
        <source>Songs and tempo</source>
        <translation>Songs und Tempo</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Anzeige</translation>
    </message>
    <message>
        <source>Click outputs</source>
        <translation>Klickausgänge</translation>
    </message>
    <message>
        <source>Repeating MIDI stack</source>
        <translation>Wiederholter MIDI-Stack</translation>
    </message>
    <message>
        <source>Channel converters</source>
        <translation>Kanalumsetzer</translation>
    </message>
    <message>
        <source>Incoming MIDI messages</source>
        <translation>Eingehende MIDI-Nachrichten</translation>
    </message>
    <message>
        <source>Stack delay</source>
        <translation>Stack-Verzögerung</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Type of the MIDI message that %1.</source>
        <translation>Typ der MIDI-Nachricht, die %1.</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Kanal</translation>
    </message>
    <message>
        <source>MIDI channel of the message that %1.</source>
        <translation>MIDI-Kanal der Nachricht, die %1.</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>First data byte (controller or note) of the message that %1; Any takes every number.</source>
        <translation>Erstes Datenbyte (Controller oder Note) der Nachricht, die %1; „Alle“ nimmt jede Nummer.</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Second data byte of the message that %1; Any takes every value.</source>
        <translation>Zweites Datenbyte der Nachricht, die %1; „Alle“ nimmt jeden Wert.</translation>
    </message>
    <message>
        <source>Send MIDI clock</source>
        <translation>MIDI-Clock senden</translation>
    </message>
    <message>
        <source>Sends MIDI clock at the current tempo from the MIDI output.</source>
        <translation>Sendet MIDI-Clock im aktuellen Tempo am MIDI-Ausgang.</translation>
    </message>
    <message>
        <source>Follow incoming MIDI clock</source>
        <translation>Eingehender MIDI-Clock folgen</translation>
    </message>
    <message>
        <source>Takes the tempo from MIDI clock arriving at the MIDI input.</source>
        <translation>Übernimmt das Tempo aus der MIDI-Clock, die am MIDI-Eingang ankommt.</translation>
    </message>
    <message>
        <source>Send program changes</source>
        <translation>Programmwechsel senden</translation>
    </message>
    <message>
        <source>Sends the song&apos;s program and bank change when a song is chosen.</source>
        <translation>Sendet Programm- und Bankwechsel des Songs, wenn ein Song gewählt wird.</translation>
    </message>
    <message>
        <source>MIDI thru</source>
        <translation>MIDI-Thru</translation>
    </message>
    <message>
        <source>Passes what arrives at the MIDI input on to the MIDI output.</source>
        <translation>Gibt weiter, was am MIDI-Eingang ankommt, an den MIDI-Ausgang.</translation>
    </message>
    <message>
        <source>Tempo in milliseconds</source>
        <translation>Tempo in Millisekunden</translation>
    </message>
    <message>
        <source>Shows the tempo as milliseconds per beat instead of beats per minute.</source>
        <translation>Zeigt das Tempo in Millisekunden pro Schlag statt in Schlägen pro Minute.</translation>
    </message>
    <message>
        <source>Recall once</source>
        <translation>Nur einmal abrufen</translation>
    </message>
    <message>
        <source>Recalls a song&apos;s stored settings only the first time the song is chosen.</source>
        <translation>Ruft die gespeicherten Einstellungen eines Songs nur beim ersten Wählen des Songs ab.</translation>
    </message>
    <message>
        <source>Recall the setlist</source>
        <translation>Setliste abrufen</translation>
    </message>
    <message>
        <source>Steps through the setlist instead of all 128 songs.</source>
        <translation>Geht die Setliste durch statt aller 128 Songs.</translation>
    </message>
    <message>
        <source>Diamond mod</source>
        <translation>Diamant-Modifikation</translation>
    </message>
    <message>
        <source>Turns on the diamond modification of the pedal&apos;s tap handling.</source>
        <translation>Schaltet die Diamant-Modifikation der Tap-Verarbeitung des Pedals ein.</translation>
    </message>
    <message>
        <source>One tempo for all songs</source>
        <translation>Ein Tempo für alle Songs</translation>
    </message>
    <message>
        <source>Keeps the current tempo when another song is chosen instead of taking the song&apos;s tempo.</source>
        <translation>Behält das aktuelle Tempo bei, wenn ein anderer Song gewählt wird, statt das Tempo des Songs zu übernehmen.</translation>
    </message>
    <message>
        <source>Block clock on MIDI thru</source>
        <translation>Clock bei MIDI-Thru sperren</translation>
    </message>
    <message>
        <source>Keeps incoming MIDI clock from being passed on through MIDI thru.</source>
        <translation>Verhindert, dass eingehende MIDI-Clock über MIDI-Thru weitergegeben wird.</translation>
    </message>
    <message>
        <source>Song name only</source>
        <translation>Nur Songname</translation>
    </message>
    <message>
        <source>Shows only the song&apos;s name on the display.</source>
        <translation>Zeigt nur den Namen des Songs auf dem Display.</translation>
    </message>
    <message>
        <source>Metronome</source>
        <translation>Metronom</translation>
    </message>
    <message>
        <source>Turns the pedal&apos;s metronome on.</source>
        <translation>Schaltet das Metronom des Pedals ein.</translation>
    </message>
    <message>
        <source>MIDI input channel</source>
        <translation>MIDI-Eingangskanal</translation>
    </message>
    <message>
        <source>The channel on which the pedal listens to MIDI messages.</source>
        <translation>Der Kanal, auf dem das Pedal MIDI-Nachrichten empfängt.</translation>
    </message>
    <message>
        <source>MIDI output channel</source>
        <translation>MIDI-Ausgangskanal</translation>
    </message>
    <message>
        <source>The channel on which the pedal sends its program changes and MIDI messages.</source>
        <translation>Der Kanal, auf dem das Pedal seine Programmwechsel und MIDI-Nachrichten sendet.</translation>
    </message>
    <message>
        <source>MIDI threshold</source>
        <translation>MIDI-Schwelle</translation>
    </message>
    <message>
        <source>How much incoming MIDI tempo must change before the pedal follows it (1 to 10).</source>
        <translation>Wie stark sich eingehendes MIDI-Tempo ändern muss, bevor das Pedal ihm folgt (1 bis 10).</translation>
    </message>
    <message>
        <source>Output 1</source>
        <translation>Ausgang 1</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>Length of each click pulse of output 1 (30 to 255).</source>
        <translation>Länge jedes Klickimpulses von Ausgang 1 (30 bis 255).</translation>
    </message>
    <message>
        <source>Output 2</source>
        <translation>Ausgang 2</translation>
    </message>
    <message>
        <source>Length of each click pulse of output 2 (30 to 255).</source>
        <translation>Länge jedes Klickimpulses von Ausgang 2 (30 bis 255).</translation>
    </message>
    <message>
        <source>Output 3</source>
        <translation>Ausgang 3</translation>
    </message>
    <message>
        <source>Length of each click pulse of output 3 (30 to 255).</source>
        <translation>Länge jedes Klickimpulses von Ausgang 3 (30 bis 255).</translation>
    </message>
    <message>
        <source>Output 4</source>
        <translation>Ausgang 4</translation>
    </message>
    <message>
        <source>Length of each click pulse of output 4 (30 to 255).</source>
        <translation>Länge jedes Klickimpulses von Ausgang 4 (30 bis 255).</translation>
    </message>
    <message>
        <source>Polarity</source>
        <translation>Polarität</translation>
    </message>
    <message>
        <source>Whether the clicks of output 1 are positive or negative pulses.</source>
        <translation>Ob die Klicks von Ausgang 1 positive oder negative Impulse sind.</translation>
    </message>
    <message>
        <source>Whether the clicks of output 2 are positive or negative pulses.</source>
        <translation>Ob die Klicks von Ausgang 2 positive oder negative Impulse sind.</translation>
    </message>
    <message>
        <source>Whether the clicks of output 3 are positive or negative pulses.</source>
        <translation>Ob die Klicks von Ausgang 3 positive oder negative Impulse sind.</translation>
    </message>
    <message>
        <source>Whether the clicks of output 4 are positive or negative pulses.</source>
        <translation>Ob die Klicks von Ausgang 4 positive oder negative Impulse sind.</translation>
    </message>
    <message>
        <source>Stack</source>
        <translation>Stack</translation>
    </message>
    <message>
        <source>The MIDI stack that the pedal sends again and again.</source>
        <translation>Der MIDI-Stack, den das Pedal immer wieder sendet.</translation>
    </message>
    <message>
        <source>Repeats</source>
        <translation>Wiederholungen</translation>
    </message>
    <message>
        <source>How many times the stack is sent again; Infinite repeats it until it is stopped.</source>
        <translation>Wie oft der Stack erneut gesendet wird; „Unendlich“ wiederholt ihn, bis er gestoppt wird.</translation>
    </message>
    <message>
        <source>Tempo offset</source>
        <translation>Tempoversatz</translation>
    </message>
    <message>
        <source>Beats per minute added to the tempo on output 1 (-20 to +20).</source>
        <translation>Schläge pro Minute, die an Ausgang 1 zum Tempo addiert werden (-20 bis +20).</translation>
    </message>
    <message>
        <source>Beats per minute added to the tempo on output 2 (-20 to +20).</source>
        <translation>Schläge pro Minute, die an Ausgang 2 zum Tempo addiert werden (-20 bis +20).</translation>
    </message>
    <message>
        <source>Beats per minute added to the tempo on output 3 (-20 to +20).</source>
        <translation>Schläge pro Minute, die an Ausgang 3 zum Tempo addiert werden (-20 bis +20).</translation>
    </message>
    <message>
        <source>Beats per minute added to the tempo on output 4 (-20 to +20).</source>
        <translation>Schläge pro Minute, die an Ausgang 4 zum Tempo addiert werden (-20 bis +20).</translation>
    </message>
    <message>
        <source>MIDI clock beats</source>
        <translation>MIDI-Clock-Schläge</translation>
    </message>
    <message>
        <source>How many beats of MIDI clock follow a new tempo; Infinite keeps the clock running.</source>
        <translation>Wie viele Schläge MIDI-Clock einem neuen Tempo folgen; „Unendlich“ lässt die Clock weiterlaufen.</translation>
    </message>
    <message>
        <source>Audio threshold</source>
        <translation>Audioschwelle</translation>
    </message>
    <message>
        <source>How loud a signal at an audio input must be to count as a tap (1 to 10).</source>
        <translation>Wie laut ein Signal an einem Audioeingang sein muss, um als Tap zu zählen (1 bis 10).</translation>
    </message>
    <message>
        <source>LED beats</source>
        <translation>LED-Schläge</translation>
    </message>
    <message>
        <source>How many beats the tempo LED blinks after a new tempo; Infinite keeps it blinking.</source>
        <translation>Wie viele Schläge die Tempo-LED nach einem neuen Tempo blinkt; „Unendlich“ lässt sie weiterblinken.</translation>
    </message>
    <message>
        <source>Converter 1</source>
        <translation>Umsetzer 1</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Turns converter 1 on: it moves messages of one type from one MIDI channel to another.</source>
        <translation>Schaltet Umsetzer 1 ein: Er verlegt Nachrichten eines Typs von einem MIDI-Kanal auf einen anderen.</translation>
    </message>
    <message>
        <source>Type of the messages that converter 1 moves.</source>
        <translation>Typ der Nachrichten, die Umsetzer 1 verlegt.</translation>
    </message>
    <message>
        <source>From channel</source>
        <translation>Von Kanal</translation>
    </message>
    <message>
        <source>The channel whose messages converter 1 takes.</source>
        <translation>Der Kanal, dessen Nachrichten Umsetzer 1 übernimmt.</translation>
    </message>
    <message>
        <source>To channel</source>
        <translation>Auf Kanal</translation>
    </message>
    <message>
        <source>The channel on which converter 1 sends them on.</source>
        <translation>Der Kanal, auf dem Umsetzer 1 sie weitersendet.</translation>
    </message>
    <message>
        <source>Converter 2</source>
        <translation>Umsetzer 2</translation>
    </message>
    <message>
        <source>Turns converter 2 on: it moves messages of one type from one MIDI channel to another.</source>
        <translation>Schaltet Umsetzer 2 ein: Er verlegt Nachrichten eines Typs von einem MIDI-Kanal auf einen anderen.</translation>
    </message>
    <message>
        <source>Type of the messages that converter 2 moves.</source>
        <translation>Typ der Nachrichten, die Umsetzer 2 verlegt.</translation>
    </message>
    <message>
        <source>The channel whose messages converter 2 takes.</source>
        <translation>Der Kanal, dessen Nachrichten Umsetzer 2 übernimmt.</translation>
    </message>
    <message>
        <source>The channel on which converter 2 sends them on.</source>
        <translation>Der Kanal, auf dem Umsetzer 2 sie weitersendet.</translation>
    </message>
    <message>
        <source>Tap</source>
        <translation>Tippen</translation>
    </message>
    <message>
        <source>taps the tempo</source>
        <translation>das Tempo tappt</translation>
    </message>
    <message>
        <source>Set tempo</source>
        <translation>Tempo setzen</translation>
    </message>
    <message>
        <source>sets the tempo</source>
        <translation>das Tempo setzt</translation>
    </message>
    <message>
        <source>Next song</source>
        <translation>Nächster Song</translation>
    </message>
    <message>
        <source>chooses the next song</source>
        <translation>den nächsten Song wählt</translation>
    </message>
    <message>
        <source>Previous song</source>
        <translation>Vorheriger Song</translation>
    </message>
    <message>
        <source>chooses the previous song</source>
        <translation>den vorherigen Song wählt</translation>
    </message>
    <message>
        <source>Choose song</source>
        <translation>Song wählen</translation>
    </message>
    <message>
        <source>chooses a song by number</source>
        <translation>einen Song nach Nummer wählt</translation>
    </message>
    <message>
        <source>turns one tempo for all songs on or off</source>
        <translation>ein Tempo für alle Songs ein- oder ausschaltet</translation>
    </message>
    <message>
        <source>Division 1</source>
        <translation>Teilung 1</translation>
    </message>
    <message>
        <source>changes the tap division of jack 1</source>
        <translation>die Tap-Teilung von Buchse 1 ändert</translation>
    </message>
    <message>
        <source>Division 2</source>
        <translation>Teilung 2</translation>
    </message>
    <message>
        <source>changes the tap division of jack 2</source>
        <translation>die Tap-Teilung von Buchse 2 ändert</translation>
    </message>
    <message>
        <source>Division 3</source>
        <translation>Teilung 3</translation>
    </message>
    <message>
        <source>changes the tap division of jack 3</source>
        <translation>die Tap-Teilung von Buchse 3 ändert</translation>
    </message>
    <message>
        <source>Division 4</source>
        <translation>Teilung 4</translation>
    </message>
    <message>
        <source>changes the tap division of jack 4</source>
        <translation>die Tap-Teilung von Buchse 4 ändert</translation>
    </message>
    <message>
        <source>MIDI clock division</source>
        <translation>MIDI-Clock-Teilung</translation>
    </message>
    <message>
        <source>changes the division of the MIDI clock</source>
        <translation>die Teilung der MIDI-Clock ändert</translation>
    </message>
    <message>
        <source>Display rotation</source>
        <translation>Display-Drehung</translation>
    </message>
    <message>
        <source>Turns the picture on the display by 0, 90, 180 or 270 degrees.</source>
        <translation>Dreht das Bild auf dem Display um 0, 90, 180 oder 270 Grad.</translation>
    </message>
    <message>
        <source>Program change channel</source>
        <translation>Programmwechsel-Kanal</translation>
    </message>
    <message>
        <source>Chooses the song named by program changes arriving on this channel; Off ignores them.</source>
        <translation>Wählt den Song, den auf diesem Kanal eingehende Programmwechsel nennen; „Aus“ ignoriert sie.</translation>
    </message>
    <message>
        <source>Division</source>
        <translation>Teilung</translation>
    </message>
    <message>
        <source>The beat division at which the stack is sent again.</source>
        <translation>Die Schlagteilung, in der der Stack erneut gesendet wird.</translation>
    </message>
    <message>
        <source>Send stack</source>
        <translation>Stack senden</translation>
    </message>
    <message>
        <source>sends the song&apos;s MIDI stack</source>
        <translation>den MIDI-Stack des Songs sendet</translation>
    </message>
    <message>
        <source>Repeat stack</source>
        <translation>Stack wiederholen</translation>
    </message>
    <message>
        <source>starts or stops the repeating stack</source>
        <translation>den wiederholten Stack startet oder stoppt</translation>
    </message>
    <message>
        <source>MIDI clock</source>
        <translation>MIDI-Clock</translation>
    </message>
    <message>
        <source>starts or stops the MIDI clock</source>
        <translation>die MIDI-Clock startet oder stoppt</translation>
    </message>
    <message>
        <source>Delay between messages</source>
        <translation>Pause zwischen Nachrichten</translation>
    </message>
    <message>
        <source>Pause between the messages of a stack as the pedal sends them; 0 ms is the shortest.</source>
        <translation>Pause zwischen den Nachrichten eines Stacks beim Senden durch das Pedal; 0 ms ist die kürzeste.</translation>
    </message>
    <message>
        <source>Reset timers</source>
        <translation>Timer zurücksetzen</translation>
    </message>
    <message>
        <source>resets the pedal&apos;s timers</source>
        <translation>die Timer des Pedals zurücksetzt</translation>
    </message>
</context>
<context>
    <name>MessageType</name>
    <message>
        <source>Control</source>
        <translation>Controller</translation>
    </message>
    <message>
        <source>Program</source>
        <translation>Programm</translation>
    </message>
    <message>
        <source>Note Off</source>
        <translation>Note aus</translation>
    </message>
    <message>
        <source>Note On</source>
        <translation>Note an</translation>
    </message>
    <message>
        <source>Polyphonic KP</source>
        <translation>Polyphoner Tastendruck</translation>
    </message>
    <message>
        <source>Channel Pressure</source>
        <translation>Kanaldruck</translation>
    </message>
    <message>
        <source>Pitch Bend</source>
        <translation>Tonhöhenbeugung</translation>
    </message>
</context>
<context>
    <name>MidiPage</name>
    <message>
        <source>Midi Stack</source>
        <translation>MIDI-Stack</translation>
    </message>
    <message>
        <source>Reset Stack</source>
        <translation>Stack zurücksetzen</translation>
    </message>
    <message>
        <source>Preview Stack</source>
        <translation>Stack vorhören</translation>
    </message>
    <message>
        <source>Save Stack Names...</source>
        <translation>Stack-Namen speichern...</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>#</source>
        <translation>#</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Kanal</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>Value</source>
        <translation>Wert</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>%1 of Message %2 in Stack %3</source>
        <translation>%1 von Nachricht %2 in Stack %3</translation>
    </message>
    <message>
        <source>Reset Midi Stacks</source>
        <translation>MIDI-Stacks zurücksetzen</translation>
    </message>
    <message>
        <source>Reset Message %1 of Stack %2</source>
        <translation>Nachricht %1 von Stack %2 zurücksetzen</translation>
    </message>
    <message>
        <source>Name of Stack %1</source>
        <translation>Name von Stack %1</translation>
    </message>
    <message>
        <source>Reset Stack %1</source>
        <translation>Stack %1 zurücksetzen</translation>
    </message>
    <message>
        <source>Normalise Session</source>
        <translation>Sitzung bereinigen</translation>
    </message>
    <message>
        <source>Library</source>
        <translation>Bibliothek</translation>
    </message>
    <message>
        <source>Manufacturer</source>
        <translation>Hersteller</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Save Library...</source>
        <translation>Bibliothek speichern...</translation>
    </message>
    <message>
        <source>Clear Library</source>
        <translation>Bibliothek leeren</translation>
    </message>
    <message>
        <source>Copy from Library to Stack %1</source>
        <translation>Aus der Bibliothek in Stack %1 kopieren</translation>
    </message>
    <message>
        <source>Add to Library</source>
        <translation>Zur Bibliothek hinzufügen</translation>
    </message>
    <message>
        <source>Delete from Library</source>
        <translation>Aus der Bibliothek löschen</translation>
    </message>
    <message>
        <source>About to clear</source>
        <translation>Bibliothek wird geleert</translation>
    </message>
    <message>
        <source>Your Library will be cleared to hold no messages</source>
        <translation>Ihre Bibliothek wird geleert und enthält dann keine Nachrichten mehr</translation>
    </message>
</context>
<context>
    <name>PageTabs</name>
    <message>
        <source>Pages</source>
        <translation>Seiten</translation>
    </message>
</context>
<context>
    <name>PedalLogDock</name>
    <message>
        <source>Pedal Log</source>
        <translation>Pedal-Protokoll</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Leeren</translation>
    </message>
    <message>
        <source>Save…</source>
        <translation>Speichern…</translation>
    </message>
</context>
<context>
    <name>PedalSessionFlow</name>
    <message>
        <source>Sent 1 changed key in %1 s; the pedal has this session&apos;s values.</source>
        <translation>1 geänderter Schlüssel in %1 s gesendet; das Pedal hat die Werte dieser Sitzung.</translation>
    </message>
    <message>
        <source>Sent %1 changed keys in %2 s; the pedal has this session&apos;s values.</source>
        <translation>%1 geänderte Schlüssel in %2 s gesendet; das Pedal hat die Werte dieser Sitzung.</translation>
    </message>
    <message>
        <source>Normalise Session</source>
        <translation>Sitzung bereinigen</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>Nicht verbunden</translation>
    </message>
    <message>
        <source>Pedal state unknown</source>
        <translation>Pedalzustand unbekannt</translation>
    </message>
    <message>
        <source>Pedal matches</source>
        <translation>Pedal stimmt überein</translation>
    </message>
    <message>
        <source>Sending 1 change…</source>
        <translation>1 Änderung wird gesendet…</translation>
    </message>
    <message>
        <source>Sending %1 changes…</source>
        <translation>%1 Änderungen werden gesendet…</translation>
    </message>
    <message>
        <source>1 change not on the pedal</source>
        <translation>1 Änderung nicht auf dem Pedal</translation>
    </message>
    <message>
        <source>%1 changes not on the pedal</source>
        <translation>%1 Änderungen nicht auf dem Pedal</translation>
    </message>
    <message>
        <source>Reading the pedal to compare it with this session…</source>
        <translation>Pedal wird gelesen, um es mit dieser Sitzung zu vergleichen…</translation>
    </message>
    <message>
        <source>The pedal could not be compared</source>
        <translation>Das Pedal konnte nicht verglichen werden</translation>
    </message>
    <message>
        <source>Not all of the pedal&apos;s session arrived:
%1</source>
        <translation>Nicht die ganze Sitzung des Pedals ist angekommen:
%1</translation>
    </message>
    <message>
        <source>the pedal</source>
        <translation>dem Pedal</translation>
    </message>
    <message>
        <source>The pedal matches this session</source>
        <translation>Das Pedal stimmt mit dieser Sitzung überein</translation>
    </message>
    <message>
        <source>The pedal differs from this session in 1 place</source>
        <translation>Das Pedal weicht an 1 Stelle von dieser Sitzung ab</translation>
    </message>
    <message>
        <source>The pedal differs from this session in %1 places</source>
        <translation>Das Pedal weicht an %1 Stellen von dieser Sitzung ab</translation>
    </message>
    <message>
        <source>Send Changes gives the pedal this session&apos;s values; Load from Pedal replaces this session&apos;s with the pedal&apos;s; Compare shows each difference.</source>
        <translation>„Änderungen senden“ gibt dem Pedal die Werte dieser Sitzung; „Vom Pedal laden“ ersetzt die Werte dieser Sitzung durch die des Pedals; „Vergleichen“ zeigt jeden Unterschied.</translation>
    </message>
    <message>
        <source>Send Changes</source>
        <translation>Änderungen senden</translation>
    </message>
    <message>
        <source>Load from Pedal</source>
        <translation>Vom Pedal laden</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>Vergleichen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>The session on the pedal is not known</source>
        <translation>Die Sitzung auf dem Pedal ist nicht bekannt</translation>
    </message>
    <message>
        <source>Send Changes sends what differs from the session last sent to the pedal or loaded from it whole on this connection, and there is none: the pedal was connected, or a transfer was stopped, since.
Send All sends the whole session.</source>
        <translation>„Änderungen senden“ sendet, was von der Sitzung abweicht, die in dieser Verbindung zuletzt ganz an das Pedal gesendet oder von ihm geladen wurde, und eine solche gibt es nicht: Das Pedal wurde seither verbunden oder eine Übertragung abgebrochen.
„Alles senden“ sendet die ganze Sitzung.</translation>
    </message>
    <message>
        <source>Send All</source>
        <translation>Alles senden</translation>
    </message>
    <message>
        <source>Nothing to send</source>
        <translation>Nichts zu senden</translation>
    </message>
    <message>
        <source>The pedal already has every value of this session.</source>
        <translation>Das Pedal hat bereits jeden Wert dieser Sitzung.</translation>
    </message>
    <message numerus="yes">
        <source>… and %n more</source>
        <translation>
            <numerusform>… und %n weitere</numerusform>
            <numerusform>… und %n weitere</numerusform>
        </translation>
    </message>
    <message>
        <source>About to send</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>Will send the changes to the pedal:
%1
Pedal will indicate when finished</source>
        <translation>Die Änderungen werden an das Pedal gesendet:
%1
Das Pedal zeigt an, wenn es fertig ist</translation>
    </message>
    <message>
        <source>Loading the pedal&apos;s session to compare it with this one…</source>
        <translation>Die Sitzung des Pedals wird geladen, um sie mit dieser zu vergleichen…</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Compare</source>
        <translation>Vergleichen</translation>
    </message>
    <message>
        <source>The session could not be compared</source>
        <translation>Die Sitzung konnte nicht verglichen werden</translation>
    </message>
    <message>
        <source>Names cannot hold &quot;]&quot; or &quot;`&quot;; the text was not taken.</source>
        <translation>Namen dürfen weder „]“ noch „`“ enthalten; der Text wurde nicht übernommen.</translation>
    </message>
    <message>
        <source>%1 of Song %2</source>
        <translation>%1 von Song %2</translation>
    </message>
    <message>
        <source>&amp;Clear Menu</source>
        <translation>Menü &amp;leeren</translation>
    </message>
    <message>
        <source>%1: from %2 to %3</source>
        <translation>%1: von %2 bis %3</translation>
    </message>
    <message>
        <source>, or 0 on a Control row (the row is unused)</source>
        <translation>, oder 0 in einer Controller-Zeile (die Zeile ist unbenutzt)</translation>
    </message>
    <message>
        <source>Not taken. %1.</source>
        <translation>Nicht übernommen. %1.</translation>
    </message>
    <message>
        <source>Session files (%1 and files without extension)</source>
        <translation>Sitzungsdateien (%1 und Dateien ohne Endung)</translation>
    </message>
    <message>
        <source>Choose Firmware Image</source>
        <translation>Firmware-Abbild wählen</translation>
    </message>
    <message>
        <source>Firmware images (*.bin)</source>
        <translation>Firmware-Abbilder (*.bin)</translation>
    </message>
    <message>
        <source>Save Session</source>
        <translation>Sitzung speichern</translation>
    </message>
    <message>
        <source>Session files (%1)</source>
        <translation>Sitzungsdateien (%1)</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>Exportieren</translation>
    </message>
    <message>
        <source>%1 files (%2)</source>
        <translation>%1-Dateien (%2)</translation>
    </message>
</context>
<context>
    <name>RestoreBackupDialog</name>
    <message>
        <source>Restore Backup</source>
        <translation>Sicherung wiederherstellen</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Before</source>
        <translation>Vor</translation>
    </message>
    <message>
        <source>Session</source>
        <translation>Sitzung</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
</context>
<context>
    <name>SessionActions</name>
    <message>
        <source>Your changes are lost if you open another session without saving them.</source>
        <translation>Ihre Änderungen gehen verloren, wenn Sie eine andere Sitzung öffnen, ohne sie zu speichern.</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Don&apos;t Save</source>
        <translation>Nicht speichern</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Do you want to save the changes to this session?</source>
        <translation>Möchten Sie die Änderungen an dieser Sitzung speichern?</translation>
    </message>
    <message>
        <source>Unsaved Changes</source>
        <translation>Ungespeicherte Änderungen</translation>
    </message>
    <message>
        <source>Open Session</source>
        <translation>Sitzung öffnen</translation>
    </message>
    <message>
        <source>The file could not be saved</source>
        <translation>Die Datei konnte nicht gespeichert werden</translation>
    </message>
    <message>
        <source>The session could not be opened</source>
        <translation>Die Sitzung konnte nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Open %1</source>
        <translation>%1 öffnen</translation>
    </message>
    <message>
        <source>Normalise Session</source>
        <translation>Sitzung bereinigen</translation>
    </message>
    <message>
        <source>Reset Session</source>
        <translation>Sitzung zurücksetzen</translation>
    </message>
    <message>
        <source>This computer session will be reset to factory settings; your changes are lost if you do not save them.
Your pedal will remain the same</source>
        <translation>Diese Sitzung auf dem Computer wird auf Werkseinstellungen zurückgesetzt; Ihre Änderungen gehen verloren, wenn Sie sie nicht speichern.
Ihr Pedal bleibt unverändert</translation>
    </message>
    <message>
        <source>About to reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>This computer session will be reset to factory settings.
Your pedal will remain the same</source>
        <translation>Diese Sitzung auf dem Computer wird auf Werkseinstellungen zurückgesetzt.
Ihr Pedal bleibt unverändert</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Unbenannt</translation>
    </message>
</context>
<context>
    <name>SessionBackups</name>
    <message>
        <source>Firmware Update</source>
        <translation>Firmware-Aktualisierung</translation>
    </message>
    <message>
        <source>Load All</source>
        <translation>Alles laden</translation>
    </message>
    <message>
        <source>Send All</source>
        <translation>Alles senden</translation>
    </message>
    <message>
        <source>Send Changes</source>
        <translation>Änderungen senden</translation>
    </message>
    <message>
        <source>backup before %1: %2</source>
        <translation>Sicherung vor %1: %2</translation>
    </message>
    <message>
        <source>The backup could not be written</source>
        <translation>Die Sicherung konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Before %1 the session is saved to the backups folder, and that failed:
%2

Go on without a backup?</source>
        <translation>Vor „%1“ wird die Sitzung im Sicherungsordner gespeichert, und das ist fehlgeschlagen:
%2

Ohne Sicherung fortfahren?</translation>
    </message>
    <message>
        <source>There are no backups</source>
        <translation>Es gibt keine Sicherungen</translation>
    </message>
    <message>
        <source>A backup is written before every Send All, Send Changes, firmware update and Load All, in %1.</source>
        <translation>Vor jedem „Alles senden“, „Änderungen senden“, jeder Firmware-Aktualisierung und jedem „Alles laden“ wird eine Sicherung geschrieben, in %1.</translation>
    </message>
    <message>
        <source>Restore Backup of %1</source>
        <translation>Sicherung vom %1 wiederherstellen</translation>
    </message>
</context>
<context>
    <name>SessionCheck</name>
    <message>
        <source>The setlist is empty: the pedal has no setlist songs to step through</source>
        <translation>Die Setliste ist leer: Das Pedal hat keine Setlisten-Songs zum Durchschalten</translation>
    </message>
    <message>
        <source>Setlist positions %1 and %2 both hold Song %3: a song is played twice</source>
        <translation>Die Setlisten-Positionen %1 und %2 enthalten beide Song %3: Ein Song wird zweimal gespielt</translation>
    </message>
    <message>
        <source>Setlist positions %1 and %2: Song %3 and Song %4 share the name &quot;%5&quot;, so the pedal shows them alike</source>
        <translation>Setlisten-Positionen %1 und %2: Song %3 und Song %4 heißen beide „%5“, das Pedal zeigt sie also gleich an</translation>
    </message>
    <message>
        <source>Song %1: %2 &quot;Send MIDI Stack&quot; calls stack %3, which has no active message, so the press sends nothing</source>
        <translation>Song %1: %2 „MIDI-Stack senden“ ruft Stack %3 auf, der keine aktive Nachricht hat; der Tritt sendet also nichts</translation>
    </message>
    <message>
        <source>Song %1: %2 &quot;Go to Song&quot; goes to Song %3, which is not in the setlist</source>
        <translation>Song %1: %2 „Zu Song gehen“ springt zu Song %3, der nicht in der Setliste steht</translation>
    </message>
    <message>
        <source>Song %1: jack 1 is an expression input whose stack %2 has no active message, so the expression pedal sends nothing</source>
        <translation>Song %1: Buchse 1 ist ein Expression-Eingang, dessen Stack %2 keine aktive Nachricht hat; das Expression-Pedal sendet also nichts</translation>
    </message>
    <message>
        <source>Setlist position %1: Song %2 has no name</source>
        <translation>Setlisten-Position %1: Song %2 hat keinen Namen</translation>
    </message>
    <message>
        <source>Song %1 still has the factory tempo of 120 BPM; easy to forget when a song was named</source>
        <translation>Song %1 hat noch das Werkstempo von 120 BPM; leicht vergessen, wenn ein Song benannt wurde</translation>
    </message>
</context>
<context>
    <name>SessionHistory</name>
    <message>
        <source>Load from Pedal</source>
        <translation>Vom Pedal laden</translation>
    </message>
    <message>
        <source>Other Change</source>
        <translation>Andere Änderung</translation>
    </message>
</context>
<context>
    <name>SessionKeys</name>
    <message>
        <source>Songs</source>
        <translation>Songs</translation>
    </message>
    <message>
        <source>Set Jacks</source>
        <translation>Buchsen</translation>
    </message>
    <message>
        <source>Setlist</source>
        <translation>Setliste</translation>
    </message>
    <message>
        <source>Midi Management</source>
        <translation>MIDI-Verwaltung</translation>
    </message>
    <message>
        <source>Global Settings</source>
        <translation>Globale Einstellungen</translation>
    </message>
</context>
<context>
    <name>SetJacksPage</name>
    <message>
        <source>Tip</source>
        <translation>Spitze</translation>
    </message>
    <message>
        <source>Ring</source>
        <translation>Ring</translation>
    </message>
    <message>
        <source>Copy All Jacks to All Songs</source>
        <translation>Alle Buchsen auf alle Songs kopieren</translation>
    </message>
    <message>
        <source>Jack %1</source>
        <translation>Buchse %1</translation>
    </message>
    <message>
        <source>Copy to All Songs</source>
        <translation>Auf alle Songs kopieren</translation>
    </message>
    <message>
        <source>Copy Jack %1 to All Songs</source>
        <translation>Buchse %1 auf alle Songs kopieren</translation>
    </message>
    <message>
        <source>Mode</source>
        <translation>Modus</translation>
    </message>
    <message>
        <source>%1 footswitch</source>
        <translation>Fußschalter %1</translation>
    </message>
    <message>
        <source>Hold</source>
        <translation>Halten</translation>
    </message>
    <message>
        <source>Tap</source>
        <translation>Tippen</translation>
    </message>
    <message>
        <source>To all songs:</source>
        <translation>Auf alle Songs:</translation>
    </message>
    <message>
        <source>Functions</source>
        <translation>Funktionen</translation>
    </message>
    <message>
        <source>Songs</source>
        <translation>Songs</translation>
    </message>
    <message>
        <source>Stacks</source>
        <translation>Stacks</translation>
    </message>
    <message>
        <source>Copy %1 %2 %3 to All Songs</source>
        <translation>%1 %2 %3 auf alle Songs kopieren</translation>
    </message>
    <message>
        <source>Reset Set Jacks</source>
        <translation>Buchsen zurücksetzen</translation>
    </message>
</context>
<context>
    <name>SetlistPage</name>
    <message>
        <source>Songs (click to add, or drag into the setlist)</source>
        <translation>Songs (zum Hinzufügen klicken oder in die Setliste ziehen)</translation>
    </message>
    <message>
        <source>Setlist (drag to reorder; Delete removes, Ctrl+Up and Ctrl+Down move)</source>
        <translation>Setliste (zum Umordnen ziehen; Entf entfernt, Strg+Auf und Strg+Ab verschieben)</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>Nach oben</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>Nach unten</translation>
    </message>
    <message>
        <source>Add Song %1 to Setlist</source>
        <translation>Song %1 zur Setliste hinzufügen</translation>
    </message>
    <message>
        <source>Remove from Setlist</source>
        <translation>Aus der Setliste entfernen</translation>
    </message>
    <message>
        <source>Move Up in Setlist</source>
        <translation>In der Setliste nach oben</translation>
    </message>
    <message>
        <source>Move Down in Setlist</source>
        <translation>In der Setliste nach unten</translation>
    </message>
    <message>
        <source>Reset Setlist</source>
        <translation>Setliste zurücksetzen</translation>
    </message>
</context>
<context>
    <name>SetlistPrintFlow</name>
    <message>
        <source>Print Setlist</source>
        <translation>Setliste drucken</translation>
    </message>
    <message>
        <source>Setlist of %1</source>
        <translation>Setliste von %1</translation>
    </message>
    <message>
        <source>The setlist could not be printed</source>
        <translation>Die Setliste konnte nicht gedruckt werden</translation>
    </message>
    <message>
        <source>The printer could not be started.</source>
        <translation>Der Drucker konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>Export Setlist as PDF</source>
        <translation>Setliste als PDF exportieren</translation>
    </message>
    <message>
        <source>The PDF could not be made.</source>
        <translation>Das PDF konnte nicht erstellt werden.</translation>
    </message>
    <message>
        <source>The setlist could not be exported</source>
        <translation>Die Setliste konnte nicht exportiert werden</translation>
    </message>
    <message>
        <source>Which layout should the setlist have?</source>
        <translation>Welches Layout soll die Setliste haben?</translation>
    </message>
    <message>
        <source>Stage: one song a line in large type, to read from the floor.
Compact: a table of every song&apos;s tempo, program, bank, stack and jacks.</source>
        <translation>Bühne: ein Song pro Zeile in großer Schrift, vom Boden aus lesbar.
Kompakt: eine Tabelle mit Tempo, Programm, Bank, Stack und Buchsen jedes Songs.</translation>
    </message>
    <message>
        <source>Stage</source>
        <translation>Bühne</translation>
    </message>
    <message>
        <source>Compact</source>
        <translation>Kompakt</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>SharedLists</name>
    <message>
        <source>Song %1</source>
        <translation>Song %1</translation>
    </message>
</context>
<context>
    <name>SongTableModel</name>
    <message>
        <source>%1 on %2</source>
        <translation>%1 auf %2</translation>
    </message>
    <message>
        <source>no record</source>
        <translation>kein Eintrag</translation>
    </message>
    <message>
        <source>Sort Songs by %1</source>
        <translation>Songs nach %1 sortieren</translation>
    </message>
    <message>
        <source>Move Song %1</source>
        <translation>Song %1 verschieben</translation>
    </message>
    <message>
        <source>Move Songs</source>
        <translation>Songs verschieben</translation>
    </message>
    <message>
        <source>Move in Setlist</source>
        <translation>In der Setliste verschieben</translation>
    </message>
    <message>
        <source>Add Song %1 to Setlist</source>
        <translation>Song %1 zur Setliste hinzufügen</translation>
    </message>
    <message>
        <source>Add Songs to Setlist</source>
        <translation>Songs zur Setliste hinzufügen</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>BPM</source>
        <translation>BPM</translation>
    </message>
    <message>
        <source>ms</source>
        <translation>ms</translation>
    </message>
    <message>
        <source>Colour</source>
        <translation>Farbe</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
</context>
<context>
    <name>SongsCsvFlow</name>
    <message>
        <source>Import Songs from CSV</source>
        <translation>Songs aus CSV importieren</translation>
    </message>
    <message>
        <source>The songs could not be imported</source>
        <translation>Die Songs konnten nicht importiert werden</translation>
    </message>
    <message>
        <source>Not taken:</source>
        <translation>Nicht übernommen:</translation>
    </message>
    <message>
        <source>%1 changes no song</source>
        <translation>%1 ändert keinen Song</translation>
    </message>
    <message>
        <source>Import 1 song from %1</source>
        <translation>1 Song aus %1 importieren</translation>
    </message>
    <message>
        <source>Import %1 songs from %2</source>
        <translation>%1 Songs aus %2 importieren</translation>
    </message>
    <message>
        <source>The Compare dock lists the changes.</source>
        <translation>Das Vergleichsfenster listet die Änderungen auf.</translation>
    </message>
    <message>
        <source>… and %1 more</source>
        <translation>… und %1 weitere</translation>
    </message>
</context>
<context>
    <name>SongsPage</name>
    <message>
        <source>STATIC</source>
        <translation>STATISCH</translation>
    </message>
    <message>
        <source>TAP OUTPUT</source>
        <translation>TAP-AUSGANG</translation>
    </message>
    <message>
        <source>FOOTSWITCH</source>
        <translation>FUSSSCHALTER</translation>
    </message>
    <message>
        <source>EXPRESSION</source>
        <translation>EXPRESSION</translation>
    </message>
    <message>
        <source>CV</source>
        <translation>CV</translation>
    </message>
    <message>
        <source> is Static</source>
        <translation> ist statisch</translation>
    </message>
    <message>
        <source> is Footswitch Input</source>
        <translation> ist Fußschalter-Eingang</translation>
    </message>
    <message>
        <source> is Expression Input</source>
        <translation> ist Expression-Eingang</translation>
    </message>
    <message>
        <source> is Midi Output</source>
        <translation> ist MIDI-Ausgang</translation>
    </message>
    <message>
        <source> is CV Output</source>
        <translation> ist CV-Ausgang</translation>
    </message>
    <message>
        <source>Song</source>
        <translation>Song</translation>
    </message>
    <message>
        <source>Name (up to 5 lines, 30 characters)</source>
        <translation>Name (bis zu 5 Zeilen, 30 Zeichen)</translation>
    </message>
    <message>
        <source>Preview on Pedal</source>
        <translation>Auf dem Pedal anzeigen</translation>
    </message>
    <message>
        <source>Tempo and Display</source>
        <translation>Tempo und Anzeige</translation>
    </message>
    <message>
        <source>Tempo (BPM)</source>
        <translation>Tempo (BPM)</translation>
    </message>
    <message>
        <source>Tap fraction</source>
        <translation>Tap-Notenwert</translation>
    </message>
    <message>
        <source>Font size</source>
        <translation>Schriftgröße</translation>
    </message>
    <message>
        <source>Background colour</source>
        <translation>Hintergrundfarbe</translation>
    </message>
    <message>
        <source>Text colour</source>
        <translation>Textfarbe</translation>
    </message>
    <message>
        <source>Copy Colours to All Songs</source>
        <translation>Farben auf alle Songs kopieren</translation>
    </message>
    <message>
        <source>Tap Divisions</source>
        <translation>Tap-Teilungen</translation>
    </message>
    <message>
        <source>Jack %1</source>
        <translation>Buchse %1</translation>
    </message>
    <message>
        <source>MIDI clock</source>
        <translation>MIDI-Clock</translation>
    </message>
    <message>
        <source>Copy Divisions to All Songs</source>
        <translation>Teilungen auf alle Songs kopieren</translation>
    </message>
    <message>
        <source>MIDI</source>
        <translation>MIDI</translation>
    </message>
    <message>
        <source>MIDI stack</source>
        <translation>MIDI-Stack</translation>
    </message>
    <message>
        <source>MIDI clock on load</source>
        <translation>MIDI-Clock beim Laden</translation>
    </message>
    <message>
        <source>Repeating stack</source>
        <translation>Wiederholter Stack</translation>
    </message>
    <message>
        <source>Mimic footswitch</source>
        <translation>Fußschalter nachahmen</translation>
    </message>
    <message>
        <source>Program change</source>
        <translation>Programmwechsel</translation>
    </message>
    <message>
        <source>Bank change</source>
        <translation>Bankwechsel</translation>
    </message>
    <message>
        <source>Foot Switch</source>
        <translation>Fußschalter</translation>
    </message>
    <message>
        <source>Hold</source>
        <translation>Halten</translation>
    </message>
    <message>
        <source>Tap</source>
        <translation>Tippen</translation>
    </message>
    <message>
        <source>Copy Functions</source>
        <translation>Funktionen kopieren</translation>
    </message>
    <message>
        <source>Copy Songs</source>
        <translation>Songs kopieren</translation>
    </message>
    <message>
        <source>Copy Stacks</source>
        <translation>Stacks kopieren</translation>
    </message>
    <message>
        <source>To all songs</source>
        <translation>Auf alle Songs</translation>
    </message>
    <message>
        <source>Song # ?</source>
        <translation>Song Nr. ?</translation>
    </message>
    <message>
        <source>No song selected</source>
        <translation>Kein Song gewählt</translation>
    </message>
    <message>
        <source>Jack %1:</source>
        <translation>Buchse %1:</translation>
    </message>
    <message>
        <source>Song # %1</source>
        <translation>Song Nr. %1</translation>
    </message>
    <message>
        <source>Jack %1: %2</source>
        <translation>Buchse %1: %2</translation>
    </message>
    <message>
        <source>Jack %1%2</source>
        <translation>Buchse %1%2</translation>
    </message>
    <message>
        <source>Name of Song %1</source>
        <translation>Name von Song %1</translation>
    </message>
    <message>
        <source>This name is not taken: %1</source>
        <translation>Dieser Name wird nicht übernommen: %1</translation>
    </message>
    <message>
        <source>Normalise Session</source>
        <translation>Sitzung bereinigen</translation>
    </message>
    <message>
        <source>Reset Songs</source>
        <translation>Songs zurücksetzen</translation>
    </message>
</context>
<context>
    <name>TransferStatus</name>
    <message>
        <source>Sent all pages in %1 s</source>
        <translation>Alle Seiten in %1 s gesendet</translation>
    </message>
    <message>
        <source>Sent the %1 page in %2 s</source>
        <translation>Seite „%1“ in %2 s gesendet</translation>
    </message>
    <message>
        <source>Loaded all pages in %1 s</source>
        <translation>Alle Seiten in %1 s geladen</translation>
    </message>
    <message>
        <source>Loaded the %1 page in %2 s</source>
        <translation>Seite „%1“ in %2 s geladen</translation>
    </message>
    <message>
        <source>Compare this session with the pedal&apos;s</source>
        <translation>Diese Sitzung mit der des Pedals vergleichen</translation>
    </message>
    <message>
        <source>Updating firmware… %1 s</source>
        <translation>Firmware wird aktualisiert… %1 s</translation>
    </message>
    <message>
        <source>Connected: %1</source>
        <translation>Verbunden: %1</translation>
    </message>
    <message>
        <source>Not connected (%1 was disconnected)</source>
        <translation>Nicht verbunden (%1 wurde getrennt)</translation>
    </message>
    <message>
        <source>Not connected</source>
        <translation>Nicht verbunden</translation>
    </message>
    <message>
        <source>Transfer progress</source>
        <translation>Übertragungsfortschritt</translation>
    </message>
</context>
<context>
    <name>ViewController</name>
    <message>
        <source>Pedal &amp;Log</source>
        <translation>Pedal-&amp;Protokoll</translation>
    </message>
    <message>
        <source>&amp;Command Bar</source>
        <translation>&amp;Befehlsleiste</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>Virtual pedal attached at %1. Press Connect to use it.</source>
        <translation>Virtuelles Pedal an %1 angeschlossen. Drücken Sie „Verbinden“, um es zu verwenden.</translation>
    </message>
    <message>
        <source>The virtual pedal could not be started</source>
        <translation>Das virtuelle Pedal konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>The load is incomplete</source>
        <translation>Das Laden ist unvollständig</translation>
    </message>
    <message>
        <source>Not all of the data asked for arrived from the pedal:
%1
What arrived has been kept; load again to get the rest.</source>
        <translation>Nicht alle angeforderten Daten sind vom Pedal angekommen:
%1
Was angekommen ist, wurde behalten; laden Sie erneut, um den Rest zu erhalten.</translation>
    </message>
    <message>
        <source>%1[*] — Pedal Editor</source>
        <translation>%1[*] — Pedal-Editor</translation>
    </message>
    <message>
        <source>Normalise Session</source>
        <translation>Sitzung bereinigen</translation>
    </message>
    <message>
        <source>The virtual pedal is already attached</source>
        <translation>Das virtuelle Pedal ist bereits angeschlossen</translation>
    </message>
    <message>
        <source>Its port is %1. Press Connect to use it.</source>
        <translation>Sein Port ist %1. Drücken Sie „Verbinden“, um es zu verwenden.</translation>
    </message>
    <message>
        <source>The virtual pedal is not available</source>
        <translation>Das virtuelle Pedal ist nicht verfügbar</translation>
    </message>
    <message>
        <source>The program virtual-pedal was found neither next to the editor, nor in the build tree&apos;s tools folder, nor on PATH.</source>
        <translation>Das Programm virtual-pedal wurde weder neben dem Editor noch im Werkzeugordner des Build-Baums noch im PATH gefunden.</translation>
    </message>
    <message>
        <source>Starting the virtual pedal…</source>
        <translation>Das virtuelle Pedal wird gestartet…</translation>
    </message>
    <message>
        <source>Pedal Editor %1</source>
        <translation>Pedal-Editor %1</translation>
    </message>
    <message>
        <source>Qt %1
Session format of %2 keys</source>
        <translation>Qt %1
Sitzungsformat mit %2 Schlüsseln</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About Pedal Editor</source>
        <translation>Über Pedal-Editor</translation>
    </message>
    <message>
        <source>Your changes are lost if you close without saving them.</source>
        <translation>Ihre Änderungen gehen verloren, wenn Sie schließen, ohne sie zu speichern.</translation>
    </message>
</context>
<context>
    <name>VirtualPedalProcess</name>
    <message>
        <source>The virtual pedal ended before it was ready (exit code %1).</source>
        <translation>Das virtuelle Pedal wurde beendet, bevor es bereit war (Exit-Code %1).</translation>
    </message>
    <message>
        <source>The virtual pedal did not name its device.</source>
        <translation>Das virtuelle Pedal hat sein Gerät nicht genannt.</translation>
    </message>
</context>
<context>
    <name>WidgetDialogs</name>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>WindowCommands</name>
    <message>
        <source>&amp;Open…</source>
        <translation>Ö&amp;ffnen…</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save &amp;As…</source>
        <translation>Speichern &amp;unter…</translation>
    </message>
    <message>
        <source>Compare with &amp;File…</source>
        <translation>Mit &amp;Datei vergleichen…</translation>
    </message>
    <message>
        <source>Restore &amp;Backup…</source>
        <translation>Sicherung &amp;wiederherstellen…</translation>
    </message>
    <message>
        <source>&amp;Reset Session…</source>
        <translation>Sitzung &amp;zurücksetzen…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>&amp;Connect</source>
        <translation>&amp;Verbinden</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Plug the pedal in after starting the editor, then connect (Ctrl+K).</source>
        <translation>Schließen Sie das Pedal nach dem Start des Editors an und verbinden Sie dann (Strg+K).</translation>
    </message>
    <message>
        <source>&amp;Send All…</source>
        <translation>Alles &amp;senden…</translation>
    </message>
    <message>
        <source>Send All</source>
        <translation>Alles senden</translation>
    </message>
    <message>
        <source>Send the whole session to the pedal (Ctrl+Shift+U).</source>
        <translation>Die ganze Sitzung an das Pedal senden (Strg+Umschalt+U).</translation>
    </message>
    <message>
        <source>&amp;Load All…</source>
        <translation>Alles &amp;laden…</translation>
    </message>
    <message>
        <source>Load All</source>
        <translation>Alles laden</translation>
    </message>
    <message>
        <source>Load the whole session from the pedal (Ctrl+Shift+L).</source>
        <translation>Die ganze Sitzung vom Pedal laden (Strg+Umschalt+L).</translation>
    </message>
    <message>
        <source>Send C&amp;hanges…</source>
        <translation>Ä&amp;nderungen senden…</translation>
    </message>
    <message>
        <source>&amp;Live Updates</source>
        <translation>&amp;Live-Aktualisierung</translation>
    </message>
    <message>
        <source>Send every change to the pedal as it is made, once the pedal&apos;s session is known.</source>
        <translation>Jede Änderung sofort an das Pedal senden, sobald die Sitzung des Pedals bekannt ist.</translation>
    </message>
    <message>
        <source>Compare on Co&amp;nnect</source>
        <translation>Beim &amp;Verbinden vergleichen</translation>
    </message>
    <message>
        <source>After Connect, read the pedal and say whether it holds this session.</source>
        <translation>Nach dem Verbinden das Pedal lesen und melden, ob es diese Sitzung enthält.</translation>
    </message>
    <message>
        <source>Com&amp;pare with Pedal…</source>
        <translation>Mit &amp;Pedal vergleichen…</translation>
    </message>
    <message>
        <source>&amp;Factory Reset…</source>
        <translation>&amp;Werkseinstellungen…</translation>
    </message>
    <message>
        <source>Factory Reset Pedal</source>
        <translation>Pedal auf Werkseinstellungen</translation>
    </message>
    <message>
        <source>&amp;Upload Firmware…</source>
        <translation>Firmware &amp;aufspielen…</translation>
    </message>
    <message>
        <source>Upload Firmware</source>
        <translation>Firmware aufspielen</translation>
    </message>
    <message>
        <source>Attach &amp;Virtual Pedal</source>
        <translation>&amp;Virtuelles Pedal anschließen</translation>
    </message>
    <message>
        <source>&amp;Refresh</source>
        <translation>&amp;Aktualisieren</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Show the session again on every page (F5).</source>
        <translation>Die Sitzung auf jeder Seite neu anzeigen (F5).</translation>
    </message>
    <message>
        <source>&amp;About Pedal Editor</source>
        <translation>Ü&amp;ber Pedal-Editor</translation>
    </message>
    <message>
        <source>Cancel Transfer</source>
        <translation>Übertragung abbrechen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stop the send or load (Esc).</source>
        <translation>Das Senden oder Laden abbrechen (Esc).</translation>
    </message>
    <message>
        <source>Send Songs</source>
        <translation>Songs senden</translation>
    </message>
    <message>
        <source>Load Songs</source>
        <translation>Songs laden</translation>
    </message>
    <message>
        <source>Reset Songs</source>
        <translation>Songs zurücksetzen</translation>
    </message>
    <message>
        <source>Send Set Jacks</source>
        <translation>Buchsen senden</translation>
    </message>
    <message>
        <source>Load Set Jacks</source>
        <translation>Buchsen laden</translation>
    </message>
    <message>
        <source>Reset Set Jacks</source>
        <translation>Buchsen zurücksetzen</translation>
    </message>
    <message>
        <source>Send Setlist</source>
        <translation>Setliste senden</translation>
    </message>
    <message>
        <source>Load Setlist</source>
        <translation>Setliste laden</translation>
    </message>
    <message>
        <source>Reset Setlist</source>
        <translation>Setliste zurücksetzen</translation>
    </message>
    <message>
        <source>Send Midi Management</source>
        <translation>MIDI-Verwaltung senden</translation>
    </message>
    <message>
        <source>Load Midi Management</source>
        <translation>MIDI-Verwaltung laden</translation>
    </message>
    <message>
        <source>Reset Midi Stacks</source>
        <translation>MIDI-Stacks zurücksetzen</translation>
    </message>
    <message>
        <source>Send Global Settings</source>
        <translation>Globale Einstellungen senden</translation>
    </message>
    <message>
        <source>Load Global Settings</source>
        <translation>Globale Einstellungen laden</translation>
    </message>
    <message>
        <source>Reset Global Settings</source>
        <translation>Globale Einstellungen zurücksetzen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Pedal</source>
        <translation>&amp;Pedal</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Befehle</translation>
    </message>
    <message>
        <source>&amp;Dark Look</source>
        <translation>&amp;Dunkle Darstellung</translation>
    </message>
    <message>
        <source>Light text on dark grounds, for a dark stage; the choice is kept.</source>
        <translation>Helle Schrift auf dunklem Grund, für eine dunkle Bühne; die Wahl bleibt erhalten.</translation>
    </message>
    <message>
        <source>Chec&amp;k Session…</source>
        <translation>Sitzung &amp;prüfen…</translation>
    </message>
    <message>
        <source>List what to mend in the session before a gig.</source>
        <translation>Auflisten, was vor dem Auftritt in der Sitzung zu beheben ist.</translation>
    </message>
    <message>
        <source>&amp;Print Setlist…</source>
        <translation>Setliste dru&amp;cken…</translation>
    </message>
    <message>
        <source>Export Setlist as P&amp;DF…</source>
        <translation>Setliste als PDF e&amp;xportieren…</translation>
    </message>
    <message>
        <source>&amp;Export Songs as CSV…</source>
        <translation>Songs als CSV &amp;exportieren…</translation>
    </message>
    <message>
        <source>&amp;Import Songs from CSV…</source>
        <translation>Songs aus CSV &amp;importieren…</translation>
    </message>
    <message>
        <source>Set &amp;Jacks</source>
        <translation>Buc&amp;hsen</translation>
    </message>
    <message>
        <source>&amp;Songs</source>
        <translation>&amp;Songs</translation>
    </message>
    <message>
        <source>Set&amp;list</source>
        <translation>Set&amp;liste</translation>
    </message>
    <message>
        <source>&amp;Midi Management</source>
        <translation>&amp;MIDI-Verwaltung</translation>
    </message>
    <message>
        <source>&amp;Global Settings</source>
        <translation>&amp;Globale Einstellungen</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Pedal Editor</source>
        <translation>Pedal-Editor</translation>
    </message>
</context>
</TS>

#pragma once
// The file commands of the main toolbar: each runs one whole command against
// the current terrain and the shared state, reporting through the runtime's
// user-interface service and refreshing the window through MainView.

class MainView;

namespace FileCommands {

void cmdNew(MainView& view);       // "Neu"
void cmdOpen(MainView& view);      // "Öffnen"
void cmdSave(MainView& view);      // "Speichern"
void cmdSaveAs(MainView& view);    // "SpeichernAls"
void cmdClear(MainView& view);     // "Löschen"
void cmdBackup(MainView& view);    // "Backup"
void cmdRestore(MainView& view);   // "Restore"
void cmdTerragen(MainView& view);  // "Terragen"

// The close question: true when the window may close (saved, or the user
// answered No); Yes saves first and a cancelled save keeps the window open.
bool queryClose(MainView& view);

} // namespace FileCommands

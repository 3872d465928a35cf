#include "app/FileCommands.h"

#include "app/MainView.h"

// Placeholder bodies until the file commands land.
namespace FileCommands {
void cmdNew(MainView&) {}
void cmdOpen(MainView&) {}
void cmdSave(MainView&) {}
void cmdSaveAs(MainView&) {}
void cmdClear(MainView&) {}
void cmdBackup(MainView&) {}
void cmdRestore(MainView&) {}
void cmdTerragen(MainView&) {}
bool queryClose(MainView&) { return true; }
} // namespace FileCommands

#pragma once
// The editor's shared state: the values the start routine sets, the main
// window reads and the dialogs hand back. The terrain itself, its file name and
// the empty/saved flags live with the terrain (terrain/TerrainGlobals.h), the
// busy flag in the runtime (rt::BusyFlag), the palette with the picture code
// (terrain/Palette.h) and the settings path in vbConfig.

#include "generate/Elevator.h"
#include "objects/mdlObjects.h"

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

// --- values handed between windows and commands -------------------------------
extern int16_t SaveType;               // 0 cancelled, 1 TER, 2 24-bit bitmap, 3 bitmap of chosen size
extern int16_t BitmapSize;             // side of a bitmap export in pixels; 0 = cancelled

// --- view zoom ----------------------------------------------------------------
extern double ZoomFactor;              // 1.0 = 100 %, kept within 0.25 .. 4
extern float MaxViewSize;              // largest side of the height-map view in pixels

// --- settings read at start ---------------------------------------------------
extern int16_t ResizeMode;             // [Start] OptZoom: 0 never set, 1 bilinear, 2 pixel repetition;
                                       // any other number is kept and doubles to a flat grid
// ObjectDirectory ([Directory] Objects): objects/mdlObjects.h.
extern QString LastDirectory;          // [Directory] Terrain
extern QString FileDialogFolder;       // start folder of the Save dialog: [Directory] terragen from the
                                       // start until an Open or a save picks the terrain folder
extern QString StartFile;              // the command-line file when it exists, else ""

// --- generator, effects and elevator ------------------------------------------
extern int32_t RandomSeed;             // perlin seed, 0 .. 999999
extern int16_t CombineMode;            // 1 .. 6
extern std::array<int16_t, 100> EffectFactors;  // strength per effect code (1 .. 12 used)
// The elevator grid, its file and the current set: generate/Elevator.h.

// --- main-window state the commands share -------------------------------------
extern bool BackupExists;              // Backup was pressed since the start; enables Restore
extern bool ObjectsPresent;            // placed objects exist; disables Zoom in/out

// --- the rules for TerrainEmpty and TerrainSaved -------------------------------
// Pens, brushes, fills, generating into the terrain, merging objects.
void markTerrainChanged();
// New or Clear answered Yes: nothing to save any more.
void markTerrainCleared();
// A TER, picture or HGT file was opened, or the start file loaded: the terrain
// is no longer empty. TerrainSaved stays as it was, since opening is no edit.
void markTerrainLoaded();
// FileSave wrote the terrain (TER or bitmap).
void markTerrainSavedByFileSave();
// A named terrain written directly, or saved before starting Terragen.
void markTerrainSaved();
// Closing asks the save question exactly when neither flag is set.
bool closingNeedsSaveQuestion();

// Version shown in the about box.
struct ProgramVersion {
    int major;
    int minor;
    int revision;
};
ProgramVersion programVersion();

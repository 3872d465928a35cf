#pragma once
// The file types the open dialogs offer: one table of texts and patterns, from
// which each dialog builds its filter and to which the filter the user chose
// maps back.

#include <QString>

#include <optional>

namespace OpenFileTypes {

// How a file of a type is read.
enum class Reader { Ter, Picture, Hgt };

// The dialogs that open files, each with its own choice and order of types.
enum class Dialog {
    TerrainOpen,  // the main toolbar's Open
    ObjectLoad,   // an object on the terrain: pictures and terrains
    MaskLoad,     // the object maker's mask: pictures only
};

// The dialog's filter "text|pattern|text|pattern…".
QString filter(Dialog dialog);

// The reader of the dialog's filter at the 1-based index; nothing when the
// index is none of the dialog's filters.
std::optional<Reader> readerOf(Dialog dialog, int filterIndex);

// The reader a file name's extension suggests, for a filter that says nothing:
// ".ter" and ".hgt" files by their own readers, anything else as a picture.
Reader readerByName(const QString& fileName);

} // namespace OpenFileTypes

#pragma once
// What the editor and the metafile drawer kv_wmfdraw agree on. The drawer
// reads a metafile's bytes on standard input and answers on standard output
// with the picture, or on standard error with why it refused it.

#include <cstdint>

namespace wmfdraw {

inline constexpr char kProgramName[] = "kv_wmfdraw";

// The drawer's exit codes; a crash or a kill is told by the signal instead.
enum Exit : int {
    Drawn = 0,        // the picture follows on standard output
    Refused = 2,      // the reason, one line, on standard error
    OutOfMemory = 3,  // an allocation failed under the memory limit
};

// The picture on standard output: this tag, then width and height as 32-bit
// little-endian numbers, then height rows of width 32-bit pixels (QImage's
// Format_RGB32 as it lies in memory on a little-endian machine).
inline constexpr char kPictureTag[4] = {'K', 'V', 'W', 'D'};
inline constexpr int kPictureHeaderBytes = 12;

} // namespace wmfdraw

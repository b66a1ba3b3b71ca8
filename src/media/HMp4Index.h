#pragma once

#include <QtGlobal>

class QIODevice;

// Where an MP4 or MOV file keeps its index (the "moov" box), from the top-level box headers alone:
// what tells a file cut short from one that a server without seeking cannot play.
namespace HMp4Index {

enum class Layout
{
    NotMp4,     // the first box is no file type box, or no box at all
    IndexFirst, // the index comes before the samples: plays from the start of a plain download
    IndexLast,  // the samples come first: a player must seek to the end before the first picture
    NoIndex,    // the whole file was read and holds no index
    CutShort,   // a box runs past the end of the file: the file was not written or copied to its end
    Unknown,    // only the start of the file is at hand, and it does not say yet
};

// Reads box headers from the device's current position. `complete` says whether the device holds
// the whole file (a local file) or only its first bytes (the start of a download).
Layout inspect(QIODevice& device, bool complete);

} // namespace HMp4Index

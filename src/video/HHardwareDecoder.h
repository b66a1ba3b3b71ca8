#pragma once

#include <QString>

// Whether the machine offers the video decoder that libvlc's hardware decoding would use. Asked
// before hardware decoding is chosen, so that a machine without one decodes in software on purpose,
// with a line in the log saying why, instead of leaving it to libvlc.
namespace HHardwareDecoder {
// False with the reason in `why` when there is none.
bool available(QString* why);
} // namespace HHardwareDecoder

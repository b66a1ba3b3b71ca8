#pragma once

#include <QByteArray>

class QIODevice;

// The XMP packet of a JPEG (APP1) or PNG (iTXt) photo, with the picture's size, found by walking
// segments or chunks with every length checked; at most a few MB are read.
class HPhotoXmpReader
{
public:
    struct Result
    {
        bool recognised = false; // a JPEG or PNG signature
        QByteArray xmp;
        int width = 0;
        int height = 0;
    };

    static Result read(QIODevice& device);
};

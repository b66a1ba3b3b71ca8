#pragma once

#include <QImage>

// A moving picture for a panorama: hues round the horizon, a grid every 30 degrees of yaw, the
// compass letters ("N" in the middle of the frame, "E" a quarter turn to its right), a ball that
// goes once round in 300 frames and the frame's number under each letter.
class TestPattern
{
public:
    // The frame as red, green, blue bytes (QImage::Format_RGB888).
    const QImage& frame(const QSize& size, quint64 frameNumber);

private:
    void drawBackground(const QSize& size);

    QImage background;
    QImage current;
};

#pragma once

#include <QImage>
#include <QRect>
#include <QTest>

#include <functional>

// What the sample media look like on the screen: a sky, a horizon, a ground band and a red "N"
// straight ahead (README, "Sample media").
namespace SampleScene {

struct Red
{
    int count = 0;
    double x = 0;
};

inline bool isSky(QRgb c)
{
    return qBlue(c) > 110 && qBlue(c) > qRed(c) + 50 && qBlue(c) > qGreen(c) + 20;
}
inline bool isRed(QRgb c)
{
    return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90;
}
inline bool isGround(QRgb c)
{
    return qGreen(c) > 70 && qGreen(c) > qBlue(c) + 25 && qGreen(c) >= qRed(c);
}

inline int count(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            n += test(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return n;
}

// The red letter, above where the control bar (whose timeline is of a similar red) comes up.
inline Red red(const QImage& image)
{
    Red result;
    for (int y = 0; y < image.height() - 45; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isRed(image.pixel(x, y))) {
                ++result.count;
                result.x += x;
            }
        }
    }
    result.x /= qMax(result.count, 1);
    return result;
}

// Waits until the picture is on the screen, undimmed by a popup: mostly sky, some ground. The
// picture can come up before the greeting has faded in, so it must still be undimmed a moment later.
inline bool showsPicture(const std::function<QImage()>& grab)
{
    const auto undimmed = [&] {
        const QImage image = grab();
        const QRect all = image.rect();
        return count(image, all, isSky) > all.width() * all.height() / 4 &&
               count(image, all, isGround) > all.width() * all.height() / 20;
    };
    return QTest::qWaitFor(
        [&] {
            if (!undimmed()) {
                return false;
            }
            QTest::qWait(600);
            return undimmed();
        },
        30000);
}

} // namespace SampleScene

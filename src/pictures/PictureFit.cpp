#include "pictures/PictureFit.h"

#include <cmath>

namespace pictures {

namespace {

// To the nearest whole number, a half going to the even neighbour.
std::int32_t roundEven(double value)
{
    return std::int32_t(std::nearbyint(value));
}

} // namespace

FitSize fitPicture(double boxWidth, double boxHeight, std::int32_t pictureWidth, std::int32_t pictureHeight)
{
    FitSize fit;
    if (pictureWidth <= 0 || pictureHeight <= 0)
        return fit;
    const double pw = pictureWidth, ph = pictureHeight;
    fit.width = roundEven(pw / ph * boxWidth * 0.75);
    if (boxWidth < fit.width)
        fit.width = roundEven(boxWidth);
    fit.height = roundEven(boxHeight);
    if (ph < pw) {
        fit.height = roundEven(ph / pw * boxHeight * 1.3333333);
        if (boxHeight < fit.height)
            fit.height = roundEven(boxHeight);
    }
    return fit;
}

std::int32_t moveFitWidth(double boxWidth, std::int32_t pictureWidth, std::int32_t pictureHeight)
{
    if (pictureWidth <= 0 || pictureHeight <= 0)
        return roundEven(boxWidth);
    if (pictureWidth < pictureHeight) {
        const double ratio = double(pictureWidth) / double(pictureHeight);
        return roundEven(ratio * ratio * boxWidth);
    }
    return roundEven(boxWidth);
}

SlotTries nextSlotTries(int current)
{
    if (current == 1)
        return {{2, 3, 0}};
    if (current >= 2 && current <= 7)
        return {{current + 1, 0, 0}};
    return {};
}

SlotTries previousSlotTries(int current)
{
    if (current == 3)
        return {{2, 1, 0}};
    if (current >= 2 && current <= 8)
        return {{current - 1, 0, 0}};
    return {};
}

} // namespace pictures

#pragma once

#include <cstdint>

// How a picture is fitted into the picture window's display box. Sizes of the box and
// the results are twips; a picture's size only counts by its ratio.
namespace pictures {

struct FitSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// The fit of opening, pasting and changing a picture: the picture keeps its proportions,
// fills the box's height when it is as high as wide or higher, and otherwise whichever
// of the box's width or height it reaches first. The box is 4 wide by 3 high.
FitSize fitPicture(double boxWidth, double boxHeight, std::int32_t pictureWidth, std::int32_t pictureHeight);

// The width with which a move between slots paints a picture, always at the box's full
// height: a picture higher than wide gets the square of its ratio times the box's width,
// any other the whole width.
std::int32_t moveFitWidth(double boxWidth, std::int32_t pictureWidth, std::int32_t pictureHeight);

// The slots a move tries from the current slot, in order, ending with 0. Only slot 2 is
// ever passed over: Next from 1 tries 2 then 3, Previous from 3 tries 2 then 1.
struct SlotTries {
    int order[3] = {0, 0, 0};
};
SlotTries nextSlotTries(int current);
SlotTries previousSlotTries(int current);

} // namespace pictures

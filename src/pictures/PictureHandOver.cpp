#include "pictures/PictureHandOver.h"

PictureHandOver gPictureHandOver;

void PictureHandOver::reset()
{
    *this = PictureHandOver();
}

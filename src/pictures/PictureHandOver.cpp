#include "pictures/PictureHandOver.h"

int gPictureSlot = 1;
bool gPastePicture = false;
bool gPictureChanged = false;

#pragma once

// What the opener of the picture window hands over and reads back: the slot (1..8) of the
// edited contact the window works on, whether it starts from the clipboard's picture, and
// whether it changed a picture name of that contact. The window's file goes through
// CMDialog1's file name.
struct PictureHandOver {
    int gPictureSlot = 1;
    bool gPastePicture = false;
    bool gPictureChanged = false;

    // Back to the values the program starts with.
    void reset();
};
extern PictureHandOver gPictureHandOver;

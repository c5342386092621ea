#include "addressbooks/BookletImposition.h"

BookletImposition ImposeBooklet(int PanelCount)
{
    BookletImposition imposition;
    // Each side holds a quarter of the panels' rows: side 1 pairs the last panel with
    // the first and works inwards; side 2 pairs their neighbours.
    for (int row = 0; row < PanelCount / 4; ++row) {
        imposition.side1.push_back({PanelCount - 2 * row, 1 + 2 * row});
        imposition.side2.push_back({2 + 2 * row, PanelCount - 1 - 2 * row});
    }
    return imposition;
}

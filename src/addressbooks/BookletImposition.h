#pragma once

#include <vector>

// Two panels printed side by side, line by line: the left one at the left of the
// sheet, the right one beside it.
struct PanelRow {
    int left = 0;
    int right = 0;

    friend bool operator==(const PanelRow &, const PanelRow &) = default;
};

// The order the pocket book's panels are printed in, so that the sheets, printed on
// both sides, cut into rows, stacked with the first row outermost and folded in the
// middle, give panels 1 to P in page order. Two rows fill one side of a sheet.
struct BookletImposition {
    // Rows on the first side of the sheets, top of the first sheet first.
    std::vector<PanelRow> side1;
    // Rows on the other side, after the paper is turned over.
    std::vector<PanelRow> side2;

    static constexpr int RowsPerSheetSide = 2;
};

// PanelCount is a multiple of 4; 0 gives no rows.
BookletImposition ImposeBooklet(int PanelCount);

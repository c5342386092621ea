#pragma once

#include "platform/gdi/GdiTypes.h"

#include <cstddef>
#include <cstdint>

// The small GDI that the bitmap class and the JPEG encoder draw with. The calls keep
// the Windows names, arguments and results, so that their callers read like the
// platform code they stand in for. Every call refuses a handle that is not live.
namespace platform {

// Contexts. A display context ("DISPLAY", or the desktop window's) has no bitmap and
// serves only to make compatible memory contexts; a new memory context holds a stock
// 1x1 monochrome bitmap until another is selected.
HDC CreateDCA(const char *driver, const char *device, const char *output, const void *initData);
HDC CreateCompatibleDC(HDC hdc);
bool DeleteDC(HDC hdc);
HWND GetDesktopWindow();
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);

// Objects. SelectObject returns the bitmap selected before, or null when the context
// or the bitmap is not live or the bitmap is already selected into another context.
// DeleteObject refuses a bitmap that is selected into a context and the stock bitmap.
HBITMAP SelectObject(HDC hdc, HBITMAP bitmap);
bool DeleteObject(HBITMAP bitmap);
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO *info, std::uint32_t usage, void **bits, void *section,
                         std::uint32_t offset);
int GetObjectA(HBITMAP bitmap, int size, BITMAP *out);
inline int GetObject(HBITMAP bitmap, int size, BITMAP *out)
{
    return GetObjectA(bitmap, size, out);
}

// Copies scan lines of a bitmap into the layout that the header describes. With no
// bits it fills in the header instead. An indexed layout of the bitmap's own depth
// receives its indexes and its colour table; any other indexed layout receives each
// pixel matched to the colour table given.
int GetDIBits(HDC hdc, HBITMAP bitmap, unsigned start, unsigned lines, void *bits, BITMAPINFO *info,
              std::uint32_t usage);

// The colour table of the bitmap selected into a context: 0 when it has none.
unsigned GetDIBColorTable(HDC hdc, unsigned start, unsigned entries, RGBQUAD *colours);
unsigned SetDIBColorTable(HDC hdc, unsigned start, unsigned entries, const RGBQUAD *colours);

// HALFTONE stretches by area averaging; COLORONCOLOR (and the two monochrome modes)
// by picking the nearest pixel. Returns the previous mode, 0 on failure.
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);

// Blits between memory contexts, clipped to both bitmaps; a destination with a colour
// table receives each colour matched to its nearest entry.
bool BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            std::uint32_t rop);
bool StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, std::uint32_t rop);
// Maps the source rectangle onto the parallelogram whose upper-left, upper-right and
// lower-left corners are the three points; no mask is supported.
bool PlgBlt(HDC dest, const POINT points[3], HDC source, int sourceX, int sourceY, int width, int height,
            HBITMAP mask, int maskX, int maskY);

// For the layer's own users: the bitmap behind a live handle, or null.
GdiBitmap *liveBitmap(HBITMAP bitmap);
DeviceContext *liveContext(HDC hdc);
// How many contexts and bitmaps are live, the stock bitmap included: what a piece of work
// made and did not give back shows as a difference.
std::size_t liveObjects();

} // namespace platform

#include "platform/gdi/Gdi.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiBitmap.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace platform {

namespace {

// Every live object, owned here; a handle is valid exactly while it is in this table.
struct ObjectTable {
    std::mutex mutex;
    std::unordered_map<DeviceContext *, std::unique_ptr<DeviceContext>> contexts;
    std::unordered_map<GdiBitmap *, std::unique_ptr<GdiBitmap>> bitmaps;
    GdiBitmap *stockBitmap = nullptr;
};

ObjectTable &table()
{
    static ObjectTable *objects = [] {
        auto *t = new ObjectTable;
        auto stock = GdiBitmap::make(1, 1, 1, false);
        stock->stock = true;
        stock->colours()[1] = RGBQUAD{255, 255, 255, 0};
        t->stockBitmap = stock.get();
        t->bitmaps.emplace(stock.get(), std::move(stock));
        return t;
    }();
    return *objects;
}

HDC addContext(DeviceContext::Kind kind)
{
    auto &t = table();
    auto dc = std::make_unique<DeviceContext>(kind);
    if (kind == DeviceContext::Kind::Memory)
        dc->bitmap = t.stockBitmap;
    std::lock_guard lock(t.mutex);
    HDC handle = dc.get();
    t.contexts.emplace(handle, std::move(dc));
    return handle;
}

char desktopWindow;

} // namespace

DeviceContext *liveContext(HDC hdc)
{
    auto &t = table();
    std::lock_guard lock(t.mutex);
    return t.contexts.count(hdc) ? hdc : nullptr;
}

GdiBitmap *liveBitmap(HBITMAP bitmap)
{
    auto &t = table();
    std::lock_guard lock(t.mutex);
    return t.bitmaps.count(bitmap) ? bitmap : nullptr;
}

std::size_t liveObjects()
{
    auto &t = table();
    std::lock_guard lock(t.mutex);
    return t.contexts.size() + t.bitmaps.size();
}

HDC CreateDCA(const char *driver, const char *, const char *, const void *)
{
    if (driver == nullptr || std::strcmp(driver, "DISPLAY") != 0)
        return nullptr;
    return addContext(DeviceContext::Kind::Display);
}

HDC CreateCompatibleDC(HDC hdc)
{
    if (hdc != nullptr && liveContext(hdc) == nullptr)
        return nullptr;
    return addContext(DeviceContext::Kind::Memory);
}

bool DeleteDC(HDC hdc)
{
    auto &t = table();
    std::lock_guard lock(t.mutex);
    auto it = t.contexts.find(hdc);
    if (it == t.contexts.end())
        return false;
    // The bitmap outlives the context, as it does on the platform; it is only deselected.
    if (hdc->bitmap != nullptr && hdc->bitmap->selectedInto == hdc)
        hdc->bitmap->selectedInto = nullptr;
    t.contexts.erase(it);
    return true;
}

HWND GetDesktopWindow()
{
    return &desktopWindow;
}

HDC GetDC(HWND hwnd)
{
    if (hwnd != &desktopWindow && hwnd != nullptr)
        return nullptr;
    return addContext(DeviceContext::Kind::Display);
}

int ReleaseDC(HWND, HDC hdc)
{
    return DeleteDC(hdc) ? 1 : 0;
}

HBITMAP SelectObject(HDC hdc, HBITMAP bitmap)
{
    if (liveContext(hdc) == nullptr || liveBitmap(bitmap) == nullptr)
        return nullptr;
    if (hdc->kind() != DeviceContext::Kind::Memory)
        return nullptr;
    if (!bitmap->stock && bitmap->selectedInto != nullptr && bitmap->selectedInto != hdc)
        return nullptr;
    HBITMAP previous = hdc->bitmap;
    if (previous != nullptr && !previous->stock)
        previous->selectedInto = nullptr;
    hdc->bitmap = bitmap;
    if (!bitmap->stock)
        bitmap->selectedInto = hdc;
    return previous;
}

bool DeleteObject(HBITMAP bitmap)
{
    auto &t = table();
    std::lock_guard lock(t.mutex);
    auto it = t.bitmaps.find(bitmap);
    if (it == t.bitmaps.end() || bitmap->stock || bitmap->selectedInto != nullptr)
        return false;
    t.bitmaps.erase(it);
    return true;
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO *info, std::uint32_t usage, void **bits, void *section,
                         std::uint32_t)
{
    if (bits != nullptr)
        *bits = nullptr;
    if (info == nullptr || usage != DIB_RGB_COLORS || section != nullptr)
        return nullptr;
    if (hdc != nullptr && liveContext(hdc) == nullptr)
        return nullptr;
    const BITMAPINFOHEADER &h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER))
        return nullptr;
    if (h.biPlanes != 1 || h.biCompression != BI_RGB || h.biHeight == 0)
        return nullptr;
    const bool topDown = h.biHeight < 0;
    const int height = topDown ? -h.biHeight : h.biHeight;
    auto bitmap = GdiBitmap::make(h.biWidth, height, h.biBitCount, topDown);
    if (!bitmap)
        return nullptr;
    if (bitmap->indexed()) {
        const int count = int(h.biClrUsed != 0 && int(h.biClrUsed) < bitmap->colourCount()
                                  ? h.biClrUsed
                                  : std::uint32_t(bitmap->colourCount()));
        std::memcpy(bitmap->colours(), info->bmiColors, sizeof(RGBQUAD) * std::size_t(count));
    }
    if (bits != nullptr)
        *bits = bitmap->bits();
    auto &t = table();
    std::lock_guard lock(t.mutex);
    HBITMAP handle = bitmap.get();
    t.bitmaps.emplace(handle, std::move(bitmap));
    return handle;
}

int GetObjectA(HBITMAP bitmap, int size, BITMAP *out)
{
    if (liveBitmap(bitmap) == nullptr)
        return 0;
    if (out == nullptr)
        return int(sizeof(BITMAP));
    if (size < int(sizeof(BITMAP)))
        return 0;
    out->bmType = 0;
    out->bmWidth = bitmap->width();
    out->bmHeight = bitmap->height();
    out->bmWidthBytes = bitmap->stride();
    out->bmPlanes = 1;
    out->bmBitsPixel = std::uint16_t(bitmap->bitCount());
    out->bmBits = bitmap->stock ? nullptr : bitmap->bits();
    return int(sizeof(BITMAP));
}

int GetDIBits(HDC hdc, HBITMAP bitmap, unsigned start, unsigned lines, void *bits, BITMAPINFO *info,
              std::uint32_t usage)
{
    if (liveContext(hdc) == nullptr || liveBitmap(bitmap) == nullptr || info == nullptr ||
        usage != DIB_RGB_COLORS)
        return 0;
    BITMAPINFOHEADER &h = info->bmiHeader;
    if (bits == nullptr) {
        h.biSize = 40;
        h.biWidth = bitmap->width();
        h.biHeight = bitmap->height();
        h.biPlanes = 1;
        h.biBitCount = std::uint16_t(bitmap->bitCount());
        h.biCompression = BI_RGB;
        h.biSizeImage = std::uint32_t(bitmap->stride()) * std::uint32_t(bitmap->height());
        return bitmap->height();
    }
    // The target layout is a bitmap of the header's shape, written in place.
    const bool topDown = h.biHeight < 0;
    const int targetHeight = topDown ? -h.biHeight : h.biHeight;
    const int bitCount = h.biBitCount;
    if (h.biWidth <= 0 || targetHeight <= 0 || h.biCompression != BI_RGB)
        return 0;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32)
        return 0;
    auto target = GdiBitmap::make(h.biWidth, targetHeight, bitCount, topDown);
    if (!target)
        return 0;
    const bool sameIndexed = target->indexed() && bitmap->bitCount() == bitCount;
    if (sameIndexed) {
        std::memcpy(info->bmiColors, bitmap->colours(), sizeof(RGBQUAD) * std::size_t(target->colourCount()));
    }
    if (target->indexed())
        std::memcpy(target->colours(), info->bmiColors, sizeof(RGBQUAD) * std::size_t(target->colourCount()));
    std::memcpy(target->bits(), bits, std::size_t(target->stride()) * std::size_t(targetHeight));

    const int width = std::min(target->width(), bitmap->width());
    int copied = 0;
    // Scan line n of a bottom-up layout is the n-th row from the bottom.
    for (unsigned n = start; n < start + lines && int(n) < targetHeight; ++n) {
        const int targetY = topDown ? int(n) : targetHeight - 1 - int(n);
        const int sourceY = bitmap->height() - targetHeight + targetY;
        if (sourceY < 0 || sourceY >= bitmap->height())
            continue;
        for (int x = 0; x < width; ++x) {
            if (sameIndexed)
                target->setIndex(x, targetY, bitmap->index(x, sourceY));
            else
                target->setPixel(x, targetY, bitmap->pixel(x, sourceY));
        }
        ++copied;
    }
    std::memcpy(bits, target->bits(), std::size_t(target->stride()) * std::size_t(targetHeight));
    return copied;
}

unsigned GetDIBColorTable(HDC hdc, unsigned start, unsigned entries, RGBQUAD *colours)
{
    if (liveContext(hdc) == nullptr || hdc->bitmap == nullptr || colours == nullptr)
        return 0;
    const GdiBitmap *bitmap = hdc->bitmap;
    if (!bitmap->indexed() || bitmap->stock || start >= unsigned(bitmap->colourCount()))
        return 0;
    const unsigned count = std::min(entries, unsigned(bitmap->colourCount()) - start);
    std::memcpy(colours, bitmap->colours() + start, sizeof(RGBQUAD) * count);
    return count;
}

unsigned SetDIBColorTable(HDC hdc, unsigned start, unsigned entries, const RGBQUAD *colours)
{
    if (liveContext(hdc) == nullptr || hdc->bitmap == nullptr || colours == nullptr)
        return 0;
    GdiBitmap *bitmap = hdc->bitmap;
    if (!bitmap->indexed() || bitmap->stock || start >= unsigned(bitmap->colourCount()))
        return 0;
    const unsigned count = std::min(entries, unsigned(bitmap->colourCount()) - start);
    std::memcpy(bitmap->colours() + start, colours, sizeof(RGBQUAD) * count);
    bitmap->coloursChanged();
    return count;
}

int SetStretchBltMode(HDC hdc, int mode)
{
    if (liveContext(hdc) == nullptr || mode < BLACKONWHITE || mode > HALFTONE)
        return 0;
    const int previous = hdc->stretchMode;
    hdc->stretchMode = mode;
    return previous;
}

int GetStretchBltMode(HDC hdc)
{
    return liveContext(hdc) ? hdc->stretchMode : 0;
}

} // namespace platform

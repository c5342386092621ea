#include "platform/gdi/GdiScope.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiBitmap.h"

#include <gtest/gtest.h>

#include <utility>

using namespace platform;

namespace {

BITMAPINFO header24(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = 40;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

ScopedBitmap newBitmap(HDC dc)
{
    const BITMAPINFO info = header24(2, 2);
    return ScopedBitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, nullptr, nullptr, 0));
}

} // namespace

TEST(GdiScope, ContextBitmapAndSelectionMadeInOrderAreAllGivenBack)
{
    const std::size_t before = liveObjects();
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    {
        const ScopedDC context(CreateCompatibleDC(nullptr));
        ASSERT_TRUE(context);
        dc = context.get();
        const ScopedBitmap dib = newBitmap(dc);
        ASSERT_TRUE(dib);
        bitmap = dib.get();
        const ScopedSelection selected(dc, bitmap);
        ASSERT_TRUE(selected);
        EXPECT_EQ(dc->bitmap, bitmap);
        EXPECT_EQ(liveObjects(), before + 2);
    }
    // Had the bitmap been deleted while still selected, the platform would have refused it
    // and it would still be live.
    EXPECT_EQ(liveObjects(), before);
    EXPECT_EQ(liveBitmap(bitmap), nullptr);
    EXPECT_EQ(liveContext(dc), nullptr);
}

TEST(GdiScope, TheSelectionEndingPutsBackThePreviousBitmap)
{
    const ScopedDC context(CreateCompatibleDC(nullptr));
    HBITMAP stock = context.get()->bitmap;
    const ScopedBitmap dib = newBitmap(context.get());
    {
        const ScopedSelection selected(context.get(), dib.get());
        EXPECT_FALSE(DeleteObject(dib.get())) << "a selected bitmap may not be deleted";
    }
    EXPECT_EQ(context.get()->bitmap, stock);
    EXPECT_EQ(dib.get()->selectedInto, nullptr);
}

TEST(GdiScope, ARefusedSelectionChangesNothingWhenItEnds)
{
    const ScopedDC first(CreateCompatibleDC(nullptr));
    const ScopedDC second(CreateCompatibleDC(nullptr));
    const ScopedBitmap dib = newBitmap(first.get());
    const ScopedSelection inFirst(first.get(), dib.get());
    HBITMAP secondHeld = second.get()->bitmap;
    {
        // A bitmap can be selected into one context only.
        const ScopedSelection refused(second.get(), dib.get());
        EXPECT_FALSE(refused);
    }
    EXPECT_EQ(first.get()->bitmap, dib.get());
    EXPECT_EQ(second.get()->bitmap, secondHeld);
}

TEST(GdiScope, MovedHandlesLiveUntilTheirLastOwnerGoes)
{
    const std::size_t before = liveObjects();
    ScopedDC kept;
    {
        ScopedDC made(CreateCompatibleDC(nullptr));
        kept = std::move(made);
        EXPECT_FALSE(made);
    }
    ASSERT_TRUE(kept);
    EXPECT_NE(liveContext(kept.get()), nullptr);
    // Taking over another context gives back the one held before.
    kept = ScopedDC(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
    EXPECT_EQ(liveObjects(), before + 1);
    kept.reset();
    EXPECT_EQ(liveObjects(), before);
}

TEST(GdiScope, AWindowContextIsGivenBackToItsWindow)
{
    const std::size_t before = liveObjects();
    {
        const ScopedWindowDC screen(GetDesktopWindow());
        ASSERT_TRUE(screen);
        EXPECT_EQ(screen.get()->kind(), DeviceContext::Kind::Display);
        EXPECT_EQ(liveObjects(), before + 1);
    }
    EXPECT_EQ(liveObjects(), before);
    // A window that has no context gives none, and nothing to give back.
    int otherWindow = 0;
    const ScopedWindowDC none(&otherWindow);
    EXPECT_FALSE(none);
}

#pragma once

#include "platform/gdi/Gdi.h"

#include <utility>

namespace platform {

// Owners of what the small GDI hands out, each given back by the call that belongs to it
// when the owner goes, on every way out. Declared in the order things are made (context,
// bitmap, selection), they are given back in the order the platform wants: the selection
// undone first, then the bitmap deleted, then the context.

// One handle, given back with Release when the owner goes.
template <class Handle, auto Release> class ScopedHandle {
  public:
    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle) : mHandle(handle) {}
    ~ScopedHandle() { reset(); }
    ScopedHandle(ScopedHandle &&other) noexcept : mHandle(std::exchange(other.mHandle, nullptr)) {}
    ScopedHandle &operator=(ScopedHandle &&other) noexcept
    {
        if (this != &other) {
            reset();
            mHandle = std::exchange(other.mHandle, nullptr);
        }
        return *this;
    }
    ScopedHandle(const ScopedHandle &) = delete;
    ScopedHandle &operator=(const ScopedHandle &) = delete;

    Handle get() const { return mHandle; }
    explicit operator bool() const { return mHandle != nullptr; }
    void reset()
    {
        if (mHandle)
            Release(std::exchange(mHandle, nullptr));
    }

  private:
    Handle mHandle = nullptr;
};

// A device context made with CreateDCA or CreateCompatibleDC, deleted with DeleteDC.
using ScopedDC = ScopedHandle<HDC, &DeleteDC>;
// A bitmap made with CreateDIBSection (or handed over by its maker), deleted with
// DeleteObject.
using ScopedBitmap = ScopedHandle<HBITMAP, &DeleteObject>;

// A window's context from GetDC, given back to the window with ReleaseDC.
class ScopedWindowDC {
  public:
    explicit ScopedWindowDC(HWND hwnd) : mWindow(hwnd), mDC(GetDC(hwnd)) {}
    ~ScopedWindowDC()
    {
        if (mDC)
            ReleaseDC(mWindow, mDC);
    }
    ScopedWindowDC(const ScopedWindowDC &) = delete;
    ScopedWindowDC &operator=(const ScopedWindowDC &) = delete;

    HDC get() const { return mDC; }
    explicit operator bool() const { return mDC != nullptr; }

  private:
    HWND mWindow;
    HDC mDC;
};

// A bitmap selected into a context for as long as this lives; the bitmap selected before
// comes back when it goes. False when the selection was refused.
class ScopedSelection {
  public:
    ScopedSelection() = default;
    ScopedSelection(HDC hdc, HBITMAP bitmap) : mDC(hdc), mPrevious(SelectObject(hdc, bitmap)) {}
    ~ScopedSelection() { reset(); }
    ScopedSelection(ScopedSelection &&other) noexcept
        : mDC(std::exchange(other.mDC, nullptr)), mPrevious(std::exchange(other.mPrevious, nullptr))
    {
    }
    ScopedSelection &operator=(ScopedSelection &&other) noexcept
    {
        if (this != &other) {
            reset();
            mDC = std::exchange(other.mDC, nullptr);
            mPrevious = std::exchange(other.mPrevious, nullptr);
        }
        return *this;
    }
    ScopedSelection(const ScopedSelection &) = delete;
    ScopedSelection &operator=(const ScopedSelection &) = delete;

    explicit operator bool() const { return mPrevious != nullptr; }
    void reset()
    {
        if (mPrevious)
            SelectObject(mDC, std::exchange(mPrevious, nullptr));
        mDC = nullptr;
    }

  private:
    HDC mDC = nullptr;
    HBITMAP mPrevious = nullptr;
};

} // namespace platform

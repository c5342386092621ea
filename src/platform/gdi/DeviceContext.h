#pragma once

#include "platform/gdi/GdiTypes.h"

namespace platform {

// A device context: a display context, which only serves to make compatible memory
// contexts, or a memory context that draws into the bitmap selected into it.
class DeviceContext {
  public:
    enum class Kind { Display, Memory };

    explicit DeviceContext(Kind kind) : mKind(kind) {}

    Kind kind() const { return mKind; }

    // The bitmap selected into a memory context (its stock 1x1 bitmap until another is
    // selected); null for a display context.
    GdiBitmap *bitmap = nullptr;
    int stretchMode = BLACKONWHITE;

  private:
    Kind mKind;
};

} // namespace platform

#pragma once

#include "platform/print/PrintCanvas.h"

#include <QString>

namespace platform {

// The printer object `Printer`: prints straight to the default printer without a
// preview. Its document begins with the first text printed or page started and goes
// to the printer at endDoc. Each operation `prnName` is name() / setName() here.
class PrinterObject : public PrintCanvas {
  public:
    enum Orientation { Portrait = 1, Landscape = 2 };

    PrinterObject();

    // 1 portrait, 2 landscape; taken by the next document.
    int orientation() const { return mOrientation; }
    void setOrientation(int orientation);

    // Sends the document to the printer; nothing when none is pending.
    void endDoc();

    // The fonts the printer offers, by index 0 to fontCount() - 1.
    int fontCount() const;
    QString fonts(int index) const;

    // The size the printer's font starts with and takes again in reset().
    static constexpr double DefaultFontSize = 10.0;

    // Drops any pending document and takes the starting font, position and
    // orientation again, as a newly started program would see it.
    void reset();

  protected:
    void beforeOutput() override;

  private:
    int mOrientation = Portrait;
};

// The program's one printer object.
PrinterObject &Printer();

} // namespace platform

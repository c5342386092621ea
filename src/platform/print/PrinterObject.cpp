#include "platform/print/PrinterObject.h"

#include "platform/print/PrintOutput.h"

#include <QFontDatabase>
#include <QStringList>

namespace platform {

PrinterObject::PrinterObject() : PrintCanvas(0.0, 0.0, 0.0)
{
    reset();
}

void PrinterObject::reset()
{
    closeDocument();
    setFont(PrintFont{QStringLiteral("Arial"), DefaultFontSize, false, false});
    setCurrentX(0.0);
    setCurrentY(0.0);
    mOrientation = Portrait;
}

void PrinterObject::setOrientation(int orientation)
{
    mOrientation = orientation == Landscape ? Landscape : Portrait;
}

void PrinterObject::beforeOutput()
{
    if (documentOpen())
        return;
    // Keep the position the caller set before the first text.
    const double x = currentX();
    const double y = currentY();
    // The one printer object outlives every printer setup: each document takes the paper
    // as it is then.
    setPaperSize(PrintOutput::paperTwips());
    openDocument(QString(), mOrientation == Landscape ? 1 : 0, true, 0);
    setCurrentX(x);
    setCurrentY(y);
}

void PrinterObject::endDoc()
{
    if (!documentOpen())
        return;
    closeDocument();
    setCurrentX(0.0);
    setCurrentY(0.0);
    PrintOutput::sendToPrinter(document());
}

int PrinterObject::fontCount() const
{
    return static_cast<int>(QFontDatabase::families().size());
}

QString PrinterObject::fonts(int index) const
{
    const QStringList families = QFontDatabase::families();
    return index >= 0 && index < families.size() ? families[index] : QString();
}

PrinterObject &Printer()
{
    static PrinterObject printer;
    return printer;
}

} // namespace platform

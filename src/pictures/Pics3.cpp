#include "pictures/Pics3.h"

#include "helpers/ValueHelpers.h"
#include "pictures/PictureFiles.h"
#include "platform/RuntimeError.h"
#include "platform/db/Recordset.h"
#include "platform/gdi/StdPicture.h"
#include "platform/ui/Twips.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileSystemWatcher>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <sys/stat.h>

namespace {

constexpr int PanelWidth = 4008;
constexpr int PanelHeight = 9360;
constexpr int ImageWidth = 3936;
constexpr int ImageHeight = 2952;
// The three images stand one under the other, this far apart.
constexpr int ImagePitch = 3000;
// An enlarged image leaves this much of the window free beside and under it.
constexpr int EnlargedWidthLeftOver = 70;
constexpr int EnlargedHeightLeftOver = 400;
constexpr int EnlargedWidthPixels = 1024;
constexpr int EnlargedHeightPixels = 768;

std::function<platform::Recordset *()> &recordsOfMainList()
{
    static std::function<platform::Recordset *()> records;
    return records;
}

QPointer<QWidget> &mainWindowSlot()
{
    static QPointer<QWidget> window;
    return window;
}

QPointer<Pics3> &slot()
{
    static QPointer<Pics3> panel;
    return panel;
}

QString fieldText(platform::Recordset &record, const QString &field)
{
    return NullToString(record.value(field)).toString();
}

// What tells one state of a file from another: the file itself, its size and its last change;
// nothing for a missing file.
std::array<qint64, 5> fileStamp(const QString &path)
{
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {qint64(info.st_dev), qint64(info.st_ino), qint64(info.st_size), qint64(info.st_mtim.tv_sec),
            qint64(info.st_mtim.tv_nsec)};
}

// A picture that cannot be read shows nothing, like a missing one.
QPixmap pictureOf(const QString &path)
{
    QImageReader reader(pictures::resolvedPath(path));
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QImage picture = platform::readUndamaged(reader);
    return picture.isNull() ? QPixmap() : QPixmap::fromImage(picture);
}

} // namespace

void Pics3::setRecords(std::function<platform::Recordset *()> records)
{
    recordsOfMainList() = std::move(records);
}

void Pics3::setMainWindow(QWidget *mainWindow)
{
    mainWindowSlot() = mainWindow;
}

Pics3 &Pics3::instance()
{
    return platform::instanceOf(slot());
}

Pics3 *Pics3::loadedInstance()
{
    Pics3 *panel = slot().data();
    return panel && panel->isLoaded() ? panel : nullptr;
}

// A tool window of the main window: the main window's access keys and menus work while the
// panel is the active window, and the panel stands above the window it belongs to.
Pics3::Pics3() : platform::Form(mainWindowSlot())
{
    setObjectName(QStringLiteral("Pics3"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(QStringLiteral("Pictures"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // The panel has no control of its own: it holds the focus itself, so that the keyboard
    // reaches it and leaves it (Tab, Shift+Tab, Escape).
    setFocusPolicy(Qt::StrongFocus);
    // Shown, it leaves the keys with the main window; a click makes it the active window.
    setAttribute(Qt::WA_ShowWithoutActivating);
    const auto makeImage = [this](const char *name) {
        auto *label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        // Each picture fills its image's box, whatever its proportions.
        label->setScaledContents(true);
        label->installEventFilter(this);
        return label;
    };
    Image1 = makeImage("Image1");
    Image2 = makeImage("Image2");
    Image3 = makeImage("Image3");
    // A picture deleted, replaced, rewritten or put back while the contact is shown, here or by
    // another program, is shown as it now is.
    mWatcher = new QFileSystemWatcher(this);
    connect(mWatcher, &QFileSystemWatcher::directoryChanged, this, &Pics3::shownFilesChanged);
    connect(mWatcher, &QFileSystemWatcher::fileChanged, this, &Pics3::shownFilesChanged);
}

QLabel *Pics3::image(int n) const
{
    return n == 1 ? Image1 : n == 2 ? Image2 : n == 3 ? Image3 : nullptr;
}

void Pics3::threePictureLayout()
{
    platform::setClientSizeTwips(this, PanelWidth, PanelHeight);
    platform::setGeometryTwips(Image1, 0, 0, ImageWidth, ImageHeight);
    platform::setGeometryTwips(Image2, 0, ImagePitch, ImageWidth, ImageHeight);
    platform::setGeometryTwips(Image3, 0, 2 * ImagePitch, ImageWidth, ImageHeight);
}

void Pics3::Form_Load()
{
    threePictureLayout();
    double left = 0;
    if (QWidget *main = mainWindowSlot())
        left = platform::pixelsToTwipsX(main->frameGeometry().x()) - platform::windowWidthTwips(this);
    platform::moveWindowTwips(this, int(qMax(0.0, left)), 0);
}

bool Pics3::enlarged() const
{
    return width() == EnlargedWidthPixels;
}

platform::Recordset *Pics3::currentRecord() const
{
    const auto &records = recordsOfMainList();
    platform::Recordset *rs = records ? records() : nullptr;
    if (!rs || !rs->isOpen())
        return nullptr;
    try {
        // A list positioned before its first or past its last row has no contact to show.
        if (rs->recordCount() <= 0 || rs->bof() || rs->eof())
            return nullptr;
    } catch (const platform::RuntimeError &) {
        return nullptr;
    }
    return rs;
}

QString Pics3::contactCaption(platform::Recordset &record) const
{
    return Trim(fieldText(record, QStringLiteral("FirstName")) + QLatin1Char(' ') +
                fieldText(record, QStringLiteral("LastName")));
}

void Pics3::LoadRecordPictures()
{
    platform::Recordset *record = currentRecord();
    if (!record)
        return;
    try {
        for (int n = 1; n <= 3; ++n) {
            const QString name = fieldText(*record, QStringLiteral("PicturePath%1").arg(n));
            mShown[n - 1] = name > QStringLiteral(" ") ? pictures::picturePath(name) : QString();
            showPicture(n);
        }
        watchShownFiles();
        setWindowTitle(contactCaption(*record));
    } catch (const platform::RuntimeError &) {
        // A row that went away under the list leaves the panel as it was.
    }
}

QString Pics3::foundFile(int n) const
{
    // Looked for afresh each time: one of another case may have taken its place. Whether it
    // is there is asked first, so that a missing one costs one look at the folder.
    const QString &named = mShown[n - 1];
    return pictures::normalFileExists(named) ? pictures::resolvedPath(named) : QString();
}

void Pics3::showPicture(int n)
{
    const QString path = foundFile(n);
    image(n)->setPixmap(path.isEmpty() ? QPixmap() : pictureOf(path));
    mStamps[n - 1] = fileStamp(path);
}

void Pics3::watchShownFiles()
{
    // The folder tells of a shown file deleted, put back or replaced by another of its name;
    // the file itself of one rewritten in place. A file's watch goes with the file.
    const QDir folder(pictures::picturesFolder());
    const QStringList watched = mWatcher->directories();
    if (watched.size() != 1 || QDir(watched.first()) != folder) {
        if (!watched.isEmpty())
            mWatcher->removePaths(watched);
        if (folder.exists())
            mWatcher->addPath(folder.path());
    }
    if (!mWatcher->files().isEmpty())
        mWatcher->removePaths(mWatcher->files());
    for (int n = 1; n <= 3; ++n) {
        if (mStamps[n - 1] != std::array<qint64, 5>{})
            mWatcher->addPath(pictures::resolvedPath(mShown[n - 1]));
    }
}

void Pics3::shownFilesChanged()
{
    for (int n = 1; n <= 3; ++n) {
        if (!mShown[n - 1].isEmpty() && fileStamp(foundFile(n)) != mStamps[n - 1])
            showPicture(n);
    }
    watchShownFiles();
}

void Pics3::enlarge(int n)
{
    platform::Recordset *record = currentRecord();
    if (!record)
        return;
    const QVariant name = record->value(QStringLiteral("PicturePath%1").arg(n));
    if (name.isNull())
        return;
    resize(EnlargedWidthPixels, EnlargedHeightPixels);
    const double panelWidth = platform::pixelsToTwipsX(EnlargedWidthPixels);
    const double panelHeight = platform::pixelsToTwipsY(EnlargedHeightPixels);
    QLabel *shown = image(n);
    shown->setGeometry(shown->x(), Image1->y(), platform::twipsToPixelsX(panelWidth - EnlargedWidthLeftOver),
                       platform::twipsToPixelsY(panelHeight - EnlargedHeightLeftOver));
    for (int other = 1; other <= 3; ++other)
        image(other)->setVisible(other == n);
    setWindowTitle(name.toString());
}

void Pics3::Form_Unload(bool &cancel)
{
    if (!enlarged() || mShuttingDown)
        return;
    threePictureLayout();
    Image1->show();
    Image2->show();
    Image3->show();
    if (platform::Recordset *record = currentRecord())
        setWindowTitle(contactCaption(*record));
    cancel = true;
}

void Pics3::unloadForShutDown()
{
    mShuttingDown = true;
    unload();
}

bool Pics3::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == Image1)
            Image1_DblClick();
        else if (watched == Image2)
            Image2_DblClick();
        else if (watched == Image3)
            Image3_DblClick();
        else
            return platform::Form::eventFilter(watched, event);
        return true;
    }
    return platform::Form::eventFilter(watched, event);
}

void Pics3::changeEvent(QEvent *event)
{
    platform::Form::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !focusWidget())
        setFocus(Qt::ActiveWindowFocusReason);
}

bool Pics3::focusNextPrevChild(bool next)
{
    Q_UNUSED(next);
    backToMainWindow();
    return true;
}

void Pics3::backToMainWindow()
{
    if (QWidget *main = mainWindowSlot(); main && main->isVisible())
        main->activateWindow();
}

void Pics3::keyPressEvent(QKeyEvent *event)
{
    // Escape is the panel's close: an enlarged picture goes back to three, the three close.
    if (event->key() == Qt::Key_Escape && !(event->modifiers() & ~Qt::KeypadModifier)) {
        close();
        if (!isVisible())
            backToMainWindow();
        return;
    }
    platform::Form::keyPressEvent(event);
}

void Pics3::paintEvent(QPaintEvent *event)
{
    platform::Form::paintEvent(event);
    if (!hasFocus())
        return;
    // The focus shows around the pictures, in the margin the panel leaves beside and under them.
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.state |= QStyle::State_KeyboardFocusChange;
    focus.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

#pragma once

#include "LibJpeg.h"

#include "editor/GLOBAL.h"
#include "helpers/MainCommonDialog.h"
#include "pictures/PictureForm.h"
#include "pictures/PictureHandOver.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/ui/Clipboard.h"
#include "start/modMain.h"
#include "support/DialogScript.h"
#include "support/FileBytes.h"
#include "support/TempDatabase.h"
#include "support/TemporaryProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QVariantMap>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// A program folder of its own, a database, and eight picture name boxes standing in for
// the editor's, with the picture hand-over at its start values.
class PictureTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        gPictureHandOver.reset();
        gEditor.reset();
        gAppName = QStringLiteral("Quiltern");
        CMDialog1() = platform::CommonDialog();
        platform::clearClipboard();
        for (int n = 1; n <= 8; ++n) {
            auto box = std::make_unique<QLineEdit>();
            box->setObjectName(QStringLiteral("txtPic%1File").arg(n));
            QObject::connect(box.get(), &QLineEdit::textChanged, [] { gEditor.gRecordChanged = true; });
            mBoxes.push_back(std::move(box));
        }
        lastName.setText(QStringLiteral("Current"));
    }
    void TearDown() override
    {
        if (PictureForm *form = PictureForm::loadedInstance()) {
            form->cmdCancel_Click();
        }
        platform::clearClipboard();
    }

    QLineEdit &slotBox(int n) { return *mBoxes[std::size_t(n - 1)]; }
    // Sets a slot's name as the editor shows it, without counting it as a change.
    void name(int n, const QString &text)
    {
        slotBox(n).setText(text);
        gEditor.gRecordChanged = false;
    }

    PictureEditor link(std::optional<qint64> recordId = std::nullopt)
    {
        PictureEditor editor;
        for (auto &box : mBoxes)
            editor.pictureBoxes << box.get();
        editor.lastNameBox = &lastName;
        editor.database = &openBook();
        editor.recordId = recordId;
        editor.recordChanged = [] { gEditor.gRecordChanged = true; };
        return editor;
    }

    QString pictures() const { return folder.path() + QStringLiteral("/Pictures/"); }
    QString deleted() const { return folder.path() + QStringLiteral("/Deleted Pictures/"); }

    // A picture file of one colour; the format is told by the name's extension unless given.
    static void writePicture(const QString &path, int width, int height, QColor colour,
                             const char *format = nullptr)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(path, format));
    }
    void inPictures(const QString &fileName, int width = 800, int height = 600, QColor colour = Qt::blue)
    {
        writePicture(pictures() + fileName, width, height, colour, "PNG");
    }
    static void clipboardPicture(int width, int height, QColor colour)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        platform::setClipboardImage(image);
    }

    qint64 addContact(const QString &last, const QVariantMap &fields = {})
    {
        auto rs = openBook().openRecordset(QStringLiteral("tblContacts"), platform::RecordsetType::Table);
        rs->addNew();
        rs->setValue(QStringLiteral("LastName"), last);
        for (auto it = fields.cbegin(); it != fields.cend(); ++it)
            rs->setValue(it.key(), it.value());
        rs->update();
        rs->setBookmark(rs->lastModified());
        return rs->value(QStringLiteral("RecordID")).toLongLong();
    }

    // Opens the window on a slot, as the editor's picture button does.
    PictureForm &openOn(int slot, const QString &path, std::optional<qint64> recordId = std::nullopt)
    {
        gPictureHandOver.gPictureSlot = slot;
        gPictureHandOver.gPastePicture = false;
        CMDialog1().dlgFileName = path;
        PictureForm::setEditor(link(recordId));
        PictureForm &form = PictureForm::instance();
        form.show();
        return form;
    }
    PictureForm &openSlot(int slot, std::optional<qint64> recordId = std::nullopt)
    {
        return openOn(slot, pictures() + slotBox(slot).text(), recordId);
    }
    // Opens the window in paste mode, as the editor's Paste image command does.
    PictureForm &openPaste(int slot, const QString &typed, std::optional<qint64> recordId = std::nullopt)
    {
        gPictureHandOver.gPictureSlot = slot;
        gPictureHandOver.gPastePicture = true;
        CMDialog1().dlgFileName = typed + QStringLiteral(".jpg");
        PictureForm::setEditor(link(recordId));
        PictureForm &form = PictureForm::instance();
        form.setWindowTitle(typed);
        form.show();
        gPictureHandOver.gPastePicture = false;
        return form;
    }

    QStringList filesIn(const QString &folderPath) const
    {
        return QDir(folderPath).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    static libjpeg::Decoded decodeFile(const QString &path)
    {
        const QByteArray bytes = readFileBytes(path);
        return libjpeg::decode(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }
    static QRgb decodedPixel(const libjpeg::Decoded &d, int x, int y)
    {
        const std::size_t at = (std::size_t(y) * std::size_t(d.width) + std::size_t(x)) * 3;
        return qRgb(d.pixels[at], d.pixels[at + 1], d.pixels[at + 2]);
    }
    static bool near(QRgb a, QColor b, int tolerance = 12)
    {
        return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance &&
               std::abs(qBlue(a) - b.blue()) <= tolerance;
    }

    TemporaryProgramFolder folder;
    TempDatabase temp;
    QLineEdit lastName;
    // The address book open, temp's unless another is given.
    platform::Database *book = nullptr;
    platform::Database &openBook() { return book ? *book : temp.db(); }

  private:
    std::vector<std::unique_ptr<QLineEdit>> mBoxes;
};

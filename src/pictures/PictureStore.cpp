#include "pictures/PictureStore.h"

#include "helpers/mCommon.h"
#include "pictures/PictureFiles.h"
#include "pictures/cImage.h"
#include "pictures/cJpeg.h"
#include "platform/RuntimeError.h"
#include "platform/base/FileKind.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

using platform::RuntimeError;

namespace pictures {

namespace {

constexpr int PathFileAccessError = 75;

std::filesystem::path fsPath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

QString freeName(const QString &folder, const QString &name,
                 const std::function<bool(const QString &)> &alsoTaken)
{
    const QFileInfo info(name);
    const QString base = info.completeBaseName();
    const QString extension = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    QString candidate = name;
    for (int n = 2; filePresent(folder + candidate) || (alsoTaken && alsoTaken(candidate)); ++n)
        candidate = QStringLiteral("%1 (%2)%3").arg(base).arg(n).arg(extension);
    return candidate;
}

QString temporaryStoreFile(const QString &folder, const QString &target)
{
    QString name = QStringLiteral("DELETE THIS TEMP FILE.jpg");
    if (sameName(QFileInfo(target).fileName(), name))
        name = QStringLiteral("DELETE THIS TEMP FILE~.jpg");
    return folder + name;
}

void storePictureFile(const cImage &image, const QString &target)
{
    const QFileInfo targetInfo(target);
    const QString folder = targetInfo.absolutePath() + QLatin1Char('/');
    if (!DirExists(folder) && !QDir().mkpath(folder))
        throw RuntimeError(platform::err::PathNotFound,
                           QStringLiteral("The folder \"%1\" could not be made.").arg(QDir::toNativeSeparators(folder)));
    // A pipe or a device of the picture's name is left as it is rather than replaced.
    if (const std::optional<platform::WriteRefusal> refusal = platform::writeRefusal(target);
        refusal && refusal->cause == platform::WriteRefusal::NotAFile)
        throw RuntimeError(PathFileAccessError, QStringLiteral("The picture file \"%1\" could not be written. %2")
                                                    .arg(QDir::toNativeSeparators(target), refusal->reason));
    if (image.hdc() == nullptr || image.Width() <= 0 || image.Height() <= 0)
        throw RuntimeError(1, QStringLiteral("There is no picture to save."));

    const QString temporary = temporaryStoreFile(folder, target);
    KillFile(temporary);
    try {
        cJpeg encoder;
        encoder.SetSamplingFrequencies(2, 2, 1, 1, 1, 1);
        encoder.SetQuality(StoredQuality);
        if (encoder.SampleHDC(image.hdc(), image.Width(), image.Height()) != 0)
            throw RuntimeError(1, QStringLiteral("The picture could not be read for saving."));
        if (encoder.SaveFile(temporary) != 0)
            throw RuntimeError(PathFileAccessError,
                               QStringLiteral("The picture file \"%1\" could not be written.")
                                   .arg(QDir::toNativeSeparators(temporary)));
        // A name found in another letter case is the same picture on a system that
        // ignores case; here it is replaced by the name asked for.
        const QString variant = resolvedPath(target);
        std::error_code error;
        std::filesystem::rename(fsPath(temporary), fsPath(target), error);
        if (error)
            throw RuntimeError(PathFileAccessError,
                               QStringLiteral("The picture file \"%1\" could not be replaced: %2.")
                                   .arg(QDir::toNativeSeparators(target), QString::fromStdString(error.message())));
        if (variant != target)
            QFile::remove(variant);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
}

QString moveToDeletedPictures(const QString &file, DeletedNameTaken taken)
{
    const QString deletedFolder = deletedPicturesFolder();
    if (!DirExists(deletedFolder) && !QDir().mkpath(deletedFolder))
        throw RuntimeError(platform::err::PathNotFound, QStringLiteral("The folder \"%1\" could not be made.")
                                                            .arg(QDir::toNativeSeparators(deletedFolder)));
    const QString fileName = QFileInfo(file).fileName();
    if (taken == DeletedNameTaken::DropThisCopy && filePresent(deletedFolder + fileName)) {
        KillFile(file);
        return QString();
    }
    const QString target = deletedFolder + freeName(deletedFolder, fileName);
    if (!QFile::rename(file, target))
        throw RuntimeError(PathFileAccessError,
                           QStringLiteral("The picture \"%1\" could not be moved to \"%2\".")
                               .arg(fileName, QDir::toNativeSeparators(deletedFolder)));
    return target;
}

} // namespace pictures

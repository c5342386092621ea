#pragma once

#include <QString>
#include <functional>

class cImage;

namespace pictures {

// The JPEG settings of every stored picture.
constexpr int StoredQuality = 75;

// Stores the image as a JPEG file at target (luminance sampled 2 by 2, the colour
// components 1 by 1, quality 75), making target's folder when it is missing. The file
// is encoded into a temporary file in the same folder and takes target's place only once
// it is complete, so a failure leaves whatever target held before; a file whose name
// differs from target's only in letter case is the same picture and is replaced too.
// Raises platform::RuntimeError, with the temporary file removed, when any step fails.
void storePictureFile(const cImage &image, const QString &target);

// The temporary file a store into folder uses (folder ends in "/"): it exists only while
// a store runs.
QString temporaryStoreFile(const QString &folder, const QString &target);

// A name no file of folder (ending in "/") is present under, whatever its letter case, nor
// taken as alsoTaken says: the name itself, else the name with " (2)", " (3)" and so on
// before its extension.
QString freeName(const QString &folder, const QString &name,
                 const std::function<bool(const QString &)> &alsoTaken = {});

// What a move into the Deleted Pictures folder does when that folder holds a file of the
// name already.
enum class DeletedNameTaken {
    DropThisCopy, // the earlier copy stays there and the file moved is deleted instead
    KeepBoth,     // the file moved goes in under a free name: "name (2).ext", "name (3).ext", ...
};

// Moves a file of the Pictures folder into the Deleted Pictures folder, making the folder
// when it is missing, and returns the file's path there; empty when it was deleted instead.
// Raises platform::RuntimeError when the folder cannot be made or the file cannot be moved.
QString moveToDeletedPictures(const QString &file, DeletedNameTaken taken);

} // namespace pictures

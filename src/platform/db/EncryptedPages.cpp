#include "platform/db/EncryptedPages.h"

#include "platform/RuntimeError.h"
#include "platform/db/DaoError.h"
#include "platform/db/DatabaseFile.h"
#include "platform/db/DatabaseHeader.h"

#include <QFile>
#include <QtEndian>

#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <bitset>
#include <cerrno>
#include <optional>
#include <unistd.h>

namespace platform::EncryptedPages {

namespace {

// How the engine encrypts a file: the first bytes are the salt of a key made from the
// password; every page is encrypted on its own, its last bytes holding the initialization
// vector and a code that proves the page whole.
constexpr int SaltSize = 16;
constexpr int KeySize = 32;
constexpr int KeyRounds = 64000;
constexpr int CodeKeyRounds = 2;
constexpr uchar CodeSaltMask = 0x3a;
constexpr int IvSize = 16;
constexpr int CodeSize = 20;
constexpr int Reserve = 48; // the vector and the code, in whole blocks
constexpr int DefaultPageSize = 1024;

struct Keys {
    QByteArray cipher, code;
};

QByteArray derive(const QByteArray &secret, const QByteArray &salt, int rounds)
{
    QByteArray key(KeySize, '\0');
    PKCS5_PBKDF2_HMAC_SHA1(secret.constData(), int(secret.size()),
                           reinterpret_cast<const uchar *>(salt.constData()), int(salt.size()), rounds,
                           KeySize, reinterpret_cast<uchar *>(key.data()));
    return key;
}

Keys keysFor(const QString &password, const QByteArray &salt)
{
    Keys keys;
    keys.cipher = derive(password.toUtf8(), salt, KeyRounds);
    QByteArray codeSalt = salt;
    for (char &byte : codeSalt)
        byte = char(uchar(byte) ^ CodeSaltMask);
    keys.code = derive(keys.cipher, codeSalt, CodeKeyRounds);
    return keys;
}

// The part of page `number` (from 1) that is encrypted: all but the salt on the first.
int dataStart(qint64 number)
{
    return number == 1 ? SaltSize : 0;
}

// True when the page's code proves it whole under the key.
bool opens(const Keys &keys, const uchar *page, int pageSize, qint64 number)
{
    const int start = dataStart(number);
    const int data = pageSize - start - Reserve;
    // The code covers the encrypted data and the vector, then the page's number.
    QByteArray covered(reinterpret_cast<const char *>(page + start), data + IvSize);
    covered.resize(data + IvSize + 4);
    qToLittleEndian(quint32(number), covered.data() + data + IvSize);
    uchar code[EVP_MAX_MD_SIZE];
    unsigned int codeSize = 0;
    HMAC(EVP_sha1(), keys.code.constData(), KeySize, reinterpret_cast<const uchar *>(covered.constData()),
         size_t(covered.size()), code, &codeSize);
    return codeSize == CodeSize && CRYPTO_memcmp(code, page + start + data + IvSize, CodeSize) == 0;
}

// The page as the engine reads it once decrypted.
QByteArray decrypted(const Keys &keys, const uchar *page, int pageSize, qint64 number)
{
    const int start = dataStart(number);
    const int data = pageSize - start - Reserve;
    QByteArray plain(pageSize, '\0');
    if (number == 1)
        plain.replace(0, SaltSize, DatabaseHeader::magic());
    EVP_CIPHER_CTX *context = EVP_CIPHER_CTX_new();
    EVP_DecryptInit_ex(context, EVP_aes_256_cbc(), nullptr,
                       reinterpret_cast<const uchar *>(keys.cipher.constData()), page + start + data);
    EVP_CIPHER_CTX_set_padding(context, 0);
    int written = 0;
    EVP_DecryptUpdate(context, reinterpret_cast<uchar *>(plain.data()) + start, &written, page + start, data);
    EVP_CIPHER_CTX_free(context);
    return plain;
}

// The file with its key, mapped whole where the process has room for that, else read a page
// at a time: a password is never refused for want of memory.
class Encrypted {
  public:
    Encrypted(const QString &path, const QString &password) : mFile(path)
    {
        if (!mFile.open(QIODevice::ReadOnly) || mFile.size() < DefaultPageSize)
            return;
        mSize = mFile.size();
        mData = mFile.map(0, mSize);
        mKeys = keysFor(password, QByteArray(reinterpret_cast<const char *>(page(1, SaltSize)), SaltSize));
    }

    // The page size under which the key opens a page, and the first page it opens. The
    // program writes pages of the engine's default size; other sizes are tried after it.
    std::optional<std::pair<int, qint64>> firstOpened() const
    {
        if (mSize == 0)
            return std::nullopt;
        QList<int> sizes = DatabaseHeader::pageSizes();
        sizes.removeOne(DefaultPageSize);
        sizes.prepend(DefaultPageSize);
        for (int pageSize : std::as_const(sizes))
            for (qint64 number = 1; number <= mSize / pageSize; ++number)
                if (opens(mKeys, page(number, pageSize), pageSize, number))
                    return std::make_pair(pageSize, number);
        return std::nullopt;
    }

    const uchar *page(qint64 number, int pageSize) const
    {
        if (mData)
            return mData + (number - 1) * pageSize;
        mPage.resize(pageSize);
        if (::pread(mFile.handle(), mPage.data(), size_t(pageSize), (number - 1) * pageSize) != pageSize)
            throw RuntimeError(
                err::DiskError,
                QStringLiteral("Could not read '%1' (%2).").arg(mFile.fileName(), qt_error_string(errno)));
        return reinterpret_cast<const uchar *>(mPage.constData());
    }
    qint64 size() const { return mSize; }
    const Keys &keys() const { return mKeys; }

  private:
    QFile mFile;
    qint64 mSize = 0;
    const uchar *mData = nullptr;
    mutable QByteArray mPage;
    Keys mKeys;
};

[[noreturn]] void raiseNotWritten(const QFile &file)
{
    dbfile::raiseNotWritten(file.fileName(), errno != 0 ? errno : EIO);
}

} // namespace

bool looksEncrypted(const QByteArray &head)
{
    // A page of noise holds nearly every byte value; text, and most formats' first bytes,
    // hold far fewer.
    const QByteArray page = head.left(DefaultPageSize);
    std::bitset<256> seen;
    for (char byte : page)
        seen.set(uchar(byte));
    return page.size() == DefaultPageSize && seen.count() >= 200;
}

Opened probe(const QString &path, const QString &password)
{
    const auto first = Encrypted(path, password).firstOpened();
    return first ? Opened{1, first->first, Reserve} : Opened{};
}

Opened decrypt(const QString &path, const QString &password, const QString &plain,
               const std::function<void(qint64 done, qint64 total)> &progress)
{
    const Encrypted file(path, password);
    const auto first = file.firstOpened();
    if (!first)
        return {};
    // Made beforehand, as the owner's alone: what the password protects is readable in it.
    QFile out(plain);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::ExistingOnly))
        raiseNotWritten(out);
    Opened opened{0, first->first, Reserve};
    const QByteArray zeros(opened.pageSize, '\0');
    const qint64 pages = file.size() / opened.pageSize;
    for (qint64 number = 1; number <= pages; ++number) {
        if (progress)
            progress(number - 1, pages);
        const uchar *page = file.page(number, opened.pageSize);
        const bool whole = opens(file.keys(), page, opened.pageSize, number);
        opened.pages += whole;
        if (out.write(whole ? decrypted(file.keys(), page, opened.pageSize, number) : zeros) !=
            opened.pageSize)
            raiseNotWritten(out);
    }
    // The last pages are still in the buffer: a copy short of them would read as lost rows.
    if (!out.flush())
        raiseNotWritten(out);
    return opened;
}

} // namespace platform::EncryptedPages

#pragma once

#include "platform/db/Database.h"
#include "platform/db/NewDatabase.h"
#include "platform/db/Recordset.h"
#include "platform/db/jet/JetValue.h"

#include <sqlcipher/sqlite3.h>

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QVariantMap>
#include <cstdio>
#include <random>
#include <stdexcept>

// Realistic contacts for tests and benchmarks, the same for the same seed: names with
// accents and apostrophes, people and organisations, empty fields, one or both address
// sets, phones, dates and notes. Header-only so the benchmarks share it.
class ContactGenerator {
  public:
    // Changes whenever the contacts made for a seed change, so kept benchmark databases are
    // made again.
    static constexpr int FormatVersion = 2;

    explicit ContactGenerator(quint32 seed = 1) : mRandom(seed) {}

    QVariantMap next()
    {
        static const QStringList first{
            "James",    "Mary",   "José",  "Zoë",    "Renée", "François", "Øyvind", "Siobhán",  "Ana", "Li",
            "Mohammed", "Ingrid", "Chloé", "Günter", "Aoife", "Dmitri",   "Fatima", "Jean-Luc", "Bob", "Ann"};
        static const QStringList last{"Smith",    "Smithers",   "O'Brien",     "D'Angelo",     "Müller",
                                      "García",   "Nguyen",     "Łukasiewicz", "van der Berg", "Johnson",
                                      "Brown",    "Østergaard", "Dupont",      "MacDonald",    "O'Neil",
                                      "Kowalski", "Smyth",      "Jones",       "Zhang",        "Åberg",
                                      "Williams", "Taylor",     "Moreau",      "Rossi",        "Schmidt"};
        static const QStringList orgs{"Acme Quilts",  "Bee's Knees Sewing Circle", "Café Ümlaut",
                                      "Smith & Sons", "Northwind Traders",         "L'Atelier Fil",
                                      "City Library"};
        QVariantMap c;
        const bool organisationOnly = chance(8);
        // Every contact carries every field it may have, empty or Null when it has none:
        // insert() takes its column list from the first contact generated.
        for (const char *name :
             {"Prefix", "FirstName", "MiddleName", "LastName", "Suffix", "Nickname", "Title"})
            c[QString::fromLatin1(name)] = QString();
        if (!organisationOnly) {
            c["Prefix"] = chance(30) ? pick(QStringList{"Mr.", "Ms.", "Dr.", "Mrs."}) : QString();
            c["FirstName"] = pick(first);
            c["MiddleName"] = chance(20) ? pick(first) : QString();
            c["LastName"] = pick(last);
            c["Suffix"] = chance(5) ? pick(QStringList{"Jr.", "Sr.", "III"}) : QString();
            c["Nickname"] = chance(10) ? pick(first) : QString();
            c["Title"] = chance(15) ? pick(QStringList{"Owner", "Manager", "Teacher"}) : QString();
        }
        c["Organization"] = organisationOnly || chance(25) ? pick(orgs) : QString();
        address(c, "First_", "Home");
        const bool secondAddress = chance(30);
        if (secondAddress)
            address(c, "Second_", "Work");
        else
            for (const char *field : {"Address_Desc", "Address1", "Address2", "Address3", "City", "State",
                                      "PostalCode", "Country"})
                c[QStringLiteral("Second_") + QLatin1String(field)] = QString();
        c["AddressForLabels"] = secondAddress && chance(50) ? 2 : 1;
        static const QStringList phoneNames{"Home Phone",   "Work Phone",  "Fax",
                                            "Mobile Phone", "Other Phone", "Other Phone"};
        for (int i = 1; i <= 6; ++i) {
            c[QStringLiteral("Phone%1_Desc").arg(i)] = phoneNames[i - 1];
            c[QStringLiteral("Phone%1").arg(i)] =
                i <= 2 && chance(70)
                    ? QStringLiteral("(%1) 555-%2").arg(number(200, 999)).arg(number(1000, 9999))
                    : QString();
        }
        for (int i = 1; i <= 5; ++i) {
            c[QStringLiteral("Date%1_Desc").arg(i)] =
                i == 1 ? QStringLiteral("Birthday") : QStringLiteral("Date %1").arg(i);
            if (i == 1)
                c["Date1"] = chance(40) ? QVariant(QDate(number(1930, 2010), number(1, 12), number(1, 28)))
                                        : QVariant();
        }
        c["Email_Address"] =
            chance(60) ? QStringLiteral("user%1@example.org").arg(number(1, 999999)) : QString();
        for (int i = 1; i <= 3; ++i) {
            c[QStringLiteral("UserField%1_Desc").arg(i)] = QStringLiteral("User field %1").arg(i);
            c[QStringLiteral("UserField%1").arg(i)] =
                chance(10) ? QStringLiteral("value %1").arg(number(1, 99)) : QString();
        }
        c["Code"] = chance(20) ? QStringLiteral("C%1").arg(number(1, 500)) : QString();
        c["Notes"] = chance(25)
                         ? QStringLiteral("Met at the quilt show; likes \"log cabin\" patterns.\r\nCall "
                                          "after 5.")
                         : QString();
        c["PrintNotes"] = chance(10) ? platform::JetTrue : platform::JetFalse;
        c["Selected"] = chance(5) ? QStringLiteral("x") : QStringLiteral(" ");
        c["DateUpdated"] =
            QDateTime(QDate(2020, 1, 1).addDays(number(0, 1500)), QTime(number(0, 23), number(0, 59), 0));
        return c;
    }

    // Adds `count` generated contacts in one transaction, straight through SQLite.
    static void insert(platform::Database &database, qint64 count, quint32 seed = 1)
    {
        ContactGenerator generator(seed);
        sqlite3 *db = database.handle();
        const QVariantMap sample = generator.next();
        const QStringList names = sample.keys();
        QStringList marks;
        for (int i = 0; i < names.size(); ++i)
            marks.append(QStringLiteral("?"));
        const QByteArray sql = QStringLiteral("INSERT INTO tblContacts (%1) VALUES (%2)")
                                   .arg(names.join(", "), marks.join(", "))
                                   .toUtf8();
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        ContactGenerator rows(seed);
        for (qint64 n = 0; n < count; ++n) {
            const QVariantMap c = rows.next();
            for (int i = 0; i < names.size(); ++i) {
                const QVariant v = c.value(names[i]);
                if (!v.isValid() || v.isNull()) {
                    sqlite3_bind_null(stmt, i + 1);
                } else if (v.typeId() == QMetaType::Int) {
                    sqlite3_bind_int(stmt, i + 1, v.toInt());
                } else {
                    QString text;
                    if (v.typeId() == QMetaType::QDate)
                        text = platform::dateToStorage(v.toDate());
                    else if (v.typeId() == QMetaType::QDateTime)
                        text = platform::dateToStorage(v.toDateTime());
                    else
                        text = v.toString();
                    const QByteArray utf8 = text.toUtf8();
                    sqlite3_bind_text(stmt, i + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
                }
            }
            if (sqlite3_step(stmt) != SQLITE_DONE) {
                sqlite3_finalize(stmt);
                sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
                throw std::runtime_error(sqlite3_errmsg(db));
            }
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    }

  private:
    bool chance(int percent) { return number(1, 100) <= percent; }
    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(mRandom); }
    QString pick(const QStringList &list) { return list[number(0, int(list.size()) - 1)]; }

    void address(QVariantMap &c, const QString &set, const QString &description)
    {
        static const QStringList streets{"Main St", "Rue de l'Église", "Oak Ave",    "Königstraße",
                                         "Elm Rd",  "High Street",     "Calle Mayor"};
        static const QStringList cities{"Springfield", "Montréal",  "Zürich", "Portland",
                                        "Kraków",      "São Paulo", "Dublin", "Austin"};
        static const QStringList states{"OR", "TX", "QC", "ZH", "", "MA", "CA"};
        static const QStringList countries{"",       "",       "",       "Canada", "Switzerland",
                                           "Poland", "Brazil", "Ireland"};
        c[set + "Address_Desc"] = description;
        c[set + "Address1"] = QStringLiteral("%1 %2").arg(number(1, 9999)).arg(pick(streets));
        c[set + "Address2"] = chance(15) ? QStringLiteral("Apt %1").arg(number(1, 40)) : QString();
        c[set + "Address3"] = QString();
        c[set + "City"] = pick(cities);
        c[set + "State"] = pick(states);
        c[set + "PostalCode"] = chance(90) ? QStringLiteral("%1").arg(number(10000, 99999)) : QString();
        c[set + "Country"] = pick(countries);
    }

    std::mt19937 mRandom;
};

// The comma-separated export of 100,000 generated contacts, through the export frame on the
// displayed record set, against plain SQLite reading the same columns in the same order and
// writing the same bytes (trimmed, quotes turned, dates in the short form, Windows-1252,
// CR LF) through a buffered stream into a temporary file that is synced and then renamed over
// the target, as the export puts its file in place. Both sides run in every iteration, in
// turns; "ratio" is the median of export/reference by the clock, "cpu_ratio" by processor
// time, which a busy machine disturbs less.
#include "BenchSupport.h"
#include "export/CsvExports.h"
#include "printing/DataControlRecords.h"

#include "platform/db/DataControl.h"
#include "platform/db/Database.h"
#include "platform/db/TextCollation.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/DialogSeam.h"
#include "platform/ui/MsgBox.h"

#include <benchmark/benchmark.h>
#include <sqlcipher/sqlite3.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

using namespace platform;

namespace {

using Clock = std::chrono::steady_clock;

const bench::KeptDatabase Contacts100k("export", 100000);

// ---- The reference: raw SQLite and plain C++ ----

enum class Kind { Value, Address, DateOnly, Date };

struct RefColumn {
    Kind kind;
    int column;      // in the statement
    int second = -1; // Address: the column of the second set
};

// The statement reads the 39 single columns, AddressForLabels, then both address sets.
const char *const SingleFields[] = {
    "Prefix",          "FirstName",   "MiddleName",      "LastName",    "Suffix",
    "Organization",    "Phone1_Desc", "Phone1",          "Phone2_Desc", "Phone2",
    "Phone3_Desc",     "Phone3",      "Phone4_Desc",     "Phone4",      "Phone5_Desc",
    "Phone5",          "Phone6_Desc", "Phone6",          "DateUpdated", "Date1_Desc",
    "Date1",           "Date2_Desc",  "Date2",           "Date3_Desc",  "Date3",
    "Date4_Desc",      "Date4",       "Date5_Desc",      "Date5",       "Email_Address",
    "UserField1_Desc", "UserField1",  "UserField2_Desc", "UserField2",  "UserField3_Desc",
    "UserField3",      "Code",        "Nickname",        "Title"};
constexpr int Singles = 39;
const char *const AddressFields[] = {"Address1", "Address2",   "Address3", "City",
                                     "State",    "PostalCode", "Country"};

std::string referenceSql()
{
    std::string sql = "SELECT ";
    for (const char *f : SingleFields)
        sql += std::string(f) + ", ";
    sql += "AddressForLabels";
    for (const char *set : {"First_", "Second_"})
        for (const char *f : AddressFields)
            sql += std::string(", ") + set + f;
    sql += " FROM tblContacts ORDER BY LastName, FirstName, RecordID";
    return sql;
}

std::vector<RefColumn> referenceColumns()
{
    std::vector<RefColumn> c;
    for (int i = 0; i < 6; ++i)
        c.push_back({Kind::Value, i});
    for (int i = 0; i < 7; ++i)
        c.push_back({Kind::Address, Singles + 1 + i, Singles + 8 + i});
    for (int i = 6; i < Singles; ++i) {
        const std::string name = SingleFields[i];
        const Kind kind = name == "DateUpdated"                              ? Kind::DateOnly
                          : (name.size() == 5 && name.rfind("Date", 0) == 0) ? Kind::Date
                                                                             : Kind::Value;
        c.push_back({kind, i});
    }
    return c;
}

// Windows-1252 for the code points above Latin-1's C1 range that it places there.
unsigned char highByte(char32_t c)
{
    static const char32_t table[32] = {0x20AC, 0x81,   0x201A, 0x192,  0x201E, 0x2026, 0x2020, 0x2021,
                                       0x2C6,  0x2030, 0x160,  0x2039, 0x152,  0x8D,   0x17D,  0x8F,
                                       0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                       0x2DC,  0x2122, 0x161,  0x203A, 0x153,  0x9D,   0x17E,  0x178};
    for (int i = 0; i < 32; ++i)
        if (table[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    return '?';
}

void appendAnsi(std::string &out, const unsigned char *s, int n)
{
    for (int i = 0; i < n;) {
        const unsigned char b = s[i];
        if (b < 0x80) {
            out += b == '"' ? '\'' : char(b);
            ++i;
            continue;
        }
        const int len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        char32_t c = b & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
        for (int k = 1; k < len && i + k < n; ++k)
            c = (c << 6) | (s[i + k] & 0x3F);
        i += len;
        out += (c >= 0xA0 && c <= 0xFF) ? char(c) : char(highByte(c));
    }
}

void appendNumber(std::string &out, int value)
{
    char buffer[12];
    out.append(buffer, std::snprintf(buffer, sizeof buffer, "%d", value));
}

// "yyyy-mm-dd[ hh:mm:ss]" as 1/2/2020, with " 1:30:00 PM" when asked and the time is not midnight.
void appendDate(std::string &out, const char *s, int n, bool withTime)
{
    if (n < 10) {
        out.append(s, n);
        return;
    }
    appendNumber(out, std::atoi(std::string(s + 5, 2).c_str()));
    out += '/';
    appendNumber(out, std::atoi(std::string(s + 8, 2).c_str()));
    out += '/';
    out.append(s, 4);
    if (!withTime || n < 19 || std::strncmp(s + 11, "00:00:00", 8) == 0)
        return;
    const int h = std::atoi(std::string(s + 11, 2).c_str());
    out += ' ';
    appendNumber(out, h % 12 == 0 ? 12 : h % 12);
    out.append(s + 13, 6);
    out += h < 12 ? " AM" : " PM";
}

// Returns the time the sync took.
Clock::duration referenceExport(sqlite3_stmt *stmt, const std::vector<RefColumn> &columns, const char *header,
                                const std::string &path)
{
    const std::string temp = path + ".tmp";
    std::FILE *file = std::fopen(temp.c_str(), "wb");
    static char buffer[1 << 16];
    std::setvbuf(file, buffer, _IOFBF, sizeof buffer);
    std::fputs(header, file);
    std::string line;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        line.clear();
        const bool second = sqlite3_column_int(stmt, Singles) == 2;
        for (const RefColumn &c : columns) {
            const int column = c.kind == Kind::Address && second ? c.second : c.column;
            const auto *s = sqlite3_column_text(stmt, column);
            int n = sqlite3_column_bytes(stmt, column);
            int b = 0;
            while (b < n && s[b] == ' ')
                ++b;
            while (n > b && s[n - 1] == ' ')
                --n;
            if (!line.empty())
                line += ',';
            line += '"';
            if (c.kind == Kind::DateOnly || c.kind == Kind::Date)
                appendDate(line, reinterpret_cast<const char *>(s) + b, n - b, c.kind == Kind::Date);
            else
                appendAnsi(line, s + b, n - b);
            line += '"';
        }
        line += "\r\n";
        std::fwrite(line.data(), 1, line.size(), file);
    }
    sqlite3_reset(stmt);
    std::fflush(file);
    const auto beforeSync = Clock::now();
    fdatasync(fileno(file));
    const auto synced = Clock::now() - beforeSync;
    std::fclose(file);
    std::rename(temp.c_str(), path.c_str());
    return synced;
}

// ---- The program's side ----

// Answers the export's questions: Yes, the file, OK.
void answerDialogs(const QString &path)
{
    setDialogHookForTesting([path](const DialogRequest &request) {
        DialogAnswer answer;
        answer.accepted = true;
        if (request.kind == DialogKind::SaveFile)
            answer.fileName = path;
        else
            answer.result = request.title == QLatin1String("Confirmation") ? vbYes : vbOK;
        return answer;
    });
}

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// The processor time of the process so far: on a machine that other work keeps busy, the
// wall-clock ratio wanders more than this one.
double processorSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void ExportCsv100k(benchmark::State &state)
{
    const QString path = Contacts100k.ready();
    auto db = Database::open(path);
    DataControl Data1;
    Data1.setDatabase(db.get());
    Data1.setRecordSource(QStringLiteral("Select * From tblContacts Order By LastName, FirstName"));
    Data1.refresh();
    // The list counts its records as the main window's grid does.
    Data1.recordset()->recordCount();
    DataControlRecords records(Data1);
    CommonDialog CMDialog1;

    sqlite3 *raw = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
    // The text columns are declared in the program's own order; without it SQLite refuses
    // the statement.
    platform::registerTextCollation(raw);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(raw, referenceSql().c_str(), -1, &stmt, nullptr);
    const std::vector<RefColumn> columns = referenceColumns();

    QTemporaryDir dir;
    const QString programFile = dir.filePath(QStringLiteral("program.txt"));
    const std::string referenceFile = dir.filePath(QStringLiteral("reference.txt")).toStdString();
    answerDialogs(programFile);
    // The first line as the program writes it, so both files can be compared whole.
    ExportCsv(records, CMDialog1, false);
    const QByteArray programBytes = fileBytes(programFile);
    const std::string header = programBytes.left(programBytes.indexOf("\r\n") + 2).toStdString();

    bench::PairedTimes wall, processor;
    double syncTotal = 0;
    for (auto _ : state) {
        double programCpu = 0, referenceCpu = 0, sync = 0;
        const double programTime = wall.time(
            [&] {
                const double c0 = processorSeconds();
                ExportCsv(records, CMDialog1, false);
                programCpu = processorSeconds() - c0;
            },
            [&] {
                const double c0 = processorSeconds();
                sync = seconds(referenceExport(stmt, columns, header.c_str(), referenceFile));
                referenceCpu = processorSeconds() - c0;
            });
        processor.add(programCpu, referenceCpu);
        state.SetIterationTime(programTime);
        syncTotal += sync;
    }
    const bool same = fileBytes(programFile) == fileBytes(QString::fromStdString(referenceFile));
    if (!same)
        state.SkipWithError("the export and the reference wrote different bytes");
    wall.report(state);
    processor.report(state, "ms", "cpu_");
    state.counters["ref_sync_ms"] = syncTotal * 1000.0 / double(state.iterations());
    state.counters["mb"] = double(programBytes.size()) / (1024.0 * 1024.0);
    setDialogHookForTesting({});
    sqlite3_finalize(stmt);
    sqlite3_close(raw);
}

} // namespace

BENCHMARK(ExportCsv100k)->UseManualTime()->Iterations(8)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    // Dates are written in the en_US short form on both sides.
    qputenv("LC_ALL", "en_US.UTF-8");
    qputenv("LANG", "en_US.UTF-8");
    return bench::main(argc, argv);
}

// Translation of long Or chains: one chain of 20,000 terms against ten chains of 2,000
// terms, the same text length in all. A ratio near 1 says translation grows linearly
// with the text; the side's median time is the 20,000-term chain's.
#include "BenchSupport.h"

#include "platform/db/jet/JetDialect.h"

using namespace platform;

namespace {

const QList<JetColumn> Columns{{"RecordID", JetType::Counter}, {"LastName", JetType::Text, 50, true}};

const QList<JetColumn> *catalog(const QString &table)
{
    return table.compare(QLatin1String("tblContacts"), Qt::CaseInsensitive) == 0 ? &Columns : nullptr;
}

QString chain(int terms, const char *op)
{
    QStringList parts;
    for (int i = 0; i < terms; ++i)
        parts << QStringLiteral("LastName = 'n%1'").arg(i);
    return parts.join(QLatin1String(op));
}

void translateChain(benchmark::State &state, const char *op)
{
    const QString whole = chain(20000, op);
    const QString part = chain(2000, op);
    bench::PairedTimes times;
    for (auto _ : state) {
        qsizetype a = 0, b = 0;
        state.SetIterationTime(times.time(
            [&] { a = translateJetCriterion(whole, QStringLiteral("tblContacts"), catalog).size(); },
            [&] {
                for (int i = 0; i < 10; ++i)
                    b += translateJetCriterion(part, QStringLiteral("tblContacts"), catalog).size();
            }));
        benchmark::DoNotOptimize(a + b);
    }
    times.report(state);
}

void BM_OrChain20000(benchmark::State &state) { translateChain(state, " Or "); }
void BM_AndChain20000(benchmark::State &state) { translateChain(state, " And "); }

} // namespace

BENCHMARK(BM_OrChain20000)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AndChain20000)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return bench::main(argc, argv);
}

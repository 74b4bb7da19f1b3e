// Splitting a long text with many braces into the painter's pieces, against
// one plain pass over the same text that counts its braces.

#include "drawing/TEXTMALER.h"

#include <QString>
#include <benchmark/benchmark.h>

namespace {
// As many braces as asked, every other one the start of a group "{t," that
// never closes, each followed by a letter.
QString Klammertext(int klammern) {
    QString text;
    text.reserve(qsizetype(klammern) * 3);
    for (int i = 0; i < klammern; ++i) {
        text += (i % 2 == 0) ? QStringLiteral("{") : QStringLiteral("{t,");
        text += QChar(u'a' + i % 26);
    }
    return text;
}

void BM_ZERLEGEN(benchmark::State& state) {
    const QString text = Klammertext(int(state.range(0)));
    for (auto _ : state) {
        const QList<TEXTSTUECK> stuecke = TEXTMALER::ZERLEGEN(text);
        benchmark::DoNotOptimize(stuecke.size());
    }
}

void BM_TextScan(benchmark::State& state) {
    const QString text = Klammertext(int(state.range(0)));
    for (auto _ : state) {
        qsizetype klammern = 0;
        for (QChar c : text)
            if (c == u'{' || c == u'}') ++klammern;
        benchmark::DoNotOptimize(klammern);
    }
}
} // namespace

BENCHMARK(BM_ZERLEGEN)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextScan)->Arg(1000000)->Unit(benchmark::kMillisecond);

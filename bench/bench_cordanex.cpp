#include "builder/command_builder.h"
#include "builder/relay_listing.h"

#include <benchmark/benchmark.h>

namespace {

using cordanex::CommandForm;
using cordanex::PayloadMode;

// The largest payload a command may carry: 255 bytes, typed as spaced hex pairs.
void BM_BuildCommandText_Hex255(benchmark::State &state)
{
    CommandForm form;
    form.payloadMode = PayloadMode::Hex;
    form.payloadText = QByteArray("A5 ").repeated(255);
    const QByteArray outputBox;
    for (auto _ : state)
        benchmark::DoNotOptimize(cordanex::BuildCommandText(form, outputBox));
}
BENCHMARK(BM_BuildCommandText_Hex255);

void BM_BuildCommandText_Ascii255(benchmark::State &state)
{
    CommandForm form;
    form.payloadMode = PayloadMode::Ascii;
    form.addLineBreak = true;
    form.payloadText = QByteArray(255, 'x');
    const QByteArray outputBox;
    for (auto _ : state)
        benchmark::DoNotOptimize(cordanex::BuildCommandText(form, outputBox));
}
BENCHMARK(BM_BuildCommandText_Ascii255);

void BM_BuildRelayListing(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(cordanex::BuildRelayListing(8, 6, 0, 12));
}
BENCHMARK(BM_BuildRelayListing);

} // namespace

BENCHMARK_MAIN();

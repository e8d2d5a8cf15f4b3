// One full reading per iteration, as the 算出 command makes it once its six texts
// are numbers: the offset row picked from the month's text, offsets, natal star,
// lucky stars, both boards, their marks and the eight row texts. The dates vary
// so that no result can be hoisted out of the loop.

#include "reckoning/reading.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <string_view>

namespace {

void fullReading(benchmark::State& state)
{
    std::array<reckoning::CivilDate, 64> births{};
    std::array<reckoning::CivilDate, 64> reads{};
    std::array<std::string, 64> monthTexts{};
    for (std::size_t i = 0; i < births.size(); ++i) {
        const auto k = static_cast<std::int64_t>(i);
        births[i] = {1930 + k, 1 + k % 12, 1 + (k * 7) % 31};
        reads[i] = {2000 + k, 1 + (k * 5) % 12, 1 + (k * 11) % 31};
        monthTexts[i] = std::to_string(reads[i].month);
    }
    std::size_t i = 0;
    for (auto _ : state) {
        const reckoning::OffsetRow row = reckoning::offsetRowForMonthText(monthTexts[i]);
        const reckoning::Reading r = reckoning::readingFor(births[i], reads[i], row);
        benchmark::DoNotOptimize(r);
        for (const auto* directions : {&r.monthDirections, &r.yearDirections}) {
            for (const reckoning::UnluckyRow& unlucky : directions->rows) {
                const std::string_view text = unlucky.text();
                benchmark::DoNotOptimize(text.data());
                benchmark::DoNotOptimize(text.size());
            }
        }
        i = (i + 1) % births.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(fullReading);

}  // namespace

// The calculate command without the window: six texts in, a whole display out.

#include "mainwindow/calculate.h"

#include <benchmark/benchmark.h>

namespace {

void calculateReading(benchmark::State& state)
{
    const mainwindow::ReadingInputs inputs{"1980", "5", "5", "2024", "2", "10"};
    mainwindow::ReadingDisplay display = mainwindow::startDisplay();
    for (auto _ : state) {
        display = mainwindow::calculate(inputs, std::move(display));
        benchmark::DoNotOptimize(display);
    }
}
BENCHMARK(calculateReading);

}  // namespace

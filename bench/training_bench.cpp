// What one tick of the training window costs: the step alone, the step copied
// into the labels, and the step with the window painted as the screen would.
//
//   QT_QPA_PLATFORM=offscreen build/bench/training_bench --benchmark_repetitions=5

#include "training/flight.h"
#include "training/form1.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPointer>

#include <benchmark/benchmark.h>

using training::Form1;

namespace {

void FlightStep(benchmark::State& state)
{
    training::TrainingBoard board = training::initialTrainingBoard();
    for (auto _ : state) {
        board = training::flightStep(board, 4).board;
        benchmark::DoNotOptimize(board);
    }
}
BENCHMARK(FlightStep);

void WindowTick(benchmark::State& state)
{
    QPointer<Form1> window = new Form1;
    window->show();
    for (auto _ : state) {
        window->tick();
    }
    delete window.data();
}
BENCHMARK(WindowTick);

void WindowTickPainted(benchmark::State& state)
{
    QPointer<Form1> window = new Form1;
    window->show();
    QImage screen(window->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        window->tick();
        QPainter painter(&screen);
        window->render(&painter);
    }
    delete window.data();
}
BENCHMARK(WindowTickPainted)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

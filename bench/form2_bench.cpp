// The calculate command end to end through the main window: the inputs are set,
// 算出 is clicked, the reading is worked out and written into the labels.
// Painting is left to the event loop and is not part of the command.

#include "mainwindow/form2.h"
#include "mainwindow/form2_layout.h"
#include "testkit/main_window.h"

#include <QApplication>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <array>

namespace {

// Two readings that differ in every board, mark and row, so that every label
// changes on every click.
const std::array<mainwindow::ReadingInputs, 2> Readings = {{
    {"1980", "5", "5", "2024", "2", "10"},
    {"1971", "11", "30", "2031", "8", "3"},
}};

class Window {
public:
    Window()
    {
        form.resize(mainwindow::form2_layout::LayoutArea.width, mainwindow::form2_layout::LayoutArea.height);
        form.show();
        QApplication::processEvents();
        command1 = qobject_cast<QPushButton*>(driver.control(QStringLiteral("Command1")));
    }

    mainwindow::Form2 form;
    testkit::MainWindowDriver driver{form};
    QPushButton* command1 = nullptr;
};

Window* window = nullptr;

// Typed inputs, a click, every label rewritten.
void calculateNewReading(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        window->driver.typeReading(Readings[i]);
        window->command1->click();
        benchmark::DoNotOptimize(window->form.display());
        i ^= 1u;
    }
    QApplication::processEvents();
}
BENCHMARK(calculateNewReading);

// The same reading again: the handler alone, with nothing on the window to change.
void calculateSameReading(benchmark::State& state)
{
    window->driver.typeReading(Readings[0]);
    for (auto _ : state) {
        window->form.calculateReading();
        benchmark::DoNotOptimize(window->form.display());
    }
    QApplication::processEvents();
}
BENCHMARK(calculateSameReading);

// Rendering alone: two prepared displays written into the labels in turn.
void showReading(benchmark::State& state)
{
    std::array<mainwindow::ReadingDisplay, 2> displays;
    for (std::size_t k = 0; k < displays.size(); ++k) {
        window->driver.typeReading(Readings[k]);
        window->form.calculateReading();
        displays[k] = window->form.display();
    }
    std::size_t i = 0;
    for (auto _ : state) {
        window->form.showReading(displays[i]);
        i ^= 1u;
    }
    QApplication::processEvents();
}
BENCHMARK(showReading);

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    testkit::useProgramFont();
    Window w;
    window = &w;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    window = nullptr;
    return 0;
}

// The calculate command end to end through the main window: the inputs are set,
// 算出 is clicked, the reading is worked out and written into the labels.
// Painting is left to the event loop and is not part of the command.

#include "mainwindow/form2.h"
#include "mainwindow/form2_layout.h"
#include "uikit/look.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <array>

namespace {

struct Inputs {
    const char* birthYear;
    const char* birthMonth;
    const char* birthDay;
    const char* readingYear;
    const char* readingMonth;
    const char* readingDay;
};

// Two readings that differ in every board, mark and row, so that every label
// changes on every click.
constexpr std::array<Inputs, 2> Readings = {{
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
        text1 = form.findChild<QLineEdit*>(QStringLiteral("Text1"));
        text4 = form.findChild<QLineEdit*>(QStringLiteral("Text4"));
        for (int k = 0; k < 4; ++k) {
            combos[static_cast<std::size_t>(k)] = form.findChild<QComboBox*>(QStringLiteral("Combo%1").arg(k + 1));
        }
        command1 = form.findChild<QPushButton*>(QStringLiteral("Command1"));
    }

    void enter(const Inputs& in)
    {
        text1->setText(QString::fromUtf8(in.birthYear));
        combos[0]->setEditText(QString::fromUtf8(in.birthMonth));
        combos[1]->setEditText(QString::fromUtf8(in.birthDay));
        text4->setText(QString::fromUtf8(in.readingYear));
        combos[2]->setEditText(QString::fromUtf8(in.readingMonth));
        combos[3]->setEditText(QString::fromUtf8(in.readingDay));
    }

    mainwindow::Form2 form;
    QLineEdit* text1 = nullptr;
    QLineEdit* text4 = nullptr;
    std::array<QComboBox*, 4> combos{};
    QPushButton* command1 = nullptr;
};

Window* window = nullptr;

// Typed inputs, a click, every label rewritten.
void calculateNewReading(benchmark::State& state)
{
    std::size_t i = 0;
    for (auto _ : state) {
        window->enter(Readings[i]);
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
    window->enter(Readings[0]);
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
        window->enter(Readings[k]);
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
    QApplication::setFont(uikit::defaultUiFont());
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

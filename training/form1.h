#pragma once

// Form1, the training window ("トヴァラ"): the training board, the direction and
// period labels, the speed slider and the 戻る button, driven by one timer.
//
// The window joins three pieces and holds no logic of its own:
//  - training/flight.h computes every tick (the moved board and the direction
//    text) and what the slider's value means (period text, tick period);
//  - SpeedSlider is the slider, minimum at the top;
//  - the labels only show a TrainingBoard; the window copies each step into them.
//
// Hand-over: the window never knows the main window. Pressing 戻る or closing the
// frame emits returnToMain() first (the main window shows itself, so the program
// always has a visible window) and then the window closes and deletes itself:
// nothing survives, and the next opening is a fresh Form1 on the home board.

#include "training/flight.h"

#include <QWidget>

#include <array>

class QCloseEvent;
class QLabel;
class QPaintEvent;
class QPushButton;
class QTimer;

namespace training {

class SpeedSlider;

class Form1 final : public QWidget {
    Q_OBJECT

public:
    // A top-level window without an owner; it deletes itself when closed.
    Form1();

    // What Timer1 runs at every tick: reads the slider, steps the board, shows it.
    void tick();

signals:
    // The training window is closing; the main window should show itself now.
    void returnToMain();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void createControls();
    void connectControls();
    void onSliderChanged(int value);
    void showBoard();

    TrainingBoard m_board;
    std::array<QLabel*, 10> m_cells{};  // Label1(0..9), by palace; 0 is the scratch cell
    QLabel* m_direction = nullptr;       // Label2
    QLabel* m_period = nullptr;          // Label3
    SpeedSlider* m_slider = nullptr;  // Slider1
    QPushButton* m_return = nullptr;     // Command1
    QTimer* m_timer = nullptr;           // Timer1
};

}  // namespace training

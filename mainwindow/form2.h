#pragma once

// Form2, the main window (九星方位学): the inputs of a reading, the month and
// year boards with their marks, the unlucky and lucky directions, the natal star,
// the home-board legend, the person list and the buttons of every command.
//
// Form2 joins four pieces and holds no reckoning of its own:
//   - form2_layout::Controls (form2_layout.h): every control's name, place, font,
//     colours and start content; Form2 builds its controls from it and nothing
//     else, so no geometry lives in code. The window reaches a control only
//     through the table's handles (form2_layout::control), checked while compiling;
//   - calculate() (calculate.h): the 算出 command as a pure function from the six
//     input texts and the previous display to the next ReadingDisplay;
//   - ReadingView (reading_view.h): copies a ReadingDisplay into the labels;
//   - the person list (personlist/): its grid stands in the window, and its five
//     commands work on the grid and the four person inputs.
//   - uikit/input_method.h: the date inputs take the keys as typed, and the name
//     box has Japanese input switched on when the user moves to it.
// Form2 owns the current ReadingDisplay: the labels show exactly it.
//
// The training window (training/form1.h) is opened fresh by イメージ; it hands
// back through its returnToMain() signal, on 戻る or when closed by its frame.
//
// Every control carries its name as objectName ("Text1", "Label13(4)"): tests,
// screenshots and screen readers know the controls by it.

#include "mainwindow/calculate.h"
#include "mainwindow/reading_display.h"
#include "mainwindow/reading_view.h"

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <vector>

namespace personlist {
class ListCommands;
class PersonGrid;
}
namespace uikit {
class Dialogs;
class InputMethodSwitch;
}
namespace training {
class Form1;
}

namespace mainwindow {

namespace form2_layout {
enum class Kind : std::uint8_t;
template <Kind K>
struct Handle;
}  // namespace form2_layout
template <form2_layout::Kind K>
struct WidgetOf;

class Form2 final : public QWidget {
    Q_OBJECT

public:
    // The window asks its questions through `dialogs`, and has Japanese input
    // switched on in the name box through `inputMethod`; without them it shows the
    // real dialogs and asks the platform's input method. Tests hand in their own.
    explicit Form2(uikit::Dialogs* dialogs = nullptr, uikit::InputMethodSwitch* inputMethod = nullptr,
                   QWidget* parent = nullptr);
    ~Form2() override;

    // The six texts the calculate command reads, exactly as they stand.
    ReadingInputs readingInputs() const;

    const ReadingDisplay& display() const { return m_display; }
    personlist::PersonGrid& personGrid() const;
    void showReading(ReadingDisplay display);

    // The 算出 command: reads the six inputs, works out the reading, shows it.
    // With a year box empty it does nothing; with a text that is no number it
    // beeps and selects that input, and the reading on screen stays as it was.
    void calculateReading();

    // The イメージ command: opens a fresh training window and steps aside until it
    // hands back. This window stays loaded, with its inputs, reading and list.
    void openTraining();

    // 1 where the layout fits; maximised or full screen on a smaller client
    // area, the one factor by which every position, size and face is drawn.
    double layoutScale() const;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    template <form2_layout::Kind K>
    typename WidgetOf<K>::type* widget(form2_layout::Handle<K> handle) const;
    std::vector<QWidget*> buildControls(uikit::InputMethodSwitch& inputMethod);
    void setBuddies();
    void setFocusOrder();
    void connectCommands();
    void refuseInput(ReadingField field);
    void fitLayout();
    void scaleGrid();
    void fitNumberColumn();

    std::unique_ptr<uikit::Dialogs> m_ownDialogs;  // the real dialogs, when none were handed in
    uikit::Dialogs& m_dialogs;
    std::vector<QWidget*> m_controls;  // in the order of form2_layout::Controls
    ReadingDisplay m_display;
    ReadingView m_view;
    personlist::ListCommands* m_listCommands = nullptr;
    QPointer<training::Form1> m_training;  // the open training window, if any
    double m_scale = 1;                    // the layout as drawn now
};

}  // namespace mainwindow

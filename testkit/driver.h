#pragma once

// What the tests, the soak and the benchmarks do to the program's widgets, done
// one way everywhere: the program's face set, a click, a person typed into the
// person inputs, the list read back as the grid shows it, closed windows let go.
// testkit/main_window.h drives the main window itself.

#include "personlist/list_commands.h"
#include "personlist/person.h"

#include <QString>
#include <QStringList>

#include <vector>

class QWidget;

namespace personlist {
class PersonGrid;
}

namespace testkit {

// The default face the program gives the application at start, without the
// toolkit's Japanese texts that uikit::prepareApplication installs as well.
void useProgramFont();

// A left click in the middle of the control, pressed and released.
void click(QWidget* control);

// A window closed by 戻る or by its frame deletes itself later: it is gone once
// this has delivered the deletions posted so far.
void letClosedWindowsGo();

// The four texts set into the person inputs as they stand (QTest::keyClicks
// cannot type Japanese).
void typePerson(const personlist::PersonInputs& inputs, const QString& name, const QString& year,
                const QString& month, const QString& day);

// The persons as the grid shows them, top to bottom, and their names alone.
std::vector<personlist::Person> shownPersons(const personlist::PersonGrid& grid);
QStringList shownNames(const personlist::PersonGrid& grid);

}  // namespace testkit

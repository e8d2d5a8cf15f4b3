#pragma once

// The five commands of the person list: リスト登録, 読み出し and 削除 move persons
// between the person inputs and the grid; リスト保存 and リストを開く move the whole
// grid to and from a list file.
//
// Each handler reads the inputs or the grid, calls the person list core, and
// writes the grid or the inputs back. Every dialog goes through uikit::Dialogs,
// so the commands run the same under tests with scripted answers.

#include "fileio/save_watch.h"
#include "personlist/list_file.h"
#include "personlist/person_grid.h"

#include <QObject>

#include <filesystem>
#include <functional>
#include <memory>

class QComboBox;
class QLineEdit;

namespace uikit {
class Dialogs;
}

namespace personlist {

// The main window's person inputs. The two lists are editable: the commands
// read and write the text in their field, never an item position.
struct PersonInputs {
    QLineEdit* name;    // Text2
    QLineEdit* year;    // Text1
    QComboBox* month;   // Combo1
    QComboBox* day;     // Combo2
};

// Where the list file commands read and save. The program uses the real
// files; a test puts in its own, for example to hold a save at its write.
struct ListFileCalls {
    std::function<ListFileContents(const std::filesystem::path&)> read = readListFile;
    std::shared_ptr<fileio::SaveWatch> write = std::make_shared<fileio::Unwatched>();
};

class ListCommands final : public QObject {
    Q_OBJECT

public:
    ListCommands(PersonInputs inputs, PersonGrid& grid, uikit::Dialogs& dialogs, QObject* parent = nullptr);

    void setFileCalls(ListFileCalls calls) { m_files = std::move(calls); }

public slots:
    void registerPerson();  // Command3 "リスト登録"
    void loadPerson();      // Command4 "読み出し"
    void deletePerson();    // Command7 "削除"
    void saveList();        // Command5 "リスト保存"
    void openList();        // Command6 "リストを開く"

private:
    PersonInputs m_inputs;
    PersonGrid& m_grid;
    uikit::Dialogs& m_dialogs;
    ListFileCalls m_files;
};

}  // namespace personlist

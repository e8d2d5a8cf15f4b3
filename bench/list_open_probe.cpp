// Peak memory of opening a list file, to be run under GNU time:
//
//   list_open_probe write 1000000 big.orx   writes a generated list of that many persons
//   list_open_probe open big.orx            reads it as リストを開く does, and quits
//   list_open_probe grid big.orx            opens it through リストを開く into the list
//                                           grid (offscreen), and quits
//
//   /usr/bin/time -v build/bench/list_open_probe grid big.orx   (Maximum resident set size)
//
// The same run on a list of no persons is the baseline: what is left, divided
// by the number of persons, is the memory one person costs while it opens.

#include "bench/generated_persons.h"
#include "personlist/list_commands.h"
#include "personlist/list_file.h"
#include "uikit/dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

int openIntoGrid(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QWidget window;
    auto* grid = new personlist::PersonGrid(&window);
    uikit::ScriptedDialogs dialogs;
    personlist::ListCommands commands({new QLineEdit(&window), new QLineEdit(&window), new QComboBox(&window),
                                       new QComboBox(&window)},
                                      *grid, dialogs);
    dialogs.answerPath(QString::fromLocal8Bit(argv[2]));
    commands.openList();
    std::printf("%d persons in the grid\n", grid->lastRow());
    return grid->lastRow() > 0 || dialogs.shown().size() == 1 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::string_view(argv[1]) == "write") {
        const auto persons = bench::generatedPersons(std::strtoull(argv[2], nullptr, 10));
        return personlist::writeListFile(argv[3], persons) ? 1 : 0;
    }
    if (argc == 3 && std::string_view(argv[1]) == "open") {
        const personlist::ListFileContents opened = personlist::readListFile(argv[2]);
        if (opened.error) {
            std::fputs("the list did not open\n", stderr);
            return 1;
        }
        std::printf("%zu persons\n", opened.persons.size());
        return 0;
    }
    if (argc == 3 && std::string_view(argv[1]) == "grid") {
        return openIntoGrid(argc, argv);
    }
    std::fputs("usage: list_open_probe write COUNT FILE | list_open_probe open|grid FILE\n", stderr);
    return 2;
}

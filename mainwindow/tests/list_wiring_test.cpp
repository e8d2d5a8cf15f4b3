// The main window's list buttons reach the person list commands, with the grid
// and the four person inputs of this window and the window's dialogs.

#include "mainwindow/calculate.h"
#include "mainwindow/form2.h"
#include "personlist/person_grid.h"
#include "testkit/main_window.h"
#include "uikit/dialogs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using mainwindow::Form2;
using Shown = uikit::ScriptedDialogs::Shown;

class ListWiringTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testkit::useProgramFont(); }

    void everyListButtonWorksInTheWindow()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        uikit::ScriptedDialogs dialogs;
        Form2 form(&dialogs);
        form.show();
        const testkit::MainWindowDriver window(form);

        window.typePerson(QStringLiteral("山田"), QStringLiteral("1960"), QStringLiteral("3"), QStringLiteral("12"));
        window.click("Command3");
        window.typePerson(QStringLiteral("佐藤"), QStringLiteral("1975"), QStringLiteral("13"), QStringLiteral("45"));
        window.click("Command3");
        QCOMPARE(window.shownNames(), (QStringList{QStringLiteral("佐藤"), QStringLiteral("山田")}));
        QCOMPARE(form.personGrid().currentRow(), 1);

        const QString path = dir.filePath(QStringLiteral("list"));
        dialogs.answerPath(path);
        window.click("Command5");
        QVERIFY(QFile::exists(path + QStringLiteral(".orx")));
        QCOMPARE(QFileInfo(path + QStringLiteral(".orx")).size(), 360);

        form.personGrid().setCurrentRow(2);
        dialogs.answerYesNo(true);
        window.click("Command7");
        QCOMPARE(window.shownNames(), QStringList{QStringLiteral("佐藤")});
        QCOMPARE(form.findChild<QLineEdit*>("Text2")->text(), QString());

        dialogs.answerPath(path + QStringLiteral(".orx"));
        window.click("Command6");
        QCOMPARE(window.shownNames(), (QStringList{QStringLiteral("佐藤"), QStringLiteral("山田")}));

        form.personGrid().setCurrentRow(1);
        window.click("Command4");
        QCOMPARE(form.findChild<QLineEdit*>("Text2")->text(), QStringLiteral("佐藤"));
        QCOMPARE(form.findChild<QComboBox*>("Combo1")->currentText(), QStringLiteral("13"));
        QCOMPARE(form.findChild<QComboBox*>("Combo2")->currentText(), QStringLiteral("45"));
        // Loading a person calculates nothing.
        QCOMPARE(form.display(), mainwindow::startDisplay());

        QVERIFY(dialogs.allAnswersUsed());
        QCOMPARE(dialogs.unanswered(), 0);
        QCOMPARE(dialogs.shown().size(), std::size_t{3});
        QCOMPARE(dialogs.shown()[0].title, QStringLiteral("リスト保存"));
        QCOMPARE(dialogs.shown()[1].title, QStringLiteral("データ削除"));
        QCOMPARE(dialogs.shown()[1].text, QStringLiteral("山田 さんのデータを\n削除しますか？"));
        QCOMPARE(dialogs.shown()[2].title, QStringLiteral("リストを開く"));
    }

    // An era year is read as its Western year, but the list keeps what was typed.
    void eraYearIsKeptAsTyped()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        uikit::ScriptedDialogs dialogs;
        Form2 form(&dialogs);
        form.show();
        const testkit::MainWindowDriver window(form);

        window.typePerson(QStringLiteral("山田"), QStringLiteral("昭和55"), QStringLiteral("5"), QStringLiteral("5"));
        window.click("Command3");
        const QString path = dir.filePath(QStringLiteral("era.orx"));
        dialogs.answerPath(path);
        window.click("Command5");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains(QByteArray("\x8F\xBA\x98\x61" "55              ", 20)));

        window.typePerson(QString(), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"));
        dialogs.answerPath(path);
        window.click("Command6");
        form.personGrid().setCurrentRow(1);
        window.click("Command4");
        QCOMPARE(form.findChild<QLineEdit*>("Text1")->text(), QStringLiteral("昭和55"));

        form.findChild<QLineEdit*>("Text4")->setText(QStringLiteral("令和6"));
        form.findChild<QComboBox*>("Combo3")->setEditText(QStringLiteral("2"));
        form.findChild<QComboBox*>("Combo4")->setEditText(QStringLiteral("10"));
        window.click("Command1");
        const auto expected = mainwindow::calculate({"1980", "5", "5", "2024", "2", "10"}, mainwindow::startDisplay());
        QCOMPARE(form.display(), expected);
        QVERIFY(dialogs.allAnswersUsed());
    }
};

QTEST_MAIN(ListWiringTest)
#include "list_wiring_test.moc"

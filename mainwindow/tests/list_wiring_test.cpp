// The main window's list buttons reach the person list commands, with the grid
// and the four person inputs of this window and the window's dialogs.

#include "mainwindow/calculate.h"
#include "mainwindow/form2.h"
#include "personlist/person_grid.h"
#include "uikit/dialogs.h"
#include "uikit/look.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using mainwindow::Form2;
using Shown = uikit::ScriptedDialogs::Shown;

namespace {

void click(Form2& form, const char* button) { QTest::mouseClick(form.findChild<QWidget*>(button), Qt::LeftButton); }

void typePerson(Form2& form, const QString& name, const QString& year, const QString& month, const QString& day)
{
    form.findChild<QLineEdit*>("Text2")->setText(name);
    form.findChild<QLineEdit*>("Text1")->setText(year);
    form.findChild<QComboBox*>("Combo1")->setEditText(month);
    form.findChild<QComboBox*>("Combo2")->setEditText(day);
}

QStringList names(const Form2& form)
{
    QStringList result;
    const auto& model = form.personGrid().model();
    for (int row = 0; row < model.rowCount(); ++row) {
        result << model.index(row, personlist::PersonGridModel::Name).data().toString();
    }
    return result;
}

}  // namespace

class ListWiringTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setFont(uikit::defaultUiFont()); }

    void everyListButtonWorksInTheWindow()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        uikit::ScriptedDialogs dialogs;
        Form2 form(&dialogs);
        form.show();

        typePerson(form, QStringLiteral("山田"), QStringLiteral("1960"), QStringLiteral("3"), QStringLiteral("12"));
        click(form, "Command3");
        typePerson(form, QStringLiteral("佐藤"), QStringLiteral("1975"), QStringLiteral("13"), QStringLiteral("45"));
        click(form, "Command3");
        QCOMPARE(names(form), (QStringList{QStringLiteral("佐藤"), QStringLiteral("山田")}));
        QCOMPARE(form.personGrid().currentRow(), 1);

        const QString path = dir.filePath(QStringLiteral("list"));
        dialogs.answerPath(path);
        click(form, "Command5");
        QVERIFY(QFile::exists(path + QStringLiteral(".orx")));
        QCOMPARE(QFileInfo(path + QStringLiteral(".orx")).size(), 360);

        form.personGrid().setCurrentRow(2);
        dialogs.answerYesNo(true);
        click(form, "Command7");
        QCOMPARE(names(form), QStringList{QStringLiteral("佐藤")});
        QCOMPARE(form.findChild<QLineEdit*>("Text2")->text(), QString());

        dialogs.answerPath(path + QStringLiteral(".orx"));
        click(form, "Command6");
        QCOMPARE(names(form), (QStringList{QStringLiteral("佐藤"), QStringLiteral("山田")}));

        form.personGrid().setCurrentRow(1);
        click(form, "Command4");
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

        typePerson(form, QStringLiteral("山田"), QStringLiteral("昭和55"), QStringLiteral("5"), QStringLiteral("5"));
        click(form, "Command3");
        const QString path = dir.filePath(QStringLiteral("era.orx"));
        dialogs.answerPath(path);
        click(form, "Command5");
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains(QByteArray("\x8F\xBA\x98\x61" "55              ", 20)));

        typePerson(form, QString(), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"));
        dialogs.answerPath(path);
        click(form, "Command6");
        form.personGrid().setCurrentRow(1);
        click(form, "Command4");
        QCOMPARE(form.findChild<QLineEdit*>("Text1")->text(), QStringLiteral("昭和55"));

        form.findChild<QLineEdit*>("Text4")->setText(QStringLiteral("令和6"));
        form.findChild<QComboBox*>("Combo3")->setEditText(QStringLiteral("2"));
        form.findChild<QComboBox*>("Combo4")->setEditText(QStringLiteral("10"));
        click(form, "Command1");
        const auto expected = mainwindow::calculate({"1980", "5", "5", "2024", "2", "10"}, mainwindow::startDisplay());
        QCOMPARE(form.display(), expected);
        QVERIFY(dialogs.allAnswersUsed());
    }
};

QTEST_MAIN(ListWiringTest)
#include "list_wiring_test.moc"

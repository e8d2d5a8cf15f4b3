// The real questions as the user meets them: plain boxes in Japanese, Yes the
// default. Each box is answered from a timer, so no test waits on a person.

#include "uikit/dialogs.h"
#include "uikit/look.h"

#include <QAbstractButton>
#include <QAbstractFileIconProvider>
#include <QFileDialog>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>

#ifndef Q_OS_WIN
#include <sys/inotify.h>
#include <unistd.h>
#endif

namespace {

struct SeenBox {
    QString title;
    QString text;
    QStringList buttons;
    bool buttonIcons = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString defaultButton;
    Qt::TextFormat shownAs = Qt::AutoText;  // of the label that draws the text
};

// Looks at the box that is open once the event loop runs, then presses `answer`.
void answerNextBox(SeenBox& seen, QMessageBox::StandardButton answer)
{
    QTimer::singleShot(0, qApp, [&seen, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton* button : box->buttons()) {
            seen.buttons << button->text();
            seen.buttonIcons = seen.buttonIcons || !button->icon().isNull();
        }
        seen.defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            seen.shownAs = label->textFormat();
        }
        box->button(answer)->click();
    });
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { uikit::prepareApplication(*qApp); }

    void questionIsAPlainJapaneseBoxWithYesAsDefault_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("yes");
        QTest::newRow("はい") << int(QMessageBox::Yes) << true;
        QTest::newRow("いいえ") << int(QMessageBox::No) << false;
    }
    void questionIsAPlainJapaneseBoxWithYesAsDefault()
    {
        QFETCH(int, answer);
        QFETCH(bool, yes);
        QWidget window;
        uikit::QtDialogs dialogs(&window);
        SeenBox seen;
        answerNextBox(seen, QMessageBox::StandardButton(answer));
        QCOMPARE(dialogs.askYesNo(QStringLiteral("データ削除"), QStringLiteral("山田 さんのデータを\n削除しますか？")),
                 yes);
        QCOMPARE(seen.title, QStringLiteral("データ削除"));
        QCOMPARE(seen.text, QStringLiteral("山田 さんのデータを\n削除しますか？"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QVERIFY(!seen.buttonIcons);
        QCOMPARE(seen.buttons.size(), 2);
        QVERIFY2(seen.defaultButton.startsWith(QStringLiteral("はい")), qPrintable(seen.defaultButton));
        QVERIFY2(seen.buttons.join(u' ').contains(QStringLiteral("いいえ")), qPrintable(seen.buttons.join(u' ')));
    }

    void failureMessageIsAPlainBox()
    {
        QWidget window;
        uikit::QtDialogs dialogs(&window);
        SeenBox seen;
        answerNextBox(seen, QMessageBox::Ok);
        dialogs.inform(QStringLiteral("リスト保存"), QStringLiteral("リストを保存できませんでした。\n理由"));
        QCOMPARE(seen.title, QStringLiteral("リスト保存"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons.size(), 1);
        QVERIFY(!seen.buttonIcons);
    }

    // A name is shown as typed: "<b>" is no bold, "<br>" no line break, and the
    // line break before the question stays.
    void markupInANameIsShownAsTyped()
    {
        const QString text = QStringLiteral("<b>bob</b><br>x &amp; さんのデータを\n削除しますか？");
        QWidget window;
        uikit::QtDialogs dialogs(&window);
        for (const bool question : {true, false}) {
            SeenBox seen;
            answerNextBox(seen, question ? QMessageBox::No : QMessageBox::Ok);
            if (question) {
                dialogs.askYesNo(QStringLiteral("データ削除"), text);
            } else {
                dialogs.inform(QStringLiteral("リスト保存"), text);
            }
            QCOMPARE(seen.text, text);
            QCOMPARE(seen.shownAs, Qt::PlainText);
        }
    }

    // A question the script did not expect is answered No and counted, so a
    // test fails on it instead of hanging.
    // A folder on a disk that does not answer must not freeze the dialog: its
    // icons and type names come without opening a single file of the folder.
    // Qt's own dialog, which Linux desktops get; Windows shows the system's.
    void fileDialogOpensNoFileForItsIconsOnLinux()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows shows its own file dialog");
#else
        QTemporaryDir folder;
        const QStringList names{"list.orx", "noname", "page.html", "ambiguous.txt.orx"};
        for (const QString& name : names) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("<html><body>%PDF-1.4\n");
        }
        const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(watch >= 0 && inotify_add_watch(watch, folder.path().toLocal8Bit(), IN_OPEN) >= 0);
        QFileDialog dialog;
        uikit::prepareFileDialog(dialog, {"リストを開く", "九星リスト(*.orx)", "orx"}, false);
        for (const QString& name : names) {
            const QFileInfo info(folder.filePath(name));
            dialog.iconProvider()->icon(info);
            QVERIFY(!dialog.iconProvider()->type(info).isEmpty());
        }
        alignas(inotify_event) char events[4096];
        const ssize_t got = read(watch, events, sizeof events);
        close(watch);
        QCOMPARE(got, ssize_t(-1));
#endif
    }

    // 中止, Esc and the frame's close button each stop the waiting command once.
    void busyBoxStopsOnItsButtonAndOnEsc()
    {
        QWidget window;
        uikit::QtDialogs dialogs(&window);
        for (const bool byButton : {true, false}) {
            int stops = 0;
            const auto box = dialogs.showBusy("リストを開く", "お待ちください", [&stops] { ++stops; });
            auto* shown = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            QVERIFY(shown && shown->isModal());
            if (byButton) {
                shown->findChild<QPushButton*>()->click();
            } else {
                QTest::keyClick(shown, Qt::Key_Escape);
            }
            QCOMPARE(stops, 1);
        }
    }

    void scriptedDialogsCountWhatTheyCouldNotAnswer()
    {
        uikit::ScriptedDialogs dialogs;
        dialogs.answerPath(QStringLiteral("/tmp/a.orx"));
        QVERIFY(!dialogs.askYesNo(QStringLiteral("ファイルの上書き"), QString()));
        QCOMPARE(dialogs.unanswered(), 1);
        QCOMPARE(dialogs.saveFileName({QStringLiteral("リスト保存"), {}, {}}), QStringLiteral("/tmp/a.orx"));
        QCOMPARE(dialogs.openFileName({QStringLiteral("リストを開く"), {}, {}}), QString());
        QCOMPARE(dialogs.unanswered(), 2);
        QVERIFY(dialogs.allAnswersUsed());
        QCOMPARE(dialogs.shown().size(), std::size_t{3});
    }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"

// What a screen reader is told about a window, asked the way Qt's bridge asks:
// through the window's accessible and its children.

#include "uikit/accessibility.h"

#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

QStringList childNames(QWidget& window)
{
    QStringList names;
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&window);
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface* child = iface->child(i);
        names << child->text(QAccessible::Name);
        if (iface->indexOfChild(child) != i) {
            names << QStringLiteral("(index %1 reads back as %2)").arg(i).arg(iface->indexOfChild(child));
        }
    }
    return names;
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void onlyLabelsWithSomethingToSayAreFound()
    {
        QWidget window;
        auto* cell = new QLabel(QStringLiteral("四"), &window);
        cell->setAccessibleName(QStringLiteral("月盤 南東 四緑木星 吉"));
        cell->setGeometry(0, 0, 73, 73);
        auto* mark = new QLabel(QStringLiteral("吉"), &window);  // drawn over the cell
        mark->setGeometry(24, 8, 25, 57);
        auto* hidden = new QLabel(QStringLiteral("最大凶"), &window);
        hidden->hide();
        auto* emptySlot = new QLabel(&window);
        // The window's accessible is made before anything is marked.
        QCOMPARE(QAccessible::queryAccessibleInterface(&window)->childCount(), 4);

        uikit::setSilent(mark);
        window.resize(200, 100);
        window.show();
        QCOMPARE(childNames(window), QStringList{QStringLiteral("月盤 南東 四緑木星 吉")});
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&window);
        QCOMPARE(iface->role(), QAccessible::Window);
        // Pointing at the mark finds the cell under it.
        const QPoint onTheMark = mark->mapToGlobal(QPoint(10, 10));
        QAccessibleInterface* atPoint = iface->childAt(onTheMark.x(), onTheMark.y());
        QVERIFY(atPoint);
        QCOMPARE(atPoint->object(), cell);

        // A slot filled by a later reading is found from then on.
        emptySlot->setAccessibleName(QStringLiteral("吉方 一白水星"));
        QCOMPARE(childNames(window), (QStringList{QStringLiteral("月盤 南東 四緑木星 吉"), QStringLiteral("吉方 一白水星")}));
        hidden->show();
        QCOMPARE(childNames(window).size(), 3);
    }

    void dropDownListIsCalledByItsNameAndValuedByItsText()
    {
        QComboBox combo;
        combo.setEditable(true);
        combo.addItems({QStringLiteral("1"), QStringLiteral("2")});
        // On Linux Qt names the list by its current item, and has already made
        // its accessible for the first one; on Windows it names the list by its
        // accessible name only, which is empty until the window gives one.
        const QString before = QSysInfo::productType() == u"windows" ? QString() : QStringLiteral("1");
        QCOMPARE(QAccessible::queryAccessibleInterface(&combo)->text(QAccessible::Name), before);

        uikit::setComboName(&combo, QStringLiteral("生年月日 月"));
        combo.setEditText(QStringLiteral("13"));
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&combo);
        QCOMPARE(iface->role(), QAccessible::ComboBox);
        QCOMPARE(iface->text(QAccessible::Name), QStringLiteral("生年月日 月"));
        QCOMPARE(iface->text(QAccessible::Value), QStringLiteral("13"));
        QCOMPARE(iface->childCount(), 1);
        QCOMPARE(iface->child(0)->object(), combo.lineEdit());
        QCOMPARE(iface->child(0)->text(QAccessible::Name), QStringLiteral("生年月日 月"));
        QVERIFY(iface->state().collapsed);
        QVERIFY(iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::showMenuAction()));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"

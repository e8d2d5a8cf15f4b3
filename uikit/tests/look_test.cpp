#include "uikit/look.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

class LookTest : public QObject {
    Q_OBJECT

private slots:
    void pointSizesBecomeWholePixelsAt96Dpi_data()
    {
        QTest::addColumn<double>("points");
        QTest::addColumn<int>("pixels");
        QTest::newRow("9 pt") << 9.0 << 12;
        QTest::newRow("11.25 pt") << 11.25 << 15;
        QTest::newRow("12 pt") << 12.0 << 16;
        QTest::newRow("14.25 pt") << 14.25 << 19;
        QTest::newRow("20.25 pt") << 20.25 << 27;
        QTest::newRow("27.75 pt") << 27.75 << 37;
        QTest::newRow("36 pt") << 36.0 << 48;
    }
    void pointSizesBecomeWholePixelsAt96Dpi()
    {
        QFETCH(double, points);
        QFETCH(int, pixels);
        QCOMPARE(uikit::pixelsForPoints(points), pixels);
        QCOMPARE(uikit::mincho(points).pixelSize(), pixels);
    }

    // The named faces are not installed on Debian; the IPA faces must stand in,
    // never a Latin face without Japanese glyphs. Only installed faces are asked
    // for, so that no fallback search runs at start. On Windows (under wine too,
    // which lists the host's faces under their own names) the faces resolve to
    // installed ones whether or not the MS or Yu faces are there.
    void japaneseFacesFallBackToIpa()
    {
        if (QFontDatabase::families().isEmpty()) {
            QSKIP("this platform plugin has no faces (offscreen on Windows)");
        }
        for (const QFont& font : {uikit::mincho(12), uikit::gothic(9)}) {
            const QString resolved = QFontInfo(font).family();
            QVERIFY2(QFontDatabase::families().contains(resolved), qPrintable(resolved));
            if (QSysInfo::productType() == u"windows") {
                continue;
            }
            for (const QString& family : font.families()) {
                QVERIFY2(QFontDatabase::hasFamily(family), qPrintable(family));
            }
        }
        if (QSysInfo::productType() != u"windows") {
            QVERIFY2(QFontInfo(uikit::mincho(12)).family().contains(QStringLiteral("Mincho")),
                     qPrintable(QFontInfo(uikit::mincho(12)).family()));
            QVERIFY2(QFontInfo(uikit::gothic(9)).family().contains(QStringLiteral("Gothic")),
                     qPrintable(QFontInfo(uikit::gothic(9)).family()));
        }
    }

};

QTEST_MAIN(LookTest)
#include "look_test.moc"

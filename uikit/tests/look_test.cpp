#include "uikit/look.h"
#include "uikit/look_platform.h"

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

    // The choice of face against stand-ins of the system's faces and of the
    // loading of the shipped ones (which fails where `chosen` is empty): the MS
    // faces lead wherever they are, and then nothing is loaded; no other Japanese
    // face is ever taken.
    void faceIsChosenNeverGuessed_data()
    {
        using S = QString;
        QTest::addColumn<QString>("installed");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<int>("loads");
        QTest::newRow("Japanese Windows") << S("Yu Mincho,ＭＳ Ｐ明朝,ＭＳ Ｐゴシック,Meiryo") << S("ＭＳ Ｐ明朝,ＭＳ Ｐゴシック") << 0;
        if (QSysInfo::productType() == u"windows") {
            QTest::newRow("supplemental fonts") << S("Arial,MS PMincho,MS PGothic") << S("MS PMincho,MS PGothic") << 0;
        }
        QTest::newRow("no Mincho") << S("Arial,Yu Gothic,Yu Mincho,MS UI Gothic") << S("IPAPMincho,IPAPGothic") << 2;
        QTest::newRow("MS Mincho, IPA Gothic") << S("ＭＳ Ｐ明朝,Yu Gothic,IPAPGothic") << S("ＭＳ Ｐ明朝,IPAPGothic") << 0;
        QTest::newRow("shipped faces missing") << S("Tahoma") << S() << 2;
    }
    void faceIsChosenNeverGuessed()
    {
        QFETCH(QString, installed);
        QFETCH(QString, chosen);
        QFETCH(int, loads);
        const QStringList faces = installed.split(u','), want = chosen.split(u',', Qt::SkipEmptyParts);
        const auto found = [&](const QString& family) { return faces.contains(family) ? family : QString(); };
        int loaded = 0;
        const auto load = [&](const char* family) {
            ++loaded;
            return want.isEmpty() ? QString() : QString(family);
        };
        QCOMPARE(uikit::chooseFace(uikit::minchoFaces(), found, [&] { return load("IPAPMincho"); }),
                 want.isEmpty() ? uikit::minchoFaces() : want.mid(0, 1));
        QCOMPARE(uikit::chooseFace(uikit::gothicFaces(), found, [&] { return load("IPAPGothic"); }),
                 want.isEmpty() ? uikit::gothicFaces() : want.mid(1, 1));
        QCOMPARE(loaded, loads);
    }
};

QTEST_MAIN(LookTest)
#include "look_test.moc"

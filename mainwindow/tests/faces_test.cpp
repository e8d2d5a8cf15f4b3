// The faces the main window's text is drawn in. The test runs twice: against the
// machine's own fonts (on Debian the IPA faces, no MS ones), and against
// ms_faces.conf.in, where two faces answer to the MS names the way the Windows
// fonts do: English name first, Japanese second. KYUSEI_FACES=ms marks the
// second run.

#include "mainwindow/form2.h"
#include "uikit/look.h"

#include <QApplication>
#include <QFontInfo>
#include <QGlyphRun>
#include <QRawFont>
#include <QTest>
#include <QTextLayout>

namespace {

struct Faces {
    QString mincho;
    QString gothic;
};

Faces expectedFaces()
{
    if (qEnvironmentVariable("KYUSEI_FACES") == u"ms") {
        return {QStringLiteral("MS PMincho"), QStringLiteral("MS PGothic")};
    }
    return {QStringLiteral("IPAPMincho"), QStringLiteral("IPAPGothic")};
}

// Kanji, kana, Latin and digits: a face asked for but missing, or a list of
// faces, shows as runs in another face (DejaVu for the Latin, say).
const QString Sample = QStringLiteral("名前 リスト登録 ひらがな Kyusei 1984");

// The names of the faces the glyph runs of `text` come out in.
QStringList drawnFaces(const QFont& font, const QString& text)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        faces += run.rawFont().familyName();
    }
    faces.removeDuplicates();
    return faces;
}

}  // namespace

class FacesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { uikit::prepareApplication(*qApp); }

    // A Mincho label, the grid (its headings are the window's Gothic text) and a
    // button in the toolkit's own font. Every glyph, Latin ones included, must
    // come from the one face the control asked for, so no fallback search runs
    // when the window is first drawn.
    void controlsAreDrawnInTheirFaces_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("face");
        const Faces faces = expectedFaces();
        QTest::newRow("Mincho label 名前") << QStringLiteral("Label26") << faces.mincho;
        QTest::newRow("Gothic person grid") << QStringLiteral("MSFlexGrid1") << faces.gothic;
        QTest::newRow("button リスト登録") << QStringLiteral("Command3") << faces.gothic;
    }
    void controlsAreDrawnInTheirFaces()
    {
        QFETCH(QString, control);
        QFETCH(QString, face);
        if (QSysInfo::productType() == u"windows") {
            QSKIP("the faces on Windows are look_test's: wine lists the host's faces, none of them MS");
        }
        const mainwindow::Form2 form;
        const QWidget* w = form.findChild<QWidget*>(control);
        QVERIFY(w != nullptr);
        QCOMPARE(QFontInfo(w->font()).family(), face);
        const QStringList drawn = drawnFaces(w->font(), Sample);
        QVERIFY2(drawn.size() == 1 && drawn.first().compare(w->font().families().value(0), Qt::CaseInsensitive) == 0,
                 qPrintable(drawn.join(u", ") + QStringLiteral(" for ") + w->font().families().join(u", ")));
    }
};

QTEST_MAIN(FacesTest)
#include "faces_test.moc"

#include "soak/texts.h"

#include <QStringList>

namespace soak {

namespace {

// Each one a case that a list file or the calculate command must survive: widths,
// signs, 32-bit limits, blanks that a field trims, characters CP932 has no form
// for, and texts that straddle the 20-byte field.
const QStringList Numbers = {
    QStringLiteral("1980"), QStringLiteral("2024"), QStringLiteral("1960"), QStringLiteral("1"),
    QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4"), QStringLiteral("5"),
    QStringLiteral("7"), QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("12"),
    QStringLiteral("13"), QStringLiteral("31"), QStringLiteral("32"), QStringLiteral("0"),
    QStringLiteral("03"), QStringLiteral("-1"), QStringLiteral("-6"), QStringLiteral("+7"),
    QStringLiteral(" 1980 "), QStringLiteral("１９８０"), QStringLiteral("１２"),
    QStringLiteral("2147483647"), QStringLiteral("-2147483648"), QStringLiteral("2147483648"),
    QStringLiteral("99999999999"), QStringLiteral("1.5"), QStringLiteral("1e3"), QStringLiteral("0x10"),
    QStringLiteral("昭和55"), QStringLiteral(" "), QString(),
};

const QStringList Names = {
    QStringLiteral("山田"), QStringLiteral("山本"), QStringLiteral("佐藤"), QStringLiteral("さとう"),
    QStringLiteral("Bob"), QStringLiteral("bob"), QStringLiteral("髙橋"), QStringLiteral("①番"),
    QStringLiteral("寿限無寿限無五劫の擦り切れ海砂利水魚"),          // far past 20 bytes
    QStringLiteral("一二三四五六七八九十"),                          // exactly 20 bytes
    QStringLiteral("a一二三四五六七八九十"),                         // the last kanji straddles byte 20
    QStringLiteral("abcdefghijklmnopqrst"),                          // 20 bytes, no padding left
    QStringLiteral("abcdefghijklmnopqrstu"),                         // one byte too many
    QStringLiteral("あいうえおかきくけこさ"),                        // 22 bytes
    QStringLiteral("a  b   c"), QStringLiteral("  lead"), QStringLiteral("trail  "),
    QStringLiteral("　山田"), QStringLiteral("山田　太郎"),          // U+3000 is no blank
    QStringLiteral("😀smile"), QStringLiteral("한국어"),              // no CP932 form
    QStringLiteral("～波"), QStringLiteral("〜波"),                   // U+FF5E and U+301C
    QStringLiteral("ｱｲｳｴｵ"), QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ"),              // half-width katakana
    QStringLiteral("−‖—¢£¬"), QStringLiteral("Ā"), QStringLiteral("\t"),
    QStringLiteral(" "), QString(),
};

// Single characters and surrogate pairs that random texts are made of.
const QStringList Pieces = {
    QStringLiteral("a"), QStringLiteral("Z"), QStringLiteral("7"), QStringLiteral(" "),
    QStringLiteral(" "), QStringLiteral("　"), QStringLiteral("山"), QStringLiteral("田"),
    QStringLiteral("佐"), QStringLiteral("髙"), QStringLiteral("あ"), QStringLiteral("ン"),
    QStringLiteral("ｶ"), QStringLiteral("ﾞ"), QStringLiteral("１"), QStringLiteral("😀"),
    QStringLiteral("한"), QStringLiteral("～"), QStringLiteral("〜"), QStringLiteral("−"),
    QStringLiteral("?"), QStringLiteral("-"), QStringLiteral("é"), QStringLiteral("\x7f"),
};

const QString& pick(Random& random, const QStringList& texts)
{
    return texts[std::uniform_int_distribution<qsizetype>(0, texts.size() - 1)(random)];
}

int percent(Random& random) { return std::uniform_int_distribution<int>(0, 99)(random); }

}  // namespace

QString randomText(Random& random)
{
    // Mostly short; now and then far longer than any field, and once in a while
    // longer than a whole list record.
    const int length = percent(random) < 95 ? std::uniform_int_distribution<int>(0, 24)(random)
                                            : std::uniform_int_distribution<int>(25, 600)(random);
    QString text;
    for (int i = 0; i < length; ++i) {
        text += pick(random, Pieces);
    }
    return text;
}

QString nameText(Random& random)
{
    const int roll = percent(random);
    if (roll < 60) {
        return pick(random, Names);
    }
    if (roll < 75) {
        return pick(random, Numbers);
    }
    return randomText(random);
}

QString numberText(Random& random)
{
    const int roll = percent(random);
    if (roll < 70) {
        return pick(random, Numbers);
    }
    if (roll < 85) {
        return pick(random, Names);
    }
    return randomText(random);
}

}  // namespace soak

#include "platform/localeservices.h"
#include "records/cp1252.h"
#include "records/taxrecord.h"
#include "support/testenv.h"

#include <QRandomGenerator>

using namespace quillary;

Q_DECLARE_METATYPE(quillary::Field)

namespace {

const Field kAllFields[] = {Field::Kind,      Field::Date, Field::Amount, Field::Invoice,
                            Field::PayMethod, Field::Type, Field::Party,  Field::Description};

QByteArray blanks(int n)
{
    return QByteArray(n, ' ');
}

} // namespace

class TestTaxRecord : public QObject {
    Q_OBJECT

private slots:
    void layoutCoversTheRecordWithoutGaps()
    {
        int offset = 0;
        for (Field f : kAllFields) {
            QCOMPARE(layoutOf(f).offset, offset);
            offset += layoutOf(f).width;
        }
        QCOMPARE(offset, kRecordLength);
        QCOMPARE(layoutOf(Field::Date).width, 15);
        QCOMPARE(layoutOf(Field::Amount).width, 14);
        QCOMPARE(layoutOf(Field::Type).offset, 60);
        QCOMPARE(layoutOf(Field::Type).width, 30);
        QCOMPARE(layoutOf(Field::Description).offset, 110);
    }

    void newRecordIsBlank()
    {
        const TaxRecord r;
        QCOMPARE(r.bytes(), blanks(kRecordLength));
        for (Field f : kAllFields)
            QCOMPARE(r.field(f), QString(layoutOf(f).width, u' '));
    }

    void setFieldStoresAtFullWidth_data()
    {
        QTest::addColumn<Field>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("description of 25 keeps 20")
            << Field::Description << QStringLiteral("Office chair and desk la") + u'x'
            << QByteArray("Office chair and des");
        QTest::newRow("description of 3 padded with 17")
            << Field::Description << QStringLiteral("Pen") << QByteArray("Pen") + blanks(17);
        QTest::newRow("amount 1234.5: 6 characters and 8 blanks")
            << Field::Amount << QStringLiteral("1234.5") << QByteArray("1234.5") + blanks(8);
        QTest::newRow("amount longer than 14 loses its end")
            << Field::Amount << QStringLiteral("-922337203685477.5808")
            << QByteArray("-9223372036854");
        QTest::newRow("date") << Field::Date << QStringLiteral("3/14/1996")
                              << QByteArray("3/14/1996") + blanks(6);
        QTest::newRow("empty invoice is all blanks") << Field::Invoice << QString() << blanks(10);
        QTest::newRow("exactly the width") << Field::Invoice << QStringLiteral("0123456789")
                                           << QByteArray("0123456789");
        QTest::newRow("30-character type name")
            << Field::Type << QStringLiteral("Rent/Lease (Veh.,Mach.,Equip.)")
            << QByteArray("Rent/Lease (Veh.,Mach.,Equip.)");
        QTest::newRow("leading blanks kept") << Field::Party << QStringLiteral("  Smith")
                                             << QByteArray("  Smith") + blanks(13);
        QTest::newRow("accented letters one byte each")
            << Field::Party << QStringLiteral("Café Müller €") << QByteArray("Caf\xE9 M\xFCller \x80") + blanks(7);
        QTest::newRow("unrepresentable characters become ?")
            << Field::PayMethod << QStringLiteral("カード") << QByteArray("???") + blanks(17);
        QTest::newRow("a surrogate pair is one ?")
            << Field::PayMethod << QStringLiteral("a\U0001F600b") << QByteArray("a?b") + blanks(17);
        QTest::newRow("kind field keeps one character") << Field::Kind << QStringLiteral("37")
                                                         << QByteArray("3");
    }
    void setFieldStoresAtFullWidth()
    {
        QFETCH(Field, field);
        QFETCH(QString, value);
        QFETCH(QByteArray, stored);
        TaxRecord r;
        // Neighbours filled with a marker must not be touched.
        const QByteArray marker(kRecordLength, '#');
        r = TaxRecord::fromBytes(marker);
        r.setField(field, value);
        const FieldLayout l = layoutOf(field);
        QCOMPARE(r.rawField(field), stored);
        QCOMPARE(r.bytes().left(l.offset), marker.left(l.offset));
        QCOMPARE(r.bytes().mid(l.offset + l.width), marker.mid(l.offset + l.width));
        QCOMPARE(r.field(field), fromCp1252(stored));
        QCOMPARE(r.bytes().size(), kRecordLength);
    }

    void shorterValueOverwritesLongerOne()
    {
        TaxRecord r;
        r.setField(Field::Description, QStringLiteral("A long description"));
        r.setField(Field::Description, QStringLiteral("Short"));
        QCOMPARE(r.rawField(Field::Description), QByteArray("Short") + blanks(15));
    }

    void kindCodes_data()
    {
        QTest::addColumn<bool>("business");
        QTest::addColumn<bool>("income");
        QTest::addColumn<char>("code");
        QTest::newRow("Personal expense") << false << false << '0';
        QTest::newRow("Personal income") << false << true << '1';
        QTest::newRow("Business expense") << true << false << '2';
        QTest::newRow("Business income") << true << true << '3';
    }
    void kindCodes()
    {
        QFETCH(bool, business);
        QFETCH(bool, income);
        QFETCH(char, code);
        const Kind kind{business, income};
        QCOMPARE(kindCode(kind), code);
        TaxRecord r;
        r.setKind(kind);
        QCOMPARE(r.bytes().at(0), code);
        QCOMPARE(r.kindCode(), code);
        QCOMPARE(r.bytes().mid(1), blanks(kRecordLength - 1));
        const auto back = kindFromCode(code);
        QVERIFY(back.has_value());
        QCOMPARE(*back, kind);
    }

    void badKindCodes_data()
    {
        QTest::addColumn<char>("code");
        for (char c : {'4', '9', '/', ' ', '\0', 'a', '-', '+'})
            QTest::newRow(qPrintable(QStringLiteral("0x%1").arg(int(uchar(c)), 2, 16, QChar(u'0'))))
                << c;
        QTest::newRow("0xFF") << char(0xFF);
        QTest::newRow("0x80") << char(0x80);
    }
    void badKindCodes()
    {
        QFETCH(char, code);
        QVERIFY(!kindFromCode(code).has_value());
    }

    void fromBytesPadsOrCuts()
    {
        QCOMPARE(TaxRecord::fromBytes(QByteArray("3abc")).bytes(),
                 QByteArray("3abc") + blanks(kRecordLength - 4));
        const QByteArray longer = QByteArray(kRecordLength, 'x') + "yyy";
        QCOMPARE(TaxRecord::fromBytes(longer).bytes(), QByteArray(kRecordLength, 'x'));
        QCOMPARE(TaxRecord::fromBytes(QByteArray()).bytes(), blanks(kRecordLength));
    }

    // Windows-1252 maps every byte to a character and back to the same byte.
    void cp1252RoundTripsEveryByte()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = fromCp1252(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(toCp1252(text), all);
        for (int b = 0; b < 0x80; ++b)
            QCOMPARE(text.at(b).unicode(), char16_t(b));
        for (int b = 0xA0; b < 0x100; ++b)
            QCOMPARE(text.at(b).unicode(), char16_t(b));
        // No two bytes decode to the same character.
        QCOMPARE(QSet<QChar>(text.begin(), text.end()).size(), 256);
    }

    void cp1252HighCharacters_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("byte");
        QTest::newRow("euro") << QStringLiteral("€") << 0x80;
        QTest::newRow("single low quote") << QStringLiteral("‚") << 0x82;
        QTest::newRow("ellipsis") << QStringLiteral("…") << 0x85;
        QTest::newRow("S caron") << QStringLiteral("Š") << 0x8A;
        QTest::newRow("left double quote") << QStringLiteral("“") << 0x93;
        QTest::newRow("em dash") << QStringLiteral("—") << 0x97;
        QTest::newRow("trade mark") << QStringLiteral("™") << 0x99;
        QTest::newRow("Y diaeresis") << QStringLiteral("Ÿ") << 0x9F;
        QTest::newRow("undefined 0x81") << QString(QChar(0x81)) << 0x81;
        QTest::newRow("undefined 0x9D") << QString(QChar(0x9D)) << 0x9D;
        QTest::newRow("no-break space") << QString(QChar(0xA0)) << 0xA0;
        QTest::newRow("y diaeresis") << QStringLiteral("ÿ") << 0xFF;
    }
    void cp1252HighCharacters()
    {
        QFETCH(QString, character);
        QFETCH(int, byte);
        QCOMPARE(toCp1252(character), QByteArray(1, char(byte)));
        QCOMPARE(fromCp1252(QByteArray(1, char(byte))), character);
    }

    void cp1252Replacement_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("CJK") << QStringLiteral("日本") << QByteArray("??");
        QTest::newRow("A macron") << QStringLiteral("Ā") << QByteArray("?");
        QTest::newRow("minus sign") << QStringLiteral("−5") << QByteArray("?5");
        QTest::newRow("replacement character") << QString(QChar(0xFFFD)) << QByteArray("?");
        QTest::newRow("surrogate pair") << QStringLiteral("\U0001F600") << QByteArray("?");
        QTest::newRow("two surrogate pairs") << QStringLiteral("x\U0001F600\U00010348y")
                                             << QByteArray("x??y");
        QTest::newRow("lone high surrogate") << QString(QChar(0xD83D)) + u'a' << QByteArray("?a");
        QTest::newRow("lone high surrogate at the end") << u'a' + QString(QChar(0xD83D))
                                                        << QByteArray("a?");
        QTest::newRow("lone low surrogate") << QString(QChar(0xDE00)) << QByteArray("?");
        QTest::newRow("reversed pair") << QString(QChar(0xDE00)) + QChar(0xD83D)
                                       << QByteArray("??");
        QTest::newRow("NUL kept") << QString(QChar(0)) << QByteArray(1, '\0');
    }
    void cp1252Replacement()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(toCp1252(text), bytes);
    }

    // Whatever bytes a damaged file holds, every field decodes to text of
    // the field's width, stores back unchanged, and the conversions answer
    // "not a date" or "not a number" instead of failing.
    void badBytesNeverBreakDecoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QByteArray ramp;
        for (int i = 0; i < kRecordLength; ++i)
            ramp.append(char(i));
        QByteArray highRamp;
        for (int i = 0; i < kRecordLength; ++i)
            highRamp.append(char(0xFF - i));
        QTest::newRow("bytes 0x00 to 0x81") << ramp;
        QTest::newRow("bytes 0xFF down to 0x7E") << highRamp;
        QTest::newRow("all NUL") << QByteArray(kRecordLength, '\0');
        QTest::newRow("all 0xFF") << QByteArray(kRecordLength, char(0xFF));
        QTest::newRow("all 0x80") << QByteArray(kRecordLength, char(0x80));
        TaxRecord letters;
        letters.setField(Field::Amount, QStringLiteral("ABCDEFGHIJKLMN"));
        letters.setField(Field::Date, QStringLiteral("32/13/99999999"));
        QTest::newRow("amount of 14 letters, garbage date") << letters.bytes();
        QTest::newRow("blank record") << TaxRecord().bytes();
        QRandomGenerator random(1996);
        for (int i = 0; i < 20; ++i) {
            QByteArray noise(kRecordLength, '\0');
            for (char& c : noise)
                c = char(random.bounded(256));
            QTest::newRow(qPrintable(QStringLiteral("noise %1").arg(i))) << noise;
        }
    }
    void badBytesNeverBreakDecoding()
    {
        QFETCH(QByteArray, bytes);
        const TaxRecord r = TaxRecord::fromBytes(bytes);
        QCOMPARE(r.bytes(), bytes);
        TaxRecord copy;
        for (Field f : kAllFields) {
            const QString text = r.field(f);
            QCOMPARE(text.size(), layoutOf(f).width);
            copy.setField(f, text);
        }
        QCOMPARE(copy.bytes(), bytes);

        for (const char* name : {"en_US", "de_DE", "en_GB"}) {
            const QLocale locale{QString::fromLatin1(name)};
            const auto date = parseDate(r.field(Field::Date), locale);
            const auto amount = textToCurrency(r.field(Field::Amount), locale);
            // Noise may by chance spell a number, but a blank or lettered
            // field never does.
            if (bytes == TaxRecord().bytes() || QTest::currentDataTag()[0] != 'n') {
                QVERIFY(!date.has_value());
                QCOMPARE(amount.status, CurrencyStatus::NotANumber);
            }
        }
    }
};

QUILLARY_CORE_TEST_MAIN(TestTaxRecord)
#include "tst_taxrecord.moc"

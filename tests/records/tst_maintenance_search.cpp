#include "records/search.h"
#include "records/taxrecord.h"
#include "support/testenv.h"

using namespace quillary;

namespace {

// A record with every searched field filled to its full width with 'x',
// then `value` stored in `field` (padded with blanks or cut as usual).
TaxRecord fullRecordWith(Field field, const QString& value, char kind = '3')
{
    TaxRecord r = TaxRecord::fromBytes(QByteArray(kRecordLength, 'x'));
    r.setField(Field::Kind, QString(QChar::fromLatin1(kind)));
    r.setField(field, value);
    return r;
}

} // namespace

class TestSearch : public QObject {
    Q_OBJECT

private slots:
    void recordMatches_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("search");
        QTest::addColumn<bool>("found");
        const struct {
            Field field;
            const char* name;
        } fields[] = {{Field::Date, "date"},
                      {Field::Amount, "amount"},
                      {Field::Invoice, "invoice"},
                      {Field::PayMethod, "pay method"},
                      {Field::Type, "type"},
                      {Field::Party, "party"},
                      {Field::Description, "description"}};
        for (const auto& f : fields)
            QTest::addRow("in the %s", f.name) << int(f.field) << "1Q7" << "1q7" << true;

        const int desc = int(Field::Description);
        const int type = int(Field::Type);
        QTest::newRow("capitals find lower case") << desc << "paid the rent" << "RENT" << true;
        QTest::newRow("lower case finds capitals") << desc << "RENT" << "rent" << true;
        QTest::newRow("accented letters") << desc << QString::fromUtf8("caf\xc3\xa9") << QString::fromUtf8("CAF\xc3\x89") << true;
        QTest::newRow("accented, in capitals") << desc << QString::fromUtf8("\xc5\xa0KODA") << QString::fromUtf8("\xc5\xa1koda") << true;
        QTest::newRow("mixed ASCII and accented") << desc << QString::fromUtf8("Caf\xc3\xa9 Nord") << QString::fromUtf8("\xc3\x89 n") << true;
        QTest::newRow("ASCII next to accented") << desc << QString::fromUtf8("Caf\xc3\xa9 Nord") << QStringLiteral(" NORD ") << true;
        QTest::newRow("not there") << desc << "rent" << "lease" << false;
        QTest::newRow("trailing blank at the end of the used part") << desc << "rent" << "rent " << true;
        QTest::newRow("trailing blank, field full") << desc << "xxxxxxxxxxxxxxxxrent" << "rent " << false;
        QTest::newRow("leading blank kept") << desc << "rent" << " rent" << false;
        QTest::newRow("blanks only, a field not full") << desc << "short" << "  " << true;
        QTest::newRow("blanks only, every field full") << desc << "xxxxxxxxxxxxxxxxxxxx" << " " << false;
        QTest::newRow("whole type field") << type << "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234"
                                          << "abcdefghijklmnopqrstuvwxyz1234" << true;
        QTest::newRow("31 characters never match") << type << "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234"
                                                   << "abcdefghijklmnopqrstuvwxyz1234x" << false;
        // The date ends in "9" and the amount starts with "x": text across
        // the boundary between two fields is in neither field.
        QTest::newRow("across two fields") << int(Field::Date) << "xxxxxxxxxxxxxx9" << "9x" << false;
    }
    void recordMatches()
    {
        QFETCH(int, field);
        QFETCH(QString, value);
        QFETCH(QString, search);
        QFETCH(bool, found);
        QCOMPARE(quillary::recordMatches(fullRecordWith(Field(field), value), search), found);
    }

    // Case is ignored for every character a record can hold: each of the
    // 256 stored bytes against each ASCII character and against the
    // characters whose case Windows-1252 holds in both forms.
    void caseOfEveryStoredCharacter()
    {
        QString searches;
        for (int c = 1; c < 128; ++c)
            searches += QChar(c);
        searches += QString::fromUtf8("\xc3\xa0\xc3\x80\xc3\xbe\xc3\x9e\xc5\xa0\xc5\xa1\xc5\x92\xc5\x93"
                                      "\xc5\xbd\xc5\xbe\xc5\xb8\xc3\xbf\xc2\xb5\xce\xbc\xe2\x82\xac\xc3\x9f");
        for (int b = 0; b < 256; ++b) {
            // The byte alone among bytes 0x81, a control character none of
            // the search texts holds.
            QByteArray bytes(kRecordLength, '\x81');
            bytes[120] = char(b);
            const TaxRecord r = TaxRecord::fromBytes(bytes);
            const QString stored = r.field(Field::Description).mid(10, 1);
            for (QChar c : searches) {
                const bool expected = QString::compare(stored, QString(c), Qt::CaseInsensitive) == 0;
                if (quillary::recordMatches(r, QString(c)) != expected)
                    QFAIL(qPrintable(QStringLiteral("byte %1 searched for U+%2")
                                         .arg(b, 2, 16, QLatin1Char('0'))
                                         .arg(c.unicode(), 4, 16, QLatin1Char('0'))));
            }
        }
    }

    // The kind code is no searched field.
    void kindCodeNotSearched()
    {
        QVERIFY(!quillary::recordMatches(fullRecordWith(Field::Amount, "12.5", '3'), "3"));
        QVERIFY(quillary::recordMatches(fullRecordWith(Field::Amount, "13.5", '3'), "3"));
        QVERIFY(!quillary::recordMatches(fullRecordWith(Field::Amount, "12.5", '3'), "3x"));
    }
};

QUILLARY_CORE_TEST_MAIN(TestSearch)
#include "tst_maintenance_search.moc"

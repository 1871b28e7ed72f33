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

    // The kind code is no searched field.
    void kindCodeNotSearched()
    {
        QVERIFY(!quillary::recordMatches(fullRecordWith(Field::Amount, "12.5", '3'), "3"));
        QVERIFY(quillary::recordMatches(fullRecordWith(Field::Amount, "13.5", '3'), "3"));
        QVERIFY(!quillary::recordMatches(fullRecordWith(Field::Amount, "12.5", '3'), "3x"));
    }

    void messageTexts()
    {
        QCOMPARE(searchFoundText(7, QStringLiteral(" Rent ")),
                 QStringLiteral("Displayed is record number  7 containing the Text ' Rent '\n\r"
                                "Would you like to find the next record containing this Text?"));
        QCOMPARE(searchFoundText(32767, QStringLiteral("x")),
                 QStringLiteral("Displayed is record number  32767 containing the Text 'x'\n\r"
                                "Would you like to find the next record containing this Text?"));
        QCOMPARE(searchNoneText(QStringLiteral("  new  roof ")),
                 QStringLiteral("No records found containing the Text 'new  roof'"));
        QCOMPARE(searchNoFurtherText(QStringLiteral(" roof")),
                 QStringLiteral("No further records found containing the Text 'roof'"));
        QCOMPARE(searchNoneText(QStringLiteral("   ")),
                 QStringLiteral("No records found containing the Text ''"));
        QCOMPARE(kSearchFoundTitle, QStringLiteral("Record found,  search next?"));
    }
};

QUILLARY_TEST_MAIN(TestSearch)
#include "tst_maintenance_search.moc"

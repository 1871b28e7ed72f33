#include "platform/settingsstore.h"
#include "support/testenv.h"

#include <QFile>
#include <QTemporaryDir>

using namespace quillary;

class TestSettingsStore : public QObject {
    Q_OBJECT

private slots:
    void getGivesTheDefaultWhenAbsent()
    {
        QTemporaryDir dir;
        SettingsStore store(dir.filePath(QStringLiteral("quillary.ini")));
        QVERIFY(!store.contains(QStringLiteral("menu1")));
        QCOMPARE(store.get(QStringLiteral("menu1"), QStringLiteral("Taxrecs.dat")),
                 QStringLiteral("Taxrecs.dat"));
        QCOMPARE(store.get(QStringLiteral("menu1")), QString());
    }

    void savedValuesLastAcrossStores_data()
    {
        QTest::addColumn<QString>("value");
        QTest::newRow("plain path") << "/home/user/Taxrecs.dat";
        QTest::newRow("blanks and umlauts") << "/home/user/Steuer Müller 1996.dat";
        QTest::newRow("equals and semicolon") << "C:\\data\\a=b;c.dat";
        QTest::newRow("leading blank") << " leading.dat";
        QTest::newRow("empty") << "";
    }
    void savedValuesLastAcrossStores()
    {
        QFETCH(QString, value);
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("quillary.ini"));
        {
            SettingsStore store(ini);
            store.save(QStringLiteral("menu2"), value);
            QVERIFY(store.contains(QStringLiteral("menu2")));
            QCOMPARE(store.get(QStringLiteral("menu2"), QStringLiteral("default")), value);
        }
        // Saved at once: the file already holds it, and a new store reads it.
        QVERIFY(QFile::exists(ini));
        SettingsStore again(ini);
        QCOMPARE(again.get(QStringLiteral("menu2"), QStringLiteral("default")), value);
        QVERIFY(!again.contains(QStringLiteral("menu1")));
    }

    void keysLiveInTheStartupSection()
    {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("quillary.ini"));
        SettingsStore store(ini);
        store.save(QStringLiteral("menu1"), QStringLiteral("a.dat"));
        store.save(QStringLiteral("menu1"), QStringLiteral("b.dat"));
        QFile f(ini);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray text = f.readAll();
        QVERIFY2(text.contains("[Startup]"), text.constData());
        QVERIFY2(text.contains("menu1=b.dat"), text.constData());
        QVERIFY(!text.contains("a.dat"));
    }

    // The user's own store, redirected into a private folder by the test
    // environment, is the one the program uses.
    void nativeStoreRoundTrip()
    {
        {
            SettingsStore store;
            store.save(QStringLiteral("menu4"), QStringLiteral("native.dat"));
        }
        SettingsStore store;
        QCOMPARE(store.get(QStringLiteral("menu4")), QStringLiteral("native.dat"));
        QVERIFY(qEnvironmentVariable("XDG_CONFIG_HOME").size() > 0);
    }
};

QUILLARY_CORE_TEST_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"

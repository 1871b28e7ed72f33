#include "records/taxrecord.h"
#include "support/testenv.h"

class TestSmoke : public QObject {
    Q_OBJECT
private slots:
    void recordIsBlank() { QCOMPARE(quillary::TaxRecord().bytes(), QByteArray(130, ' ')); }
};

QUILLARY_TEST_MAIN(TestSmoke)
#include "tst_smoke.moc"

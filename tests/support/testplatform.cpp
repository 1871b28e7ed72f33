#include "support/testplatform.h"

#include "records/datafile.h"


namespace quillary::test {

TestPlatform::TestPlatform()
    : settings(dir.filePath(QStringLiteral("settings.ini")))
    , printer(dir.path())
    , state(Platform{dialogs, settings, files, help, printer})
{
}

TestPlatform::~TestPlatform() = default;

QString TestPlatform::writeDataFile(const QString& name,
                                    const std::vector<TaxRecord>& records) const
{
    const QString p = path(name);
    writeBytes(p, encodeRecords(records));
    return p;
}

} // namespace quillary::test

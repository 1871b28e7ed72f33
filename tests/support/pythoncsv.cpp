#include "support/pythoncsv.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>

namespace quillary::test {

QList<QStringList> readCsvWithPython(const QString& path)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, json, sys\n"
                                 "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                                 "    print(json.dumps(list(csv.reader(f, strict=True))))\n"),
                  path});
    if (!python.waitForFinished(30000) || python.exitCode() != 0) {
        qWarning("python3 could not read %s: %s", qPrintable(path),
                 python.readAllStandardError().constData());
        return {};
    }
    QList<QStringList> rows;
    const QJsonArray read = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    for (const QJsonValue& row : read) {
        QStringList fields;
        for (const QJsonValue& field : row.toArray())
            fields << field.toString();
        rows << fields;
    }
    return rows;
}

QList<QStringList> readCsvWithPython(const QByteArray& csv)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("read.csv"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(csv) != csv.size())
        return {};
    f.close();
    return readCsvWithPython(path);
}

} // namespace quillary::test

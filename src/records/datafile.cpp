#include "records/datafile.h"

#include "platform/errors.h"
#include "platform/fileservices.h"

namespace quillary {

namespace {

QString tooManyRecords()
{
    return QStringLiteral("A data file holds at most 32,767 records.");
}

} // namespace

DataFile::DataFile(FileServices& files)
    : files_(files)
{
}

DataFile::~DataFile()
{
    close();
}

OpenStatus DataFile::open(const QString& path, QString* error)
{
    close();
    if (const QString why = FileServices::whyNotAFile(path); !why.isEmpty()) {
        setError(error, why);
        return OpenStatus::NotAFile;
    }
    const int no = files_.freeFile();
    if (!files_.open(path, no, kRecordLength, error))
        return OpenStatus::CannotOpen;
    if (files_.length(no) / kRecordLength > kMaxRecords) {
        files_.close(no);
        setError(error, tooManyRecords());
        return OpenStatus::TooManyRecords;
    }
    fileNo_ = no;
    path_ = path;
    return OpenStatus::Ok;
}

void DataFile::close()
{
    if (fileNo_ != 0)
        files_.close(fileNo_);
    fileNo_ = 0;
}

int DataFile::recordCount() const
{
    if (!isOpen())
        return 0;
    const qint64 count = files_.length(fileNo_) / kRecordLength;
    return int(std::min<qint64>(count, kMaxRecords));
}

PathState DataFile::pathState() const
{
    // A file the program has let go of (at its end) has nothing to tell.
    return isOpen() && files_.isOpen(fileNo_) ? files_.pathState(fileNo_) : PathState::Same;
}

bool DataFile::read(int n, TaxRecord& record) const
{
    QByteArray buffer(kRecordLength, ' ');
    const bool ok = isOpen() && files_.readRecord(fileNo_, n, buffer);
    // A read into a trailing fragment gets the fragment's bytes; they are
    // no record.
    record = ok ? TaxRecord::fromBytes(buffer) : TaxRecord();
    return ok;
}

bool DataFile::write(int n, const TaxRecord& record, QString* error)
{
    if (!isOpen()) {
        setError(error, QStringLiteral("No data file is open."));
        return false;
    }
    // A record beyond the limit would leave a file that cannot be opened
    // again.
    if (n > kMaxRecords) {
        setError(error, tooManyRecords());
        return false;
    }
    if (const PathState state = pathState(); state != PathState::Same) {
        setError(error, pathStateError(state));
        return false;
    }
    return files_.writeRecord(fileNo_, n, record.bytes(), error)
        && files_.flush(fileNo_, error);
}

bool DataFile::readAll(std::vector<TaxRecord>& records) const
{
    if (!isOpen())
        return false;
    const qint64 length = files_.length(fileNo_);
    if (length < 0)
        return false;
    // Read straight into the records: one buffer of fresh memory instead of
    // two halves the page faults, which cost more than the read itself.
    static_assert(sizeof(TaxRecord) == kRecordLength);
    std::vector<TaxRecord> read(std::size_t(length / kRecordLength));
    const qint64 wanted = qint64(read.size()) * kRecordLength;
    const qint64 got = files_.readBytes(fileNo_, 0, reinterpret_cast<char*>(read.data()), wanted);
    if (got < 0)
        return false;
    read.resize(std::size_t(got / kRecordLength));
    records = std::move(read);
    return true;
}

bool DataFile::replaceAll(const std::vector<TaxRecord>& records, QString* error)
{
    if (!isOpen()) {
        setError(error, QStringLiteral("No data file is open."));
        return false;
    }
    if (records.size() > std::size_t(kMaxRecords)) {
        setError(error, tooManyRecords());
        return false;
    }
    return files_.replaceContents(fileNo_, encodeRecords(records), error);
}

QByteArray encodeRecords(const std::vector<TaxRecord>& records)
{
    QByteArray out;
    out.reserve(qsizetype(records.size()) * kRecordLength);
    for (const TaxRecord& r : records)
        out.append(r.data(), kRecordLength);
    return out;
}

std::vector<TaxRecord> decodeRecords(const QByteArray& contents)
{
    std::vector<TaxRecord> records;
    const qsizetype count = contents.size() / kRecordLength;
    records.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        records.push_back(TaxRecord::fromBytes(contents.constData() + i * kRecordLength,
                                               kRecordLength));
    return records;
}

} // namespace quillary

#include "platform/fileservices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace quillary {

namespace {

FileServices::FaultInjector& faultInjector()
{
    static FileServices::FaultInjector injector;
    return injector;
}

bool injectedFault(const QString& path, QString* error)
{
    const auto& injector = faultInjector();
    if (injector && injector(path)) {
        if (error)
            *error = QStringLiteral("No space left on device");
        return true;
    }
    return false;
}

QString identity(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

} // namespace

struct FileServices::Handle {
    QString path;
    int recordLength = 0;
    std::unique_ptr<QFile> file;
};

FileServices::FileServices() = default;

FileServices::~FileServices()
{
    closeAll();
}

int FileServices::freeFile() const
{
    int n = 1;
    while (handles_.count(n))
        ++n;
    return n;
}

FileServices::Handle* FileServices::handle(int fileNo) const
{
    const auto it = handles_.find(fileNo);
    return it == handles_.end() ? nullptr : it->second.get();
}

bool FileServices::open(const QString& path, int fileNo, int recordLength, QString* error)
{
    if (fileNo < 1 || recordLength < 1 || handles_.count(fileNo)) {
        setError(error, QStringLiteral("File number %1 is already in use").arg(fileNo));
        return false;
    }
    auto h = std::make_unique<Handle>();
    h->path = path;
    h->recordLength = recordLength;
    if (!reopen(*h, error))
        return false;
    handles_[fileNo] = std::move(h);
    return true;
}

bool FileServices::reopen(Handle& h, QString* error)
{
    auto file = std::make_unique<QFile>(h.path);
    if (QFileInfo(h.path).isDir() || !file->open(QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        setError(error, file->errorString());
        return false;
    }
    h.file = std::move(file);
    return true;
}

bool FileServices::isOpen(int fileNo) const
{
    return handle(fileNo) != nullptr;
}

QString FileServices::path(int fileNo) const
{
    const Handle* h = handle(fileNo);
    return h ? h->path : QString();
}

int FileServices::recordLength(int fileNo) const
{
    const Handle* h = handle(fileNo);
    return h ? h->recordLength : 0;
}

qint64 FileServices::length(int fileNo) const
{
    const Handle* h = handle(fileNo);
    return h ? h->file->size() : -1;
}

bool FileServices::readRecord(int fileNo, qint64 n, QByteArray& buffer) const
{
    const Handle* h = handle(fileNo);
    if (!h || n < 1) {
        buffer.fill(' ', h ? h->recordLength : buffer.size());
        return false;
    }
    buffer.resize(h->recordLength);
    qint64 got = 0;
    if (h->file->seek((n - 1) * h->recordLength))
        got = h->file->read(buffer.data(), h->recordLength);
    if (got < 0)
        got = 0;
    if (got < h->recordLength)
        std::fill(buffer.begin() + got, buffer.end(), ' ');
    return got == h->recordLength;
}

bool FileServices::writeRecord(int fileNo, qint64 n, const QByteArray& buffer, QString* error)
{
    Handle* h = handle(fileNo);
    if (!h || n < 1 || buffer.size() != h->recordLength) {
        setError(error, QStringLiteral("Invalid record write"));
        return false;
    }
    if (injectedFault(h->path, error))
        return false;
    if (!h->file->seek((n - 1) * h->recordLength)
        || h->file->write(buffer.constData(), buffer.size()) != buffer.size()) {
        setError(error, h->file->errorString());
        return false;
    }
    return true;
}

bool FileServices::readAll(int fileNo, QByteArray& contents) const
{
    const Handle* h = handle(fileNo);
    if (!h || !h->file->seek(0))
        return false;
    contents = h->file->readAll();
    return h->file->error() == QFileDevice::NoError;
}

void FileServices::close(int fileNo)
{
    handles_.erase(fileNo);
}

void FileServices::closeAll()
{
    handles_.clear();
}

bool FileServices::replaceContents(int fileNo, const QByteArray& contents, QString* error)
{
    Handle* h = handle(fileNo);
    if (!h) {
        setError(error, QStringLiteral("File number %1 is not open").arg(fileNo));
        return false;
    }
    const QString target = identity(h->path);
    if (!writeFileAtomically(h->path, contents, error))
        return false;
    // The rename gave the path a new file; handles on the old one would go on
    // reading the old records.
    bool ok = true;
    for (auto& [no, other] : handles_) {
        if (identity(other->path) != target)
            continue;
        QString reopenError;
        if (!reopen(*other, &reopenError)) {
            ok = false;
            setError(error, reopenError);
        }
    }
    return ok;
}

bool FileServices::writeFileAtomically(const QString& path, const QByteArray& contents,
                                       QString* error)
{
    if (injectedFault(path, error))
        return false;
    const QFileInfo info(path);
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        setError(error, out.errorString());
        return false;
    }
    if (info.exists())
        out.setPermissions(info.permissions());
    if (out.write(contents) != contents.size()) {
        setError(error, out.errorString());
        out.cancelWriting();
        return false;
    }
    if (!out.commit()) {
        setError(error, out.errorString());
        return false;
    }
    return true;
}

bool FileServices::copyFile(const QString& from, const QString& to, QString* error)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly)) {
        setError(error, in.errorString());
        return false;
    }
    const QByteArray contents = in.readAll();
    if (in.error() != QFileDevice::NoError) {
        setError(error, in.errorString());
        return false;
    }
    return writeFileAtomically(to, contents, error);
}

bool FileServices::deleteFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.remove()) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

void FileServices::setFaultInjector(FaultInjector injector)
{
    faultInjector() = std::move(injector);
}

} // namespace quillary

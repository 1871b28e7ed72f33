#include "records/taxrecord.h"

#include "platform/localeservices.h"
#include "records/cp1252.h"

#include <algorithm>

namespace quillary {

char kindCode(Kind kind)
{
    return char('0' + (kind.business ? 2 : 0) + (kind.income ? 1 : 0));
}

std::optional<Kind> kindFromCode(char code)
{
    if (code < '0' || code > '3')
        return std::nullopt;
    const int v = code - '0';
    return Kind{v >= 2, (v & 1) == 1};
}

TaxRecord::TaxRecord()
{
    data_.fill(' ');
}

TaxRecord TaxRecord::fromBytes(const QByteArray& bytes)
{
    return fromBytes(bytes.constData(), bytes.size());
}

TaxRecord TaxRecord::fromBytes(const char* bytes, qsizetype size)
{
    TaxRecord r;
    std::copy_n(bytes, std::min<qsizetype>(size, kRecordLength), r.data_.begin());
    return r;
}

QByteArray TaxRecord::bytes() const
{
    return QByteArray(data_.data(), kRecordLength);
}

QString TaxRecord::field(Field f) const
{
    const FieldLayout l = layoutOf(f);
    return fromCp1252(data_.data() + l.offset, l.width);
}

QByteArray TaxRecord::rawField(Field f) const
{
    const FieldLayout l = layoutOf(f);
    return QByteArray(data_.data() + l.offset, l.width);
}

void TaxRecord::setField(Field f, const QString& value)
{
    const FieldLayout l = layoutOf(f);
    const QByteArray encoded = toCp1252(value);
    const auto n = std::min<qsizetype>(encoded.size(), l.width);
    std::copy_n(encoded.constData(), n, data_.begin() + l.offset);
    std::fill(data_.begin() + l.offset + n, data_.begin() + l.offset + l.width, ' ');
}

std::optional<QDate> readDateField(const DateReader& reader, std::string_view field)
{
    // Windows-1252 and Latin-1 differ only in the bytes 0x80 to 0x9F; a
    // field without them is read in place.
    for (char c : field) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x80 && b < 0xA0)
            return reader(fromCp1252(field.data(), qsizetype(field.size())));
    }
    return reader(QLatin1StringView(field.data(), qsizetype(field.size())));
}

} // namespace quillary

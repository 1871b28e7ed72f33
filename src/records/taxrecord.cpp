#include "records/taxrecord.h"

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

} // namespace quillary

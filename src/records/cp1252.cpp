#include "records/cp1252.h"

#include <QHash>
#include <array>

namespace quillary {

namespace {

// 0x80 to 0x9F. The five bytes Windows leaves undefined map to the C1
// control character of the same value, as Windows' own conversion does.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const QHash<char16_t, char>& reverseHigh()
{
    static const QHash<char16_t, char> table = [] {
        QHash<char16_t, char> t;
        for (int i = 0; i < 32; ++i)
            t.insert(kHigh[i], char(0x80 + i));
        return t;
    }();
    return table;
}

} // namespace

QByteArray toCp1252(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.append(char(c));
        } else if (const auto it = reverseHigh().constFind(c); it != reverseHigh().cend()) {
            out.append(*it);
        } else {
            // One '?' per character, also for a surrogate pair.
            if (QChar::isHighSurrogate(c) && i + 1 < text.size()
                && text.at(i + 1).isLowSurrogate())
                ++i;
            out.append('?');
        }
    }
    return out;
}

QString fromCp1252(const char* bytes, qsizetype size)
{
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        dst[i] = QChar(b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : char16_t(b));
    }
    return out;
}

} // namespace quillary

#pragma once

// What the fuzz targets share: the locales every text is read under, and a
// check that stops the run (a finding) when a property does not hold.

#include <QByteArray>
#include <QLocale>
#include <QString>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace quillary::fuzz {

// Four sets of conventions that differ where it matters: the order of day,
// month and year, the separators of dates and amounts, the currency sign,
// and month names in other scripts.
inline const std::array<QLocale, 4>& locales()
{
    static const std::array<QLocale, 4> all{
        QLocale(QStringLiteral("en_US")), QLocale(QStringLiteral("de_DE")),
        QLocale(QStringLiteral("fr_FR")), QLocale(QStringLiteral("ja_JP"))};
    return all;
}

inline const QLocale& localeFor(std::uint8_t choice)
{
    return locales()[choice % locales().size()];
}

// A text as a user types it, in the locale the first byte chooses; the
// rest of the bytes are the text in UTF-8. None for an empty input.
struct TypedText {
    const QLocale& locale;
    QString text;
};
inline std::optional<TypedText> typedText(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return std::nullopt;
    return TypedText{localeFor(data[0]),
                     QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1))};
}

[[noreturn]] inline void fail(const char* what, const char* file, int line, const QString& detail)
{
    std::fprintf(stderr, "%s:%d: property failed: %s\n%s\n", file, line, what,
                 detail.toUtf8().constData());
    std::abort();
}

} // namespace quillary::fuzz

// A property of the code under test; when it fails, the input is a finding.
#define FUZZ_CHECK(condition, detail)                                                    \
    do {                                                                                 \
        if (!(condition))                                                                \
            ::quillary::fuzz::fail(#condition, __FILE__, __LINE__, (detail));            \
    } while (false)

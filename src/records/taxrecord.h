#pragma once

// records/: the record format, data files and their whole-file changes, the
// category tables, the sorts, the text search, and composing a record from
// what the user typed. No widgets and no texts of the windows; it uses only
// the platform's Core services (files, locale).

#include <QByteArray>
#include <QDate>
#include <QString>
#include <array>
#include <optional>
#include <string_view>

namespace quillary {

class DateReader;

inline constexpr int kRecordLength = 130;
// The record count is a 16-bit signed number in the file format's world.
inline constexpr int kMaxRecords = 32767;

enum class Field { Kind, Date, Amount, Invoice, PayMethod, Type, Party, Description };

struct FieldLayout {
    int offset;
    int width;
};

constexpr FieldLayout layoutOf(Field f)
{
    switch (f) {
    case Field::Kind: return {0, 1};
    case Field::Date: return {1, 15};
    case Field::Amount: return {16, 14};
    case Field::Invoice: return {30, 10};
    case Field::PayMethod: return {40, 20};
    case Field::Type: return {60, 30};
    case Field::Party: return {90, 20};
    case Field::Description: return {110, 20};
    }
    return {0, 0};
}

// Personal or Business, Expense or Income.
struct Kind {
    bool business = false;
    bool income = false;
    friend bool operator==(Kind, Kind) = default;
};

// "0" Personal expense, "1" Personal income, "2" Business expense,
// "3" Business income.
char kindCode(Kind kind);
std::optional<Kind> kindFromCode(char code);

// One tax record: 130 bytes of eight fixed-width, blank-padded text fields.
class TaxRecord {
public:
    TaxRecord(); // all blanks

    // Takes the first 130 bytes; a shorter input is padded with blanks.
    static TaxRecord fromBytes(const QByteArray& bytes);
    static TaxRecord fromBytes(const char* bytes, qsizetype size);
    QByteArray bytes() const;
    const char* data() const { return data_.data(); }

    // The field at its full width, padding included.
    QString field(Field f) const;
    QByteArray rawField(Field f) const;
    // The field's bytes where they stand, padding included.
    std::string_view fieldBytes(Field f) const
    {
        const FieldLayout l = layoutOf(f);
        return {data_.data() + l.offset, std::size_t(l.width)};
    }
    // Stores value left-aligned, padded with blanks or cut to the width.
    void setField(Field f, const QString& value);

    char kindCode() const { return data_[0]; }
    void setKind(Kind kind) { data_[0] = quillary::kindCode(kind); }

    friend bool operator==(const TaxRecord&, const TaxRecord&) = default;

private:
    std::array<char, kRecordLength> data_;
};

// The date a stored date field holds (its bytes, as in the file), as
// reader reads the field's text.
std::optional<QDate> readDateField(const DateReader& reader, std::string_view field);

} // namespace quillary

#include "reports/csvimport.h"

#include "records/categories.h"
#include "reports/totals.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>

namespace quillary {

namespace {

// Enough rows to tell what a column holds and how it is written.
constexpr std::size_t kSampleRows = 200;

bool hasLetter(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetter(); });
}

bool isGroupBlank(QChar c)
{
    return c == u' ' || c == u'\u00A0' || c == u'\u202F';
}

bool readsAsDate(QStringView text)
{
    for (const DateOrder order :
         {DateOrder::DayMonthYear, DateOrder::MonthDayYear, DateOrder::YearMonthDay}) {
        if (readStatementDate(text, order).status == DateStatus::Ok)
            return true;
    }
    return false;
}

// Whether text is a number in one of the ways numbers are written.
bool readsAsNumber(QStringView text)
{
    static const NumberFormat formats[] = {{u'.', u','}, {u',', u'.'}, {u',', u' '}, {u'.', u'\''}};
    return std::any_of(std::begin(formats), std::end(formats), [text](const NumberFormat& f) {
        return readStatementAmount(text, f).status == AmountStatus::Ok;
    });
}

bool readsAsNames(const QStringList& cells)
{
    bool named = false;
    for (const QString& cell : cells) {
        const QStringView text = QStringView(cell).trimmed();
        if (text.isEmpty())
            continue;
        if (readsAsDate(text) || readsAsNumber(text))
            return false;
        named = named || hasLetter(text);
    }
    return named;
}

// A row with a date in it is a row of the table, whatever else it holds.
bool looksLikeData(const QStringList& cells)
{
    return std::any_of(cells.begin(), cells.end(), [](const QString& cell) {
        return readsAsDate(QStringView(cell).trimmed());
    });
}

// Whether a row has the table's field count; one empty field more at the
// end (a separator closing the line) counts as the same.
bool fitsTable(const CsvInputRow& row, int fields)
{
    const auto n = row.fields.size();
    return n == fields || (n == fields + 1 && row.fields.constLast().trimmed().isEmpty());
}

} // namespace

TableStart findTable(const CsvText& text)
{
    std::map<int, int> counts;
    for (const CsvInputRow& row : text.rows) {
        if (row.fields.size() >= 2)
            ++counts[int(row.fields.size())];
    }
    TableStart start;
    int most = 0;
    for (const auto& [fields, rows] : counts) {
        if (rows >= most) {
            most = rows;
            start.fields = fields;
        }
    }
    if (counts.empty()) {
        // One column, or nothing: the table is all there is.
        start.fields = text.rows.empty() ? 0 : 1;
        start.first = 0;
    } else {
        // A separator that closes every line of the table makes no column
        // (and a header without it fits the table still).
        bool allEmptyLast = true;
        for (const CsvInputRow& row : text.rows) {
            if (row.fields.size() == start.fields)
                allEmptyLast = allEmptyLast && row.fields.constLast().trimmed().isEmpty();
        }
        if (allEmptyLast && start.fields > 2)
            --start.fields;
        // The header is the first row of the count that reads as names,
        // unless a row of data comes first. Rows of the count that are
        // neither ("Konto;123;") are lines above the table like the others.
        std::optional<std::size_t> firstFit;
        for (std::size_t i = 0; i < text.rows.size(); ++i) {
            const CsvInputRow& row = text.rows[i];
            if (!fitsTable(row, start.fields))
                continue;
            if (!firstFit)
                firstFit = i;
            if (readsAsNames(row.fields)) {
                start.first = i;
                start.header = true;
                return start;
            }
            if (looksLikeData(row.fields))
                break;
        }
        start.first = firstFit.value_or(0);
        return start;
    }
    start.header = !text.rows.empty() && readsAsNames(text.rows.front().fields);
    return start;
}

ImportTable makeTable(const CsvText& text, const TableStart& start, bool header)
{
    ImportTable table;
    const std::size_t first = std::min(start.first, text.rows.size());
    table.skipped.assign(text.rows.begin(), text.rows.begin() + qsizetype(first));
    std::size_t data = first;
    table.header = header && first < text.rows.size();
    if (table.header) {
        const QStringList& names = text.rows[first].fields;
        for (int i = 0; i < start.fields; ++i) {
            const QString name = i < names.size() ? fieldText(names[i]) : QString();
            table.columns << (name.isEmpty() ? QStringLiteral("Column %1").arg(i + 1) : name);
        }
        ++data;
    } else {
        for (int i = 0; i < start.fields; ++i)
            table.columns << QStringLiteral("Column %1").arg(i + 1);
    }
    table.rows.assign(text.rows.begin() + qsizetype(data), text.rows.end());
    return table;
}

bool isComplete(const ColumnMap& map)
{
    if (map.date == kNoColumn)
        return false;
    return map.debitCredit ? map.debit != kNoColumn && map.credit != kNoColumn
                           : map.amount != kNoColumn;
}

namespace {

// A column's name as words: lower case, without punctuation.
QString words(const QString& name)
{
    QString out = QStringLiteral(" ");
    bool gap = false;
    for (const QChar c : name.toCaseFolded()) {
        if (c.isLetterOrNumber()) {
            if (gap && out.size() > 1)
                out += u' ';
            out += c;
            gap = false;
        } else {
            gap = true;
        }
    }
    return out + u' ';
}

// The place of the first keyword that the name holds as whole words; the
// list's size when none.
int rankOf(const QString& nameWords, std::initializer_list<const char16_t*> keywords)
{
    int rank = 0;
    for (const char16_t* keyword : keywords) {
        if (nameWords.contains(u' ' + QString::fromUtf16(keyword) + u' '))
            return rank;
        ++rank;
    }
    return rank;
}

struct ColumnFacts {
    QString words;
    int filled = 0;
    int dates = 0;
    int amounts = 0;
    int withDecimals = 0;
    int texts = 0;
    qsizetype length = 0;

    bool dateLike() const { return filled > 0 && dates * 5 >= filled * 3; }
    bool amountLike() const { return filled > 0 && amounts * 5 >= filled * 3 && !dateLike(); }
    bool textLike() const { return filled > 0 && texts * 2 >= filled; }
};

std::vector<ColumnFacts> factsOf(const ImportTable& table, const NumberFormat& format)
{
    std::vector<ColumnFacts> facts(std::size_t(table.columns.size()));
    for (std::size_t i = 0; i < facts.size(); ++i)
        facts[i].words = table.header ? words(table.columns[qsizetype(i)]) : QString();
    const std::size_t rows = std::min(table.rows.size(), kSampleRows);
    for (std::size_t r = 0; r < rows; ++r) {
        const QStringList& cells = table.rows[r].fields;
        for (std::size_t i = 0; i < facts.size() && qsizetype(i) < cells.size(); ++i) {
            const QStringView cell = QStringView(cells[qsizetype(i)]).trimmed();
            if (cell.isEmpty())
                continue;
            ColumnFacts& f = facts[i];
            ++f.filled;
            f.length += cell.size();
            if (readsAsDate(cell)) {
                ++f.dates;
            } else if (readStatementAmount(cell, format).status == AmountStatus::Ok) {
                ++f.amounts;
                if (cell.contains(format.decimal))
                    ++f.withDecimals;
            } else if (hasLetter(cell)) {
                ++f.texts;
            }
        }
    }
    return facts;
}

// The decimal separator that the numbers of cells show: the later of a
// point and a comma when both occur, a single one followed by other than
// three digits, a repeated one is a group separator. A tie goes to the
// locale's.
NumberFormat guessNumberFormat(const ImportTable& table, const std::vector<int>& columns,
                               const QLocale& locale)
{
    int point = 0, comma = 0;
    bool apostrophe = false, blank = false;
    const std::size_t rows = std::min(table.rows.size(), kSampleRows);
    for (std::size_t r = 0; r < rows; ++r) {
        const QStringList& cells = table.rows[r].fields;
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (!columns.empty() && std::find(columns.begin(), columns.end(), int(i)) == columns.end())
                continue;
            const QStringView cell = QStringView(cells[i]).trimmed();
            if (cell.isEmpty() || readsAsDate(cell) || !readsAsNumber(cell))
                continue;
            QString marks;
            int digitsAfter = 0;
            bool anyDigit = false;
            for (qsizetype k = 0; k < cell.size(); ++k) {
                const QChar c = cell[k];
                if (c.isDigit()) {
                    anyDigit = true;
                    ++digitsAfter;
                } else if (c == u'.' || c == u',') {
                    marks += c;
                    digitsAfter = 0;
                } else if (c == u'\'' && anyDigit) {
                    apostrophe = true;
                } else if (isGroupBlank(c) && anyDigit && k + 1 < cell.size()
                           && cell[k + 1].isDigit()) {
                    blank = true;
                }
            }
            if (!anyDigit || marks.isEmpty())
                continue;
            const QChar last = marks.back();
            const bool mixed = marks.contains(u'.') && marks.contains(u',');
            bool decimalIsLast = true;
            if (!mixed) {
                if (marks.size() > 1)
                    decimalIsLast = false; // 1.234.567: groups
                else if (digitsAfter == 3)
                    continue; // 1,234 or 1,234 thousandths: no telling
            }
            const bool pointDecimal = (last == u'.') == decimalIsLast;
            ++(pointDecimal ? point : comma);
        }
    }
    NumberFormat format;
    const bool commaDecimal = comma > point || (comma == point && locale.decimalPoint() == u",");
    format.decimal = commaDecimal ? u',' : u'.';
    format.group = apostrophe ? u'\'' : blank ? u' ' : commaDecimal ? u'.' : u',';
    return format;
}

DateOrder localeDateOrder(const QLocale& locale)
{
    const QString f = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype d = f.indexOf(u'd'), m = f.indexOf(u'M'), y = f.indexOf(u'y');
    if (y >= 0 && y < m && y < d)
        return DateOrder::YearMonthDay;
    if (m >= 0 && m < d)
        return DateOrder::MonthDayYear;
    return DateOrder::DayMonthYear;
}

// The order that reads the most of the column's dates. Year-month-day
// counts only dates that begin with a four-digit year: "14.03.26" read as
// 2014-03-26 is no likely reading. Between day/month and month/day a tie
// goes to day/month for dates with points (no one writes 03.14.26), else to
// the locale's order.
DateOrder guessDateOrder(const ImportTable& table, int column, const QLocale& locale)
{
    if (column == kNoColumn)
        return localeDateOrder(locale);
    int dmy = 0, mdy = 0, ymd = 0, dotted = 0, cells = 0;
    const std::size_t rows = std::min(table.rows.size(), kSampleRows * 5);
    for (std::size_t r = 0; r < rows; ++r) {
        const QStringList& fields = table.rows[r].fields;
        if (column >= fields.size())
            continue;
        const QStringView cell = QStringView(fields[column]).trimmed();
        if (cell.isEmpty())
            continue;
        ++cells;
        dmy += readStatementDate(cell, DateOrder::DayMonthYear).status == DateStatus::Ok;
        mdy += readStatementDate(cell, DateOrder::MonthDayYear).status == DateStatus::Ok;
        const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
        if (cell.size() >= 4 && std::all_of(cell.begin(), cell.begin() + 4, digit))
            ymd += readStatementDate(cell, DateOrder::YearMonthDay).status == DateStatus::Ok;
        dotted += cell.contains(u'.');
    }
    if (ymd > dmy && ymd > mdy)
        return DateOrder::YearMonthDay;
    if (dmy != mdy)
        return dmy > mdy ? DateOrder::DayMonthYear : DateOrder::MonthDayYear;
    if (dotted * 2 > cells)
        return DateOrder::DayMonthYear;
    const DateOrder preferred = localeDateOrder(locale);
    return preferred == DateOrder::YearMonthDay ? DateOrder::DayMonthYear : preferred;
}

} // namespace

ImportSettings guessSettings(const ImportTable& table, ImportSettings base, const QLocale& locale)
{
    ImportSettings settings = std::move(base);
    settings.number = guessNumberFormat(table, {}, locale);
    std::vector<ColumnFacts> facts = factsOf(table, settings.number);
    ColumnMap map;
    std::vector<bool> used(facts.size(), false);

    // The column of the best keyword among those whose content fits;
    // without a keyword, the leftmost one when fallback is set.
    auto pick = [&](std::initializer_list<const char16_t*> keywords,
                    std::initializer_list<const char16_t*> unwanted, auto fits, bool fallback) {
        int best = kNoColumn;
        int bestRank = std::numeric_limits<int>::max();
        for (std::size_t i = 0; i < facts.size(); ++i) {
            if (used[i] || !fits(facts[i]))
                continue;
            int rank = rankOf(facts[i].words, keywords);
            if (rank == int(keywords.size())) {
                if (!fallback)
                    continue;
                // Columns that are plainly something else come last.
                if (rankOf(facts[i].words, unwanted) < int(unwanted.size()))
                    rank += 1;
            }
            if (rank < bestRank) {
                bestRank = rank;
                best = int(i);
            }
        }
        if (best != kNoColumn)
            used[std::size_t(best)] = true;
        return best;
    };
    const auto date = [](const ColumnFacts& f) { return f.dateLike(); };
    const auto amount = [](const ColumnFacts& f) { return f.amountLike(); };
    const auto decimals = [](const ColumnFacts& f) { return f.amountLike() && f.withDecimals > 0; };
    const auto text = [](const ColumnFacts& f) { return f.textLike(); };
    const auto any = [](const ColumnFacts& f) { return f.filled > 0; };

    map.date = pick({u"buchungstag", u"buchungsdatum", u"transaction date", u"trans date",
                     u"booking date", u"date", u"datum", u"fecha", u"data"},
                    {u"valuta", u"wertstellung", u"value date", u"posted date", u"post date",
                     u"posting date"},
                    date, true);

    const std::initializer_list<const char16_t*> notAmounts{
        u"balance", u"saldo", u"kontostand", u"solde", u"fee", u"fees", u"gebühr", u"gebühren",
        u"running bal", u"id", u"nr", u"no", u"number", u"kontonummer", u"blz", u"iban"};
    map.amount = pick({u"amount", u"betrag", u"umsatz", u"montant", u"importe", u"gross",
                       u"brutto", u"net", u"netto"},
                      notAmounts, amount, false);
    if (map.amount == kNoColumn) {
        map.debit = pick({u"debit", u"debits", u"débit", u"debit amount", u"withdrawal", u"withdrawals",
                          u"soll", u"ausgang", u"ausgänge", u"money out", u"paid out",
                          u"belastung", u"outflow"},
                         {}, amount, false);
        map.credit = pick({u"credit", u"credits", u"crédit", u"credit amount", u"deposit", u"deposits",
                           u"haben", u"eingang", u"eingänge", u"money in", u"paid in",
                           u"gutschrift", u"inflow"},
                          {}, amount, false);
        if (map.debit != kNoColumn && map.credit != kNoColumn) {
            map.debitCredit = true;
        } else {
            for (int* column : {&map.debit, &map.credit}) {
                if (*column != kNoColumn)
                    used[std::size_t(*column)] = false;
                *column = kNoColumn;
            }
            map.amount = pick({}, notAmounts, decimals, true);
            if (map.amount == kNoColumn)
                map.amount = pick({}, notAmounts, amount, true);
        }
    }
    if (map.amount != kNoColumn || map.debitCredit) {
        std::vector<int> money;
        for (const int c : {map.amount, map.debit, map.credit}) {
            if (c != kNoColumn)
                money.push_back(c);
        }
        settings.number = guessNumberFormat(table, money, locale);
    }

    map.description = pick({u"description", u"beschreibung", u"verwendungszweck", u"memo",
                            u"details", u"transaction details", u"narrative", u"purpose",
                            u"libellé", u"libelle", u"item title", u"subject", u"buchungstext",
                            u"text", u"note", u"vorgang"},
                           {}, any, false);
    map.party = pick({u"payee", u"name", u"empfänger", u"empfaenger", u"auftraggeber",
                      u"begünstigter", u"beguenstigter", u"zahlungspflichtiger", u"merchant",
                      u"counterparty", u"recipient", u"payer", u"beneficiary", u"händler",
                      u"zahlungsempfänger"},
                     {}, any, false);
    if (map.description == kNoColumn) {
        // No name tells: the text column with the longest texts.
        int best = kNoColumn;
        qsizetype longest = -1;
        for (std::size_t i = 0; i < facts.size(); ++i) {
            if (used[i] || !text(facts[i]))
                continue;
            const qsizetype average = facts[i].length / facts[i].filled;
            if (average > longest) {
                longest = average;
                best = int(i);
            }
        }
        map.description = best;
        if (best != kNoColumn)
            used[std::size_t(best)] = true;
    }
    map.invoice = pick({u"invoice", u"invoice number", u"invoice no", u"rechnungsnummer",
                        u"rechnung", u"check number", u"check no", u"check", u"cheque",
                        u"belegnummer", u"beleg", u"receipt"},
                       {}, any, false);
    map.payMethod = pick({u"payment method", u"pay method", u"method", u"zahlungsart",
                          u"zahlart"},
                         {}, any, false);
    settings.columns = map;
    settings.dateOrder = guessDateOrder(table, map.date, locale);
    return settings;
}

QString fieldText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    bool blank = false;
    for (const QChar c : text) {
        if (c.isSpace() || c.category() == QChar::Other_Control) {
            blank = !out.isEmpty();
            continue;
        }
        if (blank)
            out += u' ';
        blank = false;
        out += c;
    }
    return out;
}

DuplicateIndex::DuplicateIndex(const std::vector<TaxRecord>& records, const QLocale& locale)
    : readDate_(locale)
    , readAmount_(locale)
{
    records_.reserve(qsizetype(records.size()));
    for (std::size_t i = 0; i < records.size(); ++i) {
        const QString key = keyOf(records[i]);
        if (!key.isEmpty() && !records_.contains(key))
            records_.insert(key, int(i) + 1);
    }
}

QString DuplicateIndex::keyOf(const TaxRecord& record) const
{
    const std::optional<QDate> date = readDate_(record.field(Field::Date));
    if (!date)
        return {};
    const CurrencyResult amount = readAmount_(record.field(Field::Amount));
    if (!amount.ok())
        return {};
    return QString(QLatin1Char(record.kindCode())) + u'|' + QString::number(date->toJulianDay())
        + u'|' + QString::number(amount.value.units) + u'|'
        + trimBlanks(record.field(Field::Description));
}

int DuplicateIndex::find(const QString& key) const
{
    return key.isEmpty() ? 0 : records_.value(key, 0);
}

namespace {

QString quoted(const QString& text)
{
    return u'\u201C' + fieldText(text).left(40) + u'\u201D';
}

QString typeFor(const QString& chosen, Kind kind)
{
    return typeList(kind).contains(chosen) ? chosen : defaultType(kind);
}

} // namespace

std::vector<ImportRow> convertRows(const ImportTable& table, const ImportSettings& settings,
                                   const DuplicateIndex& existing, const QLocale& locale)
{
    std::vector<ImportRow> result;
    result.reserve(table.rows.size());
    const ColumnMap& map = settings.columns;
    const int fields = int(table.columns.size());
    const Kind expense{settings.business, false};
    const Kind income{settings.business, true};
    const QString expenseType = typeFor(settings.expenseType, expense);
    const QString incomeType = typeFor(settings.incomeType, income);
    const int amountWidth = layoutOf(Field::Amount).width;
    QHash<QString, int> seen;

    for (const CsvInputRow& row : table.rows) {
        ImportRow& out = result.emplace_back();
        out.line = row.line;
        const QStringList& cells = row.fields;
        auto cell = [&cells](int column) {
            return column >= 0 && column < cells.size() ? cells[column] : QString();
        };
        auto skip = [&out](const QString& reason) {
            out.status = ImportRow::Status::Unreadable;
            out.reason = reason;
        };

        qsizetype used = cells.size();
        while (used > 0 && cells[used - 1].trimmed().isEmpty())
            --used;
        if (used > fields) {
            skip(QStringLiteral("%1 fields where the table has %2").arg(used).arg(fields));
            continue;
        }
        if (!isComplete(map)) {
            skip(map.date == kNoColumn ? QStringLiteral("no date column chosen")
                                       : QStringLiteral("no amount column chosen"));
            continue;
        }

        const QString dateText = cell(map.date);
        const DateRead date = readStatementDate(dateText, settings.dateOrder);
        if (date.status == DateStatus::Empty) {
            skip(QStringLiteral("no date"));
            continue;
        }
        if (date.status != DateStatus::Ok) {
            skip((date.status == DateStatus::Impossible ? QStringLiteral("impossible date ")
                                                        : QStringLiteral("not a date: "))
                 + quoted(dateText));
            continue;
        }

        // What the amount reads as; false (with the row skipped) when it
        // cannot be read.
        auto readAmount = [&](const QString& text, AmountRead& read) {
            read = readStatementAmount(text, settings.number);
            if (read.status == AmountStatus::NotANumber) {
                skip(QStringLiteral("not an amount: ") + quoted(text));
                return false;
            }
            if (read.status == AmountStatus::OutOfRange) {
                skip(QStringLiteral("amount too large: ") + quoted(text));
                return false;
            }
            return true;
        };
        Currency value;
        bool moneyOut = false;
        QString amountText;
        if (!map.debitCredit) {
            AmountRead amount;
            amountText = cell(map.amount);
            if (!readAmount(amountText, amount))
                continue;
            if (amount.status == AmountStatus::Empty) {
                skip(QStringLiteral("no amount"));
                continue;
            }
            value = amount.value;
            moneyOut = settings.kindRule == KindRule::PlusIsExpense ? value.units > 0
                                                                     : value.units < 0;
        } else {
            AmountRead debit, credit;
            const QString debitText = cell(map.debit), creditText = cell(map.credit);
            if (!readAmount(debitText, debit) || !readAmount(creditText, credit))
                continue;
            const bool noDebit = debit.status == AmountStatus::Empty || debit.value.units == 0;
            const bool noCredit = credit.status == AmountStatus::Empty || credit.value.units == 0;
            if (!noDebit && !noCredit) {
                skip(QStringLiteral("both a debit and a credit"));
                continue;
            }
            if (debit.status == AmountStatus::Empty && credit.status == AmountStatus::Empty) {
                skip(QStringLiteral("no amount"));
                continue;
            }
            moneyOut = !noDebit;
            value = moneyOut ? debit.value : credit.value;
            amountText = moneyOut ? debitText : creditText;
        }
        if (value.units == 0) {
            skip(QStringLiteral("the amount is 0"));
            continue;
        }
        if (value.units == std::numeric_limits<qint64>::min()) {
            skip(QStringLiteral("amount too large: ") + quoted(amountText));
            continue;
        }
        const QString stored = currencyToText(Currency{value.units < 0 ? -value.units : value.units},
                                              locale);
        if (stored.size() > amountWidth) {
            skip(QStringLiteral("amount too large for a record: ") + quoted(amountText));
            continue;
        }

        bool isIncome = !moneyOut;
        if (settings.kindRule == KindRule::AllExpenses)
            isIncome = false;
        else if (settings.kindRule == KindRule::AllIncome)
            isIncome = true;
        TaxRecord& record = out.record;
        record.setKind(isIncome ? income : expense);
        record.setField(Field::Date, shortDate(date.date, locale));
        record.setField(Field::Amount, stored);
        record.setField(Field::Invoice, fieldText(cell(map.invoice)));
        record.setField(Field::PayMethod, fieldText(cell(map.payMethod)));
        record.setField(Field::Type, isIncome ? incomeType : expenseType);
        record.setField(Field::Party, fieldText(cell(map.party)));
        record.setField(Field::Description, fieldText(cell(map.description)));
        out.status = ImportRow::Status::Ready;

        const QString key = existing.keyOf(record);
        if (const int same = existing.find(key)) {
            out.status = ImportRow::Status::Duplicate;
            out.reason = QStringLiteral("same as record %1").arg(same);
        } else if (const auto earlier = seen.constFind(key);
                   !key.isEmpty() && earlier != seen.cend()) {
            out.status = ImportRow::Status::Duplicate;
            out.reason = QStringLiteral("same as line %1").arg(*earlier);
        }
        if (!key.isEmpty() && !seen.contains(key))
            seen.insert(key, row.line);
    }
    return result;
}

ImportCounts countRows(const std::vector<ImportRow>& rows, const std::vector<bool>& keep)
{
    ImportCounts counts;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        switch (rows[i].status) {
        case ImportRow::Status::Ready: ++counts.ready; break;
        case ImportRow::Status::Unreadable: ++counts.unreadable; break;
        case ImportRow::Status::Duplicate:
            ++counts.duplicates;
            if (i < keep.size() && keep[i])
                ++counts.duplicatesKept;
            break;
        }
    }
    return counts;
}

std::vector<TaxRecord> recordsToImport(const std::vector<ImportRow>& rows,
                                       const std::vector<bool>& keep)
{
    std::vector<TaxRecord> records;
    records.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ImportRow& row = rows[i];
        if (row.status == ImportRow::Status::Ready
            || (row.status == ImportRow::Status::Duplicate && i < keep.size() && keep[i]))
            records.push_back(row.record);
    }
    return records;
}

CsvImport::CsvImport(QByteArray bytes, const std::vector<TaxRecord>& existing,
                     const QLocale& locale)
    : bytes_(std::move(bytes))
    , locale_(locale)
    , existing_(existing, locale)
    , detection_(detectCsvFormat(bytes_))
    , format_(detection_.format)
{
    read();
    settings_ = guessSettings(table_, {}, locale_);
    setSettings(settings_);
}

void CsvImport::read()
{
    text_ = readCsv(bytes_, format_);
    start_ = findTable(text_);
    tabulate(start_.header);
}

void CsvImport::tabulate(bool header)
{
    table_ = makeTable(text_, start_, header);
    keep_.assign(table_.rows.size(), false);
}

void CsvImport::setFormat(const CsvFormat& format)
{
    format_ = format;
    read();
    setSettings(guessSettings(table_, settings_, locale_));
}

void CsvImport::setHeader(bool header)
{
    tabulate(header);
    setSettings(guessSettings(table_, settings_, locale_));
}

void CsvImport::setSettings(const ImportSettings& settings)
{
    settings_ = settings;
    rows_ = convertRows(table_, settings_, existing_, locale_);
    keep_.resize(rows_.size(), false);
}

void CsvImport::setKeep(std::size_t i, bool keep)
{
    if (i < keep_.size())
        keep_[i] = keep;
}

} // namespace quillary

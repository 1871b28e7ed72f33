#pragma once

// Records for tests: builders for records and sample data. No GUI needed.

#include "records/taxrecord.h"
#include "support/testenv.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace quillary::test {

// A record with every field given, in the order the record window shows
// them. The kind code is stored as given, so a test can write codes the
// program never writes.
TaxRecord makeRecord(char kind, const QString& date, const QString& amount,
                     const QString& invoice, const QString& pay, const QString& type,
                     const QString& party, const QString& description);

// A record with the fields the totals window lists first; the rest get
// plain values.
TaxRecord totalsRecord(char kind, const QString& type, const QString& amount,
                       const QString& description,
                       const QString& date = QStringLiteral("1/2/1996"),
                       const QString& party = QStringLiteral("Someone"),
                       const QString& invoice = QStringLiteral("A1"),
                       const QString& payMethod = QStringLiteral("Cash"));

// Three records of three kinds, as a user would have entered them.
std::vector<TaxRecord> sampleRecords();

// Record n of a run of Personal expenses, one day apart from 1/1/2024 on,
// dated in the default locale's format.
TaxRecord numberedRecord(int n);
std::vector<TaxRecord> numberedRecords(int count, int first = 1);

QByteArray bytesOf(const std::vector<TaxRecord>& records);

} // namespace quillary::test

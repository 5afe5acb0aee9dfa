#pragma once

#include <QDate>
#include <QString>

class DataSet;
struct ErrSink;

// The rules of the requisites (section "00") on the first row of `table`. A rule whose
// field the table lacks is skipped; within a field only the first failing rule reports.
void ControlRekvizity(DataSet& table, bool isUrLico, const QDate& today, const ErrSink& sink);

// Check digit of a state registration number that has passed the length and digit
// tests (13 digits for a legal entity, 15 for an individual entrepreneur): the number
// without its last digit, modulo the length minus 2, keeping only the last decimal
// digit of the remainder, must equal the last digit.
bool IsOgrnCheckDigitOk(const QString& ogrn);

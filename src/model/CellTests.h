#pragma once

#include <QString>
#include <QStringList>

class DataSet;

// Tests of a cell's text under the process formats.
bool IsNumberText(const QString& text);
bool IsIntegerText(const QString& text);
bool IsDateText(const QString& text);
bool IsDigitsOnly(const QString& text);

// Sums over a second cursor, so the caller's current row never moves. Carried in
// extended precision, returned in the general number format ("0" when nothing added).
QString SumGrafByRows(DataSet* table, const QString& keyField, const QString& column,
                      const QStringList& rowCodes);
// Empty text when there is no row with the code.
QString SumGrafsOfRow(DataSet* table, const QString& keyField, const QString& rowCode,
                      const QStringList& columns);

#pragma once

#include "model/DataSet.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <vector>

// The table store's file format: an XML datapacket.
//
// Reading accepts what this program writes (Windows-1251, no encoding attribute) and
// what Delphi writes (any encoding named in the declaration, a change log with
// RowState flags, more field types). Types without a counterpart here are mapped:
// i1/i2/i4/ui1/ui2 -> integer; i8/ui4/r4/r8/fixed -> float (i8 and ui4 do not fit a
// 32-bit integer, a double keeps them exactly up to 2^53); r8 + SUBTYPE Money ->
// money; date and dateTime -> date (a dateTime keeps only its day); anything else
// (bin.hex, time, ...) -> string holding the attribute text as written. Rows flagged
// as original or deleted images of a change log are dropped. No DTD is accepted, so
// no entity other than the five predefined ones and character references is ever
// expanded.
//
// Writing produces the exact one-line layout, rows in stored (physical) order, data
// fields only, in Windows-1251. Text that cannot be written so that it reads back
// the same is refused.

struct PacketData {
    QList<FieldDef> fields;
    std::vector<RowValues> rows; // one slot per field, null for an absent attribute
};

// A file that cannot be read: `reason()` is the bare Russian reason (with the line and
// column when the XML reader found it), `message()` reads "Файл повреждён: <reason>".
class DatapacketError : public DataSetError {
public:
    DatapacketError(const QString& message, const QString& reason)
        : DataSetError(message), m_reason(reason)
    {
    }
    const QString& reason() const { return m_reason; }

private:
    QString m_reason;
};

// Throws DatapacketError.
PacketData readDatapacket(const QByteArray& bytes);
// The stored rows of the table (not a pending edit). Throws DataSetError naming the
// field and the character when a text cannot be written.
QByteArray writeDatapacket(const DataSet& table);

// Parses the whole file before touching the table, then replaces its definitions and
// rows. Throws DatapacketError (unreadable or damaged file); messages name the file.
void loadTableFromFile(DataSet& table, const QString& path);
// Replaces the file atomically: on any failure the previous file stays whole.
// Throws DataSetError naming the file and the reason.
void saveTableToFile(const DataSet& table, const QString& path);

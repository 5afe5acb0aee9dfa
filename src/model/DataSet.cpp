#include "model/DataSet.h"

#include "model/FilterExpression.h"

#include <algorithm>
#include <map>

using namespace Qt::StringLiterals;

// Rows, change log and listeners shared by a table and its clones.
class TableData {
public:
    QList<FieldDef> fields;
    std::vector<Row> rows;
    std::vector<Row> baseline; // the content at the last merge, load or creation
    int changeCount = 0;
    quint64 version = 1;
    RowId nextId = 1;
    DataSet::Hook calcHook;
    std::map<int, DataSet::Listener> listeners;
    int nextListener = 1;

    void touch() { ++version; }
    int rowIndexOf(RowId id) const
    {
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].id == id)
                return static_cast<int>(i);
        return -1;
    }
    int fieldIndex(const QString& name) const
    {
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
                return i;
        return -1;
    }
};

namespace {

int compareValues(const FieldDef& def, const QVariant& a, const QVariant& b)
{
    const bool an = a.isNull() || !a.isValid();
    const bool bn = b.isNull() || !b.isValid();
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    switch (def.type) {
    case FieldType::String:
        return a.toString().compare(b.toString());
    case FieldType::Boolean:
        return int(a.toBool()) - int(b.toBool());
    case FieldType::Date: {
        const QDate x = a.toDate(), y = b.toDate();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    default: {
        const double x = a.toDouble(), y = b.toDouble();
        return x < y ? -1 : (y < x ? 1 : 0);
    }
    }
}

bool isNullValue(const QVariant& v)
{
    return v.isNull() || !v.isValid();
}

bool locateEquals(const FieldDef& def, const QVariant& have, const QVariant& want,
                  bool caseInsensitive)
{
    if (isNullValue(want) || (def.type == FieldType::String && want.toString().isEmpty()))
        return isNullValue(have) || (def.type == FieldType::String && have.toString().isEmpty());
    if (isNullValue(have))
        return false;
    if (def.type == FieldType::String)
        return have.toString().compare(want.toString(), caseInsensitive ? Qt::CaseInsensitive
                                                                        : Qt::CaseSensitive) == 0;
    try {
        return compareValues(def, have, convertValue(def, want)) == 0;
    } catch (const DataSetError&) {
        return false;
    }
}

QStringList splitNames(const QString& names)
{
    QStringList out;
    for (const QString& part : names.split(u';')) {
        const QString t = part.trimmed();
        if (!t.isEmpty())
            out << t;
    }
    return out;
}

} // namespace

DataSet::DataSet(const QString& name, const QList<FieldDef>& fields)
    : m_data(std::make_shared<TableData>()), m_name(name)
{
    m_data->fields = fields;
}

DataSet::DataSet(std::shared_ptr<TableData> data, const QString& name)
    : m_data(std::move(data)), m_name(name)
{
}

DataSet::~DataSet()
{
    if (m_sharedPending) {
        m_disableCount = 0;
        notifyShared(TableEvent::Reset, 0);
    }
}

std::unique_ptr<DataSet> DataSet::clone() const
{
    std::unique_ptr<DataSet> c(new DataSet(m_data, m_name));
    c->m_state = isOpen() ? DataSetState::Browse : DataSetState::Inactive;
    if (c->isOpen())
        c->first();
    return c;
}

// ---------------------------------------------------------------- definitions

const QList<FieldDef>& DataSet::fieldDefs() const
{
    return m_data->fields;
}
int DataSet::fieldCount() const
{
    return static_cast<int>(m_data->fields.size());
}
int DataSet::fieldIndex(const QString& name) const
{
    return m_data->fieldIndex(name.trimmed());
}

std::optional<Field> DataSet::findField(const QString& name)
{
    const int i = fieldIndex(name);
    if (i < 0)
        return std::nullopt;
    return Field(this, i);
}

Field DataSet::fieldByName(const QString& name)
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw DataSetError(u"%1: поле «%2» не найдено"_s.arg(m_name, name));
    return Field(this, i);
}

Field DataSet::field(int index)
{
    if (index < 0 || index >= fieldCount())
        throw DataSetError(u"%1: нет поля с номером %2"_s.arg(m_name).arg(index));
    return Field(this, index);
}

void DataSet::setValidChars(const QString& fieldName, std::optional<QString> chars)
{
    const int i = fieldIndex(fieldName);
    if (i < 0)
        throw DataSetError(u"%1: поле «%2» не найдено"_s.arg(m_name, fieldName));
    m_data->fields[i].validChars = std::move(chars);
}

// ---------------------------------------------------------------- lifecycle

void DataSet::open()
{
    if (isOpen())
        return;
    setState(DataSetState::Browse);
    first();
}

void DataSet::close()
{
    if (!isOpen())
        return;
    if (isEditing())
        cancel();
    setState(DataSetState::Inactive);
}

void DataSet::createDataSet()
{
    emptyDataSet();
    if (!isOpen())
        setState(DataSetState::Browse);
    first();
}

void DataSet::emptyDataSet()
{
    if (isEditing())
        cancel();
    m_data->rows.clear();
    m_data->baseline.clear();
    m_data->changeCount = 0;
    m_data->touch();
    m_cur = 0;
    m_curPos = -1;
    m_eof = m_bof = true;
    notifyShared(TableEvent::Reset, 0);
    notifyData();
}

void DataSet::loadData(const QList<FieldDef>& fields, std::vector<RowValues> rows)
{
    if (isEditing())
        cancel();
    QList<FieldDef> merged;
    merged.reserve(fields.size());
    for (const FieldDef& f : fields) {
        FieldDef d = f;
        const int old = m_data->fieldIndex(f.name);
        if (old >= 0) {
            const FieldDef& o = m_data->fields[old];
            if (!o.isCalculated()) {
                d.displayLabel = o.displayLabel;
                d.displayWidth = o.displayWidth;
                d.readOnly = o.readOnly;
                d.visible = o.visible;
                d.validChars = o.validChars;
            }
        }
        merged << d;
    }
    for (const FieldDef& o : std::as_const(m_data->fields))
        if (o.isCalculated() &&
            !std::any_of(merged.cbegin(), merged.cend(), [&](const FieldDef& f) {
                return f.name.compare(o.name, Qt::CaseInsensitive) == 0;
            }))
            merged << o;

    m_data->fields = merged;
    m_data->rows.clear();
    m_data->rows.reserve(rows.size());
    const int n = static_cast<int>(merged.size());
    for (RowValues& values : rows) {
        values.resize(n);
        m_data->rows.push_back(Row{m_data->nextId++, std::move(values)});
    }
    m_data->baseline = m_data->rows;
    m_data->changeCount = 0;
    m_data->touch();
    m_cur = 0;
    m_curPos = -1;
    if (!isOpen())
        m_state = DataSetState::Browse;
    notifyShared(TableEvent::Reset, 0);
    first();
}

// ---------------------------------------------------------------- view

const std::vector<int>& DataSet::view() const
{
    if (!m_viewDirty && m_viewStamp == m_data->version)
        return m_view;
    const auto& rows = m_data->rows;
    m_view.clear();
    m_view.reserve(rows.size());
    std::vector<int> filterFields;
    const bool useFilter = m_filtered && m_filterExpr && !m_filterExpr->conditions.empty();
    if (useFilter)
        for (const auto& c : m_filterExpr->conditions)
            filterFields.push_back(m_data->fieldIndex(c.fieldName));
    for (size_t i = 0; i < rows.size(); ++i)
        if (!useFilter || m_filterExpr->matches(m_data->fields, rows[i].values, filterFields))
            m_view.push_back(static_cast<int>(i));
    std::vector<int> keys;
    for (const QString& n : splitNames(m_indexNames)) {
        const int fi = m_data->fieldIndex(n);
        if (fi >= 0)
            keys.push_back(fi);
    }
    if (!keys.empty()) {
        std::stable_sort(m_view.begin(), m_view.end(), [&](int a, int b) {
            for (int k : keys) {
                const int c =
                    compareValues(m_data->fields[k], rows[a].values[k], rows[b].values[k]);
                if (c != 0)
                    return c < 0;
            }
            return false;
        });
    }
    m_viewStamp = m_data->version;
    m_viewDirty = false;
    return m_view;
}

void DataSet::invalidateView()
{
    m_viewDirty = true;
}

int DataSet::currentPos() const
{
    const auto& v = view();
    if (v.empty()) {
        m_cur = 0;
        return -1;
    }
    if (m_cur != 0) {
        if (m_curPos >= 0 && m_curPos < int(v.size()) && m_data->rows[v[m_curPos]].id == m_cur)
            return m_curPos;
        for (size_t i = 0; i < v.size(); ++i)
            if (m_data->rows[v[i]].id == m_cur) {
                m_curPos = static_cast<int>(i);
                return m_curPos;
            }
    }
    // The current row is gone (deleted or filtered out elsewhere): take its neighbour.
    m_curPos = std::clamp(m_curPos, 0, int(v.size()) - 1);
    m_cur = m_data->rows[v[m_curPos]].id;
    return m_curPos;
}

void DataSet::moveTo(int pos)
{
    const auto& v = view();
    if (v.empty()) {
        m_cur = 0;
        m_curPos = -1;
        m_eof = m_bof = true;
    } else {
        pos = std::clamp(pos, 0, int(v.size()) - 1);
        m_curPos = pos;
        m_cur = m_data->rows[v[pos]].id;
    }
    notifyData();
}

void DataSet::requireOpen() const
{
    if (!isOpen())
        throw DataSetError(u"%1: операция невозможна, таблица закрыта"_s.arg(m_name));
}

// ---------------------------------------------------------------- navigation

namespace {
// Moving the cursor posts a modified pending row and drops an untouched one.
void checkBrowseMode(DataSet& ds, bool modified)
{
    if (!ds.isEditing())
        return;
    if (modified)
        ds.post();
    else
        ds.cancel();
}
} // namespace

void DataSet::first()
{
    requireOpen();
    checkBrowseMode(*this, m_modified);
    moveTo(0);
    m_bof = true;
    m_eof = view().empty();
}

void DataSet::last()
{
    requireOpen();
    checkBrowseMode(*this, m_modified);
    moveTo(int(view().size()) - 1);
    m_eof = true;
    m_bof = view().empty();
}

void DataSet::next()
{
    requireOpen();
    checkBrowseMode(*this, m_modified);
    const int pos = currentPos();
    if (pos < 0 || pos + 1 >= int(view().size())) {
        m_eof = true;
        return;
    }
    moveTo(pos + 1);
    m_bof = false;
    m_eof = false;
}

void DataSet::prior()
{
    requireOpen();
    checkBrowseMode(*this, m_modified);
    const int pos = currentPos();
    if (pos <= 0) {
        m_bof = true;
        return;
    }
    moveTo(pos - 1);
    m_bof = false;
    m_eof = false;
}

int DataSet::recordCount() const
{
    if (!isOpen())
        return 0;
    return static_cast<int>(view().size());
}

int DataSet::recNo() const
{
    if (!isOpen() || m_state == DataSetState::Insert)
        return 0;
    return currentPos() + 1;
}

void DataSet::setRecNo(int recNo)
{
    requireOpen();
    if (recNo < 1 || recNo > recordCount())
        return;
    checkBrowseMode(*this, m_modified);
    moveTo(recNo - 1);
    m_bof = m_eof = false;
}

bool DataSet::locate(const QString& fieldNames, const QVariantList& values, bool caseInsensitive)
{
    requireOpen();
    const QStringList names = splitNames(fieldNames);
    std::vector<int> idx;
    for (const QString& n : names) {
        const int fi = m_data->fieldIndex(n);
        if (fi < 0)
            return false;
        idx.push_back(fi);
    }
    if (idx.empty() || values.size() < qsizetype(idx.size()))
        return false;
    checkBrowseMode(*this, m_modified);
    const auto& v = view();
    for (size_t r = 0; r < v.size(); ++r) {
        const Row& row = m_data->rows[v[r]];
        bool all = true;
        for (size_t k = 0; k < idx.size() && all; ++k)
            all = locateEquals(m_data->fields[idx[k]], row.values[idx[k]], values[qsizetype(k)],
                               caseInsensitive);
        if (all) {
            moveTo(static_cast<int>(r));
            m_bof = m_eof = false;
            return true;
        }
    }
    return false;
}

bool DataSet::bookmarkValid(RowId bookmark) const
{
    return visibleIndexOf(bookmark) >= 0;
}

void DataSet::gotoBookmark(RowId bookmark)
{
    requireOpen();
    const int pos = visibleIndexOf(bookmark);
    if (pos < 0)
        throw DataSetError(u"%1: запись не найдена"_s.arg(m_name));
    checkBrowseMode(*this, m_modified);
    moveTo(pos);
    m_bof = m_eof = false;
}

// ---------------------------------------------------------------- editing

void DataSet::edit()
{
    requireOpen();
    if (isEditing())
        return;
    if (currentPos() < 0)
        throw DataSetError(u"%1: нет записи для редактирования"_s.arg(m_name));
    if (beforeEdit)
        beforeEdit(*this);
    m_pending = m_data->rows[view()[currentPos()]].values;
    m_pendingId = m_cur;
    m_modified = false;
    setState(DataSetState::Edit);
    if (afterEdit)
        afterEdit(*this);
}

void DataSet::insert()
{
    requireOpen();
    checkBrowseMode(*this, m_modified);
    const int pos = currentPos();
    m_insertAt = pos < 0 ? int(m_data->rows.size()) : view()[pos];
    m_pending = RowValues(fieldCount());
    m_pendingId = m_data->nextId++;
    m_modified = false;
    setState(DataSetState::Insert);
    notifyData();
}

void DataSet::append()
{
    insert();
    m_insertAt = int(m_data->rows.size());
}

void DataSet::post()
{
    requireOpen();
    if (!isEditing())
        throw DataSetError(u"%1: таблица не находится в режиме редактирования"_s.arg(m_name));
    if (beforePost)
        beforePost(*this);
    if (!isEditing())
        return; // the hook finished the edit itself
    TableEvent event = TableEvent::RowChanged;
    if (m_state == DataSetState::Edit) {
        const int idx = m_data->rowIndexOf(m_pendingId);
        if (idx < 0)
            throw DataSetError(u"%1: редактируемая запись удалена"_s.arg(m_name));
        m_data->rows[idx].values = m_pending;
    } else {
        const int at = std::clamp(m_insertAt, 0, int(m_data->rows.size()));
        m_data->rows.insert(m_data->rows.begin() + at, Row{m_pendingId, m_pending});
        event = TableEvent::Reset;
    }
    ++m_data->changeCount;
    m_data->touch();
    const RowId id = m_pendingId;
    m_pending.clear();
    m_pendingId = 0;
    m_modified = false;
    m_cur = id;
    setState(DataSetState::Browse);
    notifyShared(event, id);
    notifyData();
    if (afterPost)
        afterPost(*this);
}

void DataSet::cancel()
{
    if (!isEditing())
        return;
    m_pending.clear();
    m_pendingId = 0;
    m_modified = false;
    setState(DataSetState::Browse);
    notifyData();
}

void DataSet::deleteRecord()
{
    requireOpen();
    if (m_state == DataSetState::Insert) {
        cancel();
        return;
    }
    if (m_state == DataSetState::Edit)
        cancel();
    const int pos = currentPos();
    if (pos < 0)
        throw DataSetError(u"%1: нет записи для удаления"_s.arg(m_name));
    const int idx = view()[pos];
    m_data->rows.erase(m_data->rows.begin() + idx);
    ++m_data->changeCount;
    m_data->touch();
    m_cur = 0;
    m_curPos = pos;
    notifyShared(TableEvent::Reset, 0);
    const auto& v = view();
    if (v.empty()) {
        moveTo(0);
    } else {
        moveTo(std::min(pos, int(v.size()) - 1));
        m_eof = pos >= int(v.size());
    }
}

int DataSet::changeCount() const
{
    return m_data->changeCount;
}

void DataSet::mergeChangeLog()
{
    m_data->baseline = m_data->rows;
    m_data->changeCount = 0;
}

void DataSet::cancelUpdates()
{
    cancel();
    if (m_data->changeCount == 0)
        return;
    m_data->rows = m_data->baseline;
    m_data->changeCount = 0;
    m_data->touch();
    notifyShared(TableEvent::Reset, 0);
    if (isOpen()) {
        currentPos();
        notifyData();
    }
}

// ---------------------------------------------------------------- order and filter

void DataSet::setIndexFieldNames(const QString& names)
{
    m_indexNames = names;
    invalidateView();
    notifyData();
}

void DataSet::setFilter(const QString& expression)
{
    auto parsed = std::make_shared<FilterExpression>(FilterExpression::parse(expression));
    m_filterText = expression;
    m_filterExpr = std::move(parsed);
    if (m_filtered) {
        invalidateView();
        if (isOpen())
            first();
    }
}

void DataSet::setFiltered(bool on)
{
    if (m_filtered == on)
        return;
    if (on && !m_filterExpr)
        m_filterExpr = std::make_shared<FilterExpression>(FilterExpression::parse(m_filterText));
    m_filtered = on;
    invalidateView();
    if (isOpen())
        first();
}

// ---------------------------------------------------------------- bound controls

void DataSet::disableControls()
{
    ++m_disableCount;
}

void DataSet::enableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount > 0)
        return;
    if (m_sharedPending) {
        m_sharedPending = false;
        notifyShared(TableEvent::Reset, 0);
    }
    if (m_dataPending) {
        m_dataPending = false;
        notifyData();
    }
}

int DataSet::addListener(Listener listener)
{
    const int id = m_data->nextListener++;
    m_data->listeners.emplace(id, std::move(listener));
    return id;
}

void DataSet::removeListener(int id)
{
    m_data->listeners.erase(id);
}

void DataSet::setOnCalcFields(Hook hook)
{
    m_data->calcHook = std::move(hook);
}

void DataSet::setState(DataSetState state)
{
    m_state = state;
    if (controlsDisabled())
        m_dataPending = true;
    else if (onStateChange)
        onStateChange(*this);
}

void DataSet::notifyData()
{
    if (controlsDisabled()) {
        m_dataPending = true;
        return;
    }
    if (onDataChange)
        onDataChange(*this);
}

void DataSet::notifyShared(TableEvent event, RowId id)
{
    if (controlsDisabled()) {
        m_sharedPending = true;
        return;
    }
    const auto listeners = m_data->listeners; // a listener may remove itself
    for (const auto& [key, listener] : listeners)
        listener(event, id);
}

// ---------------------------------------------------------------- values

const std::vector<Row>& DataSet::rows() const
{
    return m_data->rows;
}

int DataSet::visibleIndexOf(RowId id) const
{
    if (id == 0)
        return -1;
    const auto& v = view();
    for (size_t i = 0; i < v.size(); ++i)
        if (m_data->rows[v[i]].id == id)
            return static_cast<int>(i);
    return -1;
}

RowId DataSet::visibleRowId(int visibleIndex) const
{
    const auto& v = view();
    if (visibleIndex < 0 || visibleIndex >= int(v.size()))
        return 0;
    return m_data->rows[v[visibleIndex]].id;
}

std::vector<const Row*> DataSet::visibleRows() const
{
    std::vector<const Row*> out;
    for (int i : view())
        out.push_back(&m_data->rows[i]);
    return out;
}

const RowValues& DataSet::currentValues() const
{
    if (m_calcRow)
        return *m_calcRow;
    if (isEditing())
        return m_pending;
    const int pos = currentPos();
    if (pos < 0) {
        static const RowValues none;
        return none;
    }
    return m_data->rows[view()[pos]].values;
}

QVariant DataSet::calcValue(const RowValues& values, int fieldIndex) const
{
    if (m_calcOut)
        return (*m_calcOut)[fieldIndex];
    if (!m_data->calcHook)
        return {};
    RowValues out(fieldCount());
    m_calcRow = &values;
    m_calcOut = &out;
    try {
        m_data->calcHook(const_cast<DataSet&>(*this));
    } catch (...) {
        m_calcRow = nullptr;
        m_calcOut = nullptr;
        throw;
    }
    m_calcRow = nullptr;
    m_calcOut = nullptr;
    return out[fieldIndex];
}

QVariant DataSet::value(int fieldIndex) const
{
    requireOpen();
    if (fieldIndex < 0 || fieldIndex >= fieldCount())
        return {};
    const RowValues& values = currentValues();
    if (m_data->fields[fieldIndex].isCalculated())
        return values.isEmpty() ? QVariant() : calcValue(values, fieldIndex);
    return fieldIndex < values.size() ? values[fieldIndex] : QVariant();
}

QVariant DataSet::valueAt(int visibleIndex, int fieldIndex) const
{
    const auto& v = view();
    if (visibleIndex < 0 || visibleIndex >= int(v.size()) || fieldIndex < 0 ||
        fieldIndex >= fieldCount())
        return {};
    const Row& row = m_data->rows[v[visibleIndex]];
    const RowValues& values =
        (m_state == DataSetState::Edit && row.id == m_pendingId) ? m_pending : row.values;
    if (m_data->fields[fieldIndex].isCalculated())
        return calcValue(values, fieldIndex);
    return values[fieldIndex];
}

void DataSet::setValue(int fieldIndex, const QVariant& value)
{
    if (fieldIndex < 0 || fieldIndex >= fieldCount())
        throw DataSetError(u"%1: нет поля с номером %2"_s.arg(m_name).arg(fieldIndex));
    const FieldDef& def = m_data->fields[fieldIndex];
    if (m_calcOut && def.isCalculated()) {
        (*m_calcOut)[fieldIndex] = convertValue(def, value);
        return;
    }
    requireOpen();
    if (!isEditing())
        throw DataSetError(u"%1: таблица не находится в режиме редактирования"_s.arg(m_name));
    if (def.isCalculated())
        throw DataSetError(u"%1: поле «%2» вычисляемое"_s.arg(m_name, def.name));
    m_pending[fieldIndex] = convertValue(def, value);
    m_modified = true;
    notifyData();
}

#include "model/FieldDef.h"

namespace {
FieldDef make(const QString& name, FieldType type, int size, const QString& label)
{
    FieldDef f;
    f.name = name;
    f.type = type;
    f.size = size;
    f.displayLabel = label;
    return f;
}
} // namespace

FieldDef stringField(const QString& name, int size, const QString& label)
{
    return make(name, FieldType::String, size, label);
}
FieldDef integerField(const QString& name, const QString& label)
{
    return make(name, FieldType::Integer, 0, label);
}
FieldDef floatField(const QString& name, const QString& label)
{
    return make(name, FieldType::Float, 0, label);
}
FieldDef moneyField(const QString& name, const QString& label)
{
    return make(name, FieldType::Money, 0, label);
}
FieldDef booleanField(const QString& name, const QString& label)
{
    return make(name, FieldType::Boolean, 0, label);
}
FieldDef dateField(const QString& name, const QString& label)
{
    return make(name, FieldType::Date, 0, label);
}
FieldDef calculated(FieldDef def)
{
    def.kind = FieldKind::Calculated;
    return def;
}

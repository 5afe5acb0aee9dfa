#pragma once

#include <QString>
#include <functional>
#include <optional>

enum class FieldType { String, Integer, Float, Money, Boolean, Date };

enum class FieldKind { Data, Calculated };

struct FieldDef {
    QString name;
    FieldType type = FieldType::String;
    int size = 0; // maximum length in bytes, strings only
    FieldKind kind = FieldKind::Data;
    QString displayLabel; // column title, levels separated by '|'
    int displayWidth = 0; // default grid column width in characters, 0 = by type
    bool readOnly = false;
    bool visible = true;
    // Characters a bound text editor accepts; nullopt means all.
    std::optional<QString> validChars;

    bool isCalculated() const { return kind == FieldKind::Calculated; }
};

FieldDef stringField(const QString& name, int size, const QString& label = {});
FieldDef integerField(const QString& name, const QString& label = {});
FieldDef floatField(const QString& name, const QString& label = {});
FieldDef moneyField(const QString& name, const QString& label = {});
FieldDef booleanField(const QString& name, const QString& label = {});
FieldDef dateField(const QString& name, const QString& label = {});
FieldDef calculated(FieldDef def);

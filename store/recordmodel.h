#pragma once
// The catalogue of a marriage record: its 161 fields in line order, where each
// one sits while a record is shown, the 17 detail groups and the nine act types.
// Every other part of the program asks this file rather than counting TABs itself.
#include <QString>
#include <QStringList>
#include <array>

namespace record {

constexpr int FieldCount = 161;
constexpr int TabCount = FieldCount - 1;
constexpr int GroupCount = 17;      // detail groups 0..16
constexpr int GroupSlots = 18;      // the array keeps one unused slot (17)
constexpr int TxtCount = 31;        // Txt(0)..Txt(30) of the entry window
constexpr QChar Tab = u'\t';
constexpr QChar Nbsp = QChar(0xA0); // joins lists inside one header field

enum class Holder { TextBox, Parish, ActCode, Date, Dispense, Group };

struct Place {
    Holder holder;
    int index{};            // Txt index for TextBox, group number for Group
    int item{};             // 1-based item inside the group
};

struct FieldInfo {
    const char16_t *name;   // the CSV column name, exact
    Place place;
};

// Field position 1..161.
const FieldInfo &field(int position);
QString fieldName(int position);
// 1-based position of a field by its exact name, 0 when unknown.
int fieldPosition(const QString &name);

// Number of items of detail group g (0..16).
int groupSize(int g);
// A group holding only its TABs: n items, n-1 TABs.
QString emptyGroup(int g);

struct ActType { const char16_t *code; const char16_t *label; };
constexpr int ActTypeCount = 9;
const std::array<ActType, ActTypeCount> &actTypes();
// Code of the first label equal to `label` (case-sensitive), empty when none.
QString actCodeForLabel(const QString &label);
// Label of a code, empty when the code is none of the nine.
QString actLabelForCode(const QString &code);
QStringList actLabels();

// Date field: each part padded on the left with '.' to its box length, joined by '/';
// empty when all three parts are empty.
QString padDatePart(const QString &part, int maxLength);
QString dateField(const QString &day, const QString &month, const QString &year,
                  int dayLen = 2, int monthLen = 2, int yearLen = 4);

// Split a record line into exactly 161 fields: the first 160 TABs separate fields,
// any later TAB stays inside field 161 (Notes). Returns false when the line has
// fewer than 160 TABs.
bool splitFields(const QString &line, QStringList &fields);
// Field n (1-based) of a record line, empty when the line is too short.
QString fieldOf(const QString &line, int position);

// A record line holding the given fields (missing ones empty).
QString joinFields(const QStringList &fields);

// The empty record that follows `previous` (place and parish kept, "MA", "0").
QString emptyRecordLine(const QString &place = {}, const QString &parish = {});

} // namespace record

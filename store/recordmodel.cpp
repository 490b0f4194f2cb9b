#include "store/recordmodel.h"

namespace record {

namespace {

const FieldInfo kFields[FieldCount] = {
    {u"Lieu", {Holder::TextBox, 0}}, // 1
    {u"Paroisse", {Holder::Parish}}, // 2
    {u"Type d'acte", {Holder::ActCode}}, // 3
    {u"Cote", {Holder::TextBox, 2}}, // 4
    {u"Date", {Holder::Date}}, // 5
    {u"Dispense", {Holder::Dispense}}, // 6
    {u"Nom EPX", {Holder::TextBox, 6}}, // 7
    {u"Prenom EPX", {Holder::TextBox, 7}}, // 8
    {u"Org EPX", {Holder::TextBox, 8}}, // 9
    {u"Code Org EPX", {Holder::TextBox, 9}}, // 10
    {u"Naiss EPX", {Holder::Group, 0, 1}}, // 11
    {u"Age EPX", {Holder::Group, 0, 2}}, // 12
    {u"Rés EPX", {Holder::Group, 0, 3}}, // 13
    {u"Code rés EPX", {Holder::Group, 0, 4}}, // 14
    {u"Profession EPX", {Holder::Group, 0, 5}}, // 15
    {u"Rq EPX", {Holder::Group, 0, 6}}, // 16
    {u"Nom PEPX", {Holder::TextBox, 10}}, // 17
    {u"Prenom PEPX", {Holder::TextBox, 11}}, // 18
    {u"Evnt PEPX", {Holder::TextBox, 12}}, // 19
    {u"Date evnt PEPX", {Holder::Group, 1, 1}}, // 20
    {u"Age PEPX", {Holder::Group, 1, 2}}, // 21
    {u"Org PEPX", {Holder::Group, 1, 3}}, // 22
    {u"Code Org  PEPX", {Holder::Group, 1, 4}}, // 23
    {u"Rés PEPX", {Holder::Group, 1, 5}}, // 24
    {u"Code Rés PEPX", {Holder::Group, 1, 6}}, // 25
    {u"Prof PEPX", {Holder::Group, 1, 7}}, // 26
    {u"Rq PEPX", {Holder::Group, 1, 8}}, // 27
    {u"Nom MEPX", {Holder::TextBox, 13}}, // 28
    {u"Prenom MEPX", {Holder::TextBox, 14}}, // 29
    {u"Evnt MEPX", {Holder::TextBox, 15}}, // 30
    {u"Date evnt MEPX", {Holder::Group, 2, 1}}, // 31
    {u"Age MEPX", {Holder::Group, 2, 2}}, // 32
    {u"Org MEPX", {Holder::Group, 2, 3}}, // 33
    {u"Org  MEPX", {Holder::Group, 2, 4}}, // 34
    {u"Rés MEPX", {Holder::Group, 2, 5}}, // 35
    {u"Code Rés MEPX", {Holder::Group, 2, 6}}, // 36
    {u"Prof MEPX", {Holder::Group, 2, 7}}, // 37
    {u"Rq MEPX", {Holder::Group, 2, 8}}, // 38
    {u"Nom EXEPX1", {Holder::TextBox, 16}}, // 39
    {u"Prenom EXEPX1", {Holder::TextBox, 17}}, // 40
    {u"Date evnt EXEP1", {Holder::Group, 3, 1}}, // 41
    {u"Org EXEPX1", {Holder::Group, 3, 2}}, // 42
    {u"Code Org EXEPX1", {Holder::Group, 3, 3}}, // 43
    {u"Rés EXEPX1", {Holder::Group, 3, 4}}, // 44
    {u"Code Rés EXEPX1", {Holder::Group, 3, 5}}, // 45
    {u"Prof EXEPX1", {Holder::Group, 3, 6}}, // 46
    {u"Rq EXEPX1", {Holder::Group, 3, 7}}, // 47
    {u"Nom EXEPX2", {Holder::Group, 4, 1}}, // 48
    {u"Prenom EXEPX2", {Holder::Group, 4, 2}}, // 49
    {u"Date evnt EXEP2", {Holder::Group, 4, 3}}, // 50
    {u"Org EXEPX2", {Holder::Group, 4, 4}}, // 51
    {u"Code Org EXEPX2", {Holder::Group, 4, 5}}, // 52
    {u"Rés EXEPX2", {Holder::Group, 4, 6}}, // 53
    {u"Code Rés EXEPX2", {Holder::Group, 4, 7}}, // 54
    {u"Prof EXEPX2", {Holder::Group, 4, 8}}, // 55
    {u"Rq EXEPX2", {Holder::Group, 4, 9}}, // 56
    {u"Nom EPSE", {Holder::TextBox, 18}}, // 57
    {u"Prenom EPSE", {Holder::TextBox, 19}}, // 58
    {u"Org EPSE", {Holder::TextBox, 20}}, // 59
    {u"Code Org EPSE", {Holder::TextBox, 21}}, // 60
    {u"Naiss EPSE", {Holder::Group, 5, 1}}, // 61
    {u"Age EPSE", {Holder::Group, 5, 2}}, // 62
    {u"Rés EPSE", {Holder::Group, 5, 3}}, // 63
    {u"Code rés EPSE", {Holder::Group, 5, 4}}, // 64
    {u"Prof EPSE", {Holder::Group, 5, 5}}, // 65
    {u"Rq EPSE", {Holder::Group, 5, 6}}, // 66
    {u"Nom PEPSE", {Holder::TextBox, 22}}, // 67
    {u"Prenom PEPSE", {Holder::TextBox, 23}}, // 68
    {u"Evnt PEPSE", {Holder::TextBox, 24}}, // 69
    {u"Date evnt PEPSE", {Holder::Group, 6, 1}}, // 70
    {u"Age PEPSE", {Holder::Group, 6, 2}}, // 71
    {u"Org PEPSE", {Holder::Group, 6, 3}}, // 72
    {u"Code Org  PEPSE", {Holder::Group, 6, 4}}, // 73
    {u"Rés PEPSE", {Holder::Group, 6, 5}}, // 74
    {u"Code Rés PEPSE", {Holder::Group, 6, 6}}, // 75
    {u"Prof PEPSE", {Holder::Group, 6, 7}}, // 76
    {u"Rq PEPSE", {Holder::Group, 6, 8}}, // 77
    {u"Nom MEPSE", {Holder::TextBox, 25}}, // 78
    {u"Prenom MEPSE", {Holder::TextBox, 26}}, // 79
    {u"Evnt MEPSE", {Holder::TextBox, 27}}, // 80
    {u"Date evnt MEPSE", {Holder::Group, 7, 1}}, // 81
    {u"Age MEPSE", {Holder::Group, 7, 2}}, // 82
    {u"Org MEPSE", {Holder::Group, 7, 3}}, // 83
    {u"Org  MEPSE", {Holder::Group, 7, 4}}, // 84
    {u"Rés MEPSE", {Holder::Group, 7, 5}}, // 85
    {u"Code Rés MEPSE", {Holder::Group, 7, 6}}, // 86
    {u"Prof MEPSE", {Holder::Group, 7, 7}}, // 87
    {u"Rq MEPSE", {Holder::Group, 7, 8}}, // 88
    {u"Nom EXEPSE1", {Holder::TextBox, 28}}, // 89
    {u"Prenom EXEPSE1", {Holder::TextBox, 29}}, // 90
    {u"Date evnt EXEPSE1", {Holder::Group, 8, 1}}, // 91
    {u"Org EXEPSE1", {Holder::Group, 8, 2}}, // 92
    {u"Code Org EXEPSE1", {Holder::Group, 8, 3}}, // 93
    {u"Rés EXEPSE1", {Holder::Group, 8, 4}}, // 94
    {u"Code Rés EXEPSE1", {Holder::Group, 8, 5}}, // 95
    {u"Prof EXEPSE1", {Holder::Group, 8, 6}}, // 96
    {u"Rq EXEPSE1", {Holder::Group, 8, 7}}, // 97
    {u"Nom EXEPSE2", {Holder::Group, 9, 1}}, // 98
    {u"Prenom EXEPSE2", {Holder::Group, 9, 2}}, // 99
    {u"Date evnt EXEPSE2", {Holder::Group, 9, 3}}, // 100
    {u"Org EXEPSE2", {Holder::Group, 9, 4}}, // 101
    {u"Code Org EXEPSE2", {Holder::Group, 9, 5}}, // 102
    {u"Rés EXEPSE2", {Holder::Group, 9, 6}}, // 103
    {u"Code Rés EXEPSE2", {Holder::Group, 9, 7}}, // 104
    {u"Prof EXEPSE2", {Holder::Group, 9, 8}}, // 105
    {u"Rq EXEPSE2", {Holder::Group, 9, 9}}, // 106
    {u"NomT1", {Holder::Group, 10, 1}}, // 107
    {u"PrenomT1", {Holder::Group, 10, 2}}, // 108
    {u"SexeT1", {Holder::Group, 10, 3}}, // 109
    {u"AgeT1", {Holder::Group, 10, 4}}, // 110
    {u"OrgT1", {Holder::Group, 10, 5}}, // 111
    {u"Code OrgT1", {Holder::Group, 10, 6}}, // 112
    {u"RésT1", {Holder::Group, 10, 7}}, // 113
    {u"Code RésT1", {Holder::Group, 10, 8}}, // 114
    {u"ProfT1", {Holder::Group, 10, 9}}, // 115
    {u"ParentéT1", {Holder::Group, 10, 10}}, // 116
    {u"AvecT1", {Holder::Group, 10, 11}}, // 117
    {u"RqT1", {Holder::Group, 10, 12}}, // 118
    {u"NomT2", {Holder::Group, 11, 1}}, // 119
    {u"PrenomT2", {Holder::Group, 11, 2}}, // 120
    {u"SexeT2", {Holder::Group, 11, 3}}, // 121
    {u"AgeT2", {Holder::Group, 11, 4}}, // 122
    {u"OrgT2", {Holder::Group, 11, 5}}, // 123
    {u"Code OrgT2", {Holder::Group, 11, 6}}, // 124
    {u"RésT2", {Holder::Group, 11, 7}}, // 125
    {u"Code RésT2", {Holder::Group, 11, 8}}, // 126
    {u"ProfT2", {Holder::Group, 11, 9}}, // 127
    {u"ParentéT2", {Holder::Group, 11, 10}}, // 128
    {u"AvecT2", {Holder::Group, 11, 11}}, // 129
    {u"RqT2", {Holder::Group, 11, 12}}, // 130
    {u"NomT3", {Holder::Group, 12, 1}}, // 131
    {u"PrenomT3", {Holder::Group, 12, 2}}, // 132
    {u"SexeT3", {Holder::Group, 12, 3}}, // 133
    {u"AgeT3", {Holder::Group, 12, 4}}, // 134
    {u"OrgT3", {Holder::Group, 12, 5}}, // 135
    {u"Code OrgT3", {Holder::Group, 12, 6}}, // 136
    {u"RésT3", {Holder::Group, 12, 7}}, // 137
    {u"Code RésT3", {Holder::Group, 12, 8}}, // 138
    {u"ProfT3", {Holder::Group, 12, 9}}, // 139
    {u"ParentéT3", {Holder::Group, 12, 10}}, // 140
    {u"AvecT3", {Holder::Group, 12, 11}}, // 141
    {u"RqT3", {Holder::Group, 12, 12}}, // 142
    {u"NomT4", {Holder::Group, 13, 1}}, // 143
    {u"PrenomT4", {Holder::Group, 13, 2}}, // 144
    {u"SexeT4", {Holder::Group, 13, 3}}, // 145
    {u"AgeT4", {Holder::Group, 13, 4}}, // 146
    {u"OrgT4", {Holder::Group, 13, 5}}, // 147
    {u"Code OrgT4", {Holder::Group, 13, 6}}, // 148
    {u"RésT4", {Holder::Group, 13, 7}}, // 149
    {u"Code RésT4", {Holder::Group, 13, 8}}, // 150
    {u"ProfT4", {Holder::Group, 13, 9}}, // 151
    {u"ParentéT4", {Holder::Group, 13, 10}}, // 152
    {u"AvecT4", {Holder::Group, 13, 11}}, // 153
    {u"RqT4", {Holder::Group, 13, 12}}, // 154
    {u"DateCM", {Holder::Group, 14, 1}}, // 155
    {u"LieuCM", {Holder::Group, 14, 2}}, // 156
    {u"NomCM", {Holder::Group, 14, 3}}, // 157
    {u"DateMA", {Holder::Group, 15, 1}}, // 158
    {u"LieuMA", {Holder::Group, 15, 2}}, // 159
    {u"° de parenté", {Holder::Group, 16, 1}}, // 160
    {u"Notes", {Holder::TextBox, 30}}, // 161
};

constexpr int kGroupSizes[] = {6, 8, 8, 7, 9, 6, 8, 8, 7, 9, 12, 12, 12, 12, 3, 2, 1};
static_assert(std::size(kGroupSizes) == GroupCount, "one size a group");

const std::array<ActType, ActTypeCount> kActs = {{
    {u"MA", u"Mariage"},
    {u"CM", u"Contrat de Mariage"},
    {u"PB", u"Publication"},
    {u"CG", u"Congé"},
    {u"DV", u"Divorce"},
    {u"RH", u"Réhabilitation"},
    {u"CT", u"Certificat"},
    {u"SA", u"Signalé Ailleurs"},
    {u"TC", u"Transcription"},
}};

} // namespace

const FieldInfo &field(int position) { return kFields[position - 1]; }

QString fieldName(int position) { return QString::fromUtf16(field(position).name); }

int fieldPosition(const QString &name)
{
    for (int i = 1; i <= FieldCount; ++i)
        if (fieldName(i) == name)
            return i;
    return 0;
}

int groupSize(int g) { return kGroupSizes[g]; }

QString emptyGroup(int g) { return QString(groupSize(g) - 1, Tab); }

const std::array<ActType, ActTypeCount> &actTypes() { return kActs; }

QString actCodeForLabel(const QString &label)
{
    for (const auto &a : kActs)
        if (label == QString::fromUtf16(a.label))
            return QString::fromUtf16(a.code);
    return {};
}

QString actLabelForCode(const QString &code)
{
    for (const auto &a : kActs)
        if (code == QString::fromUtf16(a.code))
            return QString::fromUtf16(a.label);
    return {};
}

QStringList actLabels()
{
    QStringList out;
    for (const auto &a : kActs)
        out << QString::fromUtf16(a.label);
    return out;
}

QString padDatePart(const QString &part, int maxLength)
{
    if (part.size() >= maxLength)
        return part;
    return QString(maxLength - part.size(), u'.') + part;
}

QString dateField(const QString &day, const QString &month, const QString &year,
                  int dayLen, int monthLen, int yearLen)
{
    if (day.isEmpty() && month.isEmpty() && year.isEmpty())
        return {};
    return padDatePart(day, dayLen) + u'/' + padDatePart(month, monthLen) + u'/' + padDatePart(year, yearLen);
}

bool splitFields(const QString &line, QStringList &fields)
{
    fields.clear();
    qsizetype start = 0;
    for (int i = 0; i < TabCount; ++i) {
        const qsizetype tab = line.indexOf(Tab, start);
        if (tab < 0) {
            fields.clear();
            return false;
        }
        fields << line.mid(start, tab - start);
        start = tab + 1;
    }
    fields << line.mid(start);
    return true;
}

QString fieldOf(const QString &line, int position)
{
    qsizetype start = 0;
    for (int i = 1; i < position; ++i) {
        const qsizetype tab = line.indexOf(Tab, start);
        if (tab < 0)
            return {};
        start = tab + 1;
    }
    if (position == FieldCount)
        return line.mid(start);
    const qsizetype end = line.indexOf(Tab, start);
    return end < 0 ? line.mid(start) : line.mid(start, end - start);
}

QString joinFields(const QStringList &fields)
{
    QStringList all = fields.mid(0, FieldCount);
    while (all.size() < FieldCount)
        all << QString();
    return all.join(Tab);
}

QString emptyRecordLine(const QString &place, const QString &parish)
{
    QStringList f;
    for (int i = 0; i < FieldCount; ++i)
        f << QString();
    f[0] = place;
    f[1] = parish;
    f[2] = QStringLiteral("MA");
    f[5] = QStringLiteral("0");
    return joinFields(f);
}

} // namespace record

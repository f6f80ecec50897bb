#include "schedule/DateCue.h"

#include "schedule/AlarmTable.h"

namespace DateCue {

namespace {
QString unit(Field field)
{
    switch (field) {
    case Field::Year:
        return QStringLiteral("年");
    case Field::Month:
        return QStringLiteral("月");
    case Field::Day:
        break;
    }
    return QStringLiteral("日");
}

QStringList numbered(Field field, int first, int last)
{
    QStringList list{kAnyDate};
    list.reserve(last - first + 2);
    for (int n = first; n <= last; ++n)
        list << QString::number(n) + unit(field);
    return list;
}
} // namespace

QString todayText(Field field, const QDate& today)
{
    switch (field) {
    case Field::Year:
        return QStringLiteral("%1").arg(today.year(), 4, 10, QLatin1Char('0')) + unit(field);
    case Field::Month:
        return QString::number(today.month()) + unit(field);
    case Field::Day:
        break;
    }
    return QString::number(today.day()) + unit(field);
}

CueColour cue(Field field, const QString& listText, const QDate& today)
{
    return listText == todayText(field, today) ? CueColour::Blue : CueColour::Black;
}

QStringList items(Field field)
{
    switch (field) {
    case Field::Year:
        return numbered(field, 2001, 2200);
    case Field::Month:
        return numbered(field, 1, 12);
    case Field::Day:
        break;
    }
    return numbered(field, 1, 31);
}

} // namespace DateCue

#include "schedule/TimeText.h"

#include "schedule/NumberText.h"

#include <QRegularExpression>

namespace TimeText {

namespace {
constexpr int kTimeLength = 5;

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}
} // namespace

Spinner spinnerForCaret(int p)
{
    return p > 2 ? Spinner::Minutes : Spinner::Hours;
}

int spinnerMinimum(Spinner)
{
    return -1;
}

int spinnerMaximum(Spinner spinner)
{
    return spinner == Spinner::Hours ? 24 : 60;
}

QString spinnerPart(const QString& text, Spinner spinner)
{
    return spinner == Spinner::Hours ? text.left(2) : text.right(2);
}

SpinnerReading readSpinner(const QString& text, Spinner spinner)
{
    SpinnerReading reading;
    reading.value = NumberText::whole(NumberText::leadingValue(spinnerPart(text, spinner)));
    reading.inRange = reading.value >= spinnerMinimum(spinner) && reading.value <= spinnerMaximum(spinner);
    return reading;
}

int wrapped(Spinner spinner, int value)
{
    if (value == spinnerMinimum(spinner))
        return spinnerMaximum(spinner) - 1;
    if (value == spinnerMaximum(spinner))
        return 0;
    return value;
}

QString rewritten(const QString& text, Spinner spinner, int value)
{
    if (spinner == Spinner::Hours)
        return twoDigits(value) + QLatin1Char(':') + text.right(2);
    return text.left(2) + QLatin1Char(':') + twoDigits(value);
}

QString normalised(const QString& text)
{
    // "7:5" means 07:05; padding the whole text in front would give "007:5", which never fires.
    static const QRegularExpression shortTime(QStringLiteral("^(\\d{1,2}):(\\d{1,2})$"));
    const QRegularExpressionMatch match = shortTime.match(text);
    if (match.hasMatch())
        return match.captured(1).rightJustified(2, QLatin1Char('0')) + QLatin1Char(':') +
               match.captured(2).rightJustified(2, QLatin1Char('0'));

    QString result = text;
    if (result.size() < kTimeLength)
        result.prepend(QString(kTimeLength - result.size(), QLatin1Char('0')));
    result.truncate(kTimeLength);
    if (!result.contains(QLatin1Char(':')))
        result = result.left(2) + QLatin1Char(':') + result.right(2);
    return result;
}

} // namespace TimeText

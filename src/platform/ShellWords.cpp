#include "platform/ShellWords.h"

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

// The characters a backslash escapes inside double quotes; before any other it stays itself.
bool escapableInDoubleQuotes(QChar c)
{
    return c == QLatin1Char('$') || c == QLatin1Char('`') || c == QLatin1Char('"') ||
           c == QLatin1Char('\\') || c == QLatin1Char('\n');
}

} // namespace

std::optional<QStringList> splitShellWords(const QString& commandLine)
{
    QStringList words;
    QString word;
    // A quoted empty text ('' or "") is still a word.
    bool inWord = false;
    const qsizetype size = commandLine.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = commandLine.at(i);
        if (isBlank(c)) {
            if (inWord)
                words.append(word);
            word.clear();
            inWord = false;
        } else if (c == QLatin1Char('\'')) {
            const qsizetype close = commandLine.indexOf(QLatin1Char('\''), i + 1);
            if (close < 0)
                return std::nullopt;
            word += QStringView(commandLine).mid(i + 1, close - i - 1);
            inWord = true;
            i = close;
        } else if (c == QLatin1Char('"')) {
            for (++i;; ++i) {
                if (i >= size)
                    return std::nullopt;
                const QChar d = commandLine.at(i);
                if (d == QLatin1Char('"'))
                    break;
                if (d == QLatin1Char('\\') && i + 1 < size &&
                    escapableInDoubleQuotes(commandLine.at(i + 1))) {
                    ++i;
                    if (commandLine.at(i) != QLatin1Char('\n'))
                        word += commandLine.at(i);
                } else {
                    word += d;
                }
            }
            inWord = true;
        } else if (c == QLatin1Char('\\') && i + 1 < size) {
            ++i;
            // A backslash before a line break joins the two lines.
            if (commandLine.at(i) != QLatin1Char('\n')) {
                word += commandLine.at(i);
                inWord = true;
            }
        } else {
            // A backslash that ends the text stays, as a shell leaves it.
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.append(word);
    return words;
}

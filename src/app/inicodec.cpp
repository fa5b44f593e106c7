#include "inicodec.h"

#include <QDataStream>
#include <QDateTime>
#include <QMap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>

namespace IniCodec {

namespace {

const char hexDigits[] = "0123456789ABCDEF";

bool isSpace(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r';
}

bool isSpecial(char ch)
{
    return ch == '\n' || ch == '\r' || ch == '"' || ch == ';' || ch == '=' || ch == '\\';
}

// One logical line from pos on: a quoted value may run over line ends, a
// backslash takes the character after it along, a ';' opens a comment.
// lineStart and lineLength give the line, equalsPos its first '=' outside
// quotes (-1 for none). False at the end of the text.
bool readLine(const QByteArray &data, int &pos, int &lineStart, int &lineLength, int &equalsPos)
{
    const int size = data.size();
    bool inQuotes = false;
    equalsPos = -1;
    lineStart = pos;
    while (lineStart < size && isSpace(data.at(lineStart)))
        ++lineStart;

    int i = lineStart;
    while (i < size) {
        char ch = data.at(i);
        while (!isSpecial(ch)) {
            if (++i == size)
                goto lineEnds;
            ch = data.at(i);
        }
        ++i;
        if (ch == '=') {
            if (!inQuotes && equalsPos == -1)
                equalsPos = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == lineStart + 1) {
                ++lineStart;
            } else if (!inQuotes) {
                --i;
                goto lineEnds;
            }
        } else if (ch == '\\') {
            if (i < size) {
                const char escaped = data.at(i++);
                if (i < size) {
                    const char next = data.at(i);
                    if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n'))
                        ++i;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else { // ';'
            if (i == lineStart + 1) {
                while (i < size && data.at(i) != '\n' && data.at(i) != '\r')
                    ++i;
                while (i < size && isSpace(data.at(i)))
                    ++i;
                lineStart = i;
            } else if (!inQuotes) {
                --i;
                goto lineEnds;
            }
        }
    }
lineEnds:
    pos = i;
    lineLength = i - lineStart;
    return lineLength > 0;
}

// "%XX" and "%UXXXX" stand for a character, a backslash for a slash.
void unescapeKey(const QByteArray &key, int from, int to, QString &result)
{
    int i = from;
    while (i < to) {
        const uchar ch = uchar(key.at(i));
        if (ch == '\\') {
            result += QLatin1Char('/');
            ++i;
            continue;
        }
        if (ch != '%' || i == to - 1) {
            result += QLatin1Char(char(ch));
            ++i;
            continue;
        }
        int digits = 2;
        int first = i + 1;
        if (key.at(i + 1) == 'U') {
            ++first;
            digits = 4;
        }
        bool ok = first + digits <= to;
        const ushort code = ok ? key.mid(first, digits).toUShort(&ok, 16) : 0;
        if (!ok) {
            result += QLatin1Char('%');
            ++i;
            continue;
        }
        result += QChar(code);
        i = first + digits;
    }
}

void escapeKey(const QString &key, QByteArray &result)
{
    for (const QChar c : key) {
        uint ch = c.unicode();
        if (ch == '/') {
            result += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_'
                   || ch == '-' || ch == '.') {
            result += char(ch);
        } else if (ch <= 0xFF) {
            result += '%';
            result += hexDigits[ch / 16];
            result += hexDigits[ch % 16];
        } else {
            result += "%U";
            char code[4];
            for (int k = 3; k >= 0; --k) {
                code[k] = hexDigits[ch % 16];
                ch >>= 4;
            }
            result.append(code, 4);
        }
    }
}

void chopTrailingSpaces(QString &text, int limit)
{
    int n = text.size();
    while (n > limit && (text.at(n - 1) == QLatin1Char(' ') || text.at(n - 1) == QLatin1Char('\t')))
        --n;
    text.truncate(n);
}

// A value: C escapes, quotes that keep spaces and commas, and unquoted
// commas that make it a list. Bytes stand for Latin-1 characters, or are
// UTF-8 in a file that starts with its byte order mark.
bool unescapeValue(const QByteArray &str, int from, int to, bool utf8, QString &text, QStringList &list)
{
    static const char escapes[][2] = {{'a', '\a'}, {'b', '\b'},  {'f', '\f'},  {'n', '\n'},
                                      {'r', '\r'}, {'t', '\t'},  {'v', '\v'},  {'"', '"'},
                                      {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;
    uint code = 0;
    int i = from;
    char ch;
    int chopLimit;

skipSpaces:
    while (i < to && ((ch = str.at(i)) == ' ' || ch == '\t'))
        ++i;
normal:
    chopLimit = text.size();
    while (i < to) {
        switch (str.at(i)) {
        case '\\':
            ++i;
            if (i >= to)
                goto end;
            ch = str.at(i++);
            for (const auto &escape : escapes) {
                if (ch == escape[0]) {
                    text += QLatin1Char(escape[1]);
                    goto normal;
                }
            }
            if (ch == 'x') {
                code = 0;
                if (i >= to)
                    goto end;
                ch = str.at(i);
                if ((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F') || (ch >= 'a' && ch <= 'f'))
                    goto hexEscape;
            } else if (ch >= '0' && ch <= '7') {
                code = uint(ch - '0');
                goto octalEscape;
            } else if (ch == '\n' || ch == '\r') {
                if (i < to) {
                    const char next = str.at(i);
                    if ((next == '\n' || next == '\r') && next != ch)
                        ++i;
                }
            }
            // any other escaped character is dropped
            chopLimit = text.size();
            break;
        case '"':
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                goto skipSpaces;
            break;
        case ',':
            if (!inQuotes) {
                if (!quoted)
                    chopTrailingSpaces(text, chopLimit);
                if (!isList) {
                    isList = true;
                    list.clear();
                }
                list.append(text);
                text.clear();
                quoted = false;
                ++i;
                goto skipSpaces;
            }
            Q_FALLTHROUGH();
        default: {
            int j = i + 1;
            while (j < to && (ch = str.at(j)) != '\\' && ch != '"' && ch != ',')
                ++j;
            text += utf8 ? QString::fromUtf8(str.constData() + i, j - i)
                         : QString::fromLatin1(str.constData() + i, j - i);
            i = j;
        }
        }
    }
    if (!quoted)
        chopTrailingSpaces(text, chopLimit);
    goto end;

hexEscape:
    // Digits past the fourth shift out of a character, as they would in a
    // 16-bit one; the code is kept within 32 bits whatever the count.
    while (i < to) {
        ch = str.at(i);
        if (ch >= 'a')
            ch = char(ch - ('a' - 'A'));
        if (!((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F')))
            break;
        code = ((code << 4) + uint(ch <= '9' ? ch - '0' : ch - 'A' + 10)) & 0xFFFFFFFFu;
        ++i;
    }
    text += QChar(ushort(code));
    if (i >= to)
        goto end;
    goto normal;

octalEscape:
    while (i < to && (ch = str.at(i)) >= '0' && ch <= '7') {
        code = ((code << 3) + uint(ch - '0')) & 0xFFFFFFFFu;
        ++i;
    }
    text += QChar(ushort(code));
    if (i >= to)
        goto end;
    goto normal;

end:
    if (isList)
        list.append(text);
    return isList;
}

void escapeValue(const QString &str, QByteArray &result)
{
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    const int start = result.size();
    for (const QChar c : str) {
        const uint ch = c.unicode();
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;
        if (escapeNextIfDigit
            && ((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F'))) {
            result += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextIfDigit = false;
        switch (ch) {
        case '\0':
            result += "\\0";
            escapeNextIfDigit = true;
            break;
        case '\a':
            result += "\\a";
            break;
        case '\b':
            result += "\\b";
            break;
        case '\f':
            result += "\\f";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\t':
            result += "\\t";
            break;
        case '\v':
            result += "\\v";
            break;
        case '"':
        case '\\':
            result += '\\';
            result += char(ch);
            break;
        default:
            if (ch <= 0x1F || ch >= 0x7F) {
                result += "\\x" + QByteArray::number(ch, 16);
                escapeNextIfDigit = true;
            } else {
                result += char(ch);
            }
        }
    }
    if (needsQuotes || (start < result.size() && (result.at(start) == ' ' || result.at(result.size() - 1) == ' '))) {
        result.insert(start, '"');
        result += '"';
    }
}

QVariant stringToVariant(const QString &s)
{
    if (!s.startsWith(QLatin1Char('@')))
        return s;
    if (s.endsWith(QLatin1Char(')'))) {
        if (s.startsWith(QLatin1String("@ByteArray(")))
            return s.midRef(11, s.size() - 12).toLatin1();
        if (s.startsWith(QLatin1String("@String(")))
            return s.midRef(8, s.size() - 9).toString();
        if (s.startsWith(QLatin1String("@Variant(")) || s.startsWith(QLatin1String("@DateTime("))) {
            const bool dateTime = s.at(1) == QLatin1Char('D');
            QByteArray bytes = s.midRef(dateTime ? 10 : 9).toLatin1();
            QDataStream stream(&bytes, QIODevice::ReadOnly);
            stream.setVersion(dateTime ? QDataStream::Qt_5_6 : QDataStream::Qt_4_0);
            QVariant result;
            stream >> result;
            return result;
        }
        const auto numbers = [&s](int prefix, int count) {
            const QStringList args = s.mid(prefix, s.size() - prefix - 1).split(QLatin1Char(' '));
            QVector<int> values;
            if (args.size() == count) {
                for (const QString &arg : args)
                    values.append(arg.toInt());
            }
            return values;
        };
        if (s.startsWith(QLatin1String("@Rect("))) {
            const auto v = numbers(6, 4);
            if (!v.isEmpty())
                return QRect(v[0], v[1], v[2], v[3]);
        } else if (s.startsWith(QLatin1String("@Size("))) {
            const auto v = numbers(6, 2);
            if (!v.isEmpty())
                return QSize(v[0], v[1]);
        } else if (s.startsWith(QLatin1String("@Point("))) {
            const auto v = numbers(7, 2);
            if (!v.isEmpty())
                return QPoint(v[0], v[1]);
        } else if (s == QLatin1String("@Invalid()")) {
            return QVariant();
        }
    }
    if (s.startsWith(QLatin1String("@@")))
        return s.mid(1);
    return s;
}

QString variantToString(const QVariant &v)
{
    switch (v.userType()) {
    case QMetaType::UnknownType:
        return QStringLiteral("@Invalid()");
    case QMetaType::QByteArray: {
        const QByteArray a = v.toByteArray();
        return QLatin1String("@ByteArray(") + QLatin1String(a.constData(), a.size()) + QLatin1Char(')');
    }
    case QMetaType::QString:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Bool:
    case QMetaType::Double:
    case QMetaType::QKeySequence: {
        QString result = v.toString();
        if (result.contains(QChar::Null))
            return QLatin1String("@String(") + result + QLatin1Char(')');
        if (result.startsWith(QLatin1Char('@')))
            result.prepend(QLatin1Char('@'));
        return result;
    }
    case QMetaType::QRect: {
        const QRect r = v.toRect();
        return QString::asprintf("@Rect(%d %d %d %d)", r.x(), r.y(), r.width(), r.height());
    }
    case QMetaType::QSize: {
        const QSize s = v.toSize();
        return QString::asprintf("@Size(%d %d)", s.width(), s.height());
    }
    case QMetaType::QPoint: {
        const QPoint p = v.toPoint();
        return QString::asprintf("@Point(%d %d)", p.x(), p.y());
    }
    default: {
        const bool dateTime = v.userType() == QMetaType::QDateTime;
        QByteArray a;
        {
            QDataStream stream(&a, QIODevice::WriteOnly);
            stream.setVersion(dateTime ? QDataStream::Qt_5_6 : QDataStream::Qt_4_0);
            stream << v;
        }
        return QLatin1String(dateTime ? "@DateTime(" : "@Variant(") + QLatin1String(a.constData(), a.size())
               + QLatin1Char(')');
    }
    }
}

QVariant listToVariant(const QStringList &list)
{
    QStringList strings = list;
    for (QString &s : strings) {
        if (!s.startsWith(QLatin1Char('@')))
            continue;
        if (s.size() >= 2 && s.at(1) == QLatin1Char('@')) {
            s.remove(0, 1);
            continue;
        }
        QVariantList variants;
        for (const QString &item : list)
            variants.append(stringToVariant(item));
        return variants;
    }
    return strings;
}

} // namespace

QSettings::SettingsMap parse(const QByteArray &text)
{
    QSettings::SettingsMap keys;
    QString section; // "" at the top level, else "Name/"
    const bool utf8 = text.startsWith("\xef\xbb\xbf");
    int pos = utf8 ? 3 : 0;
    int lineStart = 0;
    int lineLength = 0;
    int equalsPos = -1;
    QString value;
    QStringList list;
    for (bool first = true; readLine(text, pos, lineStart, lineLength, equalsPos); first = false) {
        // A byte order mark stays with a first line that is no section:
        // QSettings reads it as part of that key.
        if (first && utf8 && text.at(lineStart) != '[') {
            pos = 0;
            readLine(text, pos, lineStart, lineLength, equalsPos);
        }
        if (text.at(lineStart) == '[') {
            const int close = text.indexOf(']', lineStart);
            QByteArray name = close == -1 || close >= lineStart + lineLength
                                  ? text.mid(lineStart + 1, lineLength - 1)
                                  : text.mid(lineStart + 1, close - lineStart - 1);
            name = name.trimmed();
            section.clear();
            if (name.compare("general", Qt::CaseInsensitive) == 0)
                continue;
            if (name.compare("%general", Qt::CaseInsensitive) == 0)
                section = QString::fromLatin1(name.constData() + 1);
            else
                unescapeKey(name, 0, name.size(), section);
            section += QLatin1Char('/');
            continue;
        }
        if (equalsPos == -1)
            continue;
        int keyEnd = equalsPos;
        while (keyEnd > lineStart && (text.at(keyEnd - 1) == ' ' || text.at(keyEnd - 1) == '\t'))
            --keyEnd;
        QString key = section;
        unescapeKey(text, lineStart, keyEnd, key);
        value.clear();
        list.clear();
        keys.insert(key, unescapeValue(text, equalsPos + 1, lineStart + lineLength, utf8, value, list)
                             ? listToVariant(list)
                             : stringToVariant(value));
    }
    return keys;
}

QByteArray write(const QSettings::SettingsMap &keys)
{
#ifdef Q_OS_WIN
    const char *const eol = "\r\n";
#else
    const char *const eol = "\n";
#endif
    QMap<QString, QSettings::SettingsMap> sections;
    for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
        const int slash = it.key().indexOf(QLatin1Char('/'));
        sections[slash == -1 ? QString() : it.key().left(slash)].insert(it.key().mid(slash + 1), it.value());
    }
    QByteArray text;
    for (auto section = sections.cbegin(); section != sections.cend(); ++section) {
        QByteArray header;
        escapeKey(section.key(), header);
        if (header.isEmpty())
            header = "[General]";
        else if (header.compare("general", Qt::CaseInsensitive) == 0)
            header = "[%General]";
        else
            header = '[' + header + ']';
        if (section != sections.cbegin())
            text += eol;
        text += header + eol;
        for (auto it = section->cbegin(); it != section->cend(); ++it) {
            escapeKey(it.key(), text);
            text += '=';
            const QVariant &value = it.value();
            if (value.userType() == QMetaType::QStringList
                || (value.userType() == QMetaType::QVariantList && value.toList().size() != 1)) {
                const QVariantList items = value.toList();
                if (items.isEmpty())
                    text += "@Invalid()";
                for (int i = 0; i < items.size(); ++i) {
                    if (i != 0)
                        text += ", ";
                    escapeValue(variantToString(items.at(i)), text);
                }
            } else {
                escapeValue(variantToString(value), text);
            }
            text += eol;
        }
    }
    return text;
}

} // namespace IniCodec

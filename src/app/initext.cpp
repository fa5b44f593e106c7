#include "initext.h"

#include <QHash>
#include <QVector>

#include <algorithm>
#include <cstring>

namespace IniText {

namespace {

// Blanks around names and values, and before a line's first character.
bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
QByteArray withoutBlanks(const QByteArray &text)
{
    int from = 0;
    int to = text.size();
    while (from < to && isBlank(text.at(from)))
        ++from;
    while (to > from && isBlank(text.at(to - 1)))
        --to;
    return text.mid(from, to - from);
}
bool isLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

int hexValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// One line of the text once quotes and continued lines are taken into
// account: a section's name, or a key and its value, as raw bytes.
struct Line
{
    enum Kind { Section, Entry };
    Kind kind = Entry;
    QByteArray name;  // Section
    QByteArray key;   // Entry
    QByteArray value; // Entry
};

// Walks the text line by line; each step is linear in what it passes over.
// A line is read the same way whatever it holds: a quote holds line breaks,
// ';' and '=' until it closes; a backslash holds the character after it, a
// line break included, which continues the line; ';' outside quotes starts a
// comment to the end of the line. Then a line that starts with '[' names a
// section, up to its first ']'; one with '=' outside quotes holds a key and
// its value; any other is passed over.
class LineReader
{
public:
    // A byte order mark is passed over in looking for a section or a
    // comment, but a key on the first line starts with it, as in QSettings.
    LineReader(const QByteArray &bytes, int from) : m_bytes(bytes), m_pos(from), m_markAt(from > 0 ? 0 : -1) {}

    // False at the end of the text.
    bool next(Line &line)
    {
        const int size = m_bytes.size();
        while (true) {
            int keyFrom = m_markAt;
            m_markAt = -1;
            while (m_pos < size && (isBlank(m_bytes.at(m_pos)) || isLineBreak(m_bytes.at(m_pos)))) {
                if (isLineBreak(m_bytes.at(m_pos)))
                    keyFrom = -1;
                ++m_pos;
            }
            if (m_pos >= size)
                return false;
            const int start = m_pos;
            const int equals = scanLine();
            if (m_bytes.at(start) == '[') {
                // Looked for within the line only: a text of '[' lines
                // without ']' costs its length, not its length squared.
                const char *name = m_bytes.constData() + start + 1;
                const char *close = std::find(name, m_bytes.constData() + m_end, ']');
                line.kind = Line::Section;
                line.name = QByteArray(name, int(close - name));
                return true;
            }
            if (equals >= 0) {
                if (keyFrom < 0)
                    keyFrom = start;
                line.kind = Line::Entry;
                line.key = m_bytes.mid(keyFrom, equals - keyFrom);
                line.value = m_bytes.mid(equals + 1, m_end - equals - 1);
                return true;
            }
        }
    }

private:
    // Moves past the line; m_end is where its text ends (before a comment).
    // Returns where its first '=' outside quotes is, or -1.
    int scanLine()
    {
        const int size = m_bytes.size();
        int equals = -1;
        bool quoted = false;
        while (m_pos < size) {
            const char c = m_bytes.at(m_pos);
            if (c == '\\') {
                ++m_pos;
                if (m_pos < size)
                    skipEscaped();
                continue;
            }
            if (quoted) {
                quoted = c != '"';
            } else if (c == '"') {
                quoted = true;
            } else if (isLineBreak(c) || c == ';') {
                break;
            } else if (c == '=' && equals < 0) {
                equals = m_pos;
            }
            ++m_pos;
        }
        m_end = m_pos;
        while (m_pos < size && !isLineBreak(m_bytes.at(m_pos))) // a comment
            ++m_pos;
        return equals;
    }

    // The character after a backslash; a line break there is one break,
    // whichever of "\r\n" and "\n\r" ends the line.
    void skipEscaped()
    {
        const char c = m_bytes.at(m_pos++);
        if (isLineBreak(c) && m_pos < m_bytes.size() && isLineBreak(m_bytes.at(m_pos)) && m_bytes.at(m_pos) != c)
            ++m_pos;
    }

    const QByteArray &m_bytes;
    int m_pos;
    int m_end = 0;
    int m_markAt; // where the byte order mark is, until the first line
};

// A name as written in a section or before '=': a backslash stands for '/',
// "%" and two bytes, or "%U" and four, for the character whose code they
// give in hex, read as QByteArray::toInt() reads a number (ASCII blanks
// around it, a sign and "0x" allowed, a NUL ending it); anything else is
// itself, each byte a Latin-1 character.
QString nameOf(const QByteArray &raw)
{
    const QByteArray bytes = withoutBlanks(raw);
    QString name;
    name.reserve(bytes.size());
    for (int i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        if (c == '\\') {
            name += QLatin1Char('/');
            continue;
        }
        if (c == '%') {
            const bool wide = i + 1 < bytes.size() && bytes.at(i + 1) == 'U';
            const int from = wide ? i + 2 : i + 1;
            const int digits = wide ? 4 : 2;
            bool number = false;
            const int code = from + digits <= bytes.size() ? bytes.mid(from, digits).toInt(&number, 16) : 0;
            if (number) {
                name += QChar(ushort(code));
                i = from + digits - 1;
                continue;
            }
        }
        name += QChar(uchar(c));
    }
    return name;
}

bool sameLetters(const QByteArray &a, const char *b)
{
    return a.compare(QByteArray(b), Qt::CaseInsensitive) == 0;
}

// The group of a section: "General" in any case is the top level, and
// "%General" a group of that name.
QString groupOf(const QByteArray &raw, bool &topLevel)
{
    const QByteArray name = raw.trimmed();
    topLevel = sameLetters(name, "general");
    if (topLevel)
        return QString();
    if (sameLetters(name, "%general"))
        return QString::fromLatin1(name.constData() + 1, name.size() - 1);
    return nameOf(name);
}

// The characters of a value once escapes and quotes are read, split at
// commas outside quotes. Blanks outside quotes at an item's start go, as do
// those right after a closing quote, and those at its end unless the item
// held a quote. Escapes are read on the bytes; each run
// of bytes between them is decoded on its own (UTF-8 after a byte order
// mark, else Latin-1), so a sequence an escape cuts decodes as two broken
// halves, as in QSettings.
class ValueReader
{
public:
    QStringList read(const QByteArray &bytes, bool utf8)
    {
        m_bytes = &bytes;
        m_utf8 = utf8;
        m_pos = 0;
        m_items.clear();
        m_item.clear();
        m_blanks.clear();
        bool quoted = false;
        bool hadQuote = false;
        bool skipping = true; // at an item's start or after a closing quote
        while (m_pos < bytes.size()) {
            const char c = bytes.at(m_pos++);
            const bool special = c == '"' || c == '\\' || (!quoted && (c == ',' || isBlank(c)));
            if (!special) {
                if (m_run.isEmpty())
                    takeBlanks();
                m_run += c;
                skipping = false;
                continue;
            }
            decodeRun();
            if (c == ',') {
                endItem(hadQuote);
                hadQuote = false;
                skipping = true;
            } else if (isBlank(c)) {
                if (!skipping)
                    m_blanks += QLatin1Char(c);
            } else if (c == '"') {
                if (!quoted)
                    takeBlanks();
                quoted = !quoted;
                hadQuote = true;
                skipping = !quoted;
            } else {
                takeBlanks();
                skipping = false;
                escape();
            }
        }
        decodeRun();
        endItem(hadQuote);
        return m_items;
    }

private:
    void endItem(bool keepBlanks)
    {
        if (keepBlanks)
            takeBlanks();
        m_items.append(m_item);
        m_item.clear();
        m_blanks.clear();
    }

    void takeBlanks()
    {
        m_item += m_blanks;
        m_blanks.clear();
    }

    void decodeRun()
    {
        if (m_run.isEmpty())
            return;
        m_item += m_utf8 ? QString::fromUtf8(m_run.constData(), m_run.size())
                         : QString::fromLatin1(m_run.constData(), m_run.size());
        m_run.clear();
    }

    bool atOneOf(const char *set, char &c) const
    {
        if (m_pos >= m_bytes->size() || !std::strchr(set, m_bytes->at(m_pos)) || m_bytes->at(m_pos) == 0)
            return false;
        c = m_bytes->at(m_pos);
        return true;
    }

    // The escape after a backslash: a named one, a run of hex digits after
    // 'x' or of octal digits (each giving one UTF-16 unit, its low 16 bits),
    // a continued line (nothing), or an unknown one (nothing either).
    void escape()
    {
        if (m_pos >= m_bytes->size())
            return;
        const char c = m_bytes->at(m_pos++);
        static const char from[] = "abfnrtv\"?'\\";
        static const char to[] = "\a\b\f\n\r\t\v\"?'\\";
        const char *named = c ? std::strchr(from, c) : nullptr;
        char digit = 0;
        if (named) {
            m_item += QLatin1Char(to[named - from]);
        } else if (c == 'x') {
            const int start = m_pos;
            ushort code = 0;
            while (atOneOf("0123456789abcdefABCDEF", digit)) {
                code = ushort(code * 16 + hexValue(QLatin1Char(digit)));
                ++m_pos;
            }
            if (m_pos > start)
                m_item += QChar(code);
        } else if (c >= '0' && c <= '7') {
            ushort code = ushort(c - '0');
            while (atOneOf("01234567", digit)) {
                code = ushort(code * 8 + (digit - '0'));
                ++m_pos;
            }
            m_item += QChar(code);
        } else if (isLineBreak(c)) {
            if (atOneOf("\r\n", digit) && digit != c)
                ++m_pos;
        }
    }

    const QByteArray *m_bytes = nullptr;
    bool m_utf8 = false;
    int m_pos = 0;
    QStringList m_items;
    QString m_item;
    QString m_blanks;  // outside quotes, kept only if more follows
    QByteArray m_run;  // bytes not yet decoded
};

// A value QSettings would read as something other than text: such a value
// is kept as found and written back as it was.
bool isTyped(const QString &text)
{
    if (text == QLatin1String("@Invalid()"))
        return true;
    // numbers: how many the parentheses hold, split at single spaces and
    // with no ')' among them; -1 for anything.
    static const struct
    {
        const char *prefix;
        int numbers;
    } types[] = {{"@ByteArray(", -1}, {"@Variant(", -1}, {"@DateTime(", -1},
                 {"@Rect(", 4},       {"@Size(", 2},     {"@Point(", 2}};
    if (!text.endsWith(QLatin1Char(')')))
        return false;
    for (const auto &type : types) {
        const QLatin1String prefix(type.prefix);
        if (!text.startsWith(prefix))
            continue;
        const QStringRef inner = text.midRef(prefix.size(), text.size() - prefix.size() - 1);
        return type.numbers < 0
               || (!inner.contains(QLatin1Char(')')) && inner.split(QLatin1Char(' ')).size() == type.numbers);
    }
    return false;
}

Value valueOf(const QStringList &items)
{
    const auto ownsAt = [](const QString &item) {
        return item.startsWith(QLatin1Char('@')) && !item.startsWith(QLatin1String("@@"));
    };
    if (items.size() > 1) {
        if (std::any_of(items.cbegin(), items.cend(), ownsAt))
            return {Value::Kept, items};
        QStringList texts = items;
        for (QString &text : texts) {
            if (text.startsWith(QLatin1Char('@')))
                text.remove(0, 1);
        }
        return {Value::List, texts};
    }
    const QString &text = items.first();
    if (!text.startsWith(QLatin1Char('@')))
        return Value::text(text);
    if (text.startsWith(QLatin1String("@@")))
        return Value::text(text.mid(1));
    const QLatin1String string("@String(");
    if (text.startsWith(string) && text.endsWith(QLatin1Char(')')))
        return Value::text(text.mid(string.size(), text.size() - string.size() - 1));
    return isTyped(text) ? Value{Value::Kept, items} : Value::text(text);
}

// Writing -------------------------------------------------------------------

void appendHex(QByteArray &out, uint code, int width, bool upper)
{
    QByteArray digits = QByteArray::number(code, 16);
    if (upper)
        digits = digits.toUpper();
    out += QByteArray(std::max(0, width - digits.size()), '0') + digits;
}

// Letters, digits, '-', '.' and '_' stand as they are; '/' becomes a
// backslash; anything else "%XX", or "%UXXXX" beyond Latin-1.
QByteArray nameText(const QString &name)
{
    QByteArray out;
    out.reserve(name.size());
    for (const QChar c : name) {
        const ushort u = c.unicode();
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-'
                           || u == '.' || u == '_';
        if (plain) {
            out += char(u);
        } else if (u == '/') {
            out += '\\';
        } else if (u < 0x100) {
            out += '%';
            appendHex(out, u, 2, true);
        } else {
            out += "%U";
            appendHex(out, u, 4, true);
        }
    }
    return out;
}

// One text in the value's escapes, quoted whole when it holds ',', ';' or
// '=' or starts or ends with a space. After a numeric escape a hex digit is
// escaped too, or it would read as part of the number.
QByteArray valueText(const QString &text)
{
    static const QHash<ushort, char> named{{'\a', 'a'}, {'\b', 'b'}, {'\t', 't'}, {'\n', 'n'},
                                           {'\v', 'v'}, {'\f', 'f'}, {'\r', 'r'}, {'"', '"'}, {'\\', '\\'}};
    const bool quoted = text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' '))
                        || text.contains(QLatin1Char(',')) || text.contains(QLatin1Char(';'))
                        || text.contains(QLatin1Char('='));
    QByteArray out;
    out.reserve(text.size() + 2);
    if (quoted)
        out += '"';
    bool afterNumber = false;
    for (const QChar c : text) {
        const ushort u = c.unicode();
        const auto found = named.constFind(u);
        if (found != named.cend()) {
            out += '\\';
            out += *found;
            afterNumber = false;
        } else if (u == 0) {
            out += "\\0";
            afterNumber = true;
        } else if (u < 0x20 || u >= 0x7f || (afterNumber && hexValue(c) >= 0)) {
            out += "\\x";
            appendHex(out, u, 1, false);
            afterNumber = true;
        } else {
            out += char(u);
            afterNumber = false;
        }
    }
    if (quoted)
        out += '"';
    return out;
}

// A text of the console's: one holding a NUL goes in "@String(...)", and a
// leading '@' is doubled, so that neither reads as another kind of value.
QByteArray ownText(const QString &text)
{
    if (text.contains(QChar(0)))
        return valueText(QLatin1String("@String(") + text + QLatin1Char(')'));
    return valueText(text.startsWith(QLatin1Char('@')) ? QLatin1Char('@') + text : text);
}

QByteArray valueLine(const Value &value)
{
    switch (value.kind) {
    case Value::Text:
        return ownText(value.parts.value(0));
    case Value::List: {
        if (value.parts.isEmpty())
            return "@Invalid()";
        QByteArrayList items;
        for (const QString &item : value.parts)
            items.append(ownText(item));
        return items.join(", ");
    }
    case Value::Kept:
        break;
    }
    QByteArrayList items;
    for (const QString &item : value.parts)
        items.append(valueText(item));
    return items.join(", ");
}

} // namespace

QVariant Value::toVariant() const
{
    switch (kind) {
    case Text:
        return parts.value(0);
    case List:
        return parts;
    case Kept:
        break;
    }
    return QVariant();
}

Value Value::fromVariant(const QVariant &value)
{
    if (value.userType() == QMetaType::QStringList) {
        const QStringList list = value.toStringList();
        return list.size() == 1 ? text(list.first()) : Value{List, list};
    }
    return text(value.toString());
}

Keys read(const QByteArray &bytes)
{
    static const QByteArray byteOrderMark("\xef\xbb\xbf");
    const bool utf8 = bytes.startsWith(byteOrderMark);
    LineReader lines(bytes, utf8 ? byteOrderMark.size() : 0);
    ValueReader values;
    Keys keys;
    QString prefix;
    Line line;
    while (lines.next(line)) {
        if (line.kind == Line::Section) {
            bool topLevel = false;
            const QString group = groupOf(line.name, topLevel);
            prefix = topLevel ? QString() : group + QLatin1Char('/');
            continue;
        }
        keys.insert(prefix + nameOf(line.key), valueOf(values.read(line.value, utf8)));
    }
    return keys;
}

QByteArray write(const Keys &keys)
{
    // Sections in the order of their groups' names, the top level first.
    QMap<QString, QVector<Keys::const_iterator>> sections;
    QVector<Keys::const_iterator> topLevel;
    for (auto it = keys.cbegin(); it != keys.cend(); ++it) {
        const int slash = it.key().indexOf(QLatin1Char('/'));
        if (slash < 0)
            topLevel.append(it);
        else
            sections[it.key().left(slash)].append(it);
    }
    QByteArray out;
    const auto writeSection = [&out](const QByteArray &header, const QVector<Keys::const_iterator> &entries,
                                     int skip) {
        if (!out.isEmpty())
            out += '\n';
        out += '[' + header + "]\n";
        for (const auto &entry : entries)
            out += nameText(entry.key().mid(skip)) + '=' + valueLine(entry.value()) + '\n';
    };
    if (!topLevel.isEmpty())
        writeSection("General", topLevel, 0);
    for (auto it = sections.cbegin(); it != sections.cend(); ++it) {
        QByteArray header = nameText(it.key());
        if (sameLetters(header, "general"))
            header = "%General";
        writeSection(header, it.value(), it.key().size() + 1);
    }
    return out;
}

} // namespace IniText

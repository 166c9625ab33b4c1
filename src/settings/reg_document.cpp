#include "settings/reg_document.h"

#include "settings/registry_roots.h"

#include <QStringDecoder>

#include <array>

namespace wendle {

namespace {

constexpr std::array rootNames{"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",     "HKEY_LOCAL_MACHINE",
                               "HKEY_USERS",        "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG",
                               "HKEY_DYN_DATA"};

QString fold(const QString &text) {
    return text.toCaseFolded();
}

bool decodeUtf8(const QByteArray &bytes, QString *text) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    *text = decoder.decode(bytes);
    return !decoder.hasError();
}

// Reads a quoted text with regedit's two escapes, \\ and \", from text[*pos],
// which must be the opening quote; leaves *pos after the closing one.
bool readQuoted(const QByteArray &text, qsizetype *pos, QByteArray *out) {
    if (*pos >= text.size() || text.at(*pos) != '"')
        return false;
    out->clear();
    for (qsizetype i = *pos + 1; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '"') {
            *pos = i + 1;
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= text.size() || (text.at(i + 1) != '\\' && text.at(i + 1) != '"'))
                return false;
            ++i;
        }
        out->append(text.at(i));
    }
    return false;
}

QByteArray quoted(const QByteArray &bytes) {
    QByteArray out;
    out.reserve(bytes.size() + 2);
    out.append('"');
    for (char c : bytes) {
        if (c == '\\' || c == '"')
            out.append('\\');
        out.append(c);
    }
    out.append('"');
    return out;
}

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool parseHexNumber(const QByteArray &digits, int maxDigits, quint32 *number) {
    if (digits.isEmpty() || digits.size() > maxDigits)
        return false;
    for (char c : digits)
        if (!isHexDigit(c))
            return false;
    *number = digits.toUInt(nullptr, 16);
    return true;
}

bool parseHexBytes(const QByteArray &list, QByteArray *data) {
    data->clear();
    if (list.trimmed().isEmpty())
        return true;
    for (const QByteArray &part : list.split(',')) {
        quint32 byte = 0;
        if (!parseHexNumber(part.trimmed(), 2, &byte))
            return false;
        data->append(static_cast<char>(byte));
    }
    return true;
}

QByteArray hexBytes(const QByteArray &data) {
    QByteArray out;
    out.reserve(data.size() * 3);
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (i > 0)
            out.append(',');
        out.append(QByteArray::number(static_cast<uchar>(data.at(i)), 16).rightJustified(2, '0'));
    }
    return out;
}

// `"name"=<data>` or `@=<data>`.
bool parseValueLine(const QByteArray &line, QString *name, RegValue *value) {
    qsizetype pos = 0;
    QByteArray nameBytes;
    if (line.startsWith('@'))
        pos = 1;
    else if (!readQuoted(line, &pos, &nameBytes))
        return false;
    if (!decodeUtf8(nameBytes, name))
        return false;
    const QByteArray rest = line.mid(pos).trimmed();
    if (!rest.startsWith('='))
        return false;
    const QByteArray data = rest.mid(1).trimmed();

    if (data.startsWith('"')) {
        qsizetype end = 0;
        if (!readQuoted(data, &end, &value->data) || end != data.size())
            return false;
        value->type = RegType::String;
        return true;
    }
    const QByteArray lower = data.toLower();
    if (lower.startsWith("dword:")) {
        quint32 number = 0;
        if (!parseHexNumber(data.mid(6).trimmed(), 8, &number))
            return false;
        value->type = RegType::Dword;
        value->data = QByteArray(4, '\0');
        for (int i = 0; i < 4; ++i)
            value->data[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
        return true;
    }
    if (lower.startsWith("hex:")) {
        value->type = RegType::Binary;
        return parseHexBytes(data.mid(4), &value->data);
    }
    if (lower.startsWith("hex(")) {
        const qsizetype close = data.indexOf(')');
        quint32 type = 0;
        if (close < 0 || close + 1 >= data.size() || data.at(close + 1) != ':' ||
            !parseHexNumber(data.mid(4, close - 4), 8, &type))
            return false;
        value->type = static_cast<int>(type);
        return parseHexBytes(data.mid(close + 2), &value->data);
    }
    return false;
}

QByteArray formatValue(const QString &name, const RegValue &value) {
    QByteArray line = name.isEmpty() ? QByteArray("@") : quoted(name.toUtf8());
    line.append('=');
    QString text;
    const QByteArray &data = value.data;
    if (value.type == RegType::String && !data.contains('\0') && !data.contains('\n') &&
        !data.contains('\r') && decodeUtf8(data, &text)) {
        line.append(quoted(data));
    } else if (value.type == RegType::Dword && data.size() == 4) {
        quint32 number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | static_cast<uchar>(data.at(i));
        line.append("dword:").append(QByteArray::number(number, 16).rightJustified(8, '0'));
    } else if (value.type == RegType::Binary) {
        line.append("hex:").append(hexBytes(data));
    } else {
        line.append("hex(")
            .append(QByteArray::number(static_cast<quint32>(value.type), 16))
            .append("):")
            .append(hexBytes(data));
    }
    return line;
}

// "[HKEY_...\a\b]" -> "HKEY_...\a\b" with the root's name in capitals.
bool parseHeader(const QByteArray &line, QString *path) {
    if (!line.startsWith('[') || !line.endsWith(']') || line.size() < 3)
        return false;
    QString inner;
    if (!decodeUtf8(line.mid(1, line.size() - 2), &inner) || inner.startsWith(QLatin1Char('-')))
        return false;
    QStringList parts = inner.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return false;
    const QString root = parts.first().toUpper();
    if (std::find(rootNames.begin(), rootNames.end(), root) == rootNames.end())
        return false;
    parts.first() = root;
    *path = parts.join(QLatin1Char('\\'));
    return true;
}

// `"name"=hex...` or `@=hex...`: the one kind of line whose data goes on over
// lines that end in a backslash.
bool isHexValueLine(const QByteArray &line) {
    qsizetype pos = 0;
    QByteArray name;
    if (line.startsWith('@'))
        pos = 1;
    else if (!readQuoted(line, &pos, &name))
        return false;
    const QByteArray rest = line.mid(pos).trimmed();
    if (!rest.startsWith('='))
        return false;
    const QByteArray data = rest.mid(1).trimmed().toLower();
    return data.startsWith("hex:") || data.startsWith("hex(");
}

bool endsInBackslash(const QByteArray &raw) {
    return raw.trimmed().endsWith('\\');
}

bool representable(const QString &text) {
    return !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) &&
           !text.contains(QChar(0));
}

} // namespace

QString RegDocument::normalizedPath(const QString &path) {
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\'));
}

RegDocument RegDocument::parse(const QByteArray &text) {
    RegDocument doc;
    const QList<QByteArray> lines = text.split('\n');
    bool first = true;
    qsizetype current = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // Kept lines keep their bytes, a CR before the line feed included.
        QByteArray raw = lines.at(i);
        QByteArray logical = raw.trimmed();
        if (logical.isEmpty())
            continue;

        // Long hex data goes on over lines that end in a backslash; any other
        // line, a comment too, stands alone.
        if (isHexValueLine(logical)) {
            while (logical.endsWith('\\') && i + 1 < lines.size()) {
                const QByteArray &next = lines.at(i + 1);
                const QByteArray trimmed = next.trimmed();
                if (trimmed.isEmpty() || trimmed.startsWith('['))
                    break;
                ++i;
                raw.append('\n').append(next);
                logical.chop(1);
                logical.append(trimmed);
            }
        }

        if (first) {
            first = false;
            if (logical == "REGEDIT4" || logical == "Windows Registry Editor Version 5.00")
                continue;
        }

        if (logical.startsWith('[')) {
            QString path;
            if (parseHeader(logical, &path)) {
                const auto found = doc.m_byPath.constFind(fold(path));
                if (found != doc.m_byPath.cend()) {
                    current = found.value();
                } else {
                    doc.m_sections.append(Section{path, {}, {}, {}});
                    current = doc.m_sections.size() - 1;
                    doc.m_byPath.insert(fold(path), current);
                }
            } else {
                doc.m_sections.append(Section{QString(), raw, {}, {}});
                current = doc.m_sections.size() - 1;
            }
            continue;
        }

        if (current < 0) {
            doc.m_preamble.append(raw);
            continue;
        }
        Section &section = doc.m_sections[current];
        Entry entry;
        if (section.path.isEmpty() || !parseValueLine(logical, &entry.name, &entry.value)) {
            entry.parsed = false;
            entry.raw = raw;
        }
        doc.addEntry(section, std::move(entry));
    }
    return doc;
}

void RegDocument::addEntry(Section &section, Entry entry) {
    if (entry.parsed) {
        const QString key = fold(entry.name);
        const auto found = section.byName.constFind(key);
        if (found != section.byName.cend()) {
            section.entries[found.value()].value = entry.value;
            return;
        }
        section.byName.insert(key, section.entries.size());
    }
    section.entries.append(std::move(entry));
}

QByteArray RegDocument::serialize() const {
    QByteArray out("REGEDIT4\n");
    // A kept hex line that ends in a backslash would swallow the next line
    // when read back; a blank line after it stops that.
    auto appendRaw = [&out](const QByteArray &raw) {
        out.append(raw).append('\n');
        if (endsInBackslash(raw) && isHexValueLine(raw.trimmed()))
            out.append('\n');
    };
    for (const QByteArray &raw : m_preamble)
        appendRaw(raw);
    for (const Section &section : m_sections) {
        out.append('\n');
        if (section.path.isEmpty())
            out.append(section.rawHeader).append('\n');
        else
            out.append('[').append(section.path.toUtf8()).append("]\n");
        for (const Entry &entry : section.entries) {
            if (entry.parsed)
                out.append(formatValue(entry.name, entry.value)).append('\n');
            else
                appendRaw(entry.raw);
        }
    }
    return out;
}

RegDocument::Section *RegDocument::section(const QString &path) {
    const auto found = m_byPath.constFind(fold(normalizedPath(path)));
    return found == m_byPath.cend() ? nullptr : &m_sections[found.value()];
}

const RegDocument::Section *RegDocument::section(const QString &path) const {
    const auto found = m_byPath.constFind(fold(normalizedPath(path)));
    return found == m_byPath.cend() ? nullptr : &m_sections.at(found.value());
}

bool RegDocument::keyExists(const QString &path) const {
    const QString wanted = fold(normalizedPath(path));
    if (wanted.isEmpty())
        return false;
    if (!wanted.contains(QLatin1Char('\\'))) {
        const QString root = wanted.toUpper();
        return std::find(rootNames.begin(), rootNames.end(), root) != rootNames.end();
    }
    if (m_byPath.contains(wanted))
        return true;
    const QString below = wanted + QLatin1Char('\\');
    for (const Section &section : m_sections)
        if (!section.path.isEmpty() && fold(section.path).startsWith(below))
            return true;
    return false;
}

const RegValue *RegDocument::value(const QString &keyPath, const QString &name) const {
    const Section *found = section(keyPath);
    if (!found)
        return nullptr;
    const auto entry = found->byName.constFind(fold(name));
    return entry == found->byName.cend() ? nullptr : &found->entries.at(entry.value()).value;
}

void RegDocument::createKey(const QString &path) {
    const QString normal = normalizedPath(path);
    QString ignored;
    if (normal.isEmpty() || !representable(normal) || section(normal) ||
        !parseHeader('[' + normal.toUtf8() + ']', &ignored))
        return;
    m_sections.append(Section{ignored, {}, {}, {}});
    m_byPath.insert(fold(ignored), m_sections.size() - 1);
}

void RegDocument::setValue(const QString &keyPath, const QString &name, const RegValue &value) {
    if (!representable(name))
        return;
    createKey(keyPath);
    Section *target = section(keyPath);
    if (!target)
        return;
    Entry entry;
    entry.name = name;
    entry.value = value;
    addEntry(*target, std::move(entry));
}

bool RegDocument::removeValue(const QString &keyPath, const QString &name) {
    Section *target = section(keyPath);
    if (!target)
        return false;
    const auto found = target->byName.constFind(fold(name));
    if (found == target->byName.cend())
        return false;
    target->entries.removeAt(found.value());
    target->byName.clear();
    for (qsizetype i = 0; i < target->entries.size(); ++i)
        if (target->entries.at(i).parsed)
            target->byName.insert(fold(target->entries.at(i).name), i);
    return true;
}

qsizetype RegDocument::unparsedLineCount() const {
    qsizetype count = m_preamble.size();
    for (const Section &section : m_sections) {
        if (section.path.isEmpty())
            ++count;
        for (const Entry &entry : section.entries)
            count += entry.parsed ? 0 : 1;
    }
    return count;
}

} // namespace wendle

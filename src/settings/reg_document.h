#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace wendle {

struct RegValue {
    int type = 0;
    QByteArray data;
    bool operator==(const RegValue &) const = default;
};

// The text of a registry export file (REGEDIT4), as the store keeps it:
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Quorvel\Utils\Wendle]
//   "LogFolder"="/home/ann/time logs"
//   "Autostart"=dword:00000001
//   "Other"=hex(3):01,02
//
// Key paths and value names compare without regard to case and keep the case
// they were first written with. A line that does not parse is kept exactly as
// it was and written back in its place; what it would have said reads as
// absent. A key given twice is read as one, the later value of a name winning.
class RegDocument {
public:
    static RegDocument parse(const QByteArray &text);
    QByteArray serialize() const;

    // Full paths start with the root's name: "HKEY_LOCAL_MACHINE\SOFTWARE\...".
    // A key exists when it, or a key below it, has a section of its own.
    bool keyExists(const QString &path) const;
    const RegValue *value(const QString &keyPath, const QString &name) const;

    void createKey(const QString &path);
    void setValue(const QString &keyPath, const QString &name, const RegValue &value);
    // False when there was no such value.
    bool removeValue(const QString &keyPath, const QString &name);

    // Lines kept as they were because they did not parse.
    qsizetype unparsedLineCount() const;

    // "a\\b\\\\c\\" -> "a\\b\\c"; empty parts are dropped.
    static QString normalizedPath(const QString &path);

private:
    struct Entry {
        QString name;
        RegValue value;
        QByteArray raw; // the line(s) as read, when they did not parse
        bool parsed = true;
    };
    struct Section {
        QString path;         // empty for an unparsed section
        QByteArray rawHeader; // the header as read, for an unparsed section
        QList<Entry> entries;
        QHash<QString, qsizetype> byName; // folded name -> entry
    };

    Section *section(const QString &path);
    const Section *section(const QString &path) const;
    void addEntry(Section &section, Entry entry);

    QList<QByteArray> m_preamble;
    QList<Section> m_sections;
    QHash<QString, qsizetype> m_byPath; // folded path -> section
};

} // namespace wendle

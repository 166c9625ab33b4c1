#include "report/time_of_day.h"

#include <algorithm>

namespace wendle::report {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

bool isAsciiAlnum(char c) {
    return isDigit(c) || isUpper(c) || (c >= 'a' && c <= 'z');
}

int digits2(std::string_view text, std::size_t at) {
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char lower(char c) {
    return isUpper(c) ? char(c - 'A' + 'a') : c;
}

bool startsWithWord(std::string_view text, std::string_view word) {
    if (word.empty() || text.size() < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (lower(text[i]) != lower(word[i]))
            return false;
    return true;
}

// The longest of the words that the text starts with: its length, or 0.
std::size_t longestWord(std::string_view text, const std::vector<std::string> &words) {
    std::size_t longest = 0;
    for (const std::string &word : words)
        if (word.size() > longest && startsWithWord(text, word))
            longest = word.size();
    return longest;
}

// The words that stand between the numbers in the formats of Chinese,
// Japanese and Korean, known whatever locale reads them, in UTF-8.
const std::vector<std::string> UnitWords = {
    "\xE6\x99\x82", "\xE5\x88\x86", "\xE7\xA7\x92", // 時 分 秒
    "\xE6\x97\xB6", "\xE9\xBB\x9E",                 // 时 點
    "\xEC\x8B\x9C", "\xEB\xB6\x84", "\xEC\xB4\x88", // 시 분 초
};

// A zone's name as strftime's %Z writes it ("UTC", "CEST"), or its offset
// ("+0530", "-03", "+05:30"): its length at the text's start, or 0.
std::size_t zoneLength(std::string_view text) {
    std::size_t n = 0;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        n = 1;
        while (n < text.size() && (isDigit(text[n]) || text[n] == ':'))
            ++n;
        return n == 3 || n == 5 || n == 6 ? n : 0;
    }
    while (n < text.size() && isUpper(text[n]))
        ++n;
    return n >= 3 && n <= 6 ? n : 0;
}

// What may come between the numbers: one ':' or '.', or a word that is not
// ASCII (a unit such as 時 or 시, then perhaps a space).
bool isSeparator(std::string_view text) {
    if (text == ":" || text == ".")
        return true;
    if (text.empty() || text.size() > 12)
        return false;
    bool wide = false;
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            wide = true;
        else if (c != ' ')
            return false;
    }
    return wide;
}

struct Surroundings {
    int markers = 0;
    bool pm = false;
};

// The text before or after the numbers: only markers, zones, units and the
// format's words, each standing alone or run together.
bool readSurroundings(std::string_view text, const DayHalfMarkers &markers, Surroundings &found) {
    while (true) {
        while (!text.empty() && isBlank(text.front()))
            text.remove_prefix(1);
        if (text.empty())
            return true;
        std::size_t length = 0;
        if (const std::size_t pm = longestWord(text, markers.pm);
            pm >= longestWord(text, markers.am) && pm > 0) {
            found.pm = true;
            ++found.markers;
            length = pm;
        } else if (const std::size_t am = longestWord(text, markers.am); am > 0) {
            ++found.markers;
            length = am;
        } else {
            length = std::max(
                {longestWord(text, markers.words), longestWord(text, UnitWords), zoneLength(text)});
        }
        // A marker or zone runs into the next word only when that is not ASCII.
        if (length == 0 ||
            (length < text.size() && isAsciiAlnum(text[length]) && isAsciiAlnum(text[length - 1])))
            return false;
        text.remove_prefix(length);
    }
}

// The number at `at`, its digits counted: "03" gives 2.
int numberAt(std::string_view text, std::size_t at, std::size_t &digits) {
    digits = 0;
    int value = 0;
    while (at + digits < text.size() && isDigit(text[at + digits]) && digits < 3)
        value = value * 10 + (text[at + digits++] - '0');
    return value;
}

std::size_t nextDigit(std::string_view text, std::size_t from) {
    while (from < text.size() && !isDigit(text[from]))
        ++from;
    return from;
}

bool asciiPunctuation(std::string_view separator) {
    return separator == ":" || separator == ".";
}

} // namespace

std::vector<std::string> formatWords(std::string_view format) {
    std::vector<std::string> words;
    std::string word;
    const auto finish = [&] {
        // Lone punctuation is already read as a separator.
        if (!word.empty() && word != ":" && word != ".")
            words.push_back(word);
        word.clear();
    };
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%') {
            finish();
            ++i;
            while (i < format.size() && (format[i] == 'O' || format[i] == 'E' || format[i] == '-' ||
                                         format[i] == '_' || format[i] == '0'))
                ++i;
        } else if (isBlank(format[i])) {
            finish();
        } else {
            word += format[i];
        }
    }
    finish();
    return words;
}

std::optional<int> parseTimeOfDay(std::string_view line, const DayHalfMarkers &markers) {
    // The program's own lines under most locales: "hh:mm:ss" and a CR.
    if (line.size() >= 8 && line.size() <= 9 && isDigit(line[0]) && isDigit(line[1]) &&
        line[2] == ':' && isDigit(line[3]) && isDigit(line[4]) && line[5] == ':' &&
        isDigit(line[6]) && isDigit(line[7]) && (line.size() == 8 || line[8] == '\r')) {
        const int h = digits2(line, 0), m = digits2(line, 3), s = digits2(line, 6);
        if (h < 24 && m < 60 && s < 60)
            return h * 3600 + m * 60 + s;
        return std::nullopt;
    }

    const std::string_view text = trimmed(line);
    const std::size_t at = nextDigit(text, 0);
    if (at == text.size())
        return std::nullopt;
    std::size_t digits = 0;
    int hour = numberAt(text, at, digits);
    if (digits > 2)
        return std::nullopt;
    std::size_t end = at + digits;

    // Minutes, then seconds when they are there, each after a separator.
    int parts[2] = {-1, 0};
    std::string_view firstSeparator;
    for (int part = 0; part < 2; ++part) {
        const std::size_t next = nextDigit(text, end);
        const std::string_view separator = text.substr(end, next - end);
        if (next == text.size() || !isSeparator(separator))
            break;
        if (part == 1 && asciiPunctuation(separator) && asciiPunctuation(firstSeparator) &&
            separator != firstSeparator)
            return std::nullopt;
        const int value = numberAt(text, next, digits);
        if (digits != 2) {
            if (part == 0 || digits > 2)
                return std::nullopt;
            break; // a zone's offset, not seconds
        }
        parts[part] = value;
        firstSeparator = part == 0 ? separator : firstSeparator;
        end = next + 2;
    }
    const int minute = parts[0], second = parts[1];
    if (minute < 0 || minute > 59 || second > 59)
        return std::nullopt;

    Surroundings found;
    if (!readSurroundings(text.substr(0, at), markers, found) ||
        !readSurroundings(text.substr(end), markers, found) || found.markers > 1)
        return std::nullopt;
    if (found.markers == 0) {
        if (hour > 23)
            return std::nullopt;
    } else {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (found.pm ? 12 : 0);
    }
    return hour * 3600 + minute * 60 + second;
}

} // namespace wendle::report

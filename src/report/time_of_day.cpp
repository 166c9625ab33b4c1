#include "report/time_of_day.h"

namespace wendle::report {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digits2(std::string_view text, std::size_t at) {
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool sameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

bool oneOf(std::string_view word, const std::vector<std::string> &words) {
    for (const std::string &w : words)
        if (!w.empty() && sameWord(word, w))
            return true;
    return false;
}

} // namespace

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
    std::size_t at = 0;
    while (at < text.size() && !isDigit(text[at]))
        ++at;
    // h or hh, a separator, mm, the same separator, ss.
    const std::size_t hourDigits = at + 1 < text.size() && isDigit(text[at + 1]) ? 2 : 1;
    const std::size_t sep = at + hourDigits;
    if (sep + 6 > text.size() || (text[sep] != ':' && text[sep] != '.') ||
        text[sep + 3] != text[sep] || !isDigit(text[sep + 1]) || !isDigit(text[sep + 2]) ||
        !isDigit(text[sep + 4]) || !isDigit(text[sep + 5]))
        return std::nullopt;
    int hour = hourDigits == 2 ? digits2(text, at) : text[at] - '0';
    const int minute = digits2(text, sep + 1), second = digits2(text, sep + 4);
    if (minute > 59 || second > 59)
        return std::nullopt;

    const std::string_view before = trimmed(text.substr(0, at));
    const std::string_view after = trimmed(text.substr(sep + 6));
    if (!before.empty() && !after.empty())
        return std::nullopt;
    const std::string_view marker = before.empty() ? after : before;
    if (marker.empty()) {
        if (hour > 23)
            return std::nullopt;
    } else {
        const bool pm = oneOf(marker, markers.pm);
        if ((!pm && !oneOf(marker, markers.am)) || hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    return hour * 3600 + minute * 60 + second;
}

} // namespace wendle::report

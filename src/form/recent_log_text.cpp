#include "form/recent_log_text.h"

#include "form/texts.h"

#include <string_view>

namespace wendle::form {

std::string recentLogDescription(const std::string &text) {
    long count = 0;
    std::string_view last;
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty())
            continue;
        ++count;
        last = line;
    }
    std::string description = std::string(RecentLogDescription) + ": ";
    if (count == 0)
        return description + "no lines";
    return description + std::to_string(count) + (count == 1 ? " line" : " lines") + ", last at " +
           std::string(last);
}

} // namespace wendle::form

#pragma once

#include <string>

namespace wendle::test {

// Today's file for a folder as the user sees it, on 2003-12-02, written with
// '/' for the separator; each system's test puts its own in.
struct LogPathCase {
    const char *name;
    const char *folder;
    const char *expected;
};
inline constexpr LogPathCase LogPathCases[] = {
    {"plain folder", "/home/ann/logs", "/home/ann/logs/2003-12-02.log"},
    {"root folder has one separator", "/", "/2003-12-02.log"},
    {"spaces and non-ASCII",
     "/tmp/Zeit \xC3\x9C"
     "berblick",
     "/tmp/Zeit \xC3\x9C"
     "berblick/2003-12-02.log"},
    {"empty folder means the root", "", "/2003-12-02.log"},
    {"drive root", "C:", "C:/2003-12-02.log"},
    {"folder on a drive", "D:/Logs", "D:/Logs/2003-12-02.log"},
};

inline std::string withSeparator(std::string path, char separator) {
    for (char &c : path)
        if (c == '/')
            c = separator;
    return path;
}

} // namespace wendle::test

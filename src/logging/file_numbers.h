#pragma once

#include <set>

namespace wendle {

// Hands out file numbers the way the program has always numbered its open
// files: the lowest number from 1 that is not in use. 0 is never handed out,
// so it can mean "no file".
class FileNumbers {
public:
    int acquire();
    void release(int number);
    bool inUse(int number) const { return m_used.contains(number); }

private:
    std::set<int> m_used;
};

} // namespace wendle

#include "logging/file_numbers.h"

namespace wendle {

int FileNumbers::acquire() {
    int number = 1;
    for (int used : m_used) {
        if (used != number)
            break;
        ++number;
    }
    m_used.insert(number);
    return number;
}

void FileNumbers::release(int number) {
    m_used.erase(number);
}

} // namespace wendle

#ifdef _WIN32

#include "settings/ansi_text_win32.h"

#include <windows.h>

namespace wendle::win32 {

std::string toAnsi(const std::wstring &text) {
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                            nullptr, nullptr);
    return out;
}

std::wstring fromAnsi(const char *data, std::size_t length) {
    if (length == 0)
        return std::wstring();
    const int size = MultiByteToWideChar(CP_ACP, 0, data, static_cast<int>(length), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_ACP, 0, data, static_cast<int>(length), out.data(), size);
    return out;
}

} // namespace wendle::win32

#endif // _WIN32

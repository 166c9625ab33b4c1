#include "logging/text_win32.h"

#include <windows.h>

#include <algorithm>

namespace wendle::win32 {

namespace {

std::wstring toWide(UINT codePage, const char *data, std::size_t length) {
    if (length == 0)
        return std::wstring();
    const int size = MultiByteToWideChar(codePage, 0, data, static_cast<int>(length), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        MultiByteToWideChar(codePage, 0, data, static_cast<int>(length), out.data(), size);
    return out;
}

std::string fromWide(UINT codePage, const std::wstring &text) {
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(),
                            size, nullptr, nullptr);
    return out;
}

} // namespace

std::wstring widen(const std::string &utf8) {
    return toWide(CP_UTF8, utf8.data(), utf8.size());
}

std::string narrow(const std::wstring &wide) {
    return fromWide(CP_UTF8, wide);
}

std::string toAnsi(const std::string &utf8) {
    return fromWide(CP_ACP, widen(utf8));
}

std::string fromAnsi(const char *data, std::size_t length) {
    return narrow(toWide(CP_ACP, data, length));
}

void copyToField(const std::string &utf8, wchar_t *field, std::size_t size) {
    if (size == 0)
        return;
    const std::wstring wide = widen(utf8);
    std::size_t length = std::min(wide.size(), size - 1);
    if (length < wide.size() && length > 0 && wide[length - 1] >= 0xD800 &&
        wide[length - 1] <= 0xDBFF)
        --length;
    wide.copy(field, length);
    field[length] = L'\0';
}

} // namespace wendle::win32

#include "logging/text_win32.h"
#include "report/report_command.h"

#include <windows.h>

#include <ostream>
#include <streambuf>
#include <string>

namespace wendle::report {

namespace {

// A console shows what its wide API is given whatever its code page; a
// file or pipe gets the UTF-8 bytes as they are. Text is handed on a line
// at a time, so that a line's characters are never cut apart.
class StandardHandleBuffer final : public std::streambuf {
public:
    explicit StandardHandleBuffer(DWORD which) : m_handle(GetStdHandle(which)) {
        DWORD mode = 0;
        m_console = m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE &&
                    GetConsoleMode(m_handle, &mode);
    }
    ~StandardHandleBuffer() override { hand(m_pending.size()); }
    StandardHandleBuffer(const StandardHandleBuffer &) = delete;
    StandardHandleBuffer &operator=(const StandardHandleBuffer &) = delete;

protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        const char text = traits_type::to_char_type(c);
        return xsputn(&text, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char *text, std::streamsize count) override {
        m_pending.append(text, static_cast<std::size_t>(count));
        const std::size_t end = m_pending.rfind('\n');
        if (end != std::string::npos && !hand(end + 1))
            return 0;
        return count;
    }
    int sync() override { return hand(m_pending.size()) ? 0 : -1; }

private:
    bool hand(std::size_t length) {
        if (length == 0)
            return true;
        const std::string text = m_pending.substr(0, length);
        m_pending.erase(0, length);
        DWORD written = 0;
        if (m_console) {
            const std::wstring wide = win32::widen(text);
            return WriteConsoleW(m_handle, wide.data(), static_cast<DWORD>(wide.size()), &written,
                                 nullptr) != 0;
        }
        return WriteFile(m_handle, text.data(), static_cast<DWORD>(text.size()), &written,
                         nullptr) != 0 &&
               written == text.size();
    }

    HANDLE m_handle;
    bool m_console = false;
    std::string m_pending;
};

} // namespace

std::ostream &standardOutput() {
    static StandardHandleBuffer buffer(STD_OUTPUT_HANDLE);
    static std::ostream stream(&buffer);
    return stream;
}

std::ostream &standardError() {
    static StandardHandleBuffer buffer(STD_ERROR_HANDLE);
    static std::ostream stream(&buffer);
    return stream;
}

} // namespace wendle::report

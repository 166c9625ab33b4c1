#include "report/file_identity.h"

#include "logging/text_win32.h"

#include <windows.h>

namespace wendle::report {

std::optional<FileIdentity> fileIdentity(const std::string &path) {
    // Only its attributes, shared with the writer and with a rename over it.
    const HANDLE file = CreateFileW(win32::widen(path).c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL known = GetFileInformationByHandle(file, &info);
    CloseHandle(file);
    if (!known)
        return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber,
                        (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

} // namespace wendle::report

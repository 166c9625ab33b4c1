#pragma once

#include <windows.h>

#include <string>

namespace wendle::win32 {

// What a screen reader reads for a window's own accessible object in place
// of what the system would give it (MSAA's dynamic annotation): a
// trackbar's value in words, a window's name and description. Without the
// system's annotation service (older or emulated systems) nothing changes.
enum class AccessibleText { Name, Value, Description };
void setAccessibleText(HWND window, AccessibleText which, const std::wstring &text);

} // namespace wendle::win32

#include "win32/accessible_text.h"

// The annotation's GUIDs are defined here, the one place that uses them.
#include <initguid.h>

#include <oleacc.h>

namespace wendle::win32 {

namespace {

// Made on the window's thread, which has COM initialised, and kept for
// the program's life: every change of the slider annotates again.
IAccPropServices *annotations() {
    static IAccPropServices *const services = [] {
        IAccPropServices *made = nullptr;
        if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IAccPropServices, reinterpret_cast<void **>(&made))))
            return static_cast<IAccPropServices *>(nullptr);
        return made;
    }();
    return services;
}

} // namespace

void setAccessibleText(HWND window, AccessibleText which, const std::wstring &text) {
    IAccPropServices *services = annotations();
    if (!services || !window)
        return;
    const MSAAPROPID property = which == AccessibleText::Name    ? PROPID_ACC_NAME
                                : which == AccessibleText::Value ? PROPID_ACC_VALUE
                                                                 : PROPID_ACC_DESCRIPTION;
    services->SetHwndPropStr(window, DWORD(OBJID_CLIENT), CHILDID_SELF, property, text.c_str());
}

} // namespace wendle::win32

#pragma once

// Memory inside another process, for messages whose parameters point at a
// structure that the receiving window reads in its own process.
#include <windows.h>

#include <cstddef>

class RemoteMemory {
public:
    RemoteMemory(HWND window, std::size_t size) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        m_process =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process);
        if (m_process)
            m_at = static_cast<char *>(
                VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    }
    ~RemoteMemory() {
        if (m_at)
            VirtualFreeEx(m_process, m_at, 0, MEM_RELEASE);
        if (m_process)
            CloseHandle(m_process);
    }
    RemoteMemory(const RemoteMemory &) = delete;
    RemoteMemory &operator=(const RemoteMemory &) = delete;

    bool ok() const { return m_at != nullptr; }
    // The address at offset, as the other process sees it.
    void *at(std::size_t offset = 0) const { return m_at + offset; }
    bool write(std::size_t offset, const void *data, std::size_t size) const {
        return WriteProcessMemory(m_process, m_at + offset, data, size, nullptr) != FALSE;
    }
    bool read(std::size_t offset, void *data, std::size_t size) const {
        return ReadProcessMemory(m_process, m_at + offset, data, size, nullptr) != FALSE;
    }

private:
    HANDLE m_process = nullptr;
    char *m_at = nullptr;
};

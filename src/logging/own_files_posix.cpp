#include "logging/own_files.h"

#include "logging/system_error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace wendle {

namespace {

std::string parentOf(const std::string &path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool sharedForWriting(const struct stat &info) {
    if (info.st_mode & S_ISVTX) // others cannot rename or remove what is ours
        return false;
    return (info.st_mode & S_IWOTH) || ((info.st_mode & S_IWGRP) && info.st_gid != ::getegid());
}

} // namespace

void syncFolderOf(const std::string &path) {
    const int folder = ::open(parentOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return;
    // Some file systems cannot sync a folder; the file's own sync still holds.
    [[maybe_unused]] const int ignored = ::fsync(folder);
    ::close(folder);
}

bool prepareOwnFolder(const std::string &folder, std::string &error) {
    // The folders that are missing, innermost first.
    std::vector<std::string> missing;
    std::string existing = folder;
    struct stat info;
    while (::lstat(existing.c_str(), &info) != 0) {
        if (errno != ENOENT || existing == "/") {
            error = systemErrorText(errno);
            return false;
        }
        missing.push_back(existing);
        existing = parentOf(existing);
    }
    for (std::string above = parentOf(folder);; above = parentOf(above)) {
        if (::lstat(above.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && sharedForWriting(info)) {
            error = "the folder " + above + " can be written by other users";
            return false;
        }
        if (above == "/" || above == ".")
            break;
    }
    for (auto made = missing.rbegin(); made != missing.rend(); ++made) {
        if (::mkdir(made->c_str(), 0700) != 0 && errno != EEXIST) {
            error = systemErrorText(errno);
            return false;
        }
        syncFolderOf(*made);
    }
    if (::lstat(folder.c_str(), &info) != 0) {
        error = systemErrorText(errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::geteuid()) {
        error = "the folder " + folder + " is not a folder of your own";
        return false;
    }
    if ((info.st_mode & 077) != 0 && ::chmod(folder.c_str(), info.st_mode & 0700) != 0) {
        error = systemErrorText(errno);
        return false;
    }
    return true;
}

bool renameDurably(const std::string &from, const std::string &to, std::string &error) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        error = systemErrorText(errno);
        return false;
    }
    syncFolderOf(to);
    return true;
}

bool removeDurably(const std::string &path, std::string &error) {
    if (::unlink(path.c_str()) != 0) {
        if (errno == ENOENT)
            return true;
        error = systemErrorText(errno);
        return false;
    }
    syncFolderOf(path);
    return true;
}

bool lockOwnFile(const std::string &path, std::intptr_t &handle, std::string &error) {
    const int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (file < 0) {
        error = systemErrorText(errno);
        return false;
    }
    if (::flock(file, LOCK_EX | LOCK_NB) != 0) {
        const int reason = errno;
        char text[32] = {};
        const ssize_t got = ::pread(file, text, sizeof text - 1, 0);
        ::close(file);
        if (reason != EWOULDBLOCK) {
            error = systemErrorText(reason);
            return false;
        }
        const std::string process = got > 0 ? std::string(text, std::size_t(got)) : std::string();
        error = "another running copy of Wendle" +
                (process.empty() ? std::string() : " (process " + process + ")") + " holds it";
        return false;
    }
    // Who holds it, for the message another copy gives.
    const std::string self = std::to_string(::getpid());
    if (::ftruncate(file, 0) == 0) [[maybe_unused]]
        const ssize_t ignored = ::pwrite(file, self.data(), self.size(), 0);
    handle = file;
    return true;
}

void unlockOwnFile(std::intptr_t handle) {
    ::close(static_cast<int>(handle));
}

} // namespace wendle

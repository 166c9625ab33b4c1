#pragma once

#include <cstdint>
#include <string>

namespace wendle {

// The program's own files (the spool of held lines and what lies beside it)
// as the system keeps them.

// Makes the folder when missing, for the user alone (0700), and narrows one
// that others may read. False, with the reason, when the folder or a folder
// above it can be written by other users (who could put files of their own
// in its place), or when it is a link or belongs to another user.
bool prepareOwnFolder(const std::string &folder, std::string &error);

// Renames from over to, and syncs the folder so that the rename outlives a
// power cut.
bool renameDurably(const std::string &from, const std::string &to, std::string &error);
// Removes the file (a missing one is no failure), the folder synced.
bool removeDurably(const std::string &path, std::string &error);
// After a file was created in it: syncs the folder, so that the new name
// outlives a power cut. Where the system does that by itself, nothing.
void syncFolderOf(const std::string &path);

// An exclusive lock on the file (created for the user alone), which the
// system releases when the process ends, however it ends. False, with the
// reason, when another process holds it.
bool lockOwnFile(const std::string &path, std::intptr_t &handle, std::string &error);
void unlockOwnFile(std::intptr_t handle);

} // namespace wendle

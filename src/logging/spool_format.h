#pragma once

#include "logging/local_time.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace wendle::spool {

// The spool is a header line, then one record a line, each checked by a
// CRC-32 of its own bytes, so that a record torn by a crash or damaged on
// disk is found and never read as another one:
//
//     F <crc> <id> <folder>                 the folder that <id> names from here on
//     L <crc> <id> <yyyy-mm-dd> <line>      a held line, without its CR LF
//     I <crc> <id> <yyyy-mm-dd> <size>      held lines of that day's file are about
//                                           to be written to it, then <size> bytes long
//
// Text fields escape backslashes, CRs and LFs.
inline constexpr std::string_view Header = "wendle held lines 2\n";

struct Record {
    enum class Kind { Folder, Line, Intent };
    Kind kind = Kind::Line;
    std::uint32_t id = 0;
    LocalDate date;
    std::string text;       // the folder, or the line without its CR LF
    std::uint64_t size = 0; // of an intent
};

std::string folderRecord(std::uint32_t id, const std::string &folder);
std::string lineRecord(std::uint32_t id, const LocalDate &date, std::string_view line);
std::string intentRecord(std::uint32_t id, const LocalDate &date, std::uint64_t size);

struct Parsed {
    std::vector<Record> records;         // in order; every line names a folder named before it
    std::vector<std::string> unreadable; // whole records that could not be read
    bool cut = false;                    // the last record was cut short (a crash while writing it)
};

// Reads this format, and the one of the earlier version (a line each, after
// tab-led lines that name the folder and the date of those that follow).
Parsed parse(std::string_view spool);

// Only a date that exists: 2024-02-31 is refused.
bool parseDate(std::string_view text, LocalDate &date);

} // namespace wendle::spool

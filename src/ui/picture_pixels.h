#pragma once

#include <cstddef>
#include <cstdint>

namespace wendle::pixels {

// A square picture as premultiplied ARGB pixels, row by row.
struct StoredPicture {
    int size;
    const std::uint32_t *pixels;
};

// Made at build time from the drawings.
extern const StoredPicture Clock[];
extern const StoredPicture LoggingClock[]; // as many as Clock
extern const StoredPicture PausedClock[];  // as many as Clock
extern const std::size_t ClockCount;
extern const StoredPicture OpenFolder;

} // namespace wendle::pixels

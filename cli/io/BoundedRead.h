// Reads a whole file, or standard input, but never more than a limit: whatever is given, the
// program holds at most limit + 1 bytes of it.
#pragma once

#include <cstddef>
#include <string>

namespace orvel::cli {

struct BoundedRead {
    enum class Status { Read, TooLarge, Unreadable };

    Status status = Status::Unreadable;
    // All of it when Read; the first limit + 1 bytes when TooLarge, so that a reader with a
    // limit of its own sees that it is over.
    std::string bytes;
    std::string reason;  // why not, when Unreadable

    // path "-" is standard input.
    static BoundedRead of(const std::string& path, std::size_t limit);
};

}  // namespace orvel::cli

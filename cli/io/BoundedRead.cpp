#include "cli/io/BoundedRead.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/io/StandardStreams.h"

namespace orvel::cli {

namespace {

constexpr std::size_t kBlock = 64 * 1024;

std::string errorText(int error) {
    return error == 0 ? "read error" : std::strerror(error);
}

BoundedRead readStream(std::FILE* stream, std::size_t limit) {
    BoundedRead read;
    std::string buffer(kBlock, '\0');
    // One byte more than the limit tells a file of exactly the limit from a larger one.
    while (read.bytes.size() <= limit) {
        const std::size_t wanted = std::min(kBlock, limit + 1 - read.bytes.size());
        errno = 0;
        const std::size_t count = std::fread(&buffer[0], 1, wanted, stream);
        read.bytes.append(buffer, 0, count);
        if (count < wanted) {
            if (std::ferror(stream)) {
                read.reason = errorText(errno);
                read.bytes.clear();
                return read;
            }
            break;  // the end
        }
    }
    read.status =
        read.bytes.size() > limit ? BoundedRead::Status::TooLarge : BoundedRead::Status::Read;
    return read;
}

}  // namespace

BoundedRead BoundedRead::of(const std::string& path, std::size_t limit) {
    if (path == "-") {
        useBinary(stdin);
        return readStream(stdin, limit);
    }
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        BoundedRead failed;
        failed.reason = errorText(errno);
        return failed;
    }
    BoundedRead read = readStream(file, limit);
    std::fclose(file);
    return read;
}

}  // namespace orvel::cli

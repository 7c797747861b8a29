// orvel-decode: prints what a captured raw job will make the printer do.
#include <cstdio>
#include <iostream>
#include <string>

#include "printer/JobDecoder.h"

namespace {

constexpr int kDecoded = 0;
constexpr int kBadJob = 1;
constexpr int kUsageOrUnreadable = 2;

const char kUsage[] =
    "usage: orvel-decode [FILE]\n"
    "Reads a raw job from FILE, or from standard input when FILE is absent or -,\n"
    "and prints what the printer will do with it.\n";

// Reads the whole stream; false on a read error (a directory, a vanished file), so that an
// unreadable file is never mistaken for an empty job.
bool readAll(std::FILE* stream, std::string& bytes) {
    char buffer[4096];
    size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, stream)) > 0)
        bytes.append(buffer, count);
    return std::ferror(stream) == 0;
}

bool readJob(const std::string& path, std::string& bytes) {
    if (path == "-")
        return readAll(stdin, bytes);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    const bool read = readAll(file, bytes);
    std::fclose(file);
    return read;
}

int fail(int status, const std::string& message) {
    std::cerr << "orvel-decode: " << message << "\n";
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        fail(kUsageOrUnreadable, "one FILE at most");
        std::cerr << kUsage;
        return kUsageOrUnreadable;
    }
    const std::string path = argc == 2 ? argv[1] : "-";
    if (path == "-h" || path == "--help") {
        std::cout << kUsage;
        return kDecoded;
    }
    std::string job;
    if (!readJob(path, job))
        return fail(kUsageOrUnreadable, "cannot read " + (path == "-" ? "standard input" : path));
    const orvel::DecodeResult result = orvel::decodeJob(job);
    if (!result.ok())
        return fail(kBadJob, result.error);
    for (const std::string& line : result.lines)
        std::cout << line << "\n";
    std::cout.flush();
    return std::cout ? kDecoded : fail(kUsageOrUnreadable, "cannot write the decoding");
}

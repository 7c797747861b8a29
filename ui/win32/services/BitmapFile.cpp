#include "ui/win32/services/BitmapFile.h"

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace orvel::win32 {

namespace {

constexpr size_t kFileHeaderBytes = 14;
// The header sizes that Windows itself writes: the classic one and its two extensions.
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kV4HeaderBytes = 108;
constexpr uint32_t kV5HeaderBytes = 124;

uint16_t read16(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                 static_cast<unsigned char>(bytes[at + 1]) << 8);
}

uint32_t read32(const std::string& bytes, size_t at) {
    return static_cast<uint32_t>(read16(bytes, at)) | static_cast<uint32_t>(read16(bytes, at + 2))
                                                          << 16;
}

// The whole file, or nothing when it is no regular file or larger than the bound (also when it
// grew since it was opened).
std::optional<std::string> readSmallFile(const std::string& path) {
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::optional<std::string> bytes;
    LARGE_INTEGER size{};
    if (GetFileType(file) == FILE_TYPE_DISK && GetFileSizeEx(file, &size) &&
        size.QuadPart <= kMaxBitmapFileBytes) {
        std::string read(static_cast<size_t>(size.QuadPart) + 1, '\0');
        DWORD got = 0;
        if (ReadFile(file, read.data(), static_cast<DWORD>(read.size()), &got, nullptr) &&
            got == static_cast<DWORD>(size.QuadPart)) {
            read.resize(got);
            bytes = std::move(read);
        }
    }
    CloseHandle(file);
    return bytes;
}

bool knownHeader(uint32_t headerBytes) {
    return headerBytes == kInfoHeaderBytes || headerBytes == kV4HeaderBytes ||
           headerBytes == kV5HeaderBytes;
}

// The colour table's entries: the palette of 1, 4 and 8 bits a pixel, the three masks of
// bit fields after a classic header, none otherwise.
std::optional<uint32_t> tableEntries(uint16_t bits, uint32_t compression, uint32_t used,
                                     uint32_t headerBytes) {
    if (compression == BI_BITFIELDS) {
        if (bits != 16 && bits != 32)
            return std::nullopt;
        return headerBytes == kInfoHeaderBytes ? 3u : 0u;
    }
    if (compression != BI_RGB)
        return std::nullopt;
    switch (bits) {
        case 1:
        case 4:
        case 8: {
            const uint32_t most = 1u << bits;
            if (used > most)
                return std::nullopt;
            return used == 0 ? most : used;
        }
        case 16:
        case 24:
        case 32:
            return used <= 256 ? used : std::optional<uint32_t>();
        default:
            return std::nullopt;
    }
}

}  // namespace

HBITMAP bitmapFromBytes(const std::string& bytes, int width, int height) {
    if (bytes.size() < kFileHeaderBytes + kInfoHeaderBytes || bytes[0] != 'B' || bytes[1] != 'M')
        return nullptr;
    const uint32_t pixelsAt = read32(bytes, 10);
    const uint32_t headerBytes = read32(bytes, kFileHeaderBytes);
    if (!knownHeader(headerBytes) || kFileHeaderBytes + headerBytes > bytes.size())
        return nullptr;
    const auto fileWidth = static_cast<int32_t>(read32(bytes, kFileHeaderBytes + 4));
    const auto fileHeight = static_cast<int32_t>(read32(bytes, kFileHeaderBytes + 8));
    const uint16_t planes = read16(bytes, kFileHeaderBytes + 12);
    const uint16_t bits = read16(bytes, kFileHeaderBytes + 14);
    const uint32_t compression = read32(bytes, kFileHeaderBytes + 16);
    const uint32_t used = read32(bytes, kFileHeaderBytes + 32);
    // Bottom-up or top-down, the picture is of the button's size, or it is not taken.
    if (fileWidth != width || (fileHeight != height && fileHeight != -height) || planes != 1)
        return nullptr;
    const std::optional<uint32_t> entries = tableEntries(bits, compression, used, headerBytes);
    if (!entries)
        return nullptr;
    const size_t tableEnd = kFileHeaderBytes + headerBytes + *entries * 4;
    const size_t rowBytes = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    const size_t pixelBytes = rowBytes * static_cast<size_t>(height);
    // The pixels lie whole in the file, after the header and the colour table.
    if (pixelsAt < tableEnd || pixelsAt > bytes.size() || bytes.size() - pixelsAt < pixelBytes)
        return nullptr;

    // The header and its colour table, copied to where the system may read them aligned.
    const size_t infoBytes = tableEnd - kFileHeaderBytes;
    std::vector<uint32_t> info((infoBytes + 3) / 4);
    std::memcpy(info.data(), bytes.data() + kFileHeaderBytes, infoBytes);
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(info.data()),
                                      DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (bitmap == nullptr || pixels == nullptr) {
        if (bitmap != nullptr)
            DeleteObject(bitmap);
        return nullptr;
    }
    std::memcpy(pixels, bytes.data() + pixelsAt, pixelBytes);
    GdiFlush();
    return bitmap;
}

HBITMAP loadBitmapFile(const std::string& path, int width, int height) {
    const std::optional<std::string> bytes = readSmallFile(path);
    if (!bytes)
        return nullptr;
    return bitmapFromBytes(*bytes, width, height);
}

}  // namespace orvel::win32

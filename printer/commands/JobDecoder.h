// Reads a captured raw job back into words: what the printer will do with it. It decodes with
// the very tables the encoder writes from, so the two cannot drift apart.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "printer/job/Spooler.h"
#include "settings/FlagSettings.h"
#include "settings/SettingsTable.h"

namespace orvel {

// The largest job the decoder reads: the features page, the longest job, is about 1 KiB. A reader
// stops at one byte more and gives what it read to decodeJob, which reports it as too large.
constexpr std::size_t kMaxJobBytes = 1024 * 1024;

// Either the decoding, line by line, or a one-line error. The decoding of a settings job is a
// profile: its nineteen "Caption: Choice" lines between comment lines.
struct DecodeResult {
    std::vector<std::string> lines;
    std::string error;

    bool ok() const { return error.empty(); }
};

// Either the nineteen selections that encode to the block, or a one-line error.
struct BlockDecodeResult {
    Selections selections{};
    std::string error;

    bool ok() const { return error.empty(); }
};

// The selections a block stores. Strict: every bit of every value must belong to a setting and
// every setting must find exactly one choice that encodes what the block holds.
BlockDecodeResult decodeSettingsBlock(const FlagSettings& block);

// A whole job: the restore-defaults command, the store-settings command with its block, or a
// page of text and control sequences. Anything else, a job larger than kMaxJobBytes included, is
// an error, never a guess.
DecodeResult decodeJob(const Bytes& job);

}  // namespace orvel

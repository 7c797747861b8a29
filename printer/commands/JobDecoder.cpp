#include "printer/commands/JobDecoder.h"

#include <cstdio>
#include <utility>

#include "printer/commands/EscP.h"
#include "printer/commands/mdlFlagSettings.h"
#include "settings/Profile.h"
#include "settings/mdlFlagSettings.h"

namespace orvel {

namespace {

constexpr int kWholeByte = 0xFF;

// The lines around the nineteen settings are comments, so that the decoding of a settings job is
// itself a profile that stores the same settings.
const char kStoreHeading[] = "# store permanent settings:";
const char kModelNote[] =
    "# The block does not carry the model (Domestic or Export): a model acts only through its "
    "preset of Page Length and Interface.";

DecodeResult decodeError(std::string message) {
    return {{}, std::move(message)};
}

std::string hex(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

int byteAt(const Bytes& bytes, size_t position) {
    return static_cast<unsigned char>(bytes[position]);
}

// --- The settings block -------------------------------------------------------------------

// The bits of a value that some setting fills; the rest must stay clear.
int coveredBits(int valueIndex) {
    int bits = 0;
    for (const BlockField& field : blockFields()) {
        if (field.valueIndex == valueIndex)
            bits |= field.mask;
    }
    return bits;
}

std::string checkValueBits(const FlagSettings& block) {
    for (int i = 0; i < FlagSettings::kSize; ++i) {
        const int value = block.values[i];
        if (value < 0 || value > kWholeByte)
            return "value " + std::to_string(i) + " is " + std::to_string(value) + ", not a byte";
        const int stray = value & ~coveredBits(i);
        if (stray != 0)
            return "value " + std::to_string(i) + " has bits " + hex(stray) +
                   " that no setting uses";
    }
    return {};
}

bool choiceMatches(Setting setting, int choice, const FlagSettings& block) {
    for (const BlockField& field : blockFields()) {
        if (field.setting == setting &&
            (block.values[field.valueIndex] & field.mask) != field.codes[choice])
            return false;
    }
    return true;
}

// "value 0 = 9", or "value 1 bits 0xC0 = 64" where the setting owns only part of the value.
std::string describeFields(Setting setting, const FlagSettings& block) {
    std::string text;
    for (const BlockField& field : blockFields()) {
        if (field.setting != setting)
            continue;
        if (!text.empty())
            text += " and ";
        text += "value " + std::to_string(field.valueIndex);
        if (field.mask != kWholeByte)
            text += " bits " + hex(field.mask);
        text += " = " + std::to_string(block.values[field.valueIndex] & field.mask);
    }
    return text;
}

std::vector<int> matchingChoices(const SettingInfo& info, const FlagSettings& block) {
    std::vector<int> choices;
    for (int c = 0; c < static_cast<int>(info.choices.size()); ++c) {
        if (choiceMatches(info.id, c, block))
            choices.push_back(c);
    }
    return choices;
}

// --- Control sequences and pages ----------------------------------------------------------

const escp::ControlSequence* knownSequence(int command) {
    for (const escp::ControlSequence& known : escp::controlSequences()) {
        if (static_cast<unsigned char>(known.command) == command)
            return &known;
    }
    return nullptr;
}

// Reads the control sequence that starts at position: its token ("<ESC k 3>") and its length,
// or an error.
struct SequenceRead {
    const escp::ControlSequence* sequence = nullptr;
    std::string token;
    size_t length = 0;
    std::string error;
};

SequenceRead readSequence(const Bytes& bytes, size_t position) {
    SequenceRead read;
    const std::string at = " at byte " + std::to_string(position);
    if (position + 1 >= bytes.size()) {
        read.error = "truncated control sequence" + at + ": ESC without a command";
        return read;
    }
    const int command = byteAt(bytes, position + 1);
    read.sequence = knownSequence(command);
    if (read.sequence == nullptr) {
        read.error = "unknown control sequence ESC " + hex(command) + at;
        return read;
    }
    const size_t parameters = static_cast<size_t>(read.sequence->parameterCount);
    if (position + 2 + parameters > bytes.size()) {
        read.error = std::string("truncated control sequence ") + read.sequence->mnemonic + at +
                     ": " + std::to_string(parameters) + " parameter(s) expected";
        return read;
    }
    read.token = std::string("<") + read.sequence->mnemonic;
    for (size_t p = 0; p < parameters; ++p)
        read.token += " " + std::to_string(byteAt(bytes, position + 2 + p));
    read.token += ">";
    read.length = 2 + parameters;
    return read;
}

bool isLineEnd(const Bytes& bytes, size_t position) {
    return bytes.compare(position, 2, escp::kLineEnd) == 0;
}

std::string byteToken(int byte) {
    if (byte == escp::kTab)
        return "<TAB>";
    const bool printable = byte >= 0x20 && byte < 0x7F;
    return printable ? std::string(1, static_cast<char>(byte)) : "<" + hex(byte) + ">";
}

DecodeResult decodePage(const Bytes& page) {
    DecodeResult result;
    result.lines.push_back("print an ESC/P page:");
    std::string line;
    size_t position = 0;
    while (position < page.size()) {
        if (isLineEnd(page, position)) {
            result.lines.push_back(line);
            line.clear();
            position += 2;
        } else if (page[position] == escp::kEsc) {
            const SequenceRead read = readSequence(page, position);
            if (!read.error.empty())
                return decodeError(read.error);
            // The permanent settings command is a job of its own; inside a page the printer
            // would take the following bytes as a settings block.
            if (read.sequence->command == escp::kPermanentSettings)
                return decodeError("settings command ESC EM inside a page at byte " +
                                   std::to_string(position));
            line += read.token;
            position += read.length;
        } else {
            line += byteToken(byteAt(page, position));
            ++position;
        }
    }
    if (!line.empty())
        result.lines.push_back(line);
    return result;
}

// --- The permanent settings commands ------------------------------------------------------

// The download's own command bytes, so that the decoder knows them exactly as they are sent.
Bytes restoreCommand() {
    return mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kRestoreDefaults, nullptr);
}

Bytes storePrefix() {
    const FlagSettings empty;
    const Bytes command =
        mdlFlagSettings::fncDownloadCommand(mdlFlagSettings::kApplySettings, &empty);
    return command.substr(0, command.size() - FlagSettings::kSize);
}

DecodeResult decodeStoredSettings(const Bytes& job, size_t prefixLength) {
    const size_t blockBytes = job.size() - prefixLength;
    if (blockBytes != FlagSettings::kSize)
        return decodeError("settings command with " + std::to_string(blockBytes) +
                           " block bytes, expected " + std::to_string(FlagSettings::kSize));
    FlagSettings block;
    for (int i = 0; i < FlagSettings::kSize; ++i)
        block.values[i] = static_cast<std::int16_t>(byteAt(job, prefixLength + i));
    const BlockDecodeResult decoded = decodeSettingsBlock(block);
    if (!decoded.ok())
        return decodeError(decoded.error);
    DecodeResult result;
    result.lines.push_back(kStoreHeading);
    for (const std::string& line : profileLines(decoded.selections))
        result.lines.push_back(line);
    result.lines.push_back(kModelNote);
    return result;
}

DecodeResult decodePermanentSettings(const Bytes& job) {
    const SequenceRead read = readSequence(job, 0);
    if (!read.error.empty())
        return decodeError(read.error);
    const Bytes command = job.substr(0, read.length);
    if (command == restoreCommand()) {
        if (job.size() != command.size())
            return decodeError("restore command with " +
                               std::to_string(job.size() - command.size()) +
                               " byte(s) after it, expected none");
        return {{"restore factory settings"}, {}};
    }
    if (command == storePrefix())
        return decodeStoredSettings(job, command.size());
    return decodeError("unknown permanent settings command " +
                       read.token.substr(1, read.token.size() - 2));
}

std::string tooLargeError() {
    return "too large: more than " + std::to_string(kMaxJobBytes) +
           " bytes, no job for this printer is near that";
}

}  // namespace

BlockDecodeResult decodeSettingsBlock(const FlagSettings& block) {
    BlockDecodeResult result;
    result.error = checkValueBits(block);
    if (!result.ok())
        return result;
    for (const SettingInfo& info : settingsTable()) {
        const std::vector<int> choices = matchingChoices(info, block);
        if (choices.size() != 1) {
            result.error =
                info.caption + ": " +
                (choices.empty() ? "no choice encodes " : "more than one choice encodes ") +
                describeFields(info.id, block);
            return result;
        }
        result.selections[index(info.id)] = choices.front();
    }
    return result;
}

DecodeResult decodeJob(const Bytes& job) {
    if (job.size() > kMaxJobBytes)
        return decodeError(tooLargeError());
    if (job.empty())
        return decodeError("empty input");
    if (job[0] != escp::kEsc)
        return decodeError("not a job for this printer: it starts with " + hex(byteAt(job, 0)) +
                           ", not with ESC");
    if (job.size() >= 2 && job[1] == escp::kPermanentSettings)
        return decodePermanentSettings(job);
    return decodePage(job);
}

}  // namespace orvel

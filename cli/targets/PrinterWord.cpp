#include "cli/targets/PrinterWord.h"

#include "cli/command/PrinterNames.h"

namespace orvel::cli {

namespace {

constexpr int kIppPort = 631;

struct UriParts {
    std::string scheme;
    std::string host;  // as written, brackets of an IPv6 address included
    int port = kIppPort;
    std::string resource;
};

bool startsWith(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

bool hostCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
}

// ipp://HOST[:PORT]/RESOURCE or ipps://...; the reason it is not one otherwise.
std::optional<UriParts> splitUri(const std::string& word, std::string& problem) {
    UriParts parts;
    parts.scheme = startsWith(word, "ipps://") ? "ipps" : "ipp";
    const std::string rest = word.substr(parts.scheme.size() + 3);
    const std::size_t slash = rest.find('/');
    const std::string authority = rest.substr(0, slash);
    parts.resource = slash == std::string::npos ? "" : rest.substr(slash);
    std::size_t hostEnd = 0;
    if (!authority.empty() && authority[0] == '[') {
        hostEnd = authority.find(']');
        if (hostEnd == std::string::npos ||
            authority.find_first_not_of("0123456789abcdefABCDEF:.", 1) != hostEnd) {
            problem = "not a host in the printer URI";
            return std::nullopt;
        }
        ++hostEnd;
    } else {
        while (hostEnd < authority.size() && hostCharacter(authority[hostEnd]))
            ++hostEnd;
        if (hostEnd == 0) {
            problem = "no host in the printer URI";
            return std::nullopt;
        }
    }
    parts.host = authority.substr(0, hostEnd);
    const std::string afterHost = authority.substr(hostEnd);
    if (!afterHost.empty()) {
        const std::string digits = afterHost.substr(1);
        if (afterHost[0] != ':' || digits.empty() || digits.size() > 5 ||
            digits.find_first_not_of("0123456789") != std::string::npos || std::stoi(digits) < 1 ||
            std::stoi(digits) > 65535) {
            problem = "not a port in the printer URI";
            return std::nullopt;
        }
        parts.port = std::stoi(digits);
    }
    if (parts.resource.size() < 2) {
        problem = "no printer in the printer URI";
        return std::nullopt;
    }
    for (const char c : parts.resource) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte >= 0x7F || std::string("?#\\'\"").find(c) != std::string::npos) {
            problem = "a character that the printer URI's path cannot hold";
            return std::nullopt;
        }
    }
    return parts;
}

// /printers/NAME and /classes/NAME are CUPS queues; the name, or empty for another resource.
std::string queueInResource(const std::string& resource, std::string& prefix) {
    for (const char* folder : {"/printers/", "/classes/"}) {
        if (startsWith(resource, folder) && resource.size() > std::string(folder).size() &&
            resource.find('/', std::string(folder).size()) == std::string::npos) {
            prefix = folder;
            return resource.substr(prefix.size());
        }
    }
    return {};
}

PrinterWord readUri(const std::string& word) {
    PrinterWord read;
    read.given = word;
    read.kind = PrinterWord::Kind::Uri;
    const std::optional<UriParts> parts = splitUri(word, read.problem);
    if (!parts)
        return read;
    SchedulerChoice scheduler;
    scheduler.server = parts->host + ":" + std::to_string(parts->port);
    scheduler.encryptFromStart = parts->scheme == "ipps";
    read.scheduler = scheduler;
    std::string folder;
    const std::string queue = queueInResource(parts->resource, folder);
    const std::string schedulerKey = parts->scheme + "://" + foldedPrinterName(*scheduler.server);
    read.identity = schedulerKey + (queue.empty() ? parts->resource : "/printers/" + queue);
    read.identity = foldedPrinterName(read.identity);
    if (isPattern(parts->resource)) {
        if (queue.empty()) {
            read.problem =
                "a pattern in a printer URI goes in a queue's name only "
                "(/printers/PATTERN)";
            return read;
        }
        read.kind = PrinterWord::Kind::Pattern;
        read.pattern = queue;
        read.matchPrefix = word.substr(0, word.size() - queue.size());
    }
    return read;
}

// Matches pattern[p...] against name[n...].
bool matchFrom(const std::string& pattern, std::size_t p, const std::string& name, std::size_t n) {
    while (p < pattern.size()) {
        const char wanted = pattern[p];
        if (wanted == '*') {
            for (std::size_t rest = n; rest <= name.size(); ++rest) {
                if (matchFrom(pattern, p + 1, name, rest))
                    return true;
            }
            return false;
        }
        if (n >= name.size())
            return false;
        if (wanted == '[') {
            std::size_t close = pattern.find(']', p + 2);
            if (close != std::string::npos) {
                std::size_t at = p + 1;
                const bool negated = pattern[at] == '!' || pattern[at] == '^';
                if (negated)
                    ++at;
                bool inSet = false;
                for (; at < close; ++at) {
                    if (at + 2 < close && pattern[at + 1] == '-') {
                        inSet = inSet || (pattern[at] <= name[n] && name[n] <= pattern[at + 2]);
                        at += 2;
                    } else {
                        inSet = inSet || pattern[at] == name[n];
                    }
                }
                if (inSet == negated)
                    return false;
                p = close + 1;
                ++n;
                continue;
            }
        }
        if (wanted != '?' && wanted != name[n])
            return false;
        ++p;
        ++n;
    }
    return n == name.size();
}

}  // namespace

bool isPattern(const std::string& word) {
    return word.find_first_of("*?[") != std::string::npos;
}

bool matchesPattern(const std::string& pattern, const std::string& name) {
    return matchFrom(foldedPrinterName(pattern), 0, foldedPrinterName(name), 0);
}

PrinterWord readPrinterWord(const std::string& word, bool instances) {
    if (startsWith(word, "ipp://") || startsWith(word, "ipps://"))
        return readUri(word);
    PrinterWord read;
    read.given = word;
    if (isPattern(word)) {
        read.kind = PrinterWord::Kind::Pattern;
        read.pattern = word;
        return read;
    }
    read.identity = foldedPrinterName(instances ? word.substr(0, word.find('/')) : word);
    return read;
}

}  // namespace orvel::cli

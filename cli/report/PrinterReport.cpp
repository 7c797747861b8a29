#include "cli/report/PrinterReport.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "cli/io/Printable.h"

namespace orvel::cli {

namespace {

// The length of the UTF-8 sequence that starts at text[at], or 0 when none does.
std::size_t utf8Length(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    }
    return length;
}

}  // namespace

std::string jsonString(const std::string& text) {
    std::string json = "\"";
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte == '"' || byte == '\\') {
            json += '\\';
            json += text[at++];
        } else if (byte < 0x20 || byte == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            json += escaped;
            ++at;
        } else if (byte < 0x80) {
            json += text[at++];
        } else if (const std::size_t length = utf8Length(text, at)) {
            json += text.substr(at, length);
            at += length;
        } else {
            json += "\\ufffd";
            ++at;
        }
    }
    return json + "\"";
}

std::string utcNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm parts{};
#ifdef _WIN32
    // The Windows C library keeps gmtime's answer per thread.
    parts = *std::gmtime(&now);
#else
    gmtime_r(&now, &parts);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

std::string textLine(const PrinterReport& report) {
    std::string line = printable(report.label) + ": " + resultWords(report.result);
    if (report.result == PrinterResult::Sent && report.jobId > 0)
        line += ": job " + std::to_string(report.jobId);
    if (report.result == PrinterResult::Sent && report.jobState)
        line += ", " + jobStateWords(*report.jobState);
    return line;
}

std::string jsonLine(const PrinterReport& report) {
    const bool sent = report.result == PrinterResult::Sent;
    std::string line =
        "{\"printer\":" + jsonString(report.label) + ",\"result\":\"" +
        (sent ? "sent" : "not sent") + "\",\"reason\":\"" + resultKeyword(report.result) +
        "\",\"job\":" + (report.jobId > 0 ? std::to_string(report.jobId) : "null") +
        ",\"job_state\":" +
        (sent && report.jobState ? jsonString(jobStateWords(*report.jobState)) : "null") +
        ",\"message\":[";
    for (std::size_t i = 0; i < report.message.size(); ++i)
        line += (i > 0 ? "," : "") + jsonString(report.message[i]);
    return line + "],\"time\":" + jsonString(report.time) + "}";
}

bool succeeded(const PrinterReport& report, bool waited) {
    if (report.result != PrinterResult::Sent)
        return false;
    return !waited || report.jobState == JobState::Completed;
}

}  // namespace orvel::cli

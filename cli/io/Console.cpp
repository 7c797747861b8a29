#include "cli/io/Console.h"

namespace orvel::cli {

Console::Console(std::ostream& out, std::ostream& err, bool errorsOnTerminal)
    : out_(out), err_(err), errorsOnTerminal_(errorsOnTerminal) {}

void Console::result(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    // On a terminal both streams may share a screen line with the progress count.
    clearProgress();
    out_ << line << '\n';
    out_.flush();
    if (!progress_.empty()) {
        err_ << progress_ << std::flush;
        progressWidth_ = progress_.size();
    }
}

void Console::message(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    clearProgress();
    err_ << line << '\n';
    if (!progress_.empty()) {
        err_ << progress_;
        progressWidth_ = progress_.size();
    }
    err_.flush();
}

void Console::progress(std::size_t done, std::size_t total) {
    if (!errorsOnTerminal_)
        return;
    std::lock_guard<std::mutex> lock(mutex_);
    clearProgress();
    progress_ = std::to_string(done) + " of " + std::to_string(total) + " printers done";
    err_ << progress_ << std::flush;
    progressWidth_ = progress_.size();
}

void Console::endProgress() {
    std::lock_guard<std::mutex> lock(mutex_);
    clearProgress();
    progress_.clear();
    err_.flush();
}

// Blanks rather than a terminal control sequence: works on every console.
void Console::clearProgress() {
    if (progressWidth_ == 0)
        return;
    err_ << '\r' << std::string(progressWidth_, ' ') << '\r';
    progressWidth_ = 0;
}

}  // namespace orvel::cli

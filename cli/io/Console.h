// The program's two output streams, shared by the threads that serve the printers: result lines on
// standard output, messages and the progress count on standard error, each line written whole.
#pragma once

#include <cstddef>
#include <mutex>
#include <ostream>
#include <string>

namespace orvel::cli {

class Console {
public:
    // The progress count is shown only when errors go to a terminal: in a log it is noise.
    Console(std::ostream& out, std::ostream& err, bool errorsOnTerminal);

    void result(const std::string& line);
    void message(const std::string& line);
    // "12 of 30 printers done", redrawn in place.
    void progress(std::size_t done, std::size_t total);
    void endProgress();

private:
    void clearProgress();

    std::mutex mutex_;
    std::ostream& out_;
    std::ostream& err_;
    bool errorsOnTerminal_;
    std::size_t progressWidth_ = 0;  // what the progress line covers now; 0 when none is shown
    std::string progress_;
};

}  // namespace orvel::cli

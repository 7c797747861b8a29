#include "EscPPixels.h"

namespace orvel::testing {
namespace {

struct Reader {
    const std::string& bytes;
    std::size_t at = 0;
    bool more() const { return at < bytes.size(); }
    int next() { return at < bytes.size() ? static_cast<unsigned char>(bytes[at++]) : -1; }
    // Low byte first. Two reads in one expression would come in no fixed order.
    int nextNumber() {
        const int low = next();
        const int high = next();
        return low | (high << 8);
    }
};

void setDot(DotPage& page, int x, int y) {
    if (static_cast<int>(page.dots.size()) <= y)
        page.dots.resize(y + 1);
    auto& row = page.dots[y];
    if (static_cast<int>(row.size()) <= x)
        row.resize(x + 1, 0);
    row[x] = 1;
}

}  // namespace

DotJob decodeDots(const std::string& bytes) {
    DotJob job;
    Reader in{bytes};
    DotPage page;
    bool pageHasContent = false;
    int x = 0, y = 0, unit = 0;
    while (in.more() && job.error.empty()) {
        const std::size_t where = in.at;
        const int c = in.next();
        if (c == 0x0D) {
            x = 0;
        } else if (c == 0x0C) {
            job.pages.push_back(page);
            page = DotPage();
            pageHasContent = false;
            x = y = 0;
        } else if (c == 0x1B) {
            const int command = in.next();
            if (command == '@') {
                if (where == 0)
                    job.reset = true;
            } else if (command == 'J') {
                const int n = in.next();
                job.feeds.push_back(n);
                y += n;
            } else if (command == '(') {
                const int what = in.next();
                const int count = in.nextNumber();
                std::vector<int> args;
                for (int i = 0; i < count; ++i)
                    args.push_back(in.next());
                if (what == 'U' && count == 1) {
                    unit = args[0];
                } else if (what == 'C' && count == 2 && unit == 10) {
                    page.lengthIn360ths = args[0] | (args[1] << 8);
                } else {
                    job.error = "ESC ( " + std::string(1, char(what)) + " unreadable at " +
                                std::to_string(where);
                }
            } else if (command == '*') {
                const int mode = in.next();
                const int columns = in.nextNumber();
                if (mode != 39 || in.at + columns * 3 > bytes.size()) {
                    job.error = "ESC * unreadable at " + std::to_string(where);
                    break;
                }
                for (int column = 0; column < columns; ++column, ++x) {
                    for (int b = 0; b < 3; ++b) {
                        const int byte = in.next();
                        for (int bit = 0; bit < 8; ++bit) {
                            if (byte & (0x80 >> bit))
                                setDot(page, x, y + b * 8 + bit);
                        }
                    }
                }
                pageHasContent = true;
            } else {
                job.error =
                    "unknown ESC " + std::to_string(command) + " at " + std::to_string(where);
            }
        } else {
            job.error = "unexpected byte " + std::to_string(c) + " at " + std::to_string(where);
        }
    }
    if (pageHasContent && job.error.empty())
        job.error = "the last page has no form feed";
    return job;
}

}  // namespace orvel::testing

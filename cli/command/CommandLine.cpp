#include "cli/command/CommandLine.h"

#include <algorithm>
#include <optional>
#include "cli/command/PrinterNames.h"

namespace orvel::cli {

namespace {

// Which words each command takes.
struct CommandSpec {
    const char* name;
    Command command;
    const char* operand;  // what its one operand is called; nullptr: it takes none
    bool printers;        // -d
    bool server;          // -h
    bool output;          // -o
};

const std::vector<CommandSpec>& commandSpecs() {
    static const std::vector<CommandSpec> specs = {
        {"show", Command::Show, "PROFILE", false, false, false},
        {"apply", Command::Apply, "PROFILE", true, true, true},
        {"restore", Command::Restore, nullptr, true, true, true},
        {"features-page", Command::FeaturesPage, nullptr, true, true, true},
        {"decode", Command::Decode, "FILE", false, false, false},
        {"printers", Command::Printers, nullptr, false, true, false},
    };
    return specs;
}

const CommandSpec* specNamed(const std::string& name) {
    for (const CommandSpec& spec : commandSpecs()) {
        if (name == spec.name)
            return &spec;
    }
    return nullptr;
}

std::string quoted(const std::string& word) {
    return "\"" + word + "\"";
}

// Why a printer or server name cannot be one; empty when it can.
std::string nameProblem(const std::string& what, const std::string& name) {
    if (name.empty())
        return "empty " + what + " name";
    if (name.size() > kMaxNameBytes)
        return what + " name longer than " + std::to_string(kMaxNameBytes) + " bytes";
    for (char c : name) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return "a control character in the " + what + " name";
    }
    return {};
}

class Reader {
public:
    explicit Reader(const std::vector<std::string>& arguments) : arguments_(arguments) {}

    CommandLineReading read() {
        if (const auto early = helpOrVersion())
            return {{*early, {}, {}, {}, {}}, {}};
        if (arguments_.empty())
            return failed("no command given");
        spec_ = specNamed(arguments_[0]);
        if (spec_ == nullptr)
            return failed("unknown command " + quoted(arguments_[0]));
        reading_.invocation.command = spec_->command;
        for (position_ = 1; position_ < arguments_.size() && reading_.ok(); ++position_)
            readWord(arguments_[position_]);
        if (reading_.ok())
            checkCombination();
        return reading_;
    }

private:
    // --help and --version win wherever they stand before "--".
    std::optional<Command> helpOrVersion() const {
        for (const std::string& word : arguments_) {
            if (word == "--")
                break;
            if (word == "--help")
                return Command::Help;
            if (word == "--version")
                return Command::Version;
        }
        return std::nullopt;
    }

    CommandLineReading failed(const std::string& error) {
        reading_.error = error;
        return reading_;
    }

    void fail(const std::string& error) {
        if (reading_.ok())
            reading_.error = error;
    }

    void readWord(const std::string& word) {
        if (operandsOnly_ || word == "-" || word.empty() || word[0] != '-') {
            readOperand(word);
        } else if (word == "--") {
            operandsOnly_ = true;
        } else if (word.size() >= 2 && (word[1] == 'd' || word[1] == 'h' || word[1] == 'o')) {
            readOption(word[1],
                       word.size() > 2 ? std::optional<std::string>(word.substr(2)) : nextWord());
        } else {
            fail("unknown option " + quoted(word));
        }
    }

    std::optional<std::string> nextWord() {
        if (position_ + 1 >= arguments_.size())
            return std::nullopt;
        return arguments_[++position_];
    }

    void readOperand(const std::string& word) {
        if (spec_->operand == nullptr)
            return fail(std::string(spec_->name) + " takes no file: " + quoted(word));
        if (reading_.invocation.file)
            return fail(std::string(spec_->name) + " takes one " + spec_->operand +
                        " at most: " + quoted(word));
        reading_.invocation.file = word;
    }

    void readOption(char letter, const std::optional<std::string>& value) {
        const std::string option = std::string("-") + letter;
        const bool allowed = letter == 'd'   ? spec_->printers
                             : letter == 'h' ? spec_->server
                                             : spec_->output;
        if (!allowed)
            return fail(option + " does not go with " + spec_->name);
        if (!value)
            return fail(option + (letter == 'd'   ? " needs a printer name"
                                  : letter == 'h' ? " needs a server"
                                                  : " needs a file"));
        Invocation& invocation = reading_.invocation;
        if (letter == 'd') {
            invocation.printers.push_back(*value);
        } else if (letter == 'h') {
            if (invocation.server)
                return fail("-h given twice");
            invocation.server = *value;
        } else {
            if (invocation.output)
                return fail("-o given twice");
            if (value->empty())
                return fail("-o needs a file");
            invocation.output = *value;
        }
    }

    void checkCombination() {
        const Invocation& invocation = reading_.invocation;
        if (invocation.output && !invocation.printers.empty())
            return fail("-o writes the job instead of sending it: it does not go with -d");
        if (invocation.output && invocation.server)
            return fail("-o writes the job instead of sending it: it does not go with -h");
        if (invocation.server) {
            const std::string problem = nameProblem("server", *invocation.server);
            if (!problem.empty())
                return fail(problem);
        }
        std::vector<std::string> seen;
        for (const std::string& printer : invocation.printers) {
            const std::string problem = nameProblem("printer", printer);
            if (!problem.empty())
                return fail(problem);
            const std::string folded = foldedPrinterName(printer);
            if (std::find(seen.begin(), seen.end(), folded) != seen.end())
                return fail("printer " + quoted(printer) + " named twice");
            seen.push_back(folded);
        }
    }

    const std::vector<std::string>& arguments_;
    const CommandSpec* spec_ = nullptr;
    std::size_t position_ = 0;
    bool operandsOnly_ = false;
    CommandLineReading reading_;
};

}  // namespace

CommandLineReading CommandLine::read(const std::vector<std::string>& arguments) {
    return Reader(arguments).read();
}

}  // namespace orvel::cli

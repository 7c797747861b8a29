#include "cli/command/CommandLine.h"

#include <optional>

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
    bool sends;           // --json, --wait: it sends a job to printers
};

const std::vector<CommandSpec>& commandSpecs() {
    static const std::vector<CommandSpec> specs = {
        {"show", Command::Show, "PROFILE", false, false, false, false},
        {"apply", Command::Apply, "PROFILE", true, true, true, true},
        {"restore", Command::Restore, nullptr, true, true, true, true},
        {"features-page", Command::FeaturesPage, nullptr, true, true, true, true},
        {"decode", Command::Decode, "FILE", false, false, false, false},
        {"printers", Command::Printers, nullptr, false, true, false, false},
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
            return {{*early, {}, {}, {}, {}, false, {}, false, {}}, {}};
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
        } else if (word == "--json" || word == "--wait" || word.rfind("--wait=", 0) == 0) {
            readSendOption(word);
        } else if (word == "-E") {
            readEncrypt();
        } else if (word.size() >= 2 && std::string("dhoU").find(word[1]) != std::string::npos) {
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

    // --json, --wait and --wait=SECONDS.
    void readSendOption(const std::string& word) {
        const std::string option = word.substr(0, word.find('='));
        if (!spec_->sends)
            return fail(option + " does not go with " + spec_->name);
        Invocation& invocation = reading_.invocation;
        if (option == "--json") {
            if (invocation.json)
                return fail("--json given twice");
            invocation.json = true;
            return;
        }
        if (invocation.waitSeconds)
            return fail("--wait given twice");
        if (word == option) {
            invocation.waitSeconds = kDefaultWaitSeconds;
            return;
        }
        const std::string seconds = word.substr(option.size() + 1);
        const bool digits = !seconds.empty() && seconds.size() <= 4 &&
                            seconds.find_first_not_of("0123456789") == std::string::npos;
        const int value = digits ? std::stoi(seconds) : 0;
        if (value < 1 || value > kMaxWaitSeconds)
            return fail("--wait takes 1 to " + std::to_string(kMaxWaitSeconds) +
                        " seconds: " + quoted(word));
        invocation.waitSeconds = value;
    }

    // -E, as lp has it: the connections to the scheduler are encrypted.
    void readEncrypt() {
        if (!spec_->server)
            return fail(std::string("-E does not go with ") + spec_->name);
        if (reading_.invocation.encrypt)
            return fail("-E given twice");
        reading_.invocation.encrypt = true;
    }

    void readOption(char letter, const std::optional<std::string>& value) {
        const std::string option = std::string("-") + letter;
        const bool allowed = letter == 'd'   ? spec_->printers
                             : letter == 'o' ? spec_->output
                                             : spec_->server;
        if (!allowed)
            return fail(option + " does not go with " + spec_->name);
        if (!value)
            return fail(option + (letter == 'd'   ? " needs a printer name"
                                  : letter == 'h' ? " needs a server"
                                  : letter == 'U' ? " needs a user name"
                                                  : " needs a file"));
        Invocation& invocation = reading_.invocation;
        if (letter == 'U') {
            if (invocation.user)
                return fail("-U given twice");
            invocation.user = *value;
        } else if (letter == 'd') {
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
        if (invocation.output) {
            const std::vector<std::pair<bool, const char*>> sending = {
                {!invocation.printers.empty(), "-d"},
                {invocation.server.has_value(), "-h"},
                {invocation.encrypt, "-E"},
                {invocation.user.has_value(), "-U"},
                {invocation.json, "--json"},
                {invocation.waitSeconds.has_value(), "--wait"}};
            for (const auto& [given, option] : sending) {
                if (given)
                    return fail(std::string("-o writes the job instead of sending it: it does "
                                            "not go with ") +
                                option);
            }
        }
        if (invocation.server) {
            const std::string problem = nameProblem("server", *invocation.server);
            if (!problem.empty())
                return fail(problem);
        }
        if (invocation.user) {
            const std::string problem = nameProblem("user", *invocation.user);
            if (!problem.empty())
                return fail(problem);
        }
        // Printers named twice are found once the names are known for what they are.
        for (const std::string& printer : invocation.printers) {
            const std::string problem = nameProblem("printer", printer);
            if (!problem.empty())
                return fail(problem);
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

#include "cli/cli_options.h"

#include <algorithm>
#include <cstdio>

namespace Yomibon::Cli {
namespace {

// Words of a usage line, with brackets as words of their own.
std::vector<std::string> UsageWords(std::string_view usage) {
    std::vector<std::string> words;
    std::string word;
    auto flush = [&] {
        if (!word.empty()) words.push_back(word);
        word.clear();
    };
    for (char c : usage) {
        if (c == ' ' || c == '[' || c == ']') {
            flush();
            if (c != ' ') words.emplace_back(1, c);
        } else {
            word += c;
        }
    }
    flush();
    return words;
}

bool IsOptionWord(const std::string& word) {
    return word.size() > 1 && word[0] == '-';
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

CheckedArgs Refuse(std::string message) {
    CheckedArgs checked;
    checked.verdict = CheckedArgs::Refused;
    checked.message = std::move(message);
    return checked;
}

}  // namespace

CommandOptions OptionsFromUsage(std::string_view usage) {
    CommandOptions accepted;
    const std::vector<std::string> words = UsageWords(usage);
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "[" || w == "]" || w == "|" || w == "...") continue;
        if (!IsOptionWord(w)) {
            // "WORDS..." takes any number of arguments.
            const bool many = w.size() > 3 && w.ends_with("...");
            if (many)
                accepted.arguments = kAnyNumber;
            else if (accepted.arguments != kAnyNumber)
                ++accepted.arguments;
            continue;
        }
        const bool valued = i + 1 < words.size() && !IsOptionWord(words[i + 1]) &&
                            words[i + 1] != "|" && words[i + 1] != "]" && words[i + 1] != "[";
        (valued ? accepted.valueOptions : accepted.flags).push_back(w);
        if (valued) ++i;
    }
    return accepted;
}

CheckedArgs CheckArgs(const Args& args, const CommandOptions& accepted) {
    CheckedArgs checked;
    size_t arguments = 0;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (!IsOptionWord(arg)) {
            if (++arguments > accepted.arguments)
                return Refuse("unexpected argument '" + arg + "'");
            checked.args.push_back(arg);
            continue;
        }
        std::string inlineValue;
        const size_t equals = arg.find('=');
        const bool hasInline = arg.rfind("--", 0) == 0 && equals != std::string::npos;
        if (hasInline) {
            inlineValue = arg.substr(equals + 1);
            arg.resize(equals);
        }
        if (arg == "--help" || arg == "-h") return {CheckedArgs::Help, {}, {}};
        if (arg == "--version") return {CheckedArgs::Version, {}, {}};
        if (Contains(accepted.flags, arg)) {
            if (hasInline) return Refuse("option '" + arg + "' takes no value");
            checked.args.push_back(arg);
        } else if (Contains(accepted.valueOptions, arg)) {
            if (!hasInline && i + 1 >= args.size())
                return Refuse("option '" + arg + "' needs a value");
            checked.args.push_back(arg);
            checked.args.push_back(hasInline ? inlineValue : args[++i]);
        } else {
            return Refuse("unknown option '" + arg + "'");
        }
    }
    return checked;
}

int RunCommand(const Command& command, const Args& args) {
    const CheckedArgs checked = CheckArgs(args, OptionsFromUsage(command.usage));
    switch (checked.verdict) {
        case CheckedArgs::Help:
            std::printf("usage: yomibon-cli %s %s\n", command.name, command.usage);
            std::printf("See yomibon-cli(1) for what each option does.\n");
            return 0;
        case CheckedArgs::Version:
            std::printf("yomibon-cli %s\n", YOMIBON_VERSION);
            return 0;
        case CheckedArgs::Refused:
            std::fprintf(stderr, "yomibon-cli %s: %s (see 'yomibon-cli %s --help')\n", command.name,
                         checked.message.c_str(), command.name);
            return 2;
        case CheckedArgs::Run:
            break;
    }
    return command.run(checked.args);
}

}  // namespace Yomibon::Cli

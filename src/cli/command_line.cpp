#include "command_line.h"

#include <algorithm>

namespace cli {

namespace {

// The option whose long name is `name` or starts with it; null with
// `ambiguous` set when several start with it and none is exact.
const Option* findLong(std::span<const Option> table, std::string_view name, bool& ambiguous) {
    const Option* found = nullptr;
    int prefixed = 0;
    ambiguous = false;
    if (name.empty()) return nullptr;  // "--=x": no option has an empty name
    for (const Option& option : table) {
        if (option.longName.empty()) continue;
        if (option.longName == name) return &option;
        if (option.longName.starts_with(name)) {
            found = &option;
            ++prefixed;
        }
    }
    ambiguous = prefixed > 1;
    return prefixed == 1 ? found : nullptr;
}

const Option* findShort(std::span<const Option> table, char name) {
    for (const Option& option : table) {
        if (option.shortName != 0 && option.shortName == name) return &option;
    }
    return nullptr;
}

bool takesValue(const Option& option) {
    return !option.valueName.empty();
}

}  // namespace

Parsed parse(std::span<const Option> table, int argc, const char* const* argv) {
    Parsed parsed;
    const auto fail = [&parsed](std::string message) {
        if (parsed.error.empty()) parsed.error = std::move(message);
    };
    bool optionsEnded = false;
    for (int i = 1; i < argc && parsed.error.empty(); ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.operands.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg.starts_with("--")) {
            const std::string_view body = arg.substr(2);
            const std::size_t equals = body.find('=');
            const std::string_view name = body.substr(0, equals);
            bool ambiguous = false;
            const Option* option = findLong(table, name, ambiguous);
            if (option == nullptr) {
                fail(ambiguous ? "option '--" + std::string(name) + "' is ambiguous"
                               : "unrecognized option '" + std::string(arg) + "'");
                break;
            }
            const std::string longName = "--" + std::string(option->longName);
            if (!takesValue(*option)) {
                if (equals != std::string_view::npos) {
                    // Refused, not taken: "--help=1" is no request for help.
                    fail("option '" + longName + "' doesn't allow an argument");
                    break;
                }
                parsed.options.push_back({option, {}});
            } else if (equals != std::string_view::npos) {
                parsed.options.push_back({option, std::string(body.substr(equals + 1))});
            } else if (i + 1 < argc) {
                parsed.options.push_back({option, argv[++i]});
            } else {
                fail("option '" + longName + "' requires an argument");
            }
            continue;
        }
        // A bundle of short options; one that takes a value takes the rest.
        for (std::size_t k = 1; k < arg.size(); ++k) {
            const Option* option = findShort(table, arg[k]);
            if (option == nullptr) {
                fail(std::string("invalid option -- '") + arg[k] + "'");
                break;
            }
            if (!takesValue(*option)) {
                parsed.options.push_back({option, {}});
                continue;
            }
            if (k + 1 < arg.size()) {
                parsed.options.push_back({option, std::string(arg.substr(k + 1))});
            } else if (i + 1 < argc) {
                parsed.options.push_back({option, argv[++i]});
            } else {
                fail(std::string("option requires an argument -- '") + arg[k] + "'");
            }
            break;
        }
    }
    return parsed;
}

std::string describe(std::span<const Option> table) {
    std::vector<std::string> heads;
    std::size_t widest = 0;
    for (const Option& option : table) {
        std::string head = option.shortName != 0 ? std::string("  -") + option.shortName + ", "
                                                 : std::string("      ");
        head += "--" + std::string(option.longName);
        if (takesValue(option)) head += " " + std::string(option.valueName);
        widest = std::max(widest, head.size());
        heads.push_back(std::move(head));
    }
    std::string text;
    for (std::size_t i = 0; i < table.size(); ++i) {
        text += heads[i] + std::string(widest + 2 - heads[i].size(), ' ');
        text += std::string(table[i].help) + "\n";
    }
    return text;
}

std::string errorReport(std::string_view program, std::string_view error) {
    return std::string(program) + ": " + std::string(error) + "\nTry '" + std::string(program) +
           " --help' for more information.\n";
}

std::string versionReport(std::string_view versions) {
    std::string report(versions);
    if (!report.empty() && report.back() != '\n') report += '\n';
    return report + ORVASK_COPYRIGHT
           "\n"
           "License MIT: <https://opensource.org/licenses/MIT>.\n"
           "This is free software: you are free to change and redistribute it.\n"
           "There is NO WARRANTY, to the extent permitted by law.\n";
}

}  // namespace cli

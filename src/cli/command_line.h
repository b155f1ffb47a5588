#pragma once
// Command-line options as the GNU tools take them, from a table: long
// options as "--name=value" or "--name value", short ones as "-n value" or
// "-nvalue", flags bundled ("-ab"), and "--" ending the options. Long names
// may be abbreviated to any unambiguous prefix.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

struct Option {
    char shortName;              // 0 for none
    std::string_view longName;   // without the dashes
    std::string_view valueName;  // empty for a flag; else what --help calls the value
    std::string_view help;       // one line for --help
};

struct Given {
    const Option* option;
    std::string value;  // empty for a flag
};

struct Parsed {
    std::vector<Given> options;         // in command-line order
    std::vector<std::string> operands;  // everything that is no option
    // The one-line message of the first error ("unrecognized option '--x'"),
    // empty when the command line was understood.
    std::string error;
};

// Parses argv[1..argc-1] against `table`.
Parsed parse(std::span<const Option> table, int argc, const char* const* argv);

// The option lines of --help, one per option, aligned:
//   "  -h, --help        show this help and exit"
std::string describe(std::span<const Option> table);

// The two lines a program prints on standard error for a command line it
// cannot use: "<program>: <error>" and the hint to --help.
std::string errorReport(std::string_view program, std::string_view error);

// What --version prints, in the GNU manner: `versions` (the program's name
// and version on the first line, then those of what it is built on), the
// copyright, the licence and the absence of warranty.
std::string versionReport(std::string_view versions);

}  // namespace cli

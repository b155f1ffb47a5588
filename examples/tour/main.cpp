// orvask-tour: walks through the Orvask console library one screen at a
// time. Any key goes on, Esc leaves.
//
// The command line is read before anything touches the terminal.

#include <array>
#include <cstdio>
#include <iterator>
#include <string>

#include "command_line.h"
#include "orvask/orvask.h"
#include "tour.h"

namespace {

constexpr std::array<cli::Option, 2> kOptions = {{
    {'h', "help", "", "show this help and exit"},
    {0, "version", "", "show the version of Orvask and exit"},
}};

// The status to end with before the tour starts, or -1 to start it.
int answerCommandLine(int argc, char** argv) {
    const cli::Parsed parsed = cli::parse(kOptions, argc, argv);
    // In command-line order: --help before a bad option is still answered.
    for (const cli::Given& given : parsed.options) {
        if (given.option == &kOptions[0]) {
            const std::string usage =
                "Usage: orvask-tour [OPTION]...\n"
                "A walk through the Orvask console library, one screen at a time:\n"
                "any key goes on, Esc leaves.\n\n" +
                cli::describe(kOptions);
            std::fputs(usage.c_str(), stdout);
            return 0;
        }
        const std::string versions = std::string("orvask-tour (Orvask) ") + orvask::kFullVersion;
        std::fputs(cli::versionReport(versions).c_str(), stdout);
        return 0;
    }
    std::string error = parsed.error;
    if (error.empty() && !parsed.operands.empty()) {
        error = "unexpected argument '" + parsed.operands.front() + "'";
    }
    if (error.empty()) return -1;
    std::fputs(cli::errorReport("orvask-tour", error).c_str(), stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (const int status = answerCommandLine(argc, argv); status >= 0) return status;

    constexpr tour::Screen kScreens[] = {
        tour::welcome,    tour::colours,       tour::glyphs,    tour::frames,  tour::textBoxes,
        tour::inputBoxes, tour::randomNumbers, tour::animation, tour::summary,
    };

    orvask::title("Orvask tour");
    orvask::coninit(437, 80, 25, orvask::ConPages);  // with virtual pages
    orvask::cursor(0);

    tour::Tour tour;
    tour.screens = static_cast<int>(std::size(kScreens));
    for (tour::Screen screen : kScreens) {
        ++tour.screen;
        if (!screen(tour)) break;
    }

    orvask::conexit(80, 25);
    return 0;
}

// The programs' command lines: the GNU forms, each class of error once, and
// what avl-demo makes of its options.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "app/demo_command_line.h"
#include "app/session_recording.h"
#include "command_line.h"

namespace avl {
namespace {

constexpr std::array<cli::Option, 4> kTable = {{
    {'h', "help", "", "help"},
    {'v', "verbose", "", "more"},
    {0, "keys", "KEYS", "keys"},
    {0, "keep", "", "keep"},
}};

// "name=value" for each option given, then "+operand" for each operand, or
// "error: ..." when the line was refused.
std::vector<std::string> parsed(std::vector<const char*> args) {
    args.insert(args.begin(), "prog");
    const cli::Parsed result = cli::parse(kTable, static_cast<int>(args.size()), args.data());
    if (!result.error.empty()) return {"error: " + result.error};
    std::vector<std::string> out;
    for (const cli::Given& given : result.options)
        out.push_back(std::string(given.option->longName) + "=" + given.value);
    for (const std::string& operand : result.operands)
        out.push_back("+" + operand);
    return out;
}

using Lines = std::vector<std::string>;

TEST(CommandLine, GnuFormsAndEveryKindOfError) {
    EXPECT_EQ(parsed({"--keys=ab", "--keys", "cd", "-hv", "x"}),
              (Lines{"keys=ab", "keys=cd", "help=", "verbose=", "+x"}));
    EXPECT_EQ(parsed({"--ke=1"}), (Lines{"error: option '--ke' is ambiguous"}));
    EXPECT_EQ(parsed({"--kee", "--", "--help", "-"}), (Lines{"keep=", "+--help", "+-"}));
    EXPECT_EQ(parsed({"--nope"}), (Lines{"error: unrecognized option '--nope'"}));
    EXPECT_EQ(parsed({"--=x"}), (Lines{"error: unrecognized option '--=x'"}));
    EXPECT_EQ(parsed({"-hx"}), (Lines{"error: invalid option -- 'x'"}));
    EXPECT_EQ(parsed({"--help=yes"}), (Lines{"error: option '--help' doesn't allow an argument"}));
    EXPECT_EQ(parsed({"--keys"}), (Lines{"error: option '--keys' requires an argument"}));
    EXPECT_EQ(cli::errorReport("prog", "bad"),
              "prog: bad\nTry 'prog --help' for more information.\n");
}

// --version: the versions, then copyright, licence and warranty as GNU
// programs give them.
TEST(DemoCommandLine, VersionNamesTheCopyrightAndTheLicence) {
    std::istringstream report(demoVersion());
    Lines lines;
    for (std::string line; std::getline(report, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 6u) << report.str();
    EXPECT_EQ(lines[0].rfind("avl-demo (AVL Tree Demo) 1.", 0), 0u);
    EXPECT_EQ(lines[1].rfind("Orvask 1.", 0), 0u);
    EXPECT_EQ(lines[2].rfind("Copyright (c) ", 0), 0u);
    EXPECT_NE(lines[2].find(" The Orvask authors"), std::string::npos);
    EXPECT_EQ(lines[3], "License MIT: <https://opensource.org/licenses/MIT>.");
    EXPECT_EQ(lines[4], "This is free software: you are free to change and redistribute it.");
    EXPECT_EQ(lines[5], "There is NO WARRANTY, to the extent permitted by law.");
}

TEST(DemoCommandLine, OptionsAndTheirRefusals) {
    const auto parse = [](std::vector<const char*> args) {
        args.insert(args.begin(), "avl-demo");
        return parseDemoCommandLine(static_cast<int>(args.size()), args.data());
    };
    const DemoCommandLine line = parse({"--keys", "m3Z)\n ", "--pause", "--slow=4", "--record",
                                        "s.cast", "--force", "--teach", "--contrast"});
    EXPECT_EQ(line.request, DemoCommandLine::Request::Run) << line.error;
    EXPECT_EQ(line.options.keys, "m3Z)\n ");
    EXPECT_TRUE(line.options.paused);
    EXPECT_EQ(line.options.slowdown, 4u);
    EXPECT_EQ(line.recordPath, "s.cast");
    EXPECT_TRUE(line.overwriteRecording);
    EXPECT_TRUE(line.options.teaching);
    EXPECT_TRUE(line.options.contrast);

    EXPECT_EQ(parse({"--version", "--bogus"}).request, DemoCommandLine::Request::Version);
    for (const char* bad : {"--slow=0", "--slow=11", "--slow=2x", "--keys=a~", "--keys=\x1b", "x",
                            "--help=1", "--version=x", "--pause=1"}) {
        const DemoCommandLine refused = parse({bad});
        EXPECT_EQ(refused.request, DemoCommandLine::Request::Error) << bad;
        EXPECT_FALSE(refused.error.empty()) << bad;
    }
}

TEST(SessionRecordingFile, CreatedNewOrOverwrittenOnlyWhenAsked) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::path(::testing::TempDir()) / ("recording_test-" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string path = (dir / "session.cast").string();
    std::ofstream(path) << "precious";

    std::string error;
    EXPECT_EQ(SessionRecording::create(path, false, 80, 25, error), nullptr);
    EXPECT_NE(error.find("already exists"), std::string::npos) << error;
    std::ifstream kept(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "precious");

    const std::string link = (dir / "link.cast").string();
    std::error_code noLinks;  // Windows grants symbolic links by privilege only
    fs::create_symlink(path, link, noLinks);
    if (!noLinks) {
        EXPECT_EQ(SessionRecording::create(link, true, 80, 25, error), nullptr)
            << "a link is refused";
    }
    EXPECT_EQ(SessionRecording::create((dir / "no/such/dir.cast").string(), false, 80, 25, error),
              nullptr);
#ifndef _WIN32
    // Another user's file is refused and left as it is (only root can make one).
    if (::geteuid() == 0 && ::chown(path.c_str(), 65534, 65534) == 0) {
        EXPECT_EQ(SessionRecording::create(path, true, 80, 25, error), nullptr);
        EXPECT_NE(error.find("another user"), std::string::npos) << error;
        EXPECT_EQ(fs::file_size(path), std::string("precious").size());
        EXPECT_EQ(::chown(path.c_str(), 0, 0), 0);
    }
#endif

    {
        auto recording = SessionRecording::create(path, true, 80, 25, error);
        ASSERT_NE(recording, nullptr) << error;
        recording->sent("a\"b\\c\x1b\n\xc2\xbb");
    }
    std::ifstream written(path);
    std::string header, event;
    std::getline(written, header);
    std::getline(written, event);
    EXPECT_EQ(header.rfind("{\"version\": 2, \"width\": 80, \"height\": 25,", 0), 0u) << header;
    EXPECT_NE(event.find(", \"o\", \"a\\\"b\\\\c\\u001b\\n\xc2\xbb\"]"), std::string::npos)
        << event;
    kept.close();  // Windows removes no file that is open
    written.close();
    fs::remove_all(dir);
}

}  // namespace
}  // namespace avl

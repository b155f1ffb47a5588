#pragma once
// avl-demo's command line, read before the terminal is touched.

#include <string>

#include "app/demo.h"

namespace avl {

struct DemoCommandLine {
    enum class Request { Run, Help, Version, Error };
    Request request = Request::Run;
    DemoOptions options;  // without the recording, which the caller opens
    std::string recordPath;
    bool overwriteRecording = false;
    std::string error;  // one line, for Request::Error
};

DemoCommandLine parseDemoCommandLine(int argc, const char* const* argv);

// What --help and --version print.
std::string demoUsage();
std::string demoVersion();

}  // namespace avl

#include "support/fatal_error.h"

#include <cstdio>
#include <cstdlib>

#include "orvask/platform/backend.h"
#include "support/int_to_string.h"
#include "support/log_file.h"

namespace avl {

void FatalError(const std::string& message, const char* file, int line) {
    WriteLog("FATAL_ERROR : " + message);
    if (file != nullptr) WriteLog(std::string(" FILE : ") + file);
    if (line != -1) WriteLog(" LINE : " + IntToString(line));
    orvask::platform::Backend& console = orvask::platform::backend();
    console.messageBox(kFatalErrorCaption, message.c_str());
    // The box may have gone unseen (dismissed at once when the keys come from
    // a pipe that has ended): once the console is given back, the message is
    // also left on standard error, where the user's own screen shows it.
    console.restoreConsole();
    std::fprintf(stderr, "%s: %s\n", kFatalErrorCaption, message.c_str());
    std::exit(1);
}

void FatalError(const char* message, const char* file, int line) {
    FatalError(std::string(message != nullptr ? message : ""), file, line);
}

}  // namespace avl

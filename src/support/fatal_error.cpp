#include "support/fatal_error.h"

#include <cstdlib>

#include "orvask/platform/backend.h"
#include "support/int_to_string.h"
#include "support/log_file.h"

namespace avl {

void FatalError(const std::string& message, const char* file, int line) {
    WriteLog("FATAL_ERROR : " + message);
    if (file != nullptr) WriteLog(std::string(" FILE : ") + file);
    if (line != -1) WriteLog(" LINE : " + IntToString(line));
    orvask::platform::backend().messageBox(kFatalErrorCaption, message.c_str());
    std::exit(1);
}

void FatalError(const char* message, const char* file, int line) {
    FatalError(std::string(message != nullptr ? message : ""), file, line);
}

}  // namespace avl

#include "support/log_file.h"

namespace avl {

LogFile& LogFile::Instance() {
    static LogFile instance;
    return instance;
}

LogFile::LogFile() : stream_(std::fopen(kLogFileName, "wt")) {}

LogFile::~LogFile() {
    if (stream_ != nullptr) std::fclose(stream_);
}

void LogFile::WriteLine(const char* text) {
    if (stream_ == nullptr) return;
    std::fprintf(stream_, "%s\n", text != nullptr ? text : "");
    std::fclose(stream_);
    stream_ = std::fopen(kLogFileName, "at");
}

void WriteLog(const char* text) {
    LogFile::Instance().WriteLine(text);
}

void WriteLog(const std::string& text) {
    LogFile::Instance().WriteLine(text.c_str());
}

}  // namespace avl

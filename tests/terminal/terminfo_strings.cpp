#include "terminfo_strings.h"

#include <cstdio>
#include <memory>

namespace terminal_test {

std::string decodeTerminfo(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '^' && i + 1 < value.size()) {
            const char next = value[++i];
            out += next == '?' ? '\x7f' : static_cast<char>(next & 0x1F);
            continue;
        }
        if (c != '\\' || i + 1 >= value.size()) {
            out += c;
            continue;
        }
        const char e = value[++i];
        if (e >= '0' && e <= '7') {
            int code = 0;
            std::size_t digits = 0;
            for (; digits < 3 && i < value.size() && value[i] >= '0' && value[i] <= '7'; ++digits) {
                code = code * 8 + (value[i++] - '0');
            }
            --i;
            out += static_cast<char>(code);
            continue;
        }
        switch (e) {
            case 'E':
            case 'e':
                out += '\x1b';
                break;
            case 'n':
            case 'l':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 's':
                out += ' ';
                break;
            default:  // \^ \\ \, \: and anything else stand for themselves
                out += e;
                break;
        }
    }
    return out;
}

std::map<std::string, std::string> terminfoStrings(const std::string& term) {
    std::map<std::string, std::string> caps;
    const std::string command = "infocmp -1 -x '" + term + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), &pclose);
    if (!pipe) return caps;
    char buffer[1024];
    bool first = true;
    while (std::fgets(buffer, sizeof buffer, pipe.get())) {
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == ','))
            line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        if (first) {  // the names line
            first = false;
            continue;
        }
        const std::size_t start = line.find_first_not_of(" \t");
        const std::size_t equals = line.find('=');
        if (start == std::string::npos || equals == std::string::npos) continue;
        caps[line.substr(start, equals - start)] = decodeTerminfo(line.substr(equals + 1));
    }
    return caps;
}

}  // namespace terminal_test

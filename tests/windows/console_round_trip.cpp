// Runs a console program in this console and compares the console before it
// with the console after it: title, cursor, input and output modes, code
// pages, colours, size and every cell of the buffer.
//
//   console_round_trip MODE REPORT PROGRAM
//
// MODE keys: once the program has taken the console's input over (its mode
// changed; Quick Edit must then be off), Enter and Esc are typed for it.
// MODE closed: the program's standard input is a pipe with nothing in it,
// closed. The console is set up first with coloured text, a title, a cursor
// and code pages of its own. The differences go to the file REPORT, one a
// line, then the program's exit status; the status is 0 when nothing
// differs.
#include <windows.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

struct Console {
    std::wstring title;
    CONSOLE_CURSOR_INFO cursor{};
    CONSOLE_SCREEN_BUFFER_INFO screen{};
    DWORD inputMode = 0;
    DWORD outputMode = 0;
    UINT inputCodePage = 0;
    UINT outputCodePage = 0;
    std::vector<CHAR_INFO> cells;
};

Console snapshot(HANDLE in, HANDLE out) {
    Console c;
    wchar_t title[512] = {};
    GetConsoleTitleW(title, 512);
    c.title = title;
    GetConsoleCursorInfo(out, &c.cursor);
    GetConsoleScreenBufferInfo(out, &c.screen);
    GetConsoleMode(in, &c.inputMode);
    GetConsoleMode(out, &c.outputMode);
    c.inputCodePage = GetConsoleCP();
    c.outputCodePage = GetConsoleOutputCP();
    const COORD size = c.screen.dwSize;
    c.cells.resize(static_cast<std::size_t>(size.X) * static_cast<std::size_t>(size.Y));
    SMALL_RECT all{0, 0, static_cast<SHORT>(size.X - 1), static_cast<SHORT>(size.Y - 1)};
    ReadConsoleOutputW(out, c.cells.data(), size, COORD{0, 0}, &all);
    return c;
}

void compare(FILE* report, const char* what, unsigned long before, unsigned long after,
             int& differences) {
    if (before == after) return;
    std::fprintf(report, "%s: %lx before, %lx after\n", what, before, after);
    ++differences;
}

int differences(FILE* report, const Console& a, const Console& b) {
    int n = 0;
    if (a.title != b.title) {
        std::fprintf(report, "title: changed\n");
        ++n;
    }
    compare(report, "cursor size", a.cursor.dwSize, b.cursor.dwSize, n);
    compare(report, "cursor visible", a.cursor.bVisible, b.cursor.bVisible, n);
    compare(report, "cursor column", a.screen.dwCursorPosition.X, b.screen.dwCursorPosition.X, n);
    compare(report, "cursor row", a.screen.dwCursorPosition.Y, b.screen.dwCursorPosition.Y, n);
    compare(report, "colours", a.screen.wAttributes, b.screen.wAttributes, n);
    compare(report, "buffer width", a.screen.dwSize.X, b.screen.dwSize.X, n);
    compare(report, "buffer height", a.screen.dwSize.Y, b.screen.dwSize.Y, n);
    compare(report, "window left", a.screen.srWindow.Left, b.screen.srWindow.Left, n);
    compare(report, "window top", a.screen.srWindow.Top, b.screen.srWindow.Top, n);
    compare(report, "window right", a.screen.srWindow.Right, b.screen.srWindow.Right, n);
    compare(report, "window bottom", a.screen.srWindow.Bottom, b.screen.srWindow.Bottom, n);
    compare(report, "input mode", a.inputMode, b.inputMode, n);
    compare(report, "output mode", a.outputMode, b.outputMode, n);
    compare(report, "input code page", a.inputCodePage, b.inputCodePage, n);
    compare(report, "output code page", a.outputCodePage, b.outputCodePage, n);
    for (std::size_t i = 0; i < a.cells.size() && i < b.cells.size(); ++i) {
        if (a.cells[i].Char.UnicodeChar == b.cells[i].Char.UnicodeChar &&
            a.cells[i].Attributes == b.cells[i].Attributes) {
            continue;
        }
        std::fprintf(report, "cell %zu changed\n", i);
        ++n;
        break;
    }
    return n;
}

// Coloured text on the console, backgrounds too, and settings of its own.
void setUp(HANDLE in, HANDLE out) {
    SetConsoleTitleW(L"Round trip \x263A");
    SetConsoleCP(850);
    SetConsoleOutputCP(850);
    const WORD colours[] = {0x07, 0x1E, 0x4F, 0x2A, 0x70};
    for (int i = 0; i < 5; ++i) {
        SetConsoleTextAttribute(out, colours[i]);
        const std::wstring line = L"Before the program, line " + std::to_wstring(i + 1) + L"\n";
        DWORD written = 0;
        WriteConsoleW(out, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
    SetConsoleTextAttribute(out, 0x1B);
    const CONSOLE_CURSOR_INFO cursor{60, TRUE};
    SetConsoleCursorInfo(out, &cursor);
    DWORD mode = 0;
    GetConsoleMode(in, &mode);
    SetConsoleMode(in, mode | ENABLE_EXTENDED_FLAGS | ENABLE_QUICK_EDIT_MODE);
}

void typeKeys(HANDLE in, std::initializer_list<WORD> keys) {
    for (WORD key : keys) {
        INPUT_RECORD records[2] = {};
        for (int i = 0; i < 2; ++i) {
            records[i].EventType = KEY_EVENT;
            KEY_EVENT_RECORD& event = records[i].Event.KeyEvent;
            event.bKeyDown = i == 0;
            event.wRepeatCount = 1;
            event.wVirtualKeyCode = key;
            event.uChar.UnicodeChar = static_cast<wchar_t>(key);
        }
        DWORD written = 0;
        WriteConsoleInputW(in, records, 2, &written);
    }
}

// Waits until the program has turned the input raw, then types its keys.
// False when Quick Edit stays on while it runs.
bool typeWhenTaken(HANDLE in, HANDLE process, DWORD modeBefore) {
    DWORD mode = modeBefore;
    while (mode == modeBefore && WaitForSingleObject(process, 10) == WAIT_TIMEOUT)
        GetConsoleMode(in, &mode);
    typeKeys(in, {VK_RETURN, VK_ESCAPE});
    return (mode & ENABLE_QUICK_EDIT_MODE) == 0;
}

DWORD run(char* program, bool closedInput, int& differing, FILE* report) {
    STARTUPINFOA start{};
    start.cb = sizeof start;
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    if (closedInput && CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
        CloseHandle(writeEnd);
        start.dwFlags = STARTF_USESTDHANDLES;
        start.hStdInput = readEnd;
        start.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, program, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &start,
                        &process)) {
        return 0xFFFF;
    }
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    GetConsoleMode(in, &mode);
    if (!closedInput && !typeWhenTaken(in, process.hProcess, mode)) {
        std::fprintf(report, "Quick Edit on while the program ran\n");
        ++differing;
    }
    WaitForSingleObject(process.hProcess, 120000);
    DWORD status = 0xFFFF;
    GetExitCodeProcess(process.hProcess, &status);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    if (readEnd != nullptr) CloseHandle(readEnd);
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return 2;
    const bool closedInput = std::string(argv[1]) == "closed";
    HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    setUp(in, out);
    const Console before = snapshot(in, out);
    FILE* report = std::fopen(argv[2], "w");
    if (report == nullptr) return 2;
    std::string program = argv[3];
    int differing = 0;
    const DWORD status = run(program.data(), closedInput, differing, report);
    const Console after = snapshot(in, out);
    differing += differences(report, before, after);
    std::fprintf(report, "exit status %lu\n", status);
    std::fclose(report);
    return differing == 0 ? 0 : 1;
}

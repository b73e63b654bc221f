// Starts a program with a chosen show command, as a shell or a shortcut
// does (STARTUPINFO.wShowWindow with STARTF_USESHOWWINDOW), waits for it to
// end and ends with its exit code.
//
//   show_launcher <show command> <program> [arguments...]
//
// Exit code 200 when the program could not be started.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: show_launcher <show command> <program> [arguments...]\n");
        return 200;
    }
    std::string commandLine;
    for (int i = 2; i < argc; ++i) {
        if (!commandLine.empty()) commandLine += ' ';
        commandLine += '"';
        commandLine += argv[i];
        commandLine += '"';
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(std::atoi(argv[1]));
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "could not start %s (error %lu)\n", argv[2], GetLastError());
        return 200;
    }
    std::printf("started %lu\n", process.dwProcessId);
    std::fflush(stdout);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 200;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

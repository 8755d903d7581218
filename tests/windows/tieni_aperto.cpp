// Holds a file open without sharing, as the simulator does while it loads a scenario:
// tieni_aperto FILE MILLISECONDS SEGNALE. Once the file is open it creates SEGNALE, then
// closes the file after MILLISECONDS.
#include <windows.h>

#include <cstdlib>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) return 64;
    const HANDLE file = ::CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    const HANDLE segnale = ::CreateFileW(argv[3], GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (segnale != INVALID_HANDLE_VALUE) ::CloseHandle(segnale);
    ::Sleep(static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)));
    ::CloseHandle(file);
    return 0;
}

// Runs a program and prints, as the last line of its standard output, the program's peak
// resident memory in kB. A process started straight from the benchmark program would carry
// the benchmark's own memory in that figure (the kernel keeps the highest mark across exec),
// so the program is started from this small process instead. Usage: brunavia_picco PROGRAM
// ARGUMENT...
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("uso: brunavia_picco PROGRAMMA ARGOMENTO...\n", stderr);
        return 2;
    }
    std::fflush(stdout);
    const pid_t pid = ::fork();
    if (pid < 0) return 1;
    if (pid == 0) {
        ::execv(argv[1], argv + 1);
        ::_exit(127);
    }
    int stato = 0;
    rusage uso{};
    if (::wait4(pid, &stato, 0, &uso) != pid) return 1;
    std::printf("\n%ld\n", uso.ru_maxrss);
    return WIFEXITED(stato) ? WEXITSTATUS(stato) : 1;
}

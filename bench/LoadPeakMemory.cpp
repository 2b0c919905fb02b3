// load-peak-memory LEDGER.dat: loads a ledger as the program does and prints
// the process's peak resident memory against the file's size.

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "ledger/LedgerBook.h"

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    struct rusage before {};
    getrusage(RUSAGE_SELF, &before);
    const auto start = std::chrono::steady_clock::now();
    orvo::LedgerBook book;
    book.openDataFile(argv[1]);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    struct rusage after {};
    getrusage(RUSAGE_SELF, &after);
    const double fileMB = static_cast<double>(std::filesystem::file_size(argv[1])) / 1e6;
    const double peakMB = static_cast<double>(after.ru_maxrss) / 1e3;
    // CPU time as well: on a shared machine it says more than the clock.
    const auto cpu = [](const struct rusage& u) {
        return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
               static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
    };
    std::printf(
        "records %zu  file %.1f MB  load %.4f s (cpu %.4f s)  peak RSS %.1f MB (%.2f x file; %.1f "
        "MB before load)\n",
        book.records().size(), fileMB, seconds, cpu(after) - cpu(before), peakMB, peakMB / fileMB,
        static_cast<double>(before.ru_maxrss) / 1e3);
    return 0;
}

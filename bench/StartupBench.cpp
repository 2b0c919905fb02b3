// The window program's start as the user sees it: from starting `orvokakei`
// (which reopens the ledger named in its last-file record) to the first paint
// of the day view with the caption set. Each run starts the real program in a
// scratch folder of its own (a copy of the program, its last-file record and
// the bundled title files), with ORVO_TRACE_FIRST_PAINT set so that it prints
// the moment of that paint; the run then ends it. The display is the
// environment's (DISPLAY under X, or QT_QPA_PLATFORM=offscreen).
//   startup_bench [--runs N] [--program PATH] [LEDGER.dat]
// (a generated 1M-record ledger unless given; this build's orvokakei unless given)

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
#include "bench/LedgerGenerator.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

long long monotonicNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Paint {
    long long ns = 0;
    std::string caption;
};

// Starts `program` in `folder` and waits for its first-paint line; the
// program is ended either way. No value when it ended without painting.
bool startAndWaitForPaint(const fs::path& program, const fs::path& folder, Paint& paint) {
    int out[2];
    if (::pipe(out) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    env.emplace_back("ORVO_TRACE_FIRST_PAINT=1");
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string name = program.string();
    char* argv[] = {name.data(), nullptr};

    const long long start = monotonicNs();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, name.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    bool painted = false;
    if (spawned == 0) {
        std::FILE* err = ::fdopen(out[0], "r");
        char line[4096];
        while (std::fgets(line, sizeof line, err)) {
            if (std::strncmp(line, "first-paint ", 12) != 0) continue;
            char* rest = nullptr;
            paint.ns = std::strtoll(line + 12, &rest, 10) - start;
            paint.caption = rest && *rest == ' ' ? rest + 1 : "";
            while (!paint.caption.empty() && paint.caption.back() == '\n') paint.caption.pop_back();
            painted = true;
            break;
        }
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        std::fclose(err);
    } else {
        ::close(out[0]);
    }
    return painted;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 11;
    std::string ledgerArg;
    fs::path original = ORVO_PROGRAM;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (std::strcmp(argv[i], "--program") == 0 && i + 1 < argc)
            original = fs::absolute(argv[++i]);
        else
            ledgerArg = argv[i];
    }

    char scratchTemplate[] = "/tmp/orvo-startup-XXXXXX";
    if (!::mkdtemp(scratchTemplate)) return 1;
    const fs::path scratch = scratchTemplate;
    fs::path ledger;
    if (ledgerArg.empty()) {
        orvo::bench::GeneratorOptions options;
        options.records = 1'000'000;
        ledger = scratch / "ledger.dat";
        orvo::writeFileAtomically(ledger.string(), orvo::bench::generateLedgerFile(options));
    } else {
        ledger = fs::absolute(ledgerArg);
    }
    const fs::path program = scratch / "orvokakei";
    fs::copy_file(original, program);
    for (const char* titles : {"勘定科目1.txt", "勘定科目2.txt"})
        fs::copy_file(fs::path(ORVO_SAMPLE_DIR) / titles, scratch / titles);
    // The record holds the ledger's path as CP932; an ASCII path reads the same.
    std::ofstream(scratch / "orvokakei.ini", std::ios::binary) << ledger.string() << "\r\n";

    std::printf("ledger: %s (%ju bytes)\n", ledger.c_str(),
                static_cast<std::uintmax_t>(fs::file_size(ledger)));
    std::vector<double> ms;
    std::string caption;
    // One run first, not counted, so that every counted run finds the files cached.
    for (int i = 0; i <= runs; ++i) {
        Paint paint;
        if (!startAndWaitForPaint(program, scratch, paint)) {
            std::fprintf(stderr, "startup_bench: the program ended without painting\n");
            fs::remove_all(scratch);
            return 1;
        }
        if (i == 0) continue;
        ms.push_back(static_cast<double>(paint.ns) / 1e6);
        caption = paint.caption;
        std::printf("run %2d: %7.1f ms\n", i, ms.back());
    }
    fs::remove_all(scratch);
    std::sort(ms.begin(), ms.end());
    std::printf("caption: %s\n", caption.c_str());
    std::printf("start to first paint: min %.1f ms, median %.1f ms (%d runs)\n", ms.front(),
                ms[ms.size() / 2], runs);
    return caption.find(ledger.string()) == std::string::npos ? 1 : 0;
}

// orvokakei-cli: a headless front over the same core as the window program.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "base/Cp932.h"
#include "base/OrvoError.h"
#include "cli/CliCommand.h"

namespace orvo::cli {

namespace {
std::vector<CliCommand>& table() {
    static std::vector<CliCommand> t;
    return t;
}
}  // namespace

RegisterCommand::RegisterCommand(CliCommand command) {
    table().push_back(command);
}

const std::vector<CliCommand>& commands() {
    return table();
}

int usageOf(const char* name) {
    for (const auto& c : commands())
        if (std::string(c.name) == name)
            std::fprintf(stderr, "usage: orvokakei-cli %s %s\n", c.name, c.usage);
    return kExitUsage;
}

void printError(const std::string& cp932Message) {
    std::fprintf(stderr, "%s.\n", cp932::toUtf8(cp932Message).c_str());
}

}  // namespace orvo::cli

namespace {
void listCommands(std::FILE* out) {
    std::fprintf(out, "usage:\n");
    for (const auto& c : orvo::cli::commands())
        std::fprintf(out, "  orvokakei-cli %s %s\n", c.name, c.usage);
    std::fprintf(out, "  orvokakei-cli COMMAND --help\n  orvokakei-cli --help | --version\n");
}

int usage() {
    listCommands(stderr);
    return orvo::cli::kExitUsage;
}

// Asked for, help goes to standard output and is no error.
int help() {
    std::printf("orvokakei-cli: the OrvoKakei cash book without windows (UTF-8 output).\n");
    listCommands(stdout);
    std::printf(
        "exit status: 0 done, 1 error (message on stderr), 2 usage; calc: 3 arithmetic fault.\n"
        "See orvokakei-cli(1).\n");
    return orvo::cli::kExitOk;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string name = argv[1];
    if (name == "--help" || name == "-h") return help();
    if (name == "--version") {
        std::printf("orvokakei-cli %s\n", ORVO_VERSION);
        return orvo::cli::kExitOk;
    }
    for (const auto& c : orvo::cli::commands()) {
        if (name != c.name) continue;
        // Only as the command's sole argument: "--help" may be a search keyword.
        if (argc == 3 && std::string(argv[2]) == "--help") {
            std::printf("usage: orvokakei-cli %s %s\n", c.name, c.usage);
            return orvo::cli::kExitOk;
        }
        try {
            return c.run(std::vector<std::string>(argv + 2, argv + argc));
        } catch (const orvo::OrvoError& e) {
            orvo::cli::printError(e.what());
            return orvo::cli::kExitError;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s.\n", e.what());
            return orvo::cli::kExitError;
        }
    }
    return usage();
}

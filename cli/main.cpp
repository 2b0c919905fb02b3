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
int usage() {
    std::fprintf(stderr, "usage:\n");
    for (const auto& c : orvo::cli::commands())
        std::fprintf(stderr, "  orvokakei-cli %s %s\n", c.name, c.usage);
    return orvo::cli::kExitUsage;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage();
    const std::string name = argv[1];
    for (const auto& c : orvo::cli::commands()) {
        if (name != c.name) continue;
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

#pragma once
// orvokakei-cli's subcommands register themselves here, one file each.

#include <string>
#include <vector>

namespace orvo::cli {

// Exit statuses shared by all subcommands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;
inline constexpr int kExitUsage = 2;

struct CliCommand {
    const char* name;
    const char* usage;  // arguments after the name, for the usage text
    int (*run)(const std::vector<std::string>& args);
};

// Adds a command to the table main() dispatches on.
struct RegisterCommand {
    explicit RegisterCommand(CliCommand command);
};

const std::vector<CliCommand>& commands();

// Prints the usage line of the named command to stderr; returns kExitUsage.
int usageOf(const char* name);

// Prints an error as the error display shows it (text + ".") to stderr, in UTF-8.
void printError(const std::string& cp932Message);

}  // namespace orvo::cli

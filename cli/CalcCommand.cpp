// orvokakei-cli calc [--mode input-order|normal] EXPRESSION: the value of an
// expression as the calculator's display would show it.
//   exit 0: the shown result on stdout;
//   exit 1: the text has no value (nothing printed);
//   exit 3: an arithmetic fault, its text and "." on stderr.

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "base/Cp932.h"
#include "base/OrvoError.h"
#include "calc/Evaluator.h"
#include "calc/FormatResult.h"
#include "cli/CliCommand.h"

namespace orvo::cli {

namespace {

constexpr int kExitNoValue = 1;
constexpr int kExitArithmeticFault = 3;

constexpr const char* kUsage = "[--mode input-order|normal] EXPRESSION";

int usage() {
    std::fprintf(stderr, "usage: orvokakei-cli calc %s\n", kUsage);
    return kExitUsage;
}

std::optional<calc::CalcMode> modeNamed(const std::string& name) {
    if (name == "input-order") return calc::CalcMode::InputOrder;
    if (name == "normal") return calc::CalcMode::Normal;
    return std::nullopt;
}

int runCalc(const std::vector<std::string>& args) {
    calc::CalcMode mode = calc::CalcMode::InputOrder;
    std::size_t next = 0;
    if (args.size() == 3 && args[0] == "--mode") {
        const std::optional<calc::CalcMode> named = modeNamed(args[1]);
        if (!named) {
            std::fprintf(stderr, "unknown mode '%s' (input-order or normal).\n", args[1].c_str());
            return kExitUsage;
        }
        mode = *named;
        next = 2;
    }
    if (args.size() != next + 1) return usage();

    // The calculator works on CP932 text. A character CP932 cannot hold could
    // never be part of a number, and leaving it out would join its neighbours.
    const cp932::Encoded expression = cp932::fromUtf8(args[next]);
    if (!expression.ok()) return kExitNoValue;
    try {
        const std::optional<double> value = calc::Evaluate(expression.bytes, mode);
        if (!value) return kExitNoValue;
        std::printf("%s\n", calc::FormatResult(*value).c_str());
        return kExitOk;
    } catch (const OrvoError& fault) {
        printError(fault.what());
        return kExitArithmeticFault;
    }
}

RegisterCommand reg({"calc", kUsage, &runCalc});

}  // namespace

}  // namespace orvo::cli

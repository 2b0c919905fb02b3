// The calculator's expression evaluator in both modes, and the display of a result.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "base/OrvoError.h"
#include "calc/Evaluator.h"
#include "calc/FormatResult.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (auto mode : {orvo::calc::CalcMode::InputOrder, orvo::calc::CalcMode::Normal}) {
        try {
            if (auto value = orvo::calc::Evaluate(text, mode))
                (void)orvo::calc::FormatResult(*value);
        } catch (const orvo::OrvoError&) {
            // Arithmetic faults are messages for the user.
        }
    }
    return 0;
}

#include "calc/CalcErrors.h"

namespace orvo::calc {

OrvoError floatDivisionByZero() {
    return OrvoError("0 による浮動小数点数除算");
}

OrvoError invalidFloatOperation() {
    return OrvoError("不正な浮動小数点数演算命令");
}

OrvoError floatOverflow() {
    return OrvoError("浮動小数点数のオーバーフロー");
}

}  // namespace orvo::calc

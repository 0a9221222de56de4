#include "processes/calculator_start.h"

#include "processes/calculator_child.h"

#include <unistd.h>

namespace zelmora {

pid_t StartCalculatorProcess(const CalculatorStart& start) {
    PreparedCalculator calculator(start);
    if (!calculator.Ready()) {
        return -1;
    }
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child == 0) {
        calculator.Become(parent);
    }
    return calculator.AwaitExec(child);
}

} // namespace zelmora

#pragma once
// For the start-up benchmark (bench/startup_bench): with ORVO_TRACE_FIRST_PAINT
// set in the environment, the program prints one line on stderr once the main
// grid has first been painted,
//     first-paint NANOSECONDS CAPTION
// NANOSECONDS on the monotonic clock (CLOCK_MONOTONIC, shared by every process
// of the machine), CAPTION the window title at that moment. It only prints:
// nothing the program does changes.

class QWidget;

namespace orvo::app {

void traceFirstPaintIfAsked(QWidget& mainWindow);

}  // namespace orvo::app

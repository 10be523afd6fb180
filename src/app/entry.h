#pragma once
// The program's entry: one instance, the seven windows, the message loop.
#include <windows.h>

namespace quenda {

// True when another instance holds the single-instance mutex. The check and the creation are
// one step, so two copies started together cannot both run. The first instance's handle stays
// open for the life of the process.
bool AnotherInstanceRuns();

int RunQuenda(int show_command);

}  // namespace quenda

// Puts every program-wide object and flag back as a freshly started program has them, and the
// headless engine back to its start, so each test runs the program from its beginning.
#pragma once

void ResetProgram();

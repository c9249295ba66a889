// What happens when the X server goes away under the program (a desktop session ended, a virtual
// display stopped): Xlib ends the program with exit(), whose destructors then close SDL's windows
// and SDL itself over the broken connection, and Xlib's event waits spin on it for ever at full
// speed. The program ends at once instead; there is nothing left on that display to tidy.
#pragma once

namespace engine::sdl {

// Takes over Xlib's fatal connection error while SDL uses its X11 driver; does nothing otherwise.
void EndAtOnceOnLostDisplay();

}  // namespace engine::sdl

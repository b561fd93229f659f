#pragma once

class frmMain;

// For the start-up benchmark only: when ORLIX_STARTUP_PROBE names a file, the moment the
// shown window has been drawn (milliseconds since 1970), the resident memory then and the part
// of it in the web engine's libraries (KiB) are written to it, and the program
// closes as the user would. With ORLIX_STARTUP_PROBE_BROWSER set, the moment waits until the
// message list's document view has started its web engine.
void ArmStartupProbe(frmMain& window);

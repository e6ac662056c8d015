#pragma once

// Runs the whole program: per-user folders, scaling, purge, single instance,
// main window and event loop. Returns the process exit status.
int runVelmorax(int argc, char *argv[]);

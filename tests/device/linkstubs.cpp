// Weak stand-ins for entry points of neighbouring pages that the program's
// shared widgets call; the real definitions win when they are linked in.
__attribute__((weak)) void refreshDeviceEntry(int) {}

#include "shell/startup.h"

int main(int argc, char *argv[])
{
    return runVelmorax(argc, argv);
}

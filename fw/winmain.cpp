// The program's entry point hands over to the framework's start and exit sequence.
#include <windows.h>

#include <cstdlib>

#include "fw/afxapp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    return AfxWinMain(hInstance, __argc, __argv);
}

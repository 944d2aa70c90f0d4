// Celdra.exe: everything is in the host library.
#include "celdra.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return celdra::Run(); }

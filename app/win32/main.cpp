#include <windows.h>

#include "app/win32/ProcessObjects.h"

// The command line is not read: the tool takes nothing from it.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    sf::theApp.InitInstance();
    return 0;
}

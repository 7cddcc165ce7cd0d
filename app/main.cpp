#include "app/CBrenvoApp.h"

CBrenvoApp theApp;

int main(int argc, char** argv) {
    return AfxWinMain(argc, argv);
}

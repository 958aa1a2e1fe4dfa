#include "application_frame.h"

int main(int argc, char** argv) {
    return pound::app::RunApplication(argc, argv);
}

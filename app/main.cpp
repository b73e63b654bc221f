// Vyrtel.exe: the one application object runs the program; its result is
// the exit code (0 after a normal close, 1 after a failed start).
#include "app/vyrtel_app.h"

int main(int, char**) {
    TVyrtelApp app;
    return app.Run();
}

// Opens the spooler module that its one argument names, as the program opens its own: exit
// status 0 when the module's spooler came, 1 when it did not.
#include <QString>

#include "ui/services/SpoolerModule.h"

int main(int argc, char* argv[]) {
    if (argc != 2)
        return 2;
    orvel::SpoolerModule module(QString::fromLocal8Bit(argv[1]));
    return module.load() ? 0 : 1;
}

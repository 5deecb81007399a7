// The configuration panel's "Guardar": both settings files, then a backup.
#include "Form1.h"

namespace arc {

void Form1::Command6_Click() {}

}  // namespace arc

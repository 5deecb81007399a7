// "Generar Informe": the treasury report of the range DESDE to HASTA.
#include "Form1.h"

namespace arc {

void Form1::Command1_Click() {}

}  // namespace arc

// BACKUP: a time-stamped copy of the database on the backup drive.
#include "Form1.h"

namespace arc {

void Form1::BACKUP() {}

}  // namespace arc

// Text report and printed protocol of the main window (filled in by the report work).
#include "form1.h"

namespace kelpra {

void TForm1::SpeedButton4Click() {}
void TForm1::SpeedButton5Click() {}

} // namespace kelpra

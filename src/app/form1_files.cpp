// Data files and the details file of the main window (filled in by the files work).
#include "form1.h"

namespace kelpra {

void TForm1::SpeedButton1Click() {}
void TForm1::SpeedButton2Click() {}
void TForm1::SpeedButton3Click() {}
void TForm1::BitBtn1Click() {}
void TForm1::restoreDetails() {}

} // namespace kelpra

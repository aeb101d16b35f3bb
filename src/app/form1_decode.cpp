// Decoding and record navigation of the main window (filled in by the decoding work).
#include "form1.h"

namespace kelpra {

void TForm1::NextClick() {}
void TForm1::PrevClick() {}
void TForm1::Button1Click() {}
void TForm1::clear_call_fields() {}
void TForm1::message_decode(int) {}
void TForm1::clear_distress_fields() {}
void TForm1::distress_decode(int) {}

} // namespace kelpra

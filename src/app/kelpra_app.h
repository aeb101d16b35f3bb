#pragma once

#include "app/form1.h"
#include "app/form2.h"
#include "app/form3.h"
#include "data/measurement_store.h"
#include "link/excom.h"

namespace kelpra {

class Prompts;

// The running program: the store and its windows, created in this order: Form1 (whose
// creation restores the controller lines), ExCom, Form2, Form3. Only Form1 is shown.
class KelpraApplication {
public:
    explicit KelpraApplication(Prompts &prompts);

    MeasurementStore store;
    TForm1 Form1;
    TExCom ExCom;
    TForm2 Form2;
    TForm3 Form3;
};

} // namespace kelpra

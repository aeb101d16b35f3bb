#include "kelpra_app.h"

namespace kelpra {

KelpraApplication::KelpraApplication(Prompts &prompts)
    : Form1(store, prompts), ExCom(Form1, store, prompts), Form2(), Form3()
{
    Form1.setDownloadWindow(&ExCom);
    Form1.setAboutBox(&Form2);
    Form1.setProtocolForm(&Form3);
}

} // namespace kelpra

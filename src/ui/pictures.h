#pragma once

#include <QIcon>

namespace kelpra {

// The program's own pictures, drawn in code. Names: "open", "save", "saveall", "report",
// "print", "download", "decode", "about", "exit", "prev", "next", "details", "emulation",
// "initport", "pdf", "archive", "app" (the window icon). An unknown name gives an empty icon.
QIcon picture(const char *name);

} // namespace kelpra

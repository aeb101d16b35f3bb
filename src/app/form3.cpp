#include "form3.h"

namespace kelpra {

TForm3::TForm3(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form3"));
}

} // namespace kelpra

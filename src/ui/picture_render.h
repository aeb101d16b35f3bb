#pragma once

#include <QImage>

namespace kelpra {

// One picture of pictures.h drawn at size x size pixels on a transparent ground; a null
// image for an unknown name. Used to build the icons and by the icon-file generator.
QImage renderPicture(const char *name, int size);

} // namespace kelpra

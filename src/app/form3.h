#pragma once

#include "report/protocol_page.h"

#include <QWidget>

namespace kelpra {

// The printed-protocol form. Never shown itself: it holds the page `QuickRep1`, whose
// labels "Print report" fills and hands to the print preview.
class TForm3 : public QWidget {
    Q_OBJECT
public:
    explicit TForm3(QWidget *parent = nullptr);

    ProtocolPage QuickRep1;
};

} // namespace kelpra

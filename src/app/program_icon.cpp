#include "app/program_icon.h"

#include <QPixmap>

#include "app/icon_xpm.h"

namespace velk {

QIcon programIcon() {
    QIcon icon;
    icon.addPixmap(QPixmap(kIcon32Xpm));
    icon.addPixmap(QPixmap(kIcon16Xpm));
    return icon;
}

}  // namespace velk

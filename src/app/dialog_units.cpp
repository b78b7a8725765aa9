#include "app/dialog_units.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>
#include <cstdlib>

namespace velk {

DialogBaseUnits dialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

int mulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = std::llabs(c) / 2;
    const long long rounded = (product >= 0) == (c >= 0) ? (std::llabs(product) + half) / std::llabs(c)
                                                         : -((std::llabs(product) + half) / std::llabs(c));
    return static_cast<int>(rounded);
}

QRect fromDialogUnits(const DialogBaseUnits& u, int x, int y, int width, int height) {
    return {mulDiv(x, u.x, 4), mulDiv(y, u.y, 8), mulDiv(width, u.x, 4), mulDiv(height, u.y, 8)};
}

QFont editorFont() {
    const QStringList preferred = {QString::fromUtf8("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                                   QStringLiteral("IPAPGothic"), QString::fromUtf8("IPA Pゴシック"),
                                   QStringLiteral("IPAGothic")};
    QString family;
    for (const QString& name : preferred)
        if (QFontDatabase::hasFamily(name)) {
            family = name;
            break;
        }
    if (family.isEmpty()) family = QFontDatabase::families(QFontDatabase::Japanese).value(0);
    QFont font(family);
    font.setPointSize(9);
    return font;
}

}  // namespace velk

// Dialog templates measure in dialog units: a quarter of the font's average
// character width across, an eighth of its height down.
#pragma once

#include <QFont>
#include <QRect>

namespace velk {

struct DialogBaseUnits {
    int x;  // average character width in pixels
    int y;  // character height in pixels
};

// The base units of a dialog using `font`: the width of the 52 Latin letters
// divided by 26, rounded half up over two; the font's height.
DialogBaseUnits dialogBaseUnits(const QFont& font);

// a * b / c, rounded to the nearest integer, halves away from zero.
int mulDiv(int a, int b, int c);

QRect fromDialogUnits(const DialogBaseUnits& units, int x, int y, int width, int height);

// The font of the editor's windows: 9-point "ＭＳ Ｐゴシック" where installed,
// else IPAPGothic (made to the same metrics), else any Japanese font.
QFont editorFont();

}  // namespace velk

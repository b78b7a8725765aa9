#include "app/graphics_views.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include "app/qt_text.h"
#include "gfx/colours.h"
#include "gfx/unit_graphics.h"
#include "rom/catalogues.h"
#include "rom/face_rules.h"

namespace velk {
namespace {

QRgb toQRgb(uint16_t console) {
    const Rgb c = consoleToRgb(console);
    return qRgb(c.red, c.green, c.blue);
}

// Four-plane 8 x 8 tiles, `across` a row, into `image` at (x0, y0).
void drawTiles(QImage& image, const std::vector<uint8_t>& bytes, int tiles, int across, const QRgb* colours,
               bool transparentZero) {
    for (int t = 0; t < tiles && static_cast<size_t>(t + 1) * kTileBytes <= bytes.size(); ++t)
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const uint8_t v = tilePixel(bytes.data() + kTileBytes * static_cast<size_t>(t), x, y);
                if (v == 0 && transparentZero) continue;
                image.setPixel(8 * (t % across) + x, 8 * (t / across) + y, colours[v]);
            }
}

}  // namespace

std::array<QRgb, 16> faceColours(const EditorState& state, int face, int colourSet) {
    std::array<QRgb, 16> colours{};
    colours.fill(qRgb(0, 0, 0));
    const size_t at = 8 * static_cast<size_t>(face) + static_cast<size_t>(colourSet);
    if (at >= state.catalogues.colourSets.size()) return colours;
    const std::vector<uint8_t>& bytes = state.catalogues.colourSets[at].unpacked;
    for (size_t c = 1; c < 16 && 2 * c <= bytes.size(); ++c) colours[c] = toQRgb(colourAt(bytes, c - 1));
    return colours;
}

QImage faceImage(const EditorState& state, int face, int colourSet) {
    QImage image(kFaceWidth, kFaceHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    const std::array<QRgb, 16> colours = faceColours(state, face, colourSet);
    drawTiles(image, state.catalogues.faces()[static_cast<size_t>(face)].unpacked, 24, 4, colours.data(), false);
    return image;
}

QString faceNote(const EditorState& state, int face) {
    if (state.catalogues.resources.size() != kResourceCount || face < 0 || face >= kFaceCount) return {};
    const ConstCatalogue faces = state.catalogues.faces();
    QStringList lines;
    const std::vector<int> group = facesSharingSlot(faces, face);
    if (group.size() > 1) {
        QStringList numbers;
        for (const int f : group) numbers << QString::number(f);
        lines << QString::fromUtf8("同じ絵の顔（ポインタ %1 を共有）: %2")
                     .arg(faces[static_cast<size_t>(face)].tableIndex)
                     .arg(numbers.join(QStringLiteral(", ")));
    }
    if (group.front() >= kFirstPinnedFace) {
        const ResourceEntry& e = faces[static_cast<size_t>(group.front())];
        int32_t used = e.loadedLength;  // unedited, it is its bytes as loaded
        for (const PinnedFaceEdit& edit : editedPinnedFaces(state.image, faces))
            if (edit.face == group.front()) used = edit.length;
        QString line = QString::fromUtf8("その場に保存する顔: 容量 %1 バイト、使用 %2 バイト").arg(e.loadedLength).arg(used);
        if (used > e.loadedLength) line += QString::fromUtf8("（%1 バイト超過、保存できません）").arg(used - e.loadedLength);
        lines << line;
    }
    return lines.join(QStringLiteral("\n"));
}

QImage unitImage(const EditorState& state, int position) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QRgb colours[16];
    for (int c = 0; c < 16; ++c) colours[c] = toQRgb(sharedColour(state.image, c));
    const ConstCatalogue units = state.catalogues.unitGraphics();
    drawTiles(image, units[unitEntryAt(static_cast<size_t>(position))].unpacked, 4, 2, colours, true);
    return image;
}

FaceGrid::FaceGrid(const EditorState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(sizeHint());
}

QSize FaceGrid::sizeHint() const {
    const int rows = (kFaceCount + kColumns - 1) / kColumns;
    return {kColumns * (kFaceWidth * kScale + 4) + 4, rows * (kFaceHeight * kScale + 4) + 4};
}

void FaceGrid::setColourSet(int set) {
    colourSet_ = set;
    invalidate();
}

void FaceGrid::setSelected(int face) {
    selected_ = std::clamp(face, 0, kFaceCount - 1);
    update();
    if (onSelect) onSelect(selected_);
}

const QImage& FaceGrid::picture() {
    if (!picture_.isNull() || state_.catalogues.resources.empty()) return picture_;
    picture_ = QImage(sizeHint(), QImage::Format_RGB32);
    picture_.fill(palette().color(QPalette::Base));
    QPainter p(&picture_);
    const ConstCatalogue faces = state_.catalogues.faces();
    for (int f = 0; f < kFaceCount; ++f) {
        const QImage face = faceImage(state_, f, colourSet_).scaled(kFaceWidth * kScale, kFaceHeight * kScale);
        const int x = 4 + (f % kColumns) * (kFaceWidth * kScale + 4), y = 4 + (f / kColumns) * (kFaceHeight * kScale + 4);
        p.drawImage(x, y, face);
        if (facesSharingSlot(faces, f).size() > 1) {
            const int right = x + kFaceWidth * kScale;
            const QPoint corner[3] = {{right - 10, y}, {right, y}, {right, y + 10}};
            p.setPen(Qt::NoPen);
            p.setBrush(palette().color(QPalette::Highlight));
            p.drawPolygon(corner, 3);
        }
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::red, 2));
    for (const PinnedFaceEdit& edit : editedPinnedFaces(state_.image, faces))
        if (!edit.fits())
            for (const int f : facesSharingSlot(faces, edit.face))
                p.drawRect(3 + (f % kColumns) * (kFaceWidth * kScale + 4), 3 + (f / kColumns) * (kFaceHeight * kScale + 4),
                           kFaceWidth * kScale + 1, kFaceHeight * kScale + 1);
    return picture_;
}

void FaceGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, picture());
    const QRect cell(2 + (selected_ % kColumns) * (kFaceWidth * kScale + 4), 2 + (selected_ / kColumns) * (kFaceHeight * kScale + 4),
                     kFaceWidth * kScale + 3, kFaceHeight * kScale + 3);
    p.setPen(QPen(palette().color(QPalette::Highlight), 2));
    p.drawRect(cell);
}

void FaceGrid::mousePressEvent(QMouseEvent* event) {
    const int column = (event->position().toPoint().x() - 2) / (kFaceWidth * kScale + 4);
    const int row = (event->position().toPoint().y() - 2) / (kFaceHeight * kScale + 4);
    if (column < kColumns && row * kColumns + column < kFaceCount) setSelected(row * kColumns + column);
}

void FaceGrid::keyPressEvent(QKeyEvent* event) {
    const int step = event->key() == Qt::Key_Left ? -1 : event->key() == Qt::Key_Right ? 1
                   : event->key() == Qt::Key_Up   ? -kColumns
                   : event->key() == Qt::Key_Down ? kColumns : 0;
    if (step == 0) return QWidget::keyPressEvent(event);
    setSelected(selected_ + step);
}

FaceDetail::FaceDetail(const EditorState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setMinimumSize(sizeHint());
}

QSize FaceDetail::sizeHint() const { return {kFaceWidth * 4 + 16 * 14 + 40, kFaceHeight * 4 + 16}; }

void FaceDetail::show(int face, int colourSet) {
    face_ = face;
    colourSet_ = colourSet;
    update();
}

QRect FaceDetail::swatchRow(int set) const { return {kFaceWidth * 4 + 24, 8 + set * 24, 16 * 14, 20}; }

void FaceDetail::paintEvent(QPaintEvent*) {
    if (state_.catalogues.resources.empty()) return;
    QPainter p(this);
    p.drawImage(QRect(8, 8, kFaceWidth * 4, kFaceHeight * 4), faceImage(state_, face_, colourSet_));
    for (int set = 0; set < 8; ++set) {
        const QRect row = swatchRow(set);
        const std::array<QRgb, 16> colours = faceColours(state_, face_, set);
        for (int c = 0; c < 16; ++c) p.fillRect(row.x() + 14 * c, row.y(), 13, row.height(), QColor(colours[static_cast<size_t>(c)]));
        if (set == colourSet_) {
            p.setPen(QPen(palette().color(QPalette::Highlight), 2));
            p.drawRect(row.adjusted(-2, -2, 1, 1));
        }
    }
}

void FaceDetail::mousePressEvent(QMouseEvent* event) {
    for (int set = 0; set < 8; ++set)
        if (swatchRow(set).contains(event->position().toPoint()) && onColourSet) onColourSet(set);
}

UnitGrid::UnitGrid(const EditorState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setFixedSize(sizeHint());
}

QSize UnitGrid::sizeHint() const {
    return {kColumns * kCell + 4, (kUnitGraphicCount + kColumns - 1) / kColumns * kCell + 4};
}

void UnitGrid::paintEvent(QPaintEvent* event) {
    if (state_.catalogues.resources.empty()) return;
    QPainter p(this);
    const QRect area = event->rect();
    p.fillRect(area, palette().color(QPalette::Base));
    const int firstRow = std::max(0, (area.top() - 2) / kCell), lastRow = (area.bottom() - 2) / kCell;
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = 0; column < kColumns; ++column) {
            const int i = row * kColumns + column;
            if (i >= kUnitGraphicCount) return;
            p.drawImage(QRect(2 + column * kCell + 2, 2 + row * kCell + 2, 32, 32), unitImage(state_, i));
        }
}

bool UnitGrid::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const QPoint at = static_cast<QHelpEvent*>(event)->pos();
    const int i = (at.y() - 2) / kCell * kColumns + (at.x() - 2) / kCell;
    if (i >= 0 && i < kUnitGraphicCount)
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                           QString::fromUtf8("ファイルの %1 番目（項目 %2）").arg(i).arg(unitEntryAt(static_cast<size_t>(i))));
    return true;
}

QImage addedGlyph(const EditorState& state, int g) {
    const QRgb shades[4] = {qRgb(255, 255, 255), qRgb(160, 160, 160), qRgb(80, 80, 80), qRgb(0, 0, 0)};
    // Row r of the sheet: the upper halves of glyphs 16r to 16r + 15, then their lower halves.
    QImage glyph(8, 16, QImage::Format_RGB32);
    for (int half = 0; half < 2; ++half) {
        const uint8_t* tile = state.glyphSheet.data() + (g / 16) * 512 + half * 256 + (g % 16) * 16;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                glyph.setPixel(x, 8 * half + y, shades[(tile[2 * y] >> (7 - x) & 1) | (tile[2 * y + 1] >> (7 - x) & 1) << 1]);
    }
    return glyph;
}

GlyphGrid::GlyphGrid(const EditorState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setFixedSize(sizeHint());
}

QSize GlyphGrid::sizeHint() const { return {16 * 44 + 8, 16 * 60 + 8}; }

void GlyphGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    const CharTable& added = state_.tables[kAddedCharTable];
    for (int g = 0; g < 256; ++g) {
        const int x0 = 4 + (g % 16) * 44, y0 = 4 + (g / 16) * 60;
        p.drawImage(QRect(x0 + 10, y0, 24, 48), addedGlyph(state_, g));
        const Glyph c = added[static_cast<size_t>(g)];
        p.drawText(QRect(x0, y0 + 46, 44, 14), Qt::AlignCenter, qtText(std::string{static_cast<char>(c[0]), static_cast<char>(c[1])}));
    }
}

}  // namespace velk

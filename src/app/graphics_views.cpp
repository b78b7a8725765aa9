#include "app/graphics_views.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include "app/qt_text.h"
#include "gfx/colours.h"
#include "gfx/png_pixels.h"
#include "gfx/unit_graphics.h"
#include "rom/catalogues.h"
#include "rom/face_rules.h"

namespace velk {
namespace {

QRgb toQRgb(uint16_t console) {
    const Rgb c = consoleToRgb(console);
    return qRgb(c.red, c.green, c.blue);
}

// Four-plane 8 x 8 tiles, `across` a row, as a picture `tiles` tiles large
// (a short entry draws what it holds; the rest is colour 0).
QImage tileImage(const std::vector<uint8_t>& bytes, int tiles, int across, const QRgb* colours, bool transparentZero) {
    std::vector<uint8_t> whole(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), kTileBytes * static_cast<size_t>(tiles))));
    whole.resize(kTileBytes * static_cast<size_t>(tiles), 0);
    const std::vector<uint8_t> pixels = tilesToPixels(whole, static_cast<size_t>(across));
    const int width = 8 * across, height = 8 * ((tiles + across - 1) / across);
    QImage image(width, height, transparentZero ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const uint8_t v = pixels[static_cast<size_t>(y * width + x)];
            line[x] = v == 0 && transparentZero ? qRgba(0, 0, 0, 0) : colours[v];
        }
    }
    return image;
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
    const std::array<QRgb, 16> colours = faceColours(state, face, colourSet);
    return tileImage(state.catalogues.faces()[static_cast<size_t>(face)].unpacked, 24, 4, colours.data(), false);
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

QImage unitImage(const EditorState& state, int position, int colourSet) {
    QRgb colours[16];
    const int first = 16 * std::clamp(colourSet, 0, UnitGrid::kColourSets - 1);
    for (int c = 0; c < 16; ++c) colours[c] = toQRgb(sharedColour(state.image, first + c));
    const ConstCatalogue units = state.catalogues.unitGraphics();
    return tileImage(units[unitEntryAt(static_cast<size_t>(position))].unpacked, 4, 2, colours, true);
}

FaceGrid::FaceGrid(const EditorState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(sizeHint());
}

int FaceGrid::numberHeight() const { return fontMetrics().height(); }

QSize FaceGrid::cell() const { return {kFaceWidth * scale_ + 4, kFaceHeight * scale_ + numberHeight() + 6}; }

QSize FaceGrid::sizeHint() const {
    const int rows = (kFaceCount + columns_ - 1) / columns_;
    return {columns_ * cell().width() + 4, rows * cell().height() + 4};
}

QRect FaceGrid::faceRect(int face) const {
    return {4 + (face % columns_) * cell().width(), 4 + (face / columns_) * cell().height(), kFaceWidth * scale_,
            kFaceHeight * scale_};
}

QRect FaceGrid::numberRect(int face) const {
    const QRect f = faceRect(face);
    return {f.left(), f.bottom() + 2, f.width(), numberHeight()};
}

void FaceGrid::fitWidth(int width) {
    const int columns = std::max(1, (width - 4) / cell().width());
    if (columns == columns_) return;
    columns_ = columns;
    setFixedSize(sizeHint());
    invalidate();
}

void FaceGrid::setScale(int scale) {
    scale_ = std::clamp(scale, kMinScale, kMaxScale);
    setFixedSize(sizeHint());
    invalidate();
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
    p.setFont(font());
    const ConstCatalogue faces = state_.catalogues.faces();
    for (int f = 0; f < kFaceCount; ++f) {
        const QRect at = faceRect(f);
        p.drawImage(at.topLeft(), faceImage(state_, f, colourSet_).scaled(at.size()));
        p.setPen(palette().color(QPalette::Text));
        p.drawText(numberRect(f), Qt::AlignCenter, number(f));
        if (facesSharingSlot(faces, f).size() > 1) {
            const int right = at.right() + 1, y = at.top();
            const QPoint corner[3] = {{right - 10, y}, {right, y}, {right, y + 10}};
            p.setPen(Qt::NoPen);
            p.setBrush(palette().color(QPalette::Highlight));
            p.drawPolygon(corner, 3);
            p.setBrush(Qt::NoBrush);
        }
    }
    p.setPen(QPen(Qt::red, 2));
    for (const PinnedFaceEdit& edit : editedPinnedFaces(state_.image, faces))
        if (!edit.fits())
            for (const int f : facesSharingSlot(faces, edit.face)) p.drawRect(faceRect(f).adjusted(-1, -1, 1, 1));
    return picture_;
}

void FaceGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, picture());
    p.setPen(QPen(palette().color(QPalette::Highlight), 2));
    p.drawRect(faceRect(selected_).united(numberRect(selected_)).adjusted(-2, -2, 2, 1));
}

void FaceGrid::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const int column = (at.x() - 2) / cell().width(), row = (at.y() - 2) / cell().height();
    if (at.x() >= 2 && at.y() >= 2 && column < columns_ && row * columns_ + column < kFaceCount) setSelected(row * columns_ + column);
}

void FaceGrid::keyPressEvent(QKeyEvent* event) {
    const int step = event->key() == Qt::Key_Left ? -1 : event->key() == Qt::Key_Right ? 1
                   : event->key() == Qt::Key_Up   ? -columns_
                   : event->key() == Qt::Key_Down ? columns_ : 0;
    if (step == 0) return QWidget::keyPressEvent(event);
    setSelected(selected_ + step);
}

void FaceGrid::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier) || event->angleDelta().y() == 0) return QWidget::wheelEvent(event);
    const int scale = std::clamp(scale_ + (event->angleDelta().y() > 0 ? 1 : -1), kMinScale, kMaxScale);
    if (onZoom) onZoom(scale);
    else setScale(scale);
    event->accept();
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
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(sizeHint());
}

QSize UnitGrid::sizeHint() const {
    return {kGutter + kColumns * kCell + 4, (kUnitGraphicCount + kColumns - 1) / kColumns * kCell + 4};
}

QRect UnitGrid::cellRect(int position) const {
    return {kGutter + 2 + position % kColumns * kCell, 2 + position / kColumns * kCell, kCell, kCell};
}

int UnitGrid::positionAt(QPoint at) const {
    if (at.x() < kGutter + 2 || at.y() < 2) return -1;
    const int column = (at.x() - kGutter - 2) / kCell, i = (at.y() - 2) / kCell * kColumns + column;
    return column < kColumns && i < kUnitGraphicCount ? i : -1;
}

void UnitGrid::setSelected(int position) {
    const QRect before = cellRect(selected_);
    selected_ = std::clamp(position, 0, kUnitGraphicCount - 1);
    update(before);
    update(cellRect(selected_));
    if (onSelect) onSelect(selected_);
}

void UnitGrid::setColourSet(int set) {
    colourSet_ = std::clamp(set, 0, kColourSets - 1);
    update();
}

void UnitGrid::paintEvent(QPaintEvent* event) {
    if (state_.catalogues.resources.empty()) return;
    QPainter p(this);
    const QRect area = event->rect();
    p.fillRect(area, palette().color(QPalette::Base));
    const int firstRow = std::max(0, (area.top() - 2) / kCell), lastRow = (area.bottom() - 2) / kCell;
    for (int row = firstRow; row <= lastRow && row * kColumns < kUnitGraphicCount; ++row) {
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(QRect(0, 2 + row * kCell, kGutter - 4, kCell), Qt::AlignRight | Qt::AlignVCenter, QString::number(row * kColumns));
        for (int column = 0; column < kColumns && row * kColumns + column < kUnitGraphicCount; ++column) {
            const int i = row * kColumns + column;
            p.drawImage(cellRect(i).adjusted(2, 2, -2, -2), unitImage(state_, i, colourSet_));
        }
    }
    p.setPen(QPen(palette().color(QPalette::Highlight), 2));
    p.drawRect(cellRect(selected_).adjusted(1, 1, -1, -1));
}

bool UnitGrid::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const int i = positionAt(static_cast<QHelpEvent*>(event)->pos());
    if (i >= 0)
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(),
                           QString::fromUtf8("ファイルの %1 番目（項目 %2）").arg(i).arg(unitEntryAt(static_cast<size_t>(i))));
    return true;
}

void UnitGrid::mousePressEvent(QMouseEvent* event) {
    if (const int i = positionAt(event->position().toPoint()); i >= 0) setSelected(i);
}

void UnitGrid::keyPressEvent(QKeyEvent* event) {
    const int step = event->key() == Qt::Key_Left ? -1 : event->key() == Qt::Key_Right ? 1
                   : event->key() == Qt::Key_Up   ? -kColumns
                   : event->key() == Qt::Key_Down ? kColumns : 0;
    if (step == 0) return QWidget::keyPressEvent(event);
    setSelected(selected_ + step);
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

QSize GlyphGrid::sizeHint() const { return {16 * kCellWidth + 8, 16 * kCellHeight + 8}; }

QRect GlyphGrid::glyphRect(int g) { return {4 + (g % 16) * kCellWidth + 10, 4 + (g / 16) * kCellHeight, 24, 48}; }

QRect GlyphGrid::labelRect(int g) { return {4 + (g % 16) * kCellWidth, glyphRect(g).bottom() + 3, kCellWidth, 16}; }

void GlyphGrid::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Base));
    const CharTable& added = state_.tables[kAddedCharTable];
    for (int g = 0; g < 256; ++g) {
        p.drawImage(glyphRect(g), addedGlyph(state_, g));
        const Glyph c = added[static_cast<size_t>(g)];
        p.setPen(palette().color(QPalette::Text));
        p.drawText(labelRect(g), Qt::AlignCenter, qtText(std::string{static_cast<char>(c[0]), static_cast<char>(c[1])}));
    }
}

}  // namespace velk

// The workbench's pictures: the faces, the unit graphics and the added
// characters, each drawn from the catalogues as they stand.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "ops/editor_state.h"

namespace velk {

constexpr int kFaceWidth = 32, kFaceHeight = 48;

// Face f in colour set s (0-7) of its own eight, pixel value 0 black, as the
// face picture file draws it.
QImage faceImage(const EditorState& state, int face, int colourSet);
// The 16 colours of face f's colour set s (colour 0 black).
std::array<QRgb, 16> faceColours(const EditorState& state, int face, int colourSet);
// What the face page says under a face's number (empty for most): the faces
// it shares one picture with, and for a face that is saved where it stands,
// its room and how much of it the face uses.
QString faceNote(const EditorState& state, int face);
// Unit graphic at position i of the unit graphics file: its four tiles, two
// by two, in shared colours 16s to 16s + 15 (value 0 transparent).
QImage unitImage(const EditorState& state, int position, int colourSet = 0);

// All faces, as many a row as the width given takes, at 1x to 4x, in one colour set, each with its
// number below it; a click selects one, Ctrl+wheel zooms. A face that shares
// its picture with others has a corner mark; one too long for its room a red
// frame.
class FaceGrid : public QWidget {
public:
    static constexpr int kMinScale = 1, kMaxScale = 4;
    explicit FaceGrid(const EditorState& state, QWidget* parent = nullptr);
    void setColourSet(int set);
    void setSelected(int face);
    int selected() const { return selected_; }
    void setScale(int scale);
    int scale() const { return scale_; }
    // As many faces a row as `width` pixels take (at least one).
    void fitWidth(int width);
    int columns() const { return columns_; }
    std::function<void(int)> onSelect;
    std::function<void(int scale)> onZoom;  // Ctrl+wheel asks for another scale
    // The grid as drawn, without the selection mark.
    const QImage& picture();
    void invalidate() { picture_ = QImage(); update(); }
    // Where face f stands in the picture, and its number under it.
    QRect faceRect(int face) const;
    QRect numberRect(int face) const;
    static QString number(int face) { return QString::number(face); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QSize cell() const;
    int numberHeight() const;
    const EditorState& state_;
    int colourSet_ = 0, selected_ = 0, scale_ = 2, columns_ = 8;
    QImage picture_;
};

// One face large, and its eight colour sets as rows of swatches; a click on
// a row chooses that colour set.
class FaceDetail : public QWidget {
public:
    explicit FaceDetail(const EditorState& state, QWidget* parent = nullptr);
    void show(int face, int colourSet);
    std::function<void(int)> onColourSet;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect swatchRow(int set) const;
    const EditorState& state_;
    int face_ = 0, colourSet_ = 0;
};

// The unit graphics in file order at 2x, each row led by the number of its
// first, in one colour set of the shared colours (0-15); a click or the arrow
// keys select one. Draws only the rows in view.
class UnitGrid : public QWidget {
public:
    static constexpr int kColumns = 32, kCell = 36, kGutter = 44, kColourSets = 16;
    explicit UnitGrid(const EditorState& state, QWidget* parent = nullptr);
    QSize sizeHint() const override;
    void setSelected(int position);
    int selected() const { return selected_; }
    void setColourSet(int set);
    int colourSet() const { return colourSet_; }
    QRect cellRect(int position) const;
    std::function<void(int)> onSelect;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int positionAt(QPoint at) const;
    const EditorState& state_;
    int selected_ = 0, colourSet_ = 0;
};

// Added character g's glyph from the glyph sheet, 8 x 16 pixels in four greys.
QImage addedGlyph(const EditorState& state, int g);

// The 256 added characters' glyphs, with the character each stands for
// below its glyph.
class GlyphGrid : public QWidget {
public:
    static constexpr int kCellWidth = 44, kCellHeight = 68;
    // Where glyph g and its character stand; the two never overlap.
    static QRect glyphRect(int g);
    static QRect labelRect(int g);
    explicit GlyphGrid(const EditorState& state, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const EditorState& state_;
};

}  // namespace velk

// A name or text as the game lays it out: boxes of text-columns x text-lines
// cells, one glyph a cell (the system's Japanese font, or the glyph sheet's
// own glyph for an added character), a token or a word reference over the
// cells it takes, a box break starting the next box. What reaches past a box
// stands in red cells beside or below it.
#pragma once

#include <QWidget>
#include <cstdint>
#include <vector>

#include "ops/editor_state.h"
#include "ops/entry_ops.h"

namespace velk {

class BoxPreview : public QWidget {
public:
    static constexpr int kCell = 20;

    BoxPreview(const EditorState& state, EntryKind kind, QWidget* parent = nullptr);
    // Draws the form's code as measured; nothing for a form that does not encode.
    void setFit(const FormFit* fit, const BoxRules& rules, std::span<const int> nameWidths);
    int boxCount() const;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The cells box `box` shows: its rule's, or more where the text reaches past.
    QSize boxCells(int box) const;
    int drawItems(QPainter& p, std::span<const uint8_t> code, CodeKind kind, size_t begin, size_t end, QPoint at, int column);

    const EditorState& state_;
    EntryKind kind_;
    std::vector<uint8_t> code_;
    std::vector<TextLine> lines_;
    BoxRules rules_;
    std::vector<int> nameWidths_;
    QFont font_, small_;
};

}  // namespace velk

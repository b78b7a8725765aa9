#include "app/box_preview.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

#include "app/graphics_views.h"
#include "app/qt_text.h"
#include "text/decode.h"

namespace velk {
namespace {

constexpr int kGap = 12;  // between two boxes
const QColor kFrame(96, 96, 96), kPast(255, 205, 205), kPastFrame(200, 0, 32), kToken(255, 241, 196),
    kReference(218, 230, 255), kEscape(228, 228, 228);

}  // namespace

BoxPreview::BoxPreview(const EditorState& state, EntryKind kind, QWidget* parent)
    : QWidget(parent), state_(state), kind_(kind) {
    setObjectName(QStringLiteral("BoxPreview"));
    font_ = QFont(QStringLiteral("IPAGothic"));
    font_.setPixelSize(kCell - 4);
    small_ = font_;
    small_.setPixelSize(kCell / 2);
    setToolTip(QCoreApplication::translate("BoxPreview", "ゲームの枠での見え方（1 文字 1 マス、赤い所がはみ出し）"));
}

void BoxPreview::setFit(const FormFit* fit, const BoxRules& rules, std::span<const int> nameWidths) {
    code_ = fit ? fit->code : std::vector<uint8_t>{};
    lines_ = fit ? fit->lines : std::vector<TextLine>{};
    rules_ = rules;
    nameWidths_.assign(nameWidths.begin(), nameWidths.end());
    updateGeometry();
    update();
}

int BoxPreview::boxCount() const { return lines_.empty() ? 0 : lines_.back().box + 1; }

QSize BoxPreview::boxCells(int box) const {
    const bool name = kind_ == EntryKind::Name;
    QSize cells(name ? rules_.nameColumns : rules_.textColumns, name ? 1 : rules_.textLines);
    for (const TextLine& l : lines_)
        if (l.box == box) cells = cells.expandedTo(QSize(l.width, l.lineInBox + 1));
    return cells;
}

QSize BoxPreview::sizeHint() const {
    QSize size(0, kCell);
    for (int b = 0; b < boxCount(); ++b) {
        const QSize cells = boxCells(b);
        size.setWidth(size.width() + cells.width() * kCell + kGap);
        size.setHeight(std::max(size.height(), cells.height() * kCell));
    }
    return size + QSize(kGap, kGap);
}

int BoxPreview::drawItems(QPainter& p, std::span<const uint8_t> code, CodeKind kind, size_t begin, size_t end, QPoint at,
                          int column) {
    const int limit = kind_ == EntryKind::Name ? rules_.nameColumns : rules_.textColumns;
    const std::span<const int> widths = kind == CodeKind::Text ? std::span<const int>(nameWidths_) : std::span<const int>();
    auto cells = [&](int from, int count) { return QRect(at.x() + from * kCell, at.y(), count * kCell, kCell); };
    for (const CodeItem& item : codeItems(code.subspan(begin, end - begin), kind, widths, rules_)) {
        const uint8_t b0 = code[begin + item.offset], b1 = item.length > 1 ? code[begin + item.offset + 1] : 0;
        for (int c = column; c < column + item.width; ++c)
            if (c >= limit) p.fillRect(cells(c, 1), kPast);
        const QRect area = cells(column, item.width);
        switch (item.kind) {
            case ItemKind::Character: {
                if (b0 == kAddedCharTable && item.length == 2 && state_.glyphSheetLoaded) {
                    p.drawImage(QRect(area.x() + kCell / 4, area.y(), kCell / 2, kCell), addedGlyph(state_, b1));
                    break;
                }
                const Glyph g = item.length == 1 ? state_.tables[0][b0] : b0 < kCharTableCount ? state_.tables[b0][b1] : kFullWidthSpace;
                if (showsNoCharacter(g)) break;
                p.setFont(font_);
                p.drawText(area, Qt::AlignCenter, qtText(std::string{static_cast<char>(g[0]), static_cast<char>(g[1])}));
                break;
            }
            case ItemKind::WordReference: {
                const size_t name = static_cast<size_t>(b0 & 0x0F) * 256 + b1;
                p.fillRect(area.adjusted(0, 1, 0, -1), kReference);
                const std::vector<uint8_t>& nameCode = state_.catalogues.names[name].code;
                drawItems(p, nameCode, CodeKind::Name, 0, nameCode.size(), at, column);
                break;
            }
            case ItemKind::Token: {
                p.fillRect(area.adjusted(0, 1, 0, -1), kToken);
                const Token* token = findToken(b0, b1);
                QString word = qtText(token->text);
                word = word.mid(1, word.size() - 2);  // without its parentheses
                p.setFont(small_);
                // Squeezed into its cells where it is wider.
                const double squeeze = std::min(1.0, area.width() / std::max(1.0, p.fontMetrics().horizontalAdvance(word) + 2.0));
                p.save();
                p.translate(area.center().x() + 1, area.top());
                p.scale(squeeze, 1.0);
                p.drawText(QRectF(-area.width() / (2 * squeeze), 0, area.width() / squeeze, area.height()), Qt::AlignCenter, word);
                p.restore();
                break;
            }
            case ItemKind::Escape: p.fillRect(area.adjusted(0, 1, 0, -1), kEscape); break;
            case ItemKind::LineBreak:
            case ItemKind::BoxBreak: break;
        }
        column += item.width;
    }
    return column;
}

void BoxPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    const int rows = kind_ == EntryKind::Name ? 1 : rules_.textLines;
    const int columns = kind_ == EntryKind::Name ? rules_.nameColumns : rules_.textColumns;
    int x = kGap;
    for (int b = 0; b < boxCount(); ++b) {
        const QSize cells = boxCells(b);
        const QRect box(x, kGap / 2, columns * kCell, rows * kCell);
        p.fillRect(box, palette().color(QPalette::Base));
        for (const TextLine& l : lines_) {
            if (l.box != b) continue;
            const QPoint at(x, box.y() + l.lineInBox * kCell);
            if (l.lineInBox >= rows) p.fillRect(QRect(at, QSize(std::max(l.width, columns) * kCell, kCell)), kPast);
            p.setPen(palette().color(QPalette::Text));
            drawItems(p, code_, kind_ == EntryKind::Name ? CodeKind::Name : CodeKind::Text, l.begin, l.end, at, 0);
        }
        p.setPen(kFrame);
        p.drawRect(box.adjusted(0, 0, -1, -1));
        if (cells != QSize(columns, rows)) {
            p.setPen(QPen(kPastFrame, 1, Qt::DashLine));
            p.drawRect(QRect(box.topLeft(), cells * kCell).adjusted(0, 0, -1, -1));
        }
        x += cells.width() * kCell + kGap;
    }
}

}  // namespace velk

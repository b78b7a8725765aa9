#include "app/fit_ruler.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBlock>

#include "app/box_preview.h"
#include "app/entry_table_model.h"
#include "app/fit_model.h"
#include "ops/messages.h"

namespace velk {
namespace {

constexpr int kPreviewRows = 5;  // the preview's height, in cells
const QColor kPastText(176, 0, 32), kPastBackground(255, 205, 205), kPastLine(255, 228, 228);

// The field's position of a byte offset into its Shift-JIS form (CR LF
// between lines, a two-byte character one position).
QTextCursor cursorAt(QTextDocument* document, std::string_view form, size_t offset) {
    const Location at = locate({reinterpret_cast<const uint8_t*>(form.data()), form.size()}, offset);
    const QTextBlock block = document->findBlockByNumber(static_cast<int>(at.line - 1));
    QTextCursor cursor(document);
    if (!block.isValid()) return cursor;
    cursor.setPosition(block.position() + std::min(static_cast<int>(at.column - 1), block.length() - 1));
    return cursor;
}

}  // namespace

FitRuler::FitRuler(QPlainTextEdit* editor, QWidget* parent) : QWidget(parent), editor_(editor) {
    setObjectName(QStringLiteral("FitRuler"));
    setToolTip(QCoreApplication::translate("FitRuler", "この行の幅（マス）と上限"));
    connect(editor_, &QPlainTextEdit::updateRequest, this, [this] { update(); });
}

void FitRuler::setMarks(std::vector<Mark> marks) {
    marks_ = std::move(marks);
    update();
}

QString FitRuler::text(int block) const {
    QStringList texts;
    for (const Mark& m : marks_)
        if (m.block == block) texts << m.text;
    return texts.join(u' ');
}

QSize FitRuler::sizeHint() const { return {fontMetrics().horizontalAdvance(QStringLiteral("888/88")) + 10, 0}; }

void FitRuler::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::AlternateBase));
    QTextDocument* document = editor_->document();
    for (int b = 0; b < document->blockCount(); ++b) {
        const QString shown = text(b);
        if (shown.isEmpty()) continue;
        const QRect line = editor_->cursorRect(QTextCursor(document->findBlockByNumber(b)));
        const int y = mapFromGlobal(editor_->viewport()->mapToGlobal(line.topLeft())).y();
        if (y + line.height() < 0 || y > height()) continue;
        const bool past = std::ranges::any_of(marks_, [b](const Mark& m) { return m.block == b && m.past; });
        p.setPen(past ? kPastText : palette().color(QPalette::Text));
        p.drawText(QRect(0, y, width() - 5, line.height()), Qt::AlignRight | Qt::AlignVCenter, shown);
    }
}

LiveFit::LiveFit(EditorSession& session, EntryKind kind, QPlainTextEdit* editor, QWidget* parent)
    : QObject(parent), session_(session), kind_(kind), model_(FitModel::of(session)), editor_(editor) {
    ruler_ = new FitRuler(editor, parent);
    preview_ = new BoxPreview(session.state(), kind, parent);
    auto* area = new QScrollArea(parent);
    area->setObjectName(QStringLiteral("BoxPreviewArea"));
    area->setWidget(preview_);
    area->setFrameShape(QFrame::NoFrame);
    area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    previewArea_ = area;
    overflow_ = new QCheckBox(QCoreApplication::translate("LiveFit", "はみ出し"), parent);
    overflow_->setObjectName(QStringLiteral("OverflowFilter"));
    overflow_->setToolTip(QCoreApplication::translate("LiveFit", "枠に収まらない項目だけを表示します"));
    connect(&model_, &FitModel::refitted, this, [this] {
        if (onRefit) onRefit();
    });
    (void)measure(-1, std::nullopt);  // the preview's room before an entry is chosen
}

void LiveFit::attachFilter(EntryFilterModel* filter, std::function<void()> counted) {
    auto apply = [this, filter, counted](bool on) {
        if (on)
            filter->setRowTest(EntryFilterModel::ByFit, [this](int row) { return !model_.fits(kind_, row); });
        else
            filter->setRowTest(EntryFilterModel::ByFit, {});
        counted();
    };
    connect(overflow_, &QCheckBox::toggled, this, apply);
    connect(&model_, &FitModel::refitted, this, [this, apply] {
        if (overflow_->isChecked()) apply(true);
    });
}

QString LiveFit::measure(int index, const std::optional<std::string>& form) {
    const BoxRules& rules = model_.rules();
    std::optional<FormFit> fit;
    if (form && index >= 0) fit = formFit(kind_, index, *form, model_.glyphs(), model_.nameWidths(), rules);
    preview_->setFit(fit ? &*fit : nullptr, rules, model_.nameWidths());
    preview_->resize(preview_->sizeHint());
    // A box of many lines scrolls: the field and the list keep their room.
    const int shown = std::min(preview_->sizeHint().height(), kPreviewRows * BoxPreview::kCell + BoxPreview::kCell / 2);
    previewArea_->setFixedHeight(shown + previewArea_->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    if (!fit) {
        ruler_->setMarks({});
        editor_->setExtraSelections({});
        return {};
    }
    QTextDocument* document = editor_->document();
    const int columns = kind_ == EntryKind::Name ? rules.nameColumns : rules.textColumns;
    std::vector<FitRuler::Mark> marks;
    QList<QTextEdit::ExtraSelection> red;
    for (const TextLine& l : fit->lines) {
        const bool pastLines = kind_ == EntryKind::Text && l.lineInBox >= rules.textLines;
        const QTextCursor start = cursorAt(document, *form, fit->formOffset(l.begin));
        marks.push_back({start.blockNumber(), QStringLiteral("%1/%2").arg(l.width).arg(columns), pastLines || l.width > columns});
        if (pastLines) {
            QTextEdit::ExtraSelection line{start, {}};
            line.format.setBackground(kPastLine);
            line.format.setProperty(QTextFormat::FullWidthSelection, true);
            red << line;
        }
        if (l.firstPast != SIZE_MAX) {
            QTextCursor past = cursorAt(document, *form, fit->formOffset(l.firstPast));
            past.setPosition(cursorAt(document, *form, fit->formOffset(l.end)).position(), QTextCursor::KeepAnchor);
            QTextEdit::ExtraSelection part{past, {}};
            part.format.setBackground(kPastBackground);
            red << part;
        }
    }
    ruler_->setMarks(std::move(marks));
    editor_->setExtraSelections(red);
    QStringList notes;
    for (const Problem& p : fit->problems) notes << QString::fromStdString(fitNote(p));
    return notes.join(QStringLiteral("、"));
}

}  // namespace velk

#include "app/keyboard_path.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTextDocument>
#include <algorithm>

#include "app/entry_page.h"
#include "app/text_filter.h"

namespace velk {
namespace {

class PathKeys : public QObject {
public:
    explicit PathKeys(EntryPage& page) : QObject(&page), page_(page) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        QPlainTextEdit* editor = page_.editor();
        if (watched == editor && event->type() == QEvent::ShortcutOverride) {
            // Left unaccepted, the key goes on to the window's undo and redo, and Ctrl+Enter to Apply.
            const bool undo = key->matches(QKeySequence::Undo), redo = key->matches(QKeySequence::Redo) ||
                                                                        key->keyCombination() == (Qt::CTRL | Qt::Key_Y);
            const bool apply = (key->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier &&
                               (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter);
            if (apply || (undo && !editor->document()->isUndoAvailable()) || (redo && !editor->document()->isRedoAvailable())) {
                event->ignore();
                return true;
            }
            return false;
        }
        if (event->type() != QEvent::KeyPress || key->modifiers() & ~Qt::KeypadModifier) return false;
        QTableView* table = page_.table();
        if (watched == page_.filterField() && key->key() == Qt::Key_Down) {
            if (table->model()->rowCount() == 0) return true;
            table->setFocus();
            table->setCurrentIndex(table->model()->index(0, 1));
            return true;
        }
        if (watched == table && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_F2)) {
            if (editor->isEnabled()) editor->setFocus();
            return true;
        }
        if (watched == editor && key->key() == Qt::Key_Escape) {
            table->setFocus();
            return true;
        }
        return false;
    }

private:
    EntryPage& page_;
};

// The filter's matches in the edit field, beside the marks others put there.
constexpr int kMatchMark = QTextFormat::UserProperty + 27;
void markMatches(EntryPage& page) {
    QList<QTextEdit::ExtraSelection> marks = page.editor()->extraSelections();
    marks.removeIf([](const QTextEdit::ExtraSelection& s) { return s.format.hasProperty(kMatchMark); });
    QTextEdit::ExtraSelection mark;
    mark.format.setBackground(QColor(255, 224, 96));
    mark.format.setProperty(kMatchMark, true);
    for (const auto& [from, length] : matchRanges(page.editor()->toPlainText(), page.filterField()->text())) {
        mark.cursor = QTextCursor(page.editor()->document());
        mark.cursor.setPosition(static_cast<int>(from));
        mark.cursor.setPosition(static_cast<int>(from + length), QTextCursor::KeepAnchor);
        marks.append(mark);
    }
    page.editor()->setExtraSelections(marks);
}

}  // namespace

void installKeyboardPath(EntryPage& page) {
    auto* keys = new PathKeys(page);
    for (QWidget* w : {static_cast<QWidget*>(page.filterField()), static_cast<QWidget*>(page.table()),
                       static_cast<QWidget*>(page.editor())})
        w->installEventFilter(keys);
    page.table()->setTabKeyNavigation(false);
    QObject::connect(page.filterField(), &QLineEdit::textChanged, &page, [&page] { markMatches(page); });
    QObject::connect(page.editor(), &QPlainTextEdit::textChanged, &page, [&page] { markMatches(page); });
}

void ListZoom::add(QWidget* widget) {
    widgets_.append(widget);
    sizes_.append(widget->font().pointSizeF());
}

void ListZoom::zoom(int steps) {
    step_ = steps == 0 ? 0 : std::clamp(step_ + steps, kMinStep, kMaxStep);
    apply();
}

void ListZoom::apply() {
    for (qsizetype i = 0; i < widgets_.size(); ++i) {
        QFont font = widgets_[i]->font();
        font.setPointSizeF(std::max(4.0, sizes_[i] * (1.0 + 0.125 * step_)));
        widgets_[i]->setFont(font);
        // A table's rows follow its font.
        if (auto* table = qobject_cast<QTableView*>(widgets_[i]))
            table->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 6);
    }
}

}  // namespace velk

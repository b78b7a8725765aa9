// Marks in an edit field from more than one source: each source replaces
// only its own (told apart by a property of their format).
#pragma once

#include <QPlainTextEdit>
#include <QTextEdit>

namespace velk {

enum class MarkSource { Desk = 1, Fit = 2 };
constexpr int kMarkSourceProperty = QTextFormat::UserProperty + 0x51;

// The marks of `source` in the field.
inline QList<QTextEdit::ExtraSelection> marksOf(const QPlainTextEdit* editor, MarkSource source) {
    QList<QTextEdit::ExtraSelection> own;
    for (const QTextEdit::ExtraSelection& s : editor->extraSelections())
        if (s.format.intProperty(kMarkSourceProperty) == static_cast<int>(source)) own << s;
    return own;
}

inline void setMarks(QPlainTextEdit* editor, MarkSource source, QList<QTextEdit::ExtraSelection> marks) {
    QList<QTextEdit::ExtraSelection> all;
    for (const QTextEdit::ExtraSelection& s : editor->extraSelections())
        if (s.format.intProperty(kMarkSourceProperty) != static_cast<int>(source)) all << s;
    for (QTextEdit::ExtraSelection& s : marks) {
        s.format.setProperty(kMarkSourceProperty, static_cast<int>(source));
        all << s;
    }
    editor->setExtraSelections(all);
}

}  // namespace velk

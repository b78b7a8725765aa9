// The fit of the entry being typed: beside each line of the edit field the
// width of the name's or text's line that starts there and its limit
// ("14/16", red past it), what reaches past the box marked red in the field,
// the box preview under it, and the "はみ出し" filter of the list.
#pragma once

#include <QObject>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/editor_session.h"
#include "ops/entry_ops.h"

class QCheckBox;
class QPlainTextEdit;

namespace velk {

class BoxPreview;
class EntryFilterModel;
class FitModel;

// The margin beside an edit field: a note at the top of each of its lines.
class FitRuler : public QWidget {
public:
    struct Mark {
        int block;  // the field's line
        QString text;
        bool past;
    };
    FitRuler(QPlainTextEdit* editor, QWidget* parent = nullptr);
    void setMarks(std::vector<Mark> marks);
    // The notes on line `block` of the field, one space between them.
    QString text(int block) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPlainTextEdit* editor_;
    std::vector<Mark> marks_;
};

class LiveFit : public QObject {
public:
    LiveFit(EditorSession& session, EntryKind kind, QPlainTextEdit* editor, QWidget* parent);

    FitRuler* ruler() const { return ruler_; }
    BoxPreview* preview() const { return preview_; }
    QWidget* previewArea() const { return previewArea_; }
    QCheckBox* overflowBox() const { return overflow_; }
    // While "はみ出し" is ticked, `filter` keeps only the entries that do not
    // fit, kept current as they change; `counted` tells the page to count again.
    void attachFilter(EntryFilterModel* filter, std::function<void()> counted);

    // Measures entry `index` as typed (its form in Shift-JIS; nothing when
    // it does not encode) and shows it; returns the problem line's words for
    // what is past the box, empty when it fits.
    QString measure(int index, const std::optional<std::string>& form);
    // Called when the rules or a name's width changed, to measure again.
    std::function<void()> onRefit;

private:
    EditorSession& session_;
    EntryKind kind_;
    FitModel& model_;
    QPlainTextEdit* editor_;
    FitRuler* ruler_;
    BoxPreview* preview_;
    QWidget* previewArea_;
    QCheckBox* overflow_;
};

}  // namespace velk

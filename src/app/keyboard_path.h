// The keyboard's way through a list page: Down in the filter goes to the
// first match, Enter or F2 on a row to the edit field, Escape in the field
// back to the list, Tab out of the table; the filter's matches marked in the
// field; undo keys in the field reach the editor's undo when the field has
// nothing of its own to undo. And the zoom of the lists and the field.
#pragma once

#include <QList>
#include <QObject>

class QUndoStack;
class QWidget;

namespace velk {

class EntryPage;

void installKeyboardPath(EntryPage& page);

// Ctrl++, Ctrl+- and Ctrl+0 over the widgets given: their font's size in steps.
class ListZoom : public QObject {
public:
    static constexpr int kMinStep = -4, kMaxStep = 12;
    explicit ListZoom(QObject* parent = nullptr) : QObject(parent) {}
    void add(QWidget* widget);
    void zoom(int steps);  // 0 resets
    int step() const { return step_; }

private:
    void apply();
    QList<QWidget*> widgets_;
    QList<double> sizes_;  // each widget's point size at step 0
    int step_ = 0;
};

}  // namespace velk

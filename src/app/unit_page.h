// The workbench's unit graphics page: the grid in file order, the selected
// unit's number and entry, a number to jump to and the colour set to draw in.
#pragma once

#include <QWidget>

#include "ops/editor_state.h"

class QLabel;
class QScrollArea;
class QSpinBox;

namespace velk {

class UnitGrid;

class UnitPage : public QWidget {
    Q_OBJECT

public:
    explicit UnitPage(const EditorState& state, QWidget* parent = nullptr);
    UnitGrid* grid() const { return grid_; }
    QSpinBox* numberBox() const { return number_; }
    QSpinBox* colourSetBox() const { return colourSet_; }

private:
    void showUnit(int position);

    const EditorState& state_;
    UnitGrid* grid_;
    QScrollArea* area_;
    QSpinBox* number_;
    QSpinBox* colourSet_;
    QLabel* unitName_;
};

}  // namespace velk

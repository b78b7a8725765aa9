// The workbench's unit graphics page: the grid in file order, the selected
// unit's number and entry, a number to jump to and the colour set to draw in.
#pragma once

#include <QWidget>

#include <filesystem>

#include "app/editor_session.h"

class QLabel;
class QScrollArea;
class QSpinBox;

namespace velk {

class UnitGrid;

class UnitPage : public QWidget {
    Q_OBJECT

public:
    explicit UnitPage(EditorSession& session, QWidget* parent = nullptr);
    UnitGrid* grid() const { return grid_; }
    QSpinBox* numberBox() const { return number_; }
    QSpinBox* colourSetBox() const { return colourSet_; }
    // Unit graphic `position` as a 16 x 16 PNG at `file`, and back as one undo step.
    Outcome exportUnit(int position, const std::filesystem::path& file);
    Outcome importUnit(int position, const std::filesystem::path& file);

private:
    void showUnit(int position);

    EditorSession& session_;
    UnitGrid* grid_;
    QScrollArea* area_;
    QSpinBox* number_;
    QSpinBox* colourSet_;
    QLabel* unitName_;
};

}  // namespace velk

#include "app/unit_page.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/file_questions.h"
#include "app/graphics_views.h"
#include "gfx/unit_graphics.h"
#include "ops/png_ops.h"
#include "rom/catalogues.h"

namespace velk {

UnitPage::UnitPage(EditorSession& session, QWidget* parent) : QWidget(parent), session_(session) {
    grid_ = new UnitGrid(session_.state(), this);
    grid_->setObjectName(QStringLiteral("UnitGrid"));
    area_ = new QScrollArea(this);
    area_->setWidget(grid_);
    area_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    number_ = new QSpinBox(this);
    number_->setObjectName(QStringLiteral("UnitNumber"));
    number_->setRange(0, kUnitGraphicCount - 1);
    number_->setToolTip(tr("ファイルでの番号（0〜%1）").arg(kUnitGraphicCount - 1));
    colourSet_ = new QSpinBox(this);
    colourSet_->setObjectName(QStringLiteral("UnitColourSet"));
    colourSet_->setRange(0, UnitGrid::kColourSets - 1);
    colourSet_->setToolTip(tr("共通の色の 16 色ずつの組"));
    unitName_ = new QLabel(this);

    auto* numberLabel = new QLabel(tr("番号(&N)"), this);
    numberLabel->setBuddy(number_);
    auto* colourLabel = new QLabel(tr("色セット(&C)"), this);
    colourLabel->setBuddy(colourSet_);
    auto* controls = new QHBoxLayout;
    controls->addWidget(numberLabel);
    controls->addWidget(number_);
    controls->addSpacing(16);
    controls->addWidget(colourLabel);
    controls->addWidget(colourSet_);
    controls->addSpacing(16);
    controls->addWidget(unitName_, 1);
    auto* exportButton = new QPushButton(tr("書き出す(&X)..."), this);
    exportButton->setToolTip(tr("選んだユニットグラフィックを 16×16 の PNG に書き出します"));
    auto* importButton = new QPushButton(tr("読み込む(&I)..."), this);
    importButton->setToolTip(tr("16×16 の PNG を選んだユニットグラフィックに読み込みます（元に戻せます）"));
    controls->addWidget(exportButton);
    controls->addWidget(importButton);
    connect(exportButton, &QPushButton::clicked, this, [this] {
        const int position = grid_->selected();
        FileQuestion q = fileQuestion(Ask::Png, true);
        q.options.initialFileName = "unit-" + std::to_string(position) + ".png";
        if (const std::optional<ChosenFile> file = session_.dialogs().saveFileDialog(q.options)) exportUnit(position, file->path);
    });
    connect(importButton, &QPushButton::clicked, this, [this] {
        const int position = grid_->selected();
        if (const std::optional<ChosenFile> file = session_.dialogs().openFileDialog(fileQuestion(Ask::Png, false).options))
            importUnit(position, file->path);
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(controls);
    layout->addWidget(area_, 1);

    grid_->onSelect = [this](int position) { showUnit(position); };
    connect(number_, &QSpinBox::valueChanged, grid_, &UnitGrid::setSelected);
    connect(colourSet_, &QSpinBox::valueChanged, grid_, &UnitGrid::setColourSet);
    showUnit(0);
}

Outcome UnitPage::exportUnit(int position, const std::filesystem::path& file) {
    return session_.run(tr("ユニット %1 の書き出し").arg(position),
                        [&](EditorState& s, Platform& p) { return exportUnitPngTo(s, p, position, file); });
}

Outcome UnitPage::importUnit(int position, const std::filesystem::path& file) {
    return session_.run(tr("ユニット %1 の読み込み").arg(position),
                        [&](EditorState& s, Platform& p) { return importUnitPngFrom(s, p, position, file); });
}

void UnitPage::showUnit(int position) {
    const QSignalBlocker quiet(number_);
    number_->setValue(position);
    unitName_->setText(tr("ユニット %1（項目 %2）").arg(position).arg(unitEntryAt(static_cast<size_t>(position))));
    const QRect cell = grid_->cellRect(position);
    area_->ensureVisible(cell.center().x(), cell.center().y(), cell.width(), cell.height());
}

}  // namespace velk

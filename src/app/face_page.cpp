#include "app/face_page.h"

#include <QDesktopServices>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QUrl>
#include <QVBoxLayout>

#include "app/file_questions.h"
#include "app/graphics_views.h"
#include "gfx/face_png.h"
#include "ops/png_ops.h"
#include "rom/catalogues.h"

namespace velk {

FacePage::FacePage(EditorSession& session, QWidget* parent)
    : QWidget(parent), openUrl(&QDesktopServices::openUrl), session_(session) {
    grid_ = new FaceGrid(session_.state(), this);
    grid_->setObjectName(QStringLiteral("FaceGrid"));
    detail_ = new FaceDetail(session_.state(), this);
    colourSet_ = new QSpinBox(this);
    colourSet_->setObjectName(QStringLiteral("ColourSet"));
    colourSet_->setRange(0, 7);
    zoom_ = new QSpinBox(this);
    zoom_->setObjectName(QStringLiteral("FaceZoom"));
    zoom_->setRange(FaceGrid::kMinScale, FaceGrid::kMaxScale);
    zoom_->setValue(grid_->scale());
    zoom_->setSuffix(QStringLiteral("×"));
    zoom_->setToolTip(tr("顔の一覧の倍率（Ctrl+ホイールでも変わります）"));
    faceName_ = new QLabel(this);
    faceNote_ = new QLabel(this);
    faceNote_->setObjectName(QStringLiteral("FaceNote"));
    faceNote_->setWordWrap(true);

    auto* colourLabel = new QLabel(tr("色セット(&C)"), this);
    colourLabel->setBuddy(colourSet_);
    auto* zoomLabel = new QLabel(tr("拡大(&Z)"), this);
    zoomLabel->setBuddy(zoom_);
    auto* exportButton = new QPushButton(tr("書き出す(&X)..."), this);
    exportButton->setToolTip(tr("選んだ顔を PNG に書き出します"));
    auto* importButton = new QPushButton(tr("読み込む(&I)..."), this);
    importButton->setToolTip(tr("PNG を選んだ顔に読み込みます（元に戻せます）"));
    auto* editButton = new QPushButton(tr("外部エディタで開く(&E)"), this);
    editButton->setObjectName(QStringLiteral("OpenInEditor"));
    editButton->setToolTip(tr("PNG を開くプログラムで開き、保存されるたびに読み込みます"));

    auto* controls = new QHBoxLayout;
    controls->addWidget(colourLabel);
    controls->addWidget(colourSet_);
    controls->addSpacing(16);
    controls->addWidget(zoomLabel);
    controls->addWidget(zoom_);
    controls->addSpacing(16);
    controls->addWidget(faceName_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(exportButton);
    buttons->addWidget(importButton);
    buttons->addWidget(editButton);
    buttons->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addLayout(controls);
    right->addWidget(faceNote_);
    right->addWidget(detail_);
    right->addLayout(buttons);
    right->addStretch(1);
    faces_ = new QScrollArea(this);
    faces_->setWidget(grid_);
    faces_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    faces_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(faces_, 1);
    layout->addLayout(right, 0);

    grid_->onSelect = [this](int) { showFace(); };
    grid_->onZoom = [this](int scale) { zoom_->setValue(scale); };
    detail_->onColourSet = [this](int set) { colourSet_->setValue(set); };
    connect(colourSet_, &QSpinBox::valueChanged, this, [this](int set) {
        grid_->setColourSet(set);
        showFace();
    });
    connect(zoom_, &QSpinBox::valueChanged, this, [this](int scale) {
        grid_->setScale(scale);
        grid_->fitWidth(faces_->viewport()->width());
        showFace();
    });
    faces_->viewport()->installEventFilter(this);
    connect(exportButton, &QPushButton::clicked, this, &FacePage::askToExport);
    connect(importButton, &QPushButton::clicked, this, &FacePage::askToImport);
    connect(editButton, &QPushButton::clicked, this, [this] { openInEditor(grid_->selected()); });

    settle_.setSingleShot(true);
    settle_.setInterval(300);
    connect(&settle_, &QTimer::timeout, this, &FacePage::readChangedFiles);
    // A picture editor may save by writing a new file over the old name,
    // which the file watch loses: the folder's watch finds it again.
    connect(&watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
    showFace();
}

FacePage::~FacePage() = default;

bool FacePage::eventFilter(QObject* watched, QEvent* event) {
    // The faces fill the width the page gives them.
    if (watched == faces_->viewport() && event->type() == QEvent::Resize) grid_->fitWidth(faces_->viewport()->width());
    return QWidget::eventFilter(watched, event);
}

void FacePage::showFace() {
    const int face = grid_->selected();
    detail_->show(face, colourSet_->value());
    faceName_->setText(tr("顔 %1（0x%2）").arg(face).arg(QString::number(face, 16).toUpper().rightJustified(2, u'0')));
    faceNote_->setText(faceNote(session_.state(), face));
    faceNote_->setVisible(!faceNote_->text().isEmpty());
    const QRect cell = grid_->faceRect(face).united(grid_->numberRect(face));
    faces_->ensureVisible(cell.center().x(), cell.center().y(), cell.width() / 2 + 4, cell.height() / 2 + 4);
}

void FacePage::refresh() {
    grid_->invalidate();
    showFace();
}

Outcome FacePage::exportFace(int face, const std::filesystem::path& file) {
    return session_.run(tr("顔 %1 の書き出し").arg(face), [&](EditorState& s, Platform& p) { return exportFacePngTo(s, p, face, file); });
}

Outcome FacePage::importFace(int face, const std::filesystem::path& file) {
    return session_.run(tr("顔 %1 の読み込み").arg(face), [&](EditorState& s, Platform& p) { return importFacePngFrom(s, p, face, file); });
}

void FacePage::askToExport() {
    const int face = grid_->selected();
    FileQuestion q = fileQuestion(Ask::Png, true);
    q.options.initialFileName = facePngName(static_cast<size_t>(face));
    if (const std::optional<ChosenFile> file = session_.dialogs().saveFileDialog(q.options)) exportFace(face, file->path);
}

void FacePage::askToImport() {
    const int face = grid_->selected();
    if (const std::optional<ChosenFile> file = session_.dialogs().openFileDialog(fileQuestion(Ask::Png, false).options))
        importFace(face, file->path);
}

void FacePage::openInEditor(int face) {
    if (!editFolder_) {
        editFolder_ = std::make_unique<QTemporaryDir>();
        if (editFolder_->isValid()) watcher_.addPath(editFolder_->path());
    }
    const QString path = editFolder_->filePath(QString::fromStdString(facePngName(static_cast<size_t>(face))));
    if (!editFolder_->isValid() || !exportFace(face, path.toStdString()).done()) return;
    const QFileInfo written(path);
    edited_[path] = Edited{face, written.lastModified(), written.size()};
    watcher_.addPath(path);
    if (!openUrl(QUrl::fromLocalFile(path)))
        session_.dialogs().showMessage(Message{{}, tr("PNG を開くプログラムが見つかりません: %1").arg(path).toStdString(), {}});
}

QString FacePage::editFolder() const { return editFolder_ ? editFolder_->path() : QString(); }

void FacePage::readChangedFiles() {
    for (auto& [path, file] : edited_) {
        const QFileInfo now(path);
        if (!now.exists()) continue;  // between an editor's remove and its rename
        if (!watcher_.files().contains(path)) watcher_.addPath(path);
        if (now.lastModified() == file.modified && now.size() == file.size) continue;
        file.modified = now.lastModified();
        file.size = now.size();
        importFace(file.face, path.toStdString());
    }
}

}  // namespace velk

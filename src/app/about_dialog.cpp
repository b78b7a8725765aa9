#include "app/about_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "app/dialog_units.h"
#include "app/program_icon.h"
#include "image/version.h"

namespace velk {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8("VELKのﾊﾞｰｼﾞｮﾝ情報"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFont(editorFont());
    const DialogBaseUnits u = dialogBaseUnits(font());
    setFixedSize(fromDialogUnits(u, 0, 0, 203, 57).size());

    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(32, 32));
    icon->setGeometry(QRect(fromDialogUnits(u, 11, 17, 0, 0).topLeft(), QSize(32, 32)));

    versionLabel_ = new QLabel(QString::fromLatin1(kVersionText), this);
    versionLabel_->setGeometry(fromDialogUnits(u, 40, 10, 60, 8));

    auto* second = new QLabel(QString::fromUtf8("ゲームデータ編集ツール"), this);
    second->setGeometry(fromDialogUnits(u, 40, 25, 102, 8));

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setGeometry(fromDialogUnits(u, 151, 17, 38, 15));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace velk

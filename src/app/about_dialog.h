// The version box.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace velk {

class AboutDialog : public QDialog {
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    QLabel* versionLabel() const { return versionLabel_; }
    QPushButton* okButton() const { return okButton_; }

private:
    QLabel* versionLabel_;
    QPushButton* okButton_;
};

}  // namespace velk

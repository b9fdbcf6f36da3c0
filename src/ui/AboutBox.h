#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The about box: product line, version and maker line above the OK button, which ends it.
class AboutBox : public QDialog {
    Q_OBJECT

  public:
    explicit AboutBox(QWidget* pParent = nullptr);

  private:
    QLabel* label1;
    QLabel* label2;
    QLabel* label3;
    QPushButton* AboutOK;
};

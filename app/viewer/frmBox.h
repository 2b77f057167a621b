#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
struct ProgramState;

// The yes/no question before a crop replaces its picture in the list. The
// answer goes to bConfirmOK: true only when "是" is chosen. Closing the box
// any other way answers no, whatever an earlier question was answered; Esc
// does nothing.
class frmBox : public QDialog {
    Q_OBJECT
public:
    explicit frmBox(ProgramState& ps, QWidget* parent = nullptr);

    void cmdOK_Click();
    void Command2_Click();

    QLabel* Label1;
    QPushButton* cmdOK;
    QPushButton* Command2;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    ProgramState& ps_;
};

#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class QButtonGroup;
namespace Ui {
class InputPicB;
}

// The second arrangement of the screen-information dialog, without the
// clock synchronisation. No page opens it; only the close button acts.
class InputPicB : public QDialog
{
    Q_OBJECT

public:
    explicit InputPicB(QWidget *parent = nullptr);
    ~InputPicB() override;

public slots:
    void SlotAllLanguage(int index);
    void on_CloseButton_clicked();

private:
    std::unique_ptr<Ui::InputPicB> ui;
    QButtonGroup *pictureGroup = nullptr;
};

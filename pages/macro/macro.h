#pragma once

#include <QString>
#include <QWidget>

namespace Ui { class Macro; }

// Macro page of the device view. This first version holds the page and ends
// a recording when the device view is left.
class Macro : public QWidget
{
    Q_OBJECT

public:
    explicit Macro(QWidget *parent = nullptr);
    ~Macro() override;

public slots:
    void SlotAllLanguage(int index);
    void SlotSetMacroPage();

private:
    Ui::Macro *ui;
};

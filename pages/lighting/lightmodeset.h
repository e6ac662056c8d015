#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class LightModeSet;
}
namespace lighting {
class ColourEditor;
}

// A frameless dialog with the light editor of the mouse light panel (mode,
// sliders, colour board, presets, swatch) that keeps everything in its
// controls: it writes nothing to the device or the record and asks the
// device nothing.
class LightModeSet : public QDialog
{
    Q_OBJECT

public:
    explicit LightModeSet(QWidget *parent = nullptr);
    ~LightModeSet() override;

    QString pictureDir;

public slots:
    void SlotAllLanguage(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private slots:
    void on_LightMod_currentIndexChanged(int index);
    void on_CloseButton_clicked();

private:
    std::unique_ptr<Ui::LightModeSet> ui;
    lighting::ColourEditor *m_colour = nullptr;
};
